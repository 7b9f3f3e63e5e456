// State of one compilation, shared by the driver and the keyword handlers.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compilatore.h"
#include "model/modello.h"
#include "model/numeri.h"
#include "placement/prese.h"
#include "sintassi/cammino.h"
#include "sintassi/constatazioni.h"

namespace percorso {

class posa_montagne;

// What the driver does after a keyword line.
enum class esito {
  avanti,      // next field
  fine_testo,  // a position failed the bound test: the text ends here
  ferma,       // the compilation stops (a code is recorded)
};

// Where a field begins in its text (1-based; 0 when unknown).
struct luogo {
  std::int32_t riga = 0;
  std::int32_t colonna = 0;
};

struct compilazione {
  compilazione(modello& modello_, coordinate_piano coordinate_)
      : m(modello_), coordinate(coordinate_) {}

  modello& m;
  coordinate_piano coordinate;
  cammino_righe* cammino = nullptr;
  campi_riga riga;             // the fields of the row being read
  std::size_t da_leggere = 0;  // its next field
  fonte testo = fonte::nessuna;
  luogo chiave;                    // the current keyword field
  std::int32_t fine_chiave = 0;    // and the column after it
  std::vector<luogo> campi;        // the fields its line has read so far
  std::int32_t riga_ignorata = 0;  // last line already warned about as ignored
  std::map<std::string, std::int64_t, std::less<>> avvisi_per_nome;
  std::array<std::int32_t, numero_elementi> origini_per_elemento{};
  posa_montagne* montagne = nullptr;  // while the line body is read

  // Sizes of the cells and the plan the last length line asked for: they are made
  // once, when the header ends, so a repeated length line costs nothing.
  std::optional<std::size_t> celle_richieste;
  std::optional<std::size_t> metri_richiesti;
  // The plan's last metre once made, whether or not it keeps coordinates; -1 before.
  std::int64_t ultimo_metro_piano = -1;

  std::int32_t slot_cartello = primo_slot_cartelli;
  // Each run's cursor, its value in force and the field that set it.
  std::int64_t cursore_pendenza = 0;
  std::int32_t pendenza_in_vigore = 0;
  luogo pendenza_da;
  std::int64_t metro_piano = 2;
  std::int64_t cursore_velocita = 0;
  std::int32_t velocita_in_vigore = 0;
  luogo velocita_da;
  std::int64_t cursore_aderenza = 0;
  std::int32_t aderenza_in_vigore = 0;
  luogo aderenza_da;
  std::int32_t numero_stazione = 1;

  // Reads the fields of k's row from the walk; the handler takes them one by one.
  void leggi_riga(const parola_chiave& k);

  // Takes the next number of the row into v; a read past the end or a value that
  // does not fit T records the general failure and returns false.
  template <typename T>
  bool leggi(T& v) {
    const campo_sorgente* f = prossimo_campo();
    if (f == nullptr) return false;
    const auto valore = arrotonda_in<T>(f->numero);
    if (!valore) {
      generale_a({f->riga, f->colonna});
      return false;
    }
    campi.push_back({f->riga, f->colonna});
    v = *valore;
    return true;
  }
  bool leggi_testo(std::string_view& v);
  // The next field of the row; nullptr, with the general failure recorded, past its end.
  const campo_sorgente* prossimo_campo();

  // Makes the cells and the plan the header asked for, all zero; a plan of counted
  // coordinates is only its extent.
  void crea_tabelle();

  // Starts a keyword line at field f.
  void nuova_chiave(const campo_sorgente& f);

  // Records a code at the current keyword line, or at its field number campo
  // (0 = the first field after the keyword), and stops.
  esito ferma(std::int32_t codice, int campo = -1);
  esito ferma_a(std::int32_t codice, std::int32_t posizione, int campo = -1);
  // Records the general failure at a field.
  esito generale_a(luogo l);
  // Records the general failure at the current keyword line.
  esito generale();

  // Records a warning at the current keyword line.
  void avvisa(const genere_constatazione& g, std::string messaggio);
  // Whether a warning of g would still be recorded: past the cap it is not worded.
  bool avvisa_ancora(const genere_constatazione& g) const;

  // Records where the feature of the current keyword line lies.
  void traccia(elemento e, std::int32_t inizio, std::int32_t fine, std::int32_t valore = 0);

  // A row at p is accepted while the cells reach margine past it.
  esito limite(std::int32_t p, std::int32_t margine = margine_comune);
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
