#include "lsp/diagnostiche.h"

#include <string_view>

#include "app/controllo.h"
#include "compiler/campo_alla_colonna.h"
#include "diagnostics/righe_sorgenti.h"
#include "lsp/codifica.h"

namespace percorso::lsp {
namespace {

// Names the texts carry inside the messages, so each message is known by its text.
const nomi_sorgenti nomi_interni{"L", "T"};

fonte testo_di(const messaggio& m, const sorgenti& testi) {
  if (m.riga > 0 && m.file == nomi_interni.linea && testi.linea) return fonte::linea;
  if (m.riga > 0 && m.file == nomi_interni.treno && testi.treno) return fonte::treno;
  return fonte::nessuna;
}

// The message without "FILE:LINE:COL: errore CODE: " or "... avviso [NAME]: ".
std::string_view corpo_del_messaggio(std::string_view t) {
  for (const std::string_view etichetta : {": errore ", ": avviso "}) {
    const auto i = t.find(etichetta);
    if (i == std::string_view::npos) continue;
    const auto fine = t.find(": ", i + etichetta.size());
    if (fine != std::string_view::npos) return t.substr(fine + 2);
  }
  return t;
}

// What the message quotes after "forse '": the suggested keyword.
std::optional<std::string> parola_suggerita(std::string_view t) {
  constexpr std::string_view forse = "forse '";
  const auto i = t.find(forse);
  if (i == std::string_view::npos) return std::nullopt;
  const auto fine = t.find('\'', i + forse.size());
  if (fine == std::string_view::npos) return std::nullopt;
  return std::string(t.substr(i + forse.size(), fine - i - forse.size()));
}

// Every "riga N" of the message other than the finding's own line, in the same text.
std::vector<tratto> righe_nominate(std::string_view t, fonte testo, std::int32_t propria,
                                   const righe_sorgenti& righe) {
  std::vector<tratto> r;
  constexpr std::string_view parola = "riga ";
  for (auto i = t.find(parola); i != std::string_view::npos; i = t.find(parola, i + 1)) {
    std::int32_t n = 0;
    std::size_t j = i + parola.size();
    for (; j < t.size() && t[j] >= '0' && t[j] <= '9' && n < 100000000; ++j)
      n = n * 10 + (t[j] - '0');
    if (j == i + parola.size() || n == propria) continue;
    const auto lunga = static_cast<std::int32_t>(righe.riga(testo, n).size());
    if (lunga > 0) r.push_back({testo, n, 1, lunga + 1});
  }
  return r;
}

diagnostica da_messaggio(const messaggio& m, const sorgenti& testi, const righe_sorgenti& righe) {
  diagnostica d;
  d.errore = !m.avviso;
  d.nome = !m.nome.empty() ? m.nome : m.codice ? std::to_string(*m.codice) : std::string();
  const std::string_view corpo = corpo_del_messaggio(m.testo);
  d.messaggio = a_utf8(corpo);
  d.parola = parola_suggerita(corpo);
  d.virgola_decimale = corpo.find("virgola decimale") != std::string_view::npos;
  const fonte f = testo_di(m, testi);
  if (f == fonte::nessuna) {
    d.dove = {testi.linea ? fonte::linea : fonte::treno, 1, 1, 1};
    return d;
  }
  const std::string_view riga = righe.riga(f, m.riga);
  const std::int32_t colonna = m.colonna > 0 ? m.colonna : 1;
  d.dove = {f, m.riga, colonna, fine_campo(f, riga, colonna)};
  d.correlati = righe_nominate(corpo, f, m.riga, righe);
  return d;
}

bool fine_numero(char c) {
  return c == ' ' || c == ',';
}

}  // namespace

std::int32_t fine_campo(fonte testo, std::string_view riga, std::int32_t colonna) {
  const auto inizio = static_cast<std::size_t>(colonna - 1);
  if (inizio >= riga.size()) return colonna;
  const auto primo = riga.find_first_not_of(' ');
  const campo_formato* f = campo_alla_colonna(testo, riga, colonna);
  const bool fino_alla_virgola = inizio <= primo || (f != nullptr && f->tipo == larghezza::testo);
  std::size_t fine = inizio;
  if (fino_alla_virgola) {
    fine = riga.find(',', inizio);
    if (fine == std::string_view::npos) fine = riga.size();
    while (fine > inizio + 1 && riga[fine - 1] == ' ') --fine;
  } else {
    while (fine < riga.size() && !fine_numero(riga[fine])) ++fine;
  }
  return static_cast<std::int32_t>(std::max(fine, inizio + 1)) + 1;
}

std::vector<diagnostica> diagnostiche_di(const sorgenti& testi) {
  const esito_controllo c = controlla(testi, nomi_interni, {});
  const righe_sorgenti righe(&testi);
  std::vector<diagnostica> d;
  d.reserve(c.messaggi.size());
  for (const messaggio& m : c.messaggi) d.push_back(da_messaggio(m, testi, righe));
  return d;
}

}  // namespace percorso::lsp
