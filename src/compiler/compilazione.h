// State of one compilation, shared by the driver and the keyword handlers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "compiler/lettore_campi.h"
#include "model/modello.h"
#include "model/numeri.h"

namespace percorso {

// What the driver does after a keyword line.
enum class esito {
  avanti,      // next field
  fine_testo,  // a position failed the bound test: the text ends here
  ferma,       // the compilation stops (a code is recorded)
};

struct compilazione {
  modello& m;
  lettore_campi* lettore = nullptr;
  fonte testo = fonte::nessuna;
  std::int32_t riga_chiave = 0;  // where the current keyword field begins
  std::int32_t colonna_chiave = 0;

  std::int32_t slot_cartello = primo_slot_cartelli;
  std::int64_t cursore_pendenza = 0;
  std::int32_t pendenza_in_vigore = 0;
  std::int64_t metro_piano = 2;
  std::int64_t cursore_velocita = 0;
  std::int32_t velocita_in_vigore = 0;
  std::int64_t cursore_aderenza = 0;
  std::int32_t aderenza_in_vigore = 0;
  std::int32_t numero_stazione = 1;

  // Reads the next number into v; a read past the end or a value that does not
  // fit T records the general failure and returns false.
  template <typename T>
  bool leggi(T& v) {
    const auto numero = lettore->leggi_numero();
    const auto valore = numero ? arrotonda_in<T>(*numero) : std::nullopt;
    if (!valore) {
      generale_al_campo();
      return false;
    }
    v = *valore;
    return true;
  }
  bool leggi_testo(std::string_view& v);

  // Records a code at the current keyword line and stops.
  esito ferma(std::int32_t codice);
  esito ferma(std::int32_t codice, std::int32_t posizione);
  // Records the general failure at the field just read.
  esito generale_al_campo();
  // Records the general failure at the current keyword line.
  esito generale();

  // The line is accepted when (p + extra) / 50 does not exceed the last cell.
  esito limite(std::int32_t p, std::int32_t extra);
};

// Handlers of the keyword lines; each reads its own fields.
esito riga_lunghezza(compilazione& c);
esito riga_progressiva(compilazione& c, int slot);
esito riga_sfondo(compilazione& c, std::int32_t punto::*campo);
esito riga_ripetizione(compilazione& c, std::string_view chiave);
esito riga_massa(compilazione& c);
esito riga_vetture(compilazione& c);
esito riga_orologio(compilazione& c);
esito riga_sabbia(compilazione& c);

esito riga_pendenza(compilazione& c);
esito riga_velocita(compilazione& c);
esito riga_aderenza(compilazione& c);
esito coda_pendenza(compilazione& c);
esito coda_velocita(compilazione& c);
esito coda_aderenza(compilazione& c);

esito inizio_piano(compilazione& c);
esito riga_curva(compilazione& c, std::string_view chiave);
esito completa_piano(compilazione& c);

esito riga_montagna(compilazione& c);
esito riga_indicatori(compilazione& c);
esito riga_segnale(compilazione& c);
esito riga_rallentamento(compilazione& c);

esito riga_cartello(compilazione& c);
esito riga_abbattimento(compilazione& c);
esito riga_stazione(compilazione& c);

}  // namespace percorso
