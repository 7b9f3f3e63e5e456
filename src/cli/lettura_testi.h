// The two texts LINEA and TRENO of a command that reads them and writes nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/messaggi.h"
#include "model/sorgenti.h"
#include "platform/file_system.h"

namespace percorso {

struct testi_letti {
  nomi_sorgenti nomi;
  std::vector<std::uint8_t> linea, treno;

  sorgenti fonti() const { return {linea, treno}; }
};

// Reads the two texts the positional arguments name into t. When that cannot be done,
// says why on err and gives the exit status: wrong usage of `comando`, or a text that
// cannot be read.
std::optional<int> leggi_linea_e_treno(std::span<const std::string_view> posizionali,
                                       std::string_view comando, std::ostream& err, file_system& fs,
                                       testi_letti& t);

}  // namespace percorso
