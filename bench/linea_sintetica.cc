#include "linea_sintetica.h"

#include <string_view>

namespace percorso {
namespace {

class testo {
 public:
  testo& operator<<(std::string_view s) {
    t_ += s;
    return *this;
  }
  testo& operator<<(std::int64_t v) {
    t_ += std::to_string(v);
    return *this;
  }
  void riga(std::string_view s) { *this << s << "\r\n"; }
  std::string fine() { return std::move(t_); }

 private:
  std::string t_;
};

// Cell offsets inside a block (50 m cells) are chosen so that signals (cells 21
// and 121), the board text (81), the indicator boards (101), the slowdown
// (warning 137, pre-warning 133 to 136, start 161, end 171), the speed point
// (190) and the station stop (64) never meet, and the completion pass finds a
// free cell wherever it looks.
std::string testo_linea(std::int32_t blocchi, std::int32_t lunghezza) {
  testo t;
  t.riga("[generale]");
  t << "lunghezza percorso,    " << lunghezza << "\r\n";
  t.riga("progressiva chilometrica uno,    0,    350000,    0");
  t.riga("progressiva chilometrica due,    0,    0,    0");
  t.riga("progressiva chilometrica tre,    0,    0,    0");
  t.riga("sfondo uno,    0");
  t.riga("sfondo due,    1");
  t.riga("sfondo tre,    0");
  t.riga("ripetizione segnali 4 codici,    0    ,0");
  t.riga("[curve]");
  for (std::int64_t b = 0; b < blocchi; ++b) {
    for (std::int64_t k = 0; k < 16; ++k) {
      const char mano = (k + b) % 2 != 0 ? 's' : 'd';
      t << "curva" << std::string_view(&mano, 1) << (1 + (k + b) % 6) << ",  "
        << b * metri_per_blocco + 600 * k + 50 << ",  " << 150 + (37 * (k + b)) % 300 << "\r\n";
    }
  }
  t.riga("[pendenze]");
  for (std::int64_t b = 0; b < blocchi; ++b) {
    for (std::int64_t k = 0; k < 25; ++k)
      t << "pendenza, " << b * metri_per_blocco + 400 * k << ", " << (k * 7 + b * 3) % 17 - 8
        << "\r\n";
  }
  t.riga("[montagne]");
  for (std::int64_t b = 0; b < blocchi; ++b)
    t << "montagna,  " << b * metri_per_blocco + 2000 << ",  " << b * metri_per_blocco + 3500
      << ",  12\r\n";
  t.riga("[cartelli]");
  for (std::int64_t b = 0; b < blocchi; ++b)
    t << "indicatori_vmax,  " << b * metri_per_blocco + 5000
      << ",  90,  95,  100,  0,  90,  95,  100,  " << b % 3 << "\r\n";
  t.riga("[indicazioni]");
  // Board texts take point slots from 80 down, so only every fifth block has one.
  for (std::int64_t b = 0; b < blocchi; b += 5)
    t << "cartello_indicatore,  " << b * metri_per_blocco + 4000 << ",   ( Galleria  )(   Monte "
      << b << "   )( Ml. 1500  )\r\n";
  t.riga("[fine]");
  return t.fine();
}

std::string testo_treno(std::int32_t blocchi) {
  testo t;
  t.riga("[generale]");
  t.riga("numero vetture,    12");
  t.riga("percentuale massa frenata,    125");
  t.riga("sabbia,    200");
  t.riga("orologio,    6              0            0 ");
  t.riga("[aderenze]");
  for (std::int64_t b = 0; b < blocchi; b += 5)
    t << "aderenza,   " << b * metri_per_blocco << ",    " << 100 - (b % 3) * 10 << "\r\n";
  t.riga("[vel_limite]");
  for (std::int64_t b = 0; b < blocchi; ++b) {
    for (std::int64_t k = 0; k < 10; ++k)
      t << "velocita,    " << b * metri_per_blocco + 1000 * k << ",   " << 60 + (k + b) % 13 * 10
        << "\r\n";
  }
  t.riga("[stazioni]");
  // Stations take point slots from 1 up: one every other block.
  for (std::int64_t b = 0; b < blocchi; b += 2) {
    const std::int64_t minuti = b * 4;
    t << "stazione,   " << b * metri_per_blocco + 3000
      << ", 12,  400,  0, 0, 1,  1,1,0,  4,1,1,    "
      << "0,   " << 6 + minuti / 60 << "," << minuti % 60 << ", 0, LOCALITA " << b << "\r\n";
  }
  t.riga("[rallentamenti]");
  for (std::int64_t b = 0; b < blocchi; ++b)
    t << "rallentamento,   " << b * metri_per_blocco + 8000 << ",    60,  500, 0,  1,  60\r\n";
  t.riga("[segnali]");
  for (std::int64_t b = 0; b < blocchi; ++b) {
    t << "segnale,   " << b * metri_per_blocco + 1000 << ",   1, 4, 1,  0, 0,    1,  3,1,0, 0\r\n";
    t << "segnale,   " << b * metri_per_blocco + 6000 << ",   2, 4, 1,  1, 0,    2,  2,1,1, 0\r\n";
  }
  t.riga("[abbattimenti]");
  for (std::int64_t b = 0; b < blocchi; ++b)
    t << "abbattimento,   " << b * metri_per_blocco + 9500 << ",   90\r\n";
  t.riga("[codici]");
  t.riga("[fine]");
  return t.fine();
}

}  // namespace

linea_sintetica genera_linea_sintetica(std::int32_t lunghezza) {
  const std::int32_t blocchi = lunghezza / metri_per_blocco;
  return {testo_linea(blocchi, lunghezza), testo_treno(blocchi)};
}

}  // namespace percorso
