#include "decompile/curve.h"

#include <bit>
#include <cstdlib>

#include "compiler/passo_piano.h"

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

// Past this many, metres no curvature explains are counted, not named.
constexpr std::size_t problemi_nominati = 5;

class lettura_piano {
 public:
  lettura_piano(const piano_letto& p, std::int64_t ultima_cella)
      : p_(p),
        metri_(static_cast<std::int64_t>(p.metri())),
        inizio_massimo_(50 * ultima_cella - 100) {}

  curve_del_piano leggi() {
    if (metri_ == 0 || p_.x[0].tipo == tipo_elemento::vuoto) {
      vuoti_da(0);
      r_.fine = fine_piano::vuoto;
      return std::move(r_);
    }
    inizio_fisso();
    std::int64_t scritti = 2;
    while (scritti < metri_ && tipo(scritti) == tipo_elemento::reale) ++scritti;
    vuoti_da(scritti);
    curvature(scritti);
    righe(scritti);
    fine(scritti);
    if (non_spiegati_ > problemi_nominati)
      r_.problemi.push_back("e altri " + std::to_string(non_spiegati_ - problemi_nominati) +
                            " metri del tracciato che nessuna curva spiega");
    return std::move(r_);
  }

 private:
  tipo_elemento tipo(std::int64_t m) const {
    const auto i = static_cast<std::size_t>(m);
    return p_.x[i].tipo == p_.y[i].tipo ? p_.x[i].tipo : tipo_elemento::vuoto;
  }
  punto_piano punto(std::int64_t m) const {
    const auto i = static_cast<std::size_t>(m);
    return {p_.x[i].valore, p_.y[i].valore};
  }

  void problema(std::int64_t m, const std::string& cosa) {
    r_.problemi.push_back("metro " + std::to_string(m) + " del tracciato: " + cosa);
  }

  // The compiler starts the plan at (0, 0) and (0, 1), as 16-bit whole numbers.
  void inizio_fisso() {
    for (std::int64_t m : {0, 1}) {
      const auto i = static_cast<std::size_t>(m);
      if (metri_ <= m || p_.x[i].tipo != tipo_elemento::intero ||
          p_.y[i].tipo != tipo_elemento::intero || p_.x[i].valore != 0 ||
          p_.y[i].valore != static_cast<double>(m))
        problema(m, "il compilatore vi scrive (0, " + std::to_string(m) + ") come interi");
    }
  }

  void vuoti_da(std::int64_t da) {
    for (std::int64_t m = da; m < metri_; ++m) {
      const auto i = static_cast<std::size_t>(m);
      if (p_.x[i].tipo != tipo_elemento::vuoto || p_.y[i].tipo != tipo_elemento::vuoto) {
        problema(m, "un valore dopo la fine del tracciato scritto");
        return;
      }
    }
  }

  // The curvature of each metre; the one of the metre before is tried first, so that
  // a metre several curvatures explain continues its run.
  void curvature(std::int64_t scritti) {
    codici_.assign(static_cast<std::size_t>(std::max<std::int64_t>(scritti, 2)), 0);
    int prima = 0;
    for (std::int64_t m = 2; m < scritti; ++m) {
      const punto_piano atteso = punto(m);
      const punto_piano a = punto(m - 2), b = punto(m - 1);
      auto spiega = [&](int codice) {
        const punto_piano p = metro_successivo(a, b, curvatura(codice));
        return uguali(p.x, atteso.x) && uguali(p.y, atteso.y);
      };
      int trovato = prima;
      if (!spiega(prima)) {
        trovato = 7;
        for (int c : {0, 1, 2, 3, 4, 5, 6, -1, -2, -3, -4, -5, -6}) {
          if (c != prima && spiega(c)) {
            trovato = c;
            break;
          }
        }
        if (trovato == 7) {
          if (++non_spiegati_ <= problemi_nominati)
            problema(m, "nessuna curva da' queste coordinate (modificate a mano?)");
          trovato = prima;
        }
      }
      codici_[static_cast<std::size_t>(m)] = static_cast<std::int8_t>(trovato);
      prima = trovato;
    }
  }

  int codice(std::int64_t m) const { return codici_[static_cast<std::size_t>(m)]; }

  // One row per run of one curvature. A run that starts past the last position a row
  // may have is reached only by the row of a run that touches it.
  void righe(std::int64_t scritti) {
    for (std::int64_t a = 2; a < scritti;) {
      const int c = codice(a);
      std::int64_t b = a;
      while (b + 1 < scritti && codice(b + 1) == c) ++b;
      if (c != 0) {
        std::int64_t s = a - 1;
        std::string perche;
        if (s > inizio_massimo_) {
          if (codice(a - 1) != 0) {
            s = inizio_massimo_;
            perche =
                "comincia oltre l'ultima posizione di una riga: scritta all'ultima, dentro la "
                "curva precedente, continua da dove quella finisce";
          } else {
            problema(a, "una curva che comincia oltre l'ultima posizione di una riga");
          }
        }
        r_.righe.push_back({s, b - s, std::abs(c), c < 0, perche});
        if (b > metro_massimo_curve)
          problema(b, "una curva oltre il metro " + std::to_string(metro_massimo_curve));
      }
      a = b + 1;
    }
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
  // third metre from the end, a curve row past the plan or past metre 1000000 stops it.
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

  const piano_letto& p_;
  const std::int64_t metri_;
  const std::int64_t inizio_massimo_;
  std::vector<std::int8_t> codici_;
  std::size_t non_spiegati_ = 0;
  curve_del_piano r_;
};

}  // namespace

curve_del_piano curve_dal_piano(const piano_letto& p, std::int64_t ultima_cella) {
  return lettura_piano(p, ultima_cella).leggi();
}

}  // namespace percorso
