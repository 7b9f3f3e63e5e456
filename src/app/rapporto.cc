#include "app/rapporto.h"

#include <algorithm>

#include "checker/verifica.h"
#include "diagnostics/json.h"

namespace percorso {
namespace {

messaggio da_avviso_documento(const avviso_documento& a) {
  messaggio m;
  m.avviso = true;
  m.nome = genere::documento.nome;
  m.file = a.file;
  m.riga = a.riga;
  m.corpo = a.messaggio;
  return m;
}

}  // namespace

std::vector<messaggio> messaggi_di(const esito_esecuzione& e, const nomi_sorgenti& nomi,
                                   const sorgenti* testi, const filtro_avvisi& filtro,
                                   bool rigoroso) {
  std::vector<messaggio> tutti;
  if (testi != nullptr) {
    const auto trovate = verifica(*testi, e.m.rilievi, chilometrica(e.m.punti));
    tutti = messaggi_di(e.m, nomi, testi, filtro, rigoroso, trovate);
  } else {
    tutti = messaggi_di(e.m, nomi, testi, filtro, rigoroso);
  }
  if (filtro.mostra(std::string(genere::documento.nome)))
    for (const avviso_documento& a : e.avvisi_documenti) tutti.push_back(da_avviso_documento(a));
  if (!e.causa.empty()) tutti.push_back(messaggio_di_arresto(e.causa, e.errore_programma));
  return tutti;
}

std::vector<std::string_view> nomi_spegnibili() {
  std::vector<std::string_view> nomi;
  for (const genere_constatazione* g : generi_constatazioni()) nomi.push_back(g->nome);
  return nomi;
}

std::string rapporto_json(const esito_esecuzione& e, const std::vector<messaggio>& messaggi) {
  static constexpr std::string_view esiti[] = {"ok", "errore", "interrotto"};
  json_lista lista;
  for (const messaggio& m : messaggi) lista.aggiungi(json_messaggio(m));
  return json_oggetto()
             .numero("codice_errore", e.m.codice_errore)
             .numero("posizione_errore", e.m.posizione_errore)
             .testo("esito", esiti[static_cast<int>(e.esito)])
             .numero("errore_programma", e.errore_programma)
             .grezzo("messaggi", lista.fine())
             .fine() +
         "\n";
}

}  // namespace percorso
