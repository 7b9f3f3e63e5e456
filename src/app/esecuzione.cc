#include "app/esecuzione.h"

#include "app/costruzione.h"
#include "app/scrittura_testi.h"
#include "documents/ordine_rallentamenti.h"
#include "documents/scheda_treno.h"
#include "format/file_binari.h"
#include "format/nomi_file.h"
#include "writers/scrittori.h"

namespace percorso {
namespace {

esito_esecuzione interrotto(modello m, std::string causa) {
  esito_esecuzione e;
  e.esito = esito_esecuzione::tipo::interrotto;
  e.causa = std::move(causa);
  e.m = std::move(m);
  return e;
}

std::string descrivi(const errore_file& e) {
  return e.file + ": " + e.motivo;
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

esito_esecuzione costruisci(modello m, const sorgenti& testi, std::int32_t j) {
  const stato_costruzione stato = memorizza_percorso(m, testi, j);
  if (stato == stato_costruzione::senza_celle)
    return interrotto(std::move(m),
                      "le celle della linea non esistono (manca una lunghezza del percorso "
                      "valida): nessun file binario scritto");
  if (stato != stato_costruzione::pronta) {
    const std::int32_t numero = stato == stato_costruzione::errore_1250 ? 1250 : 1251;
    esito_esecuzione e = interrotto(std::move(m), " Errore n. " + std::to_string(numero));
    e.errore_programma = numero;
    return e;
  }
  esito_esecuzione e;
  e.esito = m.codice_errore != 0 ? esito_esecuzione::tipo::errore : esito_esecuzione::tipo::ok;
  e.m = std::move(m);
  return e;
}

esito_esecuzione costruisci_e_scrivi(file_system& fs, modello m, const sorgenti& testi,
                                     std::int32_t j, const std::string& cartella,
                                     bool con_documenti) {
  esito_esecuzione costruito = costruisci(std::move(m), testi, j);
  if (costruito.esito == esito_esecuzione::tipo::interrotto) return costruito;
  m = std::move(costruito.m);

  // Each image is written as soon as it is built and freed before the next one,
  // so only one file's bytes are in memory beside the model.
  auto scrivi = [&](const std::string& nome, const std::vector<std::uint8_t>& byte) {
    return fs.sostituisci(unisci(cartella, nome), byte);
  };
  std::optional<errore_file> errore;
  if (m.flag_tracciato != 0 && m.tracciato)
    errore = scrivi(nome_file_piano(m), immagine_piano(*m.tracciato));
  if (!errore) errore = scrivi(nome_file_punti(m), immagine_punti(m));
  if (!errore) errore = scrivi(nome_file_celle(m), immagine_celle(m));
  // The documents are built from the finished model and go the binaries' way.
  std::vector<avviso_documento> avvisi;
  if (con_documenti) {
    for (const documento& d : {scheda_treno(m), ordine_rallentamenti(m)}) {
      if (!errore) errore = scrivi(d.nome, testo_crlf(d.righe));
      for (avviso_documento a : d.avvisi) {
        a.file = unisci(cartella, a.file);
        avvisi.push_back(std::move(a));
      }
    }
  }
  if (errore) return interrotto(std::move(m), "impossibile scrivere " + descrivi(*errore));

  esito_esecuzione e;
  e.avvisi_documenti = std::move(avvisi);
  e.esito = m.codice_errore != 0 ? esito_esecuzione::tipo::errore : esito_esecuzione::tipo::ok;
  e.m = std::move(m);
  return e;
}

esito_esecuzione esegui_percorso(file_system& fs, const std::string& cartella) {
  modello m;
  m.nome_percorso = nome_percorso_incorporato;
  m.numero_treno = numero_treno_incorporato;

  const auto testi = testi_del_percorso(m);
  if (auto errore = scrivi_testi(fs, cartella, testi))
    return interrotto(std::move(m), "impossibile scrivere " + descrivi(*errore));

  // The two source texts live only until they have been read back.
  std::vector<std::uint8_t> letti[2];
  const std::string nomi[2] = {nome_testo_linea(m), nome_testo_treno(m)};
  for (int i = 0; i < 2; ++i) {
    const std::string percorso = unisci(cartella, nomi[i]);
    lettura l = fs.leggi(percorso);
    if (l.errore) return interrotto(std::move(m), "impossibile leggere " + descrivi(*l.errore));
    letti[i] = std::move(l.dati);
    if (auto errore = fs.elimina(percorso))
      return interrotto(std::move(m), "impossibile eliminare " + descrivi(*errore));
  }
  return costruisci_e_scrivi(fs, std::move(m), {letti[0], letti[1]}, 1, cartella);
}

}  // namespace percorso
