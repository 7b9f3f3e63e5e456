// The command line of the program.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "platform/file_system.h"

namespace percorso {

// Exit statuses of every command.
inline constexpr int uscita_pulita = 0;
inline constexpr int uscita_rilievi = 1;
inline constexpr int uscita_uso = 2;
inline constexpr int uscita_interrotta = 3;

// Runs the command given by the arguments (without the program name).
int esegui_comando(std::span<const std::string_view> argomenti, std::ostream& out,
                   std::ostream& err, file_system& fs);

}  // namespace percorso
