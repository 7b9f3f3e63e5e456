// The author's checker: reads the two source texts as their author sees them, line
// by line and field by field against the keyword table, and returns every problem in
// one run. It reads the texts only; the compiled model is never touched.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "format/chilometri.h"
#include "model/modello.h"
#include "model/sorgenti.h"
#include "sintassi/constatazioni.h"
#include "sintassi/parole_chiave.h"

namespace percorso {

// Every problem of the texts, ordered by text, line and column. rilievi are the
// compiler's findings for the same texts: where one stopped the reading of a text,
// a note says that the rest of it was not compiled. Positions in messages are told
// by km, the kilometres of the compiled line.
std::vector<diagnosi> verifica(const sorgenti& testi, std::span<const rilievo> rilievi = {},
                               const chilometrica& km = {});

}  // namespace percorso
