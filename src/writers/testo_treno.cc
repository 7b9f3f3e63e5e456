// The train description: general values, adhesion, speed limits, stations with
// the timetable, slowdowns and signals. Numbers are right-aligned in fields of
// fixed width; the compiler reads the text back.
#include "writers/testi.h"

namespace percorso {

// clang-format off
static constexpr std::string_view righe[] = {
    "[generale]",
    "numero vetture,    12",
    "percentuale massa frenata,    125",
    "sabbia,    200",
    "orologio,    15              32            30 ",
    "[aderenze]",
    "aderenza,   0,    100",
    "[vel_limite]",
    "velocita,       0,    70",
    "velocita,    1350,   125",
    "velocita,    3850,   150",
    "velocita,   17000,   130",
    "velocita,   20100,    60",
    "velocita,   20700,   100",
    "velocita,   22500,   180",
    "velocita,   47000,   150",
    "velocita,   87550,   100",
    "[stazioni]",
    "stazione,       0, 12,  800,  0, 0, 1,  1,1,0,  4,1,1,    1,  15,33, 0, VARMENA CENTRALE",
    "stazione,    1600, 12,  700,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, VARMENA P.N.",
    "stazione,    9150, 12,  500,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, CORNELLA",
    "stazione,   14400, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, TORRE ALBINA",
    "stazione,   20500, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, Nome Stazione",
    "stazione,   21900, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, LIVERNA",
    "stazione,   29100, 12,  400,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, BELFIORE",
    "stazione,   39900,  4,  600,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, POGGIO MARINO-SAN VITALIANO",
    "stazione,   48950, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, CASALVERDE",
    "stazione,   55050, 12,  400,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, ROCCAFORTE",
    "stazione,   66550, 12,  800,  0, 0, 0,  1,1,0,  4,1,1,   45,  16, 7, 0, MONTECALVO",
    "stazione,   77050, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, CASTELNUOVO PIANA",
    "stazione,   89500,  4,  600,  0, 0, 0,  1,1,0,  2,1,1,    0,  16,20, 0, OSTRANA",
    "[rallentamenti]",
    "rallentamento,    2000,    60,  700, 0,  0,  60",
    "rallentamento,   77800,   100,  500, 0,  1,  100",
    "[segnali]",
    "segnale,     850,   2, 4, 1,  0, 0,    2,  2,1,0, 0",
    "segnale,    7000,   1, 4, 1,  0, 0,    1,  3,1,0, 0",
    "segnale,    8000,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
    "segnale,   12600,   1, 4, 1,  0, 0,    1,  3,1,0, 0",
    "segnale,   13400,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
    "segnale,   18950,   1, 3, 1,  0, 0,    0,  0,0,0, 0",
    "segnale,   20100,   2, 2, 4,  0, 1,    1,  3,1,0, 235",
    "segnale,   21150,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
    "segnale,   26800,   1, 4, 1,  0, 0,    1,  3,1,0, 0",
    "segnale,   27800,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
    "segnale,   37800,   1, 4, 1,  0, 0,    1,  3,1,0, 0",
    "segnale,   38800,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
    "segnale,   46800,   1, 4, 1,  0, 0,    1,  3,1,0, 0",
    "segnale,   47800,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
    "segnale,   53000,   1, 4, 1,  0, 0,    1,  3,1,0, 0",
    "segnale,   54000,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
    "segnale,   64300,   1, 4, 1,  0, 0,    1,  3,1,0, 0",
    "segnale,   65300,   2, 3, 1,  1, 0,    2,  2,1,1, 0",
    "segnale,   75000,   1, 4, 1,  0, 0,    1,  3,1,0, 0",
    "segnale,   76000,   2, 4, 1,  1, 0,    2,  2,1,1, 0",
    "segnale,   87500,   1, 4, 1,  0, 0,    1,  3,1,0, 0",
    "segnale,   88500,   2, 3, 1,  1, 0,    2,  2,1,1, 0",
    "[codici]",
    "[fine]",
};
// clang-format on

std::span<const std::string_view> righe_treno() {
  return righe;
}

}  // namespace percorso
