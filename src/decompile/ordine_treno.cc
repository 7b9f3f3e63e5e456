#include "decompile/ordine_treno.h"

#include <string>

#include "decompile/ripetizioni.h"

namespace percorso {
namespace {

constexpr int prove_di_tipi = 16;

std::vector<scrittore_ripetizioni> scrittori(std::span<const cella> celle,
                                             const std::vector<stazione_ricostruita>& stazioni,
                                             const std::vector<segnale_letto>& segnali) {
  std::vector<scrittore_ripetizioni> s;
  for (const stazione_ricostruita& st : stazioni) {
    scrittore_ripetizioni w{{}, st.voce, 0, st.cella_fermata};
    for (std::size_t j = 0; j < st.avvicinamento.size(); ++j)
      w.scritture.push_back({st.avvicinamento[j], static_cast<std::uint8_t>(81 + j)});
    s.push_back(std::move(w));
  }
  const auto ultima_cella = std::ssize(celle) - 1;
  for (const segnale_letto& g : segnali)
    s.push_back({ripetizioni_del_segnale(g, ultima_cella), 0, g.sotto_stazione, g.cella});
  return s;
}

// A repetition code no row writes.
problemi senza_scrittore(std::span<const cella> celle,
                         const std::vector<scrittore_ripetizioni>& s) {
  std::vector<bool> scritta(celle.size(), false);
  for (const auto& w : s)
    for (const auto& [c, v] : w.scritture) scritta[static_cast<std::size_t>(c)] = true;
  problemi r;
  for (std::size_t i = 0; i < celle.size(); ++i)
    if (celle[i].ripetizione != 0 && !scritta[i])
      r.push_back({tipo_file::celle,
                   "cella " + std::to_string(i) +
                       ": un codice di ripetizione senza un segnale o una stazione che lo scriva"});
  return r;
}

}  // namespace

ordine_treno ordina_stazioni_e_segnali(std::span<const cella> celle,
                                       const std::vector<stazione_ricostruita>& stazioni,
                                       std::vector<segnale_letto>& segnali) {
  const std::int32_t ultima =
      !stazioni.empty() && stazioni.back().arresto != arresto::nessuno ? stazioni.back().voce : 0;
  ordine_treno r;
  r.guasti = senza_scrittore(celle, scrittori(celle, stazioni, segnali));
  ordine_ripetizioni o;
  for (int prova = 0; prova < prove_di_tipi; ++prova) {
    o = ordina_ripetizioni(scrittori(celle, stazioni, segnali), celle, ultima);
    bool cambiato = false;
    for (const std::size_t b : o.bloccate) {
      if (b < stazioni.size()) continue;
      segnale_letto& g = segnali[b - stazioni.size()];
      if (g.scelto + 1 < g.tipi.size()) {
        ++g.scelto;
        cambiato = true;
      }
    }
    if (o.bloccate.empty() || !cambiato) break;
  }
  if (!o.bloccate.empty())
    r.guasti.push_back({tipo_file::celle,
                        "nessun ordine delle stazioni e dei segnali da' tutti i codici di "
                        "ripetizione del file"});
  r.righe = std::move(o.righe);
  r.righe.insert(r.righe.end(), o.bloccate.begin(), o.bloccate.end());
  return r;
}

}  // namespace percorso
