#include <gtest/gtest.h>

#include <array>

#include "placement/piazzamento.h"
#include "support/celle.h"

namespace percorso {
namespace {

TEST(MemoIndicatori, RigheDelTestoDellaLinea) {
  struct caso {
    dati_indicatori d;
    std::size_t cella;
    std::array<std::int16_t, 4> dati;
  };
  const caso casi[] = {
      {{2500, 105, 115, 125, 0, 105, 115, 125, 0}, 51, {2121, 2323, 2525, 0}},
      {{22500, 140, 160, 180, 0, 140, 160, 180, 0}, 451, {2828, 3232, 3636, 0}},
      {{45400, 140, 150, 150, 2, 140, 150, 150, 2}, 909, {2828, 3030, 3030, 22}},
      {{45700, 140, 150, 150, 1, 140, 150, 150, 1}, 915, {2828, 3030, 3030, 11}},
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(k.d.posizione);
    modello m = con_celle(1000);
    m.celle[k.cella].montagna = 2;
    m.celle[k.cella].tempo_segnale = 9;
    modello prima = m;
    ASSERT_EQ(memo_indicatori_v_max(m, k.d), 0);
    cella& c = prima.celle[k.cella];
    c.evento = evento::indicatori;
    c.dato_1 = k.dati[0];
    c.dato_2 = k.dati[1];
    c.dato_3 = k.dati[2];
    c.dato_4 = k.dati[3];
    EXPECT_EQ(m.celle, prima.celle);
  }
}

TEST(MemoIndicatori, ArrotondamentoEStrisce) {
  struct caso {
    std::int32_t vas, vad, strisces, strisced;
    std::int16_t dato_1, dato_4;
  };
  const caso casi[] = {
      {100, 102, 0, 0, 2020, 0},      // 20.4 rounds down
      {100, 103, 0, 0, 2021, 0},      // 20.6 rounds up
      {100, -3, 2, 1, 1999, 21},      // -0.6 rounds to -1
      {1638, 0, 0, 0, 32760, 0},      //
      {1638, 37, 0, 0, 32767, 0},     // 32767.4
      {-1638, -40, 0, 0, -32768, 0},  // -32760 - 8
      {214748365, 0, 0, 0, 4, 0},     // the product wraps at 32 bits
      {0, 0, 3277, 0, 0, -32766},     // 32770 keeps its low 16 bits
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(testing::Message() << k.vas << " " << k.vad);
    modello m = con_celle(100);
    ASSERT_EQ(memo_indicatori_v_max(m, {2000, k.vas, 0, 0, k.strisces, k.vad, 0, 0, k.strisced}),
              0);
    EXPECT_EQ(m.celle[41].dato_1, k.dato_1);
    EXPECT_EQ(m.celle[41].dato_4, k.dato_4);
  }
}

TEST(MemoIndicatori, CellaDiMontagnaAccettataSecondaCoppiaRifiutata) {
  modello m = con_celle(100);
  m.celle[51].evento = evento::montagna;
  ASSERT_EQ(memo_indicatori_v_max(m, {2500, 105, 115, 125, 0, 105, 115, 125, 0}), 0);
  EXPECT_EQ(m.celle[51].evento, evento::indicatori);
  const modello prima = m;
  EXPECT_EQ(memo_indicatori_v_max(m, {2500, 140, 150, 150, 2, 140, 150, 150, 2}), 21);
  EXPECT_EQ(m.celle, prima.celle);
}

// A speed sum outside 16 bits is the general failure; the fields written before stay.
TEST(MemoIndicatori, SommaFuoriDai16Bit) {
  struct caso {
    dati_indicatori d;
    std::int16_t dato_1, dato_2;
  };
  const caso casi[] = {
      {{2000, 1639, 100, 100, 1, 0, 0, 0, 1}, -1, -1},      // 32780 fails first
      {{2000, 1638, 100, 100, 1, 38, 0, 0, 1}, -1, -1},     // 32767.6 rounds to 32768
      {{2000, -1639, 100, 100, 1, 0, 0, 0, 1}, -1, -1},     // -32780
      {{2000, 100, 1700, 100, 1, 100, 0, 0, 1}, 2020, -1},  // dato_2 fails
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(testing::Message() << k.d.vas << " " << k.d.vbs);
    modello m = con_celle(100);
    m.celle[41].dato_1 = -1;
    m.celle[41].dato_2 = -1;
    m.celle[41].dato_3 = -1;
    m.celle[41].dato_4 = -1;
    EXPECT_EQ(memo_indicatori_v_max(m, k.d), codice_generale);
    EXPECT_EQ(m.celle[41].evento, evento::indicatori);
    EXPECT_EQ(m.celle[41].dato_1, k.dato_1);
    EXPECT_EQ(m.celle[41].dato_2, k.dato_2);
    EXPECT_EQ(m.celle[41].dato_3, -1);
    EXPECT_EQ(m.celle[41].dato_4, -1);
  }
}

}  // namespace
}  // namespace percorso
