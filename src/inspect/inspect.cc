#include "inspect/inspect.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <map>

#include "diagnostics/json.h"
#include "format/codici.h"
#include "format/decodifica.h"
#include "format/formato.h"
#include "format/nomi_file.h"
#include "format/voci.h"

namespace percorso {
namespace {

[[gnu::format(printf, 1, 2)]] std::string f(const char* formato, ...) {
  char buffer[256];
  va_list a;
  va_start(a, formato);
  const int n = std::vsnprintf(buffer, sizeof buffer, formato, a);
  va_end(a);
  if (n < 0) return {};
  return std::string(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1));
}

std::string km(std::int64_t metri) {
  return f("%.3f", static_cast<double>(metri) / 1000.0);
}

std::string orario(std::int64_t secondi) {
  const char* segno = secondi < 0 ? "-" : "";
  const std::int64_t s = secondi < 0 ? -secondi : secondi;
  return f("%s%02lld:%02lld:%02lld", segno, static_cast<long long>(s / 3600),
           static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
}

// A text from a file, safe for a terminal: control and non-ASCII bytes escaped.
std::string leggibile(std::string_view t) {
  std::string s;
  for (const char c : t) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F)
      s += f("\\x%02x", u);
    else
      s += c;
  }
  return s;
}

decodificato<std::vector<cella>> leggi_celle(file_system& fs, const std::string& file) {
  return leggi_e_decodifica(fs, file, &decodifica_celle);
}
decodificato<std::array<punto, numero_punti>> leggi_punti(file_system& fs,
                                                          const std::string& file) {
  return leggi_e_decodifica(fs, file, &decodifica_punti);
}

// " (corretto)" when a header value is what the format wants, else what it wants.
std::string rispetto_a(std::int64_t valore, std::int64_t giusto) {
  return valore == giusto ? " (corretto)" : " (atteso " + std::to_string(giusto) + ")";
}

// ---------------------------------------------------------------- cells

struct descrizione {
  std::string testo;
  json_oggetto valori;
};

// Tens and units of a packed pair, when the value is one.
bool coppia(std::int16_t v, int& decine, int& unita) {
  if (v < 0 || v > 99) return false;
  decine = v / 10;
  unita = v % 10;
  return true;
}

descrizione descrivi_segnale(const cella& c) {
  descrizione d;
  int s[3], dd[3], rapp = 0, tipi = 0;
  const bool ok = coppia(c.dato_1, s[0], dd[0]) && coppia(c.dato_2, s[1], dd[1]) &&
                  coppia(c.dato_3, s[2], dd[2]) && coppia(c.dato_4, rapp, tipi) && tipi <= 8;
  if (!ok) {
    d.testo = f("valori fuori dalle cifre: %d %d %d %d", c.dato_1, c.dato_2, c.dato_3, c.dato_4);
    d.valori.vero("scomponibile", false);
    return d;
  }
  const int sx = tipi / 3, dx = tipi % 3;
  d.testo = f("lato s: tipo %d, codici %d %d %d; lato d: tipo %d, codici %d %d %d; rapp %d", sx,
              s[0], s[1], s[2], dx, dd[0], dd[1], dd[2], rapp);
  if (sx == 2) d.testo += f("; tempo %d", c.tempo_segnale);
  d.valori.vero("scomponibile", true)
      .grezzo("s", json_oggetto()
                       .numero("tipo", sx)
                       .grezzo("codici", json_numeri({s[0], s[1], s[2]}))
                       .fine())
      .grezzo("d", json_oggetto()
                       .numero("tipo", dx)
                       .grezzo("codici", json_numeri({dd[0], dd[1], dd[2]}))
                       .fine())
      .numero("rapp", rapp)
      .numero("tempo", c.tempo_segnale);
  return d;
}

descrizione descrivi_rallentamento(const cella& c, bool con_f_tt) {
  descrizione d;
  d.testo = f("%d km/h, d_v %d", c.dato_1, c.dato_2);
  d.valori.numero("velocita_kmh", c.dato_1).numero("d_v", c.dato_2);
  if (con_f_tt) {
    d.testo += f(", f_tt %d", c.dato_3);
    d.valori.numero("f_tt", c.dato_3);
  }
  return d;
}

descrizione descrivi_indicatori(const cella& c) {
  descrizione d;
  static constexpr char classi[] = {'a', 'b', 'c'};
  const std::int16_t v[] = {c.dato_1, c.dato_2, c.dato_3};
  std::string json_classi;
  for (int k = 0; k < 3; ++k) {
    // s-side speed / 5 in the hundreds, d-side speed / 5 below.
    const int s = v[k] / 100 * 5, dx = v[k] % 100 * 5;
    d.testo += f("%s%c %d/%d", k > 0 ? ", " : "", classi[k], s, dx);
    json_oggetto o;
    o.numero("s_kmh", s).numero("d_kmh", dx);
    if (k > 0) json_classi += ',';
    json_classi.append(json_testo(std::string_view(&classi[k], 1))).append(":").append(o.fine());
  }
  d.testo += f(" km/h (s/d); strisce s %d, d %d", c.dato_4 / 10, c.dato_4 % 10);
  d.valori.grezzo("classi", "{" + json_classi + "}")
      .numero("strisce_s", c.dato_4 / 10)
      .numero("strisce_d", c.dato_4 % 10);
  return d;
}

const punto* voce(const std::array<punto, numero_punti>* punti, std::int64_t k) {
  if (punti == nullptr || k < 0 || k >= numero_punti) return nullptr;
  return &(*punti)[static_cast<std::size_t>(k)];
}

descrizione descrivi_voce(const cella& c, const std::array<punto, numero_punti>* punti,
                          const char* cosa) {
  descrizione d;
  d.testo = f("%s %d", cosa, c.dato_1);
  d.valori.numero("voce", c.dato_1);
  if (const punto* p = voce(punti, c.dato_1)) {
    d.testo += " " + leggibile(p->nome);
    d.valori.testo("nome", p->nome);
  }
  return d;
}

descrizione descrivi_evento(const cella& c, const std::array<punto, numero_punti>* punti) {
  descrizione d;
  switch (c.evento) {
    case evento::nessuno:
      break;
    case evento::segnale:
      return descrivi_segnale(c);
    case evento::fine_rallentamento:
    case evento::inizio_rallentamento:
      return descrivi_rallentamento(c, true);
    case evento::avviso_rallentamento:
      return descrivi_rallentamento(c, false);
    case evento::preavviso:
      d.testo = f("%d di 4 (1 accanto al cartello di avviso), d_v %d", c.dato_1, c.dato_2);
      d.valori.numero("numero", c.dato_1).numero("d_v", c.dato_2);
      break;
    case evento::indicatori:
      return descrivi_indicatori(c);
    case evento::fermata:
      return descrivi_voce(c, punti, "stazione");
    case evento::montagna:
      d.testo = f("montagna tipo %d", c.montagna);
      break;
    case evento::punto_velocita:
      d.testo = f("%d km/h", c.dato_1);
      d.valori.numero("velocita_kmh", c.dato_1);
      break;
    case evento::punto_senza_velocita:
      d.testo = "senza velocita'";
      break;
    case evento::cartello:
      return descrivi_voce(c, punti, "testo della voce");
    default:
      d.testo =
          f("codice %d, valori %d %d %d %d", c.evento, c.dato_1, c.dato_2, c.dato_3, c.dato_4);
      break;
  }
  return d;
}

struct nome_codice {
  std::uint8_t codice;
  std::string_view nome;
  std::string_view chiave;  // JSON key of the count
};
constexpr nome_codice nomi_eventi[] = {
    {evento::segnale, "segnale", "segnali"},
    {evento::fine_rallentamento, "fine rallentamento", "fini_rallentamento"},
    {evento::inizio_rallentamento, "inizio rallentamento", "inizi_rallentamento"},
    {evento::avviso_rallentamento, "avviso rallentamento", "avvisi_rallentamento"},
    {evento::preavviso, "preavviso", "preavvisi"},
    {evento::indicatori, "indicatori velocita'", "indicatori"},
    {evento::fermata, "fermata", "fermate"},
    {evento::montagna, "segno di montagna", "segni_montagna"},
    {evento::punto_velocita, "punto di velocita'", "punti_velocita"},
    {evento::punto_senza_velocita, "punto senza velocita'", "punti_senza_velocita"},
    {evento::cartello, "cartello", "cartelli"},
};

std::string chiave_evento(std::uint8_t codice) {
  for (const auto& n : nomi_eventi)
    if (n.codice == codice) return std::string(n.chiave);
  return "evento_" + std::to_string(codice);
}

struct tratto {
  std::size_t prima = 0, ultima = 0;
  const cella* c = nullptr;
};

bool stesso_profilo(const cella& a, const cella& b) {
  return a.pendenza == b.pendenza && a.velocita == b.velocita && a.aderenza == b.aderenza &&
         a.montagna == b.montagna;
}

std::vector<tratto> tratti(const std::vector<cella>& celle) {
  std::vector<tratto> t;
  for (std::size_t i = 0; i < celle.size(); ++i) {
    if (t.empty() || !stesso_profilo(*t.back().c, celle[i]))
      t.push_back({i, i, &celle[i]});
    else
      t.back().ultima = i;
  }
  return t;
}

void mostra_celle(const std::string& file, const std::vector<cella>& celle, file_system& fs,
                  bool json, std::ostream& out, std::ostream& err) {
  const std::string file_punti = punti_accanto(file);
  std::optional<std::array<punto, numero_punti>> punti;
  if (fs.esiste(file_punti)) {
    auto p = leggi_punti(fs, file_punti);
    if (p.ok())
      punti = std::move(p.valore);
    else
      err << "percorso: avviso: " << p.errore->messaggio << ": nomi non disponibili\n";
  }
  const std::array<punto, numero_punti>* nomi = punti ? &*punti : nullptr;

  // Cell 1 carries the header value and the plain check code.
  const std::int16_t valore_intestazione = celle.size() > 1 ? celle[1].dato_1 : 0;
  const std::int16_t codice = celle.size() > 1 ? celle[1].dato_2 : 0;
  std::optional<std::int32_t> atteso;
  if (nomi) atteso = codice_gara_og((*nomi)[slot_percorso + 1].nome, (*nomi)[slot_percorso].nome);

  std::map<std::uint8_t, int> conteggi;
  std::vector<std::string> righe_json;
  std::string righe_testo;
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const cella& c = celle[i];
    if (c.evento == evento::nessuno && c.ripetizione == 0) continue;
    if (c.evento != evento::nessuno) ++conteggi[c.evento];
    descrizione d = descrivi_evento(c, nomi);
    const std::int64_t metri = static_cast<std::int64_t>(i) * metri_per_cella;
    if (json) {
      json_oggetto o;
      o.numero("cella", static_cast<std::int64_t>(i))
          .numero("metri", metri)
          .numero("evento", c.evento);
      if (c.evento != evento::nessuno) o.testo("nome", nome_evento(c.evento));
      o.grezzo("dati", json_numeri({c.dato_1, c.dato_2, c.dato_3, c.dato_4}))
          .numero("tempo_segnale", c.tempo_segnale)
          .numero("ripetizione", c.ripetizione)
          .grezzo("valori", d.valori.fine());
      righe_json.push_back(o.fine());
    } else {
      std::string valori = d.testo;
      if (c.ripetizione != 0)
        valori += (valori.empty() ? "" : "; ") + f("ripetizione %d", c.ripetizione);
      righe_testo +=
          f("  %5zu %8s  %-22s ", i, km(metri).c_str(),
            c.evento == evento::nessuno ? "" : std::string(nome_evento(c.evento)).c_str());
      righe_testo += valori + "\n";
    }
  }
  const auto profilo = tratti(celle);

  if (json) {
    json_oggetto riepilogo;
    for (const auto& [codice_evento, n] : conteggi)
      riepilogo.numero(chiave_evento(codice_evento), n);
    json_oggetto intestazione;
    intestazione.numero("valore", valore_intestazione)
        .numero("atteso", valore_cella_1)
        .numero("codice_semplice", codice);
    if (atteso)
      intestazione.numero("codice_calcolato", *atteso).vero("corrisponde", *atteso == codice);
    else
      intestazione.nullo("codice_calcolato").nullo("corrisponde");
    std::vector<std::string> tratti_json;
    for (const tratto& t : profilo) {
      json_oggetto o;
      o.numero("prima", static_cast<std::int64_t>(t.prima))
          .numero("ultima", static_cast<std::int64_t>(t.ultima))
          .numero("da_metri", static_cast<std::int64_t>(t.prima) * metri_per_cella)
          .numero("a_metri", static_cast<std::int64_t>(t.ultima + 1) * metri_per_cella)
          .numero("pendenza", t.c->pendenza - 100)
          .numero("velocita_kmh", t.c->velocita * 5)
          .numero("aderenza", t.c->aderenza)
          .numero("montagna", t.c->montagna);
      tratti_json.push_back(o.fine());
    }
    json_oggetto o;
    o.testo("file", file)
        .testo("tipo", "celle")
        .numero("celle", static_cast<std::int64_t>(celle.size()))
        .grezzo("punti", nomi ? json_testo(file_punti) : "null")
        .grezzo("intestazione", intestazione.fine())
        .grezzo("riepilogo", riepilogo.fine())
        .grezzo("eventi", json_elenco(righe_json))
        .grezzo("profilo", json_elenco(tratti_json));
    out << o.fine();
    return;
  }

  out << file << ": file delle celle, " << celle.size() << " celle (0-" << celle.size() - 1
      << "); km = cella x 50 m\n";
  out << "  nomi di stazioni e cartelli: "
      << (nomi ? file_punti : "non disponibili (manca " + file_punti + ")") << '\n';
  out << "  cella 1: valore " << valore_intestazione
      << rispetto_a(valore_intestazione, valore_cella_1) << ", codice di controllo semplice "
      << codice;
  if (atteso)
    out << (*atteso == codice
                ? ": corrisponde ai nomi"
                : ": NON corrisponde ai nomi (atteso " + std::to_string(*atteso) + ")");
  out << "\n\neventi e codici di ripetizione:\n"
      << f("  %5s %8s  %-22s %s\n", "cella", "km", "evento", "valori") << righe_testo;
  out << "\nriepilogo:\n";
  for (const auto& [codice_evento, n] : conteggi)
    out << f("  %-24s %d\n",
             chiave_evento(codice_evento).starts_with("evento_")
                 ? ("codice " + std::to_string(codice_evento)).c_str()
                 : std::string(nome_evento(codice_evento)).c_str(),
             n);
  out << "\nprofilo della linea (" << profilo.size() << " tratti):\n"
      << f("  %-11s %-17s %18s %10s %9s %9s\n", "celle", "km", "pendenza per mille", "velocita'",
           "aderenza", "montagna");
  for (const tratto& t : profilo) {
    const std::string celle_t = f("%zu-%zu", t.prima, t.ultima);
    const std::string km_t = km(static_cast<std::int64_t>(t.prima) * metri_per_cella) + "-" +
                             km(static_cast<std::int64_t>(t.ultima + 1) * metri_per_cella);
    // The last cells of the array are never reached by the runs.
    if (stesso_profilo(*t.c, cella{})) {
      out << f("  %-11s %-17s %18s\n", celle_t.c_str(), km_t.c_str(), "(non impostate)");
      continue;
    }
    out << f("  %-11s %-17s %+18d %5d km/h %9d %9s\n", celle_t.c_str(), km_t.c_str(),
             t.c->pendenza - 100, t.c->velocita * 5, t.c->aderenza,
             t.c->montagna == 0 ? "-" : std::to_string(t.c->montagna).c_str());
  }
}

// ---------------------------------------------------------------- points

std::string json_stazione(int k, const punto& p) {
  json_oggetto o;
  o.numero("voce", k)
      .testo("nome", p.nome)
      .numero("tipo", p.codice)
      .numero("inizio", p.valore_1)
      .numero("fine", p.valore_2)
      .numero("posizione", p.valore_3)
      .numero("orario_secondi", p.orario)
      .testo("orario", orario(p.orario))
      .numero("opzione", p.opzione)
      .grezzo("parametri", json_numeri({p.parametro_1, p.parametro_2, p.parametro_3, p.parametro_4,
                                        p.parametro_5}))
      .grezzo("indicatori",
              json_numeri({p.indicatore_1, p.indicatore_2, p.indicatore_3, p.indicatore_4}));
  return o.fine();
}

std::string json_voce(int k, const punto& p) {
  json_oggetto o;
  o.numero("voce", k)
      .numero("codice", p.codice)
      .grezzo("valori", json_numeri({p.valore_1, p.valore_2, p.valore_3}))
      .numero("opzione", p.opzione)
      .testo("nome", p.nome)
      .grezzo("parametri", json_numeri({p.parametro_1, p.parametro_2, p.parametro_3, p.parametro_4,
                                        p.parametro_5}))
      .grezzo("indicatori",
              json_numeri({p.indicatore_1, p.indicatore_2, p.indicatore_3, p.indicatore_4}))
      .numero("orario", p.orario);
  return o.fine();
}

struct verifica {
  std::int64_t nel_file = 0;
  std::optional<std::int64_t> calcolato;  // absent when the other file is missing
  std::string dove;

  std::string testo() const {
    if (!calcolato) return "non verificabile: " + dove;
    const std::string s = std::to_string(nel_file) + " (" + dove + ")";
    if (*calcolato == nel_file) return s + ": corrisponde ai nomi";
    return s + ": NON corrisponde ai nomi (atteso " + std::to_string(*calcolato) + ")";
  }
  std::string json() const {
    json_oggetto o;
    o.numero("nel_file", nel_file).testo("dove", dove);
    if (calcolato)
      o.numero("calcolato", *calcolato).vero("corrisponde", *calcolato == nel_file);
    else
      o.nullo("calcolato").nullo("corrisponde");
    return o.fine();
  }
};

void mostra_punti(const std::string& file, const std::array<punto, numero_punti>& punti,
                  std::size_t byte, file_system& fs, bool json, std::ostream& out,
                  std::ostream& err) {
  const punto& p81 = punti[slot_progressiva_tre];
  const punto& p82 = punti[slot_progressiva_due];
  const punto& p83 = punti[slot_progressiva_uno];
  const punto& p84 = punti[slot_treno];
  const punto& p85 = punti[slot_percorso];
  const punto& p86 = punti[slot_ripetizione];
  const voci_divise v = dividi_voci(punti);

  verifica pesato{p85.orario, codice_gara_st(p86.nome, p85.nome), "voce 85, orario"};
  const std::string file_celle = celle_accanto(file);
  verifica semplice{0, std::nullopt, "cella 1 di " + file_celle};
  if (fs.esiste(file_celle)) {
    const auto celle = leggi_celle(fs, file_celle);
    if (!celle.ok()) {
      err << "percorso: avviso: " << celle.errore->messaggio << '\n';
      semplice.dove = file_celle + " non valido";
    } else if (celle.valore.size() > 1) {
      semplice.nel_file = celle.valore[1].dato_2;
      semplice.calcolato = codice_gara_og(p86.nome, p85.nome);
    } else {
      semplice.dove = file_celle + " senza cella 1";
    }
  } else {
    semplice.dove = "manca " + file_celle;
  }

  if (json) {
    std::vector<std::string> stazioni, cartelli, altre;
    for (const int k : v.stazioni)
      stazioni.push_back(json_stazione(k, punti[static_cast<std::size_t>(k)]));
    for (const int k : v.cartelli)
      cartelli.push_back(json_oggetto()
                             .numero("voce", k)
                             .testo("testo", punti[static_cast<std::size_t>(k)].nome)
                             .fine());
    for (const int k : v.altre) altre.push_back(json_voce(k, punti[static_cast<std::size_t>(k)]));
    auto progressiva = [](const punto& p) {
      return json_numeri({p.valore_1, p.valore_2, p.valore_3});
    };
    json_oggetto intestazione;
    intestazione.grezzo("progressiva_tre", progressiva(p81))
        .grezzo("progressiva_due", progressiva(p82))
        .grezzo("progressiva_uno", progressiva(p83))
        .numero("massa_frenata", p84.valore_1)
        .numero("lunghezza_linea", p84.valore_2)
        .numero("vetture", p84.valore_3)
        .testo("percorso", p85.nome)
        .numero("sfondo_uno", p85.valore_1)
        .numero("sfondo_due", p85.valore_3)
        .numero("sfondo_tre", p85.valore_2)
        .numero("valore_610", p85.parametro_1)
        .testo("treno", p86.nome)
        .grezzo("ripetizione_segnali", progressiva(p86))
        .numero("sabbia", p86.parametro_1)
        .testo("orologio", orario(std::int64_t{p86.parametro_3} * 3600 + p86.parametro_4 * 60 +
                                  p86.parametro_5))
        .grezzo("voci", json_elenco(std::vector<std::string>{
                            json_voce(81, p81), json_voce(82, p82), json_voce(83, p83),
                            json_voce(84, p84), json_voce(85, p85), json_voce(86, p86)}));
    json_oggetto o;
    o.testo("file", file)
        .testo("tipo", "punti")
        .numero("byte", static_cast<std::int64_t>(byte))
        .grezzo("stazioni", json_elenco(stazioni))
        .grezzo("cartelli", json_elenco(cartelli))
        .grezzo("altre_voci", json_elenco(altre))
        .grezzo("intestazione", intestazione.fine())
        .grezzo("codici_di_controllo", json_oggetto()
                                           .grezzo("pesato", pesato.json())
                                           .grezzo("semplice", semplice.json())
                                           .fine());
    out << o.fine();
    return;
  }

  out << file << ": file dei punti, 87 voci, " << byte << " byte\n\n";
  out << "stazioni (" << v.stazioni.size() << "):\n"
      << f("  %4s %4s %8s %8s %9s  %-9s  %s\n", "voce", "tipo", "inizio", "fine", "posizione",
           "orario", "nome");
  for (const int k : v.stazioni) {
    const punto& p = punti[static_cast<std::size_t>(k)];
    out << f("  %4d %4d %8d %8d %9d  %-9s  ", k, p.codice, p.valore_1, p.valore_2, p.valore_3,
             orario(p.orario).c_str())
        << leggibile(p.nome) << '\n';
  }
  out << "\ncartelli (" << v.cartelli.size() << "):\n";
  for (const int k : v.cartelli)
    out << f("  %4d  ", k) << leggibile(punti[static_cast<std::size_t>(k)].nome) << '\n';
  if (!v.altre.empty()) {
    out << "\naltre voci non vuote:\n";
    for (const int k : v.altre) {
      const punto& p = punti[static_cast<std::size_t>(k)];
      out << f("  %4d  codice %d, valori %d %d %d, orario %d, nome ", k, p.codice, p.valore_1,
               p.valore_2, p.valore_3, p.orario)
          << '"' << leggibile(p.nome) << "\"\n";
    }
  }
  out << "\nintestazione:\n"
      << f("  81 progressiva tre: %d, %d, %d\n", p81.valore_1, p81.valore_2, p81.valore_3)
      << f("  82 progressiva due: %d, %d, %d\n", p82.valore_1, p82.valore_2, p82.valore_3)
      << f("  83 progressiva uno: %d, %d, %d\n", p83.valore_1, p83.valore_2, p83.valore_3)
      << f("  84 massa frenata %d%%, lunghezza della linea %d m, vetture %d\n", p84.valore_1,
           p84.valore_2, p84.valore_3)
      << "  85 percorso \"" << leggibile(p85.nome) << '"'
      << f(", sfondi uno %d, due %d, tre %d, valore %d%s\n", p85.valore_1, p85.valore_3,
           p85.valore_2, p85.parametro_1, rispetto_a(p85.parametro_1, valore_slot_percorso).c_str())
      << "  86 treno \"" << leggibile(p86.nome) << '"'
      << f(", ripetizione segnali %d, %d, codici %d; sabbia %d; orologio %s\n", p86.valore_1,
           p86.valore_2, p86.valore_3, p86.parametro_1,
           orario(std::int64_t{p86.parametro_3} * 3600 + p86.parametro_4 * 60 + p86.parametro_5)
               .c_str());
  out << "\ncodici di controllo:\n"
      << "  pesato   " << pesato.testo() << '\n'
      << "  semplice " << semplice.testo() << '\n';
}

// ---------------------------------------------------------------- plan

struct riassunto_piano {
  std::size_t interi = 0, reali = 0, vuoti = 0, incompleti = 0;
  std::optional<std::size_t> primo, ultimo;  // metres with a point
  double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
  double lunghezza = 0;             // sum of the steps between neighbouring metres
  std::optional<double> direzione;  // degrees, 0 along +y, positive towards +x
  std::array<double, 2> fine{};
};

riassunto_piano riassumi(const piano_letto& p) {
  riassunto_piano r;
  std::optional<std::array<double, 2>> prima;
  for (std::size_t m = 0; m < p.metri(); ++m) {
    for (const auto* e : {&p.x[m], &p.y[m]}) {
      if (e->tipo == tipo_elemento::intero) ++r.interi;
      if (e->tipo == tipo_elemento::reale) ++r.reali;
      if (e->tipo == tipo_elemento::vuoto) ++r.vuoti;
    }
    const auto q = p.punto_a(m);
    if (!q) {
      if (p.x[m].tipo != tipo_elemento::vuoto || p.y[m].tipo != tipo_elemento::vuoto)
        ++r.incompleti;
      prima.reset();
      continue;
    }
    const auto [x, y] = *q;
    if (!r.primo) {
      r.primo = m;
      r.min_x = r.max_x = x;
      r.min_y = r.max_y = y;
    }
    r.ultimo = m;
    r.min_x = std::min(r.min_x, x);
    r.max_x = std::max(r.max_x, x);
    r.min_y = std::min(r.min_y, y);
    r.max_y = std::max(r.max_y, y);
    r.fine = *q;
    if (prima) {
      const double dx = x - (*prima)[0], dy = y - (*prima)[1];
      r.lunghezza += std::hypot(dx, dy);
      if (dx != 0 || dy != 0) r.direzione = std::atan2(dx, dy) * 180.0 / 3.14159265358979323846;
    }
    prima = q;
  }
  return r;
}

void mostra_piano(const std::string& file, const piano_letto& p, std::size_t byte, bool json,
                  std::ostream& out) {
  const riassunto_piano r = riassumi(p);
  if (json) {
    json_oggetto o;
    o.testo("file", file)
        .testo("tipo", "piano")
        .numero("byte", static_cast<std::int64_t>(byte))
        .numero("metri", static_cast<std::int64_t>(p.metri()))
        .grezzo("elementi", json_oggetto()
                                .numero("interi", static_cast<std::int64_t>(r.interi))
                                .numero("reali", static_cast<std::int64_t>(r.reali))
                                .numero("vuoti", static_cast<std::int64_t>(r.vuoti))
                                .fine())
        .numero("metri_incompleti", static_cast<std::int64_t>(r.incompleti));
    if (r.primo) {
      o.numero("primo_metro", static_cast<std::int64_t>(*r.primo))
          .numero("ultimo_metro", static_cast<std::int64_t>(*r.ultimo))
          .reale("lunghezza", r.lunghezza)
          .grezzo("riquadro", json_oggetto()
                                  .reale("min_x", r.min_x)
                                  .reale("max_x", r.max_x)
                                  .reale("min_y", r.min_y)
                                  .reale("max_y", r.max_y)
                                  .fine())
          .grezzo(
              "fine",
              json_lista().aggiungi(json_reale(r.fine[0])).aggiungi(json_reale(r.fine[1])).fine());
    }
    o.grezzo("direzione_finale_gradi", r.direzione ? json_reale(*r.direzione) : "null");
    out << o.fine();
    return;
  }
  out << file << ": file del tracciato, " << p.metri() << " metri per coordinata (" << 2 * p.metri()
      << " elementi, " << byte << " byte)\n"
      << "  elementi: " << r.interi << " interi, " << r.reali << " reali, " << r.vuoti
      << " vuoti\n";
  if (r.incompleti > 0)
    out << "  metri con una sola coordinata o un valore non finito: " << r.incompleti << '\n';
  if (!r.primo) {
    out << "  nessun metro con coordinate\n";
    return;
  }
  out << "  metri con coordinate: " << *r.primo << '-' << *r.ultimo << '\n'
      << f("  lunghezza del tracciato (somma dei passi): %.1f m\n", r.lunghezza)
      << f("  riquadro: x da %.1f a %.1f m, y da %.1f a %.1f m (%.1f x %.1f m)\n", r.min_x, r.max_x,
           r.min_y, r.max_y, r.max_x - r.min_x, r.max_y - r.min_y)
      << f("  punto finale (metro %zu): x %.1f m, y %.1f m\n", *r.ultimo, r.fine[0], r.fine[1]);
  if (r.direzione)
    out << f(
        "  direzione finale: %.2f gradi (0 = direzione iniziale, +y; positivi verso destra, "
        "+x)\n",
        *r.direzione);
}

// ---------------------------------------------------------------- files

// Shows one file; false when it cannot be read or decoded.
bool mostra_file(const std::string& file, file_system& fs, bool json, std::ostream& out,
                 std::ostream& err) {
  auto fallito = [&](const std::string& messaggio) {
    err << "percorso: " << messaggio << '\n';
    if (json) out << json_oggetto().testo("file", file).testo("errore", messaggio).fine();
    return false;
  };
  lettura l = fs.leggi(file);
  if (l.errore) return fallito("impossibile leggere " + l.errore->file + ": " + l.errore->motivo);
  std::optional<tipo_file> tipo = tipo_dal_nome(file);
  if (!tipo) {
    tipo = tipo_dal_contenuto(l.dati);
  } else if (!si_decodifica(*tipo, l.dati)) {
    // A renamed file: trust the content when it is whole as another kind.
    if (const auto altro = tipo_dal_contenuto(l.dati)) {
      err << "percorso: avviso: " << file << ": dal nome sembra un file " << nome_tipo(*tipo)
          << ", ma il contenuto e' un file " << nome_tipo(*altro) << '\n';
      tipo = altro;
    }
  }
  if (!tipo)
    return fallito(file + ": tipo di file non riconosciuto (" + std::to_string(l.dati.size()) +
                   " byte): non e' un file di celle, di punti o del tracciato");
  auto errore = [&](const errore_decodifica& e) { return fallito(e.messaggio); };
  switch (*tipo) {
    case tipo_file::celle: {
      const auto r = nel_file(file, decodifica_celle(l.dati));
      if (!r.ok()) return errore(*r.errore);
      mostra_celle(file, r.valore, fs, json, out, err);
      return true;
    }
    case tipo_file::punti: {
      const auto r = nel_file(file, decodifica_punti(l.dati));
      if (!r.ok()) return errore(*r.errore);
      mostra_punti(file, r.valore, l.dati.size(), fs, json, out, err);
      return true;
    }
    case tipo_file::piano: {
      const auto r = nel_file(file, decodifica_piano(l.dati));
      if (!r.ok()) return errore(*r.errore);
      mostra_piano(file, r.valore, l.dati.size(), json, out);
      return true;
    }
  }
  return false;
}

}  // namespace

bool ispeziona(std::span<const std::string> file, file_system& fs, bool json, std::ostream& out,
               std::ostream& err) {
  bool tutti = true;
  if (json && file.size() > 1) out << "[";
  for (std::size_t i = 0; i < file.size(); ++i) {
    if (i > 0) out << (json ? ",\n" : "\n");
    tutti = mostra_file(file[i], fs, json, out, err) && tutti;
  }
  if (json) out << (file.size() > 1 ? "]\n" : "\n");
  return tutti;
}

std::string_view nome_evento(std::uint8_t codice) {
  for (const auto& n : nomi_eventi)
    if (n.codice == codice) return n.nome;
  return codice == evento::nessuno ? "nessuno" : "sconosciuto";
}

}  // namespace percorso
