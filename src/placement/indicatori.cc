#include <array>

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
    // The s-side product wraps at 32 bits before the d-side speed is added.
    const auto s20 = static_cast<std::int32_t>(static_cast<std::uint32_t>(classi[n].first) * 20u);
    const auto v = arrotonda_in<std::int16_t>(static_cast<double>(s20) + classi[n].second / 5.0);
    if (!v) return codice_generale;
    *campi[n] = *v;
  }
  c->dato_4 = basso_16(std::int64_t{d.strisces} * 10 + d.strisced);
  return 0;
}

}  // namespace percorso
