#include "decompile/curve.h"

#include <bit>
#include <cstdlib>

#include "compiler/passo_piano.h"
#include "format/decodifica.h"

namespace percorso {
namespace {

// A metre's curvature as a code: 0 straight, +c a right-hand curve of class c, -c a
// left-hand one.
double curvatura(int codice) {
  if (codice == 0) return 0.0;
  const double f = curvature_classi[static_cast<std::size_t>(std::abs(codice) - 1)];
  return codice < 0 ? f * -1.0 : f;
}

bool uguali(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool reale(const elemento_piano& e) {
  return e.tipo == tipo_elemento::reale;
}

// The metre read last and its elements; metro is the count of metres once all are read.
struct letto {
  metri_in_ordine& in_ordine;
  std::int64_t metri;
  std::int64_t metro = -1;
  elemento_piano x{}, y{};

  bool prossimo() {
    if (metro + 1 >= metri) {
      metro = metri;
      return false;
    }
    ++metro;
    in_ordine.prossimo(x, y);
    return true;
  }
};

// Past this many, metres no curvature explains are counted, not named.
constexpr std::size_t problemi_nominati = 5;

class lettura_piano {
 public:
  lettura_piano(std::span<const std::uint8_t> piano, std::size_t metri, std::int64_t ultima_cella)
      : piano_(piano),
        metri_(static_cast<std::int64_t>(metri)),
        inizio_massimo_(50 * ultima_cella - 100) {}

  curve_del_piano leggi() {
    metri_in_ordine in_ordine(piano_, static_cast<std::size_t>(metri_));
    letto m{in_ordine, metri_, -1, {}, {}};
    if (!m.prossimo() || m.x.tipo == tipo_elemento::vuoto) {
      vuoti_da(m);
      r_.fine = fine_piano::vuoto;
      return std::move(r_);
    }
    inizio_fisso(m);
    if (m.prossimo()) inizio_fisso(m);
    penultimo_ = {0, 0};
    ultimo_ = {0, 1};
    while (m.prossimo() && reale(m.x) && reale(m.y)) metro(m.metro, {m.x.valore, m.y.valore});
    const std::int64_t scritti = m.metro;
    chiudi_corsa(scritti - 1);
    vuoti_da(m);
    fine(scritti);
    if (non_spiegati_ > problemi_nominati)
      r_.problemi.push_back("e altri " + std::to_string(non_spiegati_ - problemi_nominati) +
                            " metri del tracciato che nessuna curva spiega");
    return std::move(r_);
  }

 private:
  void problema(std::int64_t m, const std::string& cosa) {
    r_.problemi.push_back("metro " + std::to_string(m) + " del tracciato: " + cosa);
  }

  // The compiler starts the plan at (0, 0) and (0, 1), as 16-bit whole numbers.
  void inizio_fisso(const letto& m) {
    if (m.x.tipo != tipo_elemento::intero || m.y.tipo != tipo_elemento::intero || m.x.valore != 0 ||
        m.y.valore != static_cast<double>(m.metro))
      problema(m.metro,
               "il compilatore vi scrive (0, " + std::to_string(m.metro) + ") come interi");
  }

  // From the metre read last to the end nothing may be written.
  void vuoti_da(letto& m) {
    for (bool altro = m.metro < metri_; altro; altro = m.prossimo()) {
      if (m.x.tipo != tipo_elemento::vuoto || m.y.tipo != tipo_elemento::vuoto) {
        problema(m.metro, "un valore dopo la fine del tracciato scritto");
        return;
      }
    }
  }

  // The curvature of metre m; the one of the metre before is tried first, so that a
  // metre several curvatures explain continues its run.
  void metro(std::int64_t m, const punto_piano& atteso) {
    auto spiega = [&](int codice) {
      const punto_piano p = metro_successivo(penultimo_, ultimo_, curvatura(codice));
      return uguali(p.x, atteso.x) && uguali(p.y, atteso.y);
    };
    int trovato = corsa_;
    if (!spiega(corsa_)) {
      trovato = 7;
      for (int c : {0, 1, 2, 3, 4, 5, 6, -1, -2, -3, -4, -5, -6}) {
        if (c != corsa_ && spiega(c)) {
          trovato = c;
          break;
        }
      }
      if (trovato == 7) {
        if (++non_spiegati_ <= problemi_nominati)
          problema(m, "nessuna curva da' queste coordinate (modificate a mano?)");
        trovato = corsa_;
      }
    }
    penultimo_ = ultimo_;
    ultimo_ = atteso;
    if (trovato == corsa_) return;
    chiudi_corsa(m - 1);
    corsa_ = trovato;
    inizio_corsa_ = m;
  }

  // One row per run of one curvature. A run that starts past the last position a row
  // may have is reached only by the row of a run that touches it.
  void chiudi_corsa(std::int64_t b) {
    const std::int64_t a = inizio_corsa_;
    if (corsa_ == 0 || b < a) {
      corsa_precedente_ = corsa_;
      return;
    }
    std::int64_t s = a - 1;
    std::string perche;
    if (s > inizio_massimo_) {
      if (corsa_precedente_ != 0 && ultimo_curvo() == a - 1) {
        s = inizio_massimo_;
        perche =
            "comincia oltre l'ultima posizione di una riga: scritta all'ultima, dentro la "
            "curva precedente, continua da dove quella finisce";
      } else {
        problema(a, "una curva che comincia oltre l'ultima posizione di una riga");
      }
    }
    r_.righe.push_back({s, b - s, std::abs(corsa_), corsa_ < 0, perche});
    if (b > metro_massimo_curve)
      problema(b, "una curva oltre il metro " + std::to_string(metro_massimo_curve));
    corsa_precedente_ = corsa_;
  }

  std::int64_t ultimo_curvo() const {
    if (r_.righe.empty()) return 1;
    return r_.righe.back().inizio + r_.righe.back().lunghezza;
  }

  // A row that walks the plan straight to metre m and no further.
  void dritto_fino_a(std::int64_t m, std::string perche) {
    if (m > inizio_massimo_) problema(m, "un tratto dritto oltre l'ultima posizione di una riga");
    r_.righe.push_back({m, 0, 1, false, std::move(perche)});
  }

  // Where the compile that wrote the plan stopped: the completion walks straight to the
  // third metre from the end; a curve row that walks to metre 1000000 stops it.
  void fine(std::int64_t scritti) {
    const std::int64_t estesa = metri_ - 1;
    const std::int64_t ultimo = scritti - 1;
    // A curve row may end on the plan's last two metres, which the completion leaves empty.
    if (scritti >= estesa - 1) {
      r_.fine = fine_piano::completo;
      if (ultimo >= estesa - 1 && ultimo_curvo() != ultimo)
        problema(ultimo, "un metro dritto dopo la fine del tracciato completato");
      return;
    }
    if (scritti == metro_massimo_curve + 1) {
      r_.fine = fine_piano::oltre;
      const std::string perche = "va oltre il metro " + std::to_string(metro_massimo_curve) +
                                 ": la compilazione si ferma qui, come quella che ha scritto i "
                                 "file";
      if (ultimo_curvo() == ultimo && !r_.righe.empty()) {
        r_.righe.back().lunghezza = ultimo + 1 - r_.righe.back().inizio;
        r_.righe.back().solo_per = perche;
      } else {
        dritto_fino_a(ultimo, perche);
      }
      return;
    }
    r_.fine = fine_piano::fermato;
    if (ultimo > metro_massimo_curve)
      problema(ultimo,
               "un tracciato non completato oltre il metro " + std::to_string(metro_massimo_curve));
    if (ultimo_curvo() < ultimo)
      dritto_fino_a(ultimo,
                    "lunghezza 0: porta il tracciato dritto fino al metro dove la compilazione "
                    "che ha scritto i file si e' fermata");
  }

  std::span<const std::uint8_t> piano_;
  const std::int64_t metri_;
  const std::int64_t inizio_massimo_;
  punto_piano penultimo_, ultimo_;
  int corsa_ = 0;             // the curvature of the run being read
  int corsa_precedente_ = 0;  // and of the run before it
  std::int64_t inizio_corsa_ = 2;
  std::size_t non_spiegati_ = 0;
  curve_del_piano r_;
};

}  // namespace

curve_del_piano curve_dal_piano(std::span<const std::uint8_t> piano, std::size_t metri,
                                std::int64_t ultima_cella) {
  return lettura_piano(piano, metri, ultima_cella).leggi();
}

}  // namespace percorso
