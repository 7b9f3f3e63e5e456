// explain NAME reads the table of findings: every name answers with its level and
// explanation; a keyword answers with its row, every field told in full from the
// keyword table; the sections and the file names have their own answers.
#include "app/spiega.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "sintassi/constatazioni.h"
#include "sintassi/parole_chiave.h"
#include "sintassi/sezioni.h"
#include "support/conta.h"
#include "writers/testi.h"

namespace percorso {
namespace {

using prova::conta;

TEST(Spiega, EveryFindingNameAnswersFromTheTable) {
  for (const genere_constatazione* g : generi_constatazioni()) {
    const auto s = spiega_parola(g->nome);
    ASSERT_TRUE(s) << g->nome;
    EXPECT_EQ(s->rfind(std::string(g->nome) + " - ", 0), 0u) << *s;
    EXPECT_NE(s->find(g->spiegazione), std::string::npos) << *s;
  }
}

TEST(Spiega, LevelsAndCodesAsTheTableSays) {
  EXPECT_EQ(*spiega_parola("fuori-sezione"),
            "fuori-sezione - errore\nuna parola chiave nel testo o nella parte sbagliata: la riga "
            "e' ignorata\nMessaggio: '{}' non vale in questa parte del testo: ignorata\n");
  EXPECT_NE(spiega_parola("stazioni-vicine")->find("errore (codice 22)"), std::string::npos);
  EXPECT_NE(spiega_parola("non-multiplo")->find("errore, o avviso"), std::string::npos);
  EXPECT_NE(spiega_parola("orario-indietro")->find("orario"), std::string::npos);
  EXPECT_NE(spiega_parola("curva")->find("curva - corpo della linea"), std::string::npos);
  EXPECT_FALSE(spiega_parola("nessuna-cosa"));
}

// A field without a meaning, without what the compiler does with it or without what
// happens at its limits fails here, whichever keyword it belongs to.
TEST(Spiega, EveryFieldOfTheTableIsToldInFull) {
  for (const parola_chiave& k : parole_chiave()) {
    for (const valore_campo& v : k.valori_chiave)
      EXPECT_FALSE(v.valori.empty() || v.significato.empty()) << k.nome;
    for (const campo_formato& f : k.campi) {
      SCOPED_TRACE(std::string(k.nome) + " / " + std::string(f.nome));
      EXPECT_FALSE(f.significato.empty());
      EXPECT_FALSE(f.compilatore.empty());
      EXPECT_FALSE(f.ai_limiti.empty());
      for (const valore_campo& v : f.valori) {
        EXPECT_FALSE(v.valori.empty() || v.significato.empty());
        EXPECT_LE(v.da, v.a);
        EXPECT_NE(valore_di(f.valori, v.da), nullptr);
      }
    }
    // explain prints every part of every field.
    const std::string s = scheda_parola(k);
    for (const std::string_view parte :
         {"      Nei file: ", "      Ai limiti: ", "      Nello scenario incorporato: "})
      EXPECT_EQ(conta(s, parte), k.campi.size()) << k.nome << " / " << parte << "\n" << s;
  }
}

// Where the format leaves a value's meaning to the simulator, explain says so rather
// than guess.
TEST(Spiega, WhatTheFormatLeavesOpenIsSaidSo) {
  struct caso {
    std::string_view parola, campo;
  };
  const caso casi[] = {
      {"stazione", "tipo"},      {"stazione", "opzione"},  {"stazione", "parametro_3"},
      {"stazione", "sosta"},     {"segnale", "s1"},        {"segnale", "rapp"},
      {"segnale", "d3"},         {"sfondo uno", "sfondo"}, {"aderenza", "aderenza"},
      {"rallentamento", "f_tt"}, {"rallentamento", "d_v"}, {"montagna", "tipo"},
  };
  for (const caso& c : casi) {
    const parola_chiave* k = parola_di_nome(c.parola);
    ASSERT_NE(k, nullptr) << c.parola;
    bool trovato = false;
    for (const campo_formato& f : k->campi) {
      if (f.nome != c.campo) continue;
      trovato = true;
      bool detto = f.significato.find("non specificat") != std::string_view::npos;
      for (const valore_campo& v : f.valori)
        detto = detto || v.significato.find("non specificat") != std::string_view::npos;
      EXPECT_TRUE(detto) << c.parola << " / " << c.campo << ": " << f.significato;
    }
    EXPECT_TRUE(trovato) << c.parola << " / " << c.campo;
  }
}

// The values a field holds with a meaning of their own, found by value.
TEST(Spiega, ValuesAreFoundByWhatTheyStandFor) {
  const campo_formato& tipo = parola(chiave::stazione).campi[1];
  struct caso {
    std::int64_t v;
    std::string_view valori;
  };
  for (const caso& c : {caso{5, "5, 6"}, caso{8, "7, 8"}, caso{12, "gli altri sotto 25"},
                        caso{4, "gli altri sotto 25"}, caso{25, "da 25 in su"}}) {
    const valore_campo* x = valore_di(tipo.valori, c.v);
    ASSERT_NE(x, nullptr) << c.v;
    EXPECT_EQ(x->valori, c.valori) << c.v;
  }
  EXPECT_EQ(valore_di(tipo.valori, 300), nullptr);
}

// What the embedded scenario writes in a field comes from its texts.
TEST(Spiega, TheEmbeddedScenarioValuesComeFromItsTexts) {
  const std::string stazione = *spiega_parola("stazione");
  EXPECT_NE(stazione.find("Nello scenario incorporato: 12 (10 righe), 4 (2 righe), 25 (1 riga)"),
            std::string::npos)
      << stazione;
  EXPECT_NE(stazione.find("Nello scenario incorporato: 0 (11 righe), 1 (1 riga), 45 (1 riga)"),
            std::string::npos);
  EXPECT_NE(spiega_parola("montagna")->find("Nello scenario incorporato: 12 in tutte le 11 righe"),
            std::string::npos);
  EXPECT_NE(spiega_parola("abbattimento")->find("Nello scenario incorporato: nessuna riga"),
            std::string::npos);
  EXPECT_NE(spiega_parola("curva")->find("Nello scenario incorporato: curvas4 (13 righe)"),
            std::string::npos);
}

// The table of sections is the embedded texts' headers, in their order; explain tells
// each with what happens without it.
TEST(Spiega, TheSectionsAreThoseOfTheEmbeddedTexts) {
  std::vector<std::pair<bool, std::string_view>> nei_testi, nella_tabella;
  for (const bool linea : {true, false})
    for (const std::string_view r : linea ? righe_linea() : righe_treno())
      if (r.starts_with("[")) nei_testi.emplace_back(linea, r);
  for (const sezione_testo& z : sezioni_testi()) nella_tabella.emplace_back(z.della_linea, z.nome);
  EXPECT_EQ(nella_tabella, nei_testi);

  const std::string s = *spiega_parola("sezioni");
  EXPECT_EQ(conta(s, "      Senza: "), sezioni_testi().size()) << s;
  EXPECT_NE(s.find("  [generale] - necessaria\n"), std::string::npos) << s;
}

TEST(Spiega, TheFileNamesFollowOneRule) {
  const std::string s = *spiega_parola("nomi");
  for (const char* atteso :
       {"  NOME_linea.txt ", "  NOME_TRENO-.txt ", "  NOME_TRENO.sim ", "  NOME_linea.dat "})
    EXPECT_NE(s.find(atteso), std::string::npos) << atteso << "\n" << s;
  const auto nomi = nomi_parole();
  EXPECT_NE(std::find(nomi.begin(), nomi.end(), "sezioni"), nomi.end());
  EXPECT_NE(indice_spiegazioni().find("percorso explain nomi"), std::string::npos);
}

}  // namespace
}  // namespace percorso
