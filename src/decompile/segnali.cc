#include "decompile/segnali.h"

#include <algorithm>

#include "decompile/posizioni.h"
#include "model/numeri.h"
#include "placement/prese.h"
#include "sintassi/parole_chiave.h"

namespace percorso {
namespace {

constexpr std::int64_t tipi_distinti = 128;  // 10 * 128 is 0 in a byte

std::uint8_t codice_ripetizione(std::int64_t tipi, int k) {
  return basso_8(tipi * 10 + k);
}

// The kinds of a split of the fourth value that reads naturally: rapp in the tens.
std::int64_t tipi_naturali(std::int16_t d4) {
  return ((d4 % 10) + 10) % 10;
}

// rapp with rapp * 10 + tipi giving d4 in 16 bits, the smallest; none when the parity
// of tipi is not that of d4.
std::optional<std::int64_t> rapp_per(std::int16_t d4, std::int64_t tipi) {
  std::optional<std::int64_t> migliore;
  for (std::int64_t giri = -4; giri <= 4; ++giri) {
    const std::int64_t resto = d4 - tipi + 65536 * giri;
    if (resto % 10 != 0) continue;
    if (!migliore || std::abs(resto / 10) < std::abs(*migliore)) migliore = resto / 10;
  }
  return migliore;
}

void scegli_tipi(segnale_letto& s, std::span<const cella> celle) {
  const std::int64_t naturali = tipi_naturali(s.valori.dato_4);
  std::vector<std::pair<int, std::int64_t>> punteggi;  // (cells it explains, tipi)
  auto spiega = [&](std::int64_t tipi) {
    int n = 0;
    for (int k = 1; k <= ripetizioni_segnale; ++k) {
      const std::int64_t c = cella_ripetizione(s.cella, k);
      if (c >= 0 && c < std::ssize(celle) &&
          celle[static_cast<std::size_t>(c)].ripetizione == codice_ripetizione(tipi, k))
        ++n;
    }
    return n;
  };
  for (std::int64_t t = 0; t < tipi_distinti; ++t)
    if (t != naturali && rapp_per(s.valori.dato_4, t) && spiega(t) > 0)
      punteggi.push_back({spiega(t), t});
  std::stable_sort(punteggi.begin(), punteggi.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  s.tipi.push_back(naturali);
  for (const auto& p : punteggi) s.tipi.push_back(p.second);
}

// A value split by tens, as a signal packs its two sides.
std::pair<std::int64_t, std::int64_t> decine(std::int16_t v) {
  return {v / 10, v % 10};
}

}  // namespace

bool ripetizioni_visibili(std::span<const cella> celle, std::int64_t c, std::int16_t d4) {
  const std::int64_t tipi = tipi_naturali(d4);
  for (int k = 1; k <= ripetizioni_segnale; ++k) {
    const std::int64_t r = cella_ripetizione(c, k);
    if (r >= 0 && r < std::ssize(celle) &&
        celle[static_cast<std::size_t>(r)].ripetizione == codice_ripetizione(tipi, k))
      return true;
  }
  return false;
}

std::vector<segnale_letto> segnali_letti(std::span<const cella> celle,
                                         const std::vector<fermata>& nascosti) {
  std::vector<segnale_letto> r;
  for (std::size_t i = 0; i < celle.size(); ++i) {
    if (celle[i].evento != evento::segnale) continue;
    segnale_letto s{static_cast<std::int64_t>(i), celle[i], 0, {}, 0};
    if (i == cella_di_controllo) s.valori.dato_1 = s.valori.dato_2 = 0;
    r.push_back(std::move(s));
  }
  for (const fermata& f : nascosti) {
    segnale_letto s{f.cella, celle[static_cast<std::size_t>(f.cella)], f.stazione, {}, 0};
    s.valori.dato_1 = 0;
    r.push_back(std::move(s));
  }
  for (segnale_letto& s : r) scegli_tipi(s, celle);
  return r;
}

std::vector<std::pair<std::int64_t, std::uint8_t>> ripetizioni_del_segnale(
    const segnale_letto& s, std::int64_t ultima_cella) {
  std::vector<std::pair<std::int64_t, std::uint8_t>> r;
  for (int k = 1; k <= ripetizioni_segnale; ++k) {
    const std::int64_t c = cella_ripetizione(s.cella, k);
    if (c >= 0 && c <= ultima_cella) r.push_back({c, codice_ripetizione(s.tipi[s.scelto], k)});
  }
  return r;
}

std::optional<riga_testo> riga_segnale(const segnale_letto& s) {
  const std::int64_t tipi = s.tipi[s.scelto];
  const auto rapp = rapp_per(s.valori.dato_4, tipi);
  if (!rapp) return std::nullopt;
  const std::uint8_t tempo = s.valori.tempo_segnale;
  // Only a signal of kind 2 on the s side keeps a time.
  const std::int64_t sx = tempo != 0 ? 2 : std::clamp<std::int64_t>(tipi / 3, 0, 2);
  const std::int64_t dx = tipi - 3 * sx;
  const std::int64_t tempo_riga = sx != 2 || tempo == 0 ? 0 : tempo <= 100 ? tempo + 256 : tempo;
  const auto [s1, d1] = decine(s.valori.dato_1);
  const auto [s2, d2] = decine(s.valori.dato_2);
  const auto [s3, d3] = decine(s.valori.dato_3);
  riga_testo r{std::string(parola(chiave::segnale).nome),
               {posizione_in_cella(s.cella), sx, s1, s2, s3, *rapp, dx, d1, d2, d3, tempo_riga},
               std::nullopt,
               ""};
  std::vector<std::string> perche;
  if (s.sotto_stazione != 0)
    perche.push_back("sotto la fermata della stazione " + std::to_string(s.sotto_stazione) +
                     ": ne restano i valori di questo segnale");
  if (tempo_riga > 255)
    perche.push_back("tempo + 256: un tempo da 1 a 100 il compilatore lo porta a 101");
  if (s.scelto > 0)
    perche.push_back("i tipi sx * 3 + dx = " + std::to_string(tipi) +
                     ", che i codici di ripetizione chiedono, invece di quelli dalle decine");
  for (const std::string& p : perche) r.solo_per += (r.solo_per.empty() ? "" : "; ") + p;
  return r;
}

}  // namespace percorso
