#include "writers/testi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace percorso {
namespace {

using Righe = std::span<const std::string_view>;

// Line n of a text, counting from 1 as an editor does.
std::string_view riga(Righe r, std::size_t n) {
  return r[n - 1];
}

// The fields of a row as the text holds them: cut at every comma, blanks kept.
std::vector<std::string_view> campi(std::string_view r) {
  std::vector<std::string_view> c;
  for (std::size_t inizio = 0;;) {
    const auto virgola = r.find(',', inizio);
    c.push_back(r.substr(inizio, virgola - inizio));
    if (virgola == std::string_view::npos) return c;
    inizio = virgola + 1;
  }
}

// A number field without its leading blanks; fails the test on anything else.
int numero(std::string_view campo) {
  campo.remove_prefix(std::min(campo.find_first_not_of(' '), campo.size()));
  int v = 0;
  const auto [fine, errore] = std::from_chars(campo.data(), campo.data() + campo.size(), v);
  EXPECT_TRUE(errore == std::errc{} && fine == campo.data() + campo.size())
      << "not a number: '" << campo << "'";
  return v;
}

// The blanks in front of a field.
std::size_t blanchi_iniziali(std::string_view campo) {
  return std::min(campo.find_first_not_of(' '), campo.size());
}

// ---------------------------------------------------------------------------
// Line description

constexpr std::size_t prima_curva = 11, ultima_curva = 55;
constexpr std::size_t prima_pendenza = 57, ultima_pendenza = 119;

TEST(TestiLinea, HasItsLinesAndQuotedRowsInPlace) {
  const auto r = righe_linea();
  ASSERT_EQ(r.size(), 148u);
  const std::map<std::size_t, std::string_view> attese = {
      {1, "[generale]"},
      {2, "lunghezza percorso,    94000"},
      {3, "progressiva chilometrica uno,    0,    350000,    0"},
      {4, "progressiva chilometrica due,    0,    0,    0"},
      {5, "progressiva chilometrica tre,    0,    0,    0"},
      {6, "sfondo uno,    0"},
      {7, "sfondo due,    1"},
      {8, "sfondo tre,    0"},
      {9, "ripetizione segnali 4 codici,    0    ,0"},
      {10, "[curve]"},
      {11, "curvad5,  650,  200"},
      {13, "curvas4,   2296,    912"},
      {39, "curvas2,  60600,  4200"},
      {42, "curvas4,   66480,    50"},
      {55, "curvad5,   88630,    500"},
      {56, "[pendenze]"},
      {57, "pendenza,   0,    0"},
      {58, "pendenza, 300, -3"},
      {67, "pendenza, 846, -8"},
      {89, "pendenza,  24000,   2"},
      {119, "pendenza, 89030, 0"},
      {120, "[montagne]"},
      {121, "montagna,   3033,  3783,  12"},
      {122, "montagna,  17712,  18349,  12"},
      {132, "[cartelli]"},
      {133, "indicatori_vmax,  2500,  105,  115,  125,  0,  105,  115,  125,  0"},
      {142, "[indicazioni]"},
      {148, "[fine]"},
  };
  for (const auto& [n, testo] : attese) EXPECT_EQ(riga(r, n), testo) << "line " << n;
  EXPECT_NE(std::find(r.begin(), r.end(), "pendenza, 87830, 7"), r.end());
}

struct curva {
  char mano;
  int classe, inizio, lunghezza;
  bool due_blank;  // two blanks after each comma, else three then four
};

std::vector<curva> curve() {
  std::vector<curva> c;
  const auto r = righe_linea();
  for (auto n = prima_curva; n <= ultima_curva; ++n) {
    const auto f = campi(riga(r, n));
    EXPECT_EQ(f.size(), 3u) << riga(r, n);
    EXPECT_EQ(f[0].size(), 7u);
    EXPECT_EQ(f[0].substr(0, 5), "curva");
    const bool due = blanchi_iniziali(f[1]) == 2 && blanchi_iniziali(f[2]) == 2;
    const bool tre_quattro = blanchi_iniziali(f[1]) == 3 && blanchi_iniziali(f[2]) == 4;
    EXPECT_TRUE(due || tre_quattro) << riga(r, n);
    c.push_back({f[0][5], f[0][6] - '0', numero(f[1]), numero(f[2]), due});
  }
  return c;
}

TEST(TestiLinea, CurvesHaveTheirClassAndHandCounts) {
  const auto c = curve();
  ASSERT_EQ(c.size(), 45u);
  std::map<int, int> classi;
  std::map<char, int> mani;
  for (const auto& x : c) ++classi[x.classe], ++mani[x.mano];
  EXPECT_EQ(classi, (std::map<int, int>{{1, 2}, {2, 7}, {3, 7}, {4, 21}, {5, 8}}));
  EXPECT_EQ(mani, (std::map<char, int>{{'d', 19}, {'s', 26}}));
}

TEST(TestiLinea, CurvesAscendWithoutOverlapWithinTheirLengthBounds) {
  const auto c = curve();
  EXPECT_EQ(c.front().inizio, 650);
  EXPECT_EQ(c.back().inizio, 88630);
  for (std::size_t i = 0; i < c.size(); ++i) {
    // 50 and 4200 belong only to the quoted shortest and longest curves.
    EXPECT_GE(c[i].lunghezza, c[i].inizio == 66480 ? 50 : 51) << c[i].inizio;
    EXPECT_LE(c[i].lunghezza, c[i].inizio == 60600 ? 4200 : 4199) << c[i].inizio;
    if (i + 1 < c.size()) {
      EXPECT_LT(c[i].inizio, c[i + 1].inizio);
      EXPECT_LE(c[i].inizio + c[i].lunghezza, c[i + 1].inizio) << c[i].inizio;
    }
  }
}

TEST(TestiLinea, CurvesUseTwoBlanksOnlyInTheirSixteenRows) {
  const auto c = curve();
  int due = 0;
  for (std::size_t i = 0; i < c.size(); ++i) {
    const bool atteso =
        i < 2 || (c[i].inizio >= 21050 && c[i].inizio <= 65300) || c[i].inizio == 76500;
    EXPECT_EQ(c[i].due_blank, atteso) << c[i].inizio;
    due += c[i].due_blank;
  }
  EXPECT_EQ(due, 16);
  EXPECT_EQ(std::count_if(c.begin(), c.end(),
                          [](const curva& x) { return x.inizio >= 21050 && x.inizio <= 65300; }),
            13);
}

TEST(TestiLinea, GradientsStartAsGivenThenAscendWithinBounds) {
  const auto r = righe_linea();
  struct pendenza {
    int posizione, valore;
  };
  std::vector<pendenza> p;
  for (auto n = prima_pendenza; n <= ultima_pendenza; ++n) {
    const auto f = campi(riga(r, n));
    ASSERT_EQ(f.size(), 3u) << riga(r, n);
    EXPECT_EQ(f[0], "pendenza");
    p.push_back({numero(f[1]), numero(f[2])});
    // Lines 89 to 97 (and line 57) use two and three blanks, the others one.
    const bool largo = n == 57 || (n >= 89 && n <= 97);
    const bool posizione_larga = p.back().posizione >= 24000 && p.back().posizione <= 48000;
    EXPECT_EQ(largo && n != 57, posizione_larga) << riga(r, n);
    const std::size_t primo = n == 57 ? 3 : largo ? 2 : 1;
    const std::size_t secondo = n == 57 ? 4 : largo ? 3 : 1;
    EXPECT_EQ(blanchi_iniziali(f[1]), primo) << riga(r, n);
    EXPECT_EQ(blanchi_iniziali(f[2]), secondo) << riga(r, n);
  }
  ASSERT_EQ(p.size(), 63u);

  const pendenza inizio[] = {{0, 0},   {300, -3}, {586, 0},  {165, -4}, {174, 0},  {875, -1},
                             {370, 0}, {500, 4},  {485, -3}, {430, 0},  {846, -8}, {5204, -3}};
  for (std::size_t i = 0; i < std::size(inizio); ++i) {
    EXPECT_EQ(p[i].posizione, inizio[i].posizione) << "row " << i;
    EXPECT_EQ(p[i].valore, inizio[i].valore) << "row " << i;
  }
  for (std::size_t i = 11; i + 1 < p.size(); ++i) EXPECT_LT(p[i].posizione, p[i + 1].posizione);
  EXPECT_EQ(p.back().posizione, 89030);

  // -8 at 846 is the steepest fall and 7 at 87830 the steepest rise.
  for (const auto& x : p) {
    EXPECT_GE(x.valore, x.posizione == 846 ? -8 : -7) << x.posizione;
    EXPECT_LE(x.valore, x.posizione == 87830 ? 7 : 6) << x.posizione;
  }
}

struct montagna {
  int inizio, fine;
};
constexpr montagna montagne[] = {{3033, 3783},   {17712, 18349}, {19033, 19414}, {19534, 20641},
                                 {21216, 21449}, {24049, 26096}, {26631, 28828}, {29411, 38721},
                                 {40821, 46006}, {51806, 53942}, {58563, 64833}};

TEST(TestiLinea, MountainSideRowsListTheElevenStretches) {
  const auto r = righe_linea();
  for (std::size_t i = 0; i < std::size(montagne); ++i) {
    const auto m = montagne[i];
    const std::string primo = m.inizio == 3033 || m.inizio == 19534 ? "   " : "  ";
    EXPECT_EQ(riga(r, 121 + i), "montagna," + primo + std::to_string(m.inizio) + ",  " +
                                    std::to_string(m.fine) + ",  12");
  }
}

TEST(TestiLinea, SpeedBoardRowsRepeatTheirFirstGroup) {
  struct cartello {
    int posizione, a, b, c, strisce;
  };
  constexpr cartello cartelli[] = {
      {2500, 105, 115, 125, 0},  {3850, 140, 150, 150, 0},  {15900, 120, 125, 130, 0},
      {19450, 90, 95, 100, 0},   {22500, 140, 160, 180, 0}, {45400, 140, 150, 150, 2},
      {45700, 140, 150, 150, 1}, {46050, 140, 150, 150, 0}, {86550, 90, 95, 100, 0}};
  const auto r = righe_linea();
  for (std::size_t i = 0; i < std::size(cartelli); ++i) {
    const auto& k = cartelli[i];
    std::string atteso = "indicatori_vmax,  " + std::to_string(k.posizione);
    for (int lato = 0; lato < 2; ++lato)
      for (int v : {k.a, k.b, k.c, k.strisce}) atteso += ",  " + std::to_string(v);
    EXPECT_EQ(riga(r, 133 + i), atteso);
  }
}

TEST(TestiLinea, TunnelBoardsStandBeforeAStretchOfTheirLength) {
  struct galleria {
    int posizione, lunghezza;
  };
  constexpr galleria gallerie[] = {
      {24000, 2047}, {26600, 2197}, {29350, 9310}, {40750, 5185}, {58500, 6270}};
  const auto r = righe_linea();
  std::set<int> con_cartello;
  for (std::size_t i = 0; i < std::size(gallerie); ++i) {
    const auto t = riga(r, 143 + i);
    const std::string testa =
        "cartello_indicatore,  " + std::to_string(gallerie[i].posizione) + ",   ";
    ASSERT_TRUE(t.starts_with(testa)) << t;
    // Three parenthesised groups written together, no comma: "(...)(...)(...)".
    std::vector<std::string_view> gruppi;
    for (auto testo = t.substr(testa.size()); !testo.empty();) {
      const auto chiusa = testo.find(')');
      ASSERT_TRUE(testo.front() == '(' && chiusa != std::string_view::npos) << t;
      auto g = testo.substr(1, chiusa - 1);
      EXPECT_EQ(g.find_first_of("(,\""), std::string_view::npos) << t;
      g.remove_prefix(blanchi_iniziali(g));
      g.remove_suffix(g.size() - g.find_last_not_of(' ') - 1);
      gruppi.push_back(g);
      testo.remove_prefix(chiusa + 1);
    }
    ASSERT_EQ(gruppi.size(), 3u) << t;
    EXPECT_EQ(gruppi[0], "Galleria");
    EXPECT_FALSE(gruppi[1].empty()) << t;
    EXPECT_EQ(gruppi[2], "Ml. " + std::to_string(gallerie[i].lunghezza));

    const auto m = std::find_if(std::begin(montagne), std::end(montagne), [&](montagna x) {
      const int distanza = x.inizio - gallerie[i].posizione;
      return distanza >= 31 && distanza <= 71 && x.fine - x.inizio == gallerie[i].lunghezza;
    });
    ASSERT_NE(m, std::end(montagne)) << t;
    con_cartello.insert(m->inizio);
  }
  EXPECT_EQ(con_cartello, (std::set<int>{24049, 26631, 29411, 40821, 58563}));
}

// ---------------------------------------------------------------------------
// Train description

TEST(TestiTreno, HasItsLinesAndQuotedRowsInPlace) {
  const auto r = righe_treno();
  ASSERT_EQ(r.size(), 59u);
  const std::map<std::size_t, std::string_view> attese = {
      {1, "[generale]"},
      {2, "numero vetture,    12"},
      {3, "percentuale massa frenata,    125"},
      {4, "sabbia,    200"},
      {5, "orologio,    15              32            30 "},
      {6, "[aderenze]"},
      {7, "aderenza,   0,    100"},
      {8, "[vel_limite]"},
      {9, "velocita,       0,    70"},
      {12, "velocita,   17000,   130"},
      {18, "[stazioni]"},
      {19,
       "stazione,       0, 12,  800,  0, 0, 1,  1,1,0,  4,1,1,    1,  15,33, 0, "
       "VARMENA CENTRALE"},
      {23,
       "stazione,   20500, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, "
       "Nome Stazione"},
      {32, "[rallentamenti]"},
      {33, "rallentamento,    2000,    60,  700, 0,  0,  60"},
      {34, "rallentamento,   77800,   100,  500, 0,  1,  100"},
      {35, "[segnali]"},
      {58, "[codici]"},
      {59, "[fine]"},
  };
  for (const auto& [n, testo] : attese) EXPECT_EQ(riga(r, n), testo) << "line " << n;
}

TEST(TestiTreno, SpeedLimitRowsUseFieldsOfEightAndSix) {
  constexpr std::pair<int, int> limiti[] = {{0, 70},      {1350, 125},  {3850, 150},
                                            {17000, 130}, {20100, 60},  {20700, 100},
                                            {22500, 180}, {47000, 150}, {87550, 100}};
  const auto r = righe_treno();
  for (std::size_t i = 0; i < std::size(limiti); ++i) {
    const auto f = campi(riga(r, 9 + i));
    ASSERT_EQ(f.size(), 3u) << riga(r, 9 + i);
    EXPECT_EQ(f[0], "velocita");
    EXPECT_EQ(f[2].size(), 6u) << riga(r, 9 + i);
    EXPECT_EQ(numero(f[1]), limiti[i].first);
    EXPECT_EQ(numero(f[2]), limiti[i].second);
  }
}

// The train description's station rows, parsed: sixteen numbers and a name.
struct stazione {
  std::vector<int> numeri;
  std::string_view nome;
};

std::vector<stazione> stazioni() {
  constexpr std::size_t larghezze[] = {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2};
  const auto r = righe_treno();
  std::vector<stazione> s;
  for (std::size_t n = 19; n <= 31; ++n) {
    const auto f = campi(riga(r, n));
    EXPECT_EQ(f.size(), 18u) << riga(r, n);
    if (f.size() != 18) continue;
    EXPECT_EQ(f[0], "stazione");
    stazione x;
    for (std::size_t k = 0; k < 16; ++k) {
      EXPECT_EQ(f[k + 1].size(), larghezze[k]) << "field " << k + 1 << " of line " << n;
      x.numeri.push_back(numero(f[k + 1]));
    }
    EXPECT_EQ(f[17].substr(0, 1), " ");
    x.nome = f[17].substr(1);
    s.push_back(x);
  }
  return s;
}

TEST(TestiTreno, StationRowsCarryTheirNumbersInFixedWidths) {
  const std::vector<std::vector<int>> attesi = {
      {0, 12, 800, 0, 0, 1, 1, 1, 0, 4, 1, 1, 1, 15, 33, 0},
      {1600, 12, 700, 0, 0, 1, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
      {9150, 12, 500, 0, 0, 1, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
      {14400, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
      {20500, 25, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {21900, 12, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
      {29100, 12, 400, 0, 0, 1, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
      {39900, 4, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
      {48950, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
      {55050, 12, 400, 0, 0, 1, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
      {66550, 12, 800, 0, 0, 0, 1, 1, 0, 4, 1, 1, 45, 16, 7, 0},
      {77050, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
      {89500, 4, 600, 0, 0, 0, 1, 1, 0, 2, 1, 1, 0, 16, 20, 0},
  };
  const auto s = stazioni();
  ASSERT_EQ(s.size(), attesi.size());
  for (std::size_t i = 0; i < s.size(); ++i) EXPECT_EQ(s[i].numeri, attesi[i]) << "station " << i;
}

TEST(TestiTreno, StationNamesAreUpperCaseExceptThePlaceholder) {
  const auto s = stazioni();
  ASSERT_EQ(s.size(), 13u);
  EXPECT_EQ(s[0].nome, "VARMENA CENTRALE");
  EXPECT_EQ(s[4].nome, "Nome Stazione");
  EXPECT_EQ(s[12].nome, "OSTRANA");
  std::set<std::string_view> visti;
  for (const auto& x : s) {
    EXPECT_TRUE(visti.insert(x.nome).second) << "repeated name " << x.nome;
    if (x.nome == "Nome Stazione") continue;
    EXPECT_FALSE(x.nome.empty());
    EXPECT_NE(x.nome.front(), ' ');
    EXPECT_NE(x.nome.back(), ' ');
    for (char c : x.nome)
      EXPECT_TRUE((c >= 'A' && c <= 'Z') || c == ' ' || c == '.' || c == '-') << x.nome;
  }
}

TEST(TestiTreno, SignalRowsFollowSixPatternsInAscendingOrder) {
  struct modello_segnale {
    std::string_view resto;  // the row after its position field
    std::vector<int> posizioni;
  };
  const modello_segnale modelli[] = {
      {",   2, 4, 1,  0, 0,    2,  2,1,0, 0", {850}},
      {",   1, 4, 1,  0, 0,    1,  3,1,0, 0",
       {7000, 12600, 26800, 37800, 46800, 53000, 64300, 75000, 87500}},
      {",   2, 4, 1,  1, 0,    2,  2,1,1, 0",
       {8000, 13400, 21150, 27800, 38800, 47800, 54000, 76000}},
      {",   1, 3, 1,  0, 0,    0,  0,0,0, 0", {18950}},
      {",   2, 2, 4,  0, 1,    1,  3,1,0, 235", {20100}},
      {",   2, 3, 1,  1, 0,    2,  2,1,1, 0", {65300, 88500}},
  };
  std::map<int, std::string_view> attesi;
  for (const auto& m : modelli)
    for (int p : m.posizioni) attesi[p] = m.resto;
  ASSERT_EQ(attesi.size(), 22u);

  const auto r = righe_treno();
  std::size_t n = 36;
  for (const auto& [posizione, resto] : attesi) {
    std::string p = std::to_string(posizione);
    EXPECT_EQ(riga(r, n), "segnale," + std::string(8 - p.size(), ' ') + p + std::string(resto));
    ++n;
  }
  EXPECT_EQ(n, 58u);
}

TEST(TestiTreno, PositionFieldIsEightWideInEveryPlacedRow) {
  const auto r = righe_treno();
  int righe_posizionate = 0;
  for (const auto t : r) {
    const auto f = campi(t);
    if (f[0] != "velocita" && f[0] != "stazione" && f[0] != "rallentamento" && f[0] != "segnale")
      continue;
    ++righe_posizionate;
    ASSERT_GE(f.size(), 2u) << t;
    EXPECT_EQ(f[1].size(), 8u) << t;
  }
  EXPECT_EQ(righe_posizionate, 9 + 13 + 2 + 22);
}

// ---------------------------------------------------------------------------
// Documents

// The columns that hold a bar in a row.
std::vector<std::size_t> barre(std::string_view r) {
  std::vector<std::size_t> b;
  for (std::size_t i = 0; i < r.size(); ++i)
    if (r[i] == '|') b.push_back(i);
  return b;
}

// The cells of a table row: the texts between its bars.
std::vector<std::string_view> celle(std::string_view r) {
  const auto b = barre(r);
  std::vector<std::string_view> c;
  for (std::size_t i = 0; i + 1 < b.size(); ++i)
    c.push_back(r.substr(b[i] + 1, b[i + 1] - b[i] - 1));
  return c;
}

// A text with one blank on each side.
std::string tra_blank(std::string_view s) {
  std::string t(1, ' ');
  t.append(s).push_back(' ');
  return t;
}

std::string maiuscolo(std::string_view s) {
  std::string m(s);
  for (auto& c : m)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return m;
}

std::string_view senza_blank_finali(std::string_view s) {
  const auto ultimo = s.find_last_not_of(' ');
  return s.substr(0, ultimo == std::string_view::npos ? 0 : ultimo + 1);
}

// The names of the real stations of the train description, in line order.
std::vector<std::string> nomi_stazioni() {
  std::vector<std::string> n;
  for (const auto& s : stazioni())
    if (s.nome != "Nome Stazione") n.emplace_back(s.nome);
  return n;
}

TEST(TestiScheda, HasItsLinesAndQuotedRowsInPlace) {
  const auto r = righe_scheda();
  ASSERT_EQ(r.size(), 49u);
  const std::string_view vuota =
      " |     |     |          |     |                            |                |     |";
  const std::string_view fondo =
      " |_____|_____|__________|_____|____________________________|________________|_____|";
  const std::map<std::size_t, std::string_view> attese = {
      {1, ""},
      {2, ""},
      {3, "  ___________________                                               ______________"},
      {4, " |                   |                    SCHEDA                   |              |"},
      {5, " |   TRENO n. 917    |                   da: VARMENA CENTRALE      |    V200 C    |"},
      {6, " |___________________|                    a: OSTRANA               |     125%     |"},
      {7, "                                                                   |______________|"},
      {8, "  ___________________                ___________________"},
      {9, " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       "},
      {10, " |        IC         |              |      600T         |"},
      {11, " |___________________|              |___________________|"},
      {12, ""},
      {13, "  ________________________________________________________________________________"},
      {14, " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |"},
      {15, " | Lim.|Marc.|          |  Rs |                            |                |     |"},
      {16, fondo},
      {17, vuota},
      {18, " |  70 |  70 |  349+970 |     | VARMENA CENTRALE           |          15.33 |     |"},
      {23, " | 130 | 130 |  367+000 |     | Cippo Km 367+000           |                |     |"},
      {24, " | 100 | 100 |  370+662 |     | Km 370+662                 |                |     |"},
      {35, " |     |     |  439+440 |     | OSTRANA                    |  16.20         |     |"},
      {48, fondo},
      {49, ""},
  };
  for (const auto& [n, testo] : attese) EXPECT_EQ(riga(r, n), testo) << "line " << n;
  for (std::size_t n = 36; n <= 47; ++n) EXPECT_EQ(riga(r, n), vuota) << "line " << n;
  EXPECT_EQ(riga(r, 3).size(), 82u);
  EXPECT_EQ(riga(r, 9).size(), 64u);
}

TEST(TestiScheda, BoxesAndTableKeepTheirColumns) {
  const auto r = righe_scheda();
  struct caso {
    std::size_t da, a, lunghezza;
    std::vector<std::size_t> barre;
  };
  const caso casi[] = {
      {4, 6, 83, {1, 21, 67, 82}},
      {7, 7, 83, {67, 82}},
      {9, 9, 64, {1, 21, 36, 56}},
      {10, 11, 57, {1, 21, 36, 56}},
      {14, 48, 83, {1, 7, 13, 24, 30, 59, 76, 82}},
  };
  for (const auto& c : casi)
    for (auto n = c.da; n <= c.a; ++n) {
      EXPECT_EQ(riga(r, n).size(), c.lunghezza) << "line " << n;
      EXPECT_EQ(barre(riga(r, n)), c.barre) << "line " << n;
    }
  EXPECT_EQ(riga(r, 5).substr(41, 4), "da: ");
  EXPECT_EQ(riga(r, 6).substr(42, 3), "a: ");
}

// One timetable row as the driver reads it; empty strings for blank cells.
struct riga_orario {
  std::string_view limite, marcia, km, luogo, orario, rec;
};

TEST(TestiScheda, TimetableRowsFillTheirCellsInTheirForms) {
  // Place names left to the writer are checked against the train description below.
  const riga_orario attese[] = {
      {"70", "70", "349+970", "VARMENA CENTRALE", "15.33", ""},
      {"125", "120", "351+310", "VARMENA P.N.", "15.35", ""},
      {"150", "150", "353+753", "", "", ""},
      {"", "", "359+100", "", "15.40", "0.5"},
      {"", "", "364+360", "", "15.43", "1.0"},
      {"130", "130", "367+000", "Cippo Km 367+000", "", ""},
      {"100", "100", "370+662", "Km 370+662", "", ""},
      {"", "", "371+880", "", "15.49", "1.5"},
      {"170", "160", "372+500", "Km 372+500", "", ""},
      {"", "", "379+137", "", "15.50", "0.5"},
      {"", "", "389+410", "", "15.54", "0.5"},
      {"150", "150", "397+000", "Km 397+000", "", ""},
      {"", "", "398+910", "", "15.57", ""},
      {"", "", "404+970", "", "16.00", ""},
      {"", "", "416+400", "", "16.06 - 16.07", "0.5"},
      {"", "", "427+030", "", "16.13", "0.5"},
      {"100", "100", "437+500", "Segn. Avv. Ostrana", "", ""},
      {"", "", "439+440", "OSTRANA", "16.20", ""},
  };
  const auto r = righe_scheda();
  for (std::size_t i = 0; i < std::size(attese); ++i) {
    const auto n = 18 + i;
    const auto c = celle(riga(r, n));
    ASSERT_EQ(c.size(), 7u) << "line " << n;
    const auto& e = attese[i];
    const auto velocita = [](std::string_view v) {
      std::string cella(v);
      cella.insert(0, 4 - std::min<std::size_t>(cella.size(), 4), ' ');
      return cella + " ";
    };
    EXPECT_EQ(c[0], velocita(e.limite)) << "line " << n;
    EXPECT_EQ(c[1], velocita(e.marcia)) << "line " << n;
    EXPECT_EQ(c[2], "  " + std::string(e.km) + " ") << "line " << n;
    EXPECT_EQ(c[3], "     ") << "line " << n;
    ASSERT_EQ(c[4].size(), 28u);
    EXPECT_EQ(c[4][0], ' ') << "line " << n;
    EXPECT_NE(c[4][1], ' ') << "line " << n;
    if (!e.luogo.empty()) {
      EXPECT_EQ(senza_blank_finali(c[4].substr(1)), e.luogo) << "line " << n;
    }
    // Departure right-aligned, arrival left-aligned, the others centred.
    std::string orario(16, ' ');
    if (i == 0)
      orario = std::string(10, ' ') + std::string(e.orario) + " ";
    else if (i + 1 == std::size(attese))
      orario = "  " + std::string(e.orario) + std::string(9, ' ');
    else if (e.orario.size() == 13)
      orario = "  " + std::string(e.orario) + " ";
    else if (!e.orario.empty())
      orario = std::string(6, ' ') + std::string(e.orario) + std::string(5, ' ');
    EXPECT_EQ(c[5], orario) << "line " << n;
    EXPECT_EQ(c[6], e.rec.empty() ? "     " : tra_blank(e.rec)) << "line " << n;
  }
  // A tunnel's name after the portal, and one 27-character name filling its cell.
  const auto galleria = celle(riga(r, 20))[4];
  EXPECT_TRUE(galleria.starts_with(" Imb.Sud Galleria ")) << galleria;
  EXPECT_GT(senza_blank_finali(galleria).size(), 18u) << galleria;
  EXPECT_NE(celle(riga(r, 28))[4].back(), ' ');
}

TEST(TestiScheda, TimetableAgreesWithTheTrainDescription) {
  const auto r = righe_scheda();
  std::vector<std::string> nomi;
  std::vector<std::string> orari;
  for (std::size_t n = 18; n <= 35; ++n) {
    const auto c = celle(riga(r, n));
    ASSERT_EQ(c.size(), 7u);
    auto orario = c[5];
    orario.remove_prefix(blanchi_iniziali(orario));
    if (orario.empty()) continue;  // not a station
    nomi.emplace_back(senza_blank_finali(c[4].substr(1)));
    orari.emplace_back(senza_blank_finali(orario));
  }
  EXPECT_EQ(nomi, nomi_stazioni());

  // Where the train description carries a time it is the sheet's departure.
  std::size_t k = 0;
  for (const auto& s : stazioni()) {
    if (s.nome == "Nome Stazione") continue;
    ASSERT_LT(k, orari.size());
    const auto& o = orari[k++];
    if (s.numeri[13] == 0 && s.numeri[14] == 0) continue;
    char atteso[8];
    std::snprintf(atteso, sizeof atteso, "%02d.%02d", s.numeri[13], s.numeri[14]);
    EXPECT_TRUE(o.ends_with(atteso)) << s.nome << ": " << o;
    EXPECT_EQ(s.numeri[15], 0);
  }
}

TEST(TestiRallentamenti, HasItsLinesAndQuotedRowsInPlace) {
  const auto r = righe_rallentamenti();
  ASSERT_EQ(r.size(), 46u);
  const std::string_view vuota =
      " |   |                            |            |          |         |            |";
  const std::string_view fondo =
      " |___|____________________________|____________|__________|_________|____________|";
  const std::map<std::size_t, std::string_view> attese = {
      {1, ""},
      {2, "                               Modulo M. 3"},
      {3, "                           ORDINE DI RALLENTAMENTO"},
      {4, " ________________________________________________________________________________"},
      {5, "  Linea  VARMENA CENTRALE - OSTRANA"},
      {6, ""},
      {7, "  Si ordina al macchinista del treno  917 di effettuare i seguenti rallentamenti"},
      {8, "  _______________________________________________________________________________"},
      {9, " |   |                            |Inizio dopo |          |         |            |"},
      {10, " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|"},
      {11, " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |"},
      {12, fondo},
      {13, vuota},
      {39, fondo},
      {40, ""},
      {41, "              Prescrizioni specifiche"},
      // The legend lists D before C, as the form has it.
      {42, " A - Da rispettare con tutto il treno (per i treni viaggiatori)"},
      {43, " B - Interessa anche la stazione di......."},
      {44, " D - Rallentamneto N. ... e N. ...  sono contigui"},
      {45, " C - Da rispettare dalle ore ....  alle ore ..... di tutti"},
      {46, "     i giorni esclusi i seguenti:........."},
  };
  for (const auto& [n, testo] : attese) EXPECT_EQ(riga(r, n), testo) << "line " << n;
  for (std::size_t n = 16; n <= 38; ++n) EXPECT_EQ(riga(r, n), vuota) << "line " << n;
  const std::pair<std::size_t, std::size_t> lunghezze[] = {{2, 42}, {3, 50}, {4, 81},
                                                           {7, 80}, {8, 81}, {41, 37}};
  for (const auto& [n, l] : lunghezze) EXPECT_EQ(riga(r, n).size(), l) << "line " << n;
}

TEST(TestiRallentamenti, TableRowsKeepTheirColumns) {
  const auto r = righe_rallentamenti();
  const std::vector<std::size_t> colonne = {1, 5, 34, 47, 58, 68, 81};
  for (std::size_t n = 9; n <= 39; ++n) {
    EXPECT_EQ(riga(r, n).size(), 82u) << "line " << n;
    EXPECT_EQ(barre(riga(r, n)), colonne) << "line " << n;
  }
}

TEST(TestiRallentamenti, SlowdownRowsMatchTheTrainDescription) {
  const auto r = righe_rallentamenti();
  const auto treno = righe_treno();
  const auto nomi = nomi_stazioni();
  ASSERT_EQ(nomi.size(), 12u);
  // The first slowdown lies after the second station, the second after the eleventh.
  const auto primo_secondo = nomi[10].substr(0, nomi[10].find(' '));
  struct caso {
    std::size_t riga, riga_treno;
    std::string tra, km;
  };
  const caso casi[] = {
      {14, 33, "VARMENA P.N. - " + nomi[2], "352"},
      {15, 34, primo_secondo + " P. - OSTRANA", "427"},
  };
  for (const auto& c : casi) {
    const auto cella = celle(riga(r, c.riga));
    ASSERT_EQ(cella.size(), 6u) << riga(r, c.riga);
    const auto f = campi(riga(treno, c.riga_treno));
    const std::string velocita(senza_blank_finali(f[2].substr(blanchi_iniziali(f[2]))));
    const std::string lunghezza(f[3].substr(blanchi_iniziali(f[3])));
    EXPECT_EQ(cella[0], tra_blank(std::to_string(c.riga - 13)));
    EXPECT_EQ(cella[1], (" " + c.tra + std::string(28, ' ')).substr(0, 28));
    EXPECT_LE(c.tra.size(), 27u);
    EXPECT_EQ(cella[2], "     " + c.km + "    ");
    EXPECT_EQ(cella[3], std::string(7 - velocita.size(), ' ') + velocita + "   ");
    EXPECT_EQ(cella[4], "   " + lunghezza + "   ");
    EXPECT_EQ(cella[5], "    ----    ");
  }
}

TEST(TestiNote, HasItsFixedLinesAndWidth) {
  const auto r = righe_note();
  ASSERT_EQ(r.size(), 24u);
  const std::map<std::size_t, std::string_view> attese = {
      {2, "La linea attualmente a binario unico in alcuni tratti, verra' interessata da "},
      {3, "due varianti, che la renderanno tutta a doppio binario tranne il piccolo tratto"},
      {5, "La prima variante verra' inaugurata il giono 30.05.01 ed interessera' il"},
      {8, "quattro gallerie."},
      {9, "La seconda variante verra' attivata probabilmente fra un paio di anni ed "},
      {11, "Nella simulazione sono presenti entrambe le varianti, le nuove gallerie si "},
      {12, "riconoscono dal cartello che ne indica il nome e la lunghezza."},
      {14, "primo (esterno) protegge la comunicazione di passaggio dal binario dispari al"},
      {15, "tratto di binario unico. Nella simulazione il suddetto segnale e' disposto per"},
      {16, "la deviata, anche se poi sugli scambi il treno non devia."},
      {17, "La ripetizione dei segnali non e' attiva sul quel tratto e non mi risulta che"},
      {18, "venga attivata con l' entrata in funzione delle due varianti."},
      {19, "L'orario di impostazione non e' reale dato che la variante di prossima "},
      {20, "inaugurazione ridurra' di molto i tempi di percorrenza."},
      {21, "                 "},
      {22, "                 Buon divertimento"},
  };
  for (const auto& [n, testo] : attese) EXPECT_EQ(riga(r, n), testo) << "line " << n;
  for (std::size_t n = 1; n <= r.size(); ++n) {
    EXPECT_LE(riga(r, n).size(), 79u) << "line " << n;
    // Only the lines whose sentence goes on, and the blank line 21, end in a blank.
    const bool blank_finale = n == 2 || n == 9 || n == 11 || n == 19 || n == 21;
    EXPECT_EQ(riga(r, n).ends_with(' '), blank_finale) << "line " << n;
  }
}

TEST(TestiNote, NamedPlacesAreStationsOfTheTrain) {
  const auto r = righe_note();
  const auto nomi = nomi_stazioni();
  const auto e_stazione = [&](std::string_view nome) {
    return std::find(nomi.begin(), nomi.end(), maiuscolo(nome)) != nomi.end();
  };
  // The text between a fixed start and end of a line.
  const auto tra = [&](std::size_t n, std::string_view inizio, std::string_view fine) {
    const auto t = riga(r, n);
    EXPECT_TRUE(t.starts_with(inizio) && t.ends_with(fine)) << "line " << n << ": " << t;
    if (t.size() < inizio.size() + fine.size()) return std::string_view{};
    return t.substr(inizio.size(), t.size() - inizio.size() - fine.size());
  };

  const auto nome_treno =
      tra(1, "Simulazione del treno IC 917 '", "' nel tratto Varmena Centrale - Ostrana.");
  EXPECT_FALSE(nome_treno.empty());
  EXPECT_EQ(nome_treno.find_first_of(" '"), std::string_view::npos) << nome_treno;

  const auto protetta =
      tra(4, "che va dal segnale di protezione esterno di ", " alla stessa stazione.");
  EXPECT_TRUE(e_stazione(protetta)) << protetta;
  EXPECT_EQ(tra(13, "La stazione di ", " e' munita di due successivi segnali di protezione: il"),
            protetta);

  const auto variante = tra(6, "tratto ", " con attivazione in fase successiva delle stazioni");
  const auto trattino = variante.find('-');
  ASSERT_NE(trattino, std::string_view::npos) << variante;
  EXPECT_TRUE(e_stazione(variante.substr(0, trattino))) << variante;
  EXPECT_TRUE(e_stazione(variante.substr(trattino + 1))) << variante;

  const auto nuove = tra(7, "di ", ". Nel nuovo tratto vi sono");
  const auto e_di = nuove.find(" e di ");
  ASSERT_NE(e_di, std::string_view::npos) << nuove;
  EXPECT_TRUE(e_stazione(nuove.substr(0, e_di))) << nuove;
  const auto doppia = nuove.substr(e_di + 6);
  EXPECT_TRUE(e_stazione(doppia)) << nuove;
  EXPECT_NE(doppia.find('-'), std::string_view::npos) << "two places joined: " << doppia;

  const auto seconda = tra(10, "interessera' il tratto ", ".");
  EXPECT_TRUE(e_stazione(seconda.substr(0, seconda.find('-')))) << seconda;
  EXPECT_NE(seconda.find('-'), std::string_view::npos) << seconda;
}

TEST(TestiNote, SignatureIsIndented) {
  const auto r = righe_note();
  for (std::size_t n : {23u, 24u}) {
    EXPECT_TRUE(riga(r, n).starts_with(' ')) << "line " << n;
    EXPECT_FALSE(senza_blank_finali(riga(r, n)).empty()) << "line " << n;
  }
  const auto contatto = riga(r, 24).substr(blanchi_iniziali(riga(r, 24)));
  EXPECT_TRUE(contatto.starts_with('(') && contatto.ends_with(')')) << contatto;
}

// ---------------------------------------------------------------------------
// All texts

TEST(TestiComuni, EveryLineIsPrintableSevenBitAscii) {
  const std::pair<const char*, Righe> testi[] = {
      {"line", righe_linea()},   {"train", righe_treno()},
      {"sheet", righe_scheda()}, {"slowdowns", righe_rallentamenti()},
      {"notes", righe_note()},
  };
  for (const auto& [nome, r] : testi) {
    for (std::size_t n = 1; n <= r.size(); ++n)
      for (unsigned char c : riga(r, n))
        EXPECT_TRUE(c >= 32 && c < 127) << nome << " line " << n << ": " << riga(r, n);
    EXPECT_EQ(std::find(r.begin(), r.end(), "riferimento fine del file"), r.end()) << nome;
  }
}

}  // namespace
}  // namespace percorso
