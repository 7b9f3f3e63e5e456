#include "page/pagina.h"

#include <algorithm>
#include <map>
#include <utility>

#include "format/chilometri.h"
#include "format/testo_nomi.h"
#include "page/dati_script.h"
#include "page/elenchi.h"
#include "page/html.h"
#include "page/risorse.h"

namespace percorso {
namespace {

// A source line of a megabyte would make the page unreadable: around the field is enough.
constexpr std::size_t massimo_riga = 160;

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

std::string nome_file(const contenuto_pagina& c, fonte f) {
  return f == fonte::linea ? c.nome_linea : f == fonte::treno ? c.nome_treno : "percorso";
}

// The line cut to an excerpt that keeps the column in view; the column moves with it.
std::pair<std::string, std::int32_t> estratto(std::string_view riga, std::int32_t colonna) {
  if (riga.size() <= massimo_riga) return {std::string(riga), colonna};
  const std::size_t centro = colonna > 0 ? static_cast<std::size_t>(colonna - 1) : 0;
  const std::size_t inizio = centro > massimo_riga / 2 ? centro - massimo_riga / 2 : 0;
  std::string s = inizio > 0 ? "..." : "";
  s.append(riga.substr(std::min(inizio, riga.size()), massimo_riga)).append("...");
  return {s, colonna - static_cast<std::int32_t>(inizio) + (inizio > 0 ? 3 : 0)};
}

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
    riassunto += "linea di " + km_testo(m.punti[slot_treno].valore_2) + " km, " +
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
                                                               const contenuto_pagina& c,
                                                               const luoghi_righe& luoghi) {
  if (s.posizione) return std::pair{*s.posizione, *s.posizione};
  const fonte f = s.file == c.nome_linea   ? fonte::linea
                  : s.file == c.nome_treno ? fonte::treno
                                           : fonte::nessuna;
  const auto o = luoghi.find({f, s.riga});
  if (o == luoghi.end()) return std::nullopt;
  return std::pair{o->second->inizio, o->second->fine};
}

std::string luogo(const messaggio& s) {
  std::string l = s.file;
  if (s.riga > 0) l.append(":").append(std::to_string(s.riga));
  if (s.riga > 0 && s.colonna > 0) l.append(":").append(std::to_string(s.colonna));
  return l;
}

// The message without the place it starts with, which the page shows on its own.
std::string_view messaggio_senza_luogo(const messaggio& s, std::string_view l) {
  std::string_view t = s.testo;
  const std::string breve = s.riga > 0 ? s.file + ":" + std::to_string(s.riga) : s.file;
  for (const std::string_view prefisso : {l, std::string_view(breve)}) {
    if (!prefisso.empty() && t.starts_with(prefisso) && t.substr(prefisso.size()).starts_with(": "))
      return t.substr(prefisso.size() + 2);
  }
  return t;
}

void sorgente_con_segno(std::string& out, const messaggio& s) {
  if (s.riga_sorgente.empty()) return;
  const auto [riga, colonna] = estratto(s.riga_sorgente, s.colonna_segno);
  out.append("<pre>").append(testo_xml(riga));
  if (colonna > 0) {
    // Tabs stay under tabs so the caret lines up however they are shown.
    std::string sotto;
    for (std::int32_t i = 0; i + 1 < colonna && static_cast<std::size_t>(i) < riga.size(); ++i)
      sotto += riga[static_cast<std::size_t>(i)] == '\t' ? '\t' : ' ';
    out.append("\n").append(sotto).append("^");
  }
  out.append("</pre>");
}

void rilievi(std::string& out, const contenuto_pagina& c) {
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
    if (const auto t = tratto_di(s, c, luoghi)) segno(out, t->first, t->second);
    out += ">";
    const std::string l = luogo(s);
    elemento_html(out, "span", "class=\"pg-luogo\"", l);
    out += " ";
    elemento_html(out, "span", "", messaggio_senza_luogo(s, l));
    sorgente_con_segno(out, s);
    out += "</li>\n";
  }
  out += "</ol></section>\n";
}

void cella_fonte(std::string& out, const origine* o, const contenuto_pagina& c) {
  out += "<td class=\"pg-fonte\">";
  if (o == nullptr) {
    out += "completamento</td>";
    return;
  }
  out += testo_xml(nome_file(c, o->fonte) + ":" + std::to_string(o->riga) + ":" +
                   std::to_string(o->colonna));
  if (c.riga_sorgente) {
    const std::string_view riga = c.riga_sorgente(o->fonte, o->riga);
    elemento_html(out, "code", "", estratto(riga, 0).first);
  }
  out += "</td>";
}

bool numerica(std::string_view intestazione) {
  for (const std::string_view t :
       {"km", "da km", "a km", "dall'inizio (km)", "n.", "arrivo", "partenza", "sosta"})
    if (intestazione == t) return true;
  return false;
}

void tabella(std::string& out, const elenco& e, const contenuto_pagina& c) {
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
                    accorcia(r.celle[k], massimo_riga));
    cella_fonte(out, r.o, c);
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
  rilievi(out, c);
  for (const elenco& e : elenchi_di(*c.m, c.oltre)) tabella(out, e, c);
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
