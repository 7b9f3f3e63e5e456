// The one JSON writer of the program: every JSON output is built with it, in one
// style, `{"chiave": valore, ...}` and `[a, b]`.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace percorso {

// A JSON string literal of a UTF-8 text: control and non-ASCII characters are
// written as \uXXXX escapes, so the result is 7-bit; a byte that is no valid UTF-8
// becomes \ufffd.
std::string json_testo(std::string_view s);
// A number with every digit a double needs; null when it is not finite.
std::string json_reale(double v);
// A whole number, or null.
std::string json_numero(std::optional<std::int64_t> n);

// Builds one JSON object, member after member, in the order given.
class json_oggetto {
 public:
  json_oggetto& numero(std::string_view chiave, std::int64_t v);
  json_oggetto& numero(std::string_view chiave, std::optional<std::int64_t> v);
  json_oggetto& reale(std::string_view chiave, double v);
  json_oggetto& testo(std::string_view chiave, std::string_view v);
  json_oggetto& vero(std::string_view chiave, bool v);
  json_oggetto& nullo(std::string_view chiave);
  // A value already written as JSON, such as a nested object or list.
  json_oggetto& grezzo(std::string_view chiave, std::string_view json);

  std::string fine() const;

 private:
  std::string s_;
};

// Builds one JSON list of values already written as JSON.
class json_lista {
 public:
  json_lista& aggiungi(std::string_view json);
  std::string fine() const;

 private:
  std::string s_;
};

// A list of values already written as JSON.
std::string json_elenco(std::span<const std::string> elementi);
// A list of whole numbers.
std::string json_numeri(std::initializer_list<std::int64_t> v);

}  // namespace percorso
