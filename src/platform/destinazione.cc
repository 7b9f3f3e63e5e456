#include "platform/destinazione.h"

#include <cerrno>

#include "platform/errore_file.h"
#include "platform/operazioni_file.h"

namespace percorso {
namespace {

// As the system's own resolution, a chain of links ends after this many.
constexpr int salti_massimi = 40;

destinazione rifiutata(std::string motivo) {
  return {destinazione::modo::rifiutato, {}, identita_file::tipo::altro, std::move(motivo)};
}

// A link that leads nowhere makes nothing; the system's reason for any other fault.
destinazione non_seguito(int codice) {
  return rifiutata(codice == ENOENT ? "e' un collegamento simbolico a un file che non esiste"
                                    : motivo_di(codice));
}

// A file written as it is, or refused when it cannot be written to.
destinazione per_genere(const std::string& percorso, identita_file::tipo genere) {
  using t = identita_file::tipo;
  if (genere == t::regolare) return {destinazione::modo::sostituito, percorso, genere, {}};
  if (genere == t::caratteri || genere == t::fifo)
    return {destinazione::modo::diretto, percorso, genere, {}};
  return rifiutata(motivo_non_regolare(genere));
}

}  // namespace

destinazione destinazione_di(const chiamate_sistema& c, const std::string& percorso) {
  using t = identita_file::tipo;
  std::string nome = percorso;
  for (int salti = 0; salti < salti_massimi; ++salti) {
    identita_file id;
    if (c.identifica(nome.c_str(), false, id) != 0) {
      // A name that leads nowhere is a new file (or a reason the temporary will give).
      if (salti == 0) return {destinazione::modo::sostituito, percorso, t::regolare, {}};
      return non_seguito(errno);
    }
    if (id.genere != t::collegamento) return per_genere(nome, id.genere);
    // Another user's link in a shared folder could lead to any file of this user.
    if (!collegamento_fidato(nome))
      return rifiutata("e' un collegamento simbolico di un altro utente, e non e' seguito");
    if (nel_sistema_dei_processi(nome)) {
      // /proc/self/fd/1 is what the process holds open: written to, never replaced.
      if (c.identifica(nome.c_str(), true, id) != 0) return rifiutata(motivo_di(errno));
      const destinazione d = per_genere(nome, id.genere);
      if (d.come == destinazione::modo::rifiutato) return d;
      return {destinazione::modo::diretto, nome, id.genere, {}};
    }
    const auto dopo = segui_collegamento(nome);
    if (!dopo) return non_seguito(errno);
    nome = *dopo;
  }
  return rifiutata(motivo_di(ELOOP));
}

}  // namespace percorso
