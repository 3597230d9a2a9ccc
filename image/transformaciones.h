#pragma once

#include <array>
#include <cstdint>

#include "image/superficie.h"
#include "image/tipos.h"

namespace velarno {

// Number of pixels of each grey level, counted from the pixel matrix itself, in 64 bits. The
// one level counter: the record's histogram and the methods that count for themselves use it.
std::array<int64_t, kNivelesGris> recuentoNiveles(const Pixeles& pixeles);

// Fills `histograma` and `maxHistograma` from the grey levels.
void calcularHistograma(DatosImagen& imagen);

// parte x 100 / total, the product in 64 bits, the division in Double, returned as a Single;
// 0 when total < 1.
float porcentaje(int64_t parte, int64_t total);

// Histogram equalization of the grey levels: f(i) = c(i) x 255 / N rounded half to even, with
// c the cumulative histogram. Reads `histograma` (which must describe the current levels) and
// does not update it.
void ecualizar(DatosImagen& imagen);

// True when the pixel's grey level is below the threshold.
bool esNegro(const Pixel& pixel, int64_t umbral);

// Straight binarization: every negro = gris < umbral.
void binarizar(DatosImagen& imagen, int64_t umbral);

}  // namespace velarno
