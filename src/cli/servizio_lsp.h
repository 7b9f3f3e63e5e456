// The lsp command: the language server on the program's standard input and output.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "platform/file_system.h"

namespace percorso {

// percorso lsp: serves the editor on standard input until exit; out must be standard output.
int comando_lsp(std::span<const std::string_view> argomenti, std::ostream& out, std::ostream& err,
                file_system& fs);

}  // namespace percorso
