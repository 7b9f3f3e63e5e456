// The rows of a profile run: one per change of value at the cell where it changes; the
// last cells, which no row position reaches, by rows behind the cursor.
#include "decompile/profili.h"

#include <gtest/gtest.h>

#include <vector>

namespace percorso {
namespace {

struct caso {
  const char* nome;
  std::vector<std::uint8_t> byte;
  std::uint8_t iniziale;
  bool coda;
  std::vector<riga_profilo> attese;
};

TEST(RigheProfilo, OneRowPerChangeAndRowsBehindTheCursorForTheLastCells) {
  // Ten cells: rows name cells up to 7, the tail writes up to cell 6.
  const caso casi[] = {
      {"all the value in force: the tail writes it", {5, 5, 5, 5, 5, 5, 5, 0, 0, 0}, 5, true, {}},
      {"another value from the start", {7, 7, 7, 7, 7, 7, 7, 0, 0, 0}, 5, true, {{0, 7, false}}},
      {"a change at cell 3", {5, 5, 5, 9, 9, 9, 9, 0, 0, 0}, 5, true, {{3, 9, false}}},
      {"the last cell written",
       {5, 5, 5, 5, 5, 5, 5, 5, 5, 4},
       5,
       true,
       {{7, 5, false}, {7, 5, true}, {7, 4, true}}},
      {"no tail: nothing past the last value",
       {5, 5, 9, 0, 0, 0, 0, 0, 0, 0},
       5,
       false,
       {{2, 9, false}, {3, 5, false}}},
      {"no tail and nothing written", std::vector<std::uint8_t>(10, 0), 5, false, {}},
  };
  for (const caso& c : casi)
    EXPECT_EQ(righe_profilo(c.byte, c.iniziale, c.coda), c.attese) << c.nome;
}

}  // namespace
}  // namespace percorso
