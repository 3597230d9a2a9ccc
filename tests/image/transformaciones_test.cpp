#include "image/transformaciones.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "support/imagen_prueba.h"

namespace velarno {
namespace {

// The straightforward readings of the routines, pixel by pixel in the stated loop order:
// the oracles for the fast versions.
void histogramaLiteral(DatosImagen& imagen) {
  imagen.maxHistograma = 0;
  imagen.histograma.fill(0);
  for (int32_t x = 0; x < imagen.ancho; ++x)
    for (int32_t y = 0; y < imagen.alto; ++y) {
      int64_t& cuenta = imagen.histograma[imagen.pixeles.gris(x, y)];
      ++cuenta;
      if (cuenta > imagen.maxHistograma) imagen.maxHistograma = cuenta;
    }
}

void ecualizarLiteral(DatosImagen& imagen) {
  const int64_t n = int64_t{imagen.ancho} * imagen.alto;
  double c[256];
  c[0] = static_cast<double>(imagen.histograma[0]);
  for (size_t i = 1; i < 256; ++i) c[i] = static_cast<double>(imagen.histograma[i]) + c[i - 1];
  for (int32_t x = 0; x < imagen.ancho; ++x)
    for (int32_t y = 0; y < imagen.alto; ++y) {
      const double f = c[imagen.pixeles.gris(x, y)] * 255 / static_cast<double>(n);
      imagen.pixeles.setGris(x, y, static_cast<uint8_t>(std::nearbyint(f)));
    }
}

void binarizarLiteral(DatosImagen& imagen, int64_t umbral) {
  for (int32_t x = 0; x < imagen.ancho; ++x)
    for (int32_t y = 0; y < imagen.alto; ++y)
      imagen.pixeles.setNegro(x, y, imagen.pixeles.gris(x, y) < umbral);
}

// Sizes from a single pixel up, whose counts leave every kind of tail after the fast loops;
// one narrow range so that runs of equal levels fill whole blocks.
struct Tamano {
  int32_t ancho, alto;
  int lo, hi;
};
const Tamano kTamanos[] = {{1, 1, 0, 255},     {1, 7, 0, 255},     {17, 13, 0, 255},
                           {64, 48, 100, 103}, {301, 203, 0, 255}, {5, 999, 250, 255}};

TEST(CalcularHistograma, EqualsThePixelByPixelCount) {
  unsigned semilla = 1;
  for (const Tamano& t : kTamanos) {
    DatosImagen rapida = imagenAleatoria(t.ancho, t.alto, semilla++, t.lo, t.hi);
    rapida.histograma.fill(99);
    DatosImagen lenta = rapida;
    calcularHistograma(rapida);
    histogramaLiteral(lenta);
    EXPECT_EQ(rapida.histograma, lenta.histograma) << t.ancho << "x" << t.alto;
    EXPECT_EQ(rapida.maxHistograma, lenta.maxHistograma) << t.ancho << "x" << t.alto;
  }
}

TEST(Porcentaje, DividesInDoubleAndReturnsASingle) {
  EXPECT_EQ(porcentaje(5, 0), 0.0f);
  EXPECT_EQ(porcentaje(1, 1), 100.0f);
  EXPECT_EQ(porcentaje(1, 3), static_cast<float>(100.0 / 3.0));
  EXPECT_EQ(porcentaje(30'000'000, 120'000'000), 25.0f);  // 3 x 10^9 does not fit in 32 bits
}

TEST(Ecualizar, HalfRoundsToEven) {
  DatosImagen imagen = imagenDesdeFilas({{0, 0}, {255, 255}});
  ecualizar(imagen);
  EXPECT_EQ(planoGris(imagen), (std::vector<uint8_t>{128, 128, 255, 255}));
  EXPECT_EQ(imagen.histograma[0], 2);  // not recomputed
}

// A histogram that no longer describes the levels cannot push a level past white.
TEST(Ecualizar, StaleHistogramStaysWithinTheLevels) {
  DatosImagen imagen = imagenDesdeFilas({{0, 9}});
  imagen.histograma[0] = 5;
  ecualizar(imagen);
  EXPECT_EQ(planoGris(imagen), (std::vector<uint8_t>{255, 255}));
}

TEST(Ecualizar, EqualsThePixelByPixelMapping) {
  unsigned semilla = 20;
  for (const Tamano& t : kTamanos) {
    DatosImagen rapida = imagenAleatoria(t.ancho, t.alto, semilla++, t.lo, t.hi);
    DatosImagen lenta = rapida;
    ecualizar(rapida);
    ecualizarLiteral(lenta);
    EXPECT_EQ(planoGris(rapida), planoGris(lenta)) << t.ancho << "x" << t.alto;
  }
}

// Thresholds outside the levels too: below 0 nothing is black, above 255 everything.
TEST(Binarizar, EqualsThePixelByPixelRule) {
  unsigned semilla = 40;
  for (const Tamano& t : kTamanos)
    for (int64_t umbral : {-4, 0, 1, 101, 255, 256}) {
      DatosImagen rapida = imagenAleatoria(t.ancho, t.alto, semilla++, t.lo, t.hi);
      DatosImagen lenta = rapida;
      binarizar(rapida, umbral);
      binarizarLiteral(lenta, umbral);
      EXPECT_EQ(planoNegro(rapida), planoNegro(lenta)) << t.ancho << "x" << t.alto << " " << umbral;
    }
}

}  // namespace
}  // namespace velarno
