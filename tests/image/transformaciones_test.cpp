#include "image/transformaciones.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/imagen_prueba.h"
#include "support/superficie_grabadora.h"

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
      imagen.pixeles.setNegro(x, y, esNegro(imagen.pixeles(x, y), umbral));
}

std::vector<uint8_t> negros(const DatosImagen& imagen) {
  const uint8_t* p = imagen.pixeles.planoNegro();
  return {p, p + imagen.pixeles.cantidad()};
}

std::vector<uint8_t> grises(const DatosImagen& imagen) {
  const uint8_t* p = imagen.pixeles.planoGris();
  return {p, p + imagen.pixeles.cantidad()};
}

struct Tamano {
  int32_t ancho, alto;
  int lo, hi;
};
const Tamano kTamanos[] = {{1, 1, 0, 255},    {3, 1, 0, 255},     {1, 7, 0, 255},
                           {17, 13, 0, 255},  {64, 48, 100, 103}, {301, 203, 0, 255},
                           {5, 999, 250, 255}};

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

TEST(CalcularHistograma, EmptyRecordHasNoCounts) {
  DatosImagen imagen;
  imagen.histograma.fill(5);
  imagen.maxHistograma = 5;
  calcularHistograma(imagen);
  EXPECT_EQ(imagen.maxHistograma, 0);
  for (int64_t c : imagen.histograma) EXPECT_EQ(c, 0);
}

struct CasoPorcentaje {
  const char* nombre;
  int64_t parte, total;
  float esperado;
};
void PrintTo(const CasoPorcentaje& c, std::ostream* os) { *os << c.nombre; }
class Porcentaje : public ::testing::TestWithParam<CasoPorcentaje> {};

TEST_P(Porcentaje, DividesInDoubleAndReturnsASingle) {
  EXPECT_EQ(porcentaje(GetParam().parte, GetParam().total), GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Porcentaje,
    ::testing::Values(CasoPorcentaje{"NoTotal", 5, 0, 0.0f},
                      CasoPorcentaje{"NegativeTotal", 5, -3, 0.0f},
                      CasoPorcentaje{"Whole", 1, 1, 100.0f},
                      CasoPorcentaje{"Third", 1, 3, static_cast<float>(100.0 / 3.0)},
                      // 30 million x 100 does not fit in 32 bits.
                      CasoPorcentaje{"LargeLevel", 30'000'000, 120'000'000, 25.0f},
                      CasoPorcentaje{"WholePicture", 100'000'000, 100'000'000, 100.0f}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(Ecualizar, HalfRoundsToEven) {
  DatosImagen imagen = imagenDesdeFilas({{0, 0}, {255, 255}});
  ecualizar(imagen);
  EXPECT_EQ(grises(imagen), (std::vector<uint8_t>{128, 128, 255, 255}));
  EXPECT_EQ(imagen.histograma[0], 2);  // not recomputed
}

TEST(Ecualizar, OneLevelBecomesWhite) {
  DatosImagen imagen = imagenUniforme(3, 2, 40);
  ecualizar(imagen);
  EXPECT_EQ(grises(imagen), std::vector<uint8_t>(6, 255));
}

// A histogram that no longer describes the levels cannot push a level past white.
TEST(Ecualizar, StaleHistogramStaysWithinTheLevels) {
  DatosImagen imagen = imagenDesdeFilas({{0, 9}});
  imagen.histograma[0] = 5;
  ecualizar(imagen);
  EXPECT_EQ(grises(imagen), (std::vector<uint8_t>{255, 255}));
}

TEST(Ecualizar, EqualsThePixelByPixelMapping) {
  unsigned semilla = 20;
  for (const Tamano& t : kTamanos) {
    DatosImagen rapida = imagenAleatoria(t.ancho, t.alto, semilla++, t.lo, t.hi);
    DatosImagen lenta = rapida;
    ecualizar(rapida);
    ecualizarLiteral(lenta);
    EXPECT_EQ(grises(rapida), grises(lenta)) << t.ancho << "x" << t.alto;
  }
}

struct CasoUmbral {
  const char* nombre;
  int64_t umbral;
  std::vector<uint8_t> negros;  // of the levels 0, 1, 127, 128, 254, 255
};
void PrintTo(const CasoUmbral& c, std::ostream* os) { *os << c.nombre; }
class Binarizar : public ::testing::TestWithParam<CasoUmbral> {};

TEST_P(Binarizar, BlackStrictlyBelowTheThreshold) {
  DatosImagen imagen = imagenDesdeFilas({{0, 1, 127, 128, 254, 255}});
  imagen.pixeles.setNegro(5, 0, true);
  binarizar(imagen, GetParam().umbral);
  EXPECT_EQ(negros(imagen), GetParam().negros);
}

INSTANTIATE_TEST_SUITE_P(Casos, Binarizar,
                         ::testing::Values(CasoUmbral{"ZeroAllWhite", 0, {0, 0, 0, 0, 0, 0}},
                                           CasoUmbral{"One", 1, {1, 0, 0, 0, 0, 0}},
                                           CasoUmbral{"Middle", 128, {1, 1, 1, 0, 0, 0}},
                                           CasoUmbral{"TopKeeps255White", 255, {1, 1, 1, 1, 1, 0}},
                                           CasoUmbral{"Negative", -4, {0, 0, 0, 0, 0, 0}},
                                           CasoUmbral{"AboveTheLevels", 256, {1, 1, 1, 1, 1, 1}}),
                         [](const auto& p) { return std::string(p.param.nombre); });

TEST(Binarizar, EqualsThePixelByPixelRule) {
  unsigned semilla = 40;
  for (const Tamano& t : kTamanos)
    for (int64_t umbral : {0, 1, 101, 128, 200, 255}) {
      DatosImagen rapida = imagenAleatoria(t.ancho, t.alto, semilla++, t.lo, t.hi);
      DatosImagen lenta = rapida;
      binarizar(rapida, umbral);
      binarizarLiteral(lenta, umbral);
      EXPECT_EQ(negros(rapida), negros(lenta)) << t.ancho << "x" << t.alto << " " << umbral;
    }
}

}  // namespace
}  // namespace velarno
