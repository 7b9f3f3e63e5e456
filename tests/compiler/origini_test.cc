// Every row that places a feature leaves its origin: kind, text, line, positions, value.
#include <gtest/gtest.h>

#include "support/testi_sorgente.h"

namespace percorso {
namespace {

TEST(Origini, OgniRigaCheColloca) {
  const modello m = prova::compila(
      prova::linea(20000,
                   {"montagna, 3000, 4200, 12",                    // line 4
                    "cartello_indicatore, 5000, (Galleria)(Uno)",  // 5
                    "indicatori_vmax, 6000, 1,1,1, 1, 100,100,100, 1"}),
      prova::treno({"stazione, 0, 12, 800, 0,0,1, 1,1,0, 4,1,1, 1, 15,33,0, PRIMA",  // 2
                    "stazione, 2000, 12, 600, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, SECONDA",
                    "segnale, 7000, 1,4,1, 0,0, 1, 3,1,0, 0",  // 4
                    "rallentamento, 9000, 60, 700, 0, 0, 60", "abbattimento, 12000, 80"}));
  ASSERT_EQ(m.codice_errore, 0);
  struct atteso {
    elemento e;
    fonte f;
    std::int32_t riga, inizio, fine, valore;
  };
  const atteso attesi[] = {
      {elemento::montagna, fonte::linea, 4, 3000, 4200, 12},
      {elemento::cartello, fonte::linea, 5, 5000, 5000, primo_slot_cartelli},
      {elemento::indicatori, fonte::linea, 6, 6000, 6000, 0},
      {elemento::stazione, fonte::treno, 2, 0, 0, 1},
      {elemento::stazione, fonte::treno, 3, 2000, 2000, 2},
      {elemento::segnale, fonte::treno, 4, 7000, 7000, 0},
      {elemento::rallentamento, fonte::treno, 5, 9000, 9700, 60},
      {elemento::abbattimento, fonte::treno, 6, 12000, 12000, 80},
  };
  ASSERT_EQ(m.origini.size(), std::size(attesi));
  for (std::size_t i = 0; i < std::size(attesi); ++i) {
    SCOPED_TRACE(i);
    const origine& o = m.origini[i];
    EXPECT_EQ(o.elemento, attesi[i].e);
    EXPECT_EQ(o.fonte, attesi[i].f);
    EXPECT_EQ(o.riga, attesi[i].riga);
    EXPECT_EQ(o.colonna, 1);
    EXPECT_EQ(o.inizio, attesi[i].inizio);
    EXPECT_EQ(o.fine, attesi[i].fine);
    EXPECT_EQ(o.valore, attesi[i].valore);
  }
}

// A text of very many rows of one kind keeps a bounded number of their origins.
TEST(Origini, LimitatePerTipo) {
  std::string corpo;
  for (int i = 0; i < 30000; ++i) corpo += "montagna, 100, 200, 1\r\n";
  const std::string linea =
      prova::righe({"[generale]", "lunghezza percorso, 1000", "[m]"}) + corpo + "[fine]\r\n";
  const modello m = prova::compila(linea, prova::treno({"segnale, 500, 1,4,1, 0,0, 1, 3,1,0, 0"}));
  ASSERT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.origini.size(), 20001u);
  EXPECT_EQ(m.origini.back().elemento, elemento::segnale);
}

}  // namespace
}  // namespace percorso
