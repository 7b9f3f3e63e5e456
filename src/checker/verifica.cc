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

std::string_view nome_testo(fonte f) {
  return f == fonte::linea ? "descrizione della linea" : "descrizione del treno";
}

// Where the compiler stopped reading a text, the rest of it was checked only.
void note_di_arresto(verifica_in_corso& v, const sorgenti& testi,
                     std::span<const rilievo> rilievi) {
  for (const rilievo& r : rilievi) {
    if ((r.fonte != fonte::linea && r.fonte != fonte::treno) || r.riga < 1 ||
        trovato_sulle_celle(r))
      continue;
    v.testo = r.fonte;
    const std::string codice = "errore " + std::to_string(r.codice);
    if (r.codice == 15) {
      v.segnala(genere::resto_non_compilato, r.riga, r.colonna, nullptr,
                "il compilatore smette di leggere questo testo qui (" + codice +
                    "): il resto non e' compilato, ma e' verificato qui sotto");
      continue;
    }
    v.segnala(genere::resto_non_compilato, r.riga, r.colonna, nullptr,
              "la compilazione si ferma qui (" + codice +
                  "): il resto non e' compilato, ma e' verificato qui sotto");
    if (r.fonte == fonte::linea && testi.treno) {
      v.testo = fonte::treno;
      v.segnala(genere::resto_non_compilato, 1, 1, nullptr,
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

diagnosi* verifica_in_corso::segnala(const genere_constatazione& g, std::int32_t riga,
                                     std::int32_t colonna, const campo_formato* campo,
                                     std::string messaggio, std::optional<std::int32_t> codice,
                                     bool attenuato) {
  const std::int64_t n = ++per_nome[g.nome];
  if (n > massimo_per_nome) return nullptr;
  if (n == massimo_per_nome)
    messaggio.append(" (da qui in poi [").append(g.nome).append("] non e' piu' segnalato)");
  diagnosi d;
  d.grado = grado_di(g, attenuato);
  d.nome = g.nome;
  d.codice = codice ? codice : g.codice;
  d.fonte = testo;
  d.riga = riga;
  d.colonna = colonna;
  d.campo = campo != nullptr ? campo->nome : "";
  d.unita = campo != nullptr ? campo->unita : "";
  d.messaggio = std::move(messaggio);
  return &trovate.emplace_back(std::move(d));
}

void verifica_in_corso::al_byte(const genere_constatazione& g, std::int32_t riga,
                                std::int32_t colonna, const campo_formato* campo,
                                std::string messaggio) {
  if (diagnosi* d = segnala(g, riga, colonna, campo, std::move(messaggio)))
    d->colonna_fine = colonna + 1;
}

diagnosi* verifica_in_corso::al_campo(const riga_letta& r, std::size_t i,
                                      const genere_constatazione& g, std::string messaggio,
                                      std::optional<std::int32_t> codice, bool attenuato) {
  const campo_letto& c = r.campi[i];
  diagnosi* d =
      segnala(g, c.riga, c.colonna, r.formato(i), std::move(messaggio), codice, attenuato);
  if (d != nullptr) d->colonna_fine = fine_del_campo(c.colonna, c.testo.size());
  return d;
}

std::optional<std::int64_t> verifica_in_corso::ultima_cella() const {
  if (!lunghezza) return std::nullopt;
  return ultima_cella_di(*lunghezza);
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

std::vector<diagnosi> verifica(const sorgenti& testi, std::span<const rilievo> rilievi,
                               const chilometrica& km) {
  controllo::verifica_in_corso v;
  v.km = km;
  if (testi.linea) controllo::leggi_linea(v, *testi.linea);
  if (testi.treno) controllo::leggi_treno(v, *testi.treno);
  controllo::note_di_arresto(v, testi, rilievi);
  std::stable_sort(v.trovate.begin(), v.trovate.end(), [](const diagnosi& a, const diagnosi& b) {
    return std::tie(a.fonte, a.riga, a.colonna) < std::tie(b.fonte, b.riga, b.colonna);
  });
  return std::move(v.trovate);
}

}  // namespace percorso
