#include "image/colores.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace velarno {
namespace {

// The rule written out plainly: the Double sum in the stated order, rounded half to even.
int32_t grisLiteral(uint32_t r, uint32_t g, uint32_t b) {
  return static_cast<int32_t>(std::nearbyint(0.587 * g + 0.299 * r + 0.114 * b));
}

// Every colour, through both the one-colour rule and the bulk kernel (with Qt's byte order
// and an arbitrary alpha byte), against the plain formula.
TEST(NivelGris, EveryColourMatchesTheFormula) {
  constexpr uint32_t kColores = 1U << 24;
  std::vector<uint32_t> qt(kColores);
  int32_t fallosUno = 0;
  for (uint32_t c = 0; c < kColores; ++c) {
    const uint32_t r = c & 255U, g = (c >> 8) & 255U, b = (c >> 16) & 255U;
    if (nivelGris(static_cast<Color>(c)) != grisLiteral(r, g, b)) ++fallosUno;
    qt[c] = ((c * 2654435761U) & 0xFF000000U) | (r << 16) | (g << 8) | b;
  }
  EXPECT_EQ(fallosUno, 0);
  std::vector<uint8_t> grises(kColores, 0xAA);
  grisesDesdeRGB32(qt.data(), grises.data(), kColores);
  int32_t fallosBloque = 0;
  for (uint32_t c = 0; c < kColores; ++c)
    if (grises[c] != grisLiteral(c & 255U, (c >> 8) & 255U, (c >> 16) & 255U)) ++fallosBloque;
  EXPECT_EQ(fallosBloque, 0);
}

TEST(NivelGris, OnlyTheThreeLowBytesCount) {
  EXPECT_EQ(nivelGris(-1), 76);  // a read outside a surface: -1 / 256 truncates to 0, red 255
  EXPECT_EQ(nivelGris(0x7F000000 | rgb(0, 255, 0)), 150);
}

// Lengths that leave every possible tail after the vector loop, at unaligned starts; bytes
// beyond n stay untouched.
TEST(GrisesDesdeRGB32, AnyLengthAndOffset) {
  std::mt19937 azar(7);
  std::vector<uint32_t> origen(200);
  for (uint32_t& p : origen) p = static_cast<uint32_t>(azar());
  for (size_t inicio = 0; inicio < 4; ++inicio)
    for (size_t n = 0; n <= 130; ++n) {
      std::vector<uint8_t> destino(n + 2, 0xEE);
      grisesDesdeRGB32(origen.data() + inicio, destino.data() + 1, n);
      for (size_t i = 0; i < n; ++i) {
        const uint32_t p = origen[inicio + i];
        ASSERT_EQ(destino[i + 1], grisLiteral((p >> 16) & 255U, (p >> 8) & 255U, p & 255U))
            << "n=" << n << " i=" << i;
      }
      EXPECT_EQ(destino[0], 0xEE);
      EXPECT_EQ(destino[n + 1], 0xEE);
    }
}

}  // namespace
}  // namespace velarno
