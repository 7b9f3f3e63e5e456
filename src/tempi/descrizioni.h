// The timetable's figures and problems in words, for the terminal and the findings.
#pragma once

#include <cstdint>
#include <string>

#include "model/modello.h"
#include "tempi/orario.h"

namespace percorso {

// A running time as "m:ss", from an hour "h:mm:ss", rounded up to the second; "--"
// where no train passes.
std::string durata_testo(double secondi);
// A difference of times with its sign: "+1:32", "-0:05".
std::string scarto_testo(std::int64_t secondi);

// A station's name as a terminal shows it, cut to 40 characters.
std::string nome_stazione(const modello& m, std::int32_t stazione);

// What the problem says, naming the stations and giving the figures.
std::string descrizione(const problema& p, const confronto& r, const corsa& c, const modello& m);

}  // namespace percorso
