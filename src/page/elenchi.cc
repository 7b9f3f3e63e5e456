#include "page/elenchi.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "format/testo_nomi.h"

namespace percorso {
namespace {

// A page stays readable, and small, however many rows a text has.
constexpr std::size_t massimo_righe = 2000;

std::string orario(std::int32_t secondi) {
  // A station without a time shows none.
  if (secondi == 0) return {};
  if (secondi < 0 || secondi >= 100 * 3600) return std::to_string(secondi) + " s";
  char b[16];
  std::snprintf(b, sizeof b, "%02d:%02d:%02d", secondi / 3600, secondi / 60 % 60, secondi % 60);
  return b;
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

elenco orario_treno(const modello& m) {
  elenco e{"pg-orario", "Orario", {"n.", "stazione", "km", "tipo", "fermata", "orario"}, {}, 0};
  for (const origine& o : m.origini) {
    if (o.elemento != elemento::stazione) continue;
    const punto* s = punto_di(m, o.valore);
    if (s == nullptr) continue;
    const std::int64_t area = std::int64_t{s->valore_2} - s->valore_1;
    aggiungi(e, {"pg-st-" + std::to_string(o.valore),
                 s->valore_1,
                 s->valore_2,
                 {std::to_string(o.valore), nome_leggibile(s->nome), km(o.inizio),
                  std::to_string(s->codice),
                  std::to_string(area) + " m, km " + km(s->valore_1) + " - " + km(s->valore_2),
                  orario(s->orario)},
                 &o});
  }
  return e;
}

elenco segnali(const modello& m) {
  elenco e{"pg-segnali", "Segnali", {"km"}, {}, 0};
  for (const origine& o : m.origini)
    if (o.elemento == elemento::segnale) aggiungi(e, {{}, o.inizio, o.inizio, {km(o.inizio)}, &o});
  return e;
}

elenco rallentamenti(const modello& m) {
  elenco e{"pg-rallentamenti", "Rallentamenti", {"da km", "a km", "lunghezza", "velocita'"}, {}, 0};
  for (const origine& o : m.origini) {
    if (o.elemento != elemento::rallentamento) continue;
    aggiungi(e, {{},
                 o.inizio,
                 o.fine,
                 {km(o.inizio), km(o.fine), std::to_string(std::int64_t{o.fine} - o.inizio) + " m",
                  std::to_string(o.valore) + " km/h"},
                 &o});
  }
  return e;
}

elenco cartelli(const modello& m) {
  elenco e{"pg-cartelli", "Cartelli e indicatori", {"km", "testo"}, {}, 0};
  for (const origine& o : m.origini) {
    if (o.elemento == elemento::indicatori) {
      aggiungi(e, {{}, o.inizio, o.inizio, {km(o.inizio), "indicatori di velocita' massima"}, &o});
    } else if (o.elemento == elemento::cartello) {
      const punto* p = punto_di(m, o.valore);
      aggiungi(e, {"pg-ca-" + std::to_string(o.valore),
                   o.inizio,
                   o.inizio,
                   {km(o.inizio), p != nullptr ? p->nome : std::string()},
                   &o});
    }
  }
  return e;
}

std::string velocita_punto(std::int32_t v) {
  return v > 0 ? std::to_string(v) + " km/h" : "nessuna";
}

// The text's own speed points, and those the completion pass adds (no source row).
elenco punti_velocita(const modello& m) {
  elenco e{"pg-punti", "Punti di velocita'", {"km", "velocita'"}, {}, 0};
  std::vector<std::int32_t> dal_testo;
  for (const origine& o : m.origini) {
    if (o.elemento != elemento::abbattimento) continue;
    dal_testo.push_back(o.inizio);
    aggiungi(e, {{}, o.inizio, o.inizio, {km(o.inizio), velocita_punto(o.valore)}, &o});
  }
  std::sort(dal_testo.begin(), dal_testo.end());
  for (std::size_t i = 0; i < m.celle.size(); ++i) {
    const cella& c = m.celle[i];
    if (c.evento != evento::punto_velocita && c.evento != evento::punto_senza_velocita) continue;
    const auto p = static_cast<std::int32_t>(i * 50);
    // A row's point lies within half a cell of its position.
    const auto vicino = std::lower_bound(dal_testo.begin(), dal_testo.end(), p - 25);
    if (vicino != dal_testo.end() && *vicino <= p + 25) continue;
    const std::int32_t v = c.evento == evento::punto_velocita ? c.dato_1 : 0;
    aggiungi(e, {{}, p, p, {km(p), velocita_punto(v)}, nullptr});
  }
  std::stable_sort(e.righe.begin(), e.righe.end(),
                   [](const riga_elenco& x, const riga_elenco& y) { return x.da < y.da; });
  return e;
}

elenco montagne(const modello& m) {
  elenco e{"pg-montagne", "Montagne e gallerie", {"da km", "a km", "tipo"}, {}, 0};
  for (const origine& o : m.origini) {
    if (o.elemento != elemento::montagna) continue;
    aggiungi(e, {{}, o.inizio, o.fine, {km(o.inizio), km(o.fine), std::to_string(o.valore)}, &o});
  }
  return e;
}

}  // namespace

std::string km(std::int64_t metri) {
  const std::int64_t a = std::llabs(metri);
  char b[40];
  std::snprintf(b, sizeof b, "%s%lld.%03lld", metri < 0 ? "-" : "",
                static_cast<long long>(a / 1000), static_cast<long long>(a % 1000));
  return b;
}

std::vector<elenco> elenchi_di(const modello& m) {
  return {orario_treno(m), segnali(m),        rallentamenti(m),
          cartelli(m),     punti_velocita(m), montagne(m)};
}

}  // namespace percorso
