// The train sheet and the slowdown order built from compiled texts.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/costruzione.h"
#include "documents/dal_modello.h"
#include "documents/ordine_rallentamenti.h"
#include "documents/scheda_treno.h"
#include "format/chilometri.h"
#include "support/testi_sorgente.h"
#include "writers/scrittori.h"
#include "writers/testi.h"

namespace percorso {
namespace {

modello costruito(const std::string& nome, const std::string& treno,
                  std::span<const std::uint8_t> linea, std::span<const std::uint8_t> testo_treno) {
  modello m;
  m.nome_percorso = nome;
  m.numero_treno = treno;
  memorizza_percorso(m, {linea, testo_treno}, 0);
  return m;
}

modello incorporato() {
  const auto linea = testo_crlf(righe_linea());
  const auto treno = testo_crlf(righe_treno());
  return costruito("Varmena_Ostrana", "917", linea, treno);
}

// A 20 km line with its kilometric references, and a train text with these rows.
modello prova_di(const std::vector<std::string>& treno,
                 const std::vector<std::string>& progressive = {
                     "progressiva chilometrica uno, 0, 120000, 0"}) {
  std::string linea = prova::righe({"[generale]", "lunghezza percorso, 20000"});
  for (const auto& p : progressive) linea += p + "\r\n";
  linea += prova::righe({"[pendenze]", "[fine]"});
  std::string testo = prova::righe({"[generale]", "percentuale massa frenata, 95"});
  for (const auto& r : treno) testo += r + "\r\n";
  testo += prova::righe({"[fine]"});
  return costruito("Prova", "2042", prova::byte(linea), prova::byte(testo));
}

// A station row: position, length 400, field 13, the time and the name.
std::string stazione(std::int32_t p, const std::string& orario, const std::string& nome,
                     int campo_13 = 0) {
  return "stazione, " + std::to_string(p) + ", 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, " +
         std::to_string(campo_13) + ", " + orario + ", " + nome;
}

const std::vector<std::string> treno_base = {
    "velocita, 0, 80",
    "velocita, 3000, 120",
    stazione(1000, "9, 30, 0", "ALFA"),
    stazione(6000, "9, 36, 0", "BETA"),
    stazione(9000, "0, 0, 0", "SENZA ORARIO"),
    stazione(14000, "9, 45, 0", "GAMMA"),
    "rallentamento, 4000, 30, 600, 0, 0, 30",
};

// The first line holding the text, or an empty string.
std::string con(const documento& d, std::string_view testo) {
  for (const auto& r : d.righe)
    if (r.find(testo) != std::string::npos) return r;
  return "";
}

// ---------------------------------------------------------------------------
// Kilometre figures

TEST(Progressiva, FromTheReferenceAtOrBeforeThePosition) {
  struct caso {
    const char* nome;
    std::vector<std::string> progressive;
    std::int64_t posizione, attesa;
  };
  const caso casi[] = {
      {"one reference", {"progressiva chilometrica uno, 0, 350000, 0"}, 1600, 351600},
      {"no reference: metres from the start", {}, 1600, 1600},
      {"the later reference from its start",
       {"progressiva chilometrica uno, 0, 350000, 0",
        "progressiva chilometrica due, 5000, 10000, 0"},
       6000,
       11000},
      {"before the later one, the earlier",
       {"progressiva chilometrica uno, 0, 350000, 0",
        "progressiva chilometrica due, 5000, 10000, 0"},
       4950,
       354950},
      {"before every reference, counted back",
       {"progressiva chilometrica uno, 2000, 50000, 0"},
       500,
       48500},
      {"a flagged reference gains 100 m",
       {"progressiva chilometrica uno, 0, 350000, 1"},
       0,
       350100},
  };
  for (const caso& c : casi) {
    const modello m = prova_di({}, c.progressive);
    EXPECT_EQ(chilometrica(m.punti).al_metro(c.posizione), c.attesa) << c.nome;
  }
  EXPECT_EQ(testo_progressiva(349970), "349+970");
  EXPECT_EQ(testo_progressiva(5040), "5+040");
  EXPECT_EQ(testo_progressiva(-500), "-1+500");
  EXPECT_EQ(cippo(427800), 427);
}

// ---------------------------------------------------------------------------
// The embedded scenario against its fixed documents

// 1-based numbers of the lines where the two texts differ.
std::set<std::size_t> righe_diverse(const documento& d, std::span<const std::string_view> fisse) {
  EXPECT_EQ(d.righe.size(), fisse.size());
  std::set<std::size_t> diverse;
  for (std::size_t i = 0; i < std::min(d.righe.size(), fisse.size()); ++i)
    if (d.righe[i] != fisse[i]) diverse.insert(i + 1);
  return diverse;
}

TEST(DocumentiIncorporati, SchedaDiffersFromTheFixedOneOnlyWhereTheTextsSayOtherwise) {
  const documento d = scheda_treno(incorporato());
  EXPECT_EQ(d.nome, "Varmena_Ostrana_917_scheda_treno.txt");
  EXPECT_TRUE(d.avvisi.empty());
  // Line 5: "V200 C" and line 10: "IC", "600T" are not in the texts; lines 18 to 35:
  // the texts time only three stations and give the speed changes at other places.
  std::set<std::size_t> attese = {5, 10};
  for (std::size_t n = 18; n <= 35; ++n) attese.insert(n);
  EXPECT_EQ(righe_diverse(d, righe_scheda()), attese);
  const std::pair<std::size_t, std::string_view> righe[] = {
      {18, " |  70 |     |  350+000 |     | VARMENA CENTRALE           |          15.33 |     |"},
      {19, " | 125 |     |  351+350 |     | Km 351+350                 |                |     |"},
      {26, " |     |     |  416+550 |     | MONTECALVO                 |  16.06 - 16.07 |     |"},
      {27, " | 100 |     |  437+550 |     | Km 437+550                 |                |     |"},
      {28, " |     |     |  439+500 |     | OSTRANA                    |  16.20         |     |"},
      {29, righe_scheda()[16]},
  };
  for (const auto& [n, r] : righe) EXPECT_EQ(d.righe[n - 1], r) << "line " << n;
}

TEST(DocumentiIncorporati, OrdineDiffersFromTheFixedOneOnlyInTheShortenedName) {
  const documento d = ordine_rallentamenti(incorporato());
  EXPECT_EQ(d.nome, "Varmena_Ostrana_917_rallentamenti.txt");
  EXPECT_TRUE(d.avvisi.empty());
  EXPECT_EQ(righe_diverse(d, righe_rallentamenti()), std::set<std::size_t>{15});
  EXPECT_EQ(d.righe[14],
            " | 2 | CASTELNUOVO PIANA - OSTRANA|     427    |    100   |   500   |    ----    |");
}

// ---------------------------------------------------------------------------
// Documents follow the texts

TEST(DocumentiDaiTesti, SchedaFollowsTimesNamesSpeedsAndReferences) {
  struct caso {
    const char* nome;
    std::vector<std::string> treno;
    std::vector<std::string> progressive;
    std::string_view attesa;
  };
  const auto con_riga = [](std::size_t i, std::string r) {
    auto t = treno_base;
    t[i] = std::move(r);
    return t;
  };
  const std::vector<std::string> uno = {"progressiva chilometrica uno, 0, 120000, 0"};
  const caso casi[] = {
      {"departure at the first station", treno_base, uno,
       " |  80 |     |  121+000 |     | ALFA                       |          09.30 |     |"},
      {"a change of the limit between stations", treno_base, uno,
       " | 120 |     |  123+000 |     | Km 123+000                 |                |     |"},
      {"intermediate time", treno_base, uno,
       " |     |     |  126+000 |     | BETA                       |      09.36     |     |"},
      {"arrival at the last station", treno_base, uno,
       " |     |     |  134+000 |     | GAMMA                      |  09.45         |     |"},
      {"another time", con_riga(3, stazione(6000, "10, 15, 0", "BETA")), uno,
       " |     |     |  126+000 |     | BETA                       |      10.15     |     |"},
      {"a stop of 90 s: arrival and departure",
       con_riga(3, stazione(6000, "10, 15, 30", "BETA", 90)), uno,
       " |     |     |  126+000 |     | BETA                       |  10.14 - 10.15 |     |"},
      {"another name", con_riga(3, stazione(6000, "9, 36, 0", "NUOVA BETA")), uno,
       " |     |     |  126+000 |     | NUOVA BETA                 |      09.36     |     |"},
      {"a change of the limit at a station goes into its row", con_riga(1, "velocita, 6000, 120"),
       uno, " | 120 |     |  126+000 |     | BETA                       |      09.36     |     |"},
      {"another reference",
       treno_base,
       {"progressiva chilometrica uno, 1000, 7000, 0"},
       " |  80 |     |    7+000 |     | ALFA                       |          09.30 |     |"},
  };
  for (const caso& c : casi) {
    const documento d = scheda_treno(prova_di(c.treno, c.progressive));
    EXPECT_NE(std::find(d.righe.begin(), d.righe.end(), c.attesa), d.righe.end())
        << c.nome << ": no line\n"
        << c.attesa;
  }
}

TEST(DocumentiDaiTesti, SchedaHeaderAndWhatItLeavesOut) {
  const documento d = scheda_treno(prova_di(treno_base));
  EXPECT_EQ(d.righe[4],
            " |   TRENO n. 2042   |                   da: ALFA                  |              |");
  EXPECT_EQ(d.righe[5],
            " |___________________|                    a: GAMMA                 |      95%     |");
  EXPECT_EQ(con(d, "SENZA ORARIO"), "") << "a station without a time has no row";
  EXPECT_EQ(con(d, "Km 120+"), "") << "the limit before the first station has no row of its own";
}

TEST(DocumentiDaiTesti, OrdineFollowsTheSlowdowns) {
  struct caso {
    const char* nome;
    std::string riga;
    std::string_view attesa;
  };
  const caso casi[] = {
      {"between two stations", "rallentamento, 4000, 30, 600, 0, 0, 30",
       " | 1 | ALFA - BETA                |     124    |     30   |   600   |    ----    |"},
      {"another speed and length", "rallentamento, 7500, 100, 1500, 0, 0, 100",
       " | 1 | BETA - SENZA ORARIO        |     127    |    100   |  1500   |    ----    |"},
      {"inside a station's area", "rallentamento, 5850, 60, 100, 0, 0, 60",
       " | 1 | BETA                       |     125    |     60   |   100   |    ----    |"},
      {"before the first station", "rallentamento, 200, 60, 200, 0, 0, 60",
       " | 1 | ALFA                       |     120    |     60   |   200   |    ----    |"},
      {"after the last station", "rallentamento, 16000, 60, 200, 0, 0, 60",
       " | 1 | GAMMA                      |     136    |     60   |   200   |    ----    |"},
  };
  for (const caso& c : casi) {
    auto treno = treno_base;
    treno.back() = c.riga;
    const documento d = ordine_rallentamenti(prova_di(treno));
    EXPECT_EQ(d.righe[13], c.attesa) << c.nome;
    EXPECT_EQ(d.righe[14], righe_rallentamenti()[12]) << c.nome << ": one slowdown, one row";
  }
  const documento d = ordine_rallentamenti(prova_di(treno_base));
  EXPECT_EQ(d.righe[4], "  Linea  ALFA - GAMMA");
  EXPECT_EQ(d.righe[6],
            "  Si ordina al macchinista del treno  2042 di effettuare i seguenti rallentamenti");
}

// ---------------------------------------------------------------------------
// Fixed columns, growing tables, cut cells

// Every line from the table's first row to its bottom line is `lunghezza` long
// with its bars at the columns.
void barre_ai_posti(const documento& d, std::size_t prima, std::size_t dopo_il_fondo,
                    std::set<std::size_t> colonne, std::size_t lunghezza) {
  for (std::size_t i = prima; i + dopo_il_fondo < d.righe.size(); ++i) {
    const std::string& r = d.righe[i];
    EXPECT_EQ(r.size(), lunghezza) << d.nome << " line " << i + 1 << "\n" << r;
    for (const std::size_t c : colonne)
      EXPECT_TRUE(c < r.size() && r[c] == '|')
          << d.nome << " line " << i + 1 << " col " << c << "\n"
          << r;
  }
}

void controlla_colonne(const modello& m) {
  const documento s = scheda_treno(m);
  barre_ai_posti(s, 16, 1, {1, 7, 13, 24, 30, 59, 76, 82}, 83);
  for (std::size_t i = 3; i <= 5; ++i) EXPECT_EQ(s.righe[i].size(), 83u) << s.righe[i];
  for (std::size_t i = 3; i <= 5; ++i)
    for (const std::size_t c : {1, 21, 67, 82}) EXPECT_EQ(s.righe[i][c], '|') << s.righe[i];
  barre_ai_posti(ordine_rallentamenti(m), 11, 8, {1, 5, 34, 47, 58, 68, 81}, 82);
}

// Many stations with long names, many slowdowns, figures of every width.
std::vector<std::string> treno_affollato(int stazioni, const std::string& nome) {
  std::vector<std::string> t = {"velocita, 0, 50"};
  for (int k = 0; k < stazioni; ++k) {
    const std::int32_t p = 1000 + 1000 * k;
    t.push_back("velocita, " + std::to_string(p + 500) + ", " + std::to_string(60 + 10 * (k % 2)));
    t.push_back(stazione(p, "10, " + std::to_string(k % 60) + ", 0", nome + std::to_string(k)));
    if (k > 0)
      t.push_back("rallentamento, " + std::to_string(p + 200) + ", " +
                  std::to_string(k % 2 ? -1234567890 : 1234567890) + ", 100, 0, 0, 30");
  }
  return t;
}

TEST(Colonne, BarsStayAtTheirColumnsWhateverTheTextsHold) {
  controlla_colonne(incorporato());
  controlla_colonne(prova_di(treno_base));
  controlla_colonne(prova_di({}));
  controlla_colonne(prova_di(treno_affollato(18, "STAZIONE DAL NOME MOLTO LUNGO ")));
  controlla_colonne(
      prova_di(treno_affollato(3, "S"), {"progressiva chilometrica uno, 0, 2000000000, 0"}));
}

TEST(Colonne, TablesGrowWithTheirRows) {
  const modello m = prova_di(treno_affollato(18, "S"));
  ASSERT_EQ(stazioni_lette(m).size(), 18u);
  ASSERT_EQ(rallentamenti_letti(m).size(), 17u);
  const documento s = scheda_treno(m);
  // 18 stations and the 17 changes of the limit between them: 35 rows, no empty one.
  EXPECT_EQ(s.righe.size(), 17u + 35u + 2u);
  EXPECT_EQ(s.righe[s.righe.size() - 2], righe_scheda()[47]);
  const documento o = ordine_rallentamenti(m);
  EXPECT_EQ(o.righe.size(), 13u + 25u + 8u) << "17 slowdowns fit in the 25 rows";
}

TEST(Colonne, WhatDoesNotFitIsCutWithAWarningNamingTheLine) {
  const documento s =
      scheda_treno(prova_di({stazione(1000, "9, 30, 0", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"),
                             stazione(6000, "9, 40, 0", "B")}));
  ASSERT_EQ(s.righe[17].substr(30, 30), "| ABCDEFGHIJKLMNOPQRSTUVWXYZ0|");
  ASSERT_EQ(s.avvisi.size(), 2u) << "the header's 'da:' and the row";
  EXPECT_EQ(s.avvisi[0].riga, 5);
  EXPECT_EQ(s.avvisi[1].riga, 18);
  EXPECT_EQ(s.avvisi[1].file, "Prova_2042_scheda_treno.txt");
  EXPECT_NE(s.avvisi[1].messaggio.find("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"), std::string::npos);
  EXPECT_NE(s.avvisi[1].messaggio.find("27 caratteri"), std::string::npos);

  const documento o = ordine_rallentamenti(prova_di(
      {stazione(1000, "0, 0, 0", "A"), "rallentamento, 4000, -1234567890, 100, 0, 0, 30"}));
  EXPECT_EQ(o.righe[13].substr(47, 12), "|##########|");
  ASSERT_EQ(o.avvisi.size(), 1u);
  EXPECT_EQ(o.avvisi[0].riga, 14);
  EXPECT_NE(o.avvisi[0].messaggio.find("-1234567890"), std::string::npos);
}

}  // namespace
}  // namespace percorso
