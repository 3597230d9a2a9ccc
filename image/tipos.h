#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>

#include "image/plano.h"

namespace velarno {

// Largest picture the system holds: width x height and each side.
inline constexpr int64_t kMaxPixeles = 100'000'000;
inline constexpr int32_t kMaxLado = 65'500;
inline constexpr int kNivelesGris = 256;

// One pixel as a value: its grey level (always 0..255) and whether it is black in the
// binarized image.
struct Pixel {
  uint8_t gris = 0;
  bool negro = false;
};

// The pixel matrix of an image record, indexed (x, y): x the column, y the row.
// Stored as two contiguous byte planes in row order (index y * ancho + x) so that the hot
// loops (histogram, binarization, drawing) run over plain bytes; `negro` bytes are 0 or 1.
class Pixeles {
 public:
  Pixeles() = default;
  // A new matrix of ancho x alto pixels, every gris 0 and every negro false.
  Pixeles(int32_t ancho, int32_t alto)
      : ancho_(ancho),
        alto_(alto),
        gris_(static_cast<size_t>(ancho) * static_cast<size_t>(alto)),
        negro_(gris_.size()) {}

  int32_t ancho() const { return ancho_; }
  int32_t alto() const { return alto_; }
  size_t cantidad() const { return gris_.size(); }
  bool vacia() const { return gris_.empty(); }

  uint8_t gris(int32_t x, int32_t y) const { return gris_[indice(x, y)]; }
  bool negro(int32_t x, int32_t y) const { return negro_[indice(x, y)] != 0; }
  Pixel operator()(int32_t x, int32_t y) const { return {gris(x, y), negro(x, y)}; }
  void setGris(int32_t x, int32_t y, uint8_t g) { gris_[indice(x, y)] = g; }
  void setNegro(int32_t x, int32_t y, bool n) { negro_[indice(x, y)] = n ? 1 : 0; }

  // Raw planes, row after row; row y starts at y * ancho().
  uint8_t* planoGris() { return gris_.data(); }
  const uint8_t* planoGris() const { return gris_.data(); }
  uint8_t* planoNegro() { return negro_.data(); }
  const uint8_t* planoNegro() const { return negro_.data(); }
  uint8_t* filaGris(int32_t y) { return gris_.data() + indice(0, y); }
  const uint8_t* filaGris(int32_t y) const { return gris_.data() + indice(0, y); }
  uint8_t* filaNegro(int32_t y) { return negro_.data() + indice(0, y); }
  const uint8_t* filaNegro(int32_t y) const { return negro_.data() + indice(0, y); }

 private:
  size_t indice(int32_t x, int32_t y) const {
    assert(x >= 0 && x < ancho_ && y >= 0 && y < alto_);
    return static_cast<size_t>(y) * static_cast<size_t>(ancho_) + static_cast<size_t>(x);
  }

  int32_t ancho_ = 0;
  int32_t alto_ = 0;
  Plano gris_;
  Plano negro_;
};

// The image record: the grey image every operation works on. A value: copying it copies the
// histogram and the whole pixel matrix. Widths are whole pixel counts (kept as integers; where
// a trace writes a product of the two as a Single, the method forms that product itself).
// Counts are 64-bit so that no picture size can overflow them.
struct DatosImagen {
  int32_t ancho = 0;
  int32_t alto = 0;
  int64_t maxHistograma = 0;
  std::array<int64_t, kNivelesGris> histograma{};
  Pixeles pixeles;
};

}  // namespace velarno
