// The benchmarks' synthetic line of 1000000 m, a text far longer than the embedded
// ones: the checker leaves its compilation as it is and finds nothing wrong in it.
#include "linea_sintetica.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "../../fuzz/ingressi.h"

namespace percorso {
namespace {

TEST(LineaSintetica, CheckerLeavesTheCompilationAsItIsAndFindsNoError) {
  const linea_sintetica t = genera_linea_sintetica(lunghezza_massima);
  std::vector<std::uint8_t> ingresso{1};
  ingresso.insert(ingresso.end(), t.linea.begin(), t.linea.end());
  ingresso.push_back(0);
  ingresso.insert(ingresso.end(), t.treno.begin(), t.treno.end());
  const auto violazione = fuzz::prova_verifica(ingresso);
  EXPECT_FALSE(violazione.has_value()) << *violazione;

  const auto [j, testi] = fuzz::dividi_ingresso(ingresso);
  const auto trovate = verifica(testi);
  EXPECT_TRUE(std::none_of(trovate.begin(), trovate.end(), [](const diagnosi& c) {
    return c.grado == livello::errore;
  })) << trovate.front().messaggio;
}

}  // namespace
}  // namespace percorso
