// `page --watch` and `compile --watch` as a user runs them: every save rewrites the
// output with a line about it, a half-saved text is only a text with errors, and
// Ctrl-C or a closed terminal (SIGHUP) ends the watch with status 0.
#ifdef _WIN32
#include <gtest/gtest.h>

TEST(Sorveglia, OnlyOnLinux) {
  GTEST_SKIP() << "fork, SIGINT and waitpid";
}
#else
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/cartella_temporanea.h"
#include "support/comando.h"

extern char** environ;

namespace percorso {
namespace {

// Starts the program with its output and errors into files of d.
pid_t avvia(const cartella_temporanea& d, std::vector<std::string> argomenti) {
  argomenti.insert(argomenti.begin(), PERCORSO_ESEGUIBILE);
  std::vector<char*> argv;
  for (auto& a : argomenti) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t azioni;
  posix_spawn_file_actions_init(&azioni);
  const std::string out = d.file("out.log"), err = d.file("err.log");
  posix_spawn_file_actions_addopen(&azioni, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&azioni, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = -1;
  posix_spawn(&pid, argv[0], &azioni, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&azioni);
  return pid;
}

ino_t inode(const std::string& file) {
  struct stat s {};
  return ::stat(file.c_str(), &s) == 0 ? s.st_ino : 0;
}

// Waits until the file is replaced (a new inode), for at most 20 s.
bool aspetta_nuovo(const std::string& file, ino_t vecchio) {
  for (int i = 0; i < 1000; ++i) {
    const ino_t n = inode(file);
    if (n != 0 && n != vecchio) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

// Saves as editors do: a new file renamed over the old one.
void salva(const cartella_temporanea& d, const std::string& nome, std::string_view testo) {
  scrivi_file(d.file(nome + ".nuovo"), testo);
  std::filesystem::rename(d.file(nome + ".nuovo"), d.file(nome));
}

std::size_t righe_con(const std::string& file, std::string_view cerca) {
  const auto byte = leggi_file(file);
  const std::string t(byte.begin(), byte.end());
  std::size_t n = 0;
  for (auto i = t.find(cerca); i != std::string::npos; i = t.find(cerca, i + 1)) ++n;
  return n;
}

TEST(Sorveglia, OgniSalvataggioRiscriveFinoACtrlC) {
  struct caso {
    const char* comando;
    const char* uscita;    // the file each run replaces
    const char* registro;  // where the one-line summaries go
    const char* riassunto;
    int segnale;  // how the watch is ended: Ctrl-C, or the terminal closed
  };
  const caso casi[] = {
      {"page", "Varmena_Ostrana_917.html", "out.log", "pagina ", SIGINT},
      {"compile", "Varmena_Ostrana_917.sim", "err.log", "compilato: ", SIGHUP},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.comando);
    cartella_temporanea d;
    ASSERT_EQ(esegui({"sources", d.percorso().string()}).stato, 0);
    const auto treno = leggi_file(d.file("Varmena_Ostrana_917-.txt"));
    const std::string uscita = d.file(c.uscita);
    const pid_t pid = avvia(d, {c.comando, d.file("Varmena_Ostrana_linea.txt"),
                                d.file("Varmena_Ostrana_917-.txt"), "--watch"});
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(aspetta_nuovo(uscita, 0));

    // Half of the train text, cut inside a row: a text with errors, written all the same.
    const ino_t prima = inode(uscita);
    salva(d, "Varmena_Ostrana_917-.txt",
          std::string_view(reinterpret_cast<const char*>(treno.data()), treno.size() / 2));
    EXPECT_TRUE(aspetta_nuovo(uscita, prima));

    ::kill(pid, c.segnale);
    int stato = -1;
    ::waitpid(pid, &stato, 0);
    EXPECT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == 0) << stato;
    EXPECT_EQ(righe_con(d.file(c.registro), c.riassunto), 2u);
    EXPECT_EQ(righe_con(d.file("err.log"), "fine della sorveglianza"), 1u);
  }
}

}  // namespace
}  // namespace percorso
#endif
