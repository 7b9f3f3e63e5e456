// The route page in a real browser, written by `percorso page` as a user runs it: it
// loads without script errors, shows the drawing, the whole timetable, the findings of
// a broken text with their source lines, answers pointing and choosing, and escapes
// hostile names.
#ifdef _WIN32
#include <gtest/gtest.h>

TEST(PaginaBrowser, OnlyOnLinux) {
  GTEST_SKIP() << "the browser tests run with the distribution's Chromium on Linux";
}
#else
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>

#include "page/pagina.h"
#include "support/cartella_temporanea.h"
#include "support/chromium.h"
#include "support/comando.h"
#include "support/conta.h"
#include "support/testi_sorgente.h"

namespace percorso {
namespace {

using prova::conta;

// Writes the page of the two texts of d with the command and gives its file.
std::string pagina_di(const cartella_temporanea& d, const std::string& linea,
                      const std::string& treno) {
  const std::string file = d.file("Prova_1.html");
  const risposta r = esegui({"page", linea, treno, "-o", file});
  EXPECT_LE(r.stato, 1) << r.err;
  return file;
}

std::string pagina_di_testi(const cartella_temporanea& d, const std::string& linea,
                            const std::string& treno) {
  scrivi_file(d.file("Prova_linea.txt"), linea);
  scrivi_file(d.file("Prova_1-.txt"), treno);
  return pagina_di(d, d.file("Prova_linea.txt"), d.file("Prova_1-.txt"));
}

// The part of the DOM from the element with the id to the end of its row or list.
std::string parte(const std::string& dom, const std::string& id, std::string_view fine) {
  const auto i = dom.find("id=\"" + id + "\"");
  if (i == std::string::npos) return {};
  return dom.substr(i, dom.find(fine, i) - i);
}

void senza_errori_di_script(const std::string& dom) {
  EXPECT_NE(dom.find("data-pronta=\"1\""), std::string::npos)
      << "lo script non e' arrivato in fondo";
  const auto errori = dom.find("data-errori-script=\"");
  EXPECT_EQ(errori, std::string::npos) << dom.substr(errori, 300);
}

// A copy of the page with a user's actions run at its end (azioni ends with </body>).
std::string con_utente(const cartella_temporanea& d, const std::string& file,
                       std::string_view azioni) {
  const auto byte = leggi_file(file);
  std::string html(byte.begin(), byte.end());
  html.replace(html.rfind("</body>"), 7, azioni);
  const std::string copia = d.file("utente.html");
  scrivi_file(copia, html);
  return copia;
}

// What a user does: chooses the signal at 7000 m in the list, then points at the profile
// over it; the marks and the pointer's text are left in the DOM.
constexpr std::string_view utente = R"(<script>
var r = document.querySelector('#pg-segnali tr[data-da="7000"]');
r.click();
document.documentElement.setAttribute('data-segni', document.getElementById('pg-segni').innerHTML);
var svg = document.querySelector('#pg-disegno svg'), P = window.PERCORSO_DATI.profilo;
var p = svg.createSVGPoint();
p.x = P[0] + (P[1] - P[0]) * (+r.dataset.da + 25) / P[4]; p.y = (P[2] + P[3]) / 2;
var q = p.matrixTransform(svg.getScreenCTM());
svg.dispatchEvent(new MouseEvent('mousemove', {clientX: q.x, clientY: q.y, bubbles: true}));
document.documentElement.setAttribute('data-punta', document.getElementById('pg-punta').textContent);
</script></body>)";

TEST(PaginaNelBrowser, ScenarioIncorporato) {
  RICHIEDE_CHROMIUM();
  cartella_temporanea d;
  ASSERT_EQ(esegui({"sources", d.percorso().string()}).stato, 0);
  const std::string file =
      pagina_di(d, d.file("Varmena_Ostrana_linea.txt"), d.file("Varmena_Ostrana_917-.txt"));
  const browser::esito e = browser::apri(con_utente(d, file, utente), "--dump-dom");
  ASSERT_EQ(e.stato, 0);
  senza_errori_di_script(e.uscita);
  EXPECT_NE(e.uscita.find("<svg"), std::string::npos);
  struct stazione {
    int n;
    const char* nome;
    const char* orario;
  };
  const stazione stazioni[] = {
      {1, "VARMENA CENTRALE", "15:33:00"},
      {2, "VARMENA P.N.", ""},
      {3, "CORNELLA", ""},
      {4, "TORRE ALBINA", ""},
      {5, "Nome Stazione", ""},
      {6, "LIVERNA", ""},
      {7, "BELFIORE", ""},
      {8, "POGGIO MARINO-SAN VITALIANO", ""},
      {9, "CASALVERDE", ""},
      {10, "ROCCAFORTE", ""},
      {11, "MONTECALVO", "16:07:00"},
      {12, "CASTELNUOVO PIANA", ""},
      {13, "OSTRANA", "16:20:00"},
  };
  for (const stazione& s : stazioni) {
    const std::string riga = parte(e.uscita, "pg-st-" + std::to_string(s.n), "</tr>");
    EXPECT_NE(riga.find(std::string(">") + s.nome + "<"), std::string::npos) << s.nome;
    EXPECT_NE(riga.find(std::string(">") + s.orario + "<"), std::string::npos) << s.nome;
  }
  // The signal at 7000 m, in cell 141: marked on both drawings, and its cell described.
  EXPECT_NE(e.uscita.find("data-segni=\"&lt;rect"), std::string::npos);
  EXPECT_NE(e.uscita.find("&lt;circle"), std::string::npos);
  EXPECT_NE(e.uscita.find("data-punta=\"km 357+050, 7050 m dall'inizio, cella 141\nsegnale"),
            std::string::npos)
      << e.uscita.substr(0, 600);
  // Its profile in the units an author writes, as inspect shows them.
  EXPECT_NE(e.uscita.find("velocita' massima 150 km/h\npendenza 4 per mille\n"), std::string::npos);

  const std::string png = d.file("pagina.png");
  EXPECT_EQ(browser::apri(file, "--screenshot=" + quotato(png)).stato, 0);
  ASSERT_TRUE(std::filesystem::exists(png));
  EXPECT_GT(std::filesystem::file_size(png), 10000u);
}

TEST(PaginaNelBrowser, TestoRottoConNomiOstili) {
  RICHIEDE_CHROMIUM();
  cartella_temporanea d;
  const std::string ostile =
      "<img src=x onerror=\"document.documentElement.setAttribute('data-iniettato';1)\">"
      "</script><script>document.documentElement.setAttribute('data-iniettato';2)</script>";
  const std::string file = pagina_di_testi(
      d, prova::linea(20000, {"cartello_indicatore, 5000, " + ostile}),
      prova::treno({"stazione, 0, 12, 800, 0,0,1, 1,1,0, 4,1,1, 1, 15,33,0, " + ostile,
                    "stazione, 2010, 12, 600, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, SECONDA"}));

  const browser::esito e = browser::apri(file, "--dump-dom");
  ASSERT_EQ(e.stato, 0);
  senza_errori_di_script(e.uscita);
  EXPECT_EQ(e.uscita.find("data-iniettato=\""), std::string::npos);
  EXPECT_EQ(e.uscita.find("<img"), std::string::npos);
  const std::string rilievi = parte(e.uscita, "pg-rilievi", "</ol>");
  EXPECT_NE(rilievi.find(d.file("Prova_1-.txt") + ":3:11"), std::string::npos) << rilievi;
  // The field underlined, under the line written once and under the reference to it.
  EXPECT_EQ(conta(rilievi,
                  "stazione, 2010, 12, 600, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, SECONDA\n"
                  "          ^~~~</pre>"),
            2u)
      << rilievi;
  // The route built before the error is there: the first station and the board.
  EXPECT_NE(parte(e.uscita, "pg-st-1", "</tr>").find("15:33:00"), std::string::npos);
  EXPECT_NE(e.uscita.find("id=\"pg-ca-80\""), std::string::npos);
}

// Two boards at one place: the findings name the second board's line, so does its row,
// which carries only a reference until the script fills it in.
TEST(PaginaNelBrowser, LaRigaScrittaUnaVoltaSiVedeOvunque) {
  RICHIEDE_CHROMIUM();
  cartella_temporanea d;
  const std::string file = pagina_di_testi(
      d, prova::linea(20000, {"cartello_indicatore, 5000, A", "cartello_indicatore, 5000, B"}),
      prova::treno({"stazione, 0, 12, 800, 0,0,1, 1,1,0, 4,1,1, 1, 15,33,0, S"}));
  const auto byte = leggi_file(file);
  const std::string html(byte.begin(), byte.end());
  ASSERT_NE(html.find("<code data-riga=\"pg-sr-1\"></code>"), std::string::npos);

  const browser::esito e = browser::apri(file, "--dump-dom");
  ASSERT_EQ(e.stato, 0);
  senza_errori_di_script(e.uscita);
  EXPECT_NE(e.uscita.find("<code data-riga=\"pg-sr-1\">cartello_indicatore, 5000, B</code>"),
            std::string::npos)
      << e.uscita;
}

// A user zooms the drawing with the wheel over the profile, then resets it with the
// key 0; the page leaves the zoom, the viewBox and a label's size on the screen in the DOM.
constexpr std::string_view zoom_utente = R"(<script>
var radice = document.documentElement, svg = document.querySelector('#pg-disegno svg');
var P = window.PERCORSO_DATI.profilo, t = svg.querySelector('text.tacca');
function schermo() {
  return (parseFloat(getComputedStyle(t).fontSize) * svg.getScreenCTM().a).toFixed(1);
}
radice.setAttribute('data-testo-prima', schermo());
var p = svg.createSVGPoint();
p.x = (P[0] + P[1]) / 2; p.y = (P[2] + P[3]) / 2;
var q = p.matrixTransform(svg.getScreenCTM());
for (var k = 0; k < 8; k++)
  svg.dispatchEvent(new WheelEvent('wheel', {deltaY: -100, clientX: q.x, clientY: q.y,
                                             bubbles: true, cancelable: true}));
radice.setAttribute('data-zoom-dopo', radice.getAttribute('data-zoom'));
radice.setAttribute('data-vista-dopo', svg.getAttribute('viewBox'));
radice.setAttribute('data-testo-dopo', schermo());
document.getElementById('pg-disegno').dispatchEvent(
    new KeyboardEvent('keydown', {key: '0', bubbles: true}));
radice.setAttribute('data-zoom-intero', radice.getAttribute('data-zoom'));
</script></body>)";

std::string attributo_dom(const std::string& dom, const std::string& nome) {
  const auto i = dom.find(nome + "=\"");
  if (i == std::string::npos) return {};
  const auto inizio = i + nome.size() + 2;
  return dom.substr(inizio, dom.find('"', inizio) - inizio);
}

// The page of a text whose compile stops at its second station: kilometres from the
// line's reference, the stop marked on both drawings with what follows greyed, the
// rows after the stop still listed as not compiled, and the drawing zooms and resets
// with labels of the same size on the screen.
TEST(PaginaNelBrowser, ChilometriArrestoEZoom) {
  RICHIEDE_CHROMIUM();
  cartella_temporanea d;
  const std::string file = pagina_di_testi(
      d, prova::linea(20000, {}, {"progressiva chilometrica uno, 0, 40000, 0"}),
      prova::treno({"stazione, 0, 12, 600, 0,0,1, 1,1,0, 4,1,1, 0, 8,0,0, PRIMA",
                    "stazione, 5010, 12, 600, 0,0,0, 1,1,0, 4,1,1, 45, 8,10,0, SECONDA",
                    "stazione, 12000, 12, 600, 0,0,0, 1,1,0, 4,1,1, 0, 8,20,0, TERZA",
                    "segnale, 15000, 1, 4, 1, 0, 0, 1, 3,1,0, 0"}));
  const browser::esito e = browser::apri(con_utente(d, file, zoom_utente), "--dump-dom");
  ASSERT_EQ(e.stato, 0);
  senza_errori_di_script(e.uscita);
  // The railway's kilometre first, the distance from the start second.
  const std::string prima = parte(e.uscita, "pg-st-1", "</tr>");
  EXPECT_NE(prima.find(">40+000<"), std::string::npos) << prima;
  EXPECT_NE(prima.find(">0<"), std::string::npos) << prima;
  // The stop at 5010 m: a line across the profile, a ring on the map, the rest greyed.
  const std::string arresto = parte(e.uscita, "pg-arresto", "</g>");
  EXPECT_NE(arresto.find("class=\"pg-arresto\""), std::string::npos) << arresto;
  EXPECT_NE(arresto.find("class=\"pg-grigio\""), std::string::npos) << arresto;
  EXPECT_NE(arresto.find("class=\"pg-grigio-linea\""), std::string::npos) << arresto;
  EXPECT_NE(arresto.find("compilazione fermata qui (km 45+010, 5010 m dall'inizio)"),
            std::string::npos)
      << arresto;
  // The station and the signal after the stop are still listed, as not compiled.
  const auto terza = e.uscita.find(">TERZA<");
  ASSERT_NE(terza, std::string::npos);
  const std::string riga_terza = e.uscita.substr(
      e.uscita.rfind("<tr", terza), e.uscita.find("</tr>", terza) - e.uscita.rfind("<tr", terza));
  EXPECT_NE(riga_terza.find("pg-non-compilato"), std::string::npos) << riga_terza;
  EXPECT_NE(riga_terza.find(">non compilato<"), std::string::npos) << riga_terza;
  EXPECT_NE(parte(e.uscita, "pg-segnali", "</section>").find("pg-non-compilato"),
            std::string::npos);
  // Eight wheel steps zoom in about six times; 0 shows the whole drawing again. A
  // label keeps a readable size on the screen.
  EXPECT_GT(std::stod(attributo_dom(e.uscita, "data-zoom-dopo")), 4.0);
  EXPECT_EQ(attributo_dom(e.uscita, "data-zoom-intero"), "1.00");
  EXPECT_EQ(attributo_dom(e.uscita, "data-vista-dopo").find("0 0 1600"), std::string::npos);
  const double testo_prima = std::stod(attributo_dom(e.uscita, "data-testo-prima"));
  const double testo_dopo = std::stod(attributo_dom(e.uscita, "data-testo-dopo"));
  EXPECT_GE(testo_prima, 8.0);
  EXPECT_GE(testo_dopo, 8.0);
  EXPECT_LE(testo_dopo, 1.3 * testo_prima);

  const std::string png = d.file("arresto.png");
  EXPECT_EQ(browser::apri(file, "--screenshot=" + quotato(png)).stato, 0);
  EXPECT_GT(std::filesystem::file_size(png), 10000u);
}

// From file:// the page reads the version script beside it, which watch mode rewrites.
TEST(PaginaNelBrowser, LeggeLaVersioneAccanto) {
  RICHIEDE_CHROMIUM();
  cartella_temporanea d;
  const modello m = prova::compila(prova::linea(20000), prova::treno());
  contenuto_pagina c;
  c.m = &m;
  c.ricarica = ricarica_pagina{"Prova_1.html.versione.js", 42};
  scrivi_file(d.file("Prova_1.html"), pagina_html(c));
  scrivi_file(d.file("Prova_1.html.versione.js"), script_versione(42));

  const browser::esito e = browser::apri(d.file("Prova_1.html"), "--dump-dom");
  ASSERT_EQ(e.stato, 0);
  senza_errori_di_script(e.uscita);
  EXPECT_NE(e.uscita.find("data-versione-letta=\"42\""), std::string::npos);
}

// Every text of every drawing in the page, in the browser's layout: the pairs whose
// boxes meet, and the texts of a group of labels (data-cornice) that stray out of its
// box. A diagram added to the page is covered as it is, being an svg with texts.
constexpr std::string_view controllo_etichette = R"(<script>
var testi = [], sovrapposte = [], fuori = [];
document.querySelectorAll('svg text').forEach(function (t) {
  var r = t.getBoundingClientRect();
  if (r.width > 0 && r.height > 0 && t.textContent.trim()) testi.push([t.textContent, r]);
});
for (var i = 0; i < testi.length; i++)
  for (var j = i + 1; j < testi.length; j++) {
    var a = testi[i][1], b = testi[j][1];
    if (a.left < b.right - 0.5 && b.left < a.right - 0.5 && a.top < b.bottom - 0.5 &&
        b.top < a.bottom - 0.5)
      sovrapposte.push(testi[i][0] + ' / ' + testi[j][0]);
  }
document.querySelectorAll('svg g[data-cornice]').forEach(function (g) {
  var c = g.getAttribute('data-cornice').split(' ').map(Number), m = g.getScreenCTM();
  var p = g.ownerSVGElement.createSVGPoint(), q = g.ownerSVGElement.createSVGPoint();
  p.x = c[0]; p.y = c[1]; q.x = c[2]; q.y = c[3];
  p = p.matrixTransform(m); q = q.matrixTransform(m);
  g.querySelectorAll('text').forEach(function (t) {
    var r = t.getBoundingClientRect();
    if (r.left < p.x - 0.5 || r.right > q.x + 0.5 || r.top < p.y - 0.5 || r.bottom > q.y + 0.5)
      fuori.push(t.textContent);
  });
});
document.documentElement.setAttribute('data-testi', testi.length);
document.documentElement.setAttribute('data-sovrapposte', sovrapposte.join(' | '));
document.documentElement.setAttribute('data-fuori', fuori.join(' | '));
</script></body>)";

// A crowded 30 km line: a station every kilometre with names short and long, two
// signals a kilometre, curves, gradients, tunnels with their boards, speed indicators,
// speed changes and slowdowns. rotta puts a signal on a station's stop cell at 15 km:
// the compiler stops there.
std::pair<std::string, std::string> testi_densi(bool rotta) {
  std::string linea = prova::righe({"[generale]", "lunghezza percorso, 30000",
                                    "progressiva chilometrica uno, 0, 120000, 0", "[curve]"});
  auto riga = [](std::string& t, const std::string& r) { t.append(r).append("\r\n"); };
  for (int k = 0; k < 60; ++k)
    riga(linea, std::string("curva") + (k % 2 ? "s" : "d") + (k % 3 ? "4" : "5") + ", " +
                    std::to_string(k * 500 + 50) + ", 300");
  for (int k = 0; k < 75; ++k)
    riga(linea, "pendenza, " + std::to_string(k * 400) + ", " + (k % 2 ? "-5" : "6"));
  for (int k = 0; k < 30; k += 3) {
    const std::string km = std::to_string(k * 1000);
    riga(linea, "montagna, " + std::to_string(k * 1000 + 100) + ", " +
                    std::to_string(k * 1000 + 700) + ", 12");
    riga(linea, "cartello_indicatore, " + std::to_string(k * 1000 + 600) +
                    ", ( Galleria )( Monte Numero " + std::to_string(k) + " )( Ml. 600 )");
    riga(linea, "indicatori_vmax, " + std::to_string(k * 1000 + 1700) +
                    ", 100, 110, 120, 0, 100, 110, 120, 0");
  }
  riga(linea, "[fine]");
  constexpr const char* nomi[] = {"ALBA",
                                  "BORGO SAN MARTINO DI SOPRA",
                                  "CASTELLO",
                                  "DOGANA VECCHIA",
                                  "ERBA",
                                  "FONTANA MAGGIORE DEL PIANO",
                                  "GROTTE",
                                  "IMPERIA BIVIO",
                                  "LAGO",
                                  "MONTE ROSSO SCALO",
                                  "NOVA",
                                  "ORTE",
                                  "PIANO DI SORRENTO NORD",
                                  "QUARTO",
                                  "RIVA",
                                  "SELVA NERA DI SOTTO",
                                  "TORRE",
                                  "UDINE SUD",
                                  "VALLE",
                                  "ZERO BRANCO",
                                  "AGRO",
                                  "BOSCO",
                                  "CIMA ALTA DELLE TRE CROCI",
                                  "DOSSO",
                                  "ELCE",
                                  "FARO",
                                  "GOLFO",
                                  "ISOLA",
                                  "LIDO",
                                  "MARE"};
  std::string treno = prova::righe({"[generale]", "aderenza, 0, 100"});
  for (int k = 0; k < 20; ++k)
    riga(treno, "velocita, " + std::to_string(k * 1500) + ", " +
                    std::to_string(std::array{100, 140, 90, 160}[k % 4]));
  for (int k = 0; k < 30; ++k) {
    const std::string p = std::to_string(k * 1000);
    riga(treno, "stazione, " + p + ", 12, 400, 0,0,0, 1,1,0, 4,1,1, 0, 8," + std::to_string(k) +
                    ",0, " + nomi[k]);
    riga(treno, "segnale, " + std::to_string(k * 1000 + 350) + ", 1, 4, 1, 0, 0, 1, 3, 1, 0, 0");
    riga(treno, "segnale, " + std::to_string(k * 1000 + 850) + ", 2, 2, 4, 0, 1, 1, 3, 1, 0, 120");
    if (k % 5 == 4)
      riga(treno, "rallentamento, " + std::to_string(k * 1000 + 250) + ", " +
                      (k % 2 ? "60" : "100") + ", 300, 0, 0, 0");
    if (rotta && k == 15) riga(treno, "segnale, 15100, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0");
  }
  riga(treno, "[fine]");
  return {linea, treno};
}

// No two texts of a drawing meet, and labels keep inside their boxes: on the embedded
// scenario, on a crowded line, on the same line stopped half-way (the stop's labels
// come in the browser), and on the narrow drawing of a short straight line.
TEST(PaginaNelBrowser, NessunaEtichettaSopraUnAltra) {
  RICHIEDE_CHROMIUM();
  struct caso {
    const char* nome;
    std::function<std::string(const cartella_temporanea&)> pagina;
  };
  const caso casi[] = {
      {"scenario incorporato",
       [](const cartella_temporanea& d) {
         EXPECT_EQ(esegui({"sources", d.percorso().string()}).stato, 0);
         return pagina_di(d, d.file("Varmena_Ostrana_linea.txt"),
                          d.file("Varmena_Ostrana_917-.txt"));
       }},
      {"linea affollata",
       [](const cartella_temporanea& d) {
         const auto [linea, treno] = testi_densi(false);
         return pagina_di_testi(d, linea, treno);
       }},
      {"linea affollata fermata a meta'",
       [](const cartella_temporanea& d) {
         const auto [linea, treno] = testi_densi(true);
         return pagina_di_testi(d, linea, treno);
       }},
      {"linea corta e dritta",
       [](const cartella_temporanea& d) {
         EXPECT_EQ(esegui({"new", "Valle", "2211", d.percorso().string()}).stato, 0);
         return pagina_di(d, d.file("Valle_linea.txt"), d.file("Valle_2211-.txt"));
       }},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    cartella_temporanea d;
    const std::string file = c.pagina(d);
    const browser::esito e = browser::apri(con_utente(d, file, controllo_etichette), "--dump-dom");
    ASSERT_EQ(e.stato, 0);
    senza_errori_di_script(e.uscita);
    EXPECT_GT(std::stoi(attributo_dom(e.uscita, "data-testi")), 40);
    EXPECT_EQ(attributo_dom(e.uscita, "data-sovrapposte"), "");
    EXPECT_EQ(attributo_dom(e.uscita, "data-fuori"), "");
  }
}

}  // namespace
}  // namespace percorso
#endif
