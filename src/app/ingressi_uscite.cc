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
      if (scritto && scritto->stesso_file(*letto))
        return "impossibile scrivere " + uscita + ": e' lo stesso file di " + ingresso +
               ", che questa corsa legge; niente e' stato scritto";
    }
  }
  return std::nullopt;
}

}  // namespace percorso
