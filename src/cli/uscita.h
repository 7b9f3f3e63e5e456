// Exit statuses and the usage errors every command shares.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace percorso {

inline constexpr int uscita_pulita = 0;
inline constexpr int uscita_rilievi = 1;
inline constexpr int uscita_uso = 2;
inline constexpr int uscita_interrotta = 3;

// Prints a usage error and where the command's help is; returns uscita_uso.
int errore_uso(std::ostream& err, std::string_view messaggio, std::string_view comando);

// Whether the arguments ask for help.
bool chiede_aiuto(std::span<const std::string_view> argomenti);

}  // namespace percorso
