// File URIs and paths, both ways.
#include "lsp/indirizzi.h"

#include <gtest/gtest.h>

namespace percorso::lsp {
namespace {

TEST(Indirizzi, UriEPercorsi) {
  struct caso {
    const char* uri;
    std::optional<std::string> percorso;
  };
  const caso casi[] = {
      {"file:///a/b%20c/Valle_linea.txt", "/a/b c/Valle_linea.txt"},
      {"file://localhost/a/x-.txt", "/a/x-.txt"},
      {"file:///c%3A/Testi/Citt%C3%A0_linea.txt", "c:/Testi/Citt\u00e0_linea.txt"},
      {"file:///a/100%", "/a/100%"},
      {"untitled:Untitled-1", std::nullopt},
  };
  for (const caso& c : casi) EXPECT_EQ(percorso_di_uri(c.uri), c.percorso) << c.uri;
  EXPECT_EQ(uri_di_percorso("/a/b c/Citt\u00e0_linea.txt"), "file:///a/b%20c/Citt%C3%A0_linea.txt");
  EXPECT_EQ(uri_di_percorso("C:\\Testi\\x-.txt"), "file:///C:/Testi/x-.txt");
  for (const std::string p : {"/a/b c/%/x-.txt", "C:/Testi/x-.txt"})
    EXPECT_EQ(percorso_di_uri(uri_di_percorso(p)), p);
}

}  // namespace
}  // namespace percorso::lsp
