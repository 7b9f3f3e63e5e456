// The whole text a few representative runs print, against the files beside this
// test. After a deliberate change of the output, rewrite them with
// tests/golden/riscrivi and read the difference before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/esecuzione.h"
#include "support/cartella_temporanea.h"
#include "support/comando.h"
#include "support/corsa_normale.h"

namespace percorso {
namespace {

// A line with warnings of several kinds and a train whose station row stops the
// compilation with a finding.
constexpr std::string_view linea_rotta =
    "[generale]\r\n"
    "lunghezza percorso, 6000\r\n"
    "[curve]\r\n"
    "pendenza, 0, 2\r\n"
    "pendeza, 300, -3\r\n"
    "pendenza, 500, 1, 7\r\n"
    "pendenza, 200, 1\r\n"
    "[fine]\r\n";
constexpr std::string_view treno_rotto =
    "[generale]\r\n"
    "velocita, 0, 100\r\n"
    "segnale, 2000, 1, 4, 1, 0, 0, 1, 3,1,0, 0\r\n"
    "stazione, 1600, 12, 750, 0, 0, 1, 1,1,0, 4,1,1, 0, 0, 0, 0, PRIMA\r\n"
    "[fine]\r\n";

std::string cartella_attesi() {
  return PERCORSO_CARTELLA_ATTESI;
}

// The output with the temporary folder's name taken out ("DIR" where it stands alone),
// so it is the same on every run.
std::string senza_cartella(std::string testo, const cartella_temporanea& c) {
  const std::string nome = c.percorso().string();
  for (auto i = testo.find(nome); i != std::string::npos; i = testo.find(nome, i)) {
    const char dopo = i + nome.size() < testo.size() ? testo[i + nome.size()] : '\0';
    const bool file = dopo == '/' || dopo == '\\';
    testo.replace(i, nome.size() + (file ? 1 : 0), file ? "" : "DIR");
  }
  return testo;
}

// Compares with the golden file, or rewrites it when PERCORSO_RISCRIVI_ATTESI is set.
void confronta(const std::string& nome, const std::string& ottenuto) {
  const std::string file = cartella_attesi() + "/" + nome;
  if (std::getenv("PERCORSO_RISCRIVI_ATTESI") != nullptr) {
    std::ofstream(file, std::ios::binary) << ottenuto;
    return;
  }
  std::ifstream in(file, std::ios::binary);
  ASSERT_TRUE(in) << file << " is missing: run tests/golden/riscrivi";
  std::stringstream atteso;
  atteso << in.rdbuf();
  EXPECT_EQ(atteso.str(), ottenuto) << nome << " differs: if the change is meant, run "
                                    << "tests/golden/riscrivi and review the diff";
}

class GoldenCorsaNormale : public corsa_normale {
 protected:
  static void ispeziona(const std::string& nome, const std::string& atteso) {
    const risposta r = esegui({"inspect", file(nome)});
    ASSERT_EQ(r.stato, 0) << r.err;
    confronta(atteso, senza_cartella(r.out, cartella()));
  }
};

TEST_F(GoldenCorsaNormale, InspectOfTheCellFile) {
  ispeziona("Varmena_Ostrana_917.dat", "inspect_celle.txt");
}

TEST_F(GoldenCorsaNormale, InspectOfThePointFile) {
  ispeziona("Varmena_Ostrana_917.sim", "inspect_punti.txt");
}

TEST_F(GoldenCorsaNormale, InspectOfThePlanFile) {
  ispeziona("Varmena_Ostrana_linea.dat", "inspect_tracciato.txt");
}

TEST(Golden, DiagnosticsOfABrokenText) {
  const cartella_temporanea c;
  scrivi_file(c.file("Prova_linea.txt"), linea_rotta);
  scrivi_file(c.file("Prova_42-.txt"), treno_rotto);
  const risposta r = esegui({"compile", c.file("Prova_linea.txt"), c.file("Prova_42-.txt")});
  EXPECT_EQ(r.stato, 1);
  confronta("compile_rotto.txt", senza_cartella(r.err, c));
}

TEST(Golden, Explain) {
  std::string testo;
  for (const char* codice : {"9", "15", "1250"}) testo += esegui({"explain", codice}).out + "\n";
  confronta("explain.txt", testo);
}

}  // namespace
}  // namespace percorso
