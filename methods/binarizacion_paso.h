#pragma once

#include <cstdint>
#include <functional>

#include "image/superficie.h"
#include "image/tipos.h"
#include "methods/dialogos.h"

namespace velarno {

// Binarization that, while pasoAPaso is true, first whitens the picture and draws it white on
// `destino`, then asks about every pixel down the first column, then the next ("Segmentar paso
// a paso"), redrawing `destino` after each answer. `alDibujar` runs after every drawing (the
// window repaints its view there). Answering No sets pasoAPaso to false; the remaining pixels
// are decided without prompts or drawing. With pasoAPaso false it is the straight binarization.
void binarizar(DatosImagen& imagen, int64_t umbral, bool& pasoAPaso, Dialogos& dialogos,
               Superficie& destino, const std::function<void()>& alDibujar = {});

}  // namespace velarno
