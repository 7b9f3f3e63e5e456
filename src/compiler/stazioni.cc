// Boards with a text, speed points and stations.
#include "compiler/compilazione.h"
#include "format/byte.h"
#include "placement/piazzamento.h"

namespace percorso {
namespace {

// Stores a derived whole number into a 32-bit field; false when it does not fit.
bool memorizza_32(compilazione& c, std::int32_t& campo, std::int64_t v) {
  const auto valore = se_entra<std::int32_t>(v);
  if (!valore) {
    c.generale();
    return false;
  }
  campo = *valore;
  return true;
}

// Fields 4 to 17 of a station row, read straight into its entry.
bool leggi_attributi(compilazione& c, punto& e) {
  std::int32_t ore = 0, minuti = 0, secondi = 0;
  std::string_view nome;
  if (!(c.leggi(e.opzione) && c.leggi(e.indicatore_4) && c.leggi(e.indicatore_3) &&
        c.leggi(e.parametro_1) && c.leggi(e.parametro_2) && c.leggi(e.indicatore_1) &&
        c.leggi(e.parametro_3) && c.leggi(e.parametro_4) && c.leggi(e.parametro_5) &&
        c.leggi(e.indicatore_2) && c.leggi(ore) && c.leggi(minuti) && c.leggi(secondi)))
    return false;
  const std::int64_t orario = (std::int64_t{ore} * 60 + minuti) * 60 + secondi;
  if (!memorizza_32(c, e.orario, orario)) return false;
  if (!c.leggi_testo(nome)) return false;
  e.nome = testo_scritto(nome);
  return true;
}

// Start and end of the station area by kind; kinds 5 to 8 have no indicatore_3.
bool estensione(compilazione& c, punto& e, std::int64_t p, std::int64_t lg) {
  const area a = area_stazione(e.codice, p, lg, e.indicatore_3 != 0);
  if (e.codice >= 5 && e.codice <= 8) e.indicatore_3 = 0;
  return memorizza_32(c, e.valore_1, a.inizio) && memorizza_32(c, e.valore_2, a.fine);
}

// Approach codes and the stop cell near the end of the station area.
esito celle_stazione(compilazione& c, const punto& e, std::int32_t k) {
  const std::int64_t t = cella_fermata({e.valore_1, e.valore_2});
  if (!stazione_con_celle(e.codice)) {
    c.avvisa(genere::stazione_senza_celle,
             testo_di(genere::stazione_senza_celle, {std::to_string(e.codice)}));
    return esito::avanti;
  }
  if (e.codice != 5 && e.codice != 6) {
    for (int j = 1; j <= 4; ++j) {
      if (!fermata_possibile(t - j)) continue;
      cella* cl = c.m.cella_a(t - j);
      if (cl == nullptr) return c.generale();
      cl->ripetizione = static_cast<std::uint8_t>(80 + j);
    }
  }
  if (!fermata_possibile(t)) return c.ferma(24);
  cella* cl = c.m.cella_a(t);
  if (cl == nullptr) return c.generale();
  cl->evento = evento::fermata;
  cl->dato_1 = basso_16(k);
  return esito::avanti;
}

}  // namespace

esito riga_cartello(compilazione& c) {
  std::int32_t p = 0;
  std::string_view testo;
  if (!c.leggi(p) || !c.leggi_testo(testo)) return esito::ferma;
  if (const esito e = c.limite(p); e != esito::avanti) return e;
  c.traccia(elemento::cartello, p, p, c.slot_cartello);
  const presa presa = presa_di(elemento::cartello, p);
  cella* cl = c.m.cella_a(presa.cella);
  if (cl == nullptr) return c.generale();
  if (!libera(*cl)) return c.ferma_a(presa.codice, p, 0);
  cl->evento = evento::cartello;
  cl->dato_1 = basso_16(c.slot_cartello);
  if (c.slot_cartello < 0) return c.generale();
  c.m.punti[static_cast<std::size_t>(c.slot_cartello)].nome = testo_scritto(testo);
  --c.slot_cartello;
  return esito::avanti;
}

esito riga_abbattimento(compilazione& c) {
  std::int32_t p = 0, w = 0;
  if (!c.leggi(p) || !c.leggi(w)) return esito::ferma;
  if (const esito e = c.limite(p); e != esito::avanti) return e;
  c.traccia(elemento::abbattimento, p, p, w);
  const presa presa = presa_di(elemento::abbattimento, p);
  cella* cl = c.m.cella_a(presa.cella);
  if (cl == nullptr) return c.generale();
  if (!libera(*cl)) return c.ferma_a(presa.codice, p, 0);
  if (w <= 0) {
    cl->evento = evento::punto_senza_velocita;
  } else {
    cl->evento = evento::punto_velocita;
    cl->dato_1 = basso_16(w);
  }
  return esito::avanti;
}

// Reads and tests in the order of the row: position, kind, length, then the rest.
esito riga_stazione(compilazione& c) {
  const std::int32_t k = c.numero_stazione;
  punto& e = c.m.punti[static_cast<std::size_t>(k)];
  if (!c.leggi(e.valore_3)) return esito::ferma;
  const std::int32_t p = e.valore_3;
  if (const esito r = c.limite(p, margine_stazione); r != esito::avanti) return r;
  c.traccia(elemento::stazione, p, p, k);
  if (p % 50 != 0) return c.ferma_a(8, p, 0);
  std::int32_t lg = 0;
  if (!c.leggi(e.codice) || !c.leggi(lg)) return esito::ferma;
  if (lg % 100 != 0) return c.ferma_a(9, p, 2);
  if (!leggi_attributi(c, e)) return esito::ferma;
  if (!estensione(c, e, p, lg)) return esito::ferma;
  if (lg < 600) e.indicatore_4 = 0;
  if (k == 1) {
    e.indicatore_3 = 0;
    e.indicatore_4 = 0;
  }
  if (const esito r = celle_stazione(c, e, k); r != esito::avanti) return r;
  if (k > 1 && std::int64_t{e.valore_1} - 350 < c.m.punti[static_cast<std::size_t>(k - 1)].valore_2)
    return c.ferma_a(22, p, 0);
  c.numero_stazione = k + 1;
  if (c.numero_stazione >= c.slot_cartello) return c.ferma(10);
  return esito::avanti;
}

}  // namespace percorso
