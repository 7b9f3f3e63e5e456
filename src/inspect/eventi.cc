#include "inspect/eventi.h"

#include "format/segnali.h"
#include "format/testo_nomi.h"
#include "format/unita_celle.h"
#include "inspect/testi.h"

namespace percorso {
namespace {

struct nome_codice {
  std::uint8_t codice;
  std::string_view nome;
  std::string_view chiave;  // JSON key of the count
};
constexpr nome_codice nomi_eventi[] = {
    {evento::segnale, "segnale", "segnali"},
    {evento::fine_rallentamento, "fine rallentamento", "fini_rallentamento"},
    {evento::inizio_rallentamento, "inizio rallentamento", "inizi_rallentamento"},
    {evento::avviso_rallentamento, "avviso rallentamento", "avvisi_rallentamento"},
    {evento::preavviso, "preavviso", "preavvisi"},
    {evento::indicatori, "indicatori velocita'", "indicatori"},
    {evento::fermata, "fermata", "fermate"},
    {evento::montagna, "segno di montagna", "segni_montagna"},
    {evento::punto_velocita, "punto di velocita'", "punti_velocita"},
    {evento::punto_senza_velocita, "punto senza velocita'", "punti_senza_velocita"},
    {evento::cartello, "cartello", "cartelli"},
};

nodo_vista lato(int tipo, const std::array<int, 3>& codici) {
  return nodo_vista::oggetto()
      .con("tipo", nodo_vista::intero(tipo))
      .con("codici", interi_vista({codici[0], codici[1], codici[2]}));
}

nodo_vista segnale(const cella& c) {
  const auto k = codici_di_segnale(c);
  if (!k)
    return nodo_vista::oggetto(formato("valori fuori dalle cifre: %d %d %d %d", c.dato_1, c.dato_2,
                                       c.dato_3, c.dato_4))
        .con("scomponibile", nodo_vista::vero(false));
  std::string testo =
      formato("lato s: tipo %d, codici %d %d %d; lato d: tipo %d, codici %d %d %d; rapp %d", k->sx,
              k->s[0], k->s[1], k->s[2], k->dx, k->d[0], k->d[1], k->d[2], k->rapp);
  if (k->sx == 2) testo += formato("; tempo %d", k->tempo);
  return nodo_vista::oggetto(testo)
      .con("scomponibile", nodo_vista::vero(true))
      .con("s", lato(k->sx, k->s))
      .con("d", lato(k->dx, k->d))
      .con("rapp", nodo_vista::intero(k->rapp))
      .con("tempo", nodo_vista::intero(k->tempo));
}

nodo_vista rallentamento(const cella& c, bool con_f_tt) {
  nodo_vista n = nodo_vista::oggetto()
                     .con("velocita_kmh", nodo_vista::intero(c.dato_1))
                     .con("d_v", nodo_vista::intero(c.dato_2));
  std::string testo = formato("%d km/h, d_v %d", c.dato_1, c.dato_2);
  if (con_f_tt) {
    n.con("f_tt", nodo_vista::intero(c.dato_3));
    testo += formato(", f_tt %d", c.dato_3);
  }
  return n.con_testo(testo);
}

nodo_vista indicatori(const cella& c) {
  static constexpr char classi[] = {'a', 'b', 'c'};
  const std::int16_t v[] = {c.dato_1, c.dato_2, c.dato_3};
  nodo_vista per_classe = nodo_vista::oggetto();
  std::string testo;
  for (int k = 0; k < 3; ++k) {
    const auto [s, d] = indicatori_km_h(v[k]);
    testo += formato("%s%c %d/%d", k > 0 ? ", " : "", classi[k], s, d);
    per_classe.con(std::string(1, classi[k]), nodo_vista::oggetto()
                                                  .con("s_kmh", nodo_vista::intero(s))
                                                  .con("d_kmh", nodo_vista::intero(d)));
  }
  testo += formato(" km/h (s/d); strisce s %d, d %d", c.dato_4 / 10, c.dato_4 % 10);
  return nodo_vista::oggetto(testo)
      .con("classi", std::move(per_classe))
      .con("strisce_s", nodo_vista::intero(c.dato_4 / 10))
      .con("strisce_d", nodo_vista::intero(c.dato_4 % 10));
}

// A cell that names a slot of the point table: a station stop or a board.
nodo_vista voce_nominata(const cella& c, const std::array<punto, numero_punti>* punti,
                         const char* cosa) {
  nodo_vista n = nodo_vista::oggetto().con("voce", nodo_vista::intero(c.dato_1));
  std::string testo = formato("%s %d", cosa, c.dato_1);
  if (punti != nullptr && c.dato_1 >= 0 && c.dato_1 < numero_punti) {
    const std::string nome = nome_leggibile((*punti)[static_cast<std::size_t>(c.dato_1)].nome);
    n.con("nome", nodo_vista::testo_di(nome));
    testo += " " + nome;
  }
  return n.con_testo(testo);
}

}  // namespace

std::string_view nome_evento(std::uint8_t codice) {
  for (const auto& n : nomi_eventi)
    if (n.codice == codice) return n.nome;
  return codice == evento::nessuno ? "nessuno" : "sconosciuto";
}

std::string chiave_evento(std::uint8_t codice) {
  for (const auto& n : nomi_eventi)
    if (n.codice == codice) return std::string(n.chiave);
  return "evento_" + std::to_string(codice);
}

nodo_vista valori_evento(const cella& c, const std::array<punto, numero_punti>* punti) {
  switch (c.evento) {
    case evento::nessuno:
      return nodo_vista::oggetto();
    case evento::segnale:
      return segnale(c);
    case evento::fine_rallentamento:
    case evento::inizio_rallentamento:
      return rallentamento(c, true);
    case evento::avviso_rallentamento:
      return rallentamento(c, false);
    case evento::preavviso:
      return nodo_vista::oggetto(
                 formato("%d di 4 (1 accanto al cartello di avviso), d_v %d", c.dato_1, c.dato_2))
          .con("numero", nodo_vista::intero(c.dato_1))
          .con("d_v", nodo_vista::intero(c.dato_2));
    case evento::indicatori:
      return indicatori(c);
    case evento::fermata:
      return voce_nominata(c, punti, "stazione");
    case evento::montagna:
      return nodo_vista::oggetto(formato("montagna tipo %d", c.montagna));
    case evento::punto_velocita:
      return nodo_vista::oggetto(formato("%d km/h", c.dato_1))
          .con("velocita_kmh", nodo_vista::intero(c.dato_1));
    case evento::punto_senza_velocita:
      return nodo_vista::oggetto("senza velocita'");
    case evento::cartello:
      return voce_nominata(c, punti, "testo della voce");
    default:
      return nodo_vista::oggetto(formato("codice %d, valori %d %d %d %d", c.evento, c.dato_1,
                                         c.dato_2, c.dato_3, c.dato_4));
  }
}

}  // namespace percorso
