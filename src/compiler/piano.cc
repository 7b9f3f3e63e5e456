// The per-metre plan: walked one metre at a time, turning inside curves.
#include <algorithm>

#include "compiler/compilazione.h"
#include "compiler/passo_piano.h"

namespace percorso {
namespace {

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
  const punto_piano nuovo =
      metro_successivo({p->x[i - 2], p->y[i - 2]}, {p->x[i - 1], p->y[i - 1]}, f);
  p->x[i] = nuovo.x;
  p->y[i] = nuovo.y;
  p->assegnati = static_cast<std::int32_t>(k + 1);
  return true;
}

// The metres da to a (both within the plan, da >= 2) in one run, with the two
// previous points kept in registers.
void passi_piano(compilazione& c, std::int64_t da, std::int64_t a, double f) {
  piano* p = coordinate(c);
  if (p == nullptr || da > a) return;
  double* x = p->x.data();
  double* y = p->y.data();
  auto i = static_cast<std::size_t>(da);
  const auto fine = static_cast<std::size_t>(a);
  punto_piano penultimo{x[i - 2], y[i - 2]}, ultimo{x[i - 1], y[i - 1]};
  for (; i <= fine; ++i) {
    const punto_piano nuovo = metro_successivo(penultimo, ultimo, f);
    penultimo = ultimo;
    ultimo = nuovo;
    x[i] = nuovo.x;
    y[i] = nuovo.y;
  }
  p->assegnati = static_cast<std::int32_t>(a + 1);
}

// Steps the plan up to metre fino; false when the compilation stops.
bool avanza(compilazione& c, std::int64_t fino, double f) {
  // Metres that pass both checks below go in one run; the rest step by step.
  const std::int64_t senza_controlli =
      std::min({fino, c.ultimo_metro_piano, metro_massimo_curve - 1});
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
    if (c.metro_piano > metro_massimo_curve) {
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
  while (classe < curvature_classi.size() &&
         chiave.find(static_cast<char>('1' + classe)) == std::string_view::npos)
    ++classe;
  if (classe == curvature_classi.size()) return c.ferma(103);
  const bool sinistra = chiave.find_first_of("sS") != std::string_view::npos;
  const double f = curvature_classi[classe] * (sinistra ? -1.0 : 1.0);
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
