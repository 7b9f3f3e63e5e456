// The lines of the two source texts, found by number.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/modello.h"
#include "model/sorgenti.h"

namespace percorso {

// The lines of the two source texts, indexed once so every message finds its line
// without scanning the text again. Lines end at CR LF, LF or CR.
class righe_sorgenti {
 public:
  explicit righe_sorgenti(const sorgenti* testi) {
    if (testi == nullptr) return;
    if (testi->linea) indicizza(*testi->linea, linea_);
    if (testi->treno) indicizza(*testi->treno, treno_);
  }

  std::string riga(fonte f, std::int32_t n) const {
    const indice* t = f == fonte::linea ? &linea_ : f == fonte::treno ? &treno_ : nullptr;
    if (t == nullptr || n < 1 || static_cast<std::size_t>(n) > t->inizi.size()) return {};
    const std::size_t inizio = t->inizi[static_cast<std::size_t>(n) - 1];
    std::size_t fine = inizio;
    while (fine < t->testo.size() && t->testo[fine] != '\r' && t->testo[fine] != '\n') ++fine;
    return {t->testo.begin() + static_cast<std::ptrdiff_t>(inizio),
            t->testo.begin() + static_cast<std::ptrdiff_t>(fine)};
  }

 private:
  struct indice {
    std::span<const std::uint8_t> testo;
    std::vector<std::size_t> inizi;
  };

  static void indicizza(std::span<const std::uint8_t> testo, indice& t) {
    t.testo = testo;
    t.inizi.push_back(0);
    for (std::size_t i = 0; i < testo.size(); ++i) {
      if (testo[i] == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n') ++i;
      if (testo[i] == '\r' || testo[i] == '\n') t.inizi.push_back(i + 1);
    }
  }

  indice linea_, treno_;
};

}  // namespace percorso
