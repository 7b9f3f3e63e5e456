#include "cli/comandi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "support/cartella_temporanea.h"
#include "support/comando.h"
#include "support/conta.h"
#include "support/file_system_guasto.h"
#include "support/sistemi.h"

namespace percorso {
namespace {

constexpr std::string_view linea_minima =
    "[generale]\r\nlunghezza percorso, 3000\r\n[curve]\r\npendenza, 0, 0\r\n[fine]\r\n";
constexpr std::string_view treno_minimo = "[generale]\r\nvelocita, 0, 100\r\n[fine]\r\n";

struct caso_uso {
  std::vector<std::string> argomenti;
  std::string_view nel_messaggio;
};

TEST(Comandi, WrongUsageExitsWithTwoAndSaysWhy) {
  const caso_uso casi[] = {
      {{"boh"}, "comando sconosciuto"},
      {{"compile"}, "servono due testi"},
      {{"compile", "a_linea.txt"}, "servono due testi"},
      {{"compile", "a_linea.txt", "a_1-.txt", "--bogus"}, "opzione sconosciuta"},
      {{"compile", "a_linea.txt", "a_1-.txt", "-o"}, "manca il valore di -o"},
      {{"compile", "linea.txt", "a_1-.txt"},
       "usa --nome e --treno, o chiama i testi NOME_linea.txt e NOME_TRENO-.txt ('percorso "
       "explain nomi')"},
      {{"compile", "linea.txt", "a_1-.txt", "--treno", "1"},
       "non si ricava da linea.txt: usa --nome, o chiama il testo della linea NOME_linea.txt"},
      {{"compile", "a_linea.txt", "b_1-.txt"},
       "usa --treno, o chiama il testo del treno a_TRENO-.txt ('percorso explain nomi')"},
      {{"compile", "a_1-.txt", "a_linea.txt"},
       "l'ordine e' LINEA TRENO: a_linea.txt e' il testo della linea, a_1-.txt quello del treno"},
      {{"page", "a_1-.txt", "a_linea.txt"}, "l'ordine e' LINEA TRENO"},
      {{"sources", "a", "b"}, "troppi argomenti"},
  };
  for (const auto& c : casi) {
    const risposta r = esegui(c.argomenti);
    EXPECT_EQ(r.stato, 2) << c.argomenti[0];
    EXPECT_NE(r.err.find(c.nel_messaggio), std::string::npos) << r.err;
  }
}

// Every usage error ends with a hint to a help that works: never one that gives
// the same error back.
TEST(Comandi, OddCallsGiveTheUsageAndAHintThatWorks) {
  const caso_uso casi[] = {
      {{"explain", "1", "2"}, "troppi argomenti"},
      {{"explain", "stazzione"}, "forse 'stazione'"},
      {{"explain", "--json"}, "opzione sconosciuta"},
      {{"help", "foo"}, "comando sconosciuto: foo"},
      {{"help", "compile", "plot"}, "troppi argomenti"},
      {{"sources", "--bogus"}, "opzione sconosciuta"},
      {{"compile", "a_linea.txt", "a_1-.txt", "c"}, "troppi argomenti"},
      {{"compile", "a_linea.txt", "a_1-.txt", "--no-plan=1"}, "non vuole un valore"},
      {{"compile", "a_linea.txt", "a_1-.txt", "--report="}, "manca il valore di --report"},
      {{"plot", "a.dat", "-o"}, "manca il valore di -o"},
  };
  for (const auto& c : casi) {
    const risposta r = esegui(c.argomenti);
    EXPECT_EQ(r.stato, 2) << c.nel_messaggio;
    EXPECT_NE(r.err.find(c.nel_messaggio), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("\nuso: percorso " + c.argomenti[0]), std::string::npos) << r.err;
    const auto prova = r.err.find("Prova 'percorso ");
    if (prova == std::string::npos) continue;
    std::vector<std::string> consiglio = {"help"};
    const auto inizio = prova + std::string("Prova 'percorso help ").size();
    consiglio.push_back(r.err.substr(inizio, r.err.find('\'', inizio) - inizio));
    EXPECT_EQ(esegui(consiglio).stato, 0) << r.err;
  }
  const risposta aiuto = esegui({"help", "--help"});
  EXPECT_EQ(aiuto.stato, 0);
  EXPECT_NE(aiuto.out.find("uso: percorso help [COMANDO]"), std::string::npos);
}

TEST(Comandi, AMistypedWordSuggestsTheNearestOne) {
  const caso_uso casi[] = {
      {{"compiel"}, "comando sconosciuto: compiel (forse 'compile'?)"},
      {{"--verison"}, "opzione sconosciuta: --verison (forse '--version'?)"},
      {{"help", "inspetc"}, "(forse 'inspect'?)"},
      {{"inspect", "--jsn", "a.dat"}, "(forse '--json'?)"},
      {{"compile", "a_linea.txt", "a_1-.txt", "--reprot", "r.json"}, "(forse '--report'?)"},
      {{"compile", "a_linea.txt", "a_1-.txt", "--no-warn=profilo"}, "(forse 'profilo-indietro'?)"},
      {{"qualcosa"}, "comando sconosciuto: qualcosa\n"},
  };
  for (const auto& c : casi) {
    const risposta r = esegui(c.argomenti);
    EXPECT_EQ(r.stato, 2);
    EXPECT_NE(r.err.find(c.nel_messaggio), std::string::npos) << r.err;
  }
}

TEST(Comandi, VersionIsOneLine) {
  const risposta r = esegui({"--version"});
  EXPECT_EQ(r.stato, 0);
  EXPECT_TRUE(r.out.starts_with("percorso ")) << r.out;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
}

TEST(Comandi, EveryCommandHasHelp) {
  for (const auto& a : std::vector<std::vector<std::string>>{{"--help"},
                                                             {"help"},
                                                             {"help", "compile"},
                                                             {"sources", "--help"},
                                                             {"compile", "--help"}}) {
    const risposta r = esegui(a);
    EXPECT_EQ(r.stato, 0);
    EXPECT_NE(r.out.find("uso: percorso"), std::string::npos);
  }
}

class CompileTest : public ::testing::Test {
 protected:
  risposta compila(std::string_view linea, std::string_view treno,
                   std::vector<std::string> extra = {}) {
    scrivi_file(dir.file("Prova_linea.txt"), linea);
    scrivi_file(dir.file("Prova_42-.txt"), treno);
    std::vector<std::string> a = {"compile", dir.file("Prova_linea.txt"),
                                  dir.file("Prova_42-.txt")};
    a.insert(a.end(), extra.begin(), extra.end());
    return esegui(a);
  }
  std::string rapporto() {
    const auto b = leggi_file(dir.file("r.json"));
    return {b.begin(), b.end()};
  }
  cartella_temporanea dir;
};

TEST_F(CompileTest, CleanTextsWriteTheThreeFilesNamedFromTheTexts) {
  const risposta r = compila(linea_minima, treno_minimo, {"--report", dir.file("r.json")});
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(dir.elenco(),
            (std::vector<std::string>{"Prova_42-.txt", "Prova_42.dat", "Prova_42.sim",
                                      "Prova_linea.dat", "Prova_linea.txt", "r.json"}));
  EXPECT_EQ(rapporto(),
            "{\"codice_errore\": 0, \"posizione_errore\": 0, \"esito\": \"ok\", "
            "\"errore_programma\": null, \"verifica\": {\"errori\": 0, \"avvisi\": 0}, "
            "\"messaggi\": []}\n");
}

// A text typed in another case than the system keeps its name (valle_linea.txt for
// Valle_linea.txt, on Windows) keeps the name as typed, which goes into the compiled
// files' names, with a warning naming the difference: where the name gives NOME or
// TRENO, unless --no-warn hides it.
TEST(Maiuscole, ANameTypedInAnotherCaseStaysAsTypedWithAWarning) {
  struct caso {
    const char* nome;
    std::vector<std::string> extra;
    int stato;
    std::vector<std::string> avvisati;  // the texts warned of
    std::string celle;                  // the cell file written
  };
  const caso casi[] = {
      {"nomi dai file", {}, 0, {"prova_linea.txt", "prova_42-.txt"}, "prova_42.dat"},
      {"--treno dato", {"--treno", "7"}, 0, {"prova_linea.txt"}, "prova_7.dat"},
      {"--werror", {"--werror"}, 1, {"prova_linea.txt", "prova_42-.txt"}, "prova_42.dat"},
      {"--no-warn", {"--no-warn=maiuscole"}, 0, {}, "prova_42.dat"},
  };
  const auto reale = file_system_reale();
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    cartella_temporanea dir;
    prova::file_system_guasto fs(*reale);
    const std::string linea = dir.file("prova_linea.txt"), treno = dir.file("prova_42-.txt");
#ifdef _WIN32
    // The disk itself keeps the names as they were made, and opens them in any case.
    scrivi_file(dir.file("Prova_linea.txt"), linea_minima);
    scrivi_file(dir.file("Prova_42-.txt"), treno_minimo);
#else
    scrivi_file(linea, linea_minima);
    scrivi_file(treno, treno_minimo);
    fs.registra_nome(linea, "Prova_linea.txt");
    fs.registra_nome(treno, "Prova_42-.txt");
#endif
    std::vector<std::string> a = {"compile", linea, treno};
    a.insert(a.end(), c.extra.begin(), c.extra.end());
    const std::vector<std::string_view> viste(a.begin(), a.end());
    std::ostringstream out, err;
    EXPECT_EQ(esegui_comando(viste, out, err, fs), c.stato) << err.str();
    EXPECT_EQ(prova::conta(err.str(), "avviso [maiuscole]"), c.avvisati.size()) << err.str();
    for (const std::string& scritto : c.avvisati) {
      const std::string sul_disco = "P" + scritto.substr(1);
      EXPECT_NE(err.str().find(dir.file(scritto) +
                               ": avviso [maiuscole]: sul disco il file si "
                               "chiama " +
                               sul_disco + ": il nome resta come e' scritto, " + scritto +
                               ", e cosi' va nei nomi dei file compilati"),
                std::string::npos)
          << err.str();
    }
    const auto nomi = dir.elenco();
    EXPECT_NE(std::find(nomi.begin(), nomi.end(), c.celle), nomi.end()) << c.celle;
  }
}

TEST_F(CompileTest, NoPlanAndExplicitNamesAndDirectory) {
  std::filesystem::create_directory(dir.percorso() / "out");
  const risposta r =
      compila(linea_minima, treno_minimo,
              {"--no-plan", "--nome", "Altro", "--treno", "7", "-o", dir.file("out")});
  EXPECT_EQ(r.stato, 0) << r.err;
  std::vector<std::string> scritti;
  for (const auto& e : std::filesystem::directory_iterator(dir.percorso() / "out"))
    if (!file_di_blocco(e.path())) scritti.push_back(e.path().filename().string());
  std::sort(scritti.begin(), scritti.end());
  EXPECT_EQ(scritti, (std::vector<std::string>{"Altro_7.dat", "Altro_7.sim"}));
}

TEST_F(CompileTest, OptionValuesTakeBothForms) {
  const std::vector<std::string> forme[] = {
      {"--nome", "Altro", "--treno", "7", "-o", dir.file("a"), "--report", dir.file("a.json")},
      {"--nome=Altro", "--treno=7", "-o=" + dir.file("b"), "--report=" + dir.file("b.json")},
  };
  for (const auto& forma : forme) {
    const risposta r = compila(linea_minima, treno_minimo, forma);
    EXPECT_EQ(r.stato, 0) << r.err;
  }
  EXPECT_EQ(leggi_file(dir.file("a/Altro_7.dat")), leggi_file(dir.file("b/Altro_7.dat")));
  EXPECT_EQ(leggi_file(dir.file("a.json")), leggi_file(dir.file("b.json")));
}

TEST_F(CompileTest, AMissingOutputDirectoryIsCreated) {
  const risposta r = compila(linea_minima, treno_minimo, {"-o", dir.file("nuova/sotto")});
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(dir.file("nuova/sotto/Prova_42.dat")));
}

TEST_F(CompileTest, AReportThatCannotBeWrittenStopsBeforeAnything) {
  scrivi_file(dir.file("un_file"), "x");
  std::filesystem::create_directory(dir.percorso() / "una_cartella");
  for (const std::string& rapporto : {dir.file("un_file/r.json"), dir.file("una_cartella")}) {
    const risposta r =
        compila(linea_minima, treno_minimo, {"-o", dir.file("uscita"), "--report", rapporto});
    EXPECT_EQ(r.stato, 3);
    EXPECT_NE(r.err.find("impossibile scrivere " + rapporto), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("niente e' stato compilato"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("uscita")));
  }
}

TEST_F(CompileTest, FindingsArePrintedAndTheBinariesStillWritten) {
  const risposta r = compila(
      "[generale]\r\nlunghezza percorso, 3000\r\n[curve]\r\npendenza, 9950, 1\r\n[fine]\r\n",
      treno_minimo, {"--report", dir.file("r.json")});
  EXPECT_EQ(r.stato, 1);
  EXPECT_NE(r.err.find("Prova_linea.txt:4:11: errore 15: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("(posizione 9950 m)"), std::string::npos) << r.err;
  EXPECT_TRUE(std::filesystem::exists(dir.file("Prova_42.dat")));
  const std::string j = rapporto();
  EXPECT_NE(j.find("\"codice_errore\": 15, \"posizione_errore\": 9950, \"esito\": \"errore\""),
            std::string::npos)
      << j;
}

TEST_F(CompileTest, NoCellsStopsBeforeTheBinariesWithStatusThree) {
  struct caso {
    std::string_view linea;
    int codice;
  };
  const caso casi[] = {
      {"lunghezza percorso, 3000\r\n[fine]\r\n", 102},
      {"[generale]\r\nlunghezza percorso, 1000001\r\n[curve]\r\n[fine]\r\n", 1},
      {"[generale]\r\nsfondo uno, 1\r\n[curve]\r\npendenza, 0, 0\r\n[fine]\r\n", 25},
      {"[generale]\r\nlunghezza percorso, -6990\r\n[curve]\r\n[fine]\r\n", 15},
  };
  for (const auto& c : casi) {
    const risposta r = compila(c.linea, treno_minimo, {"--report", dir.file("r.json")});
    EXPECT_EQ(r.stato, 3) << c.linea;
    EXPECT_NE(r.err.find("le celle della linea non esistono"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("Prova_42.dat")));
    const std::string j = rapporto();
    EXPECT_NE(j.find("\"codice_errore\": " + std::to_string(c.codice)), std::string::npos) << j;
    EXPECT_NE(j.find("\"esito\": \"interrotto\", \"errore_programma\": null"), std::string::npos);
  }
}

// A text that is missing or is not a file stops compile before anything is written,
// and a FIFO is refused at once instead of waiting for a writer.
TEST_F(CompileTest, ATextThatCannotBeReadStopsWithStatusThreeAndWritesNothing) {
  ASSERT_EQ(compila(linea_minima, treno_minimo, {"--report", dir.file("r.json")}).stato, 0);
  struct caso {
    const char* nome;
    std::string file;  // the text taken away or made a FIFO
    bool fifo;
    std::string motivo;
  };
  const caso casi[] = {
      {"line text missing", "Prova_linea.txt", false, motivo_di(ENOENT)},
      {"train text missing", "Prova_42-.txt", false, motivo_di(ENOENT)},
      {"line text a FIFO", "Prova_linea.txt", true, "non e' un file regolare ma una FIFO"},
      {"train text a FIFO", "Prova_42-.txt", true, "non e' un file regolare ma una FIFO"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    // Writing into the FIFO of the case before would wait for a reader.
    std::filesystem::remove(dir.file("Prova_linea.txt"));
    std::filesystem::remove(dir.file("Prova_42-.txt"));
    scrivi_file(dir.file("Prova_linea.txt"), linea_minima);
    scrivi_file(dir.file("Prova_42-.txt"), treno_minimo);
    std::filesystem::remove(dir.file(c.file));
    if (c.fifo) {
      if (!prova::fifo_possibili) continue;
      ASSERT_TRUE(prova::crea_fifo(dir.file(c.file)));
    }
    const auto prima = prova::istantanea(dir.percorso());
    const risposta r = esegui({"compile", dir.file("Prova_linea.txt"), dir.file("Prova_42-.txt"),
                               "--report", dir.file("r.json")});
    EXPECT_EQ(r.stato, 3);
    EXPECT_NE(r.err.find("impossibile leggere " + dir.file(c.file) + ": " + c.motivo),
              std::string::npos)
        << r.err;
    EXPECT_EQ(prova::istantanea(dir.percorso()), prima);
  }
}

TEST_F(CompileTest, UsedHeaderSlotIsProgramError1250AndEarlierBinariesStay) {
  ASSERT_EQ(compila(linea_minima, treno_minimo).stato, 0);
  const auto prima = leggi_file(dir.file("Prova_42.dat"));
  // A signal at position 0 lands in cell 1, whose first value carries the header.
  const risposta r =
      compila(linea_minima, "[generale]\r\nsegnale, 0, 1,1,1,1,1,1,1,1,1,1\r\n[fine]\r\n",
              {"--report", dir.file("r.json")});
  EXPECT_EQ(r.stato, 3);
  // Told at the row that put the signal there, naming it and the cell.
  EXPECT_NE(r.err.find("Prova_42-.txt:2:1: errore 1250: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("la cella 1, presa dal segnale"), std::string::npos) << r.err;
  EXPECT_EQ(leggi_file(dir.file("Prova_42.dat")), prima);
  EXPECT_NE(rapporto().find("\"esito\": \"interrotto\", \"errore_programma\": 1250"),
            std::string::npos);
}

}  // namespace
}  // namespace percorso
