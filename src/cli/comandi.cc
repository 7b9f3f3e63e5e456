#include "cli/comandi.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "app/esecuzione.h"
#include "app/rapporto.h"
#include "cli/aiuto.h"
#include "cli/compila.h"
#include "cli/pagina.h"
#include "cli/testi_autore.h"
#include "cli/uscita.h"
#include "diagnostics/spiegazioni.h"
#include "format/nomi_file.h"
#include "inspect/inspect.h"
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

int esecuzione_incorporata(std::ostream& err, file_system& fs) {
  err << "Attendere\n";
  const auto cartella = cartella_programma();
  if (!cartella) {
    err << "percorso: impossibile trovare la cartella del programma\n";
    return uscita_interrotta;
  }
  const esito_esecuzione e = esegui_percorso(fs, *cartella);
  const modello nomi_modello = scenario_incorporato();
  // The embedded texts are known to be right: their warnings would only be noise.
  const nomi_sorgenti nomi{nome_testo_linea(nomi_modello), nome_testo_treno(nomi_modello)};
  stampa_messaggi(err, messaggi_di(e, nomi, nullptr, {.nessuno = true, .spenti = {}}));
  return e.stato_uscita();
}

int comando_explain(std::span<const std::string_view> a, std::ostream& out, std::ostream& err) {
  if (a.size() != 1) return errore_uso(err, "serve un codice", "explain");
  const std::string_view s = a[0];
  std::int32_t codice = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), codice);
  const bool numero = r.ec == std::errc() && r.ptr == s.data() + s.size();
  const auto testo = numero ? spiegazione(codice) : std::nullopt;
  if (!testo) return errore_uso(err, "codice sconosciuto: " + std::string(s), "explain");
  out << "errore " << s << ": " << significato(codice) << "\n\n" << *testo << '\n';
  return uscita_pulita;
}

int comando_inspect(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                    file_system& fs) {
  bool json = false;
  std::vector<std::string> file;
  for (const std::string_view s : a) {
    if (s == "--json")
      json = true;
    else if (s.size() > 1 && s.front() == '-')
      return errore_uso(err, "opzione sconosciuta: " + std::string(s), "inspect");
    else
      file.emplace_back(s);
  }
  if (file.empty()) return errore_uso(err, "manca il file da esaminare", "inspect");
  return ispeziona(file, fs, json, out, err) ? uscita_pulita : uscita_interrotta;
}

int comando_plot(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                 file_system& fs) {
  std::optional<std::string> file_celle, file_svg;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] == "-o") {
      if (i + 1 >= a.size()) return errore_uso(err, "manca il valore di -o", "plot");
      file_svg = std::string(a[++i]);
    } else if (a[i].size() > 1 && a[i].front() == '-') {
      return errore_uso(err, "opzione sconosciuta: " + std::string(a[i]), "plot");
    } else if (file_celle) {
      return errore_uso(err, "un solo file delle celle, per favore", "plot");
    } else {
      file_celle = std::string(a[i]);
    }
  }
  if (!file_celle) return errore_uso(err, "manca il file delle celle", "plot");
  if (!file_svg) file_svg = svg_accanto(*file_celle);

  const auto documento = svg_della_linea(fs, *file_celle, err);
  if (!documento) return uscita_interrotta;
  if (*file_svg == "-") {
    out << *documento;
    return uscita_pulita;
  }
  const std::vector<std::uint8_t> byte(documento->begin(), documento->end());
  if (auto errore = fs.sostituisci(*file_svg, byte)) {
    err << "percorso: impossibile scrivere " << errore->file << ": " << errore->motivo << '\n';
    return uscita_interrotta;
  }
  out << "scritto " << *file_svg << '\n';
  return uscita_pulita;
}

int comando_help(std::span<const std::string_view> a, std::ostream& out, std::ostream& err) {
  if (a.empty()) {
    out << aiuto_generale();
    return uscita_pulita;
  }
  const auto aiuto = aiuto_di(a[0]);
  if (!aiuto) return errore_uso(err, "comando sconosciuto: " + std::string(a[0]), "help");
  out << *aiuto;
  return uscita_pulita;
}

}  // namespace

int errore_uso(std::ostream& err, std::string_view messaggio, std::string_view comando) {
  err << "percorso: " << messaggio << "\nProva 'percorso " << comando << " --help'.\n";
  return uscita_uso;
}

std::optional<std::string> valore_opzione(std::span<const std::string_view> a, std::size_t& i,
                                          std::optional<std::string>& dest) {
  if (i + 1 >= a.size()) return "manca il valore di " + std::string(a[i]);
  dest = std::string(a[++i]);
  return std::nullopt;
}

std::optional<std::string> due_testi(std::span<const std::string_view> posizionali,
                                     std::string& linea, std::string& treno,
                                     std::optional<std::string>& nome,
                                     std::optional<std::string>& numero) {
  if (posizionali.size() != 2) return "servono due testi: LINEA e TRENO";
  linea = posizionali[0];
  treno = posizionali[1];
  if (!nome) nome = nome_da_testo_linea(nome_base(linea));
  if (!nome) return "il nome del percorso non si ricava da " + linea + ": usa --nome";
  if (!numero) numero = treno_da_testo_treno(nome_base(treno), *nome);
  if (!numero) return "il numero del treno non si ricava da " + treno + ": usa --treno";
  return std::nullopt;
}

bool chiede_aiuto(std::span<const std::string_view> a) {
  return std::any_of(a.begin(), a.end(),
                     [](std::string_view s) { return s == "--help" || s == "-h"; });
}

int esegui_comando(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                   file_system& fs) {
  if (a.empty()) return esecuzione_incorporata(err, fs);
  const std::string_view comando = a[0];
  const auto resto = a.subspan(1);
  if (comando == "--help" || comando == "-h") {
    out << aiuto_generale();
    return uscita_pulita;
  }
  if (comando == "help") return comando_help(resto, out, err);
  const auto aiuto = aiuto_di(comando);
  if (aiuto && chiede_aiuto(resto)) {
    out << *aiuto;
    return uscita_pulita;
  }
  if (comando == "sources") return comando_sources(resto, out, err, fs);
  if (comando == "new") return comando_new(resto, out, err, fs);
  if (comando == "inspect") return comando_inspect(resto, out, err, fs);
  if (comando == "plot") return comando_plot(resto, out, err, fs);
  if (comando == "explain") return comando_explain(resto, out, err);
  if (comando == "compile") return comando_compile(resto, err, fs);
  if (comando == "page") return comando_page(resto, out, err, fs);
  err << "percorso: comando sconosciuto: " << comando << "\nProva 'percorso --help'.\n";
  return uscita_uso;
}

}  // namespace percorso
