// The small piece of JSON writing the reports need.
#pragma once

#include <string>
#include <string_view>

namespace percorso {

// A JSON string literal; control and non-ASCII bytes are written as \u00XX escapes,
// so the result is 7-bit whatever the text holds.
std::string json_testo(std::string_view s);

}  // namespace percorso
