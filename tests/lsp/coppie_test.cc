// Which texts are checked together.
#include "lsp/coppie.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "support/cartella_temporanea.h"
#include "support/file_system_guasto.h"
#include "support/sistemi.h"

namespace percorso::lsp {
namespace {

// A joined path with the system's separator; the cases are written with '/'.
std::string con_barre(std::string p) {
  std::replace(p.begin(), p.end(), '\\', '/');
  return p;
}

TEST(Coppie, LineaETrenoSiTrovanoPerNome) {
  struct caso {
    const char* nome;
    std::string testo;
    std::vector<std::string> aperti;
    std::vector<std::string> accanto;
    coppia attesa;
    bool cartella_letta = false;  // only a line text whose partner is not open reads it
  };
  const std::vector<std::string> cartella = {"Alto_9-.txt", "Valle_2211-.txt", "Valle_3-.txt",
                                             "Valle_linea.txt", "note.txt"};
  const std::vector<caso> casi = {
      {"treno: la sua linea",
       "/d/Valle_3-.txt",
       {},
       {},
       {"/d/Valle_linea.txt", "/d/Valle_3-.txt", 0}},
      {"treno con _ nel nome",
       "/d/Val_le_3-.txt",
       {},
       {},
       {"/d/Val_le_linea.txt", "/d/Val_le_3-.txt", 0}},
      {"linea: il primo per nome accanto",
       "/d/Valle_linea.txt",
       {},
       cartella,
       {"/d/Valle_linea.txt", "/d/Valle_2211-.txt", 2},
       true},
      {"linea: quello aperto prima di quelli su disco",
       "/d/Valle_linea.txt",
       {"/d/Valle_linea.txt", "/d/Valle_3-.txt", "/e/Valle_1-.txt"},
       cartella,
       {"/d/Valle_linea.txt", "/d/Valle_3-.txt", 1}},
      {"linea senza treno",
       "/d/Alto_linea.txt",
       {},
       {"Alto_linea.txt"},
       {"/d/Alto_linea.txt", "", 0},
       true},
      {"altro nome: linea da sola", "/d/prova.txt", {}, cartella, {"/d/prova.txt", "", 0}},
      {"treno senza nome", "/d/x-.txt", {}, {}, {"", "/d/x-.txt", 0}},
  };
  for (const caso& c : casi) {
    int elencate = 0;
    const coppia x = coppia_di(c.testo, c.aperti, [&] {
      ++elencate;
      return std::span<const std::string>(c.accanto);
    });
    EXPECT_EQ(con_barre(x.linea), c.attesa.linea) << c.nome;
    EXPECT_EQ(con_barre(x.treno), c.attesa.treno) << c.nome;
    EXPECT_EQ(x.treni_possibili, c.attesa.treni_possibili) << c.nome;
    EXPECT_EQ(elencate, c.cartella_letta ? 1 : 0) << c.nome;
  }
}

// An editor on Windows names texts by URIs with '/' and a drive letter in either case,
// while the program joins paths with '\\'; the folder's names may be in any case.
TEST(Coppie, SuWindowsIlTestoApertoSiTrovaComunqueSiScrivaIlPercorso) {
#ifndef _WIN32
  GTEST_SKIP() << "names that ignore case and '\\' as a separator are Windows'";
#endif
  struct caso {
    const char* nome;
    std::string testo;
    std::vector<std::string> aperti;
    std::vector<std::string> accanto;
    std::string treno;
  };
  const std::vector<caso> casi = {
      {"treno aperto, percorso da un URI",
       "c:/Linee ferroviarie/Citt\xc3\xa0/Valle_linea.txt",
       {"C:\\Linee ferroviarie\\Citt\xc3\xa0\\Valle_3-.txt"},
       {},
       "c:/Linee ferroviarie/Citt\xc3\xa0/Valle_3-.txt"},
      {"nomi in maiuscolo sul disco",
       "C:\\d\\VALLE_LINEA.TXT",
       {},
       {"VALLE_2211-.TXT", "valle_3-.txt"},
       "C:/d/VALLE_2211-.TXT"},
  };
  for (const caso& c : casi) {
    const coppia x =
        coppia_di(c.testo, c.aperti, [&] { return std::span<const std::string>(c.accanto); });
    EXPECT_EQ(con_barre(x.treno), c.treno) << c.nome;
  }
}

// A folder is listed once and again only when its names change: a name added is seen
// at once, while a folder that stays as it was is not read again.
TEST(Coppie, UnaCartellaSiElencaDiNuovoSoloQuandoCambia) {
  cartella_temporanea d;
  const std::string cartella = in_utf8(d.percorso());
  scrivi_file(d.file("Valle_2211-.txt"), "");
  prova::invecchia(cartella);
  const auto reale = file_system_reale();
  prova::file_system_guasto fs(*reale);
  elenchi_cartelle elenchi(fs);
  const auto nomi = [&] {
    const auto n = elenchi.nomi(cartella);
    return std::vector<std::string>(n.begin(), n.end());
  };
  const std::vector<std::string> uno = {"Valle_2211-.txt"};
  const std::vector<std::string> due = {"Valle_1000-.txt", "Valle_2211-.txt"};
  struct passo {
    const char* nome;
    std::function<void()> prima;
    std::vector<std::string> attesi;
    int letture;  // listings so far
  };
  const passo passi[] = {
      {"la prima volta", [] {}, uno, 1},
      {"di nuovo, la cartella com'era", [] {}, uno, 1},
      {"un testo nuovo", [&] { scrivi_file(d.file("Valle_1000-.txt"), ""); }, due, 2},
      // A folder changed a moment ago may change again within the same tick of its clock.
      {"subito dopo il cambio", [] {}, due, 3},
      {"la cartella ferma da tempo", [&] { prova::invecchia(cartella); }, due, 4},
      {"e di nuovo", [] {}, due, 4},
  };
  for (const passo& p : passi) {
    p.prima();
    EXPECT_EQ(nomi(), p.attesi) << p.nome;
    EXPECT_EQ(fs.conta(prova::operazione::elencazione), p.letture) << p.nome;
  }
}

}  // namespace
}  // namespace percorso::lsp
