#include "platform/operazioni_file.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/file_system.h"

namespace percorso {

int crea_esclusivo(const std::string& nome) {
  // O_EXCL with O_CREAT follows no link, not even a dangling one.
  const int fd = ::open(nome.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  if (::fchmod(fd, 0644) == 0) return fd;
  const int codice = errno;
  ::close(fd);
  ::unlink(nome.c_str());
  errno = codice;
  return -1;
}

int apri_turno(const std::string& cartella, modo_turno) {
  return ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

int apri_proprio(const std::string& nome, const identita_file& atteso, std::string& motivo) {
  // Not waiting: a FIFO put there since it was identified must not hold the run.
  const int fd = ::open(nome.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    motivo = motivo_di(errno);
  } else if (!S_ISREG(st.st_mode) || st.st_dev != atteso.dispositivo || st.st_ino != atteso.nodo) {
    motivo = "e' cambiato mentre lo si apriva";
  } else if (st.st_uid != ::geteuid()) {
    motivo = "appartiene a un altro utente";
  } else {
    return fd;
  }
  ::close(fd);
  errno = EPERM;
  return -1;
}

int apri_diretto(const std::string& percorso, identita_file::tipo genere, std::string& motivo) {
  // A FIFO nobody reads is refused at once instead of waiting for a reader; a file
  // reached through /proc (the output redirected with >>) is added to, never cut.
  const bool fifo = genere == identita_file::tipo::fifo;
  const bool regolare = genere == identita_file::tipo::regolare;
  const int fd = ::open(percorso.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC |
                                              (fifo ? O_NONBLOCK : 0) | (regolare ? O_APPEND : 0));
  if (fd < 0 && fifo && errno == ENXIO) motivo = "nessuno legge dalla FIFO";
  if (fd >= 0 && fifo) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

int chiudi(int fd) {
  return ::close(fd);
}

void rimuovi(const std::string& nome) {
  ::unlink(nome.c_str());
}

void avvia_scrittura(int fd) {
  ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
}

// A file another program has open is replaced all the same.
std::optional<int> bersaglio_libero(const std::string&) {
  return std::nullopt;
}

std::optional<int> senza_sigpipe(const std::function<std::optional<int>()>& scrittura) {
  struct sigaction ignora {
  }, prima{};
  ignora.sa_handler = SIG_IGN;
  ::sigaction(SIGPIPE, &ignora, &prima);
  const auto errore = scrittura();
  ::sigaction(SIGPIPE, &prima, nullptr);
  return errore;
}

bool collegamento_fidato(const std::string& collegamento) {
  struct stat st {};
  return ::lstat(collegamento.c_str(), &st) == 0 && (st.st_uid == ::geteuid() || st.st_uid == 0);
}

bool nel_sistema_dei_processi(const std::string& collegamento) {
  const int fd = ::open(collegamento.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct statfs fs {};
  const bool proc = ::fstatfs(fd, &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
  ::close(fd);
  return proc;
}

std::optional<std::string> segui_collegamento(const std::string& collegamento) {
  std::string letto(PATH_MAX, '\0');
  const ssize_t n = ::readlink(collegamento.c_str(), letto.data(), letto.size());
  if (n < 0) return std::nullopt;
  if (static_cast<std::size_t>(n) == letto.size() || n == 0) {
    errno = ENAMETOOLONG;
    return std::nullopt;
  }
  letto.resize(static_cast<std::size_t>(n));
  // A relative link counts from the directory the link lies in.
  if (letto.front() == '/') return letto;
  return unisci(cartella_di(collegamento), letto);
}

}  // namespace percorso
