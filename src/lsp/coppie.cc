#include "lsp/coppie.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "format/nomi_file.h"
#include "platform/file_system.h"

namespace percorso::lsp {
namespace {

// NOME of NOME_TRENO-.txt: what stands before the last '_'.
std::optional<std::string> nome_da_testo_treno(std::string_view base) {
  if (!nome_di_testo_treno(base)) return std::nullopt;
  const auto trattino = base.rfind('_');
  if (trattino == std::string_view::npos || trattino == 0) return std::nullopt;
  return std::string(base.substr(0, trattino));
}

// The first train text of nome among names, which are in name order; also how many there are.
std::optional<std::string> primo_treno(std::span<const std::string> nomi, const std::string& nome,
                                       std::size_t& quanti) {
  std::optional<std::string> primo;
  for (const std::string& n : nomi) {
    if (!treno_da_testo_treno(n, nome)) continue;
    ++quanti;
    if (!primo) primo = n;
  }
  return primo;
}

coppia coppia_della_linea(const std::string& percorso, std::span<const std::string> aperti,
                          const nomi_accanto& accanto) {
  coppia c{percorso, {}, 0};
  const auto nome = nome_da_testo_linea(nome_base(percorso));
  if (!nome) return c;
  const std::string cartella = cartella_di(percorso);
  std::vector<std::string> aperti_accanto;
  for (const std::string& a : aperti) {
    if (stesso_percorso(cartella_di(a), cartella)) aperti_accanto.emplace_back(nome_base(a));
  }
  std::sort(aperti_accanto.begin(), aperti_accanto.end());
  std::size_t quanti = 0;
  auto treno = primo_treno(aperti_accanto, *nome, quanti);
  if (!treno) treno = primo_treno(accanto(), *nome, quanti);
  if (treno) c.treno = unisci(cartella, *treno);
  c.treni_possibili = quanti;
  return c;
}

}  // namespace

bool e_testo_linea(const std::string& percorso) {
  return !nome_di_testo_treno(nome_base(percorso));
}

coppia coppia_di(const std::string& percorso, std::span<const std::string> aperti,
                 const nomi_accanto& accanto) {
  if (e_testo_linea(percorso)) return coppia_della_linea(percorso, aperti, accanto);
  coppia c{{}, percorso, 0};
  if (const auto nome = nome_da_testo_treno(nome_base(percorso)))
    c.linea = unisci(cartella_di(percorso), *nome + "_linea.txt");
  return c;
}

std::span<const std::string> elenchi_cartelle::nomi(const std::string& cartella) {
  elenco& e = elenchi_[cartella];
  const auto versione = fs_.versione_cartella(cartella);
  if (!versione || versione != e.versione) {
    // The version is read before the names: a change while they are read makes the
    // next version another, so they are read again.
    e.nomi = fs_.elenca(cartella);
    e.versione = versione;
  }
  return e.nomi;
}

}  // namespace percorso::lsp
