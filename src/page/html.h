// Writing HTML safely: every text that comes from a source text goes through testo_xml.
#pragma once

#include <string>
#include <string_view>

#include "format/testo_nomi.h"

namespace percorso {

// Appends <tag attributi>text</tag>, the text escaped; attributi are written as given.
inline void elemento_html(std::string& out, std::string_view tag, std::string_view attributi,
                          std::string_view testo) {
  out.append("<").append(tag);
  if (!attributi.empty()) out.append(" ").append(attributi);
  out.append(">").append(testo_xml(testo)).append("</").append(tag).append(">");
}

}  // namespace percorso
