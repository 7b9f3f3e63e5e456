// What the file systems of every system share.
#include "platform/file_system.h"

namespace percorso {

std::optional<errore_file> file_system::sostituisci(const std::string& percorso,
                                                    std::span<const std::uint8_t> dati) {
  const auto uno = insieme({cartella_di(percorso)});
  if (auto e = uno->aggiungi(percorso, dati)) return e;
  return uno->conferma();
}

std::optional<identita_file> identita_di(const chiamate_sistema& c, const std::string& percorso) {
  identita_file id;
  if (c.identifica(percorso.c_str(), true, id) != 0) return std::nullopt;
  return id;
}

std::unique_ptr<file_system> file_system_reale() {
  return file_system_reale(chiamate_reali());
}

}  // namespace percorso
