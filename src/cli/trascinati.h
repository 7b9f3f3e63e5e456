// Two texts dropped on the program's icon: Windows starts it with their paths, no
// command and no console of its own. It compiles them as compile --documents would,
// beside the line text, and tells the result in a message box.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "cli/compila.h"
#include "platform/file_system.h"
#include "platform/finestra.h"

namespace percorso {

// The line text and the train text among two arguments given in either order, by their
// names; nothing when they are not one of each.
std::optional<std::pair<std::string, std::string>> testi_trascinati(
    std::span<const std::string_view> argomenti);

// What the box says of a compilation: its summary line, then its first findings, each
// with its row.
std::string testo_del_riquadro(const corsa_compile& c);

// Compiles the dropped texts while finestra asks to wait, then shows the result in its
// box, with an error icon when the run failed; the exit status.
int compila_trascinati(const std::string& linea, const std::string& treno,
                       finestra_attesa& finestra, file_system& fs);

}  // namespace percorso
