// The reading loop: the texts are cut into fields by the compiler's own reader and
// walked with its part, minus-sign and end rules, but every row is taken as its
// author wrote it, on its own line, and the walk never stops at a fault.
#include "checker/stato.h"
#include "model/numeri.h"
#include "sintassi/cammino.h"

namespace percorso::controllo {
namespace {

bool della_linea(parte p) {
  return p == parte::intestazione || p == parte::corpo;
}

// The number the compiler reads into a variable of width l, when it fits.
std::optional<std::int64_t> entro_larghezza(double x, larghezza l) {
  switch (l) {
    case larghezza::s32:
      return arrotonda_in<std::int32_t>(x);
    case larghezza::s16:
      return arrotonda_in<std::int16_t>(x);
    default:
      return arrotonda_in<std::uint8_t>(x);
  }
}

campo_letto come_letto(const campo_sorgente& s, const campo_formato& f) {
  campo_letto c{s.testo, s.riga, s.colonna};
  if (f.tipo == larghezza::testo) {
    c.valido = true;
    return c;
  }
  c.letto = s.numero;
  c.numero = e_numero(c.testo);
  if (const auto v = entro_larghezza(c.letto, f.tipo)) {
    c.valore = *v;
    c.valido = c.numero;
  }
  return c;
}

struct corrispondenze {
  const parola_chiave* prima = nullptr;    // the first keyword of this part the field passes
  const parola_chiave* seconda = nullptr;  // and the next one, when it passes more
  const parola_chiave* altrove = nullptr;  // a keyword of another part or text it passes
};

corrispondenze cerca(parte p, std::string_view campo) {
  corrispondenze c;
  const std::uint64_t i = impronta(campo);
  if (!puo_essere_chiave(i)) return c;
  for (const parola_chiave& k : parole_chiave()) {
    if (!corrisponde(k, campo, i)) continue;
    if (k.dove != p) {
      if (c.altrove == nullptr) c.altrove = &k;
    } else if (c.prima == nullptr) {
      c.prima = &k;
    } else if (c.seconda == nullptr) {
      c.seconda = &k;
    }
  }
  return c;
}

std::string elenco_campi(const parola_chiave& k, std::size_t da) {
  std::string s;
  for (std::size_t i = da; i < k.campi.size(); ++i) {
    if (i > da) s.append(", ");
    s.append("'").append(k.campi[i].nome).append("'");
  }
  return s;
}

// What the compiler does with the first field of the line a short row swallows.
std::string preso_dalla_riga(const campo_letto& c, const campo_formato& f) {
  std::string s = "il compilatore prende " + citazione(c.testo) + " dalla riga " +
                  std::to_string(c.riga) + " come " + citazione(f.nome);
  if (f.tipo != larghezza::testo && c.valido)
    s.append(" (legge ").append(std::to_string(c.valore)).append(")");
  if (f.tipo != larghezza::testo && !c.numero) s.append(" (legge 0)");
  return s.append(", e quella riga non e' letta come riga a se'");
}

std::string numero_campi(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " campo" : " campi");
}

// One walk over a text.
class cammino {
 public:
  cammino(verifica_in_corso& v, std::span<const std::uint8_t> testo)
      : v_(v), w_(testo, v.testo == fonte::linea) {}

  // Skips to the field after "[generale]"; false when no field holds it.
  bool cerca_generale() {
    while (const auto k = w_.prossima()) {
      if (k->tipo == voce::generale) {
        riga_generale_ = k->campo.riga;
        return true;
      }
      if (k->tipo != voce::prima_di_generale) return false;
      prima_di_generale(k->campo);
    }
    return false;
  }

  std::int32_t riga_generale() const { return riga_generale_; }

  // Reads keyword fields to the end of the text.
  void righe() {
    while (const auto k = w_.prossima()) {
      if (k->tipo == voce::trattino) {
        trattino(k->campo);
        continue;
      }
      if (k->tipo == voce::ultimo) ultimo_campo(k->campo, k->dove);
      if (k->tipo != voce::chiave) return;
      if (k->campo.testo.empty()) continue;  // an empty line: nothing to test
      const corrispondenze c = cerca_ricordando(k->campo.testo, k->dove);
      if (c.prima == nullptr)
        ignorata(k->campo, c.altrove);
      else
        riga(k->campo, c);
      if (k->dove == parte::intestazione && w_.attuale() == parte::corpo) inizia_corpo();
    }
  }

 private:
  void prima_di_generale(const campo_sorgente& c) {
    if (c.riga == riga_ignorata_) return;
    for (const parola_chiave& k : parole_chiave()) {
      if (della_linea(k.dove) != (v_.testo == fonte::linea) || !corrisponde(k, c.testo)) continue;
      riga_ignorata_ = c.riga;
      al_campo_chiave(genere::prima_di_generale, c,
                      citazione(c.testo) + " sta prima di [generale]: il compilatore la salta");
      return;
    }
  }

  // A finding over the whole of a field in a keyword's place.
  void al_campo_chiave(const genere_constatazione& g, const campo_sorgente& c,
                       std::string messaggio, bool attenuato = false) {
    diagnosi* d =
        v_.segnala(g, c.riga, c.colonna, nullptr, std::move(messaggio), std::nullopt, attenuato);
    if (d != nullptr) d->colonna_fine = fine_del_campo(c.colonna, c.fine - c.inizio);
  }

  void trattino(const campo_sorgente& c) {
    if (e_numero(c.testo)) return;
    riga_ignorata_ = c.riga;
    al_campo_chiave(genere::trattino, c,
                    citazione(c.testo) + " contiene '-': il compilatore la salta senza leggerla");
  }

  void ultimo_campo(const campo_sorgente& c, parte p) {
    const corrispondenze k = cerca(p, c.testo);
    if (k.prima == nullptr) return;
    al_campo_chiave(genere::ultima_riga, c,
                    "il compilatore non legge mai l'ultimo campo di un testo: la riga " +
                        citazione(k.prima->nome) +
                        " va persa; aggiungi una riga dopo (per "
                        "esempio [fine])");
  }

  void inizia_corpo() {
    if (!v_.lunghezza) return;
    const auto ultima = v_.ultima_cella();
    if (*v_.lunghezza <= 1000000 && *ultima >= 0)
      v_.celle.assign(static_cast<std::size_t>(*ultima) + 1, cella_vista{});
  }

  // A keyword field that no test of this part takes; one finding a line.
  void ignorata(const campo_sorgente& c, const parola_chiave* altrove) {
    if (c.testo.empty() || intestazione_di_sezione(c.testo) || c.riga == riga_ignorata_) return;
    riga_ignorata_ = c.riga;
    if (c.riga == fine_riga_) return in_piu(c);
    if (e_numero(c.testo)) {
      al_campo_chiave(genere::numeri_in_piu, c,
                      citazione(c.testo) + ": un numero che nessuna riga chiede, ignorato");
    } else if (altrove != nullptr) {
      al_campo_chiave(genere::fuori_sezione, c,
                      citazione(c.testo) + " e' una riga " + citazione(altrove->nome) +
                          ", che vale " + std::string(nella_parte(altrove->dove)) +
                          ": qui e' ignorata");
    } else {
      sconosciuta(c);
    }
  }

  void sconosciuta(const campo_sorgente& c) {
    if (!v_.accetta(genere::chiave_sconosciuta.nome)) return;
    std::string m = citazione(c.testo) + " non e' una parola chiave: ignorata";
    const auto vicina = parola_vicina(c.testo, v_.testo);
    if (vicina) m.append("; forse ").append(citazione(*vicina)).append("?");
    al_campo_chiave(genere::chiave_sconosciuta, c, std::move(m), !vicina);
  }

  // Fields left on a row's line after the row: the compiler reads them as keyword
  // fields. Numbers keep the compiler's name for them.
  void in_piu(const campo_sorgente& c) {
    const bool numero = e_numero(c.testo);
    std::string m = "campi in piu' dopo la riga " + citazione(fine_chiave_->nome) +
                    ", che ne prende " + numero_campi(fine_chiave_->campi.size()) +
                    ": il compilatore li legge come parole chiave e li ignora";
    if (numero)
      m.append("; una virgola decimale? nei numeri si usa il punto");
    else if (fine_chiave_->campi.back().tipo == larghezza::testo)
      m.append("; un testo non puo' contenere virgole");
    al_campo_chiave(numero ? genere::numeri_in_piu : genere::campi_in_piu, c, std::move(m));
  }

  // Rows of one kind follow each other: their keyword fields are tested once.
  corrispondenze cerca_ricordando(std::string_view campo, parte p) {
    if (campo != campo_cercato_ || p != parte_cercata_) {
      trovate_ = cerca(p, campo);
      campo_cercato_ = campo;
      parte_cercata_ = p;
    }
    return trovate_;
  }

  void riga(const campo_sorgente& chiave, const corrispondenze& trovate) {
    const parola_chiave& k = *trovate.prima;
    if (chiave.riga == fine_riga_ && riga_ignorata_ != chiave.riga) {
      riga_ignorata_ = chiave.riga;
      al_campo_chiave(genere::campi_in_piu, chiave,
                      "campi in piu' dopo la riga " + citazione(fine_chiave_->nome) + ": " +
                          citazione(chiave.testo) + " e' letto come una nuova riga " +
                          citazione(k.nome));
    }
    separatori_chiave(chiave);
    if (trovate.seconda != nullptr)
      al_campo_chiave(genere::piu_chiavi, chiave,
                      citazione(chiave.testo) + " vale come riga " + citazione(k.nome) +
                          " e come riga " + citazione(trovate.seconda->nome) +
                          ": ognuna legge i propri campi, uno dopo l'altro");
    riga_letta& r = riga_;
    r.k = &k;
    r.chiave = chiave.testo;
    r.riga = chiave.riga;
    r.colonna = chiave.colonna;
    r.letti = 0;
    campi_riga& letti = letti_;
    w_.campi(k, letti);
    for (std::size_t i = 0; i < letti.letti; ++i) {
      const campo_letto c = come_letto(letti.campi[i], k.campi[i]);
      if (letti.campi[i].seguente) {
        if (v_.accetta(genere::campi_mancanti.nome)) mancanti(r, preso_dalla_riga(c, k.campi[i]));
        verifica_campi(v_, r);
        w_.riparti_dalla_riga(letti.campi[i]);
        return;
      }
      r.campi[r.letti++] = c;
    }
    if (!r.completa()) mancanti(r, "il testo finisce prima: il compilatore si ferma", 25);
    fine_riga_ = w_.a_inizio_riga() ? 0 : r.riga;
    fine_chiave_ = &k;
    verifica_campi(v_, r);
    if (!r.completa()) return;
    verifica_riga(v_, r);
    occupa_celle(v_, r);
  }

  void separatori_chiave(const campo_sorgente& c) {
    const auto i = separatore_estraneo(c.testo);
    if (i == std::string_view::npos) return;
    v_.al_byte(genere::separatore, c.riga, c.colonna + static_cast<std::int32_t>(i), nullptr,
               "la parola chiave " + citazione(c.testo) +
                   " contiene un separatore che non separa i campi: usa la virgola");
  }

  void mancanti(const riga_letta& r, std::string perche, std::optional<std::int32_t> codice = {}) {
    // Past the cap the message would only be thrown away.
    if (!v_.accetta(genere::campi_mancanti.nome)) return;
    const std::size_t mancano = r.k->campi.size() - r.letti;
    const std::string quanti =
        (mancano == 1 ? "ne manca " : "ne mancano ") + std::to_string(mancano);
    v_.segnala(genere::campi_mancanti, r.riga, r.colonna, &r.k->campi[r.letti],
               testo_di(genere::campi_mancanti, {corto(r.k->nome), numero_campi(r.k->campi.size()),
                                                 quanti, elenco_campi(*r.k, r.letti), perche}),
               codice);
  }

  verifica_in_corso& v_;
  cammino_righe w_;
  campi_riga letti_;  // the row being read, kept from row to row
  riga_letta riga_;   // and the same row as its author wrote it
  std::int32_t riga_ignorata_ = 0;
  std::int32_t riga_generale_ = 0;
  std::int32_t fine_riga_ = 0;  // the line a row ended on, when fields are left on it
  const parola_chiave* fine_chiave_ = nullptr;
  std::string_view campo_cercato_;
  parte parte_cercata_ = parte::intestazione;
  corrispondenze trovate_;
};

bool vuoto(std::span<const std::uint8_t> testo) {
  for (const std::uint8_t b : testo) {
    if (b != ' ' && b != '\r' && b != '\n') return false;
  }
  return true;
}

}  // namespace

void leggi_linea(verifica_in_corso& v, std::span<const std::uint8_t> testo) {
  v.testo = fonte::linea;
  cammino c(v, testo);
  if (!c.cerca_generale()) {
    v.segnala(genere::senza_generale, 1, 1, nullptr,
              "nessun campo [generale] seguito da altro: il compilatore non legge la linea", 102);
    return;
  }
  c.righe();
  if (!v.lunghezza)
    v.segnala(genere::senza_lunghezza, c.riga_generale(), 1, nullptr,
              testo_di(genere::senza_lunghezza, {}));
}

void leggi_treno(verifica_in_corso& v, std::span<const std::uint8_t> testo) {
  v.testo = fonte::treno;
  if (vuoto(testo)) {
    v.segnala(genere::testo_vuoto, 1, 1, nullptr, testo_di(genere::testo_vuoto, {}));
    return;
  }
  cammino c(v, testo);
  if (!c.cerca_generale()) {
    v.segnala(genere::senza_generale, 1, 1, nullptr,
              "nessun campo [generale] seguito da altro: il compilatore non legge niente del "
              "treno");
    return;
  }
  c.righe();
}

}  // namespace percorso::controllo
