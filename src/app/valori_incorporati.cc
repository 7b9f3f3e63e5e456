#include "app/valori_incorporati.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "model/numeri.h"
#include "sintassi/cammino.h"
#include "writers/testi.h"

namespace percorso {
namespace {

// The rows of the embedded texts, read as the compiler reads them, once.
struct riga_incorporata {
  const parola_chiave* k;
  std::string_view chiave;  // the keyword field as written
  campi_riga campi;
};

class testi_incorporati {
 public:
  testi_incorporati(const testi_incorporati&) = delete;
  testi_incorporati& operator=(const testi_incorporati&) = delete;
  testi_incorporati() {
    leggi(linea_, righe_linea(), true);
    leggi(treno_, righe_treno(), false);
  }
  const std::vector<riga_incorporata>& righe() const { return righe_; }

 private:
  void leggi(std::string& testo, std::span<const std::string_view> righe, bool della_linea) {
    for (const std::string_view r : righe) testo.append(r).append("\r\n");
    const std::span<const std::uint8_t> byte(reinterpret_cast<const std::uint8_t*>(testo.data()),
                                             testo.size());
    cammino_righe w(byte, della_linea);
    while (const auto c = w.prossima()) {
      if (c->tipo != voce::chiave) continue;
      for (const parola_chiave& k : parole_chiave()) {
        if (k.dove != c->dove || !corrisponde(k, c->campo.testo)) continue;
        riga_incorporata r{&k, c->campo.testo, {}};
        w.campi(k, r.campi);
        righe_.push_back(r);
      }
    }
  }

  std::string linea_, treno_;  // the fields point into them
  std::vector<riga_incorporata> righe_;
};

const std::vector<riga_incorporata>& tutte_le_righe() {
  static const testi_incorporati testi;
  return testi.righe();
}

std::string righe(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " riga" : " righe");
}

// How many rows write each value, in the order of their first row.
using usi_valori = std::vector<std::pair<std::string, std::size_t>>;

void conta(usi_valori& usi, std::string valore) {
  const auto i =
      std::find_if(usi.begin(), usi.end(), [&](const auto& u) { return u.first == valore; });
  if (i == usi.end())
    usi.emplace_back(std::move(valore), 1);
  else
    ++i->second;
}

// "12 (10 righe), 4 (2 righe)": each value and the rows that write it, most used first.
std::string elenco_usi(usi_valori usi) {
  std::stable_sort(usi.begin(), usi.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  std::string s;
  for (const auto& [valore, volte] : usi)
    s.append(s.empty() ? "" : ", ").append(valore).append(" (").append(righe(volte)).append(")");
  return s;
}

}  // namespace

std::string valori_incorporati(const parola_chiave& k, std::size_t i) {
  usi_valori usi;
  std::size_t n = 0;
  std::int64_t minimo = 0, massimo = 0;
  const bool testo = k.campi[i].tipo == larghezza::testo;
  for (const riga_incorporata& r : tutte_le_righe()) {
    if (r.k != &k || i >= r.campi.letti) continue;
    const campo_sorgente& f = r.campi.campi[i];
    const auto v = static_cast<std::int64_t>(arrotonda(f.numero));
    minimo = n == 0 ? v : std::min(minimo, v);
    massimo = n == 0 ? v : std::max(massimo, v);
    std::string valore = std::to_string(v);
    if (testo) valore.assign(1, '\'').append(f.testo.substr(0, 40)).append(1, '\'');
    conta(usi, std::move(valore));
    ++n;
  }
  if (n == 0) return "nessuna riga";
  if (usi.size() == 1 && n <= 2) return usi.front().first + (n == 2 ? " in entrambe le righe" : "");
  if (usi.size() == 1) return usi.front().first + " in tutte le " + righe(n);
  if (testo) return std::to_string(usi.size()) + " testi, come " + usi.front().first;
  if (usi.size() > 6)
    return "da " + std::to_string(minimo) + " a " + std::to_string(massimo) + ", in " + righe(n);
  return elenco_usi(usi);
}

std::string righe_incorporate(const parola_chiave& k) {
  usi_valori usi;
  std::size_t n = 0;
  for (const riga_incorporata& r : tutte_le_righe()) {
    if (r.k != &k) continue;
    conta(usi, std::string(r.chiave));
    ++n;
  }
  if (n == 0) return "nessuna riga";
  if (k.valori_chiave.empty()) return righe(n);
  return elenco_usi(usi);
}

}  // namespace percorso
