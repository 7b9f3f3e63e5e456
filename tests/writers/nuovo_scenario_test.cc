#include "writers/nuovo_scenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "app/costruzione.h"
#include "documents/dal_modello.h"
#include "documents/ordine_rallentamenti.h"
#include "documents/scheda_treno.h"

namespace percorso {
namespace {

struct compilato {
  modello m;
  stato_costruzione stato;
};

compilato compila_nuovo(const std::string& nome, const std::string& treno) {
  modello m;
  m.nome_percorso = nome;
  m.numero_treno = treno;
  const auto testi = testi_nuovo_scenario(m);
  const auto linea = testo_crlf(testi[0].righe);
  const auto testo_treno = testo_crlf(testi[1].righe);
  const stato_costruzione stato = memorizza_percorso(m, {linea, testo_treno}, 1);
  return {std::move(m), stato};
}

TEST(NuovoScenario, NamedAfterTheScenarioAndTrainIn7BitText) {
  modello m;
  m.nome_percorso = std::string("Val_Chiara");
  m.numero_treno = std::string("2211");
  const auto testi = testi_nuovo_scenario(m);
  ASSERT_EQ(testi.size(), 2u);
  EXPECT_EQ(testi[0].nome, "Val_Chiara_linea.txt");
  EXPECT_EQ(testi[1].nome, "Val_Chiara_2211-.txt");
  for (const auto& t : testi) {
    EXPECT_EQ(t.righe.front(), "[generale]");
    EXPECT_EQ(t.righe.back(), "[fine]");
    for (const auto r : t.righe)
      EXPECT_TRUE(std::all_of(r.begin(), r.end(), [](char c) { return c >= 0x20 && c < 0x7f; }))
          << r;
  }
}

TEST(NuovoScenario, CompilesWithoutFindingOrWarningForAnyNames) {
  const std::pair<std::string, std::string> nomi[] = {
      {"Prova", "1"}, {"Val_Chiara", "2211"}, {"x", "99999"}, {"Linea-Nord", "IC 7"}};
  for (const auto& [nome, treno] : nomi) {
    const compilato c = compila_nuovo(nome, treno);
    EXPECT_EQ(c.stato, stato_costruzione::pronta) << nome;
    EXPECT_EQ(c.m.codice_errore, 0) << nome;
    EXPECT_TRUE(c.m.rilievi.empty()) << nome << ": code " << c.m.rilievi.front().codice;
    EXPECT_TRUE(c.m.avvisi.empty()) << nome << ": " << c.m.avvisi.front().messaggio;
    EXPECT_TRUE(scheda_treno(c.m).avvisi.empty()) << nome;
    EXPECT_TRUE(ordine_rallentamenti(c.m).avvisi.empty()) << nome;
  }
}

TEST(NuovoScenario, HasARowOfEveryFeature) {
  const modello m = compila_nuovo("Prova", "1").m;
  const auto cella_con = [&](const std::function<bool(const cella&)>& p) {
    return std::any_of(m.celle.begin(), m.celle.end(), p);
  };
  const auto evento_ = [&](std::uint8_t e) {
    return cella_con([e](const cella& c) { return c.evento == e; });
  };
  int con_orario = 0;
  for (const punto* s : stazioni_lette(m)) con_orario += s->orario > 0;
  const std::pair<const char*, bool> elementi[] = {
      {"curve: the plan turns",
       std::any_of(m.tracciato->x.begin(), m.tracciato->x.end(), [](double x) { return x != 0; })},
      {"gradient", cella_con([](const cella& c) { return c.pendenza != 100; })},
      {"mountain-side stretch", cella_con([](const cella& c) { return c.montagna != 0; })},
      {"indicator pair", evento_(evento::indicatori)},
      {"board", evento_(evento::cartello)},
      {"speed", cella_con([&](const cella& c) { return c.velocita != m.celle[0].velocita; })},
      {"adhesion", cella_con([](const cella& c) { return c.aderenza != 0; })},
      {"two stations with times", con_orario >= 2},
      {"signal", evento_(evento::segnale)},
      {"slowdown", evento_(evento::inizio_rallentamento)},
  };
  for (const auto& [nome, presente] : elementi) EXPECT_TRUE(presente) << nome;
}

}  // namespace
}  // namespace percorso
