#include "app/rapporto.h"

#include <algorithm>

#include "checker/verifica.h"
#include "diagnostics/json.h"
#include "format/testo_nomi.h"

namespace percorso {
namespace {

messaggio da_avviso_documento(const avviso_documento& a) {
  messaggio m;
  m.avviso = true;
  m.nome = genere::documento.nome;
  m.file = a.file;
  m.riga = a.riga;
  m.corpo = nome_leggibile(a.messaggio);
  return m;
}

conti_verifica conta(std::span<const diagnosi> trovate, const filtro_avvisi& filtro) {
  conti_verifica c;
  for (const diagnosi& d : trovate) {
    if (!filtro.mostra(std::string(d.nome))) continue;
    ++(d.grado == livello::errore ? c.errori : c.avvisi);
  }
  return c;
}

}  // namespace

messaggi_corsa messaggi_di(const esito_esecuzione& e, const nomi_sorgenti& nomi,
                           const sorgenti* testi, const filtro_avvisi& filtro, bool rigoroso) {
  messaggi_corsa c;
  if (testi != nullptr) {
    const auto trovate = verifica(*testi, e.m.rilievi, chilometrica(e.m.punti));
    c.elenco = messaggi_di(e.m, nomi, testi, filtro, rigoroso, trovate);
    c.verifica = conta(trovate, filtro);
  } else {
    c.elenco = messaggi_di(e.m, nomi, testi, filtro, rigoroso);
  }
  if (filtro.mostra(std::string(genere::documento.nome)))
    for (const avviso_documento& a : e.avvisi_documenti) c.elenco.push_back(da_avviso_documento(a));
  // A program error is told at its row, among the compiler's findings.
  if (!e.causa.empty() && !e.errore_programma) c.elenco.push_back(messaggio_di_arresto(e.causa));
  return c;
}

std::string riassunto_corsa(const std::vector<messaggio>& messaggi, const esito_esecuzione& e,
                            std::string_view cartella) {
  if (e.esito == esito_esecuzione::tipo::interrotto)
    return conteggio(messaggi) + "; nessun file scritto";
  return conteggio(messaggi) + "; scritti " + std::to_string(e.file_scritti) + " file in " +
         std::string(cartella);
}

std::vector<std::string_view> nomi_spegnibili() {
  std::vector<std::string_view> nomi;
  for (const genere_constatazione* g : generi_constatazioni()) nomi.push_back(g->nome);
  return nomi;
}

std::string rapporto_json(const esito_esecuzione& e, const messaggi_corsa& messaggi) {
  static constexpr std::string_view esiti[] = {"ok", "errore", "interrotto"};
  json_lista lista;
  for (const messaggio& m : messaggi.elenco) lista.aggiungi(json_messaggio(m));
  const auto conto = [](std::size_t n) { return static_cast<std::int64_t>(n); };
  return json_oggetto()
             .numero("codice_errore", e.m.codice_errore)
             .numero("posizione_errore", e.m.posizione_errore)
             .testo("esito", esiti[static_cast<int>(e.esito)])
             .numero("errore_programma", e.errore_programma)
             .grezzo("verifica", json_oggetto()
                                     .numero("errori", conto(messaggi.verifica.errori))
                                     .numero("avvisi", conto(messaggi.verifica.avvisi))
                                     .fine())
             .grezzo("messaggi", lista.fine())
             .fine() +
         "\n";
}

}  // namespace percorso
