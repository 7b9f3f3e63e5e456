#include "platform/operazioni_file.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace percorso {

int crea_temporaneo(std::string& nome) {
  const int fd = ::mkostemp(nome.data(), O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fchmod(fd, 0644) == 0) return fd;
  const int codice = errno;
  ::close(fd);
  ::unlink(nome.c_str());
  errno = codice;
  return -1;
}

int crea_file(const std::string& nome) {
  return ::open(nome.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

int apri_turno(const std::string& cartella) {
  return ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

int apri_diretto(const std::string& percorso, identita_file::tipo genere, std::string& motivo) {
  // A FIFO nobody reads is refused at once instead of waiting for a reader.
  const bool fifo = genere == identita_file::tipo::fifo;
  const int fd =
      ::open(percorso.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | (fifo ? O_NONBLOCK : 0));
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

}  // namespace percorso
