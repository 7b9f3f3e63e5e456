// What the program finds in a pair of texts, for the editor: the compiler's findings
// and the checker's, merged as the terminal shows them. The one place that knows how
// today's findings are told; each becomes a record with its text, its field's range
// and the places it names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/modello.h"
#include "model/sorgenti.h"

namespace percorso::lsp {

// A place in one of the two texts: 1-based line, byte columns from inizio to before fine.
struct tratto {
  fonte testo = fonte::nessuna;
  std::int32_t riga = 1;
  std::int32_t inizio = 1;
  std::int32_t fine = 1;
};

struct diagnostica {
  tratto dove;
  bool errore = true;
  std::string nome;                   // the finding's name; the code's number when it has none
  std::string messaggio;              // UTF-8
  std::vector<tratto> correlati;      // other lines the finding names
  std::optional<std::string> parola;  // the keyword it suggests, for a misspelt one
  bool virgola_decimale = false;      // a number cut in two by a decimal comma
};

// Every finding of the texts. A finding without a place in a present text goes to
// the first line of the line text, or of the train text when there is no line text.
std::vector<diagnostica> diagnostiche_di(const sorgenti& testi);

// Where the field beginning at a column of a line ends: keywords and names run to the
// next comma, numbers to the next blank or comma; at least one byte where the line has one.
std::int32_t fine_campo(fonte testo, std::string_view riga, std::int32_t colonna);

}  // namespace percorso::lsp
