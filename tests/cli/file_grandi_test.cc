// inspect and plot never take in a file larger than the largest the compiler writes:
// memory stays near the file and time linear, whatever is handed to them.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/cartella_temporanea.h"
#include "support/comando.h"

namespace percorso {
namespace {

TEST(FileGrandi, LargerThanAnyCompiledFileIsRefusedWithAClearMessage) {
  struct caso {
    const char* comando;
    const char* nome;
    std::uintmax_t byte;
    const char* motivo;
  };
  const caso casi[] = {
      {"inspect", "X_1.dat", 400000,
       "400000 byte, piu' del piu' grande file di celle che il compilatore scrive (302115 byte)"},
      {"plot", "X_1.dat", 400000,
       "400000 byte, piu' del piu' grande file di celle che il compilatore scrive (302115 byte)"},
      {"inspect", "X.bin", 300000000,
       "300000000 byte, piu' del piu' grande file che il compilatore scrive (20140020 byte)"},
      {"inspect", "X_linea.dat", 20000000,
       "file del tracciato di 5000000 metri per coordinata, piu' dei 1007001"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(std::string(c.comando) + " " + c.nome);
    cartella_temporanea dir;
    // Small ones of bytes that are no plan; large ones of zeros, sparse, so the test
    // writes nothing of them.
    scrivi_file(dir.file(c.nome), std::string(c.byte < 1000000 ? c.byte : 0, 'x'));
    std::filesystem::resize_file(dir.file(c.nome), c.byte);
    std::vector<std::string> argomenti = {c.comando, dir.file(c.nome)};
    if (std::string_view(c.comando) == "plot")
      argomenti.insert(argomenti.end(), {"-o", dir.file("x.svg")});
    const risposta r = esegui(argomenti);
    EXPECT_EQ(r.stato, 3) << r.err;
    EXPECT_NE(r.err.find(c.motivo), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.svg")));
  }
}

}  // namespace
}  // namespace percorso
