// Header values of both texts: they fill fixed slots of the point table; the
// length line also creates the cells and the plan.
#include "compiler/compilazione.h"
#include "format/formato.h"

namespace percorso {

esito riga_lunghezza(compilazione& c) {
  modello& m = c.m;
  std::int32_t n = 0;
  if (!c.leggi(n)) return esito::ferma;
  m.punti[slot_treno].valore_2 = n;
  if (n > 1000000) return c.ferma(1, 0);
  const std::int32_t estesa = n + metri_oltre_la_linea;
  const std::int64_t ultima = ultima_cella_di(n);
  if (ultima < 0) return c.generale();
  m.lunghezza_estesa = estesa;
  c.celle_richieste = static_cast<std::size_t>(ultima) + 1;
  if (m.flag_tracciato != 0) {
    if (estesa < 0) return c.generale();
    c.metri_richiesti = static_cast<std::size_t>(estesa) + 1;
  }
  return esito::avanti;
}

esito riga_progressiva(compilazione& c, int slot) {
  punto& p = c.m.punti[slot];
  if (!c.leggi(p.valore_1) || !c.leggi(p.valore_2) || !c.leggi(p.valore_3)) return esito::ferma;
  return esito::avanti;
}

esito riga_sfondo(compilazione& c, std::int32_t punto::*campo) {
  return c.leggi(c.m.punti[slot_percorso].*campo) ? esito::avanti : esito::ferma;
}

esito riga_ripetizione(compilazione& c, std::string_view chiave) {
  punto& p = c.m.punti[slot_ripetizione];
  if (!c.leggi(p.valore_1) || !c.leggi(p.valore_2)) return esito::ferma;
  if (p.valore_1 % 50 != 0) return c.ferma(3, 0);
  if (p.valore_2 % 50 != 0) return c.ferma(4, 1);
  if (chiave.find('4') != std::string_view::npos)
    p.valore_3 = 4;
  else if (chiave.find('9') != std::string_view::npos)
    p.valore_3 = 9;
  else
    return c.ferma(5);
  if (p.valore_2 == 0) p.valore_3 = 0;
  return esito::avanti;
}

esito riga_massa(compilazione& c) {
  return c.leggi(c.m.punti[slot_treno].valore_1) ? esito::avanti : esito::ferma;
}

esito riga_vetture(compilazione& c) {
  return c.leggi(c.m.punti[slot_treno].valore_3) ? esito::avanti : esito::ferma;
}

esito riga_orologio(compilazione& c) {
  punto& p = c.m.punti[slot_ripetizione];
  if (!c.leggi(p.parametro_3) || !c.leggi(p.parametro_4) || !c.leggi(p.parametro_5))
    return esito::ferma;
  return esito::avanti;
}

esito riga_sabbia(compilazione& c) {
  return c.leggi(c.m.punti[slot_ripetizione].parametro_1) ? esito::avanti : esito::ferma;
}

}  // namespace percorso
