#include "tempi/descrizioni.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "format/chilometri.h"
#include "format/orari.h"
#include "format/testo_nomi.h"

namespace percorso {
namespace {

std::string minuti_secondi(std::int64_t s) {
  char t[48];
  if (s >= 3600)
    std::snprintf(t, sizeof t, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                  static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  else
    std::snprintf(t, sizeof t, "%lld:%02lld", static_cast<long long>(s / 60),
                  static_cast<long long>(s % 60));
  return t;
}

std::string percento(double quota) {
  char t[32];
  std::snprintf(t, sizeof t, "%.1f %%", quota * 100);
  return t;
}

// "da A a B l'orario da' 1:00": how every problem of a stretch begins.
std::string inizio_tratto(const tratto_orario& t, const corsa& c, const modello& m) {
  return "da " + nome_stazione(m, c.punti[t.da].stazione) + " a " +
         nome_stazione(m, c.punti[t.a].stazione) + " l'orario da' " +
         durata_testo(static_cast<double>(t.orario));
}

std::string del_tratto(const problema& p, const tratto_orario& t, const corsa& c,
                       const modello& m) {
  const std::string inizio = inizio_tratto(t, c, m);
  const std::string corsa_treno =
      durata_testo(t.realistico) + " della corsa piu' veloce di questo treno";
  switch (p.tipo) {
    case tipo_problema::sotto_minimo:
      if (t.limite_nullo)
        return inizio + ", ma un limite di 0 km/h (" +
               chilometrica(m.punti).luogo(std::llround(*t.limite_nullo)) +
               ") ferma ogni treno: nessun treno lo rispetta";
      return inizio + ", ma ai soli limiti di velocita' e dei rallentamenti ci vogliono almeno " +
             durata_testo(t.minimo) + ": nessun treno lo rispetta";
    case tipo_problema::sotto_realistico:
      return inizio + ", meno dei " + corsa_treno +
             " (accelerazione, frenatura, lunghezza, pendenze): arrivera' in ritardo";
    case tipo_problema::margine_scarso:
      return inizio + ", appena " + percento((t.orario - t.realistico) / t.realistico) +
             " oltre i " + corsa_treno + ": meno del " + percento(margine_di_recupero) +
             " per recuperare un ritardo";
    default:
      return inizio + ", piu' del doppio dei " + corsa_treno + ": forse un errore di battitura";
  }
}

std::string dell_orologio(const problema& p, const modello& m) {
  const std::string inizio = "l'orologio parte alle " + orario_testo(p.orologio);
  const std::string partenza = "prima partenza, alle " + orario_testo(p.prima_partenza) + " da " +
                               nome_stazione(m, p.stazione);
  if (p.tipo == tipo_problema::orologio_dopo)
    return inizio + ", dopo la " + partenza + ": il treno e' gia' in ritardo";
  return inizio + ", piu' di " + std::to_string(anticipo_massimo / 60) + " minuti prima della " +
         partenza + ": una lunga attesa prima di partire";
}

std::string della_stazione(const problema& p, const corsa& c, const modello& m) {
  const std::string nome = nome_stazione(m, p.stazione);
  if (p.tipo == tipo_problema::prima_senza_orario) {
    const std::string resto =
        c.punti.empty() ? "nessuna stazione ha un orario"
                        : "l'orario comincia da " + nome_stazione(m, c.punti.front().stazione);
    return "la prima stazione, " + nome + ", non ha orario (00:00:00): " + resto;
  }
  const punto& s = m.punti[static_cast<std::size_t>(p.stazione)];
  const std::string perche =
      s.indicatore_2 != 0
          ? "ha una sosta di " + std::to_string(s.indicatore_2) + " s"
          : "le stazioni con orario intorno a lei sono ai due lati della mezzanotte";
  return "la stazione " + nome + " ha orario 00:00:00, che si legge come nessun orario: il " +
         "treno vi passa senza orario e senza fermarsi, ma " + perche +
         "; per la mezzanotte scrivi 0, 0, 1";
}

}  // namespace

std::string durata_testo(double secondi) {
  if (!std::isfinite(secondi)) return "--";
  const std::int64_t s = secondi_interi(secondi);
  return s < 0 ? scarto_testo(s) : minuti_secondi(s);
}

std::string scarto_testo(std::int64_t secondi) {
  std::string t = secondi < 0 ? "-" : "+";
  return t.append(minuti_secondi(std::llabs(secondi)));
}

std::string nome_stazione(const modello& m, std::int32_t stazione) {
  return accorcia(nome_leggibile(m.punti[static_cast<std::size_t>(stazione)].nome), 40);
}

std::string descrizione(const problema& p, const confronto& r, const corsa& c, const modello& m) {
  switch (p.tipo) {
    case tipo_problema::orologio_dopo:
    case tipo_problema::orologio_presto:
      return dell_orologio(p, m);
    case tipo_problema::prima_senza_orario:
    case tipo_problema::orario_zero:
      return della_stazione(p, c, m);
    default:
      return del_tratto(p, r.tratti[*p.tratto], c, m);
  }
}

}  // namespace percorso
