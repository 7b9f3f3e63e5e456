#include "cli/testi_autore.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/esecuzione.h"
#include "app/scrittura_testi.h"
#include "cli/opzioni.h"
#include "cli/uscita.h"
#include "writers/nuovo_scenario.h"

namespace percorso {
namespace {

constexpr opzione ammesse[] = {{"--force", false}};

struct argomenti_testi {
  std::vector<std::string_view> posizionali;
  bool forza = false;
};

std::optional<std::string> leggi_opzioni(std::span<const std::string_view> a, argomenti_testi& o) {
  argomenti letti;
  if (auto errore = leggi_argomenti(a, ammesse, letti)) return errore;
  o.posizionali = std::move(letti.posizionali);
  o.forza = !letti.opzioni.empty();
  return std::nullopt;
}

}  // namespace

int riferisci(const esito_testi& e, std::string_view perche, std::ostream& out, std::ostream& err) {
  for (const auto& f : e.invariati) out << "invariato " << f << '\n';
  for (const auto& f : e.scritti) out << "scritto " << f << '\n';
  if (e.errore) {
    err << "percorso: impossibile " << e.operazione << " " << e.errore->file << ": "
        << e.errore->motivo << '\n';
    return uscita_interrotta;
  }
  if (e.rifiutati.empty()) return uscita_pulita;
  for (const auto& f : e.rifiutati) err << "percorso: " << f << perche << '\n';
  err << "percorso: nessun file scritto; --force per sostituirli\n";
  return uscita_interrotta;
}

int comando_sources(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                    file_system& fs) {
  argomenti_testi o;
  if (auto errore = leggi_opzioni(a, o)) return errore_uso(err, *errore, "sources");
  if (o.posizionali.size() > 1) return errore_uso(err, "troppi argomenti", "sources");
  modello m;
  m.nome_percorso = nome_percorso_incorporato;
  m.numero_treno = numero_treno_incorporato;
  const std::string cartella = o.posizionali.empty() ? "." : std::string(o.posizionali[0]);
  const auto testi = testi_del_percorso(m);
  return riferisci(
      scrivi_testi_protetti(fs, cartella, testi,
                            o.forza ? se_esiste::sostituisci : se_esiste::rifiuta_se_diverso),
      " esiste gia' con un altro contenuto", out, err);
}

int comando_new(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                file_system& fs) {
  argomenti_testi o;
  if (auto errore = leggi_opzioni(a, o)) return errore_uso(err, *errore, "new");
  if (o.posizionali.size() < 2) return errore_uso(err, "servono NOME e TRENO", "new");
  if (o.posizionali.size() > 3) return errore_uso(err, "troppi argomenti", "new");
  for (const std::string_view nome : {o.posizionali[0], o.posizionali[1]}) {
    if (auto errore = nome_non_valido(nome)) return errore_uso(err, *errore, "new");
  }
  modello m;
  m.nome_percorso = std::string(o.posizionali[0]);
  m.numero_treno = std::string(o.posizionali[1]);
  const std::string cartella = o.posizionali.size() > 2 ? std::string(o.posizionali[2]) : ".";
  const auto testi = testi_nuovo_scenario(m);
  return riferisci(scrivi_testi_protetti(fs, cartella, testi,
                                         o.forza ? se_esiste::sostituisci : se_esiste::rifiuta),
                   " esiste gia'", out, err);
}

}  // namespace percorso
