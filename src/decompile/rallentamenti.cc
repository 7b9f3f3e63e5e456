#include "decompile/rallentamenti.h"

#include <optional>

#include "decompile/posizioni.h"
#include "model/numeri.h"
#include "placement/prese.h"
#include "sintassi/parole_chiave.h"

namespace percorso {
namespace {

class lettura {
 public:
  explicit lettura(std::span<const cella> celle)
      : celle_(celle), usata_(celle.size(), false), n_(std::ssize(celle)) {}

  rallentamenti_ricostruiti leggi() {
    for (std::int64_t s = 0; s < n_; ++s)
      if (evento_a(s) == evento::inizio_rallentamento) rallentamento(s);
    for (std::int64_t c = 0; c < n_; ++c) {
      const std::uint8_t e = evento_a(c);
      const bool parte = e == evento::fine_rallentamento || e == evento::avviso_rallentamento ||
                         e == evento::preavviso;
      if (parte && !usata_[static_cast<std::size_t>(c)])
        r_.guasti.push_back({tipo_file::celle, "cella " + std::to_string(c) +
                                                   ": parte di un rallentamento senza il suo "
                                                   "inizio"});
    }
    return std::move(r_);
  }

 private:
  std::uint8_t evento_a(std::int64_t c) const {
    return c >= 0 && c < n_ ? celle_[static_cast<std::size_t>(c)].evento : evento::nessuno;
  }
  // A cell's values as the slowdown wrote them: cell 1 has the header's in place of its two first.
  cella valori(std::int64_t c) const {
    cella v = celle_[static_cast<std::size_t>(c)];
    if (c == cella_di_controllo) v.dato_1 = v.dato_2 = 0;
    return v;
  }
  bool libera_con(std::int64_t c, std::uint8_t e, std::int16_t d1, std::int16_t d2,
                  std::int16_t d3) const {
    if (evento_a(c) != e || usata_[static_cast<std::size_t>(c)]) return false;
    const cella v = valori(c);
    return v.dato_1 == d1 && v.dato_2 == d2 && v.dato_3 == d3 && v.dato_4 == 0 &&
           v.tempo_segnale == 0;
  }

  // The four pre-warning cells from k back, and whether they show a second speed.
  std::optional<bool> preavviso(std::int64_t k) const {
    std::optional<bool> con_dv;
    for (int n = 0; n < celle_preavviso; ++n) {
      const auto d = static_cast<std::int16_t>(n + 1);
      const bool senza = libera_con(k - n, evento::preavviso, d, 0, 0);
      const bool con = libera_con(k - n, evento::preavviso, d, d, 0);
      if (!senza && !con) return std::nullopt;
      if (con_dv && *con_dv != con) return std::nullopt;
      con_dv = con;
    }
    return con_dv;
  }

  void rallentamento(std::int64_t s) {
    const cella v = valori(s);
    std::optional<std::int64_t> avviso;
    for (std::int64_t w : {s - 24, s - 25, s - 23})
      if (!avviso && libera_con(w, evento::avviso_rallentamento, v.dato_1, v.dato_2, 0)) avviso = w;
    // Where in its cell the start lies: nearest to the cell's own position first.
    std::optional<std::int64_t> x;
    std::optional<bool> run;
    for (int passo = 0; passo <= 50 && !run; ++passo) {
      const std::int64_t prova = 50 * (s - 1) + (passo % 2 == 0 ? passo / 2 : -(passo + 1) / 2);
      if (cella_di(prova, 1) != s) continue;
      const prese_rallentamento p = prese_di_rallentamento(prova, 0);
      if (p.avviso.has_value() != avviso.has_value()) continue;
      if (avviso && p.avviso->cella != *avviso) continue;
      if (!x) x = prova;
      if (avviso && preavviso(p.preavviso)) {
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
    usata_[static_cast<std::size_t>(s)] = true;
    if (avviso) usata_[static_cast<std::size_t>(*avviso)] = true;
    if (run)
      for (int n = 0; n < celle_preavviso; ++n)
        usata_[static_cast<std::size_t>(prese_di_rallentamento(*x, 0).preavviso - n)] = true;
    // A start and an end in one cell leave the start alone.
    std::int64_t l = 0;
    if (const auto e = fine(s, v)) {
      usata_[static_cast<std::size_t>(*e)] = true;
      l = posizione_in_cella(*e) - *x;
    }
    const std::int64_t d_v = v.dato_2 != 0 ? v.dato_2 : run.value_or(false) ? 65536 : 0;
    r_.righe.push_back({std::string(parola(chiave::rallentamento).nome),
                        {*x, v.dato_1, l, v.dato_3, run ? 1 : 0, d_v},
                        std::nullopt,
                        d_v == 65536 ? "seconda velocita' 65536: non 0, ma 0 nei suoi 16 bit, "
                                       "come dicono le celle di preavviso"
                                     : ""});
  }

  // The end cell: the nearest with the start's values, after it or else before it.
  std::optional<std::int64_t> fine(std::int64_t s, const cella& v) const {
    for (std::int64_t e = s + 1; e < n_; ++e)
      if (libera_con(e, evento::fine_rallentamento, v.dato_1, v.dato_2, v.dato_3)) return e;
    for (std::int64_t e = s - 1; e >= 0; --e)
      if (libera_con(e, evento::fine_rallentamento, v.dato_1, v.dato_2, v.dato_3)) return e;
    return std::nullopt;
  }

  std::span<const cella> celle_;
  std::vector<bool> usata_;
  const std::int64_t n_;
  rallentamenti_ricostruiti r_;
};

}  // namespace

rallentamenti_ricostruiti rallentamenti_letti(std::span<const cella> celle) {
  return lettura(celle).leggi();
}

}  // namespace percorso
