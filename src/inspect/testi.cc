#include "inspect/testi.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace percorso {

std::string formato(const char* formato, ...) {
  char buffer[256];
  va_list a;
  va_start(a, formato);
  const int n = std::vsnprintf(buffer, sizeof buffer, formato, a);
  va_end(a);
  if (n < 0) return {};
  return std::string(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1));
}

}  // namespace percorso
