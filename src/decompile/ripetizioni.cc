#include "decompile/ripetizioni.h"

#include <algorithm>
#include <optional>

namespace percorso {
namespace {

class peeling {
 public:
  peeling(const std::vector<scrittore_ripetizioni>& s, std::span<const cella> celle)
      : s_(s), celle_(celle), finita_(celle.size(), false), tolto_(s.size(), false) {
    for (std::size_t i = 0; i < s.size(); ++i) {
      const auto k = static_cast<std::size_t>(s[i].stazione);
      if (k == 0) continue;
      if (indice_stazione_.size() <= k) indice_stazione_.resize(k + 1, s.size());
      indice_stazione_[k] = i;
    }
  }

  // Takes the row to go last among those left; false when none can.
  bool togli(std::int32_t solo_stazione) {
    std::optional<std::size_t> scelto;
    const std::int32_t alta = piu_alta_rimasta();
    for (std::size_t i = 0; i < s_.size(); ++i) {
      if (tolto_[i] || !puo_andare_ultimo(i, alta)) continue;
      if (solo_stazione != 0 && s_[i].stazione != solo_stazione) continue;
      if (!scelto || meglio(i, *scelto)) scelto = i;
    }
    if (!scelto) return false;
    tolto_[*scelto] = true;
    for (const auto& [c, v] : s_[*scelto].scritture) finita_[static_cast<std::size_t>(c)] = true;
    dalla_fine_.push_back(*scelto);
    return true;
  }

  ordine_ripetizioni esito() const {
    ordine_ripetizioni o;
    o.righe.assign(dalla_fine_.rbegin(), dalla_fine_.rend());
    for (std::size_t i = 0; i < s_.size(); ++i)
      if (!tolto_[i]) o.bloccate.push_back(i);
    return o;
  }

  bool finito() const { return dalla_fine_.size() == s_.size(); }

 private:
  // Stations go in the order of their numbers, so only the highest one left may go
  // last; a row that must come before a station goes once that station is placed.
  bool puo_andare_ultimo(std::size_t i, std::int32_t alta) const {
    const scrittore_ripetizioni& w = s_[i];
    if (w.stazione != 0 && w.stazione != alta) return false;
    if (w.prima_di != 0 && !stazione_tolta(w.prima_di)) return false;
    return std::all_of(w.scritture.begin(), w.scritture.end(), [&](const auto& cv) {
      const auto c = static_cast<std::size_t>(cv.first);
      return finita_[c] || celle_[c].ripetizione == cv.second;
    });
  }

  std::int32_t piu_alta_rimasta() const {
    std::int32_t m = 0;
    for (std::size_t i = 0; i < s_.size(); ++i)
      if (!tolto_[i] && s_[i].stazione > m) m = s_[i].stazione;
    return m;
  }

  bool stazione_tolta(std::int32_t k) const {
    const auto i = static_cast<std::size_t>(k);
    return i >= indice_stazione_.size() || indice_stazione_[i] == s_.size() ||
           tolto_[indice_stazione_[i]];
  }

  // From the end: signals before stations, the farthest first; so the text reads
  // stations first and then signals along the line.
  bool meglio(std::size_t a, std::size_t b) const {
    const bool sa = s_[a].stazione == 0, sb = s_[b].stazione == 0;
    if (sa != sb) return sa;
    return s_[a].cella > s_[b].cella;
  }

  const std::vector<scrittore_ripetizioni>& s_;
  std::span<const cella> celle_;
  std::vector<bool> finita_;
  std::vector<bool> tolto_;
  std::vector<std::size_t> dalla_fine_;
  std::vector<std::size_t> indice_stazione_;  // by number; s_.size() for none
};

}  // namespace

ordine_ripetizioni ordina_ripetizioni(const std::vector<scrittore_ripetizioni>& scrittori,
                                      std::span<const cella> celle, std::int32_t ultima_stazione) {
  peeling p(scrittori, celle);
  if (ultima_stazione != 0 && !p.togli(ultima_stazione)) return p.esito();
  while (!p.finito() && p.togli(0)) {
  }
  return p.esito();
}

}  // namespace percorso
