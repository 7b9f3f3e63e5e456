// The server as an editor sees it: messages in, messages out. The texts are those of
// `percorso new`, with a mistake after a character that takes two bytes in UTF-8 and
// one UTF-16 unit, so a column counted in bytes would be one off.
#include "lsp/server.h"

#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <vector>

#include "lsp/indirizzi.h"
#include "lsp/trama.h"
#include "support/cartella_temporanea.h"
#include "support/comando.h"
#include "support/file_system_guasto.h"
#include "support/sistemi.h"

namespace percorso::lsp {
namespace {

using json = nlohmann::json;

struct esito {
  int stato = -1;
  std::vector<json> uscite;

  // The messages with the method, or the answer to the request id.
  std::vector<json> con_metodo(std::string_view metodo) const {
    std::vector<json> r;
    for (const json& j : uscite)
      if (j.value("method", "") == metodo) r.push_back(j);
    return r;
  }
  json risposta(int id) const {
    for (const json& j : uscite)
      if (j.contains("id") && j["id"] == id) return j;
    return nullptr;
  }
  // The last diagnostics published for a URI.
  json diagnostiche(const std::string& uri) const {
    json ultime;
    for (const json& j : con_metodo("textDocument/publishDiagnostics"))
      if (j["params"]["uri"] == uri) ultime = j["params"]["diagnostics"];
    return ultime;
  }
};

class dialogo {
 public:
  dialogo& grezzo(std::string_view s) {
    ingresso_.append(s);
    return *this;
  }
  dialogo& corpo(std::string_view c) {
    return grezzo("Content-Length: " + std::to_string(c.size()) + "\r\n\r\n" + std::string(c));
  }
  dialogo& manda(const json& j) { return corpo(j.dump()); }
  dialogo& richiesta(int id, std::string_view metodo, json parametri = json::object()) {
    return manda({{"jsonrpc", "2.0"}, {"id", id}, {"method", metodo}, {"params", parametri}});
  }
  dialogo& notifica(std::string_view metodo, json parametri = json::object()) {
    return manda({{"jsonrpc", "2.0"}, {"method", metodo}, {"params", parametri}});
  }
  dialogo& inizia() { return richiesta(1, "initialize").notifica("initialized"); }
  dialogo& apri(const std::string& uri, std::string_view testo) {
    return notifica(
        "textDocument/didOpen",
        {{"textDocument",
          {{"uri", uri}, {"languageId", "percorso"}, {"version", 1}, {"text", testo}}}});
  }
  dialogo& cambia(const std::string& uri, std::string_view testo) {
    return notifica("textDocument/didChange", {{"textDocument", {{"uri", uri}, {"version", 2}}},
                                               {"contentChanges", {{{"text", testo}}}}});
  }
  dialogo& alla(int id, std::string_view metodo, const std::string& uri, int riga, int carattere) {
    return richiesta(id, metodo,
                     {{"textDocument", {{"uri", uri}}},
                      {"position", {{"line", riga}, {"character", carattere}}}});
  }
  dialogo& azioni(int id, const std::string& uri, int riga) {
    const json inizio = {{"line", riga}, {"character", 0}};
    return richiesta(id, "textDocument/codeAction",
                     {{"textDocument", {{"uri", uri}}},
                      {"range", {{"start", inizio}, {"end", inizio}}},
                      {"context", {{"diagnostics", json::array()}}}});
  }
  dialogo& finisci() { return richiesta(99, "shutdown").notifica("exit"); }

  esito esegui() { return esegui(*file_system_reale()); }
  esito esegui(file_system& fs) {
    std::istringstream in(ingresso_);
    std::ostringstream out;
    esito e;
    e.stato = servi(in, out, fs, "prova");
    std::istringstream risposte(out.str());
    lettore_messaggi lettore(risposte);
    for (letto l = lettore.prossimo(); l.esito == letto::tipo::corpo; l = lettore.prossimo())
      e.uscite.push_back(json::parse(l.corpo));
    return e;
  }

 private:
  std::string ingresso_;
};

// The two texts of a new scenario in a scratch directory, or in a folder of it, as UTF-8.
struct scenario {
  cartella_temporanea d;
  std::string cartella;
  std::string linea;
  std::string treno;
  std::string uri_linea;
  std::string uri_treno;

  explicit scenario(const std::string& sotto = "")
      : cartella(sotto.empty() ? in_utf8(d.percorso()) : d.file(sotto)) {
    EXPECT_EQ(esegui({"new", "Valle", "2211", cartella}).stato, 0);
    uri_linea = uri_di_percorso(file("Valle_linea.txt"));
    uri_treno = uri_di_percorso(file("Valle_2211-.txt"));
    const auto l = leggi_file(file("Valle_linea.txt"));
    const auto t = leggi_file(file("Valle_2211-.txt"));
    linea.assign(l.begin(), l.end());
    treno.assign(t.begin(), t.end());
  }
  std::string file(const std::string& nome) const { return unisci(cartella, nome); }
};

std::string sostituito(std::string t, std::string_view da, std::string_view a) {
  const auto i = t.find(da);
  EXPECT_NE(i, std::string::npos) << da;
  return t.replace(i, da.size(), a);
}

constexpr std::string_view riga_buona = "velocita,    4500,    80";
// "velocità" still holds the keyword's test; the "à" is one UTF-16 unit, two UTF-8 bytes.
constexpr std::string_view riga_rotta = "velocit\u00e0,    4500,    8O";

json posizione(int riga, int carattere) {
  return {{"line", riga}, {"character", carattere}};
}

TEST(ServerLsp, UnErroreDopoUnaLetteraAccentataCadeSulSuoCampoEDopoLaCorrezioneSparisce) {
  scenario s;
  const std::string rotto = sostituito(s.treno, riga_buona, riga_rotta);
  const esito e = dialogo()
                      .inizia()
                      .apri(s.uri_treno, rotto)
                      .apri(s.uri_linea, s.linea)
                      .cambia(s.uri_treno, s.treno)
                      .notifica("textDocument/didClose", {{"textDocument", {{"uri", s.uri_linea}}}})
                      .finisci()
                      .esegui();
  EXPECT_EQ(e.stato, 0);
  const auto pubblicate = e.con_metodo("textDocument/publishDiagnostics");
  ASSERT_GE(pubblicate.size(), 4u);
  const json& prima = pubblicate[0]["params"];
  EXPECT_EQ(prima["uri"], s.uri_treno);
  ASSERT_EQ(prima["diagnostics"].size(), 1u) << prima.dump();
  const json& d = prima["diagnostics"][0];
  EXPECT_EQ(d["code"], "non-numero");
  EXPECT_EQ(d["severity"], 1);
  EXPECT_EQ(d["range"]["start"], posizione(10, 22));
  EXPECT_EQ(d["range"]["end"], posizione(10, 24));
  // Opening the line text checks the pair again and publishes for both.
  EXPECT_EQ(pubblicate[1]["params"]["uri"], s.uri_linea);
  EXPECT_EQ(pubblicate[2]["params"]["uri"], s.uri_treno);
  EXPECT_EQ(e.diagnostiche(s.uri_treno), json::array());
  EXPECT_EQ(e.diagnostiche(s.uri_linea), json::array());
}

TEST(ServerLsp, LeColonneContanoUnitaUtf16) {
  struct caso {
    std::string_view riga;
    int carattere;  // where '8O' begins, in UTF-16 units
  };
  const caso casi[] = {
      {"velocit\u00e0,    4500,    8O", 22},
      {"\u2019velocit\u00e0,    4500,    8O", 23},
      {"velocit\u00e0 \U0001F600,    4500,    8O", 25},
  };
  for (const caso& c : casi) {
    scenario s;
    const esito e = dialogo()
                        .inizia()
                        .apri(s.uri_treno, sostituito(s.treno, riga_buona, c.riga))
                        .finisci()
                        .esegui();
    bool trovata = false;
    for (const json& d : e.diagnostiche(s.uri_treno)) {
      if (d["code"] != "non-numero") continue;
      trovata = true;
      EXPECT_EQ(d["range"]["start"], posizione(10, c.carattere)) << c.riga;
      EXPECT_EQ(d["range"]["end"], posizione(10, c.carattere + 2)) << c.riga;
    }
    EXPECT_TRUE(trovata) << c.riga;
  }
}

TEST(ServerLsp, UnaCellaOccupataIndicaLaRigaDellAltro) {
  scenario s;
  const std::string rotto = sostituito(s.treno, "segnale,    4400", "segnale,    2150");
  const esito e = dialogo().inizia().apri(s.uri_treno, rotto).finisci().esegui();
  const json d = e.diagnostiche(s.uri_treno);
  ASSERT_FALSE(d.empty());
  EXPECT_EQ(d[0]["code"], "16");
  EXPECT_EQ(d[0]["range"]["start"], posizione(21, 12));
  EXPECT_EQ(d[0]["range"]["end"], posizione(21, 16));
  ASSERT_EQ(d[0]["relatedInformation"].size(), 1u) << d.dump();
  const json& altro = d[0]["relatedInformation"][0]["location"];
  EXPECT_EQ(altro["uri"], s.uri_treno);
  EXPECT_EQ(altro["range"]["start"], posizione(13, 0));
  // What stands there comes from the finding's record (editor lines count from 0).
  const std::string detto = d[0]["relatedInformation"][0]["message"];
  EXPECT_EQ(detto, "riga 14: stazione MEZZAVIA");
}

TEST(ServerLsp, IlTestoAccantoSuDiscoSiPrendeComeCompagno) {
  scenario s;
  // A line 1000 m long leaves the train's rows beyond it.
  scrivi_file(s.file("Valle_linea.txt"), sostituito(s.linea, "6000", "1000"));
  const esito e = dialogo().inizia().apri(s.uri_treno, s.treno).finisci().esegui();
  const json d = e.diagnostiche(s.uri_treno);
  ASSERT_FALSE(d.empty());
  EXPECT_EQ(d[0]["code"], "oltre-linea") << d.dump();
  EXPECT_TRUE(e.diagnostiche(s.uri_linea).is_null()) << "solo i testi aperti ricevono diagnostiche";
}

// Editors on Windows name texts by URIs with '/', the server joins a partner's path
// with '\\': an edit of one text updates the findings of the other, open beside it, from
// what the editor holds. The folder's name has an accent, as an author's may.
TEST(ServerLsp, IlCompagnoApertoSiPrendeDallEditorAncheInUnaCartellaAccentata) {
  scenario s("Linee ferroviarie/Citt\u00e0");
  const std::string corta = sostituito(s.linea, "6000", "1000");
  const esito e = dialogo()
                      .inizia()
                      .apri(s.uri_linea, s.linea)
                      .apri(s.uri_treno, s.treno)
                      .cambia(s.uri_linea, corta)
                      .finisci()
                      .esegui();
  const json d = e.diagnostiche(s.uri_treno);
  ASSERT_FALSE(d.empty()) << "il testo del treno non ha seguito la linea aperta";
  EXPECT_EQ(d[0]["code"], "oltre-linea") << d.dump();
}

// A line text open alone finds its train text on disk in a folder whose name has an
// accent: listed by its name in full, the folder is not empty, and the line text gets
// no false finding for lack of a partner.
TEST(ServerLsp, LaLineaDaSolaTrovaIlTrenoAccantoInUnaCartellaAccentata) {
  scenario s("Linee ferroviarie/Citt\u00e0");
  const esito e = dialogo()
                      .inizia()
                      .apri(s.uri_linea, s.linea)
                      .alla(2, "textDocument/hover", s.uri_linea, 0, 0)
                      .finisci()
                      .esegui();
  EXPECT_EQ(e.diagnostiche(s.uri_linea), json::array());
  const std::string nota = e.risposta(2)["result"]["contents"]["value"];
  EXPECT_TRUE(nota.starts_with("In coppia con Valle_2211-.txt.")) << nota;
}

// The folder beside a line text is read to find its train text only when the partner
// is not open, and then once, not at every keystroke, while the folder stays as it was.
TEST(ServerLsp, LaCartellaAccantoSiLeggeUnaVoltaESoloSeServe) {
  scenario s;
  prova::invecchia(s.cartella);
  const auto reale = file_system_reale();
  const std::string corta = sostituito(s.linea, "6000", "1000");
  const struct {
    const char* nome;
    bool treno_aperto;
    int letture;
  } casi[] = {{"treno su disco", false, 1}, {"treno aperto", true, 0}};
  for (const auto& c : casi) {
    prova::file_system_guasto fs(*reale);
    dialogo d;
    d.inizia();
    if (c.treno_aperto) d.apri(s.uri_treno, s.treno);
    d.apri(s.uri_linea, s.linea);
    for (int i = 0; i < 3; ++i) d.cambia(s.uri_linea, i % 2 ? s.linea : corta);
    const esito e = d.finisci().esegui(fs);
    EXPECT_EQ(fs.conta(prova::operazione::elencazione), c.letture) << c.nome;
    EXPECT_FALSE(e.diagnostiche(s.uri_linea).is_null()) << c.nome;
  }
}

TEST(ServerLsp, UnCarattereFuoriCodificaTieneEsatteLeColonneEdESegnalato) {
  scenario s;
  const std::string rotto = sostituito(s.treno, riga_buona, "velocita \U0001F600,  4500,    8O");
  const esito e =
      dialogo().inizia().apri(s.uri_treno, rotto).azioni(5, s.uri_treno, 10).finisci().esegui();
  const json d = e.diagnostiche(s.uri_treno);
  std::map<std::string, json> per_nome;
  for (const json& x : d) per_nome[x["code"]] = x["range"];
  ASSERT_TRUE(per_nome.contains("fuori-codifica")) << d.dump();
  EXPECT_EQ(per_nome["fuori-codifica"]["start"], posizione(10, 9));
  EXPECT_EQ(per_nome["fuori-codifica"]["end"], posizione(10, 11));
  EXPECT_EQ(per_nome["non-numero"]["start"], posizione(10, 23));
  std::set<std::string> correzioni;
  ASSERT_TRUE(e.risposta(5).contains("result")) << e.risposta(5).dump();
  const json azioni = e.risposta(5)["result"];
  for (const json& a : azioni) correzioni.insert(a["edit"]["changes"][s.uri_treno][0]["newText"]);
  EXPECT_EQ(correzioni, (std::set<std::string>{"", "80"}));
}

TEST(ServerLsp, LeCorrezioniRapide) {
  struct caso {
    const char* nome;
    std::string_view da;
    std::string_view a;
    std::string codice;
    std::string nuovo;
  };
  const std::vector<caso> casi = {
      {"parola storpiata", "pendenza, 900, -3", "pendeza, 900, -3", "chiave-sconosciuta",
       "pendenza"},
      {"punto e virgola", "pendenza, 900, -3", "pendenza; 900, -3", "separatore", ","},
      {"virgola decimale", "pendenza, 900, -3", "pendenza, 900, -3,5", "numeri-in-piu", "."},
      {"lettere nel numero", "pendenza, 2500, 4", "pendenza, 25OO, 4", "non-numero", "2500"},
      {"trattino per il trattino basso", "cartello_indicatore,", "cartello-indicatore,",
       "trattino-chiave", "cartello_indicatore"},
  };
  for (const caso& c : casi) {
    scenario s;
    const std::string rotto = sostituito(s.linea, c.da, c.a);
    const int riga =
        static_cast<int>(std::count(rotto.begin(), rotto.begin() + rotto.find(c.a), '\n'));
    const esito e =
        dialogo().inizia().apri(s.uri_linea, rotto).azioni(5, s.uri_linea, riga).finisci().esegui();
    const json azioni = e.risposta(5)["result"];
    ASSERT_FALSE(azioni.empty()) << c.nome << e.diagnostiche(s.uri_linea).dump();
    EXPECT_EQ(azioni[0]["diagnostics"][0]["code"], c.codice) << c.nome;
    EXPECT_EQ(azioni[0]["edit"]["changes"][s.uri_linea][0]["newText"], c.nuovo) << c.nome;
  }
}

TEST(ServerLsp, DescrizioneCompletamentoESchema) {
  scenario s;
  const std::string con_accento = sostituito(s.treno, riga_buona, "velocit\u00e0,    4500,    80");
  const esito e =
      dialogo()
          .inizia()
          .apri(s.uri_treno, con_accento)
          .apri(s.uri_linea, s.linea)
          .alla(2, "textDocument/hover", s.uri_treno, 10, 23)
          .alla(3, "textDocument/hover", s.uri_treno, 10, 2)
          .alla(4, "textDocument/hover", s.uri_linea, 0, 3)
          .alla(5, "textDocument/completion", s.uri_treno, 10, 0)
          .alla(6, "textDocument/completion", s.uri_linea, 0, 0)
          .alla(7, "textDocument/completion", s.uri_treno, 10, 12)
          .richiesta(8, "textDocument/documentSymbol", {{"textDocument", {{"uri", s.uri_treno}}}})
          .finisci()
          .esegui();
  const std::string campo = e.risposta(2)["result"]["contents"]["value"];
  EXPECT_NE(campo.find("velocita (km/h"), std::string::npos) << campo;
  EXPECT_NE(campo.find("legge qui il numero 80"), std::string::npos) << campo;
  // The field told as explain tells it: where the value goes, its limits.
  EXPECT_NE(campo.find("Nei file: il byte velocita"), std::string::npos) << campo;
  EXPECT_NE(campo.find("Ai limiti: "), std::string::npos) << campo;
  EXPECT_EQ(e.risposta(2)["result"]["range"]["start"], posizione(10, 22));
  const std::string parola = e.risposta(3)["result"]["contents"]["value"];
  EXPECT_NE(parola.find("Campi, in ordine"), std::string::npos) << parola;
  const std::string coppia = e.risposta(4)["result"]["contents"]["value"];
  EXPECT_NE(coppia.find("In coppia con Valle_2211-.txt"), std::string::npos) << coppia;

  ASSERT_TRUE(e.risposta(5).contains("result")) << e.risposta(5).dump();
  ASSERT_TRUE(e.risposta(8).contains("result")) << e.risposta(8).dump();
  std::set<std::string> nel_treno;
  const json proposte = e.risposta(5)["result"];
  for (const json& p : proposte) {
    nel_treno.insert(p["label"]);
    // Each proposal carries explain's text: a keyword's row, a section's content.
    const std::string doc = p["documentation"]["value"];
    if (p["label"] == "stazione") {
      EXPECT_NE(doc.find("Campi, in ordine"), std::string::npos);
    }
    if (p["label"] == "[stazioni]") {
      EXPECT_NE(doc.find("le righe stazione"), std::string::npos);
    }
  }
  EXPECT_TRUE(nel_treno.contains("stazione"));
  EXPECT_TRUE(nel_treno.contains("[stazioni]"));
  EXPECT_FALSE(nel_treno.contains("pendenza"));
  ASSERT_EQ(e.risposta(6)["result"].size(), 1u);
  EXPECT_EQ(e.risposta(6)["result"][0]["label"], "[generale]");
  EXPECT_EQ(e.risposta(7)["result"], json::array()) << "dopo la parola chiave non si propone nulla";

  std::vector<std::string> stazioni;
  const json schema = e.risposta(8)["result"];
  for (const json& sezione : schema)
    for (const json& x : sezione.value("children", json::array()))
      if (x["kind"] == 18) stazioni.push_back(x["name"]);
  EXPECT_EQ(stazioni, (std::vector<std::string>{"CAPOLINEA NORD", "MEZZAVIA", "CAPOLINEA SUD"}));
}

TEST(ServerLsp, NonMuoreMaiERispondeComeDeve) {
  scenario s;
  const esito e = dialogo()
                      .richiesta(1, "textDocument/hover")
                      .richiesta(2, "initialize")
                      .grezzo("Content-Type: x\r\n\r\n")
                      .corpo("{non json")
                      .corpo("{\"jsonrpc\":\"2.0\",\"id\":3,\"method\":\"\xff\"}")
                      .corpo("[1,2]")
                      .corpo("{\"jsonrpc\":2,\"id\":10,\"method\":\"shutdown\"}")
                      .richiesta(4, "nessun/metodo")
                      .alla(5, "textDocument/hover", "file:///mai/aperto_linea.txt", 0, 0)
                      .richiesta(6, "textDocument/hover", {{"textDocument", 7}})
                      .notifica("textDocument/didChange", {{"nulla", 1}})
                      .richiesta(7, "shutdown")
                      .richiesta(8, "textDocument/documentSymbol")
                      .notifica("exit")
                      .richiesta(9, "shutdown")
                      .esegui();
  EXPECT_EQ(e.stato, 0);
  EXPECT_EQ(e.risposta(1)["error"]["code"], -32002);
  EXPECT_EQ(e.risposta(2)["result"]["capabilities"]["positionEncoding"], "utf-16");
  std::vector<int> senza_id;
  for (const json& j : e.uscite)
    if (j.contains("id") && j["id"].is_null()) senza_id.push_back(j["error"]["code"]);
  EXPECT_EQ(senza_id, (std::vector<int>{-32700, -32700, -32700, -32600}));
  EXPECT_EQ(e.risposta(10)["error"]["code"], -32600);
  EXPECT_EQ(e.risposta(4)["error"]["code"], -32601);
  EXPECT_EQ(e.risposta(5)["error"]["code"], -32602);
  EXPECT_EQ(e.risposta(6)["error"]["code"], -32602);
  EXPECT_EQ(e.con_metodo("window/logMessage").size(), 1u);
  EXPECT_TRUE(e.risposta(7)["result"].is_null());
  EXPECT_EQ(e.risposta(8)["error"]["code"], -32600);
  EXPECT_TRUE(e.risposta(9).is_null()) << "dopo exit non si legge altro";
}

// One message beyond the bounds costs that message alone: nesting the JSON library
// would follow by recursion, a message whose values would take many times its bytes,
// a header that cannot be read, a Content-Length of 2^40. Each is answered (a request
// by its own id), and every message after it is served.
TEST(ServerLsp, UnMessaggioOltreILimitiCostaSoloSeStesso) {
  const std::string profondo = "{\"jsonrpc\":\"2.0\",\"id\":11,\"method\":\"initialize\"," +
                               std::string("\"params\":") + std::string(140000, '[') +
                               std::string(140000, ']') + "}";
  std::string array = "[";
  for (int i = 0; i < 500000; ++i) array += "[],";
  array += "[]]";
  const std::string largo =
      "{\"jsonrpc\":\"2.0\",\"method\":\"initialize\",\"params\":" + array + ",\"id\":12}";
  const esito e = dialogo()
                      .corpo(profondo)
                      .corpo(largo)
                      .grezzo("Content-Lenght: 40\r\n\r\n{\"jsonrpc\":\"2.0\",\"method\":\"x\"}")
                      .grezzo("Content-Length: 1099511627776\r\n\r\n")
                      .richiesta(13, "initialize")
                      .finisci()
                      .esegui();
  EXPECT_EQ(e.stato, 0);
  EXPECT_EQ(e.risposta(11)["error"]["code"], -32600);
  EXPECT_NE(e.risposta(11)["error"]["message"].get<std::string>().find("oltre i 128 livelli"),
            std::string::npos);
  EXPECT_EQ(e.risposta(12)["error"]["code"], -32600);
  EXPECT_NE(e.risposta(12)["error"]["message"].get<std::string>().find("volte"), std::string::npos);
  EXPECT_EQ(e.risposta(13)["result"]["capabilities"]["positionEncoding"], "utf-16");
  EXPECT_TRUE(e.risposta(99)["result"].is_null());
}

// A disk whose every read runs out of memory.
class senza_memoria final : public file_system {
 public:
  bool esiste(const std::string&) override { return true; }
  std::optional<identita_file> identita(const std::string&) override { return std::nullopt; }
  lettura leggi(const std::string&) override { throw std::bad_alloc(); }
  std::unique_ptr<insieme_uscita> insieme(cartelle_corsa) override { return nullptr; }
  std::optional<errore_file> elimina(const std::string&) override { return std::nullopt; }
  std::optional<errore_file> elimina_cartella_vuota(const std::string&) override {
    return std::nullopt;
  }
  std::optional<errore_file> crea_cartella(const std::string&) override { return std::nullopt; }
  std::optional<errore_file> prova_scrittura(const std::string&) override { return std::nullopt; }
  std::vector<std::string> elenca(const std::string&) override { return {}; }
  std::optional<std::int64_t> versione_cartella(const std::string&) override {
    return std::nullopt;
  }
  std::string nome_registrato(const std::string& p) override { return std::string(nome_base(p)); }
};

TEST(ServerLsp, LaMemoriaEsauritaInUnTestoNonFermaIlServer) {
  scenario s;
  senza_memoria fs;
  const esito e = dialogo()
                      .inizia()
                      .apri(s.uri_treno, s.treno)
                      .alla(2, "textDocument/hover", s.uri_treno, 10, 0)
                      .finisci()
                      .esegui(fs);
  const auto registrati = e.con_metodo("window/logMessage");
  ASSERT_EQ(registrati.size(), 1u);
  EXPECT_NE(registrati[0]["params"]["message"].get<std::string>().find("memoria insufficiente"),
            std::string::npos);
  EXPECT_TRUE(e.risposta(2).contains("result"));
  EXPECT_EQ(e.stato, 0);
}

TEST(ServerLsp, LaFineDellIngressoLoChiude) {
  EXPECT_EQ(dialogo().esegui().stato, 1);
  EXPECT_EQ(dialogo().inizia().notifica("exit").esegui().stato, 1);
  EXPECT_EQ(dialogo().inizia().richiesta(2, "shutdown").esegui().stato, 0);
}

}  // namespace
}  // namespace percorso::lsp
