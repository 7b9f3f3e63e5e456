#include "output/decodifica.h"

#include <bit>
#include <cmath>
#include <string_view>

#include "output/file_binari.h"

namespace percorso {
namespace {

// Reads little-endian values from a span; every read checks the bytes left.
class lettore {
 public:
  explicit lettore(std::span<const std::uint8_t> dati) : dati_(dati) {}

  std::size_t posizione() const { return pos_; }
  std::size_t restanti() const { return dati_.size() - pos_; }

  template <typename T>
  bool intero(T& v) {
    if (restanti() < sizeof(T)) return false;
    using U = std::make_unsigned_t<T>;
    U u = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) u |= static_cast<U>(U{dati_[pos_ + i]} << (8 * i));
    v = static_cast<T>(u);
    pos_ += sizeof(T);
    return true;
  }
  bool reale(double& v) {
    std::uint64_t u = 0;
    if (!intero(u)) return false;
    v = std::bit_cast<double>(u);
    return true;
  }
  bool salta(std::size_t n) {
    if (restanti() < n) return false;
    pos_ += n;
    return true;
  }
  bool testo(std::string& t, std::uint16_t n) {
    if (restanti() < n) return false;
    const auto* inizio = reinterpret_cast<const char*>(dati_.data() + pos_);
    t.assign(inizio, n);
    pos_ += n;
    return true;
  }

 private:
  std::span<const std::uint8_t> dati_;
  std::size_t pos_ = 0;
};

errore_decodifica errore(std::string messaggio, std::size_t posizione) {
  return {std::move(messaggio), posizione};
}

std::string byte_testo(std::size_t n) {
  return std::to_string(n) + " byte";
}

}  // namespace

std::optional<std::array<double, 2>> piano_letto::punto_a(std::size_t m) const {
  if (m >= x.size() || m >= y.size()) return std::nullopt;
  const elemento_piano& ex = x[m];
  const elemento_piano& ey = y[m];
  if (ex.tipo == tipo_elemento::vuoto || ey.tipo == tipo_elemento::vuoto) return std::nullopt;
  if (!std::isfinite(ex.valore) || !std::isfinite(ey.valore)) return std::nullopt;
  return std::array<double, 2>{ex.valore, ey.valore};
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
                          " non sono un multiplo di 15; la cella " + std::to_string(intere) +
                          " ha solo " + byte_testo(resto),
                      intere * byte_per_cella);
    return r;
  }
  r.valore.resize(dati.size() / byte_per_cella);
  lettore l(dati);
  for (cella& c : r.valore) {
    // The size test above guarantees every read.
    l.intero(c.evento);
    l.intero(c.dato_1);
    l.intero(c.dato_2);
    l.intero(c.dato_3);
    l.intero(c.dato_4);
    l.intero(c.tempo_segnale);
    l.intero(c.ripetizione);
    l.intero(c.montagna);
    l.intero(c.velocita);
    l.intero(c.pendenza);
    l.intero(c.aderenza);
  }
  return r;
}

decodificato<std::array<punto, numero_punti>> decodifica_punti(std::span<const std::uint8_t> dati) {
  decodificato<std::array<punto, numero_punti>> r;
  if (dati.empty()) {
    r.errore = errore("file dei punti vuoto: servono 87 voci", 0);
    return r;
  }
  lettore l(dati);
  for (int k = 0; k < numero_punti; ++k) {
    punto& p = r.valore[static_cast<std::size_t>(k)];
    const std::size_t inizio_voce = l.posizione();
    std::string_view campo;
    auto leggi = [&](std::string_view nome, auto& v) {
      if (campo.empty() && !l.intero(v)) campo = nome;
    };
    std::uint16_t lunghezza = 0;
    leggi("codice", p.codice);
    leggi("valore_1", p.valore_1);
    leggi("valore_2", p.valore_2);
    leggi("valore_3", p.valore_3);
    leggi("opzione", p.opzione);
    leggi("lunghezza del nome", lunghezza);
    if (campo.empty() && !l.testo(p.nome, lunghezza)) campo = "nome";
    leggi("parametro_1", p.parametro_1);
    leggi("parametro_2", p.parametro_2);
    leggi("parametro_3", p.parametro_3);
    leggi("parametro_4", p.parametro_4);
    leggi("parametro_5", p.parametro_5);
    leggi("indicatore_1", p.indicatore_1);
    leggi("indicatore_2", p.indicatore_2);
    leggi("indicatore_3", p.indicatore_3);
    leggi("indicatore_4", p.indicatore_4);
    leggi("orario", p.orario);
    if (!campo.empty()) {
      r.errore = errore("file dei punti troncato nella voce " + std::to_string(k) +
                            " di 87 (campo " + std::string(campo) + ", voce iniziata al byte " +
                            std::to_string(inizio_voce) + ")",
                        l.posizione());
      return r;
    }
  }
  if (l.restanti() != 0) {
    r.errore = errore("file dei punti con " + byte_testo(l.restanti()) + " in piu' dopo le 87 voci",
                      l.posizione());
  }
  return r;
}

decodificato<piano_letto> decodifica_piano(std::span<const std::uint8_t> dati) {
  decodificato<piano_letto> r;
  if (dati.empty()) {
    r.errore = errore("file del tracciato vuoto", 0);
    return r;
  }
  // First pass: check every tag and count, so nothing is allocated for a bad file.
  std::size_t elementi = 0;
  for (lettore l(dati); l.restanti() > 0; ++elementi) {
    const std::size_t inizio = l.posizione();
    std::uint16_t tag = 0;
    std::size_t larghezza = 0;
    if (!l.intero(tag)) {
      r.errore = errore("file del tracciato troncato: l'elemento " + std::to_string(elementi) +
                            " ha solo 1 byte di etichetta",
                        inizio);
      return r;
    }
    switch (static_cast<tipo_elemento>(tag)) {
      case tipo_elemento::vuoto:
        larghezza = 0;
        break;
      case tipo_elemento::intero:
        larghezza = 2;
        break;
      case tipo_elemento::reale:
        larghezza = 8;
        break;
      default:
        r.errore = errore("etichetta sconosciuta " + std::to_string(tag) + " nell'elemento " +
                              std::to_string(elementi) + " del tracciato (ammesse: 0, 2, 5)",
                          inizio);
        return r;
    }
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
  r.valore.x.resize(metri);
  r.valore.y.resize(metri);
  lettore l(dati);
  for (std::size_t i = 0; i < elementi; ++i) {
    elemento_piano& e = i < metri ? r.valore.x[i] : r.valore.y[i - metri];
    std::uint16_t tag = 0;
    l.intero(tag);
    e.tipo = static_cast<tipo_elemento>(tag);
    if (e.tipo == tipo_elemento::intero) {
      std::int16_t v = 0;
      l.intero(v);
      e.valore = v;
    } else if (e.tipo == tipo_elemento::reale) {
      l.reale(e.valore);
    }
  }
  return r;
}

}  // namespace percorso
