// Byte images of the plan, the point table and the cells, as the simulator loads them:
// packed little-endian records, no header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/modello.h"

namespace percorso {

// The plan file in pieces of whole elements, in file order: its 20 MB for a
// 1000000 m line are never whole in memory.
class pezzi_piano {
 public:
  explicit pezzi_piano(const piano& p);

  // The next piece, valid until the next call; empty once the file is complete.
  std::span<const std::uint8_t> prossimo();

  // Bytes of the whole file.
  std::size_t dimensione() const { return 2 * byte_tra(0, metri_); }

 private:
  // Bytes of the elements of the metres [da, a) of one coordinate.
  std::size_t byte_tra(std::size_t da, std::size_t a) const;

  const piano& p_;
  std::size_t metri_, assegnati_, interi_;
  std::size_t componente_ = 0;  // 0 while x is written, 1 for y
  std::size_t metro_ = 0;
  // Beside the plan, in memory it has already faulted in.
  std::vector<std::uint8_t, memoria_grande<std::uint8_t>> pezzo_;
};

// The whole plan file: its pieces joined.
std::vector<std::uint8_t> immagine_piano(const piano& p);
std::vector<std::uint8_t> immagine_punti(const modello& m);
std::vector<std::uint8_t> immagine_celle(const modello& m);

}  // namespace percorso
