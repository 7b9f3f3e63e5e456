// Readers of the three binary files: the inverse of the byte images in
// file_binari.h. Any input is accepted: a fault comes back as a value, reads
// never leave the span, and memory stays proportional to the input.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/modello.h"

namespace percorso {

// What is wrong with a file, in Italian, and the byte where it was found.
struct errore_decodifica {
  std::string messaggio;
  std::size_t posizione = 0;
};

template <typename T>
struct decodificato {
  T valore{};
  std::optional<errore_decodifica> errore;

  bool ok() const { return !errore.has_value(); }
};

// One tagged element of the plan file.
struct elemento_piano {
  tipo_elemento tipo = tipo_elemento::vuoto;
  double valore = 0;  // 0 for an empty element

  bool operator==(const elemento_piano&) const = default;
};

// The plan file as written: the x block and the y block, one element per metre.
struct piano_letto {
  std::vector<elemento_piano> x;
  std::vector<elemento_piano> y;

  std::size_t metri() const { return x.size(); }
  // Coordinates of metre m when both elements hold a finite number.
  std::optional<std::array<double, 2>> punto_a(std::size_t m) const;
};

decodificato<std::vector<cella>> decodifica_celle(std::span<const std::uint8_t> dati);
decodificato<std::array<punto, numero_punti>> decodifica_punti(std::span<const std::uint8_t> dati);
decodificato<piano_letto> decodifica_piano(std::span<const std::uint8_t> dati);

}  // namespace percorso
