#include "app/oltre_arresto.h"

#include <algorithm>

#include "compiler/compilatore.h"

namespace percorso {
namespace {

// Each stop blanks one row: a text with more stopping rows than this lists the rest
// only as far as the last compile reached.
constexpr int massimo_ricompilazioni = 20;

// The first finding that stopped the compiler inside a text.
std::optional<rilievo> arresto_di(const modello& m) {
  for (const rilievo& r : m.rilievi)
    if ((r.fonte == fonte::linea || r.fonte == fonte::treno) && r.riga >= 1 &&
        !trovato_sulle_celle(r))
      return r;
  return std::nullopt;
}

// Line n (1-based) of a text turned into blanks: its fields are read by nobody.
void svuota_riga(std::vector<std::uint8_t>& testo, std::int32_t n) {
  std::size_t i = 0;
  for (std::int32_t riga = 1; riga < n && i < testo.size(); ++i)
    if (testo[i] == '\n') ++riga;
  for (; i < testo.size() && testo[i] != '\n' && testo[i] != '\r'; ++i) testo[i] = ' ';
}

// Whether a row of the compile past the stop lies after the stop.
bool dopo(const origine& o, const rilievo& a) {
  if (o.fonte == a.fonte) return o.riga > a.riga;
  // A stop in the line text leaves the whole train text unread, except code 15,
  // which stops only the text it is found in.
  return a.fonte == fonte::linea && o.fonte == fonte::treno && a.codice != 15;
}

}  // namespace

std::optional<dopo_arresto> oltre_l_arresto(const modello& compilato, const sorgenti& testi) {
  const auto arresto = arresto_di(compilato);
  if (!arresto) return std::nullopt;
  dopo_arresto d{*arresto, arresto->posizione, {}, {}};
  std::vector<std::uint8_t> copia[2];
  if (testi.linea) copia[0].assign(testi.linea->begin(), testi.linea->end());
  if (testi.treno) copia[1].assign(testi.treno->begin(), testi.treno->end());
  std::optional<rilievo> da_svuotare = arresto;
  for (int k = 0; k < massimo_ricompilazioni && da_svuotare; ++k) {
    svuota_riga(copia[da_svuotare->fonte == fonte::linea ? 0 : 1], da_svuotare->riga);
    d.oltre = modello{};
    d.oltre.nome_percorso = compilato.nome_percorso;
    d.oltre.numero_treno = compilato.numero_treno;
    sorgenti s;
    if (testi.linea) s.linea = copia[0];
    if (testi.treno) s.treno = copia[1];
    memorizza_dati(d.oltre, s);
    const auto nuovo = arresto_di(d.oltre);
    // A stop that blanking its row does not move would only come back.
    const bool fermo =
        nuovo && nuovo->fonte == da_svuotare->fonte && nuovo->riga == da_svuotare->riga;
    da_svuotare = fermo ? std::nullopt : nuovo;
  }
  for (const origine& o : d.oltre.origini)
    if (dopo(o, *arresto)) d.righe.push_back(&o);
  if (!d.metro && !d.righe.empty()) d.metro = d.righe.front()->inizio;
  return d;
}

}  // namespace percorso
