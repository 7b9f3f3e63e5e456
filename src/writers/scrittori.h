// The five writers of the embedded texts and the line form they share.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/modello.h"

namespace percorso {

// The bytes of a text file: every line followed by CR LF, the last one too.
std::vector<std::uint8_t> testo_crlf(std::span<const std::string_view> righe);
std::vector<std::uint8_t> testo_crlf(std::span<const std::string> righe);

// One embedded text and the name it is written under.
struct testo_da_scrivere {
  std::string nome;
  std::span<const std::string_view> righe;
};

// The five texts in the order the run writes them.
std::vector<testo_da_scrivere> testi_del_percorso(const modello& m);

}  // namespace percorso
