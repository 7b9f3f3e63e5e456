// The output set: every file of a run replaced together, the earlier set whole until
// the renames begin, runs into one directory taking turns, debris of killed runs removed.
#ifdef _WIN32
#include <gtest/gtest.h>

TEST(InsiemeUscita, OnlyOnLinux) {
  GTEST_SKIP() << "the turn is a flock on the directory; Windows takes a lock file instead";
}
#else
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/insieme_uscita.h"
#include "support/cartella_temporanea.h"
#include "support/file_system_guasto.h"

namespace percorso {
namespace {

using prova::disco_guasto;
using prova::istantanea;
using file_e_byte = std::map<std::string, std::string>;

std::span<const std::uint8_t> byte(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Whether another run could take the directory's turn now.
bool turno_libero(const std::string& cartella) {
  const int fd = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY);
  const bool libero = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return libero;
}

class InsiemeUscita : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(dir.percorso() / "altra");
    for (const char* nome : {"a.dat", "b.sim", "c.dat"}) scrivi_file(dir.file(nome), "vecchio");
    scrivi_file(dir.file("altra/r.json"), "vecchio");
    prima = istantanea(dir.percorso());
  }

  std::unique_ptr<insieme_uscita> insieme(disco_guasto& guasti) {
    return insieme_su_disco(guasti.chiamate(), {dir.percorso().string(), dir.file("altra")});
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
  EXPECT_EQ(guasti.sincronizzazioni(), 4);
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
      {"lock of the directories", [](disco_guasto& d) { d.blocco_fallito = 1; }, "a.dat", false},
      {"sync of the second file", [](disco_guasto& d) { d.sincronizzazione_fallita = 2; }, "b.sim",
       true},
      {"sync of the report", [](disco_guasto& d) { d.sincronizzazione_fallita = 4; },
       "altra/r.json", true},
      {"rename of the first file", [](disco_guasto& d) { d.rinomina_fallita = 1; }, "a.dat", true},
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

// Once the renames have begun nothing can be taken back: the window of a mixed set
// is the renames themselves, and still no temporary is left.
TEST_F(InsiemeUscita, ARenameThatFailsMidwayLeavesTheRenamedFilesAndNoTemporary) {
  disco_guasto guasti;
  guasti.rinomina_fallita = 2;
  guasti.codice = EACCES;
  auto s = insieme(guasti);
  ASSERT_FALSE(scrivi_tutto(*s).has_value());
  const auto errore = s->conferma();
  ASSERT_TRUE(errore.has_value());
  EXPECT_EQ(errore->file, dir.file("b.sim"));
  EXPECT_EQ(errore->motivo, std::strerror(EACCES));
  file_e_byte atteso = prima;
  atteso["a.dat"] = "nuovo a.dat";
  EXPECT_EQ(istantanea(dir.percorso()), atteso);
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

}  // namespace
}  // namespace percorso
#endif
