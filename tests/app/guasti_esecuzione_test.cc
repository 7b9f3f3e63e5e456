// A run that cannot write or read a file stops with status 3 and a message naming
// the file and the system's reason; it leaves no partial or temporary file, and
// unless its renames had begun every file keeps the bytes of the earlier run.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#else
// The C library of Windows has no quota code; a full disk stands in for it.
#define EDQUOT ENOSPC
#endif

#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/esecuzione.h"
#include "cli/comandi.h"
#include "format/nomi_file.h"
#include "support/cartella_temporanea.h"
#include "support/file_system_guasto.h"
#include "writers/scrittori.h"

namespace percorso {
namespace {

using prova::disco_guasto;
using prova::file_system_guasto;
using prova::istantanea;
using prova::operazione;
using file_e_byte = std::map<std::string, std::string>;

modello scenario_incorporato() {
  modello m;
  m.nome_percorso = nome_percorso_incorporato;
  m.numero_treno = numero_treno_incorporato;
  return m;
}

struct risposta {
  int stato;
  std::string err;
};

risposta esegui(file_system& fs, const std::vector<std::string>& argomenti) {
  const std::vector<std::string_view> viste(argomenti.begin(), argomenti.end());
  std::ostringstream out, err;
  const int stato = esegui_comando(viste, out, err, fs);
  return {stato, err.str()};
}

// Two different scenarios under the same names: the second run must not look like the first.
constexpr std::string_view linea_prima =
    "[generale]\r\nlunghezza percorso, 3000\r\n[curve]\r\ncurvad5, 100, 200\r\n[fine]\r\n";
constexpr std::string_view linea_seconda =
    "[generale]\r\nlunghezza percorso, 5000\r\n[curve]\r\ncurvas3, 400, 900\r\n"
    "pendenza, 1000, 4\r\n[fine]\r\n";
constexpr std::string_view treno_primo = "[generale]\r\nvelocita, 0, 100\r\n[fine]\r\n";
constexpr std::string_view treno_secondo =
    "[generale]\r\nvelocita, 0, 80\r\nvelocita, 2000, 120\r\n[fine]\r\n";

// The binaries in the order the run writes them.
const std::vector<std::string> binari = {"Prova_linea.dat", "Prova_42.sim", "Prova_42.dat"};

class GuastiCompile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(dir.percorso() / "out");
    std::filesystem::create_directory(dir.percorso() / "attesi");
    // The files the second scenario gives when nothing fails.
    scrivi_testi(linea_seconda, treno_secondo);
    ASSERT_EQ(compila(*reale, cartella("attesi")).stato, 0);
    attesi = istantanea(dir.percorso() / "attesi");
    // The earlier run: first scenario, with its report.
    scrivi_testi(linea_prima, treno_primo);
    ASSERT_EQ(compila(*reale, cartella("out")).stato, 0);
    prima = istantanea(dir.percorso() / "out");
    ASSERT_EQ(prima.size(), 4u);
    scrivi_testi(linea_seconda, treno_secondo);
    testi = istantanea(dir.percorso() / "testi");
  }

  std::string cartella(const std::string& nome) const { return dir.file(nome); }

  void scrivi_testi(std::string_view linea, std::string_view treno) {
    std::filesystem::create_directories(dir.percorso() / "testi");
    scrivi_file(dir.file("testi/Prova_linea.txt"), linea);
    scrivi_file(dir.file("testi/Prova_42-.txt"), treno);
  }

  risposta compila(file_system& fs, const std::string& uscita) {
    return esegui(
        fs, {"compile", dir.file("testi/Prova_linea.txt"), dir.file("testi/Prova_42-.txt"), "-o",
             uscita, "--report", unisci(uscita, "rapporto.json")});
  }

  // The earlier run's files, byte for byte, and nothing else (no temporary).
  void verifica_intatta() { EXPECT_EQ(istantanea(dir.percorso() / "out"), prima); }

  void rimetti_la_corsa_precedente() {
    std::filesystem::remove_all(dir.percorso() / "out");
    std::filesystem::create_directory(dir.percorso() / "out");
    for (const auto& [nome, byte] : prima) scrivi_file(dir.file("out/" + nome), byte);
  }

  cartella_temporanea dir;
  std::unique_ptr<file_system> reale = file_system_reale();
  file_e_byte attesi, prima, testi;
};

// The binaries and the report are one set: a failure before the renames replaces none.
TEST_F(GuastiCompile, AFailedWriteStopsWithStatusThreeAndKeepsTheWholeEarlierSet) {
  struct caso {
    const char* nome;
    int scrittura;  // which file of the set fails to begin
    std::string file;
  };
  const caso casi[] = {{"plan file", 1, binari[0]},
                       {"point file", 2, binari[1]},
                       {"cell file", 3, binari[2]},
                       {"report", 4, "rapporto.json"}};
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    rimetti_la_corsa_precedente();

    file_system_guasto fs(*reale);
    fs.guasta(operazione::scrittura, c.scrittura, ENOSPC);
    const risposta r = compila(fs, cartella("out"));

    EXPECT_EQ(r.stato, 3) << r.err;
    EXPECT_NE(r.err.find(unisci(dir.file("out"), c.file) + ": " + motivo_di(ENOSPC)),
              std::string::npos)
        << r.err;
    verifica_intatta();
    EXPECT_EQ(istantanea(dir.percorso() / "testi"), testi);
  }
}

TEST_F(GuastiCompile, TheRealDiskFailingBeforeTheRenamesLeavesTheEarlierSet) {
  const std::size_t piano = attesi.at("Prova_linea.dat").size();
  const std::size_t punti = attesi.at("Prova_42.sim").size();
  // Halfway into the cell file, whatever the journal's few lines took before it.
  const std::size_t celle = attesi.at("Prova_42.dat").size() / 2;
  struct caso {
    const char* nome;
    std::function<void(disco_guasto&)> prepara;
    std::string file;
    int motivo;
  };
  const caso casi[] = {
      {"disk full inside the plan file", [](disco_guasto& d) { d.spazio = 4096; }, binari[0],
       ENOSPC},
      {"disk full inside the point file", [&](disco_guasto& d) { d.spazio = piano + 100; },
       binari[1], ENOSPC},
      {"write error in the cell file", [&](disco_guasto& d) { d.spazio = piano + punti + celle; },
       binari[2], ENOSPC},
      {"sync of the point file fails",
       [](disco_guasto& d) {
         d.sincronizzazione_fallita = 2;
         d.codice = EIO;
       },
       binari[1], EIO},
      {"sync of the report fails",
       [](disco_guasto& d) {
         d.sincronizzazione_fallita = 4;
         d.codice = EIO;
       },
       "rapporto.json", EIO},
      {"exchange of the plan file, the first, fails",
       [](disco_guasto& d) {
         d.scambio_fallito = 1;
         d.codice = EACCES;
       },
       binari[0], EACCES},
      {"rename of the plan file, the first, fails where names cannot be exchanged",
       [](disco_guasto& d) {
         d.scambio_assente = true;
         d.rinomina_fallita = 1;
         d.codice = EACCES;
       },
       binari[0], EACCES},
      {"lock of the output directory fails",
       [](disco_guasto& d) {
         d.blocco_fallito = 1;
         d.codice = ENOLCK;
       },
       binari[0], ENOLCK},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    rimetti_la_corsa_precedente();

    disco_guasto guasti;
    c.prepara(guasti);
    const auto fs = file_system_reale(guasti.chiamate());
    const risposta r = compila(*fs, cartella("out"));

    EXPECT_EQ(r.stato, 3) << r.err;
    EXPECT_NE(r.err.find(unisci(dir.file("out"), c.file) + ": " + motivo_di(c.motivo)),
              std::string::npos)
        << r.err;
    verifica_intatta();
  }
}

// The documents of --documents join the binaries' set: a document that cannot be
// begun leaves the binaries and the report of the earlier run, and no document.
TEST_F(GuastiCompile, TheDocumentsJoinTheSetOfTheBinaries) {
  for (const int scrittura : {4, 5}) {
    SCOPED_TRACE(scrittura);
    rimetti_la_corsa_precedente();
    file_system_guasto fs(*reale);
    fs.guasta(operazione::scrittura, scrittura, ENOSPC);
    const risposta r = esegui(
        fs, {"compile", dir.file("testi/Prova_linea.txt"), dir.file("testi/Prova_42-.txt"), "-o",
             cartella("out"), "--report", unisci(cartella("out"), "rapporto.json"), "--documents"});
    EXPECT_EQ(r.stato, 3) << r.err;
    EXPECT_NE(r.err.find(".txt: " + std::string(motivo_di(ENOSPC))), std::string::npos) << r.err;
    verifica_intatta();
  }
}

// Once the names have begun to change they cannot be taken back: a rename failing
// midway leaves the set mixed, with its journal, until the next run into the
// directory completes it; still nothing is partial.
TEST_F(GuastiCompile, ARenameFailingMidwayIsCompletedByTheNextRun) {
  disco_guasto guasti;
  guasti.scambio_assente = true;
  guasti.rinomina_fallita = 3;
  guasti.codice = EACCES;
  const auto fs = file_system_reale(guasti.chiamate());
  const risposta r = compila(*fs, cartella("out"));
  EXPECT_EQ(r.stato, 3) << r.err;
  EXPECT_NE(r.err.find(unisci(dir.file("out"), "Prova_42.dat") + ": " + motivo_di(EACCES)),
            std::string::npos)
      << r.err;
  auto durante = istantanea(dir.percorso() / "out");
  EXPECT_TRUE(durante.contains(".percorso-giornale"));
  std::erase_if(durante, [](const auto& f) { return f.first.starts_with(".percorso-"); });
  file_e_byte atteso = prima;
  atteso["Prova_linea.dat"] = attesi.at("Prova_linea.dat");
  atteso["Prova_42.sim"] = attesi.at("Prova_42.sim");
  EXPECT_EQ(durante, atteso);

  const risposta dopo = compila(*reale, cartella("out"));
  EXPECT_EQ(dopo.stato, 0) << dopo.err;
  EXPECT_EQ(istantanea(dir.percorso() / "out"), attesi);
}

TEST_F(GuastiCompile, ASourceTextThatCannotBeReadWritesNothing) {
  struct caso {
    const char* nome;
    int lettura;
    std::string file;
  };
  const caso casi[] = {{"line description", 1, "testi/Prova_linea.txt"},
                       {"train description", 2, "testi/Prova_42-.txt"}};
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    file_system_guasto fs(*reale);
    fs.guasta(operazione::lettura, c.lettura, EIO);
    const risposta r = compila(fs, cartella("out"));
    EXPECT_EQ(r.stato, 3);
    EXPECT_NE(r.err.find(dir.file(c.file) + ": " + motivo_di(EIO)), std::string::npos) << r.err;
    EXPECT_EQ(istantanea(dir.percorso() / "out"), prima);
    EXPECT_EQ(istantanea(dir.percorso() / "testi"), testi);
  }
}

TEST_F(GuastiCompile, ASourceTextThatIsADirectoryCannotBeRead) {
  std::filesystem::remove(dir.percorso() / "testi/Prova_42-.txt");
  std::filesystem::create_directory(dir.percorso() / "testi/Prova_42-.txt");
  const risposta r = compila(*reale, cartella("out"));
  EXPECT_EQ(r.stato, 3);
  EXPECT_NE(r.err.find(dir.file("testi/Prova_42-.txt") + ": " + motivo_di(EISDIR)),
            std::string::npos)
      << r.err;
  EXPECT_EQ(istantanea(dir.percorso() / "out"), prima);
}

// Found out before anything is compiled: the report would go there too.
TEST_F(GuastiCompile, AnOutputDirectoryUnderAFileIsReported) {
  const risposta r = compila(*reale, dir.file("testi/Prova_linea.txt/out"));
  EXPECT_EQ(r.stato, 3);
  EXPECT_NE(r.err.find(unisci(dir.file("testi/Prova_linea.txt/out"), "rapporto.json") + ": " +
                       motivo_di(ENOTDIR) + "; niente e' stato compilato"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(istantanea(dir.percorso() / "testi"), testi);
}

TEST_F(GuastiCompile, ATargetNameThatIsADirectoryStopsTheWholeSet) {
  std::filesystem::remove(dir.percorso() / "out/Prova_42.sim");
  std::filesystem::create_directory(dir.percorso() / "out/Prova_42.sim");
  const file_e_byte atteso = istantanea(dir.percorso() / "out");
  const risposta r = compila(*reale, cartella("out"));
  EXPECT_EQ(r.stato, 3);
  EXPECT_NE(r.err.find(unisci(dir.file("out"), "Prova_42.sim") + ": " + motivo_di(EISDIR)),
            std::string::npos)
      << r.err;
  EXPECT_EQ(istantanea(dir.percorso() / "out"), atteso);
}

#ifdef _WIN32
// The lock file cannot be made in the folder, as in one the user may not write into
// (here a folder holds its name): the run says the system's reason for it, not that
// no lock could be had, and keeps the earlier files.
TEST_F(GuastiCompile, AnOutputDirectoryThatCannotBeWrittenKeepsTheEarlierRun) {
  const std::string out = cartella("out");
  const auto blocco = percorso_fs(unisci(out, ".percorso-lock"));
  std::filesystem::remove(blocco);
  std::filesystem::create_directory(blocco);
  const risposta r = compila(*reale, out);
  EXPECT_EQ(r.stato, 3);
  EXPECT_NE(r.err.find("impossibile scrivere " + unisci(out, "Prova_linea.dat") + ": " +
                       motivo_di(EACCES)),
            std::string::npos)
      << r.err;
  EXPECT_EQ(r.err.find(motivo_di(ENOLCK)), std::string::npos) << r.err;
  EXPECT_EQ(istantanea(dir.percorso() / "out"), prima);
}
#else
// Sets the immutable flag, which stops root too; false where the file system lacks it.
bool rendi_immutabile(const std::string& cartella, bool si) {
  const int fd = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  int flag = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flag) == 0;
  if (ok) {
    flag = si ? (flag | FS_IMMUTABLE_FL) : (flag & ~FS_IMMUTABLE_FL);
    ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flag) == 0;
  }
  ::close(fd);
  return ok;
}

TEST_F(GuastiCompile, AnOutputDirectoryThatCannotBeWrittenKeepsTheEarlierRun) {
  const std::string out = cartella("out");
  const bool bloccata =
      ::geteuid() == 0 ? rendi_immutabile(out, true) : ::chmod(out.c_str(), 0555) == 0;
  if (!bloccata) GTEST_SKIP() << "the directory cannot be made unwritable here";
  const risposta r = compila(*reale, out);
  const auto dopo = istantanea(dir.percorso() / "out");
  if (::geteuid() == 0)
    rendi_immutabile(out, false);
  else
    ::chmod(out.c_str(), 0755);

  EXPECT_EQ(r.stato, 3);
  EXPECT_NE(r.err.find(unisci(dir.file("out"), "rapporto.json") + ": "), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("niente e' stato compilato"), std::string::npos) << r.err;
  EXPECT_EQ(dopo, prima);
}
#endif

TEST(GuastiSources, AFailedTextKeepsAllFiveEarlierTexts) {
  const auto testi = testi_del_percorso(scenario_incorporato());
  for (std::size_t k = 0; k < testi.size(); ++k) {
    SCOPED_TRACE(testi[k].nome);
    cartella_temporanea dir;
    for (const auto& t : testi) scrivi_file(dir.file(t.nome), "versione precedente");
    const auto prima = istantanea(dir.percorso());

    const auto reale = file_system_reale();
    file_system_guasto fs(*reale);
    fs.guasta(operazione::scrittura, static_cast<int>(k) + 1, EDQUOT);
    const risposta r = esegui(fs, {"sources", "--force", dir.percorso().string()});

    EXPECT_EQ(r.stato, 3);
    EXPECT_NE(r.err.find(dir.file(testi[k].nome) + ": " + motivo_di(EDQUOT)), std::string::npos)
        << r.err;
    EXPECT_EQ(istantanea(dir.percorso()), prima);
  }
}

// The texts' folder is made through the file seam, like every file in it.
TEST(GuastiSources, AFolderThatCannotBeMadeIsNamedAndNothingIsWritten) {
  for (const std::vector<std::string>& comando :
       {std::vector<std::string>{"sources"}, std::vector<std::string>{"new", "Prova", "1"}}) {
    SCOPED_TRACE(comando.front());
    cartella_temporanea dir;
    const std::string nuova = dir.file("nuova");
    const auto reale = file_system_reale();
    file_system_guasto fs(*reale);
    fs.guasta(operazione::creazione, 1, EACCES);
    std::vector<std::string> argomenti = comando;
    argomenti.push_back(nuova);
    const risposta r = esegui(fs, argomenti);

    EXPECT_EQ(r.stato, 3);
    EXPECT_NE(r.err.find("impossibile creare " + nuova + ": " + motivo_di(EACCES)),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(nuova));
  }
}

// The documents and the binaries of the run without arguments are one set.
TEST(GuastiEsecuzione, TheEmbeddedRunKeepsTheEarlierFilesWhenOneCannotBeWritten) {
  const modello nomi = scenario_incorporato();
  const auto testi = testi_del_percorso(nomi);
  // The two source texts, then the binaries, then the three documents.
  const std::vector<std::string> insieme = {nome_file_piano(nomi), nome_file_punti(nomi),
                                            nome_file_celle(nomi), testi[2].nome,
                                            testi[3].nome,         testi[4].nome};
  for (std::size_t k = 0; k < insieme.size(); ++k) {
    SCOPED_TRACE(insieme[k]);
    cartella_temporanea dir;
    for (const auto& nome : insieme) scrivi_file(dir.file(nome), "corsa precedente");
    const auto prima = istantanea(dir.percorso());

    const auto reale = file_system_reale();
    file_system_guasto fs(*reale);
    fs.guasta(operazione::scrittura, 3 + static_cast<int>(k), EIO);
    const esito_esecuzione e = esegui_percorso(fs, dir.percorso().string());

    EXPECT_EQ(e.stato_uscita(), 3);
    EXPECT_NE(e.causa.find(dir.file(insieme[k]) + ": " + motivo_di(EIO)), std::string::npos)
        << e.causa;
    EXPECT_EQ(istantanea(dir.percorso()), prima);
  }
}

TEST(GuastiEsecuzione, TheEmbeddedRunStopsWhenItsSourceCannotBeReadBack) {
  cartella_temporanea dir;
  const modello nomi = scenario_incorporato();
  scrivi_file(dir.file(nome_file_celle(nomi)), "corsa precedente");
  const auto reale = file_system_reale();
  file_system_guasto fs(*reale);
  fs.guasta(operazione::lettura, 2, EIO);
  const esito_esecuzione e = esegui_percorso(fs, dir.percorso().string());
  EXPECT_EQ(e.stato_uscita(), 3);
  EXPECT_NE(e.causa.find(dir.file(nome_testo_treno(nomi)) + ": " + motivo_di(EIO)),
            std::string::npos)
      << e.causa;
  EXPECT_EQ(istantanea(dir.percorso()).at(nome_file_celle(nomi)), "corsa precedente");
  EXPECT_FALSE(std::filesystem::exists(dir.file(nome_file_punti(nomi))));
}

}  // namespace
}  // namespace percorso

namespace percorso {
namespace {

// A full disk leaves nothing behind: no source text beside the program, no folder
// that sources or new made for texts they could not write. The space runs out at
// the first text, or after it.
TEST(DiscoPieno, LeavesNoTextAndNoFolderBehind) {
  struct caso {
    std::vector<std::string> argomenti;  // none: the run without arguments
    std::size_t spazio;
  };
  const caso casi[] = {
      {{}, 0},
      {{}, 5000},
      {{"sources", "a/b"}, 0},
      {{"sources", "a/b"}, 5000},
      {{"new", "Prova", "1", "a/b"}, 0},
      {{"new", "Prova", "1", "a/b"}, 1000},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE((c.argomenti.empty() ? "" : c.argomenti[0]) + " " + std::to_string(c.spazio));
    cartella_temporanea dir;
    disco_guasto guasti;
    guasti.spazio = c.spazio;
    const auto fs = file_system_reale(guasti.chiamate());
    if (c.argomenti.empty()) {
      const esito_esecuzione e = esegui_percorso(*fs, dir.percorso().string());
      EXPECT_EQ(e.stato_uscita(), 3);
      EXPECT_NE(e.causa.find(motivo_di(ENOSPC)), std::string::npos) << e.causa;
    } else {
      auto a = c.argomenti;
      a.back() = dir.file(a.back());
      const risposta r = esegui(*fs, a);
      EXPECT_EQ(r.stato, 3) << r.err;
    }
    EXPECT_TRUE(dir.elenco().empty());
  }
}

}  // namespace
}  // namespace percorso
