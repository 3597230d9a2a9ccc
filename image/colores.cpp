#include "image/colores.h"

#include <cmath>

namespace velarno {

namespace {

// Adding 2^52 + 2^51 to a value of magnitude below 2^51 leaves a double whose unit in the last
// place is 1, so the addition itself rounds to a whole number in the current rounding mode
// (halves to even by default), exactly as std::nearbyint would; subtracting it back is exact.
// Unlike nearbyint this vectorises without SSE4.1's round instructions.
constexpr double kRedondeo = 6755399441055744.0;

}  // namespace

int32_t nivelGris(Color color) {
  // Truncating division, as the colour may be -1 (a read outside a surface): R = 255, G = B = 0.
  const int32_t r = color & 255;
  const int32_t g = (color / 256) & 255;
  const int32_t b = (color / 65536) & 255;
  const double gris = 0.587 * g + 0.299 * r + 0.114 * b;
  return static_cast<int32_t>(std::nearbyint(gris));
}

// The products are formed from exact small integers in Double with the same constants as
// nivelGris, and summed in the same order, so each pixel gets the very same value; only the
// final rounding is done with kRedondeo. Built for several instruction sets: the Double work
// needs wide vectors to keep up with the memory.
__attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4"))) void grisesDesdeRGB32(
    const uint32_t* origen, uint8_t* destino, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const uint32_t p = origen[i];
    const double r = static_cast<double>(static_cast<int32_t>((p >> 16) & 255U));
    const double g = static_cast<double>(static_cast<int32_t>((p >> 8) & 255U));
    const double b = static_cast<double>(static_cast<int32_t>(p & 255U));
    const double gris = 0.587 * g + 0.299 * r + 0.114 * b;
    const double entero = (gris + kRedondeo) - kRedondeo;
    destino[i] = static_cast<uint8_t>(static_cast<int32_t>(entero));
  }
}

}  // namespace velarno
