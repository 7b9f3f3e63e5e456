// The output set on the real disk, as its tests meet it: a directory with an earlier
// set of three binaries and, in a second directory, a report; the set written over it
// in pieces; the turn seen from outside; a second user where the system has one.
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/insieme_uscita.h"
#include "support/cartella_temporanea.h"
#include "support/file_system_guasto.h"

namespace percorso::prova {

using file_e_byte = std::map<std::string, std::string>;

inline std::span<const std::uint8_t> byte(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Whether another run could take the directory's turn now.
#ifdef _WIN32
inline bool turno_libero(const std::string& cartella) {
  const auto blocco = (std::filesystem::path(cartella) / ".percorso-lock").wstring();
  const HANDLE h =
      ::CreateFileW(blocco.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return ::GetLastError() != ERROR_SHARING_VIOLATION;
  ::CloseHandle(h);
  return true;
}
#else
inline bool turno_libero(const std::string& cartella) {
  const int fd = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY);
  const bool libero = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return libero;
}
#endif

// The identity of a directory, as its journal names it.
inline identita_file identita_di(const std::filesystem::path& cartella) {
  identita_file id;
  EXPECT_EQ(chiamate_reali().identifica(cartella.string().c_str(), true, id), 0);
  return id;
}

// Runs fatto as another user who shares the test's directories (nobody), and says
// whether it did all of it; nothing where this system or this user cannot (only root
// can become another user).
inline std::optional<bool> come_altro_utente(const std::function<void()>& fatto) {
#ifdef _WIN32
  (void)fatto;
  return std::nullopt;
#else
  if (::geteuid() != 0) return std::nullopt;
  const pid_t figlio = ::fork();
  if (figlio == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    try {
      fatto();
    } catch (...) {
      ::_exit(3);
    }
    ::_exit(0);
  }
  int stato = 0;
  return figlio > 0 && ::waitpid(figlio, &stato, 0) == figlio && WIFEXITED(stato) &&
         WEXITSTATUS(stato) == 0;
#endif
}

class insieme_prova : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& e : std::filesystem::directory_iterator(dir.percorso()))
      std::filesystem::remove_all(e.path());
    std::filesystem::create_directory(dir.percorso() / "altra");
    for (const char* nome : {"a.dat", "b.sim", "c.dat"}) scrivi_file(dir.file(nome), "vecchio");
    scrivi_file(dir.file("altra/r.json"), "vecchio");
    prima = istantanea(dir.percorso());
  }

  std::unique_ptr<insieme_uscita> insieme(disco_guasto& guasti) {
    return insieme_su_disco(guasti.chiamate(),
                            {.scritte = {dir.percorso().string(), dir.file("altra")}});
  }

  // The three binaries in two pieces each, the report in the other directory; only
  // as far as opening the file fino_a, when one is named.
  std::optional<errore_file> scrivi_tutto(insieme_uscita& s, std::string_view fino_a = {}) {
    for (const char* nome : {"a.dat", "b.sim", "c.dat"}) {
      if (auto e = s.apri(dir.file(nome))) return e;
      if (nome == fino_a) return std::nullopt;
      if (auto e = s.scrivi(byte("nuovo "))) return e;
      if (auto e = s.scrivi(byte(nome))) return e;
    }
    return s.aggiungi(dir.file("altra/r.json"), byte("nuovo"));
  }

  // What a set writes, journal lines included, before the first byte of the file
  // named: where a fault must fall to hit that file.
  disco_guasto fino_a(std::string_view nome) {
    disco_guasto misura;
    auto s = insieme(misura);
    EXPECT_FALSE(scrivi_tutto(*s, nome).has_value());
    return misura;
  }

  // A set whose second rename fails, left mixed with its journal as a run killed
  // there would leave it: a.dat replaced, the rest of its pairs still to do.
  void lascia_misto() {
    disco_guasto guasti;
    guasti.scambio_assente = true;
    guasti.rinomina_fallita = 2;
    auto s = insieme(guasti);
    EXPECT_FALSE(scrivi_tutto(*s).has_value());
    EXPECT_TRUE(s->conferma().has_value());
  }

  // A run killed at the n-th exchange, or at the n-th write, as guasti says.
  void uccidi(const std::function<void(disco_guasto&)>& come) {
    EXPECT_EXIT(
        {
          disco_guasto guasti;
          come(guasti);
          auto s = insieme(guasti);
          if (!scrivi_tutto(*s)) s->conferma();
          std::exit(0);
        },
        ::testing::ExitedWithCode(9), "");
  }

  file_e_byte nuovo() const {
    return {{"a.dat", "nuovo a.dat"},
            {"b.sim", "nuovo b.sim"},
            {"c.dat", "nuovo c.dat"},
            {"altra", "<cartella>"}};
  }

  cartella_temporanea dir;
  file_e_byte prima;
};

}  // namespace percorso::prova
