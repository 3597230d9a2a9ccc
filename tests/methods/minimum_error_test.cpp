#include "methods/minimum_error.h"

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::EntornoPrueba;
using prueba::mas;
using prueba::unir;

const std::vector<std::string> kCabecera = {"Iniciando algoritmo Minimo error",
                                            "================================", ""};

struct CasoUmbral {
  const char* nombre;
  std::vector<std::vector<int>> filas;
  int umbral;
  std::vector<std::string> mejoras;  // thresholds of the "Nuevo valor de umbral: " lines
};
void PrintTo(const CasoUmbral& caso, std::ostream* os) { *os << caso.nombre; }

class MinimumErrorUmbral : public ::testing::TestWithParam<CasoUmbral> {};

TEST_P(MinimumErrorUmbral, WholeStraightTrace) {
  EntornoPrueba e(imagenDesdeFilas(GetParam().filas));
  bool paso = false;
  EXPECT_EQ(AlgoritmoMinimumError(e, paso), Fin::Publicado);
  std::vector<std::string> lineas = kCabecera;
  for (const std::string& t : GetParam().mejoras) lineas.push_back("Nuevo valor de umbral: " + t);
  const std::string umbral = std::to_string(GetParam().umbral);
  lineas = mas(lineas, {"umbral: " + umbral, "", "Algoritmo Minimo Error Finalizado."});
  EXPECT_EQ(e.traza().texto(), unir(lineas));
  EXPECT_EQ(e.publicados, std::vector<int>{GetParam().umbral});
  // Published between the empty line and the closing line.
  EXPECT_EQ(e.lineasAlPublicar, std::vector<size_t>{lineas.size() - 1});
  EXPECT_TRUE(e.mensajes().empty());
}

INSTANTIATE_TEST_SUITE_P(Casos, MinimumErrorUmbral,
                         ::testing::Values(
                             // Every J(t) is 1 - 2 N ln N < 0: t = 1 is taken and never beaten.
                             CasoUmbral{"SingleLevel", {{90, 90, 90}}, 1, {"1"}},
                             CasoUmbral{"SingleLevelBlack", {{0, 0}}, 1, {"1"}},
                             // Every J(t) is 1: nothing is below J(0) = 0.
                             CasoUmbral{"OnePixel", {{128}}, 0, {}},
                             // Two single-level classes from a to b - 1 give the least J.
                             CasoUmbral{"EqualSplit", {{10, 20}, {20, 10}}, 10, {"10"}},
                             CasoUmbral{"EqualSplitFromZero", {{0, 0, 5, 5}}, 1, {"1"}},
                             CasoUmbral{"WhiteAndBlack", {{0, 255}, {255, 0}}, 1, {"1"}}),
                         [](const auto& p) { return std::string(p.param.nombre); });

// The six step lines of a threshold with P1, P2, S1, S2 as written.
std::vector<std::string> bloque(int t, const std::string& p1, const std::string& p2,
                                const std::string& s1, const std::string& s2) {
  return {
      "Iteración: " + std::to_string(t), "P1: " + p1, "P2: " + p2, "S1: " + s1, "S2: " + s2, ""};
}

TEST(AlgoritmoMinimumError, NoAtFirstPromptLeavesOneBlockThenCancelLines) {
  EntornoPrueba e(imagenDesdeFilas({{10, 20}, {20, 10}}), "N");
  bool paso = true;
  EXPECT_EQ(AlgoritmoMinimumError(e, paso), Fin::Publicado);
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.traza().texto(), unir(mas(mas(kCabecera, bloque(1, "0", "4", "0", "25")),
                                        {"", "Paso a paso cancelado", "Nuevo valor de umbral: 10",
                                         "umbral: 10", "", "Algoritmo Minimo Error Finalizado."})));
  ASSERT_EQ(e.mensajes().size(), 1u);
  EXPECT_EQ(e.mensajes()[0].titulo, "Paso a paso");
  EXPECT_EQ(e.mensajes()[0].texto, "Iteración: 1\r\rP1: 0\rP2: 4\rS1: 0\rS2: 25");
  EXPECT_EQ(e.mensajes()[0].estilo, 4);
  EXPECT_EQ(e.lineasAlMostrar(), std::vector<size_t>{9});
}

// Cancelling at the threshold that improves: its improvement line follows its block and the
// cancel lines.
TEST(AlgoritmoMinimumError, CancelAtImprovingThreshold) {
  EntornoPrueba e(imagenDesdeFilas({{10, 11, 20, 20}}), std::string(10, 'S') + "N");
  e.setSeparadorDecimal(',');
  bool paso = true;
  AlgoritmoMinimumError(e, paso);
  std::vector<std::string> lineas = kCabecera;
  // Up to t = 9 the dark class is empty; the light class {10, 11, 20, 20} has mean 15.25.
  for (int t = 1; t <= 9; ++t) lineas = mas(lineas, bloque(t, "0", "4", "0", "22,6875"));
  lineas = mas(lineas, bloque(10, "1", "3", "0", "18"));
  lineas = mas(lineas, bloque(11, "2", "2", "0,25", "0"));
  lineas = mas(lineas, {"", "Paso a paso cancelado", "Nuevo valor de umbral: 11", "umbral: 11", "",
                        "Algoritmo Minimo Error Finalizado."});
  EXPECT_EQ(e.traza().texto(), unir(lineas));
  ASSERT_EQ(e.mensajes().size(), 11u);
  EXPECT_EQ(e.mensajes()[9].texto, "Iteración: 10\r\rP1: 1\rP2: 3\rS1: 0\rS2: 18");
  EXPECT_EQ(e.mensajes()[10].texto, "Iteración: 11\r\rP1: 2\rP2: 2\rS1: 0,25\rS2: 0");
}

TEST(AlgoritmoMinimumError, StepRunAnsweredYesAsks255Times) {
  EntornoPrueba e(imagenDesdeFilas({{10, 20}, {20, 10}}), std::string(255, 'S'));
  bool paso = true;
  AlgoritmoMinimumError(e, paso);
  EXPECT_TRUE(paso);
  EXPECT_EQ(e.mensajes().size(), 255u);
  EXPECT_EQ(e.traza().lineas().size(), 3u + 255u * 6u + 4u);
  EXPECT_EQ(e.publicados, std::vector<int>{10});
}

TEST(fJ, SingleLevelClassesGiveTheClosedForms) {
  const DatosImagen imagen = imagenDesdeFilas({{10, 20}, {20, 10}});
  EntornoPrueba e(imagen);
  bool paso = false;
  EXPECT_DOUBLE_EQ(fJ(e, 15, paso), 1 - 2 * 4 * std::log(4.0 / 2));
  EXPECT_EQ(fJ(e, 255, paso), fJ(e, 20, paso));
  EntornoPrueba uno(imagenDesdeFilas({{7}}));
  EXPECT_EQ(fJ(uno, 3, paso), 1.0);
}

TEST(fu2, CountTimesLevelBeyond32Bits) {
  DatosImagen imagen = prueba::imagenDeHistograma(3000, 3001, {{0, 1}, {255, 8'999'999}});
  EXPECT_EQ(fu2(imagen.histograma, 0), 255.0);
  EXPECT_EQ(fu1(imagen.histograma, 255), 255.0 * 8'999'999 / 9'000'000);
  EXPECT_EQ(fs2(imagen.histograma, 0), 0.0);
  EXPECT_EQ(fP1(imagen.histograma, 255), 9'000'000.0);
}

TEST(flog, GuardsNonPositive) {
  EXPECT_EQ(flog(0), 0.0);
  EXPECT_EQ(flog(-3), 0.0);
  EXPECT_EQ(flog(1), 0.0);
  EXPECT_EQ(flog(std::exp(2.0)), std::log(std::exp(2.0)));
}

}  // namespace
}  // namespace velarno
