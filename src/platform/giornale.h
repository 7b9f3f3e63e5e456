// The journal of a commit. Before the first of its files takes its name, a commit
// writes and flushes, in each directory that receives files, the list of its pairs
// (temporary, name) with the identity of each new file. A pair is done when the
// name leads to that identity: after an exchange the temporary holds the old file,
// so the identity, not the names, tells a done pair from one still to do. The
// journal goes once the last pair is done; a run that finds one while it holds the
// directory completes the pairs not yet done first. Only the primitives of the
// seam are used here.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/chiamate_sistema.h"

namespace percorso {

// Name of the journal inside its directory.
inline constexpr std::string_view nome_giornale = ".percorso-giornale";

// One file of the commit, by its names inside the directory.
struct coppia {
  std::string temporaneo;
  std::string bersaglio;
  identita_file nuovo;  // the new file, written into the temporary
};

// The bytes of a journal, and back; nothing from a journal cut short or not ours.
std::string testo_giornale(std::span<const coppia> coppie);
std::optional<std::vector<coppia>> leggi_giornale(std::string_view testo);

// How a temporary took its name.
enum class spostamento {
  scambiato,   // exchanged with the earlier file, now under the temporary's name
  rinominato,  // renamed: there was no earlier file, or the system cannot exchange
};

// Puts the temporary under its name: exchanged with the file there when the system
// can, renamed otherwise. The system's reason when neither works.
std::optional<spostamento> sposta(const chiamate_sistema& c, const std::string& temporaneo,
                                  const std::string& bersaglio, int& codice);

// Completes the commit a killed run left in cartella (locked, fd its descriptor):
// does the pairs of its journal not yet done, flushes the directory and removes the
// journal. Nothing when there is no journal.
void completa_giornale(const chiamate_sistema& c, const std::string& cartella, int fd);

// Removes what killed runs left in cartella: every temporary that is a file or a
// link (a new file never committed, or an earlier one exchanged out of its name).
void rimuovi_residui(const chiamate_sistema& c, const std::string& cartella);

// Whether a name inside a directory is one of the temporaries of a commit.
bool nome_temporaneo(std::string_view nome);

}  // namespace percorso
