// Waiting for files to change, for the watch modes. The directories are watched, not
// the files, so a save that writes a new file and renames it over the old one is seen;
// a file given as a link is watched where the link points too. A folder deleted and
// made again (as a checkout does) is followed again once it is back.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "platform/file_system.h"

namespace percorso {

class sorveglianza {
 public:
  enum class evento {
    cambiato,    // one of the files was written, replaced, created or removed
    interrotto,  // SIGINT, SIGTERM or SIGHUP: the watch ends
    guasto,      // the system stopped telling: the watch ends
  };

  // A watched folder that went away, or came back.
  struct avviso {
    std::string cartella;
    bool ritrovata = false;
  };

  // Watches the files; their directories must exist. From here until the watch is
  // destroyed SIGINT, SIGTERM and SIGHUP do not end the process: aspetta reports them.
  static std::variant<std::unique_ptr<sorveglianza>, errore_file> apri(
      std::span<const std::string> file);

  sorveglianza(const sorveglianza&) = delete;
  sorveglianza& operator=(const sorveglianza&) = delete;
  ~sorveglianza();

  // Blocks until a file changes and then stays quiet for `quiete` (an editor's save
  // is often several steps), or until a signal comes. Never polls.
  evento aspetta(std::chrono::milliseconds quiete = std::chrono::milliseconds(30));

  // The folders lost and found since the last call, each loss once.
  std::vector<avviso> avvisi();

 private:
  struct stato;
  explicit sorveglianza(std::unique_ptr<stato> s);
  std::unique_ptr<stato> s_;
};

}  // namespace percorso
