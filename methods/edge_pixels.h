#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "image/tipos.h"
#include "methods/entorno.h"

namespace velarno {

// The nine mask weights, Mask(0)..Mask(8): rows of three as typed on the frame.
using Mascara = std::array<double, 9>;

// Edge values 0..5000 have an entry each; larger values are counted in the last one.
inline constexpr int kValoresBorde = 5001;
// The level search looks at edge values 0..2047; 2048 means the percentage was not reached.
inline constexpr int kNivelesBusqueda = 2048;

// The edge-value histogram of a picture: per edge value, how many pixels have it and the sum
// of their grey levels (both 64-bit).
struct HistogramaBordes {
  std::vector<int64_t> cuentas = std::vector<int64_t>(kValoresBorde, 0);
  std::vector<int64_t> sumasGris = std::vector<int64_t>(kValoresBorde, 0);
};

// Using Edge Pixels: filters the grey image with the 3x3 mask (texts "Mask(0)".."Mask(8)",
// applied transposed: Mask(1) weights g(x-1, y), Mask(3) weights g(x, y-1)), keeps the
// responses rounded half to even as edge values (negatives 0, border pixels 0), finds the
// least edge value at which the percentage "PCTeDp" of all pixels is reached and publishes the
// rounded mean grey level of the pixels at or above it. Trace: "Iniciando algoritmo Using Edge
// Piexls", 37 "=", "", "valor de gris que contiene el porcentaje: L", "Umbral encontrado: t",
// "Algoritmo Using Edge Piexls Finalizado.", then publishes. In step mode asks after every
// interior pixel, columns outer ("Paso a paso"); No sets `paso` to false and writes
// "Paso a paso cancelado" and "".
// Refuses (Rechazado, one style-48 box, trace untouched) a PCTeDp or Mask text that is not a
// finite number, and the first Mask weight that makes the running sum in mask order of 255 x
// each positive weight, or of 255 x each negative one, infinite (some neighbourhood's sum would
// overflow). When no pixel reaches the level (the target exceeds the pixel count and no edge
// value is 2048 or more) shows "Histograma erroneo" (style 0, no title of its own), writes why
// and publishes nothing (SinResultado).
// Requires: the image record sized and read.
Fin AlgoritmoUsingEdgePixels(Entorno& entorno, bool& paso);

// Step prompts of the filter: while `paso` is true, asks about the edge value of every
// interior pixel, columns outer, rows inner; No sets `paso` to false and writes the cancel
// lines. Writes nothing else.
void XLaplacian(Entorno& entorno, const Mascara& mascara, bool& paso);

// Edge value of the interior pixel (x, y): the weighted sum of its 3x3 neighbourhood in Double,
// in mask order, rounded half to even; negative (or undefined) sums give 0.
double Xpix_lap(const Pixeles& pixeles, const Mascara& mascara, int32_t x, int32_t y);

// The filter fused with the edge-value histogram of every pixel, border pixels (edge value 0)
// included. Whole weights of moderate size are summed in integers, which gives exactly the
// Double sum; other masks take the Double sum of Xpix_lap.
HistogramaBordes Xfhist(const Pixeles& pixeles, const Mascara& mascara);

// The least edge value v in 0..niveles-1 at which the running count reaches p / 100 x n
// (rounded half to even); niveles when it is never reached.
int Xhi_pct(const std::vector<int64_t>& cuentas, int niveles, int64_t n, double p);

// The mean grey level of the pixels whose edge value is at least `nivel`, rounded half to
// even; nullopt when there is none.
std::optional<int> Xpeaks(const HistogramaBordes& histograma, int nivel);

}  // namespace velarno
