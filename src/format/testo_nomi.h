// Names and board texts as they are shown in XML and HTML documents, by one rule.
#pragma once

#include <string>
#include <string_view>

namespace percorso {

// Text with the five XML special characters escaped and control bytes dropped; a whole
// UTF-8 sequence stays as it is, a lone byte from 0xA0 up is read as Latin-1 (names are
// single-byte texts), any other byte becomes '?'. Safe in elements and quoted attributes
// of XML and HTML alike.
std::string testo_xml(std::string_view t);

}  // namespace percorso
