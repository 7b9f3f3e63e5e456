// A failed file operation, as every file operation of the program reports it.
#pragma once

#include <string>

#include "platform/chiamate_sistema.h"

namespace percorso {

// The file and the system's reason.
struct errore_file {
  std::string file;
  std::string motivo;
};

// The system's reason for an errno value, in Italian for the common ones (the rest as
// the system words them). On Windows the reason for the Windows error a failed call
// recorded with it.
std::string motivo_di(int codice);
// The reason every system gives for an errno value itself.
std::string motivo_comune(int codice);

// The failure of an operation on percorso with errno value codice.
errore_file errore_da(const std::string& percorso, int codice);

// Why a file of this kind is not read or replaced as a regular file is.
std::string motivo_non_regolare(identita_file::tipo genere);

}  // namespace percorso
