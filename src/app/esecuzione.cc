#include "app/esecuzione.h"

#include "app/costruzione.h"
#include "documents/ordine_rallentamenti.h"
#include "documents/scheda_treno.h"
#include "format/file_binari.h"
#include "format/formato.h"
#include "format/nomi_file.h"
#include "placement/prese.h"
#include "writers/scrittori.h"

namespace percorso {
namespace {

void ferma(esito_esecuzione& e, std::string causa) {
  e.esito = esito_esecuzione::tipo::interrotto;
  e.causa = std::move(causa);
}

esito_esecuzione interrotto(modello m, std::string causa) {
  esito_esecuzione e;
  e.m = std::move(m);
  ferma(e, std::move(causa));
  return e;
}

std::string descrivi(const errore_file& e) {
  return e.file + ": " + e.motivo;
}

// The plan goes to its temporary piece by piece; the other two are small. Counts the
// files in aggiunti.
std::optional<errore_file> aggiungi_binari(insieme_uscita& s, const modello& m,
                                           const std::string& cartella, std::size_t& aggiunti) {
  if (m.flag_tracciato != 0 && m.tracciato) {
    if (auto e = s.apri(unisci(cartella, nome_file_piano(m)))) return e;
    ++aggiunti;
    pezzi_piano pezzi(*m.tracciato);
    for (auto pezzo = pezzi.prossimo(); !pezzo.empty(); pezzo = pezzi.prossimo()) {
      if (auto e = s.scrivi(pezzo)) return e;
    }
  }
  if (auto e = s.aggiungi(unisci(cartella, nome_file_punti(m)), immagine_punti(m))) return e;
  aggiunti += 2;
  return s.aggiungi(unisci(cartella, nome_file_celle(m)), immagine_celle(m));
}

// Why the run must not write a source text: a file of that name, beside the program,
// that holds something else, an author's work the run would replace and delete.
std::optional<std::string> testo_altrui(file_system& fs, const std::string& file,
                                        const std::vector<std::uint8_t>& byte) {
  if (!fs.esiste(file)) return std::nullopt;
  const lettura l = fs.leggi(file);
  // Gone since: another run beside the program deleted its own text.
  if (l.errore && !fs.esiste(file)) return std::nullopt;
  if (l.errore) return "impossibile leggere " + descrivi(*l.errore) + "; nessun file scritto";
  if (l.dati == byte) return std::nullopt;
  return file +
         " esiste gia' con un altro contenuto, che la corsa senza argomenti sostituirebbe e "
         "poi eliminerebbe: nessun file scritto. Per tenerlo spostalo o rinominalo e rilancia; "
         "per sostituirlo eliminalo e rilancia";
}

// Writes the two source texts, reads them back into letti and deletes them: none is
// left beside the program, whatever fails. Why the run stops, when it does.
std::optional<std::string> scrivi_e_rileggi(file_system& fs, insieme_uscita& insieme,
                                            const std::string (&sorgenti)[2],
                                            const std::vector<std::uint8_t> (&byte)[2],
                                            std::vector<std::uint8_t> (&letti)[2]) {
  std::optional<std::string> causa;
  int scritti = 0;
  while (scritti < 2 && !causa) {
    if (auto errore = insieme.scrivi_transitorio(sorgenti[scritti], byte[scritti]))
      causa = "impossibile scrivere " + descrivi(*errore);
    else
      ++scritti;
  }
  for (int i = 0; i < 2 && !causa; ++i) {
    lettura l = fs.leggi(sorgenti[i]);
    if (l.errore) causa = "impossibile leggere " + descrivi(*l.errore);
    letti[i] = std::move(l.dati);
  }
  for (int i = 0; i < scritti; ++i) {
    if (auto errore = fs.elimina(sorgenti[i]); errore && !causa)
      causa = "impossibile eliminare " + descrivi(*errore);
  }
  return causa;
}

// A program error at the row whose feature took the first cell; without one, at the
// cell, where the completion put a speed point. The compiler's own error state stays.
rilievo luogo_dell_errore(const modello& m, std::int32_t numero) {
  constexpr auto cella = static_cast<std::int32_t>(cella_di_controllo);
  for (const origine& o : m.origini)
    if (prende_la_cella(o, cella_di_controllo))
      return {numero, o.inizio, o.fonte, o.riga, o.colonna, cella};
  return {numero, cella * metri_per_cella, fonte::completamento, 0, 0, cella};
}

// The row a completion finding comes from: the signal that lacks its speed point (11),
// the slowdown around whose cells none was free (12, 13).
const origine* origine_del_completamento(const modello& m, const rilievo& r) {
  for (const origine& o : m.origini) {
    if (r.codice == 11 && o.elemento == elemento::segnale && prende_la_cella(o, r.cella)) return &o;
    if (r.codice == 11 || o.elemento != elemento::rallentamento) continue;
    const prese_rallentamento p = prese_di_rallentamento(o.inizio, o.fine - o.inizio);
    if (p.inizio.cella <= r.cella && r.cella <= p.fine.cella) return &o;
  }
  return nullptr;
}

// Completion findings are told at the row they come from; the cell stays in them.
void colloca_il_completamento(modello& m) {
  for (rilievo& r : m.rilievi) {
    if (r.fonte != fonte::completamento) continue;
    if (const origine* o = origine_del_completamento(m, r))
      std::tie(r.fonte, r.riga, r.colonna) = std::tuple{o->fonte, o->riga, o->colonna};
  }
}

}  // namespace

int esito_esecuzione::stato_uscita() const {
  switch (esito) {
    case tipo::ok:
      return 0;
    case tipo::errore:
      return 1;
    case tipo::interrotto:
      return 3;
  }
  return 3;
}

esito_esecuzione costruisci(modello m, const sorgenti& testi, std::int32_t j,
                            coordinate_piano coordinate) {
  const stato_costruzione stato = memorizza_percorso(m, testi, j, coordinate);
  colloca_il_completamento(m);
  if (stato == stato_costruzione::senza_celle)
    return interrotto(std::move(m),
                      "le celle della linea non esistono (manca una lunghezza del percorso "
                      "valida): nessun file binario scritto");
  if (stato != stato_costruzione::pronta) {
    const std::int32_t numero = stato == stato_costruzione::errore_1250 ? 1250 : 1251;
    m.rilievi.push_back(luogo_dell_errore(m, numero));
    esito_esecuzione e = interrotto(std::move(m), " Errore n. " + std::to_string(numero));
    e.errore_programma = numero;
    return e;
  }
  esito_esecuzione e;
  e.esito = m.codice_errore != 0 ? esito_esecuzione::tipo::errore : esito_esecuzione::tipo::ok;
  e.m = std::move(m);
  return e;
}

std::vector<file_accanto> documenti_del_modello(esito_esecuzione& e, const std::string& cartella) {
  std::vector<file_accanto> documenti;
  if (e.esito == esito_esecuzione::tipo::interrotto) return documenti;
  for (const documento& d : {scheda_treno(e.m), ordine_rallentamenti(e.m)}) {
    documenti.push_back({unisci(cartella, d.nome), testo_crlf(d.righe)});
    for (avviso_documento a : d.avvisi) {
      a.file = unisci(cartella, a.file);
      e.avvisi_documenti.push_back(std::move(a));
    }
  }
  return documenti;
}

void scrivi_uscita(insieme_uscita& s, esito_esecuzione& e, const std::string& cartella,
                   std::span<const file_accanto> altri) {
  std::optional<errore_file> errore;
  std::size_t binari = 0;
  if (e.esito != esito_esecuzione::tipo::interrotto)
    errore = aggiungi_binari(s, e.m, cartella, binari);
  for (const file_accanto& f : altri) {
    if (!errore) errore = s.aggiungi(f.percorso, f.byte);
  }
  if (!errore) errore = s.conferma();
  if (errore)
    ferma(e, "impossibile scrivere " + descrivi(*errore));
  else
    e.file_scritti = binari + altri.size();
}

esito_esecuzione esegui_percorso(file_system& fs, const std::string& cartella) {
  modello m;
  m.nome_percorso = nome_percorso_incorporato;
  m.numero_treno = numero_treno_incorporato;
  // The whole run holds the directory: runs beside one program take turns, and none
  // deletes the source texts another is about to read, or finds them there as an
  // author's.
  const auto insieme = fs.insieme({.scritte = {cartella}});
  if (auto errore = insieme->prendi_turno())
    return interrotto(std::move(m), "impossibile scrivere " + descrivi(*errore));

  // The two source texts live only until they have been read back.
  const auto testi = testi_del_percorso(m);
  std::string sorgenti[2];
  std::vector<std::uint8_t> byte[2];
  for (int i = 0; i < 2; ++i) {
    sorgenti[i] = unisci(cartella, testi[i].nome);
    byte[i] = testo_crlf(testi[i].righe);
    if (auto causa = testo_altrui(fs, sorgenti[i], byte[i]))
      return interrotto(std::move(m), *causa);
  }
  std::vector<std::uint8_t> letti[2];
  const auto causa = scrivi_e_rileggi(fs, *insieme, sorgenti, byte, letti);
  if (causa) return interrotto(std::move(m), *causa);
  std::vector<file_accanto> documenti;
  for (std::size_t i = 2; i < testi.size(); ++i)
    documenti.push_back({unisci(cartella, testi[i].nome), testo_crlf(testi[i].righe)});

  esito_esecuzione e = costruisci(std::move(m), {letti[0], letti[1]}, 1);
  scrivi_uscita(*insieme, e, cartella, documenti);
  return e;
}

}  // namespace percorso
