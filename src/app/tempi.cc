#include "app/tempi.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/esecuzione.h"
#include "diagnostics/json.h"
#include "format/chilometri.h"
#include "tempi/descrizioni.h"

namespace percorso {
namespace {

std::string cifre(double v, const char* formato) {
  char t[64];
  std::snprintf(t, sizeof t, formato, v);
  return t;
}

// Where a station lies: the line's kilometre where the texts set a reference, else the
// distance from the start in kilometres.
std::string km_di(const chilometrica& km, std::int32_t posizione) {
  return km.con_riferimenti() ? testo_progressiva(km.al_metro(posizione)) : km_testo(posizione);
}

// The run's time less the timetable's, and its share of the run; nothing where no train
// passes.
std::optional<double> margine(const tratto_orario& t) {
  if (!std::isfinite(t.realistico)) return std::nullopt;
  return static_cast<double>(t.orario) - t.realistico;
}

std::vector<std::string> riga_tratto(const tratto_orario& t, const esito_tempi& e,
                                     const chilometrica& km) {
  const punto_orario &da = e.c.punti[t.da], &a = e.c.punti[t.a];
  const auto m = margine(t);
  return {nome_stazione(e.m, da.stazione),
          km_di(km, da.posizione),
          nome_stazione(e.m, a.stazione),
          km_di(km, a.posizione),
          km_testo(t.distanza) + " km",
          durata_testo(t.minimo),
          durata_testo(t.realistico),
          durata_testo(static_cast<double>(t.orario)),
          m ? scarto_testo(t.orario - secondi_interi(t.realistico)) : "--",
          m ? cifre(*m / t.realistico * 100, "%+.1f %%") : ""};
}

// Characters a terminal shows: UTF-8 continuation bytes take no column.
std::size_t colonne(const std::string& s) {
  return static_cast<std::size_t>(std::count_if(
      s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The rows in columns two blanks apart; the names (the first and third) aligned left,
// the figures right.
std::string in_colonne(const std::vector<std::vector<std::string>>& righe) {
  std::vector<std::size_t> larghezza(righe.front().size(), 0);
  for (const auto& r : righe)
    for (std::size_t k = 0; k < r.size(); ++k) larghezza[k] = std::max(larghezza[k], colonne(r[k]));
  std::string t;
  for (const auto& r : righe) {
    std::string riga;
    for (std::size_t k = 0; k < r.size(); ++k) {
      const std::string spazi(larghezza[k] - colonne(r[k]), ' ');
      riga += (k == 0 ? "" : "  ") + (k == 0 || k == 2 ? r[k] + spazi : spazi + r[k]);
    }
    riga.erase(riga.find_last_not_of(' ') + 1);
    t += riga + '\n';
  }
  return t;
}

std::string intestazione(const esito_tempi& e) {
  const convoglio& c = e.c.treno;
  const bool predefinita = e.m.punti[slot_treno].valore_1 <= 0;
  return "treno: " + std::to_string(c.vetture) + " vetture da " +
         cifre(e.assunte.metri_per_vettura, "%.1f") + " m, " + cifre(c.lunghezza, "%.1f") +
         " m; massa frenata " + std::to_string(c.massa_frenata) + " %" +
         (predefinita ? " (il testo non la da')" : "") + "\naccelerazione " +
         cifre(c.accelerazione, "%.2f") + " m/s2, frenatura " + cifre(c.decelerazione, "%.2f") +
         " m/s2 (" + cifre(e.assunte.frenatura_al_cento, "%.2f") + " al 100 %), reazione " +
         cifre(c.reazione, "%.1f") + " s\n";
}

const std::string& file_di(const origine& o, const nomi_sorgenti& nomi) {
  return o.fonte == fonte::linea ? nomi.linea : nomi.treno;
}

// "FILE:LINE:COL" of the station row a problem is told at.
std::string luogo_problema(const problema& p, const nomi_sorgenti& nomi) {
  if (!p.riga) return nomi.treno;
  return file_di(*p.riga, nomi) + ":" + std::to_string(p.riga->riga) + ":" +
         std::to_string(p.riga->colonna);
}

std::string livello_di(const problema& p) {
  return e_errore(p.tipo) ? "errore" : "avviso";
}

std::size_t errori_di(const confronto& r) {
  return static_cast<std::size_t>(std::count_if(
      r.problemi.begin(), r.problemi.end(), [](const problema& p) { return e_errore(p.tipo); }));
}

std::string quanti(std::size_t n, const char* uno, const char* piu) {
  return std::to_string(n) + " " + (n == 1 ? uno : piu);
}

std::string json_stazione(const esito_tempi& e, const punto_orario& p, const chilometrica& km) {
  return json_oggetto()
      .numero("stazione", p.stazione)
      .testo("nome", nome_stazione(e.m, p.stazione))
      .numero("posizione", p.posizione)
      .testo("km", km_di(km, p.posizione))
      .numero("orario", p.orario)
      .numero("sosta", p.sosta)
      .vero("ferma", p.ferma)
      .reale("arrivo", p.arrivo)
      .reale("partenza", p.partenza)
      .fine();
}

std::string json_tratto(const esito_tempi& e, const tratto_orario& t, const chilometrica& km) {
  json_oggetto j;
  j.grezzo("da", json_stazione(e, e.c.punti[t.da], km))
      .grezzo("a", json_stazione(e, e.c.punti[t.a], km))
      .numero("distanza", t.distanza)
      .reale("minimo", t.minimo)
      .reale("realistico", t.realistico)
      .numero("orario", t.orario)
      .reale("margine", margine(t).value_or(NAN));
  if (t.limite_nullo)
    j.reale("limite_nullo", *t.limite_nullo);
  else
    j.nullo("limite_nullo");
  return j.fine();
}

std::string json_problema(const esito_tempi& e, const problema& p, const nomi_sorgenti& nomi) {
  json_oggetto j;
  j.testo("livello", livello_di(p))
      .testo("nome", nome_problema(p.tipo))
      .testo("messaggio", descrizione(p, e.r, e.c, e.m))
      .numero("stazione", p.stazione);
  if (p.riga)
    j.testo("file", file_di(*p.riga, nomi))
        .numero("riga", p.riga->riga)
        .numero("colonna", p.riga->colonna);
  else
    j.testo("file", nomi.treno).nullo("riga").nullo("colonna");
  j.numero("tratto", p.tratto ? std::optional<std::int64_t>(*p.tratto) : std::nullopt);
  if (p.tratto)
    j.numero("partenza", p.partenza)
        .numero("riga_partenza", p.riga_partenza
                                     ? std::optional<std::int64_t>(p.riga_partenza->riga)
                                     : std::nullopt);
  if (p.tipo == tipo_problema::orologio_dopo || p.tipo == tipo_problema::orologio_presto)
    j.numero("orologio", p.orologio).numero("prima_partenza", p.prima_partenza);
  return j.fine();
}

}  // namespace

esito_tempi calcola_tempi(const sorgenti& testi, const ipotesi& i) {
  // The names only feed the check codes; the plan is compiled for its findings alone.
  modello m;
  m.nome_percorso = std::string("tempi");
  m.numero_treno = std::string("1");
  esito_tempi t;
  t.assunte = i;
  t.m = costruisci(std::move(m), testi, 1, coordinate_piano::contate).m;
  t.rilievi_compilatore = t.m.rilievi.size();
  if (!t.m.celle_presenti()) return t;
  t.c = calcola_corsa(t.m, i);
  t.r = confronta_orario(t.m, t.c);
  return t;
}

bool con_errori(const esito_tempi& e) {
  return e.rilievi_compilatore > 0 || errori_di(e.r) > 0;
}

std::string tabella_tempi(const esito_tempi& e, const nomi_sorgenti& nomi) {
  const chilometrica km(e.m.punti);
  std::string t = intestazione(e);
  if (!e.r.tratti.empty()) {
    std::vector<std::vector<std::string>> righe = {
        {"da", km.con_riferimenti() ? "km" : "dall'inizio", "a",
         km.con_riferimenti() ? "km" : "dall'inizio", "distanza", "minimo", "realistico", "orario",
         "margine", ""}};
    for (const tratto_orario& r : e.r.tratti) righe.push_back(riga_tratto(r, e, km));
    t += in_colonne(righe);
  }
  for (const problema& p : e.r.problemi)
    t += luogo_problema(p, nomi) + ": " + livello_di(p) + " [" +
         std::string(nome_problema(p.tipo)) + "]: " + descrizione(p, e.r, e.c, e.m) + "\n";
  const std::size_t errori = errori_di(e.r);
  return t + quanti(e.r.tratti.size(), "tratto", "tratti") + ": " +
         quanti(errori, "errore", "errori") + ", " +
         quanti(e.r.problemi.size() - errori, "avviso", "avvisi") + "\n";
}

std::string json_tempi(const esito_tempi& e, const nomi_sorgenti& nomi) {
  const chilometrica km(e.m.punti);
  const convoglio& c = e.c.treno;
  json_lista tratti, problemi;
  for (const tratto_orario& t : e.r.tratti) tratti.aggiungi(json_tratto(e, t, km));
  for (const problema& p : e.r.problemi) problemi.aggiungi(json_problema(e, p, nomi));
  const std::size_t errori = errori_di(e.r);
  return json_oggetto()
             .grezzo("ipotesi", json_oggetto()
                                    .reale("metri_per_vettura", e.assunte.metri_per_vettura)
                                    .reale("accelerazione", e.assunte.accelerazione)
                                    .reale("frenatura_al_cento", e.assunte.frenatura_al_cento)
                                    .reale("reazione", e.assunte.reazione)
                                    .fine())
             .grezzo("treno", json_oggetto()
                                  .numero("vetture", c.vetture)
                                  .reale("lunghezza", c.lunghezza)
                                  .numero("massa_frenata", c.massa_frenata)
                                  .reale("accelerazione", c.accelerazione)
                                  .reale("decelerazione", c.decelerazione)
                                  .reale("reazione", c.reazione)
                                  .fine())
             .grezzo("tratti", tratti.fine())
             .grezzo("problemi", problemi.fine())
             .numero("errori", static_cast<std::int64_t>(errori))
             .numero("avvisi", static_cast<std::int64_t>(e.r.problemi.size() - errori))
             .numero("rilievi_compilatore", static_cast<std::int64_t>(e.rilievi_compilatore))
             .fine() +
         "\n";
}

}  // namespace percorso
