#include "platform/chiamate_sistema.h"

#include <sys/file.h>
#include <unistd.h>

#include <cstdio>

namespace percorso {

chiamate_sistema chiamate_reali() {
  return {
      [](int fd, const void* dati, std::size_t n) -> long { return ::write(fd, dati, n); },
      [](int fd, void* dati, std::size_t n) -> long { return ::read(fd, dati, n); },
      [](int fd) { return ::fdatasync(fd); },
      [](const char* da, const char* a) { return std::rename(da, a); },
      [](int fd) { return ::flock(fd, LOCK_EX); },
  };
}

}  // namespace percorso
