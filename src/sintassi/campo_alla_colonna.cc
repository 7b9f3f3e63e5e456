#include "sintassi/campo_alla_colonna.h"

#include <cstdint>
#include <span>

#include "sintassi/lettore_campi.h"

namespace percorso {
namespace {

bool della_linea(parte p) {
  return p == parte::intestazione || p == parte::corpo;
}

const parola_chiave* prima_corrispondenza(fonte testo, std::string_view campo) {
  for (const parola_chiave& k : parole_chiave()) {
    if (della_linea(k.dove) == (testo == fonte::linea) && corrisponde(k, campo)) return &k;
  }
  return nullptr;
}

// Whether byte i lies in the last field r read.
bool contiene(const lettore_campi& r, std::size_t i) {
  return i >= r.inizio_campo() && (i < r.fine_campo() || i == r.inizio_campo());
}

}  // namespace

std::optional<campo_in_riga> campo_alla_colonna(fonte testo, std::string_view riga,
                                                std::int32_t colonna) {
  if (colonna < 1) return std::nullopt;
  const auto i = static_cast<std::size_t>(colonna) - 1;
  lettore_campi r({reinterpret_cast<const std::uint8_t*>(riga.data()), riga.size()});
  const auto chiave = r.leggi_testo();
  if (!chiave) return std::nullopt;
  const parola_chiave* k = prima_corrispondenza(testo, *chiave);
  if (k == nullptr) return std::nullopt;
  if (contiene(r, i)) return campo_in_riga{k, nullptr, r.inizio_campo(), r.fine_campo()};
  for (const campo_formato& f : k->campi) {
    if (r.fine() || r.inizio_campo() > i) return std::nullopt;
    if (f.tipo == larghezza::testo)
      r.leggi_testo();
    else
      r.leggi_numero();
    if (contiene(r, i)) return campo_in_riga{k, &f, r.inizio_campo(), r.fine_campo()};
  }
  return std::nullopt;
}

}  // namespace percorso
