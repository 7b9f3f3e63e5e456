// The rules of a whole row: where it lies on the line, and how it stands to the rows
// of its kind before it.
#include <algorithm>
#include <limits>

#include "checker/stato.h"
#include "format/formato.h"
#include "format/orari.h"
#include "model/numeri.h"

namespace percorso::controllo {
namespace {

constexpr std::int64_t secondi_al_giorno = 24 * 3600;

// Positions beyond the line's end; the compiler stops the text only past the cells.
void entro_la_linea(verifica_in_corso& v, const riga_letta& r) {
  if (!v.lunghezza) return;
  const std::int64_t fine_linea = *v.lunghezza;
  std::int64_t origine = 0;
  for (std::size_t i = 0; i < r.letti; ++i) {
    const ruolo uso = r.formato(i)->uso;
    if (!r.buono(i) || !posizionale(uso)) continue;
    std::int64_t p = r.valore(i);
    if (uso == ruolo::posizione) origine = p;
    if (uso == ruolo::estensione) p += origine;
    if (p <= fine_linea || p < 0) continue;
    std::optional<std::int32_t> codice;
    const std::int32_t margine = r.k->id == chiave::stazione ? margine_stazione : margine_comune;
    if (uso == ruolo::posizione && r.k->dove != parte::intestazione &&
        oltre_le_celle(p, margine, *v.ultima_cella()))
      codice = 15;
    // The end comes from the line text: a train row names the row that sets it.
    std::string fine = v.luogo(fine_linea);
    if (v.testo == fonte::treno)
      fine.append(", dalla ").append(riga_di(v, fonte::linea, v.riga_lunghezza));
    diagnosi* d = v.al_campo(r, i, genere::oltre_linea,
                             (uso == ruolo::estensione ? "finisce a " : "") + v.luogo(p) +
                                 ", oltre la fine della linea (" + fine + ")",
                             codice);
    if (d != nullptr && v.testo == fonte::treno)
      d->correlati.push_back({fonte::linea, v.riga_lunghezza, "lunghezza percorso", {}});
  }
}

void ripetizione(verifica_in_corso& v, const riga_letta& r) {
  if (r.chiave.find_first_of("49") != std::string_view::npos) return;
  v.segnala(genere::codici_ripetizione, r.riga, r.colonna, nullptr,
            testo_di(genere::codici_ripetizione, {}));
}

void curva(verifica_in_corso& v, const riga_letta& r) {
  if (r.chiave.find_first_of("123456") == std::string_view::npos) {
    v.segnala(genere::classe_curva, r.riga, r.colonna, nullptr, testo_di(genere::classe_curva, {}));
    return;
  }
  if (!r.buono(0) || !r.buono(1)) return;
  const std::int64_t s = r.valore(0);
  if (v.metro_curve > 2 && s < v.metro_curve - 1)
    v.al_campo(r, 0, genere::curve_sovrapposte, testo_di(genere::curve_sovrapposte, {v.luogo(s)}));
  v.metro_curve = std::max({v.metro_curve, s + 1, s + r.valore(1) + 1});
}

void montagna(verifica_in_corso& v, const riga_letta& r) {
  if (!r.buono(0) || !r.buono(1)) return;
  const auto [prima, ultima] =
      celle_montagna(r.valore(0), r.valore(1),
                     v.ultima_cella().value_or(std::numeric_limits<std::int64_t>::max()));
  if (prima <= ultima) return;
  v.al_campo(r, 1, genere::tratto_vuoto, testo_di(genere::tratto_vuoto, {}));
}

// A gradient, speed or adhesion row behind the previous one of its kind.
// A row before the first cell fills nothing: the value in force is replaced before
// it reaches a cell, at the start or, after a first block of rows, at its end.
void valore_sostituito(verifica_in_corso& v, const riga_letta& r, const corsa_profilo& c) {
  if (c.riga == 0 || c.valore == r.valore(1)) return;
  std::string da =
      c.cursore == 0 ? std::string("dall'inizio") : "da " + v.luogo(c.cursore * metri_per_cella);
  std::string perso = std::to_string(c.valore) + " della riga " + std::to_string(c.riga) + " (" +
                      v.luogo(c.posizione) + ")";
  std::string km;
  if (r.valore(0) > 0)
    km = "; se intendevi " + std::to_string(r.valore(0)) + " km, scrivi " +
         std::to_string(r.valore(0) * 1000);
  v.al_campo(r, 0, genere::valore_sostituito,
             testo_di(genere::valore_sostituito,
                      {v.luogo(r.valore(0)), std::to_string(r.valore(1)), perso, da}) +
                 km);
}

void profilo(verifica_in_corso& v, const riga_letta& r, corsa_profilo& c) {
  if (!r.buono(0)) return;
  const auto fino = static_cast<std::int64_t>(arrotonda(static_cast<double>(r.valore(0)) / 50.0));
  if (fino <= 0) {
    valore_sostituito(v, r, c);
  } else {
    if (fino < c.cursore)
      v.al_campo(r, 0, genere::profilo_indietro,
                 testo_di(genere::profilo_indietro, {v.luogo(r.valore(0))}));
    c.cursore = std::max(c.cursore + 1, fino);
  }
  c.riga = r.riga;
  c.posizione = r.valore(0);
  c.valore = r.valore(1);
}

void segnale(verifica_in_corso& v, const riga_letta& r) {
  if (!r.buono(0)) return;
  const std::int64_t cella = presa_di(elemento::segnale, r.valore(0)).cella;
  if (cella_ripetizione(cella, ripetizioni_segnale) >= 0) return;
  v.al_campo(r, 0, genere::segnale_vicino_inizio, testo_di(genere::segnale_vicino_inizio, {}));
}

void rallentamento(verifica_in_corso& v, const riga_letta& r) {
  if (!r.buono(0) || prese_di_rallentamento(r.valore(0), 0).avviso) return;
  v.al_campo(r, 0, genere::rallentamento_senza_avviso,
             testo_di(genere::rallentamento_senza_avviso, {}));
}

// The earlier station a finding compares with, as a place it speaks of.
void stazione_correlata(diagnosi* d, const precedente& s) {
  if (d != nullptr) d->correlati.push_back({fonte::treno, s.riga, "stazione " + corto(s.nome), {}});
}

bool nel_suo_intervallo(const riga_letta& r, std::size_t i) {
  return r.buono(i) && r.valore(i) >= r.formato(i)->minimo && r.valore(i) <= r.formato(i)->massimo;
}

void orario_stazione(verifica_in_corso& v, const riga_letta& r) {
  for (std::size_t i = 13; i <= 15; ++i) {
    if (!nel_suo_intervallo(r, i)) return;
  }
  const std::int64_t t = r.valore(13) * 3600 + r.valore(14) * 60 + r.valore(15);
  if (t == 0) return;  // a station without a time
  // A time more than half a day earlier is the next day's.
  if (v.orario && t < v.orario->valore && v.orario->valore - t <= secondi_al_giorno / 2 &&
      v.accetta(genere::orario_indietro.nome))
    stazione_correlata(
        v.al_campo(r, 13, genere::orario_indietro,
                   "orario " + orario_testo(t) + " prima delle " + orario_testo(v.orario->valore) +
                       " della stazione " + std::string(v.orario->nome) + ", " +
                       riga_di(v, fonte::treno, v.orario->riga)),
        *v.orario);
  v.orario = precedente{t, r.riga, r.campi[16].testo};
}

void stazione(verifica_in_corso& v, const riga_letta& r) {
  const std::int32_t k = ++v.stazioni;
  orario_stazione(v, r);
  if (!r.buono(0) || !r.buono(1) || !r.buono(2)) return;
  const area a = area_della_riga(r);
  const std::int64_t tipo = r.valore(1);
  if (!stazione_con_celle(tipo))
    v.al_campo(r, 1, genere::stazione_senza_celle,
               testo_di(genere::stazione_senza_celle, {std::to_string(tipo)}));
  else if (!fermata_possibile(cella_fermata(a)))
    v.al_campo(r, 0, genere::stazione_all_inizio,
               "l'area della stazione finisce a " + v.luogo(a.fine) + ", entro 100 m dall'inizio");
  if (v.fine_stazione && a.inizio - 350 < v.fine_stazione->valore &&
      v.accetta(genere::stazioni_vicine.nome))
    stazione_correlata(
        v.al_campo(r, 0, genere::stazioni_vicine,
                   "la stazione inizia a " + v.luogo(a.inizio) +
                       ", meno di 350 m dopo la fine di " + std::string(v.fine_stazione->nome) +
                       " (" + v.luogo(v.fine_stazione->valore) + ", " +
                       riga_di(v, fonte::treno, v.fine_stazione->riga) + ")"),
        *v.fine_stazione);
  v.fine_stazione = precedente{a.fine, r.riga, r.campi[16].testo};
  if (k + 1 >= primo_slot_cartelli - v.cartelli && v.accetta(genere::tabella_piena.nome))
    v.al_campo(r, 0, genere::tabella_piena,
               "stazione numero " + std::to_string(k) + " di troppo: con " +
                   std::to_string(v.cartelli) + " cartelli ne entrano al massimo " +
                   std::to_string(std::max(0, primo_slot_cartelli - 2 - v.cartelli)));
}

}  // namespace

area area_della_riga(const riga_letta& s) {
  return area_stazione(s.valore(1), s.valore(0), s.valore(2), s.valore(5) != 0);
}

void verifica_riga(verifica_in_corso& v, const riga_letta& r) {
  entro_la_linea(v, r);
  switch (r.k->id) {
    case chiave::lunghezza:
      if (r.buono(0)) {
        v.lunghezza = r.valore(0);
        v.riga_lunghezza = r.riga;
      }
      break;
    case chiave::ripetizione:
      ripetizione(v, r);
      break;
    case chiave::curva:
      curva(v, r);
      break;
    case chiave::montagna:
      montagna(v, r);
      break;
    case chiave::pendenza:
      profilo(v, r, v.profili[0]);
      break;
    case chiave::velocita:
      profilo(v, r, v.profili[1]);
      break;
    case chiave::aderenza:
      profilo(v, r, v.profili[2]);
      break;
    case chiave::cartello:
      ++v.cartelli;
      break;
    case chiave::segnale:
      segnale(v, r);
      break;
    case chiave::rallentamento:
      rallentamento(v, r);
      break;
    case chiave::stazione:
      stazione(v, r);
      break;
    default:
      break;
  }
}

}  // namespace percorso::controllo
