#include "app/pagina_percorso.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "app/esecuzione.h"
#include "app/oltre_arresto.h"
#include "app/rapporto.h"
#include "diagnostics/righe_sorgenti.h"
#include "page/pagina.h"
#include "plot/plot.h"

namespace percorso {
namespace {

// A text that cannot be read is compiled as absent; the reason joins the findings.
std::optional<std::vector<std::uint8_t>> leggi_testo(file_system& fs, const std::string& file,
                                                     std::vector<messaggio>& motivi) {
  if (!fs.esiste(file)) return std::nullopt;
  lettura l = fs.leggi(file);
  if (!l.errore) return std::move(l.dati);
  motivi.push_back(
      messaggio_di_arresto("impossibile leggere " + l.errore->file + ": " + l.errore->motivo));
  return std::nullopt;
}

std::span<const std::uint8_t> byte_di(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

}  // namespace

std::string file_versione(const std::string& file_pagina) {
  return file_pagina + ".versione.js";
}

esito_pagina scrivi_pagina_percorso(file_system& fs, const richiesta_pagina& r) {
  esito_pagina esito;
  // The texts are read and the page written under the turn of their directories.
  const auto insieme = fs.insieme(
      {.scritte = {cartella_di(r.file)}, .lette = {cartella_di(r.linea), cartella_di(r.treno)}});
  if ((esito.errore = insieme->prendi_turno())) return esito;
  esito.giornali = insieme->giornali_lasciati();
  insieme->ingresso(r.linea);
  insieme->ingresso(r.treno);
  std::vector<messaggio> messaggi;
  const auto linea = leggi_testo(fs, r.linea, messaggi);
  const auto treno = leggi_testo(fs, r.treno, messaggi);
  sorgenti testi;
  if (linea) testi.linea = *linea;
  if (treno) testi.treno = *treno;

  modello m;
  m.nome_percorso = r.nome;
  m.numero_treno = r.numero;
  const esito_esecuzione e = costruisci(std::move(m), testi, 1);
  const nomi_sorgenti nomi{r.linea, r.treno};
  // Checker errors are errors here, as in compile: the scenario would change silently.
  for (messaggio& x : messaggi_di(e, nomi, &testi, {}, true).elenco)
    messaggi.push_back(std::move(x));
  const righe_sorgenti righe(&testi);

  contenuto_pagina c;
  c.titolo = r.nome + ", treno " + r.numero;
  c.m = &e.m;
  c.disegno = disegna_modello(e.m).value_or(disegno_linea{});
  c.segnalazioni = messaggi;
  c.nome_linea = r.linea;
  c.nome_treno = r.treno;
  c.riga_sorgente = [&](fonte f, std::int32_t n) { return righe.riga(f, n); };
  const auto dopo = oltre_l_arresto(e.m, testi);
  if (dopo) {
    c.arresto = dopo->metro;
    c.oltre = {&dopo->oltre, dopo->righe, dopo->arresto.fonte, dopo->arresto.riga};
  }
  const std::string nome_script = std::string(nome_base(file_versione(r.file)));
  if (r.versione) c.ricarica = ricarica_pagina{nome_script, *r.versione};

  esito.avvisi = static_cast<std::size_t>(
      std::count_if(messaggi.begin(), messaggi.end(), [](const messaggio& x) { return x.avviso; }));
  esito.errori = messaggi.size() - esito.avvisi;
  // The page and its version script in one commit; the script is renamed after the
  // page, so a browser that sees a new version finds the new page.
  esito.errore = insieme->aggiungi(r.file, byte_di(pagina_html(c)));
  if (!esito.errore && r.versione)
    esito.errore = insieme->aggiungi(file_versione(r.file), byte_di(script_versione(*r.versione)));
  if (!esito.errore) esito.errore = insieme->conferma();
  return esito;
}

}  // namespace percorso
