// The station rows, from the point table: an entry holds every number of its row but the
// length, which its area gives back, and the split of its time. The last entry may be a
// row the compile stopped on: then the row is cut where the reading stopped, and it ends
// the text.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "decompile/problemi.h"
#include "decompile/righe.h"
#include "model/modello.h"

namespace percorso {

// How a row ends the reading of its text.
enum class arresto : std::uint8_t {
  nessuno,
  fine_testo,  // a position past the cells: the text ends there, its tails still run
  ferma,       // the compile stops there: no tail, nothing after it
};

struct stazione_ricostruita {
  std::int32_t voce = 0;  // its slot in the point table, its number
  riga_testo riga;
  enum arresto arresto = arresto::nessuno;
  std::int64_t cella_fermata = -1;          // -1: no stop cell
  std::vector<std::int64_t> avvicinamento;  // cells that take 81, 82, ... before the stop cell
};

struct stazioni_ricostruite {
  std::vector<stazione_ricostruita> stazioni;
  bool orari = false;           // a time was split into hours, minutes and seconds
  bool campi_azzerati = false;  // a field 5 or 6 the compiler sets to 0 was guessed
  problemi guasti;
};

// The stations of slots 1 up to the one before prima_voce_cartelli, the lowest slot of a
// board text, on a line of ultima_cella cells.
stazioni_ricostruite stazioni_dai_punti(const std::array<punto, numero_punti>& punti,
                                        std::int32_t prima_voce_cartelli,
                                        std::int64_t ultima_cella);

// Whether a name or a board text is read back as it stands: a text field ends at a
// comma or a line end and loses the blanks around it.
bool nome_scrivibile(const std::string& nome);

}  // namespace percorso
