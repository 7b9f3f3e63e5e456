#include "cli/plot.h"

#include "cli/comandi.h"

namespace percorso {

std::string_view aiuto_plot() {
  return "uso: percorso plot CELLE [-o FILE.svg]\n";
}

int comando_plot(std::span<const std::string_view>, std::ostream&, std::ostream&, file_system&) {
  return uscita_uso;
}

}  // namespace percorso
