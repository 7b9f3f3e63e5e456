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

// One message of a run, as plain data; each edge (the terminal, the JSON report,
// the page, the editor) renders it.
struct messaggio {
  bool avviso = false;
  bool arresto = false;                // the cause the run stopped for: no place, no label
  std::optional<std::int32_t> codice;  // findings and program errors
  std::string nome;                    // warnings
  std::optional<std::int32_t> posizione;
  enum fonte fonte = fonte::nessuna;  // the text the place is in
  std::string file;
  std::int32_t riga = 0;
  std::int32_t colonna = 0;
  std::int32_t colonna_fine = 0;  // after the field's last byte, when known
  std::string campo;              // the field's name in the keyword table, when known
  std::string unita;              // and its unit
  std::string corpo;              // what is found, without place and label; UTF-8
  std::string riga_sorgente;      // the source line, or an excerpt around the field when it is long
  std::int32_t colonna_segno = 0;          // where the caret goes in riga_sorgente (1-based)
  std::int32_t fine_segno = 0;             // and where its underline ends (after the last byte)
  std::vector<luogo_correlato> correlati;  // the other places the finding speaks of
  std::string sostituzione;                // what the field should read, when known
};

// "FILE:LINE:COL", as far as the place is known; "percorso" for a stop of the program
// with no code, nothing for one with a code.
std::string luogo_di(const messaggio& m);

// "errore 12", "avviso [trattino]", "errore [fuori-sezione]"; nothing for a stop.
std::string etichetta_di(const messaggio& m);

// The first line as the terminal and the report write it: "FILE:LINE:COL: errore CODE: ...".
std::string prima_riga(const messaggio& m);

// Which warnings are shown.
struct filtro_avvisi {
  bool nessuno = false;
  std::set<std::string> spenti;  // names turned off one by one

  bool mostra(const std::string& nome) const { return !nessuno && !spenti.contains(nome); }
};

// The findings of m, then, in the order of the texts, its warnings and the checker's
// findings the filter shows: the records of one run merged once, then rendered. A
// warning is left out where the checker speaks of the same line; a checker's finding
// of the code the compiler recorded at its line is told with the compiler's finding
// instead. An error-level warning or finding is an error only when rigoroso.
// testi, when given, supplies the source lines, which name the fields of the
// compiler's findings and give every finding's field its end.
std::vector<messaggio> messaggi_di(const modello& m, const nomi_sorgenti& nomi,
                                   const sorgenti* testi, const filtro_avvisi& filtro,
                                   bool rigoroso, std::span<const diagnosi> verifica = {});

// The message of a run that stopped before its binaries for a cause outside the texts.
messaggio messaggio_di_arresto(std::string_view causa);

// Each message, its source line and a caret under the field with the field's name.
// The source line's bytes are shown by the rule for names, the rest as the UTF-8 it
// is (a path names its file): never a control byte on the terminal.
void stampa_messaggi(std::ostream& out, const std::vector<messaggio>& m);

// "5 errori, 2 avvisi": the count that closes the messages of a run.
std::string conteggio(const std::vector<messaggio>& m);

// One message as a JSON object.
std::string json_messaggio(const messaggio& m);

}  // namespace percorso
