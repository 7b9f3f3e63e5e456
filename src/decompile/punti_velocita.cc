#include "decompile/punti_velocita.h"

#include "compiler/completamento.h"
#include "decompile/posizioni.h"
#include "placement/prese.h"
#include "sintassi/parole_chiave.h"

namespace percorso {
namespace {

constexpr std::int16_t velocita_del_completamento = 180;

bool del_completamento(const cella& c) {
  return c.evento == evento::punto_velocita && c.dato_1 == velocita_del_completamento;
}

}  // namespace

punti_degli_autori punti_dei_testi(std::span<const cella> celle) {
  modello m;
  m.celle.assign(celle.begin(), celle.end());
  for (cella& c : m.celle) {
    if (!del_completamento(c)) continue;
    c.evento = evento::nessuno;
    c.dato_1 = 0;
  }
  // The pass ran before cell 1 took the header values: there they were 0.
  const bool intestata = m.celle.size() > cella_di_controllo;
  if (intestata) m.celle[cella_di_controllo].dato_1 = m.celle[cella_di_controllo].dato_2 = 0;
  completa_celle(m);
  if (intestata && m.celle[cella_di_controllo].dato_1 == 0) {
    m.celle[cella_di_controllo].dato_1 = celle[cella_di_controllo].dato_1;
    m.celle[cella_di_controllo].dato_2 = celle[cella_di_controllo].dato_2;
  }
  punti_degli_autori r;
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const cella& atteso = celle[i];
    const cella& rifatto = m.celle[i];
    const bool punto =
        atteso.evento == evento::punto_velocita || atteso.evento == evento::punto_senza_velocita;
    // Where the pass puts its point back, the point is its own; any other is a row's.
    if (rifatto == atteso) {
      if (punto && !del_completamento(atteso)) r.celle.push_back(static_cast<std::int64_t>(i));
    } else if (del_completamento(atteso) && !del_completamento(rifatto)) {
      r.celle.push_back(static_cast<std::int64_t>(i));
    } else {
      r.problemi.push_back("cella " + std::to_string(i) +
                           ": il completamento non la ridarebbe com'e' (un punto di velocita' "
                           "che il file non ha, o uno diverso)");
    }
  }
  return r;
}

std::vector<riga_testo> righe_punti_velocita(std::span<const cella> celle, problemi& guasti) {
  const auto autori = punti_dei_testi(celle);
  aggiungi_problemi(guasti, tipo_file::celle, autori.problemi);
  std::vector<riga_testo> r;
  const auto ultima_riga = std::ssize(celle) - 3;
  for (const std::int64_t i : autori.celle) {
    const cella& c = celle[static_cast<std::size_t>(i)];
    std::int64_t w = 0;
    std::string perche;
    if (c.evento == evento::punto_velocita) {
      w = i == cella_di_controllo ? 0 : c.dato_1;
      if (w <= 0) {
        w += 65536;
        perche = "velocita' + 65536: la cella ne tiene 16 bit, e 0 o meno non darebbe velocita'";
      }
    }
    if (i > ultima_riga)
      guasti.push_back(
          {tipo_file::celle, "cella " + std::to_string(i) +
                                 ": un punto di velocita' oltre l'ultima posizione di una riga"});
    r.push_back({std::string(parola(chiave::abbattimento).nome),
                 {posizione_alla_cella(i), w},
                 std::nullopt,
                 std::move(perche)});
  }
  return r;
}

}  // namespace percorso
