#include "placement/montagne.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "placement/piazzamento.h"
#include "support/celle.h"

namespace percorso {
namespace {

// One row placed and its types written, as for a text of that row alone.
std::int32_t memo_montagna(modello& m, std::int32_t inizio, std::int32_t fine, std::int32_t tipo) {
  posa_montagne p(m);
  const std::int32_t codice = p.memo(inizio, fine, tipo);
  p.concludi();
  return codice;
}

// Cells with a non-zero mountain byte, and those marked 11.
std::vector<std::int64_t> coperte(const modello& m) {
  std::vector<std::int64_t> v;
  for (std::size_t i = 0; i < m.celle.size(); ++i)
    if (m.celle[i].montagna != 0) v.push_back(static_cast<std::int64_t>(i));
  return v;
}
std::vector<std::int64_t> segnate(const modello& m) {
  std::vector<std::int64_t> v;
  for (std::size_t i = 0; i < m.celle.size(); ++i)
    if (m.celle[i].evento == evento::montagna) v.push_back(static_cast<std::int64_t>(i));
  return v;
}

std::vector<std::int64_t> da_a(std::int64_t da, std::int64_t a) {
  std::vector<std::int64_t> v;
  for (std::int64_t i = da; i <= a; ++i) v.push_back(i);
  return v;
}

// The first five rows of the embedded line text, in their order.
TEST(MemoMontagna, RigheDelTestoDellaLinea) {
  struct riga {
    std::int32_t inizio, fine;
    std::uint8_t tipo;
    std::int64_t prima, ultima;
    std::vector<std::int64_t> segni;
  };
  const riga righe[] = {
      {3033, 3783, 2, 61, 75, {64, 68, 72}}, {17712, 18349, 2, 354, 366, {357, 361, 365}},
      {19033, 19414, 2, 381, 387, {384}},    {19534, 20641, 3, 391, 412, {394, 398, 402, 406, 410}},
      {21216, 21449, 2, 424, 428, {427}},
  };
  modello m = con_celle(2021);
  for (const auto& r : righe) ASSERT_EQ(memo_montagna(m, r.inizio, r.fine, 12), 0);
  std::vector<std::int64_t> tutte_coperte, tutti_segni;
  for (const auto& r : righe) {
    SCOPED_TRACE(r.inizio);
    for (std::int64_t i = r.prima; i <= r.ultima; ++i) EXPECT_EQ(m.celle[i].montagna, r.tipo);
    auto c = da_a(r.prima, r.ultima);
    tutte_coperte.insert(tutte_coperte.end(), c.begin(), c.end());
    tutti_segni.insert(tutti_segni.end(), r.segni.begin(), r.segni.end());
  }
  EXPECT_EQ(coperte(m), tutte_coperte);
  EXPECT_EQ(segnate(m), tutti_segni);
  EXPECT_EQ(m.montagna_inizio, (std::vector<std::int32_t>{3033, 17712, 19033, 19534, 21216}));
  EXPECT_EQ(m.montagna_fine, (std::vector<std::int32_t>{3783, 18349, 19414, 20641, 21449}));
  EXPECT_EQ(m.codice_errore, 0);
}

TEST(MemoMontagna, TipoESegni) {
  struct caso {
    std::int32_t tipo;
    std::uint8_t scritto;
    bool segni;
  };
  const caso casi[] = {{10, 10, false}, {11, 1, true},   {2, 2, false}, {12, 2, true},
                       {310, 44, true}, {300, 34, true}, {0, 0, false}, {-5, 251, false}};
  for (const auto& k : casi) {
    SCOPED_TRACE(k.tipo);
    modello m = con_celle(100);
    ASSERT_EQ(memo_montagna(m, 1000, 1400, k.tipo), 0);  // cells 20 to 27
    for (std::int64_t i = 20; i <= 27; ++i) EXPECT_EQ(m.celle[i].montagna, k.scritto);
    EXPECT_EQ(m.celle[19].montagna, 0);
    EXPECT_EQ(m.celle[28].montagna, 0);
    const std::vector<std::int64_t> attesi =
        k.segni ? std::vector<std::int64_t>{23, 27} : std::vector<std::int64_t>{};
    EXPECT_EQ(segnate(m), attesi);
  }
}

// The gap is measured to the previous row's end, whatever lies between by position.
TEST(MemoMontagna, SeguitoVicinoDiventaTipo3) {
  struct caso {
    std::int32_t inizio;
    std::uint8_t tipo;
    std::size_t primo_segno;
  };
  const caso casi[] = {{2150, 3, 46}, {2151, 2, 46}, {1000, 3, 23}, {2000, 3, 43}};
  for (const auto& k : casi) {
    SCOPED_TRACE(k.inizio);
    modello m = con_celle(200);
    ASSERT_EQ(memo_montagna(m, 1500, 2000, 12), 0);
    ASSERT_EQ(memo_montagna(m, k.inizio, 3000, 12), 0);
    EXPECT_EQ(m.celle[55].montagna, k.tipo);
    EXPECT_EQ(m.celle[k.primo_segno].evento, evento::montagna) << "marks stay with type 3";
  }
  // The first row never gets type 3, and a row that is not marked still gets it.
  modello m = con_celle(200);
  ASSERT_EQ(memo_montagna(m, 0, 100, 12), 0);
  EXPECT_EQ(m.celle[0].montagna, 2);
  ASSERT_EQ(memo_montagna(m, 200, 600, 5), 0);
  EXPECT_EQ(m.celle[4].montagna, 3);
  EXPECT_EQ(segnate(m), std::vector<std::int64_t>{});
  // Only the previous row counts, not an earlier one that lies closer.
  ASSERT_EQ(memo_montagna(m, 5000, 5500, 12), 0);
  ASSERT_EQ(memo_montagna(m, 700, 900, 12), 0);  // previous end 5500: overlap, type 3
  EXPECT_EQ(m.celle[14].montagna, 3);
  ASSERT_EQ(memo_montagna(m, 6000, 6500, 12), 0);  // 500 after 900
  EXPECT_EQ(m.celle[120].montagna, 2);
}

TEST(MemoMontagna, CelleCoperteConArrotondamentoAlPari) {
  struct caso {
    std::int32_t inizio, fine;
    std::vector<std::int64_t> celle;
  };
  const caso casi[] = {
      {1000, 1050, {20}},
      {1000, 1000, {}},
      {1025, 1200, {20, 21, 22, 23}},  // 20.5 goes to 20
      {1075, 1200, {22, 23}},          // 21.5 goes to 22
      {1000, 1075, {20}},              // 21.5 - 1 = 20.5 goes to 20
      {1000, 1125, {20, 21, 22}},      // 22.5 - 1 = 21.5 goes to 22
      {1000, 1124, {20, 21}},
      {1200, 1000, {}},
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(testing::Message() << k.inizio << ".." << k.fine);
    modello m = con_celle(100);
    ASSERT_EQ(memo_montagna(m, k.inizio, k.fine, 2), 0);
    EXPECT_EQ(coperte(m), k.celle);
  }
}

TEST(MemoMontagna, TrattoSenzaCelleContaComePrecedente) {
  modello m = con_celle(100);
  ASSERT_EQ(memo_montagna(m, 1000, 1000, 12), 0);
  ASSERT_EQ(memo_montagna(m, 1100, 1500, 12), 0);
  EXPECT_EQ(m.celle[22].montagna, 3);
  EXPECT_EQ(m.montagna_inizio.size(), 2u);
}

TEST(MemoMontagna, SegniSoloSuCelleVuote) {
  modello m = con_celle(100);
  m.celle[23].evento = evento::indicatori;
  m.celle[27].evento = evento::montagna;
  m.celle[31].evento = evento::segnale;
  ASSERT_EQ(memo_montagna(m, 1000, 2000, 12), 0);  // cells 20 to 39
  EXPECT_EQ(m.celle[23].evento, evento::indicatori);
  EXPECT_EQ(m.celle[23].montagna, 2);
  EXPECT_EQ(m.celle[31].evento, evento::segnale);
  EXPECT_EQ(segnate(m), (std::vector<std::int64_t>{27, 35, 39}));
}

TEST(MemoMontagna, TrattoOltreLUltimaCellaSiFermaAllUltima) {
  modello m = con_celle(100);
  ASSERT_EQ(memo_montagna(m, 4000, 100000, 12), 0);
  EXPECT_EQ(coperte(m), da_a(80, 99));
  EXPECT_EQ(segnate(m), (std::vector<std::int64_t>{83, 87, 91, 95, 99}));
}

TEST(MemoMontagna, CellaPrimaDellaCella0EFallimentoGenerale) {
  modello m = con_celle(100);
  EXPECT_EQ(memo_montagna(m, -100, 500, 12), codice_generale);
  EXPECT_EQ(coperte(m), std::vector<std::int64_t>{});
  // Before cell 0 but covering nothing: no cell is touched, no failure.
  EXPECT_EQ(memo_montagna(m, -100, -100, 12), 0);
}

TEST(MemoMontagna, OltreOttantaTratti) {
  modello m = con_celle(2021);
  for (std::int32_t n = 0; n < 100; ++n)
    ASSERT_EQ(memo_montagna(m, n * 1000, n * 1000 + 400, 12), 0);
  EXPECT_EQ(m.montagna_inizio.size(), 100u);
  // The 101st compares with the 100th (end 99400).
  ASSERT_EQ(memo_montagna(m, 99500, 99800, 12), 0);
  EXPECT_EQ(m.celle[1990].montagna, 3);
}

// The walk over every covered cell, row by row, as the rule reads.
std::int32_t montagna_diretta(modello& m, std::int32_t inizio, std::int32_t fine,
                              std::int32_t tipo) {
  const bool segnata = tipo > 10;
  std::int64_t scritto = segnata ? tipo - 10 : tipo;
  if (!m.montagna_fine.empty() && std::int64_t{inizio} - m.montagna_fine.back() <= 150) scritto = 3;
  m.montagna_fine.push_back(fine);
  const auto prima = static_cast<std::int64_t>(std::nearbyint(inizio / 50.0));
  const auto ultima = std::min(static_cast<std::int64_t>(std::nearbyint(fine / 50.0 - 1)),
                               static_cast<std::int64_t>(m.celle.size()) - 1);
  for (std::int64_t i = prima, conta = 1; i <= ultima; ++i, ++conta) {
    if (i < 0) return codice_generale;
    cella& c = m.celle[static_cast<std::size_t>(i)];
    c.montagna = static_cast<std::uint8_t>(scritto & 0xFF);
    if (segnata && conta % 4 == 0 && c.evento == evento::nessuno) c.evento = evento::montagna;
  }
  return 0;
}

// The rows of one text placed together (the types written once at the end) give
// the cells of the walk over every covered cell, with other events placed between
// rows and stretches that overlap, nest, repeat and run past the last cell.
TEST(MemoMontagna, RigheInsiemeComeLaCamminataSuOgniCella) {
  std::mt19937 caso(11);
  auto tra = [&](std::int32_t da, std::int32_t a) {
    return std::uniform_int_distribution<std::int32_t>(da, a)(caso);
  };
  for (int prova = 0; prova < 40; ++prova) {
    SCOPED_TRACE(prova);
    modello insieme = con_celle(300), diretto = con_celle(300);
    posa_montagne p(insieme);
    for (int riga = 0; riga < 200; ++riga) {
      if (tra(0, 4) == 0) {
        // A board placed on a free cell between two rows.
        const auto i = static_cast<std::size_t>(tra(0, 299));
        for (modello* m : {&insieme, &diretto})
          if (libera(m->celle[i])) m->celle[i].evento = evento::indicatori;
      }
      const std::int32_t inizio = tra(-200, 15500);
      const std::int32_t fine = tra(0, 3) == 0 ? inizio + tra(0, 300) : tra(-100, 16000);
      const std::int32_t tipo = tra(0, 3) == 0 ? tra(0, 300) : 12;
      ASSERT_EQ(p.memo(inizio, fine, tipo), montagna_diretta(diretto, inizio, fine, tipo));
    }
    p.concludi();
    EXPECT_EQ(insieme.celle, diretto.celle);
  }
}

}  // namespace
}  // namespace percorso
