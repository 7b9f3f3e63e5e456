// libFuzzer entry point; the checks are in ingressi.h, shared with the corpus test.
#include <cstdio>
#include <cstdlib>

#include "ingressi.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
  if (const auto v = percorso::fuzz::prova_trama_lsp({dati, dimensione})) {
    std::fprintf(stderr, "violazione: %s\n", v->c_str());
    std::abort();
  }
  return 0;
}
