// The one table of findings: every name the compiler and the checker give, with its
// level, the compiler's code when it always carries one, its message template and a
// line of explanation. Both emit a finding only through an entry of this table;
// explain, --no-warn and a language server read it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/diagnosi.h"

namespace percorso {

struct genere_constatazione {
  std::string_view nome;  // stable short name, usable with --no-warn
  livello grado;
  // An error that is only a warning where the compiled output is not at stake (a
  // rounded multiple, an unknown keyword with no near one).
  bool attenuabile = false;
  std::optional<std::int32_t> codice;  // the compiler's code, when every case carries it
  std::string_view modello;            // the message, "{}" standing for what the case fills in
  std::string_view spiegazione;        // one line: what it points at
};

namespace genere {

#define PERCORSO_GENERE(id, ...) inline constexpr genere_constatazione id{__VA_ARGS__};
#include "sintassi/constatazioni.inc"
#undef PERCORSO_GENERE

}  // namespace genere

// Every entry, in the order explain lists them.
std::span<const genere_constatazione* const> generi_constatazioni();

// The entry named nome, or nullptr.
const genere_constatazione* genere_di_nome(std::string_view nome);

// The level of a case: the entry's, lowered to a warning where attenuato and allowed.
livello grado_di(const genere_constatazione& g, bool attenuato);

// A piece of source text for a message: a long one is cut to its beginning, so the
// message stays one short line whatever the text holds.
std::string corto(std::string_view testo);

// The entry's template with each "{}" replaced, in order, by a part.
std::string testo_di(const genere_constatazione& g, std::initializer_list<std::string_view> parti);

}  // namespace percorso
