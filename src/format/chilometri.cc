#include "format/chilometri.h"

#include <cstdio>
#include <cstdlib>

namespace percorso {

chilometrica::chilometrica(const std::array<punto, numero_punti>& punti) {
  for (const int slot : {slot_progressiva_tre, slot_progressiva_due, slot_progressiva_uno}) {
    const punto& r = punti[static_cast<std::size_t>(slot)];
    if (r.valore_1 == 0 && r.valore_2 == 0) continue;  // an empty reference
    riferimenti_[numero_++] = {r.valore_1, r.valore_2};
  }
}

std::int64_t chilometrica::al_metro(std::int64_t posizione) const {
  const riferimento* scelta = nullptr;
  const riferimento* prima = nullptr;
  for (std::size_t i = 0; i < numero_; ++i) {
    const riferimento& r = riferimenti_[i];
    if (r.inizio <= posizione && (!scelta || r.inizio > scelta->inizio)) scelta = &r;
    if (!prima || r.inizio < prima->inizio) prima = &r;
  }
  if (!scelta) scelta = prima;
  if (!scelta) return posizione;
  return scelta->progressiva + (posizione - scelta->inizio);
}

std::string chilometrica::luogo(std::int64_t posizione) const {
  const std::string metri = std::to_string(posizione) + " m";
  if (!con_riferimenti()) return metri;
  return "km " + testo_progressiva(al_metro(posizione)) + ", " + metri + " dall'inizio";
}

std::int64_t cippo(std::int64_t progressiva) {
  const std::int64_t km = progressiva / 1000;
  return progressiva % 1000 < 0 ? km - 1 : km;
}

std::string testo_progressiva(std::int64_t progressiva) {
  const std::int64_t km = cippo(progressiva);
  char testo[48];
  std::snprintf(testo, sizeof testo, "%lld+%03lld", static_cast<long long>(km),
                static_cast<long long>(progressiva - km * 1000));
  return testo;
}

std::string km_testo(std::int64_t metri) {
  const std::int64_t a = std::llabs(metri);
  char testo[48];
  std::snprintf(testo, sizeof testo, "%s%lld.%03lld", metri < 0 ? "-" : "",
                static_cast<long long>(a / 1000), static_cast<long long>(a % 1000));
  return testo;
}

std::string km_italiano(std::int64_t metri) {
  std::string s = km_testo(metri);
  s[s.find('.')] = ',';
  while (s.back() == '0' && s[s.size() - 2] != ',') s.pop_back();
  return s;
}

}  // namespace percorso
