#pragma once

#include "methods/entorno.h"

namespace velarno {

// Percentage: the threshold is the lowest grey level at which the accumulated histogram
// reaches the given percentage of the pixels. Reads the percentage text of "Tpct".
// Refuses (Fin::Rechazado, a "Porcentaje no válido" box of style 48, trace untouched) a text
// that is not numeric or that rounds to a value outside 0..100 or outside 16 bits.
// In step mode asks after every level scanned; answering No sets `paso` to false, writes the
// cancel line and lets the run finish without prompts. A target above the pixel count (a
// text between 100 and 100.5) stops the scan at 255, which is published.
// Requires: the image record sized, read and its histogram computed.
Fin AlgoritmoPorcentaje(Entorno& entorno, bool& paso);

}  // namespace velarno
