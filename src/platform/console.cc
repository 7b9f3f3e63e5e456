#include "platform/console.h"

namespace percorso {

std::vector<std::string> argomenti_programma(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

// The standard streams already pass bytes unchanged, and terminals take UTF-8.
void prepara_console() {}

}  // namespace percorso
