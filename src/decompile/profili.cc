#include "decompile/profili.h"

namespace percorso {
namespace {

// How the rows write the cells [0, fino): one row per change of value, and past the
// last cell a row may name, one row per cell.
class scrittura {
 public:
  scrittura(std::span<const std::uint8_t> byte, std::uint8_t iniziale)
      : byte_(byte), vigore_(iniziale), ultima_riga_(static_cast<std::int64_t>(byte.size()) - 3) {}

  // Writes [0, fino) and leaves dopo in force.
  void scrivi(std::int64_t fino, std::uint8_t dopo) {
    if (fino > 0 && byte_[0] != vigore_) metti(0, byte_[0], false);
    for (std::int64_t a = 0; a < fino;) {
      std::int64_t z = a;
      while (z + 1 < fino &&
             byte_[static_cast<std::size_t>(z + 1)] == byte_[static_cast<std::size_t>(a)])
        ++z;
      segmento(z, z + 1 < fino ? byte_[static_cast<std::size_t>(z + 1)] : dopo);
      a = z + 1;
    }
    if (vigore_ != dopo) metti(0, dopo, false);
  }

  std::vector<riga_profilo> righe() && { return std::move(righe_); }

 private:
  void metti(std::int64_t cella, std::uint8_t valore, bool indietro) {
    righe_.push_back({cella, valore, indietro});
    vigore_ = valore;
  }

  // Writes the cursor's cell up to z, then puts prossimo in force.
  void segmento(std::int64_t z, std::uint8_t prossimo) {
    const std::uint8_t v = vigore_;
    if (z + 1 <= ultima_riga_) {
      metti(z + 1, prossimo, false);
      cursore_ = z + 1;
      return;
    }
    if (cursore_ < ultima_riga_) {
      metti(ultima_riga_, v, false);
      cursore_ = ultima_riga_;
    }
    for (; cursore_ <= z; ++cursore_) metti(ultima_riga_, cursore_ == z ? prossimo : v, true);
  }

  std::span<const std::uint8_t> byte_;
  std::uint8_t vigore_;
  // The last cell a row's position may name: the cells must reach 100 m past it.
  std::int64_t ultima_riga_;
  std::int64_t cursore_ = 0;
  std::vector<riga_profilo> righe_;
};

}  // namespace

std::vector<riga_profilo> righe_profilo(std::span<const std::uint8_t> byte, std::uint8_t iniziale,
                                        bool coda) {
  const auto n = static_cast<std::int64_t>(byte.size());
  if (n < 4) return {};
  std::int64_t ultima_scritta = n - 1;
  while (ultima_scritta >= 0 && byte[static_cast<std::size_t>(ultima_scritta)] == 0)
    --ultima_scritta;
  scrittura s(byte, iniziale);
  if (!coda) {
    s.scrivi(ultima_scritta + 1, iniziale);
    return std::move(s).righe();
  }
  // The tail writes from the cursor to the third cell from the end, and always one cell.
  const std::int64_t fine_coda = n - 4;
  const std::int64_t k = std::max(ultima_scritta, fine_coda);
  std::int64_t da_coda = k;
  if (k == fine_coda) {
    while (da_coda > 0 &&
           byte[static_cast<std::size_t>(da_coda - 1)] == byte[static_cast<std::size_t>(k)])
      --da_coda;
  }
  s.scrivi(da_coda, byte[static_cast<std::size_t>(k)]);
  return std::move(s).righe();
}

}  // namespace percorso
