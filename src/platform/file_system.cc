#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace percorso {
namespace {

errore_file errore_da(const std::string& percorso, int codice) {
  return {percorso, std::strerror(codice)};
}

errore_file errore_da_errno(const std::string& percorso) {
  return errore_da(percorso, errno);
}

class disco final : public file_system {
 public:
  explicit disco(chiamate_sistema c) : c_(std::move(c)) {}

  bool esiste(const std::string& percorso) override {
    struct stat st {};
    return ::stat(percorso.c_str(), &st) == 0;
  }

  lettura leggi(const std::string& percorso) override {
    lettura r;
    const int fd = ::open(percorso.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      r.errore = errore_da_errno(percorso);
      return r;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fd);
      r.errore = errore_da(percorso, EISDIR);
      return r;
    }
    std::uint8_t blocco[1 << 16];
    for (;;) {
      const long n = c_.leggi(fd, blocco, sizeof blocco);
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR) continue;
        r.errore = errore_da_errno(percorso);
        break;
      }
      // A device or an endless file must not take all memory.
      if (r.dati.size() + static_cast<std::size_t>(n) > massimo_lettura) {
        r.errore = errore_da(percorso, EFBIG);
        break;
      }
      r.dati.insert(r.dati.end(), blocco, blocco + n);
    }
    ::close(fd);
    // A failed read gives no data: half a text would compile as if it were whole.
    if (r.errore) r.dati.clear();
    return r;
  }

  std::optional<errore_file> sostituisci(const std::string& percorso,
                                         std::span<const std::uint8_t> dati) override {
    // A short name beside the target: target name plus suffix could pass the name limit.
    std::string temporaneo = unisci(cartella_di(percorso), ".percorso-XXXXXX");
    const int fd = ::mkstemp(temporaneo.data());
    if (fd < 0) return errore_da_errno(percorso);
    auto fallito = [&](int codice, bool aperto) {
      if (aperto) ::close(fd);
      ::unlink(temporaneo.c_str());
      return errore_da(percorso, codice);
    };
    std::size_t scritti = 0;
    while (scritti < dati.size()) {
      const long n = c_.scrivi(fd, dati.data() + scritti, dati.size() - scritti);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return fallito(errno, true);
      // No progress at all would loop for ever; the system reports it as a full disk.
      if (n == 0) return fallito(ENOSPC, true);
      scritti += static_cast<std::size_t>(n);
    }
    if (::fchmod(fd, 0644) != 0) return fallito(errno, true);
    // The data must be on the disk before the name points at it, or a crash could
    // leave an empty file where the earlier one was.
    if (c_.sincronizza(fd) != 0) return fallito(errno, true);
    if (::close(fd) != 0) return fallito(errno, false);
    struct stat st {};
    if (::stat(percorso.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return fallito(EISDIR, false);
    if (c_.rinomina(temporaneo.c_str(), percorso.c_str()) != 0) return fallito(errno, false);
    // Make the new name itself durable; a failure here changes nothing on disk.
    const std::string cartella = cartella_di(percorso);
    const int dir = ::open(cartella.empty() ? "." : cartella.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
    return std::nullopt;
  }

  std::optional<errore_file> elimina(const std::string& percorso) override {
    if (::unlink(percorso.c_str()) != 0 && errno != ENOENT) return errore_da_errno(percorso);
    return std::nullopt;
  }

  std::optional<errore_file> crea_cartella(const std::string& percorso) override {
    std::error_code ec;
    std::filesystem::create_directories(percorso, ec);
    if (ec) return errore_file{percorso, ec.message()};
    return std::nullopt;
  }

  std::optional<errore_file> prova_scrittura(const std::string& percorso) override {
    struct stat st {};
    if (percorso.empty()) return errore_da(percorso, ENOENT);
    if (::stat(percorso.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
      return errore_da(percorso, EISDIR);
    // The nearest directory that exists must let a file be made in it.
    std::string cartella = cartella_di(percorso);
    while (!cartella.empty() && ::stat(cartella.c_str(), &st) != 0 && errno == ENOENT)
      cartella = cartella_di(cartella);
    const char* dove = cartella.empty() ? "." : cartella.c_str();
    if (::stat(dove, &st) != 0) return errore_da_errno(percorso);
    if (!S_ISDIR(st.st_mode)) return errore_da(percorso, ENOTDIR);
    if (::access(dove, W_OK | X_OK) != 0) return errore_da_errno(percorso);
    return std::nullopt;
  }

 private:
  chiamate_sistema c_;
};

}  // namespace

chiamate_sistema chiamate_reali() {
  return {
      [](int fd, const void* dati, std::size_t n) -> long { return ::write(fd, dati, n); },
      [](int fd, void* dati, std::size_t n) -> long { return ::read(fd, dati, n); },
      [](int fd) { return ::fsync(fd); },
      [](const char* da, const char* a) { return std::rename(da, a); },
  };
}

std::unique_ptr<file_system> file_system_reale() {
  return file_system_reale(chiamate_reali());
}

std::unique_ptr<file_system> file_system_reale(chiamate_sistema chiamate) {
  return std::make_unique<disco>(std::move(chiamate));
}

std::optional<std::string> cartella_programma() {
  std::error_code ec;
  const auto eseguibile = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::nullopt;
  return eseguibile.parent_path().string();
}

std::string unisci(const std::string& cartella, const std::string& nome) {
  if (cartella.empty()) return nome;
  if (cartella.back() == '/') return cartella + nome;
  return cartella + "/" + nome;
}

std::string cartella_di(std::string_view percorso) {
  const auto barra = percorso.rfind('/');
  if (barra == std::string_view::npos) return {};
  return std::string(percorso.substr(0, barra == 0 ? 1 : barra));
}

std::string_view nome_base(std::string_view percorso) {
  const auto barra = percorso.rfind('/');
  return barra == std::string_view::npos ? percorso : percorso.substr(barra + 1);
}

}  // namespace percorso
