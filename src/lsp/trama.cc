#include "lsp/trama.h"

#include <charconv>
#include <optional>

#include "sintassi/parole_chiave.h"

namespace percorso::lsp {
namespace {

// One header line without its CR LF (a bare LF is taken too); nothing at the end of
// the input before any byte, and a line too long is cut and reported as such.
struct riga_letta {
  std::string testo;
  bool troppo_lunga = false;
  bool fine = false;
};

riga_letta leggi_riga(std::istream& in) {
  riga_letta r;
  int c = in.get();
  if (c == std::char_traits<char>::eof()) {
    r.fine = true;
    return r;
  }
  while (c != std::char_traits<char>::eof() && c != '\n') {
    if (r.testo.size() < riga_intestazione_massima)
      r.testo.push_back(static_cast<char>(c));
    else
      r.troppo_lunga = true;
    c = in.get();
  }
  if (!r.testo.empty() && r.testo.back() == '\r') r.testo.pop_back();
  return r;
}

bool uguale_senza_maiuscole(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (minuscola(a[i]) != minuscola(b[i])) return false;
  }
  return true;
}

std::string_view senza_spazi(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The value of a Content-Length line, or nothing when the line is another header.
// A Content-Length that is no number gives an error text.
struct lunghezza_letta {
  std::optional<std::size_t> valore;
  std::string errore;
};

lunghezza_letta lunghezza_di(std::string_view riga) {
  const auto due_punti = riga.find(':');
  if (due_punti == std::string_view::npos) return {std::nullopt, "riga senza ':'"};
  if (!uguale_senza_maiuscole(senza_spazi(riga.substr(0, due_punti)), "content-length")) return {};
  const std::string_view v = senza_spazi(riga.substr(due_punti + 1));
  std::size_t n = 0;
  const auto [fine, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (v.empty() || ec != std::errc() || fine != v.data() + v.size())
    return {std::nullopt, "Content-Length non e' un numero"};
  return {n, {}};
}

letto malformato(std::string perche) {
  return {letto::tipo::malformato, std::move(perche)};
}

// Consumes n bytes of in; false when the input ends first.
bool salta(std::istream& in, std::size_t n) {
  in.ignore(static_cast<std::streamsize>(n));
  return static_cast<std::size_t>(in.gcount()) == n;
}

}  // namespace

letto leggi_messaggio(std::istream& in) {
  std::optional<std::size_t> lunghezza;
  std::string errore;
  int righe = 0;
  for (;;) {
    const riga_letta r = leggi_riga(in);
    if (r.fine) {
      if (righe == 0) return {};
      return malformato("intestazione interrotta dalla fine dell'ingresso");
    }
    ++righe;
    if (r.testo.empty() && !r.troppo_lunga) break;
    if (r.troppo_lunga && errore.empty()) errore = "riga d'intestazione troppo lunga";
    if (righe > righe_intestazione_massime && errore.empty())
      errore = "intestazione di troppe righe";
    const lunghezza_letta l = lunghezza_di(r.testo);
    if (!l.errore.empty() && errore.empty()) errore = l.errore;
    if (l.valore) lunghezza = l.valore;
  }
  if (!errore.empty()) return malformato("intestazione non valida: " + errore);
  if (!lunghezza) return malformato("intestazione senza Content-Length");
  if (*lunghezza > corpo_massimo) {
    salta(in, *lunghezza);
    return malformato("messaggio di " + std::to_string(*lunghezza) + " byte, oltre il massimo di " +
                      std::to_string(corpo_massimo));
  }
  std::string corpo(*lunghezza, '\0');
  in.read(corpo.data(), static_cast<std::streamsize>(corpo.size()));
  if (static_cast<std::size_t>(in.gcount()) != corpo.size())
    return malformato("messaggio interrotto dalla fine dell'ingresso");
  return {letto::tipo::corpo, std::move(corpo)};
}

void scrivi_messaggio(std::ostream& out, std::string_view corpo) {
  out << "Content-Length: " << corpo.size() << "\r\n\r\n" << corpo;
  out.flush();
}

}  // namespace percorso::lsp
