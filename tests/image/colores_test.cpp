#include "image/colores.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace velarno {
namespace {

// The rule written out plainly: bytes taken with shifts, the Double sum in the stated order,
// rounded half to even.
int32_t grisLiteral(int r, int g, int b) {
  const double suma = 0.587 * g + 0.299 * r + 0.114 * b;
  return static_cast<int32_t>(std::nearbyint(suma));
}

struct CasoColor {
  const char* nombre;
  Color color;
  int32_t gris;
};
void PrintTo(const CasoColor& c, std::ostream* os) { *os << c.nombre; }

class NivelGrisCaso : public ::testing::TestWithParam<CasoColor> {};

TEST_P(NivelGrisCaso, GivesTheLevel) { EXPECT_EQ(nivelGris(GetParam().color), GetParam().gris); }

INSTANTIATE_TEST_SUITE_P(
    Colores, NivelGrisCaso,
    ::testing::Values(CasoColor{"Red", rgb(255, 0, 0), 76}, CasoColor{"Green", rgb(0, 255, 0), 150},
                      CasoColor{"Blue", rgb(0, 0, 255), 29},
                      CasoColor{"White", rgb(255, 255, 255), 255},
                      CasoColor{"Black", rgb(0, 0, 0), 0}, CasoColor{"Ones", rgb(1, 1, 1), 1},
                      CasoColor{"Nearly white", rgb(254, 254, 254), 254},
                      // -1 / 256 truncates to 0: only the red byte survives.
                      CasoColor{"OutsideTheSurface", -1, 76},
                      CasoColor{"HighByteIgnored", 0x7F000000 | rgb(0, 255, 0), 150}),
    [](const auto& p) {
      std::string s = p.param.nombre;
      for (char& c : s)
        if (c == ' ') c = '_';
      return s;
    });

// Every colour, through both the one-colour rule and the bulk kernel (with Qt's byte order
// and an arbitrary alpha byte), against the plain formula.
TEST(NivelGris, EveryColourMatchesTheFormula) {
  constexpr uint32_t kColores = 1U << 24;
  std::vector<uint32_t> qt(kColores);
  std::vector<uint8_t> esperado(kColores);
  int32_t fallosUno = 0;
  for (uint32_t c = 0; c < kColores; ++c) {
    const int r = static_cast<int>(c & 255U);
    const int g = static_cast<int>((c >> 8) & 255U);
    const int b = static_cast<int>((c >> 16) & 255U);
    const int32_t gris = grisLiteral(r, g, b);
    esperado[c] = static_cast<uint8_t>(gris);
    if (nivelGris(static_cast<Color>(c)) != gris) ++fallosUno;
    const uint32_t alfa = (c * 2654435761U) & 0xFF000000U;
    qt[c] = alfa | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
            static_cast<uint32_t>(b);
  }
  EXPECT_EQ(fallosUno, 0);
  std::vector<uint8_t> grises(kColores, 0xAA);
  grisesDesdeRGB32(qt.data(), grises.data(), kColores);
  int32_t fallosBloque = 0;
  for (uint32_t c = 0; c < kColores; ++c)
    if (grises[c] != esperado[c]) ++fallosBloque;
  EXPECT_EQ(fallosBloque, 0);
}

// Lengths that leave every possible tail after the vector loop, at unaligned starts; bytes
// beyond n stay untouched.
TEST(GrisesDesdeRGB32, AnyLengthAndOffset) {
  std::mt19937 azar(7);
  std::vector<uint32_t> origen(200);
  for (uint32_t& p : origen) p = static_cast<uint32_t>(azar());
  for (size_t inicio = 0; inicio < 4; ++inicio)
    for (size_t n = 0; n <= 130; ++n) {
      std::vector<uint8_t> destino(n + 8, 0xEE);
      grisesDesdeRGB32(origen.data() + inicio, destino.data() + 1, n);
      for (size_t i = 0; i < n; ++i) {
        const uint32_t p = origen[inicio + i];
        ASSERT_EQ(destino[i + 1],
                  grisLiteral(static_cast<int>((p >> 16) & 255U), static_cast<int>((p >> 8) & 255U),
                              static_cast<int>(p & 255U)))
            << "n=" << n << " i=" << i;
      }
      EXPECT_EQ(destino[0], 0xEE);
      EXPECT_EQ(destino[n + 1], 0xEE);
    }
}

}  // namespace
}  // namespace velarno
