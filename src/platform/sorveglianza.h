// Waiting for files to change, for the watch modes. The directories are watched, not
// the files, so a save that writes a new file and renames it over the old one is seen.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "platform/file_system.h"

namespace percorso {

class sorveglianza {
 public:
  enum class evento {
    cambiato,    // one of the files was written, replaced, created or removed
    interrotto,  // SIGINT or SIGTERM: the watch ends
    guasto,      // the system stopped telling: the watch ends
  };

  // Watches the files; their directories must exist. From here until the watch is
  // destroyed SIGINT and SIGTERM do not end the process: aspetta reports them.
  static std::variant<std::unique_ptr<sorveglianza>, errore_file> apri(
      std::span<const std::string> file);

  sorveglianza(const sorveglianza&) = delete;
  sorveglianza& operator=(const sorveglianza&) = delete;
  ~sorveglianza();

  // Blocks until a file changes and then stays quiet for `quiete` (an editor's save
  // is often several steps), or until a signal comes. Never polls.
  evento aspetta(std::chrono::milliseconds quiete = std::chrono::milliseconds(30));

 private:
  struct stato;
  explicit sorveglianza(std::unique_ptr<stato> s);
  std::unique_ptr<stato> s_;
};

}  // namespace percorso
