// Which line text and which train text are checked together. A train text
// NOME_TRENO-.txt pairs with NOME_linea.txt beside it. A line text pairs with a train
// text of the same NOME open in the editor, else with the one beside it on disk; of
// several, the first in name order.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace percorso::lsp {

struct coppia {
  std::string linea;                // path; empty when the pair has no line text
  std::string treno;                // path; empty when the pair has no train text
  std::size_t treni_possibili = 0;  // train texts the line text could pair with
};

// The pair of the text at percorso. aperti are the paths open in the editor;
// accanto, the names of the files in its directory in name order. A text named
// neither way is a train text when its name ends in "-.txt", else a line text, alone.
coppia coppia_di(const std::string& percorso, std::span<const std::string> aperti,
                 std::span<const std::string> accanto);

// Whether the path names a line text (NOME_linea.txt or any other name not ending in "-.txt").
bool e_testo_linea(const std::string& percorso);

}  // namespace percorso::lsp
