#pragma once

#include "methods/entorno.h"

namespace velarno {

// Passes after which Iterative Selection stops when the threshold has not repeated (the
// whole-number iteration can fall into a cycle, e.g. on a picture of levels 1 and 2).
inline constexpr int kMaxPasadasIterSel = 1000;

// Iterative Selection, fast mode ("Rapido"): from the rounded mean level, replaces the whole
// threshold T by the rounded midpoint of the mean of levels 0..T and the mean of levels above
// T until it repeats. Works on the record's histogram only.
// In step mode asks after every pass; answering No sets `paso` to false (no cancel line).
// After kMaxPasadasIterSel passes without a repeat it writes a line saying so and publishes
// the last threshold.
// Requires: the image record sized, read and its histogram computed (ancho, alto >= 1).
Fin AlgoritmoIterSel(Entorno& entorno, bool& paso);

// Iterative Selection, normal mode: the same iteration with a fractional threshold, levels
// below it dark and the rest light, until the new threshold equals the old one exactly; the
// result is rounded at the end. Counts the pixels itself; the histogram is not read.
// Step mode and the pass bound as in the fast mode.
// Requires: the image record sized and read (ancho, alto >= 1).
Fin algoritmoIterSelNormal(Entorno& entorno, bool& paso);

// The mode chosen by the text of "CIterSelModo": exactly "Rapido" runs AlgoritmoIterSel,
// any other text algoritmoIterSelNormal.
Fin ejecutarIterSel(Entorno& entorno, bool& paso);

// The two modes with a pass bound of their own (at least 1), so that the bound can be
// exercised on small pictures.
Fin iterSelRapidoHasta(Entorno& entorno, bool& paso, int maxPasadas);
Fin iterSelNormalHasta(Entorno& entorno, bool& paso, int maxPasadas);

}  // namespace velarno
