// Each field of a row on its own: is it a number, does it fit the variable the
// compiler reads it into, is it in the range and a multiple the simulator can use.
#include <cstdio>

#include "checker/stato.h"
#include "format/unita_celle.h"
#include "model/numeri.h"

namespace percorso::controllo {
namespace {

std::string con_unita(std::int64_t v, const campo_formato& f) {
  std::string s = std::to_string(v);
  if (!f.unita.empty()) s.append(" ").append(f.unita);
  return s;
}

std::string byte_esadecimale(std::uint8_t b) {
  char s[8];
  std::snprintf(s, sizeof s, "0x%02X", b);
  return s;
}

// The compiler's code for a value that is not the multiple its field needs.
std::optional<std::int32_t> codice_multiplo(chiave k, std::size_t i) {
  switch (k) {
    case chiave::stazione:
      return i == 0 ? 8 : 9;
    case chiave::ripetizione:
      return i == 0 ? 3 : 4;
    case chiave::progressiva_tre:
    case chiave::progressiva_due:
    case chiave::progressiva_uno:
      return 2;
    default:
      return std::nullopt;
  }
}

// The number a field likely means: letters O and l read as the digits they look like.
std::optional<std::string> numero_probabile(std::string s) {
  // A blank put for a no-break space, at either end.
  s.erase(0, s.find_first_not_of(' '));
  s.erase(s.find_last_not_of(' ') + 1);
  if (s.find_first_of("0123456789") == std::string::npos) return std::nullopt;
  for (char& c : s) {
    if (c == 'O' || c == 'o') c = '0';
    if (c == 'l' || c == 'I') c = '1';
  }
  if (!e_numero(s)) return std::nullopt;
  return s;
}

bool scritto_male(verifica_in_corso& v, const riga_letta& r, std::size_t i) {
  const campo_letto& c = r.campi[i];
  if (c.numero) return false;
  if (const auto s = separatore_estraneo(c.testo); s != std::string_view::npos) {
    const std::string quale =
        c.testo[s] == '\t' ? "una tabulazione" : citazione(c.testo.substr(s, 1));
    v.al_byte(genere::separatore, c.riga, c.colonna + static_cast<std::int32_t>(s), r.formato(i),
              citazione(c.testo) + " contiene " + quale +
                  ", che non separa i campi: usa la virgola; il compilatore legge 0");
    return true;
  }
  std::string m =
      c.testo.empty() ? std::string("campo vuoto") : citazione(c.testo) + " non e' un numero";
  m.append(": il compilatore legge 0");
  if (c.testo.find('-', 1) != std::string_view::npos)
    m.append("; un intervallo? scrivi un solo numero");
  std::string probabile(c.testo);
  if (const auto e = estraneo_nel_campo(v, c); e && e->codice >= 0x80) {
    m.append("; ").append(descrizione(*e, c.testo)).append(" non e' ASCII");
    if (!e->ascii.empty()) m.append(": scrivi ").append(da_scrivere(*e));
    probabile = con_ascii(c.testo, *e);
  }
  if (const auto n = numero_probabile(probabile)) m.append("; forse ").append(*n).append("?");
  v.al_campo(r, i, genere::non_numero, std::move(m));
  return true;
}

void fuori_larghezza(verifica_in_corso& v, const riga_letta& r, std::size_t i) {
  const campo_formato& f = *r.formato(i);
  v.al_campo(r, i, genere::fuori_larghezza,
             citazione(r.campi[i].testo) + " non sta in un " + std::string(nome_larghezza(f.tipo)) +
                 " (" + da_a(minimo_larghezza(f.tipo), massimo_larghezza(f.tipo)) +
                 "): il compilatore si ferma");
}

void fuori_intervallo(verifica_in_corso& v, const riga_letta& r, std::size_t i) {
  const campo_formato& f = *r.formato(i);
  const std::int64_t x = r.valore(i);
  const bool troppo_alto = x > f.massimo;
  if (x >= f.minimo && (!troppo_alto || posizionale(f.uso))) return;
  std::string m = posizionale(f.uso) ? "posizione negativa: " + con_unita(x, f)
                                     : con_unita(x, f) +
                                           " fuori dall'intervallo che il simulatore "
                                           "usa (" +
                                           da_a(f.minimo, f.massimo) + ")";
  std::optional<std::int32_t> codice;
  if (r.k->id == chiave::lunghezza && troppo_alto) codice = 1;
  // A speed no cell holds stops the compiler at the next row of speeds.
  if (r.k->id == chiave::velocita && f.uso != ruolo::posizione &&
      !velocita_in_cella(static_cast<std::int32_t>(x))) {
    codice = 25;
    m.append(": il compilatore si ferma quando la scrive nelle celle");
  }
  v.al_campo(r, i, genere::fuori_intervallo, std::move(m), codice);
}

void non_multiplo(verifica_in_corso& v, const riga_letta& r, std::size_t i) {
  const campo_formato& f = *r.formato(i);
  const std::int64_t x = r.valore(i);
  if (f.multiplo <= 1 || x % f.multiplo == 0) return;
  const auto codice = codice_multiplo(r.k->id, i);
  std::string m = con_unita(x, f) + " non e' multiplo di " + std::to_string(f.multiplo);
  if (!codice) {
    const auto usato =
        static_cast<std::int64_t>(arrotonda(static_cast<double>(x) / f.multiplo)) * f.multiplo;
    m.append(": il simulatore usa circa ").append(con_unita(usato, f));
  }
  v.al_campo(r, i, genere::non_multiplo, std::move(m), codice, !codice);
}

void numero(verifica_in_corso& v, const riga_letta& r, std::size_t i) {
  if (scritto_male(v, r, i)) return;
  const campo_letto& c = r.campi[i];
  if (!c.valido) return fuori_larghezza(v, r, i);
  if (static_cast<double>(c.valore) != c.letto)
    v.al_campo(
        r, i, genere::decimale,
        citazione(c.testo) + " non e' intero: il compilatore legge " + std::to_string(c.valore));
  fuori_intervallo(v, r, i);
  non_multiplo(v, r, i);
}

void testo(verifica_in_corso& v, const riga_letta& r, std::size_t i) {
  const campo_letto& c = r.campi[i];
  const campo_formato& f = *r.formato(i);
  if (const auto e = estraneo_nel_campo(v, c)) {
    const auto b = static_cast<std::uint8_t>(c.testo[e->da]);
    std::string m = e->codice < 0x80 ? "byte " + byte_esadecimale(b) : descrizione(*e, c.testo);
    m.append(" nel testo: il simulatore mostra solo caratteri ASCII stampabili a 7 bit");
    if (!e->ascii.empty()) m.append("; scrivi ").append(da_scrivere(*e));
    v.al_byte(genere::caratteri, c.riga, c.colonna + static_cast<std::int32_t>(e->da), &f,
              std::move(m));
  }
  if (f.massimo > 0 && static_cast<std::int64_t>(c.testo.size()) > f.massimo)
    v.al_campo(r, i, genere::troppo_lungo,
               std::to_string(c.testo.size()) + " caratteri: la scheda treno ne mostra " +
                   std::to_string(f.massimo));
}

}  // namespace

void verifica_campi(verifica_in_corso& v, const riga_letta& r) {
  for (std::size_t i = 0; i < r.letti; ++i) {
    if (r.formato(i)->tipo == larghezza::testo)
      testo(v, r, i);
    else
      numero(v, r, i);
  }
}

}  // namespace percorso::controllo
