// The run over small compiled lines and the timetable checked against it: each case has
// a closed form (a flat line at one limit, a restriction shorter than the train, a stop,
// a gradient) or sits on the edge of a rule (exactly the minimum, one second under).
#include "app/tempi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "app/costruzione.h"
#include "support/testi_sorgente.h"
#include "tempi/orario.h"
#include "writers/nuovo_scenario.h"
#include "writers/scrittori.h"
#include "writers/testi.h"

namespace percorso {
namespace {

struct stazione {
  std::int32_t posizione = 0;
  std::int64_t orario = 0;  // s after midnight, 0 for none
  int sosta = 0;
};

std::string riga(const stazione& s) {
  return "stazione, " + std::to_string(s.posizione) + ", 12, 400, 0, 0, 0, 1,1,0, 4,1,1, " +
         std::to_string(s.sosta) + ", " + std::to_string(s.orario / 3600) + ", " +
         std::to_string(s.orario / 60 % 60) + ", " + std::to_string(s.orario % 60) + ", S" +
         std::to_string(s.posizione);
}

constexpr std::int64_t otto = 8 * 3600;

// A line of 20 km at 90 km/h and a train of 10 coaches, braked mass 100 %, whose clock
// starts a minute before 08:00, stopping at 1000 m and 9000 m, 10 minutes apart.
struct scenario {
  std::vector<std::string> linea;  // body rows of the line text
  std::vector<std::string> treno = {"velocita, 0, 90"};
  std::vector<stazione> stazioni = {{1000, otto}, {9000, otto + 600}};
  std::string orologio = "7 59 0";

  modello compila() const {
    std::string l = prova::righe({"[generale]", "lunghezza percorso, 20000", "[pendenze]"});
    for (const std::string& r : linea) l += r + "\r\n";
    l += prova::righe({"[fine]"});
    std::string testo_treno =
        prova::righe({"[generale]", "numero vetture, 10", "percentuale massa frenata, 100",
                      "orologio, " + orologio, "[stazioni]"});
    for (const stazione& s : stazioni) testo_treno += riga(s) + "\r\n";
    for (const std::string& r : treno) testo_treno += r + "\r\n";
    testo_treno += prova::righe({"[fine]"});
    modello m = prova::nuovo_modello();
    memorizza_percorso(m, prova::testi(l, testo_treno), 0);
    EXPECT_EQ(m.codice_errore, 0);
    return m;
  }
};

ipotesi coaches_of(double metri) {
  ipotesi i;
  i.metri_per_vettura = metri;
  return i;
}

// Closed forms at 25 m/s (90 km/h), with the default 0.4 m/s2 and 0.8 m/s2 at 100 %.
constexpr double v = 25, a = 0.4, b = 0.8;

double velocita_a(const corsa& c, double x) {
  for (const pezzo& q : c.pezzi)
    if (q.inizio <= x && x <= q.fine) {
      const double q0 = q.v_inizio * q.v_inizio;
      return std::sqrt(q0 + (q.v_fine * q.v_fine - q0) * (x - q.inizio) / (q.fine - q.inizio));
    }
  return -1;
}

TEST(Tempi, AFlatLineAtOneLimitTakesDistanceOverSpeed) {
  const modello m = scenario{}.compila();
  const corsa c = calcola_corsa(m, {});
  const confronto r = confronta_orario(m, c);
  ASSERT_EQ(r.tratti.size(), 1u);
  EXPECT_EQ(r.tratti[0].distanza, 8000);
  EXPECT_EQ(r.tratti[0].orario, 600);
  EXPECT_DOUBLE_EQ(r.tratti[0].minimo, 320);
  EXPECT_DOUBLE_EQ(r.tratti[0].realistico, 8000 / v + v / (2 * a) + v / (2 * b));
  EXPECT_TRUE(r.problemi.empty());
}

// A slowdown of 100 m, shorter than the train of 300 m: the train keeps to it until its
// tail has left it, 300 m more at half the speed, 12 s more; the minimum is the head's.
TEST(Tempi, ARestrictionShorterThanTheTrainHoldsUntilTheTailLeavesIt) {
  scenario s;
  s.treno.push_back("rallentamento, 5000, 45, 100, 0, 0, 45");
  const modello m = s.compila();
  const corsa lunga = calcola_corsa(m, coaches_of(30)), testa = calcola_corsa(m, coaches_of(0));
  const tratto_orario t_lunga = confronta_orario(m, lunga).tratti[0];
  const tratto_orario t_testa = confronta_orario(m, testa).tratti[0];
  EXPECT_NEAR(t_lunga.realistico - t_testa.realistico, 300 / 12.5 - 300 / 25.0, 1e-9);
  EXPECT_DOUBLE_EQ(t_lunga.minimo, 7900 / v + 100 / 12.5);
  EXPECT_DOUBLE_EQ(t_testa.minimo, t_lunga.minimo);
  for (const double x : {5000.0, 5100.0, 5399.0}) EXPECT_LE(velocita_a(lunga, x), 12.5 + 1e-9) << x;
  EXPECT_GT(velocita_a(lunga, 5450), 12.5);
  EXPECT_GT(velocita_a(testa, 5150), 12.5);
}

// A timed station with a stop: the run stands there for its stop; one without a stop is
// passed at the limit.
TEST(Tempi, TheRunStopsWhereTheTimetableHasAStop) {
  struct caso {
    int sosta;
    bool ferma;
    double primo, secondo;  // the two stretches' running times
  };
  const double tratto = 4000 / v;
  for (const caso& k :
       {caso{30, true, tratto + v / (2 * a) + v / (2 * b), tratto + v / (2 * a) + v / (2 * b)},
        caso{0, false, tratto + v / (2 * a), tratto + v / (2 * b)}}) {
    scenario s;
    s.stazioni = {{1000, otto}, {5000, otto + 300, k.sosta}, {9000, otto + 600}};
    const modello m = s.compila();
    const corsa c = calcola_corsa(m, {});
    const confronto r = confronta_orario(m, c);
    ASSERT_EQ(r.tratti.size(), 2u);
    EXPECT_EQ(c.punti[1].ferma, k.ferma);
    EXPECT_DOUBLE_EQ(c.punti[1].partenza - c.punti[1].arrivo, k.sosta);
    EXPECT_DOUBLE_EQ(velocita_a(c, 5000), k.ferma ? 0 : v);
    EXPECT_NEAR(r.tratti[0].realistico, k.primo, 1e-9);
    EXPECT_NEAR(r.tratti[1].realistico, k.secondo, 1e-9);
    // The timetable's stretch ends at the arrival: the time less the stop.
    EXPECT_EQ(r.tratti[0].orario, 300 - k.sosta);
  }
}

// Uphill the train gains speed slower and brakes sooner, downhill the other way round;
// a gradient steeper than its figures leaves it the floor.
TEST(Tempi, AGradientChangesBothGainingAndBraking) {
  struct caso {
    int per_mille;
    double guadagno, frenata;
  };
  for (const caso& k : {caso{10, a - 0.0981, b + 0.0981}, caso{-10, a + 0.0981, b - 0.0981},
                        caso{60, accelerazione_minima, b + 0.5886}}) {
    scenario s;
    s.linea = {"pendenza, 0, " + std::to_string(k.per_mille)};
    const modello m = s.compila();
    const tratto_orario t = confronta_orario(m, calcola_corsa(m, {})).tratti[0];
    EXPECT_NEAR(t.realistico, 8000 / v + v / (2 * k.guadagno) + v / (2 * k.frenata), 1e-9)
        << k.per_mille;
    EXPECT_DOUBLE_EQ(t.minimo, 320);
  }
}

std::vector<tipo_problema> tipi(const confronto& r) {
  std::vector<tipo_problema> t;
  for (const problema& p : r.problemi) t.push_back(p.tipo);
  return t;
}

// The stretch's scheduled time against its minimum of 320 s and its run of 366.875 s.
TEST(Tempi, EachStretchIsJudgedAgainstItsMinimumAndItsRun) {
  struct caso {
    std::int64_t orario;
    std::optional<tipo_problema> tipo;
  };
  const caso casi[] = {
      {319, tipo_problema::sotto_minimo},
      {320, tipo_problema::sotto_realistico},
      {366, tipo_problema::sotto_realistico},
      {367, tipo_problema::margine_scarso},
      {377, tipo_problema::margine_scarso},
      {378, std::nullopt},
      {733, std::nullopt},
      {734, tipo_problema::oltre_doppio},
  };
  for (const caso& k : casi) {
    scenario s;
    s.stazioni[1].orario = otto + k.orario;
    const modello m = s.compila();
    const corsa c = calcola_corsa(m, {});
    const confronto r = confronta_orario(m, c);
    if (!k.tipo) {
      EXPECT_TRUE(r.problemi.empty()) << k.orario;
      continue;
    }
    ASSERT_EQ(r.problemi.size(), 1u) << k.orario;
    const problema& p = r.problemi[0];
    EXPECT_EQ(p.tipo, *k.tipo) << k.orario;
    EXPECT_EQ(e_errore(p.tipo), k.orario < 320);
    // Told at the later station's row, the seventh of the train text, speaking of the earlier.
    EXPECT_EQ(p.stazione, 2);
    ASSERT_TRUE(p.riga);
    EXPECT_EQ(p.riga->fonte, fonte::treno);
    EXPECT_EQ(p.riga->riga, 7);
    EXPECT_EQ(p.tratto, 0u);
    EXPECT_EQ(p.partenza, 1);
    ASSERT_TRUE(p.riga_partenza);
    EXPECT_EQ(p.riga_partenza->riga, 6);
  }
}

TEST(Tempi, TheClockStartsBeforeTheFirstDepartureByHalfAnHourAtMost) {
  struct caso {
    std::string orologio;
    std::int64_t partenza;
    std::optional<tipo_problema> tipo;
  };
  const caso casi[] = {
      {"7 59 0", otto, std::nullopt},
      {"8 0 0", otto, std::nullopt},
      {"8 0 1", otto, tipo_problema::orologio_dopo},
      {"7 30 0", otto, std::nullopt},
      {"7 29 59", otto, tipo_problema::orologio_presto},
      {"23 50 0", 10 * 60, std::nullopt},  // across midnight
      {"0 5 0", 23 * 3600 + 55 * 60, tipo_problema::orologio_dopo},
  };
  for (const caso& k : casi) {
    scenario s;
    s.orologio = k.orologio;
    s.stazioni = {{1000, k.partenza}, {9000, (k.partenza + 600) % 86400}};
    const modello m = s.compila();
    const confronto r = confronta_orario(m, calcola_corsa(m, {}));
    EXPECT_EQ(tipi(r), k.tipo ? std::vector{*k.tipo} : std::vector<tipo_problema>{}) << k.orologio;
    if (k.tipo) {
      EXPECT_EQ(r.problemi[0].prima_partenza, k.partenza);
    }
  }
}

// A first station without a time, and a time of 0 where one seems meant: a station with
// a stop, or one between times on the two sides of midnight.
TEST(Tempi, StationsWithoutATimeWhereOneSeemsMeant) {
  struct caso {
    std::int64_t prima, terza;
    int sosta;
    std::vector<tipo_problema> tipi;
  };
  const std::int64_t tardi = 23 * 3600 + 55 * 60;
  const caso casi[] = {
      {otto, otto + 400, 0, {}},
      {otto, otto + 400, 30, {tipo_problema::orario_zero}},
      {tardi, tardi + 400 - 86400, 0, {tipo_problema::orario_zero}},
  };
  for (const caso& k : casi) {
    scenario s;
    s.orologio = std::to_string(k.prima / 3600) + " " + std::to_string(k.prima / 60 % 60) + " 0";
    s.stazioni = {{1000, 0}, {2000, k.prima}, {3000, 0, k.sosta}, {9000, k.terza}};
    const modello m = s.compila();
    const corsa c = calcola_corsa(m, {});
    const confronto r = confronta_orario(m, c);
    std::vector<tipo_problema> attesi = {tipo_problema::prima_senza_orario};
    attesi.insert(attesi.end(), k.tipi.begin(), k.tipi.end());
    EXPECT_EQ(tipi(r), attesi) << k.prima << " " << k.sosta;
    EXPECT_EQ(r.problemi[0].stazione, 1);
    if (!k.tipi.empty()) {
      EXPECT_EQ(r.problemi[1].stazione, 3);
    }
    ASSERT_EQ(r.tratti.size(), 1u);
    EXPECT_EQ(r.tratti[0].orario, 400);
  }
}

// The author's speed point limits the head where it stands; the points the completion
// adds at 180 km/h (here before the signal ahead of a slowdown's warning board) do not.
TEST(Tempi, OnlyTheAuthorsSpeedPointsAreLimits) {
  scenario s;
  s.treno = {"velocita, 0, 200", "rallentamento, 12000, 60, 500, 0, 0, 60",
             "segnale, 10000, 1, 4, 1, 0, 0, 1, 3,1,0, 0", "abbattimento, 5000, 45"};
  s.stazioni = {{1000, otto}, {19000, otto + 900}};
  const modello m = s.compila();
  ASSERT_EQ(m.celle[200].evento, evento::punto_velocita);  // the completion's, before the signal
  ASSERT_EQ(m.celle[200].dato_1, 180);
  ASSERT_EQ(punti_velocita(m).size(), 1u);
  const corsa c = calcola_corsa(m, {});
  EXPECT_NEAR(velocita_a(c, 5000), 12.5, 1e-9);
  EXPECT_NEAR(velocita_a(c, 10000), 200 / 3.6, 1e-9);
}

// A limit of 0 km/h: no train passes it, and the stretch's minimum says where.
TEST(Tempi, ALimitOfZeroStopsEveryTrain) {
  scenario s;
  s.treno = {"velocita, 2000, 90"};  // the cells before 2000 m keep 0 km/h
  const modello m = s.compila();
  const confronto r = confronta_orario(m, calcola_corsa(m, {}));
  ASSERT_EQ(r.tratti.size(), 1u);
  EXPECT_TRUE(std::isinf(r.tratti[0].minimo));
  EXPECT_TRUE(std::isinf(r.tratti[0].realistico));
  EXPECT_EQ(r.tratti[0].limite_nullo, 1000);
  EXPECT_EQ(tipi(r), std::vector{tipo_problema::sotto_minimo});
}

std::vector<std::uint8_t> testo(std::span<const std::string_view> righe) {
  return testo_crlf(righe);
}

// The embedded timetable and a new scenario's keep their trains' runs.
TEST(Tempi, TheEmbeddedAndTheNewScenariosHaveNoError) {
  modello nomi;
  nomi.nome_percorso = std::string("Valle");
  nomi.numero_treno = std::string("2211");
  const auto nuovi = testi_nuovo_scenario(nomi);
  const std::vector<std::uint8_t> testi[][2] = {
      {testo(righe_linea()), testo(righe_treno())},
      {testo(nuovi[0].righe), testo(nuovi[1].righe)},
  };
  for (const auto& t : testi) {
    const esito_tempi e = calcola_tempi({t[0], t[1]}, {});
    EXPECT_FALSE(con_errori(e));
    EXPECT_EQ(e.r.tratti.size(), 2u);
  }
}

}  // namespace
}  // namespace percorso
