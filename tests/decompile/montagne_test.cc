// Mountain-side rows: stretches come back as their rows, moved within their cells or
// kept apart by a row that covers no cell where the close-follower rule would turn a
// type into 3.
#include "decompile/montagne.h"

#include <gtest/gtest.h>

#include "support/testi_sorgente.h"

namespace percorso {
namespace {

std::vector<cella> celle_di(std::initializer_list<std::string_view> righe) {
  modello m = prova::nuovo_modello();
  const std::string linea = prova::linea(6000, righe);
  EXPECT_EQ(memorizza_percorso(m, prova::testi(linea, prova::treno()), 0),
            stato_costruzione::pronta);
  return m.celle;
}

struct caso {
  const char* nome;
  std::initializer_list<std::string_view> righe;
  std::vector<std::array<std::int64_t, 3>> attese;  // inizio, fine, tipo
  bool separazione;                                 // a row that covers no cell stands between two
};

TEST(RigheMontagne, StretchesComeBackAsTheirRows) {
  const caso casi[] = {
      {"one marked stretch", {"montagna, 1000, 2000, 12"}, {{1000, 2000, 12}}, false},
      {"a gap of 150 m: the rows move within their cells",
       {"montagna, 1000, 2000, 2", "montagna, 0, 0, 0", "montagna, 2150, 3000, 5"},
       {{1000, 1976, 2}, {2174, 3000, 5}},
       false},
      {"touching stretches of two types",
       {"montagna, 1000, 2000, 2", "montagna, 0, 0, 0", "montagna, 2000, 3000, 5"},
       {{1000, 2000, 2}, {0, -1000, 0}, {2000, 3000, 5}},
       true},
      {"a type above 10 without marks",
       {"montagna, 1000, 2000, -230"},
       {{1000, 2000, -230}},
       false},
  };
  for (const caso& c : casi) {
    const auto celle = celle_di(c.righe);
    const montagne_ricostruite r = righe_montagne(celle);
    EXPECT_TRUE(r.problemi.empty()) << c.nome;
    std::vector<std::array<std::int64_t, 3>> righe;
    bool separazione = false;
    for (const riga_montagna& m : r.righe) {
      righe.push_back({m.inizio, m.fine, m.tipo});
      separazione = separazione || m.solo_per.starts_with("non copre nessuna cella");
    }
    EXPECT_EQ(righe, c.attese) << c.nome;
    EXPECT_EQ(separazione, c.separazione) << c.nome;
  }
}

}  // namespace
}  // namespace percorso
