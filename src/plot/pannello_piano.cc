#include "plot/pannello_piano.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "plot/etichette.h"

namespace percorso {
namespace {

struct trasformazione {
  double min_x = 0, max_y = 0, scala = 1, ox = 0, oy = 0;
  punto_2d operator()(const punto_2d& p) const {
    return {ox + (p[0] - min_x) * scala, oy + (max_y - p[1]) * scala};
  }
};

class disegno_piano {
 public:
  // The frame fits the metres up to metro_massimo; later ones are drawn only inside it.
  disegno_piano(const tracciato_grafico& p, double metro_massimo, double y_alto,
                double altezza_massima)
      : piano_(p) {
    double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
    bool primo = true;
    for (std::size_t m = 0; m < p.metri(); ++m) {
      const auto q = p.punto_a(m);
      if (!q) continue;
      ultimo_ = m;
      if (static_cast<double>(m) > metro_massimo && !primo) continue;
      if (primo) {
        min_x = max_x = (*q)[0];
        min_y = max_y = (*q)[1];
        primo = false;
      }
      min_x = std::min(min_x, (*q)[0]);
      max_x = std::max(max_x, (*q)[0]);
      min_y = std::min(min_y, (*q)[1]);
      max_y = std::max(max_y, (*q)[1]);
    }
    vuoto_ = primo;
    // A margin around the track leaves room for the labels.
    const double lato = std::max({max_x - min_x, max_y - min_y, 100.0});
    const double bordo = lato * 0.06;
    min_x -= bordo;
    max_x += bordo;
    min_y -= bordo;
    max_y += bordo;
    const double larghezza_utile = larghezza_pagina - margine_sinistro - margine_destro;
    t_.scala = std::min(larghezza_utile / (max_x - min_x), altezza_massima / (max_y - min_y));
    t_.min_x = min_x;
    t_.max_y = max_y;
    larghezza_ = (max_x - min_x) * t_.scala;
    altezza_ = (max_y - min_y) * t_.scala;
    t_.ox = margine_sinistro + (larghezza_utile - larghezza_) / 2;
    t_.oy = y_alto;
    estensione_ = {min_x, min_y, max_x, max_y};
  }

  bool vuoto() const { return vuoto_; }
  double altezza() const { return altezza_; }

  std::optional<punto_2d> a_metro(double metro) const {
    if (vuoto_ || !std::isfinite(metro)) return std::nullopt;
    const double m = std::clamp(std::round(metro), 0.0, static_cast<double>(ultimo_));
    // Step back to a nearby metre that has a point.
    const auto k = static_cast<std::size_t>(m);
    for (std::size_t indietro = 0; indietro <= std::min<std::size_t>(k, 200); ++indietro)
      if (const auto q = piano_.punto_a(k - indietro)) return t_(*q);
    return std::nullopt;
  }

  // The track between two metres as screen polylines, one per unbroken piece.
  std::vector<std::vector<punto_2d>> tratto(double da, double a, double passo = 20,
                                            bool fino_al_bordo = false) const {
    std::vector<std::vector<punto_2d>> pezzi(1);
    if (vuoto_ || !std::isfinite(da) || !std::isfinite(a)) return {};
    const auto inizio = static_cast<std::size_t>(std::clamp(std::round(da), 0.0, double(ultimo_)));
    const auto fine = static_cast<std::size_t>(std::clamp(std::round(a), 0.0, double(ultimo_)));
    // Long stretches get a coarser step: no piece holds more than some thousands of points.
    const double passo_minimo = static_cast<double>(fine - std::min(inizio, fine)) / 5000.0;
    const auto p = static_cast<std::size_t>(std::max({1.0, passo, passo_minimo}));
    for (std::size_t m = inizio; m <= fine; m = (m == fine ? fine + 1 : std::min(m + p, fine))) {
      const auto q = piano_.punto_a(m);
      const bool fuori = q && fino_al_bordo && !area().contiene(t_(*q));
      if (fuori) break;
      if (q)
        pezzi.back().push_back(t_(*q));
      else if (!pezzi.back().empty())
        pezzi.emplace_back();
    }
    return pezzi;
  }

  void griglia(svg& s) const {
    const auto [min_x, min_y, max_x, max_y] = estensione_;
    const double passo = passo_griglia();
    const int dec = decimali_di(passo / 1000);
    const double x0 = t_.ox, y0 = t_.oy, x1 = t_.ox + larghezza_, y1 = t_.oy + altezza_;
    s.rettangolo(x0, y0, larghezza_, altezza_, "fill=\"#fbfbf8\" class=\"asse\"");
    for (const double v : tacche(min_x, max_x, passo)) {
      const double x = t_({v, 0})[0];
      s.linea(x, y0, x, y1, "class=\"griglia\"");
      s.linea(x, y1, x, y1 + 5, "class=\"asse\"");
      s.testo(x, y1 + 18, numero_testo(v / 1000, dec), "class=\"tacca\" text-anchor=\"middle\"");
    }
    for (const double v : tacche(min_y, max_y, passo)) {
      const double y = t_({0, v})[1];
      s.linea(x0, y, x1, y, "class=\"griglia\"");
      s.linea(x0 - 5, y, x0, y, "class=\"asse\"");
      s.testo(x0 - 8, y + 4, numero_testo(v / 1000, dec), "class=\"tacca\" text-anchor=\"end\"");
    }
    s.rettangolo(x0, y0, larghezza_, altezza_, "fill=\"none\" class=\"asse\"");
    s.testo((x0 + x1) / 2, y1 + 36, "x (km), a destra della direzione iniziale",
            "class=\"nome-asse\" text-anchor=\"middle\"");
    s.testo(x0 - 48, (y0 + y1) / 2, "y (km), direzione iniziale",
            "class=\"nome-asse\" text-anchor=\"middle\"", -90);
    // Scale bar in the lower right corner.
    const double barra = passo * t_.scala;
    s.rettangolo(x1 - barra - 20, y1 - 26, barra, 5, "fill=\"#333\"");
    s.testo(x1 - 20 - barra / 2, y1 - 32, numero_testo(passo / 1000, dec) + " km",
            "class=\"tacca\" text-anchor=\"middle\"");
  }

  // The box of the scale bar and its figure, which no label may cover.
  riquadro scala() const {
    const double barra = passo_griglia() * t_.scala;
    const double x1 = t_.ox + larghezza_, y1 = t_.oy + altezza_;
    return {x1 - barra - 24, y1 - 46, x1 - 16, y1 - 19};
  }

  riquadro cornice() const { return {t_.ox, t_.oy, t_.ox + larghezza_, t_.oy + altezza_}; }
  riquadro area() const {
    const riquadro c = cornice();
    return {c.x0 + 2, c.y0 + 2, c.x1 - 2, c.y1 - 2};
  }

 private:
  // The grid's step in metres, which the scale bar shows.
  double passo_griglia() const {
    const auto [min_x, min_y, max_x, max_y] = estensione_;
    return passo_tondo(std::max(max_x - min_x, max_y - min_y) / 1000.0, 8) * 1000;
  }

  const tracciato_grafico& piano_;
  trasformazione t_;
  std::size_t ultimo_ = 0;
  bool vuoto_ = true;
  double larghezza_ = 0, altezza_ = 0;
  std::array<double, 4> estensione_{};
};

double cella_metri(std::size_t i) {
  return static_cast<double>(i) * metri_cella;
}

// The track, the stretch beyond the line, mountain sides, slowdowns and stations.
void binari(svg& s, const linea_grafico& l, const disegno_piano& d) {
  const double metro_finale = cella_metri(l.celle.size());
  for (const tratto_celle& m : l.montagne)
    polilinee(s, d.tratto(cella_metri(m.prima), cella_metri(m.ultima + 1), 10),
              "class=\"montagna\"");
  polilinee(s, d.tratto(l.lunghezza_linea, metro_finale, 20, true), "class=\"prolungamento\"");
  polilinee(s, d.tratto(0, l.lunghezza_linea), "class=\"binario\"");
  for (const tratto_celle& r : l.rallentamenti)
    polilinee(s, d.tratto(cella_metri(r.prima), cella_metri(r.ultima), 10),
              "class=\"rallentamento\"");
  for (const stazione_grafico& st : l.stazioni)
    polilinee(s, d.tratto(st.inizio, st.fine, 10), "class=\"area-stazione\"");
}

// Signals, warning boards and stations; their marks are kept free of labels.
etichettatore segni(svg& s, const linea_grafico& l, const disegno_piano& d) {
  // Labels keep off the track: its points are obstacles.
  std::vector<punto_2d> ostacoli;
  for (const auto& p : d.tratto(0, cella_metri(l.celle.size()), 100))
    ostacoli.insert(ostacoli.end(), p.begin(), p.end());
  etichettatore e(d.area(), std::move(ostacoli));
  e.riserva(d.scala());
  for (const std::size_t i : l.segnali) {
    if (const auto p = d.a_metro(cella_metri(i))) {
      s.cerchio((*p)[0], (*p)[1], 3.2, "class=\"segnale\"");
      e.riserva({(*p)[0] - 4, (*p)[1] - 4, (*p)[0] + 4, (*p)[1] + 4});
    }
  }
  for (const std::size_t i : l.avvisi)
    if (const auto p = d.a_metro(cella_metri(i))) triangolo(s, *p, 5, "avviso");
  for (const stazione_grafico& st : l.stazioni) {
    if (const auto p = d.a_metro(st.posizione)) {
      s.cerchio((*p)[0], (*p)[1], 5, "class=\"stazione\"");
      e.riserva({(*p)[0] - 6, (*p)[1] - 6, (*p)[0] + 6, (*p)[1] + 6});
      e.segno(*p);
    }
  }
  return e;
}

// The names: stations first, as they matter most and take the places nearest their
// marks; then mountain sides, boards, slowdowns, the end and the start.
void nomi(svg& s, const linea_grafico& l, const disegno_piano& d, etichettatore& e) {
  for (const stazione_grafico& st : l.stazioni)
    if (const auto p = d.a_metro(st.posizione)) e.metti(s, *p, st.nome, "nome-stazione", 13);
  for (const tratto_celle& m : l.montagne) {
    if (m.nome.empty()) continue;
    if (const auto p = d.a_metro(cella_metri((m.prima + m.ultima) / 2)))
      e.metti(s, *p, m.nome, "nome-galleria", 11);
  }
  for (const auto& [i, testo] : l.cartelli) {
    if (const auto p = d.a_metro(cella_metri(i))) {
      s.rettangolo((*p)[0] - 3, (*p)[1] - 3, 6, 6, "class=\"avviso\" fill=\"#6b4310\"");
      e.metti(s, *p, testo, "nome-galleria", 11);
    }
  }
  // A few slowdowns are named on the plan; a crowd of them only on the profile.
  constexpr std::size_t rallentamenti_nominati = 40;
  for (std::size_t k = 0; k < l.rallentamenti.size() && k < rallentamenti_nominati; ++k) {
    const tratto_celle& r = l.rallentamenti[k];
    if (const auto p = d.a_metro(cella_metri((r.prima + r.ultima) / 2)))
      e.metti(s, *p, "rallentamento " + std::to_string(r.valore) + " km/h", "nome-rallentamento",
              11);
  }
  if (const auto p = d.a_metro(l.lunghezza_linea)) {
    s.cerchio((*p)[0], (*p)[1], 3.5, "fill=\"#111\"");
    e.metti(s, *p,
            "fine della linea (" + l.km.luogo(static_cast<std::int64_t>(l.lunghezza_linea)) + ")",
            "", 12, "fine della linea");
  }
  const bool stazione_in_partenza = std::any_of(l.stazioni.begin(), l.stazioni.end(),
                                                [](const auto& st) { return st.posizione <= 100; });
  if (const auto p = d.a_metro(0); p && !stazione_in_partenza)
    e.metti(s, *p, "inizio (" + l.km.luogo(0) + ")", "", 12, "inizio");
}

}  // namespace

double pannello_piano(svg& s, const linea_grafico& l, double y, disegno_linea& g) {
  s.testo(margine_sinistro, y + 18, "Tracciato in scala", "class=\"pannello\"");
  // The frame holds the line and a little of the cells beyond it.
  const disegno_piano d(*l.piano, l.lunghezza_linea + oltre_la_fine(l.lunghezza_linea), y + 32,
                        820);
  if (d.vuoto()) {
    s.testo(margine_sinistro, y + 50, "il file del tracciato non ha coordinate", "");
    return y + 70;
  }
  d.griglia(s);
  for (std::size_t i = 0; i < l.celle.size(); ++i) {
    const auto p = d.a_metro(cella_metri(i));
    g.mappa.push_back(p && d.area().contiene(*p) ? p : std::nullopt);
  }
  binari(s, l, d);
  const riquadro c = d.cornice();
  s.apri_etichette(c.x0, c.y0, c.x1, c.y1);
  etichettatore e = segni(s, l, d);
  nomi(s, l, d, e);
  s.chiudi_gruppo();
  return y + 32 + d.altezza() + 48;
}

}  // namespace percorso
