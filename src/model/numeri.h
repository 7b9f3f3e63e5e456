// Number conversions shared by the compiler and the placement operations.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace percorso {

// Nearest whole number, halves to the even neighbour.
inline double arrotonda(double v) {
  return std::nearbyint(v);
}

// The whole number v if it fits T, otherwise nothing.
template <typename T>
std::optional<T> se_entra(std::int64_t v) {
  if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) return std::nullopt;
  return static_cast<T>(v);
}

// v rounded (halves to even) if the result fits T, otherwise nothing.
template <typename T>
std::optional<T> arrotonda_in(double v) {
  const double r = arrotonda(v);
  if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
        r <= static_cast<double>(std::numeric_limits<T>::max())))
    return std::nullopt;
  return static_cast<T>(r);
}

// v clamped into the 32-bit range.
inline std::int32_t satura_32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Low 16 or 8 bits, as the cell fields keep them.
inline std::int16_t basso_16(std::int64_t v) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(v & 0xFFFF));
}
inline std::uint8_t basso_8(std::int64_t v) {
  return static_cast<std::uint8_t>(v & 0xFF);
}

// round(p / 50 + piu) in double precision: the cell of a position.
inline std::int64_t cella_di(std::int64_t p, int piu) {
  return static_cast<std::int64_t>(arrotonda(static_cast<double>(p) / 50.0 + piu));
}

}  // namespace percorso
