// What each fuzz target does with one input, shared with the test that replays
// the corpus. Each returns the first broken property, or nothing.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/costruzione.h"
#include "app/esecuzione.h"
#include "app/rapporto.h"
#include "compiler/lettore_campi.h"
#include "diagnostics/messaggi.h"
#include "format/decodifica.h"
#include "format/file_binari.h"
#include "format/formato.h"
#include "model/numeri.h"

namespace percorso::fuzz {

using violazione = std::optional<std::string>;

// Input: one byte for the plan flag j (as a signed byte), then the line
// description, a 0x00 byte and the train description; without a 0x00 byte the
// train description is absent.
inline violazione prova_compilatore(std::span<const std::uint8_t> dati) {
  if (dati.empty()) return std::nullopt;
  const auto j = static_cast<std::int32_t>(static_cast<std::int8_t>(dati[0]));
  const auto resto = dati.subspan(1);
  sorgenti testi;
  std::size_t separatore = 0;
  while (separatore < resto.size() && resto[separatore] != 0) ++separatore;
  testi.linea = resto.first(separatore);
  if (separatore < resto.size()) testi.treno = resto.subspan(separatore + 1);

  modello m;
  m.nome_percorso = nome_percorso_incorporato;
  m.numero_treno = numero_treno_incorporato;
  const stato_costruzione stato = memorizza_percorso(m, testi, j);

  if (m.celle_presenti()) {
    if (immagine_celle(m).size() != m.celle.size() * byte_per_cella) return "cell file size";
    std::size_t attesi = 0;
    for (const punto& p : m.punti) attesi += 34 + p.nome.size();
    if (immagine_punti(m).size() != attesi) return "point file size";
  }
  if (m.tracciato) {
    const piano& p = *m.tracciato;
    if (p.x.size() != p.y.size()) return "plan components differ in length";
    if (p.assegnati < 0 || static_cast<std::size_t>(p.assegnati) > p.x.size())
      return "plan count outside the plan";
    // Each element is its tag and 0, 2 or 8 bytes. Long plans are left out: their
    // image is the same loop, and building it would slow the fuzzer tenfold.
    if (p.x.size() <= 20000) {
      const std::size_t byte = immagine_piano(p).size();
      if (byte < 4 * p.x.size() || byte > 20 * p.x.size()) return "plan file size";
    }
  }
  if (stato == stato_costruzione::pronta && m.celle[1].dato_1 != 5121) return "header value";

  // The messages, with their source lines, and the report read what the compiler recorded.
  esito_esecuzione e;
  e.esito = stato == stato_costruzione::pronta ? esito_esecuzione::tipo::ok
                                               : esito_esecuzione::tipo::interrotto;
  e.m = std::move(m);
  const nomi_sorgenti nomi{"linea.txt", "treno.txt"};
  const std::vector<messaggio> messaggi = messaggi_di(e, nomi, &testi, filtro_avvisi{});
  std::ostringstream stampa;
  stampa_messaggi(stampa, messaggi);
  const std::string json = rapporto_json(e, messaggi);
  if (json.empty() || json.front() != '{') return "report";
  return std::nullopt;
}

namespace dettaglio {

inline bool cifre(std::string_view s) {
  if (s.empty()) return false;
  for (const char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Optional sign, digits, optionally "." and digits, nothing else.
inline bool numero_valido(std::string_view s) {
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) s.remove_prefix(1);
  const auto punto = s.find('.');
  if (punto == std::string_view::npos) return cifre(s);
  return cifre(s.substr(0, punto)) && cifre(s.substr(punto + 1));
}

// A number field's value is what strtod gives for a well-formed number, else 0.
inline violazione come_strtod(std::string_view campo) {
  const double v = valore_numero(campo);
  if (!numero_valido(campo)) {
    if (v != 0) return "malformed number not 0: " + std::string(campo);
    return std::nullopt;
  }
  const std::string copia(campo);
  const double atteso = std::strtod(copia.c_str(), nullptr);
  // Below the smallest double strtod may give 0 or a subnormal; both round to 0.
  const bool uguale = (atteso > -1 && atteso < 1) ? arrotonda(v) == arrotonda(atteso) : v == atteso;
  if (!uguale) return "number differs from strtod: " + copia;
  return std::nullopt;
}

}  // namespace dettaglio

// Input: one byte whose bits choose text or number reads in turn, then the text.
inline violazione prova_lettore(std::span<const std::uint8_t> dati) {
  if (dati.empty()) return std::nullopt;
  const std::uint8_t schema = dati[0];
  const auto testo = dati.subspan(1);

  lettore_campi r(testo);
  std::size_t letture = 0;
  while (!r.fine()) {
    // Every read consumes at least one byte, so the loop ends.
    if (letture++ > testo.size()) return "a read consumed nothing";
    if ((schema >> (letture % 8)) & 1) {
      const auto v = r.leggi_testo();
      if (!v) return "text read failed before the end";
      if (!v->empty() && (v->front() == ' ' || v->back() == ' ')) return "text field with blanks";
      if (v->find_first_of(",\r\n") != std::string_view::npos) return "text field with separator";
    } else if (!r.leggi_numero()) {
      return "number read failed before the end";
    }
    if (r.riga() < 1 || r.colonna() < 1) return "line or column below 1";
    if (r.riga_sorgente().find_first_of("\r\n") != std::string_view::npos)
      return "source line with a line end";
  }
  if (r.leggi_testo() || r.leggi_numero()) return "a read after the end";

  // Each blank- or comma-separated piece as a number field of its own.
  std::string_view tutto(reinterpret_cast<const char*>(testo.data()), testo.size());
  while (!tutto.empty()) {
    const auto fine = tutto.find_first_of(" ,\r\n");
    if (auto v = dettaglio::come_strtod(tutto.substr(0, fine))) return v;
    if (fine == std::string_view::npos) break;
    tutto.remove_prefix(fine + 1);
  }
  return std::nullopt;
}

namespace dettaglio {

inline void aggiungi(std::vector<std::uint8_t>& byte, std::uint64_t v, int larghezza) {
  for (int i = 0; i < larghezza; ++i) byte.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline std::vector<std::uint8_t> ricodifica(const piano_letto& p) {
  std::vector<std::uint8_t> byte;
  for (const auto* blocco : {&p.x, &p.y}) {
    for (const auto& e : *blocco) {
      aggiungi(byte, static_cast<std::uint16_t>(e.tipo), 2);
      if (e.tipo == tipo_elemento::intero)
        aggiungi(byte, static_cast<std::uint16_t>(static_cast<std::int16_t>(e.valore)), 2);
      else if (e.tipo == tipo_elemento::reale)
        aggiungi(byte, std::bit_cast<std::uint64_t>(e.valore), 8);
    }
  }
  return byte;
}

template <typename T>
violazione errore_valido(const decodificato<T>& d, std::size_t dimensione, const char* file) {
  if (d.errore->posizione > dimensione || d.errore->messaggio.empty())
    return std::string("bad error of the ") + file;
  return std::nullopt;
}

}  // namespace dettaglio

// Input: any bytes, given to the three decoders; what decodes encodes back the same.
inline violazione prova_decodifica(std::span<const std::uint8_t> dati) {
  const std::vector<std::uint8_t> originale(dati.begin(), dati.end());
  if (const auto celle = decodifica_celle(dati); celle.ok()) {
    modello m;
    m.celle = celle.valore;
    if (immagine_celle(m) != originale) return "cells do not encode back";
  } else if (auto v = dettaglio::errore_valido(celle, dati.size(), "cell file")) {
    return v;
  }
  if (const auto punti = decodifica_punti(dati); punti.ok()) {
    modello m;
    m.punti = punti.valore;
    if (immagine_punti(m) != originale) return "points do not encode back";
  } else if (auto v = dettaglio::errore_valido(punti, dati.size(), "point file")) {
    return v;
  }
  if (const auto piano = decodifica_piano(dati); piano.ok()) {
    const piano_letto& p = piano.valore;
    if (p.x.size() != p.y.size()) return "plan blocks differ in length";
    if (dettaglio::ricodifica(p) != originale) return "plan does not encode back";
    if (p.punto_a(p.metri())) return "a point beyond the plan";
  } else if (auto v = dettaglio::errore_valido(piano, dati.size(), "plan file")) {
    return v;
  }
  return std::nullopt;
}

}  // namespace percorso::fuzz
