// The nearest keyword to a field that matches none: edit distance to each keyword's
// name and to its first test piece, so "pendeza" finds "pendenza" and "lunghezza"
// alone finds "lunghezza percorso".
#include <algorithm>
#include <array>

#include "checker/stato.h"

namespace percorso::controllo {
namespace {

// Longer fields are no typo of a keyword; the bound also keeps the work small.
constexpr std::size_t campo_massimo = 48;

char minuscola(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t distanza(std::string_view a, std::string_view b) {
  std::array<std::size_t, campo_massimo + 1> riga{};
  for (std::size_t j = 0; j <= b.size() && j <= campo_massimo; ++j) riga[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonale = riga[0];
    riga[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t sopra = riga[j];
      riga[j] = std::min({riga[j] + 1, riga[j - 1] + 1, diagonale + (a[i - 1] != b[j - 1])});
      diagonale = sopra;
    }
  }
  return riga[b.size()];
}

bool del_testo(const parola_chiave& k, fonte testo) {
  return (k.dove == parte::treno) == (testo == fonte::treno);
}

}  // namespace

std::optional<std::string_view> parola_vicina(std::string_view campo, fonte testo) {
  if (campo.size() > campo_massimo) return std::nullopt;
  std::string basso(campo);
  std::transform(basso.begin(), basso.end(), basso.begin(), minuscola);
  const parola_chiave* migliore = nullptr;
  std::size_t migliore_distanza = campo_massimo;
  for (const parola_chiave& k : parole_chiave()) {
    if (!del_testo(k, testo)) continue;
    for (const std::string_view candidato : {k.nome, k.pezzo_1}) {
      if (candidato.size() > campo_massimo) continue;
      const std::size_t d = distanza(basso, candidato);
      if (d <= std::max<std::size_t>(1, candidato.size() / 3) && d < migliore_distanza) {
        migliore = &k;
        migliore_distanza = d;
      }
    }
  }
  if (migliore == nullptr) return std::nullopt;
  return migliore->nome;
}

}  // namespace percorso::controllo
