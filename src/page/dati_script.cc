#include "page/dati_script.h"

#include <cmath>
#include <cstdio>

#include "format/chilometri.h"
#include "format/formato.h"
#include "format/unita_celle.h"

namespace percorso {
namespace {

void numero(std::string& out, double v) {
  if (!std::isfinite(v)) {
    out += "null";
    return;
  }
  char b[32];
  std::snprintf(b, sizeof b, "%.1f", v);
  out += b;
}

void intero(std::string& out, std::int64_t v) {
  out += std::to_string(v);
}

void separa(std::string& out, bool& primo) {
  if (!primo) out += ',';
  primo = false;
}

// Cells whose field changes: index and new value, in pairs.
template <typename Campo>
void serie(std::string& out, std::string_view nome, const std::vector<cella>& celle, Campo campo) {
  out.append(",\"").append(nome).append("\":[");
  bool primo = true;
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const int v = campo(celle[i]);
    if (i > 0 && v == campo(celle[i - 1])) continue;
    separa(out, primo);
    intero(out, static_cast<std::int64_t>(i));
    out += ',';
    intero(out, v);
  }
  out += ']';
}

// Cells with an event: index, code and the four values.
void eventi(std::string& out, const std::vector<cella>& celle) {
  out += ",\"eventi\":[";
  bool primo = true;
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const cella& c = celle[i];
    if (c.evento == evento::nessuno) continue;
    separa(out, primo);
    intero(out, static_cast<std::int64_t>(i));
    for (const std::int64_t v :
         {int{c.evento}, int{c.dato_1}, int{c.dato_2}, int{c.dato_3}, int{c.dato_4}}) {
      out += ',';
      intero(out, v);
    }
  }
  out += ']';
}

void geometria(std::string& out, const disegno_linea& d) {
  out += ",\"profilo\":[";
  const auto& p = d.profilo;
  bool primo = true;
  for (const double v : {p.x0, p.x1, p.y0, p.y1, p.metri}) {
    separa(out, primo);
    numero(out, v);
  }
  out += "],\"mappa\":[";
  primo = true;
  for (const auto& q : d.mappa) {
    separa(out, primo);
    numero(out, q ? (*q)[0] : NAN);
    out += ',';
    numero(out, q ? (*q)[1] : NAN);
  }
  out += ']';
}

void progressiva(std::string& out, const chilometrica& km, std::int64_t metri) {
  out.append(1, '"').append(testo_progressiva(km.al_metro(metri))).append(1, '"');
}

// The railway's kilometre at the start of each cell and at the stop, as the page
// shows them; none without a kilometric reference.
void chilometri(std::string& out, const modello& m, std::optional<std::int32_t> arresto) {
  const chilometrica km(m.punti);
  out += ",\"km\":[";
  bool primo = true;
  for (std::size_t i = 0; km.con_riferimenti() && i < m.celle.size(); ++i) {
    separa(out, primo);
    progressiva(out, km, static_cast<std::int64_t>(i) * metri_per_cella);
  }
  out += "],\"km_arresto\":";
  if (arresto && km.con_riferimenti())
    progressiva(out, km, *arresto);
  else
    out += "null";
}

}  // namespace

std::string dati_script(const modello& m, const disegno_linea& d,
                        std::optional<std::int32_t> arresto) {
  std::string out = "{\"metri_cella\":" + std::to_string(metri_per_cella) + ",\"celle\":";
  intero(out, static_cast<std::int64_t>(m.celle.size()));
  eventi(out, m.celle);
  serie(out, "velocita", m.celle, [](const cella& c) { return velocita_km_h(c.velocita); });
  serie(out, "pendenza", m.celle, [](const cella& c) { return pendenza_per_mille(c.pendenza); });
  serie(out, "aderenza", m.celle, [](const cella& c) { return int{c.aderenza}; });
  serie(out, "montagna", m.celle, [](const cella& c) { return int{c.montagna}; });
  serie(out, "ripetizione", m.celle, [](const cella& c) { return int{c.ripetizione}; });
  geometria(out, d);
  chilometri(out, m, arresto);
  out += ",\"arresto\":";
  if (arresto)
    intero(out, *arresto);
  else
    out += "null";
  out += '}';
  return out;
}

}  // namespace percorso
