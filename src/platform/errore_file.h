// A failed file operation, as every file operation of the program reports it.
#pragma once

#include <string>

namespace percorso {

// The file and the system's reason.
struct errore_file {
  std::string file;
  std::string motivo;
};

}  // namespace percorso
