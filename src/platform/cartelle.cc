#include "platform/cartelle.h"

#include <filesystem>
#include <system_error>

namespace percorso {

std::optional<errore_file> crea_cartella(const std::string& percorso) {
  std::error_code ec;
  std::filesystem::create_directories(percorso, ec);
  if (ec) return errore_da(percorso, ec.value());
  // create_directories says nothing when a file of that name is in the way.
  if (!std::filesystem::is_directory(percorso, ec))
    return errore_file{percorso, "esiste ma non e' una cartella"};
  return std::nullopt;
}

}  // namespace percorso
