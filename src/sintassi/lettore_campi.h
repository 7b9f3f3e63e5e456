// Cuts a source text into fields: keyword and text fields run to the next comma
// or line end, number fields to the next blank, comma or line end.
#pragma once

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
  std::string_view campo() const {
    return {reinterpret_cast<const char*>(testo_.data()) + inizio_campo_,
            fine_campo_ - inizio_campo_};
  }

  // Byte offset of the line holding the last field read, and the last field's
  // bytes [inizio_campo, fine_campo) in the text.
  std::size_t inizio_riga_campo() const { return inizio_riga_campo_; }
  std::size_t inizio_campo() const { return inizio_campo_; }
  std::size_t fine_campo() const { return fine_campo_; }

  // True when the next read starts a line.
  bool a_inizio_riga() const { return pos_ == inizio_riga_; }

 private:
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

}  // namespace percorso
