// explain NAME reads the table of findings: every name answers with its level and
// explanation; a keyword still answers with its row.
#include "app/spiega.h"

#include <gtest/gtest.h>

#include "sintassi/constatazioni.h"

namespace percorso {
namespace {

TEST(Spiega, EveryFindingNameAnswersFromTheTable) {
  for (const genere_constatazione* g : generi_constatazioni()) {
    const auto s = spiega_parola(g->nome);
    ASSERT_TRUE(s) << g->nome;
    EXPECT_EQ(s->rfind(std::string(g->nome) + " - ", 0), 0u) << *s;
    EXPECT_NE(s->find(g->spiegazione), std::string::npos) << *s;
  }
}

TEST(Spiega, LevelsAndCodesAsTheTableSays) {
  EXPECT_EQ(*spiega_parola("fuori-sezione"),
            "fuori-sezione - errore\nuna parola chiave nel testo o nella parte sbagliata: la riga "
            "e' ignorata\nMessaggio: '{}' non vale in questa parte del testo: ignorata\n");
  EXPECT_NE(spiega_parola("stazioni-vicine")->find("errore (codice 22)"), std::string::npos);
  EXPECT_NE(spiega_parola("non-multiplo")->find("errore, o avviso"), std::string::npos);
  EXPECT_NE(spiega_parola("orario-indietro")->find("orario"), std::string::npos);
  EXPECT_NE(spiega_parola("curva")->find("curva - corpo della linea"), std::string::npos);
  EXPECT_FALSE(spiega_parola("nessuna-cosa"));
}

}  // namespace
}  // namespace percorso
