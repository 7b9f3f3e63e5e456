// The excerpt of a source line beside a message: bounded however long the line and
// however far apart the places it must show.
#include "diagnostics/estratto.h"

#include <gtest/gtest.h>

namespace percorso {
namespace {

TEST(Estratto, ALongLineIsCutAroundWhatItMustShow) {
  const std::string lunga = std::string(1000, 'x') + "CAMPO" + std::string(5000, 'y');
  struct caso {
    const char* nome;
    std::int32_t da, a;
    std::string atteso;
  };
  const caso casi[] = {
      {"one place", 1001, 1001,
       "..." + std::string(60, 'x') + "CAMPO" + std::string(55, 'y') + "..."},
      {"a field", 1001, 1005,
       "..." + std::string(60, 'x') + "CAMPO" + std::string(59, 'y') + "..."},
      {"at the start", 1, 1, std::string(60, 'x') + "..."},
      {"past the end", 90000, 90000, "..."},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const estratto_riga e = estratto_di(lunga, c.da, c.a);
    EXPECT_EQ(e.testo, c.atteso);
    if (c.da == 1001) EXPECT_EQ(e.testo.substr(e.colonna(1001) - 1, 5), "CAMPO");
  }
}

TEST(Estratto, PlacesFarApartKeepTheExcerptBounded) {
  const std::string lunga(100000, 'x');
  const estratto_riga e = estratto_di(lunga, 10, 90000);
  // Half a line's worth on each side of their middle, then the margins.
  EXPECT_EQ(e.testo.size(), 3 + 60 + 160 + 60 + 3u);
  EXPECT_EQ(e.colonna(45005), 3 + 60 + 80 + 1);
}

TEST(Estratto, AShortLineIsWholeAndTheUnderlineStopsAtItsEnd) {
  const estratto_riga e = estratto_di("ab, cde", 5, 5);
  EXPECT_EQ(e.testo, "ab, cde");
  EXPECT_EQ(e.segno(5, 8), std::pair(5, 8));
  EXPECT_EQ(e.segno(5, 0), std::pair(5, 6));   // the field's end unknown: one byte
  EXPECT_EQ(e.segno(5, 40), std::pair(5, 8));  // never past the line
}

}  // namespace
}  // namespace percorso
