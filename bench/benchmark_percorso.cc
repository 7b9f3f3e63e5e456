// Benchmarks of the work in memory: compiling and building the binary files.
// Bytes per second count the bytes of the three binary files. The runs on disk
// are measured as whole processes by bench/run, against the floor writer.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/costruzione.h"
#include "app/decompilazione.h"
#include "app/esecuzione.h"
#include "format/decodifica.h"
#include "format/file_binari.h"
#include "format/nomi_file.h"
#include "linea_sintetica.h"
#include "tempi/orario.h"
#include "writers/scrittori.h"
#include "writers/testi.h"

namespace percorso {
namespace {

std::span<const std::uint8_t> byte_di(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

modello con_nomi(std::string_view nome, std::string_view treno) {
  modello m;
  // Moved in, not assigned from a view of a literal: GCC 12 warns falsely (-Wrestrict) on that.
  m.nome_percorso = std::string(nome);
  m.numero_treno = std::string(treno);
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

// The running times of the 1000000 m line: its train's run over the compiled model and
// its timetable checked, against compiling it (above).
void BM_linea_massima_tempi(benchmark::State& state) {
  modello m = modello_sintetico();
  if (const auto errore = compila(m, fonti_massime()); !errore.empty()) {
    state.SkipWithError(errore.c_str());
    return;
  }
  for (auto _ : state) {
    const corsa c = calcola_corsa(m, {});
    const confronto r = confronta_orario(m, c);
    benchmark::DoNotOptimize(r.tratti.data());
  }
  state.counters["tratti"] =
      static_cast<double>(confronta_orario(m, calcola_corsa(m, {})).tratti.size());
}

// The three files of the 1000000 m line as the decompiler reads them: their bytes.
const compilati_letti& file_linea_massima() {
  static const compilati_letti f = [] {
    modello m = modello_sintetico();
    compila(m, fonti_massime());
    compilati_letti letti;
    letti.celle = {"Sintetica_1.dat", immagine_celle(m)};
    letti.punti = {"Sintetica_1.sim", immagine_punti(m)};
    letti.piano = file_letto{"Sintetica_linea.dat", immagine_piano(*m.tracciato)};
    return letti;
  }();
  return f;
}

// The 1000000 m line decompiled from its three files in memory: the files decoded and
// the texts rebuilt, with the proof when provata (the texts compiled, their files built
// and compared).
void misura_decompilazione(benchmark::State& state, bool provata) {
  compilati_letti f = file_linea_massima();
  for (auto _ : state) {
    f.valori_celle = decodifica_celle(f.celle.byte).valore;
    f.valori_punti = decodifica_punti(f.punti.byte).valore;
    const auto metri = metri_del_piano(f.piano->byte);
    if (!metri.ok()) {
      state.SkipWithError("the plan file does not decode");
      return;
    }
    f.metri_piano = metri.valore;
    const decompilazione d = testi_dei_compilati(f);
    if (provata && prova_dei_testi(f, d)) {
      state.SkipWithError("the texts do not give the files back");
      return;
    }
    benchmark::DoNotOptimize(d);
  }
  state.SetBytesProcessed(
      state.iterations() *
      static_cast<std::int64_t>(f.celle.byte.size() + f.punti.byte.size() + f.piano->byte.size()));
}

void BM_linea_massima_decompilazione(benchmark::State& state) {
  misura_decompilazione(state, false);
}

void BM_linea_massima_decompilazione_provata(benchmark::State& state) {
  misura_decompilazione(state, true);
}

// A line text with its length line repeated: each one asks again for the cells and
// the plan of a 1000000 m line, which are made once, so 1000 cost what 1 costs.
void BM_lunghezza_ripetuta(benchmark::State& state) {
  std::string linea = "[generale]\r\n";
  for (std::int64_t i = 0; i < state.range(0); ++i) linea += "lunghezza percorso, 1000000\r\n";
  linea += "[curve]\r\n[fine]\r\n";
  const std::string treno = "[generale]\r\n[fine]\r\n";
  for (auto _ : state) {
    modello m = modello_sintetico();
    if (const auto errore = compila(m, {byte_di(linea), byte_di(treno)}); !errore.empty()) {
      state.SkipWithError(errore.c_str());
      return;
    }
    benchmark::DoNotOptimize(m);
  }
}

BENCHMARK(BM_compilazione_incorporata)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_serializzazione_incorporata)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_linea_massima_compilazione)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linea_massima_serializzazione)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linea_massima_tempi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linea_massima_decompilazione)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linea_massima_decompilazione_provata)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_lunghezza_ripetuta)->Arg(1)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace percorso

BENCHMARK_MAIN();
