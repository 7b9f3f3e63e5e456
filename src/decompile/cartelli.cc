#include "decompile/cartelli.h"

#include <algorithm>

#include "decompile/posizioni.h"
#include "decompile/segnali.h"
#include "decompile/stazioni.h"
#include "format/unita_celle.h"
#include "placement/prese.h"
#include "sintassi/parole_chiave.h"

namespace percorso {
namespace {

// Whether the entry holds its name and nothing else, as a board's entry does.
bool solo_il_nome(const punto& p) {
  punto nome;
  nome.nome = p.nome;
  return p == nome;
}

// The two sides of a field of speed indicators, the s side in the hundreds: any split
// gives the field back, this one reads as two speeds.
std::pair<std::int64_t, std::int64_t> lati(std::int16_t v) {
  return {std::int64_t{v / 100} * km_h_per_passo, std::int64_t{v % 100} * km_h_per_passo};
}

// The row of a speed indicator pair that leaves these values in its cell.
riga_testo riga_indicatori(std::int64_t c, const cella& v) {
  const auto [as, ad] = lati(v.dato_1);
  const auto [bs, bd] = lati(v.dato_2);
  const auto [cs, cd] = lati(v.dato_3);
  return {std::string(parola(chiave::indicatori).nome),
          {posizione_in_cella(c), as, bs, cs, v.dato_4 / 10, ad, bd, cd, v.dato_4 % 10},
          std::nullopt,
          ""};
}

}  // namespace

std::int32_t prima_voce_cartelli(std::span<const cella> celle,
                                 const std::array<punto, numero_punti>& punti) {
  std::int32_t prima = primo_slot_cartelli + 1;
  for (const cella& c : celle)
    if (c.evento == evento::cartello && c.dato_1 >= 0 && c.dato_1 < prima) prima = c.dato_1;
  while (prima > 1 && !punti[static_cast<std::size_t>(prima - 1)].nome.empty() &&
         solo_il_nome(punti[static_cast<std::size_t>(prima - 1)]))
    --prima;
  return prima;
}

cartelli_ricostruiti cartelli_e_indicatori(std::span<const cella> celle,
                                           const std::array<punto, numero_punti>& punti,
                                           std::int32_t prima_voce,
                                           const std::vector<fermata>& fermate) {
  cartelli_ricostruiti r;
  std::vector<std::int64_t> cella_del_cartello(numero_punti, -1);
  for (std::size_t i = 0; i < celle.size(); ++i) {
    cella c = celle[i];
    if (i == cella_di_controllo) c.dato_1 = c.dato_2 = 0;  // the header's values
    if (c.evento == evento::indicatori)
      r.indicatori.push_back(riga_indicatori(static_cast<std::int64_t>(i), c));
    if (c.evento != evento::cartello) continue;
    if (c.dato_1 < prima_voce || c.dato_1 > primo_slot_cartelli ||
        cella_del_cartello[static_cast<std::size_t>(c.dato_1)] >= 0)
      r.guasti.push_back(
          {tipo_file::celle, "cella " + std::to_string(i) + ": un cartello della voce " +
                                 std::to_string(c.dato_1) + ", che nessuna riga le puo' dare"});
    else
      cella_del_cartello[static_cast<std::size_t>(c.dato_1)] = static_cast<std::int64_t>(i);
  }
  // What each stop cell hides, from the values left under it.
  std::vector<std::int64_t> libere;
  for (const fermata& f : fermate) {
    const cella& c = celle[static_cast<std::size_t>(f.cella)];
    if (c.dato_2 == 0 && c.dato_3 == 0 && c.dato_4 == 0 && c.tempo_segnale == 0) {
      libere.push_back(f.cella);
    } else if (c.tempo_segnale != 0 || ripetizioni_visibili(celle, f.cella, c.dato_4)) {
      r.segnali_nascosti.push_back(f);
    } else {
      cella v = c;
      v.dato_1 = 0;
      riga_testo riga = riga_indicatori(f.cella, v);
      riga.solo_per = "sotto la fermata della stazione " + std::to_string(f.stazione) +
                      ": ne restano i valori di questi indicatori";
      r.indicatori.push_back(std::move(riga));
    }
  }
  std::sort(r.indicatori.begin(), r.indicatori.end(),
            [](const riga_testo& a, const riga_testo& b) { return a.numeri[0] < b.numeri[0]; });
  for (std::int32_t voce = primo_slot_cartelli; voce >= prima_voce; --voce) {
    const punto& p = punti[static_cast<std::size_t>(voce)];
    if (!solo_il_nome(p) || !nome_scrivibile(p.nome))
      r.guasti.push_back({tipo_file::punti, "voce " + std::to_string(voce) +
                                                ": un cartello che nessuna riga scrive cosi'"});
    riga_testo riga{std::string(parola(chiave::cartello).nome), {}, p.nome, ""};
    std::int64_t c = cella_del_cartello[static_cast<std::size_t>(voce)];
    if (c < 0 && !libere.empty()) {
      c = libere.front();
      libere.erase(libere.begin());
      riga.solo_per = "cella presa da una fermata: il testo del cartello resta nella voce " +
                      std::to_string(voce) + ", la sua cella no";
    } else if (c < 0) {
      r.guasti.push_back({tipo_file::punti, "voce " + std::to_string(voce) +
                                                ": un cartello senza cella e nessuna fermata "
                                                "libera che la possa coprire"});
      c = 0;
    }
    riga.numeri = {posizione_in_cella(c)};
    r.cartelli.push_back(std::move(riga));
  }
  return r;
}

}  // namespace percorso
