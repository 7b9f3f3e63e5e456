// Texts built to make the compiler work hard: each ends with a bounded table and
// a bounded list of messages, whatever the number of lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/testi_sorgente.h"

namespace percorso {
namespace {

using prova::compila;

std::string ripeti(std::string_view riga, int volte) {
  std::string t;
  for (int i = 0; i < volte; ++i) t.append(riga).append("\r\n");
  return t;
}

std::string linea_lunga(const std::string& corpo) {
  return "[generale]\r\nlunghezza percorso, 1000000\r\n[curve]\r\n" + corpo + "[fine]\r\n";
}

TEST(LavoroLimitato, StrayFieldsKeepAHundredWarningsOfAKind) {
  const modello m = compila(linea_lunga(ripeti("zz", 5000)), prova::treno(), 1);
  const auto n = std::count_if(m.avvisi.begin(), m.avvisi.end(),
                               [](const diagnosi& a) { return a.nome == "chiave-sconosciuta"; });
  EXPECT_EQ(n, 100);
  EXPECT_NE(m.avvisi.back().messaggio.find("da qui in poi gli avvisi [chiave-sconosciuta]"),
            std::string::npos);
  EXPECT_EQ(m.codice_errore, 0);
}

TEST(LavoroLimitato, TablesStopAtTheirBoundsWhateverTheNumberOfLines) {
  struct caso {
    const char* nome;
    std::string linea;
    std::string treno;
    std::int32_t codice;
  };
  std::string stazioni;
  for (int k = 0; k < 2000; ++k)
    stazioni += "stazione, " + std::to_string(1000 * k + 1000) +
                ", 12, 200, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, S\r\n";
  std::string cartelli;
  for (int k = 0; k < 2000; ++k)
    cartelli += "cartello_indicatore, " + std::to_string(100 * k) + ", [x]\r\n";
  const caso casi[] = {
      // Each line behind the cursor still fills one cell, until the cursor leaves the cells.
      {"gradient lines behind the cursor", linea_lunga(ripeti("pendenza, 50, 1", 30000)),
       prova::treno(), 25},
      // The plan stops at metre 1000000, however long the curve.
      {"endless curve", linea_lunga("curvad1, 0, 2147483647\r\n"), prova::treno(), 103},
      // 80 board slots, then the slot would fall below 0.
      {"boards beyond the point table", linea_lunga(cartelli), prova::treno(), 25},
      // Stations fill the point table up to the board slots.
      {"stations beyond the point table", linea_lunga(""), "[generale]\r\n" + stazioni, 10},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    const modello m = compila(c.linea, c.treno, 1);
    EXPECT_EQ(m.codice_errore, c.codice);
    EXPECT_LE(m.rilievi.size(), 2u);
    ASSERT_TRUE(m.tracciato.has_value());
    // The largest table: the plan of a 1000000 m line and the 7000 m after it.
    EXPECT_EQ(m.tracciato->x.size(), 1007001u);
    EXPECT_LE(m.tracciato->assegnati, 1006999);
  }
}

}  // namespace
}  // namespace percorso
