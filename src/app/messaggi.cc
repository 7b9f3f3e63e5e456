#include "app/messaggi.h"

#include <array>
#include <utility>

namespace percorso {
namespace {

constexpr std::array<std::pair<std::int32_t, std::string_view>, 26> significati = {{
    {1, "lunghezza del percorso oltre 1000000 m"},
    {2, "progressiva chilometrica non multipla di 50 m"},
    {3, "prima distanza di ripetizione dei segnali non multipla di 50 m"},
    {4, "seconda distanza di ripetizione dei segnali non multipla di 50 m"},
    {5, "la riga di ripetizione dei segnali non indica 4 o 9 codici"},
    {6, "cartello su una cella gia' occupata"},
    {7, "punto di velocita' su una cella gia' occupata"},
    {8, "posizione della stazione non multipla di 50 m"},
    {9, "lunghezza della stazione non multipla di 100 m"},
    {10, "tabella dei punti piena: troppe stazioni per i cartelli presenti"},
    {11, "nessuna cella libera per il punto di velocita' davanti al segnale"},
    {12, "nessuna cella libera per il punto di velocita' prima del rallentamento"},
    {13, "nessuna cella libera per il punto di velocita' nel rallentamento o dopo"},
    {15, "posizione oltre la fine della linea: il resto del testo non e' letto"},
    {16, "segnale su una cella gia' occupata"},
    {17, "cella del cartello di avviso del rallentamento gia' occupata"},
    {18, "cella di inizio del rallentamento gia' occupata"},
    {19, "cella di fine del rallentamento gia' occupata"},
    {20, "celle di preavviso del rallentamento gia' occupate"},
    {21, "indicatori di velocita' massima su una cella gia' occupata"},
    {22, "stazione a meno di 350 m dalla fine della precedente"},
    {24, "la stazione finisce a 100 m o meno dall'inizio della linea"},
    {25,
     "errore generale: numero fuori campo, testo finito a meta' riga, indice fuori "
     "tabella o lunghezza del percorso mancante"},
    {101, "descrizione della linea assente"},
    {102, "nessuna sezione [generale] nella descrizione della linea"},
    {103, "curva senza classe (cifra da 1 a 6) o tracciato oltre 1000000 m"},
}};

std::string_view nome_fonte(const rilievo& r, const nomi_sorgenti& nomi) {
  switch (r.fonte) {
    case fonte::linea:
      return nomi.linea;
    case fonte::treno:
      return nomi.treno;
    case fonte::completamento:
      return "completamento";
    default:
      return "percorso";
  }
}

std::string json_testo(std::string_view s) {
  std::string out = "\"";
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u >= 0x7F) {
      static constexpr char cifre[] = "0123456789abcdef";
      out += "\\u00";
      out += cifre[u >> 4];
      out += cifre[u & 15];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string testo_rilievo(const rilievo& r, const nomi_sorgenti& nomi) {
  std::string s(nome_fonte(r, nomi));
  if (r.riga > 0) s.append(":").append(std::to_string(r.riga));
  s.append(": errore ").append(std::to_string(r.codice)).append(": ");
  s.append(significato(r.codice));
  if (r.posizione) {
    s.append(" (");
    if (r.fonte == fonte::completamento)
      s.append("cella ").append(std::to_string(*r.posizione / 50)).append(", ");
    s.append("posizione ").append(std::to_string(*r.posizione)).append(" m)");
  }
  return s;
}

}  // namespace

std::string_view significato(std::int32_t codice) {
  for (const auto& [c, testo] : significati) {
    if (c == codice) return testo;
  }
  return "codice sconosciuto";
}

void stampa_rilievi(std::ostream& out, const esito_esecuzione& e, const nomi_sorgenti& nomi) {
  for (const rilievo& r : e.m.rilievi) out << testo_rilievo(r, nomi) << '\n';
  if (!e.causa.empty()) out << (e.errore_programma ? "" : "percorso: ") << e.causa << '\n';
}

std::string rapporto_json(const esito_esecuzione& e, const nomi_sorgenti& nomi) {
  static constexpr std::string_view esiti[] = {"ok", "errore", "interrotto"};
  std::string j =
      "{\"codice_errore\": " + std::to_string(e.m.codice_errore) +
      ", \"posizione_errore\": " + std::to_string(e.m.posizione_errore) + ", \"esito\": \"" +
      std::string(esiti[static_cast<int>(e.esito)]) + "\", \"errore_programma\": " +
      (e.errore_programma ? std::to_string(*e.errore_programma) : "null") + ", \"messaggi\": [";
  bool primo = true;
  auto aggiungi = [&](const std::string& oggetto) {
    j += (primo ? "" : ", ") + oggetto;
    primo = false;
  };
  for (const rilievo& r : e.m.rilievi) {
    const std::string_view file = nome_fonte(r, nomi);
    aggiungi("{\"codice\": " + std::to_string(r.codice) +
             ", \"posizione\": " + (r.posizione ? std::to_string(*r.posizione) : "null") +
             ", \"file\": " + json_testo(file) +
             ", \"riga\": " + (r.riga > 0 ? std::to_string(r.riga) : "null") +
             ", \"testo\": " + json_testo(testo_rilievo(r, nomi)) + "}");
  }
  if (!e.causa.empty())
    aggiungi("{\"codice\": " + (e.errore_programma ? std::to_string(*e.errore_programma) : "null") +
             ", \"posizione\": null, \"file\": null, \"riga\": null, \"testo\": " +
             json_testo(e.causa) + "}");
  return j + "]}\n";
}

}  // namespace percorso
