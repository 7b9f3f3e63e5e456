#include "cli/decompila.h"

#include <string>

#include "app/decompilazione.h"
#include "cli/opzioni.h"
#include "cli/testi_autore.h"
#include "cli/uscita.h"
#include "format/testo_nomi.h"

namespace percorso {
namespace {

const std::string& file_di(const compilati_letti& f, tipo_file t) {
  switch (t) {
    case tipo_file::punti:
      return f.punti.percorso;
    case tipo_file::piano:
      return f.piano_cercato;
    default:
      return f.celle.percorso;
  }
}

// Names that would take the texts out of their folder are no file names.
std::optional<std::string> nomi_non_validi(const compilati_letti& f) {
  const std::pair<int, const char*> nomi[] = {{slot_percorso, "il nome del percorso"},
                                              {slot_ripetizione, "il numero del treno"}};
  for (const auto& [voce, cosa] : nomi) {
    if (auto errore = nome_non_valido(f.valori_punti[static_cast<std::size_t>(voce)].nome))
      return std::string(cosa) + " della voce " + std::to_string(voce) + " di " + f.punti.percorso +
             " non fa da nome ai testi: " + *errore;
  }
  return std::nullopt;
}

void elenco(std::ostream& out, std::string_view titolo, const std::vector<std::string>& voci) {
  if (voci.empty()) return;
  out << titolo << '\n';
  for (const std::string& v : voci) out << "  - " << v << '\n';
}

// Each row with its line; its bytes shown by the rule for names, so no control byte of a
// board text reaches the terminal.
void righe_di_riproduzione(std::ostream& out, const esito_decompilazione& e) {
  std::vector<std::string> voci;
  const std::pair<fonte, const testo_impaginato*> testi[] = {{fonte::linea, &e.testi.linea},
                                                             {fonte::treno, &e.testi.treno}};
  for (const auto& [f, t] : testi) {
    const std::string& file = f == fonte::linea ? e.file_linea : e.file_treno;
    for (const riga_di_riproduzione& r : t->riproduzione)
      voci.push_back(file + ":" + std::to_string(r.riga) + ": " + nome_leggibile(r.testo) +
                     "\n    " + r.perche +
                     (e.segnalate.contains({f, r.riga}) ? "; check la segnala" : ""));
  }
  elenco(out, "righe che stanno nei testi solo per ridare gli stessi byte:", voci);
}

void riferisci_prova(std::ostream& out, std::ostream& err, const compilati_letti& f,
                     const esito_decompilazione& e) {
  std::vector<std::string> guasti;
  for (const problema& p : e.testi.guasti) guasti.push_back(file_di(f, p.file) + ": " + p.cosa);
  elenco(err, "percorso: byte che nessuna riga scrive:", guasti);
  if (e.diversa)
    err << "percorso: prova fallita: ricompilati, i testi non ridanno " << e.diversa->file
        << ": primo byte diverso " << e.diversa->byte << " (" << e.diversa->dove << ")\n";
  else
    out << "prova superata: ricompilati, i testi ridanno byte per byte " << f.celle.percorso
        << (f.piano ? ", " : " e ") << f.punti.percorso
        << (f.piano ? " e " + f.piano->percorso : "") << '\n';
  if (!f.piano) out << "manca " << f.piano_cercato << ": il testo della linea non ha curve\n";
  if (!e.testi.arresto.empty())
    out << "come quella che ha scritto i file, la compilazione dei testi si ferma "
        << e.testi.arresto << '\n';
  elenco(out, "indovinato, perche' i file compilati non lo conservano:", e.testi.indovinati);
  righe_di_riproduzione(out, e);
}

}  // namespace

int comando_decompile(std::span<const std::string_view> a, std::ostream& out, std::ostream& err,
                      file_system& fs) {
  static constexpr opzione ammesse[] = {{"-o", true}, {"--force", false}};
  argomenti letti;
  if (auto errore = leggi_argomenti(a, ammesse, letti))
    return errore_uso(err, *errore, "decompile");
  if (letti.posizionali.empty()) return errore_uso(err, "manca il file delle celle", "decompile");
  if (letti.posizionali.size() > 1)
    return errore_uso(err, "un solo file delle celle, per favore", "decompile");
  std::string cartella;
  bool forza = false;
  for (const auto& [nome, valore] : letti.opzioni) {
    if (nome == "-o") cartella = valore;
    forza = forza || nome == "--force";
  }
  const std::string file_celle(letti.posizionali[0]);
  if (cartella.empty()) cartella = cartella_di(file_celle).empty() ? "." : cartella_di(file_celle);

  compilati_letti f;
  {
    // Read under the turn of their directory, as inspect reads them: never a set half
    // committed. The turn ends before the texts are written, which takes its own.
    const auto turno = fs.insieme({.lette = {cartella_di(file_celle)}});
    turno->prendi_turno();
    avvisa_giornali(err, turno->giornali_lasciati());
    f = leggi_compilati(fs, file_celle);
  }
  auto errore = f.errore ? f.errore : nomi_non_validi(f);
  if (errore) {
    err << "percorso: " << *errore << '\n';
    return uscita_interrotta;
  }
  const esito_decompilazione e = decompila_e_prova(fs, f, cartella, forza);
  if (e.errore) {
    err << "percorso: " << *e.errore << '\n';
    return uscita_interrotta;
  }
  if (const int stato = riferisci(e.scrittura, " esiste gia'", out, err); stato != uscita_pulita)
    return stato;
  riferisci_prova(out, err, f, e);
  return e.diversa ? uscita_rilievi : uscita_pulita;
}

}  // namespace percorso
