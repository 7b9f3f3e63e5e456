#include "format/file_binari.h"

#include <algorithm>
#include <utility>

#include "format/byte.h"
#include "format/campi.h"

namespace percorso {
namespace {

// Bytes of one plan element of the kind t: the tag, then the value.
std::size_t byte_elemento(tipo_elemento t) {
  return 2 + *byte_del_valore(t);
}

// Metres of one coordinate in a piece: about 80 KB.
constexpr std::size_t metri_per_pezzo = 8192;

}  // namespace

// The plan is filled in metre order, so its kinds are three runs: whole numbers,
// then reals up to the assigned count, then empty metres.
pezzi_piano::pezzi_piano(const piano& p)
    : p_(p),
      metri_(p.x.size()),
      assegnati_(
          std::min(metri_, static_cast<std::size_t>(std::max<std::int32_t>(p.assegnati, 0)))),
      interi_(std::min<std::size_t>(assegnati_, 2)) {
  // The largest piece at once: a buffer grown piece by piece is copied and faulted twice.
  pezzo_.reserve(std::min(metri_, metri_per_pezzo) * byte_elemento(tipo_elemento::reale));
}

std::size_t pezzi_piano::byte_tra(std::size_t da, std::size_t a) const {
  auto in = [&](std::size_t inizio, std::size_t fine) {
    const std::size_t i = std::max(da, inizio), f = std::min(a, fine);
    return f > i ? f - i : 0;
  };
  return in(0, interi_) * byte_elemento(tipo_elemento::intero) +
         in(interi_, assegnati_) * byte_elemento(tipo_elemento::reale) +
         in(assegnati_, metri_) * byte_elemento(tipo_elemento::vuoto);
}

std::span<const std::uint8_t> pezzi_piano::prossimo() {
  if (componente_ == 2 || metri_ == 0) return {};
  const std::size_t da = metro_, a = std::min(metri_, da + metri_per_pezzo);
  scrittore_in<decltype(pezzo_)> s(std::move(pezzo_), byte_tra(da, a));
  const double* v = (componente_ == 0 ? p_.x : p_.y).data();
  for (std::size_t m = da; m < a; ++m) {
    if (m < interi_) {
      s.intero(static_cast<std::uint16_t>(tipo_elemento::intero));
      s.intero(static_cast<std::int16_t>(v[m]));
    } else if (m < assegnati_) {
      s.intero(static_cast<std::uint16_t>(tipo_elemento::reale));
      s.reale(v[m]);
    } else {
      s.intero(static_cast<std::uint16_t>(tipo_elemento::vuoto));
    }
  }
  pezzo_ = s.fine();
  metro_ = a;
  if (metro_ == metri_) {
    ++componente_;
    metro_ = 0;
  }
  return pezzo_;
}

std::vector<std::uint8_t> immagine_piano(const piano& p) {
  pezzi_piano pezzi(p);
  std::vector<std::uint8_t> byte;
  byte.reserve(pezzi.dimensione());
  for (auto pezzo = pezzi.prossimo(); !pezzo.empty(); pezzo = pezzi.prossimo())
    byte.insert(byte.end(), pezzo.begin(), pezzo.end());
  return byte;
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
