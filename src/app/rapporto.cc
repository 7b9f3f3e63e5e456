#include "app/rapporto.h"

#include <algorithm>

#include "checker/verifica.h"
#include "compiler/campo_alla_colonna.h"
#include "diagnostics/json.h"

namespace percorso {
namespace {

std::vector<segnalazione> segnalazioni(const std::vector<constatazione>& trovate, bool rigoroso) {
  std::vector<segnalazione> s;
  s.reserve(trovate.size());
  for (const constatazione& c : trovate) {
    segnalazione x{rigoroso && c.grado == livello::errore,
                   c.nome,
                   c.codice,
                   c.testo,
                   c.riga,
                   c.colonna,
                   {},
                   {},
                   c.messaggio};
    if (c.campo != nullptr) {
      x.campo = c.campo->nome;
      x.unita = c.campo->unita;
    }
    s.push_back(std::move(x));
  }
  return s;
}

std::optional<campo_nominato> campo_della_tabella(fonte testo, std::string_view riga,
                                                  std::int32_t colonna) {
  const campo_formato* f = campo_alla_colonna(testo, riga, colonna);
  if (f == nullptr) return std::nullopt;
  return campo_nominato{f->nome, f->unita};
}

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
                                   const sorgenti* testi, const filtro_avvisi& filtro,
                                   bool rigoroso) {
  std::vector<messaggio> tutti;
  if (testi != nullptr) {
    const auto trovate = verifica(*testi, e.m.rilievi, chilometrica(e.m.punti));
    tutti =
        messaggi_di(e.m, nomi, testi, filtro, segnalazioni(trovate, rigoroso), campo_della_tabella);
  } else {
    tutti = messaggi_di(e.m, nomi, testi, filtro);
  }
  if (filtro.mostra(std::string(nome_avviso_documento)))
    for (const avviso_documento& a : e.avvisi_documenti) tutti.push_back(da_avviso_documento(a));
  if (!e.causa.empty()) tutti.push_back(messaggio_di_arresto(e.causa, e.errore_programma));
  return tutti;
}

std::vector<std::string_view> nomi_spegnibili() {
  std::vector<std::string_view> nomi;
  for (const auto n : nomi_avvisi()) nomi.push_back(n);
  for (const auto n : nomi_constatazioni()) {
    if (std::find(nomi.begin(), nomi.end(), n) == nomi.end()) nomi.push_back(n);
  }
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
