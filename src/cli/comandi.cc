#include "cli/comandi.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>

#include "app/esecuzione.h"
#include "app/messaggi.h"
#include "cli/inspect.h"
#include "cli/plot.h"
#include "model/nomi.h"
#include "writers/scrittori.h"

namespace percorso {
namespace {

constexpr std::string_view aiuto_generale =
    "uso: percorso [COMANDO] [OPZIONI]\n"
    "\n"
    "Senza argomenti compila lo scenario incorporato (linea Varmena - Ostrana, treno 917):\n"
    "scrive accanto al programma i due testi sorgente e i tre documenti per il macchinista,\n"
    "compila i due testi (e poi li elimina) e scrive i tre file binari:\n"
    "Varmena_Ostrana_linea.dat, Varmena_Ostrana_917.sim, Varmena_Ostrana_917.dat.\n"
    "\n"
    "Comandi:\n"
    "  sources [DIR]          scrive i cinque testi incorporati in DIR (predefinita: la\n"
    "                         cartella corrente)\n"
    "  compile LINEA TRENO    compila due testi scritti dall'autore\n"
    "  explain CODICE         spiega un codice di errore e come correggere il testo\n"
    "  inspect FILE...        mostra in chiaro i file compilati (.dat, .sim, _linea.dat)\n"
    "  plot CELLE [-o SVG]    disegna tracciato e profilo della linea in un file SVG\n"
    "  help [COMANDO]         mostra questo aiuto o quello di un comando\n"
    "\n"
    "Ogni comando accetta --help.\n"
    "\n"
    "Stato di uscita: 0 tutto a posto; 1 rilievi registrati, file binari scritti;\n"
    "2 uso errato; 3 interrotto prima dei file binari (errore 1250/1251, nessuna cella,\n"
    "un file che non si puo' leggere o scrivere).\n";

constexpr std::string_view aiuto_sources =
    "uso: percorso sources [DIR]\n"
    "\n"
    "Scrive in DIR (predefinita: la cartella corrente) i cinque testi dello scenario\n"
    "incorporato, identici a quelli che scrive l'esecuzione senza argomenti: descrizione\n"
    "della linea, descrizione del treno, note, ordine di rallentamento, scheda treno.\n"
    "Ogni file e' sostituito per intero; non scrive nient'altro.\n";

constexpr std::string_view aiuto_compile =
    "uso: percorso compile LINEA TRENO [--nome NOME] [--treno TRENO] [-o DIR]\n"
    "                      [--no-plan] [--report FILE] [--no-warn=NOME] [--werror]\n"
    "\n"
    "Compila la descrizione della linea LINEA e la descrizione del treno TRENO e scrive\n"
    "in DIR i tre file binari NOME_linea.dat, NOME_TRENO.sim e NOME_TRENO.dat.\n"
    "I testi dell'autore non vengono mai eliminati.\n"
    "\n"
    "  --nome NOME     nome del percorso (predefinito: da LINEA, se si chiama NOME_linea.txt)\n"
    "  --treno TRENO   numero del treno (predefinito: da TRENO, se si chiama NOME_TRENO-.txt)\n"
    "  -o DIR          cartella dei file binari (predefinita: quella di LINEA)\n"
    "  --no-plan       non costruisce il tracciato e non scrive NOME_linea.dat\n"
    "  --report FILE   scrive un rapporto JSON: codice_errore, posizione_errore, esito\n"
    "                  (\"ok\", \"errore\" o \"interrotto\"), errore_programma, messaggi\n"
    "                  (ognuno con livello, codice o nome, file, riga, colonna, testo)\n"
    "  --no-warn=NOME  non mostra l'avviso NOME (ripetibile): chiave-sconosciuta,\n"
    "                  numeri-in-piu, fuori-sezione, trattino, profilo-indietro,\n"
    "                  curve-sovrapposte, stazione-senza-celle\n"
    "  --werror        con un avviso lo stato di uscita e' 1 (i file sono scritti lo stesso)\n"
    "\n"
    "Ogni rilievo e' stampato sullo standard error come FILE:RIGA: errore CODICE: ...,\n"
    "seguito dalla riga del testo e da un segno sotto il campo; poi gli avvisi, che non\n"
    "cambiano i file scritti; alla fine il conto. 'percorso explain CODICE' spiega un codice.\n"
    "Stato di uscita: 0 nessun rilievo; 1 rilievi, file binari scritti; 2 uso errato;\n"
    "3 nessun file binario scritto.\n";

constexpr std::string_view aiuto_explain =
    "uso: percorso explain CODICE\n"
    "\n"
    "Spiega un codice di errore: che cosa significa, che cosa di solito lo causa e come\n"
    "correggere il testo. Codici: 1-13, 15-22, 24, 25, 101-103, 1250, 1251.\n";

constexpr std::pair<std::string_view, std::string_view> aiuti[] = {
    {"sources", aiuto_sources},
    {"compile", aiuto_compile},
    {"explain", aiuto_explain},
};

int errore_uso(std::ostream& err, std::string_view messaggio, std::string_view comando) {
  err << "percorso: " << messaggio << "\nProva 'percorso " << comando << " --help'.\n";
  return uscita_uso;
}

bool chiede_aiuto(std::span<const std::string_view> a) {
  return std::any_of(a.begin(), a.end(),
                     [](std::string_view s) { return s == "--help" || s == "-h"; });
}

// Reports the end of a run on the error stream and gives its exit status.
int concludi(const std::vector<messaggio>& messaggi, const esito_esecuzione& e, std::ostream& err) {
  stampa_messaggi(err, messaggi);
  return e.stato_uscita();
}

int esecuzione_incorporata(std::ostream& err, file_system& fs) {
  err << "Attendere\n";
  const auto cartella = cartella_programma();
  if (!cartella) {
    err << "percorso: impossibile trovare la cartella del programma\n";
    return uscita_interrotta;
  }
  const esito_esecuzione e = esegui_percorso(fs, *cartella);
  modello nomi_modello;
  nomi_modello.nome_percorso = nome_percorso_incorporato;
  nomi_modello.numero_treno = numero_treno_incorporato;
  // The embedded texts are known to be right: their warnings would only be noise.
  const nomi_sorgenti nomi{nome_testo_linea(nomi_modello), nome_testo_treno(nomi_modello)};
  return concludi(messaggi_di(e, nomi, nullptr, {.nessuno = true, .spenti = {}}), e, err);
}

int comando_sources(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                    file_system& fs) {
  if (chiede_aiuto(a)) {
    out << aiuto_sources;
    return uscita_pulita;
  }
  if (a.size() > 1) return errore_uso(err, "troppi argomenti", "sources");
  const std::string cartella = a.empty() ? "." : std::string(a[0]);
  modello m;
  m.nome_percorso = nome_percorso_incorporato;
  m.numero_treno = numero_treno_incorporato;
  const auto testi = testi_del_percorso(m);
  if (auto errore = scrivi_testi(fs, cartella, testi)) {
    err << "percorso: impossibile scrivere " << errore->file << ": " << errore->motivo << '\n';
    return uscita_interrotta;
  }
  return uscita_pulita;
}

std::string_view nome_base(std::string_view percorso) {
  const auto barra = percorso.rfind('/');
  return barra == std::string_view::npos ? percorso : percorso.substr(barra + 1);
}

std::string cartella_di(std::string_view percorso) {
  const auto barra = percorso.rfind('/');
  if (barra == std::string_view::npos) return ".";
  return barra == 0 ? "/" : std::string(percorso.substr(0, barra));
}

struct opzioni_compile {
  std::string linea, treno;
  std::optional<std::string> nome, numero, cartella, rapporto;
  bool senza_piano = false;
  bool avvisi_come_errori = false;
  filtro_avvisi filtro;
};

// Turns off one warning by name; an error text for an unknown name.
std::optional<std::string> spegni_avviso(std::string_view nome, filtro_avvisi& filtro) {
  const auto nomi = nomi_avvisi();
  if (std::find(nomi.begin(), nomi.end(), nome) == nomi.end()) {
    std::string elenco;
    for (const auto n : nomi) elenco.append(elenco.empty() ? "" : ", ").append(n);
    return "avviso sconosciuto: " + std::string(nome) + " (noti: " + elenco + ")";
  }
  filtro.spenti.emplace(nome);
  return std::nullopt;
}

// Parses the compile command's arguments; an error text when they are wrong.
std::optional<std::string> leggi_opzioni(std::span<const std::string_view> a, opzioni_compile& o) {
  std::vector<std::string_view> posizionali;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::string_view s = a[i];
    auto valore = [&](std::optional<std::string>& dest) -> std::optional<std::string> {
      if (i + 1 >= a.size()) return "manca il valore di " + std::string(s);
      dest = std::string(a[++i]);
      return std::nullopt;
    };
    std::optional<std::string> errore;
    if (s == "--nome")
      errore = valore(o.nome);
    else if (s == "--treno")
      errore = valore(o.numero);
    else if (s == "-o")
      errore = valore(o.cartella);
    else if (s == "--report")
      errore = valore(o.rapporto);
    else if (s == "--no-plan")
      o.senza_piano = true;
    else if (s == "--werror")
      o.avvisi_come_errori = true;
    else if (s.starts_with("--no-warn="))
      errore = spegni_avviso(s.substr(10), o.filtro);
    else if (s.size() > 1 && s.front() == '-')
      return "opzione sconosciuta: " + std::string(s);
    else
      posizionali.push_back(s);
    if (errore) return errore;
  }
  if (posizionali.size() != 2) return "servono due testi: LINEA e TRENO";
  o.linea = posizionali[0];
  o.treno = posizionali[1];
  constexpr std::string_view coda_linea = "_linea.txt", coda_treno = "-.txt";
  if (!o.nome) {
    const std::string_view base = nome_base(o.linea);
    if (base.size() <= coda_linea.size() || !base.ends_with(coda_linea))
      return "il nome del percorso non si ricava da " + o.linea + ": usa --nome";
    o.nome = std::string(base.substr(0, base.size() - coda_linea.size()));
  }
  if (!o.numero) {
    const std::string_view base = nome_base(o.treno);
    const std::string prefisso = *o.nome + "_";
    if (!base.starts_with(prefisso) || !base.ends_with(coda_treno) ||
        base.size() <= prefisso.size() + coda_treno.size())
      return "il numero del treno non si ricava da " + o.treno + ": usa --treno";
    o.numero = std::string(
        base.substr(prefisso.size(), base.size() - prefisso.size() - coda_treno.size()));
  }
  if (!o.cartella) o.cartella = cartella_di(o.linea);
  return std::nullopt;
}

// A source text: absent when the file does not exist, an error when it cannot be read.
std::optional<std::vector<std::uint8_t>> leggi_sorgente(file_system& fs, const std::string& file,
                                                        std::optional<errore_file>& errore) {
  if (!fs.esiste(file)) return std::nullopt;
  lettura l = fs.leggi(file);
  if (l.errore) {
    errore = l.errore;
    return std::nullopt;
  }
  return std::move(l.dati);
}

int comando_compile(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                    file_system& fs) {
  if (chiede_aiuto(a)) {
    out << aiuto_compile;
    return uscita_pulita;
  }
  opzioni_compile o;
  if (auto errore = leggi_opzioni(a, o)) return errore_uso(err, *errore, "compile");

  modello m;
  m.nome_percorso = *o.nome;
  m.numero_treno = *o.numero;
  std::optional<errore_file> errore;
  const auto linea = leggi_sorgente(fs, o.linea, errore);
  const auto treno = errore ? std::nullopt : leggi_sorgente(fs, o.treno, errore);
  if (errore) {
    err << "percorso: impossibile leggere " << errore->file << ": " << errore->motivo << '\n';
    return uscita_interrotta;
  }
  sorgenti testi;
  if (linea) testi.linea = *linea;
  if (treno) testi.treno = *treno;
  const esito_esecuzione e =
      costruisci_e_scrivi(fs, std::move(m), testi, o.senza_piano ? 0 : 1, *o.cartella);
  const nomi_sorgenti nomi{o.linea, o.treno};
  const auto messaggi = messaggi_di(e, nomi, &testi, o.filtro);
  int stato = concludi(messaggi, e, err);
  const bool con_avvisi =
      std::any_of(messaggi.begin(), messaggi.end(), [](const messaggio& m) { return m.avviso; });
  if (o.avvisi_come_errori && con_avvisi && stato == uscita_pulita) stato = uscita_rilievi;
  if (o.rapporto) {
    const std::string json = rapporto_json(e, messaggi);
    const std::vector<std::uint8_t> byte(json.begin(), json.end());
    if (auto fallito = fs.sostituisci(*o.rapporto, byte)) {
      err << "percorso: impossibile scrivere " << fallito->file << ": " << fallito->motivo << '\n';
      stato = uscita_interrotta;
    }
  }
  return stato;
}

int comando_explain(std::span<const std::string_view> a, std::ostream& out, std::ostream& err) {
  if (chiede_aiuto(a)) {
    out << aiuto_explain;
    return uscita_pulita;
  }
  if (a.size() != 1) return errore_uso(err, "serve un codice", "explain");
  const auto testo = [&]() -> std::optional<std::string_view> {
    const std::string_view s = a[0];
    std::int32_t codice = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), codice);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    return spiegazione(codice);
  }();
  if (!testo) return errore_uso(err, "codice sconosciuto: " + std::string(a[0]), "explain");
  out << "errore " << a[0] << ": " << significato(std::stoi(std::string(a[0]))) << "\n\n"
      << *testo << '\n';
  return uscita_pulita;
}

}  // namespace

int esegui_comando(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                   file_system& fs) {
  if (a.empty()) return esecuzione_incorporata(err, fs);
  const std::string_view comando = a[0];
  const auto resto = a.subspan(1);
  if (comando == "--help" || comando == "-h") {
    out << aiuto_generale;
    return uscita_pulita;
  }
  if (comando == "help") {
    if (resto.empty()) {
      out << aiuto_generale;
      return uscita_pulita;
    }
    if (resto[0] == "inspect") {
      out << aiuto_inspect();
      return uscita_pulita;
    }
    if (resto[0] == "plot") {
      out << aiuto_plot();
      return uscita_pulita;
    }
    for (const auto& [nome, aiuto] : aiuti) {
      if (resto[0] == nome) {
        out << aiuto;
        return uscita_pulita;
      }
    }
    return errore_uso(err, "comando sconosciuto: " + std::string(resto[0]), "help");
  }
  if (comando == "sources") return comando_sources(resto, out, err, fs);
  if (comando == "inspect") return comando_inspect(resto, out, err, fs);
  if (comando == "plot") return comando_plot(resto, out, err, fs);
  if (comando == "explain") return comando_explain(resto, out, err);
  if (comando == "compile") return comando_compile(resto, out, err, fs);
  err << "percorso: comando sconosciuto: " << comando << "\nProva 'percorso --help'.\n";
  return uscita_uso;
}

}  // namespace percorso
