// What the program tells its user about a compilation: findings and warnings with
// their place in the texts, printed with the source line and a caret, or as JSON.
#pragma once

#include <cstdint>
#include <functional>
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
  std::string campo;          // the field's name in the keyword table, when known
  std::string unita;          // and its unit
  std::string testo;          // the whole first line, "FILE:LINE:COL: errore CODE: ..."
  std::string riga_sorgente;  // the source line, or an excerpt around the field when it is long
  std::int32_t colonna_segno = 0;  // where the caret goes in riga_sorgente (1-based)
};

// A finding of the author's checker about a place in a text.
struct segnalazione {
  bool errore = false;  // counts as an error; otherwise it is a warning
  std::string_view nome;
  std::optional<std::int32_t> codice;  // the compiler's code for the same fault, if any
  fonte testo = fonte::nessuna;
  std::int32_t riga = 0;
  std::int32_t colonna = 0;
  std::string_view campo;
  std::string_view unita;
  std::string messaggio;
};

// The name and unit of the field that begins at a column of a source line.
struct campo_nominato {
  std::string_view nome;
  std::string_view unita;
};
using nomina_campo = std::function<std::optional<campo_nominato>(fonte testo, std::string_view riga,
                                                                 std::int32_t colonna)>;

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

// The findings of m, then, in the order of the texts, its warnings and the checker's
// findings the filter shows. A warning is left out where the checker speaks of the
// same line; a checker's finding of the code the compiler recorded at its line is
// told with the compiler's finding instead.
// testi, when given, supplies the source lines; campo names the fields of findings
// that know only their column.
std::vector<messaggio> messaggi_di(const modello& m, const nomi_sorgenti& nomi,
                                   const sorgenti* testi, const filtro_avvisi& filtro,
                                   std::span<const segnalazione> verifica = {},
                                   const nomina_campo& campo = {});

// The message of a run that stopped: a program error (1250, 1251) or another cause.
messaggio messaggio_di_arresto(std::string_view causa,
                               std::optional<std::int32_t> errore_programma);

// Each message, its source line and a caret under the field with the field's name.
// Bytes of the texts are shown by the rule for names: never a
// control byte on the terminal.
void stampa_messaggi(std::ostream& out, const std::vector<messaggio>& m);

// "5 errori, 2 avvisi": the count that closes the messages of a run.
std::string conteggio(const std::vector<messaggio>& m);

// One message as a JSON object.
std::string json_messaggio(const messaggio& m);

}  // namespace percorso
