// Named constants of the three compiled files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace percorso {

// The cells, and so the plan, run this far beyond the line's length.
inline constexpr std::int32_t metri_oltre_la_linea = 7000;
inline constexpr std::int32_t metri_per_cella = 50;

// Header values the simulator checks: dato_1 of cell 1 and parametro_1 of slot 85.
inline constexpr std::int16_t valore_cella_1 = 5121;
inline constexpr std::int16_t valore_slot_percorso = 610;

// Bytes of a cell record, and of a point record besides its name's characters.
inline constexpr std::size_t byte_per_cella = 15;
inline constexpr std::size_t byte_per_punto_senza_nome = 34;

// A text is stored as a 16-bit length and its characters: longer names are cut.
inline constexpr std::size_t massimo_testo = 0xFFFF;

// The metres of the longest line the compiler takes, with those beyond its end, and
// the bytes of one metre of the plan (two reals with their tags): the largest files
// it writes follow from them.
inline constexpr std::size_t metri_massimi = 1000000 + metri_oltre_la_linea + 1;
inline constexpr std::size_t byte_per_metro_piano = 20;

}  // namespace percorso
