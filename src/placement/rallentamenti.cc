#include "model/numeri.h"
#include "placement/piazzamento.h"
#include "placement/prese.h"

namespace percorso {

std::int32_t memo_rallentamento(modello& m, const dati_rallentamento& r) {
  const prese_rallentamento p = prese_di_rallentamento(r.x, r.l);
  const bool avviso = p.avviso.has_value();

  cella* cw = nullptr;
  if (avviso) {
    cw = m.cella_a(p.avviso->cella);
    if (cw == nullptr) return codice_generale;
    if (!libera(*cw)) return p.avviso->codice;
  }
  cella* cs = m.cella_a(p.inizio.cella);
  if (cs == nullptr) return codice_generale;
  if (!libera(*cs)) return p.inizio.codice;
  cella* ce = m.cella_a(p.fine.cella);
  if (ce == nullptr) return codice_generale;
  if (!libera(*ce)) return p.fine.codice;

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
  for (int n = 0; n < celle_preavviso; ++n) {
    const cella* c = m.cella_a(p.preavviso - n);
    if (c == nullptr) return codice_generale;
    if (!libera(*c)) return codice_preavviso;
  }
  for (int n = 0; n < celle_preavviso; ++n) {
    cella& c = *m.cella_a(p.preavviso - n);
    c.evento = evento::preavviso;
    c.dato_1 = static_cast<std::int16_t>(n + 1);
    if (r.d_v != 0) c.dato_2 = static_cast<std::int16_t>(n + 1);
  }
  return 0;
}

}  // namespace percorso
