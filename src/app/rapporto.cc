#include "app/rapporto.h"

#include "diagnostics/json.h"

namespace percorso {

namespace {

messaggio da_avviso_documento(const avviso_documento& a) {
  messaggio m;
  m.avviso = true;
  m.nome = nome_avviso_documento;
  m.file = a.file;
  m.riga = a.riga;
  m.testo = a.file + ":" + std::to_string(a.riga) + ": avviso [" + m.nome + "]: " + a.messaggio;
  return m;
}

}  // namespace

std::vector<messaggio> messaggi_di(const esito_esecuzione& e, const nomi_sorgenti& nomi,
                                   const sorgenti* testi, const filtro_avvisi& filtro) {
  std::vector<messaggio> tutti = messaggi_di(e.m, nomi, testi, filtro);
  if (filtro.mostra(std::string(nome_avviso_documento)))
    for (const avviso_documento& a : e.avvisi_documenti) tutti.push_back(da_avviso_documento(a));
  if (!e.causa.empty()) tutti.push_back(messaggio_di_arresto(e.causa, e.errore_programma));
  return tutti;
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
