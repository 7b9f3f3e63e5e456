// The journal of a commit: what it names is all a killed run leaves, it is trusted
// only as the program leaves it, and a replay never puts a new file where the name no
// longer holds what it held.
#include "platform/giornale.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "support/insieme_prova.h"
#include "support/sistemi.h"

namespace percorso {
namespace {

using prova::byte;
using prova::disco_guasto;
using prova::file_e_byte;
using prova::identita_di;
using prova::istantanea;

identita_file id_di(std::uint64_t dispositivo, std::uint64_t nodo, std::int64_t cambiato = 0) {
  identita_file id;
  id.dispositivo = dispositivo;
  id.nodo = nodo;
  id.cambiato = cambiato;
  return id;
}

// Every prefix of a journal reads as one cut short, naming the temporaries written
// whole before the cut and no pair: only the whole journal is a commit. Names are
// counted, not cut at a blank or a line end.
TEST(TestoGiornale, EveryPrefixIsCutShortAndOnlyTheWholeIsACommit) {
  const identita_file cartella = id_di(7, 42);
  const coppia coppie[] = {
      {".percorso-abc123", "nome con spazi\ne a capo: 1", id_di(7, 100), id_di(7, 9, -5)},
      {".percorso-abc789", "b.sim", id_di(7, 101), std::nullopt},
  };
  const std::string intero = inizio_giornale(cartella, "abc") +
                             riga_temporaneo(".percorso-abc123") +
                             riga_temporaneo(".percorso-abc789") + fine_giornale(coppie);
  for (std::size_t n = 0; n <= intero.size(); ++n) {
    SCOPED_TRACE(n);
    const auto g = leggi_giornale(std::string_view(intero).substr(0, n), cartella);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->coppie.has_value(), n == intero.size());
    EXPECT_LE(g->temporanei.size(), 4u);
  }
  const auto g = leggi_giornale(intero, cartella);
  ASSERT_TRUE(g && g->coppie && g->coppie->size() == 2);
  for (std::size_t i = 0; i < 2; ++i) {
    const coppia& letta = (*g->coppie)[i];
    EXPECT_EQ(letta.temporaneo, coppie[i].temporaneo);
    EXPECT_EQ(letta.bersaglio, coppie[i].bersaglio);
    EXPECT_TRUE(letta.nuovo.stesso_file(coppie[i].nuovo));
    EXPECT_EQ(letta.prima.has_value(), coppie[i].prima.has_value());
    if (letta.prima) {
      EXPECT_TRUE(letta.prima->stesso_stato(*coppie[i].prima));
    }
  }
}

// What the program never writes is no journal: another directory's, another format,
// a pair that names a path, the journal itself or a temporary as its target, a
// temporary without the mark of the journal's run.
TEST(TestoGiornale, WhatTheProgramNeverWritesIsNoJournal) {
  const identita_file cartella = id_di(7, 42);
  const auto con = [&](const coppia& p) {
    return inizio_giornale(cartella, "abc") + fine_giornale(std::span(&p, 1));
  };
  const std::pair<const char*, std::string> casi[] = {
      {"another directory's", inizio_giornale(id_di(7, 43), "abc") + fine_giornale({})},
      {"the earlier format", "percorso-giornale 1\n1 2 16:.percorso-abc123 5:a.dat\nfine\n"},
      {"a target with a path", con({".percorso-abc123", "../a.dat", {}, {}})},
      {"the journal as a target", con({".percorso-abc123", ".percorso-giornale", {}, {}})},
      {"a temporary as a target", con({".percorso-abc123", ".percorso-abc789", {}, {}})},
      {"another run's temporary", con({".percorso-xyz789", "a.dat", {}, {}})},
      {"another run's temporary, alone",
       inizio_giornale(cartella, "abc") + riga_temporaneo(".percorso-xyz789")},
      {"no mark of a run", inizio_giornale(cartella, "AB!") + fine_giornale({})},
      {"a target that is no temporary", con({"notes", "a.dat", {}, {}})},
      {"more after its end", inizio_giornale(cartella, "abc") + fine_giornale({}) + "t"},
      {"a line of another kind", inizio_giornale(cartella, "abc") + "x 1\n"},
  };
  for (const auto& [nome, testo] : casi) {
    EXPECT_FALSE(leggi_giornale(testo, cartella).has_value()) << nome;
  }
}

class Giornale : public prova::insieme_prova {
 protected:
  std::string giornale() const { return dir.file(".percorso-giornale"); }

  // A run into the directory that writes one other file, and its error.
  std::optional<errore_file> corsa_successiva() {
    disco_guasto sano;
    auto s = insieme(sano);
    auto errore = s->aggiungi(dir.file("altro.txt"), byte("x"));
    if (!errore) errore = s->conferma();
    return errore;
  }
};

// A journal cut short was never flushed whole, so none of its pairs began: nothing
// moves, and what goes is what it names and itself; a temporary it does not name stays.
TEST_F(Giornale, ACutShortJournalMovesNothingAndRemovesOnlyWhatItNames) {
  const std::string inizio = inizio_giornale(identita_di(dir.percorso()), "abc");
  const std::string riga = riga_temporaneo(".percorso-abc123");
  const coppia p{".percorso-abc123", "a.dat", identita_di(dir.percorso()), std::nullopt};
  const std::string intero = inizio + riga + fine_giornale(std::span(&p, 1));
  struct caso {
    const char* nome;
    std::size_t taglio;
    bool nominato;  // the cut left the temporary's line whole
  };
  const caso casi[] = {
      {"empty", 0, false},
      {"inside its first line", inizio.size() - 3, false},
      {"inside the temporary's line", inizio.size() + 5, false},
      {"after the temporary's line", inizio.size() + riga.size(), true},
      {"inside its pair", intero.size() - 12, true},
      {"inside its last line", intero.size() - 2, true},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    SetUp();
    scrivi_file(dir.file(".percorso-abc123"), "nuovo a.dat");
    scrivi_file(dir.file(".percorso-xyz789"), "non nominato");
    scrivi_file(giornale(), intero.substr(0, c.taglio));
    EXPECT_FALSE(corsa_successiva().has_value());
    file_e_byte atteso = prima;
    atteso["altro.txt"] = "x";
    atteso[".percorso-xyz789"] = "non nominato";
    if (!c.nominato) atteso[".percorso-abc123"] = "nuovo a.dat";
    EXPECT_EQ(istantanea(dir.percorso()), atteso);
  }
}

// A journal is trusted only as the program leaves it. Anything else of its name stops
// a run that writes into the directory, told with its path, before anything is
// written; it is never read through, written or followed, and never waited on.
TEST_F(Giornale, ANameTheProgramWouldNotHaveLeftStopsTheSetAndIsNeverFollowed) {
  struct caso {
    const char* nome;
    std::function<bool(const std::string&)> fai;  // false where this system cannot
    std::string motivo;
  };
  const std::string fuori = dir.file("altra/r.json");
  const caso casi[] = {
      {"a link to a file elsewhere",
       [&](const std::string& g) {
         std::error_code ec;
         std::filesystem::create_symlink(fuori, g, ec);
         return !ec;
       },
       "e' un collegamento simbolico"},
      {"a link to nowhere",
       [&](const std::string& g) {
         std::error_code ec;
         std::filesystem::create_symlink(dir.file("altra/nuovo"), g, ec);
         return !ec;
       },
       "e' un collegamento simbolico"},
      {"a FIFO", [](const std::string& g) { return prova::crea_fifo(g); },
       "non e' un file regolare ma una FIFO"},
      {"a directory", [](const std::string& g) { return std::filesystem::create_directory(g); },
       "e' una cartella"},
      {"larger than a journal",
       [](const std::string& g) {
         std::ofstream(g, std::ios::binary).write("", 0);
         std::filesystem::resize_file(g, giornale_massimo + 1);
         return true;
       },
       "e' troppo grande per un giornale"},
      {"another directory's journal",
       [&](const std::string& g) {
         scrivi_file(g, inizio_giornale(identita_di(dir.percorso() / "altra"), "abc") + "fine\n");
         return true;
       },
       "il suo contenuto non e' quello di un giornale"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    SetUp();
    if (!c.fai(giornale())) continue;
    const auto qui = istantanea(dir.percorso());
    const auto altra = istantanea(dir.percorso() / "altra");
    const auto inizio = std::chrono::steady_clock::now();
    const auto errore = corsa_successiva();
    EXPECT_LT(std::chrono::steady_clock::now() - inizio, std::chrono::seconds(2));
    ASSERT_TRUE(errore.has_value());
    EXPECT_EQ(errore->file, giornale());
    EXPECT_TRUE(errore->motivo.starts_with(c.motivo + ": non e' un giornale")) << errore->motivo;
    EXPECT_EQ(istantanea(dir.percorso()), qui);
    EXPECT_EQ(istantanea(dir.percorso() / "altra"), altra);
  }
}

// A replay puts a new file only where the name still holds what it held when the
// journal was written: a file edited in place, replaced, or made where there was none
// since the kill stops the replay, told by its name, with nothing moved.
TEST_F(Giornale, AReplayStopsAtAFileChangedSinceTheKill) {
  struct caso {
    const char* nome;
    bool c_assente;  // c.dat is not there before the run left mixed
    std::string file;
    std::function<void()> cambia;
  };
  const caso casi[] = {
      {"edited in place", false, "b.sim",
       [&] { std::ofstream(dir.file("b.sim"), std::ios::app) << " e modificato"; }},
      {"replaced by another file", false, "b.sim",
       [&] {
         scrivi_file(dir.file("salvato"), "salvato da un editor");
         std::filesystem::rename(dir.file("salvato"), dir.file("b.sim"));
       }},
      {"made where there was none", true, "c.dat",
       [&] { scrivi_file(dir.file("c.dat"), "scritto dopo"); }},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    SetUp();
    if (c.c_assente) std::filesystem::remove(dir.file("c.dat"));
    lascia_misto();
    c.cambia();
    const auto qui = istantanea(dir.percorso());
    const auto errore = corsa_successiva();
    ASSERT_TRUE(errore.has_value());
    EXPECT_EQ(errore->file, dir.file(c.file));
    EXPECT_TRUE(errore->motivo.starts_with("e' cambiato dopo che una corsa interrotta"))
        << errore->motivo;
    EXPECT_EQ(istantanea(dir.percorso()), qui);
  }
}

// A run killed while it writes its files leaves temporaries its journal names: the
// next run removes those, and nothing else of their form.
TEST_F(Giornale, ARunKilledWhileWritingLeavesOnlyWhatItsJournalNames) {
#ifdef _WIN32
  GTEST_SKIP() << "a death test on Windows runs in a new process, with its own temporary folder";
#endif
  scrivi_file(dir.file(".percorso-AbC123"), "non nominato");
  std::filesystem::create_directory(dir.percorso() / ".percorso-cartel");
  const int scrittura = fino_a("c.dat").scritture() + 1;
  uccidi([&](disco_guasto& d) { d.scrittura_uccisa = scrittura; });
  std::size_t temporanei = 0;
  for (const auto& [nome, contenuto] : istantanea(dir.percorso()))
    temporanei += nome.starts_with(".percorso-") && contenuto != "<cartella>";
  EXPECT_EQ(temporanei, 5u) << "three temporaries, the journal and the file not named";
  EXPECT_FALSE(corsa_successiva().has_value());
  file_e_byte atteso = prima;
  atteso["altro.txt"] = "x";
  atteso[".percorso-AbC123"] = "non nominato";
  atteso[".percorso-cartel"] = "<cartella>";
  EXPECT_EQ(istantanea(dir.percorso()), atteso);
}

// A run that only reads takes its turn beside other readers and after a writer, and
// reports a journal a killed run left without touching it or the mixed set.
TEST_F(Giornale, AReaderWaitsForAWriterAndReportsAJournalLeftAsItIs) {
  disco_guasto guasti;
  auto scrittore = insieme(guasti);
  ASSERT_FALSE(scrivi_tutto(*scrittore).has_value());
  std::atomic<bool> letto = false;
  std::string visto;
  std::thread lettore([&] {
    auto turno = insieme_su_disco(guasti.chiamate(), {.lette = {dir.percorso().string()}});
    EXPECT_FALSE(turno->prendi_turno().has_value());
    visto = istantanea(dir.percorso())["a.dat"];
    letto = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(letto) << "the reader waits for the writer's end";
  ASSERT_FALSE(scrittore->conferma().has_value());
  scrittore.reset();
  lettore.join();
  EXPECT_EQ(visto, "nuovo a.dat");

  auto uno = insieme_su_disco(guasti.chiamate(), {.lette = {dir.percorso().string()}});
  auto due = insieme_su_disco(guasti.chiamate(), {.lette = {dir.percorso().string()}});
  ASSERT_FALSE(uno->prendi_turno().has_value());
  ASSERT_FALSE(due->prendi_turno().has_value()) << "readers share the turn";
  EXPECT_TRUE(uno->giornali_lasciati().empty());
  uno.reset();
  due.reset();

  SetUp();
  lascia_misto();
  const auto qui = istantanea(dir.percorso());
  auto turno = insieme_su_disco(guasti.chiamate(), {.lette = {dir.percorso().string()}});
  ASSERT_FALSE(turno->prendi_turno().has_value());
  const auto lasciati = turno->giornali_lasciati();
  ASSERT_EQ(lasciati.size(), 1u);
  EXPECT_EQ(lasciati[0].file, giornale());
  turno.reset();
  EXPECT_EQ(istantanea(dir.percorso()), qui);
}

// In a directory two users share, a journal the other user made, however well formed,
// is never used: its pairs could replace any file of this user's.
TEST_F(Giornale, AJournalOfAnotherUserIsNeverUsed) {
  std::filesystem::permissions(dir.percorso(), std::filesystem::perms::all);
  scrivi_file(dir.file("note"), "mie");
  const std::string falso = inizio_giornale(identita_di(dir.percorso()), "abc") +
                            riga_temporaneo(".percorso-abc123") + "fine\n";
  const auto fatto = prova::come_altro_utente([&] {
    scrivi_file(dir.file(".percorso-abc123"), "dell'altro");
    scrivi_file(giornale(), falso);
  });
  if (!fatto) GTEST_SKIP() << "no second user here: only root can act as one (nobody)";
  ASSERT_TRUE(*fatto) << "what the other user does";
  const auto qui = istantanea(dir.percorso());
  const auto errore = corsa_successiva();
  ASSERT_TRUE(errore.has_value());
  EXPECT_EQ(errore->file, giornale());
  EXPECT_TRUE(errore->motivo.starts_with("appartiene a un altro utente")) << errore->motivo;
  EXPECT_EQ(istantanea(dir.percorso()), qui);
}

}  // namespace
}  // namespace percorso
