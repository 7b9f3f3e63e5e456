// Feature: the three compiled files of a scenario back to a line text and a train text
// that compile to the same bytes. Works on the decoded files in memory; says what it
// had to guess, which rows stand only to give the bytes back, and what no row can write.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "decompile/problemi.h"
#include "decompile/righe.h"
#include "model/modello.h"

namespace percorso {

struct decompilazione {
  std::string nome_percorso;  // from slots 85 and 86: the texts' names
  std::string numero_treno;
  testo_impaginato linea;
  testo_impaginato treno;
  // What the files do not keep and the texts had to choose, in Italian.
  std::vector<std::string> indovinati;
  // Where the texts make the compile stop as the one that wrote the files did; empty
  // when they are read to their end.
  std::string arresto;
  problemi guasti;  // bytes no row can write: the texts cannot give them back
};

// A plan file that decodes whole: its bytes and its metres per coordinate.
struct file_piano {
  std::span<const std::uint8_t> byte;
  std::size_t metri = 0;
};

// The texts of a cell file, its point table and, when there is one, its plan file.
decompilazione decompila(std::span<const cella> celle, const std::array<punto, numero_punti>& punti,
                         std::optional<file_piano> piano);

}  // namespace percorso
