// What each finding's code means, and how to fix the text that raised it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace percorso {

// Short Italian meaning of a finding's code.
std::string_view significato(std::int32_t codice);

// A few lines on what a code means, what usually causes it and how to fix the text;
// nothing for an unknown code.
std::optional<std::string_view> spiegazione(std::int32_t codice);

// Every code that has an explanation, in increasing order.
std::vector<std::int32_t> codici_spiegati();

}  // namespace percorso
