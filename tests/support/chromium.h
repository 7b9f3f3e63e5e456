// Headless Chromium for the tests of the route page. Where it is not installed the
// tests say so and are skipped, except in CI (the CI variable set), where they fail.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "support/cartella_temporanea.h"
#include "support/programmi.h"

namespace percorso::browser {

// The distribution's Chromium, or nothing.
inline std::optional<std::string> chromium() {
  return trova_programma({"chromium", "chromium-browser"});
}

struct esito {
  int stato = -1;
  std::string uscita;  // standard output: the DOM with --dump-dom
};

// Runs Chromium headless on a local file with the given action (--dump-dom,
// --screenshot=FILE) in a fresh profile, letting the page's scripts run for a while.
inline esito apri(const std::string& html, const std::string& azione) {
  cartella_temporanea profilo;
  const std::string uscita = profilo.file("uscita");
  const std::string comando =
      "timeout 120 " + quotato(*chromium()) +
      " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
      " --disable-background-networking --disable-component-update --disable-sync"
      " --hide-scrollbars --window-size=1600,1000 --virtual-time-budget=3000"
      " --user-data-dir=" +
      quotato(profilo.file("profilo")) + " " + azione + " " + quotato("file://" + html) + " >" +
      quotato(uscita) + " 2>/dev/null";
  esito e;
  e.stato = std::system(comando.c_str());
  const auto byte = leggi_file(uscita);
  e.uscita.assign(byte.begin(), byte.end());
  return e;
}

}  // namespace percorso::browser

// Skips a test without Chromium, saying why; fails instead when CI is set.
#define RICHIEDE_CHROMIUM() \
  RICHIEDE_PROGRAMMA(percorso::browser::chromium(), "Chromium", "del browser")
