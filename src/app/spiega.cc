#include "app/spiega.h"

#include <vector>

#include "app/rapporto.h"
#include "diagnostics/spiegazioni.h"
#include "sintassi/constatazioni.h"
#include "sintassi/parole_chiave.h"

namespace percorso {
namespace {

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

}  // namespace

// "  3 lunghezza (metri, intero a 32 bit con segno): da 0 a 1000000, multiplo di 100"
std::string scheda_campo(std::size_t n, const campo_formato& f) {
  std::string s(n < 10 ? 3 : 2, ' ');
  s.append(std::to_string(n)).append(" ").append(f.nome).append(" (");
  if (!f.unita.empty()) s.append(f.unita).append(", ");
  s.append(nome_larghezza(f.tipo)).append(")");
  if (const std::string i = intervallo_di(f); !i.empty()) s.append(": ").append(i);
  return s.append("\n      ").append(f.significato).append("\n");
}

std::string scheda_parola(const parola_chiave& k) {
  std::string s = std::string(k.nome) + " - " + std::string(nome_parte(k.dove)) + "\n";
  s.append(k.significato).append("\nRiconosciuta quando ").append(prova_di(k)).append(".\n");
  s.append("\nCampi, in ordine (separati da virgole; i numeri anche da spazi):\n");
  for (std::size_t i = 0; i < k.campi.size(); ++i) s.append(scheda_campo(i + 1, k.campi[i]));
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
    if (colonna == 0 || colonna + 1 + voce.size() > 88) {
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

}  // namespace

std::optional<std::string> spiega_parola(std::string_view nome) {
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
  for (const parola_chiave& k : parole_chiave()) nomi.push_back(k.nome);
  for (const genere_constatazione* g : generi_constatazioni()) nomi.push_back(g->nome);
  return nomi;
}

std::string indice_spiegazioni() {
  std::string s = "Parole chiave (percorso explain PAROLA):\n";
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
