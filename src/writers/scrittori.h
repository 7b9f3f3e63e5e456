// The five writers of the embedded texts and the writing procedure they share.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/modello.h"
#include "platform/file_system.h"

namespace percorso {

// The bytes of a text file: every line followed by CR LF, the last one too.
std::vector<std::uint8_t> testo_crlf(std::span<const std::string_view> righe);

// One embedded text and the name it is written under.
struct testo_da_scrivere {
  std::string nome;
  std::span<const std::string_view> righe;
};

// The five texts in the order the run writes them.
std::vector<testo_da_scrivere> testi_del_percorso(const modello& m);

// Writes each text into the directory, in order; stops at the first failure.
std::optional<errore_file> scrivi_testi(file_system& fs, const std::string& cartella,
                                        std::span<const testo_da_scrivere> testi);

}  // namespace percorso
