#include "diagnostics/json.h"

#include <cmath>
#include <cstdio>

#include "format/testo_nomi.h"

namespace percorso {

namespace {

void escape_u(std::string& out, char32_t c) {
  static constexpr char cifre[] = "0123456789abcdef";
  out += "\\u";
  for (int k = 12; k >= 0; k -= 4) out += cifre[(c >> k) & 15];
}

}  // namespace

std::string json_testo(std::string_view s) {
  std::string out = "\"";
  for (std::size_t i = 0; i < s.size();) {
    const carattere c = carattere_utf8(s, i);
    i += c.lunghezza;
    if (c.codice == '"' || c.codice == '\\') {
      out += '\\';
      out += static_cast<char>(c.codice);
    } else if (c.codice >= 0x20 && c.codice < 0x7F) {
      out += static_cast<char>(c.codice);
    } else if (c.codice < 0x10000) {
      escape_u(out, c.codice);
    } else {
      // Beyond the first plane: a surrogate pair.
      const char32_t v = c.codice - 0x10000;
      escape_u(out, 0xD800 + (v >> 10));
      escape_u(out, 0xDC00 + (v & 0x3FF));
    }
  }
  out += '"';
  return out;
}

std::string json_reale(double v) {
  if (!std::isfinite(v)) return "null";
  char b[32];
  const int n = std::snprintf(b, sizeof b, "%.17g", v);
  return std::string(b, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string json_numero(std::optional<std::int64_t> n) {
  return n ? std::to_string(*n) : "null";
}

json_oggetto& json_oggetto::numero(std::string_view chiave, std::int64_t v) {
  return grezzo(chiave, std::to_string(v));
}

json_oggetto& json_oggetto::numero(std::string_view chiave, std::optional<std::int64_t> v) {
  return grezzo(chiave, json_numero(v));
}

json_oggetto& json_oggetto::reale(std::string_view chiave, double v) {
  return grezzo(chiave, json_reale(v));
}

json_oggetto& json_oggetto::testo(std::string_view chiave, std::string_view v) {
  return grezzo(chiave, json_testo(v));
}

json_oggetto& json_oggetto::vero(std::string_view chiave, bool v) {
  return grezzo(chiave, v ? "true" : "false");
}

json_oggetto& json_oggetto::nullo(std::string_view chiave) {
  return grezzo(chiave, "null");
}

json_oggetto& json_oggetto::grezzo(std::string_view chiave, std::string_view json) {
  s_ += s_.empty() ? "{" : ", ";
  s_ += json_testo(chiave);
  s_ += ": ";
  s_ += json;
  return *this;
}

std::string json_oggetto::fine() const {
  return s_.empty() ? "{}" : s_ + "}";
}

json_lista& json_lista::aggiungi(std::string_view json) {
  s_ += s_.empty() ? "[" : ", ";
  s_ += json;
  return *this;
}

std::string json_lista::fine() const {
  return s_.empty() ? "[]" : s_ + "]";
}

std::string json_elenco(std::span<const std::string> elementi) {
  json_lista l;
  for (const auto& e : elementi) l.aggiungi(e);
  return l.fine();
}

std::string json_numeri(std::initializer_list<std::int64_t> v) {
  json_lista l;
  for (const auto n : v) l.aggiungi(std::to_string(n));
  return l.fine();
}

}  // namespace percorso
