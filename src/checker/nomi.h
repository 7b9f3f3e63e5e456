// The names of the checker's findings, as --no-warn takes them. Names shared with the
// compiler's warnings mean the same fault.
#pragma once

#include <string_view>

namespace percorso::controllo::nome {

// A field and its value.
inline constexpr std::string_view non_numero = "non-numero";
inline constexpr std::string_view separatore = "separatore";
inline constexpr std::string_view decimale = "decimale";
inline constexpr std::string_view fuori_larghezza = "fuori-larghezza";
inline constexpr std::string_view fuori_intervallo = "fuori-intervallo";
inline constexpr std::string_view non_multiplo = "non-multiplo";
inline constexpr std::string_view caratteri = "caratteri";
inline constexpr std::string_view troppo_lungo = "troppo-lungo";

// A row and its fields.
inline constexpr std::string_view campi_mancanti = "campi-mancanti";
inline constexpr std::string_view campi_in_piu = "campi-in-piu";
inline constexpr std::string_view piu_chiavi = "piu-chiavi";
inline constexpr std::string_view chiave_sconosciuta = "chiave-sconosciuta";
inline constexpr std::string_view fuori_sezione = "fuori-sezione";
inline constexpr std::string_view numeri_in_piu = "numeri-in-piu";
inline constexpr std::string_view trattino = "trattino";
inline constexpr std::string_view ultima_riga = "ultima-riga";
inline constexpr std::string_view prima_di_generale = "prima-di-generale";

// A whole text.
inline constexpr std::string_view senza_generale = "senza-generale";
inline constexpr std::string_view senza_lunghezza = "senza-lunghezza";
inline constexpr std::string_view testo_vuoto = "testo-vuoto";
inline constexpr std::string_view resto_non_compilato = "resto-non-compilato";

// What a row means on the line.
inline constexpr std::string_view oltre_linea = "oltre-linea";
inline constexpr std::string_view cella_occupata = "cella-occupata";
inline constexpr std::string_view orario_indietro = "orario-indietro";
inline constexpr std::string_view stazioni_vicine = "stazioni-vicine";
inline constexpr std::string_view stazione_all_inizio = "stazione-all-inizio";
inline constexpr std::string_view tabella_piena = "tabella-piena";
inline constexpr std::string_view classe_curva = "classe-curva";
inline constexpr std::string_view codici_ripetizione = "codici-ripetizione";
inline constexpr std::string_view tratto_vuoto = "tratto-vuoto";
inline constexpr std::string_view segnale_vicino_inizio = "segnale-vicino-inizio";
inline constexpr std::string_view rallentamento_senza_avviso = "rallentamento-senza-avviso";
inline constexpr std::string_view profilo_indietro = "profilo-indietro";
inline constexpr std::string_view curve_sovrapposte = "curve-sovrapposte";
inline constexpr std::string_view stazione_senza_celle = "stazione-senza-celle";

inline constexpr std::string_view tutti[] = {
    non_numero,
    separatore,
    decimale,
    fuori_larghezza,
    fuori_intervallo,
    non_multiplo,
    caratteri,
    troppo_lungo,
    campi_mancanti,
    campi_in_piu,
    piu_chiavi,
    chiave_sconosciuta,
    fuori_sezione,
    numeri_in_piu,
    trattino,
    ultima_riga,
    prima_di_generale,
    senza_generale,
    senza_lunghezza,
    testo_vuoto,
    resto_non_compilato,
    oltre_linea,
    cella_occupata,
    orario_indietro,
    stazioni_vicine,
    stazione_all_inizio,
    tabella_piena,
    classe_curva,
    codici_ripetizione,
    tratto_vuoto,
    segnale_vicino_inizio,
    rallentamento_senza_avviso,
    profilo_indietro,
    curve_sovrapposte,
    stazione_senza_celle,
};

}  // namespace percorso::controllo::nome
