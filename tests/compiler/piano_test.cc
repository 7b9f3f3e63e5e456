// The per-metre plan built from curve rows.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "app/costruzione.h"

namespace percorso {
namespace {

std::span<const std::uint8_t> byte(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

modello compila(const std::vector<std::string>& corpo, std::int32_t lunghezza = 1000,
                std::int32_t j = 1) {
  std::string linea = "[generale]\r\nlunghezza percorso, " + std::to_string(lunghezza) +
                      "\r\nprogressiva chilometrica uno, 0, 350000, 0\r\n[curve]\r\n";
  for (const auto& r : corpo) linea += r + "\r\n";
  linea += "[fine]\r\n";
  const std::string treno = "[generale]\r\n[fine]\r\n";
  modello m;
  m.nome_percorso = "Prova";
  m.numero_treno = "1";
  memorizza_percorso(m, sorgenti{byte(linea), byte(treno)}, j);
  return m;
}

// The plan walked independently: metres 0 and 1 fixed, then each step turned by
// the curvature of its metre, the bracket rounded before the addition.
struct cammino {
  std::vector<double> x, y;
};
cammino cammina(std::int64_t fino, const std::function<double(std::int64_t)>& curvatura) {
  cammino c{std::vector<double>(static_cast<std::size_t>(fino) + 1),
            std::vector<double>(static_cast<std::size_t>(fino) + 1)};
  c.y[1] = 1;
  for (std::size_t k = 2; k <= static_cast<std::size_t>(fino); ++k) {
    const double f = curvatura(static_cast<std::int64_t>(k));
    const double d0 = c.x[k - 1] - c.x[k - 2];
    const double d1 = c.y[k - 1] - c.y[k - 2];
    const double px = d0 + f * d1;
    const double py = d1 - f * d0;
    c.x[k] = c.x[k - 1] + px;
    c.y[k] = c.y[k - 1] + py;
  }
  return c;
}

// Every assigned metre bit for bit, and the element kinds.
void come_il_cammino(const modello& m, const cammino& atteso) {
  ASSERT_TRUE(m.tracciato);
  const piano& p = *m.tracciato;
  ASSERT_EQ(p.ultimo_metro(), 8000);
  EXPECT_EQ(tipo_metro(p, 0), tipo_elemento::intero);
  EXPECT_EQ(tipo_metro(p, 1), tipo_elemento::intero);
  EXPECT_EQ(tipo_metro(p, 2), tipo_elemento::reale);
  EXPECT_EQ(tipo_metro(p, 7998), tipo_elemento::reale);
  EXPECT_EQ(tipo_metro(p, 7999), tipo_elemento::vuoto);
  EXPECT_EQ(tipo_metro(p, 8000), tipo_elemento::vuoto);
  int diversi = 0;
  for (std::size_t k = 0; k <= 7998; ++k) {
    if (p.x[k] != atteso.x[k] || p.y[k] != atteso.y[k]) {
      if (++diversi <= 3) ADD_FAILURE() << "metre " << k << ": " << p.x[k] << ", " << p.y[k];
    }
  }
  EXPECT_EQ(diversi, 0);
}

TEST(Piano, SenzaCurveDiritto) {
  const modello m = compila({});
  ASSERT_EQ(m.codice_errore, 0);
  come_il_cammino(m, cammina(7998, [](std::int64_t) { return 0.0; }));
  EXPECT_EQ(m.tracciato->x[7998], 0.0);
  EXPECT_EQ(m.tracciato->y[7998], 7998.0);
}

TEST(Piano, CurvaADestraEASinistra) {
  const modello destra = compila({"curvad5,  650,  200"});
  ASSERT_EQ(destra.codice_errore, 0);
  const piano& p = *destra.tracciato;
  // Metres 2 to 650 straight, 651 to 850 turned.
  EXPECT_EQ(p.x[650], 0.0);
  EXPECT_EQ(p.y[650], 650.0);
  EXPECT_EQ(p.x[651], 0.002);
  EXPECT_EQ(p.y[651], 651.0);
  EXPECT_EQ(p.x[652], 0.002 + (0.002 + 0.002 * 1.0));
  EXPECT_EQ(p.y[652], 651.0 + (1.0 - 0.002 * 0.002));
  come_il_cammino(destra,
                  cammina(7998, [](std::int64_t k) { return k >= 651 && k <= 850 ? 0.002 : 0.0; }));
  // After the curve the last step repeats: heading about 0.4 rad, step grown by (1 + f²)^100.
  const double dx = p.x[851] - p.x[850], dy = p.y[851] - p.y[850];
  EXPECT_EQ(dx, p.x[850] - p.x[849]);
  EXPECT_NEAR(std::atan2(dx, dy), 0.4, 1e-3);
  EXPECT_NEAR(std::hypot(dx, dy), std::pow(1.0 + 0.002 * 0.002, 100), 1e-9);
  EXPECT_GT(p.x[7998], 2000.0);

  const modello sinistra = compila({"curvas5,  650,  200"});
  ASSERT_EQ(sinistra.codice_errore, 0);
  // Negation is exact: the left curve is the mirror image bit for bit.
  for (std::size_t k = 0; k <= 7998; ++k) {
    ASSERT_EQ(sinistra.tracciato->x[k], -p.x[k]) << k;
    ASSERT_EQ(sinistra.tracciato->y[k], p.y[k]) << k;
  }
}

// The first curved metre moves sideways by exactly the curvature.
TEST(Piano, ClasseEVersoDalCampo) {
  const std::pair<const char*, double> casi[] = {
      {"curvad1", 0.0001}, {"curvad2", 0.0002}, {"curvad3", 0.0004},  {"curvad4", 0.001},
      {"curvad5", 0.002},  {"curvad6", 0.003},  {"curva15", 0.0001},  {"curva51", 0.0001},
      {"curva65", 0.002},  {"CURVAS4", -0.001}, {"CurvaS2", -0.0002}, {"curva_sx3", -0.0004},
  };
  for (const auto& [chiave, f] : casi) {
    SCOPED_TRACE(chiave);
    const modello m = compila({std::string(chiave) + ", 650, 200"});
    ASSERT_EQ(m.codice_errore, 0);
    EXPECT_EQ(m.tracciato->x[650], 0.0);
    EXPECT_EQ(m.tracciato->x[651], f);
  }
}

TEST(Piano, SenzaCifraDiClasse) {
  for (const char* chiave : {"curvad", "curvad7", "curva0"}) {
    SCOPED_TRACE(chiave);
    const modello m = compila(
        {"curvad5, 100, 100", std::string(chiave) + ", 650, 200", "montagna, 2000, 3000, 2"});
    EXPECT_EQ(m.codice_errore, 103);
    // The compilation stops: no later row, no straight completion of the plan.
    EXPECT_EQ(m.celle[40].montagna, 0);
    EXPECT_EQ(tipo_metro(*m.tracciato, 200), tipo_elemento::reale);
    EXPECT_EQ(tipo_metro(*m.tracciato, 201), tipo_elemento::vuoto);
  }
}

// Overlapping curves: the later one covers only the metres not yet walked.
TEST(Piano, CurveSovrapposte) {
  const modello m = compila({"curvad5, 650, 200", "curvas5, 700, 100", "curvas5, 700, 200"});
  ASSERT_EQ(m.codice_errore, 0);
  come_il_cammino(m, cammina(7998, [](std::int64_t k) {
                    if (k >= 651 && k <= 850) return 0.002;
                    if (k >= 851 && k <= 900) return -0.002;
                    return 0.0;
                  }));
}

TEST(Piano, LimitiDelPiano) {
  // Length 1000: cells 0 to 160, plan metres 0 to 8000.
  const modello fino_in_fondo = compila({"curvad5, 7000, 1000"});
  EXPECT_EQ(fino_in_fondo.codice_errore, 0);
  EXPECT_EQ(tipo_metro(*fino_in_fondo.tracciato, 8000), tipo_elemento::reale);

  // A step past the last metre: general failure, the metres walked stay.
  const modello oltre = compila({"curvad5, 7000, 1001", "montagna, 2000, 3000, 2"});
  EXPECT_EQ(oltre.codice_errore, 25);
  EXPECT_EQ(oltre.posizione_errore, 0);
  EXPECT_EQ(tipo_metro(*oltre.tracciato, 8000), tipo_elemento::reale);
  EXPECT_EQ(oltre.tracciato->x[8000], fino_in_fondo.tracciato->x[8000]);
  EXPECT_EQ(oltre.celle[40].montagna, 0);

  // A start beyond the cells fails the bound test though the plan would hold it;
  // the plan is still completed straight.
  const modello fuori = compila({"curvad5, 7950, 10"});
  EXPECT_EQ(fuori.codice_errore, 15);
  EXPECT_EQ(fuori.posizione_errore, 7950);
  come_il_cammino(fuori, cammina(7998, [](std::int64_t) { return 0.0; }));
  EXPECT_EQ(compila({"curvad5, 7900, 10"}).codice_errore, 0);
}

TEST(Piano, MetroUnMilione) {
  // The last metre written may be 1000000; writing it leaves the plan metre past it.
  const modello m = compila({"curvad1, 999000, 2000", "montagna, 2000, 3000, 2"}, 1000000);
  EXPECT_EQ(m.codice_errore, 103);
  EXPECT_EQ(tipo_metro(*m.tracciato, 1000000), tipo_elemento::reale);
  EXPECT_EQ(tipo_metro(*m.tracciato, 1000001), tipo_elemento::vuoto);
  EXPECT_EQ(m.celle[40].montagna, 0);

  // Ending on metre 999999 passes, and the straight completion has no such limit.
  const modello n = compila({"curvad1, 999000, 999"}, 1000000);
  EXPECT_EQ(n.codice_errore, 0);
  EXPECT_EQ(tipo_metro(*n.tracciato, 1006998), tipo_elemento::reale);
  EXPECT_EQ(tipo_metro(*n.tracciato, 1006999), tipo_elemento::vuoto);
}

TEST(Piano, SenzaFlagNessunPiano) {
  const modello m = compila({"curvad5, 650, 200", "montagna, 2000, 3000, 2"}, 1000, 0);
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_FALSE(m.tracciato);
  // The curve's numbers pass as ignored fields; the next row still takes effect.
  EXPECT_EQ(m.celle[40].montagna, 2);
}

}  // namespace
}  // namespace percorso
