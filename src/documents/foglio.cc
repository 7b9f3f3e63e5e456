#include "documents/foglio.h"

#include <algorithm>

namespace percorso {
namespace {

// Quotations of a text stop here, as every warning's do: a name of megabytes would
// otherwise be copied whole into each warning.
constexpr std::size_t massima_citazione = 40;

// "'t'" followed by the rest; appended piece by piece, as GCC 12 warns falsely
// (-Wrestrict) on a literal added to a temporary string.
std::string citato(std::string_view t, std::string_view resto) {
  std::string s;
  s.append("'").append(t.substr(0, massima_citazione));
  if (t.size() > massima_citazione) s.append("...");
  s.append("'").append(resto);
  return s;
}

}  // namespace

void foglio::riga_tabella(std::span<const std::string> celle) {
  std::string r = " |";
  for (const std::string& c : celle) r.append(c).append("|");
  riga(std::move(r));
}

std::string foglio::testo(std::string_view prefisso, std::string_view t, std::size_t larghezza) {
  std::string c(prefisso.substr(0, larghezza));
  const std::size_t posto = larghezza - c.size();
  if (t.size() > posto) {
    avvisa(citato(
        t, " non entra nella sua casella: tagliato a " + std::to_string(posto) + " caratteri"));
    t = t.substr(0, posto);
  }
  c.append(t);
  c.resize(larghezza, ' ');
  return c;
}

std::string foglio::numero(std::string_view cifre, std::size_t larghezza, std::size_t dopo) {
  if (cifre.size() > larghezza) {
    avvisa(citato(cifre, " non entra nella sua casella di " + std::to_string(larghezza) +
                             " caratteri: scritto come " + std::string(larghezza, '#')));
    return std::string(larghezza, '#');
  }
  const std::size_t spazi_dopo = std::min(dopo, larghezza - cifre.size());
  std::string c(larghezza - cifre.size() - spazi_dopo, ' ');
  c.append(cifre).append(spazi_dopo, ' ');
  return c;
}

void foglio::avvisa(std::string messaggio) {
  // The cell belongs to the line being built, the next one.
  d_.avvisi.push_back(
      {d_.nome, static_cast<std::int32_t>(d_.righe.size() + 1), std::move(messaggio)});
}

}  // namespace percorso
