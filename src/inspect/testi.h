// Small text forms inspect shares between its descriptions.
#pragma once

#include <cstdint>
#include <string>

namespace percorso {

// printf into a string. On Windows the program uses MinGW's C99 printf, not the system's.
#ifdef __MINGW32__
#define PERCORSO_PRINTF gnu_printf
#else
#define PERCORSO_PRINTF printf
#endif
[[gnu::format(PERCORSO_PRINTF, 1, 2)]] std::string formato(const char* formato, ...);

}  // namespace percorso
