#include "diagnostics/righe_sorgenti.h"

namespace percorso {
namespace {

constexpr std::int32_t passo = 4096;

bool fine_riga(std::uint8_t c) {
  return c == '\r' || c == '\n';
}

// Past the line end at i (CR LF counts as one).
std::size_t dopo_fine(std::span<const std::uint8_t> testo, std::size_t i) {
  return testo[i] == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n' ? i + 2 : i + 1;
}

}  // namespace

righe_sorgenti::righe_sorgenti(const sorgenti* testi) {
  if (testi == nullptr) return;
  for (auto [testo, t] : {std::pair{&testi->linea, &linea_}, std::pair{&testi->treno, &treno_}}) {
    if (!*testo) continue;
    t->testo = **testo;
    t->presente = true;
  }
}

std::string_view righe_sorgenti::riga(fonte f, std::int32_t n) const {
  indice* t = f == fonte::linea ? &linea_ : f == fonte::treno ? &treno_ : nullptr;
  if (t == nullptr || !t->presente || n < 1) return {};
  return cerca(*t, n);
}

std::string_view righe_sorgenti::cerca(indice& t, std::int32_t n) {
  const auto testo = t.testo;
  // The walk goes on to the start of the tappa of line n.
  const std::int32_t tappa_di_n = (n - 1) / passo;
  while (static_cast<std::int32_t>(t.tappe.size()) <= tappa_di_n && t.percorso < testo.size()) {
    std::size_t i = t.percorso;
    while (i < testo.size() && !fine_riga(testo[i])) ++i;
    if (i == testo.size()) break;
    t.percorso = dopo_fine(testo, i);
    if (++t.riga_percorsa % passo == 1) t.tappe.push_back(t.percorso);
  }
  auto trovata = t.trovate.find(n);
  if (trovata == t.trovate.end()) {
    const auto tappa = static_cast<std::size_t>((n - 1) / passo);
    if (tappa >= t.tappe.size()) return {};
    std::size_t i = t.tappe[tappa];
    for (std::int32_t riga = static_cast<std::int32_t>(tappa) * passo + 1; riga < n; ++riga) {
      while (i < testo.size() && !fine_riga(testo[i])) ++i;
      if (i == testo.size()) return {};
      i = dopo_fine(testo, i);
    }
    std::size_t fine = i;
    while (fine < testo.size() && !fine_riga(testo[fine])) ++fine;
    trovata = t.trovate.emplace(n, std::pair{i, fine}).first;
  }
  const auto [inizio, fine] = trovata->second;
  return {reinterpret_cast<const char*>(testo.data()) + inizio, fine - inizio};
}

}  // namespace percorso
