// The page's HTML without a browser: no text of the sources can add markup or script.
#include "page/pagina.h"

#include <gtest/gtest.h>

#include "support/conta.h"
#include "support/testi_sorgente.h"

namespace percorso {
namespace {

using prova::conta;

TEST(Pagina, NessunTestoAggiungeMarcatureOScript) {
  const std::string ostile = "<script>alert(1)</script><img src=x onerror=alert(2)>'\"&\x01\x9f";
  const modello m = prova::compila(
      prova::linea(20000, {"cartello_indicatore, 5000, " + ostile}),
      prova::treno({"stazione, 0, 12, 800, 0,0,1, 1,1,0, 4,1,1, 1, 15,33,0, " + ostile}));
  ASSERT_EQ(m.codice_errore, 0);
  messaggio s;
  s.posizione = 5000;
  s.fonte = fonte::linea;
  s.file = ostile;
  s.riga = 3;
  s.colonna = 2;
  s.corpo = ostile;
  contenuto_pagina c;
  c.titolo = ostile;
  c.m = &m;
  c.segnalazioni = std::span(&s, 1);
  c.nome_linea = ostile;
  c.riga_sorgente = [&](fonte, std::int32_t) -> std::string_view { return ostile; };
  c.ricarica = ricarica_pagina{ostile, 7};
  const std::string html = pagina_html(c);

  EXPECT_EQ(conta(html, "<script"), 3u);  // the page's own three
  EXPECT_EQ(conta(html, "<img"), 0u);
  EXPECT_EQ(conta(html, "alert(1)"), conta(html, "&lt;script&gt;alert(1)"));
  EXPECT_GE(conta(html, "&lt;script&gt;alert(1)&lt;/script&gt;&lt;img src=x"), 5u);
  EXPECT_EQ(html.find('\x01'), std::string::npos);
  EXPECT_EQ(html.find('\x9f'), std::string::npos);
  EXPECT_NE(html.find("data-versione=\"7\""), std::string::npos);
  EXPECT_EQ(script_versione(7), "percorsoVersione(\"7\");\n");
}

// Whether the texts appear in testo in this order, each after the one before.
void in_ordine(const std::string& testo, const std::vector<std::string>& attesi,
               std::string_view dove) {
  std::size_t da = 0;
  for (const std::string& x : attesi) {
    const auto i = testo.find(x, da);
    EXPECT_NE(i, std::string::npos) << dove << ": " << x << " in " << testo;
    if (i != std::string::npos) da = i + x.size();
  }
}

// The timetable as the train sheet reads it, with the line's kilometres first and the
// distance from the start second, in metres as the texts write it; a board's row says
// which cell it lands in.
TEST(Pagina, OrarioConChilometriArrivoPartenzaESosta) {
  const modello m = prova::compila(
      prova::linea(20000, {"cartello_indicatore, 5150, T"},
                   {"progressiva chilometrica uno, 0, 40000, 0"}),
      prova::treno({"stazione, 0, 12, 600, 0,0,1, 1,1,0, 4,1,1, 0, 8,0,0, PRIMA",
                    "stazione, 8000, 12, 600, 0,0,0, 1,1,0, 4,1,1, 45, 8,10,0, SECONDA",
                    "stazione, 16000, 12, 600, 0,0,0, 1,1,0, 4,1,1, 0, 8,20,0, TERZA"}));
  ASSERT_EQ(m.codice_errore, 0);
  contenuto_pagina c;
  c.m = &m;
  const std::string html = pagina_html(c);
  auto riga = [&](std::string_view id) {
    const auto i = html.find(std::string("id=\"") + std::string(id) + "\"");
    return i == std::string::npos ? std::string() : html.substr(i, html.find("</tr>", i) - i);
  };
  EXPECT_NE(html.find("<th>km</th><th>dall&apos;inizio (m)</th>"), std::string::npos);
  struct caso {
    const char* id;
    std::vector<std::string> celle;  // in this order in the row
  };
  const caso casi[] = {
      {"pg-st-1",
       {">40+000<", ">0<", ">650 m, da -300 a 350 m dall&apos;inizio<", "><", ">08:00:00<"}},
      {"pg-st-2", {">48+000<", ">8000<", ">08:09:15<", ">08:10:00<", ">45 s<"}},
      {"pg-st-3", {">56+000<", ">16000<", ">08:20:00<", "><"}},
      {"pg-ca-80", {">45+150<", ">5150<", ">T<", ">104 (5200 m)<"}},
  };
  for (const caso& k : casi) in_ordine(riga(k.id), k.celle, k.id);
}

// What shapes the line has its tables too: each curve with its class and hand, each
// row of the speed limit, the gradient and the adhesion with the cell its value holds
// from (a speed as the cells keep it, in steps of 5 km/h); a signal's codes come out of
// its cell side by side, with the words the keyword table has for their values.
TEST(Pagina, CurvePendenzeVelocitaESegnaliInChiaro) {
  const modello m = prova::compila(
      prova::linea(20000, {"curvas5, 1000, 400", "curvad1, 3000, 200", "pendenza, 1000, -3"}),
      prova::treno({"velocita, 0, 100", "velocita, 4020, 62", "aderenza, 0, 90",
                    "segnale, 5000, 2, 4, 1, 0, 1, 1, 3, 1, 0, 50",
                    "segnale, 7000, 1, 3, 1, 0, 0, 0, 0, 0, 0, 0"}),
      1);
  ASSERT_EQ(m.codice_errore, 0);
  contenuto_pagina c;
  c.m = &m;
  const std::string html = pagina_html(c);
  auto sezione = [&](std::string_view id) {
    const auto i = html.find(std::string("<section id=\"") + std::string(id) + "\"");
    return i == std::string::npos ? std::string() : html.substr(i, html.find("</section>", i) - i);
  };
  struct caso {
    const char* sezione;
    std::vector<std::string> celle;  // in this order in the section
  };
  const caso casi[] = {
      {"pg-curve",
       {">1000 - 1400<", ">400 m<", ">classe 5, curvatura 0,002 rad/m, raggio 500 m<", ">sinistra<",
        ">3000 - 3200<", ">classe 1, ", ">destra<"}},
      {"pg-pendenze", {">1000<", ">-3 per mille<", ">20 (1000 m)<"}},
      {"pg-velocita",
       {">0<", ">100 km/h<", ">100 km/h<", ">0 (0 m)<", ">4020<", ">62 km/h<", ">60 km/h<",
        ">80 (4000 m)<"}},
      {"pg-aderenza", {">90<", ">0 (0 m)<"}},
      {"pg-segnali",
       {">5000<", ">101 (5050 m)<", ">tipo 2, tempo 101; codici 4 1 0<", ">tipo 1; codici 3 1 0<",
        ">1<", ">7000<", ">tipo 1; codici 3 1 0<", ">tipo 0; codici 0 0 0<", ">0<",
        "sx - 0, 1: significato per il simulatore non specificato; 2: il segnale porta un tempo",
        "s1, s2, s3, rapp, d1, d2, d3 - da 0 a 9: significato per il simulatore non specificato"}},
  };
  for (const caso& k : casi) in_ordine(sezione(k.sezione), k.celle, k.sezione);
}

// A long line named by a finding and by a table row is written once, cut around both
// the start of the row and the finding's whole field, which the caret underlines; the
// row only refers to it.
TEST(Pagina, UnaRigaLungaScrittaUnaVolta) {
  const std::string testo = std::string(100, 'x') + "CAMPO" + std::string(300, 'y');
  const modello m =
      prova::compila(prova::linea(20000, {"cartello_indicatore, 5000, " + testo}),
                     prova::treno({"stazione, 0, 12, 800, 0,0,1, 1,1,0, 4,1,1, 1, 15,33,0, A"}));
  ASSERT_EQ(m.codice_errore, 0);
  constexpr std::int32_t n = 4;  // the board's line in the text
  const std::string riga = "cartello_indicatore, 5000, " + testo;
  messaggio s;
  s.fonte = fonte::linea;
  s.file = "linea.txt";
  s.riga = n;
  s.colonna = static_cast<std::int32_t>(riga.find("CAMPO")) + 1;
  s.colonna_fine = s.colonna + 5;
  s.avviso = true;
  contenuto_pagina c;
  c.m = &m;
  c.segnalazioni = std::span(&s, 1);
  c.nome_linea = "linea.txt";
  c.riga_sorgente = [&](fonte f, std::int32_t r) -> std::string_view {
    return f == fonte::linea && r == n ? std::string_view(riga) : "";
  };
  const std::string html = pagina_html(c);

  // From the row's start to 60 bytes past the field's last.
  EXPECT_EQ(conta(html, riga.substr(0, 191) + "..."), 1u);
  EXPECT_EQ(conta(html, "data-riga=\"pg-sr-1\""), 1u);
  EXPECT_EQ(conta(html, riga.substr(0, 191) + "...\n" + std::string(127, ' ') + "^~~~~</pre>"), 1u);
}

// A finding's other places link to the rows the page lists for them; a place without
// a row is still named.
TEST(Pagina, ILuoghiCorrelatiPortanoAlleLoroRighe) {
  const modello m =
      prova::compila(prova::linea(20000),
                     prova::treno({"stazione, 0, 12, 800, 0,0,1, 1,1,0, 4,1,1, 1, 15,33,0, A"}));
  ASSERT_EQ(m.codice_errore, 0);
  messaggio s;
  s.corpo = "la cella e' gia' occupata";
  s.correlati = {{fonte::treno, 2, "stazione A", "treno.txt"}, {fonte::treno, 9, "", "treno.txt"}};
  contenuto_pagina c;
  c.m = &m;
  c.segnalazioni = std::span(&s, 1);
  const std::string html = pagina_html(c);

  EXPECT_NE(html.find("vedi <a href=\"#pg-st-1\">treno.txt:2 (stazione A)</a>, "
                      "<span>treno.txt:9</span>"),
            std::string::npos)
      << html;
  EXPECT_NE(html.find("<tr id=\"pg-st-1\""), std::string::npos);
}

}  // namespace
}  // namespace percorso
