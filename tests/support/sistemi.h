// What the file tests meet differently on the two systems. FIFOs for the cases of a
// file that is no regular file: Linux has them, a Windows disk has not, and there
// those cases are skipped. The time of a folder is set by each system's own call.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/operazioni_file.h"

namespace percorso::prova {

// crea_fifo: a FIFO where the system has them. invecchia: a file or folder dated an
// hour back, as one nobody has changed lately.
#ifdef _WIN32
inline constexpr bool fifo_possibili = false;
inline bool crea_fifo(const std::string&) {
  return false;
}
// The C library cannot set a folder's time on Windows.
inline void invecchia(const std::string& percorso) {
  const HANDLE h = ::CreateFileW(percorso_fs(percorso).c_str(), FILE_WRITE_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  FILETIME t{};
  ::GetFileTime(h, nullptr, nullptr, &t);
  // FILETIME counts hundreds of nanoseconds.
  const std::uint64_t prima =
      ((std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) - std::uint64_t{36'000'000'000};
  t = {static_cast<DWORD>(prima), static_cast<DWORD>(prima >> 32)};
  ::SetFileTime(h, nullptr, nullptr, &t);
  ::CloseHandle(h);
}
#else
inline constexpr bool fifo_possibili = true;
inline bool crea_fifo(const std::string& percorso) {
  return ::mkfifo(percorso.c_str(), 0600) == 0;
}
inline void invecchia(const std::string& percorso) {
  const auto p = percorso_fs(percorso);
  std::filesystem::last_write_time(p, std::filesystem::last_write_time(p) - std::chrono::hours(1));
}
#endif

}  // namespace percorso::prova
