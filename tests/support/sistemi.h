// What the file tests meet differently on the two systems. FIFOs for the cases of a
// file that is no regular file: Linux has them, a Windows disk has not, and there
// those cases are skipped.
#pragma once

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cerrno>
#include <cstring>
#include <string>

namespace percorso::prova {

#ifdef _WIN32
inline constexpr bool fifo_possibili = false;
inline bool crea_fifo(const std::string&) {
  return false;
}
#else
inline constexpr bool fifo_possibili = true;
inline bool crea_fifo(const std::string& percorso) {
  return ::mkfifo(percorso.c_str(), 0600) == 0;
}
#endif

}  // namespace percorso::prova
