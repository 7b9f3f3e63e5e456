#include "decompile/ripetizioni.h"

#include <optional>
#include <set>

namespace percorso {
namespace {

// Builds the order from its end. A row may go last when each cell it writes shows its
// code or is written by a row already placed after it; a cell placed frees the rows
// that write it, so each row and each write is looked at a bounded number of times.
class dalla_fine {
 public:
  dalla_fine(const std::vector<scrittore_ripetizioni>& s, std::span<const cella> celle)
      : s_(s),
        celle_(celle),
        finita_(celle.size(), false),
        mancanti_(s.size(), 0),
        tolto_(s.size(), false),
        di_cella_(celle.size()) {
    for (std::size_t i = 0; i < s.size(); ++i) {
      for (const auto& [c, v] : s[i].scritture) {
        di_cella_[u(c)].push_back(i);
        if (celle_[u(c)].ripetizione != v) ++mancanti_[i];
      }
      if (s[i].stazione != 0) stazioni_.insert({s[i].stazione, i});
      if (s[i].prima_di != 0) in_attesa_.insert({s[i].prima_di, i});
    }
    for (std::size_t i = 0; i < s.size(); ++i) libera_se_pronto(i);
  }

  // Takes the row to go last among those left: a free signal, the farthest first, else
  // the highest station left; false when none can.
  bool togli(std::int32_t solo_stazione) {
    std::optional<std::size_t> scelto;
    if (solo_stazione == 0 && !pronti_.empty()) {
      scelto = pronti_.begin()->second;
      pronti_.erase(pronti_.begin());
    } else if (!stazioni_.empty()) {
      const std::size_t i = std::prev(stazioni_.end())->second;
      if (mancanti_[i] == 0 && (solo_stazione == 0 || s_[i].stazione == solo_stazione)) scelto = i;
    }
    if (!scelto) return false;
    togli_riga(*scelto);
    return true;
  }

  bool finito() const { return dalla_fine_.size() == s_.size(); }

  ordine_ripetizioni esito() const {
    ordine_ripetizioni o;
    o.righe.assign(dalla_fine_.rbegin(), dalla_fine_.rend());
    for (std::size_t i = 0; i < s_.size(); ++i)
      if (!tolto_[i]) o.bloccate.push_back(i);
    return o;
  }

 private:
  static std::size_t u(std::int64_t c) { return static_cast<std::size_t>(c); }

  // A row that is not a station goes among the free ones once its cells allow it and the
  // station it must precede is placed.
  void libera_se_pronto(std::size_t i) {
    if (tolto_[i] || s_[i].stazione != 0 || mancanti_[i] != 0) return;
    if (s_[i].prima_di != 0 && in_attesa_.contains({s_[i].prima_di, i})) return;
    pronti_.insert({-s_[i].cella, i});
  }

  void togli_riga(std::size_t i) {
    tolto_[i] = true;
    dalla_fine_.push_back(i);
    if (s_[i].stazione != 0) {
      stazioni_.erase({s_[i].stazione, i});
      for (auto a = in_attesa_.lower_bound({s_[i].stazione, 0});
           a != in_attesa_.end() && a->first == s_[i].stazione;) {
        const std::size_t atteso = a->second;
        a = in_attesa_.erase(a);
        libera_se_pronto(atteso);
      }
    }
    for (const auto& [c, v] : s_[i].scritture) {
      if (finita_[u(c)]) continue;
      finita_[u(c)] = true;
      for (const std::size_t altro : di_cella_[u(c)]) {
        if (tolto_[altro]) continue;
        for (const auto& [c2, v2] : s_[altro].scritture)
          if (c2 == c && celle_[u(c)].ripetizione != v2) --mancanti_[altro];
        libera_se_pronto(altro);
      }
    }
  }

  const std::vector<scrittore_ripetizioni>& s_;
  std::span<const cella> celle_;
  std::vector<bool> finita_;            // a cell whose last writer is placed
  std::vector<std::int64_t> mancanti_;  // cells that stop each row from going last
  std::vector<bool> tolto_;
  std::vector<std::vector<std::size_t>> di_cella_;            // the rows that write each cell
  std::set<std::pair<std::int32_t, std::size_t>> stazioni_;   // left, by number
  std::set<std::pair<std::int32_t, std::size_t>> in_attesa_;  // waiting for their station
  std::set<std::pair<std::int64_t, std::size_t>> pronti_;     // free rows, farthest first
  std::vector<std::size_t> dalla_fine_;
};

}  // namespace

ordine_ripetizioni ordina_ripetizioni(const std::vector<scrittore_ripetizioni>& scrittori,
                                      std::span<const cella> celle, std::int32_t ultima_stazione) {
  dalla_fine d(scrittori, celle);
  if (ultima_stazione != 0 && !d.togli(ultima_stazione)) return d.esito();
  while (!d.finito() && d.togli(0)) {
  }
  return d.esito();
}

}  // namespace percorso
