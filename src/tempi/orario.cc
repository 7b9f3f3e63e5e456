#include "tempi/orario.h"

#include <array>
#include <cmath>
#include <limits>

namespace percorso {
namespace {

constexpr std::int64_t giorno = 24 * 3600;
constexpr double infinito = std::numeric_limits<double>::infinity();
// Times are compared to the microsecond: sums of fractions of a second carry rounding.
constexpr double tolleranza = 1e-6;

// From one time of the timetable to a later one: a drop of more than half a day is the
// next day, as the checker reads the timetable.
std::int64_t fino_a(std::int64_t da, std::int64_t a) {
  const std::int64_t d = a - da;
  return d < -giorno / 2 ? d + giorno : d;
}

bool meno_di(std::int64_t secondi, double tempo) {
  return static_cast<double>(secondi) < tempo - tolleranza;
}

// The time over [a, b) at the limits alone, each reached and left at once.
void ai_limiti(tratto_orario& t, const profilo& limiti, double a, double b, std::size_t& da) {
  for (double x = a; x < b;) {
    const gradino g = gradino_a(limiti, x, da, 0);
    const double fine = std::min(g.fine, b);
    if (g.valore > 0) {
      // In tenths of km/h: whole metres at whole km/h divide exactly.
      t.minimo += (fine - x) * 36.0 / (g.valore * 10.0);
    } else {
      t.minimo = infinito;
      if (!t.limite_nullo) t.limite_nullo = x;
    }
    x = fine;
  }
}

std::vector<tratto_orario> tratti_di(const corsa& c) {
  std::vector<tratto_orario> tratti;
  std::size_t cursore = 0;
  for (std::size_t k = 1; k < c.punti.size(); ++k) {
    const punto_orario &da = c.punti[k - 1], &a = c.punti[k];
    tratto_orario t;
    t.da = k - 1;
    t.a = k;
    t.distanza = a.posizione - da.posizione;
    ai_limiti(t, c.limiti, da.posizione, a.posizione, cursore);
    t.realistico = std::isinf(a.arrivo) ? infinito : a.arrivo - da.partenza;
    t.orario = fino_a(da.orario, k + 1 == c.punti.size() ? a.orario : a.orario - a.sosta);
    tratti.push_back(t);
  }
  return tratti;
}

std::optional<tipo_problema> giudizio(const tratto_orario& t) {
  if (meno_di(t.orario, t.minimo)) return tipo_problema::sotto_minimo;
  if (meno_di(t.orario, t.realistico)) return tipo_problema::sotto_realistico;
  if (meno_di(t.orario, t.realistico * (1 + margine_di_recupero)))
    return tipo_problema::margine_scarso;
  if (static_cast<double>(t.orario) > 2 * t.realistico + tolleranza)
    return tipo_problema::oltre_doppio;
  return std::nullopt;
}

std::int64_t orologio_di(const modello& m) {
  const punto& p = m.punti[slot_ripetizione];
  return std::int64_t{p.parametro_3} * 3600 + p.parametro_4 * 60 + p.parametro_5;
}

// The clock against the first departure, the two taken within half a day of each other.
std::optional<tipo_problema> giudizio_orologio(std::int64_t orologio, std::int64_t partenza) {
  std::int64_t anticipo = ((partenza - orologio) % giorno + giorno) % giorno;
  if (anticipo > giorno / 2) anticipo -= giorno;
  if (anticipo < 0) return tipo_problema::orologio_dopo;
  if (anticipo > anticipo_massimo) return tipo_problema::orologio_presto;
  return std::nullopt;
}

// Whether a station's time of 0, which reads as no time, seems meant as a time: the
// station has a stop, or the timed stations around it are on the two sides of midnight.
bool zero_voluto(const modello& m, std::span<const origine* const> stazioni, std::size_t i) {
  const auto orario = [&](std::size_t k) {
    return m.punti[static_cast<std::size_t>(stazioni[k]->valore)].orario;
  };
  if (m.punti[static_cast<std::size_t>(stazioni[i]->valore)].indicatore_2 != 0) return true;
  std::size_t prima = i, dopo = i + 1;
  while (prima > 0 && orario(prima - 1) == 0) --prima;
  while (dopo < stazioni.size() && orario(dopo) == 0) ++dopo;
  if (prima == 0 || dopo == stazioni.size()) return false;
  return orario(dopo) - orario(prima - 1) < -giorno / 2;
}

}  // namespace

confronto confronta_orario(const modello& m, const corsa& c) {
  confronto r;
  r.tratti = tratti_di(c);
  const std::vector<const origine*> stazioni = stazioni_del_treno(m);
  std::array<const origine*, numero_punti> riga_di{};
  for (const origine* o : stazioni) riga_di[static_cast<std::size_t>(o->valore)] = o;
  const auto riga = [&](std::int32_t stazione) -> std::optional<origine> {
    const origine* o = riga_di[static_cast<std::size_t>(stazione)];
    return o ? std::optional<origine>(*o) : std::nullopt;
  };
  const auto aggiungi = [&](tipo_problema tipo, std::int32_t stazione) -> problema& {
    problema& p = r.problemi.emplace_back();
    p.tipo = tipo;
    p.stazione = stazione;
    p.riga = riga(stazione);
    return p;
  };
  if (!c.punti.empty()) {
    const std::int64_t orologio = orologio_di(m), partenza = c.punti.front().orario;
    if (const auto tipo = giudizio_orologio(orologio, partenza)) {
      problema& p = aggiungi(*tipo, c.punti.front().stazione);
      p.orologio = orologio;
      p.prima_partenza = partenza;
    }
  }
  std::array<std::optional<std::size_t>, numero_punti> tratto_che_finisce{};
  for (std::size_t k = 0; k < r.tratti.size(); ++k)
    tratto_che_finisce[static_cast<std::size_t>(c.punti[r.tratti[k].a].stazione)] = k;
  for (std::size_t i = 0; i < stazioni.size(); ++i) {
    const std::int32_t slot = stazioni[i]->valore;
    const bool senza_orario = m.punti[static_cast<std::size_t>(slot)].orario == 0;
    if (i == 0 && senza_orario) aggiungi(tipo_problema::prima_senza_orario, slot);
    if (i > 0 && senza_orario && zero_voluto(m, stazioni, i))
      aggiungi(tipo_problema::orario_zero, slot);
    const auto k = tratto_che_finisce[static_cast<std::size_t>(slot)];
    if (!k) continue;
    const auto tipo = giudizio(r.tratti[*k]);
    if (!tipo) continue;
    problema& p = aggiungi(*tipo, slot);
    p.tratto = k;
    p.partenza = c.punti[r.tratti[*k].da].stazione;
    p.riga_partenza = riga(p.partenza);
  }
  return r;
}

bool e_errore(tipo_problema t) {
  return t == tipo_problema::sotto_minimo;
}

std::string_view nome_problema(tipo_problema t) {
  switch (t) {
    case tipo_problema::sotto_minimo:
      return "sotto-minimo";
    case tipo_problema::sotto_realistico:
      return "sotto-corsa";
    case tipo_problema::margine_scarso:
      return "margine-scarso";
    case tipo_problema::oltre_doppio:
      return "oltre-doppio";
    case tipo_problema::orologio_dopo:
      return "orologio-dopo";
    case tipo_problema::orologio_presto:
      return "orologio-presto";
    case tipo_problema::prima_senza_orario:
      return "prima-senza-orario";
    case tipo_problema::orario_zero:
      return "orario-zero";
  }
  return "";
}

std::int64_t secondi_interi(double secondi) {
  return static_cast<std::int64_t>(std::ceil(secondi - tolleranza));
}

}  // namespace percorso
