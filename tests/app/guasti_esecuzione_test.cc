// A run that cannot write or read a file stops with status 3 and a message naming
// the file and the system's reason; it leaves no partial or temporary file, and
// every file it did not finish keeps the bytes of the earlier run.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

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
             uscita, "--report", uscita + "/rapporto.json"});
  }

  // After a stop at the k-th file (0-based, report last): the binaries before it
  // are the new ones, complete; it and the ones after it keep their earlier bytes.
  void verifica_fermo(std::size_t k) {
    file_e_byte atteso = prima;
    for (std::size_t i = 0; i < k && i < binari.size(); ++i)
      atteso[binari[i]] = attesi.at(binari[i]);
    auto dopo = istantanea(dir.percorso() / "out");
    // The report may fail too (a full disk), and then keeps the earlier one.
    if (k < binari.size() && dopo["rapporto.json"] != prima.at("rapporto.json")) {
      EXPECT_NE(dopo["rapporto.json"].find("\"esito\": \"interrotto\""), std::string::npos);
      dopo["rapporto.json"] = prima.at("rapporto.json");
    }
    EXPECT_EQ(dopo, atteso);
  }

  void rimetti_la_corsa_precedente() {
    std::filesystem::remove_all(dir.percorso() / "out");
    std::filesystem::create_directory(dir.percorso() / "out");
    for (const auto& [nome, byte] : prima) scrivi_file(dir.file("out/" + nome), byte);
  }

  cartella_temporanea dir;
  std::unique_ptr<file_system> reale = file_system_reale();
  file_e_byte attesi, prima, testi;
};

TEST_F(GuastiCompile, AFailedWriteStopsWithStatusThreeAndKeepsTheEarlierFiles) {
  struct caso {
    const char* nome;
    int scrittura;           // which replacement fails
    std::size_t file_fermo;  // index of the file that stays old first
  };
  const caso casi[] = {
      {"plan file", 1, 0}, {"point file", 2, 1}, {"cell file", 3, 2}, {"report", 4, 3}};
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    rimetti_la_corsa_precedente();

    file_system_guasto fs(*reale);
    fs.guasta(operazione::scrittura, c.scrittura, ENOSPC);
    const risposta r = compila(fs, cartella("out"));

    EXPECT_EQ(r.stato, 3) << r.err;
    const std::string nome =
        c.file_fermo < binari.size() ? binari[c.file_fermo] : std::string("rapporto.json");
    EXPECT_NE(r.err.find(dir.file("out/" + nome) + ": " + std::strerror(ENOSPC)), std::string::npos)
        << r.err;
    verifica_fermo(c.file_fermo);
    EXPECT_EQ(istantanea(dir.percorso() / "testi"), testi);
  }
}

TEST_F(GuastiCompile, TheRealDiskFailingMidwayLeavesNoPartialFile) {
  const std::size_t piano = attesi.at("Prova_linea.dat").size();
  struct caso {
    const char* nome;
    std::function<void(disco_guasto&)> prepara;
    std::size_t file_fermo;
    int motivo;
  };
  const caso casi[] = {
      {"disk full inside the plan file", [](disco_guasto& d) { d.spazio = 4096; }, 0, ENOSPC},
      {"disk full inside the point file", [&](disco_guasto& d) { d.spazio = piano + 100; }, 1,
       ENOSPC},
      {"write error in the cell file",
       [](disco_guasto& d) {
         d.scrittura_fallita = 3;
         d.codice = EIO;
       },
       2, EIO},
      {"sync of the point file fails",
       [](disco_guasto& d) {
         d.sincronizzazione_fallita = 2;
         d.codice = EIO;
       },
       1, EIO},
      {"rename of the cell file fails",
       [](disco_guasto& d) {
         d.rinomina_fallita = 3;
         d.codice = EACCES;
       },
       2, EACCES},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    rimetti_la_corsa_precedente();

    disco_guasto guasti;
    c.prepara(guasti);
    const auto fs = file_system_reale(guasti.chiamate());
    const risposta r = compila(*fs, cartella("out"));

    EXPECT_EQ(r.stato, 3) << r.err;
    EXPECT_NE(r.err.find(dir.file("out/" + binari[c.file_fermo]) + ": " + std::strerror(c.motivo)),
              std::string::npos)
        << r.err;
    verifica_fermo(c.file_fermo);
  }
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
    EXPECT_NE(r.err.find(dir.file(c.file) + ": " + std::strerror(EIO)), std::string::npos) << r.err;
    EXPECT_EQ(istantanea(dir.percorso() / "out"), prima);
    EXPECT_EQ(istantanea(dir.percorso() / "testi"), testi);
  }
}

TEST_F(GuastiCompile, ASourceTextThatIsADirectoryCannotBeRead) {
  std::filesystem::remove(dir.percorso() / "testi/Prova_42-.txt");
  std::filesystem::create_directory(dir.percorso() / "testi/Prova_42-.txt");
  const risposta r = compila(*reale, cartella("out"));
  EXPECT_EQ(r.stato, 3);
  EXPECT_NE(r.err.find(dir.file("testi/Prova_42-.txt") + ": " + std::strerror(EISDIR)),
            std::string::npos)
      << r.err;
  EXPECT_EQ(istantanea(dir.percorso() / "out"), prima);
}

// Found out before anything is compiled: the report would go there too.
TEST_F(GuastiCompile, AnOutputDirectoryUnderAFileIsReported) {
  const risposta r = compila(*reale, dir.file("testi/Prova_linea.txt/out"));
  EXPECT_EQ(r.stato, 3);
  EXPECT_NE(r.err.find(dir.file("testi/Prova_linea.txt/out/rapporto.json") + ": " +
                       std::strerror(ENOTDIR) + "; niente e' stato compilato"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(istantanea(dir.percorso() / "testi"), testi);
}

TEST_F(GuastiCompile, ATargetNameThatIsADirectoryStopsAtThatFile) {
  std::filesystem::remove(dir.percorso() / "out/Prova_42.sim");
  std::filesystem::create_directory(dir.percorso() / "out/Prova_42.sim");
  file_e_byte atteso = istantanea(dir.percorso() / "out");
  const risposta r = compila(*reale, cartella("out"));
  EXPECT_EQ(r.stato, 3);
  EXPECT_NE(r.err.find(dir.file("out/Prova_42.sim") + ": " + std::strerror(EISDIR)),
            std::string::npos)
      << r.err;
  auto dopo = istantanea(dir.percorso() / "out");
  atteso["Prova_linea.dat"] = attesi.at("Prova_linea.dat");
  EXPECT_NE(dopo["rapporto.json"].find("\"esito\": \"interrotto\""), std::string::npos);
  dopo["rapporto.json"] = atteso["rapporto.json"];
  EXPECT_EQ(dopo, atteso);
}

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
  EXPECT_NE(r.err.find(dir.file("out/rapporto.json") + ": "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("niente e' stato compilato"), std::string::npos) << r.err;
  EXPECT_EQ(dopo, prima);
}

TEST(GuastiSources, AFailedTextKeepsItsEarlierBytesAndTheLaterOnes) {
  modello nomi;
  nomi.nome_percorso = nome_percorso_incorporato;
  nomi.numero_treno = numero_treno_incorporato;
  const auto testi = testi_del_percorso(nomi);
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
    EXPECT_NE(r.err.find(dir.file(testi[k].nome) + ": " + std::strerror(EDQUOT)), std::string::npos)
        << r.err;
    auto atteso = prima;
    for (std::size_t i = 0; i < k; ++i) {
      const auto byte = testo_crlf(testi[i].righe);
      atteso[testi[i].nome] = std::string(byte.begin(), byte.end());
    }
    EXPECT_EQ(istantanea(dir.percorso()), atteso);
  }
}

TEST(GuastiEsecuzione, TheEmbeddedRunKeepsTheEarlierBinariesWhenOneCannotBeWritten) {
  modello nomi;
  nomi.nome_percorso = nome_percorso_incorporato;
  nomi.numero_treno = numero_treno_incorporato;
  const std::vector<std::string> binari_incorporati = {nome_file_piano(nomi), nome_file_punti(nomi),
                                                       nome_file_celle(nomi)};
  // Five texts are written first, then the three binaries.
  for (std::size_t k = 0; k < binari_incorporati.size(); ++k) {
    SCOPED_TRACE(binari_incorporati[k]);
    cartella_temporanea dir;
    for (const auto& b : binari_incorporati) scrivi_file(dir.file(b), "corsa precedente");

    const auto reale = file_system_reale();
    file_system_guasto fs(*reale);
    fs.guasta(operazione::scrittura, 6 + static_cast<int>(k), EIO);
    const esito_esecuzione e = esegui_percorso(fs, dir.percorso().string());

    EXPECT_EQ(e.stato_uscita(), 3);
    EXPECT_NE(e.causa.find(dir.file(binari_incorporati[k]) + ": " + std::strerror(EIO)),
              std::string::npos)
        << e.causa;
    const auto dopo = istantanea(dir.percorso());
    for (std::size_t i = 0; i < binari_incorporati.size(); ++i) {
      const bool nuovo = i < k;
      EXPECT_EQ(dopo.at(binari_incorporati[i]) == "corsa precedente", !nuovo)
          << binari_incorporati[i];
    }
    for (const auto& [nome, byte] : dopo) EXPECT_NE(nome.front(), '.') << nome;
  }
}

TEST(GuastiEsecuzione, TheEmbeddedRunStopsWhenItsSourceCannotBeReadBack) {
  cartella_temporanea dir;
  modello nomi;
  nomi.nome_percorso = nome_percorso_incorporato;
  nomi.numero_treno = numero_treno_incorporato;
  scrivi_file(dir.file(nome_file_celle(nomi)), "corsa precedente");
  const auto reale = file_system_reale();
  file_system_guasto fs(*reale);
  fs.guasta(operazione::lettura, 2, EIO);
  const esito_esecuzione e = esegui_percorso(fs, dir.percorso().string());
  EXPECT_EQ(e.stato_uscita(), 3);
  EXPECT_NE(e.causa.find(dir.file(nome_testo_treno(nomi)) + ": " + std::strerror(EIO)),
            std::string::npos)
      << e.causa;
  EXPECT_EQ(istantanea(dir.percorso()).at(nome_file_celle(nomi)), "corsa precedente");
  EXPECT_FALSE(std::filesystem::exists(dir.file(nome_file_punti(nomi))));
}

}  // namespace
}  // namespace percorso
