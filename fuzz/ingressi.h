// What each fuzz target does with one input, shared with the test that replays
// the corpus. Each returns the first broken property, or nothing.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/costruzione.h"
#include "app/esecuzione.h"
#include "app/rapporto.h"
#include "checker/verifica.h"
#include "diagnostics/messaggi.h"
#include "format/decodifica.h"
#include "format/file_binari.h"
#include "format/formato.h"
#include "lsp/server.h"
#include "lsp/trama.h"
#include "model/numeri.h"
#include "sintassi/lettore_campi.h"
#include "sintassi/parole_chiave.h"

namespace percorso::fuzz {

using violazione = std::optional<std::string>;

// A compiler input: one byte for the plan flag j (as a signed byte), then the line
// description, a 0x00 byte and the train description; without a 0x00 byte the
// train description is absent.
struct ingresso_compilatore {
  std::int32_t j = 0;
  sorgenti testi;
};

// dati holds at least the flag byte.
inline ingresso_compilatore dividi_ingresso(std::span<const std::uint8_t> dati) {
  ingresso_compilatore i;
  i.j = static_cast<std::int32_t>(static_cast<std::int8_t>(dati[0]));
  const auto resto = dati.subspan(1);
  std::size_t separatore = 0;
  while (separatore < resto.size() && resto[separatore] != 0) ++separatore;
  i.testi.linea = resto.first(separatore);
  if (separatore < resto.size()) i.testi.treno = resto.subspan(separatore + 1);
  return i;
}

namespace dettaglio_compilatore {

inline bool stessi_rilievi(const modello& a, const modello& b) {
  return std::equal(a.rilievi.begin(), a.rilievi.end(), b.rilievi.begin(), b.rilievi.end(),
                    [](const rilievo& x, const rilievo& y) {
                      return x.codice == y.codice && x.posizione == y.posizione &&
                             x.fonte == y.fonte && x.riga == y.riga && x.colonna == y.colonna;
                    });
}

inline bool stessi_avvisi(const modello& a, const modello& b) {
  return std::equal(a.avvisi.begin(), a.avvisi.end(), b.avvisi.begin(), b.avvisi.end(),
                    [](const diagnosi& x, const diagnosi& y) {
                      return x.nome == y.nome && x.riga == y.riga && x.colonna == y.colonna &&
                             x.messaggio == y.messaggio;
                    });
}

}  // namespace dettaglio_compilatore

inline violazione prova_compilatore(std::span<const std::uint8_t> dati) {
  if (dati.empty()) return std::nullopt;
  const auto [j, testi] = dividi_ingresso(dati);

  modello m, contato;
  for (modello* x : {&m, &contato}) {
    x->nome_percorso = nome_percorso_incorporato;
    x->numero_treno = numero_treno_incorporato;
  }
  const stato_costruzione stato = memorizza_percorso(m, testi, j);
  // A check counts the plan's coordinates instead of keeping them: nothing else changes.
  if (memorizza_percorso(contato, testi, j, coordinate_piano::contate) != stato ||
      contato.codice_errore != m.codice_errore || contato.posizione_errore != m.posizione_errore ||
      contato.celle != m.celle || contato.punti != m.punti || contato.tracciato ||
      !dettaglio_compilatore::stessi_rilievi(contato, m) ||
      !dettaglio_compilatore::stessi_avvisi(contato, m))
    return "a compilation that counts the plan differs";

  if (m.celle_presenti()) {
    if (immagine_celle(m).size() != m.celle.size() * byte_per_cella) return "cell file size";
    std::size_t attesi = 0;
    for (const punto& p : m.punti) attesi += 34 + p.nome.size();
    if (immagine_punti(m).size() != attesi) return "point file size";
  }
  if (m.tracciato) {
    const piano& p = *m.tracciato;
    if (p.x.size() != p.y.size()) return "plan components differ in length";
    if (p.assegnati < 0 || static_cast<std::size_t>(p.assegnati) > p.x.size())
      return "plan count outside the plan";
    // Each element is its tag and 0, 2 or 8 bytes. Long plans are left out: their
    // image is the same loop, and building it would slow the fuzzer tenfold.
    if (p.x.size() <= 20000) {
      const std::size_t byte = immagine_piano(p).size();
      if (byte < 4 * p.x.size() || byte > 20 * p.x.size()) return "plan file size";
    }
  }
  if (stato == stato_costruzione::pronta && m.celle[1].dato_1 != 5121) return "header value";

  // The messages, with their source lines, and the report read what the compiler recorded.
  esito_esecuzione e;
  e.esito = stato == stato_costruzione::pronta ? esito_esecuzione::tipo::ok
                                               : esito_esecuzione::tipo::interrotto;
  e.m = std::move(m);
  const nomi_sorgenti nomi{"linea.txt", "treno.txt"};
  const messaggi_corsa messaggi = messaggi_di(e, nomi, &testi, filtro_avvisi{}, true);
  std::ostringstream stampa;
  stampa_messaggi(stampa, messaggi.elenco);
  const std::string json = rapporto_json(e, messaggi);
  if (json.empty() || json.front() != '{') return "report";
  return std::nullopt;
}

namespace dettaglio_verifica {

// Start of every line of a text (CR LF, CR and LF end a line, as for the compiler).
inline std::vector<std::size_t> inizi_righe(std::span<const std::uint8_t> t) {
  std::vector<std::size_t> inizi{0};
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
    if (t[i] == '\r' || t[i] == '\n') inizi.push_back(i + 1);
  }
  return inizi;
}

inline std::size_t lunghezza_riga(std::span<const std::uint8_t> t, std::size_t inizio) {
  std::size_t fine = inizio;
  while (fine < t.size() && t[fine] != '\r' && t[fine] != '\n') ++fine;
  return fine - inizio;
}

inline bool campo_della_tabella(std::string_view nome) {
  if (nome.empty()) return true;
  for (const parola_chiave& k : parole_chiave()) {
    for (const campo_formato& f : k.campi) {
      if (f.nome == nome) return true;
    }
  }
  return false;
}

inline bool nome_noto(std::string_view nome) {
  return genere_di_nome(nome) != nullptr;
}

inline violazione constatazione_valida(const diagnosi& c, const sorgenti& testi) {
  const auto* testo = c.fonte == fonte::linea   ? &testi.linea
                      : c.fonte == fonte::treno ? &testi.treno
                                                : nullptr;
  if (testo == nullptr || !*testo) return "a finding of no text: " + c.messaggio;
  const auto inizi = inizi_righe(**testo);
  if (c.riga < 1 || static_cast<std::size_t>(c.riga) > inizi.size())
    return "line outside the text: " + c.messaggio;
  const std::size_t riga = lunghezza_riga(**testo, inizi[static_cast<std::size_t>(c.riga) - 1]);
  if (c.colonna < 1 || static_cast<std::size_t>(c.colonna) > riga + 1)
    return "column outside the line: " + c.messaggio;
  if (c.colonna_fine != 0 &&
      (c.colonna_fine <= c.colonna || static_cast<std::size_t>(c.colonna_fine) > riga + 1))
    return "end column outside the line: " + c.messaggio;
  if (!nome_noto(c.nome)) return "unknown name: " + std::string(c.nome);
  if (!campo_della_tabella(c.campo)) return "field outside the table";
  // Quotes are cut, so a message stays short whatever the text holds: at most a row's
  // field names and two quotes.
  if (c.messaggio.empty() || c.messaggio.size() > 1000) return "message: " + c.messaggio;
  return std::nullopt;
}

}  // namespace dettaglio_verifica

// Input as for the compiler's target. The checker leaves the compiled model as it is,
// and every finding points into its text and names a known finding and a field of
// the table.
inline violazione prova_verifica(std::span<const std::uint8_t> dati) {
  if (dati.empty()) return std::nullopt;
  const auto [j, testi] = dividi_ingresso(dati);

  modello senza, con;
  for (modello* m : {&senza, &con}) {
    m->nome_percorso = std::string("Prova");
    m->numero_treno = std::string("1");
  }
  const stato_costruzione stato_senza = memorizza_percorso(senza, testi, j);
  const stato_costruzione stato_con = memorizza_percorso(con, testi, j);
  const auto trovate = verifica(testi, con.rilievi);

  if (stato_senza != stato_con || senza.codice_errore != con.codice_errore ||
      senza.posizione_errore != con.posizione_errore)
    return "the compiler's error state differs with the checker";
  if (senza.celle != con.celle || senza.punti != con.punti) return "the model differs";
  if (senza.tracciato.has_value() != con.tracciato.has_value() ||
      (senza.tracciato &&
       (senza.tracciato->x != con.tracciato->x || senza.tracciato->y != con.tracciato->y ||
        senza.tracciato->assegnati != con.tracciato->assegnati)))
    return "the plan differs";
  if (trovate.size() > 100 * generi_constatazioni().size()) return "too many findings";
  for (const diagnosi& c : trovate) {
    if (auto v = dettaglio_verifica::constatazione_valida(c, testi)) return v;
  }
  return std::nullopt;
}

namespace dettaglio {

inline bool cifre(std::string_view s) {
  if (s.empty()) return false;
  for (const char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Optional sign, digits, optionally "." and digits, nothing else.
inline bool numero_valido(std::string_view s) {
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) s.remove_prefix(1);
  const auto punto = s.find('.');
  if (punto == std::string_view::npos) return cifre(s);
  return cifre(s.substr(0, punto)) && cifre(s.substr(punto + 1));
}

// A number field's value is what strtod gives for a well-formed number, else 0.
inline violazione come_strtod(std::string_view campo) {
  const double v = valore_numero(campo);
  if (!numero_valido(campo)) {
    if (v != 0) return "malformed number not 0: " + std::string(campo);
    return std::nullopt;
  }
  const std::string copia(campo);
  const double atteso = std::strtod(copia.c_str(), nullptr);
  // Below the smallest double strtod may give 0 or a subnormal; both round to 0.
  const bool uguale = (atteso > -1 && atteso < 1) ? arrotonda(v) == arrotonda(atteso) : v == atteso;
  if (!uguale) return "number differs from strtod: " + copia;
  return std::nullopt;
}

}  // namespace dettaglio

// Input: one byte whose bits choose text or number reads in turn, then the text.
inline violazione prova_lettore(std::span<const std::uint8_t> dati) {
  if (dati.empty()) return std::nullopt;
  const std::uint8_t schema = dati[0];
  const auto testo = dati.subspan(1);

  lettore_campi r(testo);
  std::size_t letture = 0;
  while (!r.fine()) {
    // Every read consumes at least one byte, so the loop ends.
    if (letture++ > testo.size()) return "a read consumed nothing";
    if ((schema >> (letture % 8)) & 1) {
      const auto v = r.leggi_testo();
      if (!v) return "text read failed before the end";
      if (!v->empty() && (v->front() == ' ' || v->back() == ' ')) return "text field with blanks";
      if (v->find_first_of(",\r\n") != std::string_view::npos) return "text field with separator";
    } else if (!r.leggi_numero()) {
      return "number read failed before the end";
    }
    if (r.riga() < 1 || r.colonna() < 1) return "line or column below 1";
    if (r.riga_sorgente().find_first_of("\r\n") != std::string_view::npos)
      return "source line with a line end";
  }
  if (r.leggi_testo() || r.leggi_numero()) return "a read after the end";

  // Each blank- or comma-separated piece as a number field of its own.
  std::string_view tutto(reinterpret_cast<const char*>(testo.data()), testo.size());
  while (!tutto.empty()) {
    const auto fine = tutto.find_first_of(" ,\r\n");
    if (auto v = dettaglio::come_strtod(tutto.substr(0, fine))) return v;
    if (fine == std::string_view::npos) break;
    tutto.remove_prefix(fine + 1);
  }
  return std::nullopt;
}

namespace dettaglio {

inline void aggiungi(std::vector<std::uint8_t>& byte, std::uint64_t v, int larghezza) {
  for (int i = 0; i < larghezza; ++i) byte.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline std::vector<std::uint8_t> ricodifica(const piano_letto& p) {
  std::vector<std::uint8_t> byte;
  for (const auto* blocco : {&p.x, &p.y}) {
    for (const auto& e : *blocco) {
      aggiungi(byte, static_cast<std::uint16_t>(e.tipo), 2);
      if (e.tipo == tipo_elemento::intero)
        aggiungi(byte, static_cast<std::uint16_t>(static_cast<std::int16_t>(e.valore)), 2);
      else if (e.tipo == tipo_elemento::reale)
        aggiungi(byte, std::bit_cast<std::uint64_t>(e.valore), 8);
    }
  }
  return byte;
}

template <typename T>
violazione errore_valido(const decodificato<T>& d, std::size_t dimensione, const char* file) {
  if (d.errore->posizione > dimensione || d.errore->messaggio.empty())
    return std::string("bad error of the ") + file;
  return std::nullopt;
}

}  // namespace dettaglio

// Input: any bytes, given to the three decoders; what decodes encodes back the same.
inline violazione prova_decodifica(std::span<const std::uint8_t> dati) {
  const std::vector<std::uint8_t> originale(dati.begin(), dati.end());
  if (const auto celle = decodifica_celle(dati); celle.ok()) {
    modello m;
    m.celle = celle.valore;
    if (immagine_celle(m) != originale) return "cells do not encode back";
  } else if (auto v = dettaglio::errore_valido(celle, dati.size(), "cell file")) {
    return v;
  }
  if (const auto punti = decodifica_punti(dati); punti.ok()) {
    modello m;
    m.punti = punti.valore;
    if (immagine_punti(m) != originale) return "points do not encode back";
  } else if (auto v = dettaglio::errore_valido(punti, dati.size(), "point file")) {
    return v;
  }
  if (const auto piano = decodifica_piano(dati); piano.ok()) {
    const piano_letto& p = piano.valore;
    if (p.x.size() != p.y.size()) return "plan blocks differ in length";
    if (dettaglio::ricodifica(p) != originale) return "plan does not encode back";
    if (p.punto_a(p.metri())) return "a point beyond the plan";
  } else if (auto v = dettaglio::errore_valido(piano, dati.size(), "plan file")) {
    return v;
  }
  return std::nullopt;
}

namespace dettaglio {

// A disk with no file: the server under fuzzing reads nothing but its input.
class nessun_file final : public file_system {
 public:
  bool esiste(const std::string&) override { return false; }
  std::optional<identita_file> identita(const std::string&) override { return std::nullopt; }
  lettura leggi(const std::string& p) override { return {{}, errore_file{p, "nessun file"}}; }
  std::unique_ptr<insieme_uscita> insieme(cartelle_corsa) override { return nullptr; }
  std::optional<errore_file> elimina(const std::string& p) override { return manca(p); }
  std::optional<errore_file> elimina_cartella_vuota(const std::string& p) override {
    return manca(p);
  }
  std::optional<errore_file> crea_cartella(const std::string& p) override { return manca(p); }
  std::optional<errore_file> prova_scrittura(const std::string& p) override { return manca(p); }
  std::vector<std::string> elenca(const std::string&) override { return {}; }
  std::optional<std::int64_t> versione_cartella(const std::string&) override {
    return std::nullopt;
  }
  std::string nome_registrato(const std::string& p) override { return std::string(nome_base(p)); }

 private:
  static errore_file manca(const std::string& p) { return {p, "nessun file"}; }
};

// The server fed ingresso ends with status 0 or 1 and answers only with whole
// JSON-RPC 2.0 messages, which go to risposte; the first fault otherwise.
inline violazione servito(const std::string& ingresso, std::vector<nlohmann::json>& risposte) {
  std::istringstream in(ingresso);
  std::ostringstream uscita;
  nessun_file fs;
  const int stato = lsp::servi(in, uscita, fs, "fuzz");
  if (stato != 0 && stato != 1) return "exit status " + std::to_string(stato);
  std::istringstream scritte(uscita.str());
  lsp::lettore_messaggi lettore(scritte);
  for (lsp::letto l = lettore.prossimo(); l.esito != lsp::letto::tipo::fine;
       l = lettore.prossimo()) {
    if (l.esito != lsp::letto::tipo::corpo) return "an answer with a broken header";
    auto j = nlohmann::json::parse(l.corpo, nullptr, false);
    if (j.is_discarded() || !j.is_object() || j.value("jsonrpc", "") != "2.0")
      return "an answer that is not JSON-RPC 2.0: " + l.corpo.substr(0, 80);
    risposte.push_back(std::move(j));
  }
  return std::nullopt;
}

}  // namespace dettaglio

// Input: the bytes an editor sends the language server. The message reader takes
// them to the end, each read consuming input and no body beyond its bound; the
// server, fed the same bytes, ends, and answers only with whole JSON-RPC messages.
inline violazione prova_messaggi_lsp(std::span<const std::uint8_t> dati) {
  const std::string ingresso(dati.begin(), dati.end());
  std::istringstream in(ingresso);
  lsp::lettore_messaggi lettore(in);
  for (std::size_t letture = 0;; ++letture) {
    if (letture > ingresso.size() + 1) return "a read consumed nothing";
    const lsp::letto l = lettore.prossimo();
    if (l.esito == lsp::letto::tipo::fine) break;
    if (l.esito == lsp::letto::tipo::corpo && l.corpo.size() > lsp::corpo_massimo)
      return "a body beyond the bound";
    if (l.esito == lsp::letto::tipo::malformato && l.corpo.empty()) return "a fault without reason";
  }
  std::vector<nlohmann::json> risposte;
  return dettaglio::servito(ingresso, risposte);
}

// Input: a depth byte, a byte of how the length is told, then the inside of a body.
// The body is a request whose params nest that many thousands of brackets around the
// inside; its Content-Length is right, short or long by the third byte, or missing,
// and a well-framed shutdown follows. The server never dies on the nesting or the
// framing, answers with whole JSON-RPC messages, and, when the length told does not
// reach past the body and the inside names no header, answers the shutdown too.
inline violazione prova_trama_lsp(std::span<const std::uint8_t> dati) {
  if (dati.size() < 3) return std::nullopt;
  const std::size_t livelli = std::size_t{dati[0]} * 1024;
  const std::uint8_t modo = dati[1] % 4;
  const std::string dentro(dati.begin() + 3, dati.end());
  const std::string corpo = R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":)" +
                            std::string(livelli, '[') + dentro + std::string(livelli, ']') + "}";
  std::size_t detta = corpo.size();
  if (modo == 1) detta -= std::min<std::size_t>(dati[2], detta);
  if (modo == 2) detta += dati[2];
  std::string ingresso =
      (modo == 3 ? std::string("Content-Type: x") : "Content-Length: " + std::to_string(detta)) +
      "\r\n\r\n" + corpo;
  const std::string fine = R"({"jsonrpc":"2.0","id":"fine","method":"shutdown"})";
  ingresso += "Content-Length: " + std::to_string(fine.size()) + "\r\n\r\n" + fine;
  std::vector<nlohmann::json> risposte;
  if (auto v = dettaglio::servito(ingresso, risposte)) return v;
  const bool fine_servita = std::any_of(risposte.begin(), risposte.end(), [](const auto& j) {
    return j.contains("id") && j["id"] == "fine";
  });
  std::string minuscolo = dentro;
  for (char& c : minuscolo) c = minuscola(c);
  const bool nomina = minuscolo.find("content-length") != std::string::npos;
  if (detta <= corpo.size() && !nomina && !fine_servita) return "the message after it was lost";
  return std::nullopt;
}

}  // namespace percorso::fuzz
