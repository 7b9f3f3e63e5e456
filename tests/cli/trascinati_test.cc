// Two texts dropped on the program: compiled beside the line text with the driver's
// documents, the result told in a box; typed in a console, the same two texts are a
// usage error that says how to compile them.
#include "cli/trascinati.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/cartella_temporanea.h"
#include "support/comando.h"
#include "support/conta.h"
#include "support/file_system_guasto.h"

namespace percorso {
namespace {

// The box as a test reads it.
class riquadro final : public finestra_attesa {
 public:
  void messaggio(const std::string& t, icona i) override {
    ++aperti;
    testo = t;
    simbolo = i;
  }
  int aperti = 0;
  std::string testo;
  icona simbolo = icona::nessuna;
};

struct scenario {
  cartella_temporanea d;
  std::string linea = d.file("Valle_linea.txt");
  std::string treno = d.file("Valle_2211-.txt");
  scenario() { EXPECT_EQ(esegui({"new", "Valle", "2211", in_utf8(d.percorso())}).stato, 0); }
};

TEST(Trascinati, InEitherOrderTheTextsAreCompiledWithTheDocumentsBesideThem) {
  scenario s;
  const auto reale = file_system_reale();
  for (const bool al_contrario : {false, true}) {
    SCOPED_TRACE(al_contrario);
    const std::vector<std::string_view> a = al_contrario
                                                ? std::vector<std::string_view>{s.treno, s.linea}
                                                : std::vector<std::string_view>{s.linea, s.treno};
    const auto testi = testi_trascinati(a);
    ASSERT_TRUE(testi.has_value());
    riquadro r;
    EXPECT_EQ(compila_trascinati(testi->first, testi->second, r, *reale), 0);
    EXPECT_EQ(r.aperti, 1);
    EXPECT_EQ(r.simbolo, finestra_attesa::icona::informazione);
    EXPECT_EQ(r.testo, "0 errori, 0 avvisi; scritti 5 file in " + in_utf8(s.d.percorso()) + "\n");
    EXPECT_EQ(s.d.elenco(), (std::vector<std::string>{
                                "Valle_2211-.txt", "Valle_2211.dat", "Valle_2211.sim",
                                "Valle_2211_rallentamenti.txt", "Valle_2211_scheda_treno.txt",
                                "Valle_linea.dat", "Valle_linea.txt"}));
  }
}

// A box shows the first ten findings, each with its row, and says how many more there
// are; a run that failed has the error icon.
TEST(Trascinati, TheBoxShowsTenFindingsWithTheirRowsAndAnErrorIcon) {
  scenario s;
  const auto byte = leggi_file(s.linea);
  std::string linea(byte.begin(), byte.end());
  std::string righe;
  for (int i = 1; i <= 12; ++i) righe += "pendenza, " + std::to_string(100 * i) + "O, 0\r\n";
  linea.insert(linea.find("pendenza"), righe);
  scrivi_file(s.linea, linea);
  const auto reale = file_system_reale();
  riquadro r;
  EXPECT_EQ(compila_trascinati(s.linea, s.treno, r, *reale), 1);
  EXPECT_EQ(r.simbolo, finestra_attesa::icona::errore);
  EXPECT_TRUE(r.testo.starts_with("12 errori, 0 avvisi; scritti 5 file in ")) << r.testo;
  EXPECT_EQ(prova::conta(r.testo, "\nValle_linea.txt:"), 10u) << r.testo;
  EXPECT_EQ(prova::conta(r.testo, "\n    pendenza, "), 10u) << r.testo;
  EXPECT_NE(r.testo.find("\ne altri 2: "), std::string::npos) << r.testo;
}

// A folder that cannot be written is named with the system's reason, in the box too.
TEST(Trascinati, AFolderThatCannotBeWrittenSaysWhyInTheBox) {
  scenario s;
  const auto reale = file_system_reale();
  prova::file_system_guasto fs(*reale);
  fs.guasta(prova::operazione::scrittura, 1, EACCES);
  riquadro r;
  EXPECT_EQ(compila_trascinati(s.linea, s.treno, r, fs), 3);
  EXPECT_EQ(r.simbolo, finestra_attesa::icona::errore);
  EXPECT_TRUE(r.testo.starts_with("1 errore, 0 avvisi; nessun file scritto\n")) << r.testo;
  EXPECT_NE(r.testo.find("impossibile scrivere " + s.d.file("Valle_linea.dat") + ": " +
                         motivo_di(EACCES)),
            std::string::npos)
      << r.testo;
}

// Only a line text and a train text make a drop; from a console, where a command is
// typed, they are a usage error on every system, which says how to compile them.
TEST(Trascinati, TwoTextsWithoutACommandInAConsoleAreAUsageError) {
  const std::string_view coppia[] = {"d/Valle_2211-.txt", "d/VALLE_linea.txt"};
  const std::string_view due_linee[] = {"a_linea.txt", "b_linea.txt"};
  const std::string_view non_testi[] = {"a.txt", "b-.txt"};
  EXPECT_TRUE(testi_trascinati(coppia).has_value());
  EXPECT_FALSE(testi_trascinati(due_linee).has_value());
  EXPECT_FALSE(testi_trascinati(non_testi).has_value());
  const risposta r = esegui({"d/Valle_2211-.txt", "d/Valle_linea.txt"});
  EXPECT_EQ(r.stato, 2);
  EXPECT_TRUE(
      r.err.starts_with("percorso: due testi senza comando: per compilarli, percorso "
                        "compile d/Valle_linea.txt d/Valle_2211-.txt\n"))
      << r.err;
  EXPECT_EQ(esegui({"a_linea.txt", "b_linea.txt"}).stato, 2);
}

}  // namespace
}  // namespace percorso
