// Exit statuses and the usage errors every command shares.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "platform/errore_file.h"

namespace percorso {

inline constexpr int uscita_pulita = 0;
inline constexpr int uscita_rilievi = 1;
inline constexpr int uscita_uso = 2;
inline constexpr int uscita_interrotta = 3;

// Prints a usage error and where the command's help is; returns uscita_uso.
int errore_uso(std::ostream& err, std::string_view messaggio, std::string_view comando);

// The two texts LINEA and TRENO of a command, and the scenario name and train number
// taken from their file names when not given; an error text when that cannot be done.
std::optional<std::string> due_testi(std::span<const std::string_view> posizionali,
                                     std::string& linea, std::string& treno,
                                     std::optional<std::string>& nome,
                                     std::optional<std::string>& numero);

// Why a NOME or TRENO given on the command line cannot become part of a file name:
// a '/', a '\\' or ".." would take the files out of their folder, a control
// character (DEL too) has no place in a name, and Windows refuses < > : " | ? * on
// every system's behalf. Nothing when it can.
std::optional<std::string> nome_non_valido(std::string_view nome);

// The journals killed runs left where the command reads, each as a warning on err.
void avvisa_giornali(std::ostream& err, std::span<const errore_file> giornali);

// Whether the arguments ask for help.
bool chiede_aiuto(std::span<const std::string_view> argomenti);

}  // namespace percorso
