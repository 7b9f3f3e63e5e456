#include "platform/cartelle.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace percorso {

std::optional<errore_file> crea_cartella(const std::string& percorso) {
  std::error_code ec;
  // Names are UTF-8 inside the program, whatever the system's code page.
  const std::filesystem::path p(std::u8string(percorso.begin(), percorso.end()));
  std::filesystem::create_directories(p, ec);
  if (ec) return errore_da(percorso, ec.value());
  // create_directories says nothing when a file of that name is in the way.
  if (!std::filesystem::is_directory(p, ec))
    return errore_file{percorso, "esiste ma non e' una cartella"};
  return std::nullopt;
}

}  // namespace percorso
