#include "page/risorse.h"

namespace percorso {
namespace {

constexpr std::string_view stile =
    "*{box-sizing:border-box}\n"
    "body{margin:0;font:14px/1.4 sans-serif;color:#222;background:#f3f3ef}\n"
    ".pg-testata{padding:10px 16px;background:#1f3a93;color:#fff}\n"
    ".pg-testata h1{margin:0;font-size:20px}\n"
    ".pg-testata p{margin:2px 0 0;font-size:13px;opacity:.9}\n"
    ".pg-griglia{padding:12px}\n"
    ".pg-disegno{position:relative;overflow:hidden;background:#fff;border:1px solid #ccc;"
    "margin:0 0 12px}\n"
    ".pg-disegno:focus{outline:2px solid #1f3a93}\n"
    ".pg-disegno svg{display:block;width:100%;min-width:1000px;height:auto;touch-action:none}\n"
    ".pg-disegno.pg-trascina svg{cursor:grabbing}\n"
    // Lines keep their width on the screen when the drawing is zoomed.
    "#pg-disegno svg *{vector-effect:non-scaling-stroke}\n"
    ".pg-comandi{position:absolute;top:6px;right:8px;display:flex;gap:4px;align-items:center;"
    "font-size:12px;color:#444;background:rgba(255,255,255,.9);padding:2px 6px;"
    "border:1px solid #ccc;border-radius:3px}\n"
    ".pg-comandi button{font:inherit;min-width:2em;cursor:pointer}\n"
    ".pg-dati{display:grid;grid-template-columns:minmax(0,1fr) minmax(0,1fr);gap:12px;"
    "align-items:start}\n"
    ".pg-dati>#pg-rilievi,.pg-dati>#pg-orario{grid-column:1/-1}\n"
    "tr.pg-non-compilato td{color:#888;font-style:italic;background:#f1f1f1}\n"
    ".pg-nota{font-size:12px;color:#444;margin:6px 0 0}\n"
    ".pg-arresto{stroke:#c62828;stroke-width:2.5;stroke-dasharray:7 4}\n"
    ".pg-arresto-testo{fill:#c62828;font-weight:bold}\n"
    ".pg-grigio{fill:#777;fill-opacity:.28;pointer-events:none}\n"
    ".pg-grigio-linea{fill:none;stroke:#9a9a9a;stroke-width:7;stroke-opacity:.8;"
    "stroke-linecap:round;pointer-events:none}\n"
    ".pg-vuoto{padding:16px;color:#555}\n"
    ".pg-dati section{background:#fff;border:1px solid #ccc;margin:0 0 12px;padding:8px 10px;"
    "overflow-x:auto}\n"
    ".pg-dati h2{font-size:16px;margin:0 0 6px}\n"
    "table{border-collapse:collapse;width:100%;font-size:13px}\n"
    "th{text-align:left;border-bottom:2px solid #999;padding:2px 6px}\n"
    "td{border-bottom:1px solid #e4e4e4;padding:2px 6px;vertical-align:top;white-space:nowrap}\n"
    "td.pg-num{text-align:right;font-variant-numeric:tabular-nums}\n"
    ".pg-fonte{font-size:12px;color:#555}\n"
    ".pg-fonte code{display:block;white-space:pre;overflow:hidden;text-overflow:ellipsis;"
    "max-width:28em;color:#333}\n"
    "[data-da]{cursor:pointer}\n"
    "[data-da]:hover{background:#eef3ff}\n"
    ".pg-scelta,.pg-scelta:hover{background:#ffe9a8}\n"
    ".pg-rilievi{list-style:none;margin:0;padding:0}\n"
    ".pg-rilievi li{border-left:5px solid #c62828;padding:4px 8px;margin:0 0 8px;"
    "background:#fff6f6}\n"
    ".pg-rilievi li.pg-avviso{border-left-color:#e0a000;background:#fffbea}\n"
    ".pg-luogo{font-family:monospace;font-weight:bold}\n"
    ".pg-correlati{color:#555}\n"
    ".pg-rilievi pre{margin:4px 0 0;padding:4px;background:#f4f4f4;overflow-x:auto;"
    "font-size:12px}\n"
    ".pg-nessuno{color:#2e7d32}\n"
    ".pg-omesse{color:#555;font-style:italic}\n"
    "#pg-punta{position:fixed;display:none;pointer-events:none;z-index:10;max-width:360px;"
    "background:#fffffe;border:1px solid #555;border-radius:3px;padding:4px 8px;font-size:12px;"
    "white-space:pre-line;box-shadow:0 2px 6px rgba(0,0,0,.25)}\n"
    ".pg-segno{fill:#ffd400;fill-opacity:.35;stroke:#d0006f;stroke-width:2}\n"
    ".pg-segno-linea{fill:none;stroke:#d0006f;stroke-width:8;stroke-opacity:.55;"
    "stroke-linecap:round;stroke-linejoin:round}\n"
    ".pg-cursore{stroke:#d0006f;stroke-width:1;fill:none;pointer-events:none}\n"
    "@media (max-width:1100px){.pg-dati{grid-template-columns:1fr}}\n";

constexpr std::string_view errori =
    "window.addEventListener('error',function(e){var r=document.documentElement;"
    "r.setAttribute('data-errori-script',(r.getAttribute('data-errori-script')||'')+"
    "(e.message||'errore')+'; ');});\n";

constexpr std::string_view script = R"js((function () {
  'use strict';
  var D = window.PERCORSO_DATI, radice = document.documentElement, NS = 'http://www.w3.org/2000/svg';
  var svg = document.querySelector('#pg-disegno svg'), punta = document.getElementById('pg-punta');
  var M = D.metri_cella, P = D.profilo, chiave = 'percorso:' + location.pathname;

  // Metre m, with the railway's kilometre k there when the line has one.
  function luogo(m, k) {
    var d = Math.round(m) + " m dall'inizio";
    return k ? 'km ' + k + ', ' + d : d;
  }
  // The value of a run series (pairs of cell and new value) at cell i.
  function serie(s, i) {
    var lo = 0, hi = s.length / 2 - 1, r = -1;
    while (lo <= hi) {
      var mid = (lo + hi) >> 1;
      if (s[2 * mid] <= i) { r = mid; lo = mid + 1; } else hi = mid - 1;
    }
    return r < 0 ? 0 : s[2 * r + 1];
  }
  function evento(i) {
    var e = D.eventi, lo = 0, hi = e.length / 6 - 1;
    while (lo <= hi) {
      var mid = (lo + hi) >> 1, c = e[6 * mid];
      if (c === i) return e.slice(6 * mid + 1, 6 * mid + 6);
      if (c < i) lo = mid + 1; else hi = mid - 1;
    }
    return null;
  }
  function nome(id) {
    var r = document.getElementById(id);
    var n = r && r.querySelector('td:nth-child(2)');
    return n ? n.textContent : '';
  }
  var EVENTI = {1: 'segnale', 2: 'fine del rallentamento', 3: 'inizio del rallentamento',
    4: 'cartello di avviso del rallentamento', 5: 'preavviso del rallentamento',
    6: "indicatori di velocita' massima", 10: 'fermata', 11: 'segno di montagna',
    12: "punto di velocita'", 13: "punto senza velocita'", 14: 'cartello'};
  function descrivi(i) {
    var r = [luogo(i * M, D.km[i]) + ', cella ' + i];
    if (D.arresto !== null && i * M >= D.arresto) r.push('non compilato: la compilazione si e\' fermata prima');
    var e = evento(i);
    if (e) {
      var t = EVENTI[e[0]] || 'evento ' + e[0];
      if (e[0] === 1) t += ' (' + e.slice(1).join(' ') + ')';
      if (e[0] >= 2 && e[0] <= 4 || e[0] === 12) t += ' ' + e[1] + ' km/h';
      if (e[0] === 10) t += ' della stazione ' + e[1] + ' ' + nome('pg-st-' + e[1]);
      if (e[0] === 14) t += ': ' + nome('pg-ca-' + e[1]);
      r.push(t);
    }
    r.push("velocita' massima " + serie(D.velocita, i) + ' km/h');
    r.push('pendenza ' + serie(D.pendenza, i) + ' per mille');
    r.push('aderenza ' + serie(D.aderenza, i));
    var mo = serie(D.montagna, i), ri = serie(D.ripetizione, i);
    if (mo) r.push('montagna o galleria, tipo ' + mo);
    if (ri) r.push('ripetizione ' + ri);
    document.querySelectorAll('#pg-orario tr[data-da]').forEach(function (s) {
      if (i * M >= +s.dataset.da && i * M <= +s.dataset.a)
        r.push('area della stazione ' + s.cells[1].textContent);
    });
    return r.join('\n');
  }

  function xProfilo(m) { return P[0] + Math.max(0, Math.min(m, P[4])) / P[4] * (P[1] - P[0]); }
  function puntoMappa(i) {
    var k = 2 * i;
    return k >= 0 && k + 1 < D.mappa.length && D.mappa[k] !== null ? [D.mappa[k], D.mappa[k + 1]] : null;
  }
  // The cell with an event nearest to cell i, within r cells; else i itself. A pixel
  // of the drawing spans several cells: pointing at a mark shows what it marks.
  function attira(i, r) {
    var e = D.eventi, lo = 0, hi = e.length / 6;
    while (lo < hi) { var mid = (lo + hi) >> 1; if (e[6 * mid] < i - r) lo = mid + 1; else hi = mid; }
    var meglio = i, d0 = r + 1;
    for (var k = lo; k < e.length / 6 && e[6 * k] <= i + r; k++) {
      var d = Math.abs(e[6 * k] - i);
      if (d < d0) { d0 = d; meglio = e[6 * k]; }
    }
    return meglio;
  }
  // The cell under a point of the drawing, or -1; s is the drawing's units per pixel.
  function cellaDi(p, s) {
    if (P[4] > 0 && p.x >= P[0] && p.x <= P[1] && p.y >= P[2] && p.y <= P[3]) {
      var celle = P[4] / M / (P[1] - P[0]);
      var i = Math.min(D.celle - 1, Math.floor((p.x - P[0]) * celle));
      return attira(i, Math.ceil(3 * s * celle));
    }
    var meglio = -1, d0 = 14 * 14 * s * s;
    for (var k = 0; k + 1 < D.mappa.length; k += 2) {
      if (D.mappa[k] === null) continue;
      var dx = D.mappa[k] - p.x, dy = D.mappa[k + 1] - p.y, d = dx * dx + dy * dy;
      if (d < d0) { d0 = d; meglio = k / 2; }
    }
    return meglio < 0 ? -1 : attira(meglio, 2);
  }
  function nuovo(tag, attributi, padre) {
    var e = document.createElementNS(NS, tag);
    for (var a in attributi) e.setAttribute(a, attributi[a]);
    padre.appendChild(e);
    return e;
  }

  var segni = null, cursore = null;
  function segna(da, a) {
    while (segni.firstChild) segni.removeChild(segni.firstChild);
    var primo = null;
    if (P[4] > 0) {
      var x0 = xProfilo(da), x1 = Math.max(xProfilo(a), x0 + 3);
      primo = nuovo('rect', {x: x0 - 1.5, y: P[2], width: x1 - x0 + 3, height: P[3] - P[2],
        'class': 'pg-segno'}, segni);
    }
    var punti = [];
    for (var i = Math.floor(da / M); i <= Math.ceil(a / M); i++) {
      var q = puntoMappa(i);
      if (q) punti.push(q.join(','));
    }
    if (punti.length > 1) nuovo('polyline', {points: punti.join(' '), 'class': 'pg-segno-linea'}, segni);
    if (punti.length > 0) {
      var c = punti[0].split(',');
      primo = nuovo('circle', {cx: c[0], cy: c[1], r: 10, 'class': 'pg-segno'}, segni);
    }
    if (primo) mostraNelDisegno(primo);
    if (primo && primo.scrollIntoView) primo.scrollIntoView({block: 'nearest', inline: 'nearest'});
  }
  // A zoomed drawing moves to show a mark outside its view.
  function mostraNelDisegno(e) {
    var b = e.getBBox(), cx = b.x + b.width / 2, cy = b.y + b.height / 2;
    if (cx >= vista[0] && cx <= vista[0] + vista[2] && cy >= vista[1] && cy <= vista[1] + vista[3]) return;
    vista[0] = cx - vista[2] / 2; vista[1] = cy - vista[3] / 2;
    applica();
  }
  function scegli(riga, salva) {
    document.querySelectorAll('.pg-scelta').forEach(function (r) { r.classList.remove('pg-scelta'); });
    riga.classList.add('pg-scelta');
    if (svg) segna(+riga.dataset.da, +riga.dataset.a);
    if (salva) try { sessionStorage.setItem(chiave + ':scelta', riga.id); } catch (e) {}
  }

  function punto(e) {
    var p = svg.createSVGPoint();
    p.x = e.clientX; p.y = e.clientY;
    return p.matrixTransform(svg.getScreenCTM().inverse());
  }
  function mostra(e) {
    if (trascina) return;
    var i = cellaDi(punto(e), 1 / svg.getScreenCTM().a);
    while (cursore.firstChild) cursore.removeChild(cursore.firstChild);
    if (i < 0) { punta.style.display = 'none'; return; }
    if (P[4] > 0) nuovo('line', {x1: xProfilo(i * M), x2: xProfilo(i * M), y1: P[2], y2: P[3]}, cursore);
    var q = puntoMappa(i);
    if (q) nuovo('circle', {cx: q[0], cy: q[1], r: 6}, cursore);
    punta.textContent = descrivi(i);
    punta.style.display = 'block';
    punta.style.left = Math.min(e.clientX + 14, window.innerWidth - punta.offsetWidth - 4) + 'px';
    punta.style.top = Math.min(e.clientY + 14, window.innerHeight - punta.offsetHeight - 4) + 'px';
  }

  // Zoom and pan of the drawing through its viewBox: wheel, drag, keys (+ - arrows 0)
  // and buttons. Labels keep a readable size on the screen at any zoom.
  var pannello = document.getElementById('pg-disegno'), intero = null, vista = null, trascina = null;
  var testi = [];
  function leggibili() {
    var k = Math.min(1.4, 1 / svg.getScreenCTM().a);
    for (var t = 0; t < testi.length; t++) testi[t][0].style.fontSize = testi[t][1] * k + 'px';
  }
  function applica() {
    var w = Math.max(intero[2] / 64, Math.min(intero[2], vista[2])), h = w * intero[3] / intero[2];
    vista[0] = Math.max(intero[0], Math.min(vista[0], intero[0] + intero[2] - w));
    vista[1] = Math.max(intero[1], Math.min(vista[1], intero[1] + intero[3] - h));
    vista[2] = w; vista[3] = h;
    svg.setAttribute('viewBox', vista.join(' '));
    radice.setAttribute('data-zoom', (intero[2] / w).toFixed(2));
    leggibili();
  }
  function zoom(f, c) {
    var w = vista[2] / f, k = w / vista[2];
    c = c || [vista[0] + vista[2] / 2, vista[1] + vista[3] / 2];
    vista = [c[0] - (c[0] - vista[0]) * k, c[1] - (c[1] - vista[1]) * k, w, vista[3] * k];
    applica();
  }
  function sposta(fx, fy) { vista[0] += fx * vista[2]; vista[1] += fy * vista[3]; applica(); }
  function tutto() { vista = intero.slice(); applica(); }
  function comandi() {
    var c = document.createElement('div');
    c.className = 'pg-comandi';
    [['+', 'ingrandisci (+)', function () { zoom(1.5); }],
     ['\u2212', 'riduci (-)', function () { zoom(1 / 1.5); }],
     ['intero', 'tutto il disegno (0)', tutto]].forEach(function (b) {
      var e = document.createElement('button');
      e.type = 'button'; e.textContent = b[0]; e.title = b[1];
      e.addEventListener('click', function (ev) { ev.stopPropagation(); b[2](); });
      c.appendChild(e);
    });
    var aiuto = document.createElement('span');
    aiuto.textContent = 'rotella: zoom, trascina: sposta, tasti + - frecce 0';
    c.appendChild(aiuto);
    pannello.appendChild(c);
  }
  function zoomabile() {
    var b = svg.viewBox.baseVal;
    intero = b && b.width > 0 ? [b.x, b.y, b.width, b.height]
                              : [0, 0, svg.width.baseVal.value, svg.height.baseVal.value];
    vista = intero.slice();
    svg.querySelectorAll('text').forEach(function (t) {
      testi.push([t, parseFloat(getComputedStyle(t).fontSize) || 12]);
    });
    pannello.tabIndex = 0;
    comandi();
    svg.addEventListener('wheel', function (e) {
      e.preventDefault();
      var p = punto(e);
      zoom(e.deltaY < 0 ? 1.25 : 0.8, [p.x, p.y]);
    }, {passive: false});
    svg.addEventListener('mousedown', function (e) {
      if (e.button !== 0) return;
      trascina = {x: e.clientX, y: e.clientY, v: vista.slice(), s: 1 / svg.getScreenCTM().a, mosso: false};
    });
    window.addEventListener('mousemove', function (e) {
      if (!trascina) return;
      var dx = e.clientX - trascina.x, dy = e.clientY - trascina.y;
      if (!trascina.mosso && Math.abs(dx) + Math.abs(dy) < 4) return;
      trascina.mosso = true;
      pannello.classList.add('pg-trascina');
      vista = [trascina.v[0] - dx * trascina.s, trascina.v[1] - dy * trascina.s, vista[2], vista[3]];
      applica();
    });
    window.addEventListener('mouseup', function () {
      trascina = null;
      pannello.classList.remove('pg-trascina');
    });
    pannello.addEventListener('keydown', function (e) {
      var f = {'+': function () { zoom(1.5); }, '=': function () { zoom(1.5); },
        '-': function () { zoom(1 / 1.5); }, '0': tutto,
        ArrowLeft: function () { sposta(-0.1, 0); }, ArrowRight: function () { sposta(0.1, 0); },
        ArrowUp: function () { sposta(0, -0.1); }, ArrowDown: function () { sposta(0, 0.1); }}[e.key];
      if (f) { e.preventDefault(); f(); }
    });
    window.addEventListener('resize', leggibili);
    applica();
  }
  // The box [x0, y0, x1, y1] of the group of labels whose box holds the point, or null.
  function cornice(q) {
    var c = null;
    svg.querySelectorAll('g[data-cornice]').forEach(function (g) {
      var b = g.getAttribute('data-cornice').split(' ').map(Number);
      if (q[0] >= b[0] && q[0] <= b[2] && q[1] >= b[1] && q[1] <= b[3]) c = b;
    });
    return c;
  }
  // A label added to the drawing goes to the first of the places [x, y, anchor] where
  // it covers no other text and keeps inside the box b, when there is one; where there
  // is none it is left out.
  function etichettaLibera(g, testo, posti, b) {
    var t = nuovo('text', {'class': 'etichetta pg-arresto-testo'}, g), altri = [];
    t.textContent = testo;
    testi.push([t, parseFloat(getComputedStyle(t).fontSize) || 12]);
    leggibili();
    svg.querySelectorAll('text').forEach(function (u) {
      if (u !== t) altri.push(u.getBoundingClientRect());
    });
    for (var k = 0; k < posti.length; k++) {
      t.setAttribute('x', posti[k][0]); t.setAttribute('y', posti[k][1]);
      t.setAttribute('text-anchor', posti[k][2]);
      var r = t.getBoundingClientRect(), u = t.getBBox();
      if (b && (u.x < b[0] || u.y < b[1] || u.x + u.width > b[2] || u.y + u.height > b[3])) continue;
      if (!altri.some(function (a) {
        return r.left < a.right && a.left < r.right && r.top < a.bottom && a.top < r.bottom;
      })) return;
    }
    testi.pop();
    g.removeChild(t);
  }
  // Where the compiler stopped: a line across the profile, a mark on the map, and what
  // follows greyed as not compiled.
  function arresto() {
    if (D.arresto === null) return;
    var g = nuovo('g', {id: 'pg-arresto'}, svg), m = D.arresto;
    if (P[4] > 0) {
      var x = xProfilo(m), posti = [];
      nuovo('rect', {x: x, y: P[2], width: Math.max(0, P[1] - x), height: P[3] - P[2], 'class': 'pg-grigio'}, g);
      nuovo('line', {x1: x, x2: x, y1: P[2], y2: P[3], 'class': 'pg-arresto'}, g);
      // Down the greyed charts, beside the line: right of it, else left.
      for (var y = P[2] + 16; y < P[3]; y += 14) posti.push([x + 5, y, 'start'], [x - 5, y, 'end']);
      etichettaLibera(g, 'compilazione fermata qui (' + luogo(m, D.km_arresto) + ')', posti, null);
    }
    var punti = [], primo = null;
    for (var i = Math.max(0, Math.floor(m / M)); i < D.celle; i++) {
      var q = puntoMappa(i);
      if (q) { punti.push(q.join(',')); if (!primo) primo = q; }
    }
    if (punti.length > 1) nuovo('polyline', {points: punti.join(' '), 'class': 'pg-grigio-linea'}, g);
    if (primo) {
      nuovo('circle', {cx: primo[0], cy: primo[1], r: 9, fill: 'none', 'class': 'pg-arresto'}, g);
      var vicino = [];
      [-6, 18, -30, 42].forEach(function (dy) {
        for (var d = 14; d <= 140; d *= 1.6)
          vicino.push([primo[0] + d, primo[1] + dy, 'start'], [primo[0] - d, primo[1] + dy, 'end']);
      });
      etichettaLibera(g, 'compilazione fermata qui', vicino, cornice(primo));
    }
  }

  if (svg) {
    zoomabile();
    arresto();
    segni = nuovo('g', {id: 'pg-segni'}, svg);
    cursore = nuovo('g', {'class': 'pg-cursore'}, svg);
    svg.addEventListener('mousemove', mostra);
    svg.addEventListener('mouseleave', function () {
      punta.style.display = 'none';
      while (cursore.firstChild) cursore.removeChild(cursore.firstChild);
    });
  }
  document.addEventListener('click', function (e) {
    var r = e.target.closest && e.target.closest('[data-da]');
    if (r) scegli(r, true);
  });
  document.addEventListener('keydown', function (e) {
    if (e.key === 'Enter' && e.target.dataset && e.target.dataset.da !== undefined) scegli(e.target, true);
  });

  // Watch mode: the version script beside the page names the latest version.
  function salvaPosizione() {
    try {
      sessionStorage.setItem(chiave + ':posizione',
        JSON.stringify([window.scrollX, window.scrollY].concat(vista || [])));
    } catch (e) {}
  }
  try {
    var s = sessionStorage.getItem(chiave + ':scelta'), scelta = s && document.getElementById(s);
    if (scelta) scegli(scelta, false);
    var pos = JSON.parse(sessionStorage.getItem(chiave + ':posizione') || 'null');
    if (pos) {
      window.scrollTo(pos[0], pos[1]);
      if (vista && pos.length === 6) { vista = pos.slice(2); applica(); }
    }
  } catch (e) {}
  var script = radice.dataset.script;
  if (script) {
    window.percorsoVersione = function (v) {
      radice.setAttribute('data-versione-letta', v);
      if (String(v) !== radice.dataset.versione) { salvaPosizione(); location.reload(); }
    };
    setInterval(function () {
      var t = document.createElement('script');
      t.src = encodeURIComponent(script) + '?' + Date.now();
      t.onload = t.onerror = function () { t.remove(); };
      document.head.appendChild(t);
    }, 400);
  }
  // A source line is written once; the other places that name it take its text from there.
  document.querySelectorAll('[data-riga]').forEach(function (e) {
    var s = document.getElementById(e.getAttribute('data-riga'));
    if (s) e.insertBefore(document.createTextNode(s.textContent.split('\n')[0]), e.firstChild);
  });
  radice.setAttribute('data-pronta', '1');
})();
)js";

}  // namespace

std::string_view stile_pagina() {
  return stile;
}

std::string_view script_errori() {
  return errori;
}

std::string_view script_pagina() {
  return script;
}

}  // namespace percorso
