// Which line text and which train text are checked together. A train text
// NOME_TRENO-.txt pairs with NOME_linea.txt beside it. A line text pairs with a train
// text of the same NOME open in the editor, else with the one beside it on disk; of
// several, the first in name order.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace percorso::lsp {

struct coppia {
  std::string linea;                // path; empty when the pair has no line text
  std::string treno;                // path; empty when the pair has no train text
  std::size_t treni_possibili = 0;  // train texts the line text could pair with
};

// The names of the files in a text's directory, in name order.
using nomi_accanto = std::function<std::span<const std::string>()>;

// The pair of the text at percorso. aperti are the paths open in the editor, compared
// as the system compares paths (on Windows whatever the separator); accanto is asked
// only when a line text has no partner open. A text named neither way is a train text
// when its name ends in "-.txt", else a line text, alone.
coppia coppia_di(const std::string& percorso, std::span<const std::string> aperti,
                 const nomi_accanto& accanto);

// Whether the path names a line text (NOME_linea.txt or any other name not ending in "-.txt").
bool e_testo_linea(const std::string& percorso);

// The names in the directories of line texts: each listed once, and again only when
// its names change, so that a directory of many files is not read at every keystroke.
class elenchi_cartelle {
 public:
  explicit elenchi_cartelle(file_system& fs) : fs_(fs) {}

  // The files of the directory, in name order.
  std::span<const std::string> nomi(const std::string& cartella);

 private:
  struct elenco {
    std::optional<std::int64_t> versione;  // nothing: to be listed again next time
    std::vector<std::string> nomi;
  };
  file_system& fs_;
  std::map<std::string, elenco> elenchi_;
};

}  // namespace percorso::lsp
