#pragma once

#include "methods/entorno.h"

namespace velarno {

// Moving Averages: binarizes pixel by pixel along a serpentine path (rows alternately left to
// right and right to left) against a running mean of the last grey levels seen.
// Reads the percentage from the text of "CPct". Refuses, with a style-48 box and before the
// trace is touched (Fin::Rechazado), a text that is not a finite number or whose (100 - pct) x 255
// is not, and a picture narrower than 5 pixels. Writes the negro flag of every visited pixel (in
// step mode it first whitens the whole record and draws it white, so the user watches the result
// grow), draws the binarized picture and returns Fin::Dibujado; publishes nothing.
// In step mode writes the values of every pixel and asks ("Paso a paso"); answering No sets
// `paso` to false and the run ends as a straight run.
// Requires: the image record sized and read (ancho, alto >= 1).
Fin AlgoritmoThrdd(Entorno& entorno, bool& paso);

}  // namespace velarno
