// The per-metre plan: walked one metre at a time, turning inside curves.
#include <algorithm>
#include <array>

#include "compiler/compilazione.h"

namespace percorso {
namespace {

constexpr std::int64_t metro_massimo = 1000000;

// Curvature per metre of the classes 1 to 6.
constexpr std::array<double, 6> curvature = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

// The plan's coordinates, or nullptr when they are only counted.
piano* coordinate(compilazione& c) {
  return c.m.tracciato ? &*c.m.tracciato : nullptr;
}

// Writes metre k from the two before it; false when k lies beyond the plan.
bool passo_piano(compilazione& c, std::int64_t k, double f) {
  if (k > c.ultimo_metro_piano) return false;
  piano* p = coordinate(c);
  if (p == nullptr) return true;
  const auto i = static_cast<std::size_t>(k);
  const double d0 = p->x[i - 1] - p->x[i - 2];
  const double d1 = p->y[i - 1] - p->y[i - 2];
  const double dx = d0 + f * d1;
  const double dy = d1 - f * d0;
  p->x[i] = p->x[i - 1] + dx;
  p->y[i] = p->y[i - 1] + dy;
  p->assegnati = static_cast<std::int32_t>(k + 1);
  return true;
}

// The metres da to a (both within the plan, da >= 2) in one run, with the two
// previous points kept in registers; the same arithmetic as passo_piano.
void passi_piano(compilazione& c, std::int64_t da, std::int64_t a, double f) {
  piano* p = coordinate(c);
  if (p == nullptr || da > a) return;
  double* x = p->x.data();
  double* y = p->y.data();
  auto i = static_cast<std::size_t>(da);
  const auto fine = static_cast<std::size_t>(a);
  double x2 = x[i - 2], x1 = x[i - 1];
  double y2 = y[i - 2], y1 = y[i - 1];
  for (; i <= fine; ++i) {
    const double d0 = x1 - x2;
    const double d1 = y1 - y2;
    const double dx = d0 + f * d1;
    const double dy = d1 - f * d0;
    x2 = x1;
    y2 = y1;
    x1 += dx;
    y1 += dy;
    x[i] = x1;
    y[i] = y1;
  }
  p->assegnati = static_cast<std::int32_t>(a + 1);
}

// Steps the plan up to metre fino; false when the compilation stops.
bool avanza(compilazione& c, std::int64_t fino, double f) {
  // Metres that pass both checks below go in one run; the rest step by step.
  const std::int64_t senza_controlli = std::min({fino, c.ultimo_metro_piano, metro_massimo - 1});
  if (c.metro_piano <= senza_controlli) {
    passi_piano(c, c.metro_piano, senza_controlli, f);
    c.metro_piano = senza_controlli + 1;
  }
  while (c.metro_piano <= fino) {
    if (!passo_piano(c, c.metro_piano, f)) {
      c.generale();
      return false;
    }
    ++c.metro_piano;
    if (c.metro_piano > metro_massimo) {
      c.ferma(103);
      return false;
    }
  }
  return true;
}

}  // namespace

esito inizio_piano(compilazione& c) {
  if (c.ultimo_metro_piano < 1) return c.generale();
  if (piano* p = coordinate(c)) {
    p->x[0] = 0;
    p->y[0] = 0;
    p->x[1] = 0;
    p->y[1] = 1;
    p->assegnati = 2;
  }
  return esito::avanti;
}

esito riga_curva(compilazione& c, std::string_view chiave) {
  std::int32_t s = 0, l = 0;
  if (!c.leggi(s) || !c.leggi(l)) return esito::ferma;
  if (const esito e = c.limite(s); e != esito::avanti) return e;
  // The first class digit in the order 1 to 6, not in the order of the field.
  std::size_t classe = 0;
  while (classe < curvature.size() &&
         chiave.find(static_cast<char>('1' + classe)) == std::string_view::npos)
    ++classe;
  if (classe == curvature.size()) return c.ferma(103);
  const bool sinistra = chiave.find_first_of("sS") != std::string_view::npos;
  const double f = curvature[classe] * (sinistra ? -1.0 : 1.0);
  const auto numero = static_cast<std::int32_t>(classe + 1);
  c.traccia(elemento::curva, s, satura_32(std::int64_t{s} + l), sinistra ? -numero : numero);
  // Before any curve the plan metre stands at 2 whatever the first start.
  if (c.metro_piano > 2 && s < c.metro_piano - 1)
    c.avvisa(genere::curve_sovrapposte,
             testo_di(genere::curve_sovrapposte, {std::to_string(s) + " m"}));
  if (!avanza(c, s, 0.0) || !avanza(c, std::int64_t{s} + l, f)) return esito::ferma;
  return esito::avanti;
}

esito completa_piano(compilazione& c) {
  const std::int64_t fino = c.ultimo_metro_piano - 2;
  // Straight to the end; the last two metres stay empty.
  if (c.metro_piano <= fino) {
    passi_piano(c, c.metro_piano, fino, 0.0);
    c.metro_piano = fino + 1;
  }
  return esito::avanti;
}

}  // namespace percorso
