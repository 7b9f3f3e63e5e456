// The line compiler: turns the line and train descriptions into the model.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "model/modello.h"

namespace percorso {

// The two source texts; an absent text is one that does not exist.
struct sorgenti {
  std::optional<std::span<const std::uint8_t>> linea;
  std::optional<std::span<const std::uint8_t>> treno;
};

// Compiles both texts into m (cells, plan, point table). Findings are recorded in
// m.codice_errore, m.posizione_errore and m.rilievi; nothing is thrown.
void memorizza_dati(modello& m, const sorgenti& testi);

}  // namespace percorso
