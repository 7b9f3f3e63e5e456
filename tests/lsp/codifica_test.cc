// The editor's UTF-8 and UTF-16 columns against the texts' Windows-1252 bytes.
#include "lsp/codifica.h"

#include <gtest/gtest.h>

#include <vector>

namespace percorso::lsp {
namespace {

std::string byte_di(const testo_convertito& t) {
  return {t.byte.begin(), t.byte.end()};
}

TEST(Codifica, OgniCarattereDiventaUnByteOUnSegnapostoPerUnita) {
  struct caso {
    const char* utf8;
    std::string byte;
    std::vector<carattere_estraneo> estranei;
  };
  const std::string sp(1, static_cast<char>(byte_segnaposto));
  const std::vector<caso> casi = {
      {"citt\u00e0, 8O", "citt\xe0, 8O", {}},
      {"l\u2019anno \u20ac",
       "l\x92"
       "anno \x80",
       {}},
      {"\u0081\u008d\u008f\u0090\u009d", "\x81\x8d\x8f\x90\x9d", {}},
      {"a\U0001F600b", "a" + sp + sp + "b", {{0, 1, 2, 0x1F600}}},
      {"x\r\n\u4e2d\rq\u0151\ny\u0151",
       "x\r\n" + sp + "\rq" + sp + "\ny" + sp,
       {{1, 0, 1, 0x4E2D}, {2, 1, 1, 0x151}, {3, 1, 1, 0x151}}},
  };
  for (const caso& c : casi) {
    const testo_convertito t = da_utf8(c.utf8);
    EXPECT_EQ(byte_di(t), c.byte) << c.utf8;
    ASSERT_EQ(t.estranei.size(), c.estranei.size()) << c.utf8;
    for (std::size_t i = 0; i < c.estranei.size(); ++i) {
      EXPECT_EQ(t.estranei[i].riga, c.estranei[i].riga) << c.utf8;
      EXPECT_EQ(t.estranei[i].colonna, c.estranei[i].colonna) << c.utf8;
      EXPECT_EQ(t.estranei[i].unita, c.estranei[i].unita) << c.utf8;
      EXPECT_EQ(t.estranei[i].codice, c.estranei[i].codice) << c.utf8;
    }
  }
}

TEST(Codifica, IByteTornanoCaratteriConLaRegolaDeiNomi) {
  EXPECT_EQ(a_utf8("citt\xe0 \x92\x80"), "citt\u00e0 \u2019\u20ac");
  EXPECT_EQ(a_utf8("\x81"), "\ufffd");
}

TEST(Codifica, LeRigheFinisconoConCrLfLfOCr) {
  const std::string t = "uno\r\ndue\nmezzo\rtre";
  const std::span<const std::uint8_t> b(reinterpret_cast<const std::uint8_t*>(t.data()), t.size());
  EXPECT_EQ(riga_di(b, 0), "uno");
  EXPECT_EQ(riga_di(b, 1), "due");
  EXPECT_EQ(riga_di(b, 2), "mezzo");
  EXPECT_EQ(riga_di(b, 3), "tre");
  EXPECT_EQ(riga_di(b, 4), "");
}

}  // namespace
}  // namespace percorso::lsp
