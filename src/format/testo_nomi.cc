#include "format/testo_nomi.h"

namespace percorso {

namespace {

// Length of the UTF-8 sequence at the start of t, or 0 when there is none.
std::size_t utf8_valido(std::string_view t) {
  const auto u = static_cast<unsigned char>(t[0]);
  const std::size_t n = u >= 0xF0 && u <= 0xF4 ? 4 : u >= 0xE0 ? 3 : u >= 0xC2 && u < 0xE0 ? 2 : 0;
  if (n == 0 || t.size() < n) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(t[k]) & 0xC0) != 0x80) return 0;
  return n;
}

}  // namespace

std::string testo_xml(std::string_view t) {
  std::string s;
  s.reserve(t.size());
  for (std::size_t i = 0; i < t.size(); ++i) {
    const char c = t[i];
    switch (c) {
      case '&':
        s += "&amp;";
        break;
      case '<':
        s += "&lt;";
        break;
      case '>':
        s += "&gt;";
        break;
      case '"':
        s += "&quot;";
        break;
      case '\'':
        s += "&apos;";
        break;
      default: {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) {
          // XML allows no other control characters.
          if (u >= 0x20 || c == '\t') s += c;
        } else if (const std::size_t n = utf8_valido(t.substr(i)); n > 0) {
          s.append(t.substr(i, n));
          i += n - 1;
        } else if (u >= 0xA0) {
          // Names are single-byte texts: read a stray byte as Latin-1.
          s += static_cast<char>(0xC0 | (u >> 6));
          s += static_cast<char>(0x80 | (u & 0x3F));
        } else {
          s += '?';
        }
        break;
      }
    }
  }
  return s;
}

}  // namespace percorso
