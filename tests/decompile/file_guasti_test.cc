// Files damaged by hand: the decompile never fails in silence. When the texts cannot
// give a file back, it names what no row writes.
#include <gtest/gtest.h>

#include <string>

#include "app/costruzione.h"
#include "app/decompilazione.h"
#include "format/decodifica.h"
#include "format/file_binari.h"
#include "writers/scrittori.h"
#include "writers/testi.h"

namespace percorso {
namespace {

TEST(FileGuasti, AProofThatFailsHasItsCauseNamed) {
  modello m;
  m.nome_percorso = std::string("Varmena_Ostrana");
  m.numero_treno = std::string("917");
  const auto linea = testo_crlf(righe_linea()), treno = testo_crlf(righe_treno());
  ASSERT_EQ(memorizza_percorso(m, {linea, treno}, 1), stato_costruzione::pronta);
  const auto celle = immagine_celle(m), punti = immagine_punti(m);
  const auto piano = immagine_piano(*m.tracciato);
  std::uint64_t stato = 34;
  auto caso = [&](std::size_t n) {
    stato = stato * 6364136223846793005u + 1442695040888963407u;
    return static_cast<std::size_t>((stato >> 33) % n);
  };
  int fallite = 0;
  for (int n = 0; n < 200; ++n) {
    compilati_letti f;
    f.celle = {"c.dat", celle};
    f.punti = {"c.sim", punti};
    f.piano = file_letto{"c_linea.dat", piano};
    std::vector<std::uint8_t>& file = n % 3 == 0   ? f.celle.byte
                                      : n % 3 == 1 ? f.punti.byte
                                                   : f.piano->byte;
    for (std::size_t k = 1 + caso(3); k > 0; --k)
      file[caso(file.size())] ^= static_cast<std::uint8_t>(1 + caso(255));
    const auto c = decodifica_celle(f.celle.byte);
    const auto p = decodifica_punti(f.punti.byte);
    const auto metri = metri_del_piano(f.piano->byte);
    if (!c.ok() || !p.ok() || !metri.ok()) continue;
    f.valori_celle = c.valore;
    f.valori_punti = p.valore;
    f.metri_piano = metri.valore;
    const decompilazione d = testi_dei_compilati(f);
    const auto diversa = prova_dei_testi(f, d);
    if (!diversa) continue;
    ++fallite;
    EXPECT_FALSE(d.guasti.empty()) << "damage " << n << ": " << diversa->file << " byte "
                                   << diversa->byte << " (" << diversa->dove << ")";
  }
  EXPECT_GT(fallite, 60);
}

}  // namespace
}  // namespace percorso
