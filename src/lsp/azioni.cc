#include "lsp/azioni.h"

#include <array>
#include <utility>

#include "sintassi/constatazioni.h"
#include "sintassi/lettore_campi.h"

namespace percorso::lsp {
namespace {

// How a character outside ASCII is written in the texts: an accented vowel as the
// vowel and an apostrophe, as Italian is written without accents.
constexpr std::array<std::pair<std::uint8_t, std::string_view>, 26> in_ascii = {{
    {0xE0, "a'"},  {0xE8, "e'"}, {0xE9, "e'"}, {0xEC, "i'"}, {0xF2, "o'"}, {0xF9, "u'"},
    {0xC0, "A'"},  {0xC8, "E'"}, {0xC9, "E'"}, {0xCC, "I'"}, {0xD2, "O'"}, {0xD9, "U'"},
    {0xE1, "a"},   {0xED, "i"},  {0xF3, "o"},  {0xFA, "u"},  {0xE7, "c"},  {0xF1, "n"},
    {0x91, "'"},   {0x92, "'"},  {0x93, "\""}, {0x94, "\""}, {0x96, "-"},  {0x97, "-"},
    {0x85, "..."}, {0xA0, " "},
}};

std::optional<std::string_view> ascii_di(std::uint8_t b) {
  for (const auto& [byte, testo] : in_ascii)
    if (byte == b) return testo;
  return std::nullopt;
}

std::string_view tratto_di(const diagnostica& d, std::string_view riga) {
  const auto da = static_cast<std::size_t>(d.dove.inizio - 1);
  if (da >= riga.size() || d.dove.fine <= d.dove.inizio) return {};
  return riga.substr(da, static_cast<std::size_t>(d.dove.fine - d.dove.inizio));
}

correzione su_tratto(const diagnostica& d, std::string titolo, std::string testo) {
  return {std::move(titolo), d.dove.riga, d.dove.inizio, d.dove.fine, std::move(testo)};
}

std::optional<correzione> in_cifre(const diagnostica& d, std::string_view campo) {
  std::string s(campo);
  for (char& c : s) {
    if (c == 'O' || c == 'o') c = '0';
    if (c == 'l' || c == 'I') c = '1';
  }
  if (s == campo || !e_numero(s)) return std::nullopt;
  return su_tratto(d, "Scrivi '" + s + "'", s);
}

std::optional<correzione> in_ascii_tratto(const diagnostica& d, std::string_view campo) {
  std::string s;
  for (const char c : campo) {
    const auto b = static_cast<std::uint8_t>(c);
    if (b >= 0x20 && b < 0x7F) {
      s.push_back(c);
      continue;
    }
    const auto a = ascii_di(b);
    if (!a) return std::nullopt;
    s.append(*a);
  }
  return su_tratto(d, "Scrivi '" + s + "'", s);
}

std::optional<correzione> punto_decimale(const diagnostica& d, std::string_view riga) {
  auto i = static_cast<std::size_t>(d.dove.inizio - 1);
  while (i > 0 && riga[i - 1] == ' ') --i;
  if (i == 0 || riga[i - 1] != ',') return std::nullopt;
  return correzione{"Scrivi il punto decimale", d.dove.riga, static_cast<std::int32_t>(i),
                    d.dove.inizio, "."};
}

}  // namespace

std::optional<correzione> correzione_di(const diagnostica& d, std::string_view riga) {
  const std::string_view campo = tratto_di(d, riga);
  if (campo.empty()) return std::nullopt;
  if (d.parola) return su_tratto(d, "Scrivi '" + *d.parola + "'", *d.parola);
  if (d.virgola_decimale) return punto_decimale(d, riga);
  if (d.nome == genere::non_numero.nome) return in_cifre(d, campo);
  if (d.nome == genere::separatore.nome && (campo[0] == ';' || campo[0] == '\t'))
    return correzione{"Scrivi una virgola", d.dove.riga, d.dove.inizio, d.dove.inizio + 1, ","};
  if (d.nome == nome_fuori_codifica) return su_tratto(d, "Togli il carattere", "");
  if (d.nome == genere::caratteri.nome) return in_ascii_tratto(d, campo);
  return std::nullopt;
}

}  // namespace percorso::lsp
