// The runs of the program: the embedded scenario, and an author's own texts.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "compiler/compilatore.h"
#include "documents/documento.h"
#include "model/modello.h"
#include "platform/file_system.h"

namespace percorso {

inline constexpr std::string_view nome_percorso_incorporato = "Varmena_Ostrana";
inline constexpr std::string_view numero_treno_incorporato = "917";

struct esito_esecuzione {
  enum class tipo {
    ok,         // binaries written, no finding
    errore,     // binaries written, findings recorded
    interrotto  // stopped before the binaries
  };
  tipo esito = tipo::ok;
  std::optional<std::int32_t> errore_programma;  // 1250 or 1251
  std::string causa;                             // why the run stopped, when it did
  modello m;
  std::vector<avviso_documento> avvisi_documenti;  // what the documents could not show
  std::size_t file_scritti = 0;                    // by the commit, when it was made

  // 0 clean, 1 findings with binaries written, 3 stopped before the binaries.
  int stato_uscita() const;
};

// A file a run writes beside its binaries, in the same commit: the report, the
// documents for the driver.
struct file_accanto {
  std::string percorso;
  std::vector<std::uint8_t> byte;
};

// Builds the model of the names in m from the texts, with the plan flag j; writes nothing.
esito_esecuzione costruisci(modello m, const sorgenti& testi, std::int32_t j,
                            coordinate_piano coordinate = coordinate_piano::tenute);

// The train sheet and the slowdown order built from the model of e, when it was
// built, as files of cartella; what they cannot show goes to e.avvisi_documenti.
std::vector<file_accanto> documenti_del_modello(esito_esecuzione& e, const std::string& cartella);

// Writes in one commit, the set s, the binaries of e, when it was built, into
// cartella, and the other files. If the commit fails before its renames nothing is
// replaced, and e is stopped with the cause.
void scrivi_uscita(insieme_uscita& s, esito_esecuzione& e, const std::string& cartella,
                   std::span<const file_accanto> altri);

// The run without arguments: writes the two source texts into cartella, reads them
// back and deletes them, compiles them, and writes the three documents and the
// binaries beside them in one commit. Other runs into cartella wait for its end.
esito_esecuzione esegui_percorso(file_system& fs, const std::string& cartella);

}  // namespace percorso
