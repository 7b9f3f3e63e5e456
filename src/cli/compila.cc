#include "cli/compila.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/esecuzione.h"
#include "app/rapporto.h"
#include "app/sorveglia.h"
#include "cli/uscita.h"
#include "format/nomi_file.h"

namespace percorso {
namespace {

struct opzioni_compile {
  std::string linea, treno;
  std::optional<std::string> nome, numero, cartella, rapporto;
  bool senza_piano = false;
  bool avvisi_come_errori = false;
  bool documenti = false;
  bool sorveglia = false;
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
    auto valore = [&](std::optional<std::string>& dest) { return valore_opzione(a, i, dest); };
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
    else if (s == "--documents")
      o.documenti = true;
    else if (s == "--watch")
      o.sorveglia = true;
    else if (s.starts_with("--no-warn="))
      errore = spegni_avviso(s.substr(10), o.filtro);
    else if (s.size() > 1 && s.front() == '-')
      return "opzione sconosciuta: " + std::string(s);
    else
      posizionali.push_back(s);
    if (errore) return errore;
  }
  if (auto errore = due_testi(posizionali, o.linea, o.treno, o.nome, o.numero)) return errore;
  if (!o.cartella) {
    std::string cartella = cartella_di(o.linea);
    o.cartella = cartella.empty() ? std::string(".") : std::move(cartella);
  }
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

// One compilation: messages on err, binaries and report written; its exit status.
// riassunto gets one line about it.
int compila(const opzioni_compile& o, std::ostream& err, file_system& fs, std::string& riassunto) {
  modello m;
  m.nome_percorso = *o.nome;
  m.numero_treno = *o.numero;
  std::optional<errore_file> errore;
  const auto linea = leggi_sorgente(fs, o.linea, errore);
  const auto treno = errore ? std::nullopt : leggi_sorgente(fs, o.treno, errore);
  if (errore) {
    err << "percorso: impossibile leggere " << errore->file << ": " << errore->motivo << '\n';
    riassunto = "non compilato: un testo non si legge";
    return uscita_interrotta;
  }
  sorgenti testi;
  if (linea) testi.linea = *linea;
  if (treno) testi.treno = *treno;
  const esito_esecuzione e =
      costruisci_e_scrivi(fs, std::move(m), testi, o.senza_piano ? 0 : 1, *o.cartella, o.documenti);
  const nomi_sorgenti nomi{o.linea, o.treno};
  const auto messaggi = messaggi_di(e, nomi, &testi, o.filtro);
  stampa_messaggi(err, messaggi);
  int stato = e.stato_uscita();
  const auto avvisi = static_cast<std::size_t>(
      std::count_if(messaggi.begin(), messaggi.end(), [](const messaggio& m) { return m.avviso; }));
  if (o.avvisi_come_errori && avvisi > 0 && stato == uscita_pulita) stato = uscita_rilievi;
  if (o.rapporto) {
    const std::string json = rapporto_json(e, messaggi);
    const std::vector<std::uint8_t> byte(json.begin(), json.end());
    if (auto fallito = fs.sostituisci(*o.rapporto, byte)) {
      err << "percorso: impossibile scrivere " << fallito->file << ": " << fallito->motivo << '\n';
      stato = uscita_interrotta;
    }
  }
  const std::size_t errori = messaggi.size() - avvisi;
  riassunto = std::to_string(errori) + (errori == 1 ? " errore, " : " errori, ") +
              std::to_string(avvisi) + (avvisi == 1 ? " avviso; " : " avvisi; ") +
              (e.esito == esito_esecuzione::tipo::interrotto ? "file binari non scritti"
                                                             : "file binari scritti");
  return stato;
}

}  // namespace

int comando_compile(std::span<const std::string_view> a, std::ostream& err, file_system& fs) {
  opzioni_compile o;
  if (auto errore = leggi_opzioni(a, o)) return errore_uso(err, *errore, "compile");
  std::string riassunto;
  if (!o.sorveglia) return compila(o, err, fs, riassunto);
  const std::string testi[] = {o.linea, o.treno};
  return ripeti_a_ogni_modifica(
      testi,
      [&] {
        const auto inizio = std::chrono::steady_clock::now();
        compila(o, err, fs, riassunto);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - inizio)
                            .count();
        err << "compilato: " << riassunto << " (" << ms << " ms)" << std::endl;
      },
      err);
}

}  // namespace percorso
