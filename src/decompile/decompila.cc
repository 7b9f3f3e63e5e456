#include "decompile/decompila.h"

#include <optional>

#include "decompile/cartelli.h"
#include "decompile/controlli.h"
#include "decompile/curve.h"
#include "decompile/intestazione.h"
#include "decompile/montagne.h"
#include "decompile/ordine_treno.h"
#include "decompile/posizioni.h"
#include "decompile/profili.h"
#include "decompile/punti_velocita.h"
#include "decompile/rallentamenti.h"
#include "decompile/segnali.h"
#include "decompile/stazioni.h"
#include "format/unita_celle.h"
#include "model/numeri.h"
#include "sintassi/parole_chiave.h"

namespace percorso {
namespace {

std::string nome_di(chiave k) {
  return std::string(parola(k).nome);
}

// The row that stops the compile by reading past the end of its text.
riga_testo riga_che_ferma(chiave k, std::string perche) {
  return {nome_di(k), {0}, std::nullopt, std::move(perche)};
}

// A profile's rows as rows of its keyword, each value as the row writes it.
template <typename Valore>
std::vector<riga_testo> righe_di_profilo(chiave k, const std::vector<riga_profilo>& righe,
                                         Valore valore) {
  std::vector<riga_testo> r;
  for (const riga_profilo& p : righe)
    r.push_back({nome_di(k),
                 {posizione_alla_cella(p.cella), valore(p.valore)},
                 std::nullopt,
                 p.indietro ? "dietro il cursore: scrive una cella sola, tra le ultime, dove "
                              "nessuna riga puo' stare"
                            : ""});
  return r;
}

// The bytes of one profile field of every cell.
template <typename Campo>
std::vector<std::uint8_t> profilo(std::span<const cella> celle, Campo campo) {
  std::vector<std::uint8_t> b;
  b.reserve(celle.size());
  for (const cella& c : celle) b.push_back(c.*campo);
  return b;
}

// A row of the train text's events, with the section it goes under.
struct evento_treno {
  std::string sezione;
  riga_testo riga;
};

class ricostruzione {
 public:
  ricostruzione(std::span<const cella> celle, const std::array<punto, numero_punti>& punti,
                std::optional<file_piano> piano)
      : celle_(celle), punti_(punti), piano_(piano), ultima_(std::ssize(celle) - 1) {}

  decompilazione esegui() {
    d_.nome_percorso = punti_[slot_percorso].nome;
    d_.numero_treno = punti_[slot_ripetizione].nome;
    if (ultima_ < 3) {
      guasto(tipo_file::celle, "troppo poche celle per una linea");
      return std::move(d_);
    }
    aggiungi(intestazione_della_cella_1(celle_, d_.numero_treno, d_.nome_percorso));
    std::optional<curve_del_piano> curve;
    if (piano_) {
      curve = curve_dal_piano(piano_->byte, piano_->metri, ultima_);
      aggiungi_problemi(d_.guasti, tipo_file::piano, curve->problemi);
    }
    const auto testa = intestazione(
        punti_, ultima_, piano_ ? std::optional<std::int64_t>(piano_->metri) : std::nullopt,
        curve && curve->fine == fine_piano::vuoto);
    aggiungi(testa.guasti);
    indovina(testa.riferimenti, indovinato::riferimenti);
    linea_.push_back({std::string(generale), testa.linea});
    if (testa.ferma) {
      d_.arresto = "nell'intestazione della linea: il resto e il testo del treno non sono letti";
      if (curve && curve->fine != fine_piano::vuoto)
        guasto(tipo_file::piano, "un tracciato, ma la compilazione si e' fermata prima di farlo");
      aggiungi(senza_corpo(celle_, punti_));
    } else {
      indovina(true, indovinato::metri);
      const bool corpo_fermato =
          curve && (curve->fine == fine_piano::fermato || curve->fine == fine_piano::oltre);
      corpo(curve, corpo_fermato);
      if (corpo_fermato) {
        d_.arresto = "nel corpo della linea, all'ultima riga: il testo del treno non e' letto";
        aggiungi(senza_treno(celle_, punti_, !stazioni_.stazioni.empty()));
      } else {
        treno(testa.treno);
      }
    }
    indovina(true, indovinato::ordine);
    indovina(true, indovinato::documenti);
    elenca_indovinati();
    d_.linea = impagina(linea_);
    d_.treno = impagina(treno_.empty()
                            ? std::vector<blocco_testo>{{std::string(generale), {}}, {"[fine]", {}}}
                            : treno_);
    return std::move(d_);
  }

 private:
  void guasto(tipo_file f, std::string cosa) { d_.guasti.push_back({f, std::move(cosa)}); }
  void aggiungi(const problemi& p) { d_.guasti.insert(d_.guasti.end(), p.begin(), p.end()); }
  // What the files do not keep, in the order the report tells it.
  enum class indovinato : std::size_t {
    metri,
    ordine,
    riferimenti,
    segnali,
    indicatori,
    velocita,
    orari,
    campi_azzerati,
    documenti,
    numero
  };
  void indovina(bool se, indovinato cosa) {
    if (se) indovinati_[static_cast<std::size_t>(cosa)] = true;
  }
  void elenca_indovinati() {
    static constexpr std::string_view testi[] = {
        "i metri esatti: ogni riga sta all'inizio della sua cella (stazioni e curve hanno i "
        "loro)",
        "l'ordine delle righe",
        "da quale riga (uno, due, tre) viene ogni riferimento chilometrico",
        "come i codici dei segnali si dividono in cifre e tra i lati s e d",
        "come le velocita' degli indicatori si dividono tra i lati s e d",
        "le velocita' massime che non sono multipli di 5 km/h: le celle le tengono in passi di 5",
        "come ogni orario si divide in ore, minuti e secondi",
        "i campi 5 e 6 delle stazioni, dove il compilatore li azzera",
        "i documenti (scheda treno, ordine di rallentamento, note): i file compilati non li "
        "contengono"};
    static_assert(std::size(testi) == static_cast<std::size_t>(indovinato::numero));
    for (std::size_t i = 0; i < std::size(testi); ++i)
      if (indovinati_[i]) d_.indovinati.emplace_back(testi[i]);
  }
  const cella& a(std::int64_t c) const { return celle_[static_cast<std::size_t>(c)]; }

  // The line's body: curves, gradients, mountain-side stretches, indicators, boards; the
  // curves last when their last row is the one that stops the compile.
  void corpo(const std::optional<curve_del_piano>& curve, bool fermato) {
    blocco_testo blocco_curve{"[curve]", {}};
    if (curve)
      for (const riga_curva& c : curve->righe)
        blocco_curve.righe.push_back(
            {"curva" + std::string(c.sinistra ? "s" : "d") + std::to_string(c.classe),
             {c.inizio, c.lunghezza},
             std::nullopt,
             c.solo_per});
    const bool curve_ultime = curve && curve->fine == fine_piano::oltre;
    if (!curve_ultime) linea_.push_back(blocco_curve);
    const auto pendenze =
        righe_profilo(profilo(celle_, &cella::pendenza), pendenza_in_cella(0), !fermato);
    linea_.push_back(
        {"[pendenze]", righe_di_profilo(chiave::pendenza, pendenze, [](std::uint8_t b) {
           return std::int64_t{pendenza_per_mille(b)};
         })});
    auto montagne = righe_montagne(celle_);
    aggiungi_problemi(d_.guasti, tipo_file::celle, montagne.problemi);
    blocco_testo blocco_montagne{"[montagne]", {}};
    for (const riga_montagna& m : montagne.righe)
      blocco_montagne.righe.push_back(
          {nome_di(chiave::montagna), {m.inizio, m.fine, m.tipo}, std::nullopt, m.solo_per});
    linea_.push_back(std::move(blocco_montagne));
    eventi_della_linea();
    linea_.push_back({"[cartelli]", cartelli_.indicatori});
    linea_.push_back({"[indicazioni]", cartelli_.cartelli});
    indovina(!cartelli_.indicatori.empty(), indovinato::indicatori);
    if (curve_ultime)
      linea_.push_back(blocco_curve);
    else if (fermato)
      linea_.push_back({"",
                        {riga_che_ferma(chiave::pendenza,
                                        "riga tagliata: la compilazione che ha scritto i "
                                        "file si e' fermata nel corpo della linea")}});
    else
      linea_.push_back({"[fine]", {}});
  }

  // Boards and stations first: the stations' stop cells hide what the line put there.
  void eventi_della_linea() {
    prima_voce_ = prima_voce_cartelli(celle_, punti_);
    stazioni_ = stazioni_dai_punti(punti_, prima_voce_, ultima_);
    std::vector<fermata> fermate;
    for (const stazione_ricostruita& s : stazioni_.stazioni) {
      if (s.cella_fermata < 0) continue;
      const cella& c = a(s.cella_fermata);
      if (c.evento != evento::fermata || c.dato_1 != basso_16(s.voce))
        guasto(tipo_file::celle, "cella " + std::to_string(s.cella_fermata) +
                                     ": non e' la fermata della stazione " +
                                     std::to_string(s.voce) + " che il file dei punti descrive");
      else
        fermate.push_back({s.cella_fermata, s.voce});
    }
    rallentamenti_ = rallentamenti_letti(celle_, fermate);
    aggiungi(rallentamenti_.guasti);
    cartelli_ = cartelli_e_indicatori(celle_, punti_, prima_voce_, rallentamenti_.fermate_libere);
    aggiungi(cartelli_.guasti);
    aggiungi(valori_senza_riga(celle_, fermate, punti_));
  }

  void treno(const std::vector<riga_testo>& generali) {
    const bool ferma =
        !stazioni_.stazioni.empty() && stazioni_.stazioni.back().arresto == arresto::ferma;
    treno_.push_back({std::string(generale), generali});
    const auto aderenze = righe_profilo(profilo(celle_, &cella::aderenza), 0, !ferma);
    treno_.push_back(
        {"[aderenze]", righe_di_profilo(chiave::aderenza, aderenze,
                                        [](std::uint8_t b) { return std::int64_t{b}; })});
    const auto velocita = righe_profilo(profilo(celle_, &cella::velocita), 0, !ferma);
    treno_.push_back(
        {"[vel_limite]", righe_di_profilo(chiave::velocita, velocita, [](std::uint8_t b) {
           return std::int64_t{velocita_km_h(b)};
         })});
    indovina(!velocita.empty(), indovinato::velocita);
    indovina(stazioni_.orari, indovinato::orari);
    indovina(stazioni_.campi_azzerati, indovinato::campi_azzerati);
    aggiungi(stazioni_.guasti);
    std::vector<evento_treno> eventi = eventi_del_treno();
    for (evento_treno& e : eventi) {
      if (treno_.back().sezione != e.sezione) treno_.push_back({e.sezione, {}});
      treno_.back().righe.push_back(std::move(e.riga));
    }
    const auto& stazioni = stazioni_.stazioni;
    if (!stazioni.empty() && stazioni.back().arresto != arresto::nessuno) {
      d_.arresto = "alla stazione " + std::to_string(stazioni.back().voce) +
                   ", l'ultima riga del testo del treno";
      return;
    }
    treno_.push_back({"[codici]", {}});
    treno_.push_back({"[fine]", {}});
  }

  // Stations and signals in an order that gives the repetition codes; slowdowns and the
  // authors' speed points after the stations, or before the last when it stops the text.
  std::vector<evento_treno> eventi_del_treno() {
    auto segnali = segnali_letti(celle_, cartelli_.segnali_nascosti);
    indovina(!segnali.empty(), indovinato::segnali);
    const auto ordine = ordina_stazioni_e_segnali(celle_, stazioni_.stazioni, segnali);
    aggiungi(ordine.guasti);
    std::vector<evento_treno> eventi;
    std::size_t dopo_stazioni = 0;
    const auto& stazioni = stazioni_.stazioni;
    for (const std::size_t i : ordine.righe) {
      if (i < stazioni.size()) {
        eventi.push_back({"[stazioni]", stazioni[i].riga});
        dopo_stazioni = eventi.size();
      } else if (auto r = riga_segnale(segnali[i - stazioni.size()])) {
        eventi.push_back({"[segnali]", std::move(*r)});
      }
    }
    const bool ferma = !stazioni.empty() && stazioni.back().arresto != arresto::nessuno;
    if (ferma) dopo_stazioni = eventi.size() - 1;
    std::vector<evento_treno> altri;
    for (const riga_testo& r : rallentamenti_.righe) altri.push_back({"[rallentamenti]", r});
    for (riga_testo& r : righe_punti_velocita(celle_, d_.guasti))
      altri.push_back({"[abbattimenti]", std::move(r)});
    eventi.insert(eventi.begin() + static_cast<std::ptrdiff_t>(dopo_stazioni), altri.begin(),
                  altri.end());
    std::vector<evento_treno> prima;
    for (const riga_testo& r : rallentamenti_.prima_delle_stazioni)
      prima.push_back({"[rallentamenti]", r});
    eventi.insert(eventi.begin(), prima.begin(), prima.end());
    return eventi;
  }

  std::span<const cella> celle_;
  const std::array<punto, numero_punti>& punti_;
  std::optional<file_piano> piano_;
  const std::int64_t ultima_;
  std::int32_t prima_voce_ = 0;
  stazioni_ricostruite stazioni_;
  rallentamenti_ricostruiti rallentamenti_;
  cartelli_ricostruiti cartelli_;
  std::vector<blocco_testo> linea_, treno_;
  std::array<bool, static_cast<std::size_t>(indovinato::numero)> indovinati_{};
  decompilazione d_;
};

}  // namespace

decompilazione decompila(std::span<const cella> celle, const std::array<punto, numero_punti>& punti,
                         std::optional<file_piano> piano) {
  return ricostruzione(celle, punti, piano).esegui();
}

}  // namespace percorso
