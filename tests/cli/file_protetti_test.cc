// An author's files are never lost: an output that is one of the run's own inputs,
// under any spelling, link or hard link, stops the run before anything is written,
// at once under --watch too; the run without arguments never replaces an edited text
// beside the program.
#ifdef _WIN32
#include <gtest/gtest.h>

TEST(FileProtetti, OnlyOnLinux) {
  GTEST_SKIP() << "links made by the shell's rules, the program run through sh, waitpid";
}
#else
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "support/cartella_temporanea.h"
#include "support/comando.h"
#include "support/file_system_guasto.h"

namespace percorso {
namespace {

using prova::istantanea;

// Two texts of the embedded scenario under the names NOME_linea.txt and NOME_1-.txt
// in the directory, with a plot's cell file beside them.
class FileProtetti : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(esegui({"sources", dir.file("s")}).stato, 0);
    std::filesystem::rename(dir.file("s/Varmena_Ostrana_linea.txt"), linea);
    std::filesystem::rename(dir.file("s/Varmena_Ostrana_917-.txt"), treno);
    std::filesystem::remove_all(dir.file("s"));
    ASSERT_LE(esegui({"compile", linea, treno, "-o", dir.file("c")}).stato, 1);
    std::filesystem::create_symlink(treno, dir.file("collegamento"));
    std::filesystem::create_hard_link(linea, dir.file("fisso"));
    std::filesystem::copy_file(linea, dir.file("X_linea.dat"));
    std::filesystem::copy_file(treno, dir.file("X_5.sim"));
  }

  cartella_temporanea dir;
  const std::string linea = dir.file("Prova_linea.txt");
  const std::string treno = dir.file("Prova_1-.txt");
};

TEST_F(FileProtetti, AnOutputThatIsAnInputStopsTheRunBeforeAnythingIsWritten) {
  struct caso {
    const char* nome;
    std::vector<std::string> argomenti;
    std::string uscita, ingresso;  // the two files the message names
  };
  const std::string celle = dir.file("c/Prova_1.dat");
  const caso casi[] = {
      {"report over the line text", {"compile", linea, treno, "--report", linea}, linea, linea},
      {"report over another spelling of it",
       {"compile", linea, treno, "--report", dir.file("c/../Prova_linea.txt")},
       dir.file("c/../Prova_linea.txt"),
       linea},
      {"report over a hard link of it",
       {"compile", linea, treno, "--report", dir.file("fisso")},
       dir.file("fisso"),
       linea},
      {"binaries named as the texts",
       {"compile", dir.file("X_linea.dat"), dir.file("X_5.sim"), "--nome", "X", "--treno", "5"},
       dir.file("X_linea.dat"),
       dir.file("X_linea.dat")},
      {"page over a link to the train text",
       {"page", linea, treno, "-o", dir.file("collegamento")},
       dir.file("collegamento"),
       treno},
      {"page over the train text, watched",
       {"page", linea, treno, "-o", treno, "--watch"},
       treno,
       treno},
      {"report over the line text, watched",
       {"compile", linea, treno, "--report", linea, "--watch"},
       linea,
       linea},
      {"plot over its cell file", {"plot", celle, "-o", celle}, celle, celle},
      {"plot over the point file beside it",
       {"plot", celle, "-o", dir.file("c/Prova_1.sim")},
       dir.file("c/Prova_1.sim"),
       dir.file("c/Prova_1.sim")},
      {"plot over the plan it draws",
       {"plot", celle, "-o", dir.file("c/Prova_linea.dat")},
       dir.file("c/Prova_linea.dat"),
       dir.file("c/Prova_linea.dat")},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    const auto prima = istantanea(dir.percorso());
    const auto prima_c = istantanea(dir.percorso() / "c");
    const risposta r = esegui(c.argomenti);
    EXPECT_EQ(r.stato, 3) << r.err;
    if (!c.uscita.empty()) {
      EXPECT_NE(
          r.err.find("impossibile scrivere " + c.uscita + ": e' lo stesso file di " + c.ingresso),
          std::string::npos)
          << r.err;
    }
    EXPECT_EQ(r.err.find("sorveglio"), std::string::npos) << "no watch begins";
    EXPECT_EQ(istantanea(dir.percorso()), prima);
    EXPECT_EQ(istantanea(dir.percorso() / "c"), prima_c);
  }
}

// A report named as a binary of the same run would take the binary's place: the set
// refuses a file it already writes, and the earlier set stays.
TEST_F(FileProtetti, AReportNamedAsABinaryOfTheRunIsRefused) {
  const std::string punti = dir.file("c/Prova_1.sim");
  const auto prima_c = istantanea(dir.percorso() / "c");
  const risposta r = esegui({"compile", linea, treno, "-o", dir.file("c"), "--report", punti});
  EXPECT_EQ(r.stato, 3) << r.err;
  EXPECT_NE(r.err.find("impossibile scrivere " + punti + ": e' lo stesso file di " + punti +
                       ", che questa corsa scrive"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(istantanea(dir.percorso() / "c"), prima_c);
}

// /dev/stdout is the system's link to what the process has as its output: a report
// given there goes to the output, the redirected file, and the link stays (the
// earlier program, run as root, replaced /dev/stdout with a file).
TEST_F(FileProtetti, AReportToDevStdoutGoesToTheOutputAndLeavesTheLink) {
  const std::string rapporto = dir.file("r.json");
  const std::string comando = std::string(PERCORSO_ESEGUIBILE) + " compile " + linea + " " + treno +
                              " -o " + dir.file("c") + " --report /dev/stdout > " + rapporto +
                              " 2>/dev/null";
  const int s = std::system(comando.c_str());
  ASSERT_TRUE(WIFEXITED(s)) << comando;
  EXPECT_LE(WEXITSTATUS(s), 1);
  EXPECT_TRUE(std::filesystem::is_symlink("/dev/stdout"));
  const auto json = leggi_file(rapporto);
  const std::string testo(json.begin(), json.end());
  EXPECT_TRUE(testo.starts_with("{\"codice_errore\":")) << testo;
}

// Runs the program copied into the directory, which it writes beside itself.
int lancia_accanto(const cartella_temporanea& dir, std::string& errori) {
  const std::string programma = dir.file("percorso");
  std::filesystem::copy_file(PERCORSO_ESEGUIBILE, programma,
                             std::filesystem::copy_options::overwrite_existing);
  const std::string log = dir.file("errori.log");
  const int s = std::system((programma + " 2>" + log).c_str());
  const auto byte = leggi_file(log);
  std::filesystem::remove(log);
  errori.assign(byte.begin(), byte.end());
  return WIFEXITED(s) ? WEXITSTATUS(s) : -1;
}

TEST(RunWithoutArguments, AnEditedTextBesideTheProgramStopsItBeforeAnythingIsWritten) {
  for (const char* nome : {"Varmena_Ostrana_linea.txt", "Varmena_Ostrana_917-.txt"}) {
    SCOPED_TRACE(nome);
    cartella_temporanea dir;
    scrivi_file(dir.file(nome), "il mio lavoro\r\n");
    std::string errori;
    EXPECT_EQ(lancia_accanto(dir, errori), 3);
    EXPECT_NE(errori.find(dir.file(nome) + " esiste gia' con un altro contenuto"),
              std::string::npos)
        << errori;
    EXPECT_NE(errori.find("Per tenerlo spostalo"), std::string::npos) << errori;
    EXPECT_EQ(dir.elenco(), (std::vector<std::string>{nome, "percorso"}));
    EXPECT_EQ(leggi_file(dir.file(nome)),
              (std::vector<std::uint8_t>{'i', 'l', ' ', 'm', 'i', 'o', ' ', 'l', 'a', 'v', 'o', 'r',
                                         'o', '\r', '\n'}));
  }
}

// A text equal to the embedded one is the run's own: it is replaced and deleted as
// ever, and the run ends clean.
TEST(RunWithoutArguments, ATextEqualToTheEmbeddedOneIsTakenAsEver) {
  cartella_temporanea dir;
  ASSERT_EQ(esegui({"sources", dir.percorso().string()}).stato, 0);
  std::string errori;
  EXPECT_EQ(lancia_accanto(dir, errori), 0) << errori;
  const auto nomi = dir.elenco();
  EXPECT_EQ(std::count(nomi.begin(), nomi.end(), "Varmena_Ostrana_linea.txt"), 0);
  EXPECT_EQ(std::count(nomi.begin(), nomi.end(), "Varmena_Ostrana_917-.txt"), 0);
  EXPECT_EQ(std::count(nomi.begin(), nomi.end(), "Varmena_Ostrana_917.sim"), 1);
}

}  // namespace
}  // namespace percorso
#endif
