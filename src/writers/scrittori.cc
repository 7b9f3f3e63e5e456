#include "writers/scrittori.h"

#include "format/nomi_file.h"
#include "writers/testi.h"

namespace percorso {

std::vector<std::uint8_t> testo_crlf(std::span<const std::string_view> righe) {
  std::size_t dimensione = 0;
  for (const auto r : righe) dimensione += r.size() + 2;
  std::vector<std::uint8_t> byte;
  byte.reserve(dimensione);
  for (const auto r : righe) {
    byte.insert(byte.end(), r.begin(), r.end());
    byte.push_back('\r');
    byte.push_back('\n');
  }
  return byte;
}

std::vector<testo_da_scrivere> testi_del_percorso(const modello& m) {
  return {
      {nome_testo_linea(m), righe_linea()}, {nome_testo_treno(m), righe_treno()},
      {nome_note(m), righe_note()},         {nome_rallentamenti(m), righe_rallentamenti()},
      {nome_scheda(m), righe_scheda()},
  };
}

std::optional<errore_file> scrivi_testi(file_system& fs, const std::string& cartella,
                                        std::span<const testo_da_scrivere> testi) {
  for (const auto& t : testi) {
    if (auto e = fs.sostituisci(unisci(cartella, t.nome), testo_crlf(t.righe))) return e;
  }
  return std::nullopt;
}

}  // namespace percorso
