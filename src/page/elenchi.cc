#include "page/elenchi.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>

#include "format/chilometri.h"
#include "format/orari.h"
#include "format/segnali.h"
#include "format/testo_nomi.h"
#include "format/unita_celle.h"
#include "model/numeri.h"
#include "sintassi/parole_chiave.h"

namespace percorso {
namespace {

// A page stays readable, and small, however many rows a text has.
constexpr std::size_t massimo_righe = 2000;

// A time of the timetable; one out of the day's range as the seconds it holds.
std::string ora(std::int64_t secondi) {
  if (secondi < 0 || secondi >= 100 * 3600) return std::to_string(secondi) + " s";
  return orario_testo(secondi);
}

void aggiungi(elenco& e, riga_elenco r) {
  if (e.righe.size() >= massimo_righe) {
    ++e.omesse;
    return;
  }
  e.righe.push_back(std::move(r));
}

const punto* punto_di(const modello& m, std::int32_t slot) {
  if (slot < 0 || slot >= numero_punti) return nullptr;
  return &m.punti[static_cast<std::size_t>(slot)];
}

// Where a row lies: the railway's kilometre when the texts set a reference, then the
// distance from the start in metres, as the texts write it.
struct luoghi {
  chilometrica km;

  std::vector<std::string> intestazioni() const {
    std::vector<std::string> t;
    if (km.con_riferimenti()) t.push_back("km");
    t.push_back(std::string(intestazione_dall_inizio));
    return t;
  }
  void celle(std::vector<std::string>& c, std::int64_t metri) const {
    if (km.con_riferimenti()) c.push_back(testo_progressiva(km.al_metro(metri)));
    c.push_back(std::to_string(metri));
  }
  // A stretch: where it starts and ends, then the distances of both in one column.
  std::vector<std::string> intestazioni_tratto() const {
    std::vector<std::string> t;
    if (km.con_riferimenti()) t = {"da km", "a km"};
    t.push_back(std::string(intestazione_dall_inizio));
    return t;
  }
  void celle_tratto(std::vector<std::string>& c, std::int64_t da, std::int64_t a) const {
    if (km.con_riferimenti()) {
      c.push_back(testo_progressiva(km.al_metro(da)));
      c.push_back(testo_progressiva(km.al_metro(a)));
    }
    c.push_back(std::to_string(da) + " - " + std::to_string(a));
  }
};

// A row of a text and the model that placed it: the compiled one, or the compile past
// the stop for a row the compiler never reached.
struct riga_testo {
  const modello& m;
  const origine& o;
  bool compilata;
};
using righe_testo = std::vector<riga_testo>;

riga_elenco riga_di(const riga_testo& r, std::string id, std::int32_t da, std::int32_t a,
                    std::vector<std::string> celle) {
  return {r.compilata ? std::move(id) : std::string(), da, a, std::move(celle), &r.o, !r.compilata};
}

std::vector<std::string> unite(std::vector<std::string> a, std::vector<std::string> b) {
  a.insert(a.end(), std::make_move_iterator(b.begin()), std::make_move_iterator(b.end()));
  return a;
}

// The event each kind of row places, in the order of elemento; a mountain-side stretch
// takes many cells and is not looked for, curves and run rows none.
constexpr std::array<std::uint8_t, numero_elementi> evento_di = {
    evento::fermata,  evento::segnale,        evento::inizio_rallentamento,
    evento::cartello, evento::punto_velocita, evento::indicatori,
    evento::nessuno,  evento::nessuno,        evento::nessuno,
    evento::nessuno,  evento::nessuno};

// The cell a row's feature lands in, when the compiler placed it there: the written
// position and the cell may differ by a cell (a signal goes one cell ahead).
std::optional<std::int64_t> cella_trovata(const riga_testo& r) {
  const modello& m = r.m;
  const origine& o = r.o;
  const std::uint8_t cercato = evento_di[static_cast<std::size_t>(o.elemento)];
  if (cercato == evento::nessuno) return std::nullopt;
  // A station's stop cell lies in its area; other features within a cell or two.
  std::int64_t da = o.inizio / 50 - 1, a = o.inizio / 50 + 2;
  const punto* s = o.elemento == elemento::stazione ? punto_di(m, o.valore) : nullptr;
  if (s != nullptr) {
    da = s->valore_1 / 50 - 1;
    a = s->valore_2 / 50 + 1;
  }
  std::optional<std::int64_t> meglio;
  for (std::int64_t i = std::max<std::int64_t>(da, 0);
       i <= a && i < static_cast<std::int64_t>(m.celle.size()); ++i) {
    const cella& c = m.celle[static_cast<std::size_t>(i)];
    const bool suo = c.evento == cercato || (cercato == evento::punto_velocita &&
                                             c.evento == evento::punto_senza_velocita);
    if (!suo || (s != nullptr && c.dato_1 != o.valore)) continue;
    if (!meglio || std::llabs(i * 50 - o.inizio) < std::llabs(*meglio * 50 - o.inizio)) meglio = i;
  }
  return meglio;
}

std::string testo_cella(std::int64_t i) {
  return std::to_string(i) + " (" + std::to_string(i * 50) + " m)";
}

std::string cella_della_riga(const riga_testo& r) {
  if (!r.compilata) return "non compilato";
  if (evento_di[static_cast<std::size_t>(r.o.elemento)] == evento::nessuno) return {};
  const auto i = cella_trovata(r);
  return i ? testo_cella(*i) : "-";
}

// Arrival, departure and stop as the train sheet reads them: the time is the
// departure, the stop (field 13) comes before it; the first timed station only departs,
// the last only arrives.
std::array<std::string, 3> arrivo_partenza(const punto& s, bool prima, bool ultima) {
  // A station without a time shows none.
  if (s.orario == 0) return {};
  const std::string sosta = s.indicatore_2 != 0 ? std::to_string(s.indicatore_2) + " s" : "";
  if (prima && !ultima) return {{"", ora(s.orario), sosta}};
  if (ultima && !prima) return {{ora(s.orario), "", sosta}};
  return {{ora(s.orario - s.indicatore_2), ora(s.orario), sosta}};
}

elenco orario_treno(const righe_testo& righe, const luoghi& l) {
  elenco e{"pg-orario",
           "Orario",
           unite(unite({"n.", "stazione"}, l.intestazioni()),
                 {"tipo", "area", "arrivo", "partenza", "sosta", "cella di fermata"}),
           {},
           0,
           {}};
  const riga_testo *prima_ora = nullptr, *ultima_ora = nullptr;
  for (const riga_testo& r : righe) {
    const punto* s = r.o.elemento == elemento::stazione ? punto_di(r.m, r.o.valore) : nullptr;
    if (s == nullptr || s->orario == 0) continue;
    if (prima_ora == nullptr) prima_ora = &r;
    ultima_ora = &r;
  }
  for (const riga_testo& r : righe) {
    const origine& o = r.o;
    const punto* s = o.elemento == elemento::stazione ? punto_di(r.m, o.valore) : nullptr;
    if (s == nullptr) continue;
    const std::int64_t area = std::int64_t{s->valore_2} - s->valore_1;
    // A row past the stop has no entry in the compiled point table.
    std::vector<std::string> c = {r.compilata ? std::to_string(o.valore) : std::string(),
                                  nome_leggibile(s->nome)};
    l.celle(c, o.inizio);
    c.push_back(std::to_string(s->codice));
    c.push_back(std::to_string(area) + " m, da " + std::to_string(s->valore_1) + " a " +
                std::to_string(s->valore_2) + " m dall'inizio");
    for (std::string& t : arrivo_partenza(*s, &r == prima_ora, &r == ultima_ora))
      c.push_back(std::move(t));
    c.push_back(cella_della_riga(r));
    // The row the compiler stopped at may have left its entry without an area.
    const bool con_area = s->valore_2 > s->valore_1;
    aggiungi(e, riga_di(r, "pg-st-" + std::to_string(o.valore), con_area ? s->valore_1 : o.inizio,
                        con_area ? s->valore_2 : o.fine, std::move(c)));
  }
  return e;
}

// "tipo 2, tempo 235; codici 2 4 0": one side of a signal as its cell holds it.
std::string lato_segnale(int tipo, const std::array<int, 3>& codici, std::optional<int> tempo) {
  std::string s = "tipo " + std::to_string(tipo);
  if (tempo) s.append(", tempo ").append(std::to_string(*tempo));
  s.append("; codici");
  for (const int c : codici) s.append(" ").append(std::to_string(c));
  return s;
}

// The signal's codes decoded from its cell: the s-side, the d-side, rapp.
std::array<std::string, 3> codici_della_riga(const riga_testo& r) {
  const auto i = cella_trovata(r);
  if (!i) return {"-", "-", "-"};
  const auto k = codici_di_segnale(r.m.celle[static_cast<std::size_t>(*i)]);
  if (!k) return {"valori fuori dalle cifre", "-", "-"};
  const bool con_tempo = valore_di(parola(chiave::segnale).campi[1].valori, k->sx) ==
                         valore_di(parola(chiave::segnale).campi[1].valori, 2);
  return {lato_segnale(k->sx, k->s, con_tempo ? std::optional<int>(k->tempo) : std::nullopt),
          lato_segnale(k->dx, k->d, std::nullopt), std::to_string(k->rapp)};
}

// What the keyword table says of the values of a signal's fields, the fields that
// share one list of values named together.
std::string nota_segnali() {
  std::vector<std::pair<std::span<const valore_campo>, std::string>> gruppi;
  for (const campo_formato& f : parola(chiave::segnale).campi) {
    if (f.valori.empty()) continue;
    const auto g = std::find_if(gruppi.begin(), gruppi.end(),
                                [&](const auto& x) { return x.first.data() == f.valori.data(); });
    if (g == gruppi.end())
      gruppi.emplace_back(f.valori, f.nome);
    else
      g->second.append(", ").append(f.nome);
  }
  std::string s = "Valori dei campi:";
  for (const auto& [valori, nomi] : gruppi) {
    s.append(" ").append(nomi).append(" - ");
    for (std::size_t k = 0; k < valori.size(); ++k)
      s.append(k > 0 ? "; " : "")
          .append(valori[k].valori)
          .append(": ")
          .append(valori[k].significato);
    s.append(".");
  }
  return s.append(" Tutto in 'percorso explain segnale'.");
}

elenco segnali(const righe_testo& righe, const luoghi& l) {
  elenco e{"pg-segnali", "Segnali", unite(l.intestazioni(), {"cella", "lato s", "lato d", "rapp"}),
           {},           0,         nota_segnali()};
  for (const riga_testo& r : righe) {
    const origine& o = r.o;
    if (o.elemento != elemento::segnale) continue;
    std::vector<std::string> c;
    l.celle(c, o.inizio);
    c.push_back(cella_della_riga(r));
    for (std::string& t : codici_della_riga(r)) c.push_back(std::move(t));
    aggiungi(e, riga_di(r, {}, o.inizio, o.inizio, std::move(c)));
  }
  return e;
}

elenco rallentamenti(const righe_testo& righe, const luoghi& l) {
  elenco e{"pg-rallentamenti",
           "Rallentamenti",
           unite(l.intestazioni_tratto(), {"lunghezza", "velocita'", "cella d'inizio"}),
           {},
           0,
           {}};
  for (const riga_testo& r : righe) {
    const origine& o = r.o;
    if (o.elemento != elemento::rallentamento) continue;
    std::vector<std::string> c;
    l.celle_tratto(c, o.inizio, o.fine);
    c.push_back(std::to_string(std::int64_t{o.fine} - o.inizio) + " m");
    c.push_back(std::to_string(o.valore) + " km/h");
    c.push_back(cella_della_riga(r));
    aggiungi(e, riga_di(r, {}, o.inizio, o.fine, std::move(c)));
  }
  return e;
}

elenco cartelli(const righe_testo& righe, const luoghi& l) {
  elenco e{"pg-cartelli",
           "Cartelli e indicatori",
           unite(l.intestazioni(), {"testo", "cella"}),
           {},
           0,
           {}};
  for (const riga_testo& r : righe) {
    const origine& o = r.o;
    if (o.elemento != elemento::indicatori && o.elemento != elemento::cartello) continue;
    std::vector<std::string> c;
    l.celle(c, o.inizio);
    const punto* p = o.elemento == elemento::cartello ? punto_di(r.m, o.valore) : nullptr;
    c.push_back(o.elemento == elemento::indicatori ? std::string("indicatori di velocita' massima")
                : p != nullptr                     ? p->nome
                                                   : std::string());
    c.push_back(cella_della_riga(r));
    aggiungi(e,
             riga_di(r, o.elemento == elemento::cartello ? "pg-ca-" + std::to_string(o.valore) : "",
                     o.inizio, o.inizio, std::move(c)));
  }
  return e;
}

std::string velocita_punto(std::int32_t v) {
  return v > 0 ? std::to_string(v) + " km/h" : "nessuna";
}

// The text's own speed points, and those the completion pass adds (no source row).
elenco punti_velocita(const modello& m, const righe_testo& righe, const luoghi& l) {
  elenco e{"pg-punti", "Punti di velocita'", unite(l.intestazioni(), {"velocita'", "cella"}), {}, 0,
           {}};
  e.nota = nota_completamento;
  std::vector<std::int32_t> dal_testo;
  for (const riga_testo& r : righe) {
    const origine& o = r.o;
    if (o.elemento != elemento::abbattimento) continue;
    if (r.compilata) dal_testo.push_back(o.inizio);
    std::vector<std::string> c;
    l.celle(c, o.inizio);
    c.push_back(velocita_punto(o.valore));
    c.push_back(cella_della_riga(r));
    aggiungi(e, riga_di(r, {}, o.inizio, o.inizio, std::move(c)));
  }
  std::sort(dal_testo.begin(), dal_testo.end());
  for (std::size_t i = 0; i < m.celle.size(); ++i) {
    const cella& x = m.celle[i];
    if (x.evento != evento::punto_velocita && x.evento != evento::punto_senza_velocita) continue;
    const auto p = static_cast<std::int32_t>(i * 50);
    // A row's point lies within half a cell of its position.
    const auto vicino = std::lower_bound(dal_testo.begin(), dal_testo.end(), p - 25);
    if (vicino != dal_testo.end() && *vicino <= p + 25) continue;
    std::vector<std::string> c;
    l.celle(c, p);
    c.push_back(velocita_punto(x.evento == evento::punto_velocita ? x.dato_1 : 0));
    c.push_back(testo_cella(static_cast<std::int64_t>(i)));
    aggiungi(e, {{}, p, p, std::move(c), nullptr, false});
  }
  std::stable_sort(e.righe.begin(), e.righe.end(),
                   [](const riga_elenco& x, const riga_elenco& y) { return x.da < y.da; });
  return e;
}

elenco montagne(const righe_testo& righe, const luoghi& l) {
  elenco e{
      "pg-montagne", "Montagne e gallerie", unite(l.intestazioni_tratto(), {"tipo"}), {}, 0, {}};
  for (const riga_testo& r : righe) {
    const origine& o = r.o;
    if (o.elemento != elemento::montagna) continue;
    std::vector<std::string> c;
    l.celle_tratto(c, o.inizio, o.fine);
    c.push_back(std::to_string(o.valore));
    aggiungi(e, riga_di(r, {}, o.inizio, o.fine, std::move(c)));
  }
  return e;
}

// The curves of the plan: where, how long, their class and hand.
elenco curve(const righe_testo& righe, const luoghi& l) {
  elenco e{"pg-curve", "Curve", unite(l.intestazioni_tratto(), {"lunghezza", "classe", "verso"}),
           {},         0,       {}};
  for (const riga_testo& r : righe) {
    const origine& o = r.o;
    if (o.elemento != elemento::curva) continue;
    std::vector<std::string> c;
    l.celle_tratto(c, o.inizio, o.fine);
    c.push_back(std::to_string(std::int64_t{o.fine} - o.inizio) + " m");
    const valore_campo* classe = valore_di(parola(chiave::curva).valori_chiave, std::abs(o.valore));
    c.push_back(classe != nullptr
                    ? std::string(classe->valori) + ", " + std::string(classe->significato)
                    : std::to_string(o.valore));
    c.push_back(o.valore < 0 ? "sinistra" : "destra");
    aggiungi(e, riga_di(r, {}, o.inizio, o.fine, std::move(c)));
  }
  return e;
}

// The rows of a gradient, speed limit or adhesion run: where each puts its value in
// force, and from which cell.
elenco profilo(const righe_testo& righe, const luoghi& l, elemento tipo, elenco e,
               std::vector<std::string> (*valore)(std::int32_t)) {
  e.intestazioni = unite(unite(l.intestazioni(), std::move(e.intestazioni)), {"dalla cella"});
  for (const riga_testo& r : righe) {
    const origine& o = r.o;
    if (o.elemento != tipo) continue;
    std::vector<std::string> c;
    l.celle(c, o.inizio);
    for (std::string& t : valore(o.valore)) c.push_back(std::move(t));
    c.push_back(r.compilata ? testo_cella(cella_di(o.inizio, 0)) : "non compilato");
    aggiungi(e, riga_di(r, {}, o.inizio, o.inizio, std::move(c)));
  }
  return e;
}

std::string con_unita(std::int32_t v, chiave k) {
  const std::string_view unita = parola(k).campi[1].unita;
  return std::to_string(v) + (unita.empty() ? "" : " " + std::string(unita));
}

elenco pendenze(const righe_testo& righe, const luoghi& l) {
  return profilo(
      righe, l, elemento::pendenza, {"pg-pendenze", "Pendenze", {"pendenza"}, {}, 0, {}},
      [](std::int32_t v) { return std::vector<std::string>{con_unita(v, chiave::pendenza)}; });
}

// The speed as written and as the cells keep it, in steps of 5 km/h.
elenco velocita(const righe_testo& righe, const luoghi& l) {
  return profilo(righe, l, elemento::velocita,
                 {"pg-velocita", "Velocita' massima", {"velocita'", "nelle celle"}, {}, 0, {}},
                 [](std::int32_t v) {
                   const auto passi = velocita_in_cella(v);
                   return std::vector<std::string>{
                       con_unita(v, chiave::velocita),
                       passi ? con_unita(velocita_km_h(*passi), chiave::velocita) : "non entra"};
                 });
}

elenco aderenze(const righe_testo& righe, const luoghi& l) {
  return profilo(
      righe, l, elemento::aderenza, {"pg-aderenza", "Aderenza", {"aderenza"}, {}, 0, {}},
      [](std::int32_t v) { return std::vector<std::string>{con_unita(v, chiave::aderenza)}; });
}

}  // namespace

std::vector<elenco> elenchi_di(const modello& m, const oltre_arresto& oltre) {
  const luoghi l{chilometrica(m.punti)};
  righe_testo righe;
  for (const origine& o : m.origini)
    righe.push_back({m, o, o.fonte != oltre.testo || o.riga != oltre.riga});
  if (oltre.m != nullptr)
    for (const origine* o : oltre.righe) righe.push_back({*oltre.m, *o, false});
  return {orario_treno(righe, l), segnali(righe, l),  rallentamenti(righe, l),
          velocita(righe, l),     pendenze(righe, l), curve(righe, l),
          montagne(righe, l),     cartelli(righe, l), punti_velocita(m, righe, l),
          aderenze(righe, l)};
}

}  // namespace percorso
