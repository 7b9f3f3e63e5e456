#include "platform/cartelle.h"

#include <algorithm>
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

std::vector<std::string> file_nella_cartella(const std::string& percorso) {
  std::vector<std::string> nomi;
  std::error_code ec;
  for (std::filesystem::directory_iterator i(percorso.empty() ? "." : percorso, ec), fine;
       !ec && i != fine; i.increment(ec)) {
    if (i->is_regular_file(ec)) nomi.push_back(i->path().filename().string());
  }
  std::sort(nomi.begin(), nomi.end());
  return nomi;
}

}  // namespace percorso
