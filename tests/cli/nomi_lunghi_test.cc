// A name of a megabyte costs what its text costs: every warning quotes 40 characters
// of it, every drawing and table shows a short piece, so nothing written grows with it.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/cartella_temporanea.h"
#include "support/comando.h"

namespace percorso {
namespace {

TEST(NomiLunghi, AreQuotedAndDrawnCutInEveryOutput) {
  cartella_temporanea dir;
  ASSERT_EQ(esegui({"new", "Prova", "42", dir.percorso().string()}).stato, 0);
  const auto byte = leggi_file(dir.file("Prova_42-.txt"));
  std::string treno(byte.begin(), byte.end());
  const std::string lungo(1 << 20, 'N');
  treno.replace(treno.find("CAPOLINEA NORD"), 14, lungo);
  scrivi_file(dir.file("Prova_42-.txt"), treno);
  const std::string linea = dir.file("Prova_linea.txt"), testo_treno = dir.file("Prova_42-.txt");

  const risposta c =
      esegui({"compile", linea, testo_treno, "--documents", "--report", dir.file("rapporto.json")});
  EXPECT_EQ(c.stato, 0) << c.err.substr(0, 300);
  EXPECT_NE(c.err.find("avviso [documento]: '" + std::string(40, 'N') + "...'"), std::string::npos)
      << c.err.substr(0, 300);
  EXPECT_LT(c.err.size(), 2000u);
  EXPECT_LT(std::filesystem::file_size(dir.file("rapporto.json")), 4000u);

  const risposta p = esegui({"page", linea, testo_treno, "-o", dir.file("pagina.html")});
  EXPECT_EQ(p.stato, 0) << p.err.substr(0, 300);
  EXPECT_LT(std::filesystem::file_size(dir.file("pagina.html")), 1000000u);

  const risposta g = esegui({"plot", dir.file("Prova_42.dat"), "-o", dir.file("disegno.svg")});
  EXPECT_EQ(g.stato, 0) << g.err.substr(0, 300);
  EXPECT_LT(std::filesystem::file_size(dir.file("disegno.svg")), 200000u);
}

}  // namespace
}  // namespace percorso
