// What the program finds in a pair of texts, for the editor: the compiler's findings
// and the checker's, merged as the terminal shows them. The one place that turns
// their records into the editor's: the field's range and the places each names.
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

// Another place a finding names, and what stands there (UTF-8; empty when unsaid).
struct correlato {
  tratto dove;
  std::string cosa;
};

struct diagnostica {
  tratto dove;
  bool errore = true;
  std::string nome;                   // the finding's name; the code's number when it has none
  std::string messaggio;              // UTF-8
  std::vector<correlato> correlati;   // other lines the finding names
  std::optional<std::string> parola;  // what the field should read, when the finding knows it
  bool virgola_decimale = false;      // a number cut in two by a decimal comma
};

// Every finding of the texts, each over its field as the finding's record gives it.
// A finding without a place in a present text goes to the first line of the line
// text, or of the train text when there is no line text.
std::vector<diagnostica> diagnostiche_di(const sorgenti& testi);

}  // namespace percorso::lsp
