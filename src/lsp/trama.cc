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
// The bytes of a header kept to be given back: more than its lines can hold.
constexpr std::size_t intestazione_tenuta =
    (riga_intestazione_massima + 2) * (righe_intestazione_massime + 1);

// The input as the reader takes it: first the bytes a broken header gave back, then
// the stream. The bytes of the header being read are kept, so that they can be given
// back from the second on.
class sorgente {
 public:
  sorgente(std::istream& in, std::string& restituiti, std::size_t& dove)
      : in_(in), restituiti_(restituiti), dove_(dove) {}

  int get() {
    const int c =
        dove_ < restituiti_.size() ? static_cast<unsigned char>(restituiti_[dove_++]) : in_.get();
    if (c != fine_ingresso && tenuti_.size() < intestazione_tenuta)
      tenuti_.push_back(static_cast<char>(c));
    return c;
  }
  int peek() const {
    return dove_ < restituiti_.size() ? static_cast<unsigned char>(restituiti_[dove_]) : in_.peek();
  }
  // Up to n bytes of a body, not kept; how many arrived.
  std::size_t read(char* dati, std::size_t n) {
    std::size_t letti = std::min(n, restituiti_.size() - dove_);
    std::copy_n(restituiti_.data() + dove_, letti, dati);
    dove_ += letti;
    if (letti < n) {
      in_.read(dati + letti, static_cast<std::streamsize>(n - letti));
      letti += static_cast<std::size_t>(in_.gcount());
    }
    return letti;
  }
  // The header read so far goes back to be read again, but for its first byte.
  void restituisci() {
    restituiti_ =
        tenuti_.substr(std::min<std::size_t>(1, tenuti_.size())) + restituiti_.substr(dove_);
    dove_ = 0;
  }
  void dimentica() {
    tenuti_.clear();
    if (dove_ < restituiti_.size()) return;
    restituiti_.clear();
    dove_ = 0;
  }

 private:
  std::istream& in_;
  std::string& restituiti_;
  std::size_t& dove_;
  std::string tenuti_;
};

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

// The rest of a line, up to its LF (a CR before it dropped). A line longer than a
// header's stops at the bound, the rest left in the input.
struct resto {
  std::string testo;
  bool troppo_lungo = false;
};

resto leggi_resto(sorgente& in) {
  resto r;
  for (int c = in.get(); c != fine_ingresso && c != '\n'; c = in.get()) {
    r.testo.push_back(static_cast<char>(c));
    if (r.testo.size() > riga_intestazione_massima) {
      r.troppo_lungo = true;
      return r;
    }
  }
  if (!r.testo.empty() && r.testo.back() == '\r') r.testo.pop_back();
  return r;
}

// Consumes what is left of a line, however long.
void salta_riga(sorgente& in) {
  for (int c = in.get(); c != fine_ingresso && c != '\n'; c = in.get()) {
  }
}

// One header line. Its name is read a character at a time: at the first character
// that no name holds the line is broken, and the rest of it stays in the input.
struct riga_letta {
  enum class tipo { campo, vuota, rotta, fine };
  tipo genere = tipo::campo;
  std::string nome;
  resto valore;
  bool finita = true;  // the whole line was consumed
};

riga_letta leggi_riga(sorgente& in) {
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
    if (c == ':' && !r.nome.empty()) break;
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
  if (r.valore.troppo_lungo) {
    r.genere = t::rotta;
    r.finita = false;
  }
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

// Reads n bytes into corpo, a piece at a time; false when the input ends first.
bool leggi_corpo(sorgente& in, std::size_t n, std::string& corpo) {
  while (corpo.size() < n) {
    const std::size_t prima = corpo.size();
    corpo.resize(prima + std::min(n - prima, pezzo_di_corpo));
    corpo.resize(prima + in.read(corpo.data() + prima, corpo.size() - prima));
    if (corpo.size() == prima) return false;
  }
  return true;
}

// Skips to just past the next "Content-Length:"; false at the end of the input.
bool riallinea(sorgente& in) {
  std::size_t trovati = 0;
  for (int c = in.get(); c != fine_ingresso; c = in.get()) {
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

// Reads the lines of a header up to the empty one. The reason when reading cannot
// tell where its body ends, and takes up at the next header instead; an empty reason
// when the input ended before any header.
std::optional<std::string> leggi_intestazione(sorgente& in, intestazione& h) {
  for (;;) {
    const riga_letta r = leggi_riga(in);
    if (r.genere == riga_letta::tipo::fine)
      return h.righe == 0 && r.nome.empty() ? std::string()
                                            : "intestazione interrotta dalla fine dell'ingresso";
    if (r.genere == riga_letta::tipo::vuota) break;
    ++h.righe;
    const bool rotta = r.genere == riga_letta::tipo::rotta;
    if (rotta && h.errore.empty())
      h.errore = r.finita ? "riga senza ':'" : "riga d'intestazione troppo lunga o non valida";
    if (h.righe > righe_intestazione_massime) return "intestazione non valida: troppe righe";
    if (rotta && !h.lunghezza) return "intestazione non valida: " + h.errore;
    if (!r.finita) salta_riga(in);
    if (!rotta) h.prendi(r.nome, r.valore.testo);
  }
  if (!h.lunghezza)
    return h.errore.empty() ? "intestazione senza Content-Length"
                            : "intestazione non valida: " + h.errore;
  if (*h.lunghezza > corpo_massimo)
    return "messaggio di " + std::to_string(*h.lunghezza) + " byte, oltre il massimo di " +
           std::to_string(corpo_massimo);
  return std::nullopt;
}

}  // namespace

letto lettore_messaggi::prossimo() {
  sorgente in(in_, restituiti_, dove_);
  intestazione h;
  if (std::exchange(da_riallineare_, false)) {
    if (!riallinea(in)) return {};
    // The name of the first line was read as the place to take up again.
    in.dimentica();
    h.righe = 1;
    h.prendi("content-length", leggi_resto(in).testo);
  }
  if (const auto perche = leggi_intestazione(in, h)) {
    if (perche->empty()) return {};
    // Without its body's length the header may have swallowed the next one.
    in.restituisci();
    da_riallineare_ = true;
    return malformato(*perche);
  }
  in.dimentica();
  std::string corpo;
  if (!leggi_corpo(in, *h.lunghezza, corpo))
    return malformato("messaggio interrotto dalla fine dell'ingresso");
  if (!h.errore.empty()) return malformato("intestazione non valida: " + h.errore);
  return {letto::tipo::corpo, std::move(corpo)};
}

void scrivi_messaggio(std::ostream& out, std::string_view corpo) {
  out << "Content-Length: " << corpo.size() << "\r\n\r\n" << corpo;
  out.flush();
}

}  // namespace percorso::lsp
