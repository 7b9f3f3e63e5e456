// The units of a cell's profile fields: the speed limit in steps of 5 km/h, the
// gradient in per mille raised by 100. Each is written by one function and read
// by its twin, whoever shows it.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "model/numeri.h"

namespace percorso {

inline constexpr int km_h_per_passo = 5;
inline constexpr int scarto_pendenza = 100;

// km/h as the cell keeps them, rounded to a step; nothing when they do not fit.
inline std::optional<std::uint8_t> velocita_in_cella(std::int32_t km_h) {
  return arrotonda_in<std::uint8_t>(km_h / static_cast<double>(km_h_per_passo));
}
inline int velocita_km_h(std::uint8_t in_cella) {
  return in_cella * km_h_per_passo;
}

// The s-side and d-side speeds of one class of speed indicators in one field: the
// s-side in steps of 5 km/h in the hundreds, the d-side ones below. The s-side
// product wraps at 32 bits before the d-side speed is added; nothing when the sum
// does not fit.
inline std::optional<std::int16_t> indicatori_in_cella(std::int32_t s_km_h, std::int32_t d_km_h) {
  const auto s = static_cast<std::int32_t>(static_cast<std::uint32_t>(s_km_h) * 20u);
  return arrotonda_in<std::int16_t>(static_cast<double>(s) +
                                    d_km_h / static_cast<double>(km_h_per_passo));
}
// The s-side and d-side km/h of the field.
inline std::pair<int, int> indicatori_km_h(std::int16_t in_cella) {
  return {in_cella / 100 * km_h_per_passo, in_cella % 100 * km_h_per_passo};
}

// Per mille as the cell keeps them: the low 8 bits of the raised value.
inline std::uint8_t pendenza_in_cella(std::int32_t per_mille) {
  return basso_8(std::int64_t{per_mille} + scarto_pendenza);
}
inline int pendenza_per_mille(std::uint8_t in_cella) {
  return in_cella - scarto_pendenza;
}

}  // namespace percorso
