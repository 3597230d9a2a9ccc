#pragma once

#include "methods/entorno.h"

namespace velarno {

// Mean: the threshold is the mean grey level of all pixels, rounded half to even.
// In step mode asks after every pixel, row by row ("Ejecución paso a paso"); answering No sets
// `paso` to false, writes "Paso a Paso cancelado." and lets the run finish without prompts.
// Requires: the image record sized and read (ancho, alto >= 1).
Fin AlgoritmoMean(Entorno& entorno, bool& paso);

}  // namespace velarno
