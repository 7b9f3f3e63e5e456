#include "sintassi/parole_chiave.h"

#include <array>
#include <limits>

namespace percorso {
namespace {

constexpr std::int64_t min_32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t max_32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t metri_massimi = 1000000;
constexpr std::int64_t velocita_massima = 1275;  // 255 fifths of a km/h in a cell

constexpr campo_formato posizione{"posizione",      larghezza::s32,
                                  "metri",          0,
                                  metri_massimi,    1,
                                  ruolo::posizione, "distanza dall'inizio della linea"};

constexpr campo_formato campi_lunghezza[] = {
    {"lunghezza", larghezza::s32, "metri", 1, metri_massimi, 1, ruolo::valore,
     "lunghezza della linea; le celle proseguono 7000 m oltre"},
};

constexpr campo_formato campi_progressiva[] = {
    {"inizio", larghezza::s32, "metri", 0, metri_massimi, 50, ruolo::posizione,
     "posizione lungo la linea da cui vale la progressiva"},
    {"progressiva", larghezza::s32, "metri", 0, max_32 - 100, 50, ruolo::valore,
     "progressiva chilometrica in quel punto, in metri"},
    {"correzione", larghezza::s32, "", 0, 1, 1, ruolo::valore,
     "1: aggiunge 100 m alla progressiva"},
};

constexpr campo_formato campi_sfondo[] = {
    {"sfondo", larghezza::s32, "", min_32, max_32, 1, ruolo::valore, "scelta dello sfondo"},
};

constexpr campo_formato campi_ripetizione[] = {
    {"distanza_1", larghezza::s32, "metri", 0, metri_massimi, 50, ruolo::valore,
     "prima distanza di ripetizione dei segnali"},
    {"distanza_2", larghezza::s32, "metri", 0, metri_massimi, 50, ruolo::valore,
     "seconda distanza; 0 spegne la ripetizione"},
};

constexpr campo_formato campi_pendenza[] = {
    posizione,
    {"pendenza", larghezza::s32, "per mille", -100, 155, 1, ruolo::valore,
     "pendenza da questa posizione in poi"},
};

constexpr campo_formato campi_curva[] = {
    {"inizio", larghezza::s32, "metri", 0, metri_massimi, 1, ruolo::posizione,
     "inizio della curva"},
    {"lunghezza", larghezza::s32, "metri", 0, metri_massimi, 1, ruolo::estensione,
     "lunghezza della curva"},
};

constexpr campo_formato campi_montagna[] = {
    {"inizio", larghezza::s32, "metri", 0, metri_massimi, 1, ruolo::posizione, "inizio del tratto"},
    {"fine", larghezza::s32, "metri", 0, metri_massimi, 1, ruolo::fine, "fine del tratto"},
    {"tipo", larghezza::s32, "", 0, 20, 1, ruolo::valore,
     "tipo del lato montagna; oltre 10: tipo - 10, con un segno ogni 200 m"},
};

constexpr campo_formato velocita_indicatore(std::string_view nome, std::string_view significato) {
  return {nome, larghezza::s32, "km/h", 0, 495, 5, ruolo::valore, significato};
}

constexpr campo_formato campi_indicatori[] = {
    posizione,
    velocita_indicatore("vas", "velocita' della classe a, lato s"),
    velocita_indicatore("vbs", "velocita' della classe b, lato s"),
    velocita_indicatore("vcs", "velocita' della classe c, lato s"),
    {"strisces", larghezza::s32, "", 0, 9, 1, ruolo::valore, "strisce del lato s"},
    velocita_indicatore("vad", "velocita' della classe a, lato d"),
    velocita_indicatore("vbd", "velocita' della classe b, lato d"),
    velocita_indicatore("vcd", "velocita' della classe c, lato d"),
    {"strisced", larghezza::s32, "", 0, 9, 1, ruolo::valore, "strisce del lato d"},
};

constexpr campo_formato campi_cartello[] = {
    posizione,
    {"testo", larghezza::testo, "", 0, 0, 1, ruolo::nome,
     "testo del cartello, fino alla virgola o alla fine della riga"},
};

constexpr campo_formato campi_massa[] = {
    {"percentuale", larghezza::s32, "percento", 0, max_32, 1, ruolo::valore,
     "percentuale di massa frenata del treno"},
};

constexpr campo_formato campi_vetture[] = {
    {"vetture", larghezza::s32, "", 0, max_32, 1, ruolo::valore, "numero di vetture"},
};

constexpr campo_formato campi_velocita[] = {
    posizione,
    {"velocita", larghezza::s32, "km/h", 0, velocita_massima, 5, ruolo::valore,
     "velocita' massima da qui in poi; la cella la tiene in multipli di 5"},
};

constexpr campo_formato campi_aderenza[] = {
    posizione,
    {"aderenza", larghezza::s32, "", 0, 255, 1, ruolo::valore, "aderenza da qui in poi"},
};

constexpr campo_formato campi_orologio[] = {
    {"ore", larghezza::s16, "ore", 0, 23, 1, ruolo::ore, "ora dell'orologio alla partenza"},
    {"minuti", larghezza::s16, "minuti", 0, 59, 1, ruolo::minuti, "minuti"},
    {"secondi", larghezza::s16, "secondi", 0, 59, 1, ruolo::secondi, "secondi"},
};

constexpr campo_formato campi_sabbia[] = {
    {"sabbia", larghezza::s16, "", 0, 32767, 1, ruolo::valore, "quantita' di sabbia a bordo"},
};

constexpr campo_formato codice_segnale(std::string_view nome, std::string_view significato) {
  return {nome, larghezza::s32, "", 0, 9, 1, ruolo::valore, significato};
}

constexpr campo_formato campi_segnale[] = {
    posizione,
    {"sx", larghezza::s32, "", 0, 2, 1, ruolo::valore, "tipo del lato s; 2 porta un tempo"},
    codice_segnale("s1", "primo codice del lato s (una cifra)"),
    codice_segnale("s2", "secondo codice del lato s"),
    codice_segnale("s3", "terzo codice del lato s"),
    codice_segnale("rapp", "codice di rapporto (una cifra)"),
    {"dx", larghezza::s32, "", 0, 2, 1, ruolo::valore, "tipo del lato d"},
    codice_segnale("d1", "primo codice del lato d"),
    codice_segnale("d2", "secondo codice del lato d"),
    codice_segnale("d3", "terzo codice del lato d"),
    {"tempo", larghezza::s32, "", 0, 255, 1, ruolo::valore,
     "tempo di un segnale di tipo 2; da 1 a 100 vale 101"},
};

constexpr campo_formato campi_rallentamento[] = {
    {"posizione", larghezza::s32, "metri", 0, metri_massimi, 1, ruolo::posizione,
     "inizio del rallentamento; l'avviso sta 1200 m prima"},
    {"velocita", larghezza::s32, "km/h", 0, velocita_massima, 1, ruolo::valore,
     "velocita' del rallentamento"},
    {"lunghezza", larghezza::s32, "metri", 0, metri_massimi, 1, ruolo::estensione,
     "lunghezza del rallentamento"},
    {"f_tt", larghezza::s32, "", -32768, 32767, 1, ruolo::valore,
     "valore scritto con inizio e fine"},
    {"f_ta", larghezza::s32, "", 0, 1, 1, ruolo::valore,
     "1: anche le quattro celle di preavviso prima dell'avviso"},
    {"d_v", larghezza::s32, "km/h", 0, velocita_massima, 1, ruolo::valore,
     "seconda velocita', scritta quando non e' 0"},
};

constexpr campo_formato campi_abbattimento[] = {
    posizione,
    {"velocita", larghezza::s32, "km/h", 0, velocita_massima, 1, ruolo::valore,
     "velocita' del punto; 0: punto senza velocita'"},
};

constexpr campo_formato attributo(std::string_view nome, larghezza l,
                                  std::string_view significato) {
  return {nome,
          l,
          "",
          l == larghezza::u8 ? 0 : -32768,
          l == larghezza::u8 ? 255 : 32767,
          1,
          ruolo::valore,
          significato};
}

constexpr campo_formato campi_stazione[] = {
    {"posizione", larghezza::s32, "metri", 0, metri_massimi, 50, ruolo::posizione,
     "posizione della stazione"},
    {"tipo", larghezza::u8, "", 0, 255, 1, ruolo::valore,
     "categoria: 5-6 e 7-8 area prima della posizione, sotto 25 cella di fermata, 25 o piu' "
     "nessuna cella"},
    {"lunghezza", larghezza::s32, "metri", 0, metri_massimi, 100, ruolo::valore,
     "lunghezza dell'area della stazione"},
    attributo("opzione", larghezza::u8, "attributo della stazione"),
    attributo("indicatore_4", larghezza::u8, "attributo; 0 sotto 600 m e per la prima stazione"),
    attributo("prolunga", larghezza::u8,
              "non 0: la fine dell'area 50 m piu' avanti (non per i tipi 5-8)"),
    attributo("parametro_1", larghezza::s16, "attributo della stazione"),
    attributo("parametro_2", larghezza::s16, "attributo della stazione"),
    attributo("indicatore_1", larghezza::u8, "attributo della stazione"),
    attributo("parametro_3", larghezza::s16, "attributo della stazione"),
    attributo("parametro_4", larghezza::s16, "attributo della stazione"),
    attributo("parametro_5", larghezza::s16, "attributo della stazione"),
    {"sosta", larghezza::u8, "secondi", 0, 255, 1, ruolo::valore,
     "sosta in secondi, scritta come indicatore_2 del file dei punti; la scheda treno mostra "
     "l'arrivo (l'orario meno la sosta) e la partenza (l'orario)"},
    {"ore", larghezza::s32, "ore", 0, 23, 1, ruolo::ore, "ora dell'orario; 0:00:00 senza orario"},
    {"minuti", larghezza::s32, "minuti", 0, 59, 1, ruolo::minuti, "minuti dell'orario"},
    {"secondi", larghezza::s32, "secondi", 0, 59, 1, ruolo::secondi, "secondi dell'orario"},
    // The train sheet's column of names is 27 characters wide.
    {"nome", larghezza::testo, "", 0, 27, 1, ruolo::nome,
     "nome della stazione, fino alla virgola o alla fine della riga"},
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
    {sfondo_uno, "sfondo uno", parte::intestazione, "sfondo", "uno", true, campi_sfondo,
     "primo selettore dello sfondo", "sfondo uno,    0"},
    {sfondo_due, "sfondo due", parte::intestazione, "sfondo", "due", true, campi_sfondo,
     "secondo selettore dello sfondo", "sfondo due,    1"},
    {sfondo_tre, "sfondo tre", parte::intestazione, "sfondo", "tre", true, campi_sfondo,
     "terzo selettore dello sfondo", "sfondo tre,    0"},
    {ripetizione, "ripetizione segnali", parte::intestazione, "segnali", "ripetizione", true,
     campi_ripetizione,
     "ripetizione dei segnali; la parola chiave contiene 4 o 9, il numero di codici ripetuti",
     "ripetizione segnali 4 codici,    0    ,0"},
    {pendenza, "pendenza", parte::corpo, "pendenza", "", false, campi_pendenza,
     "pendenza della linea da una posizione in poi", "pendenza, 300, -3"},
    {curva, "curva", parte::corpo, "curva", "", false, campi_curva,
     "curva del tracciato; la parola chiave contiene la classe (una cifra da 1 a 6, 1 la piu' "
     "larga) e 's' per una curva a sinistra, altrimenti e' a destra",
     "curvas4,   2296,    912"},
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
