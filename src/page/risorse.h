// The style sheet and the scripts every page carries inline.
#pragma once

#include <string_view>

namespace percorso {

std::string_view stile_pagina();

// First in the head: records script errors in the document, where tests can read them.
std::string_view script_errori();

// Last in the body: pointing at the drawing, marking chosen rows, reloading in watch mode.
// It reads the data of dati_script from window.PERCORSO_DATI.
std::string_view script_pagina();

}  // namespace percorso
