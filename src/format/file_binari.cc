#include "format/file_binari.h"

#include <algorithm>

#include "format/byte.h"
#include "format/campi.h"

namespace percorso {
namespace {

// Bytes of one plan element of the kind t: the tag, then the value.
std::size_t byte_elemento(tipo_elemento t) {
  return 2 + *byte_del_valore(t);
}

}  // namespace

std::vector<std::uint8_t> immagine_piano(const piano& p) {
  // The plan is filled in metre order, so its kinds are three runs: whole
  // numbers, then reals up to the assigned count, then empty metres.
  const std::size_t metri = p.x.size();
  const std::size_t assegnati =
      std::min(metri, static_cast<std::size_t>(std::max<std::int32_t>(p.assegnati, 0)));
  const std::size_t interi = std::min<std::size_t>(assegnati, 2);
  const std::size_t reali = assegnati - interi;
  const std::size_t vuoti = metri - assegnati;
  scrittore s(2 * (interi * byte_elemento(tipo_elemento::intero) +
                   reali * byte_elemento(tipo_elemento::reale) +
                   vuoti * byte_elemento(tipo_elemento::vuoto)));
  for (const auto* componente : {&p.x, &p.y}) {
    const double* v = componente->data();
    std::size_t m = 0;
    for (; m < interi; ++m) {
      s.intero(static_cast<std::uint16_t>(tipo_elemento::intero));
      s.intero(static_cast<std::int16_t>(v[m]));
    }
    for (; m < assegnati; ++m) {
      s.intero(static_cast<std::uint16_t>(tipo_elemento::reale));
      s.reale(v[m]);
    }
    for (; m < metri; ++m) s.intero(static_cast<std::uint16_t>(tipo_elemento::vuoto));
  }
  return s.fine();
}

std::vector<std::uint8_t> immagine_punti(const modello& m) {
  std::size_t dimensione = 0;
  for (const punto& p : m.punti)
    campi_punto(p, [&](std::string_view, const auto& v) { dimensione += byte_del_campo(v); });
  scrittore s(dimensione);
  for (const punto& p : m.punti)
    campi_punto(p, [&](std::string_view, const auto& v) { s.campo(v); });
  return s.fine();
}

std::vector<std::uint8_t> immagine_celle(const modello& m) {
  scrittore s(m.celle.size() * byte_per_cella);
  for (const cella& c : m.celle)
    campi_cella(c, [&](std::string_view, const auto& v) { s.campo(v); });
  return s.fine();
}

}  // namespace percorso
