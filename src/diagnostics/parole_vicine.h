// The known word nearest to a mistyped one, for every "did you mean" the program says.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace percorso {

// The known word nearest to parola, when it is near enough to be what was meant.
std::optional<std::string_view> piu_vicino(std::string_view parola,
                                           std::span<const std::string_view> note);

// " (forse 'X'?)" with the nearest known word, or nothing.
std::string forse(std::string_view parola, std::span<const std::string_view> note);

}  // namespace percorso
