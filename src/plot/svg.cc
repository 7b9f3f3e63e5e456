#include "plot/svg.h"

#include <cmath>
#include <cstdio>

namespace percorso {

svg::svg(double larghezza, double altezza, std::string_view foglio_di_stile)
    : larghezza_(larghezza), altezza_(altezza), stile_(foglio_di_stile) {}

// Two decimals are finer than a pixel; a value that is not finite becomes 0
// so a broken input never yields an unreadable document.
void svg::numero(double v) {
  if (!std::isfinite(v)) v = 0;
  char b[32];
  const int n = std::snprintf(b, sizeof b, "%.2f", v);
  std::string t(b, n > 0 ? static_cast<std::size_t>(n) : 0);
  if (t.find('.') != std::string::npos) {
    while (t.back() == '0') t.pop_back();
    if (t.back() == '.') t.pop_back();
  }
  corpo_ += t == "-0" ? "0" : t;
}

void svg::punti(std::span<const std::array<double, 2>> p) {
  corpo_ += " points=\"";
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (i > 0) corpo_ += ' ';
    numero(p[i][0]);
    corpo_ += ',';
    numero(p[i][1]);
  }
  corpo_ += '"';
}

void svg::linea(double x1, double y1, double x2, double y2, std::string_view attributi) {
  corpo_ += "<line x1=\"";
  numero(x1);
  corpo_ += "\" y1=\"";
  numero(y1);
  corpo_ += "\" x2=\"";
  numero(x2);
  corpo_ += "\" y2=\"";
  numero(y2);
  corpo_ += "\" ";
  corpo_ += attributi;
  corpo_ += "/>\n";
}

void svg::forma_a_punti(std::string_view tag, std::span<const std::array<double, 2>> p,
                        std::string_view attributi) {
  corpo_ += '<';
  corpo_ += tag;
  punti(p);
  corpo_ += ' ';
  corpo_ += attributi;
  corpo_ += "/>\n";
}

void svg::polilinea(std::span<const std::array<double, 2>> p, std::string_view attributi) {
  if (p.size() >= 2) forma_a_punti("polyline", p, attributi);
}

void svg::poligono(std::span<const std::array<double, 2>> p, std::string_view attributi) {
  if (p.size() >= 3) forma_a_punti("polygon", p, attributi);
}

void svg::rettangolo(double x, double y, double l, double a, std::string_view attributi) {
  corpo_ += "<rect x=\"";
  numero(x);
  corpo_ += "\" y=\"";
  numero(y);
  corpo_ += "\" width=\"";
  numero(l < 0 ? 0 : l);
  corpo_ += "\" height=\"";
  numero(a < 0 ? 0 : a);
  corpo_ += "\" ";
  corpo_ += attributi;
  corpo_ += "/>\n";
}

void svg::cerchio(double x, double y, double r, std::string_view attributi) {
  corpo_ += "<circle cx=\"";
  numero(x);
  corpo_ += "\" cy=\"";
  numero(y);
  corpo_ += "\" r=\"";
  numero(r);
  corpo_ += "\" ";
  corpo_ += attributi;
  corpo_ += "/>\n";
}

void svg::testo(double x, double y, std::string_view t, std::string_view attributi, double ruota) {
  corpo_ += "<text x=\"";
  numero(x);
  corpo_ += "\" y=\"";
  numero(y);
  corpo_ += "\" ";
  if (ruota != 0) {
    corpo_ += "transform=\"rotate(";
    numero(ruota);
    corpo_ += ' ';
    numero(x);
    corpo_ += ' ';
    numero(y);
    corpo_ += ")\" ";
  }
  corpo_ += attributi;
  corpo_ += '>';
  corpo_ += testo_xml(t);
  corpo_ += "</text>\n";
}

void svg::titolo(std::string_view t) {
  corpo_ += "<title>";
  corpo_ += testo_xml(t);
  corpo_ += "</title>\n";
}

void svg::apri_gruppo(std::string_view attributi) {
  corpo_ += "<g ";
  corpo_ += attributi;
  corpo_ += ">\n";
}

void svg::apri_etichette(double x0, double y0, double x1, double y1) {
  corpo_ += "<g class=\"etichette\" data-cornice=\"";
  for (const double v : {x0, y0, x1, y1}) {
    numero(v);
    corpo_ += ' ';
  }
  corpo_.back() = '"';
  corpo_ += ">\n";
}

void svg::chiudi_gruppo() {
  corpo_ += "</g>\n";
}

std::string svg::fine() const {
  char dimensioni[128];
  std::snprintf(dimensioni, sizeof dimensioni,
                "width=\"%.0f\" height=\"%.0f\" viewBox=\"0 0 %.0f %.0f\"", larghezza_, altezza_,
                larghezza_, altezza_);
  std::string s =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" ";
  s += dimensioni;
  s += ">\n<style>\n";
  s += stile_;
  s += "</style>\n";
  s += corpo_;
  s += "</svg>\n";
  return s;
}

}  // namespace percorso
