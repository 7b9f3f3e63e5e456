#include "cli/controlla.h"

#include "app/controllo.h"
#include "cli/avvisi.h"
#include "cli/lettura_testi.h"
#include "cli/opzioni.h"
#include "cli/uscita.h"

namespace percorso {

int comando_check(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                  file_system& fs) {
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
  testi_letti t;
  if (auto stato = leggi_linea_e_treno(letti.posizionali, "check", err, fs, t)) return *stato;
  const esito_controllo c = controlla(t.fonti(), t.nomi, filtro);
  // The findings are the command's output, as a linter's are; the count is about them.
  stampa_messaggi(out, c.messaggi);
  err << conteggio(c.messaggi) << '\n';
  const bool con_avvisi = !c.messaggi.empty();
  return c.con_errori || (avvisi_come_errori && con_avvisi) ? uscita_rilievi : uscita_pulita;
}

}  // namespace percorso
