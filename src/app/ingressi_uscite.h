// An output that is one of the run's own inputs would destroy it: the texts turned
// into JSON, the cell file into an SVG. Outputs and inputs are compared by the file
// they lead to, links followed, so another spelling, a link or a hard link of an
// input is found out too. This is the early look, before a run or a watch begins;
// the output set looks again, under the directories' lock, at each file it writes.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "platform/file_system.h"

namespace percorso {

// Why the run must stop before it writes anything, when an output is an input.
std::optional<std::string> uscita_su_ingresso(file_system& fs,
                                              std::span<const std::string> ingressi,
                                              std::span<const std::string> uscite);

}  // namespace percorso
