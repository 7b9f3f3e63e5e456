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

esito compilazione::ferma(std::int32_t codice) {
  m.registra(codice, testo);
  m.rilievi.back().riga = riga_chiave;
  m.rilievi.back().colonna = colonna_chiave;
  return esito::ferma;
}

esito compilazione::ferma(std::int32_t codice, std::int32_t posizione) {
  m.registra(codice, posizione, testo);
  m.rilievi.back().riga = riga_chiave;
  m.rilievi.back().colonna = colonna_chiave;
  return esito::ferma;
}

esito compilazione::generale_al_campo() {
  m.registra(codice_generale, testo);
  m.rilievi.back().riga = lettore->riga();
  m.rilievi.back().colonna = lettore->colonna();
  return esito::ferma;
}

esito compilazione::generale() {
  return ferma(codice_generale);
}

esito compilazione::limite(std::int32_t p, std::int32_t extra) {
  if (!m.celle_presenti()) return generale();
  if (static_cast<double>(std::int64_t{p} + extra) / 50.0 > m.ultima_cella()) {
    ferma(15, p);
    return esito::fine_testo;
  }
  return esito::avanti;
}

}  // namespace percorso
