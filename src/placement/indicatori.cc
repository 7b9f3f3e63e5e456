#include <array>

#include "format/unita_celle.h"
#include "model/numeri.h"
#include "placement/piazzamento.h"
#include "placement/prese.h"

namespace percorso {

std::int32_t memo_indicatori_v_max(modello& m, const dati_indicatori& d) {
  const presa presa = presa_di(elemento::indicatori, d.posizione);
  cella* c = m.cella_a(presa.cella);
  if (c == nullptr) return codice_generale;
  if (!libera(*c)) return presa.codice;

  c->evento = evento::indicatori;
  const std::array<std::pair<std::int32_t, std::int32_t>, 3> classi = {
      {{d.vas, d.vad}, {d.vbs, d.vbd}, {d.vcs, d.vcd}}};
  std::int16_t* campi[] = {&c->dato_1, &c->dato_2, &c->dato_3};
  for (std::size_t n = 0; n < classi.size(); ++n) {
    const auto v = indicatori_in_cella(classi[n].first, classi[n].second);
    if (!v) return codice_generale;
    *campi[n] = *v;
  }
  c->dato_4 = basso_16(std::int64_t{d.strisces} * 10 + d.strisced);
  return 0;
}

}  // namespace percorso
