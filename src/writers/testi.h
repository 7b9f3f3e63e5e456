// The embedded scenario: the two source texts and the three driver's documents,
// one entry per line, without line ends.
#pragma once

#include <span>
#include <string_view>

namespace percorso {

std::span<const std::string_view> righe_linea();
std::span<const std::string_view> righe_treno();
std::span<const std::string_view> righe_scheda();
std::span<const std::string_view> righe_rallentamenti();
std::span<const std::string_view> righe_note();

}  // namespace percorso
