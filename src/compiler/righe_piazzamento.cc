// Keyword lines that hand their numbers to a placement operation.
#include "compiler/compilazione.h"
#include "placement/montagne.h"
#include "placement/piazzamento.h"

namespace percorso {
namespace {

// Reads every number of a row, in order; false when the compilation stops.
template <typename... Campi>
bool leggi_tutti(compilazione& c, Campi&... campi) {
  return (c.leggi(campi) && ...);
}

// After a placement the compilation stops on any code, even one left by an earlier line.
esito dopo_piazzamento(compilazione& c, std::int32_t codice, std::int32_t posizione) {
  if (codice == codice_generale) return c.generale();
  if (codice != 0) return c.ferma_a(codice, posizione, 0);
  if (c.m.codice_errore > 0) return c.ferma_a(c.m.codice_errore, posizione, 0);
  return esito::avanti;
}

}  // namespace

esito riga_montagna(compilazione& c) {
  std::int32_t inizio = 0, fine = 0, tipo = 0;
  if (!leggi_tutti(c, inizio, fine, tipo)) return esito::ferma;
  if (const esito e = c.limite(inizio); e != esito::avanti) return e;
  c.traccia(elemento::montagna, inizio, fine, tipo);
  return dopo_piazzamento(c, c.montagne->memo(inizio, fine, tipo), inizio);
}

esito riga_indicatori(compilazione& c) {
  dati_indicatori d{};
  if (!leggi_tutti(c, d.posizione, d.vas, d.vbs, d.vcs, d.strisces, d.vad, d.vbd, d.vcd,
                   d.strisced))
    return esito::ferma;
  if (const esito e = c.limite(d.posizione); e != esito::avanti) return e;
  c.traccia(elemento::indicatori, d.posizione, d.posizione);
  return dopo_piazzamento(c, memo_indicatori_v_max(c.m, d), d.posizione);
}

esito riga_segnale(compilazione& c) {
  dati_segnale s{};
  if (!leggi_tutti(c, s.posizione, s.sx, s.s1, s.s2, s.s3, s.rapp, s.dx, s.d1, s.d2, s.d3, s.tempo))
    return esito::ferma;
  if (const esito e = c.limite(s.posizione); e != esito::avanti) return e;
  c.traccia(elemento::segnale, s.posizione, s.posizione);
  return dopo_piazzamento(c, memo_segnale(c.m, s), s.posizione);
}

esito riga_rallentamento(compilazione& c) {
  dati_rallentamento r{};
  if (!leggi_tutti(c, r.x, r.v, r.l, r.f_tt, r.f_ta, r.d_v)) return esito::ferma;
  if (const esito e = c.limite(r.x); e != esito::avanti) return e;
  c.traccia(elemento::rallentamento, r.x, satura_32(std::int64_t{r.x} + r.l), r.v);
  return dopo_piazzamento(c, memo_rallentamento(c.m, r), r.x);
}

}  // namespace percorso
