// The commands and the directories' turn: what a run finds in a directory it writes
// into is looked at under the lock, so a file saved while the run waits for its turn
// is seen; a run that writes completes what a killed run left, even when it writes
// nothing, and a run that only reads says a set may be mixed and changes nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "support/cartella_temporanea.h"
#include "support/comando.h"
#include "support/file_system_guasto.h"

namespace percorso {
namespace {

using prova::istantanea;

// Runs the command while another run holds the directory's turn; meanwhile does what
// another program would, then lets the run go on.
risposta mentre_aspetta(const std::string& cartella, const std::vector<std::string>& argomenti,
                        const std::function<void()>& intanto) {
  const auto fs = file_system_reale();
  auto altra_corsa = fs->insieme({.scritte = {cartella}});
  EXPECT_FALSE(altra_corsa->prendi_turno().has_value());
  risposta r{};
  std::thread corsa([&] { r = esegui(argomenti); });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  intanto();
  altra_corsa.reset();
  corsa.join();
  return r;
}

TEST(Turni, WhatARunFindsWhereItWritesIsLookedAtUnderTheLock) {
  struct caso {
    const char* nome;
    std::vector<std::string> argomenti;
    std::function<void()> intanto;
    std::string atteso;
  };
  cartella_temporanea dir;
  const std::string mio = "il mio lavoro\r\n";
  const std::string linea = dir.file("Prova_linea.txt"), treno = dir.file("Prova_1-.txt");
  const caso casi[] = {
      {"new, a text saved meanwhile",
       {"new", "Prova", "1", dir.percorso().string()},
       [&] { scrivi_file(linea, mio); },
       linea + " esiste gia'"},
      {"sources, a text saved meanwhile",
       {"sources", dir.percorso().string()},
       [&] { scrivi_file(dir.file("Varmena_Ostrana_917-.txt"), mio); },
       dir.file("Varmena_Ostrana_917-.txt") + " esiste gia' con un altro contenuto"},
#ifndef _WIN32
      {"compile, its report made a link to its text meanwhile",
       {"compile", linea, treno, "--report", dir.file("r.json")},
       [&] { std::filesystem::create_symlink(linea, dir.file("r.json")); },
       "impossibile scrivere " + dir.file("r.json") + ": e' lo stesso file di " + linea},
#endif
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    for (const auto& e : std::filesystem::directory_iterator(dir.percorso()))
      std::filesystem::remove_all(e.path());
    if (c.argomenti[0] == "compile") {
      ASSERT_EQ(esegui({"new", "Prova", "1", dir.percorso().string()}).stato, 0);
    }
    const auto testo =
        c.argomenti[0] == "compile" ? leggi_file(linea) : std::vector<std::uint8_t>{};
    const risposta r = mentre_aspetta(dir.percorso().string(), c.argomenti, c.intanto);
    EXPECT_EQ(r.stato, 3) << r.err;
    EXPECT_NE(r.err.find(c.atteso), std::string::npos) << r.err;
    if (c.argomenti[0] == "compile") {
      EXPECT_EQ(leggi_file(linea), testo) << "the text is as it was";
    } else {
      EXPECT_EQ(istantanea(dir.percorso()).size(), 1u) << "only the file saved meanwhile";
    }
  }
}

#ifndef _WIN32
// A run killed among its renames leaves a mixed set and its journal. check, inspect
// and plot say so and change nothing; new --force, finding its texts as they are,
// writes nothing and still completes the set.
TEST(Turni, AKilledRunIsToldByReadersAndCompletedByAWriterThatWritesNothing) {
  cartella_temporanea dir;
  const std::string cartella = dir.percorso().string();
  const std::string linea = dir.file("Prova_linea.txt"), treno = dir.file("Prova_1-.txt");
  ASSERT_EQ(esegui({"new", "Prova", "1", cartella}).stato, 0);
  ASSERT_EQ(esegui({"compile", linea, treno}).stato, 0);
  EXPECT_EXIT(
      {
        prova::disco_guasto guasti;
        guasti.scambio_ucciso = 2;
        auto s = insieme_su_disco(guasti.chiamate(), {.scritte = {cartella}});
        const std::string altro = "un'altra corsa";
        const std::span<const std::uint8_t> byte(
            reinterpret_cast<const std::uint8_t*>(altro.data()), altro.size());
        if (!s->aggiungi(dir.file("Prova_1.sim"), byte) &&
            !s->aggiungi(dir.file("Prova_1.dat"), byte))
          s->conferma();
        std::exit(0);
      },
      ::testing::ExitedWithCode(9), "");
  const auto lasciato = istantanea(dir.percorso());
  ASSERT_TRUE(lasciato.contains(".percorso-giornale"));
  const std::string avviso =
      "percorso: avviso: " + dir.file(".percorso-giornale") + ": una corsa interrotta";
  for (const std::vector<std::string>& lettura :
       {std::vector<std::string>{"check", linea, treno},
        std::vector<std::string>{"inspect", dir.file("Prova_1.dat")},
        std::vector<std::string>{"plot", dir.file("Prova_1.dat"), "-o", "-"}}) {
    SCOPED_TRACE(lettura[0]);
    const risposta r = esegui(lettura);
    EXPECT_NE(r.err.find(avviso), std::string::npos) << r.err;
    EXPECT_EQ(istantanea(dir.percorso()), lasciato);
  }
  const risposta r = esegui({"new", "Prova", "1", cartella, "--force"});
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(r.out, "invariato " + linea + "\ninvariato " + treno + "\n");
  auto dopo = istantanea(dir.percorso());
  EXPECT_EQ(dopo["Prova_1.sim"], "un'altra corsa");
  EXPECT_EQ(dopo["Prova_1.dat"], "un'altra corsa");
  EXPECT_EQ(std::count_if(dopo.begin(), dopo.end(),
                          [](const auto& f) { return f.first.starts_with(".percorso-"); }),
            0);
}
#endif

}  // namespace
}  // namespace percorso
