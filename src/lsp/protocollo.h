// The program's records as protocol objects.
#pragma once

#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "lsp/azioni.h"
#include "lsp/diagnostiche.h"
#include "lsp/tabella.h"

namespace percorso::lsp {

using json = nlohmann::json;

// The URI of each text of a pair.
using uri_del_testo = std::function<std::string(fonte)>;

// A range on one line, from 1-based byte columns.
json intervallo(std::int32_t riga, std::int32_t inizio, std::int32_t fine);

json diagnostica_json(const diagnostica& d, const uri_del_testo& uri);

json proposta_json(const proposta& p, std::int32_t riga, std::int32_t inizio, std::int32_t fine);

// The outline: rows nested under the section header before them.
json simboli_json(const std::vector<simbolo>& s);

json azione_json(const correzione& c, const json& diagnostica, const std::string& uri);

// The answer to a request, with its result or an error.
json risposta(const json& id, json risultato);
json errore(const json& id, int codice, const std::string& messaggio);

// Codes of JSON-RPC and of the protocol.
inline constexpr int errore_sintassi = -32700;
inline constexpr int richiesta_non_valida = -32600;
inline constexpr int metodo_sconosciuto = -32601;
inline constexpr int parametri_non_validi = -32602;
inline constexpr int errore_interno = -32603;
inline constexpr int non_inizializzato = -32002;

}  // namespace percorso::lsp
