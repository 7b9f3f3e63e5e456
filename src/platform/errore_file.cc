#include "platform/errore_file.h"

#include <cerrno>
#include <cstring>

namespace percorso {

std::string motivo_non_regolare(identita_file::tipo genere) {
  using t = identita_file::tipo;
  if (genere == t::cartella) return std::strerror(EISDIR);
  const char* nome = genere == t::fifo                                ? "una FIFO"
                     : genere == t::socket                            ? "un socket"
                     : genere == t::caratteri || genere == t::blocchi ? "un dispositivo"
                                                                      : "un file speciale";
  return std::string("non e' un file regolare ma ") + nome;
}

}  // namespace percorso
