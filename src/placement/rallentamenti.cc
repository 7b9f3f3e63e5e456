#include "model/numeri.h"
#include "placement/piazzamento.h"

namespace percorso {

std::int32_t memo_rallentamento(modello& m, const dati_rallentamento& r) {
  const bool avviso = r.x > 1500;
  const std::int64_t x = r.x;
  const std::int64_t s = cella_di(x, 1);
  const std::int64_t e = cella_di(x + r.l, 1);
  const std::int64_t w = cella_di(x - 1200, 1);
  const std::int64_t k = cella_di(x - 1200, 0);

  cella* cw = nullptr;
  if (avviso) {
    cw = m.cella_a(w);
    if (cw == nullptr) return codice_generale;
    if (!libera(*cw)) return 17;
  }
  cella* cs = m.cella_a(s);
  if (cs == nullptr) return codice_generale;
  if (!libera(*cs)) return 18;
  cella* ce = m.cella_a(e);
  if (ce == nullptr) return codice_generale;
  if (!libera(*ce)) return 19;

  const std::int16_t v = basso_16(r.v);
  const std::int16_t d_v = basso_16(r.d_v);
  // The end is written before the start, so a slowdown within one cell keeps its start.
  ce->evento = evento::fine_rallentamento;
  if (r.d_v != 0) ce->dato_2 = d_v;
  cs->evento = evento::inizio_rallentamento;
  if (r.d_v != 0) cs->dato_2 = d_v;
  if (avviso) {
    cw->evento = evento::avviso_rallentamento;
    if (r.d_v != 0) cw->dato_2 = d_v;
    cw->dato_1 = v;
  }
  cs->dato_1 = v;
  ce->dato_1 = v;
  cs->dato_3 = basso_16(r.f_tt);
  ce->dato_3 = basso_16(r.f_tt);

  if (!avviso || r.f_ta == 0) return 0;
  for (int n = 0; n < 4; ++n) {
    const cella* c = m.cella_a(k - n);
    if (c == nullptr) return codice_generale;
    if (!libera(*c)) return 20;
  }
  for (int n = 0; n < 4; ++n) {
    cella& c = *m.cella_a(k - n);
    c.evento = evento::preavviso;
    c.dato_1 = static_cast<std::int16_t>(n + 1);
    if (r.d_v != 0) c.dato_2 = static_cast<std::int16_t>(n + 1);
  }
  return 0;
}

}  // namespace percorso
