// The commands that give an author texts to start from: the embedded scenario's
// (sources) or a small new one (new). Neither replaces what an author has written.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "app/scrittura_testi.h"
#include "platform/file_system.h"

namespace percorso {

// Prints the files written and left as they were, and gives the exit status; perche
// tells why a file already there was refused.
int riferisci(const esito_testi& e, std::string_view perche, std::ostream& out, std::ostream& err);

// percorso sources [DIR] [--force]
int comando_sources(std::span<const std::string_view> argomenti, std::ostream& out,
                    std::ostream& err, file_system& fs);

// percorso new NOME TRENO [DIR] [--force]
int comando_new(std::span<const std::string_view> argomenti, std::ostream& out, std::ostream& err,
                file_system& fs);

}  // namespace percorso
