// What the file systems of every system share.
#include "platform/file_system.h"

namespace percorso {

std::optional<errore_file> file_system::sostituisci(const std::string& percorso,
                                                    std::span<const std::uint8_t> dati) {
  const auto uno = insieme({cartella_di(percorso)});
  if (auto e = uno->aggiungi(percorso, dati)) return e;
  return uno->conferma();
}

std::optional<identita_file> disco_di_sistema::identita(const std::string& percorso) {
  identita_file id;
  if (c_.identifica(percorso.c_str(), true, id) != 0) return std::nullopt;
  return id;
}

std::unique_ptr<insieme_uscita> disco_di_sistema::insieme(std::vector<std::string> cartelle) {
  return insieme_su_disco(c_, std::move(cartelle), avviso_);
}

std::unique_ptr<file_system> file_system_reale(avviso_turno avviso) {
  return file_system_reale(chiamate_reali(), std::move(avviso));
}

}  // namespace percorso
