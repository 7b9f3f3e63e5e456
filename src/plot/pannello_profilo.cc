#include "plot/pannello_profilo.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "format/unita_celle.h"
#include "plot/etichette.h"
#include "plot/pagina.h"

namespace percorso {
namespace {

class asse_km {
 public:
  asse_km(double metri, double x0, double x1) : metri_(std::max(metri, 1.0)), x0_(x0), x1_(x1) {}
  double x(double metro) const { return x0_ + metro / metri_ * (x1_ - x0_); }
  double x0() const { return x0_; }
  double x1() const { return x1_; }
  double metri() const { return metri_; }

 private:
  double metri_, x0_, x1_;
};

// Ticks at round distances from the start. With numbers, the railway's kilometre
// there (when the line sets a reference) and below it the distance.
void tacche_km(svg& s, const asse_km& a, const chilometrica* km, double y_alto, double y_basso) {
  const double passo = passo_tondo(a.metri() / 1000, 20) * 1000;
  for (const double v : tacche(0, a.metri(), passo)) {
    const double x = a.x(v);
    s.linea(x, y_alto, x, y_basso, "class=\"griglia\"");
    s.linea(x, y_basso, x, y_basso + 4, "class=\"asse\"");
    if (km == nullptr) continue;
    double y = y_basso + 17;
    if (km->con_riferimenti()) {
      s.testo(x, y, testo_progressiva(km->al_metro(static_cast<std::int64_t>(std::llround(v)))),
              "class=\"tacca\" text-anchor=\"middle\"");
      y += 14;
    }
    s.testo(x, y, numero_testo(v / 1000, decimali_di(passo / 1000)),
            "class=\"tacca distanza\" text-anchor=\"middle\"");
  }
}

// Left axis of a chart: ticks, grid and the name written upwards.
void asse_valori(svg& s, const asse_km& a, double y_alto, double y_basso, double minimo,
                 double massimo, std::string_view nome) {
  const double passo = passo_tondo(massimo - minimo, 5);
  auto y = [&](double v) {
    return y_basso - (v - minimo) / (massimo - minimo) * (y_basso - y_alto);
  };
  for (const double v : tacche(minimo, massimo, passo)) {
    s.linea(a.x0(), y(v), a.x1(), y(v), "class=\"griglia\"");
    s.linea(a.x0() - 5, y(v), a.x0(), y(v), "class=\"asse\"");
    s.testo(a.x0() - 8, y(v) + 4, numero_testo(v, decimali_di(passo)),
            "class=\"tacca\" text-anchor=\"end\"");
  }
  s.testo(a.x0() - 52, (y_alto + y_basso) / 2, nome, "class=\"nome-asse\" text-anchor=\"middle\"",
          -90);
}

// A name above the charts, with its line down through both: a station's, or the end of
// the line's.
struct nome_sopra {
  double x, larghezza;
  std::string testo;
  const stazione_grafico* stazione;  // nullptr for the end of the line
};

constexpr std::string_view testo_fine = "fine della linea";
constexpr double corpo_nomi = 11;

std::vector<nome_sopra> nomi_sopra(const linea_grafico& l, const asse_km& a) {
  std::vector<nome_sopra> nomi;
  for (const stazione_grafico& st : l.stazioni) {
    const double x = a.x(st.posizione);
    if (x < a.x0() - 1 || x > a.x1() + 1) continue;
    std::string t = accorcia(st.nome, massimo_nome_svg);
    const double larghezza = larghezza_testo(t, corpo_nomi, true) + 2;
    nomi.push_back({x, larghezza, std::move(t), &st});
  }
  nomi.push_back({a.x(l.lunghezza_linea), larghezza_testo(testo_fine, corpo_nomi) + 2,
                  std::string(testo_fine), nullptr});
  std::stable_sort(nomi.begin(), nomi.end(),
                   [](const nome_sopra& p, const nome_sopra& q) { return p.x < q.x; });
  return nomi;
}

// Where each name starts and how wide it is, as the rows of labels take them.
std::vector<std::pair<double, double>> estensioni(const std::vector<nome_sopra>& nomi) {
  std::vector<std::pair<double, double>> e;
  for (const nome_sopra& n : nomi) e.emplace_back(n.x, n.larghezza);
  return e;
}

// Where everything of the panel goes: the kilometre axis, the rows of station
// names, the elevation chart and the speed chart, with their scales.
class profilo {
 public:
  profilo(const linea_grafico& l, double y)
      // The line and a little beyond it, not all the cells that run on after it.
      : l_(l),
        visibili_(static_cast<std::size_t>(std::clamp(
            std::ceil((l.lunghezza_linea + oltre_la_fine(l.lunghezza_linea)) / metri_cella), 1.0,
            static_cast<double>(l.celle.size())))),
        n_(std::min(std::max<std::size_t>(l.celle_impostate, 1), visibili_)),
        a_(static_cast<double>(visibili_) * metri_cella, margine_sinistro,
           larghezza_pagina - margine_destro),
        nomi_(nomi_sopra(l, a_)),
        // As many rows as the names need, within bounds: a crowd leaves some out.
        righe_nomi_(file_di_etichette::righe_per(estensioni(nomi_), 4, 10)),
        y_nomi_(y + 30),
        y_quota_(y_nomi_ + righe_nomi_ * passo_riga + 6),
        y_velocita_(y_quota_ + altezza_quota + 26),
        y_fondo_(y_velocita_ + altezza_velocita) {
    // Elevation from the gradients: per mille over each 50 m cell.
    quota_.assign(n_ + 1, 0.0);
    for (std::size_t i = 0; i < n_; ++i)
      quota_[i + 1] = quota_[i] + pendenza_per_mille(l.celle[i].pendenza) * metri_cella / 1000.0;
    const auto [pmin, pmax] = std::minmax_element(quota_.begin(), quota_.end());
    const double margine = std::max(5.0, (*pmax - *pmin) * 0.08);
    qmin_ = *pmin - margine;
    qmax_ = *pmax + margine;
    int vmax = 0;
    for (std::size_t i = 0; i < n_; ++i) vmax = std::max(vmax, velocita_km_h(l.celle[i].velocita));
    for (const tratto_celle& r : l.rallentamenti) vmax = std::max(vmax, r.valore);
    vtop_ = std::max(50.0, std::ceil((vmax + 10) / 20.0) * 20);
  }

  void disegna(svg& s) const {
    s.testo(margine_sinistro, y_nomi_ - 12, "Profilo lungo la linea", "class=\"pannello\"");
    fasce(s);
    assi(s);
    area_quota(s);
    gradini_velocita(s);
    segnali(s);
    stazioni_e_montagne(s);
    cornici(s);
  }
  double fondo() const { return y_fondo_ + 64; }
  // Where the metres lie in the charts.
  disegno_linea::riquadro dove() const {
    return {a_.x0(), a_.x1(), y_quota_, y_fondo_, a_.metri()};
  }

 private:
  static constexpr double passo_riga = 16;
  static constexpr double altezza_quota = 260;
  static constexpr double altezza_velocita = 190;

  double cx(std::size_t i) const { return a_.x(static_cast<double>(i) * metri_cella); }
  double qy(double q) const {
    return y_quota_ + altezza_quota - (q - qmin_) / (qmax_ - qmin_) * altezza_quota;
  }
  double vy(double v) const {
    return y_velocita_ + altezza_velocita - std::clamp(v, 0.0, vtop_) / vtop_ * altezza_velocita;
  }
  std::size_t fino_a_visibili(const tratto_celle& t) const {
    return std::min(t.ultima, visibili_ - 1);
  }

  // Background bands: the cells beyond the line, mountain sides, slowdowns.
  void fasce(svg& s) const {
    const double x_fine = a_.x(l_.lunghezza_linea);
    for (const double y0 : {y_quota_, y_velocita_}) {
      const double h = y0 == y_quota_ ? altezza_quota : altezza_velocita;
      s.rettangolo(x_fine, y0, a_.x1() - x_fine, h, "class=\"fascia-prolungamento\"");
      for (const tratto_celle& m : l_.montagne)
        if (m.prima < visibili_)
          s.rettangolo(cx(m.prima), y0, cx(fino_a_visibili(m) + 1) - cx(m.prima), h,
                       "class=\"fascia-montagna\"");
      for (const tratto_celle& r : l_.rallentamenti)
        if (r.prima < visibili_)
          s.rettangolo(cx(r.prima), y0, std::max(2.0, cx(fino_a_visibili(r)) - cx(r.prima)), h,
                       "class=\"fascia-rallentamento\"");
    }
  }

  void assi(svg& s) const {
    tacche_km(s, a_, nullptr, y_quota_, y_quota_ + altezza_quota);
    tacche_km(s, a_, &l_.km, y_velocita_, y_fondo_);
    asse_valori(s, a_, y_quota_, y_quota_ + altezza_quota, qmin_, qmax_, "quota relativa (m)");
    asse_valori(s, a_, y_velocita_, y_fondo_, 0, vtop_, "velocità massima (km/h)");
  }

  // Elevation as a filled area.
  void area_quota(svg& s) const {
    std::vector<punto_2d> area;
    area.push_back({cx(0), y_quota_ + altezza_quota});
    for (std::size_t i = 0; i <= n_; ++i) area.push_back({cx(i), qy(quota_[i])});
    area.push_back({cx(n_), y_quota_ + altezza_quota});
    s.poligono(area, "class=\"quota\"");
  }

  // Speed limit as steps, and each slowdown's speed over its stretch.
  void gradini_velocita(svg& s) const {
    std::vector<punto_2d> gradini;
    for (std::size_t i = 0; i < n_; ++i) {
      const double v = velocita_km_h(l_.celle[i].velocita);
      if (gradini.empty() || gradini.back()[1] != vy(v)) {
        if (!gradini.empty()) gradini.push_back({cx(i), gradini.back()[1]});
        gradini.push_back({cx(i), vy(v)});
      }
    }
    if (!gradini.empty()) gradini.push_back({cx(n_), gradini.back()[1]});
    s.polilinea(gradini, "class=\"velocita\"");
    s.apri_etichette(a_.x0(), y_velocita_, a_.x1(), y_fondo_);
    etichettatore velocita_rallentamenti({a_.x0(), y_velocita_, a_.x1(), y_fondo_}, {});
    for (const tratto_celle& r : l_.rallentamenti) {
      if (r.prima >= visibili_) continue;
      const double x0 = cx(r.prima), x1 = std::max(cx(fino_a_visibili(r)), x0 + 2);
      s.linea(x0, vy(r.valore), x1, vy(r.valore), "class=\"velocita-rallentamento\"");
      velocita_rallentamenti.metti(s, {(x0 + x1) / 2, vy(r.valore)},
                                   std::to_string(r.valore) + " km/h", "nome-rallentamento", 11);
    }
    s.chiudi_gruppo();
  }

  // Signals and warning boards along the foot of the speed chart.
  void segnali(svg& s) const {
    for (const std::size_t i : l_.segnali)
      if (i < visibili_) triangolo(s, {cx(i), y_fondo_ - 6}, 5, "segnale");
    for (const std::size_t i : l_.avvisi)
      if (i < visibili_) triangolo(s, {cx(i), y_fondo_ - 6}, 5, "avviso");
  }

  // Stations and the end of the line: a dashed line through both charts and the name
  // above; mountain-side names inside the top of the elevation chart. Texts come last,
  // so their white halo covers the lines that cross them.
  void stazioni_e_montagne(svg& s) const {
    file_di_etichette righe_nomi(y_quota_ - 6, passo_riga, righe_nomi_);
    const std::vector<std::optional<double>> righe = righe_nomi.con_richiami(estensioni(nomi_));
    for (std::size_t k = 0; k < nomi_.size(); ++k) {
      const nome_sopra& n = nomi_[k];
      const double cima = righe[k] ? *righe[k] + 3 : y_quota_;
      if (n.stazione == nullptr) {
        s.linea(n.x, cima, n.x, y_fondo_, "class=\"fine-linea\"");
        continue;
      }
      s.linea(n.x, cima, n.x, y_fondo_, "class=\"linea-stazione\"");
      const auto i = static_cast<std::size_t>(std::max(0.0, n.stazione->posizione) / metri_cella);
      s.cerchio(n.x, qy(quota_[std::min(n_, i)]), 3.5, "class=\"stazione\"");
    }
    file_di_etichette nomi_montagne(y_quota_ + 40, 13, 3);
    for (const tratto_celle& m : l_.montagne) {
      if (m.nome.empty() || m.prima >= visibili_) continue;
      const double x = cx(m.prima);
      const std::string nome = accorcia(m.nome, massimo_nome_svg);
      if (const auto riga = nomi_montagne.riga_per(x, larghezza_testo(nome, 10)))
        s.testo(x + 2, *riga, nome, "class=\"etichetta nome-galleria\" font-size=\"10\"");
    }
    for (std::size_t k = 0; k < nomi_.size(); ++k) {
      if (!righe[k]) continue;
      s.testo(nomi_[k].x + 2, *righe[k], nomi_[k].testo,
              nomi_[k].stazione != nullptr ? "class=\"etichetta nome-stazione\" font-size=\"11\""
                                           : "class=\"etichetta\" font-size=\"11\"");
    }
  }

  // The frames of both charts and the axis name.
  void cornici(svg& s) const {
    s.rettangolo(a_.x0(), y_quota_, a_.x1() - a_.x0(), altezza_quota,
                 "fill=\"none\" class=\"asse\"");
    s.rettangolo(a_.x0(), y_velocita_, a_.x1() - a_.x0(), altezza_velocita,
                 "fill=\"none\" class=\"asse\"");
    const bool con_km = l_.km.con_riferimenti();
    s.testo((a_.x0() + a_.x1()) / 2, y_fondo_ + (con_km ? 50 : 36),
            con_km
                ? "progressiva chilometrica della linea (km+m), sotto la distanza dall'inizio (km)"
                : "distanza dall'inizio (km)",
            "class=\"nome-asse\" text-anchor=\"middle\"");
  }

  const linea_grafico& l_;
  std::size_t visibili_, n_;
  asse_km a_;
  std::vector<nome_sopra> nomi_;
  int righe_nomi_;
  double y_nomi_, y_quota_, y_velocita_, y_fondo_;
  std::vector<double> quota_;
  double qmin_ = 0, qmax_ = 0, vtop_ = 0;
};

}  // namespace

double pannello_profilo(svg& s, const linea_grafico& l, double y, disegno_linea& g) {
  const profilo p(l, y);
  p.disegna(s);
  g.profilo = p.dove();
  return p.fondo();
}

}  // namespace percorso
