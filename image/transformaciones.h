#pragma once

#include <cstdint>
#include <functional>

#include "dialogos.h"
#include "superficie.h"
#include "tipos.h"

namespace velarno {

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

// Binarization that, while pasoAPaso is true, first whitens the picture and draws it white on
// `destino`, then asks about every pixel down the first column, then the next ("Segmentar paso
// a paso"), redrawing `destino` after each answer. `alDibujar` runs after every drawing (the
// window repaints its view there). Answering No sets pasoAPaso to false; the remaining pixels
// are decided without prompts or drawing. With pasoAPaso false it is the straight binarization.
void binarizar(DatosImagen& imagen, int64_t umbral, bool& pasoAPaso, Dialogos& dialogos,
               Superficie& destino, const std::function<void()>& alDibujar = {});

}  // namespace velarno
