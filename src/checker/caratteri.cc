// Characters outside printable ASCII as the author's editor shows them: a UTF-8 text
// is decoded as UTF-8, any other as Windows-1252, and the characters an editor
// slips in (a typographic minus or dash, curly quotes, accented letters) are named
// with the ASCII to write instead.
#include <array>
#include <cstdio>

#include "checker/stato.h"

namespace percorso::controllo {
namespace {

struct nome_carattere {
  std::uint32_t codice;
  std::string_view nome;
  std::string_view ascii;
};

constexpr std::array<nome_carattere, 26> nomi = {{
    {0x00A0, "spazio non separabile", " "},
    {0x2212, "segno meno tipografico", "-"},
    {0x2013, "trattino medio", "-"},
    {0x2014, "trattino lungo", "-"},
    {0x2018, "apice curvo", "'"},
    {0x2019, "apostrofo curvo", "'"},
    {0x201C, "virgolette curve", "\""},
    {0x201D, "virgolette curve", "\""},
    {0x2026, "puntini di sospensione", "..."},
    {0x00E0, "a accentata", "a'"},
    {0x00E8, "e accentata", "e'"},
    {0x00E9, "e accentata", "e'"},
    {0x00EC, "i accentata", "i'"},
    {0x00F2, "o accentata", "o'"},
    {0x00F3, "o accentata", "o'"},
    {0x00F9, "u accentata", "u'"},
    {0x00FA, "u accentata", "u'"},
    {0x00C0, "A accentata", "A'"},
    {0x00C8, "E accentata", "E'"},
    {0x00C9, "E accentata", "E'"},
    {0x00CC, "I accentata", "I'"},
    {0x00D2, "O accentata", "O'"},
    {0x00D9, "U accentata", "U'"},
    {0x00B0, "simbolo di grado", ""},
    {0x00AB, "virgolette basse", "\""},
    {0x00BB, "virgolette basse", "\""},
}};

// Windows-1252's characters at 0x80 to 0x9F that an editor writes; the rest of the
// upper half is Latin-1, whose bytes are the characters' codes.
std::uint32_t da_windows_1252(std::uint8_t b) {
  switch (b) {
    case 0x85:
      return 0x2026;
    case 0x91:
      return 0x2018;
    case 0x92:
      return 0x2019;
    case 0x93:
      return 0x201C;
    case 0x94:
      return 0x201D;
    case 0x96:
      return 0x2013;
    case 0x97:
      return 0x2014;
    default:
      return b;
  }
}

// Length of the UTF-8 sequence that b begins (0: b begins none).
std::size_t lunghezza_utf8(std::uint8_t b) {
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

// The UTF-8 sequence at t[i], when one is whole there: its length and its code.
std::optional<std::pair<std::size_t, std::uint32_t>> sequenza_utf8(std::string_view t,
                                                                   std::size_t i) {
  const auto b = static_cast<std::uint8_t>(t[i]);
  const std::size_t n = lunghezza_utf8(b);
  if (n == 0 || i + n > t.size()) return std::nullopt;
  std::uint32_t codice = b & (0x7F >> n);
  for (std::size_t j = 1; j < n; ++j) {
    const auto c = static_cast<std::uint8_t>(t[i + j]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    codice = (codice << 6) | (c & 0x3F);
  }
  return std::pair{n, codice};
}

}  // namespace

bool e_utf8(std::span<const std::uint8_t> testo) {
  const std::string_view t(reinterpret_cast<const char*>(testo.data()), testo.size());
  bool multibyte = false;
  std::size_t i = t.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (i < t.size()) {
    if (static_cast<std::uint8_t>(t[i]) < 0x80) {
      ++i;
      continue;
    }
    const auto s = sequenza_utf8(t, i);
    if (!s) return false;
    multibyte = true;
    i += s->first;
  }
  return multibyte;
}

std::optional<carattere_estraneo> primo_estraneo(std::string_view campo, bool utf8) {
  for (std::size_t i = 0; i < campo.size(); ++i) {
    const auto b = static_cast<std::uint8_t>(campo[i]);
    if (b >= 0x20 && b < 0x7F) continue;
    carattere_estraneo c{i, i + 1, b, {}, {}};
    if (b >= 0x80) {
      const auto s = utf8 ? sequenza_utf8(campo, i) : std::nullopt;
      if (s) {
        c.a = i + s->first;
        c.codice = s->second;
      } else {
        c.codice = da_windows_1252(b);
      }
    }
    for (const nome_carattere& n : nomi) {
      if (n.codice != c.codice) continue;
      c.nome = n.nome;
      c.ascii = n.ascii;
    }
    return c;
  }
  return std::nullopt;
}

std::string descrizione(const carattere_estraneo& c, std::string_view campo) {
  char codice[16];
  std::snprintf(codice, sizeof codice, "U+%04X", static_cast<unsigned>(c.codice));
  std::string s(codice);
  s.append(" (");
  if (!c.nome.empty()) s.append(c.nome).append(", ");
  s.append("byte");
  for (std::size_t i = c.da; i < c.a; ++i) {
    char b[8];
    std::snprintf(b, sizeof b, " 0x%02X",
                  static_cast<unsigned>(static_cast<std::uint8_t>(campo[i])));
    s.append(b);
  }
  return s.append(")");
}

std::string da_scrivere(const carattere_estraneo& c) {
  if (c.ascii.ends_with('\'')) return std::string(c.ascii);
  std::string s(1, '\'');
  return s.append(c.ascii).append(1, '\'');
}

std::string con_ascii(std::string_view campo, const carattere_estraneo& c) {
  std::string s(campo.substr(0, c.da));
  return s.append(c.ascii).append(campo.substr(c.a));
}

std::optional<carattere_estraneo> estraneo_nel_campo(verifica_in_corso& v, const campo_letto& c) {
  auto e = primo_estraneo(c.testo, v.utf8.value_or(false));
  if (!e || e->codice < 0x80) return e;
  // Most texts hold no such character: the whole text is read only once one is found.
  if (!v.utf8) {
    v.utf8 = e_utf8(v.sorgente);
    e = primo_estraneo(c.testo, *v.utf8);
  }
  if (!*v.utf8 || v.utf8_detto) return e;
  v.utf8_detto = true;
  v.al_byte(genere::utf8, c.riga, c.colonna + static_cast<std::int32_t>(e->da), nullptr,
            testo_di(genere::utf8, {"ogni carattere non ASCII vi occupa piu' byte, e il "
                                    "simulatore legge ogni byte come un carattere; salvalo "
                                    "come Windows-1252, o scrivi solo ASCII (CITTA' per una "
                                    "A accentata)"}));
  return e;
}

}  // namespace percorso::controllo
