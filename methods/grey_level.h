#pragma once

#include <array>

#include "methods/entorno.h"

namespace velarno {

// The normalised histogram of the grey-level method, by level index: grey level g has index
// g + 1 (1..256); the other entries (0 and 257..260) are 0.
using ProbabilidadesIndice = std::array<double, 261>;

// ω: the sum of p(i) for i = 1..k (0 when k < 1), in increasing order. Requires: k <= 260.
double w(const ProbabilidadesIndice& p, int k);
// μ: the sum of i × p(i) for i = 1..k, in increasing order. Requires: k <= 260.
double u(const ProbabilidadesIndice& p, int k);
// The between-class variance of the split after index k, (ω·ut − μ)² ÷ ((1 − ω)·ω) or 0
// when the denominator is not positive, divided by the total variance `vt`.
// `ut` is the mean index; Requires: vt > 0.
double nu(const ProbabilidadesIndice& p, int k, double ut, double vt);

// Grey-level histogram method: publishes the index k (1..256) that maximises the ratio of
// the between-class variance to the total variance; a later index wins a tie. Counts the
// pixels itself (64-bit counts); the record's histogram is not read.
// In step mode shows the total variance first, then asks at every new (or equal) maximum;
// answering No sets `paso` to false and writes "Paso a paso cancelado".
// A picture of a single grey level (total variance 0) ends with Fin::SinResultado: a trace
// line says why, the closing line follows and nothing is published.
// Requires: the image record sized and read (ancho, alto >= 1).
Fin AlgoritmoGreyLevel(Entorno& entorno, bool& paso);

}  // namespace velarno
