#include "sintassi/parole_chiave.h"

#include <array>
#include <limits>

namespace percorso {
namespace {

constexpr std::int64_t min_32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t max_32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t metri_massimi = 1000000;
constexpr std::int64_t velocita_massima = 1275;  // 255 fifths of a km/h in a cell

constexpr std::string_view non_specificato = "significato per il simulatore non specificato";

// A position whose cell, and what happens there, the keyword decides.
constexpr campo_formato posizione(std::string_view compilatore, std::string_view ai_limiti) {
  return {"posizione",      larghezza::s32,
          "metri",          0,
          metri_massimi,    1,
          ruolo::posizione, "distanza dall'inizio della linea",
          compilatore,      ai_limiti};
}

// The position of a run of the profile: the cells up to its own keep the earlier value.
constexpr campo_formato posizione_profilo = posizione(
    "dalla cella round(posizione / 50) in poi vale il valore di questa riga; le celle "
    "prima, dall'ultima riempita, tengono quello della riga precedente dello stesso tipo",
    "una posizione dietro la riga precedente dello stesso tipo riempie comunque una cella "
    "(avviso profilo-indietro); se (posizione + 100) / 50 supera l'ultima cella: errore "
    "15, il resto del testo non e' letto");

constexpr campo_formato campi_lunghezza[] = {
    {"lunghezza", larghezza::s32, "metri", 1, metri_massimi, 1, ruolo::valore,
     "lunghezza della linea",
     "valore_2 della voce 84 del file dei punti; le celle coprono la linea e 7000 m oltre: "
     "round((lunghezza + 7000) / 50) + 1 celle da 50 m; il tracciato ha un punto per metro fino "
     "a lunghezza + 7000",
     "oltre 1000000: errore 1, nessuna cella e nessun file binario; senza questa riga nessuna "
     "cella e nessun file binario; con piu' righe vale l'ultima"},
};

constexpr valore_campo valori_correzione[] = {
    {0, 0, "0", "nessuna correzione"},
    {1, 1, "1", "il compilatore aggiunge 100 m alla progressiva"},
    {min_32, max_32, "altri", "nessuna correzione"},
};

constexpr campo_formato campi_progressiva[] = {
    {"inizio", larghezza::s32, "metri", 0, metri_massimi, 50, ruolo::posizione,
     "posizione lungo la linea da cui conta questo riferimento: lega la distanza dall'inizio alla "
     "progressiva chilometrica della ferrovia",
     "le tre righe progressiva vanno nelle voci 81, 82 e 83 del file dei punti (valore_1, "
     "valore_2, valore_3) ordinate per inizio: la 81 a quella che inizia piu' avanti; a parita' "
     "va prima uno, poi due, poi tre; se nessuna ha un inizio, va nella 81 la prima con una "
     "progressiva, nell'ordine uno, due, tre (senza progressive tutte a 0)",
     "non multiplo di 50: errore 2, detto a fine compilazione (i file sono scritti)"},
    {"progressiva", larghezza::s32, "metri", 0, max_32 - 100, 50, ruolo::valore,
     "progressiva chilometrica in quel punto, in metri: 350000 e' il km 350+000",
     "valore_2 della voce (81-83) che tocca alla riga; pagina, plot, inspect e i messaggi contano "
     "da qui i chilometri della linea",
     "non multipla di 50: errore 2, detto a fine compilazione (i file sono scritti)"},
    {"correzione", larghezza::s32, "", 0, 1, 1, ruolo::valore,
     "correzione di 100 m della progressiva; altro significato per il simulatore: non "
     "specificato",
     "valore_3 della voce (81-83) che tocca alla riga; con 1 il compilatore somma 100 al suo "
     "valore_2",
     "un valore diverso da 0 e 1 e' scritto com'e' e non corregge nulla", valori_correzione},
};

// The three backgrounds go to three values of slot 85, two and three crossed.
constexpr campo_formato campo_sfondo(std::string_view compilatore) {
  return {"sfondo",
          larghezza::s32,
          "",
          min_32,
          max_32,
          1,
          ruolo::valore,
          "selettore dello sfondo; che cosa mostri il simulatore per ogni valore: non "
          "specificato",
          compilatore,
          "ogni intero a 32 bit e' scritto com'e'"};
}
constexpr campo_formato campi_sfondo_uno[] = {campo_sfondo("valore_1 della voce 85")};
constexpr campo_formato campi_sfondo_due[] = {
    campo_sfondo("valore_3 della voce 85 (non valore_2: due e tre sono incrociati)")};
constexpr campo_formato campi_sfondo_tre[] = {
    campo_sfondo("valore_2 della voce 85 (non valore_3: due e tre sono incrociati)")};

constexpr valore_campo valori_distanza_2[] = {
    {0, 0, "0", "il numero di codici ripetuti (valore_3 della voce 86) diventa 0"},
};

constexpr campo_formato campi_ripetizione[] = {
    {"distanza_1", larghezza::s32, "metri", 0, metri_massimi, 50, ruolo::valore,
     "prima distanza della ripetizione dei segnali; che cosa ne faccia il simulatore: non "
     "specificato",
     "valore_1 della voce 86; le celle non cambiano: i codici di ripetizione di ogni segnale "
     "stanno sempre 100, 200, 300 e 400 m prima",
     "non multipla di 50: errore 3, la compilazione si ferma"},
    {"distanza_2", larghezza::s32, "metri", 0, metri_massimi, 50, ruolo::valore,
     "seconda distanza della ripetizione dei segnali; che cosa ne faccia il simulatore: non "
     "specificato",
     "valore_2 della voce 86", "non multipla di 50: errore 4, la compilazione si ferma",
     valori_distanza_2},
};

constexpr valore_campo valori_ripetizione[] = {
    {4, 4, "4", "4 codici: valore_3 della voce 86 = 4"},
    {9, 9, "9", "9 codici: valore_3 della voce 86 = 9 (se la parola chiave non contiene 4)"},
    {min_32, max_32, "nessuno dei due", "errore 5, la compilazione si ferma"},
};

constexpr campo_formato campi_pendenza[] = {
    posizione_profilo,
    {"pendenza", larghezza::s32, "per mille", -100, 155, 1, ruolo::valore,
     "pendenza della linea da qui in poi, con il segno: negativa in discesa, positiva in salita "
     "(l'unita' non e' specificata; questo programma la disegna in per mille)",
     "il byte pendenza di ogni cella tiene pendenza + 100 (97 per -3)",
     "fuori da -100..155 il byte tiene gli 8 bit bassi (200 diventa 44, cioe' -56); prima della "
     "prima riga le celle hanno pendenza 0; le ultime 3 celle tengono il byte 0"},
};

constexpr valore_campo valori_curva[] = {
    {1, 1, "classe 1", "curvatura 0,0001 rad/m, raggio 10 km (la piu' larga)"},
    {2, 2, "classe 2", "curvatura 0,0002 rad/m, raggio 5 km"},
    {3, 3, "classe 3", "curvatura 0,0004 rad/m, raggio 2,5 km"},
    {4, 4, "classe 4", "curvatura 0,001 rad/m, raggio 1 km"},
    {5, 5, "classe 5", "curvatura 0,002 rad/m, raggio 500 m"},
    {6, 6, "classe 6", "curvatura 0,003 rad/m, raggio di circa 333 m"},
};

constexpr campo_formato campi_curva[] = {
    {"inizio", larghezza::s32, "metri", 0, metri_massimi, 1, ruolo::posizione,
     "inizio della curva: girano i metri da inizio + 1 a inizio + lunghezza",
     "il tracciato (NOME_linea.dat) va dritto fino a inizio, poi gira ogni metro della curvatura "
     "della classe; nessuna cella cambia",
     "un inizio dietro la fine della curva precedente accorcia questa curva (avviso "
     "curve-sovrapposte); se (inizio + 100) / 50 supera l'ultima cella: errore 15; oltre 1000000 "
     "m di tracciato: errore 103; con --no-plan la riga non e' letta"},
    {"lunghezza", larghezza::s32, "metri", 0, metri_massimi, 1, ruolo::estensione,
     "lunghezza della curva", "i metri del tracciato che girano",
     "0 non gira nessun metro; una curva che finisce oltre il tracciato (lunghezza della linea + "
     "7000 m) ferma la compilazione (errore 25)"},
};

constexpr valore_campo valori_montagna[] = {
    {0, 10, "da 0 a 10", "il tipo, senza segni"},
    {11, max_32, "da 11 in su",
     "tipo - 10, con un segno (evento 11) nella 4a, 8a, 12a... cella del tratto se e' vuota"},
};

constexpr campo_formato campi_montagna[] = {
    {"inizio", larghezza::s32, "metri", 0, metri_massimi, 1, ruolo::posizione, "inizio del tratto",
     "prima cella del tratto: round(inizio / 50)",
     "un inizio entro 150 m dalla fine del tratto della riga precedente (anche dentro) da' il tipo "
     "3; se (inizio + 100) / 50 supera l'ultima cella: errore 15"},
    {"fine", larghezza::s32, "metri", 0, metri_massimi, 1, ruolo::fine, "fine del tratto",
     "ultima cella del tratto: round(fine / 50 - 1)",
     "una fine prima dell'inizio non copre celle, ma il tratto conta come precedente della riga "
     "dopo; oltre le celle il tratto si ferma all'ultima"},
    {"tipo", larghezza::s32, "", 0, 20, 1, ruolo::valore,
     "tipo del lato montagna o della galleria; che cosa mostri il simulatore per ogni tipo: non "
     "specificato",
     "il byte montagna di ogni cella del tratto; dove piu' righe coprono una cella vale l'ultima; "
     "il compilatore scrive 3 per un tratto che inizia entro 150 m dalla fine del precedente",
     "il byte tiene gli 8 bit bassi del tipo", valori_montagna},
};

constexpr std::string_view celle_indicatori =
    "dato_1, dato_2 e dato_3 della cella (classi a, b, c) = velocita' del lato s x 20 + velocita' "
    "del lato d / 5: in passi di 5 km/h, il lato s nelle centinaia, il lato d sotto";
constexpr std::string_view limiti_indicatori =
    "una velocita' non multipla di 5 e' arrotondata al passo (quella del lato s si mescola con il "
    "lato d); oltre 495 km/h i due lati si mescolano; un lato s oltre 1638 km/h ferma la "
    "compilazione (errore 25)";

constexpr campo_formato velocita_indicatore(std::string_view nome, std::string_view significato) {
  return {nome,        larghezza::s32,   "km/h",           0, 495, 5, ruolo::valore,
          significato, celle_indicatori, limiti_indicatori};
}

// A field of one digit, which the cell packs with another.
constexpr campo_formato cifra(std::string_view nome, std::string_view significato,
                              std::string_view compilatore, std::string_view ai_limiti,
                              std::span<const valore_campo> valori = {}) {
  return {nome,          larghezza::s32, "",          0,         9,     1,
          ruolo::valore, significato,    compilatore, ai_limiti, valori};
}

constexpr campo_formato strisce(std::string_view nome, std::string_view significato,
                                std::string_view ai_limiti) {
  return cifra(nome, significato, "dato_4 della cella = strisces x 10 + strisced", ai_limiti);
}

constexpr campo_formato campi_indicatori[] = {
    posizione("cella round(posizione / 50 + 1), evento 6",
              "una cella gia' occupata: errore 21; nella cella 1 (sotto 25 m): errore "
              "1250, nessun file binario; se (posizione + 100) / 50 supera l'ultima "
              "cella: errore 15"),
    velocita_indicatore("vas",
                        "velocita' della classe a, lato s; che cosa siano le classi a, b, "
                        "c e i lati s e d per il simulatore: non specificato"),
    velocita_indicatore("vbs", "velocita' della classe b, lato s"),
    velocita_indicatore("vcs", "velocita' della classe c, lato s"),
    strisce("strisces",
            "numero di strisce del lato s; che cosa mostri il simulatore: non "
            "specificato",
            "oltre 9 si somma alle decine del lato d"),
    velocita_indicatore("vad", "velocita' della classe a, lato d"),
    velocita_indicatore("vbd", "velocita' della classe b, lato d"),
    velocita_indicatore("vcd", "velocita' della classe c, lato d"),
    strisce("strisced",
            "numero di strisce del lato d; che cosa mostri il simulatore: non "
            "specificato",
            "oltre 9 passa nelle decine, quelle del lato s"),
};

constexpr campo_formato campi_cartello[] = {
    posizione("cella round(posizione / 50 + 1), evento 14, con dato_1 = la voce del suo "
              "testo",
              "una cella gia' occupata (non da un segno di montagna): errore 6; nella "
              "cella 1 (sotto 25 m): errore 1250, nessun file binario; se (posizione + "
              "100) / 50 supera l'ultima cella: errore 15"),
    {"testo", larghezza::testo, "", 0, 0, 1, ruolo::nome,
     "testo del cartello, che il simulatore mostra in quella posizione",
     "nome di una voce del file dei punti, dalla 80 in giu' (una per cartello)",
     "finisce alla virgola o alla fine della riga; cartelli e stazioni dividono le voci da 1 a "
     "80: quando si incontrano, errore 10; caratteri Windows-1252"},
};

constexpr campo_formato campi_massa[] = {
    {"percentuale", larghezza::s32, "percento", 0, max_32, 1, ruolo::valore,
     "percentuale di massa frenata del treno",
     "valore_1 della voce 84; la scheda treno la mostra nell'intestazione",
     "ogni intero a 32 bit e' scritto com'e'"},
};

constexpr campo_formato campi_vetture[] = {
    {"vetture", larghezza::s32, "", 0, max_32, 1, ruolo::valore, "numero di vetture del treno",
     "valore_3 della voce 84", "ogni intero a 32 bit e' scritto com'e'"},
};

constexpr campo_formato campi_velocita[] = {
    posizione_profilo,
    {"velocita", larghezza::s32, "km/h", 0, velocita_massima, 5, ruolo::valore,
     "velocita' massima della linea da qui in poi",
     "il byte velocita di ogni cella tiene velocita / 5, arrotondata: 62 km/h diventa 60",
     "oltre 1277 km/h o sotto -2 la compilazione si ferma (errore 25) quando la velocita' arriva "
     "a una cella; prima della prima riga le celle hanno 0 km/h, e cosi' le ultime 3"},
};

constexpr campo_formato campi_aderenza[] = {
    posizione_profilo,
    {"aderenza", larghezza::s32, "", 0, 255, 1, ruolo::valore,
     "aderenza da qui in poi; che cosa significhi ogni valore per il simulatore: non specificato",
     "il byte aderenza di ogni cella",
     "oltre 255 il byte tiene gli 8 bit bassi (300 diventa 44); prima della prima riga le celle "
     "hanno 0, e cosi' le ultime 3"},
};

constexpr std::string_view orologio_scritto =
    "interi a 16 bit scritti come sono: check segnala ore oltre 23 e minuti o secondi oltre 59";

constexpr campo_formato campi_orologio[] = {
    {"ore", larghezza::s16, "ore", 0, 23, 1, ruolo::ore, "ora dell'orologio all'inizio della corsa",
     "parametro_3 della voce 86", orologio_scritto},
    {"minuti", larghezza::s16, "minuti", 0, 59, 1, ruolo::minuti, "minuti dell'orologio",
     "parametro_4 della voce 86", orologio_scritto},
    {"secondi", larghezza::s16, "secondi", 0, 59, 1, ruolo::secondi, "secondi dell'orologio",
     "parametro_5 della voce 86", orologio_scritto},
};

constexpr campo_formato campi_sabbia[] = {
    {"sabbia", larghezza::s16, "", 0, 32767, 1, ruolo::valore,
     "quantita' di sabbia a bordo (unita' non specificata)", "parametro_1 della voce 86",
     "un intero a 16 bit: oltre 32767 la compilazione si ferma (errore 25)"},
};

constexpr valore_campo valori_sx[] = {
    {0, 1, "0, 1", non_specificato},
    {2, 2, "2", "il segnale porta un tempo (campo tempo)"},
};

constexpr valore_campo valori_dx[] = {
    {0, 2, "0, 1, 2", non_specificato},
};

constexpr std::string_view tipi_segnale =
    "dato_4 della cella = rapp x 10 + sx x 3 + dx; i codici di ripetizione (sx x 3 + dx) x 10 + k "
    "nelle celle 100 x k m prima (k da 1 a 4)";

constexpr campo_formato tipo_segnale(std::string_view nome, std::string_view significato,
                                     std::span<const valore_campo> valori) {
  return {nome,
          larghezza::s32,
          "",
          0,
          2,
          1,
          ruolo::valore,
          significato,
          tipi_segnale,
          "fuori da 0..2 i tipi dei due lati si mescolano in dato_4 e nei codici di ripetizione",
          valori};
}

constexpr valore_campo valori_codice[] = {
    {0, 9, "da 0 a 9", non_specificato},
};

constexpr campo_formato codice_segnale(std::string_view nome, std::string_view significato,
                                       std::string_view compilatore) {
  return cifra(nome, significato, compilatore,
               "oltre 9 si mescola con il codice dell'altro lato: la cella tiene solo s x 10 + d "
               "(16 bit bassi)",
               valori_codice);
}

constexpr valore_campo valori_tempo[] = {
    {1, 100, "da 1 a 100", "diventa 101"},
};

constexpr campo_formato campi_segnale[] = {
    posizione("cella round(posizione / 50 + 1), evento 1; le celle 2, 4, 6 e 8 prima "
              "(100-400 m) ricevono i codici di ripetizione",
              "una cella gia' occupata: errore 16; nella cella 1 (sotto 25 m): errore "
              "1250; sotto 325 m le celle di ripetizione prima dell'inizio sono omesse; "
              "se (posizione + 100) / 50 supera l'ultima cella: errore 15"),
    tipo_segnale("sx", "tipo del lato s", valori_sx),
    codice_segnale("s1", "primo codice del lato s (una cifra)",
                   "dato_1 della cella = s1 x 10 + d1"),
    codice_segnale("s2", "secondo codice del lato s", "dato_2 della cella = s2 x 10 + d2"),
    codice_segnale("s3", "terzo codice del lato s", "dato_3 della cella = s3 x 10 + d3"),
    cifra("rapp", "codice rapp (una cifra)", tipi_segnale,
          "oltre 9, o con sx x 3 + dx oltre 9, i valori si mescolano in dato_4", valori_codice),
    tipo_segnale("dx", "tipo del lato d", valori_dx),
    codice_segnale("d1", "primo codice del lato d", "dato_1 della cella = s1 x 10 + d1"),
    codice_segnale("d2", "secondo codice del lato d", "dato_2 della cella = s2 x 10 + d2"),
    codice_segnale("d3", "terzo codice del lato d", "dato_3 della cella = s3 x 10 + d3"),
    {"tempo", larghezza::s32, "", 0, 255, 1, ruolo::valore,
     "tempo di un segnale con sx 2 (unita' non specificata)",
     "tempo_segnale della cella, solo con sx 2 (altrimenti 0)",
     "da 1 a 100 diventa 101; oltre 255 il byte tiene gli 8 bit bassi (300 diventa 44)",
     valori_tempo},
};

constexpr valore_campo valori_f_ta[] = {
    {0, 0, "0", "nessun preavviso"},
    {min_32, max_32, "altri",
     "quattro celle di preavviso (evento 5) prima del cartello di avviso, numerate da 1 (la piu' "
     "vicina al cartello) a 4"},
};

constexpr valore_campo valori_d_v[] = {
    {0, 0, "0", "dato_2 delle celle resta com'era"},
};

constexpr campo_formato campi_rallentamento[] = {
    {"posizione", larghezza::s32, "metri", 0, metri_massimi, 1, ruolo::posizione,
     "inizio del rallentamento",
     "cella d'inizio round(posizione / 50 + 1), evento 3; oltre 1500 m il cartello di avviso "
     "1200 m prima, evento 4; il compilatore aggiunge punti di velocita' a 180 km/h davanti",
     "una cella occupata: errore 17 (avviso) o 18 (inizio); fino a 1500 m nessun avviso e nessun "
     "preavviso; se (posizione + 100) / 50 supera l'ultima cella: errore 15"},
    {"velocita", larghezza::s32, "km/h", 0, velocita_massima, 1, ruolo::valore,
     "velocita' del rallentamento",
     "dato_1 delle celle d'inizio, di fine e d'avviso; sotto 110 km/h il compilatore aggiunge un "
     "punto di velocita' ogni 400 m dentro e uno davanti al primo segnale dopo",
     "le celle tengono i 16 bit bassi"},
    {"lunghezza", larghezza::s32, "metri", 0, metri_massimi, 1, ruolo::estensione,
     "lunghezza del rallentamento",
     "cella di fine round((posizione + lunghezza) / 50 + 1), evento 2",
     "una cella di fine occupata: errore 19; inizio e fine nella stessa cella: resta l'inizio; "
     "una fine oltre le celle ferma la compilazione (errore 25)"},
    {"f_tt", larghezza::s32, "", -32768, 32767, 1, ruolo::valore,
     "valore scritto con l'inizio e la fine; significato per il simulatore non specificato",
     "dato_3 delle celle d'inizio e di fine", "le celle tengono i 16 bit bassi"},
    {"f_ta", larghezza::s32, "", 0, 1, 1, ruolo::valore,
     "non 0: anche le quattro celle di preavviso prima del cartello di avviso",
     "celle round((posizione - 1200) / 50) e le tre prima, evento 5",
     "solo oltre 1500 m; una di quelle celle occupata: errore 20 (inizio, fine e avviso restano "
     "scritti)",
     valori_f_ta},
    {"d_v", larghezza::s32, "km/h", 0, velocita_massima, 1, ruolo::valore,
     "seconda velocita', scritta quando non e' 0; significato per il simulatore non specificato",
     "dato_2 delle celle d'inizio, di fine e d'avviso; se non e' 0, anche le celle di preavviso "
     "hanno dato_2 = il loro numero",
     "le celle tengono i 16 bit bassi", valori_d_v},
};

constexpr valore_campo valori_abbattimento[] = {
    {min_32, 0, "0 o meno", "punto senza velocita': evento 13, dato_1 resta com'era"},
    {1, max_32, "da 1 in su", "evento 12, dato_1 = la velocita'"},
};

constexpr campo_formato campi_abbattimento[] = {
    posizione("cella round(posizione / 50), senza + 1",
              "una cella gia' occupata: errore 7; nella cella 1 (da 25 a 75 m) con una "
              "velocita': errore 1250; se (posizione + 100) / 50 supera l'ultima cella: "
              "errore 15"),
    {"velocita", larghezza::s32, "km/h", 0, velocita_massima, 1, ruolo::valore,
     "velocita' del punto di velocita'", "dato_1 della cella", "la cella tiene i 16 bit bassi",
     valori_abbattimento},
};

// Fields 4, 5 and 7 to 12 of a station: stored as read into its entry.
constexpr campo_formato attributo(std::string_view nome, larghezza l,
                                  std::string_view compilatore) {
  const bool byte = l == larghezza::u8;
  return {nome,
          l,
          "",
          byte ? 0 : -32768,
          byte ? 255 : 32767,
          1,
          ruolo::valore,
          "attributo della stazione; significato per il simulatore non specificato",
          compilatore,
          byte ? "fuori da 0..255 la compilazione si ferma (errore 25)"
               : "fuori da -32768..32767 la compilazione si ferma (errore 25)"};
}

constexpr valore_campo valori_tipo_stazione[] = {
    {5, 6, "5, 6",
     "area da posizione - lunghezza a posizione + 150; cella di fermata, senza codici di "
     "avvicinamento; il campo 6 non conta"},
    {7, 8, "7, 8",
     "area da posizione - lunghezza a posizione + lunghezza; cella di fermata e codici di "
     "avvicinamento; il campo 6 non conta"},
    {0, 24, "gli altri sotto 25",
     "area da posizione - lunghezza / 2 a posizione + lunghezza / 2, 50 m in piu' alla fine con "
     "il campo 6; cella di fermata e codici di avvicinamento"},
    {25, 255, "da 25 in su",
     "solo l'area: nessuna cella di fermata e nessun codice di avvicinamento (avviso "
     "stazione-senza-celle)"},
};

constexpr valore_campo valori_prolunga[] = {
    {0, 0, "0", "l'area finisce dove dice il tipo"},
    {1, 255, "da 1 a 255", "la fine dell'area 50 m piu' avanti (non per i tipi da 5 a 8)"},
};

constexpr std::string_view orario_stazione =
    "orario della voce = (ore x 60 + minuti) x 60 + secondi, in secondi dalla mezzanotte";
constexpr std::string_view orario_fuori =
    "valori fuori dall'ora del giorno sono calcolati lo stesso (check li segnala), e cosi' un "
    "orario prima di quello della stazione precedente (orario-indietro)";

constexpr campo_formato campi_stazione[] = {
    {"posizione", larghezza::s32, "metri", 0, metri_massimi, 50, ruolo::posizione,
     "posizione della stazione: l'area si misura da qui secondo il tipo",
     "valore_3 della voce della stazione nel file dei punti: voce 1 per la prima riga, 2 per la "
     "seconda...",
     "non multipla di 50: errore 8; se (posizione + 800) / 50 supera l'ultima cella: errore 15"},
    {"tipo", larghezza::u8, "", 0, 255, 1, ruolo::valore,
     "categoria della stazione o della fermata: decide l'area e le celle; che cosa distingua per "
     "il simulatore tipi che il compilatore tratta allo stesso modo (12 e 4): non specificato",
     "codice della voce; la cella di fermata, fine dell'area / 50 - 1, ha evento 10 e dato_1 = il "
     "numero della stazione, sopra qualunque evento; le quattro celle prima hanno i codici di "
     "avvicinamento 81-84 (81 la piu' vicina)",
     "oltre 255 la compilazione si ferma (errore 25); una cella di fermata entro la cella 1 (fine "
     "dell'area fino a 100 m): errore 24",
     valori_tipo_stazione},
    {"lunghezza", larghezza::s32, "metri", 0, metri_massimi, 100, ruolo::valore,
     "lunghezza dell'area della stazione",
     "non e' scritta: da' l'inizio e la fine dell'area (valore_1 e valore_2 della voce) secondo "
     "il tipo",
     "non multipla di 100: errore 9; sotto 600 m il campo 5 diventa 0; l'area deve iniziare "
     "almeno 350 m dopo la fine della stazione precedente (errore 22)"},
    attributo("opzione", larghezza::u8, "opzione della voce"),
    attributo("indicatore_4", larghezza::u8,
              "indicatore_4 della voce; 0 se la lunghezza e' sotto 600 m e per la prima stazione"),
    {"prolunga", larghezza::u8, "", 0, 255, 1, ruolo::valore,
     "non 0: la fine dell'area 50 m piu' avanti",
     "indicatore_3 della voce; 0 per i tipi da 5 a 8 e per la prima stazione (che tiene pero' i "
     "50 m in piu')",
     "fuori da 0..255 la compilazione si ferma (errore 25)", valori_prolunga},
    attributo("parametro_1", larghezza::s16, "parametro_1 della voce"),
    attributo("parametro_2", larghezza::s16, "parametro_2 della voce"),
    attributo("indicatore_1", larghezza::u8, "indicatore_1 della voce"),
    attributo("parametro_3", larghezza::s16, "parametro_3 della voce"),
    attributo("parametro_4", larghezza::s16, "parametro_4 della voce"),
    attributo("parametro_5", larghezza::s16, "parametro_5 della voce"),
    {"sosta", larghezza::u8, "secondi", 0, 255, 1, ruolo::valore,
     "sosta in secondi come la leggono la scheda treno di compile --documents e la pagina: arrivo "
     "= orario - sosta, partenza = orario (la riga dello scenario incorporato con 45 e 16:07:00 "
     "ha 16.06 - 16.07 nella sua scheda); per il simulatore non specificato",
     "indicatore_2 della voce",
     "oltre 255, una sosta di piu' di 4 minuti e 15 secondi, la compilazione si ferma (errore 25)"},
    {"ore", larghezza::s32, "ore", 0, 23, 1, ruolo::ore,
     "ora dell'orario della stazione; con ore, minuti e secondi a 0 la scheda treno e la pagina "
     "non mostrano un orario (per il simulatore non specificato)",
     orario_stazione, orario_fuori},
    {"minuti", larghezza::s32, "minuti", 0, 59, 1, ruolo::minuti, "minuti dell'orario",
     orario_stazione, orario_fuori},
    {"secondi", larghezza::s32, "secondi", 0, 59, 1, ruolo::secondi, "secondi dell'orario",
     orario_stazione, orario_fuori},
    // The train sheet's column of names is 27 characters wide.
    {"nome", larghezza::testo, "", 0, 27, 1, ruolo::nome, "nome della stazione", "nome della voce",
     "finisce alla virgola o alla fine della riga; oltre 27 caratteri la scheda treno lo taglia "
     "(avviso troppo-lungo); caratteri Windows-1252"},
};

using enum chiave;

constexpr parola_chiave tabella[] = {
    {lunghezza, "lunghezza percorso", parte::intestazione, "lunghezza", "percorso", false,
     campi_lunghezza, "lunghezza della linea: crea le celle, una ogni 50 m",
     "lunghezza percorso,    94000"},
    {progressiva_tre, "progressiva chilometrica tre", parte::intestazione, "progressiva", "tre",
     true, campi_progressiva, "terzo riferimento chilometrico",
     "progressiva chilometrica tre,    0,    0,    0"},
    {progressiva_due, "progressiva chilometrica due", parte::intestazione, "progressiva", "due",
     true, campi_progressiva, "secondo riferimento chilometrico",
     "progressiva chilometrica due,    0,    0,    0"},
    {progressiva_uno, "progressiva chilometrica uno", parte::intestazione, "progressiva", "uno",
     true, campi_progressiva, "primo riferimento chilometrico",
     "progressiva chilometrica uno,    0,    350000,    0"},
    {sfondo_uno, "sfondo uno", parte::intestazione, "sfondo", "uno", true, campi_sfondo_uno,
     "primo selettore dello sfondo", "sfondo uno,    0"},
    {sfondo_due, "sfondo due", parte::intestazione, "sfondo", "due", true, campi_sfondo_due,
     "secondo selettore dello sfondo", "sfondo due,    1"},
    {sfondo_tre, "sfondo tre", parte::intestazione, "sfondo", "tre", true, campi_sfondo_tre,
     "terzo selettore dello sfondo", "sfondo tre,    0"},
    {ripetizione, "ripetizione segnali", parte::intestazione, "segnali", "ripetizione", true,
     campi_ripetizione,
     "ripetizione dei segnali; la parola chiave contiene 4 o 9, il numero di codici ripetuti",
     "ripetizione segnali 4 codici,    0    ,0", valori_ripetizione},
    {pendenza, "pendenza", parte::corpo, "pendenza", "", false, campi_pendenza,
     "pendenza della linea da una posizione in poi", "pendenza, 300, -3"},
    {curva, "curva", parte::corpo, "curva", "", false, campi_curva,
     "curva del tracciato; la parola chiave contiene la classe (una cifra da 1 a 6, 1 la piu' "
     "larga; con piu' cifre conta la piu' bassa, senza nessuna errore 103) e 's' per una curva a "
     "sinistra, altrimenti e' a destra",
     "curvas4,   2296,    912", valori_curva},
    {montagna, "montagna", parte::corpo, "montagna", "", false, campi_montagna,
     "tratto con il lato montagna (o galleria)", "montagna,   3033,  3783,  12"},
    {indicatori, "indicatori_vmax", parte::corpo, "indicatori_v", "", false, campi_indicatori,
     "coppia di indicatori di velocita' massima, lati s e d",
     "indicatori_vmax,  2500,  105,  115,  125,  0,  105,  115,  125,  0"},
    {cartello, "cartello_indicatore", parte::corpo, "cartello", "indicat", false, campi_cartello,
     "cartello con un testo",
     "cartello_indicatore,  24000,   ( Galleria  )(   Castelvecchio   )( Ml. 2047  )"},
    {massa, "percentuale massa frenata", parte::treno, "frenata", "massa", false, campi_massa,
     "percentuale di massa frenata", "percentuale massa frenata,    125"},
    {vetture, "numero vetture", parte::treno, "vetture", "", false, campi_vetture,
     "numero di vetture del treno", "numero vetture,    12"},
    {velocita, "velocita", parte::treno, "velocit", "", false, campi_velocita,
     "velocita' massima della linea da una posizione in poi", "velocita,    1350,   125"},
    {aderenza, "aderenza", parte::treno, "aderenza", "", false, campi_aderenza,
     "aderenza da una posizione in poi", "aderenza,   0,    100"},
    {orologio, "orologio", parte::treno, "orologio", "", false, campi_orologio,
     "ora dell'orologio alla partenza; bastano gli spazi tra i numeri",
     "orologio,    15              32            30 "},
    {sabbia, "sabbia", parte::treno, "sabbia", "", false, campi_sabbia, "sabbia a bordo",
     "sabbia,    200"},
    {segnale, "segnale", parte::treno, "segnale", "", false, campi_segnale,
     "segnale; ripete i suoi codici 100, 200, 300 e 400 m prima",
     "segnale,    7000,   1, 4, 1,  0, 0,    1,  3,1,0, 0"},
    {rallentamento, "rallentamento", parte::treno, "rallentamento", "", false, campi_rallentamento,
     "rallentamento con inizio, fine e avviso 1200 m prima",
     "rallentamento,    2000,    60,  700, 0,  0,  60"},
    {abbattimento, "abbattimento", parte::treno, "abbattimento", "", false, campi_abbattimento,
     "punto di velocita'", "abbattimento,   30000,   80"},
    {stazione, "stazione", parte::treno, "stazione", "", false, campi_stazione,
     "stazione o altro punto dell'orario; in ordine di linea, almeno 350 m dopo la precedente",
     "stazione,    9150, 12,  500,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, CORNELLA"},
};

constexpr bool in_ordine() {
  for (std::size_t i = 0; i < std::size(tabella); ++i) {
    if (static_cast<std::size_t>(tabella[i].id) != i) return false;
  }
  return true;
}
static_assert(in_ordine(), "the table follows the order of chiave");

constexpr std::uint64_t bit_di(char c) {
  const char m = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  if (m >= 'a' && m <= 'z') return std::uint64_t{1} << (m - 'a');
  if (m >= '0' && m <= '9') return std::uint64_t{1} << (26 + m - '0');
  return std::uint64_t{1} << (36 + static_cast<unsigned char>(m) % 28);
}

constexpr std::uint64_t impronta_di(std::string_view t) {
  std::uint64_t i = 0;
  for (const char c : t) i |= bit_di(c);
  return i;
}

static_assert(std::size(tabella) == numero_parole);

bool ha(std::string_view campo, std::string_view pezzo, bool maiuscole_contano) {
  if (pezzo.empty()) return true;
  return maiuscole_contano ? campo.find(pezzo) != std::string_view::npos
                           : contiene_senza_maiuscole(campo, pezzo);
}

}  // namespace

const valore_campo* valore_di(std::span<const valore_campo> valori, std::int64_t v) {
  for (const valore_campo& x : valori)
    if (x.da <= v && v <= x.a) return &x;
  return nullptr;
}

char minuscola(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::span<const parola_chiave> parole_chiave() {
  return tabella;
}

const parola_chiave& parola(chiave k) {
  return tabella[static_cast<std::size_t>(k)];
}

const parola_chiave* parola_di_nome(std::string_view nome) {
  for (const parola_chiave& k : tabella) {
    if (k.nome == nome) return &k;
  }
  return nullptr;
}

bool contiene_senza_maiuscole(std::string_view campo, std::string_view pezzo) {
  if (pezzo.size() > campo.size()) return false;
  for (std::size_t i = 0; i + pezzo.size() <= campo.size(); ++i) {
    std::size_t j = 0;
    while (j < pezzo.size() && minuscola(campo[i + j]) == pezzo[j]) ++j;
    if (j == pezzo.size()) return true;
  }
  return false;
}

bool corrisponde(const parola_chiave& k, std::string_view campo) {
  return ha(campo, k.pezzo_1, k.maiuscole_contano) && ha(campo, k.pezzo_2, k.maiuscole_contano);
}

constinit const std::array<std::uint64_t, numero_parole> impronte_pezzi = [] {
  std::array<std::uint64_t, numero_parole> a{};
  for (std::size_t i = 0; i < a.size(); ++i)
    a[i] = impronta_di(tabella[i].pezzo_1) | impronta_di(tabella[i].pezzo_2);
  return a;
}();

static_assert(
    [] {
      for (const parola_chiave& k : tabella) {
        if (((impronta_di(k.pezzo_1) | impronta_di(k.pezzo_2)) & impronta_lettere) == 0)
          return false;
      }
      return true;
    }(),
    "every keyword holds a letter");

std::uint64_t impronta(std::string_view testo) {
  return impronta_di(testo);
}

bool intestazione_di_sezione(std::string_view campo) {
  return campo.find('[') != std::string_view::npos && campo.find(']') != std::string_view::npos;
}

std::int64_t minimo_larghezza(larghezza l) {
  switch (l) {
    case larghezza::s32:
      return min_32;
    case larghezza::s16:
      return std::numeric_limits<std::int16_t>::min();
    default:
      return 0;
  }
}

std::int64_t massimo_larghezza(larghezza l) {
  switch (l) {
    case larghezza::s32:
      return max_32;
    case larghezza::s16:
      return std::numeric_limits<std::int16_t>::max();
    case larghezza::u8:
      return std::numeric_limits<std::uint8_t>::max();
    default:
      return 0;
  }
}

std::string da_a(std::int64_t minimo, std::int64_t massimo) {
  std::string s = "da " + std::to_string(minimo);
  if (massimo == max_32 && minimo >= 0) return s.append(" in su");
  return s.append(" a ").append(std::to_string(massimo));
}

std::string_view nome_larghezza(larghezza l) {
  switch (l) {
    case larghezza::s32:
      return "intero a 32 bit";
    case larghezza::s16:
      return "intero a 16 bit";
    case larghezza::u8:
      return "intero a 8 bit senza segno";
    default:
      return "testo";
  }
}

namespace {

// A part's name, alone and after "in".
struct nomi_di_parte {
  std::string_view nome;
  std::string_view nella;
};

nomi_di_parte nomi_di(parte p) {
  switch (p) {
    case parte::intestazione:
      return {"intestazione della linea", "nell'intestazione della linea"};
    case parte::corpo:
      return {"corpo della linea", "nel corpo della linea"};
    default:
      return {"descrizione del treno", "nella descrizione del treno"};
  }
}

}  // namespace

std::string_view nome_parte(parte p) {
  return nomi_di(p).nome;
}

std::string_view nella_parte(parte p) {
  return nomi_di(p).nella;
}

}  // namespace percorso
