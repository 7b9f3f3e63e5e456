// The layout of the rebuilt texts: the numbers of one keyword in columns, a name last,
// the rows kept only for the bytes found again by their line.
#include "decompile/righe.h"

#include <gtest/gtest.h>

namespace percorso {
namespace {

TEST(Impagina, AlignsTheRowsOfOneKeywordAndNumbersTheRowsForTheBytes) {
  const std::vector<blocco_testo> blocchi = {
      {"[generale]", {{"sabbia", {200}, std::nullopt, ""}}},
      {"[segnali]",
       {{"segnale", {850, 2, 257}, std::nullopt, ""},
        {"segnale", {12600, 1, 0}, std::nullopt, "tempo + 256"},
        {"stazione", {0, 12}, "CAPOLINEA NORD", ""}}},
      {"[fine]", {}},
  };
  const testo_impaginato t = impagina(blocchi);
  const std::vector<std::string> attese = {
      "[generale]",
      "sabbia, 200",
      "[segnali]",
      "segnale,   850, 2, 257",
      "segnale, 12600, 1,   0",
      "stazione, 0, 12, CAPOLINEA NORD",
      "[fine]",
  };
  EXPECT_EQ(t.righe, attese);
  ASSERT_EQ(t.riproduzione.size(), 1u);
  EXPECT_EQ(t.riproduzione[0].riga, 5);
  EXPECT_EQ(t.riproduzione[0].testo, "segnale, 12600, 1,   0");
  EXPECT_EQ(t.riproduzione[0].perche, "tempo + 256");
}

}  // namespace
}  // namespace percorso
