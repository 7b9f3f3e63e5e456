// The plot feature: the plan and the profile of a compiled line as one SVG.
#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "model/disegno.h"
#include "model/modello.h"
#include "platform/file_system.h"

namespace percorso {

// The SVG of the line in a cell file, with the point file and the plan file beside
// it when they are there (a warning on err for each one missing); nothing, with the
// reason on err, when the cell file cannot be read or decoded. letti gets the names of
// the files it reads.
std::optional<std::string> svg_della_linea(file_system& fs, const std::string& file_celle,
                                           std::ostream& err, std::vector<std::string>& letti);

// The drawing of a line compiled in memory, however far the compiler got: nothing
// when it made no cells.
std::optional<disegno_linea> disegna_modello(const modello& m);

// Where the drawing of a cell file goes by default: its name with .svg.
std::string svg_accanto(std::string_view file_celle);

}  // namespace percorso
