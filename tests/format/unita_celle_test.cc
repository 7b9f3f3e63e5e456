// The units of the cell fields: what one side writes, the other reads back.
#include "format/unita_celle.h"

#include <gtest/gtest.h>

#include <utility>

namespace percorso {
namespace {

TEST(UnitaCelle, IndicatorSpeedsReadBackAsWritten) {
  struct caso {
    std::int32_t s, d;
  };
  for (const caso c : {caso{0, 0}, caso{160, 100}, caso{5, 495}, caso{1635, 335}}) {
    const auto v = indicatori_in_cella(c.s, c.d);
    ASSERT_TRUE(v) << c.s << "/" << c.d;
    EXPECT_EQ(indicatori_km_h(*v), std::pair(c.s, c.d)) << c.s << "/" << c.d;
  }
}

TEST(UnitaCelle, IndicatorSpeedsThatDoNotFitAreRefused) {
  EXPECT_FALSE(indicatori_in_cella(1635, 340));
  EXPECT_FALSE(indicatori_in_cella(-1640, 0));
  // The s-side product wraps at 32 bits: 214748365 * 20 is 4 once wrapped.
  EXPECT_EQ(indicatori_in_cella(214748365, 0), 4);
}

}  // namespace
}  // namespace percorso
