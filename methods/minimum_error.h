#pragma once

#include <array>
#include <cstdint>

#include "image/tipos.h"
#include "methods/entorno.h"

namespace velarno {

// The stored grey-level histogram of the image record.
using Histograma = std::array<int64_t, kNivelesGris>;

// Minimum Error: for t = 1..255 computes the criterion J(t) from the pixel counts, means and
// variances of the classes 0..t and t+1..255 of the stored histogram and publishes the t of
// least J; J(0) is taken as 0, so a threshold is taken only when its J is negative, and among
// equal values the lowest stays. Trace: "Iniciando algoritmo Minimo error", 32 "=", "", a line
// "Nuevo valor de umbral: t" at every strict improvement, "umbral: t", "", then publishes and
// writes "Algoritmo Minimo Error Finalizado.". In step mode fJ writes and asks the class
// figures of every t ("Paso a paso"); answering No sets `paso` to false and writes "" and
// "Paso a paso cancelado". Always ends Publicado.
// Requires: `histograma` describes the grey levels.
Fin AlgoritmoMinimumError(Entorno& entorno, bool& paso);

// J(t) = 1 + 2 (P1 ln s1 + P2 ln s2) - 2 (P1 ln P1 + P2 ln P2), with the guarded logarithm.
// While `paso` is true writes the six step lines of t and asks; No sets it to false.
double fJ(Entorno& entorno, int t, bool& paso);

// Pixel counts of the dark (0..t) and light (t+1..255) classes.
double fP1(const Histograma& h, int t);
double fP2(const Histograma& h, int t);
// Class means; 0 for an empty class.
double fu1(const Histograma& h, int t);
double fu2(const Histograma& h, int t);
// Class variances (not standard deviations); 0 for an empty class.
double fs1(const Histograma& h, int t);
double fs2(const Histograma& h, int t);
// Natural logarithm of x when x > 0, otherwise 0.
double flog(double x);

}  // namespace velarno
