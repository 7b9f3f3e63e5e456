// The fastest run between two stops, against the closed forms of uniform acceleration.
#include "tempi/marcia.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace percorso {
namespace {

double durata(const std::vector<pezzo>& p) {
  return p.back().partenza + p.back().durata() - p.front().partenza;
}

double velocita_massima(const std::vector<pezzo>& p, double da, double a) {
  double v = 0;
  for (const pezzo& q : p)
    if (q.fine > da && q.inizio < a) v = std::max({v, q.v_inizio, q.v_fine});
  return v;
}

// A run long enough to reach its limit: gaining, holding, braking, each in closed form;
// no time to react is spent where the train holds its speed before braking.
TEST(Marcia, ReachesTheLimitHoldsItAndBrakesInClosedForm) {
  const double v = 25, a = 0.4, b = 0.8;
  const tratto_marcia tratto{8000, v, a, b};
  for (const double reazione : {0.0, 3.0}) {
    const auto p = marcia(1000, 60, {&tratto, 1}, reazione);
    EXPECT_DOUBLE_EQ(p.front().partenza, 60);
    EXPECT_DOUBLE_EQ(durata(p), 7000 / v + v / (2 * a) + v / (2 * b)) << reazione;
    EXPECT_DOUBLE_EQ(p.front().inizio, 1000);
    EXPECT_DOUBLE_EQ(p.back().fine, 8000);
    EXPECT_EQ(p.back().v_fine, 0);
  }
}

// Too short to reach the limit: without a time to react the train gains speed until it
// must brake; with one it stops gaining earlier and holds that speed that long:
// d = v^2/2a + v t + v^2/2b.
TEST(Marcia, BetweenGainingAndBrakingTheTrainHoldsItsSpeedForTheTimeToReact) {
  const double d = 400, a = 0.4, b = 0.8;
  const tratto_marcia tratto{d, 100, a, b};
  const double vetta = std::sqrt(2 * d * a * b / (a + b));
  EXPECT_NEAR(durata(marcia(0, 0, {&tratto, 1}, 0)), vetta / a + vetta / b, 1e-9);
  const double t = 3, k = 1 / (2 * a) + 1 / (2 * b);
  const double v = (-t + std::sqrt(t * t + 4 * k * d)) / (2 * k);
  const auto p = marcia(0, 0, {&tratto, 1}, t);
  EXPECT_NEAR(durata(p), v / a + t + v / b, 1e-9);
  EXPECT_NEAR(velocita_massima(p, 0, d), v, 1e-9);
}

// The speed of the run where the head is at x.
double velocita_a(const std::vector<pezzo>& p, double x) {
  for (const pezzo& q : p)
    if (q.inizio <= x && x <= q.fine) {
      const double q0 = q.v_inizio * q.v_inizio;
      return std::sqrt(q0 + (q.v_fine * q.v_fine - q0) * (x - q.inizio) / (q.fine - q.inizio));
    }
  return -1;
}

// A lower limit ahead is met braking, a higher one reached gaining speed; a speed point
// limits its own point alone; a stretch of 0 m/s stops every train for good.
TEST(Marcia, LimitsAheadSpeedPointsAndAStretchWhereNoTrainPasses) {
  const std::vector<tratto_marcia> tratti = {
      {3000, 30, 0.5, 1}, {4000, 10, 0.5, 1}, {9000, 30, 0.5, 1}, {12000, 30, 0.5, 1, 5}};
  const auto p = marcia(0, 0, tratti, 0);
  EXPECT_NEAR(velocita_massima(p, 3000, 4000), 10, 1e-9);
  EXPECT_NEAR(velocita_a(p, 3000 - (30 * 30 - 10 * 10) / 2.0), 30, 1e-9);
  EXPECT_NEAR(velocita_a(p, 6000), 30, 1e-9);
  // Braked from 30 to the speed point's 5 m/s over 437.5 m, gaining again after it.
  EXPECT_NEAR(velocita_a(p, 9000 - 437.5), 30, 1e-9);
  EXPECT_NEAR(velocita_a(p, 9000 - 200), std::sqrt(5 * 5 + 2 * 200.0), 1e-9);
  EXPECT_NEAR(velocita_a(p, 9000), 5, 1e-9);
  EXPECT_NEAR(velocita_a(p, 9100), std::sqrt(5 * 5 + 2 * 0.5 * 100), 1e-9);

  const std::vector<tratto_marcia> ferme = {
      {1000, 30, 0.5, 1}, {1050, 0, 0.5, 1}, {2000, 30, 0.5, 1}};
  const auto f = marcia(0, 0, ferme, 3);
  EXPECT_TRUE(std::isfinite(tempo_a(f, 1000)));
  EXPECT_EQ(velocita_a(f, 1000), 0);
  EXPECT_TRUE(std::isinf(tempo_a(f, 1020)));
  EXPECT_TRUE(std::isinf(tempo_a(f, 2000)));
}

// The time at any point of a piece follows v^2 linear in the distance.
TEST(Marcia, TheTimeInsideAPieceFollowsUniformAcceleration) {
  const pezzo gaining{0, 100, 0, 10, 0};  // a = 0.5 m/s2
  EXPECT_DOUBLE_EQ(gaining.tempo_fino(25), 10);
  EXPECT_DOUBLE_EQ(gaining.durata(), 20);
  const pezzo holding{0, 100, 20, 20, 0};
  EXPECT_DOUBLE_EQ(holding.tempo_fino(50), 2.5);
  const pezzo standing{0, 100, 0, 0, 0};
  EXPECT_TRUE(std::isinf(standing.durata()));
  EXPECT_EQ(standing.tempo_fino(0), 0);
}

}  // namespace
}  // namespace percorso
