#include "plot/svg.h"

#include <gtest/gtest.h>

#include <cmath>

namespace percorso {
namespace {

TEST(TestoXml, EscapesMarkupAndKeepsTheDocumentValid) {
  const std::pair<std::string_view, std::string_view> casi[] = {
      {"A<&>\"B'", "A&lt;&amp;&gt;&quot;B&apos;"},
      // Control bytes are not allowed in XML; a tab is.
      {std::string_view("a\x01\nb\tc", 6), "ab\tc"},
      // Valid UTF-8 stays; a lone single-byte letter is read as Latin-1.
      {"velocit\xc3\xa0", "velocit\xc3\xa0"},
      {"citt\xe0", "citt\xc3\xa0"},
      // A byte that is neither becomes a question mark.
      {"a\x85z", "a?z"},
      {"\xe2\x82", "\xc3\xa2?"},
  };
  for (const auto& [dentro, fuori] : casi) EXPECT_EQ(testo_xml(dentro), fuori) << dentro;
}

TEST(Svg, NumbersAreShortAndNeverNotANumber) {
  svg s(100, 50, "text{fill:#000}\n");
  s.linea(0.5, 1.0 / 3.0, -0.001, std::nan(""), "class=\"a\"");
  s.testo(1, 2, "x", "", 90);
  s.imposta_altezza(60);
  const std::string d = s.fine();
  EXPECT_NE(d.find("width=\"100\" height=\"60\" viewBox=\"0 0 100 60\""), std::string::npos);
  EXPECT_NE(d.find("<line x1=\"0.5\" y1=\"0.33\" x2=\"0\" y2=\"0\" class=\"a\"/>"),
            std::string::npos)
      << d;
  EXPECT_NE(d.find("transform=\"rotate(90 1 2)\""), std::string::npos);
  EXPECT_NE(d.find("<style>\ntext{fill:#000}\n</style>"), std::string::npos);
}

}  // namespace
}  // namespace percorso
