#include "lsp/server.h"

#include <algorithm>
#include <map>
#include <new>
#include <optional>
#include <vector>

#include "lsp/codifica.h"
#include "lsp/coppie.h"
#include "lsp/indirizzi.h"
#include "lsp/json_limitato.h"
#include "lsp/protocollo.h"
#include "lsp/trama.h"

namespace percorso::lsp {
namespace {

// A text open in the editor, as the program's bytes.
struct documento {
  std::string uri;
  std::string percorso;
  testo_convertito testo;
};

// One text of a pair: open in the editor, read from disk, or absent.
struct testo_della_coppia {
  const documento* aperto = nullptr;
  std::optional<std::vector<std::uint8_t>> letto;
  std::string uri;

  std::optional<std::span<const std::uint8_t>> byte() const {
    if (aperto != nullptr) return std::span<const std::uint8_t>(aperto->testo.byte);
    if (letto) return std::span<const std::uint8_t>(*letto);
    return std::nullopt;
  }
};

// Findings of characters the code page lacks are told this many times a text at most.
constexpr std::size_t estranei_mostrati = 100;

std::string codice_unicode(char32_t c) {
  static constexpr char cifre[] = "0123456789ABCDEF";
  std::string s;
  for (int i = c > 0xFFFF ? 5 : 4; i-- > 0;) s.push_back(cifre[(c >> (4 * i)) & 15]);
  return "U+" + s;
}

diagnostica da_estraneo(const carattere_estraneo& e, fonte f) {
  diagnostica d;
  d.dove = {f, e.riga + 1, colonna_di_carattere(e.colonna),
            colonna_di_carattere(e.colonna + e.unita)};
  d.nome = nome_fuori_codifica;
  d.messaggio = "il carattere " + codice_unicode(e.codice) +
                " non e' nella codifica dei testi (Windows-1252): il file non lo puo' "
                "contenere e il compilatore legge al suo posto un byte di controllo";
  return d;
}

// A line or character of the editor, kept where arithmetic on it cannot overflow.
std::int32_t numero(const json& j) {
  const auto n = j.get<std::int64_t>();
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(n, 0, std::int64_t{1} << 30));
}

bool conosciuta(const std::string& metodo) {
  static constexpr std::string_view richieste[] = {"initialize",
                                                   "shutdown",
                                                   "textDocument/hover",
                                                   "textDocument/completion",
                                                   "textDocument/documentSymbol",
                                                   "textDocument/codeAction"};
  return std::find(std::begin(richieste), std::end(richieste), metodo) != std::end(richieste);
}

fonte fonte_di(const std::string& percorso) {
  return e_testo_linea(percorso) ? fonte::linea : fonte::treno;
}

class sessione {
 public:
  sessione(std::ostream& out, file_system& fs, std::string versione)
      : out_(out), fs_(fs), versione_(std::move(versione)), elenchi_(fs) {}

  // Serves one body; the exit status once the editor says exit.
  std::optional<int> tratta(const std::string& corpo);
  void malformato(const std::string& perche) { invia(errore(nullptr, errore_sintassi, perche)); }
  void guasto(const std::string& perche) { invia(errore(nullptr, errore_interno, perche)); }
  int stato_alla_fine() const { return spento_ ? 0 : 1; }

 private:
  void invia(const json& j) {
    scrivi_messaggio(out_, j.dump(-1, ' ', false, json::error_handler_t::replace));
  }
  void notifica(const std::string& metodo, json parametri) {
    invia({{"jsonrpc", "2.0"}, {"method", metodo}, {"params", std::move(parametri)}});
  }
  void registra(const std::string& testo) {
    notifica("window/logMessage", {{"type", 1}, {"message", testo}});
  }

  void richiesta(const json& id, const std::string& metodo, const json& parametri);
  void avviso(const std::string& metodo, const json& parametri);
  json risultato(const std::string& metodo, const json& parametri);

  json inizializza();
  void apri(const json& p);
  void cambia(const json& p);
  void chiudi(const json& p);
  void verifica(const std::string& uri);
  testo_della_coppia prendi(const std::string& percorso);

  const documento& aperto(const json& p) const;
  json hover(const json& p) const;
  json completamento(const json& p) const;
  json azioni(const json& p) const;

  std::ostream& out_;
  file_system& fs_;
  std::string versione_;
  bool inizializzato_ = false;
  bool spento_ = false;
  std::map<std::string, documento> aperti_;
  std::map<std::string, std::vector<diagnostica>> pubblicate_;
  std::map<std::string, coppia> coppie_;
  elenchi_cartelle elenchi_;
};

std::optional<int> sessione::tratta(const std::string& corpo) {
  // Built only within the bounds of nesting and memory: a message beyond them is
  // answered, by its id when it has one, and never built.
  json_letto analisi = leggi_json(corpo);
  if (!analisi.errore.empty()) {
    invia(errore(analisi.id, analisi.codice, analisi.errore));
    return std::nullopt;
  }
  json m = std::move(analisi.valore);
  const bool con_id = m.is_object() && m.contains("id");
  const json id = con_id && (m["id"].is_number_integer() || m["id"].is_string()) ? m["id"] : json();
  if (!m.is_object() || !m.contains("jsonrpc") || m["jsonrpc"] != "2.0" || !m.contains("method") ||
      !m["method"].is_string() || (con_id && id.is_null())) {
    if (!m.is_object() || !m.contains("result"))  // an answer of the editor is taken quietly
      invia(errore(id, richiesta_non_valida, "richiesta JSON-RPC 2.0 non valida"));
    return std::nullopt;
  }
  const std::string metodo = m["method"];
  // Taken where it is, not copied: a copy would double the message in memory.
  static const json senza_parametri = json::object();
  const auto p = m.find("params");
  const json& parametri = p != m.end() ? *p : senza_parametri;
  if (metodo == "exit") return stato_alla_fine();
  if (con_id)
    richiesta(id, metodo, parametri);
  else
    avviso(metodo, parametri);
  return std::nullopt;
}

void sessione::richiesta(const json& id, const std::string& metodo, const json& parametri) {
  if (!inizializzato_ && metodo != "initialize") {
    invia(errore(id, non_inizializzato, "il server non e' ancora inizializzato"));
    return;
  }
  if (spento_) {
    invia(errore(id, richiesta_non_valida, "il server e' spento: resta solo exit"));
    return;
  }
  if (!conosciuta(metodo)) {
    invia(errore(id, metodo_sconosciuto, "metodo sconosciuto: " + metodo));
    return;
  }
  try {
    invia(risposta(id, risultato(metodo, parametri)));
  } catch (const std::bad_alloc&) {
    invia(errore(id, errore_interno, "memoria insufficiente per questa richiesta"));
  } catch (const json::exception& e) {
    invia(errore(id, parametri_non_validi, std::string("parametri non validi: ") + e.what()));
  } catch (const std::out_of_range&) {
    invia(errore(id, parametri_non_validi, "testo non aperto"));
  } catch (const std::exception& e) {
    invia(errore(id, errore_interno, e.what()));
  }
}

json sessione::risultato(const std::string& metodo, const json& p) {
  if (metodo == "initialize") {
    if (inizializzato_) throw std::runtime_error("initialize ripetuto");
    return inizializza();
  }
  if (metodo == "shutdown") {
    spento_ = true;
    return nullptr;
  }
  if (metodo == "textDocument/hover") return hover(p);
  if (metodo == "textDocument/completion") return completamento(p);
  if (metodo == "textDocument/documentSymbol") {
    const documento& d = aperto(p);
    return simboli_json(simboli(fonte_di(d.percorso), d.testo.byte));
  }
  return azioni(p);
}

void sessione::avviso(const std::string& metodo, const json& p) {
  if (!inizializzato_ || spento_) return;
  try {
    if (metodo == "textDocument/didOpen") apri(p);
    if (metodo == "textDocument/didChange") cambia(p);
    if (metodo == "textDocument/didClose") chiudi(p);
    if (metodo == "textDocument/didSave") verifica(p.at("textDocument").at("uri"));
  } catch (const std::bad_alloc&) {
    registra("percorso: memoria insufficiente per " + metodo);
  } catch (const std::exception& e) {
    registra("percorso: " + metodo + ": " + e.what());
  }
}

json sessione::inizializza() {
  inizializzato_ = true;
  return {{"capabilities",
           {{"positionEncoding", "utf-16"},
            {"textDocumentSync", {{"openClose", true}, {"change", 1}, {"save", true}}},
            {"hoverProvider", true},
            {"completionProvider", json::object()},
            {"documentSymbolProvider", true},
            {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}}}},
          {"serverInfo", {{"name", "percorso"}, {"version", versione_}}}};
}

void sessione::apri(const json& p) {
  const json& t = p.at("textDocument");
  const std::string uri = t.at("uri");
  documento d{uri, percorso_di_uri(uri).value_or(uri), da_utf8(t.at("text").get<std::string>())};
  aperti_.insert_or_assign(uri, std::move(d));
  verifica(uri);
}

void sessione::cambia(const json& p) {
  const std::string uri = p.at("textDocument").at("uri");
  documento& d = aperti_.at(uri);
  const json& cambi = p.at("contentChanges");
  if (cambi.empty()) return;
  if (cambi.back().contains("range")) throw std::invalid_argument("si sincronizza il testo intero");
  d.testo = da_utf8(cambi.back().at("text").get<std::string>());
  verifica(uri);
}

void sessione::chiudi(const json& p) {
  const std::string uri = p.at("textDocument").at("uri");
  const auto d = aperti_.find(uri);
  if (d == aperti_.end()) return;
  const std::string percorso = d->second.percorso;
  aperti_.erase(d);
  pubblicate_.erase(uri);
  coppie_.erase(uri);
  notifica("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", json::array()}});
  // The partner left open is now checked against the text on disk.
  for (const auto& [altro, x] : aperti_) {
    const coppia c = coppie_.count(altro) ? coppie_.at(altro) : coppia{};
    if (stesso_percorso(c.linea, percorso) || stesso_percorso(c.treno, percorso)) {
      verifica(altro);
      break;
    }
  }
}

testo_della_coppia sessione::prendi(const std::string& percorso) {
  testo_della_coppia t;
  if (percorso.empty()) return t;
  for (const auto& [uri, d] : aperti_) {
    if (stesso_percorso(d.percorso, percorso)) {
      t.aperto = &d;
      t.uri = uri;
      return t;
    }
  }
  t.uri = uri_di_percorso(percorso);
  lettura l = fs_.leggi(percorso);
  if (!l.errore) t.letto = std::move(l.dati);
  return t;
}

void sessione::verifica(const std::string& uri) {
  const documento& d = aperti_.at(uri);
  std::vector<std::string> percorsi;
  for (const auto& [u, x] : aperti_) percorsi.push_back(x.percorso);
  const coppia c =
      coppia_di(d.percorso, percorsi, [&] { return elenchi_.nomi(cartella_di(d.percorso)); });
  const testo_della_coppia linea = prendi(c.linea);
  const testo_della_coppia treno = prendi(c.treno);
  std::vector<diagnostica> tutte = diagnostiche_di({linea.byte(), treno.byte()});
  const uri_del_testo uri_di = [&](fonte f) { return f == fonte::linea ? linea.uri : treno.uri; };
  for (const auto& [f, t] : {std::pair{fonte::linea, &linea}, std::pair{fonte::treno, &treno}}) {
    if (t->aperto == nullptr) continue;
    std::vector<diagnostica> sue;
    for (const diagnostica& x : tutte)
      if (x.dove.testo == f) sue.push_back(x);
    const auto& estranei = t->aperto->testo.estranei;
    for (std::size_t i = 0; i < std::min(estranei.size(), estranei_mostrati); ++i)
      sue.push_back(da_estraneo(estranei[i], f));
    json lista = json::array();
    for (const diagnostica& x : sue) lista.push_back(diagnostica_json(x, uri_di));
    notifica("textDocument/publishDiagnostics",
             {{"uri", t->uri}, {"diagnostics", std::move(lista)}});
    pubblicate_[t->uri] = std::move(sue);
    coppie_[t->uri] = c;
  }
}

const documento& sessione::aperto(const json& p) const {
  return aperti_.at(p.at("textDocument").at("uri").get<std::string>());
}

// "in coppia con X": what the line text was checked with, on its first line.
std::string nota_coppia(const coppia& c) {
  if (c.treno.empty())
    return "Nessun testo del treno accanto: il testo della linea e' verificato da solo.\n\n";
  std::string s = "In coppia con " + std::string(nome_base(c.treno));
  if (c.treni_possibili > 1)
    s.append(", il primo per nome di ")
        .append(std::to_string(c.treni_possibili))
        .append(" testi del treno");
  return s.append(".\n\n");
}

json sessione::hover(const json& p) const {
  const documento& d = aperto(p);
  const std::int32_t riga = numero(p.at("position").at("line"));
  const std::int32_t colonna = colonna_di_carattere(numero(p.at("position").at("character")));
  const fonte f = fonte_di(d.percorso);
  std::string testo;
  const auto c = coppie_.find(d.uri);
  if (riga == 0 && f == fonte::linea && c != coppie_.end()) testo = nota_coppia(c->second);
  const auto campo = campo_alla_posizione(f, riga_di(d.testo.byte, riga), colonna);
  if (campo) testo.append(descrizione(*campo));
  if (testo.empty()) return nullptr;
  json j = {{"contents", {{"kind", "plaintext"}, {"value", testo}}}};
  if (campo) j["range"] = intervallo(riga + 1, campo->inizio, campo->fine);
  return j;
}

json sessione::completamento(const json& p) const {
  const documento& d = aperto(p);
  const std::int32_t riga = numero(p.at("position").at("line"));
  const std::int32_t carattere = numero(p.at("position").at("character"));
  const std::string_view testo = riga_di(d.testo.byte, riga);
  const std::string_view prima = testo.substr(0, std::min<std::size_t>(testo.size(), carattere));
  json lista = json::array();
  if (prima.find(',') != std::string_view::npos) return lista;
  const fonte f = fonte_di(d.percorso);
  const auto inizio =
      static_cast<std::int32_t>(std::min(prima.find_first_not_of(' '), prima.size()));
  for (const proposta& x : proposte(f, zona_della_riga(f, d.testo.byte, riga + 1)))
    lista.push_back(proposta_json(x, riga + 1, inizio + 1, colonna_di_carattere(carattere)));
  return lista;
}

json sessione::azioni(const json& p) const {
  const documento& d = aperto(p);
  const std::int32_t da = numero(p.at("range").at("start").at("line"));
  const std::int32_t a = numero(p.at("range").at("end").at("line"));
  json lista = json::array();
  const auto trovate = pubblicate_.find(d.uri);
  if (trovate == pubblicate_.end()) return lista;
  const uri_del_testo stesso = [&](fonte) { return d.uri; };
  for (const diagnostica& x : trovate->second) {
    if (x.dove.riga - 1 < da || x.dove.riga - 1 > a) continue;
    const auto c = correzione_di(x, riga_di(d.testo.byte, x.dove.riga - 1));
    if (c) lista.push_back(azione_json(*c, diagnostica_json(x, stesso), d.uri));
  }
  return lista;
}

}  // namespace

int servi(std::istream& in, std::ostream& out, file_system& fs, const std::string& versione) {
  sessione s(out, fs, versione);
  lettore_messaggi messaggi(in);
  for (;;) {
    letto m = messaggi.prossimo();
    if (m.esito == letto::tipo::fine) return s.stato_alla_fine();
    if (m.esito == letto::tipo::malformato) {
      s.malformato(m.corpo);
      continue;
    }
    // Whatever fails outside a request's own handling is answered too, and reading goes on.
    try {
      if (const auto stato = s.tratta(m.corpo)) return *stato;
    } catch (const std::bad_alloc&) {
      s.guasto("memoria insufficiente per questo messaggio");
    } catch (const std::exception& e) {
      s.guasto(e.what());
    }
  }
}

}  // namespace percorso::lsp
