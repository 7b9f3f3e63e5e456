// The journal of a commit. A run that writes into a directory makes its journal there
// before its first temporary and names in it every temporary before making it, so
// that whatever a killed run leaves is known by name. Before the first of its files
// takes its name, it adds its pairs (temporary, name), with the identity of each new
// file and of the file the name held, and flushes it. A pair is done when the name
// leads to the new file: after an exchange the temporary holds the old file, so the
// identity, not the names, tells a done pair from one still to do. The journal goes
// once the last pair is done and its temporaries are gone.
//
// A journal is trusted only as this program leaves it: a regular file of this user,
// opened without following a link, of a bounded size, that names the directory it lies
// in, whose temporaries all bear the mark of the run that wrote it. Anything else is
// reported and never read further, written or followed. Only the primitives of the
// seam are used here.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/chiamate_sistema.h"
#include "platform/errore_file.h"

namespace percorso {

// Name of the journal inside its directory.
inline constexpr std::string_view nome_giornale = ".percorso-giornale";
// A journal larger than this is no journal of the program's.
inline constexpr std::size_t giornale_massimo = std::size_t{1} << 20;

// One file of the commit, by its names inside the directory.
struct coppia {
  std::string temporaneo;
  std::string bersaglio;
  identita_file nuovo;                 // the new file, written into the temporary
  std::optional<identita_file> prima;  // what the name held; nothing when it was free
};

// A journal as read back: the temporaries it names, and its pairs when it was
// written whole (a journal cut short was never flushed, so none of its pairs began).
struct giornale {
  std::vector<std::string> temporanei;
  std::optional<std::vector<coppia>> coppie;
};

// A run's mark, drawn at random: the first characters of the names of its temporaries
// in a directory, recorded in that directory's journal, so that the journal names
// none but the run's own.
std::string segno_nuovo();
// A new temporary's name (inside its directory) for the run of that mark, the rest of
// it drawn at random.
std::string nome_temporaneo_nuovo(std::string_view segno);

// The pieces of a journal, in the order they are written: its first line, one line
// for each temporary before it is made, and the pairs with the closing line.
std::string inizio_giornale(const identita_file& cartella, std::string_view segno);
std::string riga_temporaneo(std::string_view nome);
std::string fine_giornale(std::span<const coppia> coppie);

// The journal of the directory identified by cartella; nothing when the text is not
// one (another directory's, or not the program's).
std::optional<giornale> leggi_giornale(std::string_view testo, const identita_file& cartella);

// What a name holds, not followed: nothing when it is free (or cannot be looked at).
std::optional<identita_file> contenuto(const chiamate_sistema& c, const std::string& percorso);
// Whether the name holds what it held: the same file, not changed since, or still nothing.
bool come_prima(const chiamate_sistema& c, const std::string& percorso,
                const std::optional<identita_file>& prima);

// How a temporary took its name.
enum class spostamento {
  scambiato,   // exchanged with the earlier file, now under the temporary's name
  rinominato,  // renamed: there was no earlier file, or the system cannot exchange
};

// Puts the temporary under its name: exchanged with the file there (occupato) when the
// system can, renamed otherwise; onto a free name only while it is still free. The
// system's reason when it cannot.
std::optional<spostamento> sposta(const chiamate_sistema& c, const std::string& temporaneo,
                                  const std::string& bersaglio, bool occupato, int& codice);

// Completes the commit a killed run left in cartella (identified by id, locked, fd its
// descriptor): does the pairs of its journal not yet done, flushes the directory and
// removes the temporaries the journal names, then the journal. Nothing when there is
// no journal. The reason, with nothing changed, when the journal is not one to trust
// or a file it would replace is no longer the one it held.
std::optional<errore_file> completa_giornale(const chiamate_sistema& c, const std::string& cartella,
                                             int fd, const identita_file& id);

// For a run that only reads: the journal a killed run left in cartella, reported as
// such; nothing when there is none.
std::optional<errore_file> giornale_lasciato(const chiamate_sistema& c,
                                             const std::string& cartella);

// Whether a name inside a directory has the form of the temporaries of a commit.
bool nome_temporaneo(std::string_view nome);

}  // namespace percorso
