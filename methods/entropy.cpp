// Entropy: maximum-entropy thresholding after Kapur, Sahoo and Wong (1985). For every threshold
// t the grey levels split into a dark class 0..t and a light class t+1..255; each class's
// levels are renormalized by the class probability and their Shannon entropies are added; the
// t with the largest total wins, the lowest among equals. The histogram is recounted from the
// pixel matrix into 32-bit sub-counts (at most 100 M pixels each) added in 64 bits, then
// normalized in Double by the pixel count, which is width x height formed in single precision
// and rounded half to even (above 2^24 pixels it can differ from the exact count by one or
// two).
#include "methods/entropy.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "image/transformaciones.h"
#include "methods/numeros.h"
#include "methods/protocolo.h"

namespace velarno {

void histogramC(const DatosImagen& imagen, HistogramaNormalizado& p) {
  // The pixel count N is the single-precision product of width and height, rounded half to
  // even; the fractions divide by that N.
  const float producto = static_cast<float>(imagen.ancho) * static_cast<float>(imagen.alto);
  const int64_t n = redondear(static_cast<double>(producto));
  // Adding 1 per pixel to a Double is exact far beyond any picture size, so whole counts
  // converted once give the same fractions.
  const std::array<int64_t, kNivelesGris> cuentas = recuentoNiveles(imagen.pixeles);
  for (int i = 0; i < kNivelesGris; ++i) {
    p[i] = static_cast<double>(cuentas[i]);
    if (n > 0) p[i] = p[i] / static_cast<double>(n);
  }
}

double entropy(const HistogramaNormalizado& p, int i, double w) {
  if (p[i] > 0 && w > 0) return -(p[i] / w) * std::log(p[i] / w);
  return 0;
}

Fin AlgoritmoEntropy(Entorno& entorno, bool& paso) {
  Traza& traza = entorno.traza();
  traza.limpiar();
  traza.agregar("Iniciando Algoritmo Entropy");
  traza.agregar("===========================");
  traza.agregar("");

  HistogramaNormalizado p{};
  histogramC(entorno.imagen(), p);

  std::array<double, kNivelesGris + 1> c{};
  c[0] = p[0];
  for (int t = 1; t < kNivelesGris; ++t) c[t] = c[t - 1] + p[t];

  std::array<double, kNivelesGris + 1> h{};
  int mejor = 0;
  for (int t = 0; t < kNivelesGris; ++t) {
    double oscura = 0;
    double clara = 0;
    for (int i = 0; i < kNivelesGris; ++i) {
      if (i <= t) {
        oscura = oscura + entropy(p, i, c[t]);
      } else {
        const double w = 1 - c[t];
        clara = clara + entropy(p, i, w);
      }
    }
    h[t] = oscura + clara;
    if (h[t] > h[mejor]) {
      mejor = t;
      if (paso &&
          pasoCancelado(entorno.dialogos(), "Paso a paso",
                        "Nuevo valor de umbral: " + textoEntero(t) + "\r\r¿Continuar Paso a paso?",
                        paso)) {
        traza.agregar("Paso a paso cancelado");
        traza.agregar("");
      }
    }
  }

  // This method publishes before writing its closing lines.
  entorno.publicar(mejor);
  traza.agregar("Umbral encontrado: " + textoEntero(mejor));
  traza.agregar("");
  traza.agregar("Algoritmo entropy Finalizado.");
  return Fin::Publicado;
}

}  // namespace velarno
