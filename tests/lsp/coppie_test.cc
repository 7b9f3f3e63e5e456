// Which texts are checked together.
#include "lsp/coppie.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace percorso::lsp {
namespace {

// A joined path with the system's separator; the cases are written with '/'.
std::string con_barre(std::string p) {
  std::replace(p.begin(), p.end(), '\\', '/');
  return p;
}

TEST(Coppie, LineaETrenoSiTrovanoPerNome) {
  struct caso {
    const char* nome;
    std::string testo;
    std::vector<std::string> aperti;
    std::vector<std::string> accanto;
    coppia attesa;
  };
  const std::vector<std::string> cartella = {"Alto_9-.txt", "Valle_2211-.txt", "Valle_3-.txt",
                                             "Valle_linea.txt", "note.txt"};
  const std::vector<caso> casi = {
      {"treno: la sua linea",
       "/d/Valle_3-.txt",
       {},
       {},
       {"/d/Valle_linea.txt", "/d/Valle_3-.txt", 0}},
      {"treno con _ nel nome",
       "/d/Val_le_3-.txt",
       {},
       {},
       {"/d/Val_le_linea.txt", "/d/Val_le_3-.txt", 0}},
      {"linea: il primo per nome accanto",
       "/d/Valle_linea.txt",
       {},
       cartella,
       {"/d/Valle_linea.txt", "/d/Valle_2211-.txt", 2}},
      {"linea: quello aperto prima di quelli su disco",
       "/d/Valle_linea.txt",
       {"/d/Valle_linea.txt", "/d/Valle_3-.txt", "/e/Valle_1-.txt"},
       cartella,
       {"/d/Valle_linea.txt", "/d/Valle_3-.txt", 1}},
      {"linea senza treno",
       "/d/Alto_linea.txt",
       {},
       {"Alto_linea.txt"},
       {"/d/Alto_linea.txt", "", 0}},
      {"altro nome: linea da sola", "/d/prova.txt", {}, cartella, {"/d/prova.txt", "", 0}},
      {"treno senza nome", "/d/x-.txt", {}, {}, {"", "/d/x-.txt", 0}},
  };
  for (const caso& c : casi) {
    const coppia x = coppia_di(c.testo, c.aperti, c.accanto);
    EXPECT_EQ(con_barre(x.linea), c.attesa.linea) << c.nome;
    EXPECT_EQ(con_barre(x.treno), c.attesa.treno) << c.nome;
    EXPECT_EQ(x.treni_possibili, c.attesa.treni_possibili) << c.nome;
  }
}

}  // namespace
}  // namespace percorso::lsp
