#include "decompile/intestazione.h"

#include <algorithm>

#include "format/codici.h"
#include "format/formato.h"
#include "placement/piazzamento.h"
#include "placement/prese.h"
#include "sintassi/parole_chiave.h"

namespace percorso {
namespace {

constexpr std::int64_t lunghezza_massima = 1000000;

riga_testo riga(chiave k, std::vector<std::int64_t> numeri, std::string solo_per = "") {
  return {std::string(parola(k).nome), std::move(numeri), std::nullopt, std::move(solo_per)};
}

struct riferimento {
  std::int32_t inizio, progressiva, flag;
  bool operator==(const riferimento&) const = default;
};

riferimento di(const punto& p) {
  return {p.valore_1, p.valore_2, p.valore_3};
}

// The reference as its row gave it: flag 1 added 100 m to the progressive.
riferimento letto(const punto& p) {
  riferimento r = di(p);
  if (r.flag == 1)
    r.progressiva = static_cast<std::int32_t>(static_cast<std::uint32_t>(r.progressiva) - 100u);
  return r;
}

constexpr int slot_righe[3] = {slot_progressiva_uno, slot_progressiva_due, slot_progressiva_tre};
constexpr chiave chiavi_righe[3] = {chiave::progressiva_uno, chiave::progressiva_due,
                                    chiave::progressiva_tre};

class lettura {
 public:
  lettura(const std::array<punto, numero_punti>& punti, std::int64_t ultima_cella,
          std::optional<std::int64_t> metri_piano, bool piano_vuoto)
      : punti_(punti), ultima_(ultima_cella), metri_piano_(metri_piano) {
    r_.ferma = piano_vuoto;
  }

  intestazione_ricostruita leggi() {
    const std::int64_t l = lunghezza();
    const punto& p86 = punti_[slot_ripetizione];
    const bool ferma_lunghezza = punti_[slot_treno].valore_2 != l;
    const bool ferma_ripetizione = p86.valore_1 % 50 != 0 || p86.valore_2 % 50 != 0 ||
                                   (p86.valore_2 != 0 && p86.valore_3 == 0);
    if (ferma_lunghezza && ferma_ripetizione)
      guasto(slot_ripetizione, "due righe che fermerebbero la compilazione nell'intestazione");
    r_.ferma = r_.ferma || ferma_lunghezza || ferma_ripetizione;
    r_.linea.push_back(riga(chiave::lunghezza, {l}));
    riferimenti();
    const punto& p85 = punti_[slot_percorso];
    r_.linea.push_back(riga(chiave::sfondo_uno, {p85.valore_1}));
    r_.linea.push_back(riga(chiave::sfondo_due, {p85.valore_3}));
    r_.linea.push_back(riga(chiave::sfondo_tre, {p85.valore_2}));
    ripetizione(ferma_ripetizione);
    if (ferma_lunghezza)
      r_.linea.push_back(riga(chiave::lunghezza, {punti_[slot_treno].valore_2},
                              "una lunghezza che ferma la compilazione, come nei file"));
    else if (r_.ferma && !ferma_ripetizione)
      r_.linea.push_back(riga(chiave::progressiva_uno, {punti_[slot_progressiva_uno].valore_1},
                              "riga tagliata: la compilazione che ha scritto i file si e' "
                              "fermata nell'intestazione della linea"));
    treno();
    campi_vuoti();
    return std::move(r_);
  }

 private:
  void guasto(int slot, const std::string& cosa) {
    r_.guasti.push_back({tipo_file::punti, "voce " + std::to_string(slot) + ": " + cosa});
  }

  // The length that made the cells (and the plan); a length in slot 84 that made none
  // is a later row that stopped the compile.
  std::int64_t lunghezza() {
    const std::int64_t scritta = punti_[slot_treno].valore_2;
    std::int64_t l = scritta;
    if (metri_piano_)
      l = *metri_piano_ - 1 - metri_oltre_la_linea;
    else if (ultima_cella_di(scritta) != ultima_ || scritta > lunghezza_massima)
      l = ultima_ * metri_per_cella - metri_oltre_la_linea;
    if (ultima_cella_di(l) != ultima_)
      r_.guasti.push_back({tipo_file::celle,
                           "il numero delle celle non viene da nessuna "
                           "lunghezza del percorso"});
    if (l != scritta && scritta <= lunghezza_massima && ultima_cella_di(scritta) >= 0 &&
        (!metri_piano_ || scritta + metri_oltre_la_linea >= 0))
      guasto(slot_treno,
             "una lunghezza che non ha fatto queste celle e non ferma la "
             "compilazione");
    return l;
  }

  // The rows of the three references (uno, due, tre): an order of the file's that the
  // compiler turns into the file's, the likeliest first; when none does, or the header
  // stopped before ordering them, the file's as they stand.
  void riferimenti() {
    const std::array<riferimento, 3> scritti = {di(punti_[slot_progressiva_tre]),
                                                di(punti_[slot_progressiva_due]),
                                                di(punti_[slot_progressiva_uno])};
    const riferimento letti[3] = {letto(punti_[slot_progressiva_tre]),
                                  letto(punti_[slot_progressiva_due]),
                                  letto(punti_[slot_progressiva_uno])};
    constexpr int ordini[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    riferimento righe[3];
    bool trovato = false;
    for (const auto& o : ordini) {
      if (r_.ferma) break;
      for (int i = 0; i < 3; ++i) righe[i] = letti[o[i]];
      if ((trovato = ordinati(righe) == scritti)) break;
    }
    if (!trovato) {
      r_.ferma = true;
      for (int i = 0; i < 3; ++i) righe[i] = di(punti_[static_cast<std::size_t>(slot_righe[i])]);
    }
    for (int i = 0; i < 3; ++i) {
      r_.linea.push_back(
          riga(chiavi_righe[i], {righe[i].inizio, righe[i].progressiva, righe[i].flag}));
      r_.riferimenti = r_.riferimenti || !(righe[i] == riferimento{0, 0, 0});
    }
  }

  // What the compiler leaves in slots 81, 82, 83 from the rows uno, due, tre.
  static std::array<riferimento, 3> ordinati(const riferimento (&righe)[3]) {
    modello m;
    for (int i = 0; i < 3; ++i) {
      punto& p = m.punti[static_cast<std::size_t>(slot_righe[i])];
      p.valore_1 = righe[i].inizio;
      p.valore_2 = righe[i].progressiva;
      p.valore_3 = righe[i].flag;
    }
    progressive_ordina(m);
    return {di(m.punti[slot_progressiva_tre]), di(m.punti[slot_progressiva_due]),
            di(m.punti[slot_progressiva_uno])};
  }

  // The signal repetition row, the stopping one when ferma: a distance that is no
  // multiple of 50, or a keyword without 4 or 9.
  void ripetizione(bool ferma) {
    const punto& p = punti_[slot_ripetizione];
    const std::int64_t a = p.valore_1, b = p.valore_2, codici = p.valore_3;
    auto con = [&](std::string_view cifra, std::vector<std::int64_t> numeri, std::string perche) {
      riga_testo t = riga(chiave::ripetizione, std::move(numeri), std::move(perche));
      t.chiave = "ripetizione segnali" + std::string(cifra) + " codici";
      r_.linea.push_back(std::move(t));
    };
    const std::string_view cifra = codici == 9 ? " 9" : " 4";
    if (codici != 0 && codici != 4 && codici != 9)
      guasto(slot_ripetizione, "un numero di codici diverso da 4, 9 o 0");
    if (!ferma) {
      if (b == 0 && codici != 0)
        guasto(slot_ripetizione, "un numero di codici con la seconda distanza 0");
      con(cifra, {a, b}, "");
    } else if (a % 50 != 0 || b % 50 != 0) {
      if (codici != 0)
        con(cifra, {0, 50}, "mette il numero di codici che la riga dopo non arriva a mettere");
      con(" 4", {a, b}, "una distanza che ferma la compilazione, come nei file");
    } else {
      con("", {a, b}, "senza 4 ne' 9: ferma la compilazione, come nei file");
    }
  }

  void treno() {
    const punto& p84 = punti_[slot_treno];
    const punto& p86 = punti_[slot_ripetizione];
    r_.treno.push_back(riga(chiave::vetture, {p84.valore_3}));
    r_.treno.push_back(riga(chiave::massa, {p84.valore_1}));
    r_.treno.push_back(riga(chiave::sabbia, {p86.parametro_1}));
    r_.treno.push_back(riga(chiave::orologio, {p86.parametro_3, p86.parametro_4, p86.parametro_5}));
  }

  // Fields of the fixed slots that no row writes; the header values and check codes
  // that the build writes from the names.
  void campi_vuoti() {
    for (int slot = slot_progressiva_tre; slot <= slot_ripetizione; ++slot) {
      punto resto = punti_[static_cast<std::size_t>(slot)];
      resto.valore_1 = resto.valore_2 = resto.valore_3 = 0;
      if (slot == slot_percorso) {
        resto.nome.clear();
        resto.parametro_1 = resto.parametro_1 == valore_slot_percorso ? 0 : resto.parametro_1;
        const punto& p86 = punti_[slot_ripetizione];
        if (resto.orario == codice_gara_st(p86.nome, punti_[slot_percorso].nome)) resto.orario = 0;
      }
      if (slot == slot_ripetizione) {
        resto.nome.clear();
        resto.parametro_1 = resto.parametro_3 = resto.parametro_4 = resto.parametro_5 = 0;
      }
      if (!(resto == punto{}))
        guasto(slot,
               "un campo che nessuna riga scrive, o un codice di "
               "controllo che non viene dai nomi");
    }
  }

  const std::array<punto, numero_punti>& punti_;
  const std::int64_t ultima_;
  const std::optional<std::int64_t> metri_piano_;
  intestazione_ricostruita r_;
};

}  // namespace

intestazione_ricostruita intestazione(const std::array<punto, numero_punti>& punti,
                                      std::int64_t ultima_cella,
                                      std::optional<std::int64_t> metri_piano, bool piano_vuoto) {
  return lettura(punti, ultima_cella, metri_piano, piano_vuoto).leggi();
}

}  // namespace percorso
