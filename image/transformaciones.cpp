#include "image/transformaciones.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>

#include "image/representaciones.h"

namespace velarno {

namespace {

// negro = gris < umbral over n bytes; a plain byte loop the compiler vectorises, built for
// several instruction sets (wider vectors halve the time on a 12 MP picture).
__attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4"))) void umbralizar(
    const uint8_t* gris, uint8_t* negro, size_t n, int64_t umbral) {
  if (umbral <= 0) {
    std::memset(negro, 0, n);
    return;
  }
  if (umbral > 255) {
    std::memset(negro, 1, n);
    return;
  }
  const auto t = static_cast<uint8_t>(umbral);
  for (size_t i = 0; i < n; ++i) negro[i] = static_cast<uint8_t>(gris[i] < t);
}

}  // namespace

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

void calcularHistograma(DatosImagen& imagen) {
  imagen.histograma = recuentoNiveles(imagen.pixeles);
  // Counting pixel by pixel keeps the running maximum; the largest final count is the same.
  imagen.maxHistograma = *std::max_element(imagen.histograma.begin(), imagen.histograma.end());
}

float porcentaje(int64_t parte, int64_t total) {
  if (total < 1) return 0;
  return static_cast<float>(static_cast<double>(parte * 100) / static_cast<double>(total));
}

void ecualizar(DatosImagen& imagen) {
  const int64_t n = int64_t{imagen.ancho} * int64_t{imagen.alto};
  if (n < 1) return;
  // The mapping depends only on the old level, so it is worked out once per level; the
  // pixels are then mapped in memory order, which gives the same result as any other order.
  std::array<uint8_t, kNivelesGris> nuevo{};
  double acumulado = 0;
  for (int nivel = 0; nivel < kNivelesGris; ++nivel) {
    const auto k = static_cast<size_t>(nivel);
    acumulado = static_cast<double>(imagen.histograma[k]) + acumulado;
    const double f = acumulado * 255 / static_cast<double>(n);
    // A histogram that describes the levels keeps f within 0..255; a stale one is clamped
    // rather than let a level wrap around.
    nuevo[k] = static_cast<uint8_t>(std::clamp(std::nearbyint(f), 0.0, 255.0));
  }
  uint8_t* gris = imagen.pixeles.planoGris();
  const size_t cantidad = imagen.pixeles.cantidad();
  for (size_t i = 0; i < cantidad; ++i) gris[i] = nuevo[gris[i]];
}

bool esNegro(const Pixel& pixel, int64_t umbral) { return pixel.gris < umbral; }

void binarizar(DatosImagen& imagen, int64_t umbral) {
  umbralizar(imagen.pixeles.planoGris(), imagen.pixeles.planoNegro(), imagen.pixeles.cantidad(),
             umbral);
}

}  // namespace velarno
