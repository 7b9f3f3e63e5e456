// From a change in the editor to its published diagnostics: `percorso lsp` runs as
// an editor runs it, on pipes, with both texts of a pair open (or the line text alone,
// its train text on disk); each iteration sends the whole changed text and waits until
// the diagnostics of the open texts have come back. PERCORSO names another build of
// the program to measure instead of this one.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "linea_sintetica.h"
#include "writers/testi.h"

extern char** environ;

namespace {

class server {
 public:
  server() {
    int dentro[2], fuori[2];
    if (pipe(dentro) != 0 || pipe(fuori) != 0) return;
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_adddup2(&azioni, dentro[0], 0);
    posix_spawn_file_actions_adddup2(&azioni, fuori[1], 1);
    posix_spawn_file_actions_addclose(&azioni, dentro[1]);
    posix_spawn_file_actions_addclose(&azioni, fuori[0]);
    const char* altro = std::getenv("PERCORSO");
    std::string programma = altro != nullptr ? altro : PERCORSO_ESEGUIBILE, comando = "lsp";
    char* argv[] = {programma.data(), comando.data(), nullptr};
    posix_spawn(&pid_, argv[0], &azioni, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&azioni);
    close(dentro[0]);
    close(fuori[1]);
    scrivi_ = dentro[1];
    leggi_ = fuori[0];
  }
  ~server() {
    manda(R"({"jsonrpc":"2.0","id":99,"method":"shutdown"})");
    manda(R"({"jsonrpc":"2.0","method":"exit"})");
    close(scrivi_);
    close(leggi_);
    waitpid(pid_, nullptr, 0);
  }

  void manda(std::string_view corpo) {
    const std::string m =
        "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n" + std::string(corpo);
    for (std::size_t fatto = 0; fatto < m.size();) {
      const ssize_t n = write(scrivi_, m.data() + fatto, m.size() - fatto);
      if (n <= 0) return;
      fatto += static_cast<std::size_t>(n);
    }
  }

  // Reads messages until n diagnostics lists have come; false when the server ended.
  bool aspetta_diagnostiche(int n) {
    while (n > 0) {
      const auto corpo = messaggio();
      if (!corpo) return false;
      if (corpo->find("textDocument/publishDiagnostics") != std::string::npos) --n;
    }
    return true;
  }

 private:
  std::optional<std::string> messaggio() {
    std::size_t lunghezza = 0;
    for (;;) {
      const auto fine = dati_.find("\r\n\r\n");
      if (fine != std::string::npos) {
        lunghezza = std::stoul(dati_.substr(dati_.find(':') + 1));
        dati_.erase(0, fine + 4);
        break;
      }
      if (!riempi()) return std::nullopt;
    }
    while (dati_.size() < lunghezza)
      if (!riempi()) return std::nullopt;
    std::string corpo = dati_.substr(0, lunghezza);
    dati_.erase(0, lunghezza);
    return corpo;
  }
  bool riempi() {
    char b[65536];
    const ssize_t n = read(leggi_, b, sizeof b);
    if (n <= 0) return false;
    dati_.append(b, static_cast<std::size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int scrivi_ = -1, leggi_ = -1;
  std::string dati_;
};

std::string stringa_json(std::string_view s) {
  std::string j = "\"";
  for (const char c : s) {
    if (c == '"' || c == '\\') j.push_back('\\');
    if (c == '\r')
      j.append("\\r");
    else if (c == '\n')
      j.append("\\n");
    else
      j.push_back(c);
  }
  return j + "\"";
}

std::string unite(std::span<const std::string_view> righe) {
  std::string t;
  for (const std::string_view r : righe) t.append(r).append("\r\n");
  return t;
}

// The two texts saved in a folder among 100000 other files, as a folder of an author's
// many scenarios may be; removed at the end.
class cartella_affollata {
 public:
  cartella_affollata(const std::string& linea, const std::string& treno) {
    char modello[] = "/tmp/percorso-bench-XXXXXX";
    percorso_ = mkdtemp(modello);
    for (int i = 0; i < 100000; ++i) scrivi("Altro_" + std::to_string(i) + "_linea.txt", "");
    scrivi("Prova_linea.txt", linea);
    scrivi("Prova_1-.txt", treno);
  }
  ~cartella_affollata() { std::filesystem::remove_all(percorso_); }
  std::string uri(const std::string& nome) const { return "file://" + percorso_ + "/" + nome; }

 private:
  void scrivi(const std::string& nome, const std::string& testo) const {
    std::ofstream(percorso_ + "/" + nome, std::ios::binary) << testo;
  }
  std::string percorso_;
};

std::string apri(const std::string& uri, const std::string& testo) {
  return R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":")" +
         uri + R"(","languageId":"percorso","version":1,"text":)" + stringa_json(testo) + "}}}";
}

std::string cambia(const std::string& uri, const std::string& testo, int versione) {
  return R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":{"textDocument":{"uri":")" +
         uri + R"(","version":)" + std::to_string(versione) + R"(},"contentChanges":[{"text":)" +
         stringa_json(testo) + "}]}}";
}

// Where the texts are (by default nowhere on disk) and which are open in the editor.
struct testi_aperti {
  std::string uri_linea = "file:///percorso-bench/Prova_linea.txt";
  std::string uri_treno = "file:///percorso-bench/Prova_1-.txt";
  bool treno_aperto = true;
};

// Each iteration changes the text named (a blank line more or less at its end) and
// waits for the lists of the open texts.
void da_modifica_a_diagnostiche(benchmark::State& stato, const std::string& linea,
                                const std::string& treno, bool cambia_linea,
                                const testi_aperti& a = {}) {
  server s;
  s.manda(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})");
  s.manda(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
  s.manda(apri(a.uri_linea, linea));
  if (a.treno_aperto) s.manda(apri(a.uri_treno, treno));
  // Opening the train text publishes the lists of both texts again.
  const int liste = a.treno_aperto ? 2 : 1;
  if (!s.aspetta_diagnostiche(a.treno_aperto ? 3 : 1))
    stato.SkipWithError("il server non risponde");
  const std::string& uri = cambia_linea ? a.uri_linea : a.uri_treno;
  const std::string testi[] = {cambia_linea ? linea : treno,
                               (cambia_linea ? linea : treno) + "\r\n"};
  int versione = 1;
  for (auto _ : stato) {
    ++versione;
    s.manda(cambia(uri, testi[versione % 2], versione));
    if (!s.aspetta_diagnostiche(liste)) stato.SkipWithError("il server non risponde");
  }
}

void incorporato_treno(benchmark::State& stato) {
  da_modifica_a_diagnostiche(stato, unite(percorso::righe_linea()), unite(percorso::righe_treno()),
                             false);
}

void incorporato_linea(benchmark::State& stato) {
  da_modifica_a_diagnostiche(stato, unite(percorso::righe_linea()), unite(percorso::righe_treno()),
                             true);
}

// The embedded texts in a folder of 100000 files: the line text changed with its train
// text open, and alone.
void incorporato_linea_cartella_100000(benchmark::State& stato, bool treno_aperto) {
  const std::string linea = unite(percorso::righe_linea()), treno = unite(percorso::righe_treno());
  static const cartella_affollata c(linea, treno);
  da_modifica_a_diagnostiche(stato, linea, treno, true,
                             {c.uri("Prova_linea.txt"), c.uri("Prova_1-.txt"), treno_aperto});
}

void sintetica_1000000_linea(benchmark::State& stato) {
  static const auto t = percorso::genera_linea_sintetica(percorso::lunghezza_massima);
  da_modifica_a_diagnostiche(stato, t.linea, t.treno, true);
}

}  // namespace

BENCHMARK(incorporato_treno)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(incorporato_linea)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(incorporato_linea_cartella_100000, treno_aperto, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(incorporato_linea_cartella_100000, treno_su_disco, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(sintetica_1000000_linea)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
