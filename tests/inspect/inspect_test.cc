#include "inspect/inspect.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <random>
#include <regex>
#include <sstream>

#include "app/esecuzione.h"
#include "cli/comandi.h"
#include "format/codici.h"
#include "format/file_binari.h"
#include "support/cartella_temporanea.h"
#include "support/comando.h"
#include "support/conta.h"
#include "support/corsa_normale.h"
#include "support/sistemi.h"

namespace percorso {
namespace {

using prova::conta;

// Rows of the cell table with this event: the name follows the kilometre columns.
std::size_t righe_evento(const std::string& testo, const std::string& evento) {
  const std::regex riga("\\n +[0-9]+ +([0-9]+\\+[0-9]{3} +)?[0-9]+\\.[0-9]{3}  " + evento + " ");
  return static_cast<std::size_t>(std::distance(
      std::sregex_iterator(testo.begin(), testo.end(), riga), std::sregex_iterator()));
}

void scrivi(const std::string& file, const std::vector<std::uint8_t>& byte) {
  scrivi_file(file, std::string_view(reinterpret_cast<const char*>(byte.data()), byte.size()));
}

class InspectCorsaNormale : public corsa_normale {};

TEST_F(InspectCorsaNormale, CellsShowEverySignalSlowdownStationAndBoard) {
  const risposta r = esegui({"inspect", file("Varmena_Ostrana_917.dat")});
  ASSERT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(righe_evento(r.out, "segnale"), 22u);
  EXPECT_EQ(righe_evento(r.out, "inizio rallentamento"), 2u);
  EXPECT_EQ(righe_evento(r.out, "fine rallentamento"), 2u);
  EXPECT_EQ(righe_evento(r.out, "avviso rallentamento"), 2u);
  // Twelve stop cells: the thirteenth station is of a kind that marks no cell.
  EXPECT_EQ(righe_evento(r.out, "fermata"), 12u);
  EXPECT_EQ(righe_evento(r.out, "cartello"), 5u);
  EXPECT_NE(r.out.find("\n  segnale                  22\n"), std::string::npos);
  EXPECT_NE(r.out.find("\n  inizio rallentamento     2\n"), std::string::npos);
  for (const char* atteso : {
           // Signal at 20100 m: s-side kind 2 with time 235, d-side kind 1, rapp 1; the
           // line's kilometre from its reference at 350000 m, then the distance.
           "403   370+150       20.150  segnale                lato s: tipo 2, codici 2 4 0; lato "
           "d: tipo 1, "
           "codici 3 1 0; rapp 1; tempo 235",
           // Slowdown at 77800 m, 100 km/h, with its warning board and pre-warning run.
           "1557   427+850       77.850  inizio rallentamento   100 km/h, d_v 100, f_tt 0",
           "1567   428+350       78.350  fine rallentamento     100 km/h, d_v 100, f_tt 0",
           "1533   426+650       76.650  avviso rallentamento   100 km/h, d_v 100",
           "1532   426+600       76.600  preavviso              1 di 4",
           "909   395+450       45.450  indicatori velocita'   a 140/140, b 150/150, c 150/150 "
           "km/h (s/d); "
           "strisce s 2, d 2",
           "8   350+400        0.400  fermata                stazione 1 VARMENA CENTRALE",
           "1795   439+750       89.750  fermata                stazione 13 OSTRANA",
           "481   374+050       24.050  cartello               testo della voce 80 ( Galleria  )(  "
           " "
           "Castelvecchio   )( Ml. 2047  )",
           "1171   408+550       58.550  cartello               testo della voce 76 ( Galleria  )( "
           "  Serra "
           "Lunga   )( Ml. 6270  )",
           "251   362+550       12.550                         ripetizione 41",
           "codice di controllo semplice 2450: corrisponde ai nomi",
           // Gradient -3 from 300 m; the speed steps up at 1350 m.
           "6-11        350+300-350+600   0.300-0.600                       -3    70 km/h       "
           "100         -",
           "27-60       351+350-353+050   1.350-3.050                       -8   125 km/h       "
           "100         -",
       })
    EXPECT_NE(r.out.find(atteso), std::string::npos) << atteso;
}

TEST_F(InspectCorsaNormale, PointsShowThirteenStationsWithTimesAndMatchingCodes) {
  const risposta r = esegui({"inspect", file("Varmena_Ostrana_917.sim")});
  ASSERT_EQ(r.stato, 0) << r.err;
  for (const char* atteso : {
           "stazioni (13):",
           "     1   12     -400      450         0   350+000  15:33:00   VARMENA CENTRALE",
           // A station the train passes without stopping has no time.
           "     5   25    20400    20600     20500   370+500             Nome Stazione",
           "    11   12    66150    66950     66550   416+550  16:07:00   MONTECALVO",
           "    13    4    89200    89800     89500   439+500  16:20:00   OSTRANA",
           "cartelli (5):",
           "    78  ( Galleria  )(   Monte Ardena   )( Ml. 9310  )",
           // Slots 81 to 83 are named by their number: the compiler orders the references.
           "81 riferimento chilometrico: inizio 0 m, progressiva 350000 m, flag 0",
           "84 massa frenata 125%, lunghezza della linea 94000 m, vetture 12",
           "85 percorso \"Varmena_Ostrana\", sfondi uno 0, due 1, tre 0, valore 610 (corretto)",
           "86 treno \"917\", ripetizione segnali 0, 0, codici 0; sabbia 200; orologio 15:32:30",
           "pesato   33016 (voce 85, orario): corrisponde ai nomi",
           "semplice 2450 (cella 1 di",
       })
    EXPECT_NE(r.out.find(atteso), std::string::npos) << atteso;
  EXPECT_EQ(r.out.find("altre voci"), std::string::npos);
}

TEST_F(InspectCorsaNormale, PlanShowsLengthBoxAndHeading) {
  const risposta r = esegui({"inspect", file("Varmena_Ostrana_linea.dat")});
  ASSERT_EQ(r.stato, 0) << r.err;
  for (const char* atteso : {
           "101001 metri per coordinata (202002 elementi, 2019964 byte)",
           "elementi: 4 interi, 201994 reali, 4 vuoti",
           "metri con coordinate: 0-100998",
           "riquadro: x da ",
           "direzione finale: ",
       })
    EXPECT_NE(r.out.find(atteso), std::string::npos) << atteso;
}

TEST_F(InspectCorsaNormale, JsonGivesTheSameCountsAndAListForSeveralFiles) {
  const risposta uno = esegui({"inspect", "--json", file("Varmena_Ostrana_917.dat")});
  ASSERT_EQ(uno.stato, 0) << uno.err;
  EXPECT_EQ(uno.out.front(), '{');
  for (const char* atteso :
       {"\"tipo\": \"celle\"", "\"segnali\": 22", "\"inizi_rallentamento\": 2", "\"cartelli\": 5",
        "\"fermate\": 12", "\"corrisponde\": true", "\"s\": {\"tipo\": 2, \"codici\": [2, 4, 0]}"})
    EXPECT_NE(uno.out.find(atteso), std::string::npos) << atteso;

  const risposta tre = esegui({"inspect", file("Varmena_Ostrana_917.sim"), "--json",
                               file("Varmena_Ostrana_linea.dat"), file("Varmena_Ostrana_917.dat")});
  ASSERT_EQ(tre.stato, 0) << tre.err;
  EXPECT_EQ(tre.out.front(), '[');
  // Three stations with a time; the others show none.
  EXPECT_EQ(conta(tre.out, "\"orario\": \""), 3u);
  EXPECT_EQ(conta(tre.out, "\"orario\": null"), 10u);
  EXPECT_NE(tre.out.find("\"orario\": \"16:20:00\""), std::string::npos);
  EXPECT_NE(tre.out.find("\"tipo\": \"piano\""), std::string::npos);
}

TEST_F(InspectCorsaNormale, KindComesFromTheContentWhenTheNameSaysNothing) {
  const cartella_temporanea altra;
  const std::pair<const char*, const char*> casi[] = {
      {"Varmena_Ostrana_917.sim", "file dei punti"},
      {"Varmena_Ostrana_linea.dat", "file del tracciato"},
      {"Varmena_Ostrana_917.dat", "file delle celle"},
  };
  for (const auto& [originale, tipo] : casi) {
    const std::string copia = altra.file(std::string(originale) + ".bin");
    scrivi(copia, leggi_file(file(originale)));
    const risposta r = esegui({"inspect", copia});
    EXPECT_EQ(r.stato, 0) << r.err;
    EXPECT_NE(r.out.find(tipo), std::string::npos) << originale;
  }
  // A plan file renamed as a cell file is still shown as a plan, with a note.
  const std::string rinominato = altra.file("Altro_1.dat");
  scrivi(rinominato, leggi_file(file("Varmena_Ostrana_linea.dat")));
  const risposta r = esegui({"inspect", rinominato});
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_NE(r.out.find("file del tracciato"), std::string::npos);
  EXPECT_NE(r.err.find("sembra un file del tracciato, non un file di celle come dice il nome"),
            std::string::npos)
      << r.err;
}

// One cell of every event kind, with the names beside it.
modello modello_con_ogni_evento() {
  modello m;
  m.celle.resize(30);
  for (cella& c : m.celle) {
    c.velocita = 20;
    c.pendenza = 100;
    c.aderenza = 100;
  }
  m.celle[1].dato_1 = 5121;
  m.celle[1].dato_2 = 1;  // not the code of the names below
  m.celle[3] = {evento::segnale, 43, 11, 0, 4};
  m.celle[4] = {evento::segnale, 23, 41, 0, 17, 235};
  m.celle[5] = {evento::fine_rallentamento, 60, 60, 0};
  m.celle[6] = {evento::inizio_rallentamento, 60, 55, 2};
  m.celle[7] = {evento::avviso_rallentamento, 60, 60};
  m.celle[8] = {evento::preavviso, 3, 3};
  m.celle[9] = {evento::indicatori, 2121, 2323, 2525, 21};
  m.celle[10] = {evento::fermata, 2};
  m.celle[11] = {evento::montagna};
  m.celle[11].montagna = 2;
  m.celle[12] = {evento::punto_velocita, 180};
  m.celle[13] = {evento::punto_senza_velocita};
  m.celle[14] = {evento::cartello, 80};
  m.celle[15] = {9, 1, 2, 3, 4};
  m.celle[16].ripetizione = 42;
  m.celle[17] = {evento::segnale, 123, 0, 0, 0};
  m.celle[20].pendenza = 95;
  m.celle[20].montagna = 3;
  m.punti[1].nome = "PRIMA";
  m.punti[2].nome = "SECONDA";
  m.punti[2].codice = 12;
  m.punti[2].orario = 16 * 3600 + 7 * 60 + 5;
  m.punti[80].nome = "testo \"tra virgolette\"";
  m.punti[85].nome = "Prova";
  m.punti[85].parametro_1 = 610;
  m.punti[85].orario = codice_gara_st("1", "Prova");
  m.punti[86].nome = "1";
  return m;
}

TEST(Inspect, UnpacksEveryEventKind) {
  const cartella_temporanea cartella;
  const modello m = modello_con_ogni_evento();
  scrivi(cartella.file("Prova_1.dat"), immagine_celle(m));
  scrivi(cartella.file("Prova_1.sim"), immagine_punti(m));
  const risposta r = esegui({"inspect", cartella.file("Prova_1.dat")});
  ASSERT_EQ(r.stato, 0) << r.err;

  const std::pair<int, const char*> casi[] = {
      {3,
       "segnale                lato s: tipo 1, codici 4 1 0; lato d: tipo 1, codici 3 1 0; "
       "rapp 0\n"},
      {4,
       "segnale                lato s: tipo 2, codici 2 4 0; lato d: tipo 1, codici 3 1 0; "
       "rapp 1; tempo 235\n"},
      {5, "fine rallentamento     60 km/h, d_v 60, f_tt 0\n"},
      {6, "inizio rallentamento   60 km/h, d_v 55, f_tt 2\n"},
      {7, "avviso rallentamento   60 km/h, d_v 60\n"},
      {8, "preavviso              3 di 4"},
      {9, "indicatori velocita'   a 105/105, b 115/115, c 125/125 km/h (s/d); strisce s 2, d 1\n"},
      {10, "fermata                stazione 2 SECONDA\n"},
      {11, "segno di montagna      montagna tipo 2\n"},
      {12, "punto di velocita'     180 km/h\n"},
      {13, "punto senza velocita'  senza velocita'\n"},
      {14, "cartello               testo della voce 80 testo \"tra virgolette\"\n"},
      {15, "sconosciuto            codice 9, valori 1 2 3 4\n"},
      {16, "                       ripetizione 42\n"},
      // Values beyond two digits cannot be unpacked and are shown as they are.
      {17, "segnale                valori fuori dalle cifre: 123 0 0 0\n"},
  };
  for (const auto& [indice, atteso] : casi) {
    const std::string riga =
        std::to_string(indice) + "        0." + std::to_string(indice * 50) + "  " + atteso;
    EXPECT_NE(r.out.find(riga), std::string::npos) << "cella " << indice << "\n" << r.out;
  }
  EXPECT_NE(r.out.find("codice di controllo semplice 1: NON corrisponde ai nomi (atteso "),
            std::string::npos);
  EXPECT_NE(r.out.find("20-20       1.000-1.050                       -5   100 km/h       100 "
                       "        3"),
            std::string::npos)
      << r.out;
  // Only cells with an event or a repetition code get a row.
  EXPECT_EQ(r.out.find("\n     18 "), std::string::npos);

  const risposta json = esegui({"inspect", "--json", cartella.file("Prova_1.dat")});
  EXPECT_NE(json.out.find("\"nome\": \"testo \\\"tra virgolette\\\"\""), std::string::npos);
  EXPECT_NE(json.out.find("\"evento_9\": 1"), std::string::npos);
}

TEST(Inspect, WithoutThePointFileCellsStillShowTheirSlots) {
  const cartella_temporanea cartella;
  scrivi(cartella.file("Prova_1.dat"), immagine_celle(modello_con_ogni_evento()));
  const risposta r = esegui({"inspect", cartella.file("Prova_1.dat")});
  ASSERT_EQ(r.stato, 0) << r.err;
  EXPECT_NE(r.out.find("fermata                stazione 2\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("non disponibili (manca "), std::string::npos);
}

TEST(Inspect, PointsFileReportsAWrongWeightedCode) {
  const cartella_temporanea cartella;
  modello m = modello_con_ogni_evento();
  m.punti[85].orario += 1;
  m.punti[85].parametro_1 = 0;
  scrivi(cartella.file("Prova_1.sim"), immagine_punti(m));
  const risposta r = esegui({"inspect", cartella.file("Prova_1.sim")});
  ASSERT_EQ(r.stato, 0) << r.err;
  EXPECT_NE(r.out.find("pesato   " + std::to_string(m.punti[85].orario) +
                       " (voce 85, orario): NON corrisponde ai nomi (atteso " +
                       std::to_string(m.punti[85].orario - 1) + ")"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("valore 0 (atteso 610)"), std::string::npos);
  EXPECT_NE(r.out.find("semplice non verificabile: manca "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("     2   12        0        0         0  16:07:05   SECONDA"),
            std::string::npos);
}

TEST(Inspect, NameBytesShowAsTheSameCharactersInTextAndJson) {
  const cartella_temporanea cartella;
  modello m = modello_con_ogni_evento();
  m.punti[2].nome = "Citt\xe0";
  m.punti[80].nome = "\x80 5\x01";
  scrivi(cartella.file("Prova_1.sim"), immagine_punti(m));
  const risposta testo = esegui({"inspect", cartella.file("Prova_1.sim")});
  EXPECT_NE(testo.out.find("Citt\xc3\xa0\n"), std::string::npos) << testo.out;
  EXPECT_NE(testo.out.find("\xe2\x82\xac 5\xef\xbf\xbd\n"), std::string::npos) << testo.out;
  const risposta json = esegui({"inspect", "--json", cartella.file("Prova_1.sim")});
  EXPECT_NE(json.out.find(R"("nome": "Citt\u00e0")"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find(R"("testo": "\u20ac 5\ufffd")"), std::string::npos) << json.out;
}

TEST(Inspect, AFileOfAnotherKindIsNamedAsWhatItIs) {
  const cartella_temporanea cartella;
  modello m = modello_con_ogni_evento();
  scrivi(cartella.file("Punti_1.dat"), immagine_punti(m));
  scrivi(cartella.file("Celle_1.sim"), immagine_celle(m));
  const std::pair<const char*, const char*> casi[] = {
      {"Punti_1.dat", "sembra un file dei punti, non un file di celle come dice il nome"},
      {"Celle_1.sim", "sembra un file di celle, non un file dei punti come dice il nome"},
  };
  for (const auto& [nome, avviso] : casi) {
    const risposta r = esegui({"inspect", cartella.file(nome)});
    EXPECT_EQ(r.stato, 0) << r.err;
    EXPECT_NE(r.err.find(avviso), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("troncato"), std::string::npos) << r.err;
  }
}

TEST(Inspect, BadFilesExitWithThreeAndTheOthersAreStillShown) {
  const cartella_temporanea cartella;
  std::vector<std::uint8_t> celle = immagine_celle(modello_con_ogni_evento());
  celle.pop_back();
  scrivi(cartella.file("Tronco_1.dat"), celle);
  scrivi(cartella.file("Buono_1.dat"), immagine_celle(modello_con_ogni_evento()));
  scrivi(cartella.file("Rotto_1.sim"), std::vector<std::uint8_t>(100, 0xFF));
  scrivi(cartella.file("Rotto_linea.dat"), {5, 0, 1, 2});
  scrivi(cartella.file("strano.bin"), {1, 2, 3, 4, 5, 6, 7});
  // No writer ever comes: refused at once, not waited for.
  ASSERT_EQ(prova::crea_fifo(cartella.file("fifo_1.dat")), prova::fifo_possibili);

  const std::pair<std::string, const char*> casi[] = {
      {"Tronco_1.dat", "file delle celle troncato"},
      {"Rotto_1.sim", "file dei punti troncato nella voce 0"},
      {"Rotto_linea.dat", "file del tracciato troncato"},
      {"strano.bin", "tipo di file non riconosciuto"},
      {"manca.dat", "impossibile leggere"},
      {"fifo_1.dat", "non e' un file regolare ma una FIFO"},
  };
  for (const auto& [nome, messaggio] : casi) {
    if (nome == "fifo_1.dat" && !prova::fifo_possibili) continue;
    const risposta r = esegui({"inspect", cartella.file(nome), cartella.file("Buono_1.dat")});
    EXPECT_EQ(r.stato, 3) << nome;
    EXPECT_NE(r.err.find(messaggio), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("Buono_1.dat: file delle celle"), std::string::npos) << nome;

    const risposta json = esegui({"inspect", "--json", cartella.file(nome)});
    EXPECT_EQ(json.stato, 3);
    EXPECT_NE(json.out.find("\"errore\":"), std::string::npos) << json.out;
  }
}

// Random cells and points that decode: every value is shown, whatever it is.
TEST(Inspect, AnyDecodableFileIsShown) {
  std::mt19937 caso(11);
  for (int giro = 0; giro < 20; ++giro) {
    const cartella_temporanea cartella;
    modello m;
    m.celle.resize(1 + caso() % 300);
    std::vector<std::uint8_t> celle = immagine_celle(m);
    for (auto& b : celle) b = static_cast<std::uint8_t>(caso() % 3 == 0 ? caso() : caso() % 16);
    for (punto& p : m.punti) {
      p.codice = static_cast<std::uint8_t>(caso());
      p.valore_1 = static_cast<std::int32_t>(caso());
      p.orario = static_cast<std::int32_t>(caso());
      p.parametro_3 = static_cast<std::int16_t>(caso());
      p.nome = std::string(caso() % 5, static_cast<char>(caso()));
    }
    scrivi(cartella.file("X_1.dat"), celle);
    scrivi(cartella.file("X_1.sim"), immagine_punti(m));
    for (const bool json : {false, true}) {
      std::vector<std::string> argomenti = {"inspect", cartella.file("X_1.dat"),
                                            cartella.file("X_1.sim")};
      if (json) argomenti.push_back("--json");
      const risposta r = esegui(argomenti);
      EXPECT_EQ(r.stato, 0) << r.err;
      // Names are escaped: no control byte reaches the output.
      EXPECT_EQ(
          std::count_if(r.out.begin(), r.out.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\n'; }),
          0);
    }
  }
}

TEST(Inspect, WrongUsageExitsWithTwoAndHelpExplains) {
  for (const auto& argomenti : std::vector<std::vector<std::string>>{
           {"inspect"}, {"inspect", "--json"}, {"inspect", "a.dat", "--bogus"}}) {
    const risposta r = esegui(argomenti);
    EXPECT_EQ(r.stato, 2) << argomenti.back();
    EXPECT_NE(r.err.find("uso: percorso inspect FILE... [--json]\nProva 'percorso help inspect'."),
              std::string::npos);
  }
  for (const auto& argomenti :
       std::vector<std::vector<std::string>>{{"inspect", "--help"}, {"help", "inspect"}}) {
    const risposta r = esegui(argomenti);
    EXPECT_EQ(r.stato, 0);
    EXPECT_NE(r.out.find("uso: percorso inspect FILE... [--json]"), std::string::npos);
  }
  EXPECT_NE(esegui({"--help"}).out.find("  inspect FILE..."), std::string::npos);
}

}  // namespace
}  // namespace percorso
