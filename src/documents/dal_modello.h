// What the documents read of a compiled scenario: stations and slowdowns in the
// order of the train text, from the origins the compiler recorded.
#pragma once

#include <cstdint>
#include <vector>

#include "model/modello.h"

namespace percorso {

std::vector<const punto*> stazioni_lette(const modello& m);

struct rallentamento_letto {
  std::int32_t inizio = 0;  // metres
  std::int32_t velocita = 0;
  std::int64_t lunghezza = 0;  // metres
};
std::vector<rallentamento_letto> rallentamenti_letti(const modello& m);

}  // namespace percorso
