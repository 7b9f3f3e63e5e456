#include "format/codici.h"

namespace percorso {
namespace {

constexpr std::string_view riempitivo = "aabbccddeeffgghhiillmmnnoo";
constexpr int caratteri_contati = 25;

template <typename Peso>
std::int32_t somma(std::string_view numero_treno, std::string_view nome_percorso, Peso peso) {
  const std::string testo = testo_di_controllo(numero_treno, nome_percorso);
  std::int32_t s = 0;
  for (int i = 1; i <= caratteri_contati; ++i)
    s += peso(i) * static_cast<unsigned char>(testo[static_cast<std::size_t>(i - 1)]);
  return s;
}

}  // namespace

std::string testo_di_controllo(std::string_view numero_treno, std::string_view nome_percorso) {
  std::string testo;
  testo.reserve(numero_treno.size() + nome_percorso.size() + riempitivo.size());
  testo.append(numero_treno).append(nome_percorso);
  for (char& c : testo) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  testo.append(riempitivo);
  return testo;
}

std::int32_t codice_gara_st(std::string_view numero_treno, std::string_view nome_percorso) {
  return somma(numero_treno, nome_percorso, [](int i) { return i; });
}

std::int32_t codice_gara_og(std::string_view numero_treno, std::string_view nome_percorso) {
  return somma(numero_treno, nome_percorso, [](int) { return 1; });
}

}  // namespace percorso
