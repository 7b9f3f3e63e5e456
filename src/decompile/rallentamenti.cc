#include "decompile/rallentamenti.h"

#include <array>
#include <cstdlib>
#include <iterator>
#include <map>
#include <optional>
#include <set>

#include "decompile/posizioni.h"
#include "model/numeri.h"
#include "placement/prese.h"
#include "sintassi/parole_chiave.h"

namespace percorso {
namespace {

class lettura {
 public:
  lettura(std::span<const cella> celle, const std::vector<fermata>& fermate)
      : celle_(celle),
        usata_(celle.size(), false),
        stazione_(celle.size(), 0),
        fermate_(fermate),
        n_(std::ssize(celle)) {
    for (const fermata& f : fermate) stazione_[u(f.cella)] = f.stazione;
    for (std::int64_t e = 0; e < n_; ++e) {
      const cella v = valori(e);
      if (v.evento == evento::fine_rallentamento && v.dato_4 == 0 && v.tempo_segnale == 0)
        fini_[chiave_fine(v)].insert(e);
    }
  }

  rallentamenti_ricostruiti leggi() {
    for (std::int64_t s = 0; s < n_; ++s)
      if (evento_a(s) == evento::inizio_rallentamento) rallentamento(s, valori(s));
    // A start under a stop cell: its end shows its values.
    for (std::int64_t e = 0; e < n_; ++e)
      if (evento_a(e) == evento::fine_rallentamento && !usata_[u(e)]) inizio_nascosto(e);
    for (std::int64_t c = 0; c < n_; ++c) {
      const std::uint8_t e = evento_a(c);
      const bool parte = e == evento::fine_rallentamento || e == evento::avviso_rallentamento ||
                         e == evento::preavviso;
      if (parte && !usata_[u(c)])
        r_.guasti.push_back({tipo_file::celle, "cella " + std::to_string(c) +
                                                   ": parte di un rallentamento senza il suo "
                                                   "inizio"});
    }
    for (const fermata& f : fermate_)
      if (!usata_[u(f.cella)]) r_.fermate_libere.push_back(f);
    return std::move(r_);
  }

 private:
  static std::size_t u(std::int64_t c) { return static_cast<std::size_t>(c); }

  std::uint8_t evento_a(std::int64_t c) const {
    return c >= 0 && c < n_ ? celle_[u(c)].evento : evento::nessuno;
  }
  // A cell's values as the slowdown wrote them: cell 1 has the header's in place of its
  // two first.
  cella valori(std::int64_t c) const {
    cella v = celle_[u(c)];
    if (c == cella_di_controllo) v.dato_1 = v.dato_2 = 0;
    return v;
  }
  // Whether cell c can be a part of event e with these values: shown, or under a stop
  // cell, which keeps all but the first.
  bool parte(std::int64_t c, std::uint8_t e, std::int16_t d1, std::int16_t d2, std::int16_t d3,
             bool anche_nascosta) const {
    if (c < 0 || c >= n_ || usata_[u(c)]) return false;
    const bool nascosta = stazione_[u(c)] != 0;
    if (evento_a(c) != e && !(anche_nascosta && nascosta)) return false;
    const cella v = valori(c);
    return (nascosta || v.dato_1 == d1) && v.dato_2 == d2 && v.dato_3 == d3 && v.dato_4 == 0 &&
           v.tempo_segnale == 0;
  }

  // The four pre-warning cells from k back, and whether they show a second speed.
  std::optional<bool> preavviso(std::int64_t k) const {
    std::optional<bool> con_dv;
    for (int n = 0; n < celle_preavviso; ++n) {
      const auto d = static_cast<std::int16_t>(n + 1);
      const bool senza = parte(k - n, evento::preavviso, d, 0, 0, true);
      const bool con = parte(k - n, evento::preavviso, d, d, 0, true);
      if (!senza && !con) return std::nullopt;
      if (con_dv && *con_dv != con) return std::nullopt;
      con_dv = con;
    }
    return con_dv;
  }

  // The warning board of a start in cell s: shown, else none when the start may lie
  // within 1500 m, else under a stop cell.
  std::optional<std::int64_t> avviso(std::int64_t s, const cella& v) const {
    for (const bool nascosto : {false, true}) {
      if (nascosto && s <= cella_di(1500, 1)) return std::nullopt;
      for (std::int64_t w : {s - 24, s - 25, s - 23})
        if (parte(w, evento::avviso_rallentamento, v.dato_1, v.dato_2, 0, nascosto)) return w;
    }
    return std::nullopt;
  }

  // The slowdown whose start is cell s, with the start's values v.
  void rallentamento(std::int64_t s, const cella& v) {
    const auto w = avviso(s, v);
    // Where in its cell the start lies: nearest to the cell's own position first.
    std::optional<std::int64_t> x;
    std::optional<bool> run;
    for (int passo = 0; passo <= 50 && !run; ++passo) {
      const std::int64_t prova = 50 * (s - 1) + (passo % 2 == 0 ? passo / 2 : -(passo + 1) / 2);
      if (cella_di(prova, 1) != s) continue;
      const prese_rallentamento p = prese_di_rallentamento(prova, 0);
      if (p.avviso.has_value() != w.has_value() || (w && p.avviso->cella != *w)) continue;
      if (!x) x = prova;
      if (w && preavviso(p.preavviso)) {
        x = prova;
        run = preavviso(p.preavviso);
      }
    }
    if (!x) {
      r_.guasti.push_back({tipo_file::celle, "cella " + std::to_string(s) +
                                                 ": un rallentamento senza il suo avviso 1200 m "
                                                 "prima"});
      return;
    }
    std::vector<std::int64_t> celle = {s};
    if (w) celle.push_back(*w);
    if (run)
      for (int n = 0; n < celle_preavviso; ++n)
        celle.push_back(prese_di_rallentamento(*x, 0).preavviso - n);
    // A start and an end in one cell leave the start alone.
    std::int64_t l = 0;
    if (const auto e = fine(s, v)) {
      celle.push_back(*e);
      fini_[chiave_fine(v)].erase(*e);
      l = posizione_in_cella(*e) - *x;
    }
    const std::int64_t d_v = v.dato_2 != 0 ? v.dato_2 : run.value_or(false) ? 65536 : 0;
    riga_testo riga{std::string(parola(chiave::rallentamento).nome),
                    {*x, v.dato_1, l, v.dato_3, run ? 1 : 0, d_v},
                    std::nullopt,
                    d_v == 65536 ? "seconda velocita' 65536: non 0, ma 0 nei suoi 16 bit, come "
                                   "dicono le celle di preavviso"
                                 : ""};
    std::int32_t sotto = 0;
    for (const std::int64_t c : celle) {
      usata_[u(c)] = true;
      if (stazione_[u(c)] != 0) sotto = stazione_[u(c)];
    }
    if (sotto == 0) {
      r_.righe.push_back(std::move(riga));
      return;
    }
    riga.solo_per += (riga.solo_per.empty() ? "" : "; ") +
                     std::string("una parte sotto la fermata della stazione ") +
                     std::to_string(sotto) + ": ne restano i valori di questo rallentamento";
    r_.prima_delle_stazioni.push_back(std::move(riga));
  }

  // The values an end cell shares with its start.
  using valori_fine = std::array<std::int16_t, 3>;
  static valori_fine chiave_fine(const cella& v) { return {v.dato_1, v.dato_2, v.dato_3}; }

  // The end cell: the nearest free one with the start's values, after it or else before it.
  std::optional<std::int64_t> fine(std::int64_t s, const cella& v) const {
    const auto f = fini_.find(chiave_fine(v));
    if (f == fini_.end() || f->second.empty()) return std::nullopt;
    const auto dopo = f->second.upper_bound(s);
    if (dopo != f->second.end()) return *dopo;
    return *std::prev(dopo);
  }

  // A start under the stop cell nearest before the end cell e that kept its values.
  void inizio_nascosto(std::int64_t e) {
    const cella v = valori(e);
    std::optional<std::int64_t> s;
    for (const fermata& f : fermate_) {
      if (f.cella > e || !parte(f.cella, evento::inizio_rallentamento, 0, v.dato_2, v.dato_3, true))
        continue;
      if (!s || f.cella > *s) s = f.cella;
    }
    if (s) rallentamento(*s, v);
  }

  std::span<const cella> celle_;
  std::vector<bool> usata_;
  std::vector<std::int32_t> stazione_;  // the station whose stop cell it is; 0: none
  const std::vector<fermata>& fermate_;
  std::map<valori_fine, std::set<std::int64_t>> fini_;  // the end cells not yet taken
  const std::int64_t n_;
  rallentamenti_ricostruiti r_;
};

}  // namespace

rallentamenti_ricostruiti rallentamenti_letti(std::span<const cella> celle,
                                              const std::vector<fermata>& fermate) {
  return lettura(celle, fermate).leggi();
}

}  // namespace percorso
