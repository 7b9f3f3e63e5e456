// The build procedure: reset, compile, complete, header values, the
// program errors 1250 and 1251, and the check codes.
#include "app/costruzione.h"

#include <gtest/gtest.h>

#include <string>

#include "format/codici.h"
#include "format/file_binari.h"
#include "support/testi_sorgente.h"
#include "writers/scrittori.h"
#include "writers/testi.h"

namespace percorso {
namespace {

using prova::linea;
using prova::treno;

struct costruito {
  modello m;
  stato_costruzione stato;
};

costruito costruisci(const std::optional<std::string>& l, const std::optional<std::string>& t,
                     std::int32_t j = 1) {
  costruito c{prova::nuovo_modello(), stato_costruzione::pronta};
  c.stato = memorizza_percorso(c.m, prova::testi(l, t), j);
  return c;
}

TEST(Costruzione, NormalRunStoresHeaderValuesAndCheckCodes) {
  const costruito c = costruisci(linea(94000), treno());
  ASSERT_EQ(c.stato, stato_costruzione::pronta);
  EXPECT_EQ(c.m.codice_errore, 0);
  EXPECT_EQ(c.m.punti[85].parametro_1, 610);
  EXPECT_EQ(c.m.celle[1].dato_1, 5121);
  EXPECT_EQ(c.m.punti[85].orario, codice_gara_st("1", "Prova"));
  EXPECT_EQ(c.m.celle[1].dato_2, codice_gara_og("1", "Prova"));
  EXPECT_EQ(c.m.punti[85].nome, "Prova");
  EXPECT_EQ(c.m.punti[86].nome, "1");
  EXPECT_EQ(c.m.flag_tracciato, 1);
  ASSERT_TRUE(c.m.tracciato.has_value());
}

TEST(Costruzione, EmbeddedNamesGiveTheirCodes) {
  costruito c{modello{}, stato_costruzione::pronta};
  c.m.nome_percorso = std::string("Varmena_Ostrana");
  c.m.numero_treno = std::string("917");
  const std::string l = linea(94000), t = treno();
  c.stato = memorizza_percorso(c.m, prova::testi(l, t), 0);
  ASSERT_EQ(c.stato, stato_costruzione::pronta);
  EXPECT_EQ(c.m.punti[85].orario, 33016);
  EXPECT_EQ(c.m.celle[1].dato_2, 2450);
  EXPECT_FALSE(c.m.tracciato.has_value());
}

// The no-argument run's scenario, compiled in memory: sizes, header values, check codes.
TEST(Costruzione, EmbeddedScenario) {
  modello m;
  m.nome_percorso = std::string("Varmena_Ostrana");
  m.numero_treno = std::string("917");
  const auto l = testo_crlf(righe_linea());
  const auto t = testo_crlf(righe_treno());
  sorgenti s;
  s.linea = std::span<const std::uint8_t>(l);
  s.treno = std::span<const std::uint8_t>(t);
  ASSERT_EQ(memorizza_percorso(m, s, 1), stato_costruzione::pronta);
  EXPECT_EQ(m.codice_errore, 0);
  EXPECT_EQ(m.lunghezza_estesa, 101000);
  EXPECT_EQ(m.ultima_cella(), 2020);
  const auto celle = immagine_celle(m);
  ASSERT_EQ(celle.size(), 30315u);
  EXPECT_EQ(celle[16], 0x01);
  EXPECT_EQ(celle[17], 0x14);
  EXPECT_EQ(celle[18] | (celle[19] << 8), 2450);
  EXPECT_EQ(immagine_piano(*m.tracciato).size(), 2019964u);
  EXPECT_EQ(m.punti[85].parametro_1, 610);
  EXPECT_EQ(m.punti[85].orario, 33016);
  EXPECT_EQ(m.punti[85].nome, "Varmena_Ostrana");
  EXPECT_EQ(m.punti[86].nome, "917");
  // The gradient rows 0, 300, 586 and 165 m of the embedded line text.
  EXPECT_EQ(m.celle[5].pendenza, 100);
  EXPECT_EQ(m.celle[6].pendenza, 97);
  EXPECT_EQ(m.celle[12].pendenza, 100);
  EXPECT_EQ(m.punti[84].valore_2, 94000);
  EXPECT_EQ(m.punti[84].valore_1, 125);
  EXPECT_EQ(m.punti[84].valore_3, 12);
  EXPECT_EQ(m.punti[85].valore_3, 1);  // "sfondo due,    1"
  EXPECT_EQ(m.punti[86].parametro_1, 200);
  EXPECT_EQ(m.punti[86].parametro_3, 15);
  EXPECT_EQ(m.punti[86].parametro_4, 32);
  EXPECT_EQ(m.punti[86].parametro_5, 30);
  EXPECT_EQ(m.celle[0].aderenza, 100);
  EXPECT_EQ(m.celle[0].velocita, 14);
  EXPECT_EQ(m.celle[253].evento, 1);  // "segnale,   12600, ..."
  EXPECT_EQ(m.punti[1].nome, "VARMENA CENTRALE");
}

TEST(Costruzione, ResetsErrorAndPointTable) {
  costruito c{prova::nuovo_modello(), stato_costruzione::pronta};
  c.m.codice_errore = 99;
  c.m.punti[3].nome = std::string("vecchio");
  c.m.punti[3].orario = 7;
  c.m.punti[85].parametro_1 = 610;
  c.m.punti[85].orario = 5;
  const std::string l = linea(1000), t = treno();
  c.stato = memorizza_percorso(c.m, prova::testi(l, t), 0);
  ASSERT_EQ(c.stato, stato_costruzione::pronta);
  EXPECT_EQ(c.m.codice_errore, 0);
  EXPECT_EQ(c.m.punti[3], punto{});
}

// Compiler findings after the cells exist do not stop the build.
TEST(Costruzione, CompilerFindingAfterTheCellsDoesNotStopTheBuild) {
  const costruito c = costruisci(linea(1000, {"pendenza, 7901, 0"}), treno());
  EXPECT_EQ(c.stato, stato_costruzione::pronta);
  EXPECT_EQ(c.m.codice_errore, 15);
  EXPECT_EQ(c.m.celle[1].dato_1, 5121);
  EXPECT_EQ(c.m.punti[85].parametro_1, 610);
}

struct caso_senza_celle {
  const char* nome;
  std::optional<std::string> linea;
  std::int32_t codice;
};

void PrintTo(const caso_senza_celle& c, std::ostream* os) {
  *os << c.nome;
}

class SenzaCelle : public ::testing::TestWithParam<caso_senza_celle> {};

TEST_P(SenzaCelle, NoBinaryFiles) {
  const costruito c = costruisci(GetParam().linea, treno(), 1);
  EXPECT_EQ(c.stato, stato_costruzione::senza_celle);
  EXPECT_EQ(c.m.codice_errore, GetParam().codice);
  // Nothing of the header values is stored.
  EXPECT_EQ(c.m.punti[85].parametro_1, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Costruzione, SenzaCelle,
    ::testing::Values(caso_senza_celle{"c101", std::nullopt, 101},
                      caso_senza_celle{"c102", std::string("lunghezza percorso, 1000\r\n"), 102},
                      caso_senza_celle{"c1", linea(1000001), 1},
                      caso_senza_celle{"c25_before_length",
                                       std::string("[generale]\r\nsfondo uno, 99999999999\r\n"
                                                   "lunghezza percorso, 1000\r\n"),
                                       25},
                      caso_senza_celle{"c25_no_length", std::string("[generale]\r\n[p]\r\n"), 25},
                      // Lengths that leave no cell 1.
                      caso_senza_celle{"one_cell", linea(-6975), 0},
                      caso_senza_celle{"one_cell_plan_fails", linea(-7001), 25},
                      caso_senza_celle{"negative_cells", linea(-7026), 25}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(Costruzione, OneCellWithoutPlanIsStillNoCellOne) {
  const costruito c = costruisci(linea(-6975), treno(), 0);
  EXPECT_EQ(c.stato, stato_costruzione::senza_celle);
  EXPECT_EQ(c.m.codice_errore, 0);
}

TEST(Costruzione, CellOneIsEnough) {
  const costruito c = costruisci(linea(-6950), treno(), 1);
  EXPECT_EQ(c.stato, stato_costruzione::pronta);
  EXPECT_EQ(c.m.codice_errore, 0);
  ASSERT_EQ(c.m.ultima_cella(), 1);
  EXPECT_EQ(c.m.celle[1].dato_1, 5121);
  // Every tail writes cell 0 and stops.
  EXPECT_EQ(c.m.celle[0].pendenza, 100);
  EXPECT_EQ(c.m.celle[1].pendenza, 0);
}

TEST(Costruzione, TwoCellsAreEnough) {
  const costruito c = costruisci(linea(-6925), treno(), 1);
  EXPECT_EQ(c.stato, stato_costruzione::pronta);
  EXPECT_EQ(c.m.ultima_cella(), 2);
  EXPECT_EQ(c.m.celle[1].dato_1, 5121);
}

// An event in cell 1 whose first value is not 0 stops the run with 1250.
struct caso_1250 {
  const char* nome;
  std::string linea;
  std::string treno;
  stato_costruzione stato;
};

void PrintTo(const caso_1250& c, std::ostream* os) {
  *os << c.nome;
}

class Errore1250 : public ::testing::TestWithParam<caso_1250> {};

TEST_P(Errore1250, HeaderSlotsAlreadyUsed) {
  const costruito c = costruisci(GetParam().linea, GetParam().treno, 0);
  EXPECT_EQ(c.stato, GetParam().stato);
}

INSTANTIATE_TEST_SUITE_P(
    Costruzione, Errore1250,
    ::testing::Values(
        caso_1250{"board_at_0", linea(1000, {"cartello_indicatore, 0, (x)"}), treno(),
                  stato_costruzione::errore_1250},
        caso_1250{"board_at_24", linea(1000, {"cartello_indicatore, 24, (x)"}), treno(),
                  stato_costruzione::errore_1250},
        caso_1250{"board_at_25_is_cell_2", linea(1000, {"cartello_indicatore, 25, (x)"}), treno(),
                  stato_costruzione::pronta},
        caso_1250{"indicators_at_0",
                  linea(1000, {"indicatori_vmax, 0, 100, 100, 100, 0, 100, 100, 100, 0"}), treno(),
                  stato_costruzione::errore_1250},
        caso_1250{"indicators_at_0_all_zero",
                  linea(1000, {"indicatori_vmax, 0, 0, 0, 0, 0, 0, 0, 0, 0"}), treno(),
                  stato_costruzione::pronta},
        caso_1250{"indicators_at_0_second_value",
                  linea(1000, {"indicatori_vmax, 0, 0, 1, 0, 0, 0, 0, 0, 0"}), treno(),
                  stato_costruzione::errore_1251},
        caso_1250{"speed_point_at_50", linea(1000), treno({"abbattimento, 50, 30"}),
                  stato_costruzione::errore_1250},
        caso_1250{"speed_point_at_50_low_16_bits_zero", linea(1000),
                  treno({"abbattimento, 50, 65536"}), stato_costruzione::pronta},
        caso_1250{"signal_at_0", linea(1000), treno({"segnale, 0, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0"}),
                  stato_costruzione::errore_1250},
        caso_1250{"signal_at_0_second_value", linea(1000),
                  treno({"segnale, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0"}),
                  stato_costruzione::errore_1251}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(Costruzione, Error1251ComesAfterTheHeaderValuesAreStored) {
  const costruito c =
      costruisci(linea(1000), treno({"segnale, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0"}), 0);
  ASSERT_EQ(c.stato, stato_costruzione::errore_1251);
  EXPECT_EQ(c.m.punti[85].parametro_1, 610);
  EXPECT_EQ(c.m.celle[1].dato_1, 5121);
  EXPECT_EQ(c.m.punti[85].orario, 0);
}

TEST(Costruzione, Error1250StoresNothing) {
  const costruito c = costruisci(linea(1000, {"cartello_indicatore, 0, (x)"}), treno(), 0);
  ASSERT_EQ(c.stato, stato_costruzione::errore_1250);
  EXPECT_EQ(c.m.punti[85].parametro_1, 0);
  EXPECT_EQ(c.m.celle[1].dato_1, 80);
}

}  // namespace
}  // namespace percorso
