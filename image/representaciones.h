#pragma once

#include <string>

#include "image/superficie.h"
#include "image/tipos.h"

namespace velarno {

// a when a <= b, else b.
float minimo(float a, float b);

// Sizes the record from the picture held by `superficie` (its pixel size) and creates a new
// pixel matrix: every gris 0, every negro false. The histogram is not touched.
// Requires: the surface measures 1..kMaxLado pixels each side, at most kMaxPixeles in all.
void dimensionarImagen(const Superficie& superficie, DatosImagen& imagen);

// Reads every pixel of the surface into `gris` with nivelGris; `negro` is not touched.
// Requires: the record was sized from this surface.
void leerPixeles(const Superficie& superficie, DatosImagen& imagen);

// Draws the grey image, clipped to the smaller of surface and image; the rest of the surface
// keeps what it had.
void dibujarGrises(Superficie& superficie, const DatosImagen& imagen);

// Draws the negro flags (black / white), clipped like dibujarGrises; does not clear.
void dibujarBinarizada(Superficie& superficie, const DatosImagen& imagen);

// The chart's scale values for a record: 100, 10, 10 for a non-empty histogram, 0 for an empty
// one. Every part of the chart is drawn with the scale of the record it shows.
struct EscalaHistograma {
  float escalaVertical = 0;
  float margenInferior = 0;
  float margenSuperior = 0;
};
EscalaHistograma escalaHistograma(const DatosImagen& imagen);

// The histogram chart: user coordinates x 0..301, y 0..T with T = 120 for a non-empty
// histogram; level i drawn at x = i + 20. The caller clears the surface where needed.
void dibujarHistograma(Superficie& superficie, const DatosImagen& imagen, float umbral);
void dibujarBarras(Superficie& superficie, const DatosImagen& imagen,
                   const EscalaHistograma& escala);
void dibujarMarcaUmbral(Superficie& superficie, float umbral, const DatosImagen& imagen,
                        const EscalaHistograma& escala);
void dibujarEjes(Superficie& superficie, const EscalaHistograma& escala);
// Bold "arial" 8 at (x, y), the text hanging below the position; bold is switched off after.
void escribirTexto(Superficie& superficie, const std::string& texto, float x, float y);

}  // namespace velarno
