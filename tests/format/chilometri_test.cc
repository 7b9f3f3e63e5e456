// The forms positions are written in: the railway's kilometre where the texts set a
// reference, the distance from the start always.
#include "format/chilometri.h"

#include <gtest/gtest.h>

namespace percorso {
namespace {

std::array<punto, numero_punti> con_riferimento(std::int32_t inizio, std::int32_t progressiva) {
  std::array<punto, numero_punti> punti{};
  punti[slot_progressiva_tre].valore_1 = inizio;
  punti[slot_progressiva_tre].valore_2 = progressiva;
  return punti;
}

TEST(Chilometri, APositionIsToldAsTheRailwaysKilometreAndAsDistance) {
  const chilometrica senza;
  const chilometrica con(con_riferimento(0, 40000));
  EXPECT_FALSE(senza.con_riferimenti());
  EXPECT_TRUE(con.con_riferimenti());
  EXPECT_EQ(senza.luogo(450), "450 m");
  EXPECT_EQ(con.luogo(450), "km 40+450, 450 m dall'inizio");
  EXPECT_EQ(con.al_metro(8500), 48500);
  EXPECT_EQ(chilometrica(con_riferimento(2000, 500)).luogo(0), "km -2+500, 0 m dall'inizio");
}

TEST(Chilometri, MetresAsKilometres) {
  const std::pair<std::int64_t, const char*> casi[] = {
      {0, "0.000"}, {12600, "12.600"}, {-400, "-0.400"}, {94000, "94.000"}, {5, "0.005"}};
  for (const auto& [metri, testo] : casi) EXPECT_EQ(km_testo(metri), testo);
}

// A length for an Italian reader: never "6.000 km", which reads as six thousand.
TEST(Chilometri, LengthsWithADecimalComma) {
  const std::pair<std::int64_t, const char*> casi[] = {
      {6000, "6,0"}, {94050, "94,05"}, {12345, "12,345"}, {-400, "-0,4"}, {0, "0,0"}, {5, "0,005"}};
  for (const auto& [metri, testo] : casi) EXPECT_EQ(km_italiano(metri), testo);
}

}  // namespace
}  // namespace percorso
