// The bounds of a message's JSON: what is built takes at most the documented factor
// of the message's size in memory, measured on the heap; what would take more, or
// nest deeper, is refused without being built.
#include "lsp/json_limitato.h"

#include <gtest/gtest.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <functional>
#include <string>

#include "lsp/protocollo.h"

namespace percorso::lsp {
namespace {

// A message of k values of one shape; oltre when its values take more than the
// factor of its bytes, so that a message of it is refused from some size on.
struct forma {
  const char* nome;
  std::function<std::string(std::size_t)> messaggio;
  bool oltre;
};

std::string ripeti(std::string_view pezzo, std::size_t k, std::string_view apri,
                   std::string_view chiudi) {
  std::string s(apri);
  for (std::size_t i = 0; i < k; ++i) s.append(i ? "," : "").append(pezzo);
  return s.append(chiudi);
}

const forma forme[] = {
    {"empty arrays", [](std::size_t k) { return ripeti("[]", k, "[", "]"); }, true},
    {"numbers", [](std::size_t k) { return ripeti("0", k, "[", "]"); }, true},
    {"small objects", [](std::size_t k) { return ripeti("{\"a\":1}", k, "[", "]"); }, true},
    {"empty strings", [](std::size_t k) { return ripeti("\"\"", k, "[", "]"); }, true},
    {"strings past the inner buffer",
     [](std::size_t k) { return ripeti("\"" + std::string(16, 'x') + "\"", k, "[", "]"); }, false},
    {"members with long keys",
     [](std::size_t k) {
       std::string s = "{";
       for (std::size_t i = 0; i < k; ++i)
         s.append(i ? "," : "").append("\"chiave-lunga-").append(std::to_string(i)).append("\":0");
       return s + "}";
     },
     false},
    {"one text", [](std::size_t k) { return "{\"text\":\"" + std::string(k * 2, 'a') + "\"}"; },
     false},
};

TEST(JsonLimitato, WhatIsBuiltTakesAtMostTheFactorOfItsSize) {
#ifndef __GLIBC__
  GTEST_SKIP() << "the heap is measured with glibc's mallinfo2";
#else
  for (const forma& f : forme) {
    SCOPED_TRACE(f.nome);
    bool rifiutata = false;
    for (std::size_t k = 1000; k <= 300000 && !rifiutata; k += k / 2) {
      const std::string corpo = f.messaggio(k);
      const std::size_t prima = mallinfo2().uordblks;
      const json_letto l = leggi_json(corpo);
      const std::size_t preso = mallinfo2().uordblks - prima;
      rifiutata = !l.errore.empty();
      if (rifiutata) {
        EXPECT_EQ(l.codice, richiesta_non_valida);
        EXPECT_TRUE(l.valore.is_null());
      } else {
        EXPECT_LE(preso, fattore_memoria * corpo.size() + memoria_di_base) << k << " values";
      }
    }
    EXPECT_EQ(rifiutata, f.oltre);
  }
#endif
}

TEST(JsonLimitato, NestingBeyondTheBoundIsRefusedAndTheIdKept) {
  const auto annidato = [](std::size_t n, std::string_view id) {
    return "{\"params\":" + std::string(n, '[') + std::string(n, ']') +
           ",\"id\":" + std::string(id) + "}";
  };
  const json_letto dentro = leggi_json(annidato(annidamento_massimo - 1, "1"));
  EXPECT_TRUE(dentro.errore.empty()) << dentro.errore;
  struct caso {
    std::string corpo;
    int codice;
    json id;
  };
  const caso casi[] = {
      {annidato(annidamento_massimo, "7"), richiesta_non_valida, 7},
      {annidato(1000000, "\"x\""), richiesta_non_valida, "x"},
      {annidato(1000000, "{\"no\":1}"), richiesta_non_valida, nullptr},
      {"{\"id\":3,\"params\":[[[", errore_sintassi, nullptr},
  };
  for (const caso& c : casi) {
    const json_letto l = leggi_json(c.corpo);
    EXPECT_EQ(l.codice, c.codice) << l.errore;
    EXPECT_EQ(l.id, c.id);
    EXPECT_TRUE(l.valore.is_null());
  }
}

}  // namespace
}  // namespace percorso::lsp
