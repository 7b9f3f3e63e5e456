// What the keyword table tells the editor: the field under the cursor and its
// description, the keywords and section headers a row may start with. The one place
// of the server that reads the table.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/modello.h"
#include "sintassi/parole_chiave.h"

namespace percorso::lsp {

// The field of a row under a column: the keyword itself (campo nullptr) or one of its fields.
struct campo_sotto {
  const parola_chiave* parola = nullptr;
  const campo_formato* campo = nullptr;
  std::size_t numero = 0;   // 1-based place of the field in the row
  std::int32_t inizio = 0;  // 1-based byte columns, fine excluded
  std::int32_t fine = 0;
  std::string_view scritto;  // as written
};

// The field of riga (a line of testo) that holds colonna, when the row starts with a keyword.
std::optional<campo_sotto> campo_alla_posizione(fonte testo, std::string_view riga,
                                                std::int32_t colonna);

// For the hover: a keyword's row as explain shows it; a field's name, unit, range,
// meaning and what the compiler reads there. UTF-8.
std::string descrizione(const campo_sotto& c);

// Where a line stands in its text, by the section headers before it.
enum class zona : std::uint8_t { prima_di_generale, intestazione, corpo, treno };

// The zone of line riga (1-based) of a text.
zona zona_della_riga(fonte testo, std::span<const std::uint8_t> byte, std::int32_t riga);

struct proposta {
  std::string etichetta;
  std::string dettaglio;
  std::string frammento;  // snippet: the row's example with its fields as tab stops
  bool sezione = false;
  std::string documentazione;  // what explain tells of it
};

// The keywords of the zone with their example rows, and the section headers that
// may start there.
std::vector<proposta> proposte(fonte testo, zona z);

// A row the outline shows: a section header, a station, a signal, a slowdown.
struct simbolo {
  enum class tipo : std::uint8_t { sezione, stazione, segnale, rallentamento };
  tipo genere = tipo::sezione;
  std::string nome;  // UTF-8
  std::string dettaglio;
  std::int32_t riga = 0;       // 1-based
  std::int32_t lunghezza = 0;  // bytes of the line
};

// The rows of the outline, in the order of the text.
std::vector<simbolo> simboli(fonte testo, std::span<const std::uint8_t> byte);

}  // namespace percorso::lsp
