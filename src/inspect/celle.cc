#include "inspect/celle.h"

#include <map>
#include <optional>

#include "format/chilometri.h"
#include "format/codici.h"
#include "format/formato.h"
#include "format/unita_celle.h"
#include "inspect/eventi.h"
#include "inspect/testi.h"

namespace percorso {
namespace {

std::int64_t metri_di(std::size_t cella) {
  return static_cast<std::int64_t>(cella) * metri_per_cella;
}

// The railway's kilometres, from the references of the point file beside, when it
// is there and sets any.
std::optional<chilometrica> chilometri_di(const std::array<punto, numero_punti>* punti) {
  if (punti == nullptr) return std::nullopt;
  chilometrica km(*punti);
  if (!km.con_riferimenti()) return std::nullopt;
  return km;
}

nodo_vista progressiva(const chilometrica& km, std::size_t cella) {
  const std::int64_t p = km.al_metro(metri_di(cella));
  return nodo_vista::intero(p, testo_progressiva(p));
}

// Cell 1 carries the header value and the plain check code.
nodo_vista intestazione(const std::vector<cella>& celle,
                        const std::array<punto, numero_punti>* punti) {
  const std::int16_t valore = celle.size() > 1 ? celle[1].dato_1 : 0;
  const std::int16_t codice = celle.size() > 1 ? celle[1].dato_2 : 0;
  std::string testo =
      formato("valore %d", valore) +
      (valore == valore_cella_1 ? " (corretto)" : formato(" (atteso %d)", valore_cella_1)) +
      formato(", codice di controllo semplice %d", codice);
  nodo_vista n = nodo_vista::oggetto()
                     .con("valore", nodo_vista::intero(valore))
                     .con("atteso", nodo_vista::intero(valore_cella_1))
                     .con("codice_semplice", nodo_vista::intero(codice));
  if (punti == nullptr)
    return n.con("codice_calcolato", nodo_vista::nullo())
        .con("corrisponde", nodo_vista::nullo())
        .con_testo(testo);
  const std::int32_t atteso =
      codice_gara_og((*punti)[slot_ripetizione].nome, (*punti)[slot_percorso].nome);
  testo += atteso == codice ? ": corrisponde ai nomi"
                            : formato(": NON corrisponde ai nomi (atteso %d)", atteso);
  return n.con("codice_calcolato", nodo_vista::intero(atteso))
      .con("corrisponde", nodo_vista::vero(atteso == codice))
      .con_testo(testo);
}

nodo_vista riga_evento(std::size_t i, const cella& c, const std::array<punto, numero_punti>* punti,
                       const std::optional<chilometrica>& km) {
  nodo_vista valori = valori_evento(c, punti);
  std::string testo = valori.testo();
  if (c.ripetizione != 0)
    testo += (testo.empty() ? "" : "; ") + formato("ripetizione %d", c.ripetizione);
  nodo_vista r =
      nodo_vista::oggetto().con("cella", nodo_vista::intero(static_cast<std::int64_t>(i)));
  if (km) r.con("progressiva", progressiva(*km, i));
  r.con("metri", nodo_vista::intero(metri_di(i), km_testo(metri_di(i))))
      .con("evento", nodo_vista::intero(c.evento));
  if (c.evento != evento::nessuno) r.con("nome", nodo_vista::testo_di(nome_evento(c.evento)));
  return r.con("dati", interi_vista({c.dato_1, c.dato_2, c.dato_3, c.dato_4}))
      .con("tempo_segnale", nodo_vista::intero(c.tempo_segnale))
      .con("ripetizione", nodo_vista::intero(c.ripetizione))
      .con("valori", valori.con_testo(testo));
}

sezione_vista eventi(const std::vector<cella>& celle,
                     const std::array<punto, numero_punti>* punti) {
  sezione_vista s{.chiave = "eventi", .titolo = "eventi e codici di ripetizione"};
  const auto km = chilometri_di(punti);
  s.colonne = {colonna_di("cella", "cella", 5)};
  if (km) s.colonne.push_back(colonna_di("progressiva", "km", 9));
  s.colonne.insert(s.colonne.end(),
                   {colonna_di("metri", "dall'inizio", 12), colonna_di("nome", "evento", -22, 2),
                    colonna_di("valori", "valori", 0)});
  for (std::size_t i = 0; i < celle.size(); ++i)
    if (celle[i].evento != evento::nessuno || celle[i].ripetizione != 0)
      s.righe.push_back(riga_evento(i, celle[i], punti, km));
  return s;
}

sezione_vista riepilogo(const std::vector<cella>& celle) {
  std::map<std::uint8_t, int> conteggi;
  for (const cella& c : celle)
    if (c.evento != evento::nessuno) ++conteggi[c.evento];
  sezione_vista s{.chiave = "riepilogo", .titolo = "riepilogo", .larghezza_etichette = 24};
  for (const auto& [codice, n] : conteggi) {
    const std::string chiave = chiave_evento(codice);
    const std::string etichetta = chiave.starts_with("evento_") ? formato("codice %d", codice)
                                                                : std::string(nome_evento(codice));
    s.voci.push_back({chiave, etichetta, nodo_vista::intero(n)});
  }
  return s;
}

bool stesso_profilo(const cella& a, const cella& b) {
  return a.pendenza == b.pendenza && a.velocita == b.velocita && a.aderenza == b.aderenza &&
         a.montagna == b.montagna;
}

nodo_vista riga_tratto(std::size_t prima, std::size_t ultima, const cella& c,
                       const std::optional<chilometrica>& km) {
  // The last cells of the array are never reached by the runs.
  const bool impostato = !stesso_profilo(c, cella{});
  nodo_vista velocita =
      nodo_vista::intero(velocita_km_h(c.velocita), formato("%d km/h", velocita_km_h(c.velocita)));
  nodo_vista aderenza = nodo_vista::intero(c.aderenza);
  nodo_vista montagna = nodo_vista::intero(c.montagna, c.montagna == 0 ? "-" : "");
  if (!impostato) {
    velocita.con_testo("");
    aderenza.con_testo("");
    montagna.con_testo("");
  }
  nodo_vista r = nodo_vista::oggetto()
                     .con("prima", nodo_vista::intero(static_cast<std::int64_t>(prima)))
                     .con("ultima", nodo_vista::intero(static_cast<std::int64_t>(ultima)));
  if (km)
    r.con("da_progressiva", progressiva(*km, prima))
        .con("a_progressiva", progressiva(*km, ultima + 1));
  return r.con("da_metri", nodo_vista::intero(metri_di(prima), km_testo(metri_di(prima))))
      .con("a_metri", nodo_vista::intero(metri_di(ultima + 1), km_testo(metri_di(ultima + 1))))
      .con("impostato", nodo_vista::vero(impostato))
      .con("pendenza", nodo_vista::intero(pendenza_per_mille(c.pendenza),
                                          impostato ? formato("%+d", pendenza_per_mille(c.pendenza))
                                                    : "(non impostate)"))
      .con("velocita_kmh", std::move(velocita))
      .con("aderenza", std::move(aderenza))
      .con("montagna", std::move(montagna));
}

sezione_vista profilo(const std::vector<cella>& celle,
                      const std::array<punto, numero_punti>* punti) {
  sezione_vista s{.chiave = "profilo"};
  // "from-to" of two members of a row.
  auto intervallo = [](const char* da, const char* a) {
    return [=](const nodo_vista& r) { return r.membro(da)->testo() + "-" + r.membro(a)->testo(); };
  };
  const auto km = chilometri_di(punti);
  s.colonne = {{"celle", -11, intervallo("prima", "ultima")}};
  if (km) s.colonne.push_back({"km", -17, intervallo("da_progressiva", "a_progressiva")});
  s.colonne.insert(s.colonne.end(), {{"dall'inizio", -17, intervallo("da_metri", "a_metri")},
                                     colonna_di("pendenza", "pendenza per mille", 18),
                                     colonna_di("velocita_kmh", "velocita'", 10),
                                     colonna_di("aderenza", "aderenza", 9),
                                     colonna_di("montagna", "montagna", 9)});
  std::size_t prima = 0;
  for (std::size_t i = 1; i <= celle.size(); ++i) {
    if (i < celle.size() && stesso_profilo(celle[prima], celle[i])) continue;
    s.righe.push_back(riga_tratto(prima, i - 1, celle[prima], km));
    prima = i;
  }
  s.titolo = formato("profilo della linea (%zu tratti)", s.righe.size());
  return s;
}

}  // namespace

vista descrivi_celle(const std::string& file, const std::vector<cella>& celle,
                     const nomi_accanto& nomi) {
  vista d{.file = file, .tipo = "celle"};
  d.sommario = formato("file delle celle, %zu celle (0-%zu); dall'inizio = cella x %d m%s",
                       celle.size(), celle.size() - 1, metri_per_cella,
                       chilometri_di(nomi.punti) ? "; km della linea dal file dei punti" : "");
  d.dati.push_back({"celle", "", nodo_vista::intero(static_cast<std::int64_t>(celle.size()))});
  d.voci.push_back({"punti", "nomi di stazioni e cartelli",
                    nomi.punti ? nodo_vista::testo_di(nomi.file)
                               : nodo_vista::nullo("non disponibili (" + nomi.perche + ")")});
  d.voci.push_back({"intestazione", "cella 1", intestazione(celle, nomi.punti)});
  d.sezioni.push_back(eventi(celle, nomi.punti));
  d.sezioni.push_back(riepilogo(celle));
  d.sezioni.push_back(profilo(celle, nomi.punti));
  return d;
}

}  // namespace percorso
