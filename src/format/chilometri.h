// Kilometre figures of the documents, from the line's kilometric references.
#pragma once

#include <cstdint>
#include <string>

#include "model/modello.h"

namespace percorso {

// The kilometric progressive at a position along the line, in metres. The reference
// that starts farthest along the line at or before the position counts on from its
// figure (the nearest one after it counts back when none does); a line without a
// reference counts from 0 at its start. References are taken as the compiler stored
// them in slots 81 to 83: ordered, and with the 100 m of a flagged one added.
std::int64_t progressiva_al_metro(const modello& m, std::int64_t posizione);

// The kilometre post at or before a progressive: 352 for 352800.
std::int64_t cippo(std::int64_t progressiva);

// "349+970": the kilometre, "+", the metres in three digits.
std::string testo_progressiva(std::int64_t progressiva);

}  // namespace percorso
