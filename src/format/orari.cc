#include "format/orari.h"

#include <cstdio>

namespace percorso {

std::string orario_testo(std::int64_t secondi) {
  // The magnitude in unsigned arithmetic: the most negative time has no positive twin.
  const std::uint64_t s =
      secondi < 0 ? 0 - static_cast<std::uint64_t>(secondi) : static_cast<std::uint64_t>(secondi);
  char b[32];
  std::snprintf(b, sizeof b, "%s%02llu:%02llu:%02llu", secondi < 0 ? "-" : "",
                static_cast<unsigned long long>(s / 3600),
                static_cast<unsigned long long>(s / 60 % 60),
                static_cast<unsigned long long>(s % 60));
  return b;
}

}  // namespace percorso
