#include "sintassi/sezioni.h"

namespace percorso {
namespace {

// The compiler looks at "[generale]" and, in the line text, at the first header after
// it; the other headers only gather rows for a reader.
constexpr std::string_view per_abitudine = "facoltativa";
constexpr std::string_view nulla_cambia = "nulla cambia";
constexpr std::string_view ultimo_campo =
    "l'ultimo campo del testo, che il compilatore non legge mai come parola chiave";
constexpr std::string_view senza_fine =
    "l'ultimo campo del testo non e' letto: una parola chiave sola in fondo si perde (avviso "
    "ultima-riga); una riga con i suoi numeri vale";

constexpr sezione_testo tabella[] = {
    {true, "[generale]", "necessaria",
     "apre la parte letta, tutto cio' che la precede e' saltato; poi l'intestazione della linea: "
     "lunghezza percorso, progressiva chilometrica uno, due e tre, sfondo uno, due e tre, "
     "ripetizione segnali",
     "errore 102: niente e' compilato, nessuna cella e nessun file binario"},
    {true, "[curve]", "necessaria, o un'altra intestazione al suo posto",
     "le righe curva; come prima intestazione dopo [generale] chiude l'intestazione della linea: "
     "da qui il corpo, dove curva, pendenza, montagna, indicatori_vmax e cartello_indicatore "
     "valgono in qualunque ordine",
     "se dopo [generale] non viene nessuna intestazione, tutto il resto e' letto come "
     "intestazione: nessuna riga del corpo ha effetto (errore fuori-sezione)"},
    {true, "[pendenze]", per_abitudine, "le righe pendenza", nulla_cambia},
    {true, "[montagne]", per_abitudine, "le righe montagna", nulla_cambia},
    {true, "[cartelli]", per_abitudine, "le righe indicatori_vmax", nulla_cambia},
    {true, "[indicazioni]", per_abitudine, "le righe cartello_indicatore", nulla_cambia},
    {true, "[fine]", "consigliata", ultimo_campo, senza_fine},
    {false, "[generale]", "necessaria",
     "apre la parte letta, tutto cio' che la precede e' saltato; poi ogni parola chiave del "
     "treno vale in qualunque ordine; qui numero vetture, percentuale massa frenata, sabbia, "
     "orologio",
     "niente del testo del treno e' letto, senza errore del compilatore (check: "
     "senza-generale): nessuna stazione, nessun segnale, velocita' 0 in ogni cella"},
    {false, "[aderenze]", per_abitudine, "le righe aderenza", nulla_cambia},
    {false, "[vel_limite]", per_abitudine, "le righe velocita", nulla_cambia},
    {false, "[stazioni]", per_abitudine, "le righe stazione, in ordine di linea", nulla_cambia},
    {false, "[rallentamenti]", per_abitudine, "le righe rallentamento", nulla_cambia},
    {false, "[segnali]", per_abitudine, "le righe segnale", nulla_cambia},
    {false, "[codici]", per_abitudine,
     "vuota nello scenario incorporato: nessuna parola chiave le appartiene", nulla_cambia},
    {false, "[fine]", "consigliata", ultimo_campo, senza_fine},
};

}  // namespace

std::span<const sezione_testo> sezioni_testi() {
  return tabella;
}

}  // namespace percorso
