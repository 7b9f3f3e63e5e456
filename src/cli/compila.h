// The compile command: an author's two texts into the three binary files.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/messaggi.h"
#include "platform/file_system.h"

namespace percorso {

// What one compilation did: its exit status, one line about it, and its messages (a
// run that stopped before compiling says why in its one message).
struct corsa_compile {
  int stato = 0;
  std::string riassunto;
  std::vector<messaggio> messaggi;
  // Journals of runs killed in a directory the run only read: told, never replayed.
  std::vector<errore_file> giornali;
};

// Whether the run got as far as compiling.
bool compilato(const corsa_compile& c);

// The compilation of a line text and a train text with the driver's documents, beside
// the line text, the names taken from the texts' own: what two texts dropped on the
// program ask for.
corsa_compile compila_con_documenti(const std::string& linea, const std::string& treno,
                                    file_system& fs);

// percorso compile LINEA TRENO [OPTIONS]
int comando_compile(std::span<const std::string_view> argomenti, std::ostream& err,
                    file_system& fs);

}  // namespace percorso
