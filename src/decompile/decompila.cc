#include "decompile/decompila.h"

#include <optional>

#include "decompile/cartelli.h"
#include "decompile/curve.h"
#include "decompile/intestazione.h"
#include "decompile/montagne.h"
#include "decompile/posizioni.h"
#include "decompile/profili.h"
#include "decompile/punti_velocita.h"
#include "decompile/rallentamenti.h"
#include "decompile/ripetizioni.h"
#include "decompile/segnali.h"
#include "decompile/stazioni.h"
#include "format/codici.h"
#include "format/formato.h"
#include "format/unita_celle.h"
#include "model/numeri.h"
#include "placement/prese.h"
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
    intestazione_cella_1();
    std::optional<curve_del_piano> curve;
    if (piano_) {
      curve = curve_dal_piano(piano_->byte, piano_->metri, ultima_);
      aggiungi_problemi(d_.guasti, tipo_file::piano, curve->problemi);
    }
    const auto testa = intestazione(
        punti_, ultima_, piano_ ? std::optional<std::int64_t>(piano_->metri) : std::nullopt,
        curve && curve->fine == fine_piano::vuoto);
    d_.guasti.insert(d_.guasti.end(), testa.guasti.begin(), testa.guasti.end());
    indovina(testa.riferimenti, indovinato::riferimenti);
    linea_.push_back({std::string(generale), testa.linea});
    if (testa.ferma) {
      d_.arresto = "nell'intestazione della linea: il resto e il testo del treno non sono letti";
      if (curve && curve->fine != fine_piano::vuoto)
        guasto(tipo_file::piano, "un tracciato, ma la compilazione si e' fermata prima di farlo");
      nessun_corpo();
    } else {
      indovina(true, indovinato::metri);
      const bool corpo_fermato =
          curve && (curve->fine == fine_piano::fermato || curve->fine == fine_piano::oltre);
      corpo(curve, corpo_fermato);
      if (corpo_fermato) {
        d_.arresto = "nel corpo della linea, all'ultima riga: il testo del treno non e' letto";
        nessun_treno();
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

  void intestazione_cella_1() {
    const cella& c = a(cella_di_controllo);
    const auto og = codice_gara_og(d_.numero_treno, d_.nome_percorso);
    if (c.dato_1 != valore_cella_1 || c.dato_2 != og)
      guasto(tipo_file::celle,
             "cella 1: i valori d'intestazione non sono quelli che il "
             "compilatore scrive per questi nomi");
  }

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
    d_.guasti.insert(d_.guasti.end(), rallentamenti_.guasti.begin(), rallentamenti_.guasti.end());
    cartelli_ = cartelli_e_indicatori(celle_, punti_, prima_voce_, rallentamenti_.fermate_libere);
    d_.guasti.insert(d_.guasti.end(), cartelli_.guasti.begin(), cartelli_.guasti.end());
    controlla_celle(fermate);
    if (!punti_[0].nome.empty() || !(punti_[0] == punto{}))
      guasto(tipo_file::punti, "voce 0: una voce che nessuna riga scrive");
  }

  // Values of a cell no row writes with its event.
  void controlla_celle(const std::vector<fermata>& fermate) {
    std::vector<bool> di_fermata(celle_.size(), false);
    for (const fermata& f : fermate) di_fermata[static_cast<std::size_t>(f.cella)] = true;
    for (std::int64_t i = 0; i <= ultima_; ++i) {
      cella c = a(i);
      if (i == cella_di_controllo) c.dato_1 = c.dato_2 = 0;
      const bool tempo_ok =
          c.tempo_segnale == 0 || c.evento == evento::segnale || c.evento == evento::fermata;
      bool ok = tempo_ok;
      switch (c.evento) {
        case evento::nessuno:
        case evento::montagna:
        case evento::punto_senza_velocita:
          ok = ok && c.dato_1 == 0 && c.dato_2 == 0 && c.dato_3 == 0 && c.dato_4 == 0;
          break;
        case evento::punto_velocita:
        case evento::cartello:
          ok = ok && c.dato_2 == 0 && c.dato_3 == 0 && c.dato_4 == 0;
          break;
        case evento::fermata:
          ok = di_fermata[static_cast<std::size_t>(i)];
          break;
        case evento::segnale:
        case evento::fine_rallentamento:
        case evento::inizio_rallentamento:
        case evento::avviso_rallentamento:
        case evento::preavviso:
        case evento::indicatori:
          break;
        default:
          ok = false;
      }
      if (!ok)
        guasto(tipo_file::celle, "cella " + std::to_string(i) +
                                     ": valori che nessuna riga da' "
                                     "all'evento " +
                                     std::to_string(c.evento));
    }
  }

  // A line whose compile stopped never reads the train text: nothing of it may be there.
  void nessun_treno() {
    bool treno = !stazioni_.stazioni.empty();
    for (const cella& c : celle_) {
      treno = treno || c.velocita != 0 || c.aderenza != 0;
      const auto e = c.evento;
      treno = treno || (e != evento::nessuno && e != evento::montagna && e != evento::indicatori &&
                        e != evento::cartello && e != evento::fermata);
    }
    const punto& p84 = punti_[slot_treno];
    const punto& p86 = punti_[slot_ripetizione];
    treno = treno || p84.valore_1 != 0 || p84.valore_3 != 0 || p86.parametro_1 != 0 ||
            p86.parametro_3 != 0 || p86.parametro_4 != 0 || p86.parametro_5 != 0;
    if (treno)
      guasto(tipo_file::celle,
             "valori del testo del treno, che la compilazione fermata nella "
             "linea non legge");
  }

  // A header that stopped leaves the cells and the point table empty.
  void nessun_corpo() {
    for (std::int64_t i = 0; i <= ultima_; ++i) {
      cella c = a(i);
      if (i == cella_di_controllo) c.dato_1 = c.dato_2 = 0;
      if (!(c == cella{})) {
        guasto(tipo_file::celle, "cella " + std::to_string(i) +
                                     ": valori che la compilazione fermata nell'intestazione non "
                                     "scrive");
        return;
      }
    }
    for (int k = 0; k <= primo_slot_cartelli; ++k)
      if (!(punti_[static_cast<std::size_t>(k)] == punto{}))
        guasto(tipo_file::punti, "voce " + std::to_string(k) +
                                     ": una voce che la compilazione "
                                     "fermata nell'intestazione non scrive");
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
    d_.guasti.insert(d_.guasti.end(), stazioni_.guasti.begin(), stazioni_.guasti.end());
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
    const auto ordine = ordina(segnali);
    std::vector<evento_treno> eventi;
    std::size_t dopo_stazioni = 0;
    const auto& stazioni = stazioni_.stazioni;
    for (const std::size_t i : ordine) {
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
    for (riga_testo& r : punti_di_velocita()) altri.push_back({"[abbattimenti]", std::move(r)});
    eventi.insert(eventi.begin() + static_cast<std::ptrdiff_t>(dopo_stazioni), altri.begin(),
                  altri.end());
    std::vector<evento_treno> prima;
    for (const riga_testo& r : rallentamenti_.prima_delle_stazioni)
      prima.push_back({"[rallentamenti]", r});
    eventi.insert(eventi.begin(), prima.begin(), prima.end());
    return eventi;
  }

  // Indices into the stations, then the signals, in the order of the train text; the
  // kinds of the signals that no order fits are tried in their next likeliest form.
  std::vector<std::size_t> ordina(std::vector<segnale_letto>& segnali) {
    const auto& stazioni = stazioni_.stazioni;
    const std::int32_t ultima =
        !stazioni.empty() && stazioni.back().arresto != arresto::nessuno ? stazioni.back().voce : 0;
    ordine_ripetizioni o;
    for (int prova = 0; prova < 16; ++prova) {
      std::vector<scrittore_ripetizioni> s;
      for (const stazione_ricostruita& st : stazioni) {
        scrittore_ripetizioni w{{}, st.voce, 0, st.cella_fermata};
        for (std::size_t j = 0; j < st.avvicinamento.size(); ++j)
          w.scritture.push_back({st.avvicinamento[j], static_cast<std::uint8_t>(81 + j)});
        s.push_back(std::move(w));
      }
      for (const segnale_letto& g : segnali)
        s.push_back({ripetizioni_del_segnale(g, ultima_), 0, g.sotto_stazione, g.cella});
      o = ordina_ripetizioni(s, celle_, ultima);
      if (prova == 0) ripetizioni_senza_scrittori(s);
      bool cambiato = false;
      for (const std::size_t b : o.bloccate) {
        if (b < stazioni.size()) continue;
        segnale_letto& g = segnali[b - stazioni.size()];
        if (g.scelto + 1 < g.tipi.size()) {
          ++g.scelto;
          cambiato = true;
        }
      }
      if (o.bloccate.empty() || !cambiato) break;
    }
    if (!o.bloccate.empty())
      guasto(tipo_file::celle,
             "nessun ordine delle stazioni e dei segnali da' tutti i codici di "
             "ripetizione del file");
    o.righe.insert(o.righe.end(), o.bloccate.begin(), o.bloccate.end());
    return o.righe;
  }

  void ripetizioni_senza_scrittori(const std::vector<scrittore_ripetizioni>& s) {
    std::vector<bool> scritta(celle_.size(), false);
    for (const auto& w : s)
      for (const auto& [c, v] : w.scritture) scritta[static_cast<std::size_t>(c)] = true;
    for (std::int64_t i = 0; i <= ultima_; ++i)
      if (a(i).ripetizione != 0 && !scritta[static_cast<std::size_t>(i)])
        guasto(tipo_file::celle, "cella " + std::to_string(i) +
                                     ": un codice di ripetizione senza un segnale o una stazione "
                                     "che lo scriva");
  }

  std::vector<riga_testo> punti_di_velocita() {
    const auto autori = punti_dei_testi(celle_);
    aggiungi_problemi(d_.guasti, tipo_file::celle, autori.problemi);
    std::vector<riga_testo> r;
    for (const std::int64_t i : autori.celle) {
      const cella& c = a(i);
      std::int64_t w = 0;
      std::string perche;
      if (c.evento == evento::punto_velocita) {
        w = i == cella_di_controllo ? 0 : c.dato_1;
        if (w <= 0) {
          w += 65536;
          perche = "velocita' + 65536: la cella ne tiene 16 bit, e 0 o meno non darebbe velocita'";
        }
      }
      if (i > ultima_ - 2)
        guasto(tipo_file::celle,
               "cella " + std::to_string(i) +
                   ": un punto di velocita' oltre l'ultima posizione di una riga");
      r.push_back({nome_di(chiave::abbattimento),
                   {posizione_alla_cella(i), w},
                   std::nullopt,
                   std::move(perche)});
    }
    return r;
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
