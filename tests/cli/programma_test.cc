// The built program, run as a user runs it.
#ifdef _WIN32
#include <gtest/gtest.h>

TEST(Programma, OnlyOnLinux) {
  GTEST_SKIP() << "the program through a POSIX shell; on Windows tests/windows/stessi_byte runs "
                  "percorso.exe";
}
#else
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "format/codici.h"
#include "support/cartella_temporanea.h"
#include "support/file_system_guasto.h"
#include "writers/scrittori.h"
#include "writers/testi.h"

namespace percorso {
namespace {

struct esecuzione {
  int stato;
  std::string errori;
};

// Runs a shell command line, its standard error captured.
esecuzione lancia(const std::string& comando, const cartella_temporanea& dir) {
  const std::string errori = dir.file("stderr.log");
  const int s = std::system((comando + " 2>" + errori).c_str());
  const auto byte = leggi_file(errori);
  std::filesystem::remove(errori);
  return {WIFEXITED(s) ? WEXITSTATUS(s) : -1, std::string(byte.begin(), byte.end())};
}

// A copy of the program in its own directory, since it writes beside itself.
std::string copia_programma(const cartella_temporanea& dir) {
  const std::string copia = dir.file("percorso");
  std::filesystem::copy_file(PERCORSO_ESEGUIBILE, copia);
  return copia;
}

std::int32_t leggi_32(const std::vector<std::uint8_t>& b, std::size_t o) {
  return static_cast<std::int32_t>(b[o] | b[o + 1] << 8 | b[o + 2] << 16 |
                                   static_cast<std::uint32_t>(b[o + 3]) << 24);
}
std::int16_t leggi_16(const std::vector<std::uint8_t>& b, std::size_t o) {
  return static_cast<std::int16_t>(b[o] | b[o + 1] << 8);
}

// Offset of entry k of a point file: entries have a variable-length name.
std::size_t inizio_punto(const std::vector<std::uint8_t>& b, int k) {
  std::size_t o = 0;
  for (int i = 0; i < k; ++i) o += 34 + static_cast<std::size_t>(leggi_16(b, o + 14));
  return o;
}

TEST(Programma, RunWithoutArgumentsLeavesTheDocumentsAndTheThreeBinaries) {
  cartella_temporanea dir;
  const std::string programma = copia_programma(dir);
  const esecuzione e = lancia(programma, dir);
  EXPECT_EQ(e.stato, 0) << e.errori;
  // It ends as compile does, saying where the files went: beside the program.
  EXPECT_EQ(e.errori, "Attendere\n0 errori, 0 avvisi; scritti 6 file in " +
                          std::filesystem::canonical(dir.percorso()).string() + "\n");

  EXPECT_EQ(dir.elenco(), (std::vector<std::string>{
                              "Varmena_Ostrana_917.dat",
                              "Varmena_Ostrana_917.sim",
                              "Varmena_Ostrana_917_note.txt",
                              "Varmena_Ostrana_917_rallentamenti.txt",
                              "Varmena_Ostrana_917_scheda_treno.txt",
                              "Varmena_Ostrana_linea.dat",
                              "percorso",
                          }));
  // The fixed documents, not ones built from the compiled texts.
  EXPECT_EQ(leggi_file(dir.file("Varmena_Ostrana_917_scheda_treno.txt")),
            testo_crlf(righe_scheda()));
  EXPECT_EQ(leggi_file(dir.file("Varmena_Ostrana_917_rallentamenti.txt")),
            testo_crlf(righe_rallentamenti()));

  const auto celle = leggi_file(dir.file("Varmena_Ostrana_917.dat"));
  ASSERT_EQ(celle.size(), 30315u);
  EXPECT_EQ(celle[16], 0x01);
  EXPECT_EQ(celle[17], 0x14);
  EXPECT_EQ(leggi_16(celle, 18), codice_gara_og("917", "Varmena_Ostrana"));

  const auto punti = leggi_file(dir.file("Varmena_Ostrana_917.sim"));
  const std::size_t slot_85 = inizio_punto(punti, 85);
  const std::size_t n = static_cast<std::size_t>(leggi_16(punti, slot_85 + 14));
  EXPECT_EQ(std::string(punti.begin() + static_cast<long>(slot_85) + 16,
                        punti.begin() + static_cast<long>(slot_85 + 16 + n)),
            "Varmena_Ostrana");
  EXPECT_EQ(leggi_16(punti, slot_85 + 16 + n), 610);
  EXPECT_EQ(leggi_32(punti, slot_85 + 30 + n), codice_gara_st("917", "Varmena_Ostrana"));
  EXPECT_EQ(inizio_punto(punti, 87), punti.size());

  EXPECT_EQ(leggi_file(dir.file("Varmena_Ostrana_linea.dat")).size(), 2019964u);
}

TEST(Programma, CompilingTheWrittenSourcesGivesTheSameBinariesAsTheRun) {
  cartella_temporanea dir;
  const std::string programma = copia_programma(dir);
  ASSERT_EQ(lancia(programma, dir).stato, 0);
  const std::filesystem::path testi = dir.percorso() / "testi";
  std::filesystem::create_directory(testi);
  ASSERT_EQ(lancia(programma + " sources " + testi.string(), dir).stato, 0);
  const esecuzione e =
      lancia(programma + " compile " + (testi / "Varmena_Ostrana_linea.txt").string() + " " +
                 (testi / "Varmena_Ostrana_917-.txt").string(),
             dir);
  EXPECT_EQ(e.stato, 0) << e.errori;
  for (const char* nome :
       {"Varmena_Ostrana_917.dat", "Varmena_Ostrana_917.sim", "Varmena_Ostrana_linea.dat"}) {
    EXPECT_EQ(leggi_file((testi / nome).string()), leggi_file(dir.file(nome))) << nome;
  }
  // The author's texts are never deleted.
  EXPECT_TRUE(std::filesystem::exists(testi / "Varmena_Ostrana_linea.txt"));
  EXPECT_TRUE(std::filesystem::exists(testi / "Varmena_Ostrana_917-.txt"));
}

// The plan of a 1000000 m line does not fit 14 MB of address space: the run must
// stop with a clear message and leave the earlier set as it was. (The sanitizers
// need far more address space than any limit that would test this.)
TEST(Programma, RunningOutOfMemoryStopsWithStatusThreeAndReplacesNothing) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer cannot run under an address-space limit";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  GTEST_SKIP() << "AddressSanitizer cannot run under an address-space limit";
#endif
#endif
  cartella_temporanea dir;
  scrivi_file(dir.file("P_linea.txt"),
              "[generale]\r\nlunghezza percorso, 1000000\r\n[curve]\r\n[fine]\r\n");
  scrivi_file(dir.file("P_1-.txt"), "[generale]\r\n[fine]\r\n");
  std::filesystem::create_directory(dir.percorso() / "out");
  for (const char* nome : {"P_linea.dat", "P_1.sim", "P_1.dat", "r.json"})
    scrivi_file(dir.file(std::string("out/") + nome), "corsa precedente");
  const auto prima = prova::istantanea(dir.percorso() / "out");
  const esecuzione e =
      lancia("ulimit -v 14000; exec " + std::string(PERCORSO_ESEGUIBILE) + " compile " +
                 dir.file("P_linea.txt") + " " + dir.file("P_1-.txt") + " -o " + dir.file("out") +
                 " --report " + dir.file("out/r.json"),
             dir);
  EXPECT_EQ(e.stato, 3) << e.errori;
  EXPECT_EQ(e.errori, "percorso: memoria insufficiente: nessun file e' stato sostituito\n");
  EXPECT_EQ(prova::istantanea(dir.percorso() / "out"), prima);
}

}  // namespace
}  // namespace percorso
#endif
