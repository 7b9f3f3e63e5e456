#include "documents/ordine_rallentamenti.h"

#include "documents/dal_modello.h"
#include "documents/foglio.h"
#include "format/chilometri.h"
#include "format/nomi_file.h"
#include "writers/testi.h"

namespace percorso {
namespace {

// The fixed lines come from the embedded order (0-based lines).
constexpr std::size_t titolo = 0, intestazione_tabella = 7, riga_vuota = 12, fondo_tabella = 38;
// The table shows at least this many rows below its first, empty one.
constexpr std::size_t righe_minime = 25;

// "A - B" for the stations around the position, or the one whose area holds it.
std::string fra_le_stazioni(const modello& m, std::int64_t x) {
  const punto* prima = nullptr;
  const punto* dopo = nullptr;
  for (const punto* s : stazioni_lette(m)) {
    if (s->valore_1 <= x && x < s->valore_2) return s->nome;
    if (s->valore_2 <= x) prima = s;
    if (s->valore_1 > x && !dopo) dopo = s;
  }
  if (prima && dopo) return prima->nome + " - " + dopo->nome;
  return prima ? prima->nome : dopo ? dopo->nome : "";
}

std::string linea(const modello& m) {
  const auto stazioni = stazioni_lette(m);
  if (stazioni.empty()) return "";
  if (stazioni.size() == 1) return stazioni.front()->nome;
  return stazioni.front()->nome + " - " + stazioni.back()->nome;
}

void riga_rallentamento(foglio& f, const modello& m, std::size_t n, const rallentamento_letto& r) {
  const std::string celle[] = {
      f.numero(static_cast<std::int64_t>(n), 3, 1),
      f.testo(" ", fra_le_stazioni(m, r.inizio), 28),
      f.numero(cippo(chilometrica(m.punti).al_metro(r.inizio)), 12, 4),
      f.numero(r.velocita, 10, 3),
      f.numero(r.lunghezza, 9, 3),
      "    ----    ",
  };
  f.riga_tabella(celle);
}

}  // namespace

documento ordine_rallentamenti(const modello& m) {
  const auto fisse = righe_rallentamenti();
  foglio f(nome_rallentamenti(m));
  f.righe(fisse.subspan(titolo, 4));
  f.riga("  Linea  " + linea(m));
  f.riga("");
  f.riga("  Si ordina al macchinista del treno  " + m.numero_treno +
         " di effettuare i seguenti rallentamenti");
  f.righe(fisse.subspan(intestazione_tabella, riga_vuota + 1 - intestazione_tabella));
  const auto rallentamenti = rallentamenti_letti(m);
  for (std::size_t n = 0; n < rallentamenti.size(); ++n)
    riga_rallentamento(f, m, n + 1, rallentamenti[n]);
  for (std::size_t n = rallentamenti.size(); n < righe_minime; ++n)
    f.righe(fisse.subspan(riga_vuota, 1));
  f.righe(fisse.subspan(fondo_tabella));
  return std::move(f).fine();
}

}  // namespace percorso
