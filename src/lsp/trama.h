// The framing of the protocol: each message is a header of "Name: value" lines
// ended by an empty line, with Content-Length giving the size of the body that follows.
// A header that cannot be read costs that message alone: where its Content-Length is
// known its body is skipped, otherwise reading takes up again at the next
// "Content-Length:" of the input.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace percorso::lsp {

// A Content-Length larger than this is no message the server takes: its header counts
// as broken, and nothing of what follows is skipped by it.
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

// The messages of one input, one after the other. A body is held only as far as it
// has arrived, and never beyond corpo_massimo.
class lettore_messaggi {
 public:
  explicit lettore_messaggi(std::istream& in) : in_(in) {}

  // The next message. A malformed one is answered at once: what follows it up to the
  // next header is skipped by the next call, which may have to wait for more input.
  // That header is looked for from the second byte of the broken one on, so a header
  // that a broken one swallowed is still found.
  letto prossimo();

 private:
  std::istream& in_;
  std::string restituiti_;  // bytes of a broken header, read again before the input
  std::size_t dove_ = 0;    // the next of them to read
  bool da_riallineare_ = false;
};

// The body with its header, flushed at once.
void scrivi_messaggio(std::ostream& out, std::string_view corpo);

}  // namespace percorso::lsp
