#include "writers/scrittori.h"

#include "format/nomi_file.h"
#include "writers/testi.h"

namespace percorso {

namespace {

template <typename Riga>
std::vector<std::uint8_t> crlf(std::span<const Riga> righe) {
  std::size_t dimensione = 0;
  for (const auto& r : righe) dimensione += r.size() + 2;
  std::vector<std::uint8_t> byte;
  byte.reserve(dimensione);
  for (const auto& r : righe) {
    byte.insert(byte.end(), r.begin(), r.end());
    byte.push_back('\r');
    byte.push_back('\n');
  }
  return byte;
}

}  // namespace

std::vector<std::uint8_t> testo_crlf(std::span<const std::string_view> righe) {
  return crlf(righe);
}
std::vector<std::uint8_t> testo_crlf(std::span<const std::string> righe) {
  return crlf(righe);
}

std::vector<testo_da_scrivere> testi_del_percorso(const modello& m) {
  return {
      {nome_testo_linea(m), righe_linea()}, {nome_testo_treno(m), righe_treno()},
      {nome_note(m), righe_note()},         {nome_rallentamenti(m), righe_rallentamenti()},
      {nome_scheda(m), righe_scheda()},
  };
}

}  // namespace percorso
