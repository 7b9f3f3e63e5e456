// Labels of the drawing: where they go so that they overlap neither each other nor
// the track.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "plot/pagina.h"
#include "plot/svg.h"

namespace percorso {

struct riquadro {
  double x0, y0, x1, y1;
  bool tocca(const riquadro& r) const { return x0 < r.x1 && r.x0 < x1 && y0 < r.y1 && r.y0 < y1; }
  bool contiene(const punto_2d& p) const {
    return p[0] >= x0 && p[0] <= x1 && p[1] >= y0 && p[1] <= y1;
  }
};

// A straight line between two points of the page.
struct segmento {
  punto_2d a, b;
};

// Width of a UTF-8 text in the sans-serif face, estimated per kind of character.
double larghezza_testo(std::string_view t, double corpo, bool grassetto = false);

// Places labels near their anchors, inside their area, never over each other nor over
// a reserved box: a label with no such place is left out (its mark stays).
class etichettatore {
 public:
  etichettatore(riquadro area, std::vector<punto_2d> ostacoli)
      : area_(area), ostacoli_(std::move(ostacoli)) {}

  // Reserves a box that no label may cover, such as a marker.
  void riserva(const riquadro& r) { occupati_.push_back(r); }
  // A mark that labels should not seem to belong to, unless it is theirs.
  void segno(const punto_2d& p) { segni_.push_back(p); }

  // Writes the label t near ancora, with a leader line when it had to go far; where t
  // finds no place, the shorter corto when given.
  void metti(svg& s, const punto_2d& ancora, std::string_view t, std::string_view classe,
             double corpo = 12, std::string_view corto = {});

 private:
  struct posto {
    riquadro r;
    double coseno;  // of the direction from the anchor: which side of the box faces it
  };
  // The box of size l x a nearest the anchor, inside the area and free of labels,
  // reserved boxes and guide lines, that costs least, trying eight directions at growing
  // distances; nothing when there is none.
  std::optional<posto> scegli_posto(const punto_2d& ancora, double l, double a) const;
  // Whether a box with its guide line to the anchor touches no label, reserved box or
  // guide line.
  bool libero(const riquadro& r, const punto_2d& ancora) const;
  // What a free box costs: marks not its own nearer than its anchor, track points in it.
  int conta_ostacoli(const riquadro& r, const punto_2d& ancora) const;
  void scrivi(svg& s, const posto& p, const punto_2d& ancora, std::string_view t,
              std::string_view classe, double corpo);

  riquadro area_;
  std::vector<punto_2d> ostacoli_;
  std::vector<riquadro> occupati_;
  std::vector<punto_2d> segni_;
  std::vector<segmento> richiami_;
};

// Stacks labels in rows above a chart. A label with a guide line has the line run from
// its row down to the chart, so no text may lie on another text nor on a guide line:
// a label that finds no such row is left out.
class file_di_etichette {
 public:
  file_di_etichette(double y_basso, double passo_riga, int righe)
      : y_basso_(y_basso), passo_(passo_riga), righe_(righe) {}

  // Baselines of labels given left to right as (x, width), each with a guide line;
  // nothing for a label left out. A label whose text reaches over the next ones goes
  // higher, so their lines pass below it: a staircase down to the right.
  std::vector<std::optional<double>> con_richiami(
      std::span<const std::pair<double, double>> etichette);

  // The baseline for one label without a guide line, or nothing.
  std::optional<double> riga_per(double x, double larghezza) {
    return metti(x, larghezza, false, 0);
  }

  // The fewest rows, from minimo to massimo, that hold every label of con_richiami;
  // massimo when none does.
  static int righe_per(std::span<const std::pair<double, double>> etichette, int minimo,
                       int massimo);

 private:
  struct posto {
    int riga;
    double x0, x1;
    bool richiamo;
  };
  static constexpr double spazio_testi = 6, spazio_richiamo = 3;

  // How many texts and guide lines a label in row r would touch.
  int conflitti(int r, double x, double l, bool richiamo) const;
  // The first row without conflicts, trying the wished one first and then upwards.
  std::optional<double> metti(double x, double l, bool richiamo, int desiderata);

  double y_basso_, passo_;
  int righe_;
  std::vector<posto> posti_;
};

}  // namespace percorso
