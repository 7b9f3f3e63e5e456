// A failed file operation, as every file operation of the program reports it.
#pragma once

#include <string>

namespace percorso {

// The file and the system's reason.
struct errore_file {
  std::string file;
  std::string motivo;
};

// The system's reason for an errno value, in Italian for the common ones (the rest as
// the system words them).
std::string motivo_di(int codice);

// The failure of an operation on percorso with errno value codice.
errore_file errore_da(const std::string& percorso, int codice);

}  // namespace percorso
