// What to write for a field that matches no keyword. A field that holds a keyword's
// test words in another case, or some of them, means that keyword ("Sfondo uno",
// "lunghezza della linea"); otherwise each keyword of the text is known by its name
// and by its first test piece, so "pendeza" finds "pendenza". A curve is known by
// its written forms without the class, and keeps the field's hand and class.
#include <algorithm>
#include <vector>

#include "checker/stato.h"
#include "diagnostics/parole_vicine.h"

namespace percorso::controllo {
namespace {

// Longer fields are no typo of a keyword; the bound also keeps the work small.
constexpr std::size_t campo_massimo = 48;

// Test words this short ("uno", "tre") are too common to name a keyword alone.
constexpr std::size_t parola_di_prova_minima = 5;

bool del_testo(const parola_chiave& k, fonte testo) {
  return (k.dove == parte::treno) == (testo == fonte::treno);
}

// The keyword whose test words the field holds most of, ignoring case; none when
// it holds no long one.
const parola_chiave* per_parole_di_prova(std::string_view campo, fonte testo) {
  const parola_chiave* migliore = nullptr;
  int piu = 0;
  for (const parola_chiave& k : parole_chiave()) {
    if (!del_testo(k, testo)) continue;
    int tenute = 0;
    bool lunga = false;
    for (const std::string_view p : {k.pezzo_1, k.pezzo_2}) {
      if (p.empty() || !contiene_senza_maiuscole(campo, p)) continue;
      ++tenute;
      lunga = lunga || p.size() >= parola_di_prova_minima;
    }
    if (lunga && tenute > piu) {
      piu = tenute;
      migliore = &k;
    }
  }
  return migliore;
}

// The keyword nearest by spelling, digits aside.
const parola_chiave* per_ortografia(std::string_view campo, fonte testo) {
  std::string basso;
  for (const char c : campo) {
    if (c < '0' || c > '9') basso.push_back(minuscola(c));
  }
  std::vector<std::string_view> note;
  std::vector<const parola_chiave*> di;
  for (const parola_chiave& k : parole_chiave()) {
    if (!del_testo(k, testo)) continue;
    for (const std::string_view n : {k.nome, k.pezzo_1}) {
      note.push_back(n);
      di.push_back(&k);
    }
    if (k.id != chiave::curva) continue;
    for (const std::string_view n : {"curvad", "curvas"}) {
      note.push_back(n);
      di.push_back(&k);
    }
  }
  const auto vicino = piu_vicino(basso, note);
  if (!vicino) return nullptr;
  // The word found is one of note itself: its place names its keyword.
  const auto i = std::find_if(note.begin(), note.end(), [&](std::string_view n) {
    return n.data() == vicino->data() && n.size() == vicino->size();
  });
  return di[static_cast<std::size_t>(i - note.begin())];
}

// A curve keyword as the compiler would read the field: left-hand when it holds an
// s, and its class digit when it holds one.
std::string curva_di(std::string_view campo) {
  std::string s = "curva";
  s.push_back(campo.find_first_of("sS") != std::string_view::npos ? 's' : 'd');
  for (char c = '1'; c <= '6'; ++c) {
    if (campo.find(c) == std::string_view::npos) continue;
    s.push_back(c);
    break;
  }
  return s;
}

}  // namespace

std::optional<std::string> parola_vicina(std::string_view campo, fonte testo) {
  if (campo.size() > campo_massimo) return std::nullopt;
  const parola_chiave* k = per_parole_di_prova(campo, testo);
  if (k == nullptr) k = per_ortografia(campo, testo);
  if (k == nullptr) return std::nullopt;
  if (k->id == chiave::curva) return curva_di(campo);
  return std::string(k->nome);
}

}  // namespace percorso::controllo
