// Where an output given by name is written. A regular file, or no file, is replaced
// whole. A link is never replaced by a file: one of this user's (or the system's)
// that leads to a regular file is written through, the file it leads to replaced; one
// that leads to a device, a FIFO or a process's open file (/dev/stdout) is written to
// as that file is; anything else is refused, as is a link another user made.
#pragma once

#include <string>

#include "platform/chiamate_sistema.h"

namespace percorso {

struct destinazione {
  enum class modo {
    sostituito,  // replaced whole through a temporary beside it
    diretto,     // written to as it is
    rifiutato,   // left as it is; the set stops
  };
  modo come = modo::sostituito;
  std::string percorso;  // the name replaced or opened: the output's own, or where it leads
  identita_file::tipo genere = identita_file::tipo::regolare;  // of a file written to
  std::string motivo;                                          // why it is refused
};

destinazione destinazione_di(const chiamate_sistema& c, const std::string& percorso);

}  // namespace percorso
