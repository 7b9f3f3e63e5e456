// Three stations over 6 km, with a tunnel and a slowdown between the second and the
// third. Cells are 50 m: the features stand apart so that the completion pass finds
// free cells for every speed point it adds.
#include "writers/nuovo_scenario.h"

#include "format/nomi_file.h"
#include "writers/testi.h"

namespace percorso {
namespace {

// clang-format off
constexpr std::string_view inizio_linea[] = {
    "[generale]",
    "lunghezza percorso,    6000",
    "progressiva chilometrica uno,    0,    12000,    0",
};

constexpr std::string_view corpo_linea[] = {
    "[curve]",
    "curvad5,  650,  200",
    "curvas4,   2400,    350",
    "curvad3,   4100,    600",
    "[pendenze]",
    "pendenza,   0,    0",
    "pendenza, 900, -3",
    "pendenza, 2500, 4",
    "pendenza, 4300, 0",
    "[montagne]",
    "montagna,  2850,  3350,  12",
    "[cartelli]",
    "indicatori_vmax,  1150,  100,  105,  110,  0,  100,  105,  110,  0",
    "[indicazioni]",
    "cartello_indicatore,  2800,   ( Galleria  )(   Monte Primo   )( Ml. 500  )",
    "[fine]",
};

constexpr std::string_view righe_nuovo_treno[] = {
    "[generale]",
    "numero vetture,    6",
    "percentuale massa frenata,    110",
    "sabbia,    200",
    "orologio,    8              0            0 ",
    "[aderenze]",
    "aderenza,   0,    100",
    "[vel_limite]",
    "velocita,       0,    60",
    "velocita,     600,   100",
    "velocita,    4500,    80",
    "[stazioni]",
    "stazione,       0, 12,  600,  0, 0, 1,  1,1,0,  4,1,1,    1,   8, 2, 0, CAPOLINEA NORD",
    "stazione,    2000, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,   30,   8, 6, 0, MEZZAVIA",
    "stazione,    5000, 12,  600,  0, 0, 0,  1,1,0,  2,1,1,    0,   8,10, 0, CAPOLINEA SUD",
    "[rallentamenti]",
    "rallentamento,    3800,    60,  300, 0,  1,  60",
    "[segnali]",
    "segnale,     450,   2, 4, 1,  0, 0,    2,  2,1,0, 0",
    "segnale,    1300,   1, 4, 1,  0, 0,    1,  3,1,0, 0",
    "segnale,    2350,   2, 4, 1,  0, 0,    2,  2,1,0, 0",
    "segnale,    4400,   1, 4, 1,  0, 0,    1,  3,1,0, 0",
    "[codici]",
    "[fine]",
};
// clang-format on

// The other general values are those of the embedded line.
std::span<const std::string_view> righe_nuova_linea() {
  static const std::vector<std::string_view> righe = [] {
    const std::span<const std::string_view> parti[] = {inizio_linea, righe_linea().subspan(3, 6),
                                                       corpo_linea};
    std::vector<std::string_view> r;
    for (const auto parte : parti)
      for (const std::string_view riga : parte) r.push_back(riga);
    return r;
  }();
  return righe;
}

}  // namespace

std::vector<testo_da_scrivere> testi_nuovo_scenario(const modello& m) {
  return {{nome_testo_linea(m), righe_nuova_linea()}, {nome_testo_treno(m), righe_nuovo_treno}};
}

}  // namespace percorso
