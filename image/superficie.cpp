#include "image/superficie.h"

namespace velarno {

void Superficie::escribirGrises(const uint8_t* gris, size_t paso, int32_t ancho, int32_t alto) {
  for (int32_t y = 0; y < alto; ++y) {
    const uint8_t* fila = gris + static_cast<size_t>(y) * paso;
    for (int32_t x = 0; x < ancho; ++x) ponerPixel(x, y, rgb(fila[x], fila[x], fila[x]));
  }
}

void Superficie::escribirBlancoNegro(const uint8_t* negro, size_t paso, int32_t ancho,
                                     int32_t alto) {
  for (int32_t y = 0; y < alto; ++y) {
    const uint8_t* fila = negro + static_cast<size_t>(y) * paso;
    for (int32_t x = 0; x < ancho; ++x) ponerPixel(x, y, fila[x] != 0 ? kNegro : kBlanco);
  }
}

const uint32_t* Superficie::filaRGB32(int32_t) const { return nullptr; }

}  // namespace velarno
