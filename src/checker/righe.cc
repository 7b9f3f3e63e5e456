// The rules of a whole row: where it lies on the line, and how it stands to the rows
// of its kind before it.
#include <algorithm>

#include "checker/stato.h"
#include "model/numeri.h"

namespace percorso::controllo {
namespace {

constexpr std::int64_t secondi_al_giorno = 24 * 3600;

std::string due_cifre(std::int64_t n) {
  std::string s = std::to_string(n);
  if (s.size() < 2) s.insert(s.begin(), '0');
  return s;
}

// A time of day of the timetable (0 to 23:59:59, the fields' ranges).
std::string orario(std::int64_t s) {
  return due_cifre(s / 3600) + ":" + due_cifre(s / 60 % 60) + ":" + due_cifre(s % 60);
}

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
    const std::int64_t margine = r.k->id == chiave::stazione ? 800 : 100;
    if (uso == ruolo::posizione && r.k->dove != parte::intestazione &&
        static_cast<double>(p + margine) / 50.0 > static_cast<double>(*v.ultima_cella()))
      codice = 15;
    v.al_campo(r, i, livello::errore, nome::oltre_linea,
               (uso == ruolo::estensione ? "finisce a " : "") + v.luogo(p) +
                   ", oltre la fine della linea (" + v.luogo(fine_linea) + ")",
               codice);
  }
}

void ripetizione(verifica_in_corso& v, const riga_letta& r) {
  if (r.chiave.find_first_of("49") != std::string_view::npos) return;
  v.segnala(livello::errore, nome::codici_ripetizione, r.riga, r.colonna, nullptr,
            "la parola chiave deve contenere 4 o 9, il numero di codici ripetuti", 5);
}

void curva(verifica_in_corso& v, const riga_letta& r) {
  if (r.chiave.find_first_of("123456") == std::string_view::npos) {
    v.segnala(livello::errore, nome::classe_curva, r.riga, r.colonna, nullptr,
              "la parola chiave non contiene la classe della curva (una cifra da 1 a 6)", 103);
    return;
  }
  if (!r.buono(0) || !r.buono(1)) return;
  const std::int64_t s = r.valore(0);
  if (v.metro_curve > 2 && s < v.metro_curve - 1)
    v.al_campo(r, 0, livello::avviso, nome::curve_sovrapposte,
               "la curva inizia a " + v.luogo(s) + ", prima della fine della curva precedente");
  v.metro_curve = std::max({v.metro_curve, s + 1, s + r.valore(1) + 1});
}

void montagna(verifica_in_corso& v, const riga_letta& r) {
  if (!r.buono(0) || !r.buono(1)) return;
  const auto prima = static_cast<std::int64_t>(arrotonda(static_cast<double>(r.valore(0)) / 50.0));
  const auto ultima =
      static_cast<std::int64_t>(arrotonda(static_cast<double>(r.valore(1)) / 50.0)) - 1;
  if (prima <= ultima) return;
  v.al_campo(r, 1, livello::avviso, nome::tratto_vuoto,
             "il tratto non copre nessuna cella: la fine non sta almeno 50 m dopo l'inizio");
}

// A gradient, speed or adhesion row behind the previous one of its kind.
void profilo(verifica_in_corso& v, const riga_letta& r, std::int64_t& cursore) {
  if (!r.buono(0)) return;
  const auto fino = static_cast<std::int64_t>(arrotonda(static_cast<double>(r.valore(0)) / 50.0));
  if (fino <= 0) return;
  if (fino < cursore)
    v.al_campo(r, 0, livello::avviso, nome::profilo_indietro,
               "posizione " + v.luogo(r.valore(0)) +
                   " dietro la riga precedente dello stesso tipo: riempie comunque una cella");
  cursore = std::max(cursore + 1, fino);
}

void segnale(verifica_in_corso& v, const riga_letta& r) {
  if (!r.buono(0) || cella_di(r.valore(0), 1) >= 8) return;
  v.al_campo(r, 0, livello::avviso, nome::segnale_vicino_inizio,
             "le ripetizioni del segnale (100-400 m prima) cadono prima dell'inizio della linea "
             "e mancano");
}

void rallentamento(verifica_in_corso& v, const riga_letta& r) {
  if (!r.buono(0) || r.valore(0) > 1500) return;
  v.al_campo(r, 0, livello::avviso, nome::rallentamento_senza_avviso,
             "un rallentamento che inizia entro 1500 m non ha cartello di avviso ne' preavviso");
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
  if (v.orario && t < v.orario->valore && v.orario->valore - t <= secondi_al_giorno / 2)
    v.al_campo(r, 13, livello::errore, nome::orario_indietro,
               "orario " + orario(t) + " prima delle " + orario(v.orario->valore) +
                   " della stazione " + std::string(v.orario->nome) + ", " +
                   riga_di(v, fonte::treno, v.orario->riga));
  v.orario = precedente{t, r.riga, r.campi[16].testo};
}

void stazione(verifica_in_corso& v, const riga_letta& r) {
  const std::int32_t k = ++v.stazioni;
  orario_stazione(v, r);
  if (!r.buono(0) || !r.buono(1) || !r.buono(2)) return;
  const area a = area_stazione(r);
  const std::int64_t tipo = r.valore(1);
  if (tipo >= 25)
    v.al_campo(
        r, 1, livello::avviso, nome::stazione_senza_celle,
        "stazione di tipo " + std::to_string(tipo) + " (25 o piu'): nessuna cella di fermata");
  else if (a.fine / 50 - 1 <= 1)
    v.al_campo(r, 0, livello::errore, nome::stazione_all_inizio,
               "l'area della stazione finisce a " + v.luogo(a.fine) + ", entro 100 m dall'inizio",
               24);
  if (v.fine_stazione && a.inizio - 350 < v.fine_stazione->valore)
    v.al_campo(r, 0, livello::errore, nome::stazioni_vicine,
               "la stazione inizia a " + v.luogo(a.inizio) + ", meno di 350 m dopo la fine di " +
                   std::string(v.fine_stazione->nome) + " (" + v.luogo(v.fine_stazione->valore) +
                   ", " + riga_di(v, fonte::treno, v.fine_stazione->riga) + ")",
               22);
  v.fine_stazione = precedente{a.fine, r.riga, r.campi[16].testo};
  if (k + 1 >= primo_slot_cartelli - v.cartelli)
    v.al_campo(r, 0, livello::errore, nome::tabella_piena,
               "stazione numero " + std::to_string(k) + " di troppo: con " +
                   std::to_string(v.cartelli) + " cartelli ne entrano al massimo " +
                   std::to_string(std::max(0, primo_slot_cartelli - 2 - v.cartelli)),
               10);
}

}  // namespace

area area_stazione(const riga_letta& s) {
  const std::int64_t p = s.valore(0), tipo = s.valore(1), lg = s.valore(2);
  if (tipo == 5 || tipo == 6) return {p - lg, p + 150};
  if (tipo == 7 || tipo == 8) return {p - lg, p + lg};
  return {p - lg / 2, p + lg / 2 + (s.valore(5) != 0 ? 50 : 0)};
}

void verifica_riga(verifica_in_corso& v, const riga_letta& r) {
  entro_la_linea(v, r);
  switch (r.k->id) {
    case chiave::lunghezza:
      if (r.buono(0)) v.lunghezza = r.valore(0);
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
      profilo(v, r, v.cursori[0]);
      break;
    case chiave::velocita:
      profilo(v, r, v.cursori[1]);
      break;
    case chiave::aderenza:
      profilo(v, r, v.cursori[2]);
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
