// The runs of the program: the embedded scenario, and an author's own texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

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

  // 0 clean, 1 findings with binaries written, 3 stopped before the binaries.
  int stato_uscita() const;
};

// Builds the model of the names in m from the texts, in memory; stopped when the
// binaries could not be written from it.
esito_esecuzione costruisci(modello m, const sorgenti& testi, std::int32_t j);

// Builds the model of the names in m from the texts and writes the three binary
// files into cartella; with con_documenti also the train sheet and the slowdown order
// built from the model.
esito_esecuzione costruisci_e_scrivi(file_system& fs, modello m, const sorgenti& testi,
                                     std::int32_t j, const std::string& cartella,
                                     bool con_documenti = false);

// The run without arguments: writes the embedded texts into cartella, compiles the
// two source texts back, deletes them and writes the binaries beside them.
esito_esecuzione esegui_percorso(file_system& fs, const std::string& cartella);

}  // namespace percorso
