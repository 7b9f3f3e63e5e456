// The reading of a command's arguments: options with or without a value, and the
// nearest known word for a mistyped one.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/parole_vicine.h"

namespace percorso {

// An option a command takes; one with a value takes `--opt VALUE` and `--opt=VALUE`.
struct opzione {
  std::string_view nome;
  bool con_valore = false;
};

struct argomenti {
  // The options given, in order, with their values ("" for those without).
  std::vector<std::pair<std::string_view, std::string>> opzioni;
  std::vector<std::string_view> posizionali;
};

// Reads the arguments against the options a command takes; after "--" every
// argument is positional. An error text for an unknown option (with the nearest
// known one) or a missing value.
std::optional<std::string> leggi_argomenti(std::span<const std::string_view> a,
                                           std::span<const opzione> ammesse, argomenti& letti);

}  // namespace percorso
