// Times of the timetable as people read them.
#pragma once

#include <cstdint>
#include <string>

namespace percorso {

// hh:mm:ss, with a minus before a negative time and as many hour digits as it takes.
std::string orario_testo(std::int64_t secondi);

}  // namespace percorso
