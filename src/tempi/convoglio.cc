#include "tempi/convoglio.h"

#include <algorithm>

namespace percorso {

convoglio convoglio_di(const modello& m, const ipotesi& i) {
  const punto& treno = m.punti[slot_treno];
  convoglio c;
  c.vetture = std::max(treno.valore_3, 0);
  c.massa_frenata = treno.valore_1 > 0 ? treno.valore_1 : massa_frenata_predefinita;
  c.lunghezza = c.vetture * i.metri_per_vettura;
  c.accelerazione = i.accelerazione;
  c.decelerazione = i.frenatura_al_cento * c.massa_frenata / 100.0;
  c.reazione = i.reazione;
  return c;
}

double accelerazione_su(const convoglio& c, double per_mille) {
  return std::max(c.accelerazione - gravita * per_mille / 1000.0, accelerazione_minima);
}

double decelerazione_su(const convoglio& c, double per_mille) {
  return std::max(c.decelerazione + gravita * per_mille / 1000.0, accelerazione_minima);
}

}  // namespace percorso
