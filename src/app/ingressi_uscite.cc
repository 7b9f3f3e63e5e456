#include "app/ingressi_uscite.h"

namespace percorso {

std::optional<std::string> uscita_su_ingresso(file_system& fs,
                                              std::span<const std::string> ingressi,
                                              std::span<const std::string> uscite) {
  for (const std::string& ingresso : ingressi) {
    const auto letto = fs.identita(ingresso);
    if (!letto) continue;
    for (const std::string& uscita : uscite) {
      const auto scritto = fs.identita(uscita);
      if (!scritto || !scritto->stesso_file(*letto)) continue;
      const errore_file e = uscita_letta(uscita, ingresso);
      return "impossibile scrivere " + e.file + ": " + e.motivo + "; niente e' stato scritto";
    }
  }
  return std::nullopt;
}

}  // namespace percorso
