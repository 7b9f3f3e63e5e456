// The nearest known word: a typo finds its word, a word far too long finds none, and
// costs nothing however long it is.
#include "diagnostics/parole_vicine.h"

#include <gtest/gtest.h>

#include <string>

namespace percorso {
namespace {

TEST(ParoleVicine, ATypoFindsItsWordAndAWordFarTooLongNone) {
  const std::string lunga(45, 'a');
  const std::string_view note[] = {"compile", "inspect", lunga};
  struct caso {
    std::string parola;
    std::optional<std::string_view> atteso;
  };
  const caso casi[] = {
      {"compiel", "compile"},
      {"insp", "inspect"},
      {std::string(48, 'a'), lunga},
      {std::string(49, 'a'), std::nullopt},
      {std::string(120000, 'a'), std::nullopt},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.parola.size());
    EXPECT_EQ(piu_vicino(c.parola, note), c.atteso);
  }
}

}  // namespace
}  // namespace percorso
