#include "lsp/trama.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>

#include "sintassi/parole_chiave.h"

namespace percorso::lsp {
namespace {

constexpr int fine_ingresso = std::char_traits<char>::eof();
// Where reading takes up again after a header that cannot be read.
constexpr std::string_view inizio_intestazione = "content-length:";
// A body is taken in pieces of this size, so that a Content-Length the input does
// not follow costs no more memory than what arrived.
constexpr std::size_t pezzo_di_corpo = std::size_t{1} << 16;

bool blanco(int c) {
  return c == ' ' || c == '\t';
}

// The characters of a header's name.
bool di_nome(int c) {
  if (c < 0x21 || c > 0x7E) return false;
  return std::string_view("\"(),/:;<=>?@[\\]{}").find(static_cast<char>(c)) ==
         std::string_view::npos;
}

std::string_view senza_spazi(std::string_view s) {
  while (!s.empty() && blanco(s.front())) s.remove_prefix(1);
  while (!s.empty() && blanco(s.back())) s.remove_suffix(1);
  return s;
}

bool uguale_senza_maiuscole(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (minuscola(a[i]) != minuscola(b[i])) return false;
  }
  return true;
}

// The rest of a line, up to its LF (a CR before it dropped): at most
// riga_intestazione_massima bytes kept, the rest consumed.
struct resto {
  std::string testo;
  bool troppo_lungo = false;
};

resto leggi_resto(std::istream& in) {
  resto r;
  for (int c = in.get(); c != fine_ingresso && c != '\n'; c = in.get()) {
    if (r.testo.size() < riga_intestazione_massima)
      r.testo.push_back(static_cast<char>(c));
    else
      r.troppo_lungo = true;
  }
  if (!r.testo.empty() && r.testo.back() == '\r') r.testo.pop_back();
  return r;
}

// One header line. Its name is read a character at a time: at the first character
// that no name holds the line is broken, and the rest of it stays in the input, where
// the next header may begin.
struct riga_letta {
  enum class tipo { campo, vuota, rotta, fine };
  tipo genere = tipo::campo;
  std::string nome;
  resto valore;
  bool finita = true;  // the whole line was consumed
};

riga_letta leggi_riga(std::istream& in) {
  using t = riga_letta::tipo;
  riga_letta r;
  bool dopo_il_nome = false;  // blanks after the name: only ':' may follow
  for (int c = in.get();; c = in.get()) {
    if (c == fine_ingresso) {
      r.genere = t::fine;
      return r;
    }
    if (c == '\r' && in.peek() == '\n') c = in.get();
    if (c == '\n') {
      r.genere = r.nome.empty() && !dopo_il_nome ? t::vuota : t::rotta;
      return r;
    }
    if (c == ':') break;
    dopo_il_nome = dopo_il_nome || (blanco(c) && !r.nome.empty());
    if ((dopo_il_nome && !blanco(c)) || (!dopo_il_nome && !di_nome(c)) ||
        r.nome.size() >= riga_intestazione_massima) {
      r.genere = t::rotta;
      r.finita = false;
      return r;
    }
    if (!dopo_il_nome) r.nome.push_back(static_cast<char>(c));
  }
  r.valore = leggi_resto(in);
  if (r.nome.empty()) r.genere = t::rotta;
  return r;
}

// A Content-Length's value; nothing when it is no number.
std::optional<std::size_t> numero_di(std::string_view valore) {
  const std::string_view v = senza_spazi(valore);
  std::size_t n = 0;
  const auto [fine, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (v.empty() || ec != std::errc() || fine != v.data() + v.size()) return std::nullopt;
  return n;
}

letto malformato(std::string perche) {
  return {letto::tipo::malformato, std::move(perche)};
}

// Reads n bytes of in into corpo, a piece at a time; false when the input ends first.
bool leggi_corpo(std::istream& in, std::size_t n, std::string& corpo) {
  while (corpo.size() < n) {
    const std::size_t prima = corpo.size();
    const std::size_t pezzo = std::min(n - prima, pezzo_di_corpo);
    corpo.resize(prima + pezzo);
    in.read(corpo.data() + prima, static_cast<std::streamsize>(pezzo));
    corpo.resize(prima + static_cast<std::size_t>(in.gcount()));
    if (corpo.size() < prima + pezzo) return false;
  }
  return true;
}

// The state of a header as its lines are read.
struct intestazione {
  std::optional<std::size_t> lunghezza;
  std::string errore;  // the first fault of a line
  int righe = 0;

  void prendi(std::string_view nome, std::string_view valore) {
    if (!uguale_senza_maiuscole(nome, "content-length")) return;
    if (const auto n = numero_di(valore))
      lunghezza = n;
    else if (errore.empty())
      errore = "Content-Length non e' un numero";
  }
};

}  // namespace

letto lettore_messaggi::prossimo() {
  intestazione h;
  if (std::exchange(da_riallineare_, false)) {
    if (!riallinea()) return {};
    // The name of the first line was read as the place to take up again.
    const resto valore = leggi_resto(in_);
    h.righe = 1;
    h.prendi("content-length", valore.testo);
  }
  for (;;) {
    riga_letta r = leggi_riga(in_);
    if (r.genere == riga_letta::tipo::fine) {
      if (h.righe == 0 && r.nome.empty()) return {};
      return malformato("intestazione interrotta dalla fine dell'ingresso");
    }
    if (r.genere == riga_letta::tipo::vuota) break;
    ++h.righe;
    const bool rotta = r.genere == riga_letta::tipo::rotta || r.valore.troppo_lungo;
    if (rotta && h.errore.empty())
      h.errore = r.valore.troppo_lungo || !r.finita
                     ? "riga d'intestazione troppo lunga o non valida"
                     : "riga senza ':'";
    // Without a length known so far, or past any header's size, what follows cannot
    // be told from a body: reading takes up at the next header.
    if ((rotta && !h.lunghezza) || h.righe > righe_intestazione_massime) {
      da_riallineare_ = true;
      return malformato("intestazione non valida: " +
                        (h.righe > righe_intestazione_massime
                             ? std::string("intestazione di troppe righe")
                             : h.errore));
    }
    if (!r.finita) leggi_resto(in_);
    if (!rotta) h.prendi(r.nome, r.valore.testo);
  }
  if (!h.lunghezza || *h.lunghezza > corpo_massimo) {
    da_riallineare_ = true;
    if (!h.lunghezza)
      return malformato(h.errore.empty() ? "intestazione senza Content-Length"
                                         : "intestazione non valida: " + h.errore);
    return malformato("messaggio di " + std::to_string(*h.lunghezza) +
                      " byte, oltre il massimo di " + std::to_string(corpo_massimo));
  }
  std::string corpo;
  if (!leggi_corpo(in_, *h.lunghezza, corpo))
    return malformato("messaggio interrotto dalla fine dell'ingresso");
  if (!h.errore.empty()) return malformato("intestazione non valida: " + h.errore);
  return {letto::tipo::corpo, std::move(corpo)};
}

bool lettore_messaggi::riallinea() {
  std::size_t trovati = 0;
  for (int c = in_.get(); c != fine_ingresso; c = in_.get()) {
    // The only 'c' of the name is its first: a match broken off starts again at most
    // at the character that broke it.
    const char m = minuscola(static_cast<char>(c));
    if (m == inizio_intestazione[trovati])
      ++trovati;
    else
      trovati = m == inizio_intestazione[0] ? 1 : 0;
    if (trovati == inizio_intestazione.size()) return true;
  }
  return false;
}

void scrivi_messaggio(std::ostream& out, std::string_view corpo) {
  out << "Content-Length: " << corpo.size() << "\r\n\r\n" << corpo;
  out.flush();
}

}  // namespace percorso::lsp
