#include "format/decodifica.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "format/file_binari.h"

namespace percorso {
namespace {

// Every field distinct and signed values negative, so a swapped or
// mis-sized field shows.
cella cella_di_prova(int k) {
  cella c;
  c.evento = static_cast<std::uint8_t>(k + 1);
  c.dato_1 = static_cast<std::int16_t>(-1000 - k);
  c.dato_2 = static_cast<std::int16_t>(2000 + k);
  c.dato_3 = static_cast<std::int16_t>(-30000);
  c.dato_4 = static_cast<std::int16_t>(0x1234);
  c.tempo_segnale = 235;
  c.ripetizione = 81;
  c.montagna = 2;
  c.velocita = 36;
  c.pendenza = 97;
  c.aderenza = static_cast<std::uint8_t>(200 + k);
  return c;
}

modello modello_di_prova() {
  modello m;
  for (int k = 0; k < 3; ++k) m.celle.push_back(cella_di_prova(k));
  punto& s = m.punti[1];
  s = {12, -400, 450, 0, 3, "VARMENA CENTRALE", 1, -2, 4, 5, 6, 7, 8, 9, 10, 55980};
  m.punti[80].nome = "( Galleria  )(   Castelvecchio   )( Ml. 2047  )";
  m.punti[85].nome = "Varmena_Ostrana";
  m.punti[85].parametro_1 = 610;
  m.punti[85].orario = -123456789;
  m.punti[86].nome = "917";
  return m;
}

TEST(DecodificaCelle, RoundTripsTheWrittenImage) {
  const modello m = modello_di_prova();
  const auto r = decodifica_celle(immagine_celle(m));
  ASSERT_TRUE(r.ok()) << r.errore->messaggio;
  EXPECT_EQ(r.valore, m.celle);
}

TEST(DecodificaPunti, RoundTripsTheWrittenImage) {
  const modello m = modello_di_prova();
  const auto r = decodifica_punti(immagine_punti(m));
  ASSERT_TRUE(r.ok()) << r.errore->messaggio;
  EXPECT_EQ(r.valore, m.punti);
}

TEST(DecodificaPiano, RoundTripsEveryKindOfElement) {
  piano p;
  p.x = {0, 0, 0.25, -1e300, 7, 0};
  p.y = {0, 1, 2.5, 3, 4, 0};
  p.assegnati = 4;  // metres 0-1 whole, 2-3 real, 4-5 empty
  const auto r = decodifica_piano(immagine_piano(p));
  ASSERT_TRUE(r.ok()) << r.errore->messaggio;
  ASSERT_EQ(r.valore.metri(), 6u);
  for (std::int32_t m = 0; m < 6; ++m) {
    const auto i = static_cast<std::size_t>(m);
    const tipo_elemento t = tipo_metro(p, m);
    const double atteso_x = t == tipo_elemento::vuoto ? 0 : p.x[i];
    const double atteso_y = t == tipo_elemento::vuoto ? 0 : p.y[i];
    EXPECT_EQ(r.valore.x[i], (elemento_piano{t, atteso_x})) << "metro " << m;
    EXPECT_EQ(r.valore.y[i], (elemento_piano{t, atteso_y})) << "metro " << m;
  }
  EXPECT_EQ(r.valore.punto_a(2), (std::array<double, 2>{0.25, 2.5}));
  EXPECT_FALSE(r.valore.punto_a(4).has_value());
  EXPECT_FALSE(r.valore.punto_a(6).has_value());
}

TEST(DecodificaPiano, PointWithANonFiniteCoordinateIsMissing) {
  piano p;
  p.x = {0, 0, std::numeric_limits<double>::quiet_NaN()};
  p.y = {0, 1, 2};
  p.assegnati = 3;
  const auto r = decodifica_piano(immagine_piano(p));
  ASSERT_TRUE(r.ok());
  EXPECT_FALSE(r.valore.punto_a(2).has_value());
  EXPECT_TRUE(r.valore.punto_a(1).has_value());
}

enum class tipo_file { celle, punti, piano };

decodificato<int> decodifica(tipo_file t, std::span<const std::uint8_t> dati) {
  decodificato<int> r;
  switch (t) {
    case tipo_file::celle:
      r.errore = decodifica_celle(dati).errore;
      break;
    case tipo_file::punti:
      r.errore = decodifica_punti(dati).errore;
      break;
    case tipo_file::piano:
      r.errore = decodifica_piano(dati).errore;
      break;
  }
  return r;
}

std::vector<std::uint8_t> immagine(tipo_file t) {
  const modello m = modello_di_prova();
  piano p;
  p.x = {0, 0, 0.5, 0};
  p.y = {0, 1, 2, 0};
  p.assegnati = 3;
  switch (t) {
    case tipo_file::celle:
      return immagine_celle(m);
    case tipo_file::punti:
      return immagine_punti(m);
    case tipo_file::piano:
      return immagine_piano(p);
  }
  return {};
}

struct caso_guasto {
  const char* nome;
  tipo_file tipo;
  // Changes a valid image into a faulty one.
  void (*guasta)(std::vector<std::uint8_t>&);
  const char* parola;  // expected in the message
  std::size_t posizione;
};

class FileGuasto : public testing::TestWithParam<caso_guasto> {};

TEST_P(FileGuasto, GivesAClearMessageAtTheRightByte) {
  const caso_guasto& c = GetParam();
  std::vector<std::uint8_t> dati = immagine(c.tipo);
  c.guasta(dati);
  const auto r = decodifica(c.tipo, dati);
  ASSERT_FALSE(r.ok());
  EXPECT_NE(r.errore->messaggio.find(c.parola), std::string::npos) << r.errore->messaggio;
  EXPECT_EQ(r.errore->posizione, c.posizione) << r.errore->messaggio;
}

// The test image of the points: 87 × 34 bytes plus the four names (16 + 47 + 15 + 3).
constexpr std::size_t byte_punti = 87 * 34 + 16 + 47 + 15 + 3;

INSTANTIATE_TEST_SUITE_P(
    Casi, FileGuasto,
    testing::Values(
        caso_guasto{"celle_vuote", tipo_file::celle, [](auto& d) { d.clear(); }, "vuoto", 0},
        caso_guasto{"celle_troncate", tipo_file::celle, [](auto& d) { d.pop_back(); }, "troncato",
                    30},
        caso_guasto{"celle_con_un_byte_in_piu", tipo_file::celle, [](auto& d) { d.push_back(0); },
                    "la cella 3 ha solo 1 byte", 45},
        caso_guasto{"punti_vuoti", tipo_file::punti, [](auto& d) { d.clear(); }, "vuoto", 0},
        // Entry 0 is empty: 34 bytes. Entry 1 starts with 14 bytes, then its name length.
        caso_guasto{"punti_troncati_nel_nome", tipo_file::punti, [](auto& d) { d.resize(34 + 20); },
                    "voce 1 di 87 (campo nome", 34 + 16},
        caso_guasto{"punti_troncati_nell_orario", tipo_file::punti, [](auto& d) { d.pop_back(); },
                    "campo orario", byte_punti - 4},
        caso_guasto{"punti_con_byte_in_piu", tipo_file::punti,
                    [](auto& d) {
                      d.insert(d.end(), {1, 2, 3});
                    },
                    "3 byte in piu'", byte_punti},
        // A name length that claims more than the file holds must not be trusted.
        caso_guasto{"punti_nome_lunghissimo", tipo_file::punti,
                    [](auto& d) { d[14] = d[15] = 0xFF; }, "campo nome", 16},
        caso_guasto{"piano_vuoto", tipo_file::piano, [](auto& d) { d.clear(); }, "vuoto", 0},
        caso_guasto{"piano_etichetta_sconosciuta", tipo_file::piano, [](auto& d) { d[4] = 7; },
                    "etichetta sconosciuta 7 nell'elemento 1", 4},
        // The plan has 20 bytes a block; y of metre 2 (a real) starts at byte 20 + 8.
        caso_guasto{"piano_valore_troncato", tipo_file::piano,
                    [](auto& d) { d.resize(d.size() - 3); },
                    "annuncia 8 byte di valore, ne restano 7", 28},
        caso_guasto{"piano_etichetta_a_meta", tipo_file::piano, [](auto& d) { d.push_back(0); },
                    "1 byte di etichetta", 2 * (4 + 4 + 10 + 2)},
        caso_guasto{"piano_dispari", tipo_file::piano,
                    [](auto& d) {
                      d.insert(d.end(), {0, 0});
                    },
                    "dispari", 2 * (4 + 4 + 10 + 2) + 2}),
    [](const auto& info) { return std::string(info.param.nome); });

// Random bytes and random damage to valid images: each decoder either accepts
// the input or names a byte inside it, and never reads outside it (the
// sanitizer build checks the reads).
TEST(DecodificaCasuale, AnyInputGivesAValueOrAnError) {
  std::mt19937 caso(20240611);
  for (int giro = 0; giro < 3000; ++giro) {
    const auto t = static_cast<tipo_file>(giro % 3);
    std::vector<std::uint8_t> dati;
    if (giro % 2 == 0) {
      dati.resize(caso() % 400);
      for (auto& b : dati) b = static_cast<std::uint8_t>(caso());
    } else {
      dati = immagine(t);
      for (int n = 0; n < 3; ++n) dati[caso() % dati.size()] = static_cast<std::uint8_t>(caso());
      dati.resize(caso() % (dati.size() + 8), 0xFF);
    }
    const auto r = decodifica(t, dati);
    if (!r.ok()) {
      EXPECT_FALSE(r.errore->messaggio.empty());
      EXPECT_LE(r.errore->posizione, dati.size());
    }
  }
}

}  // namespace
}  // namespace percorso
