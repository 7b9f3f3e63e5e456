// The embedded scenario compiled whole: every placed row leaves its event in the cells.
#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "app/costruzione.h"
#include "writers/testi.h"

namespace percorso {
namespace {

std::string unisci(std::span<const std::string_view> righe) {
  std::string t;
  for (std::string_view r : righe) t.append(r).append("\r\n");
  return t;
}

std::span<const std::uint8_t> byte(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// The numbers of the embedded rows that begin with the keyword.
std::vector<std::vector<std::int32_t>> righe_con(std::span<const std::string_view> testo,
                                                 std::string_view chiave) {
  std::vector<std::vector<std::int32_t>> righe;
  for (std::string_view r : testo) {
    if (r.substr(0, chiave.size()) != chiave) continue;
    std::istringstream in{std::string(r.substr(r.find(',') + 1))};
    std::vector<std::int32_t> numeri;
    std::string campo;
    while (std::getline(in, campo, ',')) {
      std::istringstream c(campo);
      std::int32_t n = 0;
      while (c >> n) numeri.push_back(n);
    }
    righe.push_back(numeri);
  }
  return righe;
}

std::size_t cella_piu_1(std::int32_t p) {
  return static_cast<std::size_t>(std::nearbyint(p / 50.0 + 1));
}

class ScenarioIncorporato : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    linea_ = new std::string(unisci(righe_linea()));
    treno_ = new std::string(unisci(righe_treno()));
    m_ = new modello;
    m_->nome_percorso = "Varmena_Ostrana";
    m_->numero_treno = "917";
    memorizza_percorso(*m_, sorgenti{byte(*linea_), byte(*treno_)}, 1);
  }
  static void TearDownTestSuite() {
    delete m_;
    delete linea_;
    delete treno_;
  }
  static const cella& c(std::size_t i) { return m_->celle.at(i); }

  static inline std::string* linea_ = nullptr;
  static inline std::string* treno_ = nullptr;
  static inline modello* m_ = nullptr;
};

TEST_F(ScenarioIncorporato, NessunErrore) {
  EXPECT_EQ(m_->codice_errore, 0);
  EXPECT_TRUE(m_->rilievi.empty());
  EXPECT_EQ(m_->ultima_cella(), 2020);
}

TEST_F(ScenarioIncorporato, Segnali) {
  const auto righe = righe_con(righe_treno(), "segnale");
  ASSERT_EQ(righe.size(), 22u);
  for (const auto& r : righe) {
    SCOPED_TRACE(r[0]);
    const cella& s = c(cella_piu_1(r[0]));
    EXPECT_EQ(s.evento, evento::segnale);
    EXPECT_EQ(s.dato_1, r[2] * 10 + r[7]);
    EXPECT_EQ(s.dato_2, r[3] * 10 + r[8]);
    EXPECT_EQ(s.dato_3, r[4] * 10 + r[9]);
    EXPECT_EQ(s.dato_4, r[5] * 10 + r[1] * 3 + r[6]);
  }
  EXPECT_EQ(c(403).tempo_segnale, 235);
  EXPECT_EQ(c(401).ripetizione, 71);
  EXPECT_EQ(c(245).ripetizione, 44);
}

TEST_F(ScenarioIncorporato, RallentamentiEPuntiDiVelocita) {
  EXPECT_EQ(c(17).evento, evento::avviso_rallentamento);
  EXPECT_EQ(c(41).evento, evento::inizio_rallentamento);
  EXPECT_EQ(c(55).evento, evento::fine_rallentamento);
  EXPECT_EQ(c(1533).evento, evento::avviso_rallentamento);
  EXPECT_EQ(c(1557).evento, evento::inizio_rallentamento);
  EXPECT_EQ(c(1567).evento, evento::fine_rallentamento);
  for (std::size_t i = 1529; i <= 1532; ++i) {
    EXPECT_EQ(c(i).evento, evento::preavviso);
    EXPECT_EQ(c(i).dato_1, static_cast<std::int16_t>(1533 - i));
  }
  // Speed points: three groups before each start, one inside each (both are
  // below 110 km/h), and one in front of the signal at 76000 m (cell 1521) that
  // lies within 20 cells before the second warning board.
  std::vector<std::size_t> punti;
  for (std::size_t i = 0; i < m_->celle.size(); ++i)
    if (c(i).evento == evento::punto_velocita) {
      punti.push_back(i);
      EXPECT_EQ(c(i).dato_1, 180);
    }
  EXPECT_EQ(punti, (std::vector<std::size_t>{23, 30, 36, 49, 1520, 1539, 1546, 1552, 1565}));
}

TEST_F(ScenarioIncorporato, IndicatoriMontagneCartelli) {
  for (const auto& r : righe_con(righe_linea(), "indicatori_vmax")) {
    SCOPED_TRACE(r[0]);
    const cella& i = c(cella_piu_1(r[0]));
    EXPECT_EQ(i.evento, evento::indicatori);
    EXPECT_EQ(i.dato_1, r[1] * 20 + r[5] / 5);
    EXPECT_EQ(i.dato_4, r[4] * 10 + r[8]);
  }
  EXPECT_EQ(c(51).dato_2, 2323);
  EXPECT_EQ(c(909).dato_4, 22);

  EXPECT_EQ(c(61).montagna, 2);
  EXPECT_EQ(c(75).montagna, 2);
  EXPECT_EQ(c(76).montagna, 0);
  EXPECT_EQ(c(64).evento, evento::montagna);
  EXPECT_EQ(c(391).montagna, 3);
  EXPECT_EQ(c(394).evento, evento::montagna);

  EXPECT_EQ(c(481).evento, evento::cartello);
  EXPECT_EQ(c(481).dato_1, 80);
  EXPECT_EQ(m_->punti[76].nome.substr(0, 12), "( Galleria  ");
}

TEST_F(ScenarioIncorporato, Stazioni) {
  const auto righe = righe_con(righe_treno(), "stazione");
  ASSERT_EQ(righe.size(), 13u);
  for (std::size_t k = 1; k <= righe.size(); ++k) {
    SCOPED_TRACE(k);
    const punto& e = m_->punti[k];
    EXPECT_EQ(e.valore_3, righe[k - 1][0]);
    if (e.codice >= 25) continue;
    const cella& f = c(static_cast<std::size_t>(e.valore_2 / 50 - 1));
    EXPECT_EQ(f.evento, evento::fermata);
    EXPECT_EQ(f.dato_1, static_cast<std::int16_t>(k));
  }
  EXPECT_EQ(c(8).dato_1, 1);
  EXPECT_EQ(c(39).dato_1, 2);
  EXPECT_EQ(m_->punti[5].valore_1, 20400);
  EXPECT_EQ(m_->punti[5].valore_2, 20600);
}

}  // namespace
}  // namespace percorso
