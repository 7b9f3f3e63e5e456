// The files of one run, replaced together. Every file is written whole to a
// temporary `.percorso-XXXXXX` in its own directory; only when all are written and
// on the disk does each directory get a flushed journal of its pairs, and then each
// temporary is exchanged with its name (renamed, where there is none or the system
// cannot exchange), each directory is flushed once, and the earlier files and the
// journals go. Until the names begin to change the earlier files stay as they were; a
// failure before them removes every temporary and replaces nothing. A run killed
// among the exchanges is finished by the next run into the directory.
//
// Where a file goes is decided by what is there (destinazione.h): a regular file or
// nothing is replaced, a character device or a FIFO that has a reader is written to
// directly at the commit, a link is written through or refused, never replaced. No
// file of the set may be a file the run reads, or another file of the set; and a
// target another program changes while the run writes is not replaced.
//
// A set takes turns with every other run that uses the same directories: it holds a
// lock on each directory's own descriptor from its turn to its end, alone where it
// writes and beside other readers where it only reads, and every decision about the
// files there is taken under it. Holding it, it completes what killed runs left where
// it writes (giornale.h), and reports their journals where it only reads.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/attesa_turno.h"
#include "platform/chiamate_sistema.h"
#include "platform/errore_file.h"

namespace percorso {

// The directories of a run: those its files go into, and those it only reads from.
struct cartelle_corsa {
  std::vector<std::string> scritte = {};
  std::vector<std::string> lette = {};
};

class insieme_uscita {
 public:
  // Without conferma the temporaries are removed and no file is replaced.
  virtual ~insieme_uscita() = default;

  // Takes the turn on every declared directory, once (apri and conferma take it too),
  // and completes what killed runs left where the run writes: whatever the run looks
  // at after it, it looks at under the lock. The reason when a journal there is not one
  // to trust or cannot be completed: then no file of the set is written.
  virtual std::optional<errore_file> prendi_turno() = 0;
  // The journals killed runs left in the directories the run only reads.
  virtual std::vector<errore_file> giornali_lasciati() const = 0;
  // A file the run reads: no file of the set may be it.
  virtual void ingresso(const std::string& percorso) = 0;

  // Starts the next file of the set under its final name; what scrivi gets goes
  // into it until the next apri or conferma.
  virtual std::optional<errore_file> apri(const std::string& percorso) = 0;
  // The next piece of the file being written: a file need never be whole in memory.
  virtual std::optional<errore_file> scrivi(std::span<const std::uint8_t> pezzo) = 0;
  // Puts every file on the disk, gives each its name, flushes each directory once.
  virtual std::optional<errore_file> conferma() = 0;

  // A file that lives only during the turn, to be read back and deleted: it
  // replaces its name at once and is never flushed.
  virtual std::optional<errore_file> scrivi_transitorio(const std::string& percorso,
                                                        std::span<const std::uint8_t> dati) = 0;

  // apri, then the whole content in one piece.
  std::optional<errore_file> aggiungi(const std::string& percorso,
                                      std::span<const std::uint8_t> dati) {
    if (auto e = apri(percorso)) return e;
    return scrivi(dati);
  }
};

// A set on the real disk whose files lie in the given directories (an empty one is
// the current directory). The locks are taken all at once, in one order for every
// run, so two runs never wait for each other in a circle; a directory a file goes
// into that was not declared for writing (where an output's link leads) is taken
// later only if it is free within a short wait. avviso is told when a lock has been
// waited for a second.
std::unique_ptr<insieme_uscita> insieme_su_disco(chiamate_sistema chiamate,
                                                 cartelle_corsa cartelle,
                                                 avviso_turno avviso = {});

// Why a file cannot be written: it is one the run reads.
errore_file uscita_letta(const std::string& uscita, const std::string& ingresso);

}  // namespace percorso
