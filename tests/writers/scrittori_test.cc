#include "writers/scrittori.h"

#include <gtest/gtest.h>

namespace percorso {
namespace {

TEST(TestoCrlf, EveryLineEndsWithCrLfAndEmptyLinesStay) {
  const std::string_view righe[] = {"[fine]", "", "a  "};
  const auto byte = testo_crlf(righe);
  EXPECT_EQ(std::string(byte.begin(), byte.end()), "[fine]\r\n\r\na  \r\n");
}

}  // namespace
}  // namespace percorso
