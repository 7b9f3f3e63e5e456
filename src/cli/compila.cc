#include "cli/compila.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/esecuzione.h"
#include "app/ingressi_uscite.h"
#include "app/nomi_sul_disco.h"
#include "app/rapporto.h"
#include "app/sorveglia.h"
#include "cli/avvisi.h"
#include "cli/opzioni.h"
#include "cli/uscita.h"
#include "format/nomi_file.h"

namespace percorso {
namespace {

constexpr opzione ammesse[] = {
    {"--nome", true},     {"--treno", true},   {"-o", true},           {"--report", true},
    {"--no-plan", false}, {"--no-warn", true}, {"--werror", false},    {"--documents", false},
    {"--watch", false},   {"--strict", false}, {"--no-strict", false},
};

struct opzioni_compile {
  std::string linea, treno;
  std::optional<std::string> nome, numero, cartella, rapporto;
  bool senza_piano = false;
  bool avvisi_come_errori = false;
  bool documenti = false;
  bool sorveglia = false;
  bool rigoroso = true;
  bool nome_dal_file = false;   // NOME comes from the line text's name
  bool treno_dal_file = false;  // TRENO from the train text's
  filtro_avvisi filtro;
};

// Takes one option read from the command line.
std::optional<std::string> applica(std::string_view nome, std::string valore, opzioni_compile& o) {
  if (nome == "--nome") o.nome = std::move(valore);
  if (nome == "--treno") o.numero = std::move(valore);
  if (nome == "-o") o.cartella = std::move(valore);
  if (nome == "--report") o.rapporto = std::move(valore);
  if (nome == "--no-plan") o.senza_piano = true;
  if (nome == "--werror") o.avvisi_come_errori = true;
  if (nome == "--documents") o.documenti = true;
  if (nome == "--watch") o.sorveglia = true;
  if (nome == "--strict") o.rigoroso = true;
  if (nome == "--no-strict") o.rigoroso = false;
  if (nome == "--no-warn") return spegni_avviso(valore, o.filtro);
  return std::nullopt;
}

// Parses the compile command's arguments; an error text when they are wrong.
std::optional<std::string> leggi_opzioni(std::span<const std::string_view> a, opzioni_compile& o) {
  argomenti letti;
  if (auto errore = leggi_argomenti(a, ammesse, letti)) return errore;
  for (auto& [nome, valore] : letti.opzioni)
    if (auto errore = applica(nome, std::move(valore), o)) return errore;
  o.nome_dal_file = !o.nome;
  o.treno_dal_file = !o.numero;
  if (auto errore = due_testi(letti.posizionali, o.linea, o.treno, o.nome, o.numero)) return errore;
  if (!o.cartella) {
    std::string cartella = cartella_di(o.linea);
    o.cartella = cartella.empty() ? std::string(".") : std::move(cartella);
  }
  return std::nullopt;
}

// What must hold before anything is compiled: the report can be written and the
// output folder and the report's exist (they are made when missing).
std::optional<std::string> prepara(file_system& fs, const opzioni_compile& o) {
  if (o.rapporto) {
    if (auto e = fs.prova_scrittura(*o.rapporto))
      return "impossibile scrivere " + e->file + ": " + e->motivo;
  }
  // The report's folder too: the binaries and the report are written together.
  for (const std::string& cartella :
       {*o.cartella, o.rapporto ? cartella_di(*o.rapporto) : std::string()}) {
    if (cartella.empty()) continue;
    if (auto e = fs.crea_cartella(cartella))
      return "impossibile creare la cartella " + e->file + ": " + e->motivo;
  }
  return std::nullopt;
}

constexpr std::string_view non_compilato = "non compilato: ";

// Every file a compilation with these options may write.
std::vector<std::string> uscite_di(const opzioni_compile& o) {
  modello m;
  m.nome_percorso = *o.nome;
  m.numero_treno = *o.numero;
  std::vector<std::string> uscite = {nome_file_punti(m), nome_file_celle(m)};
  if (!o.senza_piano) uscite.push_back(nome_file_piano(m));
  if (o.documenti) {
    uscite.push_back(nome_scheda(m));
    uscite.push_back(nome_rallentamenti(m));
  }
  for (std::string& u : uscite) u = unisci(*o.cartella, u);
  if (o.rapporto) uscite.push_back(*o.rapporto);
  return uscite;
}

// A run that stopped before compiling, with why.
corsa_compile fermata(int stato, std::string perche, std::string riassunto) {
  return {stato, std::string(non_compilato) + riassunto, {messaggio_di_arresto(perche)}, {}};
}

// The directories a compilation writes into: the binaries' and the report's.
std::vector<std::string> cartelle_scritte(const opzioni_compile& o) {
  std::vector<std::string> cartelle = {*o.cartella};
  if (o.rapporto) cartelle.push_back(cartella_di(*o.rapporto));
  return cartelle;
}

// One compilation: binaries and report written, and what it has to say.
corsa_compile compila(const opzioni_compile& o, file_system& fs) {
  modello m;
  m.nome_percorso = *o.nome;
  m.numero_treno = *o.numero;
  // The texts are read, and the files written, under the turn of their directories.
  const auto insieme = fs.insieme(
      {.scritte = cartelle_scritte(o), .lette = {cartella_di(o.linea), cartella_di(o.treno)}});
  if (auto errore = insieme->prendi_turno())
    return fermata(uscita_interrotta,
                   "impossibile scrivere " + errore->file + ": " + errore->motivo,
                   "una cartella non si puo' scrivere");
  // A text that does not exist stops the run like one that cannot be read: compiling
  // without it would replace good binaries with those of half a scenario.
  const lettura linea = fs.leggi(o.linea);
  const lettura treno = linea.errore ? lettura{} : fs.leggi(o.treno);
  if (const auto& errore = linea.errore ? linea.errore : treno.errore)
    return fermata(uscita_interrotta, "impossibile leggere " + errore->file + ": " + errore->motivo,
                   "un testo non si legge");
  insieme->ingresso(o.linea);
  insieme->ingresso(o.treno);
  if (auto impedimento = prepara(fs, o))
    return fermata(uscita_interrotta, *impedimento + "; niente e' stato compilato", *impedimento);
  const sorgenti testi{linea.dati, treno.dati};
  esito_esecuzione e = costruisci(std::move(m), testi, o.senza_piano ? 0 : 1);
  std::vector<file_accanto> altri;
  if (o.documenti) altri = documenti_del_modello(e, *o.cartella);
  const nomi_sorgenti nomi{o.linea, o.treno};
  // The messages and the report are made before the commit, which the report joins;
  // after it only the cause of a failed commit can be added.
  auto corsa = messaggi_di(e, nomi, &testi, o.filtro, o.rigoroso);
  // The texts whose names give NOME or TRENO, as typed.
  std::vector<std::string> dal_nome;
  if (o.nome_dal_file) dal_nome.push_back(o.linea);
  if (o.treno_dal_file) dal_nome.push_back(o.treno);
  const auto maiuscole = maiuscole_diverse(fs, dal_nome, o.filtro);
  corsa.elenco.insert(corsa.elenco.begin(), maiuscole.begin(), maiuscole.end());
  if (o.rapporto) {
    const std::string json = rapporto_json(e, corsa);
    altri.push_back({*o.rapporto, {json.begin(), json.end()}});
  }
  const std::string causa = e.causa;
  scrivi_uscita(*insieme, e, *o.cartella, altri);
  corsa_compile c{e.stato_uscita(), {}, std::move(corsa.elenco), insieme->giornali_lasciati()};
  std::vector<messaggio>& messaggi = c.messaggi;
  if (e.causa != causa) messaggi.push_back(messaggio_di_arresto(e.causa));
  const auto avvisi = static_cast<std::size_t>(
      std::count_if(messaggi.begin(), messaggi.end(), [](const messaggio& m) { return m.avviso; }));
  // The checker's errors are errors unless --no-strict; with --werror every warning is.
  const std::size_t errori = messaggi.size() - avvisi;
  if ((errori > 0 || (o.avvisi_come_errori && avvisi > 0)) && c.stato == uscita_pulita)
    c.stato = uscita_rilievi;
  c.riassunto = riassunto_corsa(messaggi, e, *o.cartella);
  return c;
}

// A run one of whose outputs is one of its texts stops before anything, naming both.
std::optional<corsa_compile> uscita_su_testo(const opzioni_compile& o, file_system& fs) {
  const std::string testi[] = {o.linea, o.treno};
  if (auto impedimento = uscita_su_ingresso(fs, testi, uscite_di(o)))
    return fermata(uscita_interrotta, *impedimento, *impedimento);
  return std::nullopt;
}

}  // namespace

bool compilato(const corsa_compile& c) {
  return !c.riassunto.starts_with(non_compilato);
}

corsa_compile compila_con_documenti(const std::string& linea, const std::string& treno,
                                    file_system& fs) {
  const std::string_view a[] = {"--documents", "--", linea, treno};
  opzioni_compile o;
  if (auto errore = leggi_opzioni(a, o)) return fermata(uscita_uso, *errore, *errore);
  if (auto ferma = uscita_su_testo(o, fs)) return *ferma;
  return compila(o, fs);
}

int comando_compile(std::span<const std::string_view> a, std::ostream& err, file_system& fs) {
  opzioni_compile o;
  if (auto errore = leggi_opzioni(a, o)) return errore_uso(err, *errore, "compile");
  // Checked once, before the first run: a watch must not rebuild its own inputs.
  if (auto ferma = uscita_su_testo(o, fs)) {
    stampa_messaggi(err, ferma->messaggi);
    return ferma->stato;
  }
  if (!o.sorveglia) {
    const corsa_compile c = compila(o, fs);
    avvisa_giornali(err, c.giornali);
    stampa_messaggi(err, c.messaggi);
    // A run stopped before compiling has already said why.
    if (compilato(c)) err << c.riassunto << '\n';
    return c.stato;
  }
  const std::string testi[] = {o.linea, o.treno};
  return ripeti_a_ogni_modifica(
      testi,
      [&] {
        const auto inizio = std::chrono::steady_clock::now();
        const corsa_compile c = compila(o, fs);
        avvisa_giornali(err, c.giornali);
        stampa_messaggi(err, c.messaggi);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - inizio)
                            .count();
        err << "compilato: " << c.riassunto << " (" << ms << " ms)" << std::endl;
      },
      err);
}

}  // namespace percorso
