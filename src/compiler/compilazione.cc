#include "compiler/compilazione.h"

#include "placement/piazzamento.h"

namespace percorso {

bool compilazione::leggi_testo(std::string_view& v) {
  const auto campo = lettore->leggi_testo();
  if (!campo) {
    generale_al_campo();
    return false;
  }
  v = *campo;
  return true;
}

void compilazione::nuova_chiave() {
  chiave = {lettore->riga(), lettore->colonna()};
  campi.clear();
}

namespace {

void colloca(rilievo& r, const luogo& l) {
  r.riga = l.riga;
  r.colonna = l.colonna;
}

}  // namespace

esito compilazione::ferma(std::int32_t codice, int campo) {
  m.registra(codice, testo);
  colloca(m.rilievi.back(), campo >= 0 && static_cast<std::size_t>(campo) < campi.size()
                                ? campi[static_cast<std::size_t>(campo)]
                                : chiave);
  return esito::ferma;
}

esito compilazione::ferma_a(std::int32_t codice, std::int32_t posizione, int campo) {
  ferma(codice, campo);
  m.posizione_errore = posizione;
  m.rilievi.back().posizione = posizione;
  return esito::ferma;
}

esito compilazione::generale_al_campo() {
  m.registra(codice_generale, testo);
  colloca(m.rilievi.back(), {lettore->riga(), lettore->colonna()});
  return esito::ferma;
}

void compilazione::avvisa(std::string_view nome, std::string messaggio) {
  m.avvisi.push_back({std::string(nome), std::move(messaggio), testo, chiave.riga, chiave.colonna});
}

esito compilazione::generale() {
  return ferma(codice_generale);
}

esito compilazione::limite(std::int32_t p, std::int32_t extra) {
  if (!m.celle_presenti()) return generale();
  if (static_cast<double>(std::int64_t{p} + extra) / 50.0 > m.ultima_cella()) {
    ferma_a(15, p, 0);
    return esito::fine_testo;
  }
  return esito::avanti;
}

}  // namespace percorso
