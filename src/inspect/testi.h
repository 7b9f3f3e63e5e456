// Small text forms inspect shares between its descriptions.
#pragma once

#include <cstdint>
#include <string>

namespace percorso {

// printf into a string.
[[gnu::format(printf, 1, 2)]] std::string formato(const char* formato, ...);

// Seconds after midnight as HH:MM:SS.
std::string orario_testo(std::int64_t secondi);

}  // namespace percorso
