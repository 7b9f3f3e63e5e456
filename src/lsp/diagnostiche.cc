#include "lsp/diagnostiche.h"

#include <string_view>

#include "app/controllo.h"
#include "diagnostics/righe_sorgenti.h"
#include "lsp/codifica.h"
#include "sintassi/constatazioni.h"

namespace percorso::lsp {
namespace {

// The editor names the texts itself: the messages' file names are not shown.
const nomi_sorgenti nomi_interni{"L", "T"};

fonte testo_di(const messaggio& m, const sorgenti& testi) {
  if (m.riga > 0 && m.fonte == fonte::linea && testi.linea) return fonte::linea;
  if (m.riga > 0 && m.fonte == fonte::treno && testi.treno) return fonte::treno;
  return fonte::nessuna;
}

// A whole line of a present text as a place; nothing for a line the text lacks.
std::optional<tratto> riga_intera(fonte testo, std::int32_t n, const righe_sorgenti& righe) {
  const auto lunga = static_cast<std::int32_t>(righe.riga(testo, n).size());
  if (lunga == 0) return std::nullopt;
  return tratto{testo, n, 1, lunga + 1};
}

// The places the record names. A compiler's finding carries none: for it, every
// "riga N" of its text other than its own line, in the same text.
std::vector<correlato> correlati_di(const messaggio& m, std::string_view corpo, fonte testo,
                                    const righe_sorgenti& righe) {
  std::vector<correlato> r;
  for (const luogo_correlato& l : m.correlati) {
    if (const auto t = riga_intera(l.fonte, l.riga, righe)) r.push_back({*t, a_utf8(l.cosa)});
  }
  if (!m.correlati.empty()) return r;
  constexpr std::string_view parola = "riga ";
  for (auto i = corpo.find(parola); i != std::string_view::npos; i = corpo.find(parola, i + 1)) {
    std::int32_t n = 0;
    std::size_t j = i + parola.size();
    for (; j < corpo.size() && corpo[j] >= '0' && corpo[j] <= '9' && n < 100000000; ++j)
      n = n * 10 + (corpo[j] - '0');
    if (j == i + parola.size() || n == m.riga) continue;
    if (const auto t = riga_intera(testo, n, righe)) r.push_back({*t, {}});
  }
  return r;
}

// The record's field, from its first byte to the one after its last; at least one
// byte where the line has one.
std::int32_t fine_del_campo(const messaggio& m, std::int32_t colonna, std::string_view riga) {
  if (m.colonna_fine > colonna) return m.colonna_fine;
  return static_cast<std::size_t>(colonna) <= riga.size() ? colonna + 1 : colonna;
}

diagnostica da_messaggio(const messaggio& m, const sorgenti& testi, const righe_sorgenti& righe) {
  diagnostica d;
  d.errore = !m.avviso;
  d.nome = !m.nome.empty() ? m.nome : m.codice ? std::to_string(*m.codice) : std::string();
  const std::string_view corpo = m.corpo;
  d.messaggio = corpo;
  if (!m.sostituzione.empty()) d.parola = a_utf8(m.sostituzione);
  d.virgola_decimale = d.nome == genere::numeri_in_piu.nome;
  const fonte f = testo_di(m, testi);
  if (f == fonte::nessuna) {
    d.dove = {testi.linea ? fonte::linea : fonte::treno, 1, 1, 1};
    return d;
  }
  const std::int32_t colonna = m.colonna > 0 ? m.colonna : 1;
  d.dove = {f, m.riga, colonna, fine_del_campo(m, colonna, righe.riga(f, m.riga))};
  d.correlati = correlati_di(m, corpo, f, righe);
  return d;
}

}  // namespace

std::vector<diagnostica> diagnostiche_di(const sorgenti& testi) {
  const esito_controllo c = controlla(testi, nomi_interni, {});
  const righe_sorgenti righe(&testi);
  std::vector<diagnostica> d;
  d.reserve(c.messaggi.size());
  for (const messaggio& m : c.messaggi) d.push_back(da_messaggio(m, testi, righe));
  return d;
}

}  // namespace percorso::lsp
