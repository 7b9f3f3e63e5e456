// Stations, boards with a text and speed points, compiled from small texts.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "app/costruzione.h"

namespace percorso {
namespace {

std::string unisci(const std::vector<std::string>& righe) {
  std::string t;
  for (const auto& r : righe) t += r + "\r\n";
  return t;
}

std::span<const std::uint8_t> byte(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Compiles a line of the given length with the body rows and a train text with
// the given rows; no plan.
modello compila(const std::vector<std::string>& corpo, const std::vector<std::string>& treno,
                std::int32_t lunghezza = 20000) {
  const std::string linea =
      unisci({"[generale]", "lunghezza percorso, " + std::to_string(lunghezza),
              "progressiva chilometrica uno, 0, 350000, 0", "[cartelli]"}) +
      unisci(corpo) + unisci({"[fine]"});
  const std::string testo_treno =
      unisci({"[generale]", "[stazioni]"}) + unisci(treno) + unisci({"[fine]"});
  modello m;
  m.nome_percorso = "Prova";
  m.numero_treno = "1";
  memorizza_percorso(m, sorgenti{byte(linea), byte(testo_treno)}, 0);
  return m;
}

// A station row with the given position, kind, length and fields 5 and 6.
std::string stazione(std::int32_t p, int tipo, std::int32_t lg, int campo_6, int campo_5 = 1,
                     const std::string& nome = "STAZIONE") {
  return "stazione, " + std::to_string(p) + ", " + std::to_string(tipo) + ", " +
         std::to_string(lg) + ", 3, " + std::to_string(campo_5) + ", " + std::to_string(campo_6) +
         ", 7, 8, 9, 10, 11, 12, 13, 1, 2, 3, " + nome;
}

const std::string prima_riga =
    "stazione,       0, 12,  800,  0, 0, 1,  1,1,0,  4,1,1,    1,  15,33, 0, VARMENA CENTRALE";
const std::string seconda_riga =
    "stazione,    1600, 12,  700,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, VARMENA P.N.";

std::vector<std::uint8_t> ripetizioni(const modello& m, std::int64_t da, std::int64_t a) {
  std::vector<std::uint8_t> v;
  for (std::int64_t i = da; i >= a; --i)
    v.push_back(m.celle[static_cast<std::size_t>(i)].ripetizione);
  return v;
}

TEST(Stazioni, PrimaESecondaRigaDelTestoDelTreno) {
  const modello m = compila({}, {prima_riga, seconda_riga});
  ASSERT_EQ(m.codice_errore, 0);

  punto atteso;
  atteso.codice = 12;
  atteso.valore_1 = -400;
  atteso.valore_2 = 450;  // the first station keeps its extra 50 m
  atteso.valore_3 = 0;
  atteso.parametro_1 = 1;
  atteso.parametro_2 = 1;
  atteso.parametro_3 = 4;
  atteso.parametro_4 = 1;
  atteso.parametro_5 = 1;
  atteso.indicatore_2 = 1;
  atteso.orario = 15 * 3600 + 33 * 60;
  atteso.nome = "VARMENA CENTRALE";
  EXPECT_EQ(m.punti[1], atteso);
  EXPECT_EQ(ripetizioni(m, 7, 4), (std::vector<std::uint8_t>{81, 82, 83, 84}));
  EXPECT_EQ(m.celle[8].evento, evento::fermata);
  EXPECT_EQ(m.celle[8].dato_1, 1);
  EXPECT_EQ(m.celle[3].ripetizione, 0);
  EXPECT_EQ(m.celle[9].ripetizione, 0);

  EXPECT_EQ(m.punti[2].valore_1, 1250);
  EXPECT_EQ(m.punti[2].valore_2, 2000);
  EXPECT_EQ(m.punti[2].indicatore_3, 1);
  EXPECT_EQ(m.punti[2].nome, "VARMENA P.N.");
  EXPECT_EQ(m.celle[39].evento, evento::fermata);
  EXPECT_EQ(m.celle[39].dato_1, 2);
  EXPECT_EQ(ripetizioni(m, 38, 35), (std::vector<std::uint8_t>{81, 82, 83, 84}));
}

TEST(Stazioni, EstensioneECelleSecondoIlTipo) {
  struct caso {
    int tipo;
    std::int32_t p, lg;
    int campo_6;
    std::int32_t inizio, fine;
    std::uint8_t indicatore_3, indicatore_4;
    std::int64_t fermata;  // 0: no stop cell
    bool accostamento;
  };
  const caso casi[] = {
      {5, 5000, 400, 1, 4600, 5150, 0, 0, 102, false},
      {6, 5000, 600, 1, 4400, 5150, 0, 1, 102, false},
      {7, 5000, 400, 1, 4600, 5400, 0, 0, 107, true},
      {8, 5000, 600, 0, 4400, 5600, 0, 1, 111, true},
      {12, 9150, 500, 0, 8900, 9400, 0, 0, 187, true},
      {12, 9150, 500, 1, 8900, 9450, 1, 0, 188, true},
      {4, 5000, 600, 1, 4700, 5350, 1, 1, 106, true},
      {24, 5000, 600, 0, 4700, 5300, 0, 1, 105, true},
      {25, 20500, 200, 0, 20400, 20600, 0, 0, 0, false},
      {25, 5000, 200, 1, 4900, 5150, 1, 0, 0, false},
      {200, 5000, 800, 1, 4600, 5450, 1, 1, 0, false},
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(testing::Message() << "tipo " << k.tipo << " a " << k.p);
    const modello m =
        compila({}, {stazione(0, 12, 800, 0), stazione(k.p, k.tipo, k.lg, k.campo_6)});
    ASSERT_EQ(m.codice_errore, 0);
    const punto& e = m.punti[2];
    EXPECT_EQ(e.codice, k.tipo);
    EXPECT_EQ(e.valore_1, k.inizio);
    EXPECT_EQ(e.valore_2, k.fine);
    EXPECT_EQ(e.valore_3, k.p);
    EXPECT_EQ(e.indicatore_3, k.indicatore_3);
    EXPECT_EQ(e.indicatore_4, k.indicatore_4);
    // Every cell code of the second station lies beyond cell 20.
    std::vector<std::int64_t> fermate, accostate;
    for (std::size_t i = 20; i < m.celle.size(); ++i) {
      if (m.celle[i].evento != 0) fermate.push_back(static_cast<std::int64_t>(i));
      if (m.celle[i].ripetizione != 0) accostate.push_back(static_cast<std::int64_t>(i));
    }
    if (k.fermata != 0) {
      EXPECT_EQ(fermate, std::vector<std::int64_t>{k.fermata});
      EXPECT_EQ(m.celle[static_cast<std::size_t>(k.fermata)].evento, evento::fermata);
      EXPECT_EQ(m.celle[static_cast<std::size_t>(k.fermata)].dato_1, 2);
    } else {
      EXPECT_TRUE(fermate.empty());
    }
    if (k.accostamento) {
      const std::int64_t t = k.fermata;
      EXPECT_EQ(accostate, (std::vector<std::int64_t>{t - 4, t - 3, t - 2, t - 1}));
      EXPECT_EQ(ripetizioni(m, t - 1, t - 4), (std::vector<std::uint8_t>{81, 82, 83, 84}));
    } else {
      EXPECT_TRUE(accostate.empty());
    }
  }
}

// Starts and ends are multiples of 50: 350 m after the previous end passes, 300 fails.
TEST(Stazioni, DistanzaDallaStazionePrecedente) {
  const modello passa = compila({}, {prima_riga, stazione(900, 12, 200, 0)});  // start 800
  EXPECT_EQ(passa.codice_errore, 0);
  EXPECT_EQ(passa.punti[2].valore_1, 800);

  const modello m =
      compila({}, {prima_riga, stazione(850, 12, 200, 0), stazione(5000, 12, 200, 0)});
  EXPECT_EQ(m.codice_errore, 22);
  EXPECT_EQ(m.posizione_errore, 850);
  // The failing station keeps its entry and its cells; the next row is not read.
  EXPECT_EQ(m.punti[2].valore_1, 750);
  EXPECT_EQ(m.punti[2].valore_2, 950);
  EXPECT_EQ(m.celle[18].evento, evento::fermata);
  EXPECT_EQ(m.celle[17].ripetizione, 81);
  EXPECT_EQ(m.punti[3], punto{});
  EXPECT_EQ(m.celle[101].evento, 0);
}

TEST(Stazioni, FineTroppoVicinaAllInizio) {
  // Kind 5 at -50: end 100, t = 1. The position is not recorded with code 24.
  const modello m = compila({}, {stazione(-50, 5, 100, 0)});
  EXPECT_EQ(m.codice_errore, 24);
  EXPECT_EQ(m.posizione_errore, 0);
  EXPECT_EQ(m.punti[1].valore_2, 100);

  const modello n = compila({}, {stazione(0, 12, 200, 0)});  // end 100
  EXPECT_EQ(n.codice_errore, 24);

  // End 150: the stop cell 2 is placed, every approach cell is 1 or less and skipped.
  const modello o = compila({}, {stazione(50, 12, 200, 0)});
  EXPECT_EQ(o.codice_errore, 0);
  EXPECT_EQ(o.celle[2].evento, evento::fermata);
  EXPECT_EQ(o.celle[1].ripetizione, 0);
  EXPECT_EQ(o.celle[0].ripetizione, 0);

  // Kind 25 and above have no stop cell, so no code 24.
  const modello p = compila({}, {stazione(0, 25, 200, 0)});
  EXPECT_EQ(p.codice_errore, 0);
}

TEST(Stazioni, ErroriDellaRiga) {
  struct caso {
    const char* nome;
    std::string riga;
    std::int32_t codice, posizione;
    std::int32_t valore_3;
    std::uint8_t codice_letto;
  };
  const caso casi[] = {
      {"posizione non multipla di 50", stazione(1025, 12, 200, 0), 8, 1025, 1025, 0},
      {"lunghezza non multipla di 100", stazione(1000, 12, 750, 0), 9, 1000, 1000, 12},
      {"oltre le celle", stazione(26250, 12, 200, 0), 15, 26250, 26250, 0},
  };
  for (const auto& k : casi) {
    SCOPED_TRACE(k.nome);
    const modello m = compila({}, {k.riga, stazione(5000, 12, 200, 0)});
    EXPECT_EQ(m.codice_errore, k.codice);
    EXPECT_EQ(m.posizione_errore, k.posizione);
    EXPECT_EQ(m.punti[1].valore_3, k.valore_3);
    EXPECT_EQ(m.punti[1].codice, k.codice_letto);
    EXPECT_EQ(m.punti[1].valore_2, 0);
    EXPECT_EQ(m.punti[2], punto{});
  }
  // P + 800 exactly on the last cell is accepted.
  EXPECT_EQ(compila({}, {stazione(26200, 12, 200, 0)}).codice_errore, 0);
}

// Cells beyond the last one (540 here): general failure at the first such cell,
// in writing order (approach codes nearest first, then the stop cell).
TEST(Stazioni, CelleOltreLUltima) {
  // End 27100: approach cells 540 to 537 fit, the stop cell 541 does not.
  const modello m = compila({}, {stazione(20000, 7, 7100, 0), stazione(26000, 12, 200, 0)});
  EXPECT_EQ(m.codice_errore, 25);
  EXPECT_EQ(m.posizione_errore, 0);
  EXPECT_EQ(ripetizioni(m, 540, 537), (std::vector<std::uint8_t>{81, 82, 83, 84}));
  EXPECT_EQ(m.punti[1].valore_2, 27100);
  EXPECT_EQ(m.punti[2], punto{});

  // End 27200: the first approach cell 542 is already outside; nothing is written.
  const modello n = compila({}, {stazione(20000, 7, 7200, 0)});
  EXPECT_EQ(n.codice_errore, 25);
  EXPECT_EQ(ripetizioni(n, 540, 537), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

// A time of day outside 32 bits is the general failure; the fields read before stay.
TEST(Stazioni, OrarioFuoriDai32Bit) {
  const modello m = compila(
      {}, {"stazione, 1000, 12, 200, 3, 1, 1, 7, 8, 9, 10, 11, 12, 13, 600000, 0, 0, NOME"});
  EXPECT_EQ(m.codice_errore, 25);
  EXPECT_EQ(m.punti[1].indicatore_2, 13);
  EXPECT_EQ(m.punti[1].orario, 0);
  EXPECT_EQ(m.punti[1].nome, "");
  EXPECT_EQ(m.punti[1].valore_2, 0);

  const modello n = compila(
      {}, {"stazione, 1000, 12, 200, 3, 1, 1, 7, 8, 9, 10, 11, 12, 13, 596523, 14, 7, NOME"});
  EXPECT_EQ(n.codice_errore, 0);
  EXPECT_EQ(n.punti[1].orario, 2147483647);
}

// With b boards the board slot is 80 - b: station number 79 - b cannot be stored.
TEST(Stazioni, TabellaDeiPuntiPiena) {
  std::vector<std::string> cartelli;
  for (int n = 1; n <= 77; ++n)
    cartelli.push_back("cartello_indicatore, " + std::to_string(n * 100) + ", C" +
                       std::to_string(n));
  // 77 boards leave the board slot at 3: storing station 2 gives 10.
  const modello m =
      compila(cartelli, {prima_riga, stazione(5000, 12, 200, 0), stazione(9000, 12, 200, 0)});
  EXPECT_EQ(m.codice_errore, 10);
  EXPECT_EQ(m.punti[2].valore_3, 5000);
  EXPECT_EQ(m.celle[101].evento, evento::fermata);
  EXPECT_EQ(m.punti[3], punto{});
  EXPECT_EQ(m.punti[4].nome, "C77");

  cartelli.push_back("cartello_indicatore, 7800, C78");
  const modello n = compila(cartelli, {prima_riga});
  EXPECT_EQ(n.codice_errore, 10);
  EXPECT_EQ(n.celle[8].evento, evento::fermata);
}

TEST(Stazioni, LaCellaDiFermataSovrascriveUnSegnale) {
  const modello m = compila({}, {"segnale, 350, 2, 2,4,0, 1, 1, 3,1,0, 235", prima_riga});
  ASSERT_EQ(m.codice_errore, 0);
  const cella& c = m.celle[8];
  EXPECT_EQ(c.evento, evento::fermata);
  EXPECT_EQ(c.dato_1, 1);
  EXPECT_EQ(c.dato_2, 41);
  EXPECT_EQ(c.dato_4, 17);
  EXPECT_EQ(c.tempo_segnale, 235);
  // The approach codes overwrite the signal's repetition codes where they meet.
  EXPECT_EQ(ripetizioni(m, 7, 0), (std::vector<std::uint8_t>{81, 82, 83, 84, 0, 73, 0, 74}));

  // The other way round the signal finds its cell occupied.
  const modello n = compila({}, {prima_riga, "segnale, 350, 2, 2,4,0, 1, 1, 3,1,0, 235"});
  EXPECT_EQ(n.codice_errore, 16);
  EXPECT_EQ(n.posizione_errore, 350);
  EXPECT_EQ(n.celle[8].evento, evento::fermata);
  EXPECT_EQ(n.celle[6].ripetizione, 82);
}

TEST(Cartelli, CartelliDelTestoDellaLinea) {
  const std::vector<std::string> righe = {
      "cartello_indicatore,  24000,   ( Galleria  )(   Castelvecchio   )( Ml. 2047  )",
      "cartello_indicatore,  26600,   ( Galleria  )(   Poggio Rosso   )( Ml. 2197  )",
      "cartello_indicatore,  29350,   ( Galleria  )(   Monte Ardena   )( Ml. 9310  )",
      "cartello_indicatore,  40750,   ( Galleria  )(   Valle Scura   )( Ml. 5185  )",
      "cartello_indicatore,  58500,   ( Galleria  )(   Serra Lunga   )( Ml. 6270  )",
  };
  const modello m = compila(righe, {}, 94000);
  ASSERT_EQ(m.codice_errore, 0);
  const std::size_t celle[] = {481, 533, 588, 816, 1171};
  for (std::size_t n = 0; n < 5; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(m.celle[celle[n]].evento, evento::cartello);
    EXPECT_EQ(m.celle[celle[n]].dato_1, static_cast<std::int16_t>(80 - n));
  }
  EXPECT_EQ(m.punti[80].nome, "( Galleria  )(   Castelvecchio   )( Ml. 2047  )");
  EXPECT_EQ(m.punti[76].nome, "( Galleria  )(   Serra Lunga   )( Ml. 6270  )");
  EXPECT_EQ(m.punti[75].nome, "");
}

TEST(Cartelli, CellaOccupataOSegnoDiMontagna) {
  // 2100 m is cell 43, the first mark of the stretch starting in cell 40.
  const modello m = compila({"montagna, 2000, 3000, 12", "cartello_indicatore, 2100, A"}, {});
  ASSERT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.celle[43].evento, evento::cartello);
  EXPECT_EQ(m.celle[43].montagna, 2);

  const modello n = compila({"cartello_indicatore, 2100, A", "cartello_indicatore, 2100, B",
                             "cartello_indicatore, 3000, C"},
                            {});
  EXPECT_EQ(n.codice_errore, 6);
  EXPECT_EQ(n.posizione_errore, 2100);
  EXPECT_EQ(n.celle[43].dato_1, 80);
  EXPECT_EQ(n.punti[80].nome, "A");
  EXPECT_EQ(n.punti[79].nome, "");
  EXPECT_EQ(n.celle[61].evento, 0);
}

// The 81st board takes slot 0; the 82nd has no slot: general failure after its cell is written.
TEST(Cartelli, OltreLoSlot0) {
  std::vector<std::string> cartelli;
  for (int n = 1; n <= 82; ++n)
    cartelli.push_back("cartello_indicatore, " + std::to_string(n * 100) + ", C" +
                       std::to_string(n));
  cartelli.push_back("cartello_indicatore, 9000, DOPO");
  const modello m = compila(cartelli, {});
  EXPECT_EQ(m.codice_errore, 25);
  EXPECT_EQ(m.posizione_errore, 0);
  EXPECT_EQ(m.punti[0].nome, "C81");
  EXPECT_EQ(m.celle[163].dato_1, 0);                 // 8100 m
  EXPECT_EQ(m.celle[165].evento, evento::cartello);  // 8200 m
  EXPECT_EQ(m.celle[165].dato_1, -1);
  EXPECT_EQ(m.celle[181].evento, 0);
}

TEST(PuntiVelocita, ValoriECelle) {
  const modello m =
      compila({"montagna, 2000, 3000, 12"},
              {"abbattimento, 1000, 80", "abbattimento, 1125, 0", "abbattimento, 1175, -5",
               "abbattimento, 1300, 70000", "abbattimento, 2150, 90"});
  ASSERT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.celle[20].evento, evento::punto_velocita);
  EXPECT_EQ(m.celle[20].dato_1, 80);
  EXPECT_EQ(m.celle[22].evento, evento::punto_senza_velocita);  // 22.5 goes to 22
  EXPECT_EQ(m.celle[22].dato_1, 0);
  EXPECT_EQ(m.celle[24].evento, evento::punto_senza_velocita);  // 23.5 goes to 24
  EXPECT_EQ(m.celle[24].dato_1, 0);
  EXPECT_EQ(m.celle[26].dato_1, 70000 - 65536);
  EXPECT_EQ(m.celle[43].evento, evento::punto_velocita);  // on a mountain-side mark
  EXPECT_EQ(m.celle[43].montagna, 2);

  const modello n = compila({}, {"segnale, 1450, 1, 4,1,0, 0, 1, 3,1,0, 0",
                                 "abbattimento, 1500, 80", "abbattimento, 3000, 80"});
  EXPECT_EQ(n.codice_errore, 7);
  EXPECT_EQ(n.posizione_errore, 1500);
  EXPECT_EQ(n.celle[30].evento, evento::segnale);
  EXPECT_EQ(n.celle[60].evento, 0);

  // Before cell 0: general failure, the position is not recorded.
  const modello o = compila({}, {"abbattimento, -100, 80"});
  EXPECT_EQ(o.codice_errore, 25);
  EXPECT_EQ(o.posizione_errore, 0);
}

}  // namespace
}  // namespace percorso
