// Writes the two texts of the synthetic line into a directory, named so that
// `percorso compile` finds the scenario name and train number by itself.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "linea_sintetica.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "uso: genera_linea_sintetica DIR [LUNGHEZZA]\n");
    return 2;
  }
  const std::string cartella = argv[1];
  const long lunghezza =
      argc == 3 ? std::strtol(argv[2], nullptr, 10) : percorso::lunghezza_massima;
  if (lunghezza < 2 * percorso::metri_per_blocco || lunghezza > percorso::lunghezza_massima ||
      lunghezza % percorso::metri_per_blocco != 0) {
    std::fprintf(stderr,
                 "genera_linea_sintetica: lunghezza da 20000 a 1000000, multipla di 10000\n");
    return 2;
  }
  const auto testi = percorso::genera_linea_sintetica(static_cast<std::int32_t>(lunghezza));
  const std::pair<std::string, const std::string*> file[] = {
      {cartella + "/Sintetica_linea.txt", &testi.linea},
      {cartella + "/Sintetica_1-.txt", &testi.treno}};
  for (const auto& [nome, contenuto] : file) {
    std::ofstream out(nome, std::ios::binary);
    out.write(contenuto->data(), static_cast<std::streamsize>(contenuto->size()));
    if (!out) {
      std::fprintf(stderr, "genera_linea_sintetica: impossibile scrivere %s\n", nome.c_str());
      return 1;
    }
  }
  return 0;
}
