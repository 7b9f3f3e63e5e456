// check, compile with the checker and --strict, explain KEYWORD: exit statuses,
// what is written, and what reaches the terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "support/cartella_temporanea.h"
#include "support/comando.h"

namespace percorso {
namespace {

constexpr std::string_view linea_pulita =
    "[generale]\r\nlunghezza percorso, 3000\r\n[curve]\r\npendenza, 0, 0\r\n[fine]\r\n";
constexpr std::string_view treno_pulito = "[generale]\r\nvelocita, 0, 100\r\n[fine]\r\n";
// A speed written with a letter: the compiler reads 0 and says nothing.
constexpr std::string_view treno_rotto = "[generale]\r\nvelocita, 0, 1O0\r\n[fine]\r\n";

class Controllo : public ::testing::Test {
 protected:
  std::vector<std::string> testi(std::string_view linea, std::string_view treno) {
    scrivi_file(dir.file("Prova_linea.txt"), linea);
    scrivi_file(dir.file("Prova_42-.txt"), treno);
    return {dir.file("Prova_linea.txt"), dir.file("Prova_42-.txt")};
  }
  risposta comando(std::string nome, std::vector<std::string> file,
                   std::vector<std::string> extra = {}) {
    file.insert(file.begin(), std::move(nome));
    file.insert(file.end(), extra.begin(), extra.end());
    return esegui(file);
  }
  bool scritto() { return std::filesystem::exists(dir.file("Prova_42.dat")); }

  cartella_temporanea dir;
};

TEST_F(Controllo, CheckExitsByTheWorstLevelAndWritesNothing) {
  struct caso {
    std::string_view linea, treno;
    std::vector<std::string> extra;
    int stato;
  };
  const std::string con_avviso =
      "[generale]\r\nlunghezza percorso, 3000\r\n[curve]\r\npendenza, 100, 0, 7\r\n[fine]\r\n";
  const caso casi[] = {
      {linea_pulita, treno_pulito, {}, 0},
      {con_avviso, treno_pulito, {}, 0},  // warnings allowed
      {con_avviso, treno_pulito, {"--werror"}, 1},
      {linea_pulita, treno_rotto, {}, 1},
      {linea_pulita, treno_rotto, {"--no-warn=non-numero"}, 0},
  };
  for (const caso& c : casi) {
    const risposta r = comando("check", testi(c.linea, c.treno), c.extra);
    EXPECT_EQ(r.stato, c.stato) << r.err;
  }
  EXPECT_FALSE(scritto());
  EXPECT_TRUE(std::filesystem::directory_iterator(dir.percorso()) !=
              std::filesystem::directory_iterator());
}

TEST_F(Controllo, CheckSaysWhereAndWhatTheCompilerReads) {
  const risposta r = comando("check", testi(linea_pulita, treno_rotto));
  EXPECT_NE(r.err.find("Prova_42-.txt:2:14: errore [non-numero]: '1O0' non e' un numero: il "
                       "compilatore legge 0; forse 100?\n"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("             ^~~ campo 'velocita' (km/h)\n"), std::string::npos) << r.err;
}

TEST_F(Controllo, CheckUsageAndUnreadableTexts) {
  EXPECT_EQ(comando("check", {"solo_uno.txt"}).stato, 2);
  EXPECT_EQ(comando("check", testi(linea_pulita, treno_pulito), {"--boh"}).stato, 2);
  EXPECT_EQ(comando("check", testi(linea_pulita, treno_pulito), {"--no-warn=boh"}).stato, 2);
  const risposta r = comando("check", {dir.file("manca_linea.txt"), dir.file("Prova_42-.txt")});
  EXPECT_EQ(r.stato, 3);
  EXPECT_NE(r.err.find("impossibile leggere"), std::string::npos) << r.err;
}

// A checker error means the scenario differs from its text: compile fails, unless
// --no-strict asks for the compiler's own findings only.
TEST_F(Controllo, CompileFailsOnCheckerErrorsUnlessNoStrict) {
  const auto file = testi(linea_pulita, treno_rotto);
  const risposta normale = comando("compile", file, {"--report", dir.file("r.json")});
  EXPECT_EQ(normale.stato, 1);
  EXPECT_NE(normale.err.find("errore [non-numero]"), std::string::npos) << normale.err;
  EXPECT_NE(normale.err.find("1 errore, 0 avvisi; scritti"), std::string::npos) << normale.err;
  EXPECT_TRUE(scritto());  // binaries written, as with any finding
  const auto rapporto = nlohmann::json::parse(leggi_file(dir.file("r.json")));
  EXPECT_EQ(rapporto["esito"], "ok");  // the compiler's own
  EXPECT_EQ(rapporto["verifica"]["errori"], 1);
  std::filesystem::remove(dir.file("Prova_42.dat"));

  const risposta permissivo =
      comando("compile", file, {"--no-strict", "--report", dir.file("r.json")});
  EXPECT_EQ(permissivo.stato, 0);
  EXPECT_NE(permissivo.err.find("avviso [non-numero]"), std::string::npos) << permissivo.err;
  EXPECT_TRUE(scritto());
  EXPECT_EQ(nlohmann::json::parse(leggi_file(dir.file("r.json")))["verifica"]["errori"], 1);

  EXPECT_EQ(comando("compile", file, {"--strict"}).stato, 1);
  EXPECT_EQ(comando("compile", file, {"--no-warn=non-numero"}).stato, 0);
  EXPECT_EQ(comando("compile", file, {"--no-strict", "--werror"}).stato, 1);
}

// The report keeps each finding's field extent and the other places it speaks of.
TEST_F(Controllo, TheReportGivesEndColumnsAndRelatedPlaces) {
  const std::string treno =
      "[generale]\r\n[stazioni]\r\n"
      "stazione, 1000, 12, 400, 0, 0, 1, 1,1,0, 4,1,1, 0, 8,2,0, NORD\r\n"
      "stazione, 2000, 12, 400, 0, 0, 1, 1,1,0, 4,1,1, 0, 8,1,0, SUD\r\n[fine]\r\n";
  const auto file = testi(
      "[generale]\r\nlunghezza percorso, 3000\r\n[curve]\r\npendenza, , 0\r\n[fine]\r\n", treno);
  ASSERT_EQ(comando("compile", file, {"--report", dir.file("r.json")}).stato,
            1);  // a checker error
  const auto r = nlohmann::json::parse(leggi_file(dir.file("r.json")));
  const auto m = std::find_if(r["messaggi"].begin(), r["messaggi"].end(),
                              [](const auto& x) { return x["nome"] == "orario-indietro"; });
  ASSERT_NE(m, r["messaggi"].end()) << r.dump(1);
  EXPECT_EQ((*m)["riga"], 4);
  EXPECT_EQ((*m)["colonna"], 52);
  EXPECT_EQ((*m)["colonna_fine"], 53);
  ASSERT_EQ((*m)["correlati"].size(), 1u) << m->dump();
  EXPECT_EQ((*m)["correlati"][0]["file"], file[1]);
  EXPECT_EQ((*m)["correlati"][0]["riga"], 3);
  EXPECT_EQ((*m)["correlati"][0]["cosa"], "stazione NORD");
  // An empty field covers no byte: no end column.
  const auto vuoto = std::find_if(r["messaggi"].begin(), r["messaggi"].end(),
                                  [](const auto& x) { return x["nome"] == "non-numero"; });
  ASSERT_NE(vuoto, r["messaggi"].end()) << r.dump(1);
  EXPECT_EQ((*vuoto)["colonna"], 11);
  EXPECT_TRUE((*vuoto)["colonna_fine"].is_null()) << vuoto->dump();
}

TEST_F(Controllo, ControlBytesOfATextNeverReachTheTerminal) {
  const std::string treno =
      "[generale]\r\nstazione, 0, 25, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\x1b[2J\x07Z\r\n"
      "[fine]\r\n";
  const risposta r = comando("check", testi(linea_pulita, treno));
  EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
  EXPECT_EQ(r.err.find('\x07'), std::string::npos);
  // Each byte shows as one character (a control byte as U+FFFD): the caret stands
  // under the first of them.
  const std::string sorgente = "A\xEF\xBF\xBD[2J\xEF\xBF\xBDZ\n";
  const std::size_t riga = r.err.find(sorgente);
  ASSERT_NE(riga, std::string::npos) << r.err;
  const std::size_t inizio = r.err.rfind('\n', riga) + 1;
  const std::size_t segno = r.err.find("^ campo 'nome'", riga);
  ASSERT_NE(segno, std::string::npos) << r.err;
  const std::size_t inizio_segno = r.err.rfind('\n', segno) + 1;
  EXPECT_EQ(segno - inizio_segno, riga + 1 - inizio) << r.err;
}

TEST(Explain, AKeywordShowsItsFieldsAndAnExample) {
  const risposta r = esegui({"explain", "stazione"});
  EXPECT_EQ(r.stato, 0);
  EXPECT_NE(r.out.find("   3 lunghezza (metri, intero a 32 bit): da 0 a 1000000, multiplo di 100"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("  17 nome (testo): al massimo 27 caratteri"), std::string::npos);
  EXPECT_NE(r.out.find("Esempio:\n  stazione,"), std::string::npos);
  // A piece of the keyword's test finds it too.
  EXPECT_NE(esegui({"explain", "lunghezza"}).out.find("lunghezza percorso - intestazione"),
            std::string::npos);
  EXPECT_EQ(esegui({"explain", "boh"}).stato, 2);
}

TEST(Explain, AloneListsKeywordsCodesAndNames) {
  const risposta r = esegui({"explain"});
  EXPECT_EQ(r.stato, 0);
  for (const char* atteso :
       {"segnale", "cartello_indicatore", "1250", "cella-occupata", "chiave-sconosciuta"})
    EXPECT_NE(r.out.find(atteso), std::string::npos) << atteso;
}

}  // namespace
}  // namespace percorso
