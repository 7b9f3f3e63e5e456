#include "app/decompilazione.h"

#include <algorithm>
#include <string_view>

#include "app/controllo.h"
#include "app/costruzione.h"
#include "app/ingressi_uscite.h"
#include "format/byte.h"
#include "format/campi.h"
#include "format/decodifica.h"
#include "format/file_binari.h"
#include "format/formato.h"
#include "format/nomi_file.h"
#include "writers/scrittori.h"

namespace percorso {
namespace {

// Reads one file of kind t whole, with its bytes; the fault named when there is one.
template <typename T>
std::optional<std::string> leggi(file_system& fs, const std::string& percorso, tipo_file t,
                                 decodificato<T> (*decodifica)(std::span<const std::uint8_t>),
                                 file_letto& letto, T& valore) {
  auto r = leggi_e_decodifica(fs, percorso, t, decodifica, &letto.byte);
  if (!r.ok()) return r.errore->messaggio;
  letto.percorso = percorso;
  valore = std::move(r.valore);
  return std::nullopt;
}

modello con_nomi(const decompilazione& d) {
  modello m;
  m.nome_percorso = d.nome_percorso;
  m.numero_treno = d.numero_treno;
  return m;
}

std::optional<std::size_t> primo_diverso(std::span<const std::uint8_t> a,
                                         std::span<const std::uint8_t> b) {
  if (std::ranges::equal(a, b)) return std::nullopt;
  const auto [x, y] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  if (x == a.end() && y == b.end()) return std::nullopt;
  return static_cast<std::size_t>(x - a.begin());
}

// Which field of a record holds byte scarto of it, walking its fields in file order.
template <typename Record, typename Campi>
std::string campo_a(const Record& r, std::size_t scarto, Campi campi) {
  std::string nome = "oltre la fine";
  std::size_t inizio = 0;
  campi(r, [&](std::string_view n, const auto& v) {
    const std::size_t fine = inizio + byte_del_campo(v);
    if (scarto >= inizio && scarto < fine && nome == "oltre la fine") nome = n;
    inizio = fine;
  });
  return nome;
}

std::string nelle_celle(const compilati_letti& f, std::size_t byte) {
  const std::size_t i = byte / byte_per_cella;
  if (i >= f.valori_celle.size()) return "oltre l'ultima cella del file";
  return "cella " + std::to_string(i) + ", campo " +
         campo_a(f.valori_celle[i], byte % byte_per_cella,
                 [](const cella& c, auto&& campo) { campi_cella(c, campo); });
}

std::string nei_punti(const compilati_letti& f, std::size_t byte) {
  std::size_t inizio = 0;
  for (std::size_t k = 0; k < f.valori_punti.size(); ++k) {
    const punto& p = f.valori_punti[k];
    std::size_t fine = inizio;
    campi_punto(p, [&](std::string_view, const auto& v) { fine += byte_del_campo(v); });
    if (byte < fine)
      return "voce " + std::to_string(k) + ", campo " +
             campo_a(p, byte - inizio, [](const punto& q, auto&& campo) { campi_punto(q, campo); });
    inizio = fine;
  }
  return "oltre l'ultima voce del file";
}

std::string nel_piano(const compilati_letti& f, std::size_t byte) {
  lettore l(f.piano->byte);
  for (const char* coordinata : {"x", "y"}) {
    for (std::size_t m = 0; m < f.metri_piano; ++m) {
      leggi_elemento(l);
      if (byte < l.posizione()) return "metro " + std::to_string(m) + ", " + coordinata;
    }
  }
  return "oltre l'ultimo metro del file";
}

// The plan compiled, piece by piece against the file's bytes.
std::optional<std::size_t> primo_diverso_nel_piano(const piano& p,
                                                   std::span<const std::uint8_t> b) {
  pezzi_piano pezzi(p);
  std::size_t fatto = 0;
  for (auto pezzo = pezzi.prossimo(); !pezzo.empty(); pezzo = pezzi.prossimo()) {
    const std::size_t n = std::min(pezzo.size(), b.size() - std::min(b.size(), fatto));
    if (const auto d = primo_diverso(pezzo.first(n), b.subspan(fatto, n))) return fatto + *d;
    if (n < pezzo.size()) return fatto + n;
    fatto += pezzo.size();
  }
  if (fatto < b.size()) return fatto;
  return std::nullopt;
}

std::vector<std::uint8_t> byte_del_testo(const testo_impaginato& t) {
  return testo_crlf(std::span<const std::string>(t.righe));
}

// The rows only there for the bytes that check flags: the compiler's and the checker's
// findings at their lines.
std::set<std::pair<fonte, std::int32_t>> segnalate(const decompilazione& d, const sorgenti& testi) {
  std::set<std::pair<fonte, std::int32_t>> r;
  if (d.linea.riproduzione.empty() && d.treno.riproduzione.empty()) return r;
  for (const messaggio& m : controlla(testi, {"linea", "treno"}, filtro_avvisi{}).messaggi)
    r.insert({m.fonte, m.riga});
  return r;
}

}  // namespace

compilati_letti leggi_compilati(file_system& fs, const std::string& file_celle) {
  compilati_letti f;
  f.errore = leggi(fs, file_celle, tipo_file::celle, &decodifica_celle, f.celle, f.valori_celle);
  if (f.errore) return f;
  const std::string file_punti = punti_accanto(file_celle);
  if (!fs.esiste(file_punti)) {
    f.errore = "manca " + file_punti +
               ", il file dei punti: ne vengono i nomi dei testi, le stazioni e i cartelli";
    return f;
  }
  f.errore = leggi(fs, file_punti, tipo_file::punti, &decodifica_punti, f.punti, f.valori_punti);
  if (f.errore) return f;
  f.piano_cercato =
      unisci(cartella_di(file_celle), nome_piano_per(nome_base(file_celle), &f.valori_punti));
  if (!fs.esiste(f.piano_cercato)) return f;
  f.piano.emplace();
  f.errore =
      leggi(fs, f.piano_cercato, tipo_file::piano, &metri_del_piano, *f.piano, f.metri_piano);
  return f;
}

decompilazione testi_dei_compilati(const compilati_letti& f) {
  return decompila(
      f.valori_celle, f.valori_punti,
      f.piano ? std::optional<file_piano>({f.piano->byte, f.metri_piano}) : std::nullopt);
}

std::optional<differenza> prova_dei_testi(const compilati_letti& f, const decompilazione& d) {
  modello m = con_nomi(d);
  const auto linea = byte_del_testo(d.linea), treno = byte_del_testo(d.treno);
  const stato_costruzione stato = memorizza_percorso(m, {linea, treno}, f.piano ? 1 : 0);
  if (stato != stato_costruzione::pronta)
    return differenza{f.celle.percorso, 0,
                      "i testi non arrivano ai file binari: la loro compilazione si ferma prima"};
  if (const auto b = primo_diverso(immagine_celle(m), f.celle.byte))
    return differenza{f.celle.percorso, *b, nelle_celle(f, *b)};
  if (const auto b = primo_diverso(immagine_punti(m), f.punti.byte))
    return differenza{f.punti.percorso, *b, nei_punti(f, *b)};
  if (f.piano) {
    const auto b = m.tracciato ? primo_diverso_nel_piano(*m.tracciato, f.piano->byte)
                               : std::optional<std::size_t>(0);
    if (b) return differenza{f.piano->percorso, *b, nel_piano(f, *b)};
  }
  return std::nullopt;
}

esito_decompilazione decompila_e_prova(file_system& fs, const compilati_letti& f,
                                       const std::string& cartella, bool forza) {
  esito_decompilazione e;
  e.testi = testi_dei_compilati(f);
  const modello m = con_nomi(e.testi);
  e.file_linea = unisci(cartella, nome_testo_linea(m));
  e.file_treno = unisci(cartella, nome_testo_treno(m));
  std::vector<std::string> ingressi = {f.celle.percorso, f.punti.percorso};
  if (f.piano) ingressi.push_back(f.piano->percorso);
  const std::string uscite[] = {e.file_linea, e.file_treno};
  if ((e.errore = uscita_su_ingresso(fs, ingressi, uscite))) return e;
  const std::vector<std::string_view> linea(e.testi.linea.righe.begin(), e.testi.linea.righe.end());
  const std::vector<std::string_view> treno(e.testi.treno.righe.begin(), e.testi.treno.righe.end());
  const testo_da_scrivere testi[] = {{nome_testo_linea(m), linea}, {nome_testo_treno(m), treno}};
  e.scrittura = scrivi_testi_protetti(fs, cartella, testi,
                                      forza ? se_esiste::sostituisci : se_esiste::rifiuta);
  if (e.scrittura.errore || !e.scrittura.rifiutati.empty()) return e;
  e.diversa = prova_dei_testi(f, e.testi);
  const auto byte_linea = byte_del_testo(e.testi.linea), byte_treno = byte_del_testo(e.testi.treno);
  e.segnalate = segnalate(e.testi, {byte_linea, byte_treno});
  return e;
}

}  // namespace percorso
