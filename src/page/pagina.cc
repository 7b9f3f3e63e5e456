#include "page/pagina.h"

#include <algorithm>
#include <map>
#include <span>
#include <tuple>
#include <utility>

#include "diagnostics/estratto.h"
#include "format/chilometri.h"
#include "format/testo_nomi.h"
#include "page/dati_script.h"
#include "page/elenchi.h"
#include "page/html.h"
#include "page/risorse.h"

namespace percorso {
namespace {

// A cell of a megabyte would make the page unreadable.
constexpr std::size_t massimo_cella = 160;

// Appends ` nome="valore"`, the value escaped.
void attributo(std::string& out, std::string_view nome, std::string_view valore) {
  out.append(" ").append(nome).append("=\"").append(testo_xml(valore)).append("\"");
}

// The stretch of line an element marks when chosen.
void segno(std::string& out, std::int32_t da, std::int32_t a) {
  attributo(out, "data-da", std::to_string(da));
  attributo(out, "data-a", std::to_string(a));
  out.append(" tabindex=\"0\"");
}

std::string_view nome_file(const contenuto_pagina& c, fonte f) {
  return f == fonte::linea   ? std::string_view(c.nome_linea)
         : f == fonte::treno ? std::string_view(c.nome_treno)
                             : "percorso";
}

// Each source line is written into the page once, where it is first named, cut around
// every column named on it; later places carry only the id, which the script fills.
class righe_pagina {
 public:
  void nomina(std::string_view file, std::int32_t n, std::string_view testo, std::int32_t col) {
    auto [i, nuova] = righe_.try_emplace({file, n, testo}, voce{});
    const std::int32_t c = std::max(col, 1);
    i->second.da = nuova ? c : std::min(i->second.da, c);
    i->second.a = nuova ? c : std::max(i->second.a, c);
  }
  // Writes the line's text or its reference as the start of an element with the tag;
  // gives the excerpt as written, to line a caret up under it.
  estratto_riga scrivi(std::string& out, std::string_view tag, std::string_view file,
                       std::int32_t n, std::string_view testo) {
    voce& v = righe_.at({file, n, testo});
    estratto_riga e = estratto_di(testo, v.da, v.a);
    out.append("<").append(tag);
    if (v.id > 0) {
      attributo(out, "data-riga", "pg-sr-" + std::to_string(v.id));
      // The parser drops a line end right after <pre>: one more keeps the caret's.
      out.append(tag == "pre" ? ">\n" : ">");
    } else {
      v.id = ++scritte_;
      attributo(out, "id", "pg-sr-" + std::to_string(v.id));
      out.append(">").append(testo_xml(e.testo));
    }
    return e;
  }

 private:
  struct voce {
    std::int32_t da = 0, a = 0, id = 0;
  };
  std::map<std::tuple<std::string_view, std::int32_t, std::string_view>, voce> righe_;
  std::int32_t scritte_ = 0;
};

void testa(std::string& out, const contenuto_pagina& c) {
  out += "<!DOCTYPE html>\n<html lang=\"it\"";
  if (c.ricarica) {
    attributo(out, "data-script", c.ricarica->script);
    attributo(out, "data-versione", std::to_string(c.ricarica->versione));
  }
  out += ">\n<head>\n<meta charset=\"utf-8\">\n";
  out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  elemento_html(out, "title", "", c.titolo);
  out += "\n<script>";
  out += script_errori();
  out += "</script>\n";
  // Without scripts a page in watch mode still follows its file, by reloading often.
  if (c.ricarica) out += "<noscript><meta http-equiv=\"refresh\" content=\"2\"></noscript>\n";
  out += "<style>\n";
  out += stile_pagina();
  out += "</style>\n</head>\n";
}

std::string plurale(std::size_t n, std::string_view uno, std::string_view molti) {
  return std::to_string(n) + " " + std::string(n == 1 ? uno : molti);
}

void testata(std::string& out, const contenuto_pagina& c) {
  const auto avvisi = static_cast<std::size_t>(std::count_if(
      c.segnalazioni.begin(), c.segnalazioni.end(), [](const auto& s) { return s.avviso; }));
  const std::size_t errori = c.segnalazioni.size() - avvisi;
  std::string riassunto =
      plurale(errori, "errore", "errori") + ", " + plurale(avvisi, "avviso", "avvisi") + "; ";
  const modello& m = *c.m;
  if (m.celle_presenti())
    riassunto += "linea di " + km_italiano(m.punti[slot_treno].valore_2) + " km, " +
                 std::to_string(m.celle.size()) + " celle da 50 m";
  else
    riassunto += "nessuna cella: la linea non e' stata costruita";
  out += "<header class=\"pg-testata\">";
  elemento_html(out, "h1", "", c.titolo);
  elemento_html(out, "p", "id=\"pg-riassunto\"", riassunto);
  out += "</header>\n";
}

// The drawing as it is, less its XML declaration, which has no place inside HTML.
void disegno(std::string& out, const contenuto_pagina& c) {
  out += "<section id=\"pg-disegno\" class=\"pg-disegno\">\n";
  std::string_view svg = c.disegno.svg;
  if (svg.starts_with("<?xml")) {
    const auto fine = svg.find("?>");
    svg.remove_prefix(fine == std::string_view::npos ? svg.size() : fine + 2);
  }
  if (svg.find("<svg") == std::string_view::npos)
    elemento_html(out, "p", "class=\"pg-vuoto\"", "nessun disegno: la linea non ha celle");
  else
    out.append(svg);
  out += "</section>\n";
}

// Where each source row placed its feature, to mark findings that carry no position.
using luoghi_righe = std::map<std::pair<fonte, std::int32_t>, const origine*>;

std::optional<std::pair<std::int32_t, std::int32_t>> tratto_di(const messaggio& s,
                                                               const luoghi_righe& luoghi) {
  if (s.posizione) return std::pair{*s.posizione, *s.posizione};
  const auto o = luoghi.find({s.fonte, s.riga});
  if (o == luoghi.end()) return std::nullopt;
  return std::pair{o->second->inizio, o->second->fine};
}

// The source line of a message, when the page has it.
std::string_view riga_di(const messaggio& s, const contenuto_pagina& c) {
  if (!c.riga_sorgente || s.riga < 1 || s.colonna < 1) return {};
  return c.riga_sorgente(s.fonte, s.riga);
}

// The line with a caret under the message's field; tabs stay under tabs so the caret
// lines up however they are shown.
void sorgente_con_segno(std::string& out, const messaggio& s, const contenuto_pagina& c,
                        righe_pagina& righe) {
  const std::string_view testo = riga_di(s, c);
  if (testo.empty()) return;
  const estratto_riga e = righe.scrivi(out, "pre", s.file, s.riga, testo);
  const auto [colonna, fine] = e.segno(s.colonna, s.colonna_fine);
  if (colonna > 0) {
    std::string sotto;
    for (std::int32_t i = 0; i + 1 < colonna && static_cast<std::size_t>(i) < e.testo.size(); ++i)
      sotto += e.testo[static_cast<std::size_t>(i)] == '\t' ? '\t' : ' ';
    out.append("\n").append(sotto).append("^").append(
        static_cast<std::size_t>(std::max(fine - colonna - 1, 0)), '~');
  }
  out.append("</pre>");
}

// The element of the row each source line placed, for links to it.
using id_righe = std::map<std::pair<fonte, std::int32_t>, std::string>;

id_righe id_di(std::span<const elenco> el) {
  id_righe id;
  for (const elenco& e : el)
    for (const riga_elenco& r : e.righe)
      if (r.o != nullptr && !r.id.empty()) id.emplace(std::pair{r.o->fonte, r.o->riga}, r.id);
  return id;
}

// The other places a finding speaks of, each a link to its row where the page lists one.
void correlati(std::string& out, const messaggio& s, const id_righe& id) {
  if (s.correlati.empty()) return;
  out += " <span class=\"pg-correlati\">vedi ";
  for (std::size_t k = 0; k < s.correlati.size(); ++k) {
    const luogo_correlato& l = s.correlati[k];
    std::string testo = l.file + ":" + std::to_string(l.riga);
    if (!l.cosa.empty()) testo.append(" (").append(l.cosa).append(")");
    if (k > 0) out += ", ";
    const auto i = id.find({l.fonte, l.riga});
    if (i == id.end())
      elemento_html(out, "span", "", testo);
    else
      elemento_html(out, "a", "href=\"#" + testo_xml(i->second) + "\"", testo);
  }
  out += "</span>";
}

void rilievi(std::string& out, const contenuto_pagina& c, std::span<const elenco> el,
             righe_pagina& righe) {
  const id_righe id = id_di(el);
  luoghi_righe luoghi;
  for (const origine& o : c.m->origini) luoghi.emplace(std::pair{o.fonte, o.riga}, &o);
  out += "<section id=\"pg-rilievi\">";
  elemento_html(out, "h2", "", "Errori e avvisi (" + std::to_string(c.segnalazioni.size()) + ")");
  if (c.segnalazioni.empty()) elemento_html(out, "p", "class=\"pg-nessuno\"", "nessun rilievo");
  out += "<ol class=\"pg-rilievi\">\n";
  for (std::size_t i = 0; i < c.segnalazioni.size(); ++i) {
    const messaggio& s = c.segnalazioni[i];
    out += "<li";
    attributo(out, "id", "pg-ri-" + std::to_string(i + 1));
    if (s.avviso) attributo(out, "class", "pg-avviso");
    if (const auto t = tratto_di(s, luoghi)) segno(out, t->first, t->second);
    out += ">";
    elemento_html(out, "span", "class=\"pg-luogo\"", luogo_di(s));
    out += " ";
    const std::string etichetta = etichetta_di(s);
    elemento_html(out, "span", "", etichetta.empty() ? s.corpo : etichetta + ": " + s.corpo);
    correlati(out, s, id);
    sorgente_con_segno(out, s, c, righe);
    out += "</li>\n";
  }
  out += "</ol></section>\n";
}

void cella_fonte(std::string& out, const origine* o, const contenuto_pagina& c,
                 righe_pagina& righe) {
  out += "<td class=\"pg-fonte\">";
  if (o == nullptr) {
    out += "completamento</td>";
    return;
  }
  const std::string_view file = nome_file(c, o->fonte);
  out += testo_xml(std::string(file) + ":" + std::to_string(o->riga) + ":" +
                   std::to_string(o->colonna));
  if (c.riga_sorgente) {
    righe.scrivi(out, "code", file, o->riga, c.riga_sorgente(o->fonte, o->riga));
    out += "</code>";
  }
  out += "</td>";
}

// Every place that will show a source line, so each line is cut around all its columns.
void nomina_righe(righe_pagina& righe, const contenuto_pagina& c, std::span<const elenco> el) {
  for (const messaggio& s : c.segnalazioni) {
    const std::string_view testo = riga_di(s, c);
    if (testo.empty()) continue;
    righe.nomina(s.file, s.riga, testo, s.colonna);
    if (s.colonna_fine > s.colonna) righe.nomina(s.file, s.riga, testo, s.colonna_fine - 1);
  }
  if (!c.riga_sorgente) return;
  for (const elenco& e : el)
    for (const riga_elenco& r : e.righe)
      if (r.o != nullptr)
        righe.nomina(nome_file(c, r.o->fonte), r.o->riga, c.riga_sorgente(r.o->fonte, r.o->riga),
                     r.o->colonna);
}

bool numerica(std::string_view intestazione) {
  static constexpr std::string_view numeriche[] = {
      "km", "da km", "a km", intestazione_dall_inizio, "n.", "arrivo", "partenza", "sosta"};
  return std::find(std::begin(numeriche), std::end(numeriche), intestazione) != std::end(numeriche);
}

void tabella(std::string& out, const elenco& e, const contenuto_pagina& c, righe_pagina& righe) {
  out += "<section";
  attributo(out, "id", e.id);
  out += ">";
  elemento_html(out, "h2", "", e.titolo + " (" + std::to_string(e.righe.size() + e.omesse) + ")");
  if (e.righe.empty()) {
    elemento_html(out, "p", "class=\"pg-omesse\"", "nessuna");
    out += "</section>\n";
    return;
  }
  out += "<table><thead><tr>";
  for (const std::string& t : e.intestazioni) elemento_html(out, "th", "", t);
  out += "<th>riga</th></tr></thead><tbody>\n";
  for (const riga_elenco& r : e.righe) {
    out += "<tr";
    if (!r.id.empty()) attributo(out, "id", r.id);
    if (r.non_compilata) attributo(out, "class", "pg-non-compilato");
    segno(out, r.da, r.a);
    out += ">";
    for (std::size_t k = 0; k < r.celle.size(); ++k)
      elemento_html(out, "td", numerica(e.intestazioni[k]) ? "class=\"pg-num\"" : "",
                    accorcia(r.celle[k], massimo_cella));
    cella_fonte(out, r.o, c, righe);
    out += "</tr>\n";
  }
  out += "</tbody></table>";
  if (e.omesse > 0)
    elemento_html(out, "p", "class=\"pg-omesse\"",
                  "e altre " + std::to_string(e.omesse) + " righe, non mostrate");
  if (!e.nota.empty()) elemento_html(out, "p", "class=\"pg-nota\"", e.nota);
  out += "</section>\n";
}

}  // namespace

std::string pagina_html(const contenuto_pagina& c) {
  std::string out;
  testa(out, c);
  out += "<body>\n";
  testata(out, c);
  out += "<main class=\"pg-griglia\">\n";
  disegno(out, c);
  out += "<div class=\"pg-dati\">\n";
  const std::vector<elenco> el = elenchi_di(*c.m, c.oltre);
  righe_pagina righe;
  nomina_righe(righe, c, el);
  rilievi(out, c, el, righe);
  for (const elenco& e : el) tabella(out, e, c, righe);
  out += "</div>\n</main>\n<div id=\"pg-punta\"></div>\n<script>window.PERCORSO_DATI=";
  out += dati_script(*c.m, c.disegno, c.arresto);
  out += ";</script>\n<script>";
  out += script_pagina();
  out += "</script>\n</body>\n</html>\n";
  return out;
}

std::string script_versione(std::uint64_t versione) {
  return "percorsoVersione(\"" + std::to_string(versione) + "\");\n";
}

}  // namespace percorso
