#include "output/file_binari.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>

namespace percorso {
namespace {

// Writes little-endian values into a buffer of the file's exact size, allocated
// once: the file is then written in one call.
class scrittore {
 public:
  explicit scrittore(std::size_t dimensione) : byte_(dimensione), p_(byte_.data()) {}

  template <typename T>
  void intero(T v) {
    using U = std::make_unsigned_t<T>;
    const U u = static_cast<U>(v);
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(p_, &u, sizeof(T));
    } else {
      for (std::size_t i = 0; i < sizeof(T); ++i) p_[i] = static_cast<std::uint8_t>(u >> (8 * i));
    }
    p_ += sizeof(T);
  }
  void reale(double v) { intero(std::bit_cast<std::uint64_t>(v)); }
  // A 16-bit length, then the characters; longer texts keep their first 65535 bytes.
  void testo(std::string_view t) {
    const std::size_t n = lunghezza_testo(t);
    intero(static_cast<std::uint16_t>(n));
    std::memcpy(p_, t.data(), n);
    p_ += n;
  }
  std::vector<std::uint8_t> fine() {
    byte_.resize(static_cast<std::size_t>(p_ - byte_.data()));
    return std::move(byte_);
  }

  static std::size_t lunghezza_testo(std::string_view t) {
    return t.size() > 0xFFFF ? 0xFFFF : t.size();
  }

 private:
  std::vector<std::uint8_t> byte_;
  std::uint8_t* p_;
};

// Bytes of one element by kind: the tag, then the value.
constexpr std::size_t byte_intero = 2 + 2;
constexpr std::size_t byte_reale = 2 + 8;
constexpr std::size_t byte_vuoto = 2;

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
  scrittore s(2 * (interi * byte_intero + reali * byte_reale + vuoti * byte_vuoto));
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
  for (const punto& p : m.punti) dimensione += 34 + scrittore::lunghezza_testo(p.nome);
  scrittore s(dimensione);
  for (const punto& p : m.punti) {
    s.intero(p.codice);
    s.intero(p.valore_1);
    s.intero(p.valore_2);
    s.intero(p.valore_3);
    s.intero(p.opzione);
    s.testo(p.nome);
    s.intero(p.parametro_1);
    s.intero(p.parametro_2);
    s.intero(p.parametro_3);
    s.intero(p.parametro_4);
    s.intero(p.parametro_5);
    s.intero(p.indicatore_1);
    s.intero(p.indicatore_2);
    s.intero(p.indicatore_3);
    s.intero(p.indicatore_4);
    s.intero(p.orario);
  }
  return s.fine();
}

std::vector<std::uint8_t> immagine_celle(const modello& m) {
  scrittore s(m.celle.size() * byte_per_cella);
  for (const cella& c : m.celle) {
    s.intero(c.evento);
    s.intero(c.dato_1);
    s.intero(c.dato_2);
    s.intero(c.dato_3);
    s.intero(c.dato_4);
    s.intero(c.tempo_segnale);
    s.intero(c.ripetizione);
    s.intero(c.montagna);
    s.intero(c.velocita);
    s.intero(c.pendenza);
    s.intero(c.aderenza);
  }
  return s.fine();
}

}  // namespace percorso
