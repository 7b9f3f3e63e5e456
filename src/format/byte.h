// Little-endian reading and writing of the fields the record lists name.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "format/formato.h"

namespace percorso {

// Characters of a text that a file keeps.
inline std::size_t caratteri_scritti(std::size_t n) {
  return n > massimo_testo ? massimo_testo : n;
}
// The part of a text a file keeps: a model need hold no more of a name of megabytes.
inline std::string_view testo_scritto(std::string_view t) {
  return t.substr(0, caratteri_scritti(t.size()));
}

// Bytes a field takes in a file: its width, or for a text its length and characters.
template <typename T>
std::size_t byte_del_campo(const T&) {
  return sizeof(T);
}
inline std::size_t byte_del_campo(const std::string& t) {
  return 2 + caratteri_scritti(t.size());
}

// Writes into a buffer of the file's exact size, allocated once: the file is
// then written in one call. Vettore is the buffer's type.
template <class Vettore>
class scrittore_in {
 public:
  explicit scrittore_in(std::size_t dimensione) : byte_(dimensione), p_(byte_.data()) {}
  // Into the buffer of a previous piece: no new allocation, and bytes it already has
  // are not zeroed again before they are overwritten.
  scrittore_in(Vettore riuso, std::size_t dimensione) : byte_(std::move(riuso)), p_(nullptr) {
    byte_.resize(dimensione);
    p_ = byte_.data();
  }

  template <typename T>
  void intero(T v) {
    using U = std::make_unsigned_t<T>;
    const U u = static_cast<U>(v);
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(p_, &u, sizeof(T));
    } else {
      for (std::size_t i = 0; i < sizeof(T); ++i) p_[i] = static_cast<std::uint8_t>(u >> (8 * i));
    }
    p_ += sizeof(T);
  }
  void reale(double v) { intero(std::bit_cast<std::uint64_t>(v)); }
  // A 16-bit length, then the characters; longer texts keep their first 65535 bytes.
  void testo(std::string_view t) {
    const std::size_t n = caratteri_scritti(t.size());
    intero(static_cast<std::uint16_t>(n));
    std::memcpy(p_, t.data(), n);
    p_ += n;
  }
  // One field of a record list.
  template <typename T>
  void campo(const T& v) {
    if constexpr (std::is_same_v<T, std::string>)
      testo(v);
    else
      intero(v);
  }

  Vettore fine() {
    byte_.resize(static_cast<std::size_t>(p_ - byte_.data()));
    return std::move(byte_);
  }

 private:
  Vettore byte_;
  std::uint8_t* p_;
};

using scrittore = scrittore_in<std::vector<std::uint8_t>>;

// Reads from a span; every read checks the bytes left and fails without moving.
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
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(&u, dati_.data() + pos_, sizeof(T));
    } else {
      for (std::size_t i = 0; i < sizeof(T); ++i)
        u |= static_cast<U>(U{dati_[pos_ + i]} << (8 * i));
    }
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
  bool caratteri(std::string& t, std::uint16_t n) {
    if (restanti() < n) return false;
    t.assign(reinterpret_cast<const char*>(dati_.data() + pos_), n);
    pos_ += n;
    return true;
  }

 private:
  std::span<const std::uint8_t> dati_;
  std::size_t pos_ = 0;
};

}  // namespace percorso
