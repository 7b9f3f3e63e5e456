#include "app/costruzione.h"

#include "compiler/completamento.h"
#include "format/codici.h"
#include "format/formato.h"
#include "placement/prese.h"

namespace percorso {

stato_costruzione memorizza_percorso(modello& m, const sorgenti& testi, std::int32_t j,
                                     coordinate_piano coordinate) {
  m.flag_tracciato = j;
  m.codice_errore = 0;
  m.punti.fill(punto{});
  memorizza_dati(m, testi, coordinate);

  if (m.ultima_cella() < 1) return stato_costruzione::senza_celle;
  completa_celle(m);

  punto& intestazione = m.punti[slot_percorso];
  cella& prima = m.celle[cella_di_controllo];
  if (intestazione.parametro_1 != 0 || prima.dato_1 != 0) return stato_costruzione::errore_1250;
  intestazione.parametro_1 = valore_slot_percorso;
  prima.dato_1 = valore_cella_1;
  if (intestazione.orario != 0 || prima.dato_2 != 0) return stato_costruzione::errore_1251;

  intestazione.orario = codice_gara_st(m.punti[slot_ripetizione].nome, intestazione.nome);
  prima.dato_2 =
      static_cast<std::int16_t>(codice_gara_og(m.punti[slot_ripetizione].nome, intestazione.nome));
  return stato_costruzione::pronta;
}

}  // namespace percorso
