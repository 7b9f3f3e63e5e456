// Names are shown by one rule: Windows-1252 to UTF-8, the rest as U+FFFD; XML
// and HTML get that UTF-8 escaped.
#include "format/testo_nomi.h"

#include <gtest/gtest.h>

namespace percorso {
namespace {

TEST(NomeLeggibile, EachByteIsItsWindows1252Character) {
  const std::pair<std::string_view, std::string_view> casi[] = {
      {"VARMENA P.N.", "VARMENA P.N."},
      {"Citt\xe0", "Citt\xc3\xa0"},
      {"\xff", "\xc3\xbf"},
      {"\xa0", "\xc2\xa0"},
      // The range Latin-1 leaves to controls holds letters and signs in Windows-1252.
      {"\x80 5", "\xe2\x82\xac 5"},
      {"\x8a", "\xc5\xa0"},
      // Undefined bytes and control bytes become U+FFFD.
      {"a\x81z", "a\xef\xbf\xbdz"},
      {"\x9d", "\xef\xbf\xbd"},
      {std::string_view("\x00\t\x7f", 3), "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
  };
  for (const auto& [byte, utf8] : casi) EXPECT_EQ(nome_leggibile(byte), utf8) << byte;
}

TEST(CarattereUtf8, ReadsValidSequencesAndReplacesTheRest) {
  struct caso {
    std::string_view testo;
    char32_t codice;
    std::size_t lunghezza;
  };
  const caso casi[] = {
      {"a", 'a', 1},
      {"\xc3\xa0", 0xE0, 2},
      {"\xe2\x82\xac", 0x20AC, 3},
      {"\xf0\x9f\x9a\x82", 0x1F682, 4},
      {"\xe0", carattere_sostitutivo, 1},              // cut short
      {"\xc0\x80", carattere_sostitutivo, 1},          // overlong
      {"\xed\xa0\x80", carattere_sostitutivo, 1},      // a surrogate
      {"\xe2\x28\xa1", carattere_sostitutivo, 1},      // a bad continuation
      {"\x80", carattere_sostitutivo, 1},              // a lone continuation
      {"\xf4\x90\x80\x80", carattere_sostitutivo, 1},  // beyond Unicode
  };
  for (const caso& c : casi) {
    const carattere r = carattere_utf8(c.testo, 0);
    EXPECT_EQ(r.codice, c.codice) << c.testo;
    EXPECT_EQ(r.lunghezza, c.lunghezza) << c.testo;
  }
}

TEST(TestoXml, EscapesMarkupAndKeepsTheDocumentValid) {
  const std::pair<std::string_view, std::string_view> casi[] = {
      {"A<&>\"B'", "A&lt;&amp;&gt;&quot;B&apos;"},
      // Control bytes are not allowed in XML; a tab is.
      {std::string_view("a\x01\nb\tc", 6), "ab\tc"},
      // Valid UTF-8 stays; a byte that is no UTF-8 becomes U+FFFD.
      {"velocit\xc3\xa0", "velocit\xc3\xa0"},
      {"citt\xe0", "citt\xef\xbf\xbd"},
      {"a\x85z", "a\xef\xbf\xbdz"},
      {"\xe2\x82", "\xef\xbf\xbd\xef\xbf\xbd"},
  };
  for (const auto& [dentro, fuori] : casi) EXPECT_EQ(testo_xml(dentro), fuori) << dentro;
}

// The program's own texts, paths among them, are UTF-8: shown as they are, so that a
// path names its file, and never with a control character.
TEST(TestoMostrabile, PassesUtf8AndReplacesOnlyControls) {
  const std::pair<std::string_view, std::string_view> casi[] = {
      {"Citt\xc3\xa0\\Citt\xc3\xa0_linea.txt", "Citt\xc3\xa0\\Citt\xc3\xa0_linea.txt"},
      {"\xe2\x82\xac \xf0\x9f\x9a\x82", "\xe2\x82\xac \xf0\x9f\x9a\x82"},
      // A Linux name in Latin-1 keeps its bytes, so it still names its file.
      {"citt\xe0.txt", "citt\xe0.txt"},
      // Controls, encoded or not, and C1 bytes never reach the terminal.
      {"a\x1b[2Jb", "a\xef\xbf\xbd[2Jb"},
      {"\x7f\xc2\x9b\x9b", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
  };
  for (const auto& [dentro, fuori] : casi) EXPECT_EQ(testo_mostrabile(dentro), fuori) << dentro;
}

}  // namespace
}  // namespace percorso
