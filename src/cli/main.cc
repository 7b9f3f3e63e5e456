#include <iostream>
#include <string_view>
#include <vector>

#include "cli/comandi.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> argomenti(argv + 1, argv + argc);
  const auto fs = percorso::file_system_reale();
  return percorso::esegui_comando(argomenti, std::cout, std::cerr, *fs);
}
