#include <gtest/gtest.h>

#include <array>

#include "placement/piazzamento.h"
#include "support/celle.h"

namespace percorso {
namespace {

cella& a(modello& m, std::int64_t i) {
  return m.celle[static_cast<std::size_t>(i)];
}

struct atteso_cella {
  std::int64_t indice;
  std::uint8_t evento;
  std::int16_t dato_1, dato_2, dato_3;
};

// Applies the expected cells to a copy of the model taken before the call.
void confronta(const modello& dopo, modello prima, std::initializer_list<atteso_cella> attese) {
  for (const auto& e : attese) {
    cella& c = a(prima, e.indice);
    c.evento = e.evento;
    c.dato_1 = e.dato_1;
    c.dato_2 = e.dato_2;
    c.dato_3 = e.dato_3;
  }
  for (std::size_t i = 0; i < dopo.celle.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(dopo.celle[i], prima.celle[i]);
  }
}

TEST(MemoRallentamento, PrimaRigaDelTestoDelTreno) {
  modello m = con_celle(2021);
  const modello prima = m;
  ASSERT_EQ(memo_rallentamento(m, {2000, 60, 700, 0, 0, 60}), 0);
  confronta(m, prima, {{17, 4, 60, 60, 0}, {41, 3, 60, 60, 0}, {55, 2, 60, 60, 0}});
}

TEST(MemoRallentamento, SecondaRigaConPreavviso) {
  modello m = con_celle(2021);
  const modello prima = m;
  ASSERT_EQ(memo_rallentamento(m, {77800, 100, 500, 0, 1, 100}), 0);
  confronta(m, prima,
            {{1533, 4, 100, 100, 0},
             {1557, 3, 100, 100, 0},
             {1567, 2, 100, 100, 0},
             {1532, 5, 1, 1, 0},
             {1531, 5, 2, 2, 0},
             {1530, 5, 3, 3, 0},
             {1529, 5, 4, 4, 0}});
}

TEST(MemoRallentamento, Avviso1500Contro1550) {
  modello m = con_celle(100);
  const modello prima = m;
  ASSERT_EQ(memo_rallentamento(m, {1500, 60, 100, 0, 1, 60}), 0);
  confronta(m, prima, {{31, 3, 60, 60, 0}, {33, 2, 60, 60, 0}});

  modello n = con_celle(100);
  const modello prima_n = n;
  ASSERT_EQ(memo_rallentamento(n, {1550, 60, 100, 0, 1, 60}), 0);
  confronta(n, prima_n,
            {{8, 4, 60, 60, 0},
             {32, 3, 60, 60, 0},
             {34, 2, 60, 60, 0},
             {7, 5, 1, 1, 0},
             {6, 5, 2, 2, 0},
             {5, 5, 3, 3, 0},
             {4, 5, 4, 4, 0}});
}

// Fields under a condition keep what the cells held; dato_3 of the warning and
// pre-warning cells and dato_4 everywhere are never written.
TEST(MemoRallentamento, CampiNonScrittiRestanoComeErano) {
  modello m = con_celle(100);
  for (cella& c : m.celle) {
    c.evento = evento::montagna;
    c.dato_1 = 7;
    c.dato_2 = 77;
    c.dato_3 = 777;
    c.dato_4 = 7777;
    c.montagna = 2;
    c.ripetizione = 41;
  }
  const modello prima = m;
  ASSERT_EQ(memo_rallentamento(m, {2000, 60, 700, -3, 1, 0}), 0);
  confronta(m, prima,
            {{17, 4, 60, 77, 777},
             {41, 3, 60, 77, -3},
             {55, 2, 60, 77, -3},
             {16, 5, 1, 77, 777},
             {15, 5, 2, 77, 777},
             {14, 5, 3, 77, 777},
             {13, 5, 4, 77, 777}});
}

TEST(MemoRallentamento, LunghezzaZeroLasciaLInizio) {
  modello m = con_celle(100);
  const modello prima = m;
  ASSERT_EQ(memo_rallentamento(m, {2000, 60, 0, 9, 0, 60}), 0);
  confronta(m, prima, {{17, 4, 60, 60, 0}, {41, 3, 60, 60, 9}});
}

TEST(MemoRallentamento, ValoriA16Bit) {
  modello m = con_celle(100);
  ASSERT_EQ(memo_rallentamento(m, {2000, 65536 + 60, 700, 65536 + 2, 0, -65536 - 1}), 0);
  EXPECT_EQ(a(m, 41).dato_1, 60);
  EXPECT_EQ(a(m, 41).dato_2, -1);
  EXPECT_EQ(a(m, 41).dato_3, 2);
  EXPECT_EQ(a(m, 17).dato_1, 60);
}

TEST(MemoRallentamento, CelleOccupateNonScrivonoNulla) {
  struct caso {
    const char* nome;
    std::int64_t occupata;
    std::int32_t codice;
  };
  // Start 41, end 55, warning 17; the first failing test decides.
  const caso casi[] = {{"avviso", 17, 17}, {"inizio", 41, 18}, {"fine", 55, 19}};
  for (const auto& k : casi) {
    SCOPED_TRACE(k.nome);
    modello m = con_celle(100);
    a(m, k.occupata).evento = evento::segnale;
    const modello prima = m;
    EXPECT_EQ(memo_rallentamento(m, {2000, 60, 700, 0, 1, 60}), k.codice);
    EXPECT_EQ(m.celle, prima.celle);
  }
  modello m = con_celle(100);
  a(m, 17).evento = evento::segnale;
  a(m, 41).evento = evento::segnale;
  a(m, 55).evento = evento::segnale;
  EXPECT_EQ(memo_rallentamento(m, {2000, 60, 700, 0, 1, 60}), 17);
  modello n = con_celle(100);
  a(n, 41).evento = evento::preavviso;
  a(n, 55).evento = evento::fermata;
  EXPECT_EQ(memo_rallentamento(n, {2000, 60, 700, 0, 1, 60}), 18);

  // A start on a mountain-side mark is placed.
  modello o = con_celle(100);
  a(o, 41).evento = evento::montagna;
  EXPECT_EQ(memo_rallentamento(o, {2000, 60, 700, 0, 1, 60}), 0);
  EXPECT_EQ(a(o, 41).evento, evento::inizio_rallentamento);
}

TEST(MemoRallentamento, PreavvisoOccupatoLasciaAvvisoInizioEFine) {
  modello m = con_celle(100);
  a(m, 16).evento = evento::segnale;  // a signal 1250 m before the start
  const modello prima = m;
  EXPECT_EQ(memo_rallentamento(m, {2000, 60, 700, 0, 1, 60}), 20);
  confronta(m, prima, {{17, 4, 60, 60, 0}, {41, 3, 60, 60, 0}, {55, 2, 60, 60, 0}});

  modello n = con_celle(100);
  a(n, 13).evento = evento::punto_velocita;  // farthest cell of the run
  EXPECT_EQ(memo_rallentamento(n, {2000, 60, 700, 0, 1, 60}), 20);
  EXPECT_EQ(a(n, 16).evento, evento::nessuno);
  EXPECT_EQ(a(n, 17).evento, evento::avviso_rallentamento);
}

// Starts on odd multiples of 25 m: W and K come from their own roundings.
TEST(MemoRallentamento, InizioSuMultiploDispariDi25) {
  modello m = con_celle(100);
  // W = round(7.5) = 8, K = round(6.5) = 6: the run begins two cells before W.
  ASSERT_EQ(memo_rallentamento(m, {1525, 60, 100, 0, 1, 60}), 0);
  EXPECT_EQ(a(m, 8).evento, evento::avviso_rallentamento);
  EXPECT_EQ(a(m, 7).evento, evento::nessuno);
  const std::array<std::int64_t, 4> corsa = {6, 5, 4, 3};
  for (std::size_t n = 0; n < corsa.size(); ++n) {
    EXPECT_EQ(a(m, corsa[n]).evento, evento::preavviso);
    EXPECT_EQ(a(m, corsa[n]).dato_1, static_cast<std::int16_t>(n + 1));
  }
  EXPECT_EQ(a(m, 32).evento, evento::inizio_rallentamento);  // round(31.5) = 32

  // W = round(8.5) = 8 and K = round(7.5) = 8: the run begins on W itself.
  modello n = con_celle(100);
  EXPECT_EQ(memo_rallentamento(n, {1575, 60, 100, 0, 1, 60}), 20);
  EXPECT_EQ(a(n, 8).evento, evento::avviso_rallentamento);
  EXPECT_EQ(a(n, 32).evento, evento::inizio_rallentamento);  // round(32.5) = 32
  EXPECT_EQ(a(n, 34).evento, evento::fine_rallentamento);
  EXPECT_EQ(a(n, 7).evento, evento::nessuno);
}

TEST(MemoRallentamento, FineOltreLUltimaCella) {
  modello m = con_celle(100);  // last cell 99
  const modello prima = m;
  // End cell round(4950 / 50 + 1) = 100 lies beyond the array.
  EXPECT_EQ(memo_rallentamento(m, {2000, 60, 2950, 0, 1, 60}), codice_generale);
  EXPECT_EQ(m.celle, prima.celle);
  // An end on the last cell is placed.
  EXPECT_EQ(memo_rallentamento(m, {2000, 60, 2900, 0, 1, 60}), 0);
  EXPECT_EQ(a(m, 99).evento, evento::fine_rallentamento);

  // The warning test comes first.
  modello n = con_celle(100);
  a(n, 17).evento = evento::segnale;
  EXPECT_EQ(memo_rallentamento(n, {2000, 60, 2950, 0, 1, 60}), 17);
}

TEST(MemoRallentamento, InizioPrimaDellaCella0) {
  modello m = con_celle(100);
  const modello prima = m;
  EXPECT_EQ(memo_rallentamento(m, {-100, 60, 700, 0, 1, 60}), codice_generale);
  EXPECT_EQ(m.celle, prima.celle);
}

}  // namespace
}  // namespace percorso
