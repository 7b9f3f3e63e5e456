#include "plot/svg.h"

#include <gtest/gtest.h>

#include <cmath>

namespace percorso {
namespace {

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
