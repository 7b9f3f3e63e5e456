// Small scenarios that each need one rule of the decompiler to come back byte for byte:
// what a stop cell hides, the close-follower rule, marks no type row makes, rows behind
// the cursor, the completion's speed points, compiles that stopped on an error.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/costruzione.h"
#include "app/decompilazione.h"
#include "format/file_binari.h"
#include "support/testi_sorgente.h"

namespace percorso {
namespace {

struct caso {
  const char* nome;
  std::string linea;  // header and body after "[generale]" and the length of 6000 m
  std::string treno;  // rows after "[generale]"
  // What the decompiler must say: a reason of a row kept only for the bytes, or where the
  // texts stop; empty: nothing in particular.
  std::string detto;
};

std::optional<compilati_letti> compilati(const std::string& linea, const std::string& treno) {
  modello m = prova::nuovo_modello();
  if (memorizza_percorso(m, prova::testi(linea, treno), 1) != stato_costruzione::pronta)
    return std::nullopt;
  compilati_letti f;
  f.celle = {"Prova_1.dat", immagine_celle(m)};
  f.valori_celle = m.celle;
  f.punti = {"Prova_1.sim", immagine_punti(m)};
  f.valori_punti = m.punti;
  f.piano = file_letto{"Prova_linea.dat", immagine_piano(*m.tracciato)};
  f.metri_piano = m.tracciato->x.size();
  return f;
}

std::string detto(const decompilazione& d) {
  std::string s = d.arresto + "\n";
  for (const auto* t : {&d.linea, &d.treno})
    for (const riga_di_riproduzione& r : t->riproduzione) s += r.testo + ": " + r.perche + "\n";
  return s;
}

std::string testo(const testo_impaginato& t) {
  std::string s;
  for (const std::string& r : t.righe) s += r + "\n";
  return s;
}

const std::string stazione_a_1000 =
    "stazione, 1000, 12, 500, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, FERMATA\r\n";

const caso casi[] = {
    {"indicatori sotto una fermata",
     "[curve]\r\nindicatori_vmax, 1150, 100, 105, 110, 1, 100, 105, 110, 2\r\n", stazione_a_1000,
     "sotto la fermata della stazione 1: ne restano i valori di questi indicatori"},
    {"cartello sotto una fermata", "[curve]\r\ncartello_indicatore, 1150, GALLERIA\r\n",
     stazione_a_1000, "cella presa da una fermata"},
    {"segnale con un tempo sotto una fermata", "[curve]\r\n",
     "segnale, 1150, 2, 4, 1, 0, 0, 2, 2, 1, 0, 150\r\n" + stazione_a_1000,
     "ne restano i valori di questo segnale"},
    {"segnale senza tempo sotto una fermata", "[curve]\r\n",
     "segnale, 1150, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0\r\n" + stazione_a_1000,
     "ne restano i valori di questo segnale"},
    {"inizio di un rallentamento sotto una fermata", "[curve]\r\n",
     "rallentamento, 1150, 60, 500, 3, 0, 60\r\n" + stazione_a_1000,
     "ne restano i valori di questo rallentamento"},
    {"avviso di un rallentamento sotto una fermata", "[curve]\r\n",
     "rallentamento, 2350, 60, 500, 0, 1, 60\r\n" + stazione_a_1000,
     "ne restano i valori di questo rallentamento"},
    {"tempo da 1 a 100", "[curve]\r\n", "segnale, 3000, 2, 4, 1, 0, 0, 2, 2, 1, 0, 257\r\n",
     "tempo + 256"},
    {"due tratti che si toccano",
     "[curve]\r\nmontagna, 1000, 2000, 2\r\nmontagna, 0, 0, 0\r\nmontagna, 2000, 3000, 5\r\n", "",
     "senza questa prenderebbe il tipo 3"},
    {"tipo sopra 10 senza segni", "[curve]\r\nmontagna, 1000, 2000, -230\r\n", "", "tipo negativo"},
    {"segni coperti da un tipo senza segni",
     "[curve]\r\nmontagna, 1000, 2000, 12\r\nmontagna, 1050, 2050, 12\r\n"
     "montagna, 900, 2200, 5\r\n",
     "", "tipo 0 con i segni"},
    {"pendenze nelle ultime celle",
     "[curve]\r\npendenza, 6000, 1\r\npendenza, 12900, 2\r\npendenza, 100, 3\r\n"
     "pendenza, 100, 4\r\n",
     "", "dietro il cursore"},
    {"punti di velocita' degli autori", "[curve]\r\n",
     "abbattimento, 3000, 0\r\nabbattimento, 3500, 200\r\n", ""},
    {"un punto limitato a 180 dal completamento", "[curve]\r\n",
     "segnale, 2950, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0\r\nabbattimento, 2950, 200\r\n"
     "abbattimento, 2900, 150\r\nrallentamento, 4500, 60, 500, 0, 0, 60\r\n",
     ""},
    {"curva oltre l'ultima posizione di una riga",
     "[curve]\r\ncurvad5, 12800, 150\r\ncurvas5, 12900, 100\r\n", "",
     "comincia oltre l'ultima posizione di una riga"},
    {"lunghezza oltre il massimo", "lunghezza percorso, 2000000\r\n[curve]\r\n", "",
     "una lunghezza che ferma la compilazione"},
    {"ripetizione senza 4 ne' 9", "ripetizione segnali codici, 100, 50\r\n[curve]\r\n", "",
     "senza 4 ne' 9"},
    {"riferimenti chilometrici in disordine",
     "progressiva chilometrica uno, 1000, 5000, 1\r\nprogressiva chilometrica due, 3000, 9000, "
     "0\r\n"
     "progressiva chilometrica tre, 2000, 7000, 0\r\n[curve]\r\n",
     "", ""},
    {"corpo fermato su due indicatori",
     "[curve]\r\ncurvad5, 650, 200\r\nindicatori_vmax, 1150, 100, 105, 110, 0, 100, 105, 110, 0\r\n"
     "indicatori_vmax, 1150, 100, 105, 110, 0, 100, 105, 110, 0\r\n",
     "", "nel corpo della linea"},
    {"stazioni troppo vicine", "[curve]\r\n",
     "velocita, 0, 80\r\n" + stazione_a_1000 +
         "stazione, 1500, 12, 500, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, VICINA\r\n",
     "alla stazione 2"},
    {"stazione senza cella di fermata", "[curve]\r\n",
     "stazione, 0, 12, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, CORTA\r\n", "alla stazione 1"},
    {"stazione fuori dai 50 m", "[curve]\r\n",
     stazione_a_1000 + "stazione, 3025, 12, 500, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, B\r\n",
     "riga tagliata"},
    {"stazione fuori dai 100 m di lunghezza", "[curve]\r\n",
     "stazione, 3000, 7, 550, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, B\r\n", "riga tagliata"},
    {"stazione oltre le celle", "[curve]\r\n",
     "velocita, 0, 80\r\nstazione, 12500, 12, 500, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, B\r\n",
     "riga tagliata"},
    {"tipi di stazione e campi azzerati", "[curve]\r\n",
     "stazione, 1000, 12, 500, 0, 3, 1, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, PRIMA\r\n"
     "stazione, 3000, 5, 400, 0, 3, 1, 0, 0, 0, 0, 0, 0, 0, 8, 10, 0, SECONDA\r\n"
     "stazione, 5000, 25, 400, 0, 3, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, TERZA\r\n"
     "stazione, 8000, 7, 700, 9, 3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, QUARTA\r\n",
     ""},
    {"rallentamenti a meta' cella e di lunghezza 0", "[curve]\r\n",
     "rallentamento, 4525, 60, 0, 0, 1, 60\r\nrallentamento, 8000, 60, 500, 7, 1, 65536\r\n",
     "seconda velocita' 65536"},
    {"segnale nella cella 1", "[curve]\r\n", "segnale, 0, 1, 0, 0, 3, 0, 1, 0, 0, 4, 0\r\n", ""},
};

TEST(DecompilaCasi, EachRuleGivesTheBytesBack) {
  for (const caso& c : casi) {
    const std::string linea = "[generale]\r\nlunghezza percorso, 6000\r\n" + c.linea + "[fine]\r\n";
    const std::string treno = "[generale]\r\n" + c.treno + "[fine]\r\n";
    const auto f = compilati(linea, treno);
    ASSERT_TRUE(f) << c.nome;
    const decompilazione d = testi_dei_compilati(*f);
    const auto diversa = prova_dei_testi(*f, d);
    EXPECT_FALSE(diversa) << c.nome << ": " << diversa->file << " byte " << diversa->byte << " ("
                          << diversa->dove << ")\n"
                          << testo(d.linea) << testo(d.treno);
    EXPECT_TRUE(d.guasti.empty()) << c.nome << ": " << d.guasti.front().cosa;
    EXPECT_NE(detto(d).find(c.detto), std::string::npos) << c.nome << ":\n" << detto(d);
  }
}

}  // namespace
}  // namespace percorso
