// Findings and warnings name the file, the line and the field that caused them.
#include "diagnostics/messaggi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/esecuzione.h"
#include "app/rapporto.h"
#include "diagnostics/spiegazioni.h"
#include "support/conta.h"

namespace percorso {
namespace {

std::span<const std::uint8_t> byte(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

struct compilato {
  esito_esecuzione esito;
  std::vector<messaggio> messaggi;
  std::string stampa;
};

compilato compila(std::string_view linea, std::string_view treno, filtro_avvisi filtro = {},
                  const nomi_sorgenti& nomi = {"l.txt", "t.txt"}) {
  modello m;
  m.nome_percorso = "Prova";
  m.numero_treno = "1";
  const sorgenti testi{byte(linea), byte(treno)};
  compilato c{costruisci(std::move(m), testi, 1), {}, {}};
  c.messaggi = messaggi_di(c.esito, nomi, &testi, filtro, false).elenco;
  std::ostringstream out;
  stampa_messaggi(out, c.messaggi);
  out << conteggio(c.messaggi) << '\n';
  c.stampa = out.str();
  return c;
}

constexpr std::string_view linea_base =
    "[generale]\nlunghezza percorso, 3000\n[curve]\npendenza, 0, 0\n[fine]\n";
constexpr std::string_view treno_base = "[generale]\nvelocita, 0, 100\n[fine]\n";

std::string linea_con(std::string_view righe) {
  return "[generale]\nlunghezza percorso, 3000\n[curve]\n" + std::string(righe) + "[fine]\n";
}
std::string treno_con(std::string_view righe) {
  return "[generale]\nvelocita, 0, 100\n" + std::string(righe) + "[fine]\n";
}

// Eighty boards fill the point table from slot 80 down to slot 1.
std::string cartelli_80() {
  std::string righe;
  for (int i = 0; i < 80; ++i)
    righe += "cartello_indicatore, " + std::to_string(100 + 50 * i) + ", T\n";
  return righe;
}

struct caso_errore {
  std::string linea, treno;
  std::int32_t codice;
  std::string prima_riga;  // the first printed line, in full
  std::string segno;       // the caret line under the source line ("" when none)
};

TEST(Messaggi, EachCodeATextCanRaiseNamesItsFileLineAndField) {
  const caso_errore casi[] = {
      {"[generale]\nlunghezza percorso, 1000001\n[curve]\n[fine]\n", std::string(treno_base), 1,
       "l.txt:2:21: errore 1: lunghezza del percorso oltre 1000000 m: 1000001 metri fuori "
       "dall'intervallo che il simulatore usa (da 1 a 1000000)",
       "                    ^~~~~~~ campo 'lunghezza' (metri)"},
      {"[generale]\nlunghezza percorso, 3000\nprogressiva chilometrica uno, 10, 0, 0\n[curve]\n"
       "[fine]\n",
       std::string(treno_base), 2, "l.txt: errore 2: progressiva chilometrica non multipla di 50 m",
       ""},
      {"[generale]\nlunghezza percorso, 3000\nripetizione segnali 4, 30, 0\n[curve]\n[fine]\n",
       std::string(treno_base), 3,
       "l.txt:3:24: errore 3: prima distanza di ripetizione dei segnali non multipla di 50 m: 30 "
       "metri non e' multiplo di 50",
       "                       ^~ campo 'distanza_1' (metri)"},
      {"[generale]\nlunghezza percorso, 3000\nripetizione segnali 4, 50, 7\n[curve]\n[fine]\n",
       std::string(treno_base), 4,
       "l.txt:3:28: errore 4: seconda distanza di ripetizione dei segnali non multipla di 50 m: 7 "
       "metri non e' multiplo di 50",
       "                           ^ campo 'distanza_2' (metri)"},
      {"[generale]\nlunghezza percorso, 3000\nripetizione segnali, 50, 50\n[curve]\n[fine]\n",
       std::string(treno_base), 5,
       "l.txt:3:1: errore 5: la riga di ripetizione dei segnali non indica 4 o 9 codici: la parola "
       "chiave deve contenere 4 o 9, il numero di codici ripetuti",
       "^~~~~~~~~~~~~~~~~~~"},
      {linea_con("cartello_indicatore, 500, A\ncartello_indicatore, 510, B\n"),
       std::string(treno_base), 6,
       "l.txt:5:22: errore 6: cartello su una cella gia' occupata (posizione 510 m): la cella 11 "
       "e' gia' occupata dal cartello 'A', riga 4",
       "                     ^~~ campo 'posizione' (metri)"},
      {std::string(linea_base), treno_con("abbattimento, 500, 80\nabbattimento, 510, 80\n"), 7,
       "t.txt:4:15: errore 7: punto di velocita' su una cella gia' occupata (posizione 510 m): la "
       "cella 10 e' gia' occupata dal punto di velocita', riga 3",
       "              ^~~ campo 'posizione' (metri)"},
      {std::string(linea_base),
       treno_con("stazione, 525, 12, 600, 0,0,0,0,0,0,0,0,0,0,10,0,0, A\n"), 8,
       "t.txt:3:11: errore 8: posizione della stazione non multipla di 50 m (posizione 525 m): 525 "
       "metri non e' multiplo di 50",
       "          ^~~ campo 'posizione' (metri)"},
      {std::string(linea_base),
       treno_con("stazione, 500, 12, 650, 0,0,0,0,0,0,0,0,0,0,10,0,0, A\n"), 9,
       "t.txt:3:20: errore 9: lunghezza della stazione non multipla di 100 m (posizione 500 m): "
       "650 "
       "metri non e' multiplo di 100",
       "                   ^~~ campo 'lunghezza' (metri)"},
      {std::string(linea_base),
       treno_con("segnale, 500, 1,1,1,1,1,1,1,1,1,1\nsegnale, 510, 1,1,1,1,1,1,1,1,1,1\n"), 16,
       "t.txt:4:10: errore 16: segnale su una cella gia' occupata (posizione 510 m): la cella 11 "
       "e' "
       "gia' occupata dal segnale, riga 3",
       "         ^~~ campo 'posizione' (metri)"},
      {std::string(linea_base), treno_con("velocita, 9950, 100\n"), 15,
       "t.txt:3:11: errore 15: posizione oltre la fine della linea: il resto del testo non e' "
       "letto "
       "(posizione 9950 m): 9950 m, oltre la fine della linea (3000 m, dalla riga 2 della "
       "descrizione della linea)",
       "          ^~~~ campo 'posizione' (metri)"},
      {std::string(linea_base), treno_con("sabbia, 40000\n"), 25,
       "t.txt:3:9: errore 25: errore generale: numero fuori campo, testo finito a meta' riga, "
       "indice fuori tabella o lunghezza del percorso mancante: '40000' non sta in un intero a 16 "
       "bit (da -32768 a 32767): il compilatore si ferma",
       "        ^~~~~ campo 'sabbia'"},
      {std::string(linea_base),
       treno_con("segnale, 900, 1,1,1,1,1,1,1,1,1,1\nrallentamento, 2100, 60, 100, 0, 0, 60\n"), 17,
       "t.txt:4:16: errore 17: cella del cartello di avviso del rallentamento gia' occupata "
       "(posizione 2100 m): la cella 19 e' gia' occupata dal segnale, riga 3",
       "               ^~~~ campo 'posizione' (metri)"},
      {std::string(linea_base),
       treno_con("segnale, 2100, 1,1,1,1,1,1,1,1,1,1\nrallentamento, 2100, 60, 100, 0, 0, 60\n"),
       18,
       "t.txt:4:16: errore 18: cella di inizio del rallentamento gia' occupata (posizione 2100 m): "
       "la cella 43 e' gia' occupata dal segnale, riga 3",
       "               ^~~~ campo 'posizione' (metri)"},
      {std::string(linea_base),
       treno_con("segnale, 2200, 1,1,1,1,1,1,1,1,1,1\nrallentamento, 2100, 60, 100, 0, 0, 60\n"),
       19,
       "t.txt:4:16: errore 19: cella di fine del rallentamento gia' occupata (posizione 2100 m): "
       "la "
       "cella 45 e' gia' occupata dal segnale, riga 3",
       "               ^~~~ campo 'posizione' (metri)"},
      {std::string(linea_base),
       treno_con("segnale, 850, 1,1,1,1,1,1,1,1,1,1\nrallentamento, 2100, 60, 100, 0, 1, 60\n"), 20,
       "t.txt:4:16: errore 20: celle di preavviso del rallentamento gia' occupate (posizione 2100 "
       "m): "
       "la cella 18 e' gia' occupata dal segnale, riga 3",
       "               ^~~~ campo 'posizione' (metri)"},
      {linea_con("indicatori_vmax, 500, 100,100,100,0,100,100,100,0\n"
                 "indicatori_vmax, 510, 100,100,100,0,100,100,100,0\n"),
       std::string(treno_base), 21,
       "l.txt:5:18: errore 21: indicatori di velocita' massima su una cella gia' occupata "
       "(posizione 510 m): la cella 11 e' gia' occupata dagli indicatori di velocita', riga 4",
       "                 ^~~ campo 'posizione' (metri)"},
      {std::string(linea_base),
       treno_con("stazione, 1000, 12, 600, 0,0,0,0,0,0,0,0,0,0,10,0,0, A\n"
                 "stazione, 1600, 12, 600, 0,0,0,0,0,0,0,0,0,0,10,5,0, B\n"),
       22,
       "t.txt:4:11: errore 22: stazione a meno di 350 m dalla fine della precedente (posizione "
       "1600 m): la stazione inizia a 1300 m, meno di 350 m dopo la fine di A (1300 m, riga 3)",
       "          ^~~~ campo 'posizione' (metri)"},
      {std::string(linea_base), treno_con("stazione, 0, 12, 200, 0,0,0,0,0,0,0,0,0,0,10,0,0, A\n"),
       24,
       "t.txt:3:1: errore 24: la stazione finisce a 100 m o meno dall'inizio della linea: l'area "
       "della stazione finisce a 100 m, entro 100 m dall'inizio",
       "^~~~~~~~"},
      {linea_con(cartelli_80()),
       treno_con("stazione, 5000, 12, 600, 0,0,0,0,0,0,0,0,0,0,10,0,0, A\n"), 10,
       "t.txt:3:1: errore 10: tabella dei punti piena: troppe stazioni per i cartelli presenti: "
       "stazione numero 1 di troppo: con 80 cartelli ne entrano al massimo 0",
       "^~~~~~~~"},
      {"lunghezza percorso, 3000\n[fine]\n", std::string(treno_base), 102,
       "l.txt: errore 102: nessuna sezione [generale] nella descrizione della linea", ""},
      {linea_con("curvad, 100, 50\n"), std::string(treno_base), 103,
       "l.txt:4:1: errore 103: curva senza classe (cifra da 1 a 6) o tracciato oltre 1000000 m: la "
       "parola chiave non contiene la classe della curva (una cifra da 1 a 6)",
       "^~~~~~"},
  };
  for (const auto& c : casi) {
    const compilato r = compila(c.linea, c.treno);
    EXPECT_EQ(r.esito.m.codice_errore, c.codice) << c.prima_riga;
    // Messages go in the order of the texts: the code's is found by its code.
    const auto x = std::find_if(r.messaggi.begin(), r.messaggi.end(),
                                [&](const messaggio& m) { return m.codice == c.codice; });
    ASSERT_NE(x, r.messaggi.end()) << c.prima_riga;
    EXPECT_EQ(prima_riga(*x), c.prima_riga);
    if (c.segno.empty()) continue;
    std::istringstream righe(r.stampa.substr(r.stampa.find(c.prima_riga + "\n")));
    std::string prima, sorgente, segno;
    std::getline(righe, prima);
    std::getline(righe, sorgente);
    std::getline(righe, segno);
    EXPECT_EQ(segno, c.segno) << r.stampa;
  }
}

// Cause before consequence: an error that follows from a misread field comes after
// that field's finding and names it; an error the compiler finds a row late stands
// at the row that holds the value.
TEST(Messaggi, AConsequenceFollowsItsCause) {
  const struct {
    std::string treno;
    std::vector<std::string> in_ordine;
  } casi[] = {
      {treno_con("stazione, 1000, 12, 600, 0,0,0,0,0,0,0,0,0,0,10,0,0, A\n"
                 "stazione, 2000;, 12, 600, 0,0,0,0,0,0,0,0,0,0,10,5,0, B\n"),
       {"t.txt:4:15: avviso [separatore]",
        "t.txt:4:11: errore 22: stazione a meno di 350 m dalla fine della precedente "
        "(posizione 0 m) (segue da [separatore] a t.txt:4:15)"}},
      {treno_con("velocita, 500, 2000\nvelocita, 900, 80\n"),
       {"t.txt:3:16: errore 25: ", "il compilatore si ferma quando la scrive nelle celle"}},
  };
  for (const auto& c : casi) {
    const std::string stampa = compila(std::string(linea_base), c.treno).stampa;
    std::size_t da = 0;
    for (const std::string& pezzo : c.in_ordine) {
      da = stampa.find(pezzo, da);
      ASSERT_NE(da, std::string::npos) << pezzo << "\n" << stampa;
    }
  }
}

// A path is UTF-8 and names its file: only the bytes of the texts are read as
// Windows-1252, wherever the message goes.
TEST(Messaggi, PathsWithAccentsNameTheirFilesAndTextBytesAreWindows1252) {
  const nomi_sorgenti citta{"Citt\xc3\xa0/Citt\xc3\xa0_linea.txt",
                            "Citt\xc3\xa0/Citt\xc3\xa0_1-.txt"};
  const compilato r = compila(
      std::string(linea_base),
      treno_con("velocita, 500, 8\xe0\nstazione, 1000, 12, 600, 0,0,0,0,0,0,0,0,0,0,10,0,0, A\n"
                "stazione, 2000;, 12, 600, 0,0,0,0,0,0,0,0,0,0,10,5,0, B\n"),
      {}, citta);
  std::vector<messaggio> con_arresto = r.messaggi;
  con_arresto.push_back(
      messaggio_di_arresto("impossibile scrivere sola/Citt\xc3\xa0_linea.dat: permesso negato"));
  std::ostringstream terminale;
  stampa_messaggi(terminale, con_arresto);
  std::string rapporto;
  for (const messaggio& m : con_arresto) rapporto += json_messaggio(m);
  const std::pair<std::string, std::string> attesi[] = {
      {"Citt\xc3\xa0/Citt\xc3\xa0_1-.txt:3:16: avviso [non-numero]: '8\xc3\xa0' non e' un numero",
       "Citt\\u00e0/Citt\\u00e0_1-.txt:3:16: avviso [non-numero]: '8\\u00e0' non e' un numero"},
      {"(segue da [separatore] a Citt\xc3\xa0/Citt\xc3\xa0_1-.txt:5:15)",
       "(segue da [separatore] a Citt\\u00e0/Citt\\u00e0_1-.txt:5:15)"},
      {"percorso: impossibile scrivere sola/Citt\xc3\xa0_linea.dat: permesso negato",
       "percorso: impossibile scrivere sola/Citt\\u00e0_linea.dat: permesso negato"},
  };
  for (const auto& [stampato, json] : attesi) {
    EXPECT_NE(terminale.str().find(stampato), std::string::npos) << terminale.str();
    EXPECT_NE(rapporto.find(json), std::string::npos) << rapporto;
  }
}

// On the terminal a flood of one finding stops after five, saying how many more and
// where the next one is; the list itself keeps them all.
TEST(Messaggi, TheTerminalSummarisesAFloodOfOneFinding) {
  std::string righe;
  for (int i = 1; i <= 8; ++i) righe += "pendenza, " + std::to_string(100 * i) + "x, 0\n";
  const compilato r = compila(linea_con(righe), std::string(treno_base));
  EXPECT_EQ(prova::conta(r.stampa, "[non-numero]: '"), 5u) << r.stampa;
  EXPECT_NE(r.stampa.find("l.txt:9:11: avviso [non-numero]: e altri 3 come sopra in l.txt, da qui "
                          "in poi: non mostrati"),
            std::string::npos)
      << r.stampa;
  EXPECT_NE(r.stampa.find("0 errori, 8 avvisi"), std::string::npos) << r.stampa;
}

// A completion finding stands at the row it comes from, here the signal at 450 m, and
// names the cell.
TEST(Messaggi, CompletionFindingsStandAtTheirRowNameTheCellAndAreCounted) {
  // A board and a signal fill the two cells in front of the last signal before the warning board.
  const compilato r =
      compila(linea_con("cartello_indicatore, 350, A\n"),
              treno_con("segnale, 400, 1,1,1,1,1,1,1,1,1,1\nsegnale, 450, 1,1,1,1,1,1,1,1,1,1\n"
                        "rallentamento, 2100, 60, 100, 0, 0, 60\n"));
  ASSERT_EQ(r.esito.m.rilievi.size(), 1u);
  EXPECT_EQ(prima_riga(r.messaggi.front()),
            "t.txt:4:1: errore 11: nessuna cella libera per il punto di velocita' davanti al "
            "segnale (cella 10, posizione 500 m)");
  EXPECT_NE(r.stampa.find("1 errore, 0 avvisi\n"), std::string::npos) << r.stampa;
}

// Where the line text sets a kilometric reference, a position is the line's kilometre
// first, then the metres from the start; the checker's messages say it the same way.
TEST(Messaggi, PositionsAreTheLinesKilometresWhereTheTextSetsAReference) {
  const compilato r = compila(
      "[generale]\nlunghezza percorso, 3000\nprogressiva chilometrica uno, 0, 40000, 0\n"
      "[curve]\npendenza, 0, 0\n[fine]\n",
      treno_con("stazione, 1010, 12, 600, 0,0,0, 1,1,0, 4,1,1, 0, 8,0,0, A\n"));
  ASSERT_FALSE(r.messaggi.empty());
  EXPECT_NE(prima_riga(r.messaggi.front())
                .find("errore 8: posizione della stazione non multipla di 50 m (km 41+010, 1010 m "
                      "dall'inizio)"),
            std::string::npos)
      << r.stampa;
}

struct caso_avviso {
  std::string linea, treno;
  std::string_view nome;
  std::int32_t riga;
};

TEST(Messaggi, WarningsForWhatTheFormatSilentlyAccepts) {
  const caso_avviso casi[] = {
      {linea_con("pendeza, 100, 2\n"), std::string(treno_base), "chiave-sconosciuta", 4},
      {linea_con("pendenza, 100, 2, 7\n"), std::string(treno_base), "numeri-in-piu", 4},
      {"[generale]\nlunghezza percorso, 3000\npendenza, 100, 2\n[curve]\n[fine]\n",
       std::string(treno_base), "fuori-sezione", 3},
      {linea_con("sfondo uno, 1\n"), std::string(treno_base), "fuori-sezione", 4},
      {linea_con("a-b\npendenza, 100, 2\n"), std::string(treno_base), "trattino", 4},
      {linea_con("pendenza, 500, 1\npendenza, 200, 2\n"), std::string(treno_base),
       "profilo-indietro", 5},
      {linea_con("curvad5, 0, 300\ncurvas5, 300, 100\ncurvas5, 350, 100\n"),
       std::string(treno_base), "curve-sovrapposte", 6},
      {std::string(linea_base), treno_con("stazione, 500, 25, 200, 0,0,0,0,0,0,0,0,0,0,0,0,0, X\n"),
       "stazione-senza-celle", 3},
  };
  for (const auto& c : casi) {
    const compilato r = compila(c.linea, c.treno);
    EXPECT_EQ(r.esito.m.codice_errore, 0) << c.nome;
    ASSERT_EQ(r.esito.m.avvisi.size(), 1u) << c.nome << ": " << r.stampa;
    EXPECT_EQ(r.esito.m.avvisi[0].nome, c.nome);
    EXPECT_EQ(r.esito.m.avvisi[0].riga, c.riga) << c.nome;
    // Turned off by name, the warning is not shown.
    filtro_avvisi spento;
    spento.spenti.emplace(c.nome);
    EXPECT_TRUE(compila(c.linea, c.treno, spento).messaggi.empty()) << c.nome;
  }
}

// A message shows a long line as an excerpt around its field, the caret under the
// field, so its size does not follow the line's; short lines are shown whole,
// whatever line ends (CR LF, LF, CR) come before them.
TEST(Messaggi, ALongLineIsShownAsAnExcerptAroundTheCaret) {
  const std::string lunga = std::string(3000, 'x') + ",a-b," + std::string(3000, 'y') + "\n";
  struct caso {
    const char* nome;
    std::string corpo;
    std::string riga, segno;
  };
  const caso casi[] = {
      {"field in the middle", "pendenza, 0, 0\r\n" + lunga,
       "..." + std::string(59, 'x') + ",a-b," + std::string(56, 'y') + "...",
       std::string(63, ' ') + "^~~"},
      {"field at the start", "a-b," + std::string(3000, 'y') + "\n",
       "a-b," + std::string(56, 'y') + "...", "^~~"},
      {"short line after a CR", "pendenza, 0, 0\rzz, a-b\n", "zz, a-b", "    ^~~"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    const compilato r = compila(linea_con(c.corpo), std::string(treno_base));
    const auto m = std::find_if(r.messaggi.begin(), r.messaggi.end(),
                                [](const messaggio& m) { return m.nome == "trattino"; });
    ASSERT_NE(m, r.messaggi.end()) << r.stampa;
    EXPECT_EQ(m->riga_sorgente, c.riga);
    EXPECT_NE(r.stampa.find(c.riga + "\n" + c.segno + "\n"), std::string::npos) << r.stampa;
    for (const messaggio& n : r.messaggi) EXPECT_LE(prima_riga(n).size(), 200u) << prima_riga(n);
  }
}

TEST(Messaggi, CurveNumbersLeftOverWithoutAPlanAreExpected) {
  modello m;
  const std::string linea = linea_con("curvad5, 100, 300\n");
  const sorgenti testi{byte(linea), byte(treno_base)};
  const esito_esecuzione e = costruisci(std::move(m), testi, 0);
  EXPECT_TRUE(e.m.avvisi.empty());
}

TEST(Messaggi, WarningsDoNotChangeTheCompiledOutput) {
  const compilato con = compila(linea_con("pendeza, 100, 2\n"), std::string(treno_base));
  const compilato senza = compila(std::string(linea_base), std::string(treno_base));
  EXPECT_EQ(con.esito.m.celle, senza.esito.m.celle);
  EXPECT_EQ(con.esito.m.punti, senza.esito.m.punti);
  EXPECT_EQ(con.esito.esito, esito_esecuzione::tipo::ok);
}

TEST(Messaggi, EveryCodeHasAnExplanation) {
  for (std::int32_t codice : {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,  11,  12,  13,   15,
                              16, 17, 18, 19, 20, 21, 22, 24, 25, 101, 102, 103, 1250, 1251}) {
    EXPECT_TRUE(spiegazione(codice)) << codice;
    EXPECT_NE(significato(codice), "codice sconosciuto") << codice;
  }
  EXPECT_FALSE(spiegazione(14));
}

}  // namespace
}  // namespace percorso
