#include <algorithm>

#include "model/numeri.h"
#include "placement/piazzamento.h"

namespace percorso {

std::int32_t memo_montagna(modello& m, std::int32_t inizio, std::int32_t fine, std::int32_t tipo) {
  const bool segnata = tipo > 10;
  std::int64_t tipo_scritto = segnata ? std::int64_t{tipo} - 10 : tipo;
  // A stretch that begins close behind the previous row's stretch continues it.
  if (!m.montagna_fine.empty() && std::int64_t{inizio} - m.montagna_fine.back() <= 150)
    tipo_scritto = 3;
  m.montagna_inizio.push_back(inizio);
  m.montagna_fine.push_back(fine);

  const std::int64_t prima = cella_di(inizio, 0);
  // The 1 is subtracted before rounding: an end of 1075 m gives round(20.5) = 20.
  const std::int64_t ultima = std::min<std::int64_t>(cella_di(fine, -1), m.ultima_cella());
  std::int64_t conta = 0;
  for (std::int64_t i = prima; i <= ultima; ++i) {
    cella* c = m.cella_a(i);
    if (c == nullptr) return codice_generale;
    c->montagna = basso_8(tipo_scritto);
    ++conta;
    if (segnata && conta % 4 == 0 && c->evento == evento::nessuno) c->evento = evento::montagna;
  }
  return 0;
}

}  // namespace percorso
