// The output set: every file of a run replaced together, the earlier set whole until
// the renames begin, runs into one directory taking turns, debris of killed runs removed.
// The same logic runs on both systems; only the turn is seen differently, and the
// device nodes are Linux's.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
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

#include "platform/insieme_uscita.h"
#include "support/cartella_temporanea.h"
#include "support/file_system_guasto.h"
#include "support/sistemi.h"

namespace percorso {
namespace {

using prova::disco_guasto;
using prova::istantanea;
using file_e_byte = std::map<std::string, std::string>;

std::span<const std::uint8_t> byte(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Whether another run could take the directory's turn now.
#ifdef _WIN32
bool turno_libero(const std::string& cartella) {
  const auto blocco = (std::filesystem::path(cartella) / ".percorso-lock").wstring();
  const HANDLE h =
      ::CreateFileW(blocco.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return ::GetLastError() != ERROR_SHARING_VIOLATION;
  ::CloseHandle(h);
  return true;
}
#else
bool turno_libero(const std::string& cartella) {
  const int fd = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY);
  const bool libero = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return libero;
}
#endif

class InsiemeUscita : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& e : std::filesystem::directory_iterator(dir.percorso()))
      std::filesystem::remove_all(e.path());
    std::filesystem::create_directory(dir.percorso() / "altra");
    for (const char* nome : {"a.dat", "b.sim", "c.dat"}) scrivi_file(dir.file(nome), "vecchio");
    scrivi_file(dir.file("altra/r.json"), "vecchio");
    prima = istantanea(dir.percorso());
  }

  std::unique_ptr<insieme_uscita> insieme(disco_guasto& guasti) {
    return insieme_su_disco(guasti.chiamate(), {dir.percorso().string(), dir.file("altra")});
  }

  // The first file put into the directory locked first: directories are locked in
  // the order of the identities the file system gave them, whichever was made first.
  std::string prima_della_prima_bloccata() {
    disco_guasto d;
    identita_file a, b;
    const auto c = d.chiamate();
    EXPECT_EQ(c.identifica(dir.percorso().string().c_str(), true, a), 0);
    EXPECT_EQ(c.identifica(dir.file("altra").c_str(), true, b), 0);
    return std::pair(a.dispositivo, a.nodo) < std::pair(b.dispositivo, b.nodo) ? "a.dat"
                                                                               : "altra/r.json";
  }

  // The three binaries in two pieces each, the report in the other directory.
  std::optional<errore_file> scrivi_tutto(insieme_uscita& s) {
    for (const char* nome : {"a.dat", "b.sim", "c.dat"}) {
      if (auto e = s.apri(dir.file(nome))) return e;
      if (auto e = s.scrivi(byte("nuovo "))) return e;
      if (auto e = s.scrivi(byte(nome))) return e;
    }
    return s.aggiungi(dir.file("altra/r.json"), byte("nuovo"));
  }

  file_e_byte nuovo() const {
    return {{"a.dat", "nuovo a.dat"},
            {"b.sim", "nuovo b.sim"},
            {"c.dat", "nuovo c.dat"},
            {"altra", "<cartella>"}};
  }

  cartella_temporanea dir;
  file_e_byte prima;
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
    void (*prepara)(disco_guasto&);
    std::string file;
    bool in_conferma;
  };
  const caso casi[] = {
      {"write of the second file", [](disco_guasto& d) { d.scrittura_fallita = 3; }, "b.sim",
       false},
      {"disk full in the third file", [](disco_guasto& d) { d.spazio = 25; }, "c.dat", false},
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
    EXPECT_EXIT(
        {
          disco_guasto guasti;
          guasti.scambio_ucciso = uccisione;
          auto s = insieme(guasti);
          if (!scrivi_tutto(*s)) s->conferma();
          std::exit(0);
        },
        ::testing::ExitedWithCode(9), "");
    EXPECT_TRUE(istantanea(dir.percorso()).contains(".percorso-giornale"));
    disco_guasto sano;
    auto dopo = insieme(sano);
    ASSERT_FALSE(dopo->aggiungi(dir.file("a.dat"), byte("nuovo a.dat")).has_value());
    dopo.reset();
    EXPECT_EQ(istantanea(dir.percorso()), nuovo()) << "completed as the turn is taken";
    EXPECT_EQ(istantanea(dir.percorso() / "altra"), (file_e_byte{{"r.json", "nuovo"}}));
  }
}

// A journal that was cut short was never flushed whole, so none of its pairs began:
// it is removed and nothing moves. A FIFO of its name is no journal, and never makes
// the run wait.
TEST_F(InsiemeUscita, AJournalCutShortOrNotAFileMovesNothing) {
  for (const bool fifo : {false, true}) {
    SCOPED_TRACE(fifo ? "FIFO" : "cut short");
    if (fifo && !prova::fifo_possibili) continue;
    SetUp();
    scrivi_file(dir.file(".percorso-AbC123"), "nuovo a.dat");
    const std::string intero = "percorso-giornale 1\n1 2 16:.percorso-AbC123 5:a.dat\nfine\n";
    if (fifo)
      ASSERT_TRUE(prova::crea_fifo(dir.file(".percorso-giornale")));
    else
      scrivi_file(dir.file(".percorso-giornale"), intero.substr(0, intero.size() - 3));
    disco_guasto guasti;
    auto s = insieme(guasti);
    ASSERT_FALSE(s->aggiungi(dir.file("altro.txt"), byte("x")).has_value());
    s.reset();
    auto dopo = istantanea(dir.percorso());
    if (fifo) dopo.erase(".percorso-giornale");
    EXPECT_EQ(dopo, prima);
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
  auto s = insieme_su_disco(guasti.chiamate(),
                            {dir.percorso().string(), dir.file("."), dir.file("altra")});
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
  auto prima_corsa = insieme_su_disco(chiamate_reali(), {cartella}, avviso);
  ASSERT_FALSE(prima_corsa->aggiungi(dir.file("a.dat"), byte("della prima")).has_value());
  std::thread seconda([&] {
    auto s = insieme_su_disco(chiamate_reali(), {cartella}, avviso);
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

TEST_F(InsiemeUscita, TheTurnRemovesTheTemporariesOfKilledRunsAndNothingElse) {
  scrivi_file(dir.file(".percorso-AbC123"), "resto di una corsa uccisa");
  scrivi_file(dir.file("altra/.percorso-xyz789"), "resto");
  scrivi_file(dir.file(".percorso-configurazione"), "non nostro");
  std::filesystem::create_directory(dir.percorso() / ".percorso-cartel");
  disco_guasto guasti;
  auto s = insieme(guasti);
  ASSERT_FALSE(s->aggiungi(dir.file("a.dat"), byte("nuovo a.dat")).has_value());
  ASSERT_FALSE(s->conferma().has_value());
  const auto dopo = istantanea(dir.percorso());
  EXPECT_FALSE(dopo.contains(".percorso-AbC123"));
  EXPECT_TRUE(dopo.contains(".percorso-configurazione"));
  EXPECT_TRUE(dopo.contains(".percorso-cartel"));
  EXPECT_FALSE(istantanea(dir.percorso() / "altra").contains(".percorso-xyz789"));
}

// The texts the run without arguments reads back and deletes are written at once
// and never flushed.
TEST_F(InsiemeUscita, ATransientFileReplacesItsNameAtOnceWithoutAFlush) {
  disco_guasto guasti;
  auto s = insieme(guasti);
  ASSERT_FALSE(s->scrivi_transitorio(dir.file("a.dat"), byte("di passaggio")).has_value());
  file_e_byte atteso = prima;
  atteso["a.dat"] = "di passaggio";
  EXPECT_EQ(istantanea(dir.percorso()), atteso);
  EXPECT_EQ(guasti.sincronizzazioni(), 0);
}

TEST_F(InsiemeUscita, AFileOutsideTheDeclaredDirectoriesIsRefused) {
  std::filesystem::create_directory(dir.percorso() / "fuori");
  disco_guasto guasti;
  auto s = insieme_su_disco(guasti.chiamate(), {dir.percorso().string()});
  const auto errore = s->apri(dir.file("fuori/x.dat"));
  ASSERT_TRUE(errore.has_value());
  EXPECT_EQ(errore->file, dir.file("fuori/x.dat"));
  EXPECT_TRUE(std::filesystem::is_empty(dir.percorso() / "fuori"));
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
