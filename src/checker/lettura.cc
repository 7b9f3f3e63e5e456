// The reading loop: the texts are cut into fields by the compiler's own reader and
// walked with its part, minus-sign and end rules, but every row is taken as its
// author wrote it, on its own line, and the walk never stops at a fault.
#include <algorithm>

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

// The text from byte da to the end of its line.
std::string_view resto_della_riga(std::string_view t, std::size_t da) {
  const std::size_t fine = std::min(t.find_first_of("\r\n", da), t.size());
  return t.substr(da, fine - da);
}

// The number-like run at the beginning of t, up to a blank or a comma.
std::string_view primo_pezzo(std::string_view t) {
  return t.substr(0, t.find_first_of(" ,"));
}

// Whether a number follows a keyword field on its line, after the comma that ends it.
bool seguita_da_numero(std::string_view dopo) {
  std::size_t i = dopo.find_first_not_of(' ');
  if (i == std::string_view::npos || dopo[i] != ',') return false;
  i = dopo.find_first_not_of(' ', i + 1);
  return i != std::string_view::npos && e_numero(primo_pezzo(dopo.substr(i)));
}

// Where a number written after a keyword without its comma begins ("curvas3 1200"),
// or npos. A single digit may belong to a keyword that holds one, as a curve's class.
std::size_t numero_incollato(std::string_view chiave, bool cifra_della_chiave) {
  const std::size_t spazio = chiave.find_last_of(' ');
  if (spazio == std::string_view::npos) return spazio;
  const std::string_view n = chiave.substr(spazio + 1);
  const std::string_view prima = chiave.substr(0, spazio);
  if (!e_numero(n) || (cifra_della_chiave && n.size() == 1) ||
      prima.find_first_not_of(' ') == std::string_view::npos || e_numero(primo_pezzo(prima)))
    return std::string_view::npos;
  return spazio + 1;
}

bool cifra_nella_chiave(const parola_chiave& k) {
  return k.id == chiave::curva || k.id == chiave::ripetizione;
}

// The class the compiler gives a curve keyword: its first digit of 1 to 6 in that order.
char classe_curva(std::string_view chiave) {
  for (char c = '1'; c <= '6'; ++c) {
    if (chiave.find(c) != std::string_view::npos) return c;
  }
  return 0;
}

// The field with its hyphens made underscores, when so written it passes a keyword
// test of part p. A leading hyphen sets a row aside on purpose: nothing to suggest.
std::optional<std::string> con_trattino_basso(std::string_view campo, parte p) {
  if (campo.front() == '-') return std::nullopt;
  std::string s(campo);
  std::replace(s.begin(), s.end(), '-', '_');
  for (const parola_chiave& k : parole_chiave()) {
    if (k.dove == p && corrisponde(k, s)) return s;
  }
  return std::nullopt;
}

bool commento(std::string_view campo) {
  return campo.starts_with('#') || campo.starts_with("//");
}

// One walk over a text.
class cammino {
 public:
  cammino(verifica_in_corso& v, std::span<const std::uint8_t> testo)
      : v_(v),
        w_(testo, v.testo == fonte::linea),
        testo_(reinterpret_cast<const char*>(testo.data()), testo.size()) {}

  // Skips to the field after "[generale]"; false when no field holds it.
  bool cerca_generale() {
    while (const auto k = w_.prossima()) {
      if (k->tipo == voce::generale) {
        riga_generale_ = k->campo.riga;
        chiudi_prima_di_generale();
        return true;
      }
      if (k->tipo != voce::prima_di_generale) break;
      prima_di_generale(k->campo);
    }
    chiudi_prima_di_generale();
    return false;
  }

  std::int32_t riga_generale() const { return riga_generale_; }

  // Reads keyword fields to the end of the text.
  void righe() {
    while (const auto k = w_.prossima()) {
      if (k->tipo == voce::trattino) {
        if (!riga_di_commento(*k)) trattino(k->campo, k->dove);
        continue;
      }
      if (k->tipo == voce::ultimo) ultimo_campo(k->campo, k->dove);
      if (k->tipo != voce::chiave) break;
      if (k->campo.testo.empty()) continue;  // an empty line: nothing to test
      riga_di_commento(*k);
      const corrispondenze c = cerca_ricordando(k->campo.testo, k->dove);
      if (c.prima == nullptr)
        ignorata(k->campo, k->dove, c.altrove);
      else
        riga(k->campo, c);
      if (k->dove == parte::intestazione && w_.attuale() == parte::corpo) {
        chiudi_intestazione(k->campo.riga);
        inizia_corpo();
      }
    }
    chiudi_intestazione(0);
  }

 private:
  // Rows before [generale]: one finding for all of them, at the first.
  void prima_di_generale(const campo_sorgente& c) {
    if (c.riga == riga_ignorata_) return;
    for (const parola_chiave& k : parole_chiave()) {
      if (della_linea(k.dove) != (v_.testo == fonte::linea) || !corrisponde(k, c.testo)) continue;
      riga_ignorata_ = c.riga;
      if (prima_.righe++ == 0 && v_.accetta(genere::prima_di_generale.nome)) {
        prima_.indice = v_.trovate.size();
        prima_.chiave = c.testo;
        al_campo_chiave(genere::prima_di_generale, c, {});
      }
      prima_.ultima = c.riga;
      return;
    }
  }

  void chiudi_prima_di_generale() {
    if (!prima_.indice) return;
    v_.trovate[*prima_.indice].riga_fine = prima_.ultima;
    std::string& m = v_.trovate[*prima_.indice].messaggio;
    m = citazione(prima_.chiave);
    if (prima_.righe == 1) {
      m.append(" sta prima di [generale]: il compilatore la salta");
      return;
    }
    m.append(prima_.righe == 2 ? " e un'altra riga"
                               : " e altre " + std::to_string(prima_.righe - 1) + " righe")
        .append(", fino alla riga ")
        .append(std::to_string(prima_.ultima))
        .append(", stanno prima di [generale]: il compilatore le salta");
  }

  // Body rows in a line header that no section header has closed: one finding at the
  // first, which says where the header runs to.
  void nell_intestazione(const campo_sorgente& c, const parola_chiave& altrove) {
    if (aperta_.righe++ == 0 && v_.accetta(genere::fuori_sezione.nome)) {
      aperta_.indice = v_.trovate.size();
      aperta_.chiave = c.testo;
      aperta_.nome = altrove.nome;
      al_campo_chiave(genere::fuori_sezione, c, {});
    }
    aperta_.ultima = c.riga;
  }

  // fino: the line of the section header that ends the header, 0 at the text's end.
  void chiudi_intestazione(std::int32_t fino) {
    if (!aperta_.indice) {
      aperta_ = {};
      return;
    }
    v_.trovate[*aperta_.indice].riga_fine = aperta_.ultima;
    std::string& m = v_.trovate[*aperta_.indice].messaggio;
    m = citazione(aperta_.chiave) + " e' una riga " + citazione(aperta_.nome) +
        " del corpo della linea, ma nessun campo di sezione (come [curve]) chiude "
        "l'intestazione prima di questa riga: l'intestazione continua " +
        (fino > 0 ? "fino alla riga " + std::to_string(fino) : std::string("fino alla fine")) +
        ", e il compilatore ignora ";
    if (aperta_.righe == 1)
      m.append("questa riga");
    else
      m.append("le ")
          .append(std::to_string(aperta_.righe))
          .append(" righe del corpo che contiene, fino alla riga ")
          .append(std::to_string(aperta_.ultima));
    aperta_ = {};
  }

  // A finding over the whole of a field in a keyword's place.
  diagnosi* al_campo_chiave(const genere_constatazione& g, const campo_sorgente& c,
                            std::string messaggio, bool attenuato = false) {
    diagnosi* d =
        v_.segnala(g, c.riga, c.colonna, nullptr, std::move(messaggio), std::nullopt, attenuato);
    if (d != nullptr) d->colonna_fine = fine_del_campo(c.colonna, c.fine - c.inizio);
    return d;
  }

  // A finding that knows what its field should read.
  void con_sostituzione(diagnosi* d, std::string s) {
    if (d != nullptr) d->sostituzione = std::move(s);
  }

  void trattino(const campo_sorgente& c, parte p) {
    if (e_numero(c.testo)) return;
    riga_ignorata_ = c.riga;
    // A keyword begins its line; a field left after a row is no keyword meant.
    const auto scritta = primo_della_riga(c) ? con_trattino_basso(c.testo, p) : std::nullopt;
    if (scritta)
      return con_sostituzione(
          al_campo_chiave(genere::trattino_chiave, c,
                          testo_di(genere::trattino_chiave, {corto(c.testo), *scritta})),
          *scritta);
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
  void ignorata(const campo_sorgente& c, parte dove, const parola_chiave* altrove) {
    if (c.testo.empty() || intestazione_di_sezione(c.testo) || c.riga == riga_ignorata_) return;
    riga_ignorata_ = c.riga;
    if (c.riga == fine_riga_) return in_piu(c);
    if (altrove != nullptr && dove == parte::intestazione && altrove->dove == parte::corpo) {
      nell_intestazione(c, *altrove);
    } else if (e_numero(c.testo)) {
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

  // An unknown keyword; an error when one is near, or when numbers follow it: its
  // row is lost.
  void sconosciuta(const campo_sorgente& c) {
    if (!v_.accetta(genere::chiave_sconosciuta.nome)) return;
    const std::size_t n = numero_incollato(c.testo, true);
    const bool incollato = n != std::string_view::npos;
    const bool persa = incollato || seguita_da_numero(resto_della_riga(testo_, c.fine));
    std::string m = citazione(c.testo) + " non e' una parola chiave: ignorata";
    if (persa) m.append(" con i numeri che la seguono: la riga va persa");
    if (incollato) m.append("; manca una virgola prima di ").append(citazione(c.testo.substr(n)));
    auto vicina = parola_vicina(incollato ? c.testo.substr(0, n - 1) : c.testo, v_.testo);
    if (vicina && incollato) vicina->append(", ").append(c.testo.substr(n));
    if (vicina) m.append("; forse ").append(citazione(*vicina)).append("?");
    diagnosi* d = al_campo_chiave(genere::chiave_sconosciuta, c, std::move(m), !vicina && !persa);
    if (vicina) con_sostituzione(d, *vicina);
  }

  // A line its author meant as a comment: the format has none, and its fields are
  // read as any others. Told at its first field, and at any later one read as a row;
  // a line read as nothing is not told again as unknown. True when told.
  bool riga_di_commento(const campo_chiave& k) {
    const campo_sorgente& c = k.campo;
    if (c.riga == riga_commento_) {
      const parola_chiave* letta = k.tipo == voce::chiave ? cerca(k.dove, c.testo).prima : nullptr;
      if (letta != nullptr)
        al_campo_chiave(genere::commento, c,
                        testo_di(genere::commento, {corto(c.testo), letta_come(*letta)}));
      return letta != nullptr;
    }
    if (!commento(c.testo) || !primo_della_riga(c)) return false;
    riga_commento_ = c.riga;
    const parola_chiave* letta = k.tipo == voce::chiave ? cerca(k.dove, c.testo).prima : nullptr;
    std::string che;
    if (letta != nullptr)
      che = letta_come(*letta);
    else if (k.tipo == voce::trattino)
      che = "contiene '-': il compilatore la salta e legge il campo dopo al suo posto";
    else if (intestazione_di_sezione(c.testo))
      che = "il compilatore la legge come un'intestazione di sezione";
    else
      che = "il compilatore la legge come parola chiave e la ignora";
    al_campo_chiave(genere::commento, c, testo_di(genere::commento, {corto(c.testo), che}),
                    letta == nullptr);
    if (letta == nullptr) riga_ignorata_ = c.riga;
    return true;
  }

  static std::string letta_come(const parola_chiave& k) {
    return "il compilatore la legge come riga " + citazione(k.nome) + " e ne prende " +
           numero_campi(k.campi.size()) + " dai campi che seguono";
  }

  bool primo_della_riga(const campo_sorgente& c) const {
    return testo_.substr(c.inizio_riga, c.inizio - c.inizio_riga).find_first_not_of(' ') ==
           std::string_view::npos;
  }

  // A number after the keyword without its comma is part of the keyword field: the
  // row takes its fields from the ones after.
  void incollato(const campo_sorgente& chiave, const parola_chiave& k) {
    const std::size_t n = numero_incollato(chiave.testo, cifra_nella_chiave(k));
    if (n == std::string_view::npos) return;
    std::string m = "il compilatore legge " + citazione(chiave.testo.substr(n)) +
                    " come parte della parola chiave e prende i campi della riga da quelli dopo";
    const char classe = classe_curva(chiave.testo);
    if (k.id == chiave::curva && classe != classe_curva(chiave.testo.substr(0, n)))
      m.append("; e la curva diventa di classe ").append(1, classe);
    al_campo_chiave(genere::virgola_mancante, chiave,
                    testo_di(genere::virgola_mancante, {corto(chiave.testo), m}));
  }

  // Where the field after a number field begins when only blanks part them on its
  // line, as an offset from the number's end; npos when a comma or the line end does.
  std::size_t dopo_spazi(const campo_sorgente& a) const {
    const std::string_view dopo = resto_della_riga(testo_, a.fine);
    const std::size_t j = dopo.find_first_not_of(' ');
    return j == std::string_view::npos || dopo[j] == ',' ? std::string_view::npos : j;
  }

  // Two numbers with only blanks between them, where the row's line holds one too
  // many: the compiler takes each as a field, and the line's last number is left
  // over. A row written with blanks alone between its numbers ("orologio, 8 0 0 0")
  // has no comma a blank stands for: only its extra number is told.
  void due_numeri(const riga_letta& r, const campi_riga& letti) {
    std::size_t unito = letti.letti;
    bool virgole = letti.letti < 2;
    for (std::size_t i = 0; i < letti.letti; ++i) {
      const campo_sorgente& a = letti.campi[i];
      const bool numero = r.k->campi[i].tipo != larghezza::testo;
      const bool spazi = numero && a.riga == r.riga && dopo_spazi(a) != std::string_view::npos;
      if (spazi && unito == letti.letti) unito = i;
      if (!spazi) virgole = true;
    }
    if (unito == letti.letti || !virgole) return;
    const campo_sorgente& a = letti.campi[unito];
    const std::size_t j = dopo_spazi(a);
    const std::string_view secondo = primo_pezzo(resto_della_riga(testo_, a.fine).substr(j));
    std::string m = corto(a.testo) + " come " + citazione(r.k->campi[unito].nome);
    if (unito + 1 < letti.letti)
      m.append(" e ")
          .append(corto(secondo))
          .append(" come ")
          .append(citazione(r.k->campi[unito + 1].nome))
          .append(
              ": i campi dopo scorrono di uno e l'ultimo numero della riga resta in piu', "
              "ignorato");
    else
      m.append("; ").append(corto(secondo)).append(" resta in piu' ed e' ignorato");
    const std::size_t lungo = a.fine - a.inizio + j + secondo.size();
    diagnosi* d =
        v_.segnala(genere::due_numeri, a.riga, a.colonna, &r.k->campi[unito],
                   testo_di(genere::due_numeri, {corto(testo_.substr(a.inizio, lungo)), m}));
    if (d != nullptr) d->colonna_fine = fine_del_campo(a.colonna, lungo);
    riga_ignorata_ = r.riga;
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
    incollato(chiave, k);
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
    std::int32_t sulla_riga = r.riga;  // the line the row's fields have reached
    for (std::size_t i = 0; i < letti.letti; ++i) {
      const campo_sorgente& s = letti.campi[i];
      const campo_letto c = come_letto(s, k.campi[i]);
      if (s.riga != sulla_riga) {
        // A line that starts with a keyword, a section header or a comment is a row of
        // its own, lost to this one; any other line continues the row, as the format allows.
        if (riga_a_se(s)) {
          if (v_.accetta(genere::campi_mancanti.nome)) mancanti(r, preso_dalla_riga(c, k.campi[i]));
          verifica_campi(v_, r);
          w_.riparti_dalla_riga(s);
          return;
        }
        // An empty line gives the row an empty field; the next line says more.
        if (!s.testo.empty()) continuata(r, s, i);
        sulla_riga = s.riga;
      }
      r.campi[r.letti++] = c;
    }
    if (!r.completa()) mancanti(r, "il testo finisce prima: il compilatore si ferma", 25);
    fine_riga_ = w_.a_inizio_riga() ? 0 : sulla_riga;
    fine_chiave_ = &k;
    if (fine_riga_ != 0) due_numeri(r, letti);
    verifica_campi(v_, r);
    if (!r.completa()) return;
    verifica_riga(v_, r);
    occupa_celle(v_, r);
  }

  bool riga_a_se(const campo_sorgente& c) {
    if (intestazione_di_sezione(c.testo) || commento(c.testo)) return true;
    const corrispondenze k = cerca_ricordando(c.testo, w_.attuale());
    return k.prima != nullptr || k.altrove != nullptr;
  }

  void continuata(const riga_letta& r, const campo_sorgente& c, std::size_t i) {
    if (!v_.accetta(genere::riga_continuata.nome)) return;
    diagnosi* d =
        v_.segnala(genere::riga_continuata, c.riga, c.colonna, &r.k->campi[i],
                   testo_di(genere::riga_continuata,
                            {corto(r.k->nome), std::to_string(r.riga), elenco_campi(*r.k, i)}));
    if (d != nullptr) d->colonna_fine = fine_del_campo(c.colonna, c.fine - c.inizio);
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
    // Just past the row's last field, where the missing ones would go.
    std::int32_t riga = r.riga;
    auto colonna = static_cast<std::int32_t>(r.colonna + r.chiave.size());
    if (r.letti > 0) {
      const campo_letto& ultimo = r.campi[r.letti - 1];
      riga = ultimo.riga;
      colonna = ultimo.colonna + static_cast<std::int32_t>(ultimo.testo.size());
    }
    v_.segnala(genere::campi_mancanti, riga, colonna, &r.k->campi[r.letti],
               testo_di(genere::campi_mancanti, {corto(r.k->nome), numero_campi(r.k->campi.size()),
                                                 quanti, elenco_campi(*r.k, r.letti), perche}),
               codice);
  }

  // Rows that share one finding, told at the first once the last is known.
  struct serie {
    std::optional<std::size_t> indice;  // of the finding in v_.trovate, once recorded
    std::size_t righe = 0;
    std::int32_t ultima = 0;
    std::string_view chiave;
    std::string_view nome;
  };

  verifica_in_corso& v_;
  cammino_righe w_;
  serie prima_;   // rows before [generale]
  serie aperta_;  // body rows in a header not closed
  std::string_view testo_;
  campi_riga letti_;  // the row being read, kept from row to row
  riga_letta riga_;   // and the same row as its author wrote it
  std::int32_t riga_ignorata_ = 0;
  std::int32_t riga_commento_ = 0;
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

// The state of one text: its bytes, its encoding not yet asked.
void inizia_testo(verifica_in_corso& v, fonte f, std::span<const std::uint8_t> testo) {
  v.testo = f;
  v.sorgente = testo;
  v.utf8.reset();
  v.utf8_detto = false;
}

}  // namespace

void leggi_linea(verifica_in_corso& v, std::span<const std::uint8_t> testo) {
  inizia_testo(v, fonte::linea, testo);
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
  inizia_testo(v, fonte::treno, testo);
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
