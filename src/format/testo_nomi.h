// Names and board texts as people see them. Names are single-byte texts in the
// simulator's code page, Windows-1252; every output shows them by one rule.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace percorso {

// A name as UTF-8: each byte becomes its Windows-1252 character (0xE8 is e grave,
// 0x80 the euro sign); a control byte (below 0x20, 0x7F) or one of the five bytes
// the code page leaves undefined becomes U+FFFD.
std::string nome_leggibile(std::string_view byte);

// One character of a UTF-8 text: its code point and the bytes it takes. A byte
// that starts no valid sequence reads as U+FFFD, one byte long.
struct carattere {
  char32_t codice;
  std::size_t lunghezza;
};
carattere carattere_utf8(std::string_view t, std::size_t i);

inline constexpr char32_t carattere_sostitutivo = 0xFFFD;

// A text of the program's own, a message or a path, as a terminal shows it: UTF-8
// passes as it is, so a path with an accent still names its file; a control
// character (C0, DEL, C1) becomes U+FFFD. A byte that is no UTF-8 stays, as a name on
// Linux need not be UTF-8, unless it is a C1 control byte.
std::string testo_mostrabile(std::string_view t);

// A UTF-8 text for XML and HTML: the five special characters escaped, control
// characters dropped (a tab stays), a byte that is no UTF-8 as U+FFFD. Safe in
// elements and quoted attributes alike.
std::string testo_xml(std::string_view t);

// A text to show, at most n bytes of it and then "...": a name of megabytes says
// nothing more in a drawing or a table, and would be copied whole. A UTF-8 sequence
// is never cut in two.
std::string accorcia(std::string_view t, std::size_t n);

}  // namespace percorso
