#include "cli/opzioni.h"

#include <algorithm>

namespace percorso {
namespace {

std::vector<std::string_view> nomi_di(std::span<const opzione> ammesse) {
  std::vector<std::string_view> nomi;
  for (const opzione& o : ammesse) nomi.push_back(o.nome);
  return nomi;
}

}  // namespace

std::optional<std::string> leggi_argomenti(std::span<const std::string_view> a,
                                           std::span<const opzione> ammesse, argomenti& letti) {
  bool solo_posizionali = false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::string_view s = a[i];
    if (solo_posizionali || s.size() < 2 || s.front() != '-') {
      letti.posizionali.push_back(s);
      continue;
    }
    if (s == "--") {
      solo_posizionali = true;
      continue;
    }
    const std::string_view nome = s.substr(0, s.find('='));
    const auto o = std::find_if(ammesse.begin(), ammesse.end(),
                                [&](const opzione& o) { return o.nome == nome; });
    if (o == ammesse.end())
      return "opzione sconosciuta: " + std::string(nome) + forse(nome, nomi_di(ammesse));
    if (nome.size() < s.size()) {
      if (!o->con_valore) return "l'opzione " + std::string(nome) + " non vuole un valore";
      if (s.size() == nome.size() + 1) return "manca il valore di " + std::string(nome);
      letti.opzioni.emplace_back(o->nome, std::string(s.substr(nome.size() + 1)));
    } else if (o->con_valore) {
      if (i + 1 >= a.size() || a[i + 1].empty()) return "manca il valore di " + std::string(nome);
      letti.opzioni.emplace_back(o->nome, std::string(a[++i]));
    } else {
      letti.opzioni.emplace_back(o->nome, std::string());
    }
  }
  return std::nullopt;
}

}  // namespace percorso
