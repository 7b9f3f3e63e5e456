// What explain tells: a keyword's row field by field from the keyword table, or
// the list of keywords, codes and names of findings.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sintassi/parole_chiave.h"

namespace percorso {

// One keyword's row as explain shows it: part, test, fields in order, example.
std::string scheda_parola(const parola_chiave& k);

// One field, numbered n: "  3 lunghezza (metri, intero a 32 bit): da 0 a 1000000" and
// its meaning on the next line.
std::string scheda_campo(std::size_t n, const campo_formato& f);

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
