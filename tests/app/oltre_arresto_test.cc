// The rows after the compiler's stop, found by compiling again with the stopping row
// blanked: what a page lists as not compiled.
#include "app/oltre_arresto.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/testi_sorgente.h"

namespace percorso {
namespace {

const std::string linea = prova::linea(20000);

std::vector<std::pair<elemento, std::int32_t>> righe_di(const dopo_arresto& d) {
  std::vector<std::pair<elemento, std::int32_t>> r;
  for (const origine* o : d.righe) r.push_back({o->elemento, o->riga});
  return r;
}

TEST(OltreArresto, TheRowsAfterEachStopAreFoundByTheirTextLine) {
  struct caso {
    const char* nome;
    std::string treno;
    std::int32_t riga;  // where the compiler stops
    std::optional<std::int32_t> metro;
    std::vector<std::pair<elemento, std::int32_t>> righe;
  };
  const caso casi[] = {
      {"a station off the 50 m grid: the later station and signal",
       prova::treno({"stazione, 0, 12, 600, 0,0,1, 1,1,0, 4,1,1, 0, 8,0,0, A",
                     "stazione, 5010, 12, 600, 0,0,0, 1,1,0, 4,1,1, 0, 8,10,0, B",
                     "stazione, 12000, 12, 600, 0,0,0, 1,1,0, 4,1,1, 0, 8,20,0, C",
                     "segnale, 15000, 1, 4, 1, 0, 0, 1, 3,1,0, 0"}),
       3,
       5010,
       {{elemento::stazione, 4}, {elemento::segnale, 5}}},
      {"two stops: the rows past both",
       prova::treno({"stazione, 1010, 12, 600, 0,0,0, 1,1,0, 4,1,1, 0, 8,10,0, B",
                     "stazione, 5010, 12, 600, 0,0,0, 1,1,0, 4,1,1, 0, 8,10,0, B",
                     "stazione, 12000, 12, 600, 0,0,0, 1,1,0, 4,1,1, 0, 8,20,0, C"}),
       2,
       1010,
       {{elemento::stazione, 4}}},
      {"a stop at the last row: nothing after it",
       prova::treno({"stazione, 5010, 12, 600, 0,0,0, 1,1,0, 4,1,1, 0, 8,10,0, B"}),
       2,
       5010,
       {}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const modello m = prova::compila(linea, c.treno);
    const auto d = oltre_l_arresto(m, prova::testi(linea, c.treno));
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->arresto.riga, c.riga);
    EXPECT_EQ(d->metro, c.metro);
    EXPECT_EQ(righe_di(*d), c.righe);
  }
}

TEST(OltreArresto, NothingWhenBothTextsAreReadToTheEnd) {
  const std::string treno = prova::treno({"segnale, 15000, 1, 4, 1, 0, 0, 1, 3,1,0, 0"});
  EXPECT_FALSE(oltre_l_arresto(prova::compila(linea, treno), prova::testi(linea, treno)));
}

}  // namespace
}  // namespace percorso
