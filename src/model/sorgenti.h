// The two source texts of a scenario, as bytes; an absent text is one that does not exist.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace percorso {

struct sorgenti {
  std::optional<std::span<const std::uint8_t>> linea;
  std::optional<std::span<const std::uint8_t>> treno;
};

}  // namespace percorso
