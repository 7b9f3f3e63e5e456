#include "compiler/compilatore.h"

#include <span>

#include "compiler/compilazione.h"
#include "placement/montagne.h"
#include "placement/piazzamento.h"
#include "sintassi/parole_chiave.h"

namespace percorso {
namespace {

// One keyword test and the handler it calls; the tests of a part run in table order
// and every test that holds reads its own fields.
struct regola {
  chiave k;
  esito (*applica)(compilazione& c, std::string_view chiave);
  // Whether the row's fields are read; nullptr: always.
  bool (*legge)(const compilazione& c) = nullptr;

  bool vale(std::string_view campo, std::uint64_t impronta_campo) const {
    return corrisponde(k, campo, impronta_campo);
  }
};

using enum chiave;

constexpr regola regole_intestazione[] = {
    {lunghezza, [](compilazione& c, std::string_view) { return riga_lunghezza(c); }},
    {progressiva_tre,
     [](compilazione& c, std::string_view) { return riga_progressiva(c, slot_progressiva_tre); }},
    {progressiva_due,
     [](compilazione& c, std::string_view) { return riga_progressiva(c, slot_progressiva_due); }},
    {progressiva_uno,
     [](compilazione& c, std::string_view) { return riga_progressiva(c, slot_progressiva_uno); }},
    // Background two goes to the third value and three to the second.
    {sfondo_uno,
     [](compilazione& c, std::string_view) { return riga_sfondo(c, &punto::valore_1); }},
    {sfondo_due,
     [](compilazione& c, std::string_view) { return riga_sfondo(c, &punto::valore_3); }},
    {sfondo_tre,
     [](compilazione& c, std::string_view) { return riga_sfondo(c, &punto::valore_2); }},
    {ripetizione, [](compilazione& c, std::string_view k) { return riga_ripetizione(c, k); }},
};

constexpr regola regole_corpo[] = {
    {pendenza, [](compilazione& c, std::string_view) { return riga_pendenza(c); }},
    // Without a plan the curve's numbers pass as ignored fields, expectedly so.
    {curva,
     [](compilazione& c, std::string_view k) {
       if (c.m.flag_tracciato != 0) return riga_curva(c, k);
       c.riga_ignorata = c.chiave.riga;
       return esito::avanti;
     },
     [](const compilazione& c) { return c.m.flag_tracciato != 0; }},
    {montagna, [](compilazione& c, std::string_view) { return riga_montagna(c); }},
    {indicatori, [](compilazione& c, std::string_view) { return riga_indicatori(c); }},
    {cartello, [](compilazione& c, std::string_view) { return riga_cartello(c); }},
};

constexpr regola regole_treno[] = {
    {massa, [](compilazione& c, std::string_view) { return riga_massa(c); }},
    {vetture, [](compilazione& c, std::string_view) { return riga_vetture(c); }},
    {velocita, [](compilazione& c, std::string_view) { return riga_velocita(c); }},
    {aderenza, [](compilazione& c, std::string_view) { return riga_aderenza(c); }},
    {orologio, [](compilazione& c, std::string_view) { return riga_orologio(c); }},
    {sabbia, [](compilazione& c, std::string_view) { return riga_sabbia(c); }},
    {segnale, [](compilazione& c, std::string_view) { return riga_segnale(c); }},
    {rallentamento, [](compilazione& c, std::string_view) { return riga_rallentamento(c); }},
    {abbattimento, [](compilazione& c, std::string_view) { return riga_abbattimento(c); }},
    {stazione, [](compilazione& c, std::string_view) { return riga_stazione(c); }},
};

bool vale_una(std::span<const regola> regole, std::string_view k, std::uint64_t impronta_k) {
  for (const regola& r : regole) {
    if (r.vale(k, impronta_k)) return true;
  }
  return false;
}

// Warns about a keyword field that no test of its part takes, once per line.
void avvisa_se_ignorata(compilazione& c, std::string_view k, std::uint64_t impronta_k,
                        std::span<const regola> altrove) {
  if (k.empty() || intestazione_di_sezione(k) || c.chiave.riga == c.riga_ignorata) return;
  c.riga_ignorata = c.chiave.riga;
  const genere_constatazione& g = e_numero(k)                        ? genere::numeri_in_piu
                                  : vale_una(altrove, k, impronta_k) ? genere::fuori_sezione
                                                                     : genere::chiave_sconosciuta;
  if (c.avvisa_ancora(g)) c.avvisa(g, testo_di(g, {corto(k)}));
}

// Applies every rule that holds, in order, while the line lets the text go on.
esito applica(compilazione& c, std::span<const regola> regole, std::string_view k,
              std::span<const regola> altrove) {
  bool presa = false;
  const std::uint64_t impronta_k = impronta(k);
  if (!puo_essere_chiave(impronta_k)) regole = {};
  for (const regola& r : regole) {
    if (!r.vale(k, impronta_k)) continue;
    presa = true;
    if (r.legge == nullptr || r.legge(c)) c.leggi_riga(parola(r.k));
    if (const esito e = r.applica(c, k); e != esito::avanti) return e;
  }
  if (!presa) avvisa_se_ignorata(c, k, impronta_k, altrove);
  return esito::avanti;
}

// A field holding a hyphen is not tested: the next field is read in its place.
void avvisa_trattino(compilazione& c, const campo_sorgente& campo) {
  if (e_numero(campo.testo)) return;
  c.nuova_chiave(campo);
  if (c.avvisa_ancora(genere::trattino))
    c.avvisa(genere::trattino, testo_di(genere::trattino, {corto(campo.testo)}));
}

// The keyword fields of the walk, each applied with the rules of its part, up to the
// end of the text, the end of the header (when fine_intestazione) or a stop.
esito parte(compilazione& c, std::span<const regola> regole, std::span<const regola> altrove,
            bool fine_intestazione) {
  cammino_righe& w = *c.cammino;
  while (const auto k = w.prossima()) {
    if (k->tipo == voce::trattino) {
      avvisa_trattino(c, k->campo);
      continue;
    }
    if (k->tipo == voce::fine_dopo_trattino) return c.generale_a({k->campo.riga, k->campo.colonna});
    if (k->tipo != voce::chiave) return esito::avanti;
    c.nuova_chiave(k->campo);
    if (const esito e = applica(c, regole, k->campo.testo, altrove); e != esito::avanti) return e;
    if (fine_intestazione && w.attuale() != parte::intestazione) return esito::avanti;
  }
  return esito::avanti;
}

// Skips to the field after "[generale]"; false when no field holds it.
bool cerca_generale(cammino_righe& w) {
  while (const auto k = w.prossima()) {
    if (k->tipo == voce::generale) return true;
    if (k->tipo != voce::prima_di_generale) return false;
  }
  return false;
}

// Line description: search, header, body and the tails that follow it.
bool compila_linea(compilazione& c, std::span<const std::uint8_t> testo) {
  cammino_righe w(testo, true);
  c.cammino = &w;
  c.testo = fonte::linea;
  if (!cerca_generale(w)) {
    c.chiave = {};
    c.ferma(102);
    return false;
  }
  const bool intestazione_letta =
      parte(c, regole_intestazione, regole_corpo, true) == esito::avanti;
  c.crea_tabelle();
  if (!intestazione_letta) return false;

  progressive_ordina(c.m);
  c.m.montagna_inizio.clear();
  c.m.montagna_fine.clear();
  c.slot_cartello = primo_slot_cartelli;
  c.cursore_pendenza = 0;
  c.metro_piano = 2;
  if (c.m.flag_tracciato != 0 && inizio_piano(c) == esito::ferma) return false;

  posa_montagne montagne(c.m);
  c.montagne = &montagne;
  const esito corpo = parte(c, regole_corpo, regole_intestazione, false);
  montagne.concludi();
  c.montagne = nullptr;
  if (corpo == esito::ferma) return false;
  c.chiave = {};
  if (coda_pendenza(c) == esito::ferma) return false;
  return c.m.flag_tracciato == 0 || completa_piano(c) != esito::ferma;
}

bool compila_treno(compilazione& c, std::span<const std::uint8_t> testo) {
  cammino_righe w(testo, false);
  c.cammino = &w;
  c.testo = fonte::treno;
  c.riga_ignorata = 0;
  c.cursore_velocita = 0;
  c.cursore_aderenza = 0;
  c.numero_stazione = 1;
  if (cerca_generale(w) && parte(c, regole_treno, {}, false) == esito::ferma) return false;
  c.chiave = {};
  return coda_velocita(c) != esito::ferma && coda_aderenza(c) != esito::ferma;
}

void verifica_progressive(modello& m) {
  for (int slot : {slot_progressiva_tre, slot_progressiva_due, slot_progressiva_uno}) {
    if (m.punti[slot].valore_1 % 50 != 0 || m.punti[slot].valore_2 % 50 != 0) {
      m.registra(2, fonte::linea);
      return;
    }
  }
}

}  // namespace

void memorizza_dati(modello& m, const sorgenti& testi, coordinate_piano coordinate) {
  m.punti[slot_percorso].nome = m.nome_percorso;
  m.punti[slot_ripetizione].nome = m.numero_treno;
  if (!testi.linea) {
    m.registra(101, fonte::linea);
    return;
  }
  compilazione c(m, coordinate);
  if (!compila_linea(c, *testi.linea)) return;
  c.testo = fonte::treno;
  c.chiave = {};
  if (!testi.treno) {
    c.generale();
    return;
  }
  if (!compila_treno(c, *testi.treno)) return;
  verifica_progressive(m);
}

}  // namespace percorso
