#include "app/scrittura_testi.h"

#include <algorithm>

#include "platform/cartelle.h"

namespace percorso {

namespace {

enum class stato_file { manca, uguale, diverso };

// How the file stands against its bytes; an error when a file there cannot be read
// and the rule needs to know what it holds.
stato_file confronta(file_system& fs, const std::string& file,
                     const std::vector<std::uint8_t>& byte, se_esiste regola,
                     std::optional<errore_file>& errore) {
  if (!fs.esiste(file)) return stato_file::manca;
  lettura l = fs.leggi(file);
  if (l.errore) {
    // Under sostituisci the file goes anyway; otherwise nothing is written unseen.
    if (regola != se_esiste::sostituisci) errore = l.errore;
    return stato_file::diverso;
  }
  return std::ranges::equal(l.dati, byte) ? stato_file::uguale : stato_file::diverso;
}

// The folders crea_cartella will make for cartella, the deepest first.
std::vector<std::string> cartella_creata(file_system& fs, const std::string& cartella) {
  std::vector<std::string> mancanti;
  for (std::string c = cartella; !c.empty() && !fs.esiste(c); c = cartella_di(c)) {
    mancanti.push_back(c);
    if (c == cartella_di(c)) break;
  }
  return mancanti;
}

}  // namespace

esito_testi scrivi_testi_protetti(file_system& fs, const std::string& cartella,
                                  std::span<const testo_da_scrivere> testi, se_esiste regola) {
  esito_testi e;
  e.operazione = "creare";
  const auto creata = cartella_creata(fs, cartella);
  if ((e.errore = fs.crea_cartella(cartella))) return e;
  // Every file is looked at under the directory's lock: a run beside this one cannot
  // write a file between the look and the commit. The run completes what a killed
  // run left there even when it finds nothing to write.
  auto insieme = fs.insieme({.scritte = {cartella}});
  e.operazione = "scrivere";
  if ((e.errore = insieme->prendi_turno())) return e;
  e.operazione = "leggere";

  struct da_scrivere {
    std::string file;
    std::vector<std::uint8_t> byte;
  };
  std::vector<da_scrivere> nuovi;
  for (const auto& t : testi) {
    da_scrivere d{unisci(cartella, t.nome), testo_crlf(t.righe)};
    const stato_file s = confronta(fs, d.file, d.byte, regola, e.errore);
    if (e.errore) return e;
    const bool rifiutato = (s == stato_file::diverso && regola != se_esiste::sostituisci) ||
                           (s == stato_file::uguale && regola == se_esiste::rifiuta);
    if (rifiutato)
      e.rifiutati.push_back(d.file);
    else if (s == stato_file::uguale)
      e.invariati.push_back(d.file);
    else
      nuovi.push_back(std::move(d));
  }
  if (!e.rifiutati.empty()) {
    e.invariati.clear();
    return e;
  }
  e.operazione = "scrivere";
  for (const auto& d : nuovi) {
    if (!e.errore) e.errore = insieme->aggiungi(d.file, d.byte);
  }
  if (!e.errore) e.errore = insieme->conferma();
  if (e.errore) {
    // Nothing was written: the folders made for it go too, when they stayed empty.
    insieme.reset();
    for (const std::string& c : creata) fs.elimina_cartella_vuota(c);
    return e;
  }
  for (const auto& d : nuovi) e.scritti.push_back(d.file);
  return e;
}

}  // namespace percorso
