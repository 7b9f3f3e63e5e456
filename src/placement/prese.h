// Cell claims: which cells a feature takes, the code the compiler refuses it with
// when another feature holds one, and how far the cells must reach past it. The
// compiler places by these rules and the checker foresees by them.
#pragma once

#include <cstdint>
#include <optional>

#include "model/modello.h"

namespace percorso {

// The last cell of a line of lunghezza metres: the cells run on past its end.
std::int64_t ultima_cella_di(std::int64_t lunghezza);

// The first cell carries the line's check values: a feature placed there with a value
// stops the build (1250, 1251), and one without loses its cell to them.
inline constexpr std::int64_t cella_di_controllo = 1;

// How far past its position a row's cells must reach: a station's area, or 100 m.
inline constexpr std::int32_t margine_stazione = 800;
inline constexpr std::int32_t margine_comune = 100;
// Whether the cells end before p + margine: the compiler stops the text with code 15.
bool oltre_le_celle(std::int64_t p, std::int32_t margine, std::int64_t ultima_cella);

// A cell a feature takes, and the code of the refusal when another feature holds it.
struct presa {
  std::int64_t cella = 0;
  std::int32_t codice = 0;
};

// The one cell of a board, a speed point, speed indicators or a signal at p.
presa presa_di(elemento e, std::int64_t p);

// A signal's repetition codes go this many cells back, one every second cell; those
// before the line's start are left out.
inline constexpr int ripetizioni_segnale = 4;
inline std::int64_t cella_ripetizione(std::int64_t segnale, int k) {
  return segnale - 2 * k;
}

// A slowdown of length l at x: a warning cell 1200 m before it only past 1500 m,
// and then, on request, the four pre-warning cells going back from there.
struct prese_rallentamento {
  std::optional<presa> avviso;
  presa inizio;
  presa fine;
  std::int64_t preavviso = 0;  // the first of the four; each refused with codice_preavviso
};
inline constexpr std::int32_t codice_preavviso = 20;
inline constexpr int celle_preavviso = 4;
prese_rallentamento prese_di_rallentamento(std::int64_t x, std::int64_t l);

// A station's area, by its kind, position, length and whether it has the extra
// 50 m of indicatore_3.
struct area {
  std::int64_t inizio = 0;
  std::int64_t fine = 0;
};
area area_stazione(std::int64_t tipo, std::int64_t p, std::int64_t lg, bool indicatore_3);
// Kinds from 25 on take no cells.
inline bool stazione_con_celle(std::int64_t tipo) {
  return tipo < 25;
}
// The stop cell near the area's end; the compiler stops with code 24 when it is not
// past cell 1. Stations other than kinds 5 and 6 mark the four cells before it.
std::int64_t cella_fermata(const area& a);
inline bool fermata_possibile(std::int64_t cella) {
  return cella > 1;
}

// The cells prima..ultima of a mountain-side stretch; none when prima > ultima.
struct celle_tratto {
  std::int64_t prima = 0;
  std::int64_t ultima = 0;
};
celle_tratto celle_montagna(std::int64_t inizio, std::int64_t fine, std::int64_t ultima_cella);

// Whether the feature placed from o takes cell c with its own cell, or for a slowdown
// with its warning, start or end; stations never reach the first cells.
bool prende_la_cella(const origine& o, std::int64_t c);

}  // namespace percorso
