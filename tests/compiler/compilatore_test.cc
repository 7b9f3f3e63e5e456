// The compiler driver with the source text rules: every error
// code the driver raises, with codice_errore and posizione_errore, what stays
// stored after a failure, the minus-sign and end rules and the keyword tests.
#include "compiler/compilatore.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/testi_sorgente.h"

namespace percorso {
namespace {

using prova::compila;
using prova::linea;
using prova::righe;
using prova::treno;

// posizione_errore before the compilation, so that "unchanged" shows.
constexpr std::int32_t posizione_iniziale = -777;

modello compila_da(const std::optional<std::string>& l, const std::optional<std::string>& t,
                   std::int32_t j = 0) {
  modello m = prova::nuovo_modello();
  m.flag_tracciato = j;
  m.posizione_errore = posizione_iniziale;
  memorizza_dati(m, prova::testi(l, t));
  return m;
}

// A line of 1000 m: cells 0 to 160; a position p passes the bound test up to 7900.
std::string linea_1000(std::initializer_list<std::string_view> corpo = {},
                       std::initializer_list<std::string_view> intestazione = {}) {
  return linea(1000, corpo, intestazione);
}

std::string stazione(std::int32_t p, int tipo, std::int32_t lg, std::int32_t ore = 0,
                     std::string_view nome = "X") {
  return "stazione, " + std::to_string(p) + ", " + std::to_string(tipo) + ", " +
         std::to_string(lg) + ", 0,0,0, 0,0,0, 0,0,0, 0, " + std::to_string(ore) + ", 0, 0, " +
         std::string(nome);
}

struct caso_errore {
  const char* nome;
  std::optional<std::string> linea;
  std::optional<std::string> treno;
  std::int32_t j;
  std::int32_t codice;
  std::int32_t posizione;  // posizione_iniziale when the code leaves it unchanged
};

void PrintTo(const caso_errore& c, std::ostream* os) {
  *os << c.nome;
}

class Errori : public ::testing::TestWithParam<caso_errore> {};

TEST_P(Errori, CodeAndPosition) {
  const caso_errore& c = GetParam();
  const modello m = compila_da(c.linea, c.treno, c.j);
  EXPECT_EQ(m.codice_errore, c.codice);
  EXPECT_EQ(m.posizione_errore, c.posizione);
}

const std::string senza_fine = "[generale]\r\nlunghezza percorso, 1000\r\n[pendenze]\r\n";
const std::string segnale_a_1000 = "segnale, 1000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0";

INSTANTIATE_TEST_SUITE_P(
    Driver, Errori,
    ::testing::Values(
        caso_errore{"clean", linea_1000(), treno(), 0, 0, posizione_iniziale},
        caso_errore{"clean_with_plan", linea_1000(), treno(), 1, 0, posizione_iniziale},
        // 101: no line description; the train description is not looked at.
        caso_errore{"c101_no_line", std::nullopt, treno(), 0, 101, posizione_iniziale},
        caso_errore{"c101_no_texts", std::nullopt, std::nullopt, 1, 101, posizione_iniziale},
        // 102: no field contains "[generale]" before the end.
        caso_errore{"c102_no_generale", righe({"[intestazione]", "lunghezza percorso, 1000"}),
                    treno(), 0, 102, posizione_iniziale},
        caso_errore{"c102_empty_line_text", std::string(), treno(), 0, 102, posizione_iniziale},
        caso_errore{"c102_blank_line_text", std::string("   "), treno(), 0, 102,
                    posizione_iniziale},
        caso_errore{"c102_generale_is_last_field", righe({"x", "[generale]"}), treno(), 0, 102,
                    posizione_iniziale},
        caso_errore{"c102_generale_last_no_line_end", std::string("x,[Generale]"), treno(), 0, 102,
                    posizione_iniziale},
        caso_errore{"generale_any_case", righe({"[GeNeRaLe]", "lunghezza percorso, 1000", "[x]"}),
                    treno(), 0, 0, posizione_iniziale},
        // 1: a length above 1000000.
        caso_errore{"c1_length", linea(1000001), treno(), 0, 1, posizione_iniziale},
        // 3, 4, 5: signal repetition.
        caso_errore{"c3", linea_1000({}, {"ripetizione segnali 4 codici, 75, 0"}), treno(), 0, 3,
                    posizione_iniziale},
        caso_errore{"c4", linea_1000({}, {"ripetizione segnali 4 codici, 50, 120"}), treno(), 0, 4,
                    posizione_iniziale},
        caso_errore{"c3_before_c4", linea_1000({}, {"ripetizione segnali 4 codici, 75, 120"}),
                    treno(), 0, 3, posizione_iniziale},
        caso_errore{"c5", linea_1000({}, {"ripetizione segnali codici, 50, 50"}), treno(), 0, 5,
                    posizione_iniziale},
        caso_errore{"c4_before_c5", linea_1000({}, {"ripetizione segnali, 50, 51"}), treno(), 0, 4,
                    posizione_iniziale},
        caso_errore{"c5_negative_multiples", linea_1000({}, {"ripetizione segnali, -50, -100"}),
                    treno(), 0, 5, posizione_iniziale},
        // 15: the bound test, (p + 100) / 50 not greater than the last cell.
        caso_errore{"c15_gradient", linea_1000({"pendenza, 7901, 0"}), treno(), 0, 15, 7901},
        caso_errore{"bound_gradient_limit", linea_1000({"pendenza, 7900, 0"}), treno(), 0, 0,
                    posizione_iniziale},
        caso_errore{"c15_board", linea_1000({"cartello_indicatore, 7901, (x)"}), treno(), 0, 15,
                    7901},
        caso_errore{"c15_curve", linea_1000({"curvad1, 7901, 10"}), treno(), 1, 15, 7901},
        caso_errore{"curve_not_read_without_plan", linea_1000({"curvad1, 7901, 10"}), treno(), 0, 0,
                    posizione_iniziale},
        caso_errore{"c15_mountain_tests_start", linea_1000({"montagna, 7901, 100, 1"}), treno(), 0,
                    15, 7901},
        // The end is not tested: 7990 + 100 would fail the bound test, its cells do not.
        caso_errore{"mountain_end_not_tested", linea_1000({"montagna, 100, 7990, 1"}), treno(), 0,
                    0, posizione_iniziale},
        caso_errore{"c15_indicators", linea_1000({"indicatori_vmax, 7901, 1, 1, 1, 0, 1, 1, 1, 0"}),
                    treno(), 0, 15, 7901},
        caso_errore{"c15_speed", linea_1000(), treno({"velocita, 7901, 50"}), 0, 15, 7901},
        caso_errore{"c15_adhesion", linea_1000(), treno({"aderenza, 7901, 50"}), 0, 15, 7901},
        caso_errore{"c15_signal", linea_1000(),
                    treno({"segnale, 7901, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0"}), 0, 15, 7901},
        caso_errore{"c15_slowdown", linea_1000(), treno({"rallentamento, 7901, 60, 700, 0, 0, 60"}),
                    0, 15, 7901},
        caso_errore{"c15_speed_point", linea_1000(), treno({"abbattimento, 7901, 50"}), 0, 15,
                    7901},
        caso_errore{"c15_station_uses_800", linea_1000(), treno({stazione(7250, 25, 200)}), 0, 15,
                    7250},
        caso_errore{"bound_station_limit", linea_1000(), treno({stazione(7200, 25, 200)}), 0, 0,
                    posizione_iniziale},
        caso_errore{"c15_short_line", linea(-6000, {"pendenza, 901, 0"}), treno(), 0, 15, 901},
        caso_errore{"bound_short_line", linea(-6000, {"pendenza, 900, 0"}), treno(), 0, 0,
                    posizione_iniziale},
        // A 15 left by the line description stops the train description at its first
        // signal or slowdown, with that line's position.
        caso_errore{"c15_of_line_stops_train_at_signal", linea_1000({"pendenza, 7901, 0"}),
                    treno({"sabbia, 3", segnale_a_1000}), 0, 15, 1000},
        caso_errore{"c15_of_line_stops_train_at_slowdown", linea_1000({"pendenza, 7901, 0"}),
                    treno({"rallentamento, 2000, 60, 700, 0, 0, 60"}), 0, 15, 2000},
        // 2: a kilometric reference value that is not a multiple of 50, at the very end.
        caso_errore{"c2", linea_1000({}, {"progressiva chilometrica tre, 0, 25, 0"}), treno(), 0, 2,
                    posizione_iniziale},
        caso_errore{"c2_first_value", linea_1000({}, {"progressiva chilometrica tre, 10, 0, 0"}),
                    treno(), 0, 2, posizione_iniziale},
        caso_errore{"c2_third_value_not_tested",
                    linea_1000({}, {"progressiva chilometrica tre, 50, 100, 7"}), treno(), 0, 0,
                    posizione_iniziale},
        caso_errore{"c2_overwrites_c15",
                    linea_1000({"pendenza, 7901, 0"}, {"progressiva chilometrica tre, 0, 25, 0"}),
                    treno(), 0, 2, 7901},
        caso_errore{"c2_after_c15_in_train",
                    linea_1000({}, {"progressiva chilometrica tre, 0, 25, 0"}),
                    treno({"velocita, 7901, 50"}), 0, 2, 7901},
        caso_errore{"no_c2_after_train_missing",
                    linea_1000({}, {"progressiva chilometrica tre, 0, 25, 0"}), std::nullopt, 0, 25,
                    posizione_iniziale},
        // 103: a curve without a class digit, or the plan metre past 1000000.
        caso_errore{"c103_no_class", linea_1000({"curvad, 100, 100"}), treno(), 1, 103,
                    posizione_iniziale},
        caso_errore{"c103_digits_outside_1_to_6", linea_1000({"curva07890, 100, 100"}), treno(), 1,
                    103, posizione_iniziale},
        caso_errore{"no_c103_without_plan", linea_1000({"curvad, 100, 100"}), treno(), 0, 0,
                    posizione_iniziale},
        caso_errore{"c15_before_c103", linea_1000({"curvad, 7901, 100"}), treno(), 1, 15, 7901},
        caso_errore{"c103_plan_metre", linea(1000000, {"curvad1, 999000, 2000"}), treno(), 1, 103,
                    posizione_iniziale},
        caso_errore{"plan_metre_1000000_accepted", linea(1000000, {"curvad1, 999000, 999"}),
                    treno(), 1, 0, posizione_iniziale},
        // 25: the general failure in its many causes; the position stays.
        caso_errore{"c25_read_past_end_in_row", senza_fine + "pendenza, 300", treno(), 0, 25,
                    posizione_iniziale},
        caso_errore{"c25_read_past_end_before_bound_test", senza_fine + "pendenza, 99999", treno(),
                    0, 25, posizione_iniziale},
        caso_errore{"c25_read_past_end_station_name", linea_1000(),
                    "[generale]\r\nstazione, 0, 25, 200, 0,0,0, 0,0,0, 0,0,0, 0, 1, 2, 3", 0, 25,
                    posizione_iniziale},
        caso_errore{"header_last_field_dropped",
                    "[generale]\r\nlunghezza percorso, 1000\r\nsfondo uno", treno(), 0, 0,
                    posizione_iniziale},
        caso_errore{"header_last_field_dropped_with_line_end",
                    "[generale]\r\nlunghezza percorso, 1000\r\nsfondo uno\r\n", treno(), 0, 0,
                    posizione_iniziale},
        caso_errore{"c25_header_reads_past_end",
                    "[generale]\r\nlunghezza percorso, 1000\r\nsfondo uno due, 5", treno(), 0, 25,
                    posizione_iniziale},
        caso_errore{"c25_16_bit", linea_1000(), treno({"sabbia, 32768"}), 0, 25,
                    posizione_iniziale},
        caso_errore{"sand_16_bit_limit", linea_1000(), treno({"sabbia, -32768"}), 0, 0,
                    posizione_iniziale},
        caso_errore{"c25_rounds_out_of_16_bit", linea_1000(), treno({"sabbia, 32767.5"}), 0, 25,
                    posizione_iniziale},
        caso_errore{"rounds_into_16_bit", linea_1000(), treno({"sabbia, 32766.5"}), 0, 0,
                    posizione_iniziale},
        caso_errore{"c25_32_bit", linea_1000({}, {"sfondo uno, 2147483648"}), treno(), 0, 25,
                    posizione_iniziale},
        caso_errore{"c25_32_bit_length", linea(1000, {}, {"lunghezza percorso, -2147483649"}),
                    treno(), 0, 25, posizione_iniziale},
        caso_errore{"c25_8_bit_station_kind", linea_1000(), treno({stazione(0, 256, 200)}), 0, 25,
                    posizione_iniziale},
        caso_errore{"c25_8_bit_negative", linea_1000(), treno({stazione(0, -1, 200)}), 0, 25,
                    posizione_iniziale},
        caso_errore{"c25_huge_number", linea_1000(), treno({"vetture, " + std::string(400, '9')}),
                    0, 25, posizione_iniziale},
        caso_errore{"c25_train_missing", linea_1000(), std::nullopt, 0, 25, posizione_iniziale},
        caso_errore{"c25_run_line_before_length", righe({"[generale]", "[p]", "pendenza, 0, 0"}),
                    treno(), 0, 25, posizione_iniziale},
        caso_errore{"c25_board_before_length",
                    righe({"[generale]", "[p]", "cartello_indicatore, 0, x"}), treno(), 0, 25,
                    posizione_iniziale},
        caso_errore{"c25_no_length_tail", righe({"[generale]", "[p]"}), treno(), 0, 25,
                    posizione_iniziale},
        caso_errore{"c25_no_length_plan", righe({"[generale]", "[p]"}), treno(), 1, 25,
                    posizione_iniziale},
        caso_errore{"c25_no_length_plan_before_curve",
                    righe({"[generale]", "[p]", "curvad, 100, 100"}), treno(), 1, 25,
                    posizione_iniziale},
        caso_errore{"c25_speed_above_1277", linea_1000(),
                    treno({"velocita, 0, 1278", "velocita, 100, 50"}), 0, 25, posizione_iniziale},
        caso_errore{"speed_1277", linea_1000(), treno({"velocita, 0, 1277", "velocita, 100, 50"}),
                    0, 0, posizione_iniziale},
        caso_errore{"speed_minus_2", linea_1000(), treno({"velocita, 0, -2", "velocita, 100, 50"}),
                    0, 0, posizione_iniziale},
        caso_errore{"c25_speed_minus_3", linea_1000(),
                    treno({"velocita, 0, -3", "velocita, 100, 50"}), 0, 25, posizione_iniziale},
        caso_errore{"c25_speed_in_tail", linea_1000(), treno({"velocita, 0, 1278"}), 0, 25,
                    posizione_iniziale},
        caso_errore{"speed_stored_nowhere_is_no_failure", linea_1000(),
                    treno({"velocita, 0, 5000", "velocita, 0, 50"}), 0, 0, posizione_iniziale},
        caso_errore{"c25_gradient_cursor_past_last_cell",
                    linea_1000({"pendenza, 7900, 1", "pendenza, 50, 2", "pendenza, 50, 3",
                                "pendenza, 50, 4", "pendenza, 50, 5"}),
                    treno(), 0, 25, posizione_iniziale},
        caso_errore{"c25_gradient_tail_past_last_cell",
                    linea_1000({"pendenza, 7900, 1", "pendenza, 50, 2", "pendenza, 50, 3",
                                "pendenza, 50, 4"}),
                    treno(), 0, 25, posizione_iniziale},
        caso_errore{"gradient_cursor_at_last_cell",
                    linea_1000({"pendenza, 7900, 1", "pendenza, 50, 2", "pendenza, 50, 3"}),
                    treno(), 0, 0, posizione_iniziale},
        caso_errore{"c25_adhesion_cursor_past_last_cell", linea_1000(),
                    treno({"aderenza, 7900, 1", "aderenza, 50, 2", "aderenza, 50, 3",
                           "aderenza, 50, 4", "aderenza, 50, 5"}),
                    0, 25, posizione_iniziale},
        caso_errore{"speed_cursor_stops_at_last_cell", linea_1000(),
                    treno({"velocita, 7900, 5", "velocita, 50, 10", "velocita, 50, 15",
                           "velocita, 50, 20", "velocita, 50, 25", "velocita, 50, 30"}),
                    0, 0, posizione_iniziale},
        caso_errore{"c25_station_time_beyond_32_bit", linea_1000(),
                    treno({stazione(0, 25, 200, 596524)}), 0, 25, posizione_iniziale},
        caso_errore{"station_time_within_32_bit", linea_1000(),
                    treno({stazione(0, 25, 200, 596523)}), 0, 0, posizione_iniziale},
        caso_errore{"c25_negative_cells", linea(1000, {}, {"lunghezza percorso, -7026"}), treno(),
                    0, 25, posizione_iniziale},
        caso_errore{"c25_negative_plan_only", linea(1000, {}, {"lunghezza percorso, -7001"}),
                    treno(), 1, 25, posizione_iniziale},
        caso_errore{"no_plan_no_c25", linea(1000, {}, {"lunghezza percorso, -7001"}), treno(), 0, 0,
                    posizione_iniziale},
        caso_errore{"c25_minus_sign_replacement_past_end_in_header",
                    "[generale]\r\nlunghezza percorso, 1000\r\n-a,-b", treno(), 0, 25,
                    posizione_iniziale},
        caso_errore{"minus_sign_replacement_at_end_of_body",
                    "[generale]\r\nlunghezza percorso, 1000\r\n[p]\r\n-a,-b", treno(), 0, 0,
                    posizione_iniziale},
        caso_errore{"minus_sign_replacement_at_end_of_train", linea_1000(), "[generale]\r\n-a,-b",
                    0, 0, posizione_iniziale}),
    [](const auto& info) { return std::string(info.param.nome); });

// ---------------------------------------------------------------------------
// What stays stored after a failure

TEST(Fallimenti, ClockKeepsWhatWasReadBeforeANumberThatDoesNotFit) {
  const modello m = compila_da(linea_1000(), treno({"orologio, 1, 2, 70000"}));
  EXPECT_EQ(m.codice_errore, 25);
  EXPECT_EQ(m.punti[86].parametro_3, 1);
  EXPECT_EQ(m.punti[86].parametro_4, 2);
  EXPECT_EQ(m.punti[86].parametro_5, 0);
}

TEST(Fallimenti, ClockKeepsWhatWasReadBeforeTheEnd) {
  const modello m = compila_da(linea_1000(), "[generale]\r\norologio, 7, 8");
  EXPECT_EQ(m.codice_errore, 25);
  EXPECT_EQ(m.punti[86].parametro_3, 7);
  EXPECT_EQ(m.punti[86].parametro_4, 8);
  // The tails are not written after the failure.
  EXPECT_EQ(m.celle[0].velocita, 0);
}

TEST(Fallimenti, KilometricReferenceKeepsWhatWasRead) {
  const modello m = compila_da("[generale]\r\nprogressiva chilometrica tre, 100, 200", treno());
  EXPECT_EQ(m.codice_errore, 25);
  EXPECT_EQ(m.punti[81].valore_1, 100);
  EXPECT_EQ(m.punti[81].valore_2, 200);
  EXPECT_EQ(m.punti[81].valore_3, 0);
}

TEST(Fallimenti, RepetitionKeepsWhatWasRead) {
  const modello m = compila_da("[generale]\r\nripetizione segnali 4, 100, 9999999999", treno());
  EXPECT_EQ(m.codice_errore, 25);
  EXPECT_EQ(m.punti[86].valore_1, 100);
  EXPECT_EQ(m.punti[86].valore_2, 0);
  EXPECT_EQ(m.punti[86].valore_3, 0);
}

TEST(Fallimenti, RepetitionCode3KeepsBothDistances) {
  const modello m = compila_da(linea_1000({}, {"ripetizione segnali 4, 75, 125"}), treno());
  EXPECT_EQ(m.codice_errore, 3);
  EXPECT_EQ(m.punti[86].valore_1, 75);
  EXPECT_EQ(m.punti[86].valore_2, 125);
  EXPECT_EQ(m.punti[86].valore_3, 0);
}

TEST(Fallimenti, StationKeepsItsFieldsAsFarAsRead) {
  // Fields 1 to 13 read, hours and minutes read, the seconds do not fit.
  const modello m = compila_da(
      linea_1000(),
      treno({"stazione, 0, 12, 800, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 33, 9999999999, N"}));
  EXPECT_EQ(m.codice_errore, 25);
  const punto& s = m.punti[1];
  EXPECT_EQ(s.valore_3, 0);
  EXPECT_EQ(s.codice, 12);
  EXPECT_EQ(s.opzione, 3);
  EXPECT_EQ(s.indicatore_4, 4);
  EXPECT_EQ(s.indicatore_3, 5);
  EXPECT_EQ(s.parametro_1, 6);
  EXPECT_EQ(s.parametro_2, 7);
  EXPECT_EQ(s.indicatore_1, 8);
  EXPECT_EQ(s.parametro_3, 9);
  EXPECT_EQ(s.parametro_4, 10);
  EXPECT_EQ(s.parametro_5, 11);
  EXPECT_EQ(s.indicatore_2, 12);
  EXPECT_EQ(s.orario, 0);
  EXPECT_EQ(s.nome, "");
  EXPECT_EQ(s.valore_1, 0);
  EXPECT_EQ(s.valore_2, 0);
}

TEST(Fallimenti, StationTimeIsSetBeforeTheNameIsRead) {
  const modello m = compila_da(
      linea_1000(), "[generale]\r\nstazione, 0, 25, 200, 0,0,0, 0,0,0, 0,0,0, 0, 1, 2, 3");
  EXPECT_EQ(m.codice_errore, 25);
  EXPECT_EQ(m.punti[1].orario, 3723);
}

TEST(Fallimenti, RunLineStoresNothingWhenItsValueDoesNotFit) {
  const modello m =
      compila_da(linea_1000({"pendenza, 300, 2", "pendenza, 600, 99999999999"}), treno());
  EXPECT_EQ(m.codice_errore, 25);
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(m.celle[i].pendenza, 100) << i;
  EXPECT_EQ(m.celle[6].pendenza, 0);
}

TEST(Fallimenti, LengthAboveTheLimitIsStoredAndMakesNoCells) {
  const modello m = compila_da(linea(1000001), treno());
  EXPECT_EQ(m.codice_errore, 1);
  EXPECT_EQ(m.punti[84].valore_2, 1000001);
  EXPECT_FALSE(m.celle_presenti());
  EXPECT_FALSE(m.tracciato.has_value());
}

TEST(Fallimenti, NegativeCellsChangeNothing) {
  const modello m = compila_da(linea(1000, {}, {"lunghezza percorso, -8000"}), treno(), 1);
  EXPECT_EQ(m.codice_errore, 25);
  EXPECT_EQ(m.celle.size(), 161u);
  EXPECT_EQ(m.lunghezza_estesa, 8000);
  ASSERT_TRUE(m.tracciato.has_value());
  EXPECT_EQ(m.tracciato->x.size(), 8001u);
  // The number itself was read into its slot before the tables were tried.
  EXPECT_EQ(m.punti[84].valore_2, -8000);
}

TEST(Fallimenti, NegativePlanOnlyMakesTheCellsThenFails) {
  const modello m = compila_da(linea(1000, {}, {"lunghezza percorso, -7025"}), treno(), 1);
  EXPECT_EQ(m.codice_errore, 25);
  EXPECT_EQ(m.celle.size(), 1u);  // (-25) / 50 = -0.5 rounds to 0
  ASSERT_TRUE(m.tracciato.has_value());
  EXPECT_EQ(m.tracciato->x.size(), 8001u);
}

// Every length line replaces the tables of the one before, and a line that fails
// leaves those of the last one that did not.
TEST(Fallimenti, RepeatedLengthKeepsTheTablesOfTheLastGoodOne) {
  const modello m = compila_da(linea(1000, {},
                                     {"lunghezza percorso, 3000", "lunghezza percorso, 5000",
                                      "lunghezza percorso, 1000001"}),
                               treno(), 1);
  EXPECT_EQ(m.codice_errore, 1);
  EXPECT_EQ(m.celle.size(), 241u);
  ASSERT_TRUE(m.tracciato.has_value());
  EXPECT_EQ(m.tracciato->x.size(), 12001u);
  EXPECT_EQ(m.lunghezza_estesa, 12000);
}

TEST(Fallimenti, NegativeLengthWithoutPlanMakesOneCell) {
  const modello m = compila_da(linea(-7001), treno());
  // One cell; every tail writes it and stops.
  ASSERT_EQ(m.celle.size(), 1u);
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.celle[0].pendenza, 100);
}

TEST(Fallimenti, GradientCursorFillsUpToTheLastCellBeforeFailing) {
  const modello m =
      compila_da(linea_1000({"pendenza, 7900, 1", "pendenza, 50, 2", "pendenza, 50, 3",
                             "pendenza, 50, 4", "pendenza, 50, 5"}),
                 treno());
  EXPECT_EQ(m.codice_errore, 25);
  EXPECT_EQ(m.celle[157].pendenza, 100);
  EXPECT_EQ(m.celle[158].pendenza, 101);
  EXPECT_EQ(m.celle[159].pendenza, 102);
  EXPECT_EQ(m.celle[160].pendenza, 103);
  // The train description is never read.
  EXPECT_EQ(m.celle[0].velocita, 0);
}

TEST(Fallimenti, BoardSlotBelowZeroIsTheGeneralFailure) {
  std::string corpo;
  for (int b = 0; b < 82; ++b)
    corpo += "cartello_indicatore, " + std::to_string(1000 + 100 * b) + ", T" + std::to_string(b) +
             "\r\n";
  const std::string l =
      "[generale]\r\nlunghezza percorso, 20000\r\n[cartelli]\r\n" + corpo + "[fine]\r\n";
  modello m = compila_da(l, treno());
  EXPECT_EQ(m.codice_errore, 25);
  EXPECT_EQ(m.posizione_errore, posizione_iniziale);
  EXPECT_EQ(m.punti[0].nome, "T80");
  EXPECT_EQ(m.punti[80].nome, "T0");
  // The 82nd board's cell was written before its slot failed.
  const cella& c = m.celle[static_cast<std::size_t>((1000 + 100 * 81) / 50 + 1)];
  EXPECT_EQ(c.evento, 14);
  EXPECT_EQ(c.dato_1, -1);
}

// ---------------------------------------------------------------------------
// Code 15 ends only the text being read

TEST(Limite, Code15EndsTheLineButTheTailAndTheTrainFollow) {
  const modello m =
      compila_da(linea_1000({"pendenza, 300, 2", "pendenza, 7901, 3", "pendenza, 600, 4"}),
                 treno({"sabbia, 321", "velocita, 0, 100"}));
  EXPECT_EQ(m.codice_errore, 15);
  EXPECT_EQ(m.posizione_errore, 7901);
  // 2 stays in force: the line at 600 is never read; the tail fills to cell 157.
  EXPECT_EQ(m.celle[5].pendenza, 100);
  EXPECT_EQ(m.celle[6].pendenza, 102);
  EXPECT_EQ(m.celle[157].pendenza, 102);
  EXPECT_EQ(m.celle[158].pendenza, 0);
  EXPECT_EQ(m.punti[86].parametro_1, 321);
  EXPECT_EQ(m.celle[0].velocita, 20);
}

TEST(Limite, Code15InTrainEndsItButItsTailsFollow) {
  const modello m =
      compila_da(linea_1000(),
                 treno({"velocita, 0, 100", "aderenza, 0, 7", "velocita, 7901, 50", "sabbia, 9"}));
  EXPECT_EQ(m.codice_errore, 15);
  EXPECT_EQ(m.punti[86].parametro_1, 0);
  EXPECT_EQ(m.celle[157].velocita, 20);
  EXPECT_EQ(m.celle[157].aderenza, 7);
}

TEST(Limite, SignalAfterALeftoverCode15IsStillPlaced) {
  const modello m =
      compila_da(linea_1000({"pendenza, 7901, 0"}), treno({segnale_a_1000, "sabbia, 5"}));
  EXPECT_EQ(m.codice_errore, 15);
  EXPECT_EQ(m.posizione_errore, 1000);
  EXPECT_EQ(m.celle[21].evento, 1);
  EXPECT_EQ(m.punti[86].parametro_1, 0);
  // Stopped: no tails.
  EXPECT_EQ(m.celle[0].velocita, 0);
}

TEST(Limite, LeftoverCode15DoesNotStopOtherTrainLines) {
  const modello m =
      compila_da(linea_1000({"pendenza, 7901, 0"}), treno({"sabbia, 5", "abbattimento, 500, 30"}));
  EXPECT_EQ(m.codice_errore, 15);
  EXPECT_EQ(m.posizione_errore, 7901);
  EXPECT_EQ(m.punti[86].parametro_1, 5);
  EXPECT_EQ(m.celle[10].evento, 12);
}

// ---------------------------------------------------------------------------
// Keyword tests, minus-sign rule, end rule, parts of the texts

TEST(Chiavi, HeaderSlots) {
  const modello m = compila_da(
      linea(
          94000, {},
          {"progressiva chilometrica tre, 300, 50, 7", "progressiva chilometrica due, 200, 100, 8",
           "progressiva chilometrica uno, 100, 150, 9", "sfondo uno, 11", "sfondo due, 22",
           "sfondo tre, 33", "ripetizione segnali 4 codici, 100, 200"}),
      treno({"percentuale massa frenata, 125", "numero vetture, 12", "sabbia, 200",
             "orologio,    15              32            30 "}));
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.punti[84].valore_1, 125);
  EXPECT_EQ(m.punti[84].valore_2, 94000);
  EXPECT_EQ(m.punti[84].valore_3, 12);
  EXPECT_EQ(m.punti[81].valore_1, 300);
  EXPECT_EQ(m.punti[81].valore_2, 50);
  EXPECT_EQ(m.punti[81].valore_3, 7);
  EXPECT_EQ(m.punti[82].valore_1, 200);
  EXPECT_EQ(m.punti[82].valore_2, 100);
  EXPECT_EQ(m.punti[82].valore_3, 8);
  EXPECT_EQ(m.punti[83].valore_1, 100);
  EXPECT_EQ(m.punti[83].valore_2, 150);
  EXPECT_EQ(m.punti[83].valore_3, 9);
  // Background two goes to valore_3 and background three to valore_2.
  EXPECT_EQ(m.punti[85].valore_1, 11);
  EXPECT_EQ(m.punti[85].valore_3, 22);
  EXPECT_EQ(m.punti[85].valore_2, 33);
  EXPECT_EQ(m.punti[86].valore_1, 100);
  EXPECT_EQ(m.punti[86].valore_2, 200);
  EXPECT_EQ(m.punti[86].valore_3, 4);
  EXPECT_EQ(m.punti[86].parametro_1, 200);
  EXPECT_EQ(m.punti[86].parametro_3, 15);
  EXPECT_EQ(m.punti[86].parametro_4, 32);
  EXPECT_EQ(m.punti[86].parametro_5, 30);
  EXPECT_EQ(m.punti[85].nome, "Prova");
  EXPECT_EQ(m.punti[86].nome, "1");
  EXPECT_EQ(m.lunghezza_estesa, 101000);
  EXPECT_EQ(m.ultima_cella(), 2020);
}

struct caso_ripetizione {
  const char* riga;
  std::int32_t v1, v2, v3;
};

class Ripetizione : public ::testing::TestWithParam<caso_ripetizione> {};

TEST_P(Ripetizione, StoresDistancesAndCodes) {
  const modello m = compila_da(linea_1000({}, {GetParam().riga}), treno());
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.punti[86].valore_1, GetParam().v1);
  EXPECT_EQ(m.punti[86].valore_2, GetParam().v2);
  EXPECT_EQ(m.punti[86].valore_3, GetParam().v3);
}

INSTANTIATE_TEST_SUITE_P(
    Intestazione, Ripetizione,
    ::testing::Values(caso_ripetizione{"ripetizione segnali 4 codici,    0    ,0", 0, 0, 0},
                      caso_ripetizione{"ripetizione segnali 9 codici, 100, 0", 100, 0, 0},
                      caso_ripetizione{"ripetizione segnali 9 codici, 100, 50", 100, 50, 9},
                      caso_ripetizione{"ripetizione segnali 4 codici, 50, 50", 50, 50, 4},
                      caso_ripetizione{"ripetizione segnali 94, 0, 50", 0, 50, 4},
                      caso_ripetizione{"segnali 9 ripetizione, -50, 150", -50, 150, 9},
                      // Exact case: these match nothing.
                      caso_ripetizione{"Ripetizione segnali 4, 50, 50", 0, 0, 0},
                      caso_ripetizione{"ripetizione Segnali 4, 50, 50", 0, 0, 0}));

TEST(Chiavi, ExactCaseInHeader) {
  const modello m = compila_da(
      linea_1000({}, {"Progressiva chilometrica tre, 300, 50, 7", "SFONDO uno, 5", "sfondo UNO, 6",
                      "sfondo Due, 7", "sfondo uno due tre, 8, 9, 10", "LUNGHEZZA Percorso, 2000"}),
      treno());
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.punti[81].valore_1, 0);
  // One field may satisfy several tests; each reads its own fields, in order.
  EXPECT_EQ(m.punti[85].valore_1, 8);
  EXPECT_EQ(m.punti[85].valore_3, 9);
  EXPECT_EQ(m.punti[85].valore_2, 10);
  // "lunghezza" and "percorso" are tested in any case.
  EXPECT_EQ(m.punti[84].valore_2, 2000);
  EXPECT_EQ(m.ultima_cella(), 180);
}

TEST(Chiavi, BodyKeywordsInAnyCaseAndAsSubstrings) {
  const modello m =
      compila_da(linea_1000({"XPENDENZAX, 100, 5"}),
                 treno({"Numero VETTURE, 12", "MASSA FRENATA, 80", "abcVELOCITx, 0, 100"}));
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.celle[2].pendenza, 105);
  EXPECT_EQ(m.punti[84].valore_3, 12);
  EXPECT_EQ(m.punti[84].valore_1, 80);
  EXPECT_EQ(m.celle[0].velocita, 20);
}

TEST(Chiavi, SectionHeadersMatchNothing) {
  const modello m =
      compila_da(righe({"[generale]", "lunghezza percorso, 1000", "[curve]", "[pendenze]",
                        "[montagne]", "[cartelli]", "[indicazioni]", "[fine]"}),
                 righe({"[generale]", "[aderenze]", "[vel_limite]", "[stazioni]", "[rallentamenti]",
                        "[segnali]", "[codici]", "[fine]"}),
                 1);
  EXPECT_EQ(m.codice_errore, 0);
}

TEST(Chiavi, HeaderKeywordsHaveNoEffectInTheBody) {
  const modello m = compila_da(linea_1000({"sfondo uno, 5", "lunghezza percorso, 2000"}), treno());
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.punti[85].valore_1, 0);
  EXPECT_EQ(m.ultima_cella(), 160);
}

TEST(Chiavi, BodyKeywordsHaveNoEffectInTheHeader) {
  // "pendenza" is not a header keyword: its numbers are read as keyword fields.
  const modello m = compila_da(linea_1000({}, {"pendenza, 300, 5"}), treno());
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.celle[0].pendenza, 100);
  EXPECT_EQ(m.celle[157].pendenza, 100);
}

TEST(Chiavi, HeaderNeverClosedReadsEverythingAsHeader) {
  const modello m = compila_da(
      righe({"[generale]", "lunghezza percorso, 1000", "pendenza, 300, 5", "sfondo uno, 4"}),
      treno({"sabbia, 17"}));
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.punti[85].valore_1, 4);
  EXPECT_EQ(m.celle[10].pendenza, 100);
  EXPECT_EQ(m.punti[86].parametro_1, 17);
}

TEST(Chiavi, HeaderClosesAtFieldWithBothBracketsNotBeginningWithHyphen) {
  // "[x" and "x]" do not close; "a]b[c" does.
  const modello m =
      compila_da(righe({"[generale]", "lunghezza percorso, 1000", "[x", "x]", "sfondo uno, 4",
                        "a]b[c", "sfondo due, 5", "pendenza, 300, 5", "[fine]"}),
                 treno());
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.punti[85].valore_1, 4);
  EXPECT_EQ(m.punti[85].valore_3, 0);
  EXPECT_EQ(m.celle[6].pendenza, 105);
}

TEST(Chiavi, CurveHandSAnyCaseAndClassOrder) {
  // Class digits tested in the order 1 to 6: "curva51" is class 1.
  const modello a = compila_da(linea_1000({"curvaS4, 100, 100"}), treno(), 1);
  const modello b = compila_da(linea_1000({"curvad4, 100, 100"}), treno(), 1);
  const modello c = compila_da(linea_1000({"CURVA51, 100, 100"}), treno(), 1);
  const modello d = compila_da(linea_1000({"curva1, 100, 100"}), treno(), 1);
  for (const modello* m : {&a, &b, &c, &d}) {
    EXPECT_EQ(m->codice_errore, 0);
    ASSERT_TRUE(m->tracciato.has_value());
  }
  EXPECT_LT(a.tracciato->x[200], 0.0);
  EXPECT_GT(b.tracciato->x[200], 0.0);
  EXPECT_EQ(a.tracciato->x[200], -b.tracciato->x[200]);
  EXPECT_EQ(c.tracciato->x[200], d.tracciato->x[200]);
}

TEST(MenoRule, BodyReplacesUpToTwoHyphenFields) {
  // One hyphen field before the keyword: replaced; the keyword field takes effect.
  const modello a = compila_da(linea_1000({"nota-x, pendenza, 300, 5"}), treno());
  EXPECT_EQ(a.celle[6].pendenza, 105);
  // Two hyphen fields: both replaced.
  const modello b = compila_da(linea_1000({"a-1, b-2, pendenza, 300, 5"}), treno());
  EXPECT_EQ(b.celle[6].pendenza, 105);
  // A keyword with a hyphen after one hyphen field is replaced too: by "300".
  const modello c = compila_da(linea_1000({"a-1, pendenza-x, 300, 5"}), treno());
  EXPECT_EQ(c.celle[6].pendenza, 100);
  // After two replacements the field is tested even with a hyphen.
  const modello d = compila_da(linea_1000({"a-1, b-2, pendenza-x, 300, 5"}), treno());
  EXPECT_EQ(d.celle[6].pendenza, 105);
  for (const modello* m : {&a, &b, &c, &d}) EXPECT_EQ(m->codice_errore, 0);
}

TEST(MenoRule, TrainReplacesUpToTwoHyphenFields) {
  const modello a = compila_da(linea_1000(), treno({"a-1, sabbia-x, 7"}));
  EXPECT_EQ(a.punti[86].parametro_1, 0);
  const modello b = compila_da(linea_1000(), treno({"a-1, b-2, sabbia-x, 7"}));
  EXPECT_EQ(b.punti[86].parametro_1, 7);
}

TEST(MenoRule, HeaderReplacesUpToTenHyphenFields) {
  const modello a =
      compila_da(linea_1000({}, {"-1,-2,-3,-4,-5,-6,-7,-8,-9, sfondo-uno, 7"}), treno());
  EXPECT_EQ(a.punti[85].valore_1, 0);
  const modello b =
      compila_da(linea_1000({}, {"-1,-2,-3,-4,-5,-6,-7,-8,-9,-10, sfondo-uno, 7"}), treno());
  EXPECT_EQ(b.punti[85].valore_1, 7);
  EXPECT_EQ(a.codice_errore, 0);
  EXPECT_EQ(b.codice_errore, 0);
}

TEST(MenoRule, HyphenSectionHeaderDoesNotCloseTheHeader) {
  // "-[x]" is replaced by the next field; after ten replacements a field that
  // begins with "-" is tested but does not close the header.
  const modello a = compila_da(righe({"[generale]", "lunghezza percorso, 1000", "-[x]",
                                      "sfondo uno, 3", "[y]", "pendenza, 300, 5", "[fine]"}),
                               treno());
  EXPECT_EQ(a.punti[85].valore_1, 3);
  EXPECT_EQ(a.celle[6].pendenza, 105);
  const modello b = compila_da(
      righe({"[generale]", "lunghezza percorso, 1000", "-1,-2,-3,-4,-5,-6,-7,-8,-9,-10,-[x]",
             "pendenza, 300, 5", "sfondo uno, 3", "[y]", "[fine]"}),
      treno());
  EXPECT_EQ(b.punti[85].valore_1, 3);
  EXPECT_EQ(b.celle[6].pendenza, 100);
  const modello c = compila_da(
      righe({"[generale]", "lunghezza percorso, 1000", "-1,-2,-3,-4,-5,-6,-7,-8,-9,-10,a-[x]",
             "pendenza, 300, 5", "sfondo uno, 3", "[y]", "[fine]"}),
      treno());
  EXPECT_EQ(c.punti[85].valore_1, 0);
  EXPECT_EQ(c.celle[6].pendenza, 105);
}

TEST(FineRule, LastFieldIsDroppedUntested) {
  // A lone keyword as the last field: dropped, so its missing numbers are no failure.
  const modello a = compila_da(linea_1000(), righe({"[generale]", "orologio"}));
  EXPECT_EQ(a.codice_errore, 0);
  // The same keyword followed by anything is tested and reads past the end.
  const modello b = compila_da(linea_1000(), righe({"[generale]", "orologio", ""}));
  EXPECT_EQ(b.codice_errore, 25);
  // A last keyword line with numbers takes effect.
  const modello c = compila_da(linea_1000(), "[generale]\r\nsabbia, 44");
  EXPECT_EQ(c.codice_errore, 0);
  EXPECT_EQ(c.punti[86].parametro_1, 44);
  const modello d = compila_da(linea_1000(), "[generale]\r\nsabbia, 45\r\n");
  EXPECT_EQ(d.punti[86].parametro_1, 45);
}

TEST(FineRule, TrailingBlanksGiveOneEmptyField) {
  const modello a = compila_da(linea_1000(), "[generale]\r\nsabbia, 44\r\n   ");
  EXPECT_EQ(a.codice_errore, 0);
  EXPECT_EQ(a.punti[86].parametro_1, 44);
  // The last number of a row may be the blank field itself: it reads 0.
  const modello b = compila_da(linea_1000(), "[generale]\r\norologio, 1, 2,   ");
  EXPECT_EQ(b.codice_errore, 0);
  EXPECT_EQ(b.punti[86].parametro_3, 1);
  EXPECT_EQ(b.punti[86].parametro_5, 0);
}

TEST(FineRule, HeaderEndTestOnlyAfterFirstRead) {
  // In the header the field read in place of a hyphen field is tested even when it
  // is the last one; here it reads its number past the end.
  const modello a = compila_da("[generale]\r\nlunghezza percorso, 1000\r\n-x, sfondo uno", treno());
  EXPECT_EQ(a.codice_errore, 25);
  // In the body the same is the end.
  const modello b =
      compila_da("[generale]\r\nlunghezza percorso, 1000\r\n[p]\r\n-x, pendenza", treno());
  EXPECT_EQ(b.codice_errore, 0);
}

TEST(Parti, SkipsEverythingBeforeGenerale) {
  const modello m = compila_da(righe({"sfondo uno, 5", "lunghezza percorso, 500", "x [Generale] y",
                                      "lunghezza percorso, 1000", "[x]"}),
                               righe({"sabbia, 3", "[GENERALE]", "vetture, 4", "[fine]"}));
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.punti[85].valore_1, 0);
  EXPECT_EQ(m.ultima_cella(), 160);
  EXPECT_EQ(m.punti[86].parametro_1, 0);
  EXPECT_EQ(m.punti[84].valore_3, 4);
}

TEST(Parti, TrainWithoutGeneraleInterpretsNothingButTailsFollow) {
  const modello m = compila_da(linea_1000(), righe({"velocita, 0, 100", "sabbia, 3"}));
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.punti[86].parametro_1, 0);
  EXPECT_EQ(m.celle[0].velocita, 0);
}

TEST(Parti, EmptyTrainInterpretsNothing) {
  const modello m = compila_da(linea_1000(), std::string());
  EXPECT_EQ(m.codice_errore, 0);
}

TEST(Parti, RoundingOfReadNumbers) {
  const modello m =
      compila_da(linea_1000({}, {"sfondo uno, 2.5", "sfondo due, 3.5", "sfondo tre, -2.5"}),
                 treno({"sabbia, 0.5", "numero vetture, 1.5", "massa frenata, 12.4999"}));
  EXPECT_EQ(m.punti[85].valore_1, 2);
  EXPECT_EQ(m.punti[85].valore_3, 4);
  EXPECT_EQ(m.punti[85].valore_2, -2);
  EXPECT_EQ(m.punti[86].parametro_1, 0);
  EXPECT_EQ(m.punti[84].valore_3, 2);
  EXPECT_EQ(m.punti[84].valore_1, 12);
}

TEST(Parti, FieldsThatAreNotNumbersReadZero) {
  const modello m =
      compila_da(linea_1000({}, {"sfondo uno, 12abc", "sfondo due, 1e3", "sfondo tre, .5"}),
                 treno({"sabbia, 5.", "numero vetture, \t7", "massa frenata, \"9\""}));
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.punti[85].valore_1, 0);
  EXPECT_EQ(m.punti[85].valore_3, 0);
  EXPECT_EQ(m.punti[85].valore_2, 0);
  EXPECT_EQ(m.punti[86].parametro_1, 0);
  EXPECT_EQ(m.punti[84].valore_3, 0);
  EXPECT_EQ(m.punti[84].valore_1, 0);
}

TEST(Parti, LineEndsOfEveryKind) {
  for (std::string_view fine : {"\r\n", "\n", "\r"}) {
    const std::string l = righe(
        {"[generale]", "lunghezza percorso, 1000", "[p]", "pendenza, 300, 5", "[fine]"}, fine);
    const std::string t = righe({"[generale]", "sabbia, 7", "[fine]"}, fine);
    const modello m = compila_da(l, t);
    EXPECT_EQ(m.codice_errore, 0);
    EXPECT_EQ(m.celle[6].pendenza, 105);
    EXPECT_EQ(m.punti[86].parametro_1, 7);
  }
}

TEST(Parti, BoardTextAndHighBytes) {
  const modello m =
      compila_da(linea_1000({"cartello_indicatore, 1000,   ( Galleria \xe8 )( \"Nome\" )   ",
                             "cartello_indicatore, 2000, \tx"}),
                 treno());
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.punti[80].nome, "( Galleria \xe8 )( \"Nome\" )");
  EXPECT_EQ(m.punti[79].nome, "\tx");
  EXPECT_EQ(m.celle[21].evento, 14);
  EXPECT_EQ(m.celle[21].dato_1, 80);
}

TEST(Parti, StationNameIsReadWholeWithHyphensAndTrailingBlanksDropped) {
  const modello m = compila_da(linea_1000(), treno({stazione(1000, 25, 200, 0, "  A - B   ")}));
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.punti[1].nome, "A - B");
}

}  // namespace
}  // namespace percorso
