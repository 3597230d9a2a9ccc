#pragma once

#include <array>

#include "image/tipos.h"
#include "methods/entorno.h"

namespace velarno {

// Normalized histogram of the Entropy method: entries 0..255 are the fractions of pixels at
// each grey level; entry 256 is never read or written.
using HistogramaNormalizado = std::array<double, kNivelesGris + 1>;

// Entropy: the threshold t (dark class 0..t, light class t+1..255) that maximises the sum of
// the two class entropies, each over the class's own normalized distribution; among equal
// maxima the lowest t. The histogram is recounted from the pixel matrix.
// Trace: "Iniciando Algoritmo Entropy", 27 "=", "", then after publishing "Umbral encontrado: t",
// "", "Algoritmo entropy Finalizado.". In step mode asks "Nuevo valor de umbral: t" at every
// strict improvement ("Paso a paso"); answering No sets `paso` to false and writes
// "Paso a paso cancelado" and "". Always ends Publicado.
// Requires: the image record sized and read.
Fin AlgoritmoEntropy(Entorno& entorno, bool& paso);

// Fills entries 0..255 of `p` with the count of pixels at each grey level divided by N, the
// single-precision product of width and height rounded half to even (all 0 for a picture
// without pixels).
void histogramC(const DatosImagen& imagen, HistogramaNormalizado& p);

// Contribution of level i to the entropy of a class of probability w: -(p(i)/w) ln(p(i)/w)
// when p(i) > 0 and w > 0, otherwise 0.
double entropy(const HistogramaNormalizado& p, int i, double w);

}  // namespace velarno
