#include "inspect/piano.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "inspect/testi.h"

namespace percorso {
namespace {

struct riassunto_piano {
  std::size_t interi_vista = 0, reali = 0, vuoti = 0, incompleti = 0;
  std::optional<std::size_t> primo, ultimo;  // metres with a point
  double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
  double lunghezza = 0;             // sum of the steps between neighbouring metres
  std::optional<double> direzione;  // degrees, 0 along +y, positive towards +x
  std::array<double, 2> fine{};
};

// One metre at a time, so the summary costs no more memory than the file.
riassunto_piano riassumi(std::span<const std::uint8_t> dati) {
  riassunto_piano r;
  std::optional<std::array<double, 2>> prima;
  per_ogni_metro(dati, {}, [&](std::size_t m, const elemento_piano& ex, const elemento_piano& ey) {
    for (const auto* e : {&ex, &ey}) {
      if (e->tipo == tipo_elemento::intero) ++r.interi_vista;
      if (e->tipo == tipo_elemento::reale) ++r.reali;
      if (e->tipo == tipo_elemento::vuoto) ++r.vuoti;
    }
    const auto q = punto_di(ex, ey);
    if (!q) {
      if (ex.tipo != tipo_elemento::vuoto || ey.tipo != tipo_elemento::vuoto) ++r.incompleti;
      prima.reset();
      return;
    }
    const auto [x, y] = *q;
    if (!r.primo) {
      r.primo = m;
      r.min_x = r.max_x = x;
      r.min_y = r.max_y = y;
    }
    r.ultimo = m;
    r.min_x = std::min(r.min_x, x);
    r.max_x = std::max(r.max_x, x);
    r.min_y = std::min(r.min_y, y);
    r.max_y = std::max(r.max_y, y);
    r.fine = *q;
    if (prima) {
      const double dx = x - (*prima)[0], dy = y - (*prima)[1];
      r.lunghezza += std::hypot(dx, dy);
      if (dx != 0 || dy != 0) r.direzione = std::atan2(dx, dy) * 180.0 / 3.14159265358979323846;
    }
    prima = q;
  });
  return r;
}

nodo_vista numero(std::size_t n) {
  return nodo_vista::intero(static_cast<std::int64_t>(n));
}

nodo_vista metri(double v, int decimali = 1) {
  return nodo_vista::reale(v, formato("%.*f m", decimali, v));
}

void con_coordinate(vista& d, const riassunto_piano& r) {
  d.voci.push_back({"metri_con_coordinate", "metri con coordinate",
                    nodo_vista::oggetto(formato("%zu-%zu", *r.primo, *r.ultimo))
                        .con("primo", numero(*r.primo))
                        .con("ultimo", numero(*r.ultimo))});
  d.voci.push_back({"lunghezza", "lunghezza del tracciato (somma dei passi)", metri(r.lunghezza)});
  d.voci.push_back({"riquadro", "riquadro",
                    nodo_vista::oggetto(
                        formato("x da %.1f a %.1f m, y da %.1f a %.1f m (%.1f x %.1f m)", r.min_x,
                                r.max_x, r.min_y, r.max_y, r.max_x - r.min_x, r.max_y - r.min_y))
                        .con("min_x", metri(r.min_x))
                        .con("max_x", metri(r.max_x))
                        .con("min_y", metri(r.min_y))
                        .con("max_y", metri(r.max_y))});
  d.voci.push_back({"fine", formato("punto finale (metro %zu)", *r.ultimo),
                    nodo_vista::lista()
                        .aggiungi(metri(r.fine[0]))
                        .aggiungi(metri(r.fine[1]))
                        .con_testo(formato("x %.1f m, y %.1f m", r.fine[0], r.fine[1]))});
}

}  // namespace

vista descrivi_piano(const std::string& file, std::span<const std::uint8_t> dati,
                     std::size_t metri) {
  const riassunto_piano r = riassumi(dati);
  const std::size_t byte = dati.size();
  vista d{.file = file, .tipo = "piano"};
  d.sommario = formato("file del tracciato, %zu metri per coordinata (%zu elementi, %zu byte)",
                       metri, 2 * metri, byte);
  d.dati.push_back({"byte", "", numero(byte)});
  d.dati.push_back({"metri", "", numero(metri)});
  d.voci.push_back({"elementi", "elementi",
                    nodo_vista::oggetto(formato("%zu interi, %zu reali, %zu vuoti", r.interi_vista,
                                                r.reali, r.vuoti))
                        .con("interi", numero(r.interi_vista))
                        .con("reali", numero(r.reali))
                        .con("vuoti", numero(r.vuoti))});
  d.voci.push_back({"metri_incompleti", "metri con una sola coordinata o un valore non finito",
                    numero(r.incompleti)});
  if (r.primo)
    con_coordinate(d, r);
  else
    d.voci.push_back(
        {"metri_con_coordinate", "metri con coordinate", nodo_vista::nullo("nessuno")});
  d.voci.push_back(
      {"direzione_finale_gradi", "direzione finale",
       r.direzione
           ? nodo_vista::reale(*r.direzione,
                               formato("%.2f gradi (0 = direzione iniziale, +y; positivi verso "
                                       "destra, +x)",
                                       *r.direzione))
           : nodo_vista::nullo("non definita")});
  return d;
}

}  // namespace percorso
