#include "sintassi/constatazioni.h"

namespace percorso {
namespace {

#define PERCORSO_GENERE(id, ...) &genere::id,
constexpr const genere_constatazione* tutti[] = {
#include "sintassi/constatazioni.inc"
};
#undef PERCORSO_GENERE

}  // namespace

std::span<const genere_constatazione* const> generi_constatazioni() {
  return tutti;
}

const genere_constatazione* genere_di_nome(std::string_view nome) {
  for (const genere_constatazione* g : tutti) {
    if (g->nome == nome) return g;
  }
  return nullptr;
}

livello grado_di(const genere_constatazione& g, bool attenuato) {
  return attenuato && g.attenuabile ? livello::avviso : g.grado;
}

std::string corto(std::string_view testo) {
  constexpr std::size_t massimo = 40;
  if (testo.size() <= massimo) return std::string(testo);
  return std::string(testo.substr(0, massimo)).append("...");
}

std::string testo_di(const genere_constatazione& g, std::initializer_list<std::string_view> parti) {
  std::string s;
  std::string_view resto = g.modello;
  for (const std::string_view p : parti) {
    const auto i = resto.find("{}");
    if (i == std::string_view::npos) break;
    s.append(resto.substr(0, i)).append(p);
    resto.remove_prefix(i + 2);
  }
  return s.append(resto);
}

}  // namespace percorso
