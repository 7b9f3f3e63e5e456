#include "placement/prese.h"

#include <algorithm>

#include "format/formato.h"
#include "model/numeri.h"

namespace percorso {

std::int64_t ultima_cella_di(std::int64_t lunghezza) {
  return static_cast<std::int64_t>(
      arrotonda(static_cast<double>(lunghezza + metri_oltre_la_linea) / metri_per_cella));
}

bool oltre_le_celle(std::int64_t p, std::int32_t margine, std::int64_t ultima_cella) {
  return static_cast<double>(p + margine) / metri_per_cella > static_cast<double>(ultima_cella);
}

presa presa_di(elemento e, std::int64_t p) {
  switch (e) {
    case elemento::cartello:
      return {cella_di(p, 1), 6};
    case elemento::abbattimento:
      return {cella_di(p, 0), 7};
    case elemento::indicatori:
      return {cella_di(p, 1), 21};
    default:
      return {cella_di(p, 1), 16};
  }
}

prese_rallentamento prese_di_rallentamento(std::int64_t x, std::int64_t l) {
  prese_rallentamento r;
  if (x > 1500) r.avviso = presa{cella_di(x - 1200, 1), 17};
  r.inizio = {cella_di(x, 1), 18};
  r.fine = {cella_di(x + l, 1), 19};
  r.preavviso = cella_di(x - 1200, 0);
  return r;
}

area area_stazione(std::int64_t tipo, std::int64_t p, std::int64_t lg, bool indicatore_3) {
  if (tipo == 5 || tipo == 6) return {p - lg, p + 150};
  if (tipo == 7 || tipo == 8) return {p - lg, p + lg};
  return {p - lg / 2, p + lg / 2 + (indicatore_3 ? 50 : 0)};
}

std::int64_t cella_fermata(const area& a) {
  return a.fine / metri_per_cella - 1;
}

celle_tratto celle_montagna(std::int64_t inizio, std::int64_t fine, std::int64_t ultima_cella) {
  // The 1 is subtracted before rounding: an end of 1075 m gives round(20.5) = 20.
  return {cella_di(inizio, 0), std::min(cella_di(fine, -1), ultima_cella)};
}

bool prende_la_cella(const origine& o, std::int64_t c) {
  switch (o.elemento) {
    case elemento::stazione:
    case elemento::montagna:
    case elemento::curva:
    case elemento::pendenza:
    case elemento::velocita:
    case elemento::aderenza:
      return false;
    case elemento::rallentamento: {
      const prese_rallentamento p = prese_di_rallentamento(o.inizio, o.fine - o.inizio);
      return (p.avviso && p.avviso->cella == c) || p.inizio.cella == c || p.fine.cella == c;
    }
    default:
      return presa_di(o.elemento, o.inizio).cella == c;
  }
}

}  // namespace percorso
