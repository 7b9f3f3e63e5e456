#include "cli/lettura_testi.h"

#include "cli/uscita.h"

namespace percorso {

std::optional<int> leggi_linea_e_treno(std::span<const std::string_view> posizionali,
                                       std::string_view comando, std::ostream& err, file_system& fs,
                                       testi_letti& t) {
  if (posizionali.size() != 2) return errore_uso(err, "servono due testi: LINEA e TRENO", comando);
  t.nomi = {std::string(posizionali[0]), std::string(posizionali[1])};
  // Read under the turn of their directories: a run writing them is waited for, and
  // one killed while it wrote them is reported.
  const auto turno = fs.insieme({.lette = {cartella_di(t.nomi.linea), cartella_di(t.nomi.treno)}});
  turno->prendi_turno();
  avvisa_giornali(err, turno->giornali_lasciati());
  for (auto [file, byte] :
       {std::pair{&t.nomi.linea, &t.linea}, std::pair{&t.nomi.treno, &t.treno}}) {
    lettura l = fs.leggi(*file);
    if (l.errore) {
      err << "percorso: impossibile leggere " << l.errore->file << ": " << l.errore->motivo << '\n';
      return uscita_interrotta;
    }
    *byte = std::move(l.dati);
  }
  return std::nullopt;
}

}  // namespace percorso
