// File names of a scenario, built from its name and train number, and read back:
// which compiled file a name is, and which files belong beside it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/modello.h"

namespace percorso {

// Names of the texts and compiled files of the scenario in m.
std::string nome_testo_linea(const modello& m);
std::string nome_testo_treno(const modello& m);
std::string nome_note(const modello& m);
std::string nome_rallentamenti(const modello& m);
std::string nome_scheda(const modello& m);
std::string nome_file_piano(const modello& m);
std::string nome_file_punti(const modello& m);
std::string nome_file_celle(const modello& m);
// The route page, NOME_TRENO.html.
std::string nome_pagina(const modello& m);

// The texts' names are read as the system compares names: on Windows without regard
// to the case of the endings and of NOME (VALLE_LINEA.TXT), elsewhere byte for byte.
// NOME from the base name NOME_linea.txt; nothing for another name.
std::optional<std::string> nome_da_testo_linea(std::string_view base);
// Whether the base name ends as a train text's, in "-.txt".
bool nome_di_testo_treno(std::string_view base);
// TRENO from the base name NOME_TRENO-.txt of the scenario nome; nothing for another name.
std::optional<std::string> treno_da_testo_treno(std::string_view base, std::string_view nome);

// The three compiled files.
enum class tipo_file { celle, punti, piano };

// What a file is by its name: NOME_linea.dat, *.sim, other *.dat.
std::optional<tipo_file> tipo_dal_nome(std::string_view file);
// "di celle", "dei punti", "del tracciato": to follow "file".
std::string_view nome_tipo(tipo_file t);

// The point file beside a cell file (same name, .sim) and back.
std::string punti_accanto(std::string_view file_celle);
std::string celle_accanto(std::string_view file_punti);
// Base name of the plan file of a cell file's scenario, NOME_linea.dat: NOME from
// the point table when there is one, else from the cell file's base name NOME_TRENO.dat.
std::string nome_piano_per(std::string_view base_celle,
                           const std::array<punto, numero_punti>* punti);

}  // namespace percorso
