// The framing of the protocol: each message is a header of "Name: value" lines
// ended by an empty line, with Content-Length giving the size of the body that follows.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace percorso::lsp {

// A body larger than this is skipped, not kept in memory.
inline constexpr std::size_t corpo_massimo = std::size_t{64} << 20;
// A header line longer than this, or more lines than these, make a malformed header.
inline constexpr std::size_t riga_intestazione_massima = 1024;
inline constexpr int righe_intestazione_massime = 32;

struct letto {
  enum class tipo {
    corpo,       // a whole body, in corpo
    malformato,  // a header or body that could not be taken; why in corpo
    fine,        // the input ended
  };
  tipo esito = tipo::fine;
  std::string corpo;
};

// The next message of in. A malformed one is consumed up to where reading can go on.
letto leggi_messaggio(std::istream& in);

// The body with its header, flushed at once.
void scrivi_messaggio(std::ostream& out, std::string_view corpo);

}  // namespace percorso::lsp
