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

// Field i of k's row, numbered i + 1: "  3 lunghezza (metri, intero a 32 bit): da 0 a
// 1000000", then its meaning, its values with a meaning of their own, where the compiler
// puts it, what it does at the limits and what the embedded scenario writes there.
std::string scheda_campo(const parola_chiave& k, std::size_t i);

// The sections of the texts ("sezioni") or the rule of the file names ("nomi"). The
// finding named nome from the table of findings: its level, code, explanation and
// message. Otherwise the rows of the keywords called nome, or whose test piece or test
// nome passes: where they go, how they are recognised, their fields in order as
// scheda_campo tells them, and an example. Nothing when none answers to nome.
std::optional<std::string> spiega_parola(std::string_view nome);

// The words explain takes: sezioni, nomi, the keywords and the findings.
std::vector<std::string_view> nomi_parole();

// The words for the format, the keywords of both texts, the codes with their meaning,
// and the names --no-warn takes.
std::string indice_spiegazioni();

}  // namespace percorso
