#include "platform/chiamate_sistema.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/errore_file.h"

namespace percorso {
namespace {

identita_file::tipo genere_di(mode_t modo) {
  using t = identita_file::tipo;
  if (S_ISREG(modo)) return t::regolare;
  if (S_ISDIR(modo)) return t::cartella;
  if (S_ISCHR(modo)) return t::caratteri;
  if (S_ISBLK(modo)) return t::blocchi;
  if (S_ISFIFO(modo)) return t::fifo;
  if (S_ISSOCK(modo)) return t::socket;
  if (S_ISLNK(modo)) return t::collegamento;
  return t::altro;
}

int scambia(const char* a, const char* b) {
#ifdef SYS_renameat2
  // The raw call: older C libraries lack the wrapper, and the kernel says ENOSYS itself.
  return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, a, AT_FDCWD, b, RENAME_EXCHANGE));
#else
  errno = ENOSYS;
  return -1;
#endif
}

int identifica(const char* percorso, bool segui, identita_file& id) {
  struct stat st {};
  if ((segui ? ::stat(percorso, &st) : ::lstat(percorso, &st)) != 0) return -1;
  id.dispositivo = st.st_dev;
  id.nodo = st.st_ino;
  id.genere = genere_di(st.st_mode);
  id.dimensione = static_cast<std::uint64_t>(st.st_size);
  return 0;
}

}  // namespace

std::string motivo_di(int codice) {
  return motivo_comune(codice);
}

chiamate_sistema chiamate_reali() {
  return {
      [](int fd, const void* dati, std::size_t n) -> long { return ::write(fd, dati, n); },
      [](int fd, void* dati, std::size_t n) -> long { return ::read(fd, dati, n); },
      [](int fd) { return ::fdatasync(fd); },
      [](const char* da, const char* a) { return std::rename(da, a); },
      [](int fd) { return ::flock(fd, LOCK_EX); },
      scambia,
      [](int fd) { return ::fsync(fd); },
      identifica,
  };
}

}  // namespace percorso
