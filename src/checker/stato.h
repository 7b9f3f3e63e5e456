// State of one check, shared by the reading loop and the checks of fields, rows
// and cells.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checker/verifica.h"
#include "format/chilometri.h"
#include "placement/prese.h"
#include "sintassi/cammino.h"
#include "sintassi/constatazioni.h"
#include "sintassi/parole_chiave.h"

namespace percorso::controllo {

struct campo_letto {
  std::string_view testo;  // as written
  std::int32_t riga = 0;
  std::int32_t colonna = 0;
  std::int64_t valore = 0;  // the number the compiler stores (0 when it is not one)
  bool valido = false;      // a number that fits its width, or a text
  bool numero = false;      // written as a number
  double letto = 0;         // the number as written, before rounding
};

// Where the first character an author may take for a separator (";:", tab, "|") stands
// in testo, or npos: only the comma, blanks and line ends separate fields.
inline std::size_t separatore_estraneo(std::string_view testo) {
  for (std::size_t i = 0; i < testo.size(); ++i) {
    const char c = testo[i];
    if (c == ';' || c == ':' || c == '\t' || c == '|') return i;
  }
  return std::string_view::npos;
}

// Fields that say where on the line something lies.
inline bool posizionale(ruolo r) {
  return r == ruolo::posizione || r == ruolo::estensione || r == ruolo::fine;
}

// A keyword row as its author wrote it: the keyword field and the fields found on its line.
struct riga_letta {
  const parola_chiave* k = nullptr;
  std::string_view chiave;
  std::int32_t riga = 0;
  std::int32_t colonna = 0;
  std::array<campo_letto, massimo_campi> campi{};
  std::size_t letti = 0;

  bool completa() const { return letti == k->campi.size(); }
  // Whether field i was read and holds a usable value.
  bool buono(std::size_t i) const { return i < letti && campi[i].valido; }
  std::int64_t valore(std::size_t i) const { return campi[i].valore; }
  const campo_formato* formato(std::size_t i) const { return &k->campi[i]; }
};

// Which cell of its feature a row claims, where a row takes several.
enum class parte_elemento : std::uint8_t {
  unica,
  avviso,     // of a slowdown, 1200 m before its start
  inizio,     // of a slowdown
  fine,       // of a slowdown
  preavviso,  // the four cells before a slowdown's warning board
  fermata,    // a station's stop cell
};

// What holds a cell, as far as the checker has seen: the row's origin, recorded as the
// compiler records the origins of the features it places.
struct cella_vista {
  std::optional<origine> da;
  parte_elemento quale = parte_elemento::unica;
  std::string_view nome;  // station name or board text
};

// A row of the train description seen earlier, for the rules that compare rows.
struct precedente {
  std::int64_t valore = 0;
  std::int32_t riga = 0;
  std::string_view nome;
};

// A gradient, speed or adhesion run as the compiler walks it: the cell it has filled
// up to, and the row whose value is in force, which fills the cells up to the next.
struct corsa_profilo {
  std::int64_t cursore = 0;
  std::int32_t riga = 0;  // 0 before the first row
  std::int64_t posizione = 0;
  std::int64_t valore = 0;
};

struct verifica_in_corso {
  std::vector<diagnosi> trovate;
  std::map<std::string_view, std::int64_t, std::less<>> per_nome;
  fonte testo = fonte::nessuna;

  std::optional<std::int64_t> lunghezza;  // of the line, from its last length row
  std::int32_t riga_lunghezza = 0;        // and that row's line
  std::vector<cella_vista> celle;         // every cell, once the body begins with a length
  std::int32_t cartelli = 0;
  std::array<corsa_profilo, 3> profili{};  // gradient, speed and adhesion runs
  std::int64_t metro_curve = 2;            // where the plan stands after the curves so far
  std::int32_t stazioni = 0;
  std::optional<precedente> fine_stazione;  // end of the previous station's area
  std::optional<precedente> orario;         // the previous time of the timetable
  chilometrica km;                          // of the compiled line, for positions in messages
  std::span<const std::uint8_t> sorgente;   // the text being read
  std::optional<bool> utf8;                 // whether it is UTF-8, once asked
  bool utf8_detto = false;                  // and whether a finding has said so

  // Where a position lies: the railway's kilometre, then the metres from the start.
  std::string luogo(std::int64_t posizione) const { return km.luogo(posizione); }

  // Whether another finding of this name is still recorded (at most 100 of a name).
  bool accetta(std::string_view nome) const;
  // A finding of kind g; its code is g's, or codice; attenuato lowers an error that
  // g allows to lower to a warning. The record kept, to add the places it names;
  // nullptr past the cap.
  diagnosi* segnala(const genere_constatazione& g, std::int32_t riga, std::int32_t colonna,
                    const campo_formato* campo, std::string messaggio,
                    std::optional<std::int32_t> codice = std::nullopt, bool attenuato = false);
  // A finding about the one byte at colonna.
  void al_byte(const genere_constatazione& g, std::int32_t riga, std::int32_t colonna,
               const campo_formato* campo, std::string messaggio);
  // A finding over the whole of field i of a row.
  diagnosi* al_campo(const riga_letta& r, std::size_t i, const genere_constatazione& g,
                     std::string messaggio, std::optional<std::int32_t> codice = std::nullopt,
                     bool attenuato = false);

  // The last cell index of the line, once its length is known.
  std::optional<std::int64_t> ultima_cella() const;
};

// Start and end of the area of a station row, as the compiler derives them.
area area_della_riga(const riga_letta& stazione);

// Reads one text and checks it row by row.
void leggi_linea(verifica_in_corso& v, std::span<const std::uint8_t> testo);
void leggi_treno(verifica_in_corso& v, std::span<const std::uint8_t> testo);

// Each field of a row against its width, range and multiple.
void verifica_campi(verifica_in_corso& v, const riga_letta& r);

// The rules of a whole row: positions within the line, timetable, spacing, ...
void verifica_riga(verifica_in_corso& v, const riga_letta& r);

// Claims the cells a row's feature takes; reports what already holds them.
void occupa_celle(verifica_in_corso& v, const riga_letta& r);

// What to write for a field that matches no keyword of the text, when one is near:
// the keyword whose test words the field holds in another case or in part, else the
// nearest by spelling; a curve keeps the field's hand and class.
std::optional<std::string> parola_vicina(std::string_view campo, fonte testo);

// A character outside printable ASCII in a field: its bytes [da, a) there, its
// code, and when it is a known one its name and the ASCII to write instead.
struct carattere_estraneo {
  std::size_t da = 0;
  std::size_t a = 0;
  std::uint32_t codice = 0;
  std::string_view nome;
  std::string_view ascii;
};

// Whether a text is UTF-8: it holds a character of several bytes (past a
// byte-order mark) and no byte outside such characters above 0x7F.
bool e_utf8(std::span<const std::uint8_t> testo);
// The first such character of a field, read as UTF-8 or as Windows-1252.
std::optional<carattere_estraneo> primo_estraneo(std::string_view campo, bool utf8);
// "U+2212 (segno meno tipografico, byte 0xE2 0x88 0x92)".
std::string descrizione(const carattere_estraneo& c, std::string_view campo);
// Its ASCII for a message: "'-'", or "A'" for a letter with its apostrophe.
std::string da_scrivere(const carattere_estraneo& c);
// The field with the character replaced by its ASCII.
std::string con_ascii(std::string_view campo, const carattere_estraneo& c);
// The non-ASCII character at field c of the current text: named, and the text said
// to be UTF-8 the first time; nothing for a printable ASCII field.
std::optional<carattere_estraneo> estraneo_nel_campo(verifica_in_corso& v, const campo_letto& c);

// A piece of source text for a message, cut when long, and quoted.
std::string citazione(std::string_view testo);

// "riga 21", or "riga 21 della descrizione della linea" when it lies in the other text.
std::string riga_di(const verifica_in_corso& v, fonte testo, std::int32_t riga);

}  // namespace percorso::controllo
