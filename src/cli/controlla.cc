#include "cli/controlla.h"

#include <string>
#include <vector>

#include "app/controllo.h"
#include "cli/avvisi.h"
#include "cli/opzioni.h"
#include "cli/uscita.h"

namespace percorso {

int comando_check(std::span<const std::string_view> a, std::ostream& err, file_system& fs) {
  static constexpr opzione ammesse[] = {{"--no-warn", true}, {"--werror", false}};
  argomenti letti;
  if (auto errore = leggi_argomenti(a, ammesse, letti)) return errore_uso(err, *errore, "check");
  filtro_avvisi filtro;
  bool avvisi_come_errori = false;
  for (const auto& [nome, valore] : letti.opzioni) {
    if (nome == "--werror") avvisi_come_errori = true;
    if (nome != "--no-warn") continue;
    if (auto errore = spegni_avviso(valore, filtro)) return errore_uso(err, *errore, "check");
  }
  if (letti.posizionali.size() != 2)
    return errore_uso(err, "servono due testi: LINEA e TRENO", "check");
  const std::string file[2] = {std::string(letti.posizionali[0]),
                               std::string(letti.posizionali[1])};

  // Read under the turn of their directories: a run writing them is waited for, and
  // one killed while it wrote them is reported.
  const auto turno = fs.insieme({.lette = {cartella_di(file[0]), cartella_di(file[1])}});
  turno->prendi_turno();
  avvisa_giornali(err, turno->giornali_lasciati());
  std::vector<std::uint8_t> testi[2];
  for (std::size_t i = 0; i < 2; ++i) {
    lettura l = fs.leggi(file[i]);
    if (l.errore) {
      err << "percorso: impossibile leggere " << l.errore->file << ": " << l.errore->motivo << '\n';
      return uscita_interrotta;
    }
    testi[i] = std::move(l.dati);
  }
  const esito_controllo c = controlla({testi[0], testi[1]}, {file[0], file[1]}, filtro);
  stampa_messaggi(err, c.messaggi);
  err << conteggio(c.messaggi) << '\n';
  const bool con_avvisi = !c.messaggi.empty();
  return c.con_errori || (avvisi_come_errori && con_avvisi) ? uscita_rilievi : uscita_pulita;
}

}  // namespace percorso
