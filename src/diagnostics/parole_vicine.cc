#include "diagnostics/parole_vicine.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace percorso {
namespace {

// Far longer than every known word: no typo of one, and the edit distance grows with
// the square of the length.
constexpr std::size_t parola_massima = 48;

// Edits (insert, delete, replace, swap of neighbours) from a to b.
std::size_t distanza(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  std::iota(d[0].begin(), d[0].end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t diverso = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + diverso});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

std::optional<std::string_view> piu_vicino(std::string_view parola,
                                           std::span<const std::string_view> note) {
  if (parola.size() > parola_massima) return std::nullopt;
  // Long words stand more edits than short ones; a word too far is no suggestion.
  const std::size_t soglia = std::max<std::size_t>(2, parola.size() / 3);
  // A beginning that only one word has, such as "profilo" for "profilo-indietro".
  if (parola.size() >= 3) {
    std::optional<std::string_view> unico;
    std::size_t quanti = 0;
    for (const std::string_view n : note)
      if (n.starts_with(parola) && ++quanti == 1) unico = n;
    if (quanti == 1) return unico;
  }
  std::optional<std::string_view> migliore;
  std::size_t minima = soglia + 1;
  for (const std::string_view n : note) {
    const std::size_t d = distanza(parola, n);
    if (d < minima) {
      minima = d;
      migliore = n;
    }
  }
  return migliore;
}

std::string forse(std::string_view parola, std::span<const std::string_view> note) {
  const auto vicino = piu_vicino(parola, note);
  return vicino ? " (forse '" + std::string(*vicino) + "'?)" : "";
}

}  // namespace percorso
