// The gradient, speed limit and adhesion runs: each line hands the value in
// force to the cells from its cursor up to the line's own cell.
#include "compiler/compilazione.h"
#include "format/unita_celle.h"

namespace percorso {
namespace {

// How one run stores its value in force into a cell; false when it does not fit.
using memorizza = bool (*)(cella&, std::int32_t);

bool memorizza_pendenza(cella& c, std::int32_t v) {
  c.pendenza = pendenza_in_cella(v);
  return true;
}

bool memorizza_velocita(cella& c, std::int32_t v) {
  const auto passi = velocita_in_cella(v);
  if (!passi) return false;
  c.velocita = *passi;
  return true;
}

bool memorizza_aderenza(cella& c, std::int32_t v) {
  c.aderenza = basso_8(v);
  return true;
}

struct profilo {
  std::int64_t& cursore;
  std::int32_t& in_vigore;
  luogo& da;
  memorizza scrivi;
  bool ferma_all_ultima;  // the speed run never fills the last cell from a line
  elemento righe;         // the kind its rows are traced as
};

// Stores the value in force at the cursor and advances. A value no cell can hold is
// found only by the next row of its run, and told at the field that set it.
esito passo(compilazione& c, const profilo& run) {
  cella* cl = c.m.cella_a(run.cursore);
  if (cl == nullptr) return c.generale();
  if (!run.scrivi(*cl, run.in_vigore)) return c.generale_a(run.da);
  ++run.cursore;
  return esito::avanti;
}

esito riga_run(compilazione& c, const profilo& run) {
  std::int32_t p = 0, w = 0;
  if (!c.leggi(p) || !c.leggi(w)) return esito::ferma;
  if (const esito e = c.limite(p); e != esito::avanti) return e;
  c.traccia(run.righe, p, p, w);
  const auto fino = static_cast<std::int64_t>(arrotonda(p / 50.0));
  if (fino > 0 && fino < run.cursore)
    c.avvisa(genere::profilo_indietro,
             testo_di(genere::profilo_indietro, {std::to_string(p) + " m"}));
  if (fino > 0) {
    // The test follows the store: a line behind the cursor still fills one cell.
    do {
      if (run.ferma_all_ultima && run.cursore >= c.m.ultima_cella()) break;
      if (const esito e = passo(c, run); e != esito::avanti) return e;
    } while (run.cursore < fino);
  }
  run.in_vigore = w;
  run.da = c.campi.back();
  return esito::avanti;
}

esito coda(compilazione& c, const profilo& run) {
  if (!c.m.celle_presenti()) return c.generale();
  do {
    if (const esito e = passo(c, run); e != esito::avanti) return e;
  } while (run.cursore < c.m.ultima_cella() - 2);
  return esito::avanti;
}

profilo run_pendenza(compilazione& c) {
  return {c.cursore_pendenza, c.pendenza_in_vigore, c.pendenza_da, memorizza_pendenza, false,
          elemento::pendenza};
}
profilo run_velocita(compilazione& c) {
  return {c.cursore_velocita, c.velocita_in_vigore, c.velocita_da, memorizza_velocita, true,
          elemento::velocita};
}
profilo run_aderenza(compilazione& c) {
  return {c.cursore_aderenza, c.aderenza_in_vigore, c.aderenza_da, memorizza_aderenza, false,
          elemento::aderenza};
}

}  // namespace

esito riga_pendenza(compilazione& c) {
  return riga_run(c, run_pendenza(c));
}
esito riga_velocita(compilazione& c) {
  return riga_run(c, run_velocita(c));
}
esito riga_aderenza(compilazione& c) {
  return riga_run(c, run_aderenza(c));
}
esito coda_pendenza(compilazione& c) {
  return coda(c, run_pendenza(c));
}
esito coda_velocita(compilazione& c) {
  return coda(c, run_velocita(c));
}
esito coda_aderenza(compilazione& c) {
  return coda(c, run_aderenza(c));
}

}  // namespace percorso
