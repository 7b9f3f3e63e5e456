#include "cli/servizio_lsp.h"

#include <iostream>

#include "cli/uscita.h"
#include "lsp/server.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
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
#ifdef __GLIBC__
  // Every check builds a plan of up to 16 MB again: kept in the heap instead of mapped
  // afresh each time, its pages are not faulted in and zeroed by the system at every key.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
  return lsp::servi(std::cin, out, fs, PERCORSO_VERSIONE);
}

}  // namespace percorso
