// All file access of the program goes through this interface, so tests can
// inject faults and the compiler never touches the disk itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/chiamate_sistema.h"
#include "platform/errore_file.h"
#include "platform/insieme_uscita.h"

namespace percorso {

struct lettura {
  std::vector<std::uint8_t> dati;
  std::optional<errore_file> errore;
};

class file_system {
 public:
  virtual ~file_system() = default;

  virtual bool esiste(const std::string& percorso) = 0;
  // What the name leads to, links followed; nothing when it leads nowhere.
  virtual std::optional<identita_file> identita(const std::string& percorso) = 0;
  // A whole regular file. Anything else (a FIFO, a device, a directory) is refused
  // at once, without waiting for a writer that may never come.
  virtual lettura leggi(const std::string& percorso) = 0;
  // The files of one run, in the directories it writes into, replaced together; its
  // turn in those and in the directories it reads.
  virtual std::unique_ptr<insieme_uscita> insieme(cartelle_corsa cartelle) = 0;
  virtual std::optional<errore_file> elimina(const std::string& percorso) = 0;
  // Removes a directory that holds nothing; a directory with files stays.
  virtual std::optional<errore_file> elimina_cartella_vuota(const std::string& percorso) = 0;
  // Creates a directory and the parents it lacks; nothing to do when it exists.
  virtual std::optional<errore_file> crea_cartella(const std::string& percorso) = 0;
  // Whether an output set could write percorso, once crea_cartella has made the
  // directories it lacks: the reason when it could not. Writes nothing.
  virtual std::optional<errore_file> prova_scrittura(const std::string& percorso) = 0;
};

// What every system's real disk shares: the calls it goes through, the identity of a
// name and the output set built on them.
class disco_di_sistema : public file_system {
 public:
  explicit disco_di_sistema(chiamate_sistema c) : c_(std::move(c)) {}
  std::optional<identita_file> identita(const std::string& percorso) override;
  std::unique_ptr<insieme_uscita> insieme(cartelle_corsa cartelle) override;

 protected:
  chiamate_sistema c_;
};

// The largest file leggi takes in; a larger one is refused, not read into memory.
inline constexpr std::size_t massimo_lettura = std::size_t{256} << 20;
// Why a file larger than that is not read.
errore_file oltre_il_massimo(const std::string& percorso);

// The real disk.
std::unique_ptr<file_system> file_system_reale();
std::unique_ptr<file_system> file_system_reale(chiamate_sistema chiamate);

// Directory of the running executable, resolved from the process itself.
std::optional<std::string> cartella_programma();

// dir joined with name by the platform's separator.
std::string unisci(const std::string& cartella, const std::string& nome);

// The directory part of a path: empty for a bare name, "/" for a name in the root.
std::string cartella_di(std::string_view percorso);
// The name after the last separator.
std::string_view nome_base(std::string_view percorso);

}  // namespace percorso
