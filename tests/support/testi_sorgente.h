// Small source texts built inside a test, and compiling them in memory.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/costruzione.h"
#include "compiler/compilatore.h"
#include "model/modello.h"

namespace percorso::prova {

// The lines, each followed by the line end (CR LF unless said).
inline std::string righe(std::initializer_list<std::string_view> r,
                         std::string_view fine = "\r\n") {
  std::string t;
  for (std::string_view s : r) t.append(s).append(fine);
  return t;
}

inline std::span<const std::uint8_t> byte(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// A line description: "[generale]", the length line, the extra header lines,
// then the body lines under "[pendenze]" and the closing "[fine]".
inline std::string linea(std::int32_t lunghezza, std::initializer_list<std::string_view> corpo = {},
                         std::initializer_list<std::string_view> intestazione = {}) {
  std::string t = righe({"[generale]", "lunghezza percorso, " + std::to_string(lunghezza)});
  t += righe(intestazione);
  t += righe({"[pendenze]"});
  t += righe(corpo);
  t += righe({"[fine]"});
  return t;
}

// A train description: "[generale]", the lines, "[fine]".
inline std::string treno(std::initializer_list<std::string_view> r = {}) {
  return righe({"[generale]"}) + righe(r) + righe({"[fine]"});
}

inline sorgenti testi(const std::optional<std::string>& l, const std::optional<std::string>& t) {
  sorgenti s;
  if (l) s.linea = byte(*l);
  if (t) s.treno = byte(*t);
  return s;
}

// A fresh model with names, as the run has it before the build procedure.
inline modello nuovo_modello() {
  modello m;
  // Moved in, not assigned from a literal: GCC 12 warns falsely (-Wrestrict) on that.
  m.nome_percorso = std::string("Prova");
  m.numero_treno = std::string("1");
  return m;
}

// memorizza_dati on a fresh model whose point table is empty, with the plan flag j.
inline modello compila(const std::optional<std::string>& l, const std::optional<std::string>& t,
                       std::int32_t j = 0) {
  modello m = nuovo_modello();
  m.flag_tracciato = j;
  memorizza_dati(m, testi(l, t));
  return m;
}

}  // namespace percorso::prova
