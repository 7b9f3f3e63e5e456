#include "cli/tempi.h"

#include <charconv>
#include <optional>
#include <string>

#include "app/tempi.h"
#include "cli/lettura_testi.h"
#include "cli/opzioni.h"
#include "cli/uscita.h"
#include "tempi/convoglio.h"

namespace percorso {
namespace {

// An option that sets an assumption: its range and the figure it sets.
struct opzione_ipotesi {
  std::string_view nome;
  double minimo, massimo;
  std::string_view unita;
  double ipotesi::*figura;
};

constexpr opzione_ipotesi figure[] = {
    {"--metri-vettura", 0, 100, "m", &ipotesi::metri_per_vettura},
    {"--accelerazione", accelerazione_minima, 5, "m/s2", &ipotesi::accelerazione},
    {"--frenatura", accelerazione_minima, 5, "m/s2", &ipotesi::frenatura_al_cento},
    {"--reazione", 0, 60, "s", &ipotesi::reazione},
};

constexpr opzione ammesse[] = {{"--json", false},
                               {"--metri-vettura", true},
                               {"--accelerazione", true},
                               {"--frenatura", true},
                               {"--reazione", true}};

std::string numero_testo(double v) {
  std::string t = std::to_string(v);
  t.erase(t.find_last_not_of('0') + 1);
  if (t.back() == '.') t.pop_back();
  return t;
}

// Sets the figure an option names; an error text when its value is no number in range.
std::optional<std::string> applica(std::string_view nome, const std::string& valore, ipotesi& i) {
  for (const opzione_ipotesi& f : figure) {
    if (f.nome != nome) continue;
    double v = 0;
    const auto r = std::from_chars(valore.data(), valore.data() + valore.size(), v);
    if (r.ec != std::errc() || r.ptr != valore.data() + valore.size() || !(v >= f.minimo) ||
        !(v <= f.massimo))
      return std::string(nome) + " vuole un numero da " + numero_testo(f.minimo) + " a " +
             numero_testo(f.massimo) + " (" + std::string(f.unita) + "), non '" + valore + "'";
    i.*f.figura = v;
  }
  return std::nullopt;
}

}  // namespace

int comando_tempi(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                  file_system& fs) {
  argomenti letti;
  if (auto errore = leggi_argomenti(a, ammesse, letti)) return errore_uso(err, *errore, "tempi");
  ipotesi i;
  bool json = false;
  for (const auto& [nome, valore] : letti.opzioni) {
    json = json || nome == "--json";
    if (auto errore = applica(nome, valore, i)) return errore_uso(err, *errore, "tempi");
  }
  testi_letti t;
  if (auto stato = leggi_linea_e_treno(letti.posizionali, "tempi", err, fs, t)) return *stato;
  const esito_tempi e = calcola_tempi(t.fonti(), i);
  if (!e.m.celle_presenti()) {
    err << "percorso: la linea non ha celle (manca una lunghezza del percorso valida): "
           "nessun tempo da calcolare; 'percorso check' dice perche'\n";
    return uscita_rilievi;
  }
  if (e.rilievi_compilatore > 0)
    err << "percorso: il compilatore ha " << e.rilievi_compilatore
        << (e.rilievi_compilatore == 1 ? " rilievo" : " rilievi")
        << ": i tempi valgono per quanto ha compilato; 'percorso check' li mostra\n";
  out << (json ? json_tempi(e, t.nomi) : tabella_tempi(e, t.nomi));
  return con_errori(e) ? uscita_rilievi : uscita_pulita;
}

}  // namespace percorso
