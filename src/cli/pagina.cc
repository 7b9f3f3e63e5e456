#include "cli/pagina.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/ingressi_uscite.h"
#include "app/pagina_percorso.h"
#include "app/sorveglia.h"
#include "cli/opzioni.h"
#include "cli/uscita.h"
#include "format/nomi_file.h"

namespace percorso {
namespace {

struct opzioni_page {
  richiesta_pagina r;
  bool sorveglia = false;
};

constexpr opzione ammesse[] = {
    {"--nome", true}, {"--treno", true}, {"-o", true}, {"--watch", false}};

// Parses the arguments; an error text when they are wrong.
std::optional<std::string> leggi_opzioni(std::span<const std::string_view> a, opzioni_page& o) {
  argomenti letti;
  if (auto errore = leggi_argomenti(a, ammesse, letti)) return errore;
  std::optional<std::string> nome, numero, file;
  for (auto& [opzione, valore] : letti.opzioni) {
    if (opzione == "--nome") nome = std::move(valore);
    if (opzione == "--treno") numero = std::move(valore);
    if (opzione == "-o") file = std::move(valore);
    if (opzione == "--watch") o.sorveglia = true;
  }
  if (auto errore = due_testi(letti.posizionali, o.r.linea, o.r.treno, nome, numero)) return errore;
  o.r.nome = *nome;
  o.r.numero = *numero;
  if (!file) {
    modello m;
    m.nome_percorso = *nome;
    m.numero_treno = *numero;
    file = unisci(cartella_di(o.r.linea).empty() ? "." : cartella_di(o.r.linea), nome_pagina(m));
  }
  o.r.file = *file;
  return std::nullopt;
}

// Writes the page once and prints one line about it; the exit status of that run.
int una_pagina(file_system& fs, const richiesta_pagina& r, std::ostream& out, std::ostream& err) {
  const auto inizio = std::chrono::steady_clock::now();
  const esito_pagina e = scrivi_pagina_percorso(fs, r);
  avvisa_giornali(err, e.giornali);
  if (e.errore) {
    err << "percorso: impossibile scrivere " << e.errore->file << ": " << e.errore->motivo
        << std::endl;
    return uscita_interrotta;
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - inizio)
                      .count();
  out << "pagina " << r.file << ": " << e.errori << (e.errori == 1 ? " errore, " : " errori, ")
      << e.avvisi << (e.avvisi == 1 ? " avviso" : " avvisi") << " (" << ms << " ms)" << std::endl;
  return e.errori > 0 ? uscita_rilievi : uscita_pulita;
}

}  // namespace

int comando_page(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                 file_system& fs) {
  opzioni_page o;
  if (auto errore = leggi_opzioni(a, o)) return errore_uso(err, *errore, "page");
  const std::string testi[] = {o.r.linea, o.r.treno};
  const std::string uscite[] = {o.r.file, file_versione(o.r.file)};
  // Checked once, before the first page: a watch must not rebuild its own inputs.
  if (auto impedimento = uscita_su_ingresso(fs, testi, uscite)) {
    err << "percorso: " << *impedimento << '\n';
    return uscita_interrotta;
  }
  if (!o.sorveglia) return una_pagina(fs, o.r, out, err);
  std::uint64_t versione = 0;
  return ripeti_a_ogni_modifica(
      testi,
      [&] {
        // A version the browser cannot have seen before: the clock, then one more each time.
        const auto ora = static_cast<std::uint64_t>(
            std::chrono::system_clock::now().time_since_epoch() / std::chrono::milliseconds(1));
        versione = std::max(versione + 1, ora);
        o.r.versione = versione;
        una_pagina(fs, o.r, out, err);
      },
      err);
}

}  // namespace percorso
