// The field reader: line ends,
// blanks, tabs, quotes, bytes above 127, number syntax and the end of a text.
#include "sintassi/lettore_campi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/numeri.h"
#include "support/testi_sorgente.h"

namespace percorso {
namespace {

// One read: "t=X" a text field expected to be X, "n=V" a number field expected
// to read V, "t!" / "n!" a read past the end.
struct caso_lettura {
  const char* nome;
  std::string testo;
  std::vector<std::string> letture;
  bool fine_dopo = true;  // whether the text has ended after the reads
};

void PrintTo(const caso_lettura& c, std::ostream* os) {
  *os << c.nome;
}

class Letture : public ::testing::TestWithParam<caso_lettura> {};

TEST_P(Letture, ReadsFieldsInOrder) {
  const caso_lettura& c = GetParam();
  lettore_campi r(prova::byte(c.testo));
  for (std::size_t i = 0; i < c.letture.size(); ++i) {
    const std::string& l = c.letture[i];
    SCOPED_TRACE("read " + std::to_string(i) + ": " + l);
    if (l[0] == 't') {
      const auto v = r.leggi_testo();
      if (l[1] == '!') {
        EXPECT_FALSE(v.has_value());
      } else {
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(std::string(*v), l.substr(2));
      }
    } else {
      const auto v = r.leggi_numero();
      if (l[1] == '!') {
        EXPECT_FALSE(v.has_value());
      } else {
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(*v, std::stod(l.substr(2)));
      }
    }
  }
  EXPECT_EQ(r.fine(), c.fine_dopo);
}

INSTANTIATE_TEST_SUITE_P(
    Campi, Letture,
    ::testing::Values(
        // Line ends: CR LF, a lone LF and a lone CR each end a line.
        caso_lettura{"crlf", "a\r\nb\r\n", {"t=a", "t=b"}},
        caso_lettura{"lf", "a\nb\n", {"t=a", "t=b"}}, caso_lettura{"cr", "a\rb\r", {"t=a", "t=b"}},
        caso_lettura{"lf_then_cr_is_two_line_ends", "a\n\rb", {"t=a", "t=", "t=b"}},
        caso_lettura{"cr_cr_lf_is_two_line_ends", "a\r\r\nb", {"t=a", "t=", "t=b"}},
        caso_lettura{"number_then_lone_cr", "5\r6\n7", {"n=5", "n=6", "n=7"}},
        // An empty line yields one empty field.
        caso_lettura{"empty_line", "a\r\n\r\nb\r\n", {"t=a", "t=", "t=b"}},
        caso_lettura{"empty_line_as_number", "1\r\n\r\n2\r\n", {"n=1", "n=0", "n=2"}},
        caso_lettura{"blank_line", "a\r\n    \r\nb", {"t=a", "t=", "t=b"}},
        // A line end separates fields exactly as a comma does.
        caso_lettura{"comma_then_line_end", "a,\r\nb", {"t=a", "t=", "t=b"}},
        caso_lettura{"keyword_takes_numbers_from_next_lines",
                     "k, 1\r\n2\r\n3",
                     {"t=k", "n=1", "n=2", "n=3"}},
        // Text fields: blanks in front and at the end dropped, inner blanks and hyphens kept.
        caso_lettura{"text_blanks",
                     "   percentuale massa frenata   ,   125",
                     {"t=percentuale massa frenata", "n=125"}},
        caso_lettura{"text_inner_hyphen", "  VARMENA - OSTRANA  \r\n", {"t=VARMENA - OSTRANA"}},
        caso_lettura{"board_text",
                     "24000,   ( Galleria  )(   Castelvecchio   )( Ml. 2047  )\r\n",
                     {"n=24000", "t=( Galleria  )(   Castelvecchio   )( Ml. 2047  )"}},
        caso_lettura{"text_field_may_hold_digits_and_blanks", "1 2 3,x", {"t=1 2 3", "t=x"}},
        // Tabs are ordinary characters, not blanks.
        caso_lettura{"tab_in_text", "\ta\t,b", {"t=\ta\t", "t=b"}},
        caso_lettura{"tab_in_number", "\t5,6", {"n=0", "n=6"}},
        caso_lettura{"tab_does_not_end_number", "5\t6,7", {"n=0", "n=7"}},
        // Double quotes are ordinary characters: no quoting.
        caso_lettura{"quotes", "\"a,b\",\"c\"", {"t=\"a", "t=b\"", "t=\"c\""}},
        caso_lettura{"quoted_number", "\"5\",6", {"n=0", "n=6"}},
        // Bytes above 127 are kept as they are.
        caso_lettura{"high_bytes", "\xe8 \xc9\xff,x", {"t=\xe8 \xc9\xff", "t=x"}},
        // Number fields end at a blank, comma or line end; the blanks after them and
        // one comma or line end are consumed.
        caso_lettura{"zero_blanks_comma_zero", "0    ,0", {"n=0", "n=0"}},
        caso_lettura{"blanks_separate_numbers",
                     "15              32            30 ",
                     {"n=15", "n=32", "n=30"}},
        caso_lettura{"repetition_row",
                     "ripetizione segnali 4 codici,    0    ,0",
                     {"t=ripetizione segnali 4 codici", "n=0", "n=0"}},
        caso_lettura{"clock_row",
                     "orologio,    15              32            30 \r\nsabbia",
                     {"t=orologio", "n=15", "n=32", "n=30", "t=sabbia"}},
        caso_lettura{"number_then_text_same_line", "12 abc,d", {"n=12", "t=abc", "t=d"}},
        caso_lettura{"number_blanks_line_end", "5   \r\nx", {"n=5", "t=x"}},
        caso_lettura{"number_blanks_line_end_empty_line", "5   \r\n\r\nx", {"n=5", "t=", "t=x"}},
        caso_lettura{"number_only_one_comma_consumed", "5 , ,6", {"n=5", "n=0", "n=6"}},
        caso_lettura{"number_empty_field", ",5", {"n=0", "n=5"}},
        caso_lettura{"number_read_of_text", "abc def,1", {"n=0", "t=def", "n=1"}},
        // Number syntax.
        caso_lettura{"signs_and_fraction", "-3,+12,2.5", {"n=-3", "n=12", "n=2.5"}},
        caso_lettura{"not_numbers_read_0",
                     "12abc,1e3,.5,5.,,-,+,1.2.3,0x10,--1,+-1",
                     {"n=0", "n=0", "n=0", "n=0", "n=0", "n=0", "n=0", "n=0", "n=0", "n=0", "n=0"}},
        caso_lettura{"leading_zeros", "007,-0.50", {"n=7", "n=-0.5"}},
        // Blanks at the very end of a text, after its last comma or line end, give
        // one empty field, not a read past the end.
        caso_lettura{"trailing_blanks_after_comma", "a,   ", {"t=a", "t=", "t!"}},
        caso_lettura{"trailing_blanks_after_line_end", "a\r\n   ", {"t=a", "t=", "t!"}},
        caso_lettura{"trailing_blanks_number", "5,   ", {"n=5", "n=0", "n!"}},
        caso_lettura{"trailing_blanks_of_last_text_field", "a   ", {"t=a", "t!"}},
        caso_lettura{"trailing_blanks_of_last_number", "5   ", {"n=5", "n!"}},
        // Read past the end.
        caso_lettura{"empty_text", "", {"t!", "n!"}},
        caso_lettura{"past_end", "a,b", {"t=a", "t=b", "t!", "n!"}},
        caso_lettura{"past_end_after_line_end", "a\r\n", {"t=a", "n!"}},
        caso_lettura{"not_at_end", "a,b", {"t=a"}, false},
        caso_lettura{"text_ends_with_comma", "a,", {"t=a"}, true}),
    [](const auto& info) { return std::string(info.param.nome); });

// The value of a number field: the nearest double of an optional sign, digits, and
// optionally "." and digits, with nothing else in the field.
struct caso_numero {
  const char* campo;
  double valore;
};

class Numeri : public ::testing::TestWithParam<caso_numero> {};

TEST_P(Numeri, ValueOfField) {
  EXPECT_EQ(valore_numero(GetParam().campo), GetParam().valore) << GetParam().campo;
}

INSTANTIATE_TEST_SUITE_P(
    Sintassi, Numeri,
    ::testing::Values(
        caso_numero{"-3", -3}, caso_numero{"+12", 12}, caso_numero{"2.5", 2.5}, caso_numero{"0", 0},
        caso_numero{"94000", 94000}, caso_numero{"-0.75", -0.75}, caso_numero{"12abc", 0},
        caso_numero{"1e3", 0}, caso_numero{".5", 0}, caso_numero{"5.", 0}, caso_numero{"", 0},
        caso_numero{"-", 0}, caso_numero{"+", 0}, caso_numero{"1.2.3", 0}, caso_numero{"1,5", 0},
        caso_numero{"1 5", 0}, caso_numero{"inf", 0}, caso_numero{"nan", 0}, caso_numero{"0x1A", 0},
        caso_numero{"+-3", 0}, caso_numero{"3-", 0}, caso_numero{"\t3", 0}, caso_numero{"3\t", 0},
        caso_numero{"0.1", 0.1}, caso_numero{"2147483647", 2147483647.0},
        // Whole numbers of up to 15 digits and longer ones read alike.
        caso_numero{"999999999999999", 999999999999999.0},
        caso_numero{"12345678901234567", 12345678901234568.0},
        caso_numero{"-000000000000000000001", -1}, caso_numero{"0.30000000000000000001", 0.3}));

TEST(Numeri, HugeFieldIsInfiniteAndTinyFieldIsZero) {
  EXPECT_EQ(valore_numero(std::string(400, '9')), INFINITY);
  EXPECT_EQ(valore_numero("-" + std::string(400, '9')), -INFINITY);
  EXPECT_EQ(valore_numero("0." + std::string(400, '0') + "1"), 0.0);
  EXPECT_EQ(valore_numero("000." + std::string(400, '0') + "1"), 0.0);
}

// Rounding of every conversion to a whole number: halves to the even neighbour.
struct caso_arrotondamento {
  double v;
  double atteso;
};

class Arrotondamento : public ::testing::TestWithParam<caso_arrotondamento> {};

TEST_P(Arrotondamento, HalvesGoToEven) {
  EXPECT_EQ(arrotonda(GetParam().v), GetParam().atteso) << GetParam().v;
}

INSTANTIATE_TEST_SUITE_P(
    Numeri, Arrotondamento,
    ::testing::Values(caso_arrotondamento{0.5, 0}, caso_arrotondamento{1.5, 2},
                      caso_arrotondamento{2.5, 2}, caso_arrotondamento{22.5, 22},
                      caso_arrotondamento{23.5, 24}, caso_arrotondamento{-0.5, 0},
                      caso_arrotondamento{-1.5, -2}, caso_arrotondamento{-2.5, -2},
                      caso_arrotondamento{2.4999, 2}, caso_arrotondamento{2.5001, 3},
                      caso_arrotondamento{12.4, 12}, caso_arrotondamento{12.6, 13}));

TEST(Larghezze, RoundThenTestTheWidth) {
  EXPECT_EQ(arrotonda_in<std::int16_t>(32766.5), std::optional<std::int16_t>(32766));
  EXPECT_EQ(arrotonda_in<std::int16_t>(32767.5), std::nullopt);  // 32768
  EXPECT_EQ(arrotonda_in<std::int16_t>(-32768.5), std::optional<std::int16_t>(-32768));
  EXPECT_EQ(arrotonda_in<std::int16_t>(-32769.5), std::nullopt);
  EXPECT_EQ(arrotonda_in<std::uint8_t>(-0.5), std::optional<std::uint8_t>(0));
  EXPECT_EQ(arrotonda_in<std::uint8_t>(-0.6), std::nullopt);
  EXPECT_EQ(arrotonda_in<std::uint8_t>(254.5), std::optional<std::uint8_t>(254));
  EXPECT_EQ(arrotonda_in<std::uint8_t>(255.5), std::nullopt);
  EXPECT_EQ(arrotonda_in<std::int32_t>(2147483647.4), std::optional<std::int32_t>(2147483647));
  EXPECT_EQ(arrotonda_in<std::int32_t>(2147483647.5), std::nullopt);
  EXPECT_EQ(arrotonda_in<std::int32_t>(-2147483648.5),
            std::optional<std::int32_t>(-2147483647 - 1));
  EXPECT_EQ(arrotonda_in<std::int32_t>(INFINITY), std::nullopt);
  EXPECT_EQ(arrotonda_in<std::int32_t>(-INFINITY), std::nullopt);
}

}  // namespace
}  // namespace percorso
