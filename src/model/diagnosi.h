// The one diagnostic record: what the compiler and the checker find in a text, with
// its place as a byte range and the other places it speaks of. It is plain data;
// the terminal, the JSON report, the page and an editor each render it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace percorso {

// Where a finding came from, for diagnostics.
enum class fonte : std::uint8_t { nessuna, linea, treno, completamento, costruzione };

enum class livello : std::uint8_t { errore, avviso };

// Another place a finding speaks of: the station that already holds a cell.
struct luogo_correlato {
  enum fonte fonte = fonte::nessuna;
  std::int32_t riga = 0;
  std::string cosa;  // what stands there: "stazione MEZZAVIA"
  std::string file;  // the text's file name, given at the edge that knows it
};

struct diagnosi {
  livello grado = livello::errore;
  std::string_view nome;               // the name in the table of findings
  std::optional<std::int32_t> codice;  // the compiler's code for the same fault
  enum fonte fonte = fonte::nessuna;
  std::int32_t riga = 0;  // 1-based line in its text, 0 when unknown
  // The last line of the rows it speaks for, when one finding tells a run of them.
  std::int32_t riga_fine = 0;
  // 1-based byte columns: the first byte, and the one after the last (0: the edge finds
  // the field holding colonna); columns stay bytes, each edge converts them.
  std::int32_t colonna = 0;
  std::int32_t colonna_fine = 0;
  std::string_view campo;  // the field's name and unit in the keyword table, when known
  std::string_view unita;
  std::string messaggio;
  std::vector<luogo_correlato> correlati;
  std::string sostituzione;  // what the field should read, when the finding knows it
};

// The end column of a field of larghezza bytes at colonna; an empty field covers no
// byte, and 0 leaves the edge to mark its place.
inline std::int32_t fine_del_campo(std::int32_t colonna, std::size_t larghezza) {
  return larghezza == 0 ? 0 : colonna + static_cast<std::int32_t>(larghezza);
}

}  // namespace percorso
