// Header values and profile runs: the length line and its cells, the
// gradient, speed and adhesion runs with their tails, and the stored values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/testi_sorgente.h"

namespace percorso {
namespace {

using prova::compila;
using prova::linea;
using prova::treno;

std::vector<int> pendenze(const modello& m, int da, int a) {
  std::vector<int> v;
  for (int i = da; i <= a; ++i) v.push_back(m.celle[static_cast<std::size_t>(i)].pendenza);
  return v;
}

// The gradient rows 0, 300, 586 and 165 m of the embedded line description.
TEST(Pendenze, WorkedExample) {
  const modello m = compila(linea(1000, {"pendenza,   0,    0", "pendenza, 300, -3",
                                         "pendenza, 586, 0", "pendenza, 165, -4"}),
                            treno());
  ASSERT_EQ(m.codice_errore, 0);
  // "pendenza, 0, 0": e = 0, no cell; "300, -3" fills 0 to 5 with 100.
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(m.celle[i].pendenza, 100) << i;
  // "586, 0" (e = 12) fills 6 to 11 with 97.
  for (int i = 6; i <= 11; ++i) EXPECT_EQ(m.celle[i].pendenza, 97) << i;
  // "165, -4" lies behind the cursor (e = 3, cursor 12) and fills exactly cell 12 with 100.
  EXPECT_EQ(m.celle[12].pendenza, 100);
  // The tail puts -4 (96) from cell 13 to ultima_cella - 3; the last three keep 0.
  for (int i = 13; i <= 157; ++i) EXPECT_EQ(m.celle[i].pendenza, 96) << i;
  EXPECT_EQ(pendenze(m, 158, 160), (std::vector<int>{0, 0, 0}));
}

// e = round(p / 50), halves to even; a line fills from the cursor to e - 1.
struct caso_e {
  std::int32_t p;
  int celle_riempite;  // cells filled with the value in force before the line
};

class IndiceRun : public ::testing::TestWithParam<caso_e> {};

TEST_P(IndiceRun, FillsUpToE) {
  const std::string riga = "pendenza, " + std::to_string(GetParam().p) + ", 7";
  const modello m = compila(linea(1000, {"pendenza, 0, 3", riga}), treno());
  ASSERT_EQ(m.codice_errore, 0);
  const int n = GetParam().celle_riempite;
  for (int i = 0; i < n; ++i) EXPECT_EQ(m.celle[i].pendenza, 103) << i;
  EXPECT_EQ(m.celle[n].pendenza, 107);
}

INSTANTIATE_TEST_SUITE_P(Pendenze, IndiceRun,
                         ::testing::Values(caso_e{25, 0}, caso_e{26, 1}, caso_e{50, 1},
                                           caso_e{74, 1}, caso_e{75, 2}, caso_e{125, 2},
                                           caso_e{126, 3}, caso_e{175, 4}, caso_e{-500, 0}));

TEST(Pendenze, LineBehindTheCursorStillFillsOneCell) {
  const modello m = compila(
      linea(1000, {"pendenza, 500, 1", "pendenza, 100, 2", "pendenza, 50, 3", "pendenza, 0, 4"}),
      treno());
  ASSERT_EQ(m.codice_errore, 0);
  EXPECT_EQ(pendenze(m, 0, 13), (std::vector<int>{100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                                                  101, 102, 104, 104}));
}

TEST(Pendenze, WithoutLinesFillsUpToThreeBeforeTheLastCell) {
  const modello m = compila(linea(1000), treno());
  ASSERT_EQ(m.ultima_cella(), 160);
  for (int i = 0; i <= 157; ++i) EXPECT_EQ(m.celle[i].pendenza, 100) << i;
  EXPECT_EQ(pendenze(m, 158, 160), (std::vector<int>{0, 0, 0}));
}

TEST(Pendenze, TailWritesAtLeastOneCell) {
  // The line at 7900 leaves the cursor at 158 = ultima_cella - 2: the tail still writes it.
  const modello m = compila(linea(1000, {"pendenza, 7900, 1"}), treno());
  ASSERT_EQ(m.codice_errore, 0);
  EXPECT_EQ(pendenze(m, 156, 160), (std::vector<int>{100, 100, 101, 0, 0}));
}

TEST(Pendenze, LowEightBits) {
  const modello a = compila(linea(1000, {"pendenza, 0, 200"}), treno());
  EXPECT_EQ(a.celle[0].pendenza, 44);  // 300 & 255
  const modello b = compila(linea(1000, {"pendenza, 0, -101"}), treno());
  EXPECT_EQ(b.celle[0].pendenza, 255);
  const modello c = compila(linea(1000, {"pendenza, 0, -2147483648"}), treno());
  EXPECT_EQ(c.codice_errore, 0);
  EXPECT_EQ(c.celle[0].pendenza, 100);  // -2^31 + 100, low 8 bits
  const modello d = compila(linea(1000, {"pendenza, 0, 2147483647"}), treno());
  EXPECT_EQ(d.codice_errore, 0);
  EXPECT_EQ(d.celle[0].pendenza, 99);  // 2^31 + 99, low 8 bits
}

// Speed: the speed in force divided by 5.0, rounded, as an unsigned 8-bit value.
struct caso_velocita {
  std::int32_t kmh;
  std::int32_t codice;
  int cella;
};

class Velocita : public ::testing::TestWithParam<caso_velocita> {};

TEST_P(Velocita, StoredAsFifths) {
  const std::string riga = "velocita, 0, " + std::to_string(GetParam().kmh);
  const modello m = compila(linea(1000), treno({riga}));
  EXPECT_EQ(m.codice_errore, GetParam().codice);
  EXPECT_EQ(m.celle[0].velocita, GetParam().cella);
}

INSTANTIATE_TEST_SUITE_P(Profili, Velocita,
                         ::testing::Values(caso_velocita{62, 0, 12}, caso_velocita{63, 0, 13},
                                           caso_velocita{70, 0, 14}, caso_velocita{0, 0, 0},
                                           caso_velocita{2, 0, 0}, caso_velocita{3, 0, 1},
                                           caso_velocita{-2, 0, 0}, caso_velocita{1277, 0, 255},
                                           caso_velocita{1278, 25, 0}, caso_velocita{-3, 25, 0}));

TEST(Velocita, RunStopsAtTheLastCellAndTheTailWritesIt) {
  const modello m =
      compila(linea(1000), treno({"velocita, 7900, 5", "velocita, 50, 10", "velocita, 50, 15",
                                  "velocita, 50, 20", "velocita, 50, 5000", "velocita, 50, 30"}));
  ASSERT_EQ(m.codice_errore, 0);
  // Before the first line the speed in force is 0.
  EXPECT_EQ(m.celle[157].velocita, 0);
  EXPECT_EQ(m.celle[158].velocita, 1);
  EXPECT_EQ(m.celle[159].velocita, 2);
  // The line at cursor 160 stops before its store; the tail writes the last cell.
  EXPECT_EQ(m.celle[160].velocita, 6);
}

TEST(Velocita, TooFastWhenStoredFromALine) {
  const modello m = compila(
      linea(1000), treno({"velocita, 0, 100", "velocita, 500, 1300", "velocita, 1000, 100"}));
  EXPECT_EQ(m.codice_errore, 25);
  // The cells stored before the failing one stay.
  EXPECT_EQ(m.celle[9].velocita, 20);
  EXPECT_EQ(m.celle[10].velocita, 0);
}

TEST(Velocita, BeforeTheFirstLineCellsKeepZero) {
  const modello m = compila(linea(1000), treno({"velocita, 125, 70", "aderenza, 175, 90"}));
  ASSERT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.celle[0].velocita, 0);
  EXPECT_EQ(m.celle[1].velocita, 0);
  EXPECT_EQ(m.celle[2].velocita, 14);
  EXPECT_EQ(m.celle[3].aderenza, 0);
  EXPECT_EQ(m.celle[4].aderenza, 90);
}

TEST(Aderenza, LowEightBits) {
  const modello m = compila(linea(1000), treno({"aderenza, 0, 300", "aderenza, 100, -1"}));
  ASSERT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.celle[0].aderenza, 44);
  EXPECT_EQ(m.celle[1].aderenza, 44);
  EXPECT_EQ(m.celle[2].aderenza, 255);
}

TEST(Aderenza, TailsOfSpeedAndAdhesion) {
  const modello m = compila(linea(1000), treno({"velocita, 0, 100", "aderenza, 0, 100"}));
  ASSERT_EQ(m.codice_errore, 0);
  for (int i = 0; i <= 157; ++i) {
    EXPECT_EQ(m.celle[i].velocita, 20) << i;
    EXPECT_EQ(m.celle[i].aderenza, 100) << i;
  }
  for (int i = 158; i <= 160; ++i) {
    EXPECT_EQ(m.celle[i].velocita, 0) << i;
    EXPECT_EQ(m.celle[i].aderenza, 0) << i;
  }
}

TEST(Aderenza, SpeedTailFailureSkipsTheAdhesionTail) {
  const modello m = compila(linea(1000), treno({"aderenza, 0, 100", "velocita, 0, 9999"}));
  EXPECT_EQ(m.codice_errore, 25);
  EXPECT_EQ(m.celle[0].aderenza, 0);
}

// The length line: lunghezza_estesa = n + 7000, ultima_cella = round(that / 50).
struct caso_lunghezza {
  std::int32_t n;
  std::int32_t ultima;
};

class Lunghezza : public ::testing::TestWithParam<caso_lunghezza> {};

TEST_P(Lunghezza, MakesTheCells) {
  modello m = prova::nuovo_modello();
  m.flag_tracciato = 1;
  const std::string l =
      "[generale]\r\nlunghezza percorso, " + std::to_string(GetParam().n) + "\r\n";
  memorizza_dati(m, prova::testi(l, std::nullopt));
  EXPECT_EQ(m.ultima_cella(), GetParam().ultima);
  EXPECT_EQ(m.lunghezza_estesa, GetParam().n + 7000);
  EXPECT_EQ(m.punti[84].valore_2, GetParam().n);
  ASSERT_TRUE(m.tracciato.has_value());
  EXPECT_EQ(m.tracciato->x.size(), static_cast<std::size_t>(GetParam().n + 7001));
}

INSTANTIATE_TEST_SUITE_P(Intestazione, Lunghezza,
                         ::testing::Values(caso_lunghezza{94000, 2020}, caso_lunghezza{1000, 160},
                                           caso_lunghezza{1000000, 20140},
                                           caso_lunghezza{-6975, 0},  // 25 / 50 = 0.5 → 0
                                           caso_lunghezza{-6925, 2},  // 1.5 → 2
                                           caso_lunghezza{-6875, 2},  // 2.5 → 2
                                           caso_lunghezza{-6825, 4},  // 3.5 → 4
                                           caso_lunghezza{-7000, 0}, caso_lunghezza{1025, 160},
                                           caso_lunghezza{1075, 162}));

TEST(Lunghezza, SecondLengthLineMakesNewCells) {
  const modello m =
      compila(linea(1000, {"pendenza, 300, 5"}, {"lunghezza percorso, 2000"}), treno(), 1);
  ASSERT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.ultima_cella(), 180);
  EXPECT_EQ(m.tracciato->x.size(), 9001u);
  EXPECT_EQ(m.celle[177].pendenza, 105);
  EXPECT_EQ(m.celle[178].pendenza, 0);
}

TEST(Lunghezza, ExactlyOneMillionIsAccepted) {
  const modello m = compila(linea(1000000), treno());
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.ultima_cella(), 20140);
}

// The plan of a line without curves: straight, the last two metres empty.
TEST(Piano, StraightWithoutCurves) {
  const modello m = compila(linea(1000), treno(), 1);
  ASSERT_EQ(m.codice_errore, 0);
  const piano& p = *m.tracciato;
  EXPECT_EQ(p.assegnati, 7999);
  for (int k = 0; k <= 7998; ++k) {
    EXPECT_EQ(p.x[k], 0.0);
    EXPECT_EQ(p.y[k], static_cast<double>(k));
  }
  EXPECT_EQ(tipo_metro(p, 0), tipo_elemento::intero);
  EXPECT_EQ(tipo_metro(p, 1), tipo_elemento::intero);
  EXPECT_EQ(tipo_metro(p, 2), tipo_elemento::reale);
  EXPECT_EQ(tipo_metro(p, 7998), tipo_elemento::reale);
  EXPECT_EQ(tipo_metro(p, 7999), tipo_elemento::vuoto);
  EXPECT_EQ(tipo_metro(p, 8000), tipo_elemento::vuoto);
}

TEST(Piano, NotMadeWithoutTheFlag) {
  const modello m = compila(linea(1000, {"curvad5, 650, 200"}), treno(), 0);
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_FALSE(m.tracciato.has_value());
}

TEST(Piano, StoppedInTheHeaderLeavesThePlanEmpty) {
  const modello m = compila(linea(1000, {}, {"ripetizione segnali, 75, 0"}), treno(), 1);
  EXPECT_EQ(m.codice_errore, 3);
  ASSERT_TRUE(m.tracciato.has_value());
  EXPECT_EQ(m.tracciato->assegnati, 0);
}

}  // namespace
}  // namespace percorso
