// Benchmarks of the run and its parts, against a baseline that only writes the
// same bytes into the same files. Bytes per second count the bytes the step
// produces: the three binary files, or every file the run writes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/costruzione.h"
#include "app/esecuzione.h"
#include "format/file_binari.h"
#include "format/nomi_file.h"
#include "linea_sintetica.h"
#include "platform/file_system.h"
#include "writers/scrittori.h"
#include "writers/testi.h"

namespace percorso {
namespace {

// A scratch directory, removed with its content at the end.
class cartella_di_prova {
 public:
  cartella_di_prova() {
    std::string modello =
        (std::filesystem::temp_directory_path() / "percorso-bench-XXXXXX").string();
    if (::mkdtemp(modello.data()) != nullptr) percorso_ = modello;
  }
  ~cartella_di_prova() {
    std::error_code ec;
    if (!percorso_.empty()) std::filesystem::remove_all(percorso_, ec);
  }
  cartella_di_prova(const cartella_di_prova&) = delete;
  cartella_di_prova& operator=(const cartella_di_prova&) = delete;

  bool valida() const { return !percorso_.empty(); }
  const std::string& percorso() const { return percorso_; }

 private:
  std::string percorso_;
};

std::span<const std::uint8_t> byte_di(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

modello con_nomi(std::string_view nome, std::string_view treno) {
  modello m;
  m.nome_percorso = nome;
  m.numero_treno = treno;
  return m;
}

modello modello_incorporato() {
  return con_nomi(nome_percorso_incorporato, numero_treno_incorporato);
}

// The two source texts of the embedded scenario, as the run writes them.
struct testi_incorporati {
  std::vector<std::uint8_t> linea = testo_crlf(righe_linea());
  std::vector<std::uint8_t> treno = testo_crlf(righe_treno());
  sorgenti fonti() const { return {linea, treno}; }
};

// One file as the run leaves it: name and bytes.
using file_scritto = std::pair<std::string, std::vector<std::uint8_t>>;

std::vector<file_scritto> immagini(const modello& m) {
  std::vector<file_scritto> file;
  if (m.flag_tracciato != 0 && m.tracciato)
    file.emplace_back(nome_file_piano(m), immagine_piano(*m.tracciato));
  file.emplace_back(nome_file_punti(m), immagine_punti(m));
  file.emplace_back(nome_file_celle(m), immagine_celle(m));
  return file;
}

std::int64_t totale(const std::vector<file_scritto>& file) {
  std::int64_t n = 0;
  for (const auto& f : file) n += static_cast<std::int64_t>(f.second.size());
  return n;
}

// Compiles and checks the outcome; an error text when the work was not the real one.
std::string compila(modello& m, const sorgenti& s) {
  if (memorizza_percorso(m, s, 1) != stato_costruzione::pronta) return "build did not finish";
  if (m.codice_errore != 0) return "compile recorded code " + std::to_string(m.codice_errore);
  return {};
}

// Every file of the embedded run with the bytes the run writes, in the run's order.
std::vector<file_scritto> file_della_esecuzione() {
  modello m = modello_incorporato();
  std::vector<file_scritto> file;
  for (const auto& t : testi_del_percorso(m)) file.emplace_back(t.nome, testo_crlf(t.righe));
  const testi_incorporati testi;
  if (!compila(m, testi.fonti()).empty()) return {};
  for (auto& f : immagini(m)) file.push_back(std::move(f));
  return file;
}

// (a) The embedded scenario: texts to model, completion, check codes.
void BM_compilazione_incorporata(benchmark::State& state) {
  const testi_incorporati testi;
  modello prova = modello_incorporato();
  compila(prova, testi.fonti());
  const std::int64_t byte = totale(immagini(prova));
  for (auto _ : state) {
    modello m = modello_incorporato();
    if (const auto errore = compila(m, testi.fonti()); !errore.empty()) {
      state.SkipWithError(errore.c_str());
      return;
    }
    benchmark::DoNotOptimize(m);
  }
  state.SetBytesProcessed(state.iterations() * byte);
}

// Builds the three binary files of a compiled model in memory, over and over.
void misura_immagini(benchmark::State& state, modello m, const sorgenti& fonti) {
  if (const auto errore = compila(m, fonti); !errore.empty()) {
    state.SkipWithError(errore.c_str());
    return;
  }
  std::int64_t byte = 0;
  for (auto _ : state) {
    auto file = immagini(m);
    byte = totale(file);
    benchmark::DoNotOptimize(file.data());
  }
  state.SetBytesProcessed(state.iterations() * byte);
}

// (b) The three binary files of the embedded scenario, built in memory.
void BM_serializzazione_incorporata(benchmark::State& state) {
  const testi_incorporati testi;
  misura_immagini(state, modello_incorporato(), testi.fonti());
}

// (c) The whole run without arguments, in a scratch directory.
void BM_esecuzione_completa(benchmark::State& state) {
  cartella_di_prova cartella;
  const auto fs = file_system_reale();
  const std::int64_t byte = totale(file_della_esecuzione());
  if (!cartella.valida() || byte == 0) {
    state.SkipWithError("no scratch directory or no model");
    return;
  }
  for (auto _ : state) {
    const esito_esecuzione e = esegui_percorso(*fs, cartella.percorso());
    if (e.esito != esito_esecuzione::tipo::ok) {
      state.SkipWithError(("run did not end cleanly: " + e.causa).c_str());
      return;
    }
  }
  state.SetBytesProcessed(state.iterations() * byte);
}

// (e) Only the file work of the run: the same bytes into the same files by the
// same replace-by-rename, and the two source texts removed again, as the run
// leaves them. Nothing is computed.
void BM_solo_scrittura(benchmark::State& state) {
  cartella_di_prova cartella;
  const auto fs = file_system_reale();
  const auto file = file_della_esecuzione();
  if (!cartella.valida() || file.empty()) {
    state.SkipWithError("no scratch directory or no model");
    return;
  }
  std::vector<std::string> percorsi;
  for (const auto& f : file) percorsi.push_back(unisci(cartella.percorso(), f.first));
  for (auto _ : state) {
    for (std::size_t i = 0; i < file.size(); ++i) {
      if (fs->sostituisci(percorsi[i], file[i].second)) {
        state.SkipWithError("write failed");
        return;
      }
    }
    // The line and train descriptions are the first two files.
    fs->elimina(percorsi[0]);
    fs->elimina(percorsi[1]);
  }
  state.SetBytesProcessed(state.iterations() * totale(file));
}

const linea_sintetica& linea_massima() {
  static const linea_sintetica l = genera_linea_sintetica(lunghezza_massima);
  return l;
}

sorgenti fonti_massime() {
  return {byte_di(linea_massima().linea), byte_di(linea_massima().treno)};
}

modello modello_sintetico() {
  return con_nomi("Sintetica", "1");
}

// (d) The 1000000 m line compiled in memory.
void BM_linea_massima_compilazione(benchmark::State& state) {
  std::int64_t byte = 0;
  for (auto _ : state) {
    modello m = modello_sintetico();
    if (const auto errore = compila(m, fonti_massime()); !errore.empty()) {
      state.SkipWithError(errore.c_str());
      return;
    }
    benchmark::DoNotOptimize(m);
    if (byte == 0) {
      state.PauseTiming();
      byte = totale(immagini(m));
      state.ResumeTiming();
    }
  }
  state.SetBytesProcessed(state.iterations() * byte);
  state.counters["testo_byte"] =
      static_cast<double>(linea_massima().linea.size() + linea_massima().treno.size());
}

// The three binary files of the 1000000 m line, built in memory.
void BM_linea_massima_serializzazione(benchmark::State& state) {
  misura_immagini(state, modello_sintetico(), fonti_massime());
}

// The 1000000 m line compiled and written into a scratch directory.
void BM_linea_massima_su_disco(benchmark::State& state) {
  cartella_di_prova cartella;
  const auto fs = file_system_reale();
  if (!cartella.valida()) {
    state.SkipWithError("no scratch directory");
    return;
  }
  std::int64_t byte = 0;
  for (auto _ : state) {
    esito_esecuzione e =
        costruisci_e_scrivi(*fs, modello_sintetico(), fonti_massime(), 1, cartella.percorso());
    if (e.esito != esito_esecuzione::tipo::ok) {
      state.SkipWithError(("build did not end cleanly: " + e.causa).c_str());
      return;
    }
    if (byte == 0) {
      state.PauseTiming();
      byte = totale(immagini(e.m));
      state.ResumeTiming();
    }
  }
  state.SetBytesProcessed(state.iterations() * byte);
}

// Baseline of the above: the same three files written, nothing computed.
void BM_linea_massima_solo_scrittura(benchmark::State& state) {
  cartella_di_prova cartella;
  const auto fs = file_system_reale();
  modello m = modello_sintetico();
  if (!cartella.valida() || !compila(m, fonti_massime()).empty()) {
    state.SkipWithError("no scratch directory or no model");
    return;
  }
  const auto file = immagini(m);
  for (auto _ : state) {
    for (const auto& [nome, dati] : file) {
      if (fs->sostituisci(unisci(cartella.percorso(), nome), dati)) {
        state.SkipWithError("write failed");
        return;
      }
    }
  }
  state.SetBytesProcessed(state.iterations() * totale(file));
}

BENCHMARK(BM_compilazione_incorporata)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_serializzazione_incorporata)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_esecuzione_completa)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_solo_scrittura)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_linea_massima_compilazione)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linea_massima_serializzazione)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linea_massima_su_disco)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_linea_massima_solo_scrittura)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace percorso

BENCHMARK_MAIN();
