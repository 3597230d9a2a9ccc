#include "methods/regional.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "literal_espaciales.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::degradado;
using prueba::EntornoPrueba;
using prueba::planoNegro;
using prueba::textoMensajes;

const std::string kCabecera =
    "Iniciando Algoritmo Regional Thresholds.\n"
    "========================================\n"
    "\n";
const std::string kCierre = "Algoritmo Regional Thresholds Finalizado.\n";
const std::string kSinAsentar =
    "Aviso: en algunas ventanas el umbral no se estabilizó en 1000 pasadas; se usa su último "
    "valor.\n";
const std::string kAtencion =
    "Atencion|64|1|Este algoritmos puede tardar varios minutos en ejecutarse\n";

// 20 x 20: columns 0..9 at level 50, the rest at 200, and pixel (10, 10) at 50.
DatosImagen veinte() {
  std::vector<std::vector<int>> filas(20, std::vector<int>(20, 200));
  for (auto& fila : filas)
    for (int x = 0; x < 10; ++x) fila[static_cast<size_t>(x)] = 50;
  filas[10][10] = 50;
  return imagenDesdeFilas(filas);
}

int negros(const DatosImagen& imagen) {
  int cuenta = 0;
  for (uint8_t n : planoNegro(imagen)) cuenta += n;
  return cuenta;
}

TEST(AlgoritmoRegionalThreshold, StraightRunWritesFourLinesAfterTheBox) {
  DatosImagen imagen = veinte();
  EntornoPrueba e(imagen);
  bool paso = false;
  EXPECT_EQ(AlgoritmoRegionalThreshold(e, paso), Fin::Dibujado);
  EXPECT_EQ(e.traza().texto(), kCabecera + kCierre);
  EXPECT_EQ(textoMensajes(e.mensajes()), kAtencion);
  EXPECT_EQ(e.dibujos, 1);
  EXPECT_TRUE(e.publicados.empty());
  // One window, for (10, 10): threshold 125, and only that pixel can be black.
  EXPECT_EQ(negros(imagen), 1);
  EXPECT_TRUE(imagen.pixeles.negro(10, 10));
}

TEST(AlgoritmoRegionalThreshold, StepRunPromptsAgainInTheSecondPhase) {
  DatosImagen imagen = veinte();
  EntornoPrueba e(imagen, "NSN");
  bool paso = true;
  AlgoritmoRegionalThreshold(e, paso);
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.traza().texto(), kCabecera +
                                   "Valor para el pixel (10,10): 125\n\n"
                                   "\nPaso a paso cancelado.\n\n"
                                   "Pixel (0,0): 50\nValor local: 0\nPixel convertido a: Blanco\n\n"
                                   "Pixel (0,1): 50\nValor local: 0\nPixel convertido a: Blanco\n\n"
                                   "\npaso a paso cancelado\n\n" +
                                   kCierre);
  EXPECT_EQ(
      textoMensajes(e.mensajes()),
      kAtencion +
          "Paso a paso|4|7|Valor para el pixel (10,10): 125\n"
          "Paso a paso|4|6|Pixel (0,0): 50\\rValor local: 0\\r\\rPixel convertido a: Blanco\n"
          "Paso a paso|4|7|Pixel (0,1): 50\\rValor local: 0\\r\\rPixel convertido a: Blanco\n");
  EXPECT_EQ(e.dibujos, 1);
  EXPECT_EQ(negros(imagen), 1);
}

TEST(AlgoritmoRegionalThreshold, FrameOfTheImageIsAlwaysWhite) {
  DatosImagen imagen = imagenAleatoria(45, 33, 11);
  for (int32_t y = 0; y < imagen.alto; ++y)
    for (int32_t x = 0; x < imagen.ancho; ++x) imagen.pixeles.setNegro(x, y, true);
  EntornoPrueba e(imagen);
  bool paso = false;
  AlgoritmoRegionalThreshold(e, paso);
  for (int32_t y = 0; y < imagen.alto; ++y)
    for (int32_t x = 0; x < imagen.ancho; ++x) {
      const bool marco = y < 10 || y > imagen.alto - 10 || x < 10 || x > imagen.ancho - 10;
      EXPECT_FALSE(marco && imagen.pixeles.negro(x, y)) << x << "," << y;
    }
  EXPECT_GT(negros(imagen), 0);
}

struct CasoLocal2 {
  const char* nombre;
  DatosImagen imagen;
  int umbral;
  bool estable;
};

class Local2 : public ::testing::TestWithParam<CasoLocal2> {};

TEST_P(Local2, RefinesTheWindowMeanOnTheWholeHistogram) {
  const CasoLocal2& caso = GetParam();
  bool estable = !caso.estable;
  EXPECT_EQ(local2(caso.imagen, 0, 20, 0, 20, &estable), caso.umbral);
  EXPECT_EQ(estable, caso.estable);
}

DatosImagen columnas(int izquierda, int derecha) {
  std::vector<std::vector<int>> filas(20, std::vector<int>(20, derecha));
  for (auto& fila : filas)
    for (int x = 0; x < 10; ++x) fila[static_cast<size_t>(x)] = izquierda;
  return imagenDesdeFilas(filas);
}

DatosImagen sinHistograma() {
  DatosImagen imagen = imagenUniforme(20, 20, 90);
  imagen.histograma.fill(0);
  return imagen;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Local2,
    ::testing::Values(CasoLocal2{"ConstantLevel", imagenUniforme(20, 20, 77), 77, true},
                      CasoLocal2{"ConstantZero", imagenUniforme(20, 20, 0), 0, true},
                      CasoLocal2{"ConstantWhite", imagenUniforme(20, 20, 255), 255, true},
                      CasoLocal2{"TwoDistantLevels", columnas(50, 200), 125, true},
                      // Mean 127.5 rounds to 128; 127 and 128 then alternate for ever.
                      CasoLocal2{"AdjacentLevelsEvenUpperCycle", columnas(127, 128), 128, false},
                      CasoLocal2{"AdjacentLevelsOddUpperSettle", columnas(126, 127), 126, true},
                      CasoLocal2{"HistogramNotDescribingPixels", sinHistograma(), 255, false}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(AlgoritmoRegionalThreshold, UnsettledWindowsGetOneLineBeforeTheClosingLine) {
  DatosImagen imagen = imagenAleatoria(26, 24, 5, 127, 128);
  EntornoPrueba e(imagen);
  bool paso = false;
  AlgoritmoRegionalThreshold(e, paso);
  EXPECT_EQ(e.traza().texto(), kCabecera + kSinAsentar + kCierre);
}

struct CasoConstante {
  const char* nombre;
  int gris;
};

class RegionalConstante : public ::testing::TestWithParam<CasoConstante> {};

TEST_P(RegionalConstante, EveryThresholdIsTheLevelAndAllIsWhite) {
  DatosImagen imagen = imagenUniforme(23, 21, GetParam().gris);
  EntornoPrueba e(imagen, std::string(200, 'S'));
  bool paso = true;
  AlgoritmoRegionalThreshold(e, paso);
  EXPECT_EQ(negros(imagen), 0);
  const std::string valor = "): " + std::to_string(GetParam().gris) + "\n";
  EXPECT_NE(e.traza().texto().find("Valor para el pixel (10,10" + valor), std::string::npos);
  EXPECT_NE(e.traza().texto().find("Valor para el pixel (11,13" + valor), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Casos, RegionalConstante,
                         ::testing::Values(CasoConstante{"Zero", 0}, CasoConstante{"One", 1},
                                           CasoConstante{"Middle", 128},
                                           CasoConstante{"White", 255}),
                         [](const auto& p) { return std::string(p.param.nombre); });

TEST(AlgoritmoRegionalThreshold, CancelledThroughProgressWritesOneLine) {
  DatosImagen imagen = imagenAleatoria(30, 30, 3);
  EntornoPrueba e(imagen);
  e.avancesPermitidos = 12;
  bool paso = false;
  EXPECT_EQ(AlgoritmoRegionalThreshold(e, paso), Fin::Cancelado);
  EXPECT_EQ(e.traza().texto(), kCabecera + "Ejecución cancelada por el usuario.\n");
}

struct CasoComparado {
  const char* nombre;
  DatosImagen imagen;
  const char* respuestas;  // "" = straight run
};

class RegionalLiteral : public ::testing::TestWithParam<CasoComparado> {};

TEST_P(RegionalLiteral, SameFlagsTraceAndPromptsAsTheLiteralMethod) {
  const CasoComparado& caso = GetParam();
  const bool pasoInicial = caso.respuestas[0] != '\0';
  DatosImagen rapido = caso.imagen;
  DatosImagen lento = caso.imagen;
  EntornoPrueba er(rapido, caso.respuestas);
  er.copiarDibujo = true;
  EntornoPrueba el(lento, caso.respuestas);
  el.copiarDibujo = true;
  bool pasoR = pasoInicial;
  bool pasoL = pasoInicial;
  EXPECT_EQ(AlgoritmoRegionalThreshold(er, pasoR), Fin::Dibujado);
  literal::RegionalThreshold(el, pasoL);
  EXPECT_EQ(pasoR, pasoL);
  EXPECT_EQ(er.traza().texto(), el.traza().texto());
  EXPECT_EQ(textoMensajes(er.mensajes()), textoMensajes(el.mensajes()));
  EXPECT_EQ(planoNegro(rapido), planoNegro(lento));
  EXPECT_EQ(er.dibujo, el.dibujo);
}

const std::string kTodoSi(5000, 'S');

INSTANTIATE_TEST_SUITE_P(
    Casos, RegionalLiteral,
    ::testing::Values(CasoComparado{"Random23x21", imagenAleatoria(23, 21, 1), ""},
                      CasoComparado{"RandomMedium", imagenAleatoria(97, 61, 2), ""},
                      CasoComparado{"RandomNarrowRange", imagenAleatoria(64, 40, 3, 90, 110), ""},
                      CasoComparado{"Gradient", degradado(120, 80, 5, 2), ""},
                      CasoComparado{"TwoLevelsCycling", imagenAleatoria(30, 25, 4, 127, 128), ""},
                      CasoComparado{"OddSizes", imagenAleatoria(31, 27, 5), ""},
                      CasoComparado{"OneWide", imagenAleatoria(1, 40, 6), ""},
                      CasoComparado{"TwoWide", imagenAleatoria(2, 40, 7), ""},
                      CasoComparado{"ThreeWide", imagenAleatoria(3, 40, 8), ""},
                      CasoComparado{"NineteenHigh", imagenAleatoria(40, 19, 9), ""},
                      CasoComparado{"StepAllYesMap", imagenAleatoria(24, 22, 10), kTodoSi.c_str()},
                      CasoComparado{"StepGradientMap", degradado(29, 23, 5, 2), kTodoSi.c_str()},
                      CasoComparado{"StepCancelInBothPhases", imagenAleatoria(22, 21, 11),
                                    "SSSNSSSSN"},
                      CasoComparado{"StepTwoLevels", imagenAleatoria(21, 21, 12, 127, 128), "SSN"}),
    [](const auto& p) { return std::string(p.param.nombre); });

}  // namespace
}  // namespace velarno
