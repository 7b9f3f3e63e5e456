// What the program tells its user about a compilation: findings and warnings with
// their place in the texts, printed with the source line and a caret, or as JSON.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/modello.h"
#include "model/sorgenti.h"

namespace percorso {

// Names of the two source texts as the user knows them.
struct nomi_sorgenti {
  std::string linea;
  std::string treno;
};

// One message of a run, ready to print or to report.
struct messaggio {
  bool avviso = false;
  std::optional<std::int32_t> codice;  // findings and program errors
  std::string nome;                    // warnings
  std::optional<std::int32_t> posizione;
  std::string file;
  std::int32_t riga = 0;
  std::int32_t colonna = 0;
  std::string testo;          // the whole first line, "FILE:LINE: errore CODE: ..."
  std::string riga_sorgente;  // the source line, when known
};

// Which warnings are shown.
struct filtro_avvisi {
  bool nessuno = false;
  std::set<std::string> spenti;  // names turned off one by one

  bool mostra(const std::string& nome) const { return !nessuno && !spenti.contains(nome); }
};

// Names of every warning a compile gives: the compiler's, and the documents'.
std::span<const std::string_view> nomi_avvisi();
// A document could not show a text as it stands (a name longer than its cell).
inline constexpr std::string_view nome_avviso_documento = "documento";

// The findings of m, then the warnings the filter shows, in order. testi, when
// given, supplies the source lines.
std::vector<messaggio> messaggi_di(const modello& m, const nomi_sorgenti& nomi,
                                   const sorgenti* testi, const filtro_avvisi& filtro);

// The message of a run that stopped: a program error (1250, 1251) or another cause.
messaggio messaggio_di_arresto(std::string_view causa,
                               std::optional<std::int32_t> errore_programma);

// Each message, its source line and a caret under the field, then a closing count.
void stampa_messaggi(std::ostream& out, const std::vector<messaggio>& m);

// One message as a JSON object.
std::string json_messaggio(const messaggio& m);

}  // namespace percorso
