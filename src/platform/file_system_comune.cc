// What the file systems of every system share.
#include "platform/file_system.h"

namespace percorso {

errore_file oltre_il_massimo(const std::string& percorso) {
  return {percorso, "file troppo grande: il programma legge file fino a " +
                        std::to_string(massimo_lettura >> 20) + " MiB"};
}

std::optional<identita_file> disco_di_sistema::identita(const std::string& percorso) {
  identita_file id;
  if (c_.identifica(percorso.c_str(), true, id) != 0) return std::nullopt;
  return id;
}

std::unique_ptr<insieme_uscita> disco_di_sistema::insieme(cartelle_corsa cartelle) {
  return insieme_su_disco(c_, std::move(cartelle), avviso_);
}

std::unique_ptr<file_system> file_system_reale(avviso_turno avviso) {
  return file_system_reale(chiamate_reali(), std::move(avviso));
}

}  // namespace percorso
