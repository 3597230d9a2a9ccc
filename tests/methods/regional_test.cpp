#include "methods/regional.h"

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "literal_espaciales.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::textoMensajes;

const std::string kCabecera =
    "Iniciando Algoritmo Regional Thresholds.\n========================================\n\n";

DatosImagen columnas(int izquierda, int derecha) {
  std::vector<std::vector<int>> filas(20, std::vector<int>(20, derecha));
  for (auto& fila : filas)
    for (int x = 0; x < 10; ++x) fila[x] = izquierda;
  return imagenDesdeFilas(filas);
}

// The window mean refined on the whole histogram. Mean 127.5 rounds to 128; 127 and 128 then
// alternate for ever. A histogram that does not describe the pixels ends at 255.
TEST(local2, RefinesTheWindowMeanOnTheWholeHistogram) {
  DatosImagen sinHistograma = imagenUniforme(20, 20, 90);
  sinHistograma.histograma.fill(0);
  const std::tuple<DatosImagen, int, bool> casos[] = {{imagenUniforme(20, 20, 0), 0, true},
                                                      {imagenUniforme(20, 20, 255), 255, true},
                                                      {columnas(127, 128), 128, false},
                                                      {sinHistograma, 255, false}};
  for (const auto& [imagen, umbral, estable] : casos) {
    bool asentado = !estable;
    EXPECT_EQ(local2(imagen, 0, 20, 0, 20, &asentado), umbral);
    EXPECT_EQ(asentado, estable) << umbral;
  }
}

TEST(AlgoritmoRegionalThreshold, CancelledThroughProgressWritesOneLine) {
  DatosImagen imagen = imagenAleatoria(30, 30, 3);
  EntornoSimple e(imagen);
  e.setAvancesPermitidos(12);
  bool paso = false;
  EXPECT_EQ(AlgoritmoRegionalThreshold(e, paso), Fin::Cancelado);
  EXPECT_EQ(e.traza().texto(), kCabecera + "Ejecución cancelada por el usuario.\n");
}

struct CasoComparado {
  const char* nombre;
  DatosImagen imagen;
  std::string respuestas;  // "" = straight run
};
void PrintTo(const CasoComparado& caso, std::ostream* os) { *os << caso.nombre; }

class RegionalLiteral : public ::testing::TestWithParam<CasoComparado> {};

TEST_P(RegionalLiteral, SameFlagsTraceAndPromptsAsTheLiteralMethod) {
  const CasoComparado& caso = GetParam();
  DatosImagen rapido = caso.imagen;
  DatosImagen lento = caso.imagen;
  EntornoSimple er(rapido, caso.respuestas);
  EntornoSimple el(lento, caso.respuestas);
  bool pasoR = !caso.respuestas.empty();
  bool pasoL = pasoR;
  EXPECT_EQ(AlgoritmoRegionalThreshold(er, pasoR), Fin::Dibujado);
  literal::RegionalThreshold(el, pasoL);
  EXPECT_EQ(pasoR, pasoL);
  EXPECT_EQ(er.traza().texto(), el.traza().texto());
  EXPECT_EQ(textoMensajes(er), textoMensajes(el));
  EXPECT_EQ(planoNegro(rapido), planoNegro(lento));
  EXPECT_EQ(er.dibujos(), el.dibujos());
}

// Pictures too small for any window; windows that settle and windows that cycle; every local
// threshold written in the step prompts; a No in each phase.
INSTANTIATE_TEST_SUITE_P(
    Casos, RegionalLiteral,
    ::testing::Values(
        CasoComparado{"Random23x21", imagenAleatoria(23, 21, 1), ""},
        CasoComparado{"RandomMedium", imagenAleatoria(97, 61, 2), ""},
        CasoComparado{"RandomNarrowRange", imagenAleatoria(64, 40, 3, 90, 110), ""},
        CasoComparado{"Gradient", degradado(120, 80, 5, 2), ""},
        CasoComparado{"TwoLevelsCycling", imagenAleatoria(30, 25, 4, 127, 128), ""},
        CasoComparado{"OneWide", imagenAleatoria(1, 40, 6), ""},
        CasoComparado{"NineteenHigh", imagenAleatoria(40, 19, 9), ""},
        CasoComparado{"StepAllYesMap", imagenAleatoria(24, 22, 10), std::string(5000, 'S')},
        CasoComparado{"StepCancelInBothPhases", imagenAleatoria(22, 21, 11), "SSSNSSSSN"},
        CasoComparado{"StepTwoLevels", imagenAleatoria(21, 21, 12, 127, 128), "SSN"}),
    [](const auto& p) { return std::string(p.param.nombre); });

}  // namespace
}  // namespace velarno
