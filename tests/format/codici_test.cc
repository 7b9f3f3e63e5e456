// The two check codes.
#include "format/codici.h"

#include <gtest/gtest.h>

#include <string>

namespace percorso {
namespace {

struct caso_codici {
  const char* nome;
  std::string treno;
  std::string percorso;
  std::int32_t pesato;    // codice_gara_st
  std::int32_t semplice;  // codice_gara_og
};

void PrintTo(const caso_codici& c, std::ostream* os) {
  *os << c.nome;
}

class Codici : public ::testing::TestWithParam<caso_codici> {};

TEST_P(Codici, WeightedAndPlain) {
  const caso_codici& c = GetParam();
  EXPECT_EQ(codice_gara_st(c.treno, c.percorso), c.pesato);
  EXPECT_EQ(codice_gara_og(c.treno, c.percorso), c.semplice);
}

INSTANTIATE_TEST_SUITE_P(
    Esempi, Codici,
    ::testing::Values(
        // Train 7 and scenario Ab: "7abaabbccddeeffgghhiillmm".
        caso_codici{"seven_Ab", "7", "Ab", 33709, 2502},
        // Both names empty: the first 25 characters of the filler.
        caso_codici{"both_empty", "", "", 34355, 2583},
        // The embedded scenario.
        caso_codici{"embedded", "917", "Varmena_Ostrana", 33016, 2450},
        caso_codici{"embedded_upper_case", "917", "VARMENA_OSTRANA", 33016, 2450},
        // 25 characters or more: the filler does not count, nor anything past the 25th.
        caso_codici{"exactly_25", "1234567890", "abcdefghijklmno", 31285, 2085},
        caso_codici{"beyond_25", "1234567890", "abcdefghijklmnoZZZZ", 31285, 2085},
        // Bytes above 127 count with their own value; only A to Z are lowered.
        caso_codici{"high_byte", "\xc9", "", 34253, 2673},
        caso_codici{"byte_255", "\xff", "", 34307, 2727},
        caso_codici{"max", std::string(25, '\xff'), "", 82875, 6375}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(Codici, CheckText) {
  EXPECT_EQ(testo_di_controllo("7", "Ab"), "7abaabbccddeeffgghhiillmmnnoo");
  EXPECT_EQ(testo_di_controllo("", ""), "aabbccddeeffgghhiillmmnnoo");
  EXPECT_EQ(testo_di_controllo("X\xc9", "Z_[@"), "x\xc9z_[@aabbccddeeffgghhiillmmnnoo");
}

TEST(Codici, ExchangingNamesOrCharacters) {
  EXPECT_NE(codice_gara_st("917", "Varmena_Ostrana"), codice_gara_st("Varmena_Ostrana", "917"));
  EXPECT_EQ(codice_gara_og("ab", ""), codice_gara_og("ba", ""));
  EXPECT_NE(codice_gara_st("ab", ""), codice_gara_st("ba", ""));
}

}  // namespace
}  // namespace percorso
