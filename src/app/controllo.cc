#include "app/controllo.h"

#include <algorithm>

#include "app/esecuzione.h"
#include "app/rapporto.h"

namespace percorso {

esito_controllo controlla(const sorgenti& testi, const nomi_sorgenti& nomi,
                          const filtro_avvisi& filtro) {
  // The names only feed the check codes, which raise no finding; the plan is compiled
  // for its findings and its coordinates are not kept.
  modello m;
  m.nome_percorso = std::string("controllo");
  m.numero_treno = std::string("1");
  const esito_esecuzione e = costruisci(std::move(m), testi, 1, coordinate_piano::contate);
  esito_controllo c;
  c.messaggi = messaggi_di(e, nomi, &testi, filtro, true).elenco;
  c.con_errori = std::any_of(c.messaggi.begin(), c.messaggi.end(),
                             [](const messaggio& x) { return !x.avviso; });
  return c;
}

}  // namespace percorso
