// Replays every kept fuzz input (seeds and minimized reproducers of fixed faults)
// through the same checks the fuzz targets make; under the sanitizer build a
// fault that comes back is reported here too.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../fuzz/ingressi.h"

namespace percorso {
namespace {

const std::filesystem::path corpus =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz" / "corpus";

template <typename Prova>
void riproduci(const std::string& bersaglio, Prova prova) {
  const auto cartella = corpus / bersaglio;
  ASSERT_TRUE(std::filesystem::is_directory(cartella)) << cartella;
  int file = 0;
  for (const auto& e : std::filesystem::directory_iterator(cartella)) {
    std::ifstream in(e.path(), std::ios::binary);
    const std::vector<std::uint8_t> dati{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
    const auto v = prova(std::span<const std::uint8_t>(dati));
    EXPECT_FALSE(v.has_value()) << e.path().filename() << ": " << *v;
    ++file;
  }
  EXPECT_GT(file, 0);
}

TEST(CorpusFuzz, CompilerInputsKeepTheirProperties) {
  riproduci("fuzz_compilatore", fuzz::prova_compilatore);
}

// The checker reads the compiler's inputs: compiling with and without it gives the same.
TEST(CorpusFuzz, CheckerLeavesTheCompilationAsItIs) {
  riproduci("fuzz_verifica", fuzz::prova_verifica);
}

TEST(CorpusFuzz, FieldReaderInputsKeepTheirProperties) {
  riproduci("fuzz_lettore", fuzz::prova_lettore);
}

TEST(CorpusFuzz, LanguageServerInputsKeepTheirProperties) {
  riproduci("fuzz_messaggi_lsp", fuzz::prova_messaggi_lsp);
}

// Nesting and framing: the server never dies, and a message after a broken one is served.
TEST(CorpusFuzz, LanguageServerFramingAndNestingHold) {
  riproduci("fuzz_trama_lsp", fuzz::prova_trama_lsp);
}

TEST(CorpusFuzz, DecoderInputsKeepTheirProperties) {
  riproduci("fuzz_decodifica", fuzz::prova_decodifica);
}

}  // namespace
}  // namespace percorso
