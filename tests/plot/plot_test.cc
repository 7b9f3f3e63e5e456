#include "plot/plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <regex>
#include <sstream>

#include "app/esecuzione.h"
#include "cli/comandi.h"
#include "format/decodifica.h"
#include "format/file_binari.h"
#include "support/cartella_temporanea.h"
#include "support/comando.h"
#include "support/corsa_normale.h"

namespace percorso {
namespace {

std::string testo_file(const std::string& file) {
  const auto byte = leggi_file(file);
  return std::string(byte.begin(), byte.end());
}

void scrivi(const std::string& file, const std::vector<std::uint8_t>& byte) {
  scrivi_file(file, std::string_view(reinterpret_cast<const char*>(byte.data()), byte.size()));
}

// Matches of a pattern, line by line (every element is one line), point lists
// left out: they are far longer than std::regex can walk.
std::size_t conta(const std::string& testo, const std::string& schema) {
  const std::regex r(schema);
  std::size_t n = 0;
  std::istringstream in(testo);
  for (std::string riga; std::getline(in, riga);) {
    if (const auto a = riga.find(" points=\""); a != std::string::npos)
      riga.erase(a, riga.find('"', a + 9) + 1 - a);
    n += static_cast<std::size_t>(
        std::distance(std::sregex_iterator(riga.begin(), riga.end(), r), std::sregex_iterator()));
  }
  return n;
}

// The points of every polyline of a class, in drawing order. (No regex: the
// point lists are far longer than std::regex can walk.)
std::vector<std::array<double, 2>> punti_della_classe(const std::string& svg,
                                                      const std::string& classe) {
  std::vector<std::array<double, 2>> punti;
  const std::string inizio = "<polyline points=\"", fine = "\" class=\"" + classe + "\"/>";
  for (auto i = svg.find(inizio); i != std::string::npos; i = svg.find(inizio, i + 1)) {
    const auto a = i + inizio.size();
    const auto b = svg.find('"', a);
    if (b == std::string::npos || svg.compare(b, fine.size(), fine) != 0) continue;
    std::istringstream in(svg.substr(a, b - a));
    double x = 0, y = 0;
    char virgola = 0;
    while (in >> x >> virgola >> y) punti.push_back({x, y});
  }
  return punti;
}

// Things a self-contained, well-formed document never holds.
void controlla_documento(const std::string& svg) {
  EXPECT_TRUE(svg.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "));
  EXPECT_TRUE(svg.ends_with("</svg>\n"));
  EXPECT_EQ(conta(svg, "<svg "), 1u);
  for (const char* vietato :
       {"href", "<script", "@import", "url(", "<image", "@font-face", "<foreignObject"})
    EXPECT_EQ(svg.find(vietato), std::string::npos) << vietato;
  // Numbers that are not numbers.
  EXPECT_EQ(conta(svg, "[-0-9.\", ](nan|inf)"), 0u);
  EXPECT_EQ(conta(svg, "<text[ >]"), conta(svg, "</text>"));
  EXPECT_EQ(conta(svg, "<g[ >]"), conta(svg, "</g>"));
  // Every ampersand starts an entity.
  EXPECT_EQ(conta(svg, "&"), conta(svg, "&(amp|lt|gt|quot|apos);"));
}

class PlotCorsaNormale : public corsa_normale {
 protected:
  static void SetUpTestSuite() {
    corsa_normale::SetUpTestSuite();
    const risposta r = esegui({"plot", file("Varmena_Ostrana_917.dat")});
    ASSERT_EQ(r.stato, 0) << r.err;
    svg_ = testo_file(file("Varmena_Ostrana_917.svg"));
  }

  static std::string svg_;
};
std::string PlotCorsaNormale::svg_;

TEST_F(PlotCorsaNormale, IsOneSelfContainedDocument) {
  controlla_documento(svg_);
}

TEST_F(PlotCorsaNormale, TrackPolylineCoversThePlanToScale) {
  const auto piano = decodifica_piano(leggi_file(file("Varmena_Ostrana_linea.dat")));
  ASSERT_TRUE(piano.ok());
  // Extent of the line proper, metres 0 to 94000, in metres.
  double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
  for (std::size_t m = 0; m <= 94000; ++m) {
    const auto p = piano.valore.punto_a(m);
    ASSERT_TRUE(p.has_value()) << m;
    min_x = std::min(min_x, (*p)[0]);
    max_x = std::max(max_x, (*p)[0]);
    min_y = std::min(min_y, (*p)[1]);
    max_y = std::max(max_y, (*p)[1]);
  }
  const auto binario = punti_della_classe(svg_, "binario");
  ASSERT_GE(binario.size(), 94000u / 20);
  double px0 = 1e9, px1 = -1e9, py0 = 1e9, py1 = -1e9;
  for (const auto& [x, y] : binario) {
    px0 = std::min(px0, x);
    px1 = std::max(px1, x);
    py0 = std::min(py0, y);
    py1 = std::max(py1, y);
  }
  // One scale for both axes, so the extents keep their ratio; samples every
  // 20 m may miss the extreme by a few metres.
  const double scala = (px1 - px0) / (max_x - min_x);
  EXPECT_NEAR((py1 - py0) / (max_y - min_y), scala, scala * 0.005);
  // The screen y grows downwards: the first point (metre 0) is the origin, the
  // last one lies at metre 94000.
  const auto inizio = piano.valore.punto_a(0).value();
  const auto fine = piano.valore.punto_a(94000).value();
  const auto& primo = binario.front();
  const auto& ultimo = binario.back();
  EXPECT_NEAR(ultimo[0] - primo[0], (fine[0] - inizio[0]) * scala, 1.0);
  EXPECT_NEAR(ultimo[1] - primo[1], -(fine[1] - inizio[1]) * scala, 1.0);
  // The 7000 m beyond the line are drawn apart.
  EXPECT_FALSE(punti_della_classe(svg_, "prolungamento").empty());
}

TEST_F(PlotCorsaNormale, LabelsEveryStationTunnelAndSlowdown) {
  for (const char* nome :
       {"VARMENA CENTRALE", "VARMENA P.N.", "CORNELLA", "TORRE ALBINA", "Nome Stazione", "LIVERNA",
        "BELFIORE", "POGGIO MARINO-SAN VITALIANO", "CASALVERDE", "ROCCAFORTE", "MONTECALVO",
        "CASTELNUOVO PIANA", "OSTRANA"})
    // Once on the plan, once on the profile.
    EXPECT_EQ(conta(svg_, std::string("nome-stazione\" font-size=\"1[13]\"[^>]*>") + nome + "<"),
              2u)
        << nome;
  for (const char* galleria : {"Galleria Castelvecchio, Ml. 2047",
                               "Galleria Poggio Rosso, Ml. 2197", "Galleria Monte Ardena, Ml. 9310",
                               "Galleria Valle Scura, Ml. 5185", "Galleria Serra Lunga, Ml. 6270"})
    EXPECT_EQ(conta(svg_, std::string(">") + galleria + "<"), 2u) << galleria;
  EXPECT_EQ(conta(svg_, ">rallentamento (60|100) km/h<"), 2u);
  EXPECT_EQ(conta(svg_, ">(60|100) km/h<"), 2u);
  // Signals: a dot on the plan and a triangle on the profile (plus the legend's dot).
  EXPECT_EQ(conta(svg_, "<circle[^>]*class=\"segnale\""), 22u + 1);
  EXPECT_EQ(conta(svg_, "<polygon[^>]*class=\"segnale\""), 22u);
  // The embedded line sets a kilometric reference: its kilometres, then the distance.
  EXPECT_NE(svg_.find(">progressiva chilometrica della linea (km+m), sotto la distanza "
                      "dall&apos;inizio (km)<"),
            std::string::npos);
  EXPECT_NE(svg_.find(">350+000<"), std::string::npos);
  EXPECT_NE(svg_.find(">quota relativa (m)<"), std::string::npos);
  EXPECT_NE(svg_.find(">velocità massima (km/h)<"), std::string::npos);
}

TEST_F(PlotCorsaNormale, WithoutThePlanFileOnlyTheProfileIsDrawn) {
  const cartella_temporanea altra;
  for (const char* nome : {"Varmena_Ostrana_917.dat", "Varmena_Ostrana_917.sim"})
    scrivi(altra.file(nome), leggi_file(file(nome)));
  const risposta r = esegui({"plot", altra.file("Varmena_Ostrana_917.dat"), "-o", "-"});
  ASSERT_EQ(r.stato, 0) << r.err;
  EXPECT_NE(r.err.find("manca " + altra.file("Varmena_Ostrana_linea.dat")), std::string::npos)
      << r.err;
  controlla_documento(r.out);
  EXPECT_TRUE(punti_della_classe(r.out, "binario").empty());
  EXPECT_NE(r.out.find("tracciato non disponibile"), std::string::npos);
  EXPECT_NE(r.out.find(">OSTRANA<"), std::string::npos);
}

// A short line whose texts need escaping and whose plan holds numbers that
// cannot be drawn.
TEST(Plot, EscapesNamesAndSkipsPointsThatAreNotNumbers) {
  const cartella_temporanea cartella;
  modello m;
  m.celle.resize(200);
  for (cella& c : m.celle) {
    c.velocita = 20;
    c.pendenza = 103;
  }
  m.celle[20] = {evento::fermata, 1};
  // A board that names no mountain-side stretch still gets its label.
  m.celle[40] = {evento::cartello, 80};
  m.punti[80].nome = "( Bivio )( Citt\xe0 )";
  m.punti[1] = {12, 500, 1100, 800, 0, "A<&>\"B'", 0, 0, 0, 0, 0, 0, 0, 0, 0, 3600};
  m.punti[84].valore_2 = 3000;
  m.punti[85].nome = "Prova";
  m.punti[86].nome = "1";
  piano p;
  p.assegnati = 10001;
  for (int k = 0; k <= 10002; ++k) {
    p.x.push_back(k == 500 ? std::numeric_limits<double>::quiet_NaN() : 0.0);
    p.y.push_back(k == 600 ? std::numeric_limits<double>::infinity() : k);
  }
  scrivi(cartella.file("Prova_1.dat"), immagine_celle(m));
  scrivi(cartella.file("Prova_1.sim"), immagine_punti(m));
  scrivi(cartella.file("Prova_linea.dat"), immagine_piano(p));

  const risposta r = esegui({"plot", cartella.file("Prova_1.dat"), "-o", "-"});
  ASSERT_EQ(r.stato, 0) << r.err;
  controlla_documento(r.out);
  EXPECT_EQ(conta(r.out, ">A&lt;&amp;&gt;&quot;B&apos;<"), 2u);
  // Name bytes are Windows-1252 characters, written as UTF-8.
  EXPECT_EQ(conta(r.out, ">Bivio Citt\xc3\xa0<"), 1u);
  // The cells run 7000 m beyond the 3000 m line; the profile stops 1000 m after its end.
  EXPECT_NE(r.out.find(">4,0</text>"), std::string::npos);
  EXPECT_EQ(r.out.find(">5,0</text>"), std::string::npos);
  // The broken metres split the track into pieces instead of spoiling it.
  EXPECT_GE(conta(r.out, "class=\"binario\""), 3u);
}

// Files that decode but make no sense: random cells, points and plan
// coordinates (huge, tiny, not numbers) still give a document, quickly.
TEST(Plot, AnyDecodableFilesGiveADocument) {
  std::mt19937 caso(7);
  const double strani[] = {0,
                           1,
                           -1,
                           1e300,
                           -1e300,
                           1e-300,
                           std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN(),
                           123456.789};
  for (int giro = 0; giro < 12; ++giro) {
    const cartella_temporanea cartella;
    modello m;
    m.celle.resize(1 + caso() % 400);
    std::vector<std::uint8_t> byte = immagine_celle(m);
    for (auto& b : byte) b = static_cast<std::uint8_t>(caso() % 4 == 0 ? caso() : caso() % 16);
    scrivi(cartella.file("X_1.dat"), byte);
    for (punto& p : m.punti) {
      p.codice = static_cast<std::uint8_t>(caso());
      p.valore_1 = static_cast<std::int32_t>(caso());
      p.valore_2 = static_cast<std::int32_t>(caso() % 30000);
      p.valore_3 = static_cast<std::int32_t>(caso() % 30000) - 1000;
      p.nome = std::string(caso() % 12, static_cast<char>(caso()));
    }
    m.punti[85].nome = "X";
    scrivi(cartella.file("X_1.sim"), immagine_punti(m));
    piano p;
    const std::size_t metri = caso() % 30000;
    p.assegnati = static_cast<std::int32_t>(caso() % (metri + 1));
    for (std::size_t k = 0; k < metri; ++k) {
      const bool strano = caso() % 50 == 0;
      p.x.push_back(strano ? strani[caso() % std::size(strani)] : std::sin(k / 3000.0) * 1000);
      p.y.push_back(strano ? strani[caso() % std::size(strani)] : static_cast<double>(k));
    }
    scrivi(cartella.file("X_linea.dat"), immagine_piano(p));

    const risposta r = esegui({"plot", cartella.file("X_1.dat"), "-o", "-"});
    ASSERT_EQ(r.stato, 0) << r.err;
    controlla_documento(r.out);
  }
}

TEST(Plot, FaultsAndWrongUsage) {
  const cartella_temporanea cartella;
  modello m;
  m.celle.resize(10);
  auto tronco = immagine_celle(m);
  tronco.pop_back();
  scrivi(cartella.file("Tronco_1.dat"), tronco);
  scrivi(cartella.file("Buono_1.dat"), immagine_celle(m));
  // A point file under a cell file's name.
  m.punti[85].parametro_1 = 610;
  scrivi(cartella.file("Punti_1.dat"), immagine_punti(m));

  struct caso {
    std::vector<std::string> argomenti;
    int stato;
    const char* messaggio;
  };
  const caso casi[] = {
      {{"plot"}, 2, "manca il file delle celle"},
      {{"plot", "a.dat", "b.dat"}, 2, "un solo file delle celle"},
      {{"plot", "a.dat", "-o"}, 2, "manca il valore di -o"},
      {{"plot", "a.dat", "--bogus"}, 2, "opzione sconosciuta"},
      {{"plot", cartella.file("manca.dat")}, 3, "impossibile leggere"},
      {{"plot", cartella.file("Tronco_1.dat")}, 3, "file delle celle troncato"},
      {{"plot", cartella.file("Punti_1.dat")}, 3, "sembra un file dei punti, non un file di celle"},
      {{"plot", cartella.file("Buono_1.dat"), "-o", cartella.file("no/such/dir/x.svg")},
       3,
       "impossibile scrivere"},
  };
  for (const caso& c : casi) {
    const risposta r = esegui(c.argomenti);
    EXPECT_EQ(r.stato, c.stato) << c.messaggio;
    EXPECT_NE(r.err.find(c.messaggio), std::string::npos) << r.err;
  }
  for (const auto& argomenti :
       std::vector<std::vector<std::string>>{{"plot", "--help"}, {"help", "plot"}}) {
    const risposta r = esegui(argomenti);
    EXPECT_EQ(r.stato, 0);
    EXPECT_NE(r.out.find("uso: percorso plot CELLE [-o FILE.svg]"), std::string::npos);
  }
  EXPECT_NE(esegui({"--help"}).out.find("  plot CELLE"), std::string::npos);
}

}  // namespace
}  // namespace percorso
