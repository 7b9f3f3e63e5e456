// The railway's own kilometres: the line's count from the kilometric references of its
// point table, and the forms every output writes positions in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "model/modello.h"

namespace percorso {

// The line's kilometric references, as the compiler stored them in slots 81 to 83:
// ordered, with the 100 m of a flagged one added. Without any the count is metres
// from the start.
class chilometrica {
 public:
  chilometrica() = default;
  explicit chilometrica(const std::array<punto, numero_punti>& punti);

  // Whether the texts set a reference: only then is the count the railway's own.
  bool con_riferimenti() const { return numero_ > 0; }

  // The kilometric progressive at a position along the line, in metres. The reference
  // that starts farthest along the line at or before the position counts on from its
  // figure (the nearest one after it counts back when none does).
  std::int64_t al_metro(std::int64_t posizione) const;

  // Where a position lies, for a reader: "km 40+450, 450 m dall'inizio" with
  // references, "450 m" without.
  std::string luogo(std::int64_t posizione) const;

  struct riferimento {
    std::int64_t inizio = 0, progressiva = 0;
  };
  // The references set, for a reader that applies the same rule.
  std::span<const riferimento> riferimenti() const& { return {riferimenti_.data(), numero_}; }
  // A span into a temporary would outlive it.
  std::span<const riferimento> riferimenti() const&& = delete;

 private:
  std::array<riferimento, 3> riferimenti_{};
  std::size_t numero_ = 0;
};

// The kilometre post at or before a progressive: 352 for 352800.
std::int64_t cippo(std::int64_t progressiva);

// "349+970": the kilometre, "+", the metres in three digits.
std::string testo_progressiva(std::int64_t progressiva);

// Metres as kilometres with three decimals, "12.600", "-0.400".
std::string km_testo(std::int64_t metri);

// A length in kilometres as an Italian reader writes it: a decimal comma, the metres
// without their trailing zeros but at least one decimal, "6,0", "94,05", "-0,4".
std::string km_italiano(std::int64_t metri);

}  // namespace percorso
