// Runs many commands of the program in one process: under Wine every process start
// costs seconds, so the comparison of the two systems' bytes runs its cases here.
// usage: percorso_lotto LIST STATUSES
// LIST holds one command a line, its arguments separated by tabs; STATUSES gets the
// exit status of each, one a line. The commands' output is dropped.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/comandi.h"
#include "platform/console.h"

namespace {

std::vector<std::string> campi(const std::string& riga) {
  std::vector<std::string> a;
  std::istringstream in(riga);
  for (std::string c; std::getline(in, c, '\t');) a.push_back(c);
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  percorso::prepara_console();
  const std::vector<std::string> argomenti = percorso::argomenti_programma(argc, argv);
  if (argomenti.size() != 2) {
    std::cerr << "uso: percorso_lotto ELENCO ESITI\n";
    return 2;
  }
  std::ifstream elenco(argomenti[0], std::ios::binary);
  std::ofstream esiti(argomenti[1], std::ios::binary);
  const auto fs = percorso::file_system_reale();
  for (std::string riga; std::getline(elenco, riga);) {
    const std::vector<std::string> a = campi(riga);
    const std::vector<std::string_view> viste(a.begin(), a.end());
    std::ostringstream out, err;
    esiti << percorso::esegui_comando(viste, out, err, *fs) << '\n';
  }
  return esiti ? 0 : 3;
}
