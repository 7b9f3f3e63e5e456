#include "tempi/corsa.h"

#include <algorithm>
#include <limits>

namespace percorso {
namespace {

constexpr double infinito = std::numeric_limits<double>::infinity();

double m_s(double km_h) {
  return km_h / 3.6;
}

// The way between two stops as stretches of one limit, one gradient, with the author's
// speed points at their starts; asked stop after stop in line order.
class via {
 public:
  via(const corsa& c, const modello& m)
      : limiti_(c.limiti_treno),
        pendenze_(pendenze_della_linea(m)),
        punti_(punti_velocita(m)),
        treno_(c.treno) {}

  std::vector<tratto_marcia> fra(double a, double b) {
    std::vector<tratto_marcia> t;
    // A speed point at a stop limits nothing: the train stands there.
    while (punto_ < punti_.size() && punti_[punto_].posizione <= a) ++punto_;
    double tetto = infinito;
    for (double x = a; x < b;) {
      const gradino limite = gradino_a(limiti_, x, limite_, 0);
      const gradino pendenza = gradino_a(pendenze_, x, pendenza_, 0);
      double fine = std::min({b, limite.fine, pendenza.fine});
      if (punto_ < punti_.size()) fine = std::min(fine, punti_[punto_].posizione);
      t.push_back({fine, m_s(limite.valore), accelerazione_su(treno_, pendenza.valore),
                   decelerazione_su(treno_, pendenza.valore), tetto});
      tetto = infinito;
      for (; punto_ < punti_.size() && punti_[punto_].posizione <= fine; ++punto_)
        if (fine < b) tetto = std::min(tetto, m_s(punti_[punto_].km_h));
      x = fine;
    }
    return t;
  }

 private:
  const profilo& limiti_;
  profilo pendenze_;
  std::vector<punto_velocita> punti_;
  convoglio treno_;
  std::size_t limite_ = 0, pendenza_ = 0, punto_ = 0;
};

std::vector<punto_orario> punti_orari(const modello& m) {
  std::vector<punto_orario> p;
  for (const origine* o : stazioni_del_treno(m)) {
    const punto& s = m.punti[static_cast<std::size_t>(o->valore)];
    if (s.orario == 0) continue;
    // The compiler refuses a station that is not after the one before (code 22), but
    // keeps its entry.
    if (!p.empty() && s.valore_3 <= p.back().posizione) continue;
    p.push_back({o->valore, s.valore_3, s.orario, s.indicatore_2, s.indicatore_2 != 0, 0, 0});
  }
  if (!p.empty()) p.front().ferma = p.back().ferma = true;
  return p;
}

}  // namespace

std::vector<const origine*> stazioni_del_treno(const modello& m) {
  std::vector<const origine*> s;
  for (const origine& o : m.origini)
    if (o.elemento == elemento::stazione && o.valore >= 1 && o.valore < primo_slot_cartelli)
      s.push_back(&o);
  return s;
}

corsa calcola_corsa(const modello& m, const ipotesi& i) {
  corsa c;
  c.treno = convoglio_di(m, i);
  c.limiti = limiti_della_linea(m, 0);
  c.limiti_treno = limiti_della_linea(m, c.treno.lunghezza);
  c.punti = punti_orari(m);
  if (c.punti.size() < 2) return c;
  via v(c, m);
  std::size_t da = 0;
  for (std::size_t k = 1; k < c.punti.size(); ++k) {
    if (!c.punti[k].ferma) continue;
    const punto_orario& partenza = c.punti[da];
    const std::vector<pezzo> pezzi =
        marcia(partenza.posizione, partenza.partenza,
               v.fra(partenza.posizione, c.punti[k].posizione), c.treno.reazione);
    for (std::size_t j = da + 1; j <= k; ++j) {
      punto_orario& p = c.punti[j];
      p.arrivo = p.partenza = tempo_a(pezzi, p.posizione);
    }
    if (k + 1 < c.punti.size()) c.punti[k].partenza += c.punti[k].sosta;
    c.pezzi.insert(c.pezzi.end(), pezzi.begin(), pezzi.end());
    da = k;
  }
  return c;
}

}  // namespace percorso
