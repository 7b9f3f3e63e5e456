// The watch sees every way an editor saves either file, ignores other files, and ends
// on SIGINT or SIGTERM without the process dying.
#ifndef _WIN32
#include "platform/sorveglianza.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <functional>

#include "support/cartella_temporanea.h"

namespace percorso {
namespace {

bool bloccato(int segnale) {
  sigset_t attuale;
  pthread_sigmask(SIG_BLOCK, nullptr, &attuale);
  return sigismember(&attuale, segnale) == 1;
}

TEST(Sorveglianza, VedeOgniSalvataggioDeiDueFileESoloQuelli) {
  using azione = std::function<void(const cartella_temporanea&)>;
  struct caso {
    const char* nome;
    azione fai;
    sorveglianza::evento atteso;
  };
  const caso casi[] = {
      {"salvataggio con rinomina",
       [](const cartella_temporanea& d) {
         scrivi_file(d.file(".linea.txt.swp"), "nuovo");
         std::filesystem::rename(d.file(".linea.txt.swp"), d.file("linea.txt"));
       },
       sorveglianza::evento::cambiato},
      {"scrittura sul posto, nella seconda cartella",
       [](const cartella_temporanea& d) { scrivi_file(d.file("treno/treno.txt"), "nuovo"); },
       sorveglianza::evento::cambiato},
      {"cancellazione",
       [](const cartella_temporanea& d) { std::filesystem::remove(d.file("linea.txt")); },
       sorveglianza::evento::cambiato},
      {"un altro file, poi SIGINT",
       [](const cartella_temporanea& d) {
         scrivi_file(d.file("pagina.html"), "x");
         scrivi_file(d.file("treno/linea.txt"), "x");
         raise(SIGINT);
       },
       sorveglianza::evento::interrotto},
      {"SIGTERM", [](const cartella_temporanea&) { raise(SIGTERM); },
       sorveglianza::evento::interrotto},
      {"SIGHUP, the terminal closed", [](const cartella_temporanea&) { raise(SIGHUP); },
       sorveglianza::evento::interrotto},
      {"scrittura dove punta un collegamento, in un'altra cartella",
       [](const cartella_temporanea& d) { scrivi_file(d.file("altrove/vero.txt"), "nuovo"); },
       sorveglianza::evento::cambiato},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    cartella_temporanea d;
    std::filesystem::create_directory(d.file("treno"));
    std::filesystem::create_directory(d.file("altrove"));
    scrivi_file(d.file("linea.txt"), "vecchio");
    scrivi_file(d.file("treno/treno.txt"), "vecchio");
    scrivi_file(d.file("altrove/vero.txt"), "vecchio");
    std::filesystem::create_symlink(d.file("altrove/vero.txt"), d.file("collegato.txt"));
    const std::string file[] = {d.file("linea.txt"), d.file("treno/treno.txt"),
                                d.file("collegato.txt")};
    auto aperta = sorveglianza::apri(file);
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<sorveglianza>>(aperta));
    auto& s = *std::get<std::unique_ptr<sorveglianza>>(aperta);
    EXPECT_TRUE(bloccato(SIGINT));
    c.fai(d);
    EXPECT_EQ(s.aspetta(), c.atteso);
  }
  // Every watch has given the signals back.
  EXPECT_FALSE(bloccato(SIGINT));
  EXPECT_FALSE(bloccato(SIGTERM));
  EXPECT_FALSE(bloccato(SIGHUP));
}

// A folder deleted and made again, as a checkout does: the loss is told once, and
// once it is back its saves are seen again.
TEST(Sorveglianza, FollowsAFolderMadeAgain) {
  cartella_temporanea d;
  std::filesystem::create_directories(d.file("testi/treno"));
  scrivi_file(d.file("testi/treno/treno.txt"), "vecchio");
  const std::string file[] = {d.file("testi/treno/treno.txt")};
  auto aperta = sorveglianza::apri(file);
  ASSERT_TRUE(std::holds_alternative<std::unique_ptr<sorveglianza>>(aperta));
  auto& s = *std::get<std::unique_ptr<sorveglianza>>(aperta);

  std::filesystem::remove_all(d.file("testi"));
  EXPECT_EQ(s.aspetta(), sorveglianza::evento::cambiato);
  auto avvisi = s.avvisi();
  ASSERT_EQ(avvisi.size(), 1u);
  EXPECT_EQ(avvisi[0].cartella, d.file("testi/treno"));
  EXPECT_FALSE(avvisi[0].ritrovata);

  std::filesystem::create_directories(d.file("testi/treno"));
  EXPECT_EQ(s.aspetta(), sorveglianza::evento::cambiato);
  avvisi = s.avvisi();
  ASSERT_EQ(avvisi.size(), 1u);
  EXPECT_TRUE(avvisi[0].ritrovata);

  scrivi_file(d.file("testi/treno/treno.txt"), "nuovo");
  EXPECT_EQ(s.aspetta(), sorveglianza::evento::cambiato);
  EXPECT_TRUE(s.avvisi().empty());
}

// A signal that comes while the program works (not waiting) ends the next wait, and one
// that no wait took is dropped when the watch ends, never killing the process.
TEST(Sorveglianza, SegnaleNonRaccoltoNonUccide) {
  cartella_temporanea d;
  scrivi_file(d.file("linea.txt"), "x");
  const std::string file[] = {d.file("linea.txt")};
  {
    auto aperta = sorveglianza::apri(file);
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<sorveglianza>>(aperta));
    raise(SIGINT);
  }
  EXPECT_FALSE(bloccato(SIGINT));
}

TEST(Sorveglianza, CartellaInesistente) {
  const std::string file[] = {"/nessuna/cartella/linea.txt"};
  const auto aperta = sorveglianza::apri(file);
  ASSERT_TRUE(std::holds_alternative<errore_file>(aperta));
  EXPECT_EQ(std::get<errore_file>(aperta).file, "/nessuna/cartella");
  EXPECT_FALSE(bloccato(SIGINT));
}

}  // namespace
}  // namespace percorso
#else
#include <gtest/gtest.h>

TEST(Sorveglianza, OnlyOnLinux) {
  GTEST_SKIP() << "inotify and POSIX signals; the Windows watch (ReadDirectoryChangesW, Ctrl-C) "
                  "has its own code";
}
#endif
