#include "lsp/codifica.h"

#include <array>

#include "format/testo_nomi.h"

namespace percorso::lsp {
namespace {

// The characters of bytes 0x80 to 0x9F; 0 where the code page leaves the byte undefined.
constexpr std::array<char16_t, 32> da_80 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte of a character, or nothing outside the code page.
int byte_di(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (std::size_t i = 0; i < da_80.size(); ++i) {
    if (da_80[i] == c) return static_cast<int>(0x80 + i);
  }
  if (c >= 0x80 && c <= 0x9F && da_80[c - 0x80] == 0) return static_cast<int>(c);
  return -1;
}

}  // namespace

testo_convertito da_utf8(std::string_view testo) {
  testo_convertito t;
  t.byte.reserve(testo.size());
  std::int32_t riga = 0;
  std::size_t inizio_riga = 0;
  for (std::size_t i = 0; i < testo.size();) {
    const carattere c = carattere_utf8(testo, i);
    i += c.lunghezza;
    const int b = byte_di(c.codice);
    if (b >= 0) {
      t.byte.push_back(static_cast<std::uint8_t>(b));
      // Lines end at CR LF, LF or CR: a line starts after an LF, or after a CR not before an LF.
      const bool fine_riga = b == '\n' || (b == '\r' && (i >= testo.size() || testo[i] != '\n'));
      if (fine_riga) {
        ++riga;
        inizio_riga = t.byte.size();
      }
      continue;
    }
    const std::int32_t unita = c.codice > 0xFFFF ? 2 : 1;
    t.estranei.push_back(
        {riga, static_cast<std::int32_t>(t.byte.size() - inizio_riga), unita, c.codice});
    t.byte.insert(t.byte.end(), static_cast<std::size_t>(unita), byte_segnaposto);
  }
  return t;
}

std::string_view riga_di(std::span<const std::uint8_t> byte, std::int32_t riga) {
  std::size_t i = 0;
  for (std::int32_t n = 0; n < riga; ++n) {
    while (i < byte.size() && byte[i] != '\r' && byte[i] != '\n') ++i;
    if (i >= byte.size()) return {};
    i += (byte[i] == '\r' && i + 1 < byte.size() && byte[i + 1] == '\n') ? 2 : 1;
  }
  std::size_t fine = i;
  while (fine < byte.size() && byte[fine] != '\r' && byte[fine] != '\n') ++fine;
  return {reinterpret_cast<const char*>(byte.data()) + i, fine - i};
}

std::string a_utf8(std::string_view byte) {
  return nome_leggibile(byte);
}

}  // namespace percorso::lsp
