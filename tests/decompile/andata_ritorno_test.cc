// The round trip: texts compiled into the three files, the files decompiled, the texts
// compiled again give the same bytes. On the embedded scenario, new's, every text of the
// fuzz corpora that writes binaries, and seeded mutants of the first two.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "../../fuzz/ingressi.h"
#include "app/costruzione.h"
#include "app/decompilazione.h"
#include "format/file_binari.h"
#include "linea_sintetica.h"
#include "writers/nuovo_scenario.h"
#include "writers/scrittori.h"
#include "writers/testi.h"

namespace percorso {
namespace {

// The files a compile of the texts writes, as the decompiler reads them; nothing when
// the compile writes none.
std::optional<compilati_letti> compilati(const sorgenti& s, std::int32_t j) {
  modello m;
  m.nome_percorso = std::string("Prova");
  m.numero_treno = std::string("1");
  if (memorizza_percorso(m, s, j) != stato_costruzione::pronta) return std::nullopt;
  compilati_letti f;
  f.celle = {"Prova_1.dat", immagine_celle(m)};
  f.valori_celle = m.celle;
  f.punti = {"Prova_1.sim", immagine_punti(m)};
  f.valori_punti = m.punti;
  if (j != 0 && m.tracciato) {
    f.piano = file_letto{"Prova_linea.dat", immagine_piano(*m.tracciato)};
    f.metri_piano = m.tracciato->x.size();
  }
  return f;
}

std::string testo(const testo_impaginato& t) {
  std::string s;
  for (const std::string& r : t.righe) s += r + "\n";
  return s;
}

// Why the texts decompiled from f do not give f back; nothing when they do.
std::optional<std::string> ritorno(const compilati_letti& f) {
  const decompilazione d = testi_dei_compilati(f);
  const auto diversa = prova_dei_testi(f, d);
  if (!diversa) return std::nullopt;
  std::string guasti;
  for (const problema& p : d.guasti) guasti += "  " + p.cosa + "\n";
  return diversa->file + " byte " + std::to_string(diversa->byte) + " (" + diversa->dove +
         ")\nguasti:\n" + guasti + "linea:\n" + testo(d.linea) + "treno:\n" + testo(d.treno);
}

std::vector<std::uint8_t> crlf(std::span<const std::string_view> righe) {
  return testo_crlf(righe);
}

TEST(AndataRitorno, EmbeddedScenarioWithAndWithoutPlan) {
  const auto linea = crlf(righe_linea()), treno = crlf(righe_treno());
  for (const std::int32_t j : {1, 0}) {
    const auto f = compilati({linea, treno}, j);
    ASSERT_TRUE(f);
    const auto r = ritorno(*f);
    EXPECT_FALSE(r) << "j " << j << ": " << *r;
  }
}

std::span<const std::uint8_t> byte_di(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// The 1000000 m line compiles without a finding: its texts need no row kept for the bytes.
TEST(AndataRitorno, SyntheticLineOfAMillionMetres) {
  const linea_sintetica l = genera_linea_sintetica(lunghezza_massima);
  const auto f = compilati({byte_di(l.linea), byte_di(l.treno)}, 1);
  ASSERT_TRUE(f);
  const decompilazione d = testi_dei_compilati(*f);
  const auto diversa = prova_dei_testi(*f, d);
  EXPECT_FALSE(diversa) << diversa->file << " byte " << diversa->byte << " (" << diversa->dove
                        << ")";
  EXPECT_TRUE(d.linea.riproduzione.empty() && d.treno.riproduzione.empty());
  EXPECT_TRUE(d.guasti.empty());
  EXPECT_TRUE(d.arresto.empty());
}

TEST(AndataRitorno, NewScenario) {
  modello m;
  m.nome_percorso = std::string("Valle");
  m.numero_treno = std::string("2211");
  const auto testi = testi_nuovo_scenario(m);
  const auto linea = crlf(testi[0].righe), treno = crlf(testi[1].righe);
  const auto f = compilati({linea, treno}, 1);
  ASSERT_TRUE(f);
  const auto r = ritorno(*f);
  EXPECT_FALSE(r) << *r;
}

const std::filesystem::path corpus =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz" / "corpus";

// Every compiler input of the fuzz corpora whose compile writes binaries.
TEST(AndataRitorno, FuzzCorporaThatWriteBinaries) {
  int con_file = 0;
  for (const char* bersaglio : {"fuzz_compilatore", "fuzz_verifica"}) {
    for (const auto& e : std::filesystem::directory_iterator(corpus / bersaglio)) {
      std::ifstream in(e.path(), std::ios::binary);
      const std::vector<std::uint8_t> dati{std::istreambuf_iterator<char>(in),
                                           std::istreambuf_iterator<char>()};
      if (dati.empty()) continue;
      const auto ingresso = fuzz::dividi_ingresso(dati);
      const auto f = compilati(ingresso.testi, ingresso.j);
      if (!f) continue;
      ++con_file;
      const auto r = ritorno(*f);
      EXPECT_FALSE(r) << bersaglio << "/" << e.path().filename() << ": " << *r;
    }
  }
  EXPECT_GE(con_file, 8);
}

// A small generator with the same numbers on every platform.
class casuale {
 public:
  explicit casuale(std::uint64_t seme) : s_(seme) {}
  std::uint64_t prossimo() {
    std::uint64_t z = (s_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }
  std::size_t fino_a(std::size_t n) { return static_cast<std::size_t>(prossimo() % n); }

 private:
  std::uint64_t s_;
};

// The numbers of a line: where each starts and ends.
std::vector<std::pair<std::size_t, std::size_t>> numeri_di(const std::string& r) {
  std::vector<std::pair<std::size_t, std::size_t>> n;
  for (std::size_t i = r.find(','); i < r.size(); ++i) {
    const bool cifra = r[i] >= '0' && r[i] <= '9';
    const bool meno = r[i] == '-' && i + 1 < r.size() && r[i + 1] >= '0' && r[i + 1] <= '9';
    if (!cifra && !meno) continue;
    std::size_t f = i + 1;
    while (f < r.size() && r[f] >= '0' && r[f] <= '9') ++f;
    if (f - i <= 12) n.push_back({i, f});
    i = f;
  }
  return n;
}

// One change an author or a slip of the hand makes: a number changed, a row lost,
// doubled or moved.
void muta(std::vector<std::string>& righe, casuale& c) {
  const std::size_t i = 1 + c.fino_a(righe.size() - 1);
  switch (c.fino_a(6)) {
    case 0:
      righe.erase(righe.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    case 1:
      righe.insert(righe.begin() + static_cast<std::ptrdiff_t>(1 + c.fino_a(righe.size() - 1)),
                   righe[i]);
      return;
    case 2:
      std::swap(righe[i], righe[1 + c.fino_a(righe.size() - 1)]);
      return;
    default: {
      const auto numeri = numeri_di(righe[i]);
      if (numeri.empty()) return;
      const auto [a, b] = numeri[c.fino_a(numeri.size())];
      const long long v = std::stoll(righe[i].substr(a, b - a));
      const long long scarti[] = {1, -1, 25, -25, 50, -50, 100, -100, 500, -1000, 4000};
      const long long nuovo = c.fino_a(5) == 0   ? static_cast<long long>(c.fino_a(300))
                              : c.fino_a(4) == 0 ? -v
                                                 : v + scarti[c.fino_a(std::size(scarti))];
      righe[i].replace(a, b - a, std::to_string(nuovo));
    }
  }
}

std::vector<std::string> copia(std::span<const std::string_view> righe) {
  return {righe.begin(), righe.end()};
}

// Mutants of the embedded scenario and of new's: whatever their compile writes, the
// texts decompiled from it give it back.
TEST(AndataRitorno, SeededMutants) {
  modello m;
  m.nome_percorso = std::string("Valle");
  m.numero_treno = std::string("2211");
  const auto nuovo = testi_nuovo_scenario(m);
  const std::vector<std::string> basi[][2] = {{copia(righe_linea()), copia(righe_treno())},
                                              {copia(nuovo[0].righe), copia(nuovo[1].righe)}};
  casuale c(34);
  int scritti = 0;
  for (int n = 0; n < 300; ++n) {
    std::vector<std::string> testi[2] = {basi[n % 2][0], basi[n % 2][1]};
    for (std::size_t k = 1 + c.fino_a(8); k > 0; --k) muta(testi[c.fino_a(2)], c);
    const auto linea = testo_crlf(std::span<const std::string>(testi[0]));
    const auto treno = testo_crlf(std::span<const std::string>(testi[1]));
    const auto f = compilati({linea, treno}, c.fino_a(5) == 0 ? 0 : 1);
    if (!f) continue;
    ++scritti;
    const auto r = ritorno(*f);
    EXPECT_FALSE(r) << "mutant " << n << ": " << *r;
  }
  EXPECT_GE(scritti, 250);
}

}  // namespace
}  // namespace percorso
