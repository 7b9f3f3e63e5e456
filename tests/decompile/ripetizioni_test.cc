// The order of the rows that write repetition codes: each cell's last writer is the one
// whose code the cell shows, and stations keep the order of their numbers.
#include "decompile/ripetizioni.h"

#include <gtest/gtest.h>

namespace percorso {
namespace {

std::vector<cella> con_ripetizioni(std::initializer_list<std::pair<std::size_t, std::uint8_t>> r) {
  std::vector<cella> celle(20);
  for (const auto& [c, v] : r) celle[c].ripetizione = v;
  return celle;
}

TEST(OrdinaRipetizioni, EachCellsLastWriterIsTheOneItShows) {
  // A signal at 10 (codes 41..44 at 8, 6, 4, 2) and one at 14 (11..14 at 12, 10, 8, 6):
  // the cells they share show the second's codes, so it goes last.
  const std::vector<scrittore_ripetizioni> segnali = {
      {{{8, 41}, {6, 42}, {4, 43}, {2, 44}}, 0, 0, 10},
      {{{12, 11}, {10, 12}, {8, 13}, {6, 14}}, 0, 0, 14},
  };
  const auto celle = con_ripetizioni({{12, 11}, {10, 12}, {8, 13}, {6, 14}, {4, 43}, {2, 44}});
  const auto o = ordina_ripetizioni(segnali, celle, 0);
  EXPECT_TRUE(o.bloccate.empty());
  EXPECT_EQ(o.righe, (std::vector<std::size_t>{0, 1}));
  // When the shared cells show the first's codes, the second must go first.
  const auto altre = con_ripetizioni({{12, 11}, {10, 12}, {8, 41}, {6, 42}, {4, 43}, {2, 44}});
  EXPECT_EQ(ordina_ripetizioni(segnali, altre, 0).righe, (std::vector<std::size_t>{1, 0}));
}

TEST(OrdinaRipetizioni, StationsKeepTheirOrderAndTheLastOneCanBeMadeLast) {
  // Station 1 writes 81, 82 at 9, 8; a signal writes 71 at 9; station 2 writes 81 at 15.
  const std::vector<scrittore_ripetizioni> s = {
      {{{9, 81}, {8, 82}}, 1, 0, 10},
      {{{15, 81}}, 2, 0, 16},
      {{{9, 71}}, 0, 0, 11},
  };
  const auto celle = con_ripetizioni({{9, 71}, {8, 82}, {15, 81}});
  EXPECT_EQ(ordina_ripetizioni(s, celle, 0).righe, (std::vector<std::size_t>{0, 1, 2}));
  EXPECT_EQ(ordina_ripetizioni(s, celle, 2).righe, (std::vector<std::size_t>{0, 2, 1}));
  // A row that must come before station 1 cannot follow it; a cell no writer's code
  // shows leaves its writers without an order.
  std::vector<scrittore_ripetizioni> prima = s;
  prima[2].prima_di = 1;
  EXPECT_EQ(ordina_ripetizioni(prima, celle, 0).bloccate, (std::vector<std::size_t>{0, 2}));
  const auto estranea = con_ripetizioni({{9, 55}, {8, 82}, {15, 81}});
  EXPECT_FALSE(ordina_ripetizioni(s, estranea, 0).bloccate.empty());
}

}  // namespace
}  // namespace percorso
