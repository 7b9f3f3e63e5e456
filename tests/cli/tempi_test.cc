// percorso tempi: the table of a new scenario, its JSON, the options that set the
// assumptions, usage errors and exit statuses; it writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/cartella_temporanea.h"
#include "support/comando.h"

namespace percorso {
namespace {

class ComandoTempi : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(esegui({"new", "Valle", "2211", dir.percorso().string()}).stato, 0);
  }
  risposta tempi(std::vector<std::string> extra = {}) {
    std::vector<std::string> a = {"tempi", linea, treno};
    a.insert(a.end(), extra.begin(), extra.end());
    return esegui(a);
  }
  nlohmann::json json(std::vector<std::string> extra = {}) {
    extra.push_back("--json");
    const risposta r = tempi(extra);
    EXPECT_EQ(r.stato, 0) << r.err;
    return nlohmann::json::parse(r.out);
  }
  // Replaces a piece of the train text.
  void cambia(const std::string& da, const std::string& a) {
    const auto byte = leggi_file(treno);
    std::string testo(byte.begin(), byte.end());
    const auto i = testo.find(da);
    ASSERT_NE(i, std::string::npos) << da;
    scrivi_file(treno, testo.replace(i, da.size(), a));
  }

  cartella_temporanea dir;
  std::string linea = dir.file("Valle_linea.txt"), treno = dir.file("Valle_2211-.txt");
};

TEST_F(ComandoTempi, TheTableOfANewScenarioWritesNothing) {
  const auto prima = dir.elenco();
  const risposta r = tempi();
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("CAPOLINEA NORD  12+000  MEZZAVIA"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("2 tratti: 0 errori, 0 avvisi\n"), std::string::npos) << r.out;
  EXPECT_EQ(dir.elenco(), prima);
}

TEST_F(ComandoTempi, TheJsonCarriesTheStretchesTheTrainAndTheAssumptions) {
  const nlohmann::json j = json();
  ASSERT_EQ(j["tratti"].size(), 2u);
  const auto& t = j["tratti"][0];
  EXPECT_EQ(t["da"]["nome"], "CAPOLINEA NORD");
  EXPECT_EQ(t["da"]["km"], "12+000");
  EXPECT_EQ(t["a"]["nome"], "MEZZAVIA");
  EXPECT_EQ(t["distanza"], 2000);
  EXPECT_DOUBLE_EQ(t["minimo"].get<double>(), 600 * 3.6 / 60 + 1400 * 3.6 / 100);
  EXPECT_EQ(t["orario"], 210);  // 08:02:00 to 08:06:00 less a stop of 30 s
  EXPECT_DOUBLE_EQ(t["margine"].get<double>(), 210 - t["realistico"].get<double>());
  EXPECT_EQ(j["treno"]["vetture"], 6);
  EXPECT_DOUBLE_EQ(j["treno"]["lunghezza"].get<double>(), 6 * 26.4);
  EXPECT_EQ(j["treno"]["massa_frenata"], 110);
  EXPECT_EQ(j["errori"], 0);
  EXPECT_TRUE(j["problemi"].empty());
}

// Each option sets its figure, and the run follows it. The time to react counts where
// the train goes from gaining speed straight to braking: with a slow start it does.
TEST_F(ComandoTempi, TheOptionsSetTheAssumptions) {
  struct caso {
    std::string opzione, chiave;
    double valore;
    bool piu_lenta;
    std::vector<std::string> contesto;
  };
  const caso casi[] = {
      {"--accelerazione", "accelerazione", 0.8, false, {}},
      {"--frenatura", "frenatura_al_cento", 0.4, true, {}},
      {"--metri-vettura", "metri_per_vettura", 60, true, {}},
      {"--reazione", "reazione", 10, true, {"--accelerazione=0.1"}},
  };
  const auto corsa = [](const nlohmann::json& j) {
    return j["tratti"][0]["realistico"].get<double>() + j["tratti"][1]["realistico"].get<double>();
  };
  for (const caso& k : casi) {
    const nlohmann::json solita = json(k.contesto);
    std::vector<std::string> opzioni = k.contesto;
    opzioni.push_back(k.opzione + "=" + std::to_string(k.valore));
    const nlohmann::json j = json(opzioni);
    EXPECT_DOUBLE_EQ(j["ipotesi"][k.chiave].get<double>(), k.valore) << k.opzione;
    EXPECT_EQ(corsa(j) > corsa(solita), k.piu_lenta) << k.opzione;
    EXPECT_NE(corsa(j), corsa(solita)) << k.opzione;
    EXPECT_EQ(j["tratti"][0]["minimo"], solita["tratti"][0]["minimo"]) << k.opzione;
  }
}

// A timetable no train keeps is an error, told at the later station's row; exit 1.
TEST_F(ComandoTempi, ATimetableUnderTheMinimumIsAnErrorAtTheLaterStation) {
  cambia("30,   8, 6, 0, MEZZAVIA", "30,   8, 3, 0, MEZZAVIA");
  const risposta r = tempi();
  EXPECT_EQ(r.stato, 1);
  EXPECT_NE(r.out.find("Valle_2211-.txt:14:1: errore [sotto-minimo]: da CAPOLINEA NORD a "
                       "MEZZAVIA l'orario da' 0:30, ma ai soli limiti di velocita' e dei "
                       "rallentamenti ci vogliono almeno 1:27: nessun treno lo rispetta\n"),
            std::string::npos)
      << r.out;
  // The stretch after it takes the minutes it lost: more than twice the run.
  EXPECT_NE(r.out.find("2 tratti: 1 errore, 1 avviso\n"), std::string::npos) << r.out;
  EXPECT_EQ(nlohmann::json::parse(tempi({"--json"}).out)["errori"], 1);
}

TEST_F(ComandoTempi, UsageErrorsAndUnreadableTexts) {
  struct caso {
    std::vector<std::string> argomenti;
    int stato;
    std::string detto;
  };
  const caso casi[] = {
      {{"tempi"}, 2, "servono due testi: LINEA e TRENO"},
      {{"tempi", linea}, 2, "servono due testi: LINEA e TRENO"},
      {{"tempi", linea, treno, treno}, 2, "servono due testi: LINEA e TRENO"},
      {{"tempi", linea, treno, "--accelerazione", "0"},
       2,
       "--accelerazione vuole un numero da 0.05 a 5 (m/s2), non '0'"},
      {{"tempi", linea, treno, "--reazione=tre"}, 2, "--reazione vuole un numero da 0 a 60 (s)"},
      {{"tempi", linea, treno, "--metri-vettura"}, 2, "--metri-vettura"},
      {{"tempi", linea, treno, "--jsno"}, 2, "forse '--json'"},
      {{"tempi", linea, dir.file("manca-.txt")}, 3, "impossibile leggere"},
  };
  for (const caso& k : casi) {
    const risposta r = esegui(k.argomenti);
    EXPECT_EQ(r.stato, k.stato) << r.err;
    EXPECT_NE(r.err.find(k.detto), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    if (k.stato == 2) {
      EXPECT_NE(r.err.find("Prova 'percorso help tempi'."), std::string::npos);
    }
  }
}

TEST_F(ComandoTempi, TheHelpIsTheSameEitherWay) {
  const risposta aiuto = esegui({"help", "tempi"}), opzione = esegui({"tempi", "--help"});
  EXPECT_EQ(aiuto.stato, 0);
  EXPECT_EQ(aiuto.out, opzione.out);
  EXPECT_EQ(aiuto.out.rfind("uso: percorso tempi LINEA TRENO", 0), 0u);
  for (const char* o :
       {"--json", "--metri-vettura", "--accelerazione", "--frenatura", "--reazione"})
    EXPECT_NE(aiuto.out.find(o), std::string::npos) << o;
  EXPECT_NE(esegui({"--help"}).out.find("tempi LINEA TRENO"), std::string::npos);
}

}  // namespace
}  // namespace percorso
