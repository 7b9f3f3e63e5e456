#include "tempi/marcia.h"

#include <algorithm>
#include <cmath>

namespace percorso {
namespace {

constexpr double infinito = std::numeric_limits<double>::infinity();

// The squares of the highest speeds the train may have at each node (the start of each
// stretch, and the final stop) and still brake in time for every limit and the stop
// ahead; the run starts and ends at rest.
std::vector<double> in_frenata(std::span<const tratto_marcia> t, std::span<const double> x) {
  std::vector<double> u(t.size() + 1, 0.0);
  for (std::size_t j = t.size(); j-- > 1;) {
    const double tetto = std::min({t[j - 1].limite, t[j].limite, t[j].tetto});
    u[j] = std::min(tetto * tetto, u[j + 1] + 2 * t[j].decelerazione * (x[j + 1] - x[j]));
  }
  return u;
}

// The squares of the speeds the run has at each node: gaining all it can, within u.
std::vector<double> in_trazione(std::span<const tratto_marcia> t, std::span<const double> x,
                                std::span<const double> u) {
  std::vector<double> f(t.size() + 1, 0.0);
  for (std::size_t j = 0; j < t.size(); ++j)
    f[j + 1] = std::min(u[j + 1], f[j] + 2 * t[j].accelerazione * (x[j + 1] - x[j]));
  return f;
}

void metti(std::vector<pezzo>& p, double da, double a, double v_da, double v_a) {
  if (a > da) p.push_back({da, a, v_da, v_a, 0});
}

// The run over one stretch from the square speed f at its start to u at its end: gaining
// speed up to the limit, holding it, braking; or gaining until it must brake.
void pezzi_del_tratto(std::vector<pezzo>& p, double x0, const tratto_marcia& t, double f,
                      double u) {
  const double x1 = t.fine, w2 = t.limite * t.limite;
  const double a = t.accelerazione, b = t.decelerazione;
  const double al_limite = x0 + std::max(0.0, w2 - f) / (2 * a);
  const double frena = x1 - std::max(0.0, w2 - u) / (2 * b);
  if (al_limite <= frena) {
    metti(p, x0, al_limite, std::sqrt(f), t.limite);
    metti(p, al_limite, frena, t.limite, t.limite);
    metti(p, frena, x1, t.limite, std::sqrt(u));
    return;
  }
  const double vetta = std::clamp((u - f + 2 * a * x0 + 2 * b * x1) / (2 * (a + b)), x0, x1);
  const double v = std::sqrt(f + 2 * a * (vetta - x0));
  metti(p, x0, vetta, std::sqrt(f), v);
  metti(p, vetta, x1, v, std::sqrt(u));
}

bool sale(const pezzo& p) {
  return p.v_fine > p.v_inizio;
}
bool scende(const pezzo& p) {
  return p.v_fine < p.v_inizio;
}

// Where in a piece whose speed changes the speed is v.
double dove_nel_pezzo(const pezzo& p, double v) {
  const double v0 = p.v_inizio * p.v_inizio;
  return p.inizio + (v * v - v0) / (p.v_fine * p.v_fine - v0) * (p.fine - p.inizio);
}

// Where on pieces whose speed only rises, or only falls, the speed is v; their first or
// last end when v lies beyond their speeds.
double dove(std::span<const pezzo> lato, double v) {
  const bool in_salita = sale(lato.front());
  const auto oltre = [&](double w) { return in_salita ? w >= v : w <= v; };
  if (oltre(lato.front().v_inizio)) return lato.front().inizio;
  const auto p = std::partition_point(lato.begin(), lato.end(),
                                      [&](const pezzo& q) { return !oltre(q.v_fine); });
  return p == lato.end() ? lato.back().fine : dove_nel_pezzo(*p, v);
}

// The speed held for `reazione` seconds between a rise and the fall after it: where the
// rise reaches it and the fall leaves it lie that many seconds apart. Never below the
// speed at either foot: below the fall's the train need not brake at all, and at the
// rise's it may hold its speed, or keep braking, from before the rise.
double velocita_di_vetta(std::span<const pezzo> salita, std::span<const pezzo> discesa,
                         double reazione) {
  const auto scarto = [&](double v) { return dove(discesa, v) - dove(salita, v) - v * reazione; };
  double basso = std::max(salita.front().v_inizio, discesa.back().v_fine);
  double alto = salita.back().v_fine;
  if (scarto(basso) <= 0) return basso;
  for (int k = 0; k < 64; ++k) {
    const double medio = (basso + alto) / 2;
    (scarto(medio) > 0 ? basso : alto) = medio;
  }
  return basso;
}

// The rise cut at v, the speed held, the fall from v.
void vetta_tagliata(std::vector<pezzo>& p, std::span<const pezzo> salita,
                    std::span<const pezzo> discesa, double v) {
  for (const pezzo& q : salita) {
    if (q.v_fine <= v) {
      p.push_back(q);
    } else {
      metti(p, q.inizio, dove_nel_pezzo(q, v), q.v_inizio, v);
      break;
    }
  }
  metti(p, dove(salita, v), dove(discesa, v), v, v);
  for (const pezzo& q : discesa) {
    if (q.v_inizio <= v)
      p.push_back(q);
    else if (q.v_fine < v)
      metti(p, dove_nel_pezzo(q, v), q.fine, v, q.v_fine);
  }
}

std::vector<pezzo> con_reazione(const std::vector<pezzo>& p, double reazione) {
  std::vector<pezzo> r;
  r.reserve(p.size() + p.size() / 2);
  std::size_t i = 0;
  while (i < p.size()) {
    std::size_t vetta = i;
    while (vetta < p.size() && sale(p[vetta])) ++vetta;
    if (vetta == i || vetta == p.size() || !scende(p[vetta])) {
      r.insert(r.end(), p.begin() + static_cast<std::ptrdiff_t>(i),
               p.begin() + static_cast<std::ptrdiff_t>(std::max(vetta, i + 1)));
      i = std::max(vetta, i + 1);
      continue;
    }
    std::size_t piede = vetta;
    while (piede < p.size() && scende(p[piede])) ++piede;
    const std::span<const pezzo> salita(p.data() + i, vetta - i);
    const std::span<const pezzo> discesa(p.data() + vetta, piede - vetta);
    vetta_tagliata(r, salita, discesa, velocita_di_vetta(salita, discesa, reazione));
    i = piede;
  }
  return r;
}

}  // namespace

double pezzo::tempo_fino(double x) const {
  const double d = x - inizio;
  if (d <= 0) return 0;
  if (v_inizio == v_fine) return v_inizio > 0 ? d / v_inizio : infinito;
  const double q0 = v_inizio * v_inizio;
  const double v = std::sqrt(std::max(0.0, q0 + (v_fine * v_fine - q0) * d / (fine - inizio)));
  return v_inizio + v > 0 ? 2 * d / (v_inizio + v) : infinito;
}

std::vector<pezzo> marcia(double inizio, double partenza, std::span<const tratto_marcia> tratti,
                          double reazione) {
  std::vector<double> x(tratti.size() + 1, inizio);
  for (std::size_t j = 0; j < tratti.size(); ++j) x[j + 1] = tratti[j].fine;
  const std::vector<double> u = in_frenata(tratti, x);
  const std::vector<double> f = in_trazione(tratti, x, u);
  std::vector<pezzo> p;
  p.reserve(3 * tratti.size());
  for (std::size_t j = 0; j < tratti.size(); ++j)
    pezzi_del_tratto(p, x[j], tratti[j], f[j], u[j + 1]);
  if (reazione > 0) p = con_reazione(p, reazione);
  for (pezzo& q : p) {
    q.partenza = partenza;
    partenza += q.durata();
  }
  return p;
}

double tempo_a(std::span<const pezzo> corsa, double x) {
  if (corsa.empty()) return 0;
  const auto p =
      std::partition_point(corsa.begin(), corsa.end(), [&](const pezzo& q) { return q.fine < x; });
  if (p == corsa.end()) return corsa.back().partenza + corsa.back().durata();
  return p->partenza + p->tempo_fino(x);
}

}  // namespace percorso
