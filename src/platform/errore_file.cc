#include "platform/errore_file.h"

#include <cerrno>
#include <cstring>

namespace percorso {

std::string motivo_comune(int codice) {
  switch (codice) {
    case ENOENT:
      return "file o cartella inesistente";
    case EACCES:
    case EPERM:
      return "permesso negato";
    case ENOSPC:
      return "spazio esaurito sul disco";
#ifdef EDQUOT
    case EDQUOT:
      return "quota del disco esaurita";
#endif
    case EROFS:
      return "file system in sola lettura";
    case EISDIR:
      return "e' una cartella";
    case ENOTDIR:
      return "non e' una cartella";
    case EEXIST:
      return "esiste gia'";
    case EFBIG:
      return "file troppo grande";
    case ELOOP:
      return "troppi collegamenti simbolici";
    case EMLINK:
      return "troppi collegamenti";
    case ENAMETOOLONG:
      return "nome troppo lungo";
    default:
      return std::strerror(codice);
  }
}

errore_file errore_da(const std::string& percorso, int codice) {
  return {percorso, motivo_di(codice)};
}

std::string motivo_non_regolare(identita_file::tipo genere) {
  using t = identita_file::tipo;
  if (genere == t::cartella) return motivo_di(EISDIR);
  const char* nome = genere == t::fifo                                ? "una FIFO"
                     : genere == t::socket                            ? "un socket"
                     : genere == t::caratteri || genere == t::blocchi ? "un dispositivo"
                                                                      : "un file speciale";
  return std::string("non e' un file regolare ma ") + nome;
}

}  // namespace percorso
