// The texts' names give NOME and TRENO as the system compares names: on Windows the
// endings and NOME in any case, elsewhere byte for byte.
#include "format/nomi_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace percorso {
namespace {

#ifdef _WIN32
constexpr bool su_windows = true;
#else
constexpr bool su_windows = false;
#endif

using nome = std::optional<std::string>;

TEST(NomiFile, TextNamesAreReadAsTheSystemComparesNames) {
  struct caso_linea {
    const char* base;
    nome altrove, windows;
  };
  const caso_linea linee[] = {
      {"Valle_linea.txt", "Valle", "Valle"},
      {"Citt\xc3\xa0_linea.txt", "Citt\xc3\xa0", "Citt\xc3\xa0"},
      {"Val_le_linea.txt", "Val_le", "Val_le"},
      {"VALLE_LINEA.TXT", std::nullopt, "VALLE"},
      {"_linea.txt", std::nullopt, std::nullopt},
      {"Valle.txt", std::nullopt, std::nullopt},
  };
  for (const caso_linea& c : linee)
    EXPECT_EQ(nome_da_testo_linea(c.base), su_windows ? c.windows : c.altrove) << c.base;

  struct caso_treno {
    const char* base;
    const char* di;  // NOME of the line text
    nome altrove, windows;
  };
  const caso_treno treni[] = {
      {"Valle_2211-.txt", "Valle", "2211", "2211"},
      {"Val_le_3-.txt", "Val_le", "3", "3"},
      {"VALLE_2211-.TXT", "VALLE", std::nullopt, "2211"},
      {"VALLE_2211-.txt", "valle", std::nullopt, "2211"},
      {"Valle_-.txt", "Valle", std::nullopt, std::nullopt},
      {"Valle2211-.txt", "Valle", std::nullopt, std::nullopt},
      {"Alto_9-.txt", "Valle", std::nullopt, std::nullopt},
  };
  for (const caso_treno& c : treni)
    EXPECT_EQ(treno_da_testo_treno(c.base, c.di), su_windows ? c.windows : c.altrove) << c.base;
}

}  // namespace
}  // namespace percorso
