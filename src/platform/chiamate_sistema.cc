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

int rinomina_esclusiva(const char* da, const char* a) {
#ifdef SYS_renameat2
  const long esito = ::syscall(SYS_renameat2, AT_FDCWD, da, AT_FDCWD, a, RENAME_NOREPLACE);
  // A file system that cannot refuse an existing name renames plainly.
  if (esito == 0 || (errno != EINVAL && errno != ENOSYS)) return static_cast<int>(esito);
#endif
  return std::rename(da, a);
}

int blocca(int fd, modo_turno modo) {
  switch (modo) {
    case modo_turno::scrittura:
      return ::flock(fd, LOCK_EX);
    case modo_turno::lettura:
      return ::flock(fd, LOCK_SH);
    case modo_turno::scrittura_se_libero:
      return ::flock(fd, LOCK_EX | LOCK_NB);
  }
  return -1;
}

int identifica(const char* percorso, bool segui, identita_file& id) {
  struct stat st {};
  if ((segui ? ::stat(percorso, &st) : ::lstat(percorso, &st)) != 0) return -1;
  id.dispositivo = st.st_dev;
  id.nodo = st.st_ino;
  id.genere = genere_di(st.st_mode);
  id.dimensione = static_cast<std::uint64_t>(st.st_size);
  id.cambiato = std::int64_t{st.st_ctim.tv_sec} * 1000000000 + st.st_ctim.tv_nsec;
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
      rinomina_esclusiva,
      blocca,
      scambia,
      [](int fd) { return ::fsync(fd); },
      identifica,
  };
}

}  // namespace percorso
