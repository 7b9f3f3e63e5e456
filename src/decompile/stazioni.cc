#include "decompile/stazioni.h"

#include <optional>

#include "placement/prese.h"
#include "sintassi/parole_chiave.h"

namespace percorso {
namespace {

bool vuota(const punto& p) {
  return p == punto{};
}

// The length and field 6 of a whole row that gives the entry's area and flags, if any.
struct area_della_riga {
  std::int64_t lunghezza = 0;
  std::int64_t campo_6 = 0;
};

std::optional<area_della_riga> riga_intera(const punto& e, std::int32_t k) {
  const std::int64_t p = e.valore_3, inizio = e.valore_1, fine = e.valore_2;
  const bool lati = e.codice >= 5 && e.codice <= 8;
  area_della_riga r;
  if (lati) {
    r.lunghezza = p - inizio;
    if (e.indicatore_3 != 0) return std::nullopt;
  } else {
    r.lunghezza = 2 * (p - inizio);
    // The first station loses its flag, but not the 50 m the flag added.
    if (k == 1 && e.indicatore_3 != 0) return std::nullopt;
    r.campo_6 = k == 1 ? (fine == p + r.lunghezza / 2 + 50 ? 1 : 0) : e.indicatore_3;
  }
  if (p % 50 != 0 || r.lunghezza % 100 != 0) return std::nullopt;
  const area a = area_stazione(e.codice, p, r.lunghezza, r.campo_6 != 0);
  if (a.inizio != inizio || a.fine != fine) return std::nullopt;
  if ((r.lunghezza < 600 || k == 1) && e.indicatore_4 != 0) return std::nullopt;
  return r;
}

// The numbers of a row in the order it is read, the time split as it reads best.
std::vector<std::int64_t> numeri_della_riga(const punto& e, std::int64_t lunghezza,
                                            std::int64_t campo_6) {
  const std::int64_t t = e.orario;
  return {e.valore_3,     e.codice,      lunghezza,     e.opzione,
          e.indicatore_4, campo_6,       e.parametro_1, e.parametro_2,
          e.indicatore_1, e.parametro_3, e.parametro_4, e.parametro_5,
          e.indicatore_2, t / 3600,      t % 3600 / 60, t % 60};
}

// The fields read before the compile stopped on a row: up to the last one the entry
// holds, the length read as 0; the name is never among them, or the area would follow.
std::optional<std::vector<std::int64_t>> riga_tagliata(const punto& e) {
  if (!e.nome.empty() || e.valore_1 != 0 || e.valore_2 != 0) return std::nullopt;
  std::vector<std::int64_t> numeri = numeri_della_riga(e, 0, e.indicatore_3);
  std::size_t letti = numeri.size();
  if (e.orario == 0) {
    letti = 13;
    while (letti > 1 && numeri[letti - 1] == 0) --letti;
  }
  numeri.resize(letti);
  return numeri;
}

class lettura_stazioni {
 public:
  lettura_stazioni(const std::array<punto, numero_punti>& punti, std::int32_t prima_cartelli,
                   std::int64_t ultima_cella)
      : punti_(punti), slot_cartello_(prima_cartelli - 1), ultima_cella_(ultima_cella) {}

  stazioni_ricostruite leggi() {
    std::int32_t n = 0;
    for (std::int32_t k = 1; k <= slot_cartello_ && k < numero_punti; ++k)
      if (!vuota(punti_[static_cast<std::size_t>(k)])) n = k;
    for (std::int32_t k = 1; k <= n; ++k) {
      if (!r_.stazioni.empty() && r_.stazioni.back().arresto != arresto::nessuno) {
        guasto(k - 1, "la compilazione si ferma su questa stazione, ma ne seguono altre");
        break;
      }
      stazione(k, k == n);
    }
    return std::move(r_);
  }

 private:
  void guasto(std::int32_t k, const std::string& cosa) {
    r_.guasti.push_back({tipo_file::punti, "voce " + std::to_string(k) + ": " + cosa});
  }

  void stazione(std::int32_t k, bool ultima) {
    const punto& e = punti_[static_cast<std::size_t>(k)];
    stazione_ricostruita s;
    s.voce = k;
    s.riga.chiave = std::string(parola(chiave::stazione).nome);
    if (!nome_scrivibile(e.nome))
      guasto(k, "un nome che un testo non puo' ridare (virgole, a capo o spazi ai lati)");
    const auto intera = riga_intera(e, k);
    if (!intera || oltre_le_celle(e.valore_3, margine_stazione, ultima_cella_)) {
      tagliata(s, e, ultima);
      r_.stazioni.push_back(std::move(s));
      return;
    }
    s.riga.numeri = numeri_della_riga(e, intera->lunghezza, intera->campo_6);
    s.riga.testo = e.nome;
    r_.orari = r_.orari || e.orario != 0;
    const bool lati = e.codice >= 5 && e.codice <= 8;
    r_.campi_azzerati = r_.campi_azzerati || intera->lunghezza < 600 || k == 1 || lati;
    celle(s, e, k);
    r_.stazioni.push_back(std::move(s));
  }

  // The cells of a whole row, and whether the compile stops after it (codes 24, 22, 10).
  void celle(stazione_ricostruita& s, const punto& e, std::int32_t k) {
    if (stazione_con_celle(e.codice)) {
      const std::int64_t t = cella_fermata({e.valore_1, e.valore_2});
      // The area stays within the cells: a station row past them stops at the bound test.
      if (t > ultima_cella_) {
        guasto(k, "una fermata oltre l'ultima cella");
        return;
      }
      if (e.codice != 5 && e.codice != 6)
        for (int j = 1; j <= 4; ++j)
          if (fermata_possibile(t - j)) s.avvicinamento.push_back(t - j);
      if (fermata_possibile(t))
        s.cella_fermata = t;
      else
        s.arresto = arresto::ferma;
    }
    if (k > 1 && std::int64_t{e.valore_1} - 350 < punti_[static_cast<std::size_t>(k - 1)].valore_2)
      s.arresto = arresto::ferma;
    if (k + 1 >= slot_cartello_) s.arresto = arresto::ferma;
  }

  void tagliata(stazione_ricostruita& s, const punto& e, bool ultima) {
    const std::int32_t k = s.voce;
    if (!ultima) guasto(k, "una stazione incompleta prima dell'ultima");
    s.riga.solo_per =
        "riga tagliata: la compilazione che ha scritto i file si e' fermata leggendo questa "
        "stazione";
    punto posizione;
    posizione.valore_3 = e.valore_3;
    const bool solo_posizione = e == posizione;
    if (oltre_le_celle(e.valore_3, margine_stazione, ultima_cella_) || e.valore_3 % 50 != 0) {
      if (!solo_posizione) guasto(k, "dati di una stazione che il compilatore non ha letto");
      s.riga.numeri = {e.valore_3};
      s.arresto = oltre_le_celle(e.valore_3, margine_stazione, ultima_cella_) ? arresto::fine_testo
                                                                              : arresto::ferma;
      return;
    }
    s.arresto = arresto::ferma;
    const auto numeri = riga_tagliata(e);
    if (!numeri) {
      guasto(k, "una stazione che nessuna riga scrive (area, nome e campi non si accordano)");
      s.riga.numeri = numeri_della_riga(e, 0, e.indicatore_3);
      return;
    }
    s.riga.numeri = *numeri;
  }

  const std::array<punto, numero_punti>& punti_;
  const std::int32_t slot_cartello_;
  const std::int64_t ultima_cella_;
  stazioni_ricostruite r_;
};

}  // namespace

bool nome_scrivibile(const std::string& nome) {
  if (nome.find_first_of(",\r\n") != std::string::npos) return false;
  return nome.empty() || (nome.front() != ' ' && nome.back() != ' ');
}

stazioni_ricostruite stazioni_dai_punti(const std::array<punto, numero_punti>& punti,
                                        std::int32_t prima_voce_cartelli,
                                        std::int64_t ultima_cella) {
  return lettura_stazioni(punti, prima_voce_cartelli, ultima_cella).leggi();
}

}  // namespace percorso
