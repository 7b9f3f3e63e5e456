// A scratch directory for a test, removed with everything in it at the end.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/operazioni_file.h"

namespace percorso {

// A path as the program takes paths: UTF-8, on Windows too.
inline std::string in_utf8(const std::filesystem::path& p) {
  const std::u8string u = p.u8string();
  return std::string(u.begin(), u.end());
}

// The lock file by which runs take turns on Windows: it appears in every directory a
// run writes into there, and is no file of the run.
inline bool file_di_blocco(const std::filesystem::path& p) {
  return p.filename() == ".percorso-lock";
}

class cartella_temporanea {
 public:
  cartella_temporanea() {
    std::random_device caso;
    do {
      percorso_ = std::filesystem::temp_directory_path() / ("percorso-" + std::to_string(caso()));
    } while (!std::filesystem::create_directory(percorso_));
  }
  ~cartella_temporanea() {
    std::error_code ec;
    std::filesystem::remove_all(percorso_, ec);
  }
  cartella_temporanea(const cartella_temporanea&) = delete;
  cartella_temporanea& operator=(const cartella_temporanea&) = delete;

  const std::filesystem::path& percorso() const { return percorso_; }
  // A path inside, nome and the result in UTF-8.
  std::string file(const std::string& nome) const { return in_utf8(percorso_ / percorso_fs(nome)); }

  // Names of the files directly inside, sorted.
  std::vector<std::string> elenco() const {
    std::vector<std::string> nomi;
    for (const auto& e : std::filesystem::directory_iterator(percorso_))
      if (!file_di_blocco(e.path())) nomi.push_back(e.path().filename().string());
    std::sort(nomi.begin(), nomi.end());
    return nomi;
  }

 private:
  std::filesystem::path percorso_;
};

inline std::vector<std::uint8_t> leggi_file(const std::string& percorso) {
  std::ifstream in(percorso_fs(percorso), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void scrivi_file(const std::string& percorso, std::string_view contenuto) {
  std::ofstream out(percorso_fs(percorso), std::ios::binary);
  out.write(contenuto.data(), static_cast<std::streamsize>(contenuto.size()));
}

}  // namespace percorso
