#include "app/spiega.h"

#include <algorithm>
#include <vector>

#include "app/rapporto.h"
#include "diagnostics/spiegazioni.h"
#include "format/nomi_file.h"
#include "model/numeri.h"
#include "sintassi/cammino.h"
#include "sintassi/constatazioni.h"
#include "sintassi/parole_chiave.h"
#include "sintassi/sezioni.h"
#include "writers/testi.h"

namespace percorso {
namespace {

// Explain's lines stay within a terminal of this many columns.
constexpr std::size_t larghezza_righe = 88;

// Appends testo after the rientro already written, wrapped at the blanks; every
// following line starts with rientro blanks.
void a_capo(std::string& s, std::string_view testo, std::size_t rientro) {
  std::size_t colonna = rientro;
  bool primo = true;
  while (!testo.empty()) {
    const auto fine = testo.find(' ');
    const std::string_view parola = testo.substr(0, fine);
    testo.remove_prefix(fine == std::string_view::npos ? testo.size() : fine + 1);
    if (!primo && colonna + 1 + parola.size() > larghezza_righe) {
      s.append("\n").append(rientro, ' ');
      colonna = rientro;
    } else if (!primo) {
      s.append(" ");
      ++colonna;
    }
    s.append(parola);
    colonna += parola.size();
    primo = false;
  }
  s.append("\n");
}

// A paragraph indented by rientro blanks.
void paragrafo(std::string& s, std::string_view testo, std::size_t rientro) {
  s.append(rientro, ' ');
  a_capo(s, testo, rientro);
}

std::string prova_di(const parola_chiave& k) {
  std::string s = "la parola chiave contiene \"" + std::string(k.pezzo_1) + "\"";
  if (!k.pezzo_2.empty()) s.append(" e \"").append(k.pezzo_2).append("\"");
  s.append(k.maiuscole_contano ? ", scritte cosi' (le maiuscole contano)"
                               : " (maiuscole o minuscole)");
  return s;
}

std::string intervallo_di(const campo_formato& f) {
  if (f.tipo == larghezza::testo)
    return f.massimo > 0 ? "al massimo " + std::to_string(f.massimo) + " caratteri" : "";
  std::string s = da_a(f.minimo, f.massimo);
  if (f.multiplo > 1) s.append(", multiplo di ").append(std::to_string(f.multiplo));
  if (f.uso == ruolo::posizione) s.append(", entro la lunghezza della linea");
  return s;
}

// Each value with a meaning of its own on a line: the values, then their meaning
// wrapped under itself.
void valori(std::string& s, std::span<const valore_campo> v, std::size_t rientro) {
  for (const valore_campo& x : v) {
    s.append(rientro, ' ').append(x.valori).append(": ");
    a_capo(s, x.significato, rientro + x.valori.size() + 2);
  }
}

// The rows of the embedded texts, read as the compiler reads them, once.
struct riga_incorporata {
  const parola_chiave* k;
  std::string_view chiave;  // the keyword field as written
  campi_riga campi;
};

class testi_incorporati {
 public:
  testi_incorporati() {
    leggi(linea_, righe_linea(), true);
    leggi(treno_, righe_treno(), false);
  }
  const std::vector<riga_incorporata>& righe() const { return righe_; }

 private:
  void leggi(std::string& testo, std::span<const std::string_view> righe, bool della_linea) {
    for (const std::string_view r : righe) testo.append(r).append("\r\n");
    const std::span<const std::uint8_t> byte(reinterpret_cast<const std::uint8_t*>(testo.data()),
                                             testo.size());
    cammino_righe w(byte, della_linea);
    while (const auto c = w.prossima()) {
      if (c->tipo != voce::chiave) continue;
      for (const parola_chiave& k : parole_chiave()) {
        if (k.dove != c->dove || !corrisponde(k, c->campo.testo)) continue;
        riga_incorporata r{&k, c->campo.testo, {}};
        w.campi(k, r.campi);
        righe_.push_back(r);
      }
    }
  }

  std::string linea_, treno_;  // the fields point into them
  std::vector<riga_incorporata> righe_;
};

const std::vector<riga_incorporata>& righe_incorporate() {
  static const testi_incorporati testi;
  return testi.righe();
}

std::string righe(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " riga" : " righe");
}

// How many rows write each value, in the order of their first row.
using usi_valori = std::vector<std::pair<std::string, std::size_t>>;

void conta(usi_valori& usi, std::string valore) {
  const auto i =
      std::find_if(usi.begin(), usi.end(), [&](const auto& u) { return u.first == valore; });
  if (i == usi.end())
    usi.emplace_back(std::move(valore), 1);
  else
    ++i->second;
}

// "12 (10 righe), 4 (2 righe)": each value and the rows that write it, most used first.
std::string elenco_usi(usi_valori usi) {
  std::stable_sort(usi.begin(), usi.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  std::string s;
  for (const auto& [valore, volte] : usi)
    s.append(s.empty() ? "" : ", ").append(valore).append(" (").append(righe(volte)).append(")");
  return s;
}

// What the embedded texts write in field i of k's rows.
std::string nello_scenario(const parola_chiave& k, std::size_t i) {
  usi_valori usi;
  std::size_t n = 0;
  std::int64_t minimo = 0, massimo = 0;
  const bool testo = k.campi[i].tipo == larghezza::testo;
  for (const riga_incorporata& r : righe_incorporate()) {
    if (r.k != &k || i >= r.campi.letti) continue;
    const campo_sorgente& f = r.campi.campi[i];
    const auto v = static_cast<std::int64_t>(arrotonda(f.numero));
    minimo = n == 0 ? v : std::min(minimo, v);
    massimo = n == 0 ? v : std::max(massimo, v);
    conta(usi, testo ? "'" + std::string(f.testo.substr(0, 40)) + "'" : std::to_string(v));
    ++n;
  }
  if (n == 0) return "nessuna riga";
  if (usi.size() == 1 && n <= 2) return usi.front().first + (n == 2 ? " in entrambe le righe" : "");
  if (usi.size() == 1) return usi.front().first + " in tutte le " + righe(n);
  if (testo) return std::to_string(usi.size()) + " testi, come " + usi.front().first;
  if (usi.size() > 6)
    return "da " + std::to_string(minimo) + " a " + std::to_string(massimo) + ", in " + righe(n);
  return elenco_usi(usi);
}

// How many rows of k the embedded texts have, and how they write a keyword that
// carries values of its own.
std::string righe_nello_scenario(const parola_chiave& k) {
  usi_valori usi;
  std::size_t n = 0;
  for (const riga_incorporata& r : righe_incorporate()) {
    if (r.k != &k) continue;
    conta(usi, std::string(r.chiave));
    ++n;
  }
  if (n == 0) return "nessuna riga";
  if (k.valori_chiave.empty()) return righe(n);
  return elenco_usi(usi);
}

// One field's description after its first line, indented under it.
std::string dettagli_campo(const parola_chiave& k, std::size_t i) {
  const campo_formato& f = k.campi[i];
  std::string s;
  paragrafo(s, f.significato, 6);
  if (!f.valori.empty()) {
    s.append("      Valori:\n");
    valori(s, f.valori, 8);
  }
  paragrafo(s, "Nei file: " + std::string(f.compilatore), 6);
  paragrafo(s, "Ai limiti: " + std::string(f.ai_limiti), 6);
  paragrafo(s, "Nello scenario incorporato: " + nello_scenario(k, i), 6);
  return s;
}

}  // namespace

// "  3 lunghezza (metri, intero a 32 bit con segno): da 0 a 1000000, multiplo di 100"
std::string scheda_campo(const parola_chiave& k, std::size_t i) {
  const campo_formato& f = k.campi[i];
  const std::size_t n = i + 1;
  std::string s(n < 10 ? 3 : 2, ' ');
  s.append(std::to_string(n)).append(" ").append(f.nome).append(" (");
  if (!f.unita.empty()) s.append(f.unita).append(", ");
  s.append(nome_larghezza(f.tipo)).append(")");
  if (const std::string intervallo = intervallo_di(f); !intervallo.empty())
    s.append(": ").append(intervallo);
  return s.append("\n").append(dettagli_campo(k, i));
}

std::string scheda_parola(const parola_chiave& k) {
  std::string s = std::string(k.nome) + " - " + std::string(nome_parte(k.dove)) + "\n";
  a_capo(s, k.significato, 0);
  a_capo(s, "Riconosciuta quando " + prova_di(k) + ".", 0);
  if (!k.valori_chiave.empty()) {
    s.append("Nella parola chiave:\n");
    valori(s, k.valori_chiave, 2);
  }
  paragrafo(s, "Nello scenario incorporato: " + righe_nello_scenario(k), 0);
  s.append(
      "\nCampi, in ordine (separati da virgole; i numeri anche da spazi; un numero con\n"
      "decimali e' arrotondato all'intero, le meta' al pari):\n");
  for (std::size_t i = 0; i < k.campi.size(); ++i) s.append(scheda_campo(k, i));
  return s.append("\nEsempio:\n  ").append(k.esempio).append("\n");
}

namespace {

bool risponde(const parola_chiave& k, std::string_view nome) {
  return k.nome == nome || k.pezzo_1 == nome || corrisponde(k, nome);
}

// Names, comma-separated, wrapped under an indent.
void elenca(std::string& s, const std::vector<std::string_view>& nomi) {
  std::size_t colonna = 0;
  for (std::size_t i = 0; i < nomi.size(); ++i) {
    const std::string voce = std::string(nomi[i]) + (i + 1 < nomi.size() ? "," : "");
    if (colonna == 0 || colonna + 1 + voce.size() > larghezza_righe) {
      s.append(colonna == 0 ? "    " : "\n    ");
      colonna = 4;
    } else {
      s.append(" ");
      ++colonna;
    }
    s.append(voce);
    colonna += voce.size();
  }
  s.append("\n");
}

// "fuori-sezione - errore\n<explanation>\nMessaggio: ...\n"
std::string scheda_constatazione(const genere_constatazione& g) {
  std::string s = std::string(g.nome) + " - ";
  if (g.attenuabile)
    s.append("errore, o avviso");
  else
    s.append(g.grado == livello::errore ? "errore" : "avviso");
  if (g.codice) s.append(" (codice ").append(std::to_string(*g.codice)).append(")");
  s.append("\n").append(g.spiegazione).append("\n");
  return s.append("Messaggio: ").append(g.modello).append("\n");
}

std::string scheda_sezioni() {
  std::string s;
  a_capo(s,
         "Una sezione e' un campo tra parentesi quadre. Il compilatore guarda solo [generale] e, "
         "nel testo della linea, la prima intestazione dopo di lei; le altre raccolgono le "
         "righe per chi legge: una riga vale in qualunque sezione della sua parte.",
         0);
  for (const bool linea : {true, false}) {
    s.append(linea ? "\nTesto della linea (NOME_linea.txt):\n"
                   : "\nTesto del treno (NOME_TRENO-.txt):\n");
    for (const sezione_testo& z : sezioni_testi()) {
      if (z.della_linea != linea) continue;
      s.append("  ").append(z.nome).append(" - ");
      a_capo(s, z.obbligo, 4 + z.nome.size());
      paragrafo(s, z.contenuto, 6);
      paragrafo(s, "Senza: " + std::string(z.senza), 6);
    }
  }
  return s;
}

// "  NOME_linea.dat                tracciato": a file name and what it is, in columns.
void file_e_cosa(std::string& s, std::string_view file, std::string_view cosa) {
  s.append("  ").append(file).append(std::max<std::size_t>(30, file.size() + 1) - file.size(), ' ');
  s.append(cosa).append("\n");
}

std::string scheda_nomi() {
  modello m;
  m.nome_percorso = "NOME";
  m.numero_treno = "TRENO";
  std::string s;
  a_capo(s, "I nomi dei due testi danno il nome del percorso (NOME) e il numero del treno (TRENO):",
         0);
  file_e_cosa(s, nome_testo_linea(m), "descrizione della linea");
  file_e_cosa(s, nome_testo_treno(m), "descrizione del treno");
  a_capo(s,
         "compile e page li ricavano da qui, altrimenti servono --nome e --treno; lsp accoppia "
         "cosi' i due testi. I file scritti prendono gli stessi nomi:",
         0);
  file_e_cosa(s, nome_file_piano(m), "tracciato");
  file_e_cosa(s, nome_file_punti(m), "file dei punti");
  file_e_cosa(s, nome_file_celle(m), "file delle celle");
  file_e_cosa(s, nome_scheda(m), "scheda treno (compile --documents)");
  file_e_cosa(s, nome_rallentamenti(m), "ordine di rallentamento (compile --documents)");
  file_e_cosa(s, nome_pagina(m), "pagina (page)");
  a_capo(s,
         "NOME e TRENO entrano nei due codici di controllo (voce 85 del file dei punti e cella "
         "1): gli stessi testi compilati con altri nomi danno file diversi. Non possono "
         "contenere '/', '\\', '..' o caratteri di controllo.",
         0);
  return s;
}

// The texts explain gives for a word that is neither a keyword nor a finding.
struct scheda_speciale {
  std::string_view nome;
  std::string (*scheda)();
};
constexpr scheda_speciale speciali[] = {{"sezioni", scheda_sezioni}, {"nomi", scheda_nomi}};

}  // namespace

std::optional<std::string> spiega_parola(std::string_view nome) {
  for (const scheda_speciale& x : speciali)
    if (x.nome == nome) return x.scheda();
  if (const genere_constatazione* g = genere_di_nome(nome)) return scheda_constatazione(*g);
  std::string s;
  for (const parola_chiave& k : parole_chiave()) {
    if (!risponde(k, nome)) continue;
    if (!s.empty()) s.append("\n");
    s.append(scheda_parola(k));
  }
  if (s.empty()) return std::nullopt;
  return s;
}

std::vector<std::string_view> nomi_parole() {
  std::vector<std::string_view> nomi;
  for (const scheda_speciale& x : speciali) nomi.push_back(x.nome);
  for (const parola_chiave& k : parole_chiave()) nomi.push_back(k.nome);
  for (const genere_constatazione* g : generi_constatazioni()) nomi.push_back(g->nome);
  return nomi;
}

std::string indice_spiegazioni() {
  std::string s = "Il formato dei testi:\n";
  s.append("    percorso explain sezioni   le sezioni di ogni testo\n");
  s.append("    percorso explain nomi      i nomi dei file\n");
  s.append("\nParole chiave (percorso explain PAROLA):\n");
  for (const parte p : {parte::intestazione, parte::corpo, parte::treno}) {
    s.append("  ").append(nome_parte(p)).append(":\n");
    std::vector<std::string_view> nomi;
    for (const parola_chiave& k : parole_chiave())
      if (k.dove == p) nomi.push_back(k.nome);
    elenca(s, nomi);
  }
  s.append("\nCodici (percorso explain CODICE):\n");
  for (const std::int32_t c : codici_spiegati()) {
    const std::string n = std::to_string(c);
    s.append(std::string(6 - n.size(), ' ')).append(n).append("  ");
    s.append(significato(c)).append("\n");
  }
  s.append("\nNomi degli avvisi e delle constatazioni (--no-warn=NOME):\n");
  elenca(s, nomi_spegnibili());
  return s;
}

}  // namespace percorso
