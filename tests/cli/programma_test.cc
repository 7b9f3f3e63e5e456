// The built program, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "format/codici.h"
#include "support/cartella_temporanea.h"
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
  EXPECT_EQ(e.errori, "Attendere\n");

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

}  // namespace
}  // namespace percorso
