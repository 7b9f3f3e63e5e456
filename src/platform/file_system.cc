#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace percorso {
namespace {

errore_file errore_da_errno(const std::string& percorso) {
  return {percorso, std::strerror(errno)};
}

class disco final : public file_system {
 public:
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
      r.errore = errore_file{percorso, std::strerror(EISDIR)};
      return r;
    }
    std::uint8_t blocco[1 << 16];
    for (;;) {
      const ssize_t n = ::read(fd, blocco, sizeof blocco);
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR) continue;
        r.errore = errore_da_errno(percorso);
        break;
      }
      r.dati.insert(r.dati.end(), blocco, blocco + n);
    }
    ::close(fd);
    return r;
  }

  std::optional<errore_file> sostituisci(const std::string& percorso,
                                         std::span<const std::uint8_t> dati) override {
    std::string temporaneo = percorso + ".tmpXXXXXX";
    const int fd = ::mkstemp(temporaneo.data());
    if (fd < 0) return errore_da_errno(percorso);
    auto fallito = [&](int codice) {
      ::close(fd);
      ::unlink(temporaneo.c_str());
      return errore_file{percorso, std::strerror(codice)};
    };
    std::size_t scritti = 0;
    while (scritti < dati.size()) {
      const ssize_t n = ::write(fd, dati.data() + scritti, dati.size() - scritti);
      if (n < 0) {
        if (errno == EINTR) continue;
        return fallito(errno);
      }
      scritti += static_cast<std::size_t>(n);
    }
    if (::fchmod(fd, 0644) != 0) return fallito(errno);
    if (::close(fd) != 0) {
      const int codice = errno;
      ::unlink(temporaneo.c_str());
      return errore_file{percorso, std::strerror(codice)};
    }
    struct stat st {};
    if (::stat(percorso.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      ::unlink(temporaneo.c_str());
      return errore_file{percorso, std::strerror(EISDIR)};
    }
    if (::rename(temporaneo.c_str(), percorso.c_str()) != 0) {
      const int codice = errno;
      ::unlink(temporaneo.c_str());
      return errore_file{percorso, std::strerror(codice)};
    }
    return std::nullopt;
  }

  std::optional<errore_file> elimina(const std::string& percorso) override {
    if (::unlink(percorso.c_str()) != 0 && errno != ENOENT) return errore_da_errno(percorso);
    return std::nullopt;
  }
};

}  // namespace

std::unique_ptr<file_system> file_system_reale() {
  return std::make_unique<disco>();
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

}  // namespace percorso
