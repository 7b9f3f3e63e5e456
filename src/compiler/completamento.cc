#include "compiler/completamento.h"

#include <algorithm>
#include <cstdint>

namespace percorso {
namespace {

constexpr std::int16_t velocita_aggiunta = 180;

class completamento {
 public:
  explicit completamento(modello& m) : m_(m), ultima_(m.ultima_cella()) {}

  void esegui() {
    for (std::int64_t i = 1; i <= ultima_ - 2; ++i) {
      if (m_.celle[idx(i)].evento == evento::avviso_rallentamento) davanti_ai_segnali(i);
      if (m_.celle[idx(i)].evento == evento::inizio_rallentamento) attorno_al_rallentamento(i);
    }
  }

 private:
  static std::size_t idx(std::int64_t i) { return static_cast<std::size_t>(i); }

  // A cell beyond the array counts as occupied.
  bool libera_a(std::int64_t i) const { return i >= 0 && i <= ultima_ && libera(m_.celle[idx(i)]); }
  bool evento_a(std::int64_t i, std::uint8_t e) const {
    return i >= 0 && i <= ultima_ && m_.celle[idx(i)].evento == e;
  }

  void punto_velocita(std::int64_t i) {
    m_.celle[idx(i)].evento = evento::punto_velocita;
    m_.celle[idx(i)].dato_1 = velocita_aggiunta;
  }

  // The first free cell of the candidates gets a speed point; false when none is free.
  template <std::size_t N>
  bool sul_primo_libero(const std::int64_t (&candidati)[N]) {
    for (const std::int64_t c : candidati) {
      if (libera_a(c)) {
        punto_velocita(c);
        return true;
      }
    }
    return false;
  }

  void registra(std::int32_t codice, std::int64_t cella) {
    m_.registra(codice, static_cast<std::int32_t>(cella * 50), fonte::completamento);
    m_.rilievi.back().cella = static_cast<std::int32_t>(cella);
  }

  // Every signal up to 20 cells before a warning board gets a speed point in front of it.
  void davanti_ai_segnali(std::int64_t i) {
    for (std::int64_t a = 1; a <= 20; ++a) {
      const std::int64_t s = i - a;
      if (s < 3) return;
      if (m_.celle[idx(s)].evento != evento::segnale) continue;
      if (sul_primo_libero({s - 1, s - 2})) continue;
      bool limitato = false;
      for (const std::int64_t c : {s - 1, s - 2}) {
        if (m_.celle[idx(c)].evento == evento::punto_velocita) {
          m_.celle[idx(c)].dato_1 = std::min(velocita_aggiunta, m_.celle[idx(c)].dato_1);
          limitato = true;
          break;
        }
      }
      if (!limitato) registra(11, s);
    }
  }

  void attorno_al_rallentamento(std::int64_t i) {
    const std::int64_t gruppi[3][4] = {
        {7, i - 5, i - 6, i - 7}, {13, i - 11, i - 12, i - 13}, {20, i - 18, i - 19, i - 20}};
    for (const auto& g : gruppi) {
      if (i > g[0] && !sul_primo_libero({g[1], g[2], g[3]})) registra(12, i);
    }
    if (m_.celle[idx(i)].dato_1 >= 110) return;
    const std::int64_t fine = dentro_al_rallentamento(i);
    dopo_il_rallentamento(fine);
  }

  // Speed points every 8 cells inside a slow slowdown; returns its end cell (or the last cell).
  std::int64_t dentro_al_rallentamento(std::int64_t i) {
    std::int64_t contatore = 0;
    std::int64_t passo = i;
    do {
      ++passo;
      ++contatore;
      if (contatore == 8) {
        if (libera_a(passo)) {
          punto_velocita(passo);
          contatore = 0;
        } else if (libera_a(passo - 1)) {
          punto_velocita(passo - 1);
          contatore = 1;
        } else if (libera_a(passo + 1)) {
          punto_velocita(passo + 1);
          contatore = -1;
        } else {
          registra(13, passo);
        }
      }
    } while (!evento_a(passo, evento::fine_rallentamento) && passo < ultima_);
    return passo;
  }

  // A speed point in front of the first signal found in the end cell and the 12 after it.
  void dopo_il_rallentamento(std::int64_t fine) {
    std::int64_t davanti = 0;
    for (std::int64_t c = fine; c <= fine + 12 && c <= ultima_; ++c) {
      if (m_.celle[idx(c)].evento == evento::segnale) {
        davanti = c - 1;
        break;
      }
    }
    if (davanti > 0 && !sul_primo_libero({davanti, davanti - 1})) registra(13, fine);
  }

  modello& m_;
  const std::int64_t ultima_;
};

}  // namespace

void completa_celle(modello& m) {
  completamento(m).esegui();
}

}  // namespace percorso
