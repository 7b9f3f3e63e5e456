#include "model/numeri.h"
#include "placement/piazzamento.h"
#include "placement/prese.h"

namespace percorso {

std::int32_t memo_segnale(modello& m, const dati_segnale& s) {
  const presa presa = presa_di(elemento::segnale, s.posizione);
  const std::int64_t i = presa.cella;
  cella* c = m.cella_a(i);
  if (c == nullptr) return codice_generale;
  if (!libera(*c)) return presa.codice;

  const std::int64_t tipi = std::int64_t{s.sx} * 3 + s.dx;
  c->evento = evento::segnale;
  c->dato_4 = basso_16(std::int64_t{s.rapp} * 10 + tipi);
  c->dato_1 = basso_16(std::int64_t{s.s1} * 10 + s.d1);
  c->dato_2 = basso_16(std::int64_t{s.s2} * 10 + s.d2);
  c->dato_3 = basso_16(std::int64_t{s.s3} * 10 + s.d3);
  // Short times are raised to the shortest the simulator honours.
  const std::int32_t tempo = (s.tempo >= 1 && s.tempo <= 100) ? 101 : s.tempo;
  c->tempo_segnale = s.sx == 2 ? basso_8(tempo) : 0;

  // Repetition codes 100 to 400 m before the signal.
  for (int k = 1; k <= ripetizioni_segnale; ++k) {
    if (cella* r = m.cella_a(cella_ripetizione(i, k))) r->ripetizione = basso_8(tipi * 10 + k);
  }
  return 0;
}

}  // namespace percorso
