// Large blocks: cut from shared slabs, each keeping its own bytes, the slab given
// back once its last block is.
#include "model/memoria_grande.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace percorso {
namespace {

constexpr std::size_t mega = std::size_t{1} << 20;

struct blocco {
  std::size_t byte;
  std::uint8_t* dati;
};

blocco prendi(std::size_t byte, std::uint8_t segno) {
  auto* dati = static_cast<std::uint8_t*>(prendi_memoria_grande(byte));
  std::memset(dati, segno, byte);
  return {byte, dati};
}

bool intatto(const blocco& b, std::uint8_t segno) {
  for (std::size_t i = 0; i < b.byte; ++i) {
    if (b.dati[i] != segno) return false;
  }
  return true;
}

// Sizes taken in turn, then given back in the order listed: every block keeps its
// bytes whatever was taken and returned around it.
struct caso_blocchi {
  const char* nome;
  std::vector<std::size_t> byte;
  std::vector<std::size_t> ordine_resa;
};

void PrintTo(const caso_blocchi& c, std::ostream* os) {
  *os << c.nome;
}

class Blocchi : public ::testing::TestWithParam<caso_blocchi> {};

TEST_P(Blocchi, OgnunoTieneIPropriByte) {
  const caso_blocchi& c = GetParam();
  std::vector<blocco> presi;
  for (std::size_t i = 0; i < c.byte.size(); ++i)
    presi.push_back(prendi(c.byte[i], static_cast<std::uint8_t>(i + 1)));
  for (const std::size_t i : c.ordine_resa) {
    for (std::size_t j = 0; j < presi.size(); ++j) {
      if (presi[j].dati == nullptr) continue;
      ASSERT_TRUE(intatto(presi[j], static_cast<std::uint8_t>(j + 1))) << "blocco " << j;
    }
    rendi_memoria_grande(presi[i].dati);
    presi[i].dati = nullptr;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tabella, Blocchi,
    ::testing::Values(
        // The embedded line's two coordinates: one slab.
        caso_blocchi{"due_coordinate", {752008, 752008}, {0, 1}},
        caso_blocchi{"resi_al_contrario", {752008, 752008}, {1, 0}},
        // Small blocks with no slab open come from the heap; beside an open slab with
        // room they share it, and keep it alive after the large blocks are gone.
        caso_blocchi{"piccoli", {1, 4096, 512 * 1024 - 1}, {1, 0, 2}},
        caso_blocchi{"piccolo_accanto", {752008, 752008, 81920, 1}, {0, 1, 3, 2}},
        caso_blocchi{"piccolo_senza_posto", {2 * mega - 200, 81920}, {0, 1}},
        // The third does not fit beside the first two: a new slab, the old one kept
        // until its blocks come back.
        caso_blocchi{"lastra_piena", {752008, 752008, 752008, 600000}, {0, 2, 1, 3}},
        caso_blocchi{"piu_grande_di_una_pagina", {8000008, 8000008, 3 * mega}, {2, 0, 1}},
        // A block exactly a large page: its header makes the slab two pages.
        caso_blocchi{"pagina_esatta", {2 * mega, mega / 2}, {0, 1}}),
    [](const auto& info) { return std::string(info.param.nome); });

std::size_t distanza(const blocco& a, const blocco& b) {
  return static_cast<std::size_t>(a.dati > b.dati ? a.dati - b.dati : b.dati - a.dati);
}

// The embedded line's plan and the buffer its file is written through: one page.
TEST(MemoriaGrande, PianoEPezzoInUnaPaginaGrande) {
  if (!lastre_condivise) GTEST_SKIP() << "ogni blocco a se' sotto il sanitizer";
  const blocco x = prendi(752008, 1), y = prendi(752008, 2), pezzo = prendi(81920, 3);
  EXPECT_LT(distanza(x, y), 2 * mega);
  EXPECT_LT(distanza(x, pezzo), 2 * mega);
  for (const blocco& b : {x, y, pezzo}) rendi_memoria_grande(b.dati);
}

TEST(MemoriaGrande, ComeAllocatoreDiUnVettore) {
  std::vector<double, memoria_grande<double>> v;
  for (int i = 0; i < 300000; ++i) v.push_back(i);  // grows through several slabs
  for (int i = 0; i < 300000; ++i) ASSERT_EQ(v[static_cast<std::size_t>(i)], i);
}

TEST(MemoriaGrande, DaPiuFili) {
  auto lavoro = [](std::uint8_t segno) {
    for (int giro = 0; giro < 50; ++giro) {
      const blocco a = prendi(600000, segno), b = prendi(900000, segno);
      EXPECT_TRUE(intatto(a, segno));
      EXPECT_TRUE(intatto(b, segno));
      rendi_memoria_grande(b.dati);
      rendi_memoria_grande(a.dati);
    }
  };
  std::thread primo(lavoro, 1), secondo(lavoro, 2);
  primo.join();
  secondo.join();
}

}  // namespace
}  // namespace percorso
