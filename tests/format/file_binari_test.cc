// Byte layout of the three binary files.
#include "format/file_binari.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <vector>

#include "format/codici.h"
#include "format/formato.h"
#include "support/testi_sorgente.h"

namespace percorso {
namespace {

using Byte = std::vector<std::uint8_t>;

std::uint16_t u16(const Byte& b, std::size_t o) {
  return static_cast<std::uint16_t>(b[o] | (b[o + 1] << 8));
}
std::int16_t i16(const Byte& b, std::size_t o) {
  return static_cast<std::int16_t>(u16(b, o));
}
std::int32_t i32(const Byte& b, std::size_t o) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[o]) | (b[o + 1] << 8) |
                                   (b[o + 2] << 16) | (static_cast<std::uint32_t>(b[o + 3]) << 24));
}
double f64(const Byte& b, std::size_t o) {
  std::uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = (u << 8) | b[o + static_cast<std::size_t>(i)];
  return std::bit_cast<double>(u);
}

TEST(FileCelle, FifteenPackedLittleEndianBytesPerCell) {
  modello m;
  m.celle.resize(3);
  cella& c = m.celle[1];
  c.evento = 14;
  c.dato_1 = 5121;
  c.dato_2 = -2;
  c.dato_3 = 0x1234;
  c.dato_4 = -32768;
  c.tempo_segnale = 201;
  c.ripetizione = 81;
  c.montagna = 3;
  c.velocita = 25;
  c.pendenza = 97;
  c.aderenza = 255;
  const Byte b = immagine_celle(m);
  ASSERT_EQ(b.size(), 45u);
  EXPECT_EQ(byte_per_cella, 15u);
  const Byte attesi = {14, 0x01, 0x14, 0xFE, 0xFF, 0x34, 0x12, 0x00, 0x80, 201, 81, 3, 25, 97, 255};
  EXPECT_EQ(Byte(b.begin() + 15, b.begin() + 30), attesi);
  EXPECT_EQ(Byte(b.begin(), b.begin() + 15), Byte(15, 0));
  EXPECT_EQ(Byte(b.begin() + 30, b.end()), Byte(15, 0));
}

TEST(FilePunti, EntryIs34PlusNameLength) {
  modello m;
  punto& p = m.punti[1];
  p = {12, -400, 450, 0x01020304, 3, "AB", 1, -2, 0x0304, 5, 6, 7, 8, 9, 10, 55980};
  const Byte b = immagine_punti(m);
  ASSERT_EQ(b.size(), 87u * 34u + 2u);
  EXPECT_EQ(byte_per_punto_senza_nome, 34u);
  // Slot 0 is empty: 34 bytes of zeros.
  EXPECT_EQ(Byte(b.begin(), b.begin() + 34), Byte(34, 0));
  const std::size_t o = 34;
  EXPECT_EQ(b[o + 0], 12);
  EXPECT_EQ(i32(b, o + 1), -400);
  EXPECT_EQ(i32(b, o + 5), 450);
  EXPECT_EQ(Byte(b.begin() + o + 9, b.begin() + o + 13), (Byte{4, 3, 2, 1}));
  EXPECT_EQ(b[o + 13], 3);
  EXPECT_EQ(u16(b, o + 14), 2);
  EXPECT_EQ(b[o + 16], 'A');
  EXPECT_EQ(b[o + 17], 'B');
  const std::size_t n = 2;
  EXPECT_EQ(i16(b, o + 16 + n), 1);
  EXPECT_EQ(i16(b, o + 18 + n), -2);
  EXPECT_EQ(Byte(b.begin() + o + 20 + n, b.begin() + o + 22 + n), (Byte{4, 3}));
  EXPECT_EQ(i16(b, o + 22 + n), 5);
  EXPECT_EQ(i16(b, o + 24 + n), 6);
  EXPECT_EQ(b[o + 26 + n], 7);
  EXPECT_EQ(b[o + 27 + n], 8);
  EXPECT_EQ(b[o + 28 + n], 9);
  EXPECT_EQ(b[o + 29 + n], 10);
  EXPECT_EQ(i32(b, o + 30 + n), 55980);
  // The next entry starts right after.
  EXPECT_EQ(Byte(b.begin() + o + 34 + n, b.begin() + o + 68 + n), Byte(34, 0));
}

TEST(FilePunti, OnlyTheTwoNames) {
  modello m;
  m.punti[85].nome = "Varmena_Ostrana";
  m.punti[85].parametro_1 = 610;
  m.punti[86].nome = "917";
  const Byte b = immagine_punti(m);
  ASSERT_EQ(b.size(), 2976u);
  const std::size_t slot85 = 85 * 34;
  EXPECT_EQ(u16(b, slot85 + 14), 15);
  EXPECT_EQ(std::string(b.begin() + slot85 + 16, b.begin() + slot85 + 31), "Varmena_Ostrana");
  // parametro_1 of slot 85 as the bytes 62 02.
  EXPECT_EQ(b[slot85 + 31], 0x62);
  EXPECT_EQ(b[slot85 + 32], 0x02);
  const std::size_t slot86 = slot85 + 34 + 15;
  EXPECT_EQ(u16(b, slot86 + 14), 3);
  EXPECT_EQ(std::string(b.begin() + slot86 + 16, b.begin() + slot86 + 19), "917");
  EXPECT_EQ(slot86 + 34 + 3, b.size());
}

TEST(FilePunti, HighBytesOfANameAreWrittenAsTheyAre) {
  modello m;
  m.punti[80].nome = "\xe8\"\t";
  const Byte b = immagine_punti(m);
  ASSERT_EQ(b.size(), 87u * 34u + 3u);
  EXPECT_EQ(u16(b, 80 * 34 + 14), 3);
  EXPECT_EQ(b[80 * 34 + 16], 0xE8);
  EXPECT_EQ(b[80 * 34 + 17], '"');
  EXPECT_EQ(b[80 * 34 + 18], '\t');
}

TEST(FilePiano, TaggedElementsXBlockThenYBlock) {
  piano p;
  p.x = {0, 0, 0.5, -1.25, 9};
  p.y = {0, 1, 2, 3, 9};
  p.assegnati = 4;  // metres 0, 1 whole numbers; 2, 3 reals; 4 empty
  const Byte b = immagine_piano(p);
  // Per block: 2 x 4 + 2 x 10 + 2 = 30.
  ASSERT_EQ(b.size(), 60u);
  EXPECT_EQ(Byte(b.begin(), b.begin() + 8), (Byte{2, 0, 0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(u16(b, 8), 5);
  EXPECT_EQ(f64(b, 10), 0.5);
  EXPECT_EQ(u16(b, 18), 5);
  EXPECT_EQ(f64(b, 20), -1.25);
  EXPECT_EQ(Byte(b.begin() + 28, b.begin() + 30), (Byte{0, 0}));
  EXPECT_EQ(Byte(b.begin() + 30, b.begin() + 38), (Byte{2, 0, 0, 0, 2, 0, 1, 0}));
  EXPECT_EQ(u16(b, 38), 5);
  EXPECT_EQ(f64(b, 40), 2.0);
  EXPECT_EQ(f64(b, 50), 3.0);
  EXPECT_EQ(Byte(b.begin() + 58, b.end()), (Byte{0, 0}));
}

TEST(FilePiano, CompiledStraightPlanIs20LMinus36Bytes) {
  const modello m = prova::compila(prova::linea(1000), prova::treno(), 1);
  ASSERT_EQ(m.codice_errore, 0);
  const Byte b = immagine_piano(*m.tracciato);
  ASSERT_EQ(b.size(), 20u * 8000u - 36u);
  const std::size_t blocco = b.size() / 2;
  // x: 0, 0 as whole numbers, then reals 0.0, two empty at the end.
  EXPECT_EQ(Byte(b.begin(), b.begin() + 8), (Byte{2, 0, 0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(u16(b, 8), 5);
  EXPECT_EQ(f64(b, 10), 0.0);
  EXPECT_EQ(Byte(b.begin() + blocco - 4, b.begin() + blocco), (Byte{0, 0, 0, 0}));
  // y: 0, 1, then 2.0, ..., 7998.0.
  EXPECT_EQ(Byte(b.begin() + blocco, b.begin() + blocco + 8), (Byte{2, 0, 0, 0, 2, 0, 1, 0}));
  EXPECT_EQ(f64(b, blocco + 10), 2.0);
  EXPECT_EQ(u16(b, blocco - 14), 5);
  EXPECT_EQ(f64(b, blocco - 12), 0.0);
  EXPECT_EQ(f64(b, b.size() - 12), 7998.0);
  EXPECT_EQ(Byte(b.end() - 4, b.end()), (Byte{0, 0, 0, 0}));
}

// A long plan goes out in pieces of whole elements, each far smaller than the
// file, that join into the element-by-element encoding.
TEST(FilePiano, ALongPlanComesInBoundedPiecesThatJoinIntoTheFile) {
  piano p;
  for (int m = 0; m <= 20000; ++m) {
    p.x.push_back(m * 0.5);
    p.y.push_back(-m * 0.25);
  }
  p.assegnati = 15000;
  Byte atteso;
  for (const auto* v : {&p.x, &p.y}) {
    for (std::size_t m = 0; m < v->size(); ++m) {
      const std::uint16_t tipo = m < 2 ? 2 : m < 15000 ? 5 : 0;
      atteso.push_back(static_cast<std::uint8_t>(tipo));
      atteso.push_back(0);
      if (tipo == 2) {
        const auto n = static_cast<std::uint16_t>(static_cast<std::int16_t>((*v)[m]));
        atteso.push_back(static_cast<std::uint8_t>(n));
        atteso.push_back(static_cast<std::uint8_t>(n >> 8));
      } else if (tipo == 5) {
        const auto u = std::bit_cast<std::uint64_t>((*v)[m]);
        for (int b = 0; b < 8; ++b) atteso.push_back(static_cast<std::uint8_t>(u >> (8 * b)));
      }
    }
  }
  pezzi_piano pezzi(p);
  EXPECT_EQ(pezzi.dimensione(), atteso.size());
  Byte uniti;
  int quanti = 0;
  for (auto pezzo = pezzi.prossimo(); !pezzo.empty(); pezzo = pezzi.prossimo()) {
    EXPECT_LE(pezzo.size(), 100000u);
    uniti.insert(uniti.end(), pezzo.begin(), pezzo.end());
    ++quanti;
  }
  EXPECT_GE(quanti, 6);
  EXPECT_EQ(uniti, atteso);
  EXPECT_EQ(immagine_piano(p), atteso);
}

TEST(FilePiano, PlanOfACompilationStoppedInTheHeaderIsAllEmpty) {
  const modello m =
      prova::compila(prova::linea(1000, {}, {"ripetizione segnali, 75, 0"}), prova::treno(), 1);
  ASSERT_EQ(m.codice_errore, 3);
  const Byte b = immagine_piano(*m.tracciato);
  EXPECT_EQ(b, Byte(2u * 8001u * 2u, 0));
}

TEST(FileCelle, CompiledLineOf94000) {
  modello m = prova::nuovo_modello();
  const auto stato = memorizza_percorso(m, prova::testi(prova::linea(94000), prova::treno()), 0);
  ASSERT_EQ(stato, stato_costruzione::pronta);
  const Byte b = immagine_celle(m);
  ASSERT_EQ(b.size(), 30315u);
  EXPECT_EQ(b[16], 0x01);
  EXPECT_EQ(b[17], 0x14);
  EXPECT_EQ(i16(b, 18), codice_gara_og("1", "Prova"));
}

}  // namespace
}  // namespace percorso
