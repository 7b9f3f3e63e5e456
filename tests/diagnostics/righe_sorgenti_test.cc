// Lines found by number in texts of many lines and every kind of line end.
#include "diagnostics/righe_sorgenti.h"

#include <gtest/gtest.h>

#include <string>

namespace percorso {
namespace {

std::span<const std::uint8_t> byte(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(RigheSorgenti, EveryLineIsFoundInAnyOrderAcrossTheKeptStarts) {
  // 10000 lines ending in turn with CR LF, LF and CR; the last one without an end.
  std::string testo;
  const char* fini[] = {"\r\n", "\n", "\r"};
  for (int n = 1; n <= 10000; ++n)
    testo += "riga " + std::to_string(n) + (n < 10000 ? fini[n % 3] : "");
  const std::string treno = "[generale]\n";
  const sorgenti testi{byte(testo), byte(treno)};
  const righe_sorgenti righe(&testi);
  for (const std::int32_t n : {8193, 1, 4096, 4097, 10000, 2, 4095, 8192, 12289 / 3, 9999}) {
    EXPECT_EQ(righe.riga(fonte::linea, n), "riga " + std::to_string(n)) << n;
  }
  EXPECT_EQ(righe.riga(fonte::linea, 10001), "");
  EXPECT_EQ(righe.riga(fonte::linea, 0), "");
  EXPECT_EQ(righe.riga(fonte::treno, 1), "[generale]");
  EXPECT_EQ(righe.riga(fonte::completamento, 1), "");
}

}  // namespace
}  // namespace percorso
