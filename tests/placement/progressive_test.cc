#include <gtest/gtest.h>

#include <array>

#include "placement/piazzamento.h"

namespace percorso {
namespace {

using terna = std::array<std::int32_t, 3>;
using tre_slot = std::array<terna, 3>;  // slots 81, 82, 83

tre_slot ordina(const tre_slot& entrata) {
  modello m;
  for (int n = 0; n < 3; ++n) {
    punto& p = m.punti[static_cast<std::size_t>(81 + n)];
    p.valore_1 = entrata[n][0];
    p.valore_2 = entrata[n][1];
    p.valore_3 = entrata[n][2];
    p.nome = "resta";
  }
  const modello prima = m;
  progressive_ordina(m);
  tre_slot uscita{};
  for (int n = 0; n < 3; ++n) {
    punto& p = m.punti[static_cast<std::size_t>(81 + n)];
    uscita[n] = {p.valore_1, p.valore_2, p.valore_3};
    p.valore_1 = p.valore_2 = p.valore_3 = 0;
  }
  // Only the three values of the three slots move.
  modello confronto = prima;
  for (int n = 81; n <= 83; ++n) {
    confronto.punti[n].valore_1 = confronto.punti[n].valore_2 = confronto.punti[n].valore_3 = 0;
  }
  EXPECT_EQ(m.punti, confronto.punti);
  return uscita;
}

struct caso {
  const char* nome;
  tre_slot entrata, uscita;
};

TEST(ProgressiveOrdina, EsempiETabellaDelleSeiOrdinazioni) {
  const terna a{5000, 1, 0}, b{3000, 2, 0}, c{1000, 3, 0};
  const caso casi[] = {
      {"testo della linea",
       {{{0, 0, 0}, {0, 0, 0}, {0, 350000, 0}}},
       {{{0, 350000, 0}, {0, 0, 0}, {0, 0, 0}}}},
      {"due record",
       {{{0, 0, 0}, {40000, 390000, 0}, {0, 350000, 0}}},
       {{{40000, 390000, 0}, {0, 350000, 0}, {0, 0, 0}}}},
      {"correzione",
       {{{60000, 10000, 1}, {0, 350000, 0}, {30000, 380000, 0}}},
       {{{60000, 10100, 1}, {30000, 380000, 0}, {0, 350000, 0}}}},
      {"per progressiva", {{{0, 5, 0}, {0, 6, 0}, {0, 0, 0}}}, {{{0, 6, 0}, {0, 5, 0}, {0, 0, 0}}}},
      {"solo bandiera", {{{0, 0, 1}, {0, 0, 0}, {0, 0, 0}}}, {{}}},
      {"a>b>c", {{a, b, c}}, {{a, b, c}}},
      {"a>c>b", {{a, c, b}}, {{a, b, c}}},
      {"b>a>c", {{b, a, c}}, {{a, b, c}}},
      {"b>c>a", {{c, a, b}}, {{a, b, c}}},
      {"c>a>b", {{b, c, a}}, {{a, b, c}}},
      {"c>b>a", {{c, b, a}}, {{a, b, c}}},
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(k.nome);
    EXPECT_EQ(ordina(k.entrata), k.uscita);
  }
}

// Among equal starting positions the record from the higher-numbered slot comes first.
TEST(ProgressiveOrdina, PariMerito) {
  const caso casi[] = {
      {"due a zero",
       {{{0, 10, 0}, {0, 20, 0}, {1000, 30, 0}}},
       {{{1000, 30, 0}, {0, 20, 0}, {0, 10, 0}}}},
      {"due a zero, il primo in testa",
       {{{1000, 10, 0}, {0, 20, 0}, {0, 30, 0}}},
       {{{1000, 10, 0}, {0, 30, 0}, {0, 20, 0}}}},
      {"massimo condiviso 81 e 82",
       {{{5000, 1, 0}, {5000, 2, 0}, {0, 3, 0}}},
       {{{5000, 2, 0}, {5000, 1, 0}, {0, 3, 0}}}},
      {"massimo condiviso 81 e 83",
       {{{5000, 1, 1}, {0, 2, 0}, {5000, 3, 0}}},
       {{{5000, 3, 0}, {5000, 101, 1}, {0, 2, 0}}}},
      {"tre uguali",
       {{{7000, 1, 0}, {7000, 2, 0}, {7000, 3, 0}}},
       {{{7000, 3, 0}, {7000, 2, 0}, {7000, 1, 0}}}},
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(k.nome);
    EXPECT_EQ(ordina(k.entrata), k.uscita);
  }
}

TEST(ProgressiveOrdina, SceltaPerProgressivaQuandoLaSommaEZero) {
  const caso casi[] = {
      {"vuoti", {{}}, {{}}},
      {"c positivo", {{{0, 1, 0}, {0, 2, 0}, {0, 3, 0}}}, {{{0, 3, 0}, {0, 2, 0}, {0, 1, 0}}}},
      {"b positivo", {{{0, 1, 0}, {0, 2, 0}, {0, -3, 0}}}, {{{0, 2, 0}, {0, 1, 0}, {0, -3, 0}}}},
      {"a positivo", {{{0, 1, 2}, {0, -2, 0}, {0, 0, 0}}}, {{{0, 1, 2}, {0, -2, 0}, {0, 0, 0}}}},
      {"nessuno positivo", {{{0, -1, 1}, {0, 0, 1}, {0, -3, 1}}}, {{}}},
      // Starts that cancel out count as no start at all.
      {"somma nulla",
       {{{-1000, 5, 0}, {1000, 6, 0}, {0, 0, 0}}},
       {{{1000, 6, 0}, {-1000, 5, 0}, {0, 0, 0}}}},
      // The sum wraps at 32 bits.
      {"somma avvolta",
       {{{2147483600, 5, 0}, {2147483600, 0, 0}, {96, 0, 0}}},
       {{{2147483600, 5, 0}, {2147483600, 0, 0}, {96, 0, 0}}}},
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(k.nome);
    EXPECT_EQ(ordina(k.entrata), k.uscita);
  }
}

TEST(ProgressiveOrdina, CorrezioneSoloConBandiera1) {
  const caso casi[] = {
      {"in ogni slot",
       {{{1000, 50, 1}, {3000, 150, 2}, {2000, 250, 1}}},
       {{{3000, 150, 2}, {2000, 350, 1}, {1000, 150, 1}}}},
      {"avvolta",
       {{{1000, 2147483600, 1}, {0, 0, 0}, {0, 0, 0}}},
       {{{1000, -2147483596, 1}, {0, 0, 0}, {0, 0, 0}}}},
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(k.nome);
    EXPECT_EQ(ordina(k.entrata), k.uscita);
  }
}

}  // namespace
}  // namespace percorso
