#include "format/segnali.h"

namespace percorso {
namespace {

// Tens and units of a packed pair, when the value is one.
bool coppia(std::int16_t v, int& decine, int& unita) {
  if (v < 0 || v > 99) return false;
  decine = v / 10;
  unita = v % 10;
  return true;
}

}  // namespace

std::optional<codici_segnale> codici_di_segnale(const cella& c) {
  codici_segnale k;
  int tipi = 0;
  const bool ok = coppia(c.dato_1, k.s[0], k.d[0]) && coppia(c.dato_2, k.s[1], k.d[1]) &&
                  coppia(c.dato_3, k.s[2], k.d[2]) && coppia(c.dato_4, k.rapp, tipi) && tipi <= 8;
  if (!ok) return std::nullopt;
  k.sx = tipi / 3;
  k.dx = tipi % 3;
  k.tempo = c.tempo_segnale;
  return k;
}

}  // namespace percorso
