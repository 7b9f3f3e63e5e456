// The notes for the driver. Lines are broken as written; the trailing blanks
// where a sentence goes on, and the author's spelling, are kept on purpose.
#include "writers/testi.h"

namespace percorso {

// clang-format off
static constexpr std::string_view righe[] = {
    "Simulazione del treno IC 917 'Ardesia' nel tratto Varmena Centrale - Ostrana.",
    "La linea attualmente a binario unico in alcuni tratti, verra' interessata da ",
    "due varianti, che la renderanno tutta a doppio binario tranne il piccolo tratto",
    "che va dal segnale di protezione esterno di Liverna alla stessa stazione.",
    "La prima variante verra' inaugurata il giono 30.05.01 ed interessera' il",
    "tratto Liverna-Casalverde con attivazione in fase successiva delle stazioni",
    "di Belfiore e di Poggio Marino-San Vitaliano. Nel nuovo tratto vi sono",
    "quattro gallerie.",
    "La seconda variante verra' attivata probabilmente fra un paio di anni ed ",
    "interessera' il tratto Roccaforte-Valdaspra.",
    "Nella simulazione sono presenti entrambe le varianti, le nuove gallerie si ",
    "riconoscono dal cartello che ne indica il nome e la lunghezza.",
    "La stazione di Liverna e' munita di due successivi segnali di protezione: il",
    "primo (esterno) protegge la comunicazione di passaggio dal binario dispari al",
    "tratto di binario unico. Nella simulazione il suddetto segnale e' disposto per",
    "la deviata, anche se poi sugli scambi il treno non devia.",
    "La ripetizione dei segnali non e' attiva sul quel tratto e non mi risulta che",
    "venga attivata con l' entrata in funzione delle due varianti.",
    "L'orario di impostazione non e' reale dato che la variante di prossima ",
    "inaugurazione ridurra' di molto i tempi di percorrenza.",
    "                 ",
    "                 Buon divertimento",
    "                                        Marco Fabbri",
    "                           (Circolo Ferroviario Varmenese)",
};
// clang-format on

std::span<const std::string_view> righe_note() {
  return righe;
}

}  // namespace percorso
