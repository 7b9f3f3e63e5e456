#include "decompile/montagne.h"

#include <algorithm>
#include <array>

#include "model/numeri.h"

namespace percorso {
namespace {

constexpr std::int64_t passo_segni = 4;
constexpr std::int64_t distanza_tipo_3 = 150;

// A row being planned: its cells, the type byte it leaves and whether it marks.
struct tratto {
  std::int64_t prima = 0;
  std::int64_t ultima = 0;
  std::uint8_t tipo = 0;
  bool segnata = false;
  std::string solo_per;
};

// What the marks of the cell file ask: a mark that must be there (the cell holds event
// 11), one that must not (the cell holds no event), or either (another event covers it).
enum class segno : std::uint8_t { deve, vietato, libero };

class ricostruzione {
 public:
  explicit ricostruzione(std::span<const cella> celle) : celle_(celle), n_(std::ssize(celle)) {
    segni_.reserve(celle.size());
    for (const cella& c : celle)
      segni_.push_back(c.evento == evento::montagna  ? segno::deve
                       : c.evento == evento::nessuno ? segno::vietato
                                                     : segno::libero);
    prossimi_();
  }

  montagne_ricostruite righe() {
    std::vector<tratto> tipi;
    std::vector<std::int64_t> orfani;  // marks no row of the cell's own type makes
    for (std::int64_t a = 0; a < n_;) {
      std::int64_t b = a;
      while (b + 1 < n_ && celle_[u(b + 1)].montagna == celle_[u(a)].montagna) ++b;
      if (celle_[u(a)].montagna != 0)
        copri(a, b, celle_[u(a)].montagna, tipi, orfani);
      else
        for (std::int64_t c = a; c <= b; ++c)
          if (segni_[u(c)] == segno::deve) orfani.push_back(c);
      a = b + 1;
    }
    std::vector<tratto> tutti = segni_orfani(orfani);
    tutti.insert(tutti.end(), tipi.begin(), tipi.end());
    scrivi(tutti);
    return std::move(r_);
  }

 private:
  static std::size_t u(std::int64_t i) { return static_cast<std::size_t>(i); }

  // For every cell and each of the four phases, the first cell from it on that a row
  // marking in that phase may not reach: a mark out of phase, or an empty cell in phase.
  void prossimi_() {
    for (std::size_t f = 0; f < 4; ++f) {
      fuori_fase_[f].assign(u(n_ + 1), n_);
      vuota_in_fase_[f].assign(u(n_ + 1), n_);
      for (std::int64_t c = n_ - 1; c >= 0; --c) {
        const bool in_fase = static_cast<std::size_t>(c % passo_segni) == f;
        const segno s = segni_[u(c)];
        fuori_fase_[f][u(c)] = s == segno::deve && !in_fase ? c : fuori_fase_[f][u(c + 1)];
        vuota_in_fase_[f][u(c)] = s == segno::vietato && in_fase ? c : vuota_in_fase_[f][u(c + 1)];
      }
    }
    prossimo_segno_.assign(u(n_ + 1), n_);
    for (std::int64_t c = n_ - 1; c >= 0; --c)
      prossimo_segno_[u(c)] = segni_[u(c)] == segno::deve ? c : prossimo_segno_[u(c + 1)];
  }

  static std::size_t fase(std::int64_t c) { return u(c % passo_segni); }

  // The last cell a row from s may cover, unmarked and marked.
  std::int64_t fino_senza_segni(std::int64_t s) const { return prossimo_segno_[u(s)] - 1; }
  std::int64_t fino_con_segni(std::int64_t s) const {
    const std::int64_t primo_segno = s + passo_segni - 1;
    if (prossimo_segno_[u(s)] < primo_segno) return prossimo_segno_[u(s)] - 1;
    if (primo_segno >= n_) return n_ - 1;
    const std::size_t f = fase(primo_segno);
    return std::min(fuori_fase_[f][u(primo_segno)], vuota_in_fase_[f][u(primo_segno)]) - 1;
  }

  // Rows of type t over the cells a..b, cut where the marks change phase; when no cut
  // fits, one row without marks, and its marks come from rows of their own. Each cell
  // gets the start of a row that ends just before it, from the first start on.
  void copri(std::int64_t a, std::int64_t b, std::uint8_t t, std::vector<tratto>& tipi,
             std::vector<std::int64_t>& orfani) {
    std::vector<std::int64_t> da(u(b - a + 2), -1);
    std::int64_t coperto = a;  // every cell after a up to here is the start of a row
    for (std::int64_t s = a; s <= b && s <= coperto; ++s) {
      const std::int64_t fino = std::min(b, std::max(fino_senza_segni(s), fino_con_segni(s)));
      for (std::int64_t e = coperto + 1; e <= fino + 1; ++e) da[u(e - a)] = s;
      coperto = std::max(coperto, fino + 1);
    }
    if (coperto <= b) {
      senza_tagli(a, b, t, tipi, orfani);
      return;
    }
    std::vector<tratto> righe;
    for (std::int64_t e = b + 1; e > a; e = da[u(e - a)]) {
      const std::int64_t s = da[u(e - a)];
      righe.push_back({s, e - 1, t, fino_senza_segni(s) < e - 1, ""});
    }
    tipi.insert(tipi.end(), righe.rbegin(), righe.rend());
  }

  // One row over a..b, marking in the phase of its start when that makes some of the
  // marks and no cell in that phase is empty; the other marks come from rows of their own.
  void senza_tagli(std::int64_t a, std::int64_t b, std::uint8_t t, std::vector<tratto>& tipi,
                   std::vector<std::int64_t>& orfani) {
    const std::int64_t primo = a + passo_segni - 1;
    const bool segnata = primo <= b && vuota_in_fase_[fase(primo)][u(primo)] > b;
    tipi.push_back({a, b, t, segnata, ""});
    for (std::int64_t c = a; c <= b; ++c)
      if (segni_[u(c)] == segno::deve && !(segnata && c >= primo && fase(c) == fase(primo)))
        orfani.push_back(c);
  }

  // Rows of type 0 that only mark, one per run of marks in one phase, written before
  // the rows of the types.
  std::vector<tratto> segni_orfani(const std::vector<std::int64_t>& orfani) {
    std::vector<tratto> righe;
    for (std::size_t i = 0; i < orfani.size();) {
      const std::int64_t primo = orfani[i];
      if (primo < passo_segni - 1) {
        r_.problemi.push_back("cella " + std::to_string(primo) +
                              ": un segno di montagna dove nessun tratto lo puo' mettere");
        ++i;
        continue;
      }
      std::int64_t ultimo = primo;
      const std::size_t f = fase(primo);
      for (++i; i < orfani.size() && fase(orfani[i]) == f &&
                vuota_in_fase_[f][u(ultimo + 1)] >= orfani[i];
           ++i)
        ultimo = orfani[i];
      righe.push_back({primo - (passo_segni - 1), ultimo, 0, true,
                       "tipo 0 con i segni: mette i segni di montagna che le righe dei tipi non "
                       "mettono"});
    }
    return righe;
  }

  // The largest start in metres that still falls in cell a, and the smallest end that
  // still ends the row at cell b: a row keeps its cells and the gap to the next row grows.
  static std::int64_t inizio_ultimo(std::int64_t a) {
    return cella_di(50 * a + 25, 0) == a ? 50 * a + 25 : 50 * a + 24;
  }
  static std::int64_t fine_prima(std::int64_t b) {
    return cella_di(50 * b + 25, -1) == b ? 50 * b + 25 : 50 * b + 26;
  }

  static std::int64_t tipo_scritto(const tratto& t) {
    if (t.segnata) return 10 + (t.tipo == 0 ? 256 : t.tipo);
    return t.tipo <= 10 ? t.tipo : std::int64_t{t.tipo} - 256;
  }

  void scrivi(const std::vector<tratto>& tratti) {
    const std::int64_t inizio_massimo = 50 * (n_ - 1) - 100;
    for (const tratto& t : tratti) {
      riga_montagna r{50 * t.prima, 50 * (t.ultima + 1), tipo_scritto(t), t.solo_per};
      if (r.inizio > inizio_massimo)
        r_.problemi.push_back("cella " + std::to_string(t.prima) +
                              ": un tratto di montagna che comincia oltre l'ultima posizione di "
                              "una riga");
      if (!r_.righe.empty() && t.tipo != 3 && r.inizio - r_.righe.back().fine <= distanza_tipo_3)
        separa(r, t);
      if (r.solo_per.empty() && !t.segnata && t.tipo > 10)
        r.solo_per = "tipo negativo: un tipo sopra 10 senza segni";
      r_.righe.push_back(std::move(r));
    }
  }

  // Keeps the close-follower rule off r: the two rows moved within their cells when
  // that is enough, else a row that covers no cell between them.
  void separa(riga_montagna& r, const tratto& t) {
    riga_montagna& prima = r_.righe.back();
    const std::int64_t fine = fine_prima(cella_di(prima.fine, -1));
    const std::int64_t inizio = std::min(inizio_ultimo(t.prima), 50 * (n_ - 1) - 100);
    if (inizio - fine > distanza_tipo_3 && cella_di(inizio, 0) == t.prima) {
      prima.fine = fine;
      r.inizio = inizio;
      return;
    }
    r_.righe.push_back({0, -1000, 0,
                        "non copre nessuna cella: la riga dopo comincia a meno di 150 m dalla "
                        "fine di quella prima, e senza questa prenderebbe il tipo 3"});
  }

  std::span<const cella> celle_;
  std::int64_t n_;
  std::vector<segno> segni_;
  std::array<std::vector<std::int64_t>, 4> fuori_fase_;     // next mark out of each phase
  std::array<std::vector<std::int64_t>, 4> vuota_in_fase_;  // next empty cell in each phase
  std::vector<std::int64_t> prossimo_segno_;
  montagne_ricostruite r_;
};

}  // namespace

montagne_ricostruite righe_montagne(std::span<const cella> celle) {
  return ricostruzione(celle).righe();
}

}  // namespace percorso
