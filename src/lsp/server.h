// The language server: reads messages from one stream and answers on another, one
// at a time. Texts opened in the editor are checked in memory with their partner on
// every change; nothing is written but protocol.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "platform/file_system.h"

namespace percorso::lsp {

// Serves the messages of in until exit or the end of in; the exit status: 0 after
// shutdown, 1 otherwise. fs reads the partners that are not open in the editor.
int servi(std::istream& in, std::ostream& out, file_system& fs, const std::string& versione);

}  // namespace percorso::lsp
