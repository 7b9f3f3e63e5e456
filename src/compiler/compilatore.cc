#include "compiler/compilatore.h"

#include "compiler/compilazione.h"
#include "placement/piazzamento.h"

namespace percorso {
namespace {

char minuscola(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether the field contains the keyword; keywords are given in lower case.
bool ha(std::string_view campo, std::string_view chiave) {
  if (chiave.size() > campo.size()) return false;
  for (std::size_t i = 0; i + chiave.size() <= campo.size(); ++i) {
    std::size_t j = 0;
    while (j < chiave.size() && minuscola(campo[i + j]) == chiave[j]) ++j;
    if (j == chiave.size()) return true;
  }
  return false;
}

bool ha_esatto(std::string_view campo, std::string_view chiave) {
  return campo.find(chiave) != std::string_view::npos;
}

bool ha_trattino(std::string_view campo) {
  return campo.find('-') != std::string_view::npos;
}

// Reads the next keyword field of a body or train part; nothing when the part ends.
std::optional<std::string_view> prossima_chiave(compilazione& c) {
  lettore_campi& r = *c.lettore;
  if (r.fine()) return std::nullopt;
  auto campo = r.leggi_testo();
  if (r.fine()) return std::nullopt;
  for (int n = 0; n < 2 && ha_trattino(*campo); ++n) {
    campo = r.leggi_testo();
    if (r.fine()) return std::nullopt;
  }
  c.riga_chiave = r.riga();
  c.colonna_chiave = r.colonna();
  return campo;
}

// Applies the handlers in order while they let the line go on.
template <typename... Passi>
esito in_ordine(Passi&&... passi) {
  esito e = esito::avanti;
  ((e = e == esito::avanti ? passi() : e), ...);
  return e;
}

esito se(bool condizione, auto&& passo) {
  return condizione ? passo() : esito::avanti;
}

// Header part of the line description; false when the compilation stops.
bool intestazione(compilazione& c) {
  lettore_campi& r = *c.lettore;
  for (;;) {
    if (r.fine()) return true;
    auto campo = r.leggi_testo();
    if (r.fine()) return true;
    for (int n = 0; n < 10 && ha_trattino(*campo); ++n) {
      campo = r.leggi_testo();
      if (!campo) {
        c.generale_al_campo();
        return false;
      }
    }
    c.riga_chiave = r.riga();
    c.colonna_chiave = r.colonna();
    const std::string_view k = *campo;
    const bool progressiva = ha_esatto(k, "progressiva");
    const bool sfondo = ha_esatto(k, "sfondo");
    const esito e = in_ordine(
        [&] {
          return se(ha(k, "lunghezza") && ha(k, "percorso"), [&] { return riga_lunghezza(c); });
        },
        [&] {
          return se(progressiva && ha_esatto(k, "tre"),
                    [&] { return riga_progressiva(c, slot_progressiva_tre); });
        },
        [&] {
          return se(progressiva && ha_esatto(k, "due"),
                    [&] { return riga_progressiva(c, slot_progressiva_due); });
        },
        [&] {
          return se(progressiva && ha_esatto(k, "uno"),
                    [&] { return riga_progressiva(c, slot_progressiva_uno); });
        },
        [&] {
          return se(sfondo && ha_esatto(k, "uno"),
                    [&] { return riga_sfondo(c, &punto::valore_1); });
        },
        [&] {
          return se(sfondo && ha_esatto(k, "due"),
                    [&] { return riga_sfondo(c, &punto::valore_3); });
        },
        [&] {
          return se(sfondo && ha_esatto(k, "tre"),
                    [&] { return riga_sfondo(c, &punto::valore_2); });
        },
        [&] {
          return se(ha_esatto(k, "segnali") && ha_esatto(k, "ripetizione"),
                    [&] { return riga_ripetizione(c, k); });
        });
    if (e != esito::avanti) return false;
    if (ha_esatto(k, "[") && ha_esatto(k, "]") && k.front() != '-') return true;
  }
}

// Body part of the line description.
esito corpo(compilazione& c) {
  while (const auto campo = prossima_chiave(c)) {
    const std::string_view k = *campo;
    const esito e = in_ordine(
        [&] { return se(ha(k, "pendenza"), [&] { return riga_pendenza(c); }); },
        [&] {
          return se(c.m.flag_tracciato != 0 && ha(k, "curva"), [&] { return riga_curva(c, k); });
        },
        [&] { return se(ha(k, "montagna"), [&] { return riga_montagna(c); }); },
        [&] { return se(ha(k, "indicatori_v"), [&] { return riga_indicatori(c); }); },
        [&] {
          return se(ha(k, "cartello") && ha(k, "indicat"), [&] { return riga_cartello(c); });
        });
    if (e != esito::avanti) return e;
  }
  return esito::avanti;
}

// The train description after its "[generale]" field.
esito treno(compilazione& c) {
  while (const auto campo = prossima_chiave(c)) {
    const std::string_view k = *campo;
    const esito e = in_ordine(
        [&] { return se(ha(k, "frenata") && ha(k, "massa"), [&] { return riga_massa(c); }); },
        [&] { return se(ha(k, "vetture"), [&] { return riga_vetture(c); }); },
        [&] { return se(ha(k, "velocit"), [&] { return riga_velocita(c); }); },
        [&] { return se(ha(k, "aderenza"), [&] { return riga_aderenza(c); }); },
        [&] { return se(ha(k, "orologio"), [&] { return riga_orologio(c); }); },
        [&] { return se(ha(k, "sabbia"), [&] { return riga_sabbia(c); }); },
        [&] { return se(ha(k, "segnale"), [&] { return riga_segnale(c); }); },
        [&] { return se(ha(k, "rallentamento"), [&] { return riga_rallentamento(c); }); },
        [&] { return se(ha(k, "abbattimento"), [&] { return riga_abbattimento(c); }); },
        [&] { return se(ha(k, "stazione"), [&] { return riga_stazione(c); }); });
    if (e != esito::avanti) return e;
  }
  return esito::avanti;
}

// Line description: search, header, body and the tails that follow it.
bool compila_linea(compilazione& c, std::span<const std::uint8_t> testo) {
  lettore_campi r(testo);
  c.lettore = &r;
  c.testo = fonte::linea;
  for (;;) {
    const auto campo = r.fine() ? std::nullopt : r.leggi_testo();
    if (r.fine()) {
      c.riga_chiave = r.riga();
      c.colonna_chiave = 0;
      c.ferma(102);
      return false;
    }
    if (ha(*campo, "[generale]")) break;
  }
  if (!intestazione(c)) return false;

  progressive_ordina(c.m);
  c.m.montagna_inizio.clear();
  c.m.montagna_fine.clear();
  c.slot_cartello = primo_slot_cartelli;
  c.cursore_pendenza = 0;
  c.metro_piano = 2;
  if (c.m.flag_tracciato != 0 && inizio_piano(c) == esito::ferma) return false;

  if (corpo(c) == esito::ferma) return false;
  c.riga_chiave = 0;
  if (coda_pendenza(c) == esito::ferma) return false;
  return c.m.flag_tracciato == 0 || completa_piano(c) != esito::ferma;
}

bool compila_treno(compilazione& c, std::span<const std::uint8_t> testo) {
  lettore_campi r(testo);
  c.lettore = &r;
  c.testo = fonte::treno;
  c.cursore_velocita = 0;
  c.cursore_aderenza = 0;
  c.numero_stazione = 1;
  while (!r.fine() && !ha(*r.leggi_testo(), "[generale]")) {
  }
  if (treno(c) == esito::ferma) return false;
  c.riga_chiave = 0;
  return coda_velocita(c) != esito::ferma && coda_aderenza(c) != esito::ferma;
}

void verifica_progressive(modello& m) {
  for (int slot : {slot_progressiva_tre, slot_progressiva_due, slot_progressiva_uno}) {
    if (m.punti[slot].valore_1 % 50 != 0 || m.punti[slot].valore_2 % 50 != 0) {
      m.registra(2, fonte::linea);
      return;
    }
  }
}

}  // namespace

void memorizza_dati(modello& m, const sorgenti& testi) {
  m.punti[slot_percorso].nome = m.nome_percorso;
  m.punti[slot_ripetizione].nome = m.numero_treno;
  if (!testi.linea) {
    m.registra(101, fonte::linea);
    return;
  }
  compilazione c{m};
  if (!compila_linea(c, *testi.linea)) return;
  if (!testi.treno) {
    c.testo = fonte::treno;
    c.riga_chiave = 0;
    c.generale();
    return;
  }
  if (!compila_treno(c, *testi.treno)) return;
  verifica_progressive(m);
}

}  // namespace percorso
