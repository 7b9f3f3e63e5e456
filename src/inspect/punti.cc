#include "inspect/punti.h"

#include "format/codici.h"
#include "format/formato.h"
#include "format/testo_nomi.h"
#include "format/voci.h"
#include "inspect/testi.h"

namespace percorso {
namespace {

const punto& a(const std::array<punto, numero_punti>& punti, int k) {
  return punti[static_cast<std::size_t>(k)];
}

nodo parametri(const punto& p) {
  return interi({p.parametro_1, p.parametro_2, p.parametro_3, p.parametro_4, p.parametro_5});
}

nodo indicatori(const punto& p) {
  return interi({p.indicatore_1, p.indicatore_2, p.indicatore_3, p.indicatore_4});
}

// Every field of a slot as it is in the file.
nodo grezza(int k, const punto& p) {
  return nodo::oggetto()
      .con("voce", nodo::intero(k))
      .con("codice", nodo::intero(p.codice))
      .con("valori", interi({p.valore_1, p.valore_2, p.valore_3}))
      .con("opzione", nodo::intero(p.opzione))
      .con("nome", nodo::testo_di(nome_leggibile(p.nome)))
      .con("parametri", parametri(p))
      .con("indicatori", indicatori(p))
      .con("orario", nodo::intero(p.orario));
}

nodo stazione(int k, const punto& p) {
  // A station the train does not stop at has no time.
  const nodo ora = p.orario == 0 ? nodo::nullo() : nodo::testo_di(orario(p.orario));
  return nodo::oggetto()
      .con("voce", nodo::intero(k))
      .con("nome", nodo::testo_di(nome_leggibile(p.nome)))
      .con("tipo", nodo::intero(p.codice))
      .con("inizio", nodo::intero(p.valore_1))
      .con("fine", nodo::intero(p.valore_2))
      .con("posizione", nodo::intero(p.valore_3))
      .con("orario_secondi", nodo::intero(p.orario))
      .con("orario", ora)
      .con("opzione", nodo::intero(p.opzione))
      .con("parametri", parametri(p))
      .con("indicatori", indicatori(p));
}

sezione stazioni(const std::array<punto, numero_punti>& punti, const voci_divise& v) {
  sezione s{.chiave = "stazioni", .titolo = f("stazioni (%zu)", v.stazioni.size())};
  s.colonne = {colonna_di("voce", "voce", 4),           colonna_di("tipo", "tipo", 4),
               colonna_di("inizio", "inizio", 8),       colonna_di("fine", "fine", 8),
               colonna_di("posizione", "posizione", 9), colonna_di("orario", "orario", -9, 2),
               colonna_di("nome", "nome", 0, 2)};
  for (const int k : v.stazioni) s.righe.push_back(stazione(k, a(punti, k)));
  return s;
}

sezione cartelli(const std::array<punto, numero_punti>& punti, const voci_divise& v) {
  sezione s{.chiave = "cartelli", .titolo = f("cartelli (%zu)", v.cartelli.size())};
  s.colonne = {colonna_di("voce", "voce", 4), colonna_di("testo", "testo", 0, 2)};
  for (const int k : v.cartelli)
    s.righe.push_back(nodo::oggetto()
                          .con("voce", nodo::intero(k))
                          .con("testo", nodo::testo_di(nome_leggibile(a(punti, k).nome))));
  return s;
}

sezione altre(const std::array<punto, numero_punti>& punti, const voci_divise& v) {
  sezione s{.chiave = "altre_voci", .titolo = "altre voci non vuote", .facoltativa = true};
  s.colonne = {colonna_di("voce", "voce", 4),
               {"contenuto", 0,
                [](const nodo& r) {
                  return f("codice %s, valori %s, orario %s, nome \"",
                           r.membro("codice")->testo().c_str(), r.membro("valori")->testo().c_str(),
                           r.membro("orario")->testo().c_str()) +
                         r.membro("nome")->testo() + "\"";
                },
                2}};
  for (const int k : v.altre) s.righe.push_back(grezza(k, a(punti, k)));
  return s;
}

nodo riferimento(const punto& p) {
  return nodo::oggetto(f("riferimento chilometrico: inizio %d m, progressiva %d m, flag %d",
                         p.valore_1, p.valore_2, p.valore_3))
      .con("inizio", nodo::intero(p.valore_1))
      .con("progressiva", nodo::intero(p.valore_2))
      .con("flag", nodo::intero(p.valore_3));
}

nodo treno(const punto& p) {
  return nodo::oggetto(f("massa frenata %d%%, lunghezza della linea %d m, vetture %d", p.valore_1,
                         p.valore_2, p.valore_3))
      .con("massa_frenata", nodo::intero(p.valore_1))
      .con("lunghezza_linea", nodo::intero(p.valore_2))
      .con("vetture", nodo::intero(p.valore_3));
}

nodo percorso_e_sfondi(const punto& p) {
  const std::string nome = nome_leggibile(p.nome);
  const std::string controllo = p.parametro_1 == valore_slot_percorso
                                    ? " (corretto)"
                                    : f(" (atteso %d)", valore_slot_percorso);
  return nodo::oggetto("percorso \"" + nome + "\"" +
                       f(", sfondi uno %d, due %d, tre %d, valore %d", p.valore_1, p.valore_3,
                         p.valore_2, p.parametro_1) +
                       controllo)
      .con("percorso", nodo::testo_di(nome))
      .con("sfondo_uno", nodo::intero(p.valore_1))
      .con("sfondo_due", nodo::intero(p.valore_3))
      .con("sfondo_tre", nodo::intero(p.valore_2))
      .con("valore", nodo::intero(p.parametro_1))
      .con("atteso", nodo::intero(valore_slot_percorso));
}

nodo treno_e_orologio(const punto& p) {
  const std::string nome = nome_leggibile(p.nome);
  const std::string ora =
      orario(std::int64_t{p.parametro_3} * 3600 + p.parametro_4 * 60 + p.parametro_5);
  return nodo::oggetto("treno \"" + nome + "\"" +
                       f(", ripetizione segnali %d, %d, codici %d; sabbia %d; orologio %s",
                         p.valore_1, p.valore_2, p.valore_3, p.parametro_1, ora.c_str()))
      .con("treno", nodo::testo_di(nome))
      .con("ripetizione_segnali", interi({p.valore_1, p.valore_2, p.valore_3}))
      .con("sabbia", nodo::intero(p.parametro_1))
      .con("orologio", nodo::testo_di(ora));
}

// Slots 81 to 86, each labelled by its number: the compiler orders the three
// kilometric references, so a slot does not tell which row it came from.
sezione intestazione(const std::array<punto, numero_punti>& punti) {
  sezione s{.chiave = "intestazione", .titolo = "intestazione", .larghezza_etichette = 2};
  auto metti = [&](int k, nodo n) {
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
nodo verifica(std::int64_t nel_file, std::int64_t calcolato, const std::string& dove) {
  const bool uguale = nel_file == calcolato;
  return nodo::oggetto(f("%lld (%s): ", static_cast<long long>(nel_file), dove.c_str()) +
                       (uguale ? "corrisponde ai nomi"
                               : f("NON corrisponde ai nomi (atteso %lld)",
                                   static_cast<long long>(calcolato))))
      .con("dove", nodo::testo_di(dove))
      .con("nel_file", nodo::intero(nel_file))
      .con("calcolato", nodo::intero(calcolato))
      .con("corrisponde", nodo::vero(uguale));
}

// A check code that the file beside could not give.
nodo non_verificabile(const std::string& dove) {
  return nodo::oggetto("non verificabile: " + dove)
      .con("dove", nodo::testo_di(dove))
      .con("nel_file", nodo::nullo())
      .con("calcolato", nodo::nullo())
      .con("corrisponde", nodo::nullo());
}

sezione codici(const std::array<punto, numero_punti>& punti, const codice_accanto& semplice) {
  const std::string& treno = a(punti, slot_ripetizione).nome;
  const std::string& nome = a(punti, slot_percorso).nome;
  sezione s{
      .chiave = "codici_di_controllo", .titolo = "codici di controllo", .larghezza_etichette = 8};
  s.voci.push_back({"pesato", "pesato",
                    verifica(a(punti, slot_percorso).orario, codice_gara_st(treno, nome),
                             f("voce %d, orario", slot_percorso))});
  s.voci.push_back({"semplice", "semplice",
                    semplice.nel_file
                        ? verifica(*semplice.nel_file, codice_gara_og(treno, nome), semplice.dove)
                        : non_verificabile(semplice.dove)});
  return s;
}

}  // namespace

documento descrivi_punti(const std::string& file, const std::array<punto, numero_punti>& punti,
                         std::size_t byte, const codice_accanto& semplice) {
  const voci_divise v = dividi_voci(punti);
  documento d{.file = file, .tipo = "punti"};
  d.sommario = f("file dei punti, %d voci, %zu byte", numero_punti, byte);
  d.dati.push_back({"byte", "", nodo::intero(static_cast<std::int64_t>(byte))});
  d.sezioni = {stazioni(punti, v), cartelli(punti, v), altre(punti, v), intestazione(punti),
               codici(punti, semplice)};
  return d;
}

}  // namespace percorso
