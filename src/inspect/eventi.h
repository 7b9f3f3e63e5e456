// The events of the cells, named and unpacked.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "inspect/vista.h"
#include "model/modello.h"

namespace percorso {

// Short Italian name of a cell event code.
std::string_view nome_evento(std::uint8_t codice);
// The JSON key of the count of an event code.
std::string chiave_evento(std::uint8_t codice);

// The values of a cell's event unpacked (signal codes per side, speeds in km/h,
// slowdown values, the station or board the cell names): an object whose text
// reads them. punti, when known, gives the names.
nodo_vista valori_evento(const cella& c, const std::array<punto, numero_punti>* punti);

}  // namespace percorso
