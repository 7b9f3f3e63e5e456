#include "plot/plot.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "format/chilometri.h"
#include "format/decodifica.h"
#include "format/nomi_file.h"
#include "plot/etichette.h"
#include "plot/linea.h"
#include "plot/pagina.h"
#include "plot/pannello_piano.h"
#include "plot/pannello_profilo.h"
#include "plot/svg.h"

namespace percorso {
namespace {

constexpr std::string_view foglio_di_stile =
    // The size goes on the drawing, not on text: a label's own font-size attribute
    // must win over it.
    "svg{font-family:sans-serif;font-size:12px}\n"
    "text{fill:#222}\n"
    ".titolo{font-size:22px;font-weight:bold}\n"
    ".sottotitolo{font-size:13px;fill:#555}\n"
    ".pannello{font-size:15px;font-weight:bold}\n"
    ".asse{stroke:#444;stroke-width:1}\n"
    ".griglia{stroke:#e3e3e3;stroke-width:1}\n"
    ".tacca{font-size:11px;fill:#444}\n"
    ".distanza{fill:#777}\n"
    ".nome-asse{font-size:12px;fill:#444}\n"
    ".binario{fill:none;stroke:#1f3a93;stroke-width:2.2;stroke-linejoin:round}\n"
    ".prolungamento{fill:none;stroke:#8a8a8a;stroke-width:1.5;stroke-dasharray:6 4}\n"
    ".montagna{fill:none;stroke:#b07a3c;stroke-width:9;stroke-opacity:0.55;"
    "stroke-linecap:butt}\n"
    ".area-stazione{fill:none;stroke:#222;stroke-width:6;stroke-linecap:butt}\n"
    ".rallentamento{fill:none;stroke:#f07800;stroke-width:6}\n"
    ".stazione{fill:#fff;stroke:#111;stroke-width:2}\n"
    ".segnale{fill:#d62020;stroke:#5a0000;stroke-width:0.8}\n"
    ".avviso{fill:#f07800;stroke:#5a2a00;stroke-width:0.8}\n"
    ".etichetta{paint-order:stroke;stroke:#fff;stroke-width:3.5;stroke-linejoin:round}\n"
    ".nome-stazione{font-weight:bold}\n"
    ".nome-galleria{font-style:italic;fill:#6b4310}\n"
    ".nome-rallentamento{fill:#b35400;font-weight:bold}\n"
    ".richiamo{stroke:#777;stroke-width:0.8}\n"
    ".quota{fill:#dce9d5;stroke:#3d7a2a;stroke-width:1.6}\n"
    ".fascia-montagna{fill:#b07a3c;fill-opacity:0.18}\n"
    ".fascia-rallentamento{fill:#f07800;fill-opacity:0.18}\n"
    ".fascia-prolungamento{fill:#000;fill-opacity:0.05}\n"
    ".linea-stazione{stroke:#555;stroke-width:0.8;stroke-dasharray:3 3}\n"
    ".velocita{fill:none;stroke:#1f3a93;stroke-width:2}\n"
    ".velocita-rallentamento{fill:none;stroke:#f07800;stroke-width:2.5}\n"
    ".fine-linea{stroke:#111;stroke-width:1.2;stroke-dasharray:8 3}\n"
    ".legenda{font-size:12px}\n";

double legenda(svg& s, double y) {
  double x = margine_sinistro;
  auto voce = [&](std::string_view testo, auto&& simbolo) {
    simbolo(x, y);
    s.testo(x + 34, y + 4, testo, "class=\"legenda\"");
    x += 44 + larghezza_testo(testo, 12);
  };
  voce("binario", [&](double x0, double y0) { s.linea(x0, y0, x0 + 28, y0, "class=\"binario\""); });
  voce("oltre la fine della linea",
       [&](double x0, double y0) { s.linea(x0, y0, x0 + 28, y0, "class=\"prolungamento\""); });
  voce("montagna o galleria",
       [&](double x0, double y0) { s.linea(x0, y0, x0 + 28, y0, "class=\"montagna\""); });
  voce("stazione", [&](double x0, double y0) { s.cerchio(x0 + 14, y0, 5, "class=\"stazione\""); });
  voce("segnale", [&](double x0, double y0) { s.cerchio(x0 + 14, y0, 3.2, "class=\"segnale\""); });
  voce("rallentamento",
       [&](double x0, double y0) { s.linea(x0, y0, x0 + 28, y0, "class=\"rallentamento\""); });
  voce("cartello di avviso", [&](double x0, double y0) {
    triangolo(s, {x0 + 14, y0}, 5, "avviso");
  });
  voce("quota", [&](double x0, double y0) { s.rettangolo(x0, y0 - 6, 28, 12, "class=\"quota\""); });
  voce("velocità massima",
       [&](double x0, double y0) { s.linea(x0, y0, x0 + 28, y0, "class=\"velocita\""); });
  return y + 24;
}

disegno_linea disegna(const linea_grafico& l) {
  disegno_linea g;
  svg s(larghezza_pagina, 0, foglio_di_stile);
  s.titolo(l.titolo);
  s.rettangolo(0, 0, larghezza_pagina, 100000, "fill=\"#fff\"");
  double y = 20;
  s.testo(margine_sinistro, y + 22, l.titolo, "class=\"titolo\"");
  std::string sotto = "linea di " + km_italiano(static_cast<std::int64_t>(l.lunghezza_linea)) +
                      " km, " + std::to_string(l.celle.size()) + " celle da 50 m, " +
                      std::to_string(l.stazioni.size()) + " stazioni, " +
                      std::to_string(l.segnali.size()) + " segnali, " +
                      std::to_string(l.rallentamenti.size()) + " rallentamenti";
  if (!l.piano) sotto += "; tracciato non disponibile";
  s.testo(margine_sinistro, y + 44, sotto, "class=\"sottotitolo\"");
  y += 60;
  if (l.piano) y = pannello_piano(s, l, y, g);
  y = pannello_profilo(s, l, y + 10, g);
  y = legenda(s, y + 10);
  s.imposta_altezza(y + 10);
  g.svg = s.fine();
  return g;
}

// The plan in memory as a reader of the plan file sees it.
tracciato_grafico come_letto(const piano& p) {
  tracciato_grafico l;
  l.punti.reserve(std::min(p.x.size(), p.y.size()));
  for (std::size_t m = 0; m < p.x.size() && m < p.y.size(); ++m) {
    const tipo_elemento t = tipo_metro(p, static_cast<std::int32_t>(m));
    const bool vuoto = t == tipo_elemento::vuoto;
    l.aggiungi({t, vuoto ? 0 : p.x[m]}, {t, vuoto ? 0 : p.y[m]});
  }
  return l;
}

// A file beside the cell file that the drawing can do without: read when it is
// there and whole, else a warning saying what the drawing lacks.
template <typename T>
std::optional<T> leggi_accanto(file_system& fs, const std::string& file, tipo_file tipo,
                               decodificato<T> (*decodifica)(std::span<const std::uint8_t>),
                               std::string_view senza, std::ostream& err) {
  if (!fs.esiste(file)) {
    err << "percorso: avviso: manca " << file << ": " << senza << '\n';
    return std::nullopt;
  }
  auto r = leggi_e_decodifica(fs, file, tipo, decodifica);
  if (r.ok()) return std::move(r.valore);
  err << "percorso: avviso: " << r.errore->messaggio << ": " << senza << '\n';
  return std::nullopt;
}

}  // namespace

std::string svg_accanto(std::string_view file_celle) {
  std::string s(file_celle);
  if (s.size() > 4 && s.ends_with(".dat")) s.resize(s.size() - 4);
  return s + ".svg";
}

std::optional<std::string> svg_della_linea(file_system& fs, const std::string& file_celle,
                                           std::ostream& err, std::vector<std::string>& letti) {
  letti.push_back(file_celle);
  auto celle = leggi_e_decodifica(fs, file_celle, tipo_file::celle, &decodifica_celle);
  if (!celle.ok()) {
    err << "percorso: " << celle.errore->messaggio << '\n';
    return std::nullopt;
  }
  letti.push_back(punti_accanto(file_celle));
  const auto punti = leggi_accanto(fs, letti.back(), tipo_file::punti, &decodifica_punti,
                                   "stazioni senza nome", err);
  const std::string file_piano = unisci(
      cartella_di(file_celle), nome_piano_per(nome_base(file_celle), punti ? &*punti : nullptr));
  letti.push_back(file_piano);
  auto piano = leggi_accanto(fs, file_piano, tipo_file::piano, &decodifica_tracciato,
                             "disegno senza tracciato", err);
  return disegna(raccogli(std::move(celle.valore), punti ? &*punti : nullptr, std::move(piano)))
      .svg;
}

std::optional<disegno_linea> disegna_modello(const modello& m) {
  if (!m.celle_presenti()) return std::nullopt;
  std::optional<tracciato_grafico> piano;
  if (m.tracciato) piano = come_letto(*m.tracciato);
  return disegna(raccogli(m.celle, &m.punti, std::move(piano)));
}

}  // namespace percorso
