#include "decompile/righe.h"

#include <algorithm>

namespace percorso {
namespace {

// Widths of the numbers of the rows from da that share its keyword, column by column.
std::vector<std::size_t> larghezze(const std::vector<riga_testo>& righe, std::size_t da,
                                   std::size_t a) {
  std::vector<std::size_t> l;
  for (std::size_t i = da; i < a; ++i) {
    const auto& numeri = righe[i].numeri;
    if (l.size() < numeri.size()) l.resize(numeri.size(), 0);
    for (std::size_t c = 0; c < numeri.size(); ++c)
      l[c] = std::max(l[c], std::to_string(numeri[c]).size());
  }
  return l;
}

std::string scrivi(const riga_testo& r, const std::vector<std::size_t>& larghezze) {
  std::string s = r.chiave + ",";
  for (std::size_t c = 0; c < r.numeri.size(); ++c) {
    const std::string n = std::to_string(r.numeri[c]);
    if (c > 0) s += ",";
    s.append(larghezze[c] + 1 - n.size(), ' ').append(n);
  }
  if (r.testo) s.append(r.numeri.empty() ? " " : ", ").append(*r.testo);
  return s;
}

}  // namespace

testo_impaginato impagina(const std::vector<blocco_testo>& blocchi) {
  testo_impaginato t;
  for (const blocco_testo& b : blocchi) {
    if (!b.sezione.empty()) t.righe.push_back(b.sezione);
    for (std::size_t i = 0; i < b.righe.size();) {
      std::size_t fine = i;
      while (fine < b.righe.size() && b.righe[fine].chiave == b.righe[i].chiave) ++fine;
      const auto l = larghezze(b.righe, i, fine);
      for (; i < fine; ++i) {
        t.righe.push_back(scrivi(b.righe[i], l));
        if (!b.righe[i].solo_per.empty())
          t.riproduzione.push_back(
              {static_cast<std::int32_t>(t.righe.size()), t.righe.back(), b.righe[i].solo_per});
      }
    }
  }
  return t;
}

}  // namespace percorso
