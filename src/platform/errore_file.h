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

// Why a file of this kind is not read or replaced as a regular file is.
std::string motivo_non_regolare(identita_file::tipo genere);

}  // namespace percorso
