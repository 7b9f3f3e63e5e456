#include "compiler/campo_alla_colonna.h"

#include <cstdint>
#include <span>

#include "compiler/lettore_campi.h"

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

}  // namespace

const campo_formato* campo_alla_colonna(fonte testo, std::string_view riga, std::int32_t colonna) {
  lettore_campi r({reinterpret_cast<const std::uint8_t*>(riga.data()), riga.size()});
  const auto chiave = r.leggi_testo();
  if (!chiave) return nullptr;
  const parola_chiave* k = prima_corrispondenza(testo, *chiave);
  if (k == nullptr) return nullptr;
  for (const campo_formato& f : k->campi) {
    if (r.fine()) return nullptr;
    if (f.tipo == larghezza::testo)
      r.leggi_testo();
    else
      r.leggi_numero();
    if (r.colonna() == colonna) return &f;
    if (r.colonna() > colonna) return nullptr;
  }
  return nullptr;
}

}  // namespace percorso
