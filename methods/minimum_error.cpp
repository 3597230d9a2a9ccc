// Minimum Error: minimum-error thresholding after Kittler and Illingworth (1986). The
// histogram is modelled as two normal classes split at t; each class's count, mean and
// variance give the criterion J(t), and the t of least J is published. Counts are summed in
// 64 bits; every count x level product is formed in Double, so no picture size overflows.
// The class functions recompute their sums from the histogram each time, in ascending level
// order, exactly as the criterion is defined; 255 thresholds make that cheap.
#include "methods/minimum_error.h"

#include <cmath>
#include <string>

#include "methods/numeros.h"
#include "methods/protocolo.h"

namespace velarno {

double fP1(const Histograma& h, int t) {
  int64_t suma = 0;
  for (int i = 0; i <= t; ++i) suma += h[i];
  return static_cast<double>(suma);
}

double fP2(const Histograma& h, int t) {
  int64_t suma = 0;
  for (int i = t + 1; i < kNivelesGris; ++i) suma += h[i];
  return static_cast<double>(suma);
}

double fu1(const Histograma& h, int t) {
  const double p1 = fP1(h, t);
  if (p1 <= 0) return 0;
  double suma = 0;
  // The level runs as a Double, as the dark-class mean has always been formed.
  for (double i = 0; i <= t; i = i + 1)
    suma = suma + static_cast<double>(h[static_cast<size_t>(i)]) * i;
  return suma / p1;
}

double fu2(const Histograma& h, int t) {
  const double p2 = fP2(h, t);
  if (p2 <= 0) return 0;
  double suma = 0;
  for (int i = t + 1; i < kNivelesGris; ++i)
    suma = suma + static_cast<double>(h[i]) * static_cast<double>(i);
  return suma / p2;
}

double fs1(const Histograma& h, int t) {
  const double p1 = fP1(h, t);
  const double u1 = fu1(h, t);
  if (p1 <= 0) return 0;
  double suma = 0;
  for (int i = 0; i <= t; ++i) {
    const double d = i - u1;
    suma = suma + static_cast<double>(h[i]) * (d * d);
  }
  return suma / p1;
}

double fs2(const Histograma& h, int t) {
  const double p2 = fP2(h, t);
  const double u2 = fu2(h, t);
  if (p2 <= 0) return 0;
  double suma = 0;
  for (int i = t + 1; i < kNivelesGris; ++i) {
    const double d = i - u2;
    suma = suma + static_cast<double>(h[i]) * (d * d);
  }
  return suma / p2;
}

double flog(double x) { return x > 0 ? std::log(x) : 0; }

double fJ(Entorno& entorno, int t, bool& paso) {
  const Histograma& h = entorno.imagen().histograma;
  const double p1 = fP1(h, t);
  const double s1 = fs1(h, t);
  const double p2 = fP2(h, t);
  const double s2 = fs2(h, t);
  if (paso) {
    const char sep = entorno.separadorDecimal();
    Traza& traza = entorno.traza();
    traza.agregar("Iteración: " + textoEntero(t));
    traza.agregar("P1: " + textoDouble(p1, sep));
    traza.agregar("P2: " + textoDouble(p2, sep));
    traza.agregar("S1: " + textoDouble(s1, sep));
    traza.agregar("S2: " + textoDouble(s2, sep));
    traza.agregar("");
    // The prompt asks no question in words: Yes goes on, No stops the prompts.
    const std::string texto = "Iteración: " + textoEntero(t) + "\r\rP1: " + textoDouble(p1, sep) +
                              "\rP2: " + textoDouble(p2, sep) + "\rS1: " + textoDouble(s1, sep) +
                              "\rS2: " + textoDouble(s2, sep);
    if (pasoCancelado(entorno.dialogos(), "Paso a paso", texto, paso)) {
      traza.agregar("");
      traza.agregar("Paso a paso cancelado");
    }
  }
  const double ls1 = flog(s1);
  const double ls2 = flog(s2);
  const double lp1 = flog(p1);
  const double lp2 = flog(p2);
  return 1 + 2 * (p1 * ls1 + p2 * ls2) - 2 * (p1 * lp1 + p2 * lp2);
}

Fin AlgoritmoMinimumError(Entorno& entorno, bool& paso) {
  Traza& traza = entorno.traza();
  traza.limpiar();
  traza.agregar("Iniciando algoritmo Minimo error");
  traza.agregar("================================");
  traza.agregar("");

  // J(0) is never computed and stays 0.
  std::array<double, kNivelesGris + 1> j{};
  int mejor = 0;
  for (int t = 1; t < kNivelesGris; ++t) {
    j[t] = fJ(entorno, t, paso);
    if (j[t] < j[mejor]) {
      mejor = t;
      traza.agregar("Nuevo valor de umbral: " + textoEntero(t));
    }
  }

  traza.agregar("umbral: " + textoEntero(mejor));
  traza.agregar("");
  // Publication comes between the empty line and the closing line.
  entorno.publicar(mejor);
  traza.agregar("Algoritmo Minimo Error Finalizado.");
  return Fin::Publicado;
}

}  // namespace velarno
