// The README's quoted sessions are what the program prints today. Every ```text block
// that starts with "$ percorso" is run, in the README's order, in one folder that holds
// a broken copy of a new scenario's texts in rotto/; a line "..." in the README stands
// for any number of lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/cartella_temporanea.h"
#include "support/comando.h"

namespace percorso {
namespace {

struct sessione {
  std::vector<std::string> comandi;              // without "$ percorso "
  std::vector<std::vector<std::string>> uscite;  // what each prints, as the README shows it
};

std::vector<std::string> righe_di(const std::string& testo) {
  std::vector<std::string> r;
  std::istringstream in(testo);
  for (std::string riga; std::getline(in, riga);) r.push_back(riga);
  return r;
}

std::vector<sessione> sessioni_del_readme() {
  std::ifstream in(std::string(PERCORSO_CARTELLA_ATTESI) + "/../../README.md");
  std::stringstream tutto;
  tutto << in.rdbuf();
  std::vector<sessione> s;
  enum { fuori, inizio, sessione_aperta, altro } stato = fuori;
  for (const std::string& riga : righe_di(tutto.str())) {
    if (stato == fuori) {
      if (riga == "```text") stato = inizio;
      continue;
    }
    if (riga == "```") {
      stato = fuori;
      continue;
    }
    if (stato == inizio) {
      // Only blocks that open with the program are sessions.
      stato = riga.starts_with("$ percorso ") ? sessione_aperta : altro;
      if (stato == sessione_aperta) s.emplace_back();
    }
    if (stato != sessione_aperta) continue;
    if (riga.starts_with("$ percorso ")) {
      s.back().comandi.push_back(riga.substr(11));
      s.back().uscite.emplace_back();
    } else {
      s.back().uscite.back().push_back(riga);
    }
  }
  return s;
}

// Whether the lines match the README's, "..." standing for any lines.
bool corrisponde(const std::vector<std::string>& attese, std::size_t a,
                 const std::vector<std::string>& vere, std::size_t v) {
  if (a == attese.size()) return v == vere.size();
  if (attese[a] == "...") {
    for (std::size_t k = v; k <= vere.size(); ++k)
      if (corrisponde(attese, a + 1, vere, k)) return true;
    return false;
  }
  return v < vere.size() && attese[a] == vere[v] && corrisponde(attese, a + 1, vere, v + 1);
}

std::vector<std::string> parole(const std::string& comando) {
  std::vector<std::string> p;
  std::istringstream in(comando);
  for (std::string w; in >> w;) p.push_back(w);
  return p;
}

// A copy of a new scenario's texts with the mistakes the README's diagnostics show.
void copia_rotta() {
  ASSERT_EQ(esegui({"new", "Valle", "2211", "rotto"}).stato, 0);
  struct modifica {
    const char* file;
    std::string da, a;
  };
  const modifica modifiche[] = {
      {"rotto/Valle_2211-.txt", "velocita,    4500,    80", "velocita,    4500,    8O"},
      {"rotto/Valle_2211-.txt", "30,   8, 6, 0, MEZZAVIA", "30,   8, 1, 0, MEZZAVIA"},
      {"rotto/Valle_2211-.txt", "segnale,    1300,   1, 4, 1,  0, 0,    1,  3,1,0, 0",
       "segnale,    1300,   1, 4, 1,  0, 0,    1,  3,1,0"},
      {"rotto/Valle_2211-.txt", "segnale,    4400,", "segnale,    2150,"},
      {"rotto/Valle_linea.txt", "pendenza, 2500, 4", "pendeza, 2500, 4"},
  };
  for (const modifica& m : modifiche) {
    const auto byte = leggi_file(m.file);
    std::string testo(byte.begin(), byte.end());
    const auto i = testo.find(m.da);
    ASSERT_NE(i, std::string::npos) << m.da;
    testo.replace(i, m.da.size(), m.a);
    scrivi_file(m.file, testo);
  }
}

// The README's sessions are Linux's: on Windows the program names files with '\'.
std::string con_barre(std::string testo) {
#ifdef _WIN32
  std::replace(testo.begin(), testo.end(), '\\', '/');
#endif
  return testo;
}

TEST(Readme, TheQuotedSessionsAreWhatTheProgramPrints) {
  const auto sessioni = sessioni_del_readme();
  ASSERT_GE(sessioni.size(), 4u) << "no sessions found in the README";
  cartella_temporanea dir;
  const auto prima = std::filesystem::current_path();
  std::filesystem::current_path(dir.percorso());
  copia_rotta();
  for (const sessione& s : sessioni) {
    for (std::size_t k = 0; k < s.comandi.size(); ++k) {
      const risposta r = esegui(parole(s.comandi[k]));
      const auto vere = righe_di(con_barre(r.out + r.err));
      EXPECT_TRUE(corrisponde(s.uscite[k], 0, vere, 0)) << "$ percorso " << s.comandi[k]
                                                        << "\nthe README shows:\n"
                                                        <<
          [&] {
            std::string t;
            for (const auto& x : s.uscite[k]) t += x + "\n";
            return t;
          }() << "the program prints:\n" << r.out << r.err;
    }
  }
  std::filesystem::current_path(prima);
}

}  // namespace
}  // namespace percorso
