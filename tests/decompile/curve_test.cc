// Curves from the plan's bit patterns: each row back to the metre, touching curves of one
// class as one row, and a coordinate no curve gives named with its metre.
#include "decompile/curve.h"

#include <gtest/gtest.h>

#include "format/file_binari.h"
#include "support/testi_sorgente.h"

namespace percorso {
namespace {

std::vector<std::uint8_t> piano_di(std::initializer_list<std::string_view> righe) {
  modello m = prova::nuovo_modello();
  const std::string linea = prova::linea(6000, righe);
  EXPECT_EQ(memorizza_percorso(m, prova::testi(linea, prova::treno()), 1),
            stato_costruzione::pronta);
  return immagine_piano(*m.tracciato);
}

curve_del_piano curve_di(const std::vector<std::uint8_t>& piano) {
  return curve_dal_piano(piano, 13001, 260);
}

struct caso {
  const char* nome;
  std::initializer_list<std::string_view> righe;
  std::vector<std::array<std::int64_t, 4>> attese;  // inizio, lunghezza, classe, sinistra
};

TEST(CurveDalPiano, RowsComeBackToTheMetre) {
  const caso casi[] = {
      {"none", {}, {}},
      {"apart and touching, of either hand",
       {"curvad5, 650, 200", "curvas2, 1000, 300", "curvad3, 1300, 100"},
       {{650, 200, 5, 0}, {1000, 300, 2, 1}, {1300, 100, 3, 0}}},
      {"touching rows of one class are one",
       {"curvad4, 1000, 100", "curvad4, 1100, 50"},
       {{1000, 150, 4, 0}}},
  };
  for (const caso& c : casi) {
    const curve_del_piano r = curve_di(piano_di(c.righe));
    EXPECT_EQ(r.fine, fine_piano::completo) << c.nome;
    EXPECT_TRUE(r.problemi.empty()) << c.nome;
    std::vector<std::array<std::int64_t, 4>> righe;
    for (const riga_curva& k : r.righe)
      righe.push_back({k.inizio, k.lunghezza, k.classe, k.sinistra});
    EXPECT_EQ(righe, c.attese) << c.nome;
  }
}

TEST(CurveDalPiano, ACoordinateNoCurveGivesIsNamed) {
  auto piano = piano_di({"curvad5, 650, 200"});
  // x of metre 700: the x block starts with two whole-number metres of 4 bytes.
  piano[8 + 10 * (700 - 2) + 2] ^= 1;
  const curve_del_piano r = curve_di(piano);
  ASSERT_FALSE(r.problemi.empty());
  EXPECT_EQ(r.problemi.front(),
            "metro 700 del tracciato: nessuna curva da' queste coordinate (modificate a mano?)");
}

TEST(CurveDalPiano, WhereThePlanEndsTellsWhereTheCompileStopped) {
  // Two boards on one cell stop the body after the curve: the plan is not completed.
  const auto fermato = curve_di(piano_di(
      {"curvad5, 650, 200", "cartello_indicatore, 2000, A", "cartello_indicatore, 2000, B"}));
  EXPECT_EQ(fermato.fine, fine_piano::fermato);
  // A length row over the maximum stops the header: not even metre 0.
  modello m = prova::nuovo_modello();
  const std::string linea = prova::linea(6000, {}, {"lunghezza percorso, 2000000"});
  ASSERT_EQ(memorizza_percorso(m, prova::testi(linea, prova::treno()), 1),
            stato_costruzione::pronta);
  EXPECT_EQ(curve_di(immagine_piano(*m.tracciato)).fine, fine_piano::vuoto);
}

}  // namespace
}  // namespace percorso
