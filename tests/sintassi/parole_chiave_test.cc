// The print of a field only spares tests: with it every keyword takes exactly the
// fields it takes without it.
#include "sintassi/parole_chiave.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace percorso {
namespace {

// Fields near each keyword's own: its name and pieces as written, in capitals, with
// one character changed or dropped, and glued to another keyword's piece.
std::vector<std::string> campi_vicini() {
  std::vector<std::string> campi = {"", " ", "[curve]", "a-1", "12", "Curva3D", "CURVAS4", "_"};
  for (const parola_chiave& k : parole_chiave()) {
    for (const std::string_view t : {k.nome, k.pezzo_1, k.pezzo_2}) {
      std::string s(t), alto(t);
      for (char& c : alto) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
      campi.insert(campi.end(), {s, alto, s + " " + std::string(k.pezzo_2)});
      for (std::size_t i = 0; i < s.size(); ++i) {
        std::string cambiato = s, tolto = s;
        cambiato[i] = static_cast<char>(cambiato[i] ^ 0x21);
        tolto.erase(i, 1);
        campi.insert(campi.end(), {cambiato, tolto});
      }
    }
  }
  return campi;
}

TEST(ParoleChiave, ThePrintOfAFieldChangesNoTest) {
  std::size_t prese = 0;
  for (const std::string& campo : campi_vicini()) {
    const std::uint64_t i = impronta(campo);
    for (const parola_chiave& k : parole_chiave()) {
      const bool senza = corrisponde(k, campo);
      EXPECT_EQ(corrisponde(k, campo, i), senza) << k.nome << " / '" << campo << "'";
      prese += senza;
    }
  }
  EXPECT_GT(prese, parole_chiave().size());
}

}  // namespace
}  // namespace percorso
