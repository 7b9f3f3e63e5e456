// What the program tells its user: findings and warnings with their place in the
// texts, the meaning and explanation of each code, and the JSON report.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/esecuzione.h"
#include "compiler/compilatore.h"

namespace percorso {

// Short Italian meaning of a finding's code.
std::string_view significato(std::int32_t codice);

// A few lines on what a code means, what usually causes it and how to fix the text;
// nothing for an unknown code.
std::optional<std::string_view> spiegazione(std::int32_t codice);

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

// Names of every warning the compiler gives.
std::span<const std::string_view> nomi_avvisi();

// The messages of a run in order: findings, then warnings the filter shows, then the
// cause of a stop. testi, when given, supplies the source lines.
std::vector<messaggio> messaggi_di(const esito_esecuzione& e, const nomi_sorgenti& nomi,
                                   const sorgenti* testi, const filtro_avvisi& filtro);

// Each message, its source line and a caret under the field, then a closing count.
void stampa_messaggi(std::ostream& out, const std::vector<messaggio>& m);

// The machine-readable report of a run, as JSON.
std::string rapporto_json(const esito_esecuzione& e, const std::vector<messaggio>& m);

}  // namespace percorso
