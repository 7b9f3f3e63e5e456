#include "inspect/punti.h"

#include "format/chilometri.h"
#include "format/codici.h"
#include "format/formato.h"
#include "format/orari.h"
#include "format/testo_nomi.h"
#include "format/voci.h"
#include "inspect/testi.h"

namespace percorso {
namespace {

const punto& a(const std::array<punto, numero_punti>& punti, int k) {
  return punti[static_cast<std::size_t>(k)];
}

nodo_vista parametri(const punto& p) {
  return interi_vista({p.parametro_1, p.parametro_2, p.parametro_3, p.parametro_4, p.parametro_5});
}

nodo_vista indicatori(const punto& p) {
  return interi_vista({p.indicatore_1, p.indicatore_2, p.indicatore_3, p.indicatore_4});
}

// Every field of a slot as it is in the file.
nodo_vista grezza(int k, const punto& p) {
  return nodo_vista::oggetto()
      .con("voce", nodo_vista::intero(k))
      .con("codice", nodo_vista::intero(p.codice))
      .con("valori", interi_vista({p.valore_1, p.valore_2, p.valore_3}))
      .con("opzione", nodo_vista::intero(p.opzione))
      .con("nome", nodo_vista::testo_di(nome_leggibile(p.nome)))
      .con("parametri", parametri(p))
      .con("indicatori", indicatori(p))
      .con("orario", nodo_vista::intero(p.orario));
}

nodo_vista stazione(int k, const punto& p, const chilometrica& km) {
  // A station the train does not stop at has no time.
  const nodo_vista ora =
      p.orario == 0 ? nodo_vista::nullo() : nodo_vista::testo_di(orario_testo(p.orario));
  return nodo_vista::oggetto()
      .con("voce", nodo_vista::intero(k))
      .con("nome", nodo_vista::testo_di(nome_leggibile(p.nome)))
      .con("tipo", nodo_vista::intero(p.codice))
      .con("inizio", nodo_vista::intero(p.valore_1))
      .con("fine", nodo_vista::intero(p.valore_2))
      .con("posizione", nodo_vista::intero(p.valore_3))
      .con("progressiva", km.con_riferimenti()
                              ? nodo_vista::intero(km.al_metro(p.valore_3),
                                                   testo_progressiva(km.al_metro(p.valore_3)))
                              : nodo_vista::nullo())
      .con("orario_secondi", nodo_vista::intero(p.orario))
      .con("orario", ora)
      .con("opzione", nodo_vista::intero(p.opzione))
      .con("parametri", parametri(p))
      .con("indicatori", indicatori(p));
}

sezione_vista stazioni(const std::array<punto, numero_punti>& punti, const voci_divise& v) {
  sezione_vista s{.chiave = "stazioni", .titolo = formato("stazioni (%zu)", v.stazioni.size())};
  const chilometrica km(punti);
  s.colonne = {colonna_di("voce", "voce", 4), colonna_di("tipo", "tipo", 4),
               colonna_di("inizio", "inizio", 8), colonna_di("fine", "fine", 8),
               colonna_di("posizione", "posizione", 9)};
  if (km.con_riferimenti()) s.colonne.push_back(colonna_di("progressiva", "km", 9));
  s.colonne.insert(s.colonne.end(),
                   {colonna_di("orario", "orario", -9, 2), colonna_di("nome", "nome", 0, 2)});
  for (const int k : v.stazioni) s.righe.push_back(stazione(k, a(punti, k), km));
  return s;
}

sezione_vista cartelli(const std::array<punto, numero_punti>& punti, const voci_divise& v) {
  sezione_vista s{.chiave = "cartelli", .titolo = formato("cartelli (%zu)", v.cartelli.size())};
  s.colonne = {colonna_di("voce", "voce", 4), colonna_di("testo", "testo", 0, 2)};
  for (const int k : v.cartelli)
    s.righe.push_back(nodo_vista::oggetto()
                          .con("voce", nodo_vista::intero(k))
                          .con("testo", nodo_vista::testo_di(nome_leggibile(a(punti, k).nome))));
  return s;
}

sezione_vista altre(const std::array<punto, numero_punti>& punti, const voci_divise& v) {
  sezione_vista s{.chiave = "altre_voci", .titolo = "altre voci non vuote", .facoltativa = true};
  s.colonne = {colonna_di("voce", "voce", 4),
               {"contenuto", 0,
                [](const nodo_vista& r) {
                  return formato("codice %s, valori %s, orario %s, nome \"",
                                 r.membro("codice")->testo().c_str(),
                                 r.membro("valori")->testo().c_str(),
                                 r.membro("orario")->testo().c_str()) +
                         r.membro("nome")->testo() + "\"";
                },
                2}};
  for (const int k : v.altre) s.righe.push_back(grezza(k, a(punti, k)));
  return s;
}

nodo_vista riferimento(const punto& p) {
  return nodo_vista::oggetto(
             formato("riferimento chilometrico: inizio %d m, progressiva %d m, flag %d", p.valore_1,
                     p.valore_2, p.valore_3))
      .con("inizio", nodo_vista::intero(p.valore_1))
      .con("progressiva", nodo_vista::intero(p.valore_2))
      .con("flag", nodo_vista::intero(p.valore_3));
}

nodo_vista treno(const punto& p) {
  return nodo_vista::oggetto(formato("massa frenata %d%%, lunghezza della linea %d m, vetture %d",
                                     p.valore_1, p.valore_2, p.valore_3))
      .con("massa_frenata", nodo_vista::intero(p.valore_1))
      .con("lunghezza_linea", nodo_vista::intero(p.valore_2))
      .con("vetture", nodo_vista::intero(p.valore_3));
}

nodo_vista percorso_e_sfondi(const punto& p) {
  const std::string nome = nome_leggibile(p.nome);
  const std::string controllo = p.parametro_1 == valore_slot_percorso
                                    ? " (corretto)"
                                    : formato(" (atteso %d)", valore_slot_percorso);
  return nodo_vista::oggetto("percorso \"" + nome + "\"" +
                             formato(", sfondi uno %d, due %d, tre %d, valore %d", p.valore_1,
                                     p.valore_3, p.valore_2, p.parametro_1) +
                             controllo)
      .con("percorso", nodo_vista::testo_di(nome))
      .con("sfondo_uno", nodo_vista::intero(p.valore_1))
      .con("sfondo_due", nodo_vista::intero(p.valore_3))
      .con("sfondo_tre", nodo_vista::intero(p.valore_2))
      .con("valore", nodo_vista::intero(p.parametro_1))
      .con("atteso", nodo_vista::intero(valore_slot_percorso));
}

nodo_vista treno_e_orologio(const punto& p) {
  const std::string nome = nome_leggibile(p.nome);
  const std::string ora =
      orario_testo(std::int64_t{p.parametro_3} * 3600 + p.parametro_4 * 60 + p.parametro_5);
  return nodo_vista::oggetto(
             "treno \"" + nome + "\"" +
             formato(", ripetizione segnali %d, %d, codici %d; sabbia %d; orologio %s", p.valore_1,
                     p.valore_2, p.valore_3, p.parametro_1, ora.c_str()))
      .con("treno", nodo_vista::testo_di(nome))
      .con("ripetizione_segnali", interi_vista({p.valore_1, p.valore_2, p.valore_3}))
      .con("sabbia", nodo_vista::intero(p.parametro_1))
      .con("orologio", nodo_vista::testo_di(ora));
}

// Slots 81 to 86, each labelled by its number: the compiler orders the three
// kilometric references, so a slot does not tell which row it came from.
sezione_vista intestazione(const std::array<punto, numero_punti>& punti) {
  sezione_vista s{.chiave = "intestazione", .titolo = "intestazione", .larghezza_etichette = 2};
  auto metti = [&](int k, nodo_vista n) {
    s.voci.push_back(
        {std::to_string(k), std::to_string(k), n.con("grezza", grezza(k, a(punti, k)))});
  };
  for (const int k : {slot_progressiva_tre, slot_progressiva_due, slot_progressiva_uno})
    metti(k, riferimento(a(punti, k)));
  metti(slot_treno, treno(a(punti, slot_treno)));
  metti(slot_percorso, percorso_e_sfondi(a(punti, slot_percorso)));
  metti(slot_ripetizione, treno_e_orologio(a(punti, slot_ripetizione)));
  return s;
}

// A check code from the file against the one the names give.
nodo_vista verifica(std::int64_t nel_file, std::int64_t calcolato, const std::string& dove) {
  const bool uguale = nel_file == calcolato;
  return nodo_vista::oggetto(
             formato("%lld (%s): ", static_cast<long long>(nel_file), dove.c_str()) +
             (uguale ? "corrisponde ai nomi"
                     : formato("NON corrisponde ai nomi (atteso %lld)",
                               static_cast<long long>(calcolato))))
      .con("dove", nodo_vista::testo_di(dove))
      .con("nel_file", nodo_vista::intero(nel_file))
      .con("calcolato", nodo_vista::intero(calcolato))
      .con("corrisponde", nodo_vista::vero(uguale));
}

// A check code that the file beside could not give.
nodo_vista non_verificabile(const std::string& dove) {
  return nodo_vista::oggetto("non verificabile: " + dove)
      .con("dove", nodo_vista::testo_di(dove))
      .con("nel_file", nodo_vista::nullo())
      .con("calcolato", nodo_vista::nullo())
      .con("corrisponde", nodo_vista::nullo());
}

sezione_vista codici(const std::array<punto, numero_punti>& punti, const codice_accanto& semplice) {
  const std::string& treno = a(punti, slot_ripetizione).nome;
  const std::string& nome = a(punti, slot_percorso).nome;
  sezione_vista s{
      .chiave = "codici_di_controllo", .titolo = "codici di controllo", .larghezza_etichette = 8};
  s.voci.push_back({"pesato", "pesato",
                    verifica(a(punti, slot_percorso).orario, codice_gara_st(treno, nome),
                             formato("voce %d, orario", slot_percorso))});
  s.voci.push_back({"semplice", "semplice",
                    semplice.nel_file
                        ? verifica(*semplice.nel_file, codice_gara_og(treno, nome), semplice.dove)
                        : non_verificabile(semplice.dove)});
  return s;
}

}  // namespace

vista descrivi_punti(const std::string& file, const std::array<punto, numero_punti>& punti,
                     std::size_t byte, const codice_accanto& semplice) {
  const voci_divise v = dividi_voci(punti);
  vista d{.file = file, .tipo = "punti"};
  d.sommario = formato("file dei punti, %d voci, %zu byte", numero_punti, byte);
  d.dati.push_back({"byte", "", nodo_vista::intero(static_cast<std::int64_t>(byte))});
  d.sezioni = {stazioni(punti, v), cartelli(punti, v), altre(punti, v), intestazione(punti),
               codici(punti, semplice)};
  return d;
}

}  // namespace percorso
