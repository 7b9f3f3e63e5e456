#include "inspect/inspect.h"

#include <optional>

#include "format/decodifica.h"
#include "format/nomi_file.h"
#include "inspect/celle.h"
#include "inspect/piano.h"
#include "inspect/punti.h"
#include "inspect/vista.h"

namespace percorso {
namespace {

// A fault of one file: on err, and in the JSON as an object of its own.
struct uscite {
  bool json;
  std::ostream& out;
  std::ostream& err;

  bool fallito(const std::string& file, const std::string& messaggio) const {
    err << "percorso: " << messaggio << '\n';
    if (json)
      out << nodo_vista::oggetto()
                 .con("file", nodo_vista::testo_di(file))
                 .con("errore", nodo_vista::testo_di(messaggio))
                 .json();
    return false;
  }
  void avviso(const std::string& messaggio) const {
    err << "percorso: avviso: " << messaggio << '\n';
  }
  bool mostra(const vista& d) const {
    if (json)
      out << vista_in_json(d);
    else
      scrivi_vista(out, d);
    return true;
  }
};

// The point file beside a cell file, for the names; a warning when it is there
// but cannot be used.
std::optional<std::array<punto, numero_punti>> punti_accanto_a(const std::string& file_celle,
                                                               file_system& fs, const uscite& u,
                                                               std::string& perche) {
  const std::string file = punti_accanto(file_celle);
  perche = "manca " + file;
  if (!fs.esiste(file)) return std::nullopt;
  auto p = leggi_e_decodifica(fs, file, tipo_file::punti, &decodifica_punti);
  if (p.ok()) return std::move(p.valore);
  u.avviso(p.errore->messaggio + ": nomi non disponibili");
  perche = file + " non valido";
  return std::nullopt;
}

// The plain check code from the cell file beside a point file.
codice_accanto codice_della_cella_1(const std::string& file_punti, file_system& fs,
                                    const uscite& u) {
  const std::string file = celle_accanto(file_punti);
  if (!fs.esiste(file)) return {std::nullopt, "manca " + file};
  const auto celle = leggi_e_decodifica(fs, file, tipo_file::celle, &decodifica_celle);
  if (!celle.ok()) {
    u.avviso(celle.errore->messaggio);
    return {std::nullopt, file + " non valido"};
  }
  if (celle.valore.size() < 2) return {std::nullopt, file + " senza cella 1"};
  return {celle.valore[1].dato_2, "cella 1 di " + file};
}

// The kind to show a file as: by name, unless the content clearly is another kind;
// by content for other names.
std::optional<tipo_file> tipo_da_mostrare(const std::string& file,
                                          std::span<const std::uint8_t> dati, const uscite& u) {
  const auto dal_nome = tipo_dal_nome(file);
  if (!dal_nome) return tipo_dal_contenuto(dati);
  const auto altro = di_altro_tipo(*dal_nome, dati, si_decodifica(*dal_nome, dati));
  if (!altro) return dal_nome;
  const auto evidente = tipo_evidente(dati);
  u.avviso(file + ": " + *altro + " come dice il nome: mostrato come file " +
           std::string(nome_tipo(*evidente)));
  return evidente;
}

bool mostra_file(const std::string& file, file_system& fs, const uscite& u) {
  // Nothing larger than the largest compiled file is read; what it is tells the rest.
  if (const auto id = fs.identita(file)) {
    if (auto grande = troppo_grande(std::nullopt, id->dimensione))
      return u.fallito(file, file + ": " + *grande);
  }
  const lettura l = fs.leggi(file);
  if (l.errore)
    return u.fallito(file, "impossibile leggere " + l.errore->file + ": " + l.errore->motivo);
  const auto tipo = tipo_da_mostrare(file, l.dati, u);
  if (!tipo)
    return u.fallito(file, file + ": tipo di file non riconosciuto (" +
                               std::to_string(l.dati.size()) +
                               " byte): non e' un file di celle, di punti o del tracciato");
  if (auto grande = troppo_grande(*tipo, l.dati.size()))
    return u.fallito(file, file + ": " + *grande);
  switch (*tipo) {
    case tipo_file::celle: {
      const auto r = nel_file(file, decodifica_celle(l.dati));
      if (!r.ok()) return u.fallito(file, r.errore->messaggio);
      nomi_accanto nomi{.file = punti_accanto(file)};
      const auto punti = punti_accanto_a(file, fs, u, nomi.perche);
      nomi.punti = punti ? &*punti : nullptr;
      return u.mostra(descrivi_celle(file, r.valore, nomi));
    }
    case tipo_file::punti: {
      const auto r = nel_file(file, decodifica_punti(l.dati));
      if (!r.ok()) return u.fallito(file, r.errore->messaggio);
      return u.mostra(
          descrivi_punti(file, r.valore, l.dati.size(), codice_della_cella_1(file, fs, u)));
    }
    case tipo_file::piano: {
      const auto r = nel_file(file, decodifica_piano(l.dati));
      if (!r.ok()) return u.fallito(file, r.errore->messaggio);
      return u.mostra(descrivi_piano(file, r.valore, l.dati.size()));
    }
  }
  return false;
}

}  // namespace

bool ispeziona(std::span<const std::string> file, file_system& fs, bool json, std::ostream& out,
               std::ostream& err) {
  const uscite u{json, out, err};
  bool tutti = true;
  if (json && file.size() > 1) out << "[";
  for (std::size_t i = 0; i < file.size(); ++i) {
    if (i > 0) out << (json ? ",\n" : "\n");
    tutti = mostra_file(file[i], fs, u) && tutti;
  }
  if (json) out << (file.size() > 1 ? "]\n" : "\n");
  return tutti;
}

}  // namespace percorso
