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
  // The names of the regular files in a directory, in name order; none when it cannot
  // be read.
  virtual std::vector<std::string> elenca(const std::string& cartella) = 0;
  // A mark that changes whenever a directory's names change (its modification time);
  // nothing when it cannot be read, or changed so lately that a change to come could
  // fall within the same tick of its clock.
  virtual std::optional<std::int64_t> versione_cartella(const std::string& cartella) = 0;
  // The name the system keeps for the file at percorso. On Windows, whose names ignore
  // case, it may differ in case from the name given; elsewhere it is that name.
  virtual std::string nome_registrato(const std::string& percorso) = 0;

};

// What every system's real disk shares: the calls it goes through, the identity of a
// name and the output set built on them.
class disco_di_sistema : public file_system {
 public:
  explicit disco_di_sistema(chiamate_sistema c, avviso_turno avviso = {})
      : c_(std::move(c)), avviso_(std::move(avviso)) {}
  std::optional<identita_file> identita(const std::string& percorso) override;
  std::unique_ptr<insieme_uscita> insieme(cartelle_corsa cartelle) override;

 protected:
  chiamate_sistema c_;
  avviso_turno avviso_;
};

// Two changes of a directory within one tick of the file system's clock leave one
// time: a time this recent does not yet tell that no change follows it.
inline constexpr std::int64_t nanosecondi_cambio_recente = 2'000'000'000;

// The largest file leggi takes in; a larger one is refused, not read into memory.
inline constexpr std::size_t massimo_lettura = std::size_t{256} << 20;
// Why a file larger than that is not read.
errore_file oltre_il_massimo(const std::string& percorso);

// The real disk; avviso is told when a run has waited a second for another's turn on
// a directory.
std::unique_ptr<file_system> file_system_reale(avviso_turno avviso = {});
std::unique_ptr<file_system> file_system_reale(chiamate_sistema chiamate, avviso_turno avviso = {});

// Directory of the running executable, resolved from the process itself.
std::optional<std::string> cartella_programma();

// dir joined with name by the platform's separator.
std::string unisci(const std::string& cartella, const std::string& nome);

// The directory part of a path: empty for a bare name, "/" for a name in the root.
std::string cartella_di(std::string_view percorso);
// The name after the last separator.
std::string_view nome_base(std::string_view percorso);
// Whether two paths are spelt alike as the system reads them: on Windows with either
// separator and letters in any case (C:/a/B.txt is c:\a\b.txt), elsewhere byte for byte.
bool stesso_percorso(std::string_view a, std::string_view b);

}  // namespace percorso
