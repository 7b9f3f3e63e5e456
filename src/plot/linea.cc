#include "plot/linea.h"

#include <algorithm>

#include "format/formato.h"
#include "format/testo_nomi.h"
#include "format/voci.h"

namespace percorso {
namespace {

constexpr double metri_cella = metri_per_cella;

// "( Galleria  )(   Castelvecchio   )( Ml. 2047  )" reads "Galleria Castelvecchio, Ml. 2047".
std::string testo_cartello(std::string_view t) {
  std::vector<std::string> parti;
  std::string parte;
  auto chiudi = [&] {
    while (!parte.empty() && parte.back() == ' ') parte.pop_back();
    if (!parte.empty()) parti.push_back(parte);
    parte.clear();
  };
  for (const char c : t) {
    if (c == '(' || c == ')') {
      chiudi();
    } else if (c != ' ' || (!parte.empty() && parte.back() != ' ')) {
      parte += c;
    }
  }
  chiudi();
  std::string s;
  for (std::size_t i = 0; i < parti.size(); ++i) {
    if (i > 0) s += i + 1 == parti.size() && parti.size() > 2 ? ", " : " ";
    s += parti[i];
  }
  return s;
}

bool profilo_impostato(const cella& c) {
  return c.pendenza != 0 || c.velocita != 0 || c.aderenza != 0 || c.montagna != 0;
}

// Cells up to the last one that carries a profile.
std::size_t celle_impostate(const std::vector<cella>& c) {
  for (std::size_t i = c.size(); i > 0; --i)
    if (profilo_impostato(c[i - 1])) return i;
  return 0;
}

// Title, length and stations from the point table.
void dai_punti(linea_grafico& l, const std::array<punto, numero_punti>& punti) {
  l.titolo = nome_leggibile(punti[slot_percorso].nome) + ", treno " +
             nome_leggibile(punti[slot_ripetizione].nome);
  l.lunghezza_linea = punti[slot_treno].valore_2;
  for (const int k : dividi_voci(punti).stazioni) {
    const punto& s = punti[static_cast<std::size_t>(k)];
    l.stazioni.push_back({nome_leggibile(s.nome), static_cast<double>(s.valore_3),
                          static_cast<double>(s.valore_1), static_cast<double>(s.valore_2)});
  }
}

// The slowdown that starts at cell i, up to its end cell (i itself when none follows).
tratto_celle rallentamento_da(const std::vector<cella>& c, std::size_t i) {
  std::size_t fine = i;
  for (std::size_t j = i + 1; j < c.size(); ++j) {
    if (c[j].evento == evento::fine_rallentamento) {
      fine = j;
      break;
    }
    if (c[j].evento == evento::inizio_rallentamento) break;
  }
  return {i, fine, c[i].dato_1, {}};
}

std::string testo_del_cartello(const cella& c, const std::array<punto, numero_punti>* punti) {
  if (punti && c.dato_1 >= 0 && c.dato_1 < numero_punti)
    return testo_cartello(nome_leggibile((*punti)[static_cast<std::size_t>(c.dato_1)].nome));
  return "cartello " + std::to_string(c.dato_1);
}

// Mountain-side stretches as runs of cells of one type.
void segna_montagna(linea_grafico& l, std::size_t i, int tipo) {
  if (l.montagne.empty() || l.montagne.back().ultima + 1 != i || l.montagne.back().valore != tipo)
    l.montagne.push_back({i, i, tipo, {}});
  else
    l.montagne.back().ultima = i;
}

// A board names the stretch that starts near it; the others are plain boards.
void nomina_montagne(linea_grafico& l, std::vector<std::pair<std::size_t, std::string>> cartelli) {
  for (auto& [cella_del_cartello, testo] : cartelli) {
    // A named copy: lambdas may not capture structured bindings everywhere.
    const auto cella_cartello = cella_del_cartello;
    const auto m = std::find_if(l.montagne.begin(), l.montagne.end(), [&](const tratto_celle& m) {
      return m.nome.empty() && cella_cartello + 4 >= m.prima && cella_cartello <= m.ultima;
    });
    if (m != l.montagne.end())
      m->nome = std::move(testo);
    else
      l.cartelli.emplace_back(cella_cartello, std::move(testo));
  }
}

}  // namespace

linea_grafico raccogli(std::vector<cella> celle, const std::array<punto, numero_punti>* punti,
                       std::optional<piano_letto> piano) {
  linea_grafico l;
  l.celle = std::move(celle);
  l.piano = std::move(piano);
  const auto& c = l.celle;
  l.celle_impostate = celle_impostate(c);
  if (punti) {
    dai_punti(l, *punti);
    l.km = chilometrica(*punti);
  }
  // The cells run beyond the line by a fixed length.
  const double celle_metri = static_cast<double>(c.size()) * metri_cella;
  if (!(l.lunghezza_linea > 0) || l.lunghezza_linea > celle_metri)
    l.lunghezza_linea = std::max(0.0, celle_metri - metri_oltre_la_linea);

  std::vector<std::pair<std::size_t, std::string>> cartelli;
  for (std::size_t i = 0; i < c.size(); ++i) {
    const double metro = static_cast<double>(i) * metri_cella;
    switch (c[i].evento) {
      case evento::segnale:
        l.segnali.push_back(i);
        break;
      case evento::avviso_rallentamento:
        l.avvisi.push_back(i);
        break;
      case evento::inizio_rallentamento:
        l.rallentamenti.push_back(rallentamento_da(c, i));
        break;
      case evento::fermata:
        // Without the point table the stop cells are the stations.
        if (!punti)
          l.stazioni.push_back({"stazione " + std::to_string(c[i].dato_1), metro, metro, metro});
        break;
      case evento::cartello:
        cartelli.emplace_back(i, testo_del_cartello(c[i], punti));
        break;
      default:
        break;
    }
    if (c[i].montagna != 0) segna_montagna(l, i, c[i].montagna);
  }
  nomina_montagne(l, std::move(cartelli));
  if (l.titolo.empty()) l.titolo = "linea";
  return l;
}

double oltre_la_fine(double lunghezza_linea) {
  return std::max(1000.0, lunghezza_linea * 0.08);
}

}  // namespace percorso
