#include "plot/plot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "format/decodifica.h"
#include "format/formato.h"
#include "format/nomi_file.h"
#include "format/voci.h"
#include "plot/svg.h"

namespace percorso {
namespace {

constexpr std::string_view foglio_di_stile =
    "text{font-family:sans-serif;font-size:12px;fill:#222}\n"
    ".titolo{font-size:22px;font-weight:bold}\n"
    ".sottotitolo{font-size:13px;fill:#555}\n"
    ".pannello{font-size:15px;font-weight:bold}\n"
    ".asse{stroke:#444;stroke-width:1}\n"
    ".griglia{stroke:#e3e3e3;stroke-width:1}\n"
    ".tacca{font-size:11px;fill:#444}\n"
    ".nome-asse{font-size:12px;fill:#444}\n"
    ".binario{fill:none;stroke:#1f3a93;stroke-width:2.2;stroke-linejoin:round}\n"
    ".prolungamento{fill:none;stroke:#8a8a8a;stroke-width:1.5;stroke-dasharray:6 4}\n"
    ".montagna{fill:none;stroke:#b07a3c;stroke-width:9;stroke-opacity:0.55;"
    "stroke-linecap:butt}\n"
    ".area-stazione{fill:none;stroke:#222;stroke-width:6;stroke-linecap:butt}\n"
    ".rallentamento{fill:none;stroke:#f07800;stroke-width:6}\n"
    ".stazione{fill:#fff;stroke:#111;stroke-width:2}\n"
    ".segnale{fill:#d62020;stroke:#5a0000;stroke-width:0.8}\n"
    ".avviso{fill:#f07800;stroke:#5a2a00;stroke-width:0.8}\n"
    ".etichetta{paint-order:stroke;stroke:#fff;stroke-width:3.5;stroke-linejoin:round}\n"
    ".nome-stazione{font-weight:bold}\n"
    ".nome-galleria{font-style:italic;fill:#6b4310}\n"
    ".nome-rallentamento{fill:#b35400;font-weight:bold}\n"
    ".richiamo{stroke:#777;stroke-width:0.8}\n"
    ".quota{fill:#dce9d5;stroke:#3d7a2a;stroke-width:1.6}\n"
    ".fascia-montagna{fill:#b07a3c;fill-opacity:0.18}\n"
    ".fascia-rallentamento{fill:#f07800;fill-opacity:0.18}\n"
    ".fascia-prolungamento{fill:#000;fill-opacity:0.05}\n"
    ".linea-stazione{stroke:#555;stroke-width:0.8;stroke-dasharray:3 3}\n"
    ".velocita{fill:none;stroke:#1f3a93;stroke-width:2}\n"
    ".velocita-rallentamento{fill:none;stroke:#f07800;stroke-width:2.5}\n"
    ".fine-linea{stroke:#111;stroke-width:1.2;stroke-dasharray:8 3}\n"
    ".legenda{font-size:12px}\n";

constexpr double larghezza_pagina = 1600;
constexpr double margine_sinistro = 80;
constexpr double margine_destro = 40;
constexpr double metri_cella = metri_per_cella;

using punto_2d = std::array<double, 2>;

std::string numero_testo(double v, int decimali) {
  // No "-0" for a value that rounds to zero.
  if (std::abs(v) < 0.5 * std::pow(10.0, -decimali)) v = 0;
  char b[64];
  std::snprintf(b, sizeof b, "%.*f", decimali, v);
  return b;
}

// A round step (1, 2 or 5 times a power of ten) that cuts the range into about n parts.
double passo_tondo(double ampiezza, double n) {
  if (!(ampiezza > 0) || !std::isfinite(ampiezza)) return 1;
  const double grezzo = ampiezza / n;
  const double potenza = std::pow(10.0, std::floor(std::log10(grezzo)));
  for (const double m : {1.0, 2.0, 5.0})
    if (grezzo <= m * potenza) return m * potenza;
  return 10 * potenza;
}

// The multiples of passo from minimo to massimo; none when the range is not
// finite, and never more than a few dozen.
std::vector<double> tacche(double minimo, double massimo, double passo) {
  std::vector<double> t;
  if (!std::isfinite(minimo) || !std::isfinite(massimo) || !(passo > 0)) return t;
  for (double v = std::ceil(minimo / passo) * passo; v <= massimo + passo * 1e-9 && t.size() < 60;
       v += passo)
    t.push_back(v);
  return t;
}

int decimali_di(double passo) {
  return passo >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(passo)));
}

// ------------------------------------------------------------ the line

struct stazione_grafico {
  std::string nome;
  double posizione = 0, inizio = 0, fine = 0;
};

// A stretch of cells: a slowdown (valore = speed) or a mountain side (valore = type).
struct tratto_celle {
  std::size_t prima = 0, ultima = 0;
  int valore = 0;
  std::string nome;
};

struct linea_grafico {
  std::string titolo;
  std::vector<cella> celle;
  std::optional<piano_letto> piano;
  double lunghezza_linea = 0;       // metres of the line proper
  std::size_t celle_impostate = 0;  // cells that carry a profile
  std::vector<stazione_grafico> stazioni;
  std::vector<tratto_celle> rallentamenti;
  std::vector<tratto_celle> montagne;
  std::vector<std::size_t> segnali;
  std::vector<std::size_t> avvisi;
  // Boards that name no mountain-side stretch: cell and text.
  std::vector<std::pair<std::size_t, std::string>> cartelli;
};

// "( Galleria  )(   Castelvecchio   )( Ml. 2047  )" reads "Galleria Castelvecchio, Ml. 2047".
std::string testo_cartello(std::string_view t) {
  std::vector<std::string> parti;
  std::string parte;
  auto chiudi = [&] {
    while (!parte.empty() && parte.back() == ' ') parte.pop_back();
    if (!parte.empty()) parti.push_back(parte);
    parte.clear();
  };
  for (const char c : t) {
    if (c == '(' || c == ')') {
      chiudi();
    } else if (c != ' ' || (!parte.empty() && parte.back() != ' ')) {
      parte += c;
    }
  }
  chiudi();
  std::string s;
  for (std::size_t i = 0; i < parti.size(); ++i) {
    if (i > 0) s += i + 1 == parti.size() && parti.size() > 2 ? ", " : " ";
    s += parti[i];
  }
  return s;
}

bool profilo_impostato(const cella& c) {
  return c.pendenza != 0 || c.velocita != 0 || c.aderenza != 0 || c.montagna != 0;
}

linea_grafico raccogli(std::vector<cella> celle, const std::array<punto, numero_punti>* punti,
                       std::optional<piano_letto> piano) {
  linea_grafico l;
  l.celle = std::move(celle);
  l.piano = std::move(piano);
  const auto& c = l.celle;
  for (std::size_t i = c.size(); i > 0; --i) {
    if (profilo_impostato(c[i - 1])) {
      l.celle_impostate = i;
      break;
    }
  }

  if (punti) {
    const punto& p84 = (*punti)[slot_treno];
    l.titolo = (*punti)[slot_percorso].nome + ", treno " + (*punti)[slot_ripetizione].nome;
    l.lunghezza_linea = p84.valore_2;
    for (const int k : dividi_voci(*punti).stazioni) {
      const punto& s = (*punti)[static_cast<std::size_t>(k)];
      l.stazioni.push_back({s.nome, static_cast<double>(s.valore_3),
                            static_cast<double>(s.valore_1), static_cast<double>(s.valore_2)});
    }
  }
  // The cells run beyond the line by a fixed length.
  const double celle_metri = static_cast<double>(c.size()) * metri_cella;
  if (!(l.lunghezza_linea > 0) || l.lunghezza_linea > celle_metri)
    l.lunghezza_linea = std::max(0.0, celle_metri - metri_oltre_la_linea);

  std::vector<std::pair<std::size_t, std::string>> cartelli;
  for (std::size_t i = 0; i < c.size(); ++i) {
    switch (c[i].evento) {
      case evento::segnale:
        l.segnali.push_back(i);
        break;
      case evento::avviso_rallentamento:
        l.avvisi.push_back(i);
        break;
      case evento::inizio_rallentamento: {
        std::size_t fine = i;
        for (std::size_t j = i + 1; j < c.size(); ++j) {
          if (c[j].evento == evento::fine_rallentamento) {
            fine = j;
            break;
          }
          if (c[j].evento == evento::inizio_rallentamento) break;
        }
        l.rallentamenti.push_back({i, fine, c[i].dato_1, {}});
        break;
      }
      case evento::fermata:
        if (!punti) {
          const double p = static_cast<double>(i) * metri_cella;
          l.stazioni.push_back({"stazione " + std::to_string(c[i].dato_1), p, p, p});
        }
        break;
      case evento::cartello: {
        std::string testo = "cartello " + std::to_string(c[i].dato_1);
        if (punti && c[i].dato_1 >= 0 && c[i].dato_1 < numero_punti)
          testo = testo_cartello((*punti)[static_cast<std::size_t>(c[i].dato_1)].nome);
        cartelli.emplace_back(i, testo);
        break;
      }
      default:
        break;
    }
    if (c[i].montagna != 0) {
      if (l.montagne.empty() || l.montagne.back().ultima + 1 != i ||
          l.montagne.back().valore != c[i].montagna)
        l.montagne.push_back({i, i, c[i].montagna, {}});
      else
        l.montagne.back().ultima = i;
    }
  }
  // A board names the stretch that starts near it; the others are plain stretches.
  for (auto& [cella_del_cartello, testo] : cartelli) {
    // A named copy: lambdas may not capture structured bindings everywhere.
    const auto cella_cartello = cella_del_cartello;
    const auto m = std::find_if(l.montagne.begin(), l.montagne.end(), [&](const tratto_celle& m) {
      return m.nome.empty() && cella_cartello + 4 >= m.prima && cella_cartello <= m.ultima;
    });
    if (m != l.montagne.end())
      m->nome = std::move(testo);
    else
      l.cartelli.emplace_back(cella_cartello, std::move(testo));
  }
  if (l.titolo.empty()) l.titolo = "linea";
  return l;
}

// How much of the cells beyond the end of the line the drawings show.
double oltre_la_fine(double lunghezza_linea) {
  return std::max(1000.0, lunghezza_linea * 0.08);
}

// ------------------------------------------------------------ labels

struct riquadro {
  double x0, y0, x1, y1;
  bool tocca(const riquadro& r) const { return x0 < r.x1 && r.x0 < x1 && y0 < r.y1 && r.y0 < y1; }
  bool contiene(const punto_2d& p) const {
    return p[0] >= x0 && p[0] <= x1 && p[1] >= y0 && p[1] <= y1;
  }
};

// Width of a text in the sans-serif face, estimated per kind of character.
double larghezza_testo(std::string_view t, double corpo, bool grassetto = false) {
  double em = 0;
  for (const char c : t) {
    if (c >= 'A' && c <= 'Z')
      em += c == 'M' || c == 'W' ? 0.9 : c == 'I' ? 0.32 : 0.74;
    else if (c == ' ' || c == '.' || c == ',' || c == 'i' || c == 'l' || c == '\'')
      em += 0.3;
    else if (c == 'm' || c == 'w')
      em += 0.85;
    else
      em += 0.57;
  }
  return em * corpo * (grassetto ? 1.12 : 1.0);
}

struct segmento {
  punto_2d a, b;
};

double orientamento(const punto_2d& p, const punto_2d& q, const punto_2d& r) {
  return (q[0] - p[0]) * (r[1] - p[1]) - (q[1] - p[1]) * (r[0] - p[0]);
}

bool si_incrociano(const segmento& s, const segmento& t) {
  const double d1 = orientamento(t.a, t.b, s.a), d2 = orientamento(t.a, t.b, s.b);
  const double d3 = orientamento(s.a, s.b, t.a), d4 = orientamento(s.a, s.b, t.b);
  return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0)) && d1 != 0 && d2 != 0 && d3 != 0 &&
         d4 != 0;
}

// Whether the segment passes through the box (Liang-Barsky clipping).
bool attraversa(const segmento& s, const riquadro& r) {
  double t0 = 0, t1 = 1;
  const double dx = s.b[0] - s.a[0], dy = s.b[1] - s.a[1];
  const double p[] = {-dx, dx, -dy, dy};
  const double q[] = {s.a[0] - r.x0, r.x1 - s.a[0], s.a[1] - r.y0, r.y1 - s.a[1]};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
    } else {
      const double t = q[i] / p[i];
      if (p[i] < 0)
        t0 = std::max(t0, t);
      else
        t1 = std::min(t1, t);
    }
  }
  return t0 < t1;
}

// Places labels near their anchors, away from each other and from the track.
class etichettatore {
 public:
  etichettatore(riquadro area, std::vector<punto_2d> ostacoli)
      : area_(area), ostacoli_(std::move(ostacoli)) {}

  // Reserves a box that no label may cover, such as a marker.
  void riserva(const riquadro& r) { occupati_.push_back(r); }
  // A mark that labels should not seem to belong to, unless it is theirs.
  void segno(const punto_2d& p) { segni_.push_back(p); }

  void metti(svg& s, const punto_2d& ancora, std::string_view t, std::string_view classe,
             double corpo = 12) {
    const double l = larghezza_testo(t, corpo, true) + 4, a = corpo + 4;
    std::optional<riquadro> scelto;
    double coseno = 1;  // of the chosen direction: which side of the box faces the anchor
    int meno_ostacoli = 1 << 30;
    for (const double d : {9.0, 22.0, 40.0, 64.0, 96.0}) {
      for (int k = 0; k < 8 && (!scelto || meno_ostacoli > 0); ++k) {
        const double ang = k * 3.14159265358979 / 4;
        const double cx = ancora[0] + std::cos(ang) * d, cy = ancora[1] - std::sin(ang) * d;
        // The box sits on the side of the anchor the direction points to.
        const double x0 = std::cos(ang) > 0.3 ? cx : std::cos(ang) < -0.3 ? cx - l : cx - l / 2;
        const double y0 = std::sin(ang) > 0.3 ? cy - a : std::sin(ang) < -0.3 ? cy : cy - a / 2;
        const riquadro r{x0, y0, x0 + l, y0 + a};
        if (r.x0 < area_.x0 || r.x1 > area_.x1 || r.y0 < area_.y0 || r.y1 > area_.y1) continue;
        const int n = conta_ostacoli(r, ancora);
        if (n < meno_ostacoli) {
          meno_ostacoli = n;
          scelto = r;
          coseno = std::cos(ang);
        }
      }
      if (scelto && meno_ostacoli == 0) break;
    }
    if (!scelto) scelto = riquadro{ancora[0] + 6, ancora[1] - a, ancora[0] + 6 + l, ancora[1]};
    occupati_.push_back(*scelto);
    const riquadro& r = *scelto;
    if (const auto linea = richiamo(r, ancora)) {
      s.linea(linea->a[0], linea->a[1], linea->b[0], linea->b[1], "class=\"richiamo\"");
      richiami_.push_back(*linea);
    }
    // The estimated width is only near the real one: the text keeps to the anchor's side.
    const std::string attributi = "class=\"etichetta " + std::string(classe) + "\" font-size=\"" +
                                  numero_testo(corpo, 0) + "\"";
    if (coseno > 0.3)
      s.testo(r.x0 + 2, r.y1 - 4, t, attributi);
    else if (coseno < -0.3)
      s.testo(r.x1 - 2, r.y1 - 4, t, attributi + " text-anchor=\"end\"");
    else
      s.testo((r.x0 + r.x1) / 2, r.y1 - 4, t, attributi + " text-anchor=\"middle\"");
  }

 private:
  static double distanza(const riquadro& r, const punto_2d& p) {
    return std::hypot(p[0] - std::clamp(p[0], r.x0, r.x1), p[1] - std::clamp(p[1], r.y0, r.y1));
  }

  // The guide line from the anchor to a box far from it.
  static std::optional<segmento> richiamo(const riquadro& r, const punto_2d& ancora) {
    const punto_2d vicino{std::clamp(ancora[0], r.x0, r.x1), std::clamp(ancora[1], r.y0, r.y1)};
    if (std::hypot(vicino[0] - ancora[0], vicino[1] - ancora[1]) <= 8) return std::nullopt;
    return segmento{ancora, vicino};
  }

  // Labels and guide lines never cross each other; marks and the track only cost a little.
  int conta_ostacoli(const riquadro& r, const punto_2d& ancora) const {
    int n = 0;
    const double propria = distanza(r, ancora);
    for (const punto_2d& p : segni_)
      if (p != ancora && distanza(r, p) < propria + 4) n += 20;
    for (const riquadro& o : occupati_) n += r.tocca(o) ? 100 : 0;
    for (const punto_2d& p : ostacoli_) n += r.contiene(p) ? 1 : 0;
    for (const segmento& g : richiami_) n += attraversa(g, r) ? 100 : 0;
    if (const auto linea = richiamo(r, ancora)) {
      for (const riquadro& o : occupati_)
        n += !o.contiene(ancora) && attraversa(*linea, o) ? 100 : 0;
      for (const segmento& g : richiami_) n += si_incrociano(*linea, g) ? 50 : 0;
    }
    return n;
  }

  riquadro area_;
  std::vector<punto_2d> ostacoli_;
  std::vector<riquadro> occupati_;
  std::vector<punto_2d> segni_;
  std::vector<segmento> richiami_;
};

// Stacks labels in rows above a chart. A label with a guide line has the line run from
// its row down to the chart, so no text may lie on another text nor on a guide line.
class file_di_etichette {
 public:
  file_di_etichette(double y_basso, double passo_riga, int righe)
      : y_basso_(y_basso), passo_(passo_riga), righe_(righe) {}

  // Baselines of labels given left to right as (x, width), each with a guide line.
  // A label whose text reaches over the next ones goes higher, so their lines pass
  // below it: a staircase down to the right.
  std::vector<double> con_richiami(std::span<const std::pair<double, double>> etichette) {
    const std::size_t n = etichette.size();
    std::vector<int> bisogno(n, 0);
    for (std::size_t i = n; i-- > 0;) {
      const double fine = etichette[i].first + etichette[i].second + spazio_richiamo;
      for (std::size_t j = i + 1; j < n && etichette[j].first <= fine; ++j)
        bisogno[i] = std::max(bisogno[i], bisogno[j] + 1);
    }
    std::vector<double> y;
    for (std::size_t i = 0; i < n; ++i) {
      const auto [x, l] = etichette[i];
      y.push_back(metti(x, l, true, std::min(bisogno[i], righe_ - 1)));
    }
    return y;
  }

  // The baseline for one label without a guide line.
  double riga_per(double x, double larghezza) { return metti(x, larghezza, false, 0); }

 private:
  struct posto {
    int riga;
    double x0, x1;
    bool richiamo;
  };
  static constexpr double spazio_testi = 6, spazio_richiamo = 3;

  // How many texts and guide lines a label in row r would touch.
  int conflitti(int r, double x, double l, bool richiamo) const {
    int n = 0;
    for (const posto& p : posti_) {
      if (p.riga == r && x < p.x1 + spazio_testi && p.x0 < x + l + spazio_testi) ++n;
      // A guide line from a higher row runs down through this one.
      if (p.richiamo && p.riga > r && p.x0 >= x - spazio_richiamo &&
          p.x0 <= x + l + spazio_richiamo)
        ++n;
      // This label's guide line runs down through the texts of the rows below.
      if (richiamo && p.riga < r && x >= p.x0 - spazio_richiamo && x <= p.x1 + spazio_richiamo) ++n;
    }
    return n;
  }

  // The row with the fewest conflicts, trying the wished one first and then upwards.
  double metti(double x, double l, bool richiamo, int desiderata) {
    int scelta = desiderata, meno = 1 << 30;
    for (int k = 0; k < righe_ && meno > 0; ++k) {
      const int r = (desiderata + k) % righe_;
      if (const int n = conflitti(r, x, l, richiamo); n < meno) {
        meno = n;
        scelta = r;
      }
    }
    posti_.push_back({scelta, x, x + l, richiamo});
    return y_basso_ - static_cast<double>(scelta) * passo_;
  }

  double y_basso_, passo_;
  int righe_;
  std::vector<posto> posti_;
};

// ------------------------------------------------------------ plan panel

struct trasformazione {
  double min_x = 0, max_y = 0, scala = 1, ox = 0, oy = 0;
  punto_2d operator()(const punto_2d& p) const {
    return {ox + (p[0] - min_x) * scala, oy + (max_y - p[1]) * scala};
  }
};

class disegno_piano {
 public:
  // The frame fits the metres up to metro_massimo; later ones are drawn only inside it.
  disegno_piano(const piano_letto& p, double metro_massimo, double y_alto, double altezza_massima)
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
    const double passo = passo_tondo(std::max(max_x - min_x, max_y - min_y) / 1000.0, 8) * 1000;
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

  riquadro area() const {
    return {t_.ox + 2, t_.oy + 2, t_.ox + larghezza_ - 2, t_.oy + altezza_ - 2};
  }

 private:
  const piano_letto& piano_;
  trasformazione t_;
  std::size_t ultimo_ = 0;
  bool vuoto_ = true;
  double larghezza_ = 0, altezza_ = 0;
  std::array<double, 4> estensione_{};
};

void polilinee(svg& s, const std::vector<std::vector<punto_2d>>& pezzi,
               std::string_view attributi) {
  for (const auto& p : pezzi) s.polilinea(p, attributi);
}

void triangolo(svg& s, const punto_2d& p, double r, std::string_view classe) {
  const punto_2d v[] = {
      {p[0], p[1] - r}, {p[0] - r * 0.87, p[1] + r * 0.5}, {p[0] + r * 0.87, p[1] + r * 0.5}};
  s.poligono(v, "class=\"" + std::string(classe) + "\"");
}

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
  const double metro_finale = static_cast<double>(l.celle.size()) * metri_cella;
  auto cella_metri = [](std::size_t i) { return static_cast<double>(i) * metri_cella; };
  for (std::size_t i = 0; i < l.celle.size(); ++i) {
    const auto p = d.a_metro(cella_metri(i));
    g.mappa.push_back(p && d.area().contiene(*p) ? p : std::nullopt);
  }

  for (const tratto_celle& m : l.montagne)
    polilinee(s, d.tratto(cella_metri(m.prima), cella_metri(m.ultima + 1), 10),
              "class=\"montagna\"");
  polilinee(s, d.tratto(l.lunghezza_linea, metro_finale, 20, true), "class=\"prolungamento\"");
  const auto binario = d.tratto(0, l.lunghezza_linea);
  polilinee(s, binario, "class=\"binario\"");
  for (const tratto_celle& r : l.rallentamenti)
    polilinee(s, d.tratto(cella_metri(r.prima), cella_metri(r.ultima), 10),
              "class=\"rallentamento\"");
  for (const stazione_grafico& st : l.stazioni)
    polilinee(s, d.tratto(st.inizio, st.fine, 10), "class=\"area-stazione\"");

  // Labels keep off the track: its points are obstacles.
  std::vector<punto_2d> ostacoli;
  for (const auto& p : d.tratto(0, metro_finale, 100))
    ostacoli.insert(ostacoli.end(), p.begin(), p.end());
  etichettatore e(d.area(), std::move(ostacoli));

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
  // Stations first: they matter most and take the places nearest their marks.
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
    e.metti(s, *p, "fine della linea (km " + numero_testo(l.lunghezza_linea / 1000, 1) + ")", "");
  }
  const bool stazione_in_partenza = std::any_of(l.stazioni.begin(), l.stazioni.end(),
                                                [](const auto& st) { return st.posizione <= 100; });
  if (const auto p = d.a_metro(0); p && !stazione_in_partenza) e.metti(s, *p, "inizio (km 0)", "");
  return y + 32 + d.altezza() + 48;
}

// ------------------------------------------------------------ profile panel

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

void tacche_km(svg& s, const asse_km& a, double y_alto, double y_basso, bool con_numeri) {
  const double passo = passo_tondo(a.metri() / 1000, 20) * 1000;
  for (const double v : tacche(0, a.metri(), passo)) {
    const double x = a.x(v);
    s.linea(x, y_alto, x, y_basso, "class=\"griglia\"");
    s.linea(x, y_basso, x, y_basso + 4, "class=\"asse\"");
    if (con_numeri)
      s.testo(x, y_basso + 17, numero_testo(v / 1000, decimali_di(passo / 1000)),
              "class=\"tacca\" text-anchor=\"middle\"");
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

double pannello_profilo(svg& s, const linea_grafico& l, double y, disegno_linea& g) {
  // The line and a little beyond it, not all the cells that run on after it.
  const auto visibili = static_cast<std::size_t>(
      std::clamp(std::ceil((l.lunghezza_linea + oltre_la_fine(l.lunghezza_linea)) / metri_cella),
                 1.0, static_cast<double>(l.celle.size())));
  const std::size_t n = std::min(std::max<std::size_t>(l.celle_impostate, 1), visibili);
  const asse_km a(static_cast<double>(visibili) * metri_cella, margine_sinistro,
                  larghezza_pagina - margine_destro);
  auto fino_a_visibili = [&](const tratto_celle& t) { return std::min(t.ultima, visibili - 1); };
  auto cx = [&](std::size_t i) { return a.x(static_cast<double>(i) * metri_cella); };

  s.testo(margine_sinistro, y + 18, "Profilo lungo la linea", "class=\"pannello\"");

  // Station names stacked in rows above the charts.
  const double y_nomi = y + 30;
  const int righe_nomi = 4;
  const double passo_riga = 16;
  const double y_quota = y_nomi + righe_nomi * passo_riga + 6;
  const double altezza_quota = 260;
  const double y_velocita = y_quota + altezza_quota + 26;
  const double altezza_velocita = 190;
  const double y_fondo = y_velocita + altezza_velocita;
  g.profilo = {a.x0(), a.x1(), y_quota, y_fondo, a.metri()};

  // Elevation from the gradients: per mille over each 50 m cell.
  std::vector<double> quota(n + 1, 0.0);
  for (std::size_t i = 0; i < n; ++i)
    quota[i + 1] = quota[i] + (static_cast<int>(l.celle[i].pendenza) - 100) * metri_cella / 1000.0;
  const auto [pmin, pmax] = std::minmax_element(quota.begin(), quota.end());
  const double margine_q = std::max(5.0, (*pmax - *pmin) * 0.08);
  const double qmin = *pmin - margine_q, qmax = *pmax + margine_q;
  auto qy = [&](double q) {
    return y_quota + altezza_quota - (q - qmin) / (qmax - qmin) * altezza_quota;
  };
  int vmax = 0;
  for (std::size_t i = 0; i < n; ++i) vmax = std::max(vmax, l.celle[i].velocita * 5);
  for (const tratto_celle& r : l.rallentamenti) vmax = std::max(vmax, r.valore);
  const double vtop = std::max(50.0, std::ceil((vmax + 10) / 20.0) * 20);
  auto vy = [&](double v) {
    return y_velocita + altezza_velocita - std::clamp(v, 0.0, vtop) / vtop * altezza_velocita;
  };

  // Background bands: the cells beyond the line, mountain sides, slowdowns.
  const double x_fine = a.x(l.lunghezza_linea);
  for (const double y0 : {y_quota, y_velocita}) {
    const double h = y0 == y_quota ? altezza_quota : altezza_velocita;
    s.rettangolo(x_fine, y0, a.x1() - x_fine, h, "class=\"fascia-prolungamento\"");
    for (const tratto_celle& m : l.montagne)
      if (m.prima < visibili)
        s.rettangolo(cx(m.prima), y0, cx(fino_a_visibili(m) + 1) - cx(m.prima), h,
                     "class=\"fascia-montagna\"");
    for (const tratto_celle& r : l.rallentamenti)
      if (r.prima < visibili)
        s.rettangolo(cx(r.prima), y0, std::max(2.0, cx(fino_a_visibili(r)) - cx(r.prima)), h,
                     "class=\"fascia-rallentamento\"");
  }
  tacche_km(s, a, y_quota, y_quota + altezza_quota, false);
  tacche_km(s, a, y_velocita, y_fondo, true);
  asse_valori(s, a, y_quota, y_quota + altezza_quota, qmin, qmax, "quota relativa (m)");
  asse_valori(s, a, y_velocita, y_fondo, 0, vtop, "velocità massima (km/h)");

  // Elevation as a filled area.
  std::vector<punto_2d> area;
  area.push_back({cx(0), y_quota + altezza_quota});
  for (std::size_t i = 0; i <= n; ++i) area.push_back({cx(i), qy(quota[i])});
  area.push_back({cx(n), y_quota + altezza_quota});
  s.poligono(area, "class=\"quota\"");

  // Speed limit as steps.
  std::vector<punto_2d> gradini;
  for (std::size_t i = 0; i < n; ++i) {
    const double v = l.celle[i].velocita * 5.0;
    if (gradini.empty() || gradini.back()[1] != vy(v)) {
      if (!gradini.empty()) gradini.push_back({cx(i), gradini.back()[1]});
      gradini.push_back({cx(i), vy(v)});
    }
  }
  if (!gradini.empty()) gradini.push_back({cx(n), gradini.back()[1]});
  s.polilinea(gradini, "class=\"velocita\"");
  for (const tratto_celle& r : l.rallentamenti) {
    if (r.prima >= visibili) continue;
    const double x0 = cx(r.prima), x1 = std::max(cx(fino_a_visibili(r)), x0 + 2);
    s.linea(x0, vy(r.valore), x1, vy(r.valore), "class=\"velocita-rallentamento\"");
    s.testo((x0 + x1) / 2, vy(r.valore) + 15, std::to_string(r.valore) + " km/h",
            "class=\"etichetta nome-rallentamento\" text-anchor=\"middle\" font-size=\"11\"");
  }
  // Signals and warning boards along the foot of the speed chart.
  for (const std::size_t i : l.segnali)
    if (i < visibili) triangolo(s, {cx(i), y_fondo - 6}, 5, "segnale");
  for (const std::size_t i : l.avvisi)
    if (i < visibili) triangolo(s, {cx(i), y_fondo - 6}, 5, "avviso");

  // Stations: a dashed line through both charts and the name above. Texts come
  // last, so their white halo covers the lines that cross them.
  std::vector<const stazione_grafico*> in_vista;
  std::vector<std::pair<double, double>> etichette;  // x and width of each name
  for (const stazione_grafico& st : l.stazioni) {
    const double x = a.x(st.posizione);
    if (x < a.x0() - 1 || x > a.x1() + 1) continue;
    in_vista.push_back(&st);
    etichette.emplace_back(x, larghezza_testo(st.nome, 11, true) + 2);
  }
  file_di_etichette nomi_stazioni(y_quota - 6, passo_riga, righe_nomi);
  const std::vector<double> righe = nomi_stazioni.con_richiami(etichette);
  for (std::size_t k = 0; k < in_vista.size(); ++k) {
    const double x = etichette[k].first;
    s.linea(x, righe[k] + 3, x, y_fondo, "class=\"linea-stazione\"");
    const auto i = static_cast<std::size_t>(std::max(0.0, in_vista[k]->posizione) / metri_cella);
    s.cerchio(x, qy(quota[std::min(n, i)]), 3.5, "class=\"stazione\"");
  }

  // Mountain-side names inside the top of the elevation chart.
  file_di_etichette nomi_montagne(y_quota + 40, 13, 3);
  for (const tratto_celle& m : l.montagne) {
    if (m.nome.empty() || m.prima >= visibili) continue;
    const double x = cx(m.prima);
    const double riga = nomi_montagne.riga_per(x, larghezza_testo(m.nome, 10));
    s.testo(x + 2, riga, m.nome, "class=\"etichetta nome-galleria\" font-size=\"10\"");
  }
  for (std::size_t k = 0; k < in_vista.size(); ++k)
    s.testo(etichette[k].first + 2, righe[k], in_vista[k]->nome,
            "class=\"etichetta nome-stazione\" font-size=\"11\"");
  s.linea(x_fine, y_quota, x_fine, y_fondo, "class=\"fine-linea\"");
  s.testo(x_fine - 4, y_velocita + 14, "fine della linea", "class=\"tacca\" text-anchor=\"end\"");

  s.rettangolo(a.x0(), y_quota, a.x1() - a.x0(), altezza_quota, "fill=\"none\" class=\"asse\"");
  s.rettangolo(a.x0(), y_velocita, a.x1() - a.x0(), altezza_velocita,
               "fill=\"none\" class=\"asse\"");
  s.testo((a.x0() + a.x1()) / 2, y_fondo + 36, "progressiva (km)",
          "class=\"nome-asse\" text-anchor=\"middle\"");
  return y_fondo + 50;
}

double legenda(svg& s, double y) {
  double x = margine_sinistro;
  auto voce = [&](std::string_view testo, auto&& simbolo) {
    simbolo(x, y);
    s.testo(x + 34, y + 4, testo, "class=\"legenda\"");
    x += 44 + larghezza_testo(testo, 12);
  };
  voce("binario", [&](double x0, double y0) { s.linea(x0, y0, x0 + 28, y0, "class=\"binario\""); });
  voce("oltre la fine della linea",
       [&](double x0, double y0) { s.linea(x0, y0, x0 + 28, y0, "class=\"prolungamento\""); });
  voce("montagna o galleria",
       [&](double x0, double y0) { s.linea(x0, y0, x0 + 28, y0, "class=\"montagna\""); });
  voce("stazione", [&](double x0, double y0) { s.cerchio(x0 + 14, y0, 5, "class=\"stazione\""); });
  voce("segnale", [&](double x0, double y0) { s.cerchio(x0 + 14, y0, 3.2, "class=\"segnale\""); });
  voce("rallentamento",
       [&](double x0, double y0) { s.linea(x0, y0, x0 + 28, y0, "class=\"rallentamento\""); });
  voce("cartello di avviso", [&](double x0, double y0) {
    triangolo(s, {x0 + 14, y0}, 5, "avviso");
  });
  voce("quota", [&](double x0, double y0) { s.rettangolo(x0, y0 - 6, 28, 12, "class=\"quota\""); });
  voce("velocità massima",
       [&](double x0, double y0) { s.linea(x0, y0, x0 + 28, y0, "class=\"velocita\""); });
  return y + 24;
}

disegno_linea disegna(const linea_grafico& l) {
  disegno_linea g;
  svg s(larghezza_pagina, 0, foglio_di_stile);
  s.titolo(l.titolo);
  s.rettangolo(0, 0, larghezza_pagina, 100000, "fill=\"#fff\"");
  double y = 20;
  s.testo(margine_sinistro, y + 22, l.titolo, "class=\"titolo\"");
  std::string sotto = "linea di " + numero_testo(l.lunghezza_linea / 1000, 1) + " km, " +
                      std::to_string(l.celle.size()) + " celle da 50 m, " +
                      std::to_string(l.stazioni.size()) + " stazioni, " +
                      std::to_string(l.segnali.size()) + " segnali, " +
                      std::to_string(l.rallentamenti.size()) + " rallentamenti";
  if (!l.piano) sotto += "; tracciato non disponibile";
  s.testo(margine_sinistro, y + 44, sotto, "class=\"sottotitolo\"");
  y += 60;
  if (l.piano) y = pannello_piano(s, l, y, g);
  y = pannello_profilo(s, l, y + 10, g);
  y = legenda(s, y + 10);
  s.imposta_altezza(y + 10);
  g.svg = s.fine();
  return g;
}

// The plan in memory as a reader of the plan file sees it.
piano_letto come_letto(const piano& p) {
  piano_letto l;
  l.x.reserve(p.x.size());
  l.y.reserve(p.y.size());
  for (std::size_t m = 0; m < p.x.size() && m < p.y.size(); ++m) {
    const tipo_elemento t = tipo_metro(p, static_cast<std::int32_t>(m));
    const bool vuoto = t == tipo_elemento::vuoto;
    l.x.push_back({t, vuoto ? 0 : p.x[m]});
    l.y.push_back({t, vuoto ? 0 : p.y[m]});
  }
  return l;
}

// A file beside the cell file that the drawing can do without: read when it is
// there and whole, else a warning saying what the drawing lacks.
template <typename T>
std::optional<T> leggi_accanto(file_system& fs, const std::string& file, tipo_file tipo,
                               decodificato<T> (*decodifica)(std::span<const std::uint8_t>),
                               std::string_view senza, std::ostream& err) {
  if (!fs.esiste(file)) {
    err << "percorso: avviso: manca " << file << ": " << senza << '\n';
    return std::nullopt;
  }
  auto r = leggi_e_decodifica(fs, file, tipo, decodifica);
  if (r.ok()) return std::move(r.valore);
  err << "percorso: avviso: " << r.errore->messaggio << ": " << senza << '\n';
  return std::nullopt;
}

}  // namespace

std::string svg_accanto(std::string_view file_celle) {
  std::string s(file_celle);
  if (s.size() > 4 && s.ends_with(".dat")) s.resize(s.size() - 4);
  return s + ".svg";
}

std::optional<std::string> svg_della_linea(file_system& fs, const std::string& file_celle,
                                           std::ostream& err) {
  auto celle = leggi_e_decodifica(fs, file_celle, tipo_file::celle, &decodifica_celle);
  if (!celle.ok()) {
    err << "percorso: " << celle.errore->messaggio << '\n';
    return std::nullopt;
  }
  const auto punti = leggi_accanto(fs, punti_accanto(file_celle), tipo_file::punti,
                                   &decodifica_punti, "stazioni senza nome", err);
  const std::string file_piano = unisci(
      cartella_di(file_celle), nome_piano_per(nome_base(file_celle), punti ? &*punti : nullptr));
  auto piano = leggi_accanto(fs, file_piano, tipo_file::piano, &decodifica_piano,
                             "disegno senza tracciato", err);
  return disegna(raccogli(std::move(celle.valore), punti ? &*punti : nullptr, std::move(piano)))
      .svg;
}

std::optional<disegno_linea> disegna_modello(const modello& m) {
  if (!m.celle_presenti()) return std::nullopt;
  std::optional<piano_letto> piano;
  if (m.tracciato) piano = come_letto(*m.tracciato);
  return disegna(raccogli(m.celle, &m.punti, std::move(piano)));
}

}  // namespace percorso
