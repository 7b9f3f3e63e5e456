#include "format/voci.h"

namespace percorso {
namespace {

bool vuota(const punto& p) {
  return p == punto{};
}

bool solo_nome(const punto& p) {
  punto q = p;
  q.nome.clear();
  return !p.nome.empty() && q == punto{};
}

}  // namespace

voci_divise dividi_voci(const std::array<punto, numero_punti>& punti) {
  voci_divise v;
  int k = primo_slot_cartelli;
  for (; k >= 1 && solo_nome(punti[static_cast<std::size_t>(k)]); --k) v.cartelli.push_back(k);
  const int limite = k;
  int s = 1;
  for (; s <= limite && !vuota(punti[static_cast<std::size_t>(s)]); ++s) v.stazioni.push_back(s);
  for (int i = 0; i <= limite; ++i)
    if ((i == 0 || i >= s) && !vuota(punti[static_cast<std::size_t>(i)])) v.altre.push_back(i);
  return v;
}

}  // namespace percorso
