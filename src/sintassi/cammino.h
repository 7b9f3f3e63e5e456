// The one walk over a text: its fields in the order the compiler reads them, each
// keyword field with its part, and the fields of a keyword's row with their byte
// ranges and what the compiler takes from them. The compiler and the checker both
// read the texts through it; a language server can too.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "sintassi/lettore_campi.h"
#include "sintassi/parole_chiave.h"

namespace percorso {

// One field of a text.
struct campo_sorgente {
  std::string_view testo;  // as written, blanks around it dropped
  std::size_t inizio = 0;  // its bytes [inizio, fine) in the text
  std::size_t fine = 0;
  std::size_t inizio_riga = 0;  // where its line begins in the text
  std::int32_t riga = 0;        // 1-based line and byte column of its first byte
  std::int32_t colonna = 0;
  double numero = 0;      // what the compiler reads from a number field (0: not a number)
  bool seguente = false;  // a row field read from a line after its keyword's
};

// What a field in a keyword's place is to the compiler.
enum class voce : std::uint8_t {
  prima_di_generale,   // before the field that holds "[generale]": skipped
  generale,            // the field that holds "[generale]"
  trattino,            // holds '-': skipped, the next field is read in its place
  chiave,              // a keyword field: each keyword it passes reads its row
  ultimo,              // the last field of the text: never read as a keyword
  fine_dopo_trattino,  // the header's text ends where a hyphen field's replacement is read
};

struct campo_chiave {
  campo_sorgente campo;
  voce tipo = voce::chiave;
  parte dove = parte::intestazione;  // the part the field was read in
};

// The most fields a keyword takes (a station row).
inline constexpr std::size_t massimo_campi = 17;

// The fields of one keyword's row, as far as the text goes.
struct campi_riga {
  std::array<campo_sorgente, massimo_campi> campi{};
  std::size_t letti = 0;
  // Where the reader stood after them: a read past the end of the text is told there.
  std::int32_t riga_ultimo = 0;
  std::int32_t colonna_ultimo = 0;
};

class cammino_righe {
 public:
  // testo is a line description (parts intestazione then corpo) or a train description.
  cammino_righe(std::span<const std::uint8_t> testo, bool della_linea);

  // The next field in a keyword's place; nothing once the text has ended.
  std::optional<campo_chiave> prossima();

  // The fields of k's row after the field prossima gave, read as the compiler reads
  // them: across line ends, up to the end of the text. Into riga, which a caller
  // keeps from row to row: only its first letti fields are written.
  void campi(const parola_chiave& k, campi_riga& riga);

  // The part the next keyword field is read in.
  parte attuale() const { return parte_; }

  // True when the next read starts a line.
  bool a_inizio_riga() const { return r_.a_inizio_riga(); }

  // Reads again from the beginning of c's line, as its author sees it: a short row
  // does not swallow the line after it.
  void riparti_dalla_riga(const campo_sorgente& c);

 private:
  campo_sorgente testo_campo();
  campo_sorgente numero_campo();
  campo_sorgente ultimo_letto(double numero) const;
  campo_sorgente ultimo_di_vuoti();

  std::span<const std::uint8_t> testo_;
  lettore_campi r_;
  parte parte_;
  bool dopo_generale_ = false;
  bool finito_ = false;
  int sostituzioni_ = 0;
  std::int32_t riga_chiave_ = 0;
};

}  // namespace percorso
