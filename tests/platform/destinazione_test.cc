// Where the files of a set go: a link is written through or to what it leads to,
// never replaced; no file of the set is one the run reads or another of the set; a
// target another program writes while the set is written is not replaced.
#include "platform/destinazione.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <functional>

#include "support/insieme_prova.h"

namespace percorso {
namespace {

using prova::byte;
using prova::disco_guasto;
using prova::file_e_byte;
using prova::istantanea;

class Destinazione : public prova::insieme_prova {
 protected:
  // A set that writes a.dat alone, with what the run reads; its error.
  std::optional<errore_file> scrivi_a(std::initializer_list<std::string> ingressi = {}) {
    disco_guasto guasti;
    auto s = insieme(guasti);
    for (const std::string& i : ingressi) s->ingresso(i);
    auto errore = s->aggiungi(dir.file("a.dat"), byte("nuovo a.dat"));
    if (!errore) errore = s->conferma();
    return errore;
  }

  // a.dat made a link to where, relative or not.
  bool collega(const std::string& dove) {
    std::filesystem::remove(dir.file("a.dat"));
    std::error_code ec;
    std::filesystem::create_symlink(dove, dir.file("a.dat"), ec);
    return !ec;
  }
};

// A link of the user's is written through: the file it leads to is replaced, in any
// directory the run can take, the link kept. One that leads to what a process holds
// open is written to; one that leads nowhere, or to a directory, stops the set.
TEST_F(Destinazione, AnOutputThatIsALinkIsWrittenThroughAndNeverReplaced) {
  struct caso {
    const char* nome;
    std::string dove;     // where a.dat leads
    std::string scritto;  // the file that receives the new bytes; empty when refused
    std::string motivo;   // why the set stops
  };
  const caso casi[] = {
      {"to a file in a declared directory", dir.file("altra/r.json"), dir.file("altra/r.json"), {}},
      {"relative", "altra/r.json", dir.file("altra/r.json"), {}},
      {"to a file in a directory not declared",
       dir.file("fuori/x.dat"),
       dir.file("fuori/x.dat"),
       {}},
      {"to nowhere",
       dir.file("altra/manca"),
       {},
       "e' un collegamento simbolico a un file che non esiste"},
      {"to a directory", dir.file("altra"), {}, "e' una cartella"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    SetUp();
    std::filesystem::create_directory(dir.percorso() / "fuori");
    scrivi_file(dir.file("fuori/x.dat"), "vecchio");
    if (!collega(c.dove)) GTEST_SKIP() << "symbolic links cannot be made here";
    const auto errore = scrivi_a();
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("a.dat"))) << "the link stays a link";
    if (c.scritto.empty()) {
      ASSERT_TRUE(errore.has_value());
      EXPECT_EQ(errore->file, dir.file("a.dat"));
      EXPECT_EQ(errore->motivo, c.motivo);
      EXPECT_FALSE(std::filesystem::exists(dir.file("altra/manca")));
      EXPECT_EQ(istantanea(dir.percorso() / "altra"), (file_e_byte{{"r.json", "vecchio"}}));
    } else {
      EXPECT_FALSE(errore.has_value()) << errore->motivo;
      EXPECT_EQ(leggi_file(c.scritto),
                (std::vector<std::uint8_t>{'n', 'u', 'o', 'v', 'o', ' ', 'a', '.', 'd', 'a', 't'}));
    }
  }
}

#ifndef _WIN32
// /dev/stdout is a link to what the process holds open: written to, as a device, and
// never replaced by a file (run as root, the earlier program replaced it). The file
// the process holds is added to, so a >> redirection loses nothing.
TEST_F(Destinazione, ALinkToWhatTheProcessHoldsOpenIsWrittenTo) {
  scrivi_file(dir.file("altra/registro"), "prima\n");
  const int fd = ::open(dir.file("altra/registro").c_str(), O_WRONLY | O_APPEND);
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(collega("/proc/self/fd/" + std::to_string(fd)));
  const auto errore = scrivi_a();
  ::close(fd);
  EXPECT_FALSE(errore.has_value()) << errore->motivo;
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("a.dat")));
  std::ifstream in(dir.file("altra/registro"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "prima\nnuovo a.dat");
}

// A link another user made in a shared directory is never followed: it could lead to
// any file of this user's.
TEST_F(Destinazione, ALinkOfAnotherUserIsNeverFollowed) {
  std::filesystem::permissions(dir.percorso(), std::filesystem::perms::all);
  scrivi_file(dir.file("altra/mio"), "mio");
  const auto fatto = prova::come_altro_utente([&] {
    std::filesystem::remove(dir.file("a.dat"));
    std::filesystem::create_symlink(dir.file("altra/mio"), dir.file("a.dat"));
  });
  if (!fatto) GTEST_SKIP() << "no second user here: only root can act as one (nobody)";
  ASSERT_TRUE(*fatto) << "what the other user does";
  const auto errore = scrivi_a();
  ASSERT_TRUE(errore.has_value());
  EXPECT_EQ(errore->motivo, "e' un collegamento simbolico di un altro utente, e non e' seguito");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("a.dat")));
  EXPECT_EQ(leggi_file(dir.file("altra/mio")), (std::vector<std::uint8_t>{'m', 'i', 'o'}));
}
#endif

// No file of the set is one the run reads, under any name, nor is one file written
// twice by the set: the set stops before anything is written.
TEST_F(Destinazione, AFileTheRunReadsOrWritesAlreadyIsRefused) {
  std::filesystem::create_hard_link(dir.file("b.sim"), dir.file("altra/fisso"));
  struct caso {
    const char* nome;
    std::vector<std::string> ingressi;
    std::vector<std::string> uscite;
    std::string motivo;
  };
  const caso casi[] = {
      {"an input",
       {dir.file("b.sim")},
       {dir.file("b.sim")},
       "e' lo stesso file di " + dir.file("b.sim") + ", che questa corsa legge"},
      {"a hard link of an input",
       {dir.file("altra/fisso")},
       {dir.file("b.sim")},
       "e' lo stesso file di " + dir.file("altra/fisso") + ", che questa corsa legge"},
      {"written twice",
       {},
       {dir.file("a.dat"), dir.file("c.dat"), dir.file("a.dat")},
       "e' lo stesso file di " + dir.file("a.dat") + ", che questa corsa scrive"},
      {"written twice, spelt two ways",
       {},
       {dir.file("a.dat"), dir.file("altra/../a.dat")},
       "e' lo stesso file di " + dir.file("a.dat") + ", che questa corsa scrive"},
      {"a new file written twice",
       {},
       {dir.file("d.dat"), dir.file("./d.dat")},
       "e' lo stesso file di " + dir.file("d.dat") + ", che questa corsa scrive"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const auto qui = istantanea(dir.percorso());
    disco_guasto guasti;
    auto s = insieme(guasti);
    for (const std::string& i : c.ingressi) s->ingresso(i);
    std::optional<errore_file> errore;
    for (const std::string& u : c.uscite) {
      if (!errore) errore = s->aggiungi(u, byte("nuovo"));
    }
    if (!errore) errore = s->conferma();
    s.reset();
    ASSERT_TRUE(errore.has_value());
    EXPECT_EQ(errore->file, c.uscite.back());
    EXPECT_EQ(errore->motivo, c.motivo);
    EXPECT_EQ(istantanea(dir.percorso()), qui);
  }
}

// A target another program writes while the set is being written is not replaced: the
// set stops before any name changes, naming it, and that program's file stays.
TEST_F(Destinazione, ATargetWrittenMeanwhileIsNotReplaced) {
  struct caso {
    const char* nome;
    std::string file;
    std::function<void()> cambia;
  };
  const caso casi[] = {
      {"edited in place", "b.sim",
       [&] { std::ofstream(dir.file("b.sim"), std::ios::app) << " e modificato"; }},
      {"replaced by another file", "b.sim",
       [&] {
         scrivi_file(dir.file("salvato"), "salvato da un editor");
         std::filesystem::rename(dir.file("salvato"), dir.file("b.sim"));
       }},
      {"made where there was none", "d.dat", [&] { scrivi_file(dir.file("d.dat"), "altrui"); }},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    SetUp();
    disco_guasto guasti;
    auto s = insieme(guasti);
    ASSERT_FALSE(scrivi_tutto(*s).has_value());
    ASSERT_FALSE(s->aggiungi(dir.file("d.dat"), byte("nuovo d.dat")).has_value());
    c.cambia();
    auto qui = istantanea(dir.percorso());
    std::erase_if(qui, [](const auto& f) { return f.first.starts_with(".percorso-"); });
    const auto errore = s->conferma();
    s.reset();
    ASSERT_TRUE(errore.has_value());
    EXPECT_EQ(errore->file, dir.file(c.file));
    EXPECT_TRUE(errore->motivo.starts_with("e' cambiato durante la corsa")) << errore->motivo;
    EXPECT_EQ(istantanea(dir.percorso()), qui);
  }
}

}  // namespace
}  // namespace percorso
