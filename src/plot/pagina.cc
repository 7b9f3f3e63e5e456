#include "plot/pagina.h"

#include <cmath>
#include <cstdio>

namespace percorso {

std::string numero_testo(double v, int decimali) {
  // No "-0" for a value that rounds to zero.
  if (std::abs(v) < 0.5 * std::pow(10.0, -decimali)) v = 0;
  char b[64];
  std::snprintf(b, sizeof b, "%.*f", decimali, v);
  std::string s = b;
  if (const auto punto = s.find('.'); punto != std::string::npos) s[punto] = ',';
  return s;
}

double passo_tondo(double ampiezza, double n) {
  if (!(ampiezza > 0) || !std::isfinite(ampiezza)) return 1;
  const double grezzo = ampiezza / n;
  const double potenza = std::pow(10.0, std::floor(std::log10(grezzo)));
  for (const double m : {1.0, 2.0, 5.0})
    if (grezzo <= m * potenza) return m * potenza;
  return 10 * potenza;
}

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

void triangolo(svg& s, const punto_2d& p, double r, std::string_view classe) {
  const punto_2d v[] = {
      {p[0], p[1] - r}, {p[0] - r * 0.87, p[1] + r * 0.5}, {p[0] + r * 0.87, p[1] + r * 0.5}};
  s.poligono(v, "class=\"" + std::string(classe) + "\"");
}

void polilinee(svg& s, const std::vector<std::vector<punto_2d>>& pezzi,
               std::string_view attributi) {
  for (const auto& p : pezzi) s.polilinea(p, attributi);
}

}  // namespace percorso
