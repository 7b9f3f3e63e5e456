// The program's arguments and standard streams, as each system hands them over.
#pragma once

#include <string>
#include <vector>

namespace percorso {

// The arguments after the program's name, in UTF-8.
std::vector<std::string> argomenti_programma(int argc, char** argv);

// Standard output and error pass every byte unchanged (no CR LF added), in whole
// writes, and a console shows the program's UTF-8 as text, never half a character.
void prepara_console();

}  // namespace percorso
