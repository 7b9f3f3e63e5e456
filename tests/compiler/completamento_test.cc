#include "compiler/completamento.h"

#include <gtest/gtest.h>

#include <vector>

#include "placement/piazzamento.h"
#include "support/celle.h"

namespace percorso {
namespace {

void metti(modello& m, std::size_t i, std::uint8_t e, std::int16_t dato_1 = 0) {
  m.celle[i].evento = e;
  m.celle[i].dato_1 = dato_1;
}

// Indices of the cells that hold a speed point of 180.
std::vector<std::size_t> punti_180(const modello& m) {
  std::vector<std::size_t> v;
  for (std::size_t i = 0; i < m.celle.size(); ++i)
    if (m.celle[i].evento == evento::punto_velocita && m.celle[i].dato_1 == 180) v.push_back(i);
  return v;
}

std::vector<std::int32_t> codici(const modello& m) {
  std::vector<std::int32_t> v;
  for (const auto& r : m.rilievi) v.push_back(r.codice);
  return v;
}

TEST(Completamento, RallentamentoLentoSuCelleVuote) {
  modello m = con_celle(2021);
  ASSERT_EQ(memo_rallentamento(m, {2000, 60, 700, 0, 0, 60}), 0);  // W 17, S 41, E 55
  const modello prima = m;
  completa_celle(m);
  EXPECT_EQ(punti_180(m), (std::vector<std::size_t>{23, 30, 36, 49}));
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_TRUE(m.rilievi.empty());
  // Only evento and dato_1 of those four cells changed.
  modello atteso = prima;
  for (std::size_t i : {23u, 30u, 36u, 49u}) metti(atteso, i, evento::punto_velocita, 180);
  EXPECT_EQ(m.celle, atteso.celle);
}

TEST(Completamento, GruppiPrimaDellInizio) {
  struct caso {
    std::size_t inizio;
    std::vector<std::size_t> occupate;
    std::vector<std::size_t> punti;
    std::vector<std::int32_t> codici;
  };
  const caso casi[] = {
      {7, {}, {}, {}},           {8, {}, {3}, {}},
      {8, {3}, {2}, {}},         {8, {3, 2}, {1}, {}},
      {8, {3, 2, 1}, {}, {12}},  {14, {}, {3, 9}, {}},
      {21, {}, {3, 10, 16}, {}}, {21, {16, 15, 14, 3}, {2, 10}, {12}},
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(k.inizio);
    modello m = con_celle(60);
    for (std::size_t i : k.occupate) metti(m, i, evento::preavviso);
    metti(m, k.inizio, evento::inizio_rallentamento, 120);  // fast: nothing inside
    metti(m, k.inizio + 3, evento::fine_rallentamento, 120);
    completa_celle(m);
    EXPECT_EQ(punti_180(m), k.punti);
    EXPECT_EQ(codici(m), k.codici);
    if (!k.codici.empty()) {
      EXPECT_EQ(m.posizione_errore, static_cast<std::int32_t>(k.inizio * 50));
    }
  }
}

TEST(Completamento, SegnaliDavantiAllAvviso) {
  modello m = con_celle(60);
  metti(m, 22, evento::avviso_rallentamento, 60);
  metti(m, 5, evento::segnale);
  metti(m, 15, evento::segnale);
  completa_celle(m);
  EXPECT_EQ(punti_180(m), (std::vector<std::size_t>{4, 14}));

  // The look-back stops below cell 3: a signal at cell 2 is not treated.
  modello n = con_celle(60);
  metti(n, 22, evento::avviso_rallentamento, 60);
  metti(n, 2, evento::segnale);
  metti(n, 3, evento::segnale);
  completa_celle(n);
  EXPECT_EQ(punti_180(n), std::vector<std::size_t>{1});

  // 21 cells back is beyond the window.
  modello o = con_celle(60);
  metti(o, 30, evento::avviso_rallentamento, 60);
  metti(o, 9, evento::segnale);
  metti(o, 10, evento::segnale);
  completa_celle(o);
  EXPECT_EQ(punti_180(o), std::vector<std::size_t>{8});
}

TEST(Completamento, DavantiAlSegnaleSecondaCellaOPuntoEsistente) {
  struct caso {
    std::uint8_t e1;  // cell s - 1
    std::int16_t v1;
    std::uint8_t e2;  // cell s - 2
    std::int16_t v2;
    std::uint8_t atteso_e1;
    std::int16_t atteso_v1;
    std::uint8_t atteso_e2;
    std::int16_t atteso_v2;
    bool errore;
  };
  const std::uint8_t pv = evento::punto_velocita, pa = evento::preavviso, mo = evento::montagna;
  const caso casi[] = {
      {mo, 0, 0, 0, pv, 180, 0, 0, false},       // a mark counts as free
      {pa, 0, 0, 0, pa, 0, pv, 180, false},      // second cell
      {pv, 120, pa, 0, pv, 120, pa, 0, false},   // existing point, slower: stays
      {pv, 200, pa, 0, pv, 180, pa, 0, false},   // existing point, faster: capped
      {pv, 200, 0, 0, pv, 200, pv, 180, false},  // free cell before it: new point
      {pa, 0, pv, 250, pa, 0, pv, 180, false},   // point on the second cell capped
      {pa, 7, pa, 8, pa, 7, pa, 8, true},        // nothing fits
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(testing::Message() << int(k.e1) << "/" << k.v1 << " " << int(k.e2) << "/" << k.v2);
    modello m = con_celle(60);
    metti(m, 30, evento::avviso_rallentamento, 60);
    metti(m, 20, evento::segnale);
    metti(m, 19, k.e1, k.v1);
    metti(m, 18, k.e2, k.v2);
    completa_celle(m);
    EXPECT_EQ(m.celle[19].evento, k.atteso_e1);
    EXPECT_EQ(m.celle[19].dato_1, k.atteso_v1);
    EXPECT_EQ(m.celle[18].evento, k.atteso_e2);
    EXPECT_EQ(m.celle[18].dato_1, k.atteso_v2);
    EXPECT_EQ(codici(m), k.errore ? std::vector<std::int32_t>{11} : std::vector<std::int32_t>{});
    if (k.errore) {
      EXPECT_EQ(m.posizione_errore, 1000);
    }
  }
}

TEST(Completamento, OgniSegnaleSenzaPostoRegistraIlSuo11) {
  modello m = con_celle(60);
  metti(m, 30, evento::avviso_rallentamento, 60);
  for (std::size_t s : {25u, 15u}) {
    metti(m, s, evento::segnale);
    metti(m, s - 1, evento::preavviso);
    metti(m, s - 2, evento::preavviso);
  }
  completa_celle(m);
  ASSERT_EQ(codici(m), (std::vector<std::int32_t>{11, 11}));
  EXPECT_EQ(m.rilievi[0].posizione, 1250);
  EXPECT_EQ(m.rilievi[1].posizione, 750);
  EXPECT_EQ(m.codice_errore, 11);
  EXPECT_EQ(m.posizione_errore, 750);
}

TEST(Completamento, DentroUnRallentamentoLento) {
  struct caso {
    std::int16_t velocita;
    std::vector<std::size_t> occupate;
    std::vector<std::size_t> punti;  // relative to the start cell
    std::vector<std::int32_t> codici;
  };
  const caso casi[] = {
      {110, {}, {}, {}},
      {109, {}, {8, 16}, {}},
      {60, {8}, {7, 15}, {}},
      {60, {8, 7}, {9, 17}, {}},
      {60, {8, 7, 9}, {}, {13}},  // the count stays at 8: nothing more
                                  // inside
      {60, {16}, {8, 15}, {}},
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(testing::Message() << k.velocita << " " << k.occupate.size());
    modello m = con_celle(100);
    const std::size_t i = 30;
    metti(m, i, evento::inizio_rallentamento, k.velocita);
    metti(m, i + 20, evento::fine_rallentamento, k.velocita);
    for (std::size_t o : k.occupate) metti(m, i + o, evento::preavviso);
    completa_celle(m);
    std::vector<std::size_t> dentro;
    for (std::size_t c : punti_180(m))
      if (c > i) dentro.push_back(c - i);
    EXPECT_EQ(dentro, k.punti);
    EXPECT_EQ(codici(m), k.codici);
    if (!k.codici.empty()) {
      EXPECT_EQ(m.posizione_errore, 38 * 50);
    }
  }
}

// A point can fall just before or after the end cell.
TEST(Completamento, PuntoAttornoAllaCellaDiFine) {
  modello m = con_celle(100);
  metti(m, 30, evento::inizio_rallentamento, 60);
  metti(m, 38, evento::fine_rallentamento, 60);
  completa_celle(m);
  EXPECT_EQ(m.celle[37].evento, evento::punto_velocita);

  modello n = con_celle(100);
  metti(n, 30, evento::inizio_rallentamento, 60);
  metti(n, 37, evento::preavviso);
  metti(n, 38, evento::fine_rallentamento, 60);
  completa_celle(n);
  EXPECT_EQ(n.celle[39].evento, evento::punto_velocita);
}

TEST(Completamento, PrimoSegnaleDopoIlRallentamento) {
  struct caso {
    std::int16_t velocita;
    std::size_t segnale;  // relative to the end cell; 0 for none
    std::vector<std::size_t> occupate;
    std::vector<std::size_t> punti;  // relative to the end cell
    std::vector<std::int32_t> codici;
  };
  const caso casi[] = {
      {60, 5, {}, {4}, {}},  {60, 12, {}, {11}, {}},    {60, 13, {}, {}, {}},
      {60, 5, {4}, {3}, {}}, {60, 5, {4, 3}, {}, {13}}, {110, 5, {}, {}, {}},
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(testing::Message() << k.velocita << " +" << k.segnale);
    modello m = con_celle(100);
    const std::size_t i = 30, e = 35;
    metti(m, i, evento::inizio_rallentamento, k.velocita);
    metti(m, e, evento::fine_rallentamento, k.velocita);
    metti(m, e + k.segnale, evento::segnale);
    // A second signal further on is never treated.
    metti(m, e + k.segnale + 3, evento::segnale);
    for (std::size_t o : k.occupate) metti(m, e + o, evento::preavviso);
    completa_celle(m);
    std::vector<std::size_t> dopo;
    for (std::size_t c : punti_180(m))
      if (c > e) dopo.push_back(c - e);
    EXPECT_EQ(dopo, k.punti);
    EXPECT_EQ(codici(m), k.codici);
    if (!k.codici.empty()) {
      EXPECT_EQ(m.posizione_errore, 35 * 50);
    }
  }
}

TEST(Completamento, SegnaleSubitoDopoLaFine) {
  // Signal on E + 1: the cell in front is E (occupied), the one before it E - 1.
  modello m = con_celle(100);
  metti(m, 30, evento::inizio_rallentamento, 60);
  metti(m, 35, evento::fine_rallentamento, 60);
  metti(m, 36, evento::segnale);
  completa_celle(m);
  EXPECT_EQ(m.celle[34].evento, evento::punto_velocita);
  EXPECT_TRUE(m.rilievi.empty());
}

// The walk and the searches never leave the array.
TEST(Completamento, VicinoAllUltimaCella) {
  // No end cell: the walk stops at the last cell without a record.
  modello m = con_celle(40);
  metti(m, 30, evento::inizio_rallentamento, 60);
  completa_celle(m);
  EXPECT_EQ(punti_180(m), (std::vector<std::size_t>{12, 19, 25, 38}));
  EXPECT_TRUE(m.rilievi.empty());

  // The 8th cell is the last, it and the one before are occupied: the one after
  // does not exist, so 13 is recorded.
  modello n = con_celle(31);
  metti(n, 22, evento::inizio_rallentamento, 60);
  metti(n, 29, evento::preavviso);
  metti(n, 30, evento::preavviso);
  completa_celle(n);
  EXPECT_EQ(codici(n), std::vector<std::int32_t>{13});
  EXPECT_EQ(n.posizione_errore, 1500);

  // A start on the last cell the scan reaches, with a signal on the last cell.
  modello o = con_celle(31);
  metti(o, 28, evento::inizio_rallentamento, 60);
  metti(o, 30, evento::segnale);
  completa_celle(o);
  EXPECT_EQ(o.celle[29].evento, evento::punto_velocita);
  EXPECT_TRUE(o.rilievi.empty());

  // Too few cells for the scan: nothing happens.
  modello p = con_celle(3);
  metti(p, 1, evento::inizio_rallentamento, 60);
  completa_celle(p);
  EXPECT_EQ(punti_180(p), std::vector<std::size_t>{});
}

TEST(Completamento, PuntiMessiPiuAvantiContanoComeOccupati) {
  // The point inside the first slowdown (cell 38) takes a group cell of the second.
  modello m = con_celle(100);
  metti(m, 30, evento::inizio_rallentamento, 60);
  metti(m, 40, evento::fine_rallentamento, 60);
  metti(m, 43, evento::inizio_rallentamento, 120);
  metti(m, 45, evento::fine_rallentamento, 120);
  completa_celle(m);
  // Second start 43: groups 38/37/36 (38 taken: 37), 32/31/30 (32), 25/24/23 (25 taken: 24).
  EXPECT_EQ(punti_180(m), (std::vector<std::size_t>{12, 19, 24, 25, 32, 37, 38}));
}

}  // namespace
}  // namespace percorso
