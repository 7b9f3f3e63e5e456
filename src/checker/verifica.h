// The author's checker: reads the two source texts as their author sees them, line
// by line and field by field against the keyword table, and returns every problem in
// one run. It reads the texts only; the compiled model is never touched.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compilatore.h"
#include "compiler/parole_chiave.h"
#include "format/chilometri.h"
#include "model/modello.h"

namespace percorso {

enum class livello : std::uint8_t { errore, avviso };

// One problem of a text.
struct constatazione {
  livello grado = livello::errore;
  std::string_view nome;  // stable short name, usable with --no-warn
  fonte testo = fonte::nessuna;
  std::int32_t riga = 0;                 // 1-based
  std::int32_t colonna = 0;              // 1-based byte column
  const campo_formato* campo = nullptr;  // the field of the table, when the problem is one
  std::string messaggio;
  // The compiler's code for the same fault, when the compiler would record it there.
  std::optional<std::int32_t> codice;
};

// Every problem of the texts, ordered by text, line and column. rilievi are the
// compiler's findings for the same texts: where one stopped the reading of a text,
// a note says that the rest of it was not compiled. Positions in messages are told
// by km, the kilometres of the compiled line.
std::vector<constatazione> verifica(const sorgenti& testi, std::span<const rilievo> rilievi = {},
                                    const chilometrica& km = {});

// Names of every finding the checker gives.
std::span<const std::string_view> nomi_constatazioni();

}  // namespace percorso
