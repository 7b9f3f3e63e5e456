// The system calls the real disk goes through. Tests replace some of them to make
// the n-th call fail, as a full disk, a failing device or a lock table would.
#pragma once

#include <cstddef>
#include <functional>

namespace percorso {

struct chiamate_sistema {
  std::function<long(int fd, const void* dati, std::size_t n)> scrivi;
  std::function<long(int fd, void* dati, std::size_t n)> leggi;
  // Data of a finished file to the disk (its name is made durable separately).
  std::function<int(int fd)> sincronizza;
  std::function<int(const char* da, const char* a)> rinomina;
  // An exclusive lock on a directory's descriptor, waiting for it.
  std::function<int(int fd)> blocca;
};

// The system's own calls.
chiamate_sistema chiamate_reali();

}  // namespace percorso
