#include "sintassi/lettore_campi.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace percorso {
namespace {

bool cifra(char c) {
  return c >= '0' && c <= '9';
}

// A field of up to 15 digits is a whole number that a double holds exactly.
std::optional<double> intero_breve(std::string_view campo) {
  if (campo.empty() || campo.size() > 15) return std::nullopt;
  std::int64_t v = 0;
  for (const char c : campo) {
    if (!cifra(c)) return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return static_cast<double>(v);
}

}  // namespace

void lettore_campi::salta_vuoti() {
  const std::size_t n = testo_.size();
  std::size_t p = pos_;
  for (;;) {
    std::size_t q = p;
    while (q < n && testo_[q] == ' ') ++q;
    if (q >= n) break;
    const std::uint8_t b = testo_[q];
    if ((fine_dei_campi::chiusure[b] & fine_dei_campi::chiude_testo) == 0) break;
    std::size_t dopo = q + 1;
    if (b == '\r' && dopo < n && testo_[dopo] == '\n') ++dopo;
    if (dopo >= n) break;
    riga_campo_ = riga_;
    colonna_campo_ = static_cast<std::int32_t>(q - inizio_riga_) + 1;
    inizio_riga_campo_ = inizio_riga_;
    inizio_campo_ = fine_campo_ = q;
    if (b != ',') {
      ++riga_;
      inizio_riga_ = dopo;
    }
    p = dopo;
  }
  pos_ = p;
}

std::string_view lettore_campi::riga_sorgente() const {
  std::size_t termine = inizio_riga_campo_;
  while (termine < testo_.size() && testo_[termine] != '\r' && testo_[termine] != '\n') ++termine;
  return vista(inizio_riga_campo_, termine);
}

bool e_numero(std::string_view campo) {
  if (!campo.empty() && (campo[0] == '+' || campo[0] == '-')) campo.remove_prefix(1);
  std::size_t i = 0;
  while (i < campo.size() && cifra(campo[i])) ++i;
  if (i == 0) return false;
  if (i == campo.size()) return true;
  if (campo[i] != '.') return false;
  std::size_t j = i + 1;
  while (j < campo.size() && cifra(campo[j])) ++j;
  return j > i + 1 && j == campo.size();
}

double valore_numero(std::string_view campo) {
  if (const auto v = intero_breve(campo)) return *v;
  if (!e_numero(campo)) return 0;
  bool negativo = false;
  if (campo[0] == '+' || campo[0] == '-') {
    negativo = campo[0] == '-';
    campo.remove_prefix(1);
  }
  const std::size_t i = std::min(campo.find('.'), campo.size());
  double v = 0;
  const auto r =
      std::from_chars(campo.data(), campo.data() + campo.size(), v, std::chars_format::fixed);
  if (r.ec == std::errc::result_out_of_range) {
    // Too large, or so small that it is 0 for every purpose here.
    const bool zero_intero = campo.find_first_not_of('0') == i;
    v = zero_intero ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return negativo ? -v : v;
}

}  // namespace percorso
