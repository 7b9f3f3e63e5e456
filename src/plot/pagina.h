// The page of the drawing: its size and margins, round numbers for the axes, and
// the small shapes both panels draw.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "format/formato.h"
#include "plot/svg.h"

namespace percorso {

inline constexpr double larghezza_pagina = 1600;
inline constexpr double margine_sinistro = 80;
inline constexpr double margine_destro = 40;
inline constexpr double metri_cella = metri_per_cella;

using punto_2d = std::array<double, 2>;

// v with the given decimals and a decimal comma, as the drawing shows numbers; never "-0".
std::string numero_testo(double v, int decimali);
// A round step (1, 2 or 5 times a power of ten) that cuts the range into about n parts.
double passo_tondo(double ampiezza, double n);
// The multiples of passo from minimo to massimo; none when the range is not
// finite, and never more than a few dozen.
std::vector<double> tacche(double minimo, double massimo, double passo);
// The decimals a tick of this step needs.
int decimali_di(double passo);

// A triangle pointing up, as the warning boards and signals of the profile are drawn.
void triangolo(svg& s, const punto_2d& p, double r, std::string_view classe);
// Each unbroken piece of a track as one polyline.
void polilinee(svg& s, const std::vector<std::vector<punto_2d>>& pezzi, std::string_view attributi);

}  // namespace percorso
