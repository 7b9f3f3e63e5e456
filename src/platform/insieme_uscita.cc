#include "platform/insieme_uscita.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/file_system.h"

namespace percorso {
namespace {

constexpr std::string_view prefisso_temporaneo = ".percorso-";
constexpr std::string_view modello_temporaneo = ".percorso-XXXXXX";

// A directory as the system takes it.
std::string apribile(std::string cartella) {
  return cartella.empty() ? std::string(".") : cartella;
}

// A short name beside the target: target name plus suffix could pass the name limit.
std::string nome_temporaneo(const std::string& percorso) {
  return unisci(cartella_di(percorso), std::string(modello_temporaneo));
}

// Whether a name is one of the temporaries a set creates.
bool temporaneo(std::string_view nome) {
  return nome.size() == modello_temporaneo.size() && nome.starts_with(prefisso_temporaneo);
}

// One locked directory, known by its identity: two spellings of it are one lock.
struct cartella {
  int fd = -1;
  dev_t dispositivo = 0;
  ino_t nodo = 0;
  bool usata = false;  // a file of the set was renamed into it
};

// A file of the set and its temporary beside it.
struct membro {
  std::string percorso;
  std::string temporaneo;
  std::size_t cartella = 0;
  int fd = -1;
  bool rinominato = false;
};

// Removes the temporaries that runs killed while they held the lock left behind.
void rimuovi_residui(int fd_cartella) {
  const int copia = ::dup(fd_cartella);
  if (copia < 0) return;
  DIR* d = ::fdopendir(copia);
  if (d == nullptr) {
    ::close(copia);
    return;
  }
  while (const dirent* e = ::readdir(d)) {
    if (!temporaneo(e->d_name)) continue;
    struct stat st {};
    if (::fstatat(fd_cartella, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
      ::unlinkat(fd_cartella, e->d_name, 0);
  }
  ::closedir(d);
}

bool e_cartella(const std::string& percorso) {
  struct stat st {};
  return ::stat(percorso.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

class insieme_disco final : public insieme_uscita {
 public:
  insieme_disco(chiamate_sistema c, std::vector<std::string> cartelle)
      : c_(std::move(c)), dichiarate_(std::move(cartelle)) {}

  ~insieme_disco() override {
    rimuovi_temporanei();
    for (const cartella& d : cartelle_) ::close(d.fd);
  }

  std::optional<errore_file> apri(const std::string& percorso) override {
    if (guasto_) return guasto_;
    prendi_turno();
    avvia_scrittura_corrente();
    const auto indice = cartella_bloccata_di(percorso);
    if (!indice) return fallisci(errore_da(percorso, errno_cartella_));
    if (e_cartella(percorso)) return fallisci(errore_da(percorso, EISDIR));
    membro m{percorso, nome_temporaneo(percorso), *indice};
    m.fd = ::mkostemp(m.temporaneo.data(), O_CLOEXEC);
    if (m.fd < 0) return fallisci(errore_da(percorso, errno));
    membri_.push_back(std::move(m));
    if (::fchmod(membri_.back().fd, 0644) != 0) return fallisci(errore_da(percorso, errno));
    return std::nullopt;
  }

  std::optional<errore_file> scrivi(std::span<const std::uint8_t> pezzo) override {
    if (guasto_) return guasto_;
    membro& m = membri_.back();
    if (auto e = scrivi_tutto(m.fd, pezzo)) return fallisci(errore_da(m.percorso, *e));
    return std::nullopt;
  }

  std::optional<errore_file> conferma() override {
    if (guasto_) return guasto_;
    avvia_scrittura_corrente();
    // The data must be on the disk before a name points at it, or a crash could leave
    // an empty file where the earlier one was.
    for (membro& m : membri_) {
      if (c_.sincronizza(m.fd) != 0) return fallisci(errore_da(m.percorso, errno));
      const int fd = std::exchange(m.fd, -1);
      if (::close(fd) != 0) return fallisci(errore_da(m.percorso, errno));
    }
    // The last check that can still refuse the whole set: after it only renames.
    for (const membro& m : membri_) {
      if (e_cartella(m.percorso)) return fallisci(errore_da(m.percorso, EISDIR));
    }
    std::optional<errore_file> errore;
    for (membro& m : membri_) {
      if (c_.rinomina(m.temporaneo.c_str(), m.percorso.c_str()) != 0) {
        errore = errore_da(m.percorso, errno);
        break;
      }
      m.rinominato = true;
      cartelle_[m.cartella].usata = true;
    }
    // Makes the new names durable; a failure here changes nothing on disk.
    for (const cartella& d : cartelle_) {
      if (d.usata) ::fsync(d.fd);
    }
    if (errore) return fallisci(*errore);
    membri_.clear();
    return std::nullopt;
  }

  std::optional<errore_file> scrivi_transitorio(const std::string& percorso,
                                                std::span<const std::uint8_t> dati) override {
    if (guasto_) return guasto_;
    prendi_turno();
    if (!cartella_bloccata_di(percorso)) return errore_da(percorso, errno_cartella_);
    std::string nome = nome_temporaneo(percorso);
    const int fd = ::mkostemp(nome.data(), O_CLOEXEC);
    if (fd < 0) return errore_da(percorso, errno);
    auto errore = scrivi_tutto(fd, dati);
    if (!errore && ::fchmod(fd, 0644) != 0) errore = errno;
    if (::close(fd) != 0 && !errore) errore = errno;
    if (!errore && c_.rinomina(nome.c_str(), percorso.c_str()) != 0) errore = errno;
    if (!errore) return std::nullopt;
    ::unlink(nome.c_str());
    return errore_da(percorso, *errore);
  }

 private:
  // Opens and locks every declared directory, in the order of their identities, and
  // clears the debris of killed runs. A directory that cannot be opened is left out:
  // a file put into it fails with the system's reason.
  void prendi_turno() {
    if (turno_preso_) return;
    turno_preso_ = true;
    for (const std::string& nome : dichiarate_) {
      cartella d;
      d.fd = ::open(apribile(nome).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      struct stat st {};
      if (d.fd < 0) continue;
      if (::fstat(d.fd, &st) != 0 || gia_tenuta(st)) {
        ::close(d.fd);
        continue;
      }
      d.dispositivo = st.st_dev;
      d.nodo = st.st_ino;
      cartelle_.push_back(d);
    }
    std::sort(cartelle_.begin(), cartelle_.end(), [](const cartella& a, const cartella& b) {
      return std::pair(a.dispositivo, a.nodo) < std::pair(b.dispositivo, b.nodo);
    });
    for (cartella& d : cartelle_) {
      int esito = 0;
      do {
        esito = c_.blocca(d.fd);
      } while (esito != 0 && errno == EINTR);
      if (esito != 0) {
        // Without the lock the directory is not ours to write into.
        errno_blocco_ = errno;
        ::close(std::exchange(d.fd, -1));
        continue;
      }
      rimuovi_residui(d.fd);
    }
    std::erase_if(cartelle_, [](const cartella& d) { return d.fd < 0; });
  }

  bool gia_tenuta(const struct stat& st) const {
    return std::any_of(cartelle_.begin(), cartelle_.end(), [&](const cartella& d) {
      return d.dispositivo == st.st_dev && d.nodo == st.st_ino;
    });
  }

  // The locked directory a file goes into; nothing (errno_cartella_ set) when its
  // directory cannot be opened or was not locked.
  std::optional<std::size_t> cartella_bloccata_di(const std::string& percorso) {
    const std::string nome = apribile(cartella_di(percorso));
    struct stat st {};
    if (::stat(nome.c_str(), &st) != 0) {
      errno_cartella_ = errno;
      return std::nullopt;
    }
    if (!S_ISDIR(st.st_mode)) {
      errno_cartella_ = ENOTDIR;
      return std::nullopt;
    }
    for (std::size_t i = 0; i < cartelle_.size(); ++i) {
      if (cartelle_[i].dispositivo == st.st_dev && cartelle_[i].nodo == st.st_ino) return i;
    }
    errno_cartella_ = errno_blocco_ != 0 ? errno_blocco_ : ENOLCK;
    return std::nullopt;
  }

  // Writes every byte; the system's reason when it cannot.
  std::optional<int> scrivi_tutto(int fd, std::span<const std::uint8_t> dati) {
    std::size_t scritti = 0;
    while (scritti < dati.size()) {
      const long n = c_.scrivi(fd, dati.data() + scritti, dati.size() - scritti);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return errno;
      // No progress at all would loop for ever; the system reports it as a full disk.
      if (n == 0) return ENOSPC;
      scritti += static_cast<std::size_t>(n);
    }
    return std::nullopt;
  }

  // The file being written is complete: its write-back starts now, while the next
  // ones are written, so the flushes of conferma find little left to do.
  void avvia_scrittura_corrente() {
    if (membri_.empty() || membri_.back().fd < 0) return;
    ::sync_file_range(membri_.back().fd, 0, 0, SYNC_FILE_RANGE_WRITE);
  }

  std::optional<errore_file> fallisci(errore_file e) {
    rimuovi_temporanei();
    guasto_ = std::move(e);
    return guasto_;
  }

  void rimuovi_temporanei() {
    for (membro& m : membri_) {
      if (m.fd >= 0) ::close(std::exchange(m.fd, -1));
      if (!m.rinominato) ::unlink(m.temporaneo.c_str());
    }
    membri_.clear();
  }

  chiamate_sistema c_;
  std::vector<std::string> dichiarate_;
  bool turno_preso_ = false;
  std::vector<cartella> cartelle_;
  std::vector<membro> membri_;
  std::optional<errore_file> guasto_;
  int errno_cartella_ = 0;
  int errno_blocco_ = 0;
};

}  // namespace

std::unique_ptr<insieme_uscita> insieme_su_disco(chiamate_sistema chiamate,
                                                 std::vector<std::string> cartelle) {
  return std::make_unique<insieme_disco>(std::move(chiamate), std::move(cartelle));
}

}  // namespace percorso
