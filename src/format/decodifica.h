// Readers of the three binary files: the inverse of the byte images in
// file_binari.h, walking the same record lists. Any input is accepted: a fault comes back as a
// value, reads never leave the span, and memory stays proportional to the input.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "format/byte.h"
#include "format/campi.h"
#include "format/nomi_file.h"
#include "model/modello.h"

namespace percorso {

// What is wrong with a file, in Italian, and the byte where it was found.
struct errore_decodifica {
  std::string messaggio;
  std::size_t posizione = 0;
};

template <typename T>
struct decodificato {
  T valore{};
  std::optional<errore_decodifica> errore;

  bool ok() const { return !errore.has_value(); }
};

// One tagged element of the plan file.
struct elemento_piano {
  tipo_elemento tipo = tipo_elemento::vuoto;
  double valore = 0;  // 0 for an empty element

  bool operator==(const elemento_piano&) const = default;
};

// The plan file as written: the x block and the y block, one element per metre.
struct piano_letto {
  std::vector<elemento_piano> x;
  std::vector<elemento_piano> y;

  std::size_t metri() const { return x.size(); }
  // Coordinates of metre m when both elements hold a finite number.
  std::optional<std::array<double, 2>> punto_a(std::size_t m) const;
};

// Coordinates of a metre whose two elements both hold a finite number.
std::optional<std::array<double, 2>> punto_di(const elemento_piano& x, const elemento_piano& y);

// The fault of a file named: "FILE: MESSAGE (byte N)".
template <typename T>
decodificato<T> nel_file(std::string_view file, decodificato<T> r) {
  if (r.errore)
    r.errore->messaggio = std::string(file) + ": " + r.errore->messaggio + " (byte " +
                          std::to_string(r.errore->posizione) + ")";
  return r;
}

decodificato<std::vector<cella>> decodifica_celle(std::span<const std::uint8_t> dati);
decodificato<std::array<punto, numero_punti>> decodifica_punti(std::span<const std::uint8_t> dati);
decodificato<piano_letto> decodifica_piano(std::span<const std::uint8_t> dati);

// A plan file checked whole without holding its elements: its metres per coordinate.
decodificato<std::size_t> metri_del_piano(std::span<const std::uint8_t> dati);
// One element of the plan file at the reader, which it passes; the reader holds a whole
// element (the file passed metri_del_piano).
inline elemento_piano leggi_elemento(lettore& l) {
  elemento_piano e;
  std::uint16_t tag = 0;
  l.intero(tag);
  e.tipo = static_cast<tipo_elemento>(tag);
  if (e.tipo == tipo_elemento::intero) {
    std::int16_t v = 0;
    l.intero(v);
    e.valore = v;
  } else if (e.tipo == tipo_elemento::reale) {
    l.reale(e.valore);
  }
  return e;
}

// The metres of a plan file that passed metri_del_piano, one at a time and in order,
// nothing held: for a reader that walks a million metres in one loop.
class metri_in_ordine {
 public:
  metri_in_ordine(std::span<const std::uint8_t> dati, std::size_t metri) : x_(dati), y_(dati) {
    for (std::size_t m = 0; m < metri; ++m) {
      std::uint16_t tag = 0;
      y_.intero(tag);
      y_.salta(byte_del_valore(static_cast<tipo_elemento>(tag)).value_or(0));
    }
  }
  // The x and y elements of the next metre.
  void prossimo(elemento_piano& x, elemento_piano& y) {
    x = leggi_elemento(x_);
    y = leggi_elemento(y_);
  }

 private:
  lettore x_, y_;
};

// Walks a plan file one metre at a time, so a reader need not hold it whole: when
// the file is whole, inizio(metri) when given, then f(m, x, y) for each metre in
// order; else its fault, and nothing is called.
std::optional<errore_decodifica> per_ogni_metro(
    std::span<const std::uint8_t> dati, const std::function<void(std::size_t)>& inizio,
    const std::function<void(std::size_t, const elemento_piano&, const elemento_piano&)>& f);

// Whether the bytes decode whole as a file of kind t.
// What the content shows the bytes to be, whatever their name: a point table or a
// plan that decodes whole, or whole cells whose cell 1 holds the header value.
std::optional<tipo_file> tipo_evidente(std::span<const std::uint8_t> dati);

// Whether bytes read as kind atteso are clearly another kind: "sembra un file dei
// punti, non un file di celle"; nothing otherwise. intero tells whether they
// decoded whole as atteso: a whole point table or plan is what it claims.
std::optional<std::string> di_altro_tipo(tipo_file atteso, std::span<const std::uint8_t> dati,
                                         bool intero);

// Why a file of this many bytes is no compiled file of kind t (of any kind, when t is
// not known): it is larger than the largest the compiler writes, and is not read.
std::optional<std::string> troppo_grande(std::optional<tipo_file> t, std::uint64_t byte);

// Reads a file of kind atteso with the caller's file access (identita(file) giving
// its size, leggi(file) the bytes in .dati or the failure in .errore) and decodes
// it; every fault names the file. The bytes read go to *letti when given.
template <typename T, typename Accesso>
decodificato<T> leggi_e_decodifica(Accesso& fs, const std::string& file, tipo_file atteso,
                                   decodificato<T> (*decodifica)(std::span<const std::uint8_t>),
                                   std::vector<std::uint8_t>* letti = nullptr) {
  decodificato<T> r;
  if (const auto id = fs.identita(file)) {
    if (auto grande = troppo_grande(atteso, id->dimensione)) {
      r.errore = errore_decodifica{file + ": " + *grande, 0};
      return r;
    }
  }
  auto l = fs.leggi(file);
  if (l.errore) {
    r.errore =
        errore_decodifica{"impossibile leggere " + l.errore->file + ": " + l.errore->motivo, 0};
    return r;
  }
  r = decodifica(l.dati);
  if (auto altro = di_altro_tipo(atteso, l.dati, r.ok())) {
    r.errore = errore_decodifica{file + ": " + *altro, 0};
    return r;
  }
  if (letti) *letti = std::move(l.dati);
  return nel_file(file, std::move(r));
}

bool si_decodifica(tipo_file t, std::span<const std::uint8_t> dati);
// What the bytes are when the name does not tell: the point table and the plan
// have strict layouts, cells only a size, so they are tried in that order.
std::optional<tipo_file> tipo_dal_contenuto(std::span<const std::uint8_t> dati);

}  // namespace percorso
