// The decompile run: the compiled files read through the platform's seam, the two texts
// the decompile feature rebuilds written beside them or into a folder of their own, and
// the proof: compiled in memory under the point file's names, the texts must give every
// byte of the files back.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/scrittura_testi.h"
#include "decompile/decompila.h"
#include "model/modello.h"
#include "platform/file_system.h"

namespace percorso {

// A compiled file as read: its name and its bytes.
struct file_letto {
  std::string percorso;
  std::vector<std::uint8_t> byte;
};

struct compilati_letti {
  file_letto celle, punti;
  std::optional<file_letto> piano;
  std::size_t metri_piano = 0;
  std::string piano_cercato;  // where the plan was looked for
  std::vector<cella> valori_celle;
  std::array<punto, numero_punti> valori_punti{};
  std::optional<std::string> errore;  // why the files cannot be decompiled
};

// Reads the cell file, the point file beside it (required: it names the texts) and the
// plan beside it, found as plot finds it; a plan that is not there is no fault.
compilati_letti leggi_compilati(file_system& fs, const std::string& file_celle);

// The texts of the files read.
decompilazione testi_dei_compilati(const compilati_letti& f);

// The first byte where the texts do not give the files back, and what it is.
struct differenza {
  std::string file;
  std::size_t byte = 0;
  std::string dove;  // "cella 12, campo ripetizione"; why, when the compile wrote nothing
};

// The proof: the texts compiled in memory, with the plan when the files have one.
std::optional<differenza> prova_dei_testi(const compilati_letti& f, const decompilazione& d);

struct esito_decompilazione {
  decompilazione testi;
  std::string file_linea, file_treno;
  esito_testi scrittura;
  std::optional<std::string> errore;  // why nothing was written
  std::optional<differenza> diversa;
  // The rows only there for the bytes that check flags, by text and line.
  std::set<std::pair<fonte, std::int32_t>> segnalate;
};

// Writes the texts of f into cartella (never over a file already there unless forza),
// then proves them.
esito_decompilazione decompila_e_prova(file_system& fs, const compilati_letti& f,
                                       const std::string& cartella, bool forza);

}  // namespace percorso
