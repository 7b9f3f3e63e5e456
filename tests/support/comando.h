// Runs a command of the program in process, on the real disk, capturing its output.
#pragma once

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/comandi.h"

namespace percorso {

struct risposta {
  int stato;
  std::string out, err;
};

inline risposta esegui(std::vector<std::string> argomenti) {
  const std::vector<std::string_view> viste(argomenti.begin(), argomenti.end());
  std::ostringstream out, err;
  const auto fs = file_system_reale();
  const int stato = esegui_comando(viste, out, err, *fs);
  return {stato, out.str(), err.str()};
}

}  // namespace percorso
