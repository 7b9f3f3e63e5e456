// Texts written into a directory: the embedded ones, and an author's starting texts,
// which must never replace what the author has written.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "writers/scrittori.h"

namespace percorso {

// What to do with a file that is already there.
enum class se_esiste {
  rifiuta,             // any file already there stops the write
  rifiuta_se_diverso,  // a file that holds something else stops the write
  sostituisci,         // every file that differs is replaced
};

struct esito_testi {
  std::vector<std::string> rifiutati;  // files already there: nothing was written
  std::vector<std::string> scritti;
  std::vector<std::string> invariati;  // already equal to their text, left untouched
  std::optional<errore_file> errore;   // the directory or a file could not be made or read
  std::string_view operazione;         // what failed: "creare", "leggere" or "scrivere"
};

// Creates the directory when missing and writes the texts into it in one commit.
// Every file is looked at before any is written, so a refusal writes none of them;
// a file equal to its text is never rewritten.
esito_testi scrivi_testi_protetti(file_system& fs, const std::string& cartella,
                                  std::span<const testo_da_scrivere> testi, se_esiste regola);

}  // namespace percorso
