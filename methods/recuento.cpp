#include "recuento.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace velarno {

// Eight bytes are read at a time and spread over four tables, so that runs of equal levels
// do not serialise on one counter. 32-bit table counts are flushed into the 64-bit result
// every block, which keeps them far below their limit for any picture size.
std::array<int64_t, kNivelesGris> recuentoNiveles(const Pixeles& pixeles) {
  constexpr size_t kBloque = size_t{1} << 30;
  std::array<int64_t, kNivelesGris> recuento{};
  const uint8_t* datos = pixeles.planoGris();
  size_t quedan = pixeles.cantidad();
  while (quedan > 0) {
    const size_t cantidad = std::min(quedan, kBloque);
    uint32_t tablas[4][kNivelesGris] = {};
    size_t i = 0;
    for (; i + 8 <= cantidad; i += 8) {
      uint64_t ocho;
      std::memcpy(&ocho, datos + i, sizeof ocho);
      ++tablas[0][ocho & 0xFF];
      ++tablas[1][(ocho >> 8) & 0xFF];
      ++tablas[2][(ocho >> 16) & 0xFF];
      ++tablas[3][(ocho >> 24) & 0xFF];
      ++tablas[0][(ocho >> 32) & 0xFF];
      ++tablas[1][(ocho >> 40) & 0xFF];
      ++tablas[2][(ocho >> 48) & 0xFF];
      ++tablas[3][ocho >> 56];
    }
    for (; i < cantidad; ++i) ++tablas[0][datos[i]];
    for (int g = 0; g < kNivelesGris; ++g)
      recuento[g] += int64_t{tablas[0][g]} + tablas[1][g] + tablas[2][g] + tablas[3][g];
    datos += cantidad;
    quedan -= cantidad;
  }
  return recuento;
}

}  // namespace velarno
