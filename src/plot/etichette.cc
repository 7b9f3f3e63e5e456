#include "plot/etichette.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "format/testo_nomi.h"

namespace percorso {
namespace {

double distanza(const riquadro& r, const punto_2d& p) {
  return std::hypot(p[0] - std::clamp(p[0], r.x0, r.x1), p[1] - std::clamp(p[1], r.y0, r.y1));
}

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

// The guide line from the anchor to a box far from it.
std::optional<segmento> richiamo(const riquadro& r, const punto_2d& ancora) {
  const punto_2d vicino{std::clamp(ancora[0], r.x0, r.x1), std::clamp(ancora[1], r.y0, r.y1)};
  if (std::hypot(vicino[0] - ancora[0], vicino[1] - ancora[1]) <= 8) return std::nullopt;
  return segmento{ancora, vicino};
}

}  // namespace

double larghezza_testo(std::string_view t, double corpo, bool grassetto) {
  double em = 0;
  for (const char c : t) {
    if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) continue;  // inside a UTF-8 character
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

std::optional<etichettatore::posto> etichettatore::scegli_posto(const punto_2d& ancora, double l,
                                                                double a) const {
  std::optional<posto> scelto;
  int meno_ostacoli = 1 << 30;
  for (const double d : {9.0, 22.0, 40.0, 64.0, 96.0, 140.0}) {
    for (int k = 0; k < 8 && (!scelto || meno_ostacoli > 0); ++k) {
      const double ang = k * 3.14159265358979 / 4;
      const double cx = ancora[0] + std::cos(ang) * d, cy = ancora[1] - std::sin(ang) * d;
      // The box sits on the side of the anchor the direction points to, moved inside
      // the area where it juts out.
      const double x0 = std::cos(ang) > 0.3 ? cx : std::cos(ang) < -0.3 ? cx - l : cx - l / 2;
      const double y0 = std::sin(ang) > 0.3 ? cy - a : std::sin(ang) < -0.3 ? cy : cy - a / 2;
      if (l > area_.x1 - area_.x0 || a > area_.y1 - area_.y0) return std::nullopt;
      const double dentro_x = std::clamp(x0, area_.x0, area_.x1 - l);
      const double dentro_y = std::clamp(y0, area_.y0, area_.y1 - a);
      const riquadro r{dentro_x, dentro_y, dentro_x + l, dentro_y + a};
      if (!libero(r, ancora)) continue;
      const int n = conta_ostacoli(r, ancora);
      if (n < meno_ostacoli) {
        meno_ostacoli = n;
        scelto = posto{r, std::cos(ang)};
      }
    }
    if (scelto && meno_ostacoli == 0) break;
  }
  return scelto;
}

void etichettatore::metti(svg& s, const punto_2d& ancora, std::string_view t,
                          std::string_view classe, double corpo, std::string_view corto) {
  for (const std::string_view testo : {t, corto}) {
    if (testo.empty()) continue;
    // Placed as it will be drawn, cut.
    const std::string corta = accorcia(testo, massimo_nome_svg);
    if (const auto p = scegli_posto(ancora, larghezza_testo(corta, corpo, true) + 4, corpo + 4)) {
      scrivi(s, *p, ancora, corta, classe, corpo);
      return;
    }
  }
}

void etichettatore::scrivi(svg& s, const posto& p, const punto_2d& ancora, std::string_view t,
                           std::string_view classe, double corpo) {
  const riquadro& r = p.r;
  occupati_.push_back(r);
  if (const auto linea = richiamo(r, ancora)) {
    s.linea(linea->a[0], linea->a[1], linea->b[0], linea->b[1], "class=\"richiamo\"");
    richiami_.push_back(*linea);
  }
  // The estimated width is only near the real one: the text keeps to the anchor's side.
  const std::string attributi = "class=\"etichetta " + std::string(classe) + "\" font-size=\"" +
                                std::to_string(std::lround(corpo)) + "\"";
  if (p.coseno > 0.3)
    s.testo(r.x0 + 2, r.y1 - 4, t, attributi);
  else if (p.coseno < -0.3)
    s.testo(r.x1 - 2, r.y1 - 4, t, attributi + " text-anchor=\"end\"");
  else
    s.testo((r.x0 + r.x1) / 2, r.y1 - 4, t, attributi + " text-anchor=\"middle\"");
}

bool etichettatore::libero(const riquadro& r, const punto_2d& ancora) const {
  for (const riquadro& o : occupati_)
    if (r.tocca(o)) return false;
  for (const segmento& g : richiami_)
    if (attraversa(g, r)) return false;
  if (const auto linea = richiamo(r, ancora)) {
    for (const riquadro& o : occupati_)
      if (!o.contiene(ancora) && attraversa(*linea, o)) return false;
  }
  return true;
}

int etichettatore::conta_ostacoli(const riquadro& r, const punto_2d& ancora) const {
  int n = 0;
  const double propria = distanza(r, ancora);
  for (const punto_2d& p : segni_)
    if (p != ancora && distanza(r, p) < propria + 4) n += 20;
  for (const punto_2d& p : ostacoli_) n += r.contiene(p) ? 1 : 0;
  if (const auto linea = richiamo(r, ancora)) {
    for (const segmento& g : richiami_) n += si_incrociano(*linea, g) ? 50 : 0;
  }
  return n;
}

std::vector<std::optional<double>> file_di_etichette::con_richiami(
    std::span<const std::pair<double, double>> etichette) {
  const std::size_t n = etichette.size();
  std::vector<int> bisogno(n, 0);
  for (std::size_t i = n; i-- > 0;) {
    const double fine = etichette[i].first + etichette[i].second + spazio_richiamo;
    for (std::size_t j = i + 1; j < n && etichette[j].first <= fine; ++j)
      bisogno[i] = std::max(bisogno[i], bisogno[j] + 1);
  }
  std::vector<std::optional<double>> y;
  for (std::size_t i = 0; i < n; ++i) {
    const auto [x, l] = etichette[i];
    y.push_back(metti(x, l, true, std::min(bisogno[i], righe_ - 1)));
  }
  return y;
}

int file_di_etichette::righe_per(std::span<const std::pair<double, double>> etichette, int minimo,
                                 int massimo) {
  for (int righe = minimo; righe < massimo; ++righe) {
    file_di_etichette prova(0, 1, righe);
    const auto y = prova.con_richiami(etichette);
    if (std::all_of(y.begin(), y.end(), [](const auto& v) { return v.has_value(); })) return righe;
  }
  return massimo;
}

int file_di_etichette::conflitti(int r, double x, double l, bool richiamo) const {
  int n = 0;
  for (const posto& p : posti_) {
    if (p.riga == r && x < p.x1 + spazio_testi && p.x0 < x + l + spazio_testi) ++n;
    // A guide line from a higher row runs down through this one.
    if (p.richiamo && p.riga > r && p.x0 >= x - spazio_richiamo && p.x0 <= x + l + spazio_richiamo)
      ++n;
    // This label's guide line runs down through the texts of the rows below.
    if (richiamo && p.riga < r && x >= p.x0 - spazio_richiamo && x <= p.x1 + spazio_richiamo) ++n;
  }
  return n;
}

std::optional<double> file_di_etichette::metti(double x, double l, bool richiamo, int desiderata) {
  for (int k = 0; k < righe_; ++k) {
    const int r = (desiderata + k) % righe_;
    if (conflitti(r, x, l, richiamo) > 0) continue;
    posti_.push_back({r, x, x + l, richiamo});
    return y_basso_ - static_cast<double>(r) * passo_;
  }
  return std::nullopt;
}

}  // namespace percorso
