#include "documents/scheda_treno.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <vector>

#include "documents/dal_modello.h"
#include "documents/foglio.h"
#include "format/chilometri.h"
#include "format/nomi_file.h"
#include "format/unita_celle.h"
#include "writers/testi.h"

namespace percorso {
namespace {

// The fixed lines come from the embedded sheet (0-based lines).
constexpr std::size_t titolo = 0, sotto_il_treno = 6, dopo_la_massa = 10, riga_vuota = 16,
                      fondo_tabella = 47;
// The table shows at least this many rows below its first, empty one.
constexpr std::size_t righe_minime = 30;

// One row of the timetable: a station with its time, or a change of the speed limit.
struct voce {
  std::int64_t posizione = 0;
  std::optional<std::int32_t> velocita;
  const punto* stazione = nullptr;
  std::string orario;  // the time cell, 16 characters
};

// "15.33": hours and minutes of a time of day, seconds dropped.
std::string ora(std::int64_t secondi) {
  secondi = (secondi % 86400 + 86400) % 86400;
  std::array<char, 8> t{};
  std::snprintf(t.data(), t.size(), "%02d.%02d", static_cast<int>(secondi / 3600),
                static_cast<int>(secondi % 3600 / 60));
  return t.data();
}

// The departure at the first station, the arrival at the last; between them a station
// whose field 13 is not 0 stops that many seconds before its time, which is the departure.
std::string cella_orario(const punto& s, std::size_t i, std::size_t n) {
  if (i == 0) return std::string(10, ' ') + ora(s.orario) + " ";
  if (i + 1 == n) return "  " + ora(s.orario) + std::string(9, ' ');
  if (s.indicatore_2 != 0)
    return "  " + ora(s.orario - s.indicatore_2) + " - " + ora(s.orario) + " ";
  return std::string(6, ' ') + ora(s.orario) + std::string(5, ' ');
}

std::vector<voce> voci_stazioni(const modello& m) {
  std::vector<const punto*> con_orario;
  for (const punto* s : stazioni_lette(m))
    if (s->orario > 0) con_orario.push_back(s);
  std::vector<voce> voci;
  for (std::size_t i = 0; i < con_orario.size(); ++i)
    voci.push_back({con_orario[i]->valore_3, std::nullopt, con_orario[i],
                    cella_orario(*con_orario[i], i, con_orario.size())});
  return voci;
}

// The limit in force at `da` and every change of it after `da` up to `a`, from the cells.
std::vector<voce> voci_velocita(const modello& m, std::int64_t da, std::int64_t a) {
  std::vector<voce> voci;
  if (!m.celle_presenti()) return voci;
  auto cella = [&](std::int64_t p) {
    return std::clamp<std::int64_t>(p / 50, 0, m.ultima_cella());
  };
  auto limite = [&](std::int64_t i) {
    return velocita_km_h(m.celle[static_cast<std::size_t>(i)].velocita);
  };
  voci.push_back({da, limite(cella(da)), nullptr, {}});
  for (std::int64_t i = cella(da) + 1; i <= cella(a); ++i)
    if (limite(i) != limite(i - 1)) voci.push_back({i * 50, limite(i), nullptr, {}});
  return voci;
}

// Stations and speed changes in line order; a change at a station goes into its row.
std::vector<voce> voci_orario(const modello& m) {
  std::vector<voce> voci = voci_stazioni(m);
  const std::int64_t da = voci.empty() ? 0 : voci.front().posizione;
  const std::int64_t a = voci.empty() ? m.punti[slot_treno].valore_2 : voci.back().posizione;
  const std::vector<voce> cambi = voci_velocita(m, da, a);
  voci.insert(voci.end(), cambi.begin(), cambi.end());
  std::stable_sort(voci.begin(), voci.end(),
                   [](const voce& x, const voce& y) { return x.posizione < y.posizione; });
  std::vector<voce> unite;
  for (voce& v : voci) {
    if (!unite.empty() && unite.back().posizione == v.posizione && !v.stazione &&
        unite.back().stazione && !unite.back().velocita) {
      unite.back().velocita = v.velocita;
      continue;
    }
    unite.push_back(std::move(v));
  }
  return unite;
}

void riga_orario(foglio& f, const modello& m, const voce& v) {
  const std::int64_t progressiva = chilometrica(m.punti).al_metro(v.posizione);
  const std::string vuota5(5, ' ');
  const std::string celle[] = {
      v.velocita ? f.numero(*v.velocita, 5, 1) : vuota5,
      vuota5,
      f.numero(testo_progressiva(progressiva), 10, 1),
      vuota5,
      v.stazione ? f.testo(" ", v.stazione->nome, 28)
                 : f.testo(" ", "Km " + testo_progressiva(progressiva), 28),
      v.stazione ? v.orario : std::string(16, ' '),
      vuota5,
  };
  f.riga_tabella(celle);
}

void intestazione(foglio& f, const modello& m, const std::vector<voce>& voci) {
  std::vector<const punto*> capi;
  for (const voce& v : voci)
    if (v.stazione) capi.push_back(v.stazione);
  if (capi.empty()) capi = stazioni_lette(m);
  const std::string da = capi.empty() ? "" : capi.front()->nome;
  const std::string a = capi.empty() ? "" : capi.back()->nome;

  const auto fisse = righe_scheda();
  f.righe(fisse.subspan(titolo, 4));
  f.riga(" |" + f.testo("   TRENO n. ", m.numero_treno, 19) + "|" +
         f.testo(std::string(19, ' ') + "da: ", da, 45) + "|              |");
  f.riga(" |___________________|" + f.testo(std::string(20, ' ') + "a: ", a, 45) + "|" +
         f.numero(std::to_string(m.punti[slot_treno].valore_1) + "%", 14, 5) + "|");
  f.righe(fisse.subspan(sotto_il_treno, 3));
  // Classification and blocked mass: the texts do not give them.
  f.riga(" |                   |              |                   |");
  f.righe(fisse.subspan(dopo_la_massa, riga_vuota + 1 - dopo_la_massa));
}

}  // namespace

documento scheda_treno(const modello& m) {
  foglio f(nome_scheda(m));
  const std::vector<voce> voci = voci_orario(m);
  intestazione(f, m, voci);
  for (const voce& v : voci) riga_orario(f, m, v);
  const auto fisse = righe_scheda();
  for (std::size_t n = voci.size(); n < righe_minime; ++n) f.righe(fisse.subspan(riga_vuota, 1));
  f.righe(fisse.subspan(fondo_tabella));
  return std::move(f).fine();
}

}  // namespace percorso
