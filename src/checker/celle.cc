// Two features in one cell: each row claims the cells its placement takes, by the
// placement's own rule from a position to a cell, and a claimed cell keeps the
// origin of the row that holds it, as the compiler records origins.
#include "checker/stato.h"
#include "model/numeri.h"

namespace percorso::controllo {
namespace {

struct descrizione {
  std::string_view da;    // "dal segnale"
  std::string_view di;    // "del segnale"
  std::string_view cosa;  // "segnale"
};

descrizione descrivi(const cella_vista& c) {
  switch (c.quale) {
    case parte_elemento::avviso:
      return {"dall'avviso di un rallentamento", "dell'avviso di un rallentamento",
              "avviso di un rallentamento"};
    case parte_elemento::inizio:
      return {"dall'inizio di un rallentamento", "dell'inizio di un rallentamento",
              "inizio di un rallentamento"};
    case parte_elemento::fine:
      return {"dalla fine di un rallentamento", "della fine di un rallentamento",
              "fine di un rallentamento"};
    case parte_elemento::preavviso:
      return {"dal preavviso di un rallentamento", "del preavviso di un rallentamento",
              "preavviso di un rallentamento"};
    case parte_elemento::fermata:
      return {"dalla stazione", "della stazione", "stazione"};
    case parte_elemento::unica:
      break;
  }
  switch (c.da->elemento) {
    case elemento::cartello:
      return {"dal cartello", "del cartello", "cartello"};
    case elemento::indicatori:
      return {"dagli indicatori di velocita'", "degli indicatori di velocita'",
              "indicatori di velocita'"};
    case elemento::segnale:
      return {"dal segnale", "del segnale", "segnale"};
    default:
      return {"dal punto di velocita'", "del punto di velocita'", "punto di velocita'"};
  }
}

// " CORNELLA" for a station, " 'TESTO'" for a board.
std::string nome_di(const cella_vista& c) {
  std::string s;
  if (c.quale == parte_elemento::fermata) s.append(" ").append(corto(c.nome));
  if (c.da->elemento == elemento::cartello) s.append(" ").append(citazione(c.nome));
  return s;
}

// "dalla stazione CORNELLA, riga 21"
std::string chi(const verifica_in_corso& v, const cella_vista& c, bool da) {
  const descrizione d = descrivi(c);
  return std::string(da ? d.da : d.di)
      .append(nome_di(c))
      .append(", ")
      .append(riga_di(v, c.da->fonte, c.da->riga));
}

// The row holding the cell, as a place the finding speaks of.
void correlato(diagnosi* d, const cella_vista& c) {
  if (d != nullptr)
    d->correlati.push_back(
        {c.da->fonte, c.da->riga, std::string(descrivi(c).cosa) + nome_di(c), {}});
}

// The origin of a row, with the values the compiler gives it.
origine origine_di(const verifica_in_corso& v, const riga_letta& r) {
  const auto p = static_cast<std::int32_t>(r.valore(0));
  origine o{elemento::segnale, v.testo, r.riga, r.colonna, p, p, 0};
  switch (r.k->id) {
    case chiave::cartello:
      o.elemento = elemento::cartello;
      o.valore = primo_slot_cartelli - v.cartelli + 1;  // the board is already counted
      break;
    case chiave::indicatori:
      o.elemento = elemento::indicatori;
      break;
    case chiave::abbattimento:
      o.elemento = elemento::abbattimento;
      o.valore = static_cast<std::int32_t>(r.valore(1));
      break;
    case chiave::rallentamento:
      o.elemento = elemento::rallentamento;
      o.fine = satura_32(r.valore(0) + r.valore(2));
      o.valore = static_cast<std::int32_t>(r.valore(1));
      break;
    case chiave::stazione:
      o.elemento = elemento::stazione;
      o.valore = v.stazioni;  // the station is already counted
      break;
    default:
      break;
  }
  return o;
}

cella_vista* cella(verifica_in_corso& v, std::int64_t i) {
  if (i < 0 || i >= static_cast<std::int64_t>(v.celle.size())) return nullptr;
  return &v.celle[static_cast<std::size_t>(i)];
}

bool occupata(const cella_vista* c) {
  return c != nullptr && c->da.has_value();
}

// Reports the holder of the cell a row claims, when there is one, with the compiler's code.
bool gia_occupata(verifica_in_corso& v, const riga_letta& r, const presa& p) {
  const cella_vista* c = cella(v, p.cella);
  if (!occupata(c)) return false;
  correlato(
      v.al_campo(r, 0, genere::cella_occupata,
                 "la cella " + std::to_string(p.cella) + " e' gia' occupata " + chi(v, *c, true),
                 p.codice),
      *c);
  return true;
}

struct occupazione {
  origine da;
  std::string_view nome;
};

// A feature in the first cell is told at its row: the compiler finds it only after
// the last row, and stops without a place.
void prendi(verifica_in_corso& v, const riga_letta& r, const occupazione& o, std::int64_t i,
            parte_elemento quale = parte_elemento::unica) {
  cella_vista* c = cella(v, i);
  if (c == nullptr) return;
  *c = {o.da, quale, o.nome};
  if (i == cella_di_controllo)
    v.al_campo(
        r, 0, genere::cella_di_controllo,
        testo_di(genere::cella_di_controllo, {std::string(descrivi(*c).da).append(nome_di(*c))}),
        1250);
}

void singola(verifica_in_corso& v, const riga_letta& r, const occupazione& o, std::int64_t p) {
  const presa presa = presa_di(o.da.elemento, p);
  if (!gia_occupata(v, r, presa)) prendi(v, r, o, presa.cella);
}

void rallentamento(verifica_in_corso& v, const riga_letta& r, const occupazione& o) {
  const prese_rallentamento p = prese_di_rallentamento(r.valore(0), r.valore(2));
  if ((p.avviso && gia_occupata(v, r, *p.avviso)) || gia_occupata(v, r, p.inizio) ||
      gia_occupata(v, r, p.fine))
    return;
  prendi(v, r, o, p.fine.cella, parte_elemento::fine);
  prendi(v, r, o, p.inizio.cella, parte_elemento::inizio);
  if (!p.avviso) return;
  prendi(v, r, o, p.avviso->cella, parte_elemento::avviso);
  if (!r.buono(4) || r.valore(4) == 0) return;
  for (std::int64_t n = 0; n < celle_preavviso; ++n) {
    if (gia_occupata(v, r, {p.preavviso - n, codice_preavviso})) return;
  }
  for (std::int64_t n = 0; n < celle_preavviso; ++n)
    prendi(v, r, o, p.preavviso - n, parte_elemento::preavviso);
}

// A stop cell is written whatever the cell held: what was there is lost without a word.
void fermata(verifica_in_corso& v, const riga_letta& r, const occupazione& o) {
  if (!r.buono(1) || !r.buono(2) || !stazione_con_celle(r.valore(1))) return;
  const std::int64_t t = cella_fermata(area_della_riga(r));
  if (!fermata_possibile(t)) return;
  if (const cella_vista* c = cella(v, t); occupata(c))
    correlato(
        v.al_campo(r, 0, genere::cella_occupata,
                   "la fermata della stazione (cella " + std::to_string(t) + ") prende il posto " +
                       chi(v, *c, false) + ": il compilatore sovrascrive la cella senza dirlo"),
        *c);
  prendi(v, r, o, t, parte_elemento::fermata);
}

}  // namespace

void occupa_celle(verifica_in_corso& v, const riga_letta& r) {
  if (v.celle.empty() || !r.buono(0)) return;
  const std::int64_t p = r.valore(0);
  occupazione o{origine_di(v, r), {}};
  switch (r.k->id) {
    case chiave::cartello:
      o.nome = r.campi[1].testo;
      return singola(v, r, o, p);
    case chiave::indicatori:
    case chiave::segnale:
    case chiave::abbattimento:
      return singola(v, r, o, p);
    case chiave::rallentamento:
      return rallentamento(v, r, o);
    case chiave::stazione:
      o.nome = r.campi[16].testo;
      return fermata(v, r, o);
    default:
      return;
  }
}

}  // namespace percorso::controllo
