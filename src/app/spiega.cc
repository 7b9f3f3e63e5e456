#include "app/spiega.h"

#include <algorithm>
#include <vector>

#include "app/rapporto.h"
#include "app/valori_incorporati.h"
#include "diagnostics/spiegazioni.h"
#include "format/nomi_file.h"
#include "sintassi/constatazioni.h"
#include "sintassi/parole_chiave.h"
#include "sintassi/sezioni.h"

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
  paragrafo(s, "Nello scenario incorporato: " + valori_incorporati(k, i), 6);
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
  paragrafo(s, "Nello scenario incorporato: " + righe_incorporate(k), 0);
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
