// From a saved text to the rewritten page: `percorso page --watch` runs on the embedded
// route as a user runs it, and each iteration saves the line text the way editors do
// (a new file renamed over the old) and waits until the page has been replaced.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using orologio = std::chrono::steady_clock;

constexpr const char* linea = "Varmena_Ostrana_linea.txt";
constexpr const char* treno = "Varmena_Ostrana_917-.txt";
constexpr const char* pagina = "Varmena_Ostrana_917.html";

pid_t avvia(std::vector<std::string> argomenti) {
  std::vector<char*> argv;
  for (auto& a : argomenti) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

std::string leggi(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Saves as editors do: the whole text into a new file, renamed over the old one.
void salva(const fs::path& file, const std::string& testo) {
  const fs::path nuovo = file.string() + ".salvataggio";
  std::ofstream(nuovo, std::ios::binary)
      .write(testo.data(), static_cast<std::streamsize>(testo.size()));
  fs::rename(nuovo, file);
}

// Waits until a file of that name is renamed into the watched directory; false after 5 s.
bool aspetta_rinomina(int inotify, const std::string& nome) {
  alignas(inotify_event) char buffer[8192];
  const auto limite = orologio::now() + std::chrono::seconds(5);
  while (orologio::now() < limite) {
    pollfd p{inotify, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    const ssize_t n = read(inotify, buffer, sizeof buffer);
    for (ssize_t i = 0; i < n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(buffer + i);
      i += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
      if (e->len > 0 && nome == e->name) return true;
    }
  }
  return false;
}

void BM_dal_salvataggio_alla_pagina(benchmark::State& state) {
  std::string modello = (fs::temp_directory_path() / "percorso-pagina-XXXXXX").string();
  if (mkdtemp(modello.data()) == nullptr) return state.SkipWithError("nessuna cartella temporanea");
  const fs::path cartella = modello;
  const std::string programma = PERCORSO_ESEGUIBILE;
  int stato = 0;
  waitpid(avvia({programma, "sources", cartella.string()}), &stato, 0);
  const std::string originale = leggi(cartella / linea);

  const int inotify = inotify_init1(IN_CLOEXEC);
  inotify_add_watch(inotify, cartella.c_str(), IN_MOVED_TO);
  const pid_t sorvegliante = avvia(
      {programma, "page", (cartella / linea).string(), (cartella / treno).string(), "--watch"});
  if (sorvegliante < 0 || !aspetta_rinomina(inotify, pagina)) {
    state.SkipWithError("la prima pagina non e' stata scritta");
  } else {
    // Each save changes the text: a blank line more or less at its end.
    bool con_riga = false;
    for (auto _ : state) {
      con_riga = !con_riga;
      const auto inizio = orologio::now();
      salva(cartella / linea, con_riga ? originale + "\r\n" : originale);
      if (!aspetta_rinomina(inotify, pagina)) {
        state.SkipWithError("la pagina non e' stata riscritta entro 5 s");
        break;
      }
      state.SetIterationTime(std::chrono::duration<double>(orologio::now() - inizio).count());
    }
  }
  if (sorvegliante > 0) {
    kill(sorvegliante, SIGINT);
    waitpid(sorvegliante, &stato, 0);
  }
  close(inotify);
  std::error_code ec;
  fs::remove_all(cartella, ec);
}

BENCHMARK(BM_dal_salvataggio_alla_pagina)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);

}  // namespace

BENCHMARK_MAIN();
