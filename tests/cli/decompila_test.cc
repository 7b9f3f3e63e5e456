// decompile: the texts come back beside the compiled files or into -o DIR, never over an
// author's, and the proof names the first byte it cannot give back.
#include "cli/decompila.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/cartella_temporanea.h"
#include "support/comando.h"

namespace percorso {
namespace {

// The compiled files of new's scenario in dir/valle, and their cell file.
std::string compilati(const cartella_temporanea& dir) {
  const std::string valle = dir.file("valle");
  EXPECT_EQ(esegui({"new", "Valle", "2211", valle}).stato, 0);
  EXPECT_EQ(esegui({"compile", unisci(valle, "Valle_linea.txt"), unisci(valle, "Valle_2211-.txt"),
                    "-o", dir.file("file")})
                .stato,
            0);
  return unisci(dir.file("file"), "Valle_2211.dat");
}

TEST(Decompile, WritesBesideTheFilesAndProvesTheTexts) {
  cartella_temporanea dir;
  const std::string celle = compilati(dir);
  const risposta r = esegui({"decompile", celle});
  EXPECT_EQ(r.stato, 0) << r.err;
  const std::string linea = unisci(dir.file("file"), "Valle_linea.txt");
  EXPECT_NE(r.out.find("scritto " + linea), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("prova superata"), std::string::npos) << r.out;
  // The texts compile as any author's, to the same bytes.
  const risposta c =
      esegui({"compile", linea, dir.file("file/Valle_2211-.txt"), "-o", dir.file("di_nuovo")});
  EXPECT_EQ(c.stato, 0) << c.err;
  for (const char* f : {"Valle_2211.dat", "Valle_2211.sim", "Valle_linea.dat"})
    EXPECT_EQ(leggi_file(dir.file(std::string("di_nuovo/") + f)),
              leggi_file(dir.file(std::string("file/") + f)))
        << f;
}

TEST(Decompile, NeverWritesOverTextsWithoutForce) {
  cartella_temporanea dir;
  const std::string celle = compilati(dir);
  const std::string altrove = dir.file("rifatto");
  ASSERT_EQ(esegui({"decompile", celle, "-o", altrove}).stato, 0);
  scrivi_file(unisci(altrove, "Valle_linea.txt"), "mio\r\n");
  const risposta r = esegui({"decompile", celle, "-o", altrove});
  EXPECT_EQ(r.stato, 3);
  EXPECT_NE(r.err.find("Valle_linea.txt esiste gia'"), std::string::npos) << r.err;
  EXPECT_EQ(leggi_file(unisci(altrove, "Valle_linea.txt")),
            std::vector<std::uint8_t>({'m', 'i', 'o', '\r', '\n'}));
  const risposta f = esegui({"decompile", celle, "-o", altrove, "--force"});
  EXPECT_EQ(f.stato, 0) << f.err;
  EXPECT_NE(f.out.find("scritto " + unisci(altrove, "Valle_linea.txt")), std::string::npos);
  EXPECT_NE(f.out.find("invariato " + unisci(altrove, "Valle_2211-.txt")), std::string::npos);
}

TEST(Decompile, WithoutThePlanTheLineHasNoCurvesAndSaysSo) {
  cartella_temporanea dir;
  const std::string celle = compilati(dir);
  std::filesystem::remove(dir.file("file/Valle_linea.dat"));
  const risposta r = esegui({"decompile", celle, "-o", dir.file("rifatto")});
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_NE(r.out.find("il testo della linea non ha curve"), std::string::npos) << r.out;
  const auto linea = leggi_file(dir.file("rifatto/Valle_linea.txt"));
  EXPECT_EQ(std::string(linea.begin(), linea.end()).find("curva"), std::string::npos);
}

// A byte no row writes: the proof fails, naming the file and the byte, and says what it is.
TEST(Decompile, AHandEditedByteFailsTheProofWithItsPlace) {
  cartella_temporanea dir;
  const std::string celle = compilati(dir);
  auto byte = leggi_file(celle);
  byte[3 * 15 + 9] = 7;  // tempo_segnale of cell 3, which holds no signal
  scrivi_file(celle, std::string(byte.begin(), byte.end()));
  const risposta r = esegui({"decompile", celle, "-o", dir.file("rifatto")});
  EXPECT_EQ(r.stato, 1);
  EXPECT_NE(r.err.find("prova fallita: ricompilati, i testi non ridanno " + celle +
                       ": primo byte diverso 54 (cella 3, campo tempo_segnale)"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("cella 3: valori che nessuna riga da' all'evento 0"), std::string::npos);
}

// A row kept only for the bytes is listed with its line, why, and whether check flags it.
TEST(Decompile, RowsKeptForTheBytesAreListed) {
  cartella_temporanea dir;
  ASSERT_EQ(esegui({"new", "Valle", "2211", dir.file("t")}).stato, 0);
  const std::string treno = unisci(dir.file("t"), "Valle_2211-.txt");
  const auto byte = leggi_file(treno);
  std::string testo(byte.begin(), byte.end());
  const std::string segnale = "segnale,     450,   2, 4, 1,  0, 0,    2,  2,1,0, 0";
  // A time of 306 keeps 50 in its byte, which a time of 50 does not give (it becomes 101).
  testo.replace(testo.find(segnale), segnale.size(), segnale.substr(0, segnale.size() - 1) + "306");
  scrivi_file(treno, testo);
  ASSERT_EQ(
      esegui({"compile", unisci(dir.file("t"), "Valle_linea.txt"), treno, "--no-strict"}).stato, 0);
  const risposta r =
      esegui({"decompile", unisci(dir.file("t"), "Valle_2211.dat"), "-o", dir.file("r")});
  EXPECT_EQ(r.stato, 0) << r.err;
  const std::string rifatto = unisci(dir.file("r"), "Valle_2211-.txt");
  EXPECT_NE(r.out.find("righe che stanno nei testi solo per ridare gli stessi byte:\n  - " +
                       rifatto + ":"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("segnale,  450, 2, 4, 1, 0, 0, 2, 2, 1, 0, 306\n    tempo + 256"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("check la segnala"), std::string::npos) << r.out;
}

TEST(Decompile, FilesItCannotReadOrNameStopIt) {
  cartella_temporanea dir;
  const std::string celle = compilati(dir);
  // The point file names the texts: without it nothing is written.
  std::filesystem::copy_file(celle, dir.file("sola.dat"));
  const risposta senza = esegui({"decompile", dir.file("sola.dat")});
  EXPECT_EQ(senza.stato, 3);
  EXPECT_NE(senza.err.find("manca " + dir.file("sola.sim")), std::string::npos) << senza.err;
  // An output that is one of the inputs: a cell file named as the line text.
  std::filesystem::create_directory(dir.file("x"));
  std::filesystem::copy_file(celle, dir.file("x/Valle_linea.txt"));
  std::filesystem::copy_file(dir.file("file/Valle_2211.sim"), dir.file("x/Valle_linea.txt.sim"));
  const risposta stesso = esegui({"decompile", dir.file("x/Valle_linea.txt")});
  EXPECT_EQ(stesso.stato, 3);
  EXPECT_NE(stesso.err.find("e' lo stesso file di"), std::string::npos) << stesso.err;
  // A scenario name that would take the texts out of their folder.
  auto punti = leggi_file(dir.file("file/Valle_2211.sim"));
  std::string testo(punti.begin(), punti.end());
  testo.replace(testo.find("Valle"), 5, "Va/le");
  scrivi_file(dir.file("file/Valle_2211.sim"), testo);
  const risposta nome = esegui({"decompile", celle});
  EXPECT_EQ(nome.stato, 3);
  EXPECT_NE(nome.err.find("il nome del percorso della voce 85"), std::string::npos) << nome.err;
  EXPECT_FALSE(std::filesystem::exists(dir.file("file/Va")));
}

TEST(Decompile, WrongUsageAndHelp) {
  const std::vector<std::string> casi[] = {{"decompile"},
                                           {"decompile", "a.dat", "b.dat"},
                                           {"decompile", "a.dat", "--forse"},
                                           {"decompile", "a.dat", "-o"}};
  for (const auto& a : casi) {
    const risposta r = esegui(a);
    EXPECT_EQ(r.stato, 2) << a.size();
    EXPECT_NE(r.err.find("uso: percorso decompile CELLE [-o DIR] [--force]"), std::string::npos);
  }
  EXPECT_NE(esegui({"decompile", "--forse"}).err.find("forse '--force'"), std::string::npos);
  const risposta aiuto = esegui({"help", "decompile"});
  EXPECT_EQ(aiuto.stato, 0);
  EXPECT_EQ(aiuto.out, esegui({"decompile", "--help"}).out);
  EXPECT_NE(aiuto.out.find("Stato di uscita"), std::string::npos);
}

}  // namespace
}  // namespace percorso
