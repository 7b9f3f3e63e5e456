#include "compiler/compilazione.h"

#include "placement/piazzamento.h"

namespace percorso {

void compilazione::leggi_riga(const parola_chiave& k) {
  cammino->campi(k, riga);
  da_leggere = 0;
}

const campo_sorgente* compilazione::prossimo_campo() {
  if (da_leggere >= riga.letti) {
    generale_a({riga.riga_ultimo, riga.colonna_ultimo});
    return nullptr;
  }
  return &riga.campi[da_leggere++];
}

bool compilazione::leggi_testo(std::string_view& v) {
  const campo_sorgente* f = prossimo_campo();
  if (f == nullptr) return false;
  v = f->testo;
  return true;
}

void compilazione::crea_tabelle() {
  if (celle_richieste) m.celle.assign(*celle_richieste, cella{});
  if (metri_richiesti) ultimo_metro_piano = static_cast<std::int64_t>(*metri_richiesti) - 1;
  if (metri_richiesti && coordinate == coordinate_piano::tenute) {
    m.tracciato.emplace();
    m.tracciato->x.assign(*metri_richiesti, 0.0);
    m.tracciato->y.assign(*metri_richiesti, 0.0);
  }
}

void compilazione::nuova_chiave(const campo_sorgente& f) {
  chiave = {f.riga, f.colonna};
  fine_chiave = fine_del_campo(f.colonna, f.fine - f.inizio);
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

esito compilazione::generale_a(luogo l) {
  m.registra(codice_generale, testo);
  colloca(m.rilievi.back(), l);
  return esito::ferma;
}

// A text of a million stray fields must not hold a million messages in memory:
// past this many warnings of one kind the rest are dropped, and the last one kept says so.
constexpr std::int64_t massimo_avvisi_per_nome = 100;

bool compilazione::avvisa_ancora(const genere_constatazione& g) const {
  const auto voce = avvisi_per_nome.find(g.nome);
  return voce == avvisi_per_nome.end() || voce->second < massimo_avvisi_per_nome;
}

void compilazione::avvisa(const genere_constatazione& g, std::string messaggio) {
  const std::string_view nome = g.nome;
  auto voce = avvisi_per_nome.find(nome);
  if (voce == avvisi_per_nome.end()) voce = avvisi_per_nome.emplace(nome, 0).first;
  const std::int64_t n = ++voce->second;
  if (n > massimo_avvisi_per_nome) return;
  if (n == massimo_avvisi_per_nome)
    messaggio.append(" (da qui in poi gli avvisi [").append(nome).append("] non sono mostrati)");
  diagnosi d;
  d.grado = g.grado;
  d.nome = g.nome;
  d.codice = g.codice;
  d.fonte = testo;
  d.riga = chiave.riga;
  d.colonna = chiave.colonna;
  d.colonna_fine = fine_chiave;
  d.messaggio = std::move(messaggio);
  m.avvisi.push_back(std::move(d));
}

// Origins serve tools that show the line; a text of a million rows of one kind keeps
// only the first of them.
constexpr std::int32_t massimo_origini_per_elemento = 20000;

void compilazione::traccia(elemento e, std::int32_t inizio, std::int32_t fine,
                           std::int32_t valore) {
  std::int32_t& n = origini_per_elemento[static_cast<std::size_t>(e)];
  if (n >= massimo_origini_per_elemento) return;
  ++n;
  m.origini.push_back({e, testo, chiave.riga, chiave.colonna, inizio, fine, valore});
}

esito compilazione::generale() {
  return ferma(codice_generale);
}

esito compilazione::limite(std::int32_t p, std::int32_t margine) {
  if (!m.celle_presenti()) return generale();
  if (oltre_le_celle(p, margine, m.ultima_cella())) {
    ferma_a(15, p, 0);
    return esito::fine_testo;
  }
  return esito::avanti;
}

}  // namespace percorso
