#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "image/plano.h"
#include "image/tipos.h"
#include "methods/entorno.h"

namespace velarno {

// The probabilities of every pixel: p of being dark (class 0), q of being light (class 1).
// Stored column after column (index x * alto + y): a pass walks the columns in its outer loop
// and sums its residual in that order, so each column is one contiguous run.
struct Probabilidades {
  // n doubles, every one +0.0 (all bits zero) when made, on a plane's fresh zero pages: a
  // 12 MP picture's two planes are 192 MB, which a zeroing fill would fault in page by page.
  class Reales {
   public:
    Reales() = default;
    explicit Reales(size_t n) : bytes_(n * sizeof(double)) {}
    size_t size() const { return bytes_.size() / sizeof(double); }
    double* data() { return reinterpret_cast<double*>(bytes_.data()); }
    const double* data() const { return reinterpret_cast<const double*>(bytes_.data()); }
    double& operator[](size_t i) { return data()[i]; }
    double operator[](size_t i) const { return data()[i]; }

   private:
    Plano bytes_;
  };

  Probabilidades() = default;
  // Every probability 0.
  Probabilidades(int32_t anchoImagen, int32_t altoImagen)
      : ancho(anchoImagen),
        alto(altoImagen),
        p(static_cast<size_t>(anchoImagen) * static_cast<size_t>(altoImagen)),
        q(p.size()) {}
  size_t indice(int32_t x, int32_t y) const {
    return static_cast<size_t>(x) * static_cast<size_t>(alto) + static_cast<size_t>(y);
  }

  int32_t ancho = 0;
  int32_t alto = 0;
  Reales p;
  Reales q;
};

// Relaxation: labels every pixel dark or light by probabilistic relaxation (Rosenfeld, Hummel
// and Zucker, 1976). The initial probabilities come from the grey level against the whole
// image's statistics when the text of "MetRelajacion" is exactly "Rosenfeld", against the
// 19 x 19 neighbourhood's otherwise; then passes pull every interior pixel towards its eight
// neighbours until the residual is at most 1, stops improving, or 100 passes are made.
// Shows the "Atencion" box (style 64), writes one trace item per pass, draws the binarized
// picture with black where p > q and returns Fin::Dibujado. The image record (grey levels and
// negro flags) is the same after the run as before it; nothing is published.
// Requires: the image record sized and read (ancho, alto >= 1).
Fin AlgoritmoRelajacion(Entorno& entorno);

// The stopping rule of the passes, fed one residual after every pass: the passes end when the
// residual is at most 1, after the 100th pass, or when it has failed to improve on the best
// residual (staying within 0.0001 of it) once too often: the stall count starts at 0, is set
// to 1 by every improvement and grows by 1 per stall; a stall that finds it above 2 ends the
// passes. A residual 0.0001 or more above the best changes nothing.
struct Convergencia {
  int pasadas = 0;
  double mejor = 10000;
  int estancadas = 0;
  // Counts the pass; true when it was the last.
  bool ultimaPasada(double residuo);
};

// Initial probabilities of every pixel for the given class text ("Rosenfeld" or any other).
// A pixel whose reference has a single grey level (the whole image, or its neighbourhood) gets
// p = q = 0.5.
void assign_class(const DatosImagen& imagen, const std::string& clase, Probabilidades& pq);

// The labels of every pixel into `etiquetas` (ancho x alto bytes, row after row like the
// negro plane): 1 exactly where p > q, else 0.
void thresh(const Probabilidades& pq, uint8_t* etiquetas);

// One pass over the interior pixels (columns 1..ancho-2, rows 1..alto-2), every new value from
// the old ones; returns the residual, the sum in column order of |p - p'| + |q - q'|.
// `seguir`, when given, is asked after every column; when it returns false the pass stops
// (leaving p and q partly updated) and nothing is returned.
std::optional<double> update(Probabilidades& pq,
                             const std::function<bool(int32_t columna)>& seguir = nullptr);

// The support of the eight neighbours of the pixel in column r and row c for class 0 or 1,
// as one pass computes it. Requires: an interior pixel.
double fQ(const Probabilidades& pq, int r, int c, int Class);
// Compatibility of two classes: 0.9 when equal, -0.9 otherwise.
double fR(int l1, int l2);
// Mean grey level of the image: a 64-bit sum over the single-precision product alto x ancho
// rounded to a 32-bit whole number, in Double.
double mean(const DatosImagen& imagen);
// Smallest and largest grey level of the image.
void minmax(const DatosImagen& imagen, double& gmin, double& gmax);
// Mean, smallest and largest grey level of the window of columns r-10..r+8 and rows
// c-10..c+8 clipped to the image, for the pixel in column r and row c.
void meanminmax(const DatosImagen& imagen, int r, int c, double& media, double& xmin, double& xmax);
// 1 when column i and row j lie inside the image, else 0.
int range(const DatosImagen& imagen, int i, int j);

}  // namespace velarno
