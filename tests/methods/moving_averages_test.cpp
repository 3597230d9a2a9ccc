#include "methods/moving_averages.h"

#include <algorithm>
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
using prueba::imagenLlena;
using prueba::planoNegro;
using prueba::textoMensajes;

const std::string kCabecera =
    "Iniciando Algoritmo Moves Averages. (pct = 15)\n"
    "===============================================\n"
    "\n";

// A record whose every negro flag is true, so that the pixels a run leaves alone show.
DatosImagen todoNegro(DatosImagen imagen) {
  for (int32_t y = 0; y < imagen.alto; ++y)
    for (int32_t x = 0; x < imagen.ancho; ++x) imagen.pixeles.setNegro(x, y, true);
  return imagen;
}

// The negro flags as rows of '#' (black) and '.' (white).
std::string dibujo(const DatosImagen& imagen) {
  std::string texto;
  for (int32_t y = 0; y < imagen.alto; ++y) {
    for (int32_t x = 0; x < imagen.ancho; ++x) texto += imagen.pixeles.negro(x, y) ? '#' : '.';
    texto += '\n';
  }
  return texto;
}

Fin correr(const std::string& pct, bool paso, EntornoPrueba& e) {
  e.setTexto("CPct", pct);
  return AlgoritmoThrdd(e, paso);
}

TEST(AlgoritmoThrdd, StraightRunWritesSevenLinesAndDraws) {
  DatosImagen imagen = imagenUniforme(5, 3, 200);
  EntornoPrueba e(imagen);
  EXPECT_EQ(correr("15", false, e), Fin::Dibujado);
  EXPECT_EQ(e.traza().texto(), kCabecera +
                                   "nº total de pixels: 15\n\n"
                                   "\nAlgoritmo Moving averages finalizado.\n");
  EXPECT_EQ(e.dibujos, 1);
  EXPECT_TRUE(e.publicados.empty());
  EXPECT_TRUE(e.mensajes().empty());
}

TEST(AlgoritmoThrdd, FiveByThreePathLeavesFourPixelsUnvisited) {
  DatosImagen imagen = todoNegro(imagenUniforme(5, 3, 200));
  EntornoPrueba e(imagen);
  correr("15", false, e);
  EXPECT_EQ(dibujo(imagen), "....#\n.....\n..###\n");
}

TEST(AlgoritmoThrdd, OneRowPictureVisitsOnlyTheFirstPixel) {
  DatosImagen imagen = todoNegro(imagenUniforme(9, 1, 0));
  EntornoPrueba e(imagen);
  correr("15", false, e);
  EXPECT_EQ(dibujo(imagen), ".########\n");
}

struct CasoConstante {
  const char* nombre;
  int ancho;
  int gris;
  const char* esperado;  // every visited pixel of a 3-row picture
};

class ThrddConstante : public ::testing::TestWithParam<CasoConstante> {};

TEST_P(ThrddConstante, VisitedPixelsTakeOneColour) {
  const CasoConstante& caso = GetParam();
  DatosImagen imagen = imagenUniforme(caso.ancho, 3, caso.gris);
  EntornoPrueba e(imagen);
  bool paso = true;  // whitens first, so unvisited pixels are white too
  e.setTexto("CPct", "15");
  AlgoritmoThrdd(e, paso);
  EXPECT_EQ(dibujo(imagen), caso.esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ThrddConstante,
    ::testing::Values(CasoConstante{"Level200IsWhite", 5, 200, ".....\n.....\n.....\n"},
                      CasoConstante{"Level0WithOneTermIsWhite", 5, 0, ".....\n.....\n.....\n"},
                      CasoConstante{"Level0WithTwoTermsIsBlack", 12, 0,
                                    "###########.\n############\n##..........\n"}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(AlgoritmoThrdd, StepRunCancelledAtFirstPromptMatchesStraightRunWithWhiteRest) {
  const DatosImagen base = todoNegro(imagenAleatoria(6, 3, 7));
  DatosImagen recto = base;
  EntornoPrueba er(recto);
  correr("15", false, er);

  DatosImagen pasos = base;
  EntornoPrueba ep(pasos, "N");
  bool paso = true;
  ep.setTexto("CPct", "15");
  AlgoritmoThrdd(ep, paso);
  EXPECT_FALSE(paso);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 6; ++x) {
      const bool visitado = !(y == 0 && x == 5) && !(y == 2 && x > 1);
      EXPECT_EQ(pasos.pixeles.negro(x, y), visitado && recto.pixeles.negro(x, y)) << x << "," << y;
    }
  EXPECT_EQ(ep.dibujos, 3);  // white at the start, after the answer, and at the end
  ASSERT_EQ(ep.mensajes().size(), 1u);
}

TEST(AlgoritmoThrdd, StepRunWritesEveryPixelUntilNo) {
  DatosImagen imagen = imagenDesdeFilas({{10, 200, 30, 40, 250}, {0, 0, 0, 0, 0}});
  EntornoPrueba e(imagen, "SN");
  bool paso = true;
  e.setTexto("CPct", "15");
  AlgoritmoThrdd(e, paso);
  EXPECT_EQ(e.traza().texto(), kCabecera +
                                   "nº total de pixels: 10\n\n"
                                   "Pixel[0,0] (gi): 10\nMi: 10\nn: 1\n"
                                   "valor de comparación: 8.5\nSerá convertido a Blanco\n\n"
                                   "Pixel[0,1] (gi): 200\nMi: 200\nn: 1\n"
                                   "valor de comparación: 170\nSerá convertido a Blanco\n\n"
                                   "\nPaso a paso cancelado\n\n"
                                   "\nAlgoritmo Moving averages finalizado.\n");
  EXPECT_EQ(textoMensajes(e.mensajes()),
            "Paso a paso|4|6|Pixel[0,0] (gi): 10\\rMi: 10\\rn: 1\\rvalor de comparación: "
            "8.5\\r\\rSerá convertido a Blanco\\r\\r¿Continuar Paso a paso?\n"
            "Paso a paso|4|7|Pixel[0,1] (gi): 200\\rMi: 200\\rn: 1\\rvalor de comparación: "
            "170\\r\\rSerá convertido a Blanco\\r\\r¿Continuar Paso a paso?\n");
  EXPECT_EQ(e.dibujos, 4);
}

TEST(AlgoritmoThrdd, DecimalCommaReadsPctAndWritesEveryDouble) {
  DatosImagen imagen = imagenDesdeFilas({{10, 200, 30, 40, 250}, {0, 0, 0, 0, 0}});
  EntornoPrueba e(imagen, "N");
  e.setSeparadorDecimal(',');
  bool paso = true;
  e.setTexto("CPct", "12,5");
  EXPECT_EQ(AlgoritmoThrdd(e, paso), Fin::Dibujado);
  EXPECT_EQ(e.traza().texto(),
            "Iniciando Algoritmo Moves Averages. (pct = 12,5)\n"
            "===============================================\n\n"
            "nº total de pixels: 10\n\n"
            "Pixel[0,0] (gi): 10\nMi: 10\nn: 1\n"
            "valor de comparación: 8,75\nSerá convertido a Blanco\n\n"
            "\nPaso a paso cancelado\n\n"
            "\nAlgoritmo Moving averages finalizado.\n");
}

struct CasoVentana {
  int ancho;
  const char* n;  // the window length W / 8, rounded half to even
};

class ThrddVentana : public ::testing::TestWithParam<CasoVentana> {};

TEST_P(ThrddVentana, WindowLengthRoundsHalfToEven) {
  DatosImagen imagen = imagenUniforme(GetParam().ancho, 1, 100);
  EntornoPrueba e(imagen, "N");
  bool paso = true;
  e.setTexto("CPct", "15");
  AlgoritmoThrdd(e, paso);
  EXPECT_EQ(e.traza().lineas().at(7), std::string("n: ") + GetParam().n);
}

INSTANTIATE_TEST_SUITE_P(Casos, ThrddVentana,
                         ::testing::Values(CasoVentana{5, "1"}, CasoVentana{12, "2"},
                                           CasoVentana{20, "2"}, CasoVentana{28, "4"},
                                           CasoVentana{256, "32"}),
                         [](const auto& p) { return "W" + std::to_string(p.param.ancho); });

struct CasoRechazo {
  const char* nombre;
  int ancho;
  const char* pct;
  const char* titulo;
  const char* texto;
};

class ThrddRechazo : public ::testing::TestWithParam<CasoRechazo> {};

TEST_P(ThrddRechazo, RefusesWithABoxAndTouchesNothing) {
  const CasoRechazo& caso = GetParam();
  DatosImagen imagen = todoNegro(imagenUniforme(caso.ancho, 4, 0));
  EntornoPrueba e(imagen);
  e.traza().agregar("traza anterior");
  bool paso = true;
  e.setTexto("CPct", caso.pct);
  EXPECT_EQ(AlgoritmoThrdd(e, paso), Fin::Rechazado);
  EXPECT_EQ(e.traza().texto(), "traza anterior\n");
  ASSERT_EQ(e.mensajes().size(), 1u);
  EXPECT_EQ(e.mensajes()[0].titulo, caso.titulo);
  EXPECT_EQ(e.mensajes()[0].texto, caso.texto);
  EXPECT_EQ(e.mensajes()[0].estilo, kEstiloExclamacion);
  EXPECT_EQ(e.dibujos, 0);
  EXPECT_TRUE(paso);
  EXPECT_EQ(dibujo(imagen), dibujo(todoNegro(imagenUniforme(caso.ancho, 4, 0))));
}

constexpr const char* kNoNumero = "Porcentaje no válido";
constexpr const char* kNoNumeroTexto =
    "Introduzca un valor en Porcentaje.\rDebe ser un número, por ejemplo 15.";
// The percentages of the least factor 100 - pct whose product with 255 overflows, and of the
// greatest whose product is finite.
constexpr const char* kFactorDesbordado = "-7.049776999460062e305";
constexpr const char* kMayorFactor = "-7.04977699946006e305";
constexpr const char* kEstrecha = "Imagen demasiado estrecha";
constexpr const char* kEstrechaTexto =
    "El algoritmo Moving Averages necesita una imagen de al menos 5 pixels de ancho.";

INSTANTIATE_TEST_SUITE_P(
    Casos, ThrddRechazo,
    ::testing::Values(CasoRechazo{"EmptyText", 8, "", kNoNumero, kNoNumeroTexto},
                      CasoRechazo{"Letters", 8, "15%", kNoNumero, kNoNumeroTexto},
                      CasoRechazo{"HugeExponent", 8, "1e999", kNoNumero, kNoNumeroTexto},
                      CasoRechazo{"ComparisonWouldOverflow", 8, kFactorDesbordado, kNoNumero,
                                  kNoNumeroTexto},
                      CasoRechazo{"FourColumns", 4, "15", kEstrecha, kEstrechaTexto},
                      CasoRechazo{"OneColumn", 1, "15", kEstrecha, kEstrechaTexto}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(AlgoritmoThrdd, TallNarrowPictureStopsAtTheLastRow) {
  DatosImagen imagen = todoNegro(imagenUniforme(5, 20, 200));
  EntornoPrueba e(imagen);
  EXPECT_EQ(correr("15", false, e), Fin::Dibujado);
  // 19 x 5 + 1 passes would reach row 20; the path ends with the last row instead.
  std::string esperado;
  for (int y = 0; y < 20; ++y) esperado += y % 2 == 0 ? "....#\n" : ".....\n";
  EXPECT_EQ(dibujo(imagen), esperado);
}

TEST(AlgoritmoThrdd, CancelledThroughProgressWritesOneLine) {
  DatosImagen imagen = imagenAleatoria(8, 6, 3);
  EntornoPrueba e(imagen);
  e.avancesPermitidos = 2;
  EXPECT_EQ(correr("15", false, e), Fin::Cancelado);
  EXPECT_EQ(e.traza().lineas().back(), "Ejecución cancelada por el usuario.");
  EXPECT_EQ(e.dibujos, 1);
}

TEST(AlgoritmoThrdd, PassCountStaysExactAboveSixteenMillionPixels) {
  // 4099 x 4095 = 16,785,405 pixels: formed in single precision the pass bound would come out
  // two short. The trace still writes the single-precision total.
  DatosImagen imagen = imagenLlena(4099, 4095, 200, true);
  EntornoPrueba e(imagen);
  EXPECT_EQ(correr("15", false, e), Fin::Dibujado);
  EXPECT_EQ(e.traza().lineas()[3], "nº total de pixels: 1.67854E+07");
  // 4094 x 4099 + 1 passes: rows 0..4093 take 2047 x (4098 + 4099) of them, so the last row,
  // travelled to the right, gets its first 2048 pixels (all white at level 200).
  int32_t visitados = 0;
  for (int32_t x = 0; x < 4099; ++x) visitados += imagen.pixeles.negro(x, 4094) ? 0 : 1;
  EXPECT_EQ(visitados, 2048);
  EXPECT_FALSE(imagen.pixeles.negro(2047, 4094));
  EXPECT_TRUE(imagen.pixeles.negro(2048, 4094));
  EXPECT_FALSE(imagen.pixeles.negro(0, 4093));
  EXPECT_TRUE(imagen.pixeles.negro(4098, 4092));
}

struct CasoComparado {
  const char* nombre;
  DatosImagen imagen;
  const char* pct;
  const char* respuestas;  // "" = straight run
};

class ThrddLiteral : public ::testing::TestWithParam<CasoComparado> {};

TEST_P(ThrddLiteral, SameFlagsTraceAndPromptsAsTheLiteralMethod) {
  const CasoComparado& caso = GetParam();
  const bool pasoInicial = caso.respuestas[0] != '\0';
  DatosImagen rapido = todoNegro(caso.imagen);
  DatosImagen lento = todoNegro(caso.imagen);
  EntornoPrueba er(rapido, caso.respuestas);
  EntornoPrueba el(lento, caso.respuestas);
  er.setTexto("CPct", caso.pct);
  el.setTexto("CPct", caso.pct);
  bool pasoR = pasoInicial;
  bool pasoL = pasoInicial;
  EXPECT_EQ(AlgoritmoThrdd(er, pasoR), Fin::Dibujado);
  literal::Thrdd(el, pasoL);
  EXPECT_EQ(pasoR, pasoL);
  EXPECT_EQ(er.traza().texto(), el.traza().texto());
  EXPECT_EQ(textoMensajes(er.mensajes()), textoMensajes(el.mensajes()));
  EXPECT_EQ(planoNegro(rapido), planoNegro(lento));
  EXPECT_EQ(er.dibujos, el.dibujos);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ThrddLiteral,
    ::testing::Values(CasoComparado{"Random37x23", imagenAleatoria(37, 23, 1), "15", ""},
                      CasoComparado{"RandomWide", imagenAleatoria(301, 9, 2), "12.5", ""},
                      CasoComparado{"Gradient", degradado(64, 48, 7, 3), "15", ""},
                      CasoComparado{"NegativePct", imagenAleatoria(40, 30, 3), "-20", ""},
                      CasoComparado{"PctAbove100", imagenAleatoria(40, 30, 4), "150", ""},
                      CasoComparado{"Pct100", imagenAleatoria(16, 8, 5), "100", ""},
                      CasoComparado{"TwoLevels", imagenAleatoria(33, 17, 6, 100, 101), "0", ""},
                      CasoComparado{"FiveWideTall", imagenAleatoria(5, 40, 7), "15", ""},
                      CasoComparado{"SixWide", imagenAleatoria(6, 7, 8), "15", ""},
                      CasoComparado{"MaxFactor", imagenAleatoria(6, 7, 8), kMayorFactor, "SSS"},
                      CasoComparado{"StepCancelledInRowTwo", imagenAleatoria(7, 5, 9), "15",
                                    "SSSSSSSSSN"},
                      CasoComparado{"StepAllYes", imagenAleatoria(9, 4, 10), "15",
                                    "SSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSS"}),
    [](const auto& p) { return std::string(p.param.nombre); });

}  // namespace
}  // namespace velarno
