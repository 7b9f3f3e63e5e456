// A small builder of self-contained SVG documents: shapes and escaped text,
// styled by classes of an embedded style sheet, with no external resource.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "format/testo_nomi.h"

namespace percorso {

// A name in a drawing says nothing more past this many bytes; a name of megabytes
// would be copied whole into every label.
inline constexpr std::size_t massimo_nome_svg = 60;

class svg {
 public:
  svg(double larghezza, double altezza, std::string_view foglio_di_stile);

  // Attributes are passed whole, such as `class="binario"`; they are not escaped.
  void linea(double x1, double y1, double x2, double y2, std::string_view attributi);
  void polilinea(std::span<const std::array<double, 2>> punti, std::string_view attributi);
  void rettangolo(double x, double y, double l, double a, std::string_view attributi);
  void cerchio(double x, double y, double r, std::string_view attributi);
  void poligono(std::span<const std::array<double, 2>> punti, std::string_view attributi);
  // Text at (x, y); ruota turns it by that many degrees about its anchor.
  void testo(double x, double y, std::string_view t, std::string_view attributi, double ruota = 0);
  void titolo(std::string_view t);
  // The height can be set once the drawing is done.
  void imposta_altezza(double altezza) { altezza_ = altezza; }
  void apri_gruppo(std::string_view attributi);
  // A group of labels that keep inside the box, which the group carries as data-cornice
  // so that a reader of the drawing can check it; closed by chiudi_gruppo.
  void apri_etichette(double x0, double y0, double x1, double y1);
  void chiudi_gruppo();

  std::string fine() const;

 private:
  void numero(double v);
  void punti(std::span<const std::array<double, 2>> p);
  // <tag points="..." attributi/>
  void forma_a_punti(std::string_view tag, std::span<const std::array<double, 2>> p,
                     std::string_view attributi);

  std::string corpo_;
  double larghezza_, altezza_;
  std::string stile_;
};

}  // namespace percorso
