// The inspect command, and the reading of compiled files that plot shares with it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/modello.h"
#include "output/decodifica.h"
#include "platform/file_system.h"

namespace percorso {

std::string_view aiuto_inspect();

// percorso inspect FILE... [--json]
int comando_inspect(std::span<const std::string_view> argomenti, std::ostream& out,
                    std::ostream& err, file_system& fs);

// Reads and decodes one compiled file; the error message names the file.
decodificato<std::vector<cella>> leggi_celle(file_system& fs, const std::string& file);
decodificato<std::array<punto, numero_punti>> leggi_punti(file_system& fs, const std::string& file);
decodificato<piano_letto> leggi_piano(file_system& fs, const std::string& file);

// The point file beside a cell file (same name, .sim) and back.
std::string punti_accanto(std::string_view file_celle);
std::string celle_accanto(std::string_view file_punti);
// The plan file of a cell file's scenario: NOME_linea.dat in the same folder,
// NOME taken from the point table when there is one, else from the file name.
std::string piano_accanto(std::string_view file_celle,
                          const std::array<punto, numero_punti>* punti);

// Slots of the point table by use: stations grow from slot 1, board texts
// from slot 80 down; whatever else is filled below the fixed slots is apart.
struct voci_divise {
  std::vector<int> stazioni, cartelli, altre;
};
voci_divise dividi_voci(const std::array<punto, numero_punti>& punti);

// Short Italian name of a cell event code.
std::string_view nome_evento(std::uint8_t codice);

}  // namespace percorso
