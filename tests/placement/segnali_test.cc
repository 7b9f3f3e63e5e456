#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "placement/piazzamento.h"
#include "support/celle.h"

namespace percorso {
namespace {

struct caso_riga {
  dati_segnale s;
  std::int64_t cella;
  std::array<std::int16_t, 4> dati;
  std::uint8_t tempo;
  std::array<std::pair<std::int64_t, std::uint8_t>, 4> ripetizioni;
};

// Signal rows of the embedded train text.
TEST(MemoSegnale, RigheDelTestoDelTreno) {
  const caso_riga casi[] = {
      {{12600, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0},
       253,
       {43, 11, 0, 4},
       0,
       {{{251, 41}, {249, 42}, {247, 43}, {245, 44}}}},
      {{20100, 2, 2, 4, 0, 1, 1, 3, 1, 0, 235},
       403,
       {23, 41, 0, 17},
       235,
       {{{401, 71}, {399, 72}, {397, 73}, {395, 74}}}},
      {{18950, 1, 3, 1, 0, 0, 0, 0, 0, 0, 0},
       380,
       {30, 10, 0, 3},
       0,
       {{{378, 31}, {376, 32}, {374, 33}, {372, 34}}}},
      {{13400, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0},
       269,
       {42, 11, 11, 8},
       0,
       {{{267, 81}, {265, 82}, {263, 83}, {261, 84}}}},
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(k.s.posizione);
    modello m = con_celle(500);
    // Repetition cells keep their own event; the signal cell keeps its line bytes.
    m.celle[static_cast<std::size_t>(k.ripetizioni[1].first)].evento = evento::inizio_rallentamento;
    m.celle[static_cast<std::size_t>(k.cella)].montagna = 2;
    m.celle[static_cast<std::size_t>(k.cella)].ripetizione = 99;
    modello prima = m;

    ASSERT_EQ(memo_segnale(m, k.s), 0);
    const cella& c = m.celle[static_cast<std::size_t>(k.cella)];
    EXPECT_EQ(c.evento, evento::segnale);
    EXPECT_EQ(c.dato_1, k.dati[0]);
    EXPECT_EQ(c.dato_2, k.dati[1]);
    EXPECT_EQ(c.dato_3, k.dati[2]);
    EXPECT_EQ(c.dato_4, k.dati[3]);
    EXPECT_EQ(c.tempo_segnale, k.tempo);
    EXPECT_EQ(c.montagna, 2);
    EXPECT_EQ(c.ripetizione, 99);
    for (const auto& [i, codice] : k.ripetizioni)
      prima.celle[static_cast<std::size_t>(i)].ripetizione = codice;
    prima.celle[static_cast<std::size_t>(k.cella)] = c;
    // Nothing else changed anywhere: compare every cell.
    EXPECT_EQ(m.celle, prima.celle);
    EXPECT_EQ(m.codice_errore, 0);
  }
}

TEST(MemoSegnale, TempoDelSegnale) {
  struct caso {
    std::int32_t sx, tempo;
    std::uint8_t atteso;
  };
  const caso casi[] = {
      {2, 50, 101},  {1, 50, 0},    {2, 0, 0},    {2, 235, 235}, {2, 300, 44}, {2, 1, 101},
      {2, 100, 101}, {2, 101, 101}, {2, -1, 255}, {2, 256, 0},   {0, 235, 0},  {3, 235, 0},
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(testing::Message() << "sx " << k.sx << " tempo " << k.tempo);
    modello m = con_celle(100);
    ASSERT_EQ(memo_segnale(m, {2000, k.sx, 0, 0, 0, 0, 0, 0, 0, 0, k.tempo}), 0);
    EXPECT_EQ(m.celle[41].tempo_segnale, k.atteso);
  }
}

TEST(MemoSegnale, CellaDellaPosizioneMetaAlPari) {
  const std::pair<std::int32_t, std::size_t> casi[] = {
      {850, 18}, {1025, 22}, {1075, 22}, {1125, 24}, {1024, 21}, {1026, 22}, {-25, 0}};
  for (const auto& [posizione, cella] : casi) {
    SCOPED_TRACE(posizione);
    modello m = con_celle(100);
    ASSERT_EQ(memo_segnale(m, {posizione, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(m.celle[cella].evento, evento::segnale);
  }
}

TEST(MemoSegnale, ValoriFuoriCifraSiAvvolgonoA16E8Bit) {
  modello m = con_celle(100);
  // 4000 * 10 = 40000, 3276 * 10 + 8 = 32768; (9 * 3) * 10 + 1 = 271.
  ASSERT_EQ(memo_segnale(m, {2000, 0, 4000, -3277, 0, 3276, 8, 0, 0, 7, 0}), 0);
  EXPECT_EQ(m.celle[41].dato_1, -25536);
  EXPECT_EQ(m.celle[41].dato_2, -32770 + 65536);
  EXPECT_EQ(m.celle[41].dato_3, 7);
  EXPECT_EQ(m.celle[41].dato_4, -32768);
  EXPECT_EQ(m.celle[39].ripetizione, (8 * 10 + 1) & 0xFF);

  modello n = con_celle(100);
  ASSERT_EQ(memo_segnale(n, {2000, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 0);
  EXPECT_EQ(n.celle[39].ripetizione, 271 - 256);
  EXPECT_EQ(n.celle[33].ripetizione, 274 - 256);
}

TEST(MemoSegnale, CellaLiberaSoloCon0O11) {
  modello m = con_celle(100);
  m.celle[41].evento = evento::montagna;
  m.celle[41].montagna = 2;
  ASSERT_EQ(memo_segnale(m, {2000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0}), 0);
  EXPECT_EQ(m.celle[41].evento, evento::segnale);
  EXPECT_EQ(m.celle[41].montagna, 2);

  for (const std::uint8_t occupante :
       {evento::segnale, evento::inizio_rallentamento, evento::fermata, evento::punto_velocita}) {
    SCOPED_TRACE(static_cast<int>(occupante));
    modello n = con_celle(100);
    n.celle[41].evento = occupante;
    n.celle[41].dato_1 = 5;
    const modello prima = n;
    EXPECT_EQ(memo_segnale(n, {2000, 2, 4, 1, 0, 0, 1, 3, 1, 0, 235}), 16);
    // Not even the repetition cells are written.
    EXPECT_EQ(n.celle, prima.celle);
  }
}

TEST(MemoSegnale, DueSegnaliA200Metri) {
  modello m = con_celle(100);
  ASSERT_EQ(memo_segnale(m, {2000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0}), 0);  // cell 41, code 4x
  ASSERT_EQ(memo_segnale(m, {2200, 2, 2, 4, 0, 1, 1, 3, 1, 0, 0}), 0);  // cell 45, code 7x
  EXPECT_EQ(m.celle[41].evento, evento::segnale);
  EXPECT_EQ(m.celle[41].dato_1, 43);
  EXPECT_EQ(m.celle[41].ripetizione, 72);
  EXPECT_EQ(m.celle[43].ripetizione, 71);
  EXPECT_EQ(m.celle[39].ripetizione, 73);
  EXPECT_EQ(m.celle[37].ripetizione, 74);
  EXPECT_EQ(m.celle[35].ripetizione, 43);
  EXPECT_EQ(m.celle[33].ripetizione, 44);
}

TEST(MemoSegnale, RipetizioniPrimaDellaCella0SonoTralasciate) {
  modello m = con_celle(100);
  m.celle[0].ripetizione = 9;
  ASSERT_EQ(memo_segnale(m, {150, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0}), 0);  // cell 4
  EXPECT_EQ(m.celle[4].evento, evento::segnale);
  EXPECT_EQ(m.celle[2].ripetizione, 41);
  EXPECT_EQ(m.celle[0].ripetizione, 42);
  EXPECT_EQ(m.codice_errore, 0);

  modello n = con_celle(100);
  ASSERT_EQ(memo_segnale(n, {-25, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0}), 0);  // cell 0
  EXPECT_EQ(n.celle[0].evento, evento::segnale);
  EXPECT_EQ(n.celle[0].ripetizione, 0);
}

TEST(MemoSegnale, CellaPrimaDellaCella0EFallimentoGenerale) {
  modello m = con_celle(100);
  const modello prima = m;
  EXPECT_EQ(memo_segnale(m, {-100, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0}), codice_generale);
  EXPECT_EQ(m.celle, prima.celle);
}

}  // namespace
}  // namespace percorso
