#include "checker/verifica.h"

#include <algorithm>

#include "checker/stato.h"
#include "model/numeri.h"

namespace percorso {
namespace controllo {
namespace {

// A text of a million faults must not hold a million messages: past this many
// findings of one name the rest are dropped, and the last one kept says so.
constexpr std::int64_t massimo_per_nome = 100;

// Quotes in messages stop here: a name may be a whole text long.
constexpr std::size_t massima_citazione = 40;

std::string_view nome_testo(fonte f) {
  return f == fonte::linea ? "descrizione della linea" : "descrizione del treno";
}

// Where the compiler stopped reading a text, the rest of it was checked only.
void note_di_arresto(verifica_in_corso& v, const sorgenti& testi,
                     std::span<const rilievo> rilievi) {
  for (const rilievo& r : rilievi) {
    if ((r.fonte != fonte::linea && r.fonte != fonte::treno) || r.riga < 1) continue;
    v.testo = r.fonte;
    const std::string codice = "errore " + std::to_string(r.codice);
    if (r.codice == 15) {
      v.segnala(livello::avviso, nome::resto_non_compilato, r.riga, r.colonna, nullptr,
                "il compilatore smette di leggere questo testo qui (" + codice +
                    "): il resto non e' compilato, ma e' verificato qui sotto");
      continue;
    }
    v.segnala(livello::avviso, nome::resto_non_compilato, r.riga, r.colonna, nullptr,
              "la compilazione si ferma qui (" + codice +
                  "): il resto non e' compilato, ma e' verificato qui sotto");
    if (r.fonte == fonte::linea && testi.treno) {
      v.testo = fonte::treno;
      v.segnala(livello::avviso, nome::resto_non_compilato, 1, 1, nullptr,
                "questo testo non e' compilato: la compilazione si e' fermata alla riga " +
                    std::to_string(r.riga) + " della descrizione della linea (" + codice + ")");
    }
  }
}

}  // namespace

bool verifica_in_corso::accetta(std::string_view nome) const {
  const auto n = per_nome.find(nome);
  return n == per_nome.end() || n->second < massimo_per_nome;
}

void verifica_in_corso::segnala(livello grado, std::string_view nome, std::int32_t riga,
                                std::int32_t colonna, const campo_formato* campo,
                                std::string messaggio, std::optional<std::int32_t> codice) {
  const std::int64_t n = ++per_nome[nome];
  if (n > massimo_per_nome) return;
  if (n == massimo_per_nome)
    messaggio.append(" (da qui in poi [").append(nome).append("] non e' piu' segnalato)");
  trovate.push_back({grado, nome, testo, riga, colonna, campo, std::move(messaggio), codice});
}

void verifica_in_corso::al_campo(const riga_letta& r, std::size_t i, livello grado,
                                 std::string_view nome, std::string messaggio,
                                 std::optional<std::int32_t> codice) {
  segnala(grado, nome, r.campi[i].riga, r.campi[i].colonna, r.formato(i), std::move(messaggio),
          codice);
}

std::optional<std::int64_t> verifica_in_corso::ultima_cella() const {
  if (!lunghezza) return std::nullopt;
  return static_cast<std::int64_t>(arrotonda(static_cast<double>(*lunghezza + 7000) / 50.0));
}

std::string corto(std::string_view testo) {
  if (testo.size() <= massima_citazione) return std::string(testo);
  return std::string(testo.substr(0, massima_citazione)).append("...");
}

std::string citazione(std::string_view testo) {
  std::string s(1, '\'');
  return s.append(corto(testo)).append(1, '\'');
}

std::string riga_di(const verifica_in_corso& v, fonte testo, std::int32_t riga) {
  std::string s = "riga " + std::to_string(riga);
  if (testo != v.testo) s.append(" della ").append(nome_testo(testo));
  return s;
}

}  // namespace controllo

std::vector<constatazione> verifica(const sorgenti& testi, std::span<const rilievo> rilievi,
                                    const chilometrica& km) {
  controllo::verifica_in_corso v;
  v.km = km;
  if (testi.linea) controllo::leggi_linea(v, *testi.linea);
  if (testi.treno) controllo::leggi_treno(v, *testi.treno);
  controllo::note_di_arresto(v, testi, rilievi);
  std::stable_sort(
      v.trovate.begin(), v.trovate.end(), [](const constatazione& a, const constatazione& b) {
        return std::tie(a.testo, a.riga, a.colonna) < std::tie(b.testo, b.riga, b.colonna);
      });
  return std::move(v.trovate);
}

std::span<const std::string_view> nomi_constatazioni() {
  return controllo::nome::tutti;
}

}  // namespace percorso
