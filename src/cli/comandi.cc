#include "cli/comandi.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/esecuzione.h"
#include "app/rapporto.h"
#include "app/spiega.h"
#include "cli/aiuto.h"
#include "cli/compila.h"
#include "cli/controlla.h"
#include "cli/decompila.h"
#include "cli/opzioni.h"
#include "cli/pagina.h"
#include "cli/servizio_lsp.h"
#include "cli/tempi.h"
#include "cli/testi_autore.h"
#include "cli/trascinati.h"
#include "cli/uscita.h"
#include "diagnostics/spiegazioni.h"
#include "format/nomi_file.h"
#include "inspect/inspect.h"
#include "platform/finestra.h"
#include "plot/plot.h"

namespace percorso {
namespace {

// The embedded scenario's model, with only its names.
modello scenario_incorporato() {
  modello m;
  m.nome_percorso = nome_percorso_incorporato;
  m.numero_treno = numero_treno_incorporato;
  return m;
}

// Without a console of its own the run speaks through its window: what it would
// have written goes into a message box when it fails.
int esecuzione_incorporata(std::ostream& err, file_system& fs) {
  const auto finestra = apri_finestra_attesa();
  std::ostringstream scritto;
  std::ostream& voce = finestra ? scritto : err;
  if (!finestra) err << "Attendere\n";
  const auto cartella = cartella_programma();
  if (!cartella) {
    voce << "percorso: impossibile trovare la cartella del programma\n";
    if (finestra) finestra->messaggio(scritto.str(), finestra_attesa::icona::nessuna);
    return uscita_interrotta;
  }
  const esito_esecuzione e = esegui_percorso(fs, *cartella);
  const modello nomi_modello = scenario_incorporato();
  // The embedded texts are known to be right: their warnings would only be noise.
  const nomi_sorgenti nomi{nome_testo_linea(nomi_modello), nome_testo_treno(nomi_modello)};
  const auto messaggi =
      messaggi_di(e, nomi, nullptr, {.nessuno = true, .spenti = {}}, false).elenco;
  stampa_messaggi(voce, messaggi);
  // As compile ends: where the files went, beside the program wherever it is installed.
  voce << riassunto_corsa(messaggi, e, *cartella) << '\n';
  if (finestra && e.stato_uscita() == uscita_interrotta)
    finestra->messaggio(
        e.errore_programma ? " Errore n. " + std::to_string(*e.errore_programma) : scritto.str(),
        finestra_attesa::icona::nessuna);
  return e.stato_uscita();
}

int comando_explain(std::span<const std::string_view> a, std::ostream& out, std::ostream& err) {
  argomenti letti;
  if (auto errore = leggi_argomenti(a, {}, letti)) return errore_uso(err, *errore, "explain");
  if (letti.posizionali.empty()) {
    out << indice_spiegazioni();
    return uscita_pulita;
  }
  if (letti.posizionali.size() > 1)
    return errore_uso(err, "troppi argomenti: un codice o una parola chiave alla volta", "explain");
  const std::string_view s = letti.posizionali[0];
  std::int32_t codice = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), codice);
  if (r.ec == std::errc() && r.ptr == s.data() + s.size()) {
    const auto testo = spiegazione(codice);
    if (!testo) return errore_uso(err, "codice sconosciuto: " + std::string(s), "explain");
    out << "errore " << codice << ": " << significato(codice) << "\n\n" << *testo << '\n';
    return uscita_pulita;
  }
  const auto parola = spiega_parola(s);
  if (!parola)
    return errore_uso(
        err, "parola chiave o nome sconosciuto: " + std::string(s) + forse(s, nomi_parole()),
        "explain");
  out << *parola;
  return uscita_pulita;
}

int comando_inspect(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                    file_system& fs) {
  static constexpr opzione ammesse[] = {{"--json", false}};
  argomenti letti;
  if (auto errore = leggi_argomenti(a, ammesse, letti)) return errore_uso(err, *errore, "inspect");
  if (letti.posizionali.empty()) return errore_uso(err, "manca il file da esaminare", "inspect");
  const std::vector<std::string> file(letti.posizionali.begin(), letti.posizionali.end());
  // Each set is read under the turn of its directory, and one a killed run left mixed
  // is said to be.
  cartelle_corsa cartelle;
  for (const std::string& f : file) cartelle.lette.push_back(cartella_di(f));
  const auto turno = fs.insieme(std::move(cartelle));
  turno->prendi_turno();
  avvisa_giornali(err, turno->giornali_lasciati());
  return ispeziona(file, fs, !letti.opzioni.empty(), out, err) ? uscita_pulita : uscita_interrotta;
}

int non_scritto(std::ostream& err, const errore_file& e) {
  err << "percorso: impossibile scrivere " << e.file << ": " << e.motivo << '\n';
  return uscita_interrotta;
}

int comando_plot(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                 file_system& fs) {
  static constexpr opzione ammesse[] = {{"-o", true}};
  argomenti letti;
  if (auto errore = leggi_argomenti(a, ammesse, letti)) return errore_uso(err, *errore, "plot");
  if (letti.posizionali.empty()) return errore_uso(err, "manca il file delle celle", "plot");
  if (letti.posizionali.size() > 1)
    return errore_uso(err, "un solo file delle celle, per favore", "plot");
  const std::string file_celle(letti.posizionali[0]);
  const std::string file_svg =
      letti.opzioni.empty() ? svg_accanto(file_celle) : letti.opzioni.back().second;
  const bool su_uscita = file_svg == "-";

  // The set is read and the drawing written under the turn of their directories.
  cartelle_corsa cartelle{.lette = {cartella_di(file_celle)}};
  if (!su_uscita) cartelle.scritte.push_back(cartella_di(file_svg));
  const auto insieme = fs.insieme(std::move(cartelle));
  if (auto errore = insieme->prendi_turno()) return non_scritto(err, *errore);
  avvisa_giornali(err, insieme->giornali_lasciati());
  std::vector<std::string> ingressi;
  const auto documento = svg_della_linea(fs, file_celle, err, ingressi);
  if (!documento) return uscita_interrotta;
  if (su_uscita) {
    out << *documento;
    return uscita_pulita;
  }
  // The drawing replaces none of the files it was drawn from.
  for (const std::string& ingresso : ingressi) insieme->ingresso(ingresso);
  const std::vector<std::uint8_t> byte(documento->begin(), documento->end());
  auto errore = insieme->aggiungi(file_svg, byte);
  if (!errore) errore = insieme->conferma();
  if (errore) return non_scritto(err, *errore);
  out << "scritto " << file_svg << '\n';
  return uscita_pulita;
}

int comando_help(std::span<const std::string_view> a, std::ostream& out, std::ostream& err) {
  argomenti letti;
  if (auto errore = leggi_argomenti(a, {}, letti)) return errore_uso(err, *errore, "help");
  if (letti.posizionali.empty()) {
    out << aiuto_generale();
    return uscita_pulita;
  }
  if (letti.posizionali.size() > 1)
    return errore_uso(err, "troppi argomenti: un solo COMANDO", "help");
  const std::string_view chiesto = letti.posizionali[0];
  const auto aiuto = aiuto_di(chiesto);
  if (!aiuto)
    return errore_uso(
        err, "comando sconosciuto: " + std::string(chiesto) + forse(chiesto, comandi()), "help");
  out << *aiuto;
  return uscita_pulita;
}

// Options before any command.
int opzione_generale(std::string_view o, std::ostream& out, std::ostream& err) {
  static constexpr std::string_view note[] = {"--help", "-h", "--version"};
  if (o == "--help" || o == "-h") {
    out << aiuto_generale();
    return uscita_pulita;
  }
  if (o == "--version") {
    out << "percorso " << PERCORSO_VERSIONE << '\n';
    return uscita_pulita;
  }
  err << "percorso: opzione sconosciuta: " << o << forse(o, note) << "\nProva 'percorso --help'.\n";
  return uscita_uso;
}

// A name as it can be read on a terminal: control bytes as \xHH, at most 40 characters.
std::string leggibile(std::string_view nome) {
  std::string s;
  for (const char c : nome.substr(0, 40)) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b != 0x7F) {
      s.append(1, c);
      continue;
    }
    constexpr char cifre[] = "0123456789abcdef";
    s.append("\\x").append(1, cifre[b >> 4]).append(1, cifre[b & 15]);
  }
  if (nome.size() > 40) s.append("...");
  return s;
}

}  // namespace

int errore_uso(std::ostream& err, std::string_view messaggio, std::string_view comando) {
  err << "percorso: " << messaggio << '\n' << uso_di(comando);
  // The help of a known command always works, so the hint never leads back here.
  if (comando == "help") {
    std::string elenco;
    for (const auto c : comandi()) elenco.append(elenco.empty() ? "" : ", ").append(c);
    err << "Comandi: " << elenco << ".\n";
  } else {
    err << "Prova 'percorso help " << comando << "'.\n";
  }
  return uscita_uso;
}

std::optional<std::string> nome_non_valido(std::string_view nome) {
  const bool controllo = std::any_of(nome.begin(), nome.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
  const bool fuori = nome.find_first_of("/\\") != std::string_view::npos ||
                     nome.find("..") != std::string_view::npos;
  // Windows refuses them, or reads ':' as a stream of the file: a scenario made on one
  // system must be usable on the other.
  const bool vietato = nome.find_first_of("<>:\"|?*") != std::string_view::npos;
  if (!nome.empty() && !controllo && !fuori && !vietato) return std::nullopt;
  return "nome non valido: '" + leggibile(nome) + "'" +
         (fuori       ? ": i file uscirebbero dalla loro cartella (niente '/', '\\' o '..')"
          : controllo ? ": niente caratteri di controllo in un nome di file"
          : vietato   ? ": Windows non ammette < > : \" | ? * in un nome di file"
                      : ": vuoto");
}

std::optional<std::string> due_testi(std::span<const std::string_view> posizionali,
                                     std::string& linea, std::string& treno,
                                     std::optional<std::string>& nome,
                                     std::optional<std::string>& numero) {
  if (posizionali.size() < 2) return "servono due testi: LINEA e TRENO";
  if (posizionali.size() > 2)
    return "troppi argomenti: servono due testi, LINEA e TRENO, e " + std::string(posizionali[2]) +
           " e' in piu'";
  linea = posizionali[0];
  treno = posizionali[1];
  for (const auto& dato : {nome, numero}) {
    if (!dato) continue;
    if (auto errore = nome_non_valido(*dato)) return errore;
  }
  const bool senza_nome = !nome, senza_numero = !numero;
  if (!nome) nome = nome_da_testo_linea(nome_base(linea));
  if (nome && !numero) numero = treno_da_testo_treno(nome_base(treno), *nome);
  if (nome && numero) return std::nullopt;
  // Texts given the other way round are named by what they are.
  if (senza_nome && !nome && nome_da_testo_linea(nome_base(treno)))
    return "l'ordine e' LINEA TRENO: " + treno + " e' il testo della linea, " + linea +
           " quello del treno";
  modello regola;
  regola.nome_percorso = nome.value_or("NOME");
  regola.numero_treno = "TRENO";
  const std::string spiega = " ('percorso explain nomi')";
  if (!nome && senza_numero)
    return "il nome del percorso non si ricava da " + linea +
           " e il numero del treno non si ricava da " + treno +
           ": usa --nome e --treno, o chiama i testi " + nome_testo_linea(regola) + " e " +
           nome_testo_treno(regola) + spiega;
  if (!nome)
    return "il nome del percorso non si ricava da " + linea +
           ": usa --nome, o chiama il testo della linea " + nome_testo_linea(regola) + spiega;
  return "il numero del treno non si ricava da " + treno +
         ": usa --treno, o chiama il testo del treno " + nome_testo_treno(regola) + spiega;
}

void avvisa_giornali(std::ostream& err, std::span<const errore_file> giornali) {
  for (const errore_file& g : giornali)
    err << "percorso: avviso: " << g.file << ": " << g.motivo << '\n';
}

bool chiede_aiuto(std::span<const std::string_view> a) {
  return std::any_of(a.begin(), a.end(),
                     [](std::string_view s) { return s == "--help" || s == "-h"; });
}

int esegui_comando(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                   file_system& fs) {
  if (a.empty()) return esecuzione_incorporata(err, fs);
  if (const auto testi = testi_trascinati(a)) {
    if (const auto finestra = apri_finestra_attesa())
      return compila_trascinati(testi->first, testi->second, *finestra, fs);
    // In a console a command is typed: two texts alone are a slip, told how to compile.
    return errore_uso(err,
                      "due testi senza comando: per compilarli, percorso compile " + testi->first +
                          " " + testi->second,
                      "compile");
  }
  const std::string_view comando = a[0];
  const auto resto = a.subspan(1);
  if (comando.size() > 1 && comando.front() == '-') return opzione_generale(comando, out, err);
  const auto aiuto = aiuto_di(comando);
  if (aiuto && chiede_aiuto(resto)) {
    out << *aiuto;
    return uscita_pulita;
  }
  if (comando == "help") return comando_help(resto, out, err);
  if (comando == "sources") return comando_sources(resto, out, err, fs);
  if (comando == "new") return comando_new(resto, out, err, fs);
  if (comando == "inspect") return comando_inspect(resto, out, err, fs);
  if (comando == "decompile") return comando_decompile(resto, out, err, fs);
  if (comando == "plot") return comando_plot(resto, out, err, fs);
  if (comando == "explain") return comando_explain(resto, out, err);
  if (comando == "compile") return comando_compile(resto, err, fs);
  if (comando == "page") return comando_page(resto, out, err, fs);
  if (comando == "check") return comando_check(resto, out, err, fs);
  if (comando == "tempi") return comando_tempi(resto, out, err, fs);
  if (comando == "lsp") return comando_lsp(resto, out, err, fs);
  err << "percorso: comando sconosciuto: " << comando << forse(comando, comandi())
      << "\nProva 'percorso --help'.\n";
  return uscita_uso;
}

}  // namespace percorso
