#pragma once

#include <cstdint>

#include "image/tipos.h"
#include "methods/entorno.h"

namespace velarno {

// Most passes the refinement of one window's threshold makes before it takes its last value.
inline constexpr int kMaxPasadasRegional = 1000;

// Regional Thresholds: every pixel at least 10 rows/columns from the top/left and 9 from the
// bottom/right edge gets the threshold local2 finds for the 20 x 20 window around it (rows and
// columns -10..+9); the frame keeps threshold 0. A pixel is black when its grey level is below
// its own threshold. Shows the "Atencion" box (style 64) in straight and step runs, writes the
// negro flag of every pixel, draws the binarized picture and returns Fin::Dibujado; publishes
// nothing. When some window's refinement did not settle within kMaxPasadasRegional passes, one
// trace line says so before the closing line.
// Step mode has two phases of prompts ("Paso a paso"): the local thresholds, then the
// binarization; answering No ends the prompts of that phase only (`paso` is restored between
// the phases and stays false only after a No in the binarization).
// Requires: the image record sized and read, `histograma` describing the grey levels.
Fin AlgoritmoRegionalThreshold(Entorno& entorno, bool& paso);

// The threshold of the window of rows rmin..rmax-1 and columns cmin..cmax-1: the window's mean
// grey level, rounded half to even, refined by iterative selection on the histogram of the
// whole image (the midpoint of the dark-class and light-class means) until a pass leaves it
// unchanged, or for at most kMaxPasadasRegional passes (`estable`, when given, tells which).
// Requires: a non-empty window inside the image.
int local2(const DatosImagen& imagen, int rmin, int rmax, int cmin, int cmax,
           bool* estable = nullptr);

}  // namespace velarno
