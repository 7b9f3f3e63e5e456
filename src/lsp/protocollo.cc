#include "lsp/protocollo.h"

#include "lsp/codifica.h"

namespace percorso::lsp {
namespace {

json posizione(std::int32_t riga, std::int32_t colonna) {
  return {{"line", riga > 0 ? riga - 1 : 0}, {"character", carattere_di_colonna(colonna)}};
}

int tipo_simbolo(simbolo::tipo t) {
  // SymbolKind: Namespace, Constructor-like marks for stations, Event, Operator.
  switch (t) {
    case simbolo::tipo::sezione:
      return 3;
    case simbolo::tipo::stazione:
      return 18;
    case simbolo::tipo::segnale:
      return 24;
    default:
      return 25;
  }
}

json simbolo_json(const simbolo& s) {
  json j = {{"name", s.nome.empty() ? std::string("?") : s.nome},
            {"kind", tipo_simbolo(s.genere)},
            {"range", intervallo(s.riga, 1, s.lunghezza + 1)},
            {"selectionRange", intervallo(s.riga, 1, s.lunghezza + 1)}};
  if (!s.dettaglio.empty()) j["detail"] = s.dettaglio;
  return j;
}

}  // namespace

json intervallo(std::int32_t riga, std::int32_t inizio, std::int32_t fine) {
  return {{"start", posizione(riga, inizio)}, {"end", posizione(riga, fine)}};
}

json diagnostica_json(const diagnostica& d, const uri_del_testo& uri) {
  json j = {{"range", intervallo(d.dove.riga, d.dove.inizio, d.dove.fine)},
            {"severity", d.errore ? 1 : 2},
            {"source", "percorso"},
            {"message", d.messaggio}};
  if (!d.nome.empty()) j["code"] = d.nome;
  if (d.correlati.empty()) return j;
  json correlati = json::array();
  for (const correlato& c : d.correlati) {
    const tratto& t = c.dove;
    std::string detto = "riga " + std::to_string(t.riga);
    if (!c.cosa.empty()) detto.append(": ").append(c.cosa);
    correlati.push_back(
        {{"location", {{"uri", uri(t.testo)}, {"range", intervallo(t.riga, t.inizio, t.fine)}}},
         {"message", std::move(detto)}});
  }
  j["relatedInformation"] = std::move(correlati);
  return j;
}

json proposta_json(const proposta& p, std::int32_t riga, std::int32_t inizio, std::int32_t fine) {
  // CompletionItemKind: Module for a section header, Keyword for a keyword; a snippet.
  return {{"label", p.etichetta},
          {"kind", p.sezione ? 9 : 14},
          {"detail", p.dettaglio},
          {"documentation", {{"kind", "plaintext"}, {"value", p.documentazione}}},
          {"insertTextFormat", p.sezione ? 1 : 2},
          {"filterText", p.etichetta},
          {"textEdit", {{"range", intervallo(riga, inizio, fine)}, {"newText", p.frammento}}}};
}

json simboli_json(const std::vector<simbolo>& s) {
  json tutti = json::array();
  bool in_sezione = false;
  for (const simbolo& x : s) {
    json j = simbolo_json(x);
    if (x.genere == simbolo::tipo::sezione) {
      j["children"] = json::array();
      tutti.push_back(std::move(j));
      in_sezione = true;
    } else if (in_sezione) {
      // A section reaches to its last row, so its rows lie inside it.
      json& sezione = tutti.back();
      sezione["range"]["end"] = j["range"]["end"];
      sezione["children"].push_back(std::move(j));
    } else {
      tutti.push_back(std::move(j));
    }
  }
  return tutti;
}

json azione_json(const correzione& c, const json& diagnostica, const std::string& uri) {
  json modifica = {{"range", intervallo(c.riga, c.inizio, c.fine)}, {"newText", c.testo}};
  return {{"title", c.titolo},
          {"kind", "quickfix"},
          {"isPreferred", true},
          {"diagnostics", json::array({diagnostica})},
          {"edit", {{"changes", {{uri, json::array({modifica})}}}}}};
}

json risposta(const json& id, json risultato) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(risultato)}};
}

json errore(const json& id, int codice, const std::string& messaggio) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", codice}, {"message", messaggio}}}};
}

}  // namespace percorso::lsp
