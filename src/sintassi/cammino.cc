#include "sintassi/cammino.h"

namespace percorso {
namespace {

bool ha_trattino(std::string_view campo) {
  return campo.find('-') != std::string_view::npos;
}

// How many hyphen fields in a row are skipped before one is taken as it stands.
int sostituzioni_massime(parte p) {
  return p == parte::intestazione ? 10 : 2;
}

}  // namespace

cammino_righe::cammino_righe(std::span<const std::uint8_t> testo, bool della_linea)
    : testo_(testo), r_(testo), parte_(della_linea ? parte::intestazione : parte::treno) {}

campo_sorgente cammino_righe::ultimo_letto(double numero) const {
  return {r_.campo(), r_.inizio_campo(), r_.fine_campo(), r_.inizio_riga_campo(),
          r_.riga(),  r_.colonna(),      numero,          r_.riga() != riga_chiave_};
}

campo_sorgente cammino_righe::testo_campo() {
  r_.leggi_testo();
  return ultimo_letto(0);
}

campo_sorgente cammino_righe::numero_campo() {
  const double v = *r_.leggi_numero();
  return ultimo_letto(v);
}

// A run of empty keyword fields reads as its last one: no keyword takes an empty field,
// so the fields before it change nothing for any reader.
campo_sorgente cammino_righe::ultimo_di_vuoti() {
  r_.salta_vuoti();
  campo_sorgente c = ultimo_letto(0);
  riga_chiave_ = c.riga;
  c.seguente = false;
  return c;
}

std::optional<campo_chiave> cammino_righe::prossima() {
  if (finito_) return std::nullopt;
  const bool sostituto = sostituzioni_ > 0;
  if (r_.fine()) {
    finito_ = true;
    // In the header the field after a hyphen field is read without asking for the end.
    if (sostituto && parte_ == parte::intestazione)
      return campo_chiave{ultimo_letto(0), voce::fine_dopo_trattino, parte_};
    return std::nullopt;
  }
  riga_chiave_ = 0;
  campo_sorgente c = testo_campo();
  riga_chiave_ = c.riga;
  c.seguente = false;
  const parte dove = parte_;
  if (r_.fine() && !(sostituto && parte_ == parte::intestazione)) {
    finito_ = true;
    return campo_chiave{c, voce::ultimo, dove};
  }
  if (!dopo_generale_) {
    if (!contiene_senza_maiuscole(c.testo, generale))
      return campo_chiave{c, voce::prima_di_generale, dove};
    dopo_generale_ = true;
    return campo_chiave{c, voce::generale, dove};
  }
  if (ha_trattino(c.testo) && sostituzioni_ < sostituzioni_massime(parte_)) {
    ++sostituzioni_;
    return campo_chiave{c, voce::trattino, dove};
  }
  sostituzioni_ = 0;
  if (c.testo.empty()) return campo_chiave{ultimo_di_vuoti(), voce::chiave, dove};
  if (parte_ == parte::intestazione && intestazione_di_sezione(c.testo) && c.testo.front() != '-')
    parte_ = parte::corpo;
  return campo_chiave{c, voce::chiave, dove};
}

void cammino_righe::campi(const parola_chiave& k, campi_riga& riga) {
  riga.letti = 0;
  for (const campo_formato& f : k.campi) {
    if (r_.fine()) break;
    riga.campi[riga.letti++] = f.tipo == larghezza::testo ? testo_campo() : numero_campo();
  }
  riga.riga_ultimo = r_.riga();
  riga.colonna_ultimo = r_.colonna();
}

void cammino_righe::riparti_dalla_riga(const campo_sorgente& c) {
  r_ = lettore_campi(testo_, c.inizio_riga, c.riga);
  finito_ = false;
}

}  // namespace percorso
