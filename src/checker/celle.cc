// Two features in one cell: each row claims the cells its placement takes, by the
// placement's own rule from a position to a cell, and a claimed cell names its holder.
#include "checker/stato.h"
#include "model/numeri.h"

namespace percorso::controllo {
namespace {

struct descrizione {
  std::string_view da;  // "dal segnale"
  std::string_view di;  // "del segnale"
};

descrizione descrivi(occupante o) {
  switch (o) {
    case occupante::cartello:
      return {"dal cartello", "del cartello"};
    case occupante::indicatori:
      return {"dagli indicatori di velocita'", "degli indicatori di velocita'"};
    case occupante::segnale:
      return {"dal segnale", "del segnale"};
    case occupante::avviso_rallentamento:
      return {"dall'avviso di un rallentamento", "dell'avviso di un rallentamento"};
    case occupante::inizio_rallentamento:
      return {"dall'inizio di un rallentamento", "dell'inizio di un rallentamento"};
    case occupante::fine_rallentamento:
      return {"dalla fine di un rallentamento", "della fine di un rallentamento"};
    case occupante::preavviso:
      return {"dal preavviso di un rallentamento", "del preavviso di un rallentamento"};
    case occupante::fermata:
      return {"dalla stazione", "della stazione"};
    default:
      return {"dal punto di velocita'", "del punto di velocita'"};
  }
}

// "dalla stazione CORNELLA, riga 21"
std::string chi(const verifica_in_corso& v, const cella_vista& c, bool da) {
  const descrizione d = descrivi(c.chi);
  std::string s(da ? d.da : d.di);
  if (c.chi == occupante::fermata) s.append(" ").append(corto(c.nome));
  if (c.chi == occupante::cartello) s.append(" ").append(citazione(c.nome));
  return s.append(", ").append(riga_di(v, c.testo, c.riga));
}

cella_vista* cella(verifica_in_corso& v, std::int64_t i) {
  if (i < 0 || i >= static_cast<std::int64_t>(v.celle.size())) return nullptr;
  return &v.celle[static_cast<std::size_t>(i)];
}

bool occupata(const cella_vista* c) {
  return c != nullptr && c->chi != occupante::nessuno;
}

// Reports the holder of cell i, when there is one, with the compiler's code.
bool gia_occupata(verifica_in_corso& v, const riga_letta& r, std::int64_t i, std::int32_t codice) {
  const cella_vista* c = cella(v, i);
  if (!occupata(c)) return false;
  v.al_campo(r, 0, livello::errore, nome::cella_occupata,
             "la cella " + std::to_string(i) + " e' gia' occupata " + chi(v, *c, true), codice);
  return true;
}

void prendi(verifica_in_corso& v, const riga_letta& r, std::int64_t i, occupante o,
            std::string_view nome = {}) {
  if (cella_vista* c = cella(v, i)) *c = {o, v.testo, r.riga, nome};
}

void singola(verifica_in_corso& v, const riga_letta& r, std::int64_t i, occupante o,
             std::int32_t codice, std::string_view nome = {}) {
  if (!gia_occupata(v, r, i, codice)) prendi(v, r, i, o, nome);
}

void rallentamento(verifica_in_corso& v, const riga_letta& r) {
  const std::int64_t x = r.valore(0);
  const bool avviso = x > 1500;
  const std::int64_t s = cella_di(x, 1), e = cella_di(x + r.valore(2), 1);
  const std::int64_t w = cella_di(x - 1200, 1), k = cella_di(x - 1200, 0);
  if ((avviso && gia_occupata(v, r, w, 17)) || gia_occupata(v, r, s, 18) ||
      gia_occupata(v, r, e, 19))
    return;
  prendi(v, r, e, occupante::fine_rallentamento);
  prendi(v, r, s, occupante::inizio_rallentamento);
  if (!avviso) return;
  prendi(v, r, w, occupante::avviso_rallentamento);
  if (!r.buono(4) || r.valore(4) == 0) return;
  for (std::int64_t n = 0; n < 4; ++n) {
    if (gia_occupata(v, r, k - n, 20)) return;
  }
  for (std::int64_t n = 0; n < 4; ++n) prendi(v, r, k - n, occupante::preavviso);
}

// A stop cell is written whatever the cell held: what was there is lost without a word.
void fermata(verifica_in_corso& v, const riga_letta& r) {
  if (!r.buono(1) || !r.buono(2) || r.valore(1) >= 25) return;
  const std::int64_t t = area_stazione(r).fine / 50 - 1;
  if (t <= 1) return;
  const std::string_view nome = r.campi[16].testo;
  if (const cella_vista* c = cella(v, t); occupata(c))
    v.al_campo(r, 0, livello::errore, nome::cella_occupata,
               "la fermata della stazione (cella " + std::to_string(t) + ") prende il posto " +
                   chi(v, *c, false) + ": il compilatore sovrascrive la cella senza dirlo");
  prendi(v, r, t, occupante::fermata, nome);
}

}  // namespace

void occupa_celle(verifica_in_corso& v, const riga_letta& r) {
  if (v.celle.empty() || !r.buono(0)) return;
  const std::int64_t p = r.valore(0);
  switch (r.k->id) {
    case chiave::cartello:
      return singola(v, r, cella_di(p, 1), occupante::cartello, 6, r.campi[1].testo);
    case chiave::indicatori:
      return singola(v, r, cella_di(p, 1), occupante::indicatori, 21);
    case chiave::segnale:
      return singola(v, r, cella_di(p, 1), occupante::segnale, 16);
    case chiave::abbattimento:
      return singola(v, r, cella_di(p, 0), occupante::punto_velocita, 7);
    case chiave::rallentamento:
      return rallentamento(v, r);
    case chiave::stazione:
      return fermata(v, r);
    default:
      return;
  }
}

}  // namespace percorso::controllo
