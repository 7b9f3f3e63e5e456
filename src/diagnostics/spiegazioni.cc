#include "diagnostics/spiegazioni.h"

#include <array>

namespace percorso {
namespace {

struct voce {
  std::int32_t codice;
  std::string_view significato;
  std::string_view spiegazione;
};

constexpr std::array<voce, 28> voci = {{
    {1, "lunghezza del percorso oltre 1000000 m",
     "La riga \"lunghezza percorso\" vale piu' di 1000000 m. Le celle non vengono create e\n"
     "nessun file binario e' scritto. Correggi la lunghezza (al massimo 1000000)."},
    {2, "progressiva chilometrica non multipla di 50 m",
     "Il primo o il secondo numero di una riga \"progressiva chilometrica\" non e' multiplo\n"
     "di 50. Il controllo avviene alla fine, dopo entrambi i testi; i file sono scritti.\n"
     "Arrotonda posizione e progressiva a multipli di 50 m."},
    {3, "prima distanza di ripetizione dei segnali non multipla di 50 m",
     "La riga \"ripetizione segnali\" ha una prima distanza che non e' multipla di 50.\n"
     "La compilazione si ferma. Usa un multiplo di 50 (anche 0)."},
    {4, "seconda distanza di ripetizione dei segnali non multipla di 50 m",
     "La riga \"ripetizione segnali\" ha una seconda distanza che non e' multipla di 50.\n"
     "La compilazione si ferma. Usa un multiplo di 50 (0 spegne la ripetizione)."},
    {5, "la riga di ripetizione dei segnali non indica 4 o 9 codici",
     "La parola chiave \"ripetizione segnali ...\" deve contenere la cifra 4 o 9 (il numero\n"
     "di codici ripetuti), per esempio \"ripetizione segnali 4 codici\"."},
    {6, "cartello su una cella gia' occupata",
     "Un \"cartello_indicatore\" cade in una cella (posizione / 50 + 1) che ha gia' un evento.\n"
     "Di solito due cartelli, o un cartello e un indicatore, a meno di 50 m. Sposta il\n"
     "cartello di almeno 50 m."},
    {7, "punto di velocita' su una cella gia' occupata",
     "Un \"abbattimento\" cade in una cella (posizione / 50) che ha gia' un evento.\n"
     "Sposta il punto di velocita' di almeno 50 m."},
    {8, "posizione della stazione non multipla di 50 m",
     "Il primo numero di una riga \"stazione\" deve essere multiplo di 50."},
    {9, "lunghezza della stazione non multipla di 100 m",
     "Il terzo numero di una riga \"stazione\" (la lunghezza) deve essere multiplo di 100."},
    {10, "tabella dei punti piena: troppe stazioni per i cartelli presenti",
     "Stazioni e cartelli con testo condividono una tabella di 80 posti: con b cartelli\n"
     "si leggono al massimo 78 - b stazioni. Togli stazioni o cartelli."},
    {11, "nessuna cella libera per il punto di velocita' davanti al segnale",
     "Un segnale a meno di 20 celle prima di un cartello di avviso di rallentamento non ha\n"
     "libere le due celle davanti a se'. Allontana gli eventi vicini al segnale."},
    {12, "nessuna cella libera per il punto di velocita' prima del rallentamento",
     "Prima dell'inizio di un rallentamento servono celle libere a 5-7, 11-13 e 18-20\n"
     "celle di distanza. Allontana segnali o altri eventi da quelle celle."},
    {13, "nessuna cella libera per il punto di velocita' nel rallentamento o dopo",
     "Dentro un rallentamento sotto i 110 km/h serve una cella libera ogni 400 m, e una\n"
     "davanti al primo segnale dopo la fine. Allontana gli eventi troppo fitti."},
    {15, "posizione oltre la fine della linea: il resto del testo non e' letto",
     "Una riga ha una posizione p con (p + 100) / 50 (per le stazioni p + 800) oltre\n"
     "l'ultima cella (lunghezza + 7000 m). Il resto di quel testo non e' letto; la\n"
     "compilazione prosegue. Controlla la posizione o la lunghezza del percorso."},
    {16, "segnale su una cella gia' occupata",
     "Un \"segnale\" cade in una cella (posizione / 50 + 1) che ha gia' un evento, per\n"
     "esempio un altro segnale a meno di 50 m. Sposta il segnale."},
    {17, "cella del cartello di avviso del rallentamento gia' occupata",
     "L'avviso di un rallentamento sta 1200 m prima del suo inizio, e quella cella e'\n"
     "occupata. Sposta il rallentamento o l'evento che sta 1200 m prima."},
    {18, "cella di inizio del rallentamento gia' occupata",
     "La cella d'inizio del rallentamento ha gia' un evento. Sposta il rallentamento."},
    {19, "cella di fine del rallentamento gia' occupata",
     "La cella di fine (inizio + lunghezza) del rallentamento ha gia' un evento."},
    {20, "celle di preavviso del rallentamento gia' occupate",
     "Le quattro celle prima dell'avviso (preavviso richiesto) non sono tutte libere.\n"
     "Inizio, fine e avviso restano scritti. Sposta il rallentamento o togli il preavviso."},
    {21, "indicatori di velocita' massima su una cella gia' occupata",
     "Una riga \"indicatori_vmax\" cade in una cella che ha gia' un evento. Spostala."},
    {22, "stazione a meno di 350 m dalla fine della precedente",
     "Le stazioni vanno in ordine di linea e l'inizio di ciascuna deve stare almeno 350 m\n"
     "dopo la fine della precedente. Controlla ordine, posizioni e lunghezze."},
    {24, "la stazione finisce a 100 m o meno dall'inizio della linea",
     "Una stazione di tipo sotto 25 deve finire oltre 100 m dall'inizio della linea.\n"
     "Sposta la stazione in avanti."},
    {25,
     "errore generale: numero fuori campo, testo finito a meta' riga, indice fuori "
     "tabella o lunghezza del percorso mancante",
     "Cause tipiche: un numero troppo grande per il suo campo (per esempio un tipo oltre\n"
     "255); una riga a cui mancano numeri alla fine del testo; una posizione negativa;\n"
     "una curva o un rallentamento che finiscono oltre la linea; la riga \"lunghezza\n"
     "percorso\" mancante; la descrizione del treno assente. Quanto gia' scritto resta."},
    {101, "descrizione della linea assente",
     "Il file NOME_linea.txt non esiste. Nessun file binario e' scritto."},
    {102, "nessuna sezione [generale] nella descrizione della linea",
     "La descrizione della linea deve avere un campo \"[generale]\" seguito da almeno un\n"
     "altro campo. Nessun file binario e' scritto."},
    {103, "curva senza classe (cifra da 1 a 6) o tracciato oltre 1000000 m",
     "La parola chiave di una curva deve contenere una cifra da 1 a 6 (la classe), per\n"
     "esempio \"curvad5\"; oppure le curve portano il tracciato oltre 1000000 m."},
    {1250, "valore di intestazione gia' occupato",
     "Un elemento cade nella cella 1, che porta i valori di controllo della linea: un\n"
     "segnale, un cartello, gli indicatori o l'inizio, la fine o l'avviso di un\n"
     "rallentamento prima di 25 m, un punto di velocita' (abbattimento) prima di 75 m;\n"
     "o un punto di velocita' che il compilatore aggiunge davanti a un segnale vicino\n"
     "all'inizio. Tutti i testi sono letti, ma nessun file binario e' scritto. Sposta\n"
     "l'elemento: il messaggio indica la sua riga."},
    {1251, "codice di controllo gia' occupato",
     "Come l'errore 1250, quando l'elemento nella cella 1 ha il primo dei suoi valori a\n"
     "0 e il secondo no. Nessun file binario e' scritto. Sposta l'elemento: il\n"
     "messaggio indica la sua riga."},
}};

const voce* trova(std::int32_t codice) {
  for (const voce& v : voci) {
    if (v.codice == codice) return &v;
  }
  return nullptr;
}

}  // namespace

std::string_view significato(std::int32_t codice) {
  const voce* v = trova(codice);
  return v != nullptr ? v->significato : "codice sconosciuto";
}

std::optional<std::string_view> spiegazione(std::int32_t codice) {
  const voce* v = trova(codice);
  if (v == nullptr) return std::nullopt;
  return v->spiegazione;
}

std::vector<std::int32_t> codici_spiegati() {
  std::vector<std::int32_t> codici;
  for (const voce& v : voci) codici.push_back(v.codice);
  return codici;
}

}  // namespace percorso
