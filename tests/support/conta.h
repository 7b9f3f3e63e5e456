// How often a text holds another, overlapping matches counted.
#pragma once

#include <cstddef>
#include <string_view>

namespace percorso::prova {

inline std::size_t conta(std::string_view testo, std::string_view cerca) {
  std::size_t n = 0;
  for (auto i = testo.find(cerca); i != std::string_view::npos; i = testo.find(cerca, i + 1)) ++n;
  return n;
}

}  // namespace percorso::prova
