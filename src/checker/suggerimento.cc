// The nearest keyword to a field that matches none: each keyword of the text is known
// by its name and by its first test piece, so "pendeza" finds "pendenza" and
// "lunghezza" alone finds "lunghezza percorso".
#include <algorithm>
#include <vector>

#include "checker/stato.h"
#include "diagnostics/parole_vicine.h"

namespace percorso::controllo {
namespace {

// Longer fields are no typo of a keyword; the bound also keeps the work small.
constexpr std::size_t campo_massimo = 48;

bool del_testo(const parola_chiave& k, fonte testo) {
  return (k.dove == parte::treno) == (testo == fonte::treno);
}

}  // namespace

std::optional<std::string_view> parola_vicina(std::string_view campo, fonte testo) {
  if (campo.size() > campo_massimo) return std::nullopt;
  std::string basso(campo);
  std::transform(basso.begin(), basso.end(), basso.begin(), minuscola);
  std::vector<std::string_view> note;
  std::vector<const parola_chiave*> di;
  for (const parola_chiave& k : parole_chiave()) {
    if (!del_testo(k, testo)) continue;
    for (const std::string_view n : {k.nome, k.pezzo_1}) {
      note.push_back(n);
      di.push_back(&k);
    }
  }
  const auto vicino = piu_vicino(basso, note);
  if (!vicino) return std::nullopt;
  // The word found is one of note itself: its place names its keyword.
  const auto i = std::find_if(note.begin(), note.end(), [&](std::string_view n) {
    return n.data() == vicino->data() && n.size() == vicino->size();
  });
  return di[static_cast<std::size_t>(i - note.begin())]->nome;
}

}  // namespace percorso::controllo
