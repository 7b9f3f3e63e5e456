#include "platform/uscita_intera.h"

#include <algorithm>
#include <cstring>

namespace percorso {
namespace {

// Where the last UTF-8 character of s begins, when s ends before its last byte: the
// length of s otherwise. Bytes that start no character count as whole.
std::size_t fine_intera(std::string_view s) {
  for (std::size_t indietro = 1; indietro <= std::min<std::size_t>(3, s.size()); ++indietro) {
    const auto b = static_cast<unsigned char>(s[s.size() - indietro]);
    if ((b & 0xC0) == 0x80) continue;  // a continuation: the start lies further back
    const std::size_t lunghezza = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return lunghezza > indietro ? s.size() - indietro : s.size();
  }
  return s.size();
}

}  // namespace

uscita_intera::uscita_intera(std::function<bool(std::string_view)> scrivi)
    : scrivi_(std::move(scrivi)) {
  setp(spazio_.data(), spazio_.data() + spazio_.size());
}

uscita_intera::~uscita_intera() {
  // What is left, a character cut short included: nothing more will come.
  if (pptr() != pbase()) scrivi_({pbase(), static_cast<std::size_t>(pptr() - pbase())});
}

bool uscita_intera::svuota() {
  const std::string_view scritto(pbase(), static_cast<std::size_t>(pptr() - pbase()));
  const std::size_t intero = fine_intera(scritto);
  const bool riuscito = intero == 0 || scrivi_(scritto.substr(0, intero));
  // The bytes of a character cut short move to the front and wait for the rest.
  const std::size_t resto = scritto.size() - intero;
  std::memmove(spazio_.data(), scritto.data() + intero, resto);
  setp(spazio_.data(), spazio_.data() + spazio_.size());
  pbump(static_cast<int>(resto));
  return riuscito;
}

uscita_intera::int_type uscita_intera::overflow(int_type c) {
  if (!svuota()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int uscita_intera::sync() {
  return svuota() ? 0 : -1;
}

}  // namespace percorso
