// The one JSON writer: UTF-8 in, 7-bit JSON out.
#include "diagnostics/json.h"

#include <gtest/gtest.h>

#include <cmath>

namespace percorso {
namespace {

TEST(JsonTesto, EscapesWhatJsonNeedsAndEveryNonAsciiCharacter) {
  const std::pair<std::string_view, std::string_view> casi[] = {
      {"a\"b\\c", R"("a\"b\\c")"},
      {"riga\nTAB\t", R"("riga\u000aTAB\u0009")"},
      {"Citt\xc3\xa0", R"("Citt\u00e0")"},
      {"\xe2\x82\xac", R"("\u20ac")"},
      // Beyond the first plane: a surrogate pair.
      {"\xf0\x9f\x9a\x82", R"("\ud83d\ude82")"},
      // A byte that is no UTF-8.
      {"a\xe0z", R"("a\ufffdz")"},
  };
  for (const auto& [testo, json] : casi) EXPECT_EQ(json_testo(testo), json) << testo;
}

TEST(JsonOggetto, OneStyleForObjectsListsAndNumbers) {
  json_lista l;
  l.aggiungi("1").aggiungi(json_reale(0.5)).aggiungi(json_reale(std::nan("")));
  const std::string o = json_oggetto()
                            .numero("n", -3)
                            .numero("forse", std::nullopt)
                            .testo("t", "x")
                            .vero("v", false)
                            .grezzo("l", l.fine())
                            .grezzo("vuoti", json_oggetto().fine() + json_lista().fine())
                            .fine();
  EXPECT_EQ(o, R"({"n": -3, "forse": null, "t": "x", "v": false, "l": [1, 0.5, null], )"
               R"("vuoti": {}[]})");
}

}  // namespace
}  // namespace percorso
