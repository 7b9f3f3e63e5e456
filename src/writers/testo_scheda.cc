// The train sheet: header boxes and the timetable table for the driver. Its bars
// stand at fixed columns, so every blank counts.
#include "writers/testi.h"

namespace percorso {

// clang-format off
static constexpr std::string_view righe[] = {
    "",
    "",
    "  ___________________                                               ______________",
    " |                   |                    SCHEDA                   |              |",
    " |   TRENO n. 917    |                   da: VARMENA CENTRALE      |    V200 C    |",
    " |___________________|                    a: OSTRANA               |     125%     |",
    "                                                                   |______________|",
    "  ___________________                ___________________",
    " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
    " |        IC         |              |      600T         |",
    " |___________________|              |___________________|",
    "",
    "  ________________________________________________________________________________",
    " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
    " | Lim.|Marc.|          |  Rs |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    " |     |     |          |     |                            |                |     |",
    " |  70 |  70 |  349+970 |     | VARMENA CENTRALE           |          15.33 |     |",
    " | 125 | 120 |  351+310 |     | VARMENA P.N.               |      15.35     |     |",
    " | 150 | 150 |  353+753 |     | Imb.Sud Galleria Rocchetta |                |     |",
    " |     |     |  359+100 |     | CORNELLA                   |      15.40     | 0.5 |",
    " |     |     |  364+360 |     | TORRE ALBINA               |      15.43     | 1.0 |",
    " | 130 | 130 |  367+000 |     | Cippo Km 367+000           |                |     |",
    " | 100 | 100 |  370+662 |     | Km 370+662                 |                |     |",
    " |     |     |  371+880 |     | LIVERNA                    |      15.49     | 1.5 |",
    " | 170 | 160 |  372+500 |     | Km 372+500                 |                |     |",
    " |     |     |  379+137 |     | BELFIORE                   |      15.50     | 0.5 |",
    " |     |     |  389+410 |     | POGGIO MARINO-SAN VITALIANO|      15.54     | 0.5 |",
    " | 150 | 150 |  397+000 |     | Km 397+000                 |                |     |",
    " |     |     |  398+910 |     | CASALVERDE                 |      15.57     |     |",
    " |     |     |  404+970 |     | ROCCAFORTE                 |      16.00     |     |",
    " |     |     |  416+400 |     | MONTECALVO                 |  16.06 - 16.07 | 0.5 |",
    " |     |     |  427+030 |     | CASTELNUOVO PIANA          |      16.13     | 0.5 |",
    " | 100 | 100 |  437+500 |     | Segn. Avv. Ostrana         |                |     |",
    " |     |     |  439+440 |     | OSTRANA                    |  16.20         |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    "",
};
// clang-format on

std::span<const std::string_view> righe_scheda() {
  return righe;
}

}  // namespace percorso
