// The server with a real client: the distribution's Neovim, headless, runs
// cliente_neovim.lua against the program on a train text broken after an "à".
#include <gtest/gtest.h>

#include <filesystem>

#include "support/cartella_temporanea.h"
#include "support/comando.h"
#include "support/programmi.h"

namespace percorso {
namespace {

std::string sostituito(std::string t, std::string_view da, std::string_view a) {
  const auto i = t.find(da);
  EXPECT_NE(i, std::string::npos) << da;
  return t.replace(i, da.size(), a);
}

TEST(Neovim, IlClienteVedeErroreCorrezioneDescrizioneCompletamentoESchema) {
#ifdef _WIN32
  GTEST_SKIP() << "the editor test runs with the distribution's Neovim on Linux";
#endif
  const auto nvim = trova_programma({"nvim"});
  RICHIEDE_PROGRAMMA(nvim, "Neovim", "con l'editor");
  cartella_temporanea d;
  ASSERT_EQ(esegui({"new", "Valle", "2211", d.percorso().string()}).stato, 0);
  const auto byte = leggi_file(d.file("Valle_2211-.txt"));
  // On disk as the simulator's code page has it: "à" is the one byte 0xE0.
  scrivi_file(d.file("Valle_2211-.txt"),
              sostituito({byte.begin(), byte.end()}, "velocita,    4500,    80",
                         "velocit\xe0,    4500,    8O"));
  const auto script = std::filesystem::path(__FILE__).parent_path() / "cliente_neovim.lua";
  const std::string errori = d.file("errori");
  const std::string comando =
      "PERCORSO=" + quotato(PERCORSO_ESEGUIBILE) + " CARTELLA=" + quotato(d.percorso().string()) +
      " timeout 60 " + quotato(*nvim) + " --headless -u NONE -i NONE -n -c " +
      quotato("luafile " + script.string()) + " </dev/null >/dev/null 2>" + quotato(errori);
  const int stato = std::system(comando.c_str());
  const auto testo = leggi_file(errori);
  EXPECT_EQ(stato, 0) << std::string(testo.begin(), testo.end());
}

}  // namespace
}  // namespace percorso
