#include "cli/servizio_lsp.h"

#include <iostream>

#include "cli/uscita.h"
#include "lsp/server.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace percorso {

int comando_lsp(std::span<const std::string_view> argomenti, std::ostream& out, std::ostream& err,
                file_system& fs) {
  if (!argomenti.empty())
    return errore_uso(
        err, "troppi argomenti: lsp non ne prende (" + std::string(argomenti[0]) + ")", "lsp");
#ifdef _WIN32
  // The protocol counts bytes: no CR may be added or taken away.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  return lsp::servi(std::cin, out, fs, PERCORSO_VERSIONE);
}

}  // namespace percorso
