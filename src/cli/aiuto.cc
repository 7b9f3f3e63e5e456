#include "cli/aiuto.h"

#include <utility>
#include <vector>

namespace percorso {
namespace {

constexpr std::string_view testo_generale =
    "uso: percorso [COMANDO] [OPZIONI]\n"
    "     percorso --version\n"
    "\n"
    "Senza argomenti compila lo scenario incorporato (linea Varmena - Ostrana, treno 917):\n"
    "scrive accanto al programma i due testi sorgente e i tre documenti per il macchinista,\n"
    "compila i due testi (e poi li elimina) e scrive i tre file binari:\n"
    "Varmena_Ostrana_linea.dat, Varmena_Ostrana_917.sim, Varmena_Ostrana_917.dat; finisce\n"
    "come compile, dicendo dove: \"0 errori, 0 avvisi; scritti 6 file in CARTELLA\".\n"
    "\n"
    "Comandi:\n"
    "  sources [DIR]          scrive i cinque testi incorporati in DIR (predefinita: la\n"
    "                         cartella corrente)\n"
    "  new NOME TRENO [DIR]   scrive i due testi di un piccolo scenario nuovo, da modificare\n"
    "  compile LINEA TRENO    compila due testi scritti dall'autore\n"
    "  check LINEA TRENO      segnala ogni problema dei due testi, senza scrivere nulla\n"
    "  tempi LINEA TRENO      i tempi di percorrenza del treno sulla linea, tratto per\n"
    "                         tratto, confrontati con il suo orario\n"
    "  explain [CODICE|PAROLA]\n"
    "                         spiega un codice di errore, una riga del formato campo per\n"
    "                         campo, le sezioni dei testi (sezioni) o i nomi dei file (nomi)\n"
    "  inspect FILE...        mostra in chiaro i file compilati (.dat, .sim, _linea.dat)\n"
    "  plot CELLE [-o SVG]    disegna tracciato e profilo della linea in un file SVG\n"
    "  decompile CELLE        dai file compilati riscrive i due testi e prova che danno\n"
    "                         gli stessi byte\n"
    "  page LINEA TRENO       la linea di due testi in una pagina HTML: tracciato, profilo,\n"
    "                         orario, elenchi e rilievi; --watch la riscrive a ogni modifica\n"
    "  lsp                    server del protocollo LSP per gli editor, su stdin e stdout\n"
    "  help [COMANDO]         mostra questo aiuto o quello di un comando\n"
    "\n"
    "Ogni comando accetta --help. Ogni opzione con un valore si scrive --opzione VALORE\n"
    "oppure --opzione=VALORE; un argomento che comincia con '-' si scrive dopo '--'.\n"
    "Su Windows, un testo della linea e il suo testo del treno trascinati insieme\n"
    "sull'icona di percorso.exe si compilano come con compile --documents, e il\n"
    "risultato appare in una finestra; scritti senza comando in una console, sono un\n"
    "uso errato.\n"
    "\n"
    "Stato di uscita: 0 tutto a posto; 1 rilievi registrati, file binari scritti;\n"
    "2 uso errato; 3 interrotto prima dei file binari (errore 1250/1251, nessuna cella,\n"
    "un file che non si puo' leggere o scrivere).\n";

constexpr std::string_view aiuto_sources =
    "uso: percorso sources [DIR] [--force]\n"
    "\n"
    "Scrive in DIR (predefinita: la cartella corrente; creata se manca) i cinque testi\n"
    "dello scenario incorporato, identici a quelli che scrive l'esecuzione senza\n"
    "argomenti: descrizione della linea, descrizione del treno, note, ordine di\n"
    "rallentamento, scheda treno. Non scrive nient'altro.\n"
    "\n"
    "Un file gia' presente e identico resta com'e'. Se un file presente ha un altro\n"
    "contenuto (un testo modificato) non scrive nessun file, li nomina ed esce con 3.\n"
    "\n"
    "  --force   sostituisce anche i file con un altro contenuto\n"
    "\n"
    "Stato di uscita: 0 testi scritti; 2 uso errato; 3 file con un altro contenuto, o una\n"
    "cartella o un file che non si puo' creare, leggere o scrivere.\n";

constexpr std::string_view aiuto_new =
    "uso: percorso new NOME TRENO [DIR] [--force]\n"
    "\n"
    "Scrive in DIR (predefinita: la cartella corrente; creata se manca) i due testi di\n"
    "uno scenario nuovo, NOME_linea.txt e NOME_TRENO-.txt: una linea di 6 km con tre\n"
    "stazioni con orario e una riga di ogni elemento (curva, pendenza, montagna,\n"
    "indicatori, cartello, velocita', aderenza, segnale, rallentamento), da modificare.\n"
    "Si compilano senza rilievi e senza avvisi:\n"
    "  percorso compile DIR/NOME_linea.txt DIR/NOME_TRENO-.txt --documents\n"
    "\n"
    "NOME e TRENO diventano nomi di file in DIR: non possono contenere '/', '\\', '..',\n"
    "caratteri di controllo, ne' i caratteri che Windows non ammette: < > : \" | ? *.\n"
    "Se uno dei due file c'e' gia', non scrive nulla, lo nomina ed esce con 3.\n"
    "\n"
    "  --force   sostituisce i file gia' presenti\n"
    "\n"
    "Stato di uscita: 0 testi scritti; 2 uso errato; 3 file gia' presenti, o una cartella\n"
    "o un file che non si puo' creare, leggere o scrivere.\n";

constexpr std::string_view aiuto_compile =
    "uso: percorso compile LINEA TRENO [--nome NOME] [--treno TRENO] [-o DIR]\n"
    "                      [--no-plan] [--documents] [--report FILE] [--no-warn NOME]\n"
    "                      [--werror] [--no-strict] [--watch]\n"
    "\n"
    "Compila la descrizione della linea LINEA e la descrizione del treno TRENO e scrive\n"
    "in DIR i tre file binari NOME_linea.dat, NOME_TRENO.sim e NOME_TRENO.dat.\n"
    "I testi dell'autore non vengono mai eliminati.\n"
    "\n"
    "  --nome NOME     nome del percorso (predefinito: da LINEA, se si chiama NOME_linea.txt)\n"
    "  --treno TRENO   numero del treno (predefinito: da TRENO, se si chiama NOME_TRENO-.txt)\n"
    "  -o DIR          cartella dei file binari (predefinita: quella di LINEA); creata se\n"
    "                  manca\n"
    "  --no-plan       non costruisce il tracciato e non scrive NOME_linea.dat\n"
    "  --documents     scrive anche, accanto ai file binari, la scheda treno\n"
    "                  NOME_TRENO_scheda_treno.txt e l'ordine di rallentamento\n"
    "                  NOME_TRENO_rallentamenti.txt, costruiti dai testi compilati\n"
    "  --report FILE   scrive un rapporto JSON: codice_errore, posizione_errore, esito\n"
    "                  (\"ok\", \"errore\" o \"interrotto\", del solo compilatore),\n"
    "                  errore_programma, verifica (errori e avvisi della verifica),\n"
    "                  messaggi (ognuno con livello, codice o nome, file, riga, colonna,\n"
    "                  campo, unita', testo); se FILE non si puo' scrivere, niente viene\n"
    "                  compilato\n"
    "  --no-warn NOME  non mostra l'avviso NOME (ripetibile; 'percorso explain' elenca i\n"
    "                  nomi; documento: un nome tagliato nella sua casella della scheda o\n"
    "                  dell'ordine; maiuscole: un testo scritto con maiuscole diverse da\n"
    "                  quelle del suo nome sul disco, su Windows)\n"
    "  --werror        con un avviso lo stato di uscita e' 1 (i file sono scritti lo stesso)\n"
    "  --no-strict     gli errori della verifica sono stampati come avvisi e non cambiano\n"
    "                  lo stato di uscita, che segue solo i rilievi del compilatore (il\n"
    "                  comportamento delle versioni precedenti; --strict, il predefinito,\n"
    "                  e' accettato)\n"
    "  --watch         resta in attesa: a ogni salvataggio di uno dei due testi ricompila,\n"
    "                  riscrive i file e stampa i rilievi e una riga di riepilogo; Ctrl-C\n"
    "                  per finire (stato di uscita 0)\n"
    "\n"
    "Compila e verifica i testi come 'percorso check'. Ogni rilievo e' stampato sullo\n"
    "standard error come FILE:RIGA:COLONNA: errore CODICE: ..., seguito dalla riga del\n"
    "testo e da un segno sotto il campo, con il nome del campo; poi, in ordine di testo,\n"
    "gli avvisi e gli errori della verifica. Un errore della verifica dice che lo\n"
    "scenario compilato non e' quello che il testo sembra dire: come un rilievo, porta\n"
    "lo stato di uscita a 1, e i file sono scritti lo stesso. Alla fine, anche senza\n"
    "rilievi, una riga con il conto e i file scritti: \"0 errori, 0 avvisi; scritti 3\n"
    "file in DIR\".\n"
    "Le posizioni sono date in chilometri della linea, dove LINEA ha un riferimento\n"
    "chilometrico, e poi in metri dall'inizio.\n"
    "'percorso explain CODICE' spiega un codice.\n"
    "Stato di uscita: 0 nessun rilievo e nessun errore della verifica; 1 rilievi o\n"
    "errori della verifica, file binari scritti; 2 uso errato; 3 nessun file binario\n"
    "scritto.\n";

constexpr std::string_view aiuto_check =
    "uso: percorso check LINEA TRENO [--no-warn NOME] [--werror]\n"
    "\n"
    "Legge i due testi come li scrive l'autore, riga per riga e campo per campo secondo\n"
    "la tabella delle parole chiave ('percorso explain'), li compila in memoria e\n"
    "segnala in una volta sola ogni problema: numeri scritti male e che cosa legge il\n"
    "compilatore al loro posto, righe con campi mancanti o in piu', separatori diversi\n"
    "dalla virgola, parole chiave sconosciute (con la piu' vicina) o fuori posto,\n"
    "posizioni oltre la linea, orari fuori campo o che tornano indietro, valori che il\n"
    "simulatore non usa, nomi non ASCII o troppo lunghi, due elementi nella stessa cella,\n"
    "e dove il compilatore smette di leggere un testo. Non scrive nulla.\n"
    "\n"
    "  --no-warn NOME  non mostra l'avviso o la constatazione NOME (ripetibile)\n"
    "  --werror        con un avviso lo stato di uscita e' 1\n"
    "\n"
    "Ogni problema e' stampato sullo standard output come FILE:RIGA:COLONNA: errore|avviso\n"
    "[NOME]: ..., con la riga del testo e un segno sotto il campo (percorso check LINEA\n"
    "TRENO | less li sfoglia); alla fine, anche senza problemi, il conto sullo standard\n"
    "error (\"0 errori, 0 avvisi\"). compile invece stampa i suoi rilievi sullo standard\n"
    "error, come i compilatori.\n"
    "Stato di uscita: 0 nessun errore (avvisi ammessi); 1 almeno un errore; 2 uso errato;\n"
    "3 un testo che non si puo' leggere.\n";

constexpr std::string_view aiuto_tempi =
    "uso: percorso tempi LINEA TRENO [--json] [--metri-vettura M] [--accelerazione A]\n"
    "                    [--frenatura F] [--reazione S]\n"
    "\n"
    "Compila in memoria i due testi (non scrive nulla), calcola la corsa piu' veloce del\n"
    "treno sulla linea e stampa per ogni tratto fra due stazioni con orario: i chilometri\n"
    "delle due stazioni, la distanza, il tempo minimo (ai soli limiti di velocita' e dei\n"
    "rallentamenti, senza accelerare ne' frenare: nessun treno fa meglio), il tempo\n"
    "realistico della corsa di questo treno, il tempo dell'orario (dalla partenza\n"
    "all'arrivo: l'orario di una stazione e' la partenza, l'arrivo e' l'orario meno la\n"
    "sosta, l'ultima stazione arriva soltanto) e il margine dell'orario sulla corsa.\n"
    "\n"
    "La corsa: il treno parte fermo dalla prima stazione con orario e si ferma all'ultima e\n"
    "a ogni stazione con orario e sosta; accelera fino al limite, lo tiene e frena il piu'\n"
    "tardi possibile; un limite piu' alto vale solo quando tutto il treno e' passato (la\n"
    "lunghezza e' il numero di vetture per i metri di una vettura); la frenatura viene\n"
    "dalla percentuale di massa frenata (100 % frena da 100 km/h in 480 m); le pendenze\n"
    "tolgono all'accelerazione quel che danno alla frenatura, e viceversa. Un punto di\n"
    "velocita' del testo (abbattimento) vale dove passa la testa; non valgono quelli\n"
    "aggiunti dal completamento, ne' gli indicatori di velocita'.\n"
    "\n"
    "Problemi: errore se l'orario e' sotto il minimo; avviso se e' sotto la corsa, se\n"
    "la supera di meno del 3 % (margine di recupero) o di piu' del doppio; se l'orologio\n"
    "parte dopo la prima partenza o piu' di 30 minuti prima; se la prima stazione non ha\n"
    "orario; se un orario 0:00:00 sembra voluto (si legge come nessun orario).\n"
    "\n"
    "  --json              la stessa tabella in JSON\n"
    "  --metri-vettura M   metri di una vettura (predefiniti 26.4; da 0 a 100)\n"
    "  --accelerazione A   accelerazione in piano, m/s2 (predefinita 0.4; da 0.05 a 5)\n"
    "  --frenatura F       frenatura in piano con massa frenata 100 %, m/s2 (predefinita\n"
    "                      0.8; da 0.05 a 5); cresce in proporzione con la percentuale\n"
    "  --reazione S        secondi fra il taglio della trazione e la frenatura piena\n"
    "                      (predefiniti 3; da 0 a 60)\n"
    "\n"
    "Stato di uscita: 0 nessun errore (avvisi ammessi); 1 un orario sotto il minimo, o i\n"
    "testi hanno rilievi del compilatore; 2 uso errato; 3 un testo che non si puo' leggere.\n";

constexpr std::string_view aiuto_explain =
    "uso: percorso explain [CODICE | PAROLA | sezioni | nomi]\n"
    "\n"
    "Con un CODICE di errore: che cosa significa, che cosa di solito lo causa e come\n"
    "correggere il testo. Con una PAROLA chiave (stazione, segnale, pendenza, ...): i campi\n"
    "della riga in ordine, ognuno con nome, larghezza, unita', intervallo, significato, i\n"
    "valori con un significato proprio, dove lo scrive il compilatore, che cosa succede ai\n"
    "limiti e che cosa scrive lo scenario incorporato, e una riga d'esempio; dove il\n"
    "formato non dice che cosa significhi un valore per il simulatore, 'non specificato'.\n"
    "Con il nome di un avviso o di una constatazione: il suo livello e il suo messaggio.\n"
    "'sezioni': le sezioni di ogni testo, quali servono e che cosa succede senza.\n"
    "'nomi': come si chiamano i testi e i file scritti.\n"
    "Senza argomenti elenca le parole chiave, i codici e i nomi degli avvisi.\n";

constexpr std::string_view aiuto_inspect =
    "uso: percorso inspect FILE... [--json]\n"
    "\n"
    "Decodifica i file binari compilati e li mostra in forma leggibile:\n"
    "  NOME_TRENO.dat   celle: una riga per ogni cella con un evento o un codice di\n"
    "                   ripetizione (segnali con i codici per lato, rallentamenti,\n"
    "                   indicatori di velocita' in km/h, fermate con numero e nome della\n"
    "                   stazione, cartelli con il testo), l'intestazione della cella 1 e il\n"
    "                   profilo della linea a tratti (pendenza, velocita' massima,\n"
    "                   aderenza, tipo di montagna)\n"
    "  NOME_TRENO.sim   punti: stazioni (inizio, fine, posizione, orario), cartelli,\n"
    "                   voci di intestazione 81-86, codici di controllo e se\n"
    "                   corrispondono ai nomi\n"
    "  NOME_linea.dat   tracciato: numero di metri, lunghezza, riquadro, direzione finale\n"
    "\n"
    "Il tipo si riconosce dal nome; per altri nomi dal contenuto. Se accanto al file\n"
    "delle celle c'e' il file dei punti (stesso nome, .sim), i nomi delle stazioni e i\n"
    "testi dei cartelli vengono da li'. Se i riferimenti chilometrici del file dei punti\n"
    "ne danno uno, celle, tratti e stazioni hanno una colonna km con il chilometro della\n"
    "linea, prima della distanza dall'inizio; altrimenti solo la distanza.\n"
    "\n"
    "  --json   la stessa descrizione in JSON: un oggetto per file, una lista se i file\n"
    "           sono piu' di uno\n"
    "\n"
    "Stato di uscita: 0 tutto letto; 2 uso errato; 3 un file che non si puo' leggere o\n"
    "non e' valido (gli altri file vengono mostrati comunque).\n";

constexpr std::string_view aiuto_plot =
    "uso: percorso plot CELLE [-o FILE.svg]\n"
    "\n"
    "Disegna la linea di un file delle celle (NOME_TRENO.dat) in un solo file SVG,\n"
    "senza font o script esterni:\n"
    "  - in alto il tracciato in scala, dal file NOME_linea.dat accanto, con stazioni,\n"
    "    segnali, rallentamenti e tratti di montagna o galleria segnati e nominati;\n"
    "  - sotto il profilo lungo i chilometri: la quota relativa all'inizio, sommando le\n"
    "    pendenze (per mille su ogni cella di 50 m), la velocita' massima a gradini,\n"
    "    stazioni, gallerie, segnali e rallentamenti, fino a poco oltre la fine della\n"
    "    linea.\n"
    "I nomi di stazioni e gallerie vengono dal file dei punti NOME_TRENO.sim accanto;\n"
    "senza di esso le stazioni sono numerate. Se quel file ha un riferimento\n"
    "chilometrico, l'asse mostra i chilometri della linea e sotto la distanza\n"
    "dall'inizio; altrimenti solo la distanza. Senza NOME_linea.dat il disegno ha solo\n"
    "il profilo.\n"
    "\n"
    "  -o FILE.svg   file da scrivere (predefinito: CELLE con estensione .svg;\n"
    "                '-' scrive sullo standard output)\n"
    "\n"
    "Stato di uscita: 0 disegno scritto; 2 uso errato; 3 un file che non si puo' leggere,\n"
    "non valido o che non si puo' scrivere.\n";

constexpr std::string_view aiuto_decompile =
    "uso: percorso decompile CELLE [-o DIR] [--force]\n"
    "\n"
    "Dai tre file compilati di uno scenario riscrive i due testi dell'autore. Legge il\n"
    "file delle celle CELLE (NOME_TRENO.dat), il file dei punti accanto (NOME_TRENO.sim,\n"
    "necessario: ne vengono i nomi, le stazioni e i cartelli) e il tracciato\n"
    "NOME_linea.dat accanto, se c'e' (senza, il testo della linea non ha curve). Scrive\n"
    "NOME_linea.txt e NOME_TRENO-.txt, con NOME e TRENO dalle voci 85 e 86 del file dei\n"
    "punti, e li prova: li compila in memoria e confronta byte per byte i file che ne\n"
    "vengono con quelli letti.\n"
    "\n"
    "Dice che cosa ha dovuto indovinare, perche' i file non lo conservano (i metri\n"
    "esatti, come si dividono i codici dei segnali e le velocita' degli indicatori, le\n"
    "velocita' tra due multipli di 5 km/h, ore, minuti e secondi degli orari, l'ordine\n"
    "delle righe, i documenti), e quali righe stanno nei testi solo per ridare gli\n"
    "stessi byte, con quelle che 'percorso check' segnala. Se la compilazione che ha\n"
    "scritto i file si era fermata per un errore, i testi finiscono con una riga che la\n"
    "ferma allo stesso modo.\n"
    "\n"
    "  -o DIR    cartella dei testi (predefinita: quella di CELLE); creata se manca\n"
    "  --force   sostituisce i testi gia' presenti\n"
    "\n"
    "Stato di uscita: 0 testi scritti e prova superata; 1 testi scritti, ma la prova\n"
    "trova un byte diverso, nominato con il suo file; 2 uso errato; 3 un file che non\n"
    "si puo' leggere, testi gia' presenti, o una cartella o un file che non si puo'\n"
    "scrivere.\n";

constexpr std::string_view aiuto_page =
    "uso: percorso page LINEA TRENO [-o FILE.html] [--nome NOME] [--treno TRENO] [--watch]\n"
    "\n"
    "Compila in memoria i due testi (senza scrivere file binari) e scrive una pagina HTML\n"
    "completa in se' (nessun file esterno, leggibile anche senza script):\n"
    "  - il tracciato e il profilo, come 'percorso plot', su tutta la larghezza: la\n"
    "    rotella ingrandisce, trascinando si sposta, i tasti + - frecce e 0 (tutto il\n"
    "    disegno) fanno lo stesso; le scritte restano leggibili a ogni ingrandimento;\n"
    "  - l'orario: stazioni con chilometro, tipo, area, arrivo, partenza e sosta (come\n"
    "    nella scheda treno) e la cella di fermata;\n"
    "  - segnali, rallentamenti, cartelli, punti di velocita', montagne e gallerie, ognuno\n"
    "    con il chilometro, la cella in cui cade e la riga del testo da cui viene;\n"
    "  - ogni errore e avviso con FILE:RIGA:COLONNA, la riga del testo e un segno sotto.\n"
    "I chilometri sono quelli della linea dove i testi hanno un riferimento chilometrico,\n"
    "seguiti dalla distanza dall'inizio. Puntando il disegno si vede il chilometro e il\n"
    "contenuto della cella; scegliendo una riga o un rilievo il suo punto e' segnato sul\n"
    "tracciato e sul profilo. Un testo che non si compila da' comunque la pagina, con i\n"
    "rilievi e quanto della linea e' stato costruito: il punto in cui la compilazione si\n"
    "ferma e' segnato, il resto e' in grigio e le righe scritte dopo sono elencate come\n"
    "\"non compilato\".\n"
    "\n"
    "  -o FILE.html    pagina da scrivere (predefinita: NOME_TRENO.html accanto a LINEA)\n"
    "  --nome NOME     nome del percorso (predefinito: da LINEA, se si chiama NOME_linea.txt)\n"
    "  --treno TRENO   numero del treno (predefinito: da TRENO, se si chiama NOME_TRENO-.txt)\n"
    "  --watch         resta in attesa: a ogni salvataggio di uno dei due testi ricompila,\n"
    "                  riscrive la pagina e stampa una riga; Ctrl-C per finire. La pagina si\n"
    "                  ricarica da sola nel browser (legge FILE.html.versione.js accanto a se')\n"
    "\n"
    "Stato di uscita: 0 pagina scritta, nessun errore; 1 pagina scritta con errori; 2 uso\n"
    "errato; 3 pagina non scritta. Con --watch: 0 alla fine con Ctrl-C, 3 se i testi non\n"
    "si possono sorvegliare.\n";

constexpr std::string_view aiuto_lsp =
    "uso: percorso lsp\n"
    "\n"
    "Server del Language Server Protocol (JSON-RPC 2.0 su stdin e stdout), da far\n"
    "avviare all'editor: mostra ogni problema dei testi mentre si scrivono. Il testo di un\n"
    "treno NOME_TRENO-.txt e' verificato con NOME_linea.txt; il testo di una linea con il\n"
    "testo del treno dello stesso NOME aperto nell'editor, altrimenti con il primo per nome\n"
    "accanto a lui. Un testo aperto nell'editor vale com'e' li', anche se non salvato.\n"
    "Offre anche la descrizione dei campi, il completamento delle parole chiave, lo\n"
    "schema del testo e le correzioni rapide. Non scrive nessun file; su stdout solo il\n"
    "protocollo.\n"
    "\n"
    "Stato di uscita: 0 alla fine dopo shutdown ed exit; 1 exit senza shutdown, o stdin\n"
    "chiuso prima di shutdown; 2 uso errato.\n";

constexpr std::string_view aiuto_help =
    "uso: percorso help [COMANDO]\n"
    "\n"
    "Senza COMANDO mostra l'aiuto generale; con COMANDO (sources, new, compile, check,\n"
    "tempi, explain, inspect, plot, decompile, page, lsp, help) l'aiuto di quel comando,\n"
    "come 'percorso COMANDO --help'.\n";

constexpr std::pair<std::string_view, std::string_view> aiuti[] = {
    {"sources", aiuto_sources}, {"new", aiuto_new},     {"compile", aiuto_compile},
    {"check", aiuto_check},     {"tempi", aiuto_tempi}, {"explain", aiuto_explain},
    {"inspect", aiuto_inspect}, {"plot", aiuto_plot},   {"decompile", aiuto_decompile},
    {"page", aiuto_page},       {"lsp", aiuto_lsp},     {"help", aiuto_help},
};

}  // namespace

std::string_view aiuto_generale() {
  return testo_generale;
}

std::vector<std::string_view> comandi() {
  std::vector<std::string_view> nomi;
  for (const auto& [nome, aiuto] : aiuti) nomi.push_back(nome);
  return nomi;
}

std::string_view uso_di(std::string_view comando) {
  const std::string_view aiuto = aiuto_di(comando).value_or(testo_generale);
  const auto fine = aiuto.find("\n\n");
  return aiuto.substr(0, fine == std::string_view::npos ? aiuto.size() : fine + 1);
}

std::optional<std::string_view> aiuto_di(std::string_view comando) {
  for (const auto& [nome, aiuto] : aiuti)
    if (nome == comando) return aiuto;
  return std::nullopt;
}

}  // namespace percorso
