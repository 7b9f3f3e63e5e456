#include "tempi/profilo.h"

#include <algorithm>
#include <limits>

#include "format/formato.h"
#include "format/unita_celle.h"

namespace percorso {
namespace {

void aggiungi(profilo& p, const gradino& g) {
  if (!p.empty() && p.back().fine == g.inizio && p.back().valore == g.valore)
    p.back().fine = g.fine;
  else
    p.push_back(g);
}

// The runs of cells whose field holds one value; cell k covers [50 k, 50 k + 50).
template <typename Campo>
profilo per_celle(const modello& m, Campo campo) {
  profilo p;
  for (std::size_t k = 0; k < m.celle.size(); ++k) {
    const double inizio = static_cast<double>(k) * metri_per_cella;
    aggiungi(p, {inizio, inizio + metri_per_cella, static_cast<double>(campo(m.celle[k]))});
  }
  return p;
}

struct limite {
  double inizio = 0, fine = 0, km_h = 0;
};

// The lowest limit in force at each point, each holding over [inizio, fine + coda):
// a sweep along the line with the limits in force on a heap, lowest on top.
profilo inviluppo(std::vector<limite> limiti, double coda) {
  std::sort(limiti.begin(), limiti.end(),
            [](const limite& a, const limite& b) { return a.inizio < b.inizio; });
  struct in_vigore {
    double km_h = 0, fine = 0;
  };
  const auto piu_alto = [](const in_vigore& a, const in_vigore& b) { return a.km_h > b.km_h; };
  std::vector<in_vigore> heap;
  profilo p;
  std::size_t i = 0;
  double x = limiti.empty() ? 0 : limiti.front().inizio;
  while (i < limiti.size() || !heap.empty()) {
    for (; i < limiti.size() && limiti[i].inizio <= x; ++i) {
      if (limiti[i].fine + coda <= limiti[i].inizio) continue;
      heap.push_back({limiti[i].km_h, limiti[i].fine + coda});
      std::push_heap(heap.begin(), heap.end(), piu_alto);
    }
    // A limit below the top that has ended is dropped once it comes to the top.
    while (!heap.empty() && heap.front().fine <= x) {
      std::pop_heap(heap.begin(), heap.end(), piu_alto);
      heap.pop_back();
    }
    const double prossimo =
        i < limiti.size() ? limiti[i].inizio : std::numeric_limits<double>::infinity();
    if (heap.empty()) {
      x = prossimo;
      continue;
    }
    const double fine = std::min(heap.front().fine, prossimo);
    aggiungi(p, {x, fine, heap.front().km_h});
    x = fine;
  }
  return p;
}

}  // namespace

profilo limiti_della_linea(const modello& m, double lunghezza_treno) {
  std::vector<limite> limiti;
  for (const gradino& g : per_celle(m, [](const cella& c) { return velocita_km_h(c.velocita); }))
    limiti.push_back({g.inizio, g.fine, g.valore});
  for (const origine& o : m.origini)
    if (o.elemento == elemento::rallentamento)
      limiti.push_back({static_cast<double>(o.inizio), static_cast<double>(o.fine),
                        static_cast<double>(std::max(o.valore, 0))});
  return inviluppo(std::move(limiti), lunghezza_treno);
}

profilo pendenze_della_linea(const modello& m) {
  return per_celle(m, [](const cella& c) { return pendenza_per_mille(c.pendenza); });
}

gradino gradino_a(const profilo& p, double x, std::size_t& da, double fuori) {
  while (da < p.size() && p[da].fine <= x) ++da;
  if (da == p.size()) return {x, std::numeric_limits<double>::infinity(), fuori};
  if (p[da].inizio > x) return {x, p[da].inizio, fuori};
  return {x, p[da].fine, p[da].valore};
}

std::vector<punto_velocita> punti_velocita(const modello& m) {
  // The cells hold two kinds of speed point alike: the author's `abbattimento` rows and
  // those the completion pass adds at 180 km/h around slowdowns and before signals, where
  // it may also lower an author's to 180. Only the author's are limits: they are taken,
  // with the speed as written, from the origins the compiler records for each row, never
  // from the cells' events. A point without a speed (0 or less) limits nothing.
  std::vector<punto_velocita> p;
  for (const origine& o : m.origini)
    if (o.elemento == elemento::abbattimento && o.valore > 0)
      p.push_back({static_cast<double>(o.inizio), static_cast<double>(o.valore)});
  std::sort(p.begin(), p.end(), [](const punto_velocita& a, const punto_velocita& b) {
    return a.posizione < b.posizione;
  });
  return p;
}

}  // namespace percorso
