// What no row writes: values of the compiled files that the texts cannot give back,
// each told with its file and place; the proof then fails there.
#pragma once

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "decompile/cartelli.h"
#include "decompile/problemi.h"
#include "model/modello.h"

namespace percorso {

// Cell 1's header values, which the build writes from the names.
problemi intestazione_della_cella_1(std::span<const cella> celle, std::string_view numero_treno,
                                    std::string_view nome_percorso);

// Values a cell holds that no row writes with its event: a stop cell is one of fermate.
problemi valori_senza_riga(std::span<const cella> celle, const std::vector<fermata>& fermate,
                           const std::array<punto, numero_punti>& punti);

// A compile that stopped in the line never read the train text: nothing of it may be there.
problemi senza_treno(std::span<const cella> celle, const std::array<punto, numero_punti>& punti,
                     bool stazioni);

// A compile that stopped in the line's header leaves the cells and the table empty.
problemi senza_corpo(std::span<const cella> celle, const std::array<punto, numero_punti>& punti);

}  // namespace percorso
