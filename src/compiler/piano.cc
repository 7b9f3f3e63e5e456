// The per-metre plan: walked one metre at a time, turning inside curves.
#include <array>

#include "compiler/compilazione.h"

namespace percorso {
namespace {

constexpr std::int64_t metro_massimo = 1000000;

// Curvature per metre of the classes 1 to 6.
constexpr std::array<double, 6> curvature = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

// Writes metre k from the two before it; false when k lies beyond the plan.
bool passo_piano(piano& p, std::int64_t k, double f) {
  if (k > p.ultimo_metro()) return false;
  const auto i = static_cast<std::size_t>(k);
  const double d0 = p.x[i - 1] - p.x[i - 2];
  const double d1 = p.y[i - 1] - p.y[i - 2];
  const double dx = d0 + f * d1;
  const double dy = d1 - f * d0;
  p.x[i] = p.x[i - 1] + dx;
  p.y[i] = p.y[i - 1] + dy;
  p.assegnati = static_cast<std::int32_t>(k + 1);
  return true;
}

// Steps the plan up to metre fino; false when the compilation stops.
bool avanza(compilazione& c, std::int64_t fino, double f) {
  while (c.metro_piano <= fino) {
    if (!passo_piano(*c.m.tracciato, c.metro_piano, f)) {
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
  if (!c.m.tracciato || c.m.tracciato->ultimo_metro() < 1) return c.generale();
  piano& p = *c.m.tracciato;
  p.x[0] = 0;
  p.y[0] = 0;
  p.x[1] = 0;
  p.y[1] = 1;
  p.assegnati = 2;
  return esito::avanti;
}

esito riga_curva(compilazione& c, std::string_view chiave) {
  std::int32_t s = 0, l = 0;
  if (!c.leggi(s) || !c.leggi(l)) return esito::ferma;
  if (const esito e = c.limite(s, 100); e != esito::avanti) return e;
  // The first class digit in the order 1 to 6, not in the order of the field.
  std::size_t classe = 0;
  while (classe < curvature.size() &&
         chiave.find(static_cast<char>('1' + classe)) == std::string_view::npos)
    ++classe;
  if (classe == curvature.size()) return c.ferma(103);
  const bool sinistra = chiave.find_first_of("sS") != std::string_view::npos;
  const double f = curvature[classe] * (sinistra ? -1.0 : 1.0);
  if (s < c.metro_piano - 1)
    c.avvisa("curve-sovrapposte", "la curva inizia a " + std::to_string(s) +
                                      " m, prima della fine della curva precedente");
  if (!avanza(c, s, 0.0) || !avanza(c, std::int64_t{s} + l, f)) return esito::ferma;
  return esito::avanti;
}

esito completa_piano(compilazione& c) {
  piano& p = *c.m.tracciato;
  const std::int64_t fino = std::int64_t{p.ultimo_metro()} - 2;
  // Straight to the end; the last two metres stay empty.
  for (; c.metro_piano <= fino; ++c.metro_piano) passo_piano(p, c.metro_piano, 0.0);
  return esito::avanti;
}

}  // namespace percorso
