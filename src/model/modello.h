// The scenario model: plain data shared by every step of a compilation.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/diagnosi.h"
#include "model/memoria_grande.h"

namespace percorso {

// One 50 m track cell. Fields 1 to 6 describe the cell's single event, the rest the line.
struct cella {
  std::uint8_t evento = 0;
  std::int16_t dato_1 = 0;
  std::int16_t dato_2 = 0;
  std::int16_t dato_3 = 0;
  std::int16_t dato_4 = 0;
  std::uint8_t tempo_segnale = 0;
  std::uint8_t ripetizione = 0;
  std::uint8_t montagna = 0;
  std::uint8_t velocita = 0;
  std::uint8_t pendenza = 0;
  std::uint8_t aderenza = 0;

  bool operator==(const cella&) const = default;
};

// Event codes stored in cella::evento.
namespace evento {
inline constexpr std::uint8_t nessuno = 0;
inline constexpr std::uint8_t segnale = 1;
inline constexpr std::uint8_t fine_rallentamento = 2;
inline constexpr std::uint8_t inizio_rallentamento = 3;
inline constexpr std::uint8_t avviso_rallentamento = 4;
inline constexpr std::uint8_t preavviso = 5;
inline constexpr std::uint8_t indicatori = 6;
inline constexpr std::uint8_t fermata = 10;
inline constexpr std::uint8_t montagna = 11;
inline constexpr std::uint8_t punto_velocita = 12;
inline constexpr std::uint8_t punto_senza_velocita = 13;
inline constexpr std::uint8_t cartello = 14;
}  // namespace evento

// A mountain-side mark does not occupy a cell: every placement may overwrite it.
inline bool libera(const cella& c) {
  return c.evento == evento::nessuno || c.evento == evento::montagna;
}

// One entry of the point table: a station, a board text or a header slot.
struct punto {
  std::uint8_t codice = 0;
  std::int32_t valore_1 = 0;
  std::int32_t valore_2 = 0;
  std::int32_t valore_3 = 0;
  std::uint8_t opzione = 0;
  std::string nome;
  std::int16_t parametro_1 = 0;
  std::int16_t parametro_2 = 0;
  std::int16_t parametro_3 = 0;
  std::int16_t parametro_4 = 0;
  std::int16_t parametro_5 = 0;
  std::uint8_t indicatore_1 = 0;
  std::uint8_t indicatore_2 = 0;
  std::uint8_t indicatore_3 = 0;
  std::uint8_t indicatore_4 = 0;
  std::int32_t orario = 0;

  bool operator==(const punto&) const = default;
};

inline constexpr int numero_punti = 87;
inline constexpr int slot_progressiva_tre = 81;
inline constexpr int slot_progressiva_due = 82;
inline constexpr int slot_progressiva_uno = 83;
inline constexpr int slot_treno = 84;
inline constexpr int slot_percorso = 85;
inline constexpr int slot_ripetizione = 86;
inline constexpr int primo_slot_cartelli = 80;

// Per-metre plan coordinates. Metres 0 and 1 hold 16-bit whole numbers, metres
// 2 .. assegnati-1 doubles, and every later metre is empty: the plan is filled
// strictly in metre order, so one count describes the kind of every element.
struct piano {
  std::vector<double, memoria_grande<double>> x;  // lunghezza_estesa + 1 metres
  std::vector<double, memoria_grande<double>> y;
  std::int32_t assegnati = 0;

  std::int32_t ultimo_metro() const { return static_cast<std::int32_t>(x.size()) - 1; }
};

// Value kinds of a plan element, as tagged in the plan file.
enum class tipo_elemento : std::uint16_t { vuoto = 0, intero = 2, reale = 5 };

inline tipo_elemento tipo_metro(const piano& p, std::int32_t m) {
  if (m >= p.assegnati) return tipo_elemento::vuoto;
  return m < 2 ? tipo_elemento::intero : tipo_elemento::reale;
}

// A finding recorded during a compilation. The last one is also in
// modello::codice_errore / posizione_errore.
struct rilievo {
  std::int32_t codice = 0;
  std::optional<std::int32_t> posizione;  // metres, when the code carries one
  enum fonte fonte = fonte::nessuna;
  std::int32_t riga = 0;     // 1-based line in its text, 0 when unknown
  std::int32_t colonna = 0;  // 1-based column of the field, 0 when unknown
  // The cell of a finding made on the cells once the texts were read (the
  // completion's, 1250, 1251); 0 for a finding made while reading, which stops it.
  std::int32_t cella = 0;
};

inline bool trovato_sulle_celle(const rilievo& r) {
  return r.cella > 0;
}

// Kinds of rows that place a feature on the line, or shape it: curves of the plan and
// the rows of the gradient, speed limit and adhesion runs take no cell of their own.
enum class elemento : std::uint8_t {
  stazione,
  segnale,
  rallentamento,
  cartello,
  abbattimento,
  indicatori,
  montagna,
  curva,
  pendenza,
  velocita,
  aderenza
};
inline constexpr std::size_t numero_elementi = 11;

// Where a placed feature came from, so tools can point from the line back to the text.
struct origine {
  enum elemento elemento = elemento::segnale;
  enum fonte fonte = fonte::nessuna;
  std::int32_t riga = 0;
  std::int32_t colonna = 0;
  std::int32_t inizio = 0;  // metres
  std::int32_t fine = 0;    // metres; inizio for features without a length
  // The entry in punti of a station or a board, the speed of a slowdown or a speed
  // point, the kind of a mountain-side stretch, the class of a curve (negative for a
  // left-hand one), the value a run row puts in force; 0 otherwise.
  std::int32_t valore = 0;
};

struct modello {
  std::string nome_percorso;
  std::string numero_treno;

  // Empty until the compiler has read a line length.
  std::vector<cella> celle;
  std::array<punto, numero_punti> punti{};
  std::optional<piano> tracciato;

  std::vector<std::int32_t> montagna_inizio;
  std::vector<std::int32_t> montagna_fine;

  std::int32_t flag_tracciato = 0;
  std::int32_t lunghezza_estesa = 0;

  std::int32_t codice_errore = 0;
  std::int32_t posizione_errore = 0;
  std::vector<rilievo> rilievi;
  // What the compiler warns about: the format accepts it but an author rarely means it.
  // Warnings never change the compiled output.
  std::vector<diagnosi> avvisi;
  std::vector<origine> origini;  // in the order of the texts; a bounded number of each kind

  bool celle_presenti() const { return !celle.empty(); }
  std::int32_t ultima_cella() const { return static_cast<std::int32_t>(celle.size()) - 1; }

  // Cell i, or nullptr when i lies outside the array.
  cella* cella_a(std::int64_t i) {
    if (i < 0 || i >= static_cast<std::int64_t>(celle.size())) return nullptr;
    return &celle[static_cast<std::size_t>(i)];
  }

  void registra(std::int32_t codice, enum fonte f = fonte::nessuna) {
    codice_errore = codice;
    rilievi.push_back({codice, std::nullopt, f});
  }
  void registra(std::int32_t codice, std::int32_t posizione, enum fonte f = fonte::nessuna) {
    codice_errore = codice;
    posizione_errore = posizione;
    rilievi.push_back({codice, posizione, f});
  }
};

}  // namespace percorso
