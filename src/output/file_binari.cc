#include "output/file_binari.h"

#include <bit>
#include <cstring>
#include <string_view>

namespace percorso {
namespace {

// Appends little-endian values to a byte buffer.
class scrittore {
 public:
  explicit scrittore(std::size_t dimensione) { byte_.reserve(dimensione); }

  template <typename T>
  void intero(T v) {
    using U = std::make_unsigned_t<T>;
    const U u = static_cast<U>(v);
    for (std::size_t i = 0; i < sizeof(T); ++i)
      byte_.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
  }
  void reale(double v) { intero(std::bit_cast<std::uint64_t>(v)); }
  // A 16-bit length, then the characters; longer texts keep their first 65535 bytes.
  void testo(std::string_view t) {
    const std::size_t n = t.size() > 0xFFFF ? 0xFFFF : t.size();
    intero(static_cast<std::uint16_t>(n));
    byte_.insert(byte_.end(), t.begin(), t.begin() + static_cast<std::ptrdiff_t>(n));
  }
  std::vector<std::uint8_t> fine() { return std::move(byte_); }

 private:
  std::vector<std::uint8_t> byte_;
};

void elemento(scrittore& s, const piano& p, const std::vector<double>& componente, std::int32_t m) {
  const tipo_elemento t = tipo_metro(p, m);
  s.intero(static_cast<std::uint16_t>(t));
  if (t == tipo_elemento::intero)
    s.intero(static_cast<std::int16_t>(componente[static_cast<std::size_t>(m)]));
  else if (t == tipo_elemento::reale)
    s.reale(componente[static_cast<std::size_t>(m)]);
}

}  // namespace

std::vector<std::uint8_t> immagine_piano(const piano& p) {
  const std::size_t metri = p.x.size();
  scrittore s(2 * metri * 10);
  for (const auto* componente : {&p.x, &p.y}) {
    for (std::size_t m = 0; m < metri; ++m)
      elemento(s, p, *componente, static_cast<std::int32_t>(m));
  }
  return s.fine();
}

std::vector<std::uint8_t> immagine_punti(const modello& m) {
  std::size_t dimensione = 0;
  for (const punto& p : m.punti) dimensione += 34 + p.nome.size();
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
