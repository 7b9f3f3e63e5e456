// Cuts a source text into fields: keyword and text fields run to the next comma
// or line end, number fields to the next blank, comma or line end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace percorso {

class lettore_campi {
 public:
  explicit lettore_campi(std::span<const std::uint8_t> testo) : testo_(testo) {}
  // Reads from the byte da, the start of line riga; positions stay those of the whole text.
  lettore_campi(std::span<const std::uint8_t> testo, std::size_t da, std::int32_t riga)
      : testo_(testo), pos_(da), riga_(riga), inizio_riga_(da) {}

  // True once every byte has been consumed.
  bool fine() const { return pos_ >= testo_.size(); }

  // The next field as text, blanks around it dropped; nothing when the text has ended.
  std::optional<std::string_view> leggi_testo();

  // The next field as a number (0 when it is not one); nothing when the text has ended.
  std::optional<double> leggi_numero();

  // Reads on over empty text fields, as leggi_testo would, up to the last one before a
  // field that is not empty or is the last of the text; those two are left unread.
  void salta_vuoti();

  // 1-based line and column where the last field read begins.
  std::int32_t riga() const { return riga_campo_; }
  std::int32_t colonna() const { return colonna_campo_; }

  // The whole source line (without its line end) holding the last field read.
  std::string_view riga_sorgente() const;

  // The last field read, as written (a number field before it is read as a number).
  std::string_view campo() const { return vista(inizio_campo_, fine_campo_); }

  // Byte offset of the line holding the last field read, and the last field's
  // bytes [inizio_campo, fine_campo) in the text.
  std::size_t inizio_riga_campo() const { return inizio_riga_campo_; }
  std::size_t inizio_campo() const { return inizio_campo_; }
  std::size_t fine_campo() const { return fine_campo_; }

  // True when the next read starts a line.
  bool a_inizio_riga() const { return pos_ == inizio_riga_; }

 private:
  // The text's bytes [da, a).
  std::string_view vista(std::size_t da, std::size_t a) const {
    return {reinterpret_cast<const char*>(testo_.data()) + da, a - da};
  }
  bool a_fine_riga() const;
  void consuma_fine_riga();
  void salta_spazi();
  void inizia_campo();

  std::span<const std::uint8_t> testo_;
  std::size_t pos_ = 0;
  std::int32_t riga_ = 1;
  std::size_t inizio_riga_ = 0;
  std::int32_t riga_campo_ = 0;
  std::int32_t colonna_campo_ = 0;
  std::size_t inizio_riga_campo_ = 0;
  std::size_t inizio_campo_ = 0;
  std::size_t fine_campo_ = 0;
};

// Whether the field is written as a number.
bool e_numero(std::string_view campo);

// A number field's value: an optional sign, digits, optionally "." and digits,
// and nothing else; anything else reads as 0.
double valore_numero(std::string_view campo);

// The reads of every field are inline: the walk reads a field's place back as soon as
// it is stored, and across a call the load would wait for the stores to land.
namespace fine_dei_campi {

// What each byte ends: a text field ends at a comma or a line end, a number field at
// a blank too.
inline constexpr std::uint8_t chiude_testo = 1;
inline constexpr std::uint8_t chiude_numero = 2;
inline constexpr std::array<std::uint8_t, 256> chiusure = [] {
  std::array<std::uint8_t, 256> t{};
  for (const char c : {',', '\r', '\n'})
    t[static_cast<std::uint8_t>(c)] = chiude_testo | chiude_numero;
  t[' '] = chiude_numero;
  return t;
}();

// The first byte from da on that ends a field of the given kind, or the text's size.
// Kept in locals: the text's bytes could alias the reader's own members.
inline std::size_t chiusura(std::span<const std::uint8_t> testo, std::size_t da,
                            std::uint8_t tipo) {
  const std::uint8_t* const b = testo.data();
  const std::size_t n = testo.size();
  while (da < n && (chiusure[b[da]] & tipo) == 0) ++da;
  return da;
}

}  // namespace fine_dei_campi

inline bool lettore_campi::a_fine_riga() const {
  return pos_ < testo_.size() && (testo_[pos_] == '\r' || testo_[pos_] == '\n');
}

inline void lettore_campi::consuma_fine_riga() {
  if (testo_[pos_] == '\r') {
    ++pos_;
    if (pos_ < testo_.size() && testo_[pos_] == '\n') ++pos_;
  } else {
    ++pos_;
  }
  ++riga_;
  inizio_riga_ = pos_;
}

inline void lettore_campi::salta_spazi() {
  std::size_t p = pos_;
  while (p < testo_.size() && testo_[p] == ' ') ++p;
  pos_ = p;
}

inline void lettore_campi::inizia_campo() {
  salta_spazi();
  riga_campo_ = riga_;
  colonna_campo_ = static_cast<std::int32_t>(pos_ - inizio_riga_) + 1;
  inizio_riga_campo_ = inizio_riga_;
}

inline std::optional<std::string_view> lettore_campi::leggi_testo() {
  if (fine()) return std::nullopt;
  inizia_campo();
  const std::size_t inizio = pos_;
  pos_ = fine_dei_campi::chiusura(testo_, pos_, fine_dei_campi::chiude_testo);
  std::size_t termine = pos_;
  while (termine > inizio && testo_[termine - 1] == ' ') --termine;
  inizio_campo_ = inizio;
  fine_campo_ = termine;
  if (pos_ < testo_.size()) {
    if (testo_[pos_] == ',')
      ++pos_;
    else
      consuma_fine_riga();
  }
  return vista(inizio, termine);
}

inline std::optional<double> lettore_campi::leggi_numero() {
  if (fine()) return std::nullopt;
  inizia_campo();
  const std::size_t inizio = pos_;
  pos_ = fine_dei_campi::chiusura(testo_, pos_, fine_dei_campi::chiude_numero);
  const std::size_t termine = pos_;
  inizio_campo_ = inizio;
  fine_campo_ = termine;
  salta_spazi();
  if (pos_ < testo_.size()) {
    if (testo_[pos_] == ',')
      ++pos_;
    else if (a_fine_riga())
      consuma_fine_riga();
  }
  return valore_numero(vista(inizio, termine));
}

}  // namespace percorso
