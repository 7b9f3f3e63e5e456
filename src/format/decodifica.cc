#include "format/decodifica.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "format/byte.h"
#include "format/campi.h"
#include "format/formato.h"

namespace percorso {
namespace {

errore_decodifica errore(std::string messaggio, std::size_t posizione) {
  return {std::move(messaggio), posizione};
}

std::string byte_testo(std::size_t n) {
  return std::to_string(n) + " byte";
}

}  // namespace

std::optional<std::array<double, 2>> punto_di(const elemento_piano& ex, const elemento_piano& ey) {
  if (ex.tipo == tipo_elemento::vuoto || ey.tipo == tipo_elemento::vuoto) return std::nullopt;
  if (!std::isfinite(ex.valore) || !std::isfinite(ey.valore)) return std::nullopt;
  return std::array<double, 2>{ex.valore, ey.valore};
}

std::optional<std::array<double, 2>> piano_letto::punto_a(std::size_t m) const {
  if (m >= x.size() || m >= y.size()) return std::nullopt;
  return punto_di(x[m], y[m]);
}

decodificato<std::vector<cella>> decodifica_celle(std::span<const std::uint8_t> dati) {
  decodificato<std::vector<cella>> r;
  if (dati.empty()) {
    r.errore = errore("file delle celle vuoto", 0);
    return r;
  }
  const std::size_t resto = dati.size() % byte_per_cella;
  if (resto != 0) {
    const std::size_t intere = dati.size() / byte_per_cella;
    r.errore = errore("file delle celle troncato: " + byte_testo(dati.size()) +
                          " non sono un multiplo di " + std::to_string(byte_per_cella) +
                          "; la cella " + std::to_string(intere) + " ha solo " + byte_testo(resto),
                      intere * byte_per_cella);
    return r;
  }
  r.valore.resize(dati.size() / byte_per_cella);
  lettore l(dati);
  // The size test above guarantees every read.
  for (cella& c : r.valore) campi_cella(c, [&](std::string_view, auto& v) { l.intero(v); });
  return r;
}

decodificato<std::array<punto, numero_punti>> decodifica_punti(std::span<const std::uint8_t> dati) {
  decodificato<std::array<punto, numero_punti>> r;
  if (dati.empty()) {
    r.errore = errore("file dei punti vuoto: servono " + std::to_string(numero_punti) + " voci", 0);
    return r;
  }
  lettore l(dati);
  for (int k = 0; k < numero_punti; ++k) {
    punto& p = r.valore[static_cast<std::size_t>(k)];
    const std::size_t inizio_voce = l.posizione();
    std::string campo;  // the first field that did not fit
    campi_punto(p, [&](std::string_view nome, auto& v) {
      if (!campo.empty()) return;
      if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>) {
        std::uint16_t lunghezza = 0;
        if (!l.intero(lunghezza))
          campo = "lunghezza del " + std::string(nome);
        else if (!l.caratteri(v, lunghezza))
          campo = nome;
      } else if (!l.intero(v)) {
        campo = nome;
      }
    });
    if (!campo.empty()) {
      r.errore = errore("file dei punti troncato nella voce " + std::to_string(k) + " di " +
                            std::to_string(numero_punti) + " (campo " + campo +
                            ", voce iniziata al byte " + std::to_string(inizio_voce) + ")",
                        l.posizione());
      return r;
    }
  }
  if (l.restanti() != 0) {
    r.errore = errore("file dei punti con " + byte_testo(l.restanti()) + " in piu' dopo le " +
                          std::to_string(numero_punti) + " voci",
                      l.posizione());
  }
  return r;
}

decodificato<std::size_t> metri_del_piano(std::span<const std::uint8_t> dati) {
  decodificato<std::size_t> r;
  if (dati.empty()) {
    r.errore = errore("file del tracciato vuoto", 0);
    return r;
  }
  // Every tag checked and counted, with nothing allocated.
  std::size_t elementi = 0;
  for (lettore l(dati); l.restanti() > 0; ++elementi) {
    const std::size_t inizio = l.posizione();
    std::uint16_t tag = 0;
    if (!l.intero(tag)) {
      r.errore = errore("file del tracciato troncato: l'elemento " + std::to_string(elementi) +
                            " ha solo 1 byte di etichetta",
                        inizio);
      return r;
    }
    const auto byte_valore = byte_del_valore(static_cast<tipo_elemento>(tag));
    if (!byte_valore) {
      r.errore = errore("etichetta sconosciuta " + std::to_string(tag) + " nell'elemento " +
                            std::to_string(elementi) + " del tracciato (ammesse: 0, 2, 5)",
                        inizio);
      return r;
    }
    const std::size_t larghezza = *byte_valore;
    if (l.restanti() < larghezza) {
      r.errore = errore("file del tracciato troncato: l'elemento " + std::to_string(elementi) +
                            " annuncia " + byte_testo(larghezza) + " di valore, ne restano " +
                            std::to_string(l.restanti()),
                        inizio);
      return r;
    }
    l.salta(larghezza);
  }
  if (elementi % 2 != 0) {
    r.errore =
        errore("file del tracciato con un numero dispari di elementi (" + std::to_string(elementi) +
                   "): il blocco delle x e quello delle y devono avere la stessa lunghezza",
               dati.size());
    return r;
  }

  const std::size_t metri = elementi / 2;
  // Short empty elements could otherwise make ten times the file in memory.
  if (metri > metri_massimi) {
    r.errore = errore("file del tracciato di " + std::to_string(metri) +
                          " metri per coordinata, piu' dei " + std::to_string(metri_massimi) +
                          " che il compilatore scrive",
                      0);
    return r;
  }
  r.valore = metri;
  return r;
}

std::optional<errore_decodifica> per_ogni_metro(
    std::span<const std::uint8_t> dati, const std::function<void(std::size_t)>& inizio,
    const std::function<void(std::size_t, const elemento_piano&, const elemento_piano&)>& f) {
  const auto metri = metri_del_piano(dati);
  if (!metri.ok()) return metri.errore;
  if (inizio) inizio(metri.valore);
  metri_in_ordine in_ordine(dati, metri.valore);
  for (std::size_t m = 0; m < metri.valore; ++m) {
    elemento_piano x, y;
    in_ordine.prossimo(x, y);
    f(m, x, y);
  }
  return std::nullopt;
}

decodificato<piano_letto> decodifica_piano(std::span<const std::uint8_t> dati) {
  decodificato<piano_letto> r;
  r.errore = per_ogni_metro(
      dati,
      [&](std::size_t metri) {
        r.valore.x.reserve(metri);
        r.valore.y.reserve(metri);
      },
      [&](std::size_t, const elemento_piano& x, const elemento_piano& y) {
        r.valore.x.push_back(x);
        r.valore.y.push_back(y);
      });
  return r;
}

bool si_decodifica(tipo_file t, std::span<const std::uint8_t> dati) {
  switch (t) {
    case tipo_file::celle:
      return decodifica_celle(dati).ok();
    case tipo_file::punti:
      return decodifica_punti(dati).ok();
    case tipo_file::piano:
      return metri_del_piano(dati).ok();
  }
  return false;
}

std::optional<tipo_file> tipo_dal_contenuto(std::span<const std::uint8_t> dati) {
  for (const tipo_file t : {tipo_file::punti, tipo_file::piano, tipo_file::celle})
    if (si_decodifica(t, dati)) return t;
  return std::nullopt;
}

std::optional<tipo_file> tipo_evidente(std::span<const std::uint8_t> dati) {
  for (const tipo_file t : {tipo_file::punti, tipo_file::piano})
    if (si_decodifica(t, dati)) return t;
  const auto celle = decodifica_celle(dati);
  if (celle.ok() && celle.valore.size() > 1 && celle.valore[1].dato_1 == valore_cella_1)
    return tipo_file::celle;
  return std::nullopt;
}

std::optional<std::string> di_altro_tipo(tipo_file atteso, std::span<const std::uint8_t> dati,
                                         bool intero) {
  if (intero && atteso != tipo_file::celle) return std::nullopt;
  const auto evidente = tipo_evidente(dati);
  if (!evidente || *evidente == atteso) return std::nullopt;
  return "sembra un file " + std::string(nome_tipo(*evidente)) + ", non un file " +
         std::string(nome_tipo(atteso));
}

std::optional<std::string> troppo_grande(std::optional<tipo_file> t, std::uint64_t byte) {
  constexpr std::size_t celle = (metri_massimi / metri_per_cella + 1) * byte_per_cella;
  constexpr std::size_t punti = numero_punti * (byte_per_punto_senza_nome + massimo_testo);
  constexpr std::size_t piano = metri_massimi * byte_per_metro_piano;
  const std::size_t massimo = !t                       ? std::max({celle, punti, piano})
                              : *t == tipo_file::celle ? celle
                              : *t == tipo_file::punti ? punti
                                                       : piano;
  if (byte <= massimo) return std::nullopt;
  return std::to_string(byte) + " byte, piu' del piu' grande file " +
         (t ? std::string(nome_tipo(*t)) + " " : std::string()) + "che il compilatore scrive (" +
         std::to_string(massimo) + " byte): non e' letto";
}

}  // namespace percorso
