// The files of one run, replaced together. Every file is written whole to a
// temporary `.percorso-XXXXXX` in its own directory; only when all are written and
// on the disk does each directory get a flushed journal of its pairs, and then each
// temporary is exchanged with its name (renamed, where there is none or the system
// cannot exchange), each directory is flushed once, and the journals and the earlier
// files go. Until the names begin to change the earlier files stay as they were; a
// failure before them removes every temporary and replaces nothing. A run killed
// among the exchanges is finished by the next run into the directory.
//
// An output that exists and is not a regular file is never replaced: a character
// device, or a FIFO that has a reader, is written to directly at the commit.
//
// A set takes turns with every other run that writes into the same directories: it
// holds an exclusive lock on each directory's own descriptor from its first file to
// its end, and while it holds it completes what killed runs left (giornale.h).
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

class insieme_uscita {
 public:
  // Without conferma the temporaries are removed and no file is replaced.
  virtual ~insieme_uscita() = default;

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
// the current directory). Every directory
// a file of the set goes into must be among them: the locks are taken all at once,
// in one order for every run, so two runs never wait for each other in a circle.
// avviso is told when a lock has been waited for a second.
std::unique_ptr<insieme_uscita> insieme_su_disco(chiamate_sistema chiamate,
                                                 std::vector<std::string> cartelle,
                                                 avviso_turno avviso = {});

}  // namespace percorso
