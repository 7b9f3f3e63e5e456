#include "app/json.h"

namespace percorso {

std::string json_testo(std::string_view s) {
  static constexpr char cifre[] = "0123456789abcdef";
  std::string out = "\"";
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u >= 0x7F) {
      out += "\\u00";
      out += cifre[u >> 4];
      out += cifre[u & 15];
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

}  // namespace percorso
