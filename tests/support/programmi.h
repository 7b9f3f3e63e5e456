// Programs the tests run from the distribution, found on PATH; a test that needs one
// says plainly that it was skipped where it is missing, and fails instead in CI.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

namespace percorso {

// The first of the names found as an executable on PATH, or nothing.
inline std::optional<std::string> trova_programma(std::initializer_list<const char*> nomi) {
  for (const char* nome : nomi) {
    std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin");
    for (std::string cartella; std::getline(path, cartella, ':');) {
      const std::string file = cartella + "/" + nome;
      if (::access(file.c_str(), X_OK) == 0) return file;
    }
  }
  return std::nullopt;
}

// Text in single quotes for the shell.
inline std::string quotato(std::string_view s) {
  std::string q = "'";
  for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace percorso

// Skips a test when the program is missing, saying which tests; fails instead when CI is set.
#define RICHIEDE_PROGRAMMA(trovato, nome, quali)                          \
  do {                                                                    \
    if (!(trovato)) {                                                     \
      if (std::getenv("CI") != nullptr)                                   \
        FAIL() << nome " manca, ma in CI i test " quali " devono girare"; \
      GTEST_SKIP() << nome " non installato: test " quali " saltati";     \
    }                                                                     \
  } while (0)
