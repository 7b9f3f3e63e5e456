// The layout of each record, written once: the fields in file order with their names.
// The encoder and the decoder both walk these lists, so they cannot disagree.
#pragma once

#include "model/modello.h"

namespace percorso {

// Calls campo(name, field) for every field of a cell, in file order.
template <typename Cella, typename Campo>
void campi_cella(Cella& c, Campo&& campo) {
  campo("evento", c.evento);
  campo("dato_1", c.dato_1);
  campo("dato_2", c.dato_2);
  campo("dato_3", c.dato_3);
  campo("dato_4", c.dato_4);
  campo("tempo_segnale", c.tempo_segnale);
  campo("ripetizione", c.ripetizione);
  campo("montagna", c.montagna);
  campo("velocita", c.velocita);
  campo("pendenza", c.pendenza);
  campo("aderenza", c.aderenza);
}

// Calls campo(name, field) for every field of a point entry, in file order; the
// name is a text field (16-bit length, then the characters).
template <typename Punto, typename Campo>
void campi_punto(Punto& p, Campo&& campo) {
  campo("codice", p.codice);
  campo("valore_1", p.valore_1);
  campo("valore_2", p.valore_2);
  campo("valore_3", p.valore_3);
  campo("opzione", p.opzione);
  campo("nome", p.nome);
  campo("parametro_1", p.parametro_1);
  campo("parametro_2", p.parametro_2);
  campo("parametro_3", p.parametro_3);
  campo("parametro_4", p.parametro_4);
  campo("parametro_5", p.parametro_5);
  campo("indicatore_1", p.indicatore_1);
  campo("indicatore_2", p.indicatore_2);
  campo("indicatore_3", p.indicatore_3);
  campo("indicatore_4", p.indicatore_4);
  campo("orario", p.orario);
}

// Bytes of a plan element's value after its 16-bit tag; nothing for an unknown tag.
constexpr std::optional<std::size_t> byte_del_valore(tipo_elemento t) {
  switch (t) {
    case tipo_elemento::vuoto:
      return 0;
    case tipo_elemento::intero:
      return 2;
    case tipo_elemento::reale:
      return 8;
  }
  return std::nullopt;
}

}  // namespace percorso
