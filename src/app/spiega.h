// What explain tells: a keyword's row field by field from the keyword table, or
// the list of keywords, codes and names of findings.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace percorso {

// The finding named nome from the table of findings: its level, code, explanation
// and message. Otherwise the rows of the keywords called nome, or whose test piece
// or test nome passes: where they go, how they are recognised, their fields in
// order with width, unit, range and meaning, and an example. Nothing when neither
// answers to nome.
std::optional<std::string> spiega_parola(std::string_view nome);

// The names of the keywords and of the findings, as explain takes them.
std::vector<std::string_view> nomi_parole();

// The keywords of both texts, the codes with their meaning, and the names --no-warn takes.
std::string indice_spiegazioni();

}  // namespace percorso
