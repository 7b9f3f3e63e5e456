#include "platform/errore_file.h"

#include <cerrno>
#include <cstring>

namespace percorso {

std::string motivo_di(int codice) {
  switch (codice) {
    case ENOENT:
      return "file o cartella inesistente";
    case EACCES:
    case EPERM:
      return "permesso negato";
    case ENOSPC:
      return "spazio esaurito sul disco";
    case EDQUOT:
      return "quota del disco esaurita";
    case EROFS:
      return "file system in sola lettura";
    case EISDIR:
      return "e' una cartella";
    case ENOTDIR:
      return "non e' una cartella";
    case EEXIST:
      return "esiste gia'";
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

}  // namespace percorso
