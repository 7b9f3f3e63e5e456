#include "format/testo_nomi.h"

namespace percorso {
namespace {

// Windows-1252 from 0x80 to 0x9F; 0 where the code page has no character.
constexpr char32_t da_80_a_9f[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char32_t da_1252(unsigned char b) {
  if (b < 0x20 || b == 0x7F) return carattere_sostitutivo;
  if (b >= 0x80 && b <= 0x9F) {
    const char32_t c = da_80_a_9f[b - 0x80];
    return c != 0 ? c : carattere_sostitutivo;
  }
  // ASCII and 0xA0-0xFF are the Unicode code points of the same number.
  return b;
}

void aggiungi_utf8(std::string& s, char32_t c) {
  auto b = [&](char32_t v) { s += static_cast<char>(v); };
  if (c < 0x80) {
    b(c);
  } else if (c < 0x800) {
    b(0xC0 | (c >> 6));
    b(0x80 | (c & 0x3F));
  } else {
    b(0xE0 | (c >> 12));
    b(0x80 | ((c >> 6) & 0x3F));
    b(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string nome_leggibile(std::string_view byte) {
  std::string s;
  s.reserve(byte.size());
  for (const char c : byte) aggiungi_utf8(s, da_1252(static_cast<unsigned char>(c)));
  return s;
}

carattere carattere_utf8(std::string_view t, std::size_t i) {
  const auto u = static_cast<unsigned char>(t[i]);
  if (u < 0x80) return {u, 1};
  const std::size_t n = u >= 0xC2 && u < 0xE0    ? 2
                        : u >= 0xE0 && u < 0xF0  ? 3
                        : u >= 0xF0 && u <= 0xF4 ? 4
                                                 : 0;
  if (n == 0 || t.size() - i < n) return {carattere_sostitutivo, 1};
  char32_t c = u & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    const auto v = static_cast<unsigned char>(t[i + k]);
    if ((v & 0xC0) != 0x80) return {carattere_sostitutivo, 1};
    c = (c << 6) | (v & 0x3F);
  }
  // Overlong forms, surrogates and values beyond Unicode are not characters.
  const char32_t minimo[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < minimo[n] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
    return {carattere_sostitutivo, 1};
  return {c, n};
}

std::string testo_mostrabile(std::string_view t) {
  std::string s;
  s.reserve(t.size());
  for (std::size_t i = 0; i < t.size();) {
    const carattere c = carattere_utf8(t, i);
    // A byte that starts no sequence reads as U+FFFD: its own value decides.
    const char32_t codice = c.codice == carattere_sostitutivo && c.lunghezza == 1
                                ? static_cast<unsigned char>(t[i])
                                : c.codice;
    if (codice < 0x20 || (codice >= 0x7F && codice <= 0x9F))
      aggiungi_utf8(s, carattere_sostitutivo);
    else
      s.append(t.substr(i, c.lunghezza));
    i += c.lunghezza;
  }
  return s;
}

std::string testo_xml(std::string_view t) {
  std::string s;
  s.reserve(t.size());
  for (std::size_t i = 0; i < t.size();) {
    const carattere c = carattere_utf8(t, i);
    switch (c.codice) {
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
      case carattere_sostitutivo:
        s += "\xef\xbf\xbd";
        break;
      default:
        // XML allows no other control characters.
        if (c.codice >= 0x20 || c.codice == '\t') s.append(t.substr(i, c.lunghezza));
        break;
    }
    i += c.lunghezza;
  }
  return s;
}

std::string accorcia(std::string_view t, std::size_t n) {
  if (t.size() <= n) return std::string(t);
  while (n > 0 && (static_cast<unsigned char>(t[n]) & 0xC0) == 0x80) --n;
  return std::string(t.substr(0, n)).append("...");
}

}  // namespace percorso
