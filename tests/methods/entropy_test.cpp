#include "methods/entropy.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::EntornoPrueba;
using prueba::unir;

std::string trazaRecta(int umbral) {
  return unir({"Iniciando Algoritmo Entropy", "===========================", "",
               "Umbral encontrado: " + std::to_string(umbral), "",
               "Algoritmo entropy Finalizado."});
}

struct CasoUmbral {
  const char* nombre;
  std::vector<std::vector<int>> filas;
  int umbral;
};
void PrintTo(const CasoUmbral& caso, std::ostream* os) { *os << caso.nombre; }

class EntropyUmbral : public ::testing::TestWithParam<CasoUmbral> {};

TEST_P(EntropyUmbral, PublishesBeforeClosingLines) {
  EntornoPrueba e(imagenDesdeFilas(GetParam().filas));
  bool paso = false;
  EXPECT_EQ(AlgoritmoEntropy(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(), trazaRecta(GetParam().umbral));
  EXPECT_EQ(e.publicados, std::vector<int>{GetParam().umbral});
  EXPECT_EQ(e.lineasAlPublicar, std::vector<size_t>{3});
  EXPECT_TRUE(e.mensajes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, EntropyUmbral,
    ::testing::Values(
        // Every H(t) is 0: nothing improves on t = 0.
        CasoUmbral{"SingleLevel", {{90, 90}, {90, 90}}, 0},
        CasoUmbral{"SingleLevelWhite", {{255}}, 0},
        // Equal halves a < b: ln 2 below a and from b on, 0 between; the lowest maximum wins.
        CasoUmbral{"EqualSplitAboveZero", {{40, 200}, {200, 40}}, 0},
        CasoUmbral{"EqualSplitFromZero", {{0, 0, 200, 200}}, 200},
        // p = 1/4, 1/4, 1/2: H(1) = ln 2 beats H(0), the whole distribution at t = 2 beats both.
        CasoUmbral{"ThreeLevels", {{0, 1, 2, 2}}, 2},
        // The same levels shifted up: t = 0 (empty dark class) already scores the whole entropy,
        // which later thresholds only equal.
        CasoUmbral{"ShiftedThreeLevels", {{10, 11, 12, 12}}, 0}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(AlgoritmoEntropy, StepPromptsAtEveryImprovement) {
  EntornoPrueba e(imagenDesdeFilas({{0, 1, 2, 2}}), "SS");
  bool paso = true;
  EXPECT_EQ(AlgoritmoEntropy(e, paso), Fin::Publicado);
  EXPECT_TRUE(paso);
  ASSERT_EQ(e.mensajes().size(), 2u);
  EXPECT_EQ(e.mensajes()[0].titulo, "Paso a paso");
  EXPECT_EQ(e.mensajes()[0].texto, "Nuevo valor de umbral: 1\r\r¿Continuar Paso a paso?");
  EXPECT_EQ(e.mensajes()[0].estilo, 4);
  EXPECT_EQ(e.mensajes()[1].texto, "Nuevo valor de umbral: 2\r\r¿Continuar Paso a paso?");
  EXPECT_EQ(e.traza().texto(), trazaRecta(2));
}

TEST(AlgoritmoEntropy, NoAtFirstPromptCancelsOnceAndKeepsResult) {
  EntornoPrueba e(imagenDesdeFilas({{0, 1, 2, 2}}), "N");
  bool paso = true;
  EXPECT_EQ(AlgoritmoEntropy(e, paso), Fin::Publicado);
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.mensajes().size(), 1u);
  EXPECT_EQ(e.traza().texto(), unir({"Iniciando Algoritmo Entropy",
                                     "===========================", "", "Paso a paso cancelado", "",
                                     "Umbral encontrado: 2", "", "Algoritmo entropy Finalizado."}));
  EXPECT_EQ(e.publicados, std::vector<int>{2});
  EXPECT_EQ(e.lineasAlPublicar, std::vector<size_t>{5});
}

TEST(AlgoritmoEntropy, NoImprovementShowsNoPrompt) {
  EntornoPrueba e(imagenUniforme(3, 2, 17), "S");
  bool paso = true;
  AlgoritmoEntropy(e, paso);
  EXPECT_TRUE(e.mensajes().empty());
  EXPECT_EQ(e.traza().texto(), trazaRecta(0));
}

// The recount must give the very fractions of adding 1 per pixel in column order.
TEST(histogramC, MatchesPixelByPixelCount) {
  for (const auto& [ancho, alto] : std::vector<std::pair<int, int>>{{1, 1}, {7, 3}, {61, 37}}) {
    const DatosImagen imagen = imagenAleatoria(ancho, alto, 11u + static_cast<unsigned>(ancho));
    HistogramaNormalizado literal{};
    const int64_t n = static_cast<int64_t>(ancho) * alto;
    for (int32_t x = 0; x < imagen.ancho; ++x)
      for (int32_t y = 0; y < imagen.alto; ++y) literal[imagen.pixeles.gris(x, y)] += 1;
    for (double& v : literal) v = v / static_cast<double>(n);
    literal[256] = 0;
    HistogramaNormalizado rapido{};
    histogramC(imagen, rapido);
    EXPECT_EQ(rapido, literal) << ancho << "x" << alto;
  }
}

struct CasoCuenta {
  int32_t ancho, alto;
  double n;  // width x height as a Single, rounded to a whole count
};
void PrintTo(const CasoCuenta& caso, std::ostream* os) { *os << caso.ancho << "x" << caso.alto; }

class histogramCCuenta : public ::testing::TestWithParam<CasoCuenta> {};

// The fractions divide by the single-precision product: above 2^24 pixels an odd count is
// rounded half to even, so one level holding every pixel gets a fraction just off 1.
TEST_P(histogramCCuenta, DividesByTheSinglePrecisionProduct) {
  const CasoCuenta& caso = GetParam();
  HistogramaNormalizado p{};
  histogramC(prueba::imagenLlena(caso.ancho, caso.alto, 77), p);
  EXPECT_EQ(p[77], static_cast<double>(int64_t{caso.ancho} * caso.alto) / caso.n);
  EXPECT_EQ(p[76], 0.0);
}

INSTANTIATE_TEST_SUITE_P(Casos, histogramCCuenta,
                         ::testing::Values(CasoCuenta{4097, 4097, 16'785'408},  // down
                                           CasoCuenta{4097, 4099, 16'793'604},  // up
                                           CasoCuenta{4096, 4097, 16'781'312},  // exact
                                           CasoCuenta{61, 37, 2'257}));

TEST(entropy, EmptyLevelOrClassAddsNothing) {
  HistogramaNormalizado p{};
  p[3] = 0.25;
  EXPECT_EQ(entropy(p, 4, 0.5), 0.0);
  EXPECT_EQ(entropy(p, 3, 0.0), 0.0);
  EXPECT_EQ(entropy(p, 3, -1e-17), 0.0);
  EXPECT_DOUBLE_EQ(entropy(p, 3, 0.5), 0.5 * std::log(2.0));
}

}  // namespace
}  // namespace velarno
