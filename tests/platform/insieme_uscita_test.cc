// The output set: every file of a run replaced together, the earlier set whole until
// the renames begin, runs into one directory taking turns, debris of killed runs removed.
// The same logic runs on both systems; only the turn is seen differently, and the
// device nodes are Linux's.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/insieme_prova.h"
#include "support/sistemi.h"

namespace percorso {
namespace {

using prova::byte;
using prova::disco_guasto;
using prova::file_e_byte;
using prova::istantanea;
using prova::turno_libero;

class InsiemeUscita : public prova::insieme_prova {
 protected:
  // The first file put into the directory locked first: directories are locked in
  // the order of the identities the file system gave them, whichever was made first.
  std::string prima_della_prima_bloccata() {
    const identita_file a = prova::identita_di(dir.percorso());
    const identita_file b = prova::identita_di(dir.percorso() / "altra");
    return std::pair(a.dispositivo, a.nodo) < std::pair(b.dispositivo, b.nodo) ? "a.dat"
                                                                               : "altra/r.json";
  }
};

TEST_F(InsiemeUscita, EveryFileIsReplacedAtTheCommitAndEachIsFlushedOnce) {
  disco_guasto guasti;
  auto s = insieme(guasti);
  ASSERT_FALSE(scrivi_tutto(*s).has_value());
  auto durante = istantanea(dir.percorso());
  std::erase_if(durante, [](const auto& f) { return f.first.starts_with(".percorso-"); });
  EXPECT_EQ(durante, prima) << "nothing changes before the commit";
  ASSERT_FALSE(s->conferma().has_value());
  EXPECT_EQ(istantanea(dir.percorso()), nuovo());
  EXPECT_EQ(leggi_file(dir.file("altra/r.json")),
            (std::vector<std::uint8_t>{'n', 'u', 'o', 'v', 'o'}));
  // Four files and the journals of the two directories.
  EXPECT_EQ(guasti.sincronizzazioni(), 6);
}

TEST_F(InsiemeUscita, AFailureBeforeTheRenamesKeepsTheWholeEarlierSet) {
  struct caso {
    const char* nome;
    std::function<void(disco_guasto&)> prepara;
    std::string file;
    bool in_conferma;
  };
  const int seconda = fino_a("b.sim").scritture() + 1;
  const std::size_t terza = fino_a("c.dat").byte_scritti() + 3;
  const caso casi[] = {
      {"write of the second file", [&](disco_guasto& d) { d.scrittura_fallita = seconda; }, "b.sim",
       false},
      {"disk full in the third file", [&](disco_guasto& d) { d.spazio = terza; }, "c.dat", false},
      {"lock of the directories", [](disco_guasto& d) { d.blocco_fallito = 1; },
       prima_della_prima_bloccata(), false},
      {"sync of the second file", [](disco_guasto& d) { d.sincronizzazione_fallita = 2; }, "b.sim",
       true},
      {"sync of the report", [](disco_guasto& d) { d.sincronizzazione_fallita = 4; },
       "altra/r.json", true},
      {"exchange of the first file", [](disco_guasto& d) { d.scambio_fallito = 1; }, "a.dat", true},
      {"rename of the first file, no exchange",
       [](disco_guasto& d) {
         d.scambio_assente = true;
         d.rinomina_fallita = 1;
       },
       "a.dat", true},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    disco_guasto guasti;
    c.prepara(guasti);
    auto s = insieme(guasti);
    auto errore = scrivi_tutto(*s);
    ASSERT_EQ(errore.has_value(), !c.in_conferma);
    if (!errore) errore = s->conferma();
    ASSERT_TRUE(errore.has_value());
    EXPECT_EQ(errore->file, dir.file(c.file));
    EXPECT_EQ(istantanea(dir.percorso()), prima);
    EXPECT_EQ(leggi_file(dir.file("altra/r.json")),
              (std::vector<std::uint8_t>{'v', 'e', 'c', 'c', 'h', 'i', 'o'}));
  }
}

// Once the names begin to change nothing can be taken back: a failure among them
// leaves the journal and the temporaries, and the next run into the directories
// completes the set, whether the system exchanges names or only renames them.
TEST_F(InsiemeUscita, AFailureAmongTheRenamesIsCompletedByTheNextRun) {
  struct caso {
    const char* nome;
    void (*prepara)(disco_guasto&);
  };
  const caso casi[] = {
      {"second exchange", [](disco_guasto& d) { d.scambio_fallito = 2; }},
      {"second rename, no exchange",
       [](disco_guasto& d) {
         d.scambio_assente = true;
         d.rinomina_fallita = 2;
       }},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    SetUp();
    disco_guasto guasti;
    c.prepara(guasti);
    guasti.codice = EACCES;
    auto s = insieme(guasti);
    ASSERT_FALSE(scrivi_tutto(*s).has_value());
    const auto errore = s->conferma();
    ASSERT_TRUE(errore.has_value());
    EXPECT_EQ(errore->file, dir.file("b.sim"));
    EXPECT_EQ(errore->motivo, motivo_di(EACCES));
    s.reset();
    auto durante = istantanea(dir.percorso());
    EXPECT_EQ(durante["a.dat"], "nuovo a.dat");
    EXPECT_EQ(durante["b.sim"], "vecchio");
    EXPECT_TRUE(durante.contains(".percorso-giornale"));

    disco_guasto sano;
    auto dopo = insieme(sano);
    ASSERT_FALSE(dopo->aggiungi(dir.file("altro.txt"), byte("x")).has_value());
    ASSERT_FALSE(dopo->conferma().has_value());
    file_e_byte atteso = nuovo();
    atteso["altro.txt"] = "x";
    EXPECT_EQ(istantanea(dir.percorso()), atteso);
    EXPECT_EQ(istantanea(dir.percorso() / "altra"), (file_e_byte{{"r.json", "nuovo"}}));
    std::filesystem::remove(dir.file("altro.txt"));
  }
}

// A run killed between two exchanges leaves a mixed set for a moment only: the next
// run that takes the directory finds the journal and finishes the pairs not done,
// without undoing those that were.
TEST_F(InsiemeUscita, ARunKilledBetweenTwoExchangesIsFinishedByTheNextRun) {
#ifdef _WIN32
  GTEST_SKIP() << "a death test on Windows runs in a new process, with its own temporary folder";
#endif
  for (int uccisione = 1; uccisione <= 4; ++uccisione) {
    SCOPED_TRACE(uccisione);
    SetUp();
    uccidi([&](disco_guasto& d) { d.scambio_ucciso = uccisione; });
    EXPECT_TRUE(istantanea(dir.percorso()).contains(".percorso-giornale"));
    disco_guasto sano;
    auto dopo = insieme(sano);
    ASSERT_FALSE(dopo->aggiungi(dir.file("a.dat"), byte("nuovo a.dat")).has_value());
    dopo.reset();
    EXPECT_EQ(istantanea(dir.percorso()), nuovo()) << "completed as the turn is taken";
    EXPECT_EQ(istantanea(dir.percorso() / "altra"), (file_e_byte{{"r.json", "nuovo"}}));
  }
}

// Where the file system cannot exchange two names, a plain rename does the commit.
TEST_F(InsiemeUscita, WithoutExchangesTheCommitRenames) {
  disco_guasto guasti;
  guasti.scambio_assente = true;
  auto s = insieme(guasti);
  ASSERT_FALSE(scrivi_tutto(*s).has_value());
  ASSERT_FALSE(s->conferma().has_value());
  EXPECT_EQ(istantanea(dir.percorso()), nuovo());
}

TEST_F(InsiemeUscita, ASetLeftWithoutCommitReplacesNothing) {
  disco_guasto guasti;
  {
    auto s = insieme(guasti);
    ASSERT_FALSE(scrivi_tutto(*s).has_value());
  }
  EXPECT_EQ(istantanea(dir.percorso()), prima);
  EXPECT_EQ(istantanea(dir.percorso() / "altra"), (file_e_byte{{"r.json", "vecchio"}}));
}

// A run holds the turn from its first file to its end; two spellings of one
// directory are one lock, not a wait on itself.
TEST_F(InsiemeUscita, RunsIntoOneDirectoryTakeTurns) {
  disco_guasto guasti;
  auto s = insieme_su_disco(
      guasti.chiamate(), {.scritte = {dir.percorso().string(), dir.file("."), dir.file("altra")}});
  EXPECT_TRUE(turno_libero(dir.percorso().string()));
  ASSERT_FALSE(scrivi_tutto(*s).has_value());
  EXPECT_FALSE(turno_libero(dir.percorso().string()));
  EXPECT_FALSE(turno_libero(dir.file("altra")));
  ASSERT_FALSE(s->conferma().has_value());
  s.reset();
  EXPECT_TRUE(turno_libero(dir.percorso().string()));
  EXPECT_TRUE(turno_libero(dir.file("altra")));
}

// A run that waits for another's turn says so once a second has gone by, naming the
// directory, and goes on when the turn comes; one that has its turn at once says nothing.
TEST_F(InsiemeUscita, ARunWaitingForTheTurnSaysSoNamingTheDirectory) {
  std::mutex m;
  std::condition_variable detto;
  std::vector<std::string> avvisi;
  const avviso_turno avviso = [&](const std::string& cartella) {
    const std::lock_guard<std::mutex> l(m);
    avvisi.push_back(cartella);
    detto.notify_one();
  };
  const std::string cartella = dir.percorso().string();
  auto prima_corsa = insieme_su_disco(chiamate_reali(), {.scritte = {cartella}}, avviso);
  ASSERT_FALSE(prima_corsa->aggiungi(dir.file("a.dat"), byte("della prima")).has_value());
  std::thread seconda([&] {
    auto s = insieme_su_disco(chiamate_reali(), {.scritte = {cartella}}, avviso);
    EXPECT_FALSE(s->aggiungi(dir.file("b.sim"), byte("della seconda")).has_value());
    EXPECT_FALSE(s->conferma().has_value());
  });
  {
    std::unique_lock<std::mutex> l(m);
    EXPECT_TRUE(detto.wait_for(l, std::chrono::seconds(20), [&] { return !avvisi.empty(); }));
  }
  EXPECT_FALSE(prima_corsa->conferma().has_value());
  prima_corsa.reset();
  seconda.join();
  EXPECT_EQ(avvisi, std::vector<std::string>{cartella});
  EXPECT_EQ(istantanea(dir.percorso())["b.sim"], "della seconda");
}

// The texts the run without arguments reads back and deletes are written at once
// and never flushed.
TEST_F(InsiemeUscita, ATransientFileReplacesItsNameAtOnceWithoutAFlush) {
  disco_guasto guasti;
  auto s = insieme(guasti);
  ASSERT_FALSE(s->scrivi_transitorio(dir.file("a.dat"), byte("di passaggio")).has_value());
  file_e_byte atteso = prima;
  atteso["a.dat"] = "di passaggio";
  auto durante = istantanea(dir.percorso());
  EXPECT_TRUE(durante.erase(".percorso-giornale")) << "the turn's journal names its temporary";
  EXPECT_EQ(durante, atteso);
  EXPECT_EQ(guasti.sincronizzazioni(), 0);
  s.reset();
  EXPECT_EQ(istantanea(dir.percorso()), atteso);
}

// A directory a file goes into that was not declared (where a link leads) is taken
// when it is free within a short wait; held by another run, it stops the set, for
// that run may be waiting for one of this run's directories.
TEST_F(InsiemeUscita, ADirectoryNotDeclaredIsTakenOnlyWhenFree) {
  std::filesystem::create_directory(dir.percorso() / "fuori");
  const std::string fuori = dir.file("fuori/x.dat");
  for (const bool tenuta : {true, false}) {
    SCOPED_TRACE(tenuta ? "held by another run" : "free");
    disco_guasto guasti;
    auto altra_corsa = insieme_su_disco(guasti.chiamate(), {.scritte = {dir.file("fuori")}});
    if (tenuta) {
      ASSERT_FALSE(altra_corsa->prendi_turno().has_value());
    }
    auto s = insieme_su_disco(guasti.chiamate(), {.scritte = {dir.percorso().string()}});
    auto errore = s->aggiungi(fuori, byte("x"));
    if (!errore) errore = s->conferma();
    if (tenuta) {
      ASSERT_TRUE(errore.has_value());
      EXPECT_EQ(errore->file, fuori);
      EXPECT_EQ(errore->motivo, "la sua cartella e' occupata da un'altra corsa: riprova");
      EXPECT_TRUE(istantanea(dir.percorso() / "fuori").empty());
    } else {
      EXPECT_FALSE(errore.has_value()) << errore->motivo;
      EXPECT_EQ(istantanea(dir.percorso() / "fuori"), (file_e_byte{{"x.dat", "x"}}));
    }
  }
}

// An output that is not a regular file is never replaced: a character device is
// written to, a FIFO too when someone reads it; anything else stops the set before
// it begins. The nodes are made in the test's own directory, never in /dev.
#ifndef _WIN32
TEST_F(InsiemeUscita, ANodeGivenAsAnOutputIsWrittenToOrRefusedButNeverReplaced) {
  struct caso {
    const char* nome;
    mode_t modo;
    dev_t dispositivo;
    bool lettore;
    const char* motivo;  // why the set refuses it; null when it is written to
  };
  const caso casi[] = {
      {"null device", S_IFCHR | 0666, makedev(1, 3), false, nullptr},
      {"FIFO with a reader", S_IFIFO | 0666, 0, true, nullptr},
      {"FIFO without a reader", S_IFIFO | 0666, 0, false, "nessuno legge dalla FIFO"},
      {"block device", S_IFBLK | 0600, makedev(7, 200), false,
       "non e' un file regolare ma un dispositivo"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    SetUp();
    const std::string nodo = dir.file("altra/nodo");
    if (::mknod(nodo.c_str(), c.modo, c.dispositivo) != 0)
      GTEST_SKIP() << "mknod is not permitted here (" << std::strerror(errno)
                   << "): the device cases are not tried";
    // A reader that does not wait: what the set writes stays in the pipe for it.
    const int lettore = c.lettore ? ::open(nodo.c_str(), O_RDONLY | O_NONBLOCK) : -1;
    disco_guasto guasti;
    auto s = insieme(guasti);
    std::optional<errore_file> errore = s->aggiungi(dir.file("a.dat"), byte("nuovo a.dat"));
    if (!errore) errore = s->aggiungi(nodo, byte("al nodo"));
    if (!errore) errore = s->conferma();
    s.reset();
    std::string letto(64, '\0');
    if (lettore >= 0) {
      letto.resize(static_cast<std::size_t>(std::max(0L, ::read(lettore, letto.data(), 64))));
      ::close(lettore);
    }
    struct stat st {};
    ASSERT_EQ(::lstat(nodo.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & S_IFMT, c.modo & S_IFMT) << "the node is still there, as it was";
    if (c.motivo) {
      ASSERT_TRUE(errore.has_value());
      EXPECT_EQ(errore->file, nodo);
      EXPECT_EQ(errore->motivo, c.motivo);
      EXPECT_EQ(leggi_file(dir.file("a.dat")), leggi_file(dir.file("b.sim"))) << "still old";
    } else {
      EXPECT_FALSE(errore.has_value()) << errore->motivo;
      EXPECT_EQ(istantanea(dir.percorso())["a.dat"], "nuovo a.dat");
    }
    if (c.lettore) {
      EXPECT_EQ(letto, "al nodo");
    }
    std::filesystem::remove(nodo);
  }
}
#endif

#ifdef _WIN32
// The simulator or a scanner holding a target open is a normal event on Windows: after
// a short wait the set stops before any file is replaced, naming the file held.
TEST_F(InsiemeUscita, ATargetHeldOpenStopsTheSetBeforeAnythingIsReplaced) {
  const HANDLE tenuto = ::CreateFileW(std::filesystem::path(dir.file("b.sim")).wstring().c_str(),
                                      GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(tenuto, INVALID_HANDLE_VALUE);
  disco_guasto guasti;
  auto s = insieme(guasti);
  ASSERT_FALSE(scrivi_tutto(*s).has_value());
  const auto errore = s->conferma();
  s.reset();
  ::CloseHandle(tenuto);
  ASSERT_TRUE(errore.has_value());
  EXPECT_EQ(errore->file, dir.file("b.sim"));
  EXPECT_EQ(errore->motivo, "il file e' aperto da un altro programma");
  EXPECT_EQ(istantanea(dir.percorso()), prima);
  EXPECT_EQ(istantanea(dir.percorso() / "altra"), (file_e_byte{{"r.json", "vecchio"}}));
}
#endif

}  // namespace
}  // namespace percorso
