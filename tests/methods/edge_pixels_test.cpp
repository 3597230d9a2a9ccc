#include "methods/edge_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <ostream>
#include <random>
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

const Mascara kLaplaciano = {0, 1, 0, 1, -4, 1, 0, 1, 0};
const std::vector<std::string> kCabecera = {"Iniciando algoritmo Using Edge Piexls",
                                            "=====================================", ""};
const char* const kCierre = "Algoritmo Using Edge Piexls Finalizado.";

void ponerMascara(EntornoPrueba& e, const std::vector<std::string>& textos) {
  for (size_t k = 0; k < textos.size(); ++k)
    e.setTexto("Mask(" + std::to_string(k) + ")", textos[k]);
}

EntornoPrueba entorno(const DatosImagen& imagen, const std::string& pct,
                      const std::string& respuestas = "") {
  EntornoPrueba e(imagen, respuestas);
  ponerMascara(e, {"0", "1", "0", "1", "-4", "1", "0", "1", "0"});
  e.setTexto("PCTeDp", pct);
  return e;
}

// The method read literally: a Double edge matrix one column and row larger than the picture,
// the histogram of its values (those above 5000 in the last entry), the level, and the mean of
// the pixels at or above it compared as Doubles. The oracle for the fused pass.
struct Literal {
  std::vector<int64_t> cuentas = std::vector<int64_t>(kValoresBorde, 0);
  std::vector<int64_t> sumasGris = std::vector<int64_t>(kValoresBorde, 0);
  int nivel = 0;
  std::optional<int> umbral;
};

Literal literal(const DatosImagen& imagen, const Mascara& m, double p) {
  const int32_t ancho = imagen.ancho, alto = imagen.alto;
  std::vector<std::vector<double>> bordes(static_cast<size_t>(ancho) + 1,
                                          std::vector<double>(static_cast<size_t>(alto) + 1, 0));
  auto g = [&](int32_t x, int32_t y) { return imagen.pixeles.gris(x, y); };
  for (int32_t x = 1; x <= ancho - 2; ++x)
    for (int32_t y = 1; y <= alto - 2; ++y) {
      const double suma = m[0] * g(x - 1, y - 1) + m[1] * g(x - 1, y) + m[2] * g(x - 1, y + 1) +
                          m[3] * g(x, y - 1) + m[4] * g(x, y) + m[5] * g(x, y + 1) +
                          m[6] * g(x + 1, y - 1) + m[7] * g(x + 1, y) + m[8] * g(x + 1, y + 1);
      const double redondo = std::nearbyint(suma);
      bordes[static_cast<size_t>(x)][static_cast<size_t>(y)] = redondo < 0 ? 0 : redondo;
    }
  Literal r;
  for (int32_t x = 0; x < ancho; ++x)
    for (int32_t y = 0; y < alto; ++y) {
      const double v = bordes[static_cast<size_t>(x)][static_cast<size_t>(y)];
      const size_t entrada = v > 5000 ? 5000 : static_cast<size_t>(v);
      ++r.cuentas[entrada];
      r.sumasGris[entrada] += g(x, y);
    }
  const int64_t n = static_cast<int64_t>(alto) * ancho;
  const int64_t objetivo = static_cast<int64_t>(std::nearbyint(p / 100 * static_cast<double>(n)));
  int64_t suma = 0;
  r.nivel = 2048;
  for (int v = 0; v <= 2047; ++v) {
    suma += r.cuentas[static_cast<size_t>(v)];
    if (suma >= objetivo) {
      r.nivel = v;
      break;
    }
  }
  int64_t sumaGris = 0, cuenta = 0;
  for (int32_t x = 0; x < ancho; ++x)
    for (int32_t y = 0; y < alto; ++y)
      if (bordes[static_cast<size_t>(x)][static_cast<size_t>(y)] >= r.nivel) {
        sumaGris += g(x, y);
        ++cuenta;
      }
  if (cuenta > 0)
    r.umbral = static_cast<int>(
        std::nearbyint(static_cast<double>(sumaGris) / static_cast<double>(cuenta)));
  return r;
}

DatosImagen gradiente(int32_t ancho, int32_t alto, int dx, int dy) {
  std::vector<std::vector<int>> filas(static_cast<size_t>(alto),
                                      std::vector<int>(static_cast<size_t>(ancho)));
  for (int32_t y = 0; y < alto; ++y)
    for (int32_t x = 0; x < ancho; ++x)
      filas[static_cast<size_t>(y)][static_cast<size_t>(x)] = std::clamp(dx * x + dy * y, 0, 255);
  return imagenDesdeFilas(filas);
}

TEST(Xfhist, FusedPassEqualsLiteralReading) {
  const std::vector<std::pair<const char*, Mascara>> mascaras = {
      {"laplacian", kLaplaciano},
      {"oneToNine", {1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"negatedSharpen", {-1, -1, -1, -1, 9, -1, -1, -1, -1}},
      {"fractional", {0.5, -0.25, 0.1, 1.0 / 3, -2.5, 0.75, 0, 1.5, -0.125}},
      {"halves", {0.5, 0.5, 0.5, 0.5, -3.5, 0.5, 0.5, 0.5, 0.5}},
      {"largeWhole", {0, 0, 0, 0, 100, 0, 0, 0, -3}},
      {"limitOfIntegers", {0, 0, 0, 0, 8'000'000, 0, 0, 0, -400'000}},
      {"beyondIntegers", {0, 9'000'000, 0, 0, 9'000'000, 0, 0, -17'999'999, 0}},
      {"hugeFractional", {0, 1e12, 0, 0, -1e12 + 0.5, 0, 0, 0, 0}},
  };
  std::vector<std::pair<std::string, DatosImagen>> imagenes = {
      {"random", imagenAleatoria(37, 23, 3u)},  {"randomDark", imagenAleatoria(19, 31, 4u, 0, 20)},
      {"gradientX", gradiente(40, 9, 7, 0)},    {"gradientY", gradiente(6, 50, 0, 5)},
      {"gradientXY", gradiente(33, 17, 3, 11)},
  };
  for (int32_t lado = 1; lado <= 3; ++lado) {
    imagenes.emplace_back("wide" + std::to_string(lado), imagenAleatoria(lado, 17, 9u));
    imagenes.emplace_back("tall" + std::to_string(lado), imagenAleatoria(21, lado, 8u));
  }
  for (const auto& [nombreMascara, mascara] : mascaras)
    for (const auto& [nombreImagen, imagen] : imagenes) {
      const HistogramaBordes h = Xfhist(imagen.pixeles, mascara);
      const std::string caso = std::string(nombreMascara) + " on " + nombreImagen;
      for (double p : {0.0, 12.5, 50.0, 85.0, 99.0, 100.0, 150.0}) {
        const Literal esperado = literal(imagen, mascara, p);
        ASSERT_EQ(h.cuentas, esperado.cuentas) << caso;
        ASSERT_EQ(h.sumasGris, esperado.sumasGris) << caso;
        const int nivel =
            Xhi_pct(h.cuentas, kNivelesBusqueda, int64_t{imagen.ancho} * imagen.alto, p);
        EXPECT_EQ(nivel, esperado.nivel) << caso << " at " << p;
        EXPECT_EQ(Xpeaks(h, nivel), esperado.umbral) << caso << " at " << p;
      }
    }
}

// With the weights typed 1..9 in rows, Mask(1) weights the pixel left of (x, y) and Mask(3)
// the one above it: 1*1 + 2*4 + 3*7 + 4*2 + 5*5 + 6*8 + 7*3 + 8*6 + 9*9.
TEST(Xpix_lap, MaskIsAppliedTransposed) {
  const DatosImagen imagen = imagenDesdeFilas({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  EXPECT_EQ(Xpix_lap(imagen.pixeles, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 1, 1), 261.0);
  EXPECT_EQ(Xpix_lap(imagen.pixeles, {0, 1, 0, 0, 0, 0, 0, 0, 0}, 1, 1), 4.0);
  EXPECT_EQ(Xpix_lap(imagen.pixeles, {0, 0, 0, 1, 0, 0, 0, 0, 0}, 1, 1), 2.0);
  // Rounded half to even; negatives are 0.
  EXPECT_EQ(Xpix_lap(imagen.pixeles, {0, 0, 0, 0, 0.5, 0, 0, 0, 0}, 1, 1), 2.0);
  EXPECT_EQ(Xpix_lap(imagen.pixeles, {0, 0, 0, 0, 0.7, 0, 0, 0, 0}, 1, 1), 4.0);
  EXPECT_EQ(Xpix_lap(imagen.pixeles, kLaplaciano, 1, 1), 0.0);
  EXPECT_EQ(Xpix_lap(imagen.pixeles, {0, 0, 0, 0, -1, 0, 0, 0, 0}, 1, 1), 0.0);
}

TEST(AlgoritmoUsingEdgePixels, TransposedMaskInStepPrompt) {
  EntornoPrueba e = entorno(imagenDesdeFilas({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}), "100", "S");
  ponerMascara(e, {"1", "2", "3", "4", "5", "6", "7", "8", "9"});
  bool paso = true;
  EXPECT_EQ(AlgoritmoUsingEdgePixels(e, paso), Fin::Publicado);
  ASSERT_EQ(e.mensajes().size(), 1u);
  EXPECT_EQ(e.mensajes()[0].texto,
            "Resultado de aplicar el operador laplaciano al entorno centrado en el pixel (1,1): "
            "261\r\r¿seguir paso a paso?");
  EXPECT_EQ(e.traza().texto(), unir(mas(kCabecera, {"valor de gris que contiene el porcentaje: 261",
                                                    "Umbral encontrado: 5", kCierre})));
}

struct CasoUmbral {
  const char* nombre;
  std::vector<std::vector<int>> filas;
  const char* pct;
  int nivel;
  int umbral;
};
void PrintTo(const CasoUmbral& caso, std::ostream* os) { *os << caso.nombre; }

class EdgePixelsUmbral : public ::testing::TestWithParam<CasoUmbral> {};

TEST_P(EdgePixelsUmbral, WholeStraightTraceThenPublication) {
  const CasoUmbral& caso = GetParam();
  EntornoPrueba e = entorno(imagenDesdeFilas(caso.filas), caso.pct);
  bool paso = false;
  EXPECT_EQ(AlgoritmoUsingEdgePixels(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(),
            unir(mas(kCabecera,
                     {"valor de gris que contiene el porcentaje: " + std::to_string(caso.nivel),
                      "Umbral encontrado: " + std::to_string(caso.umbral), kCierre})));
  EXPECT_EQ(e.publicados, std::vector<int>{caso.umbral});
  EXPECT_EQ(e.lineasAlPublicar, std::vector<size_t>{6});
  EXPECT_TRUE(e.mensajes().empty());
}

const std::vector<std::vector<int>> kCentroOscuro = {{50, 50, 50}, {50, 10, 50}, {50, 50, 50}};

INSTANTIATE_TEST_SUITE_P(
    Casos, EdgePixelsUmbral,
    ::testing::Values(
        CasoUmbral{"Uniform", std::vector<std::vector<int>>(4, std::vector<int>(5, 77)), "85", 0,
                   77},
        // 0 %: every pixel counts; the mean is 780 / 12.
        CasoUmbral{
            "ZeroPercent", {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}}, "0", 0, 65},
        // The centre's edge value is 4 x 50 - 4 x 10 = 160.
        CasoUmbral{"DarkCentreAllPercent", kCentroOscuro, "100", 160, 10},
        // Target 8 of 9 pixels: reached by the eight border pixels at 0; mean 410 / 9.
        CasoUmbral{"DarkCentre85", kCentroOscuro, "85", 0, 46},
        CasoUmbral{"MeanHalfUpToEven", {{1, 2}}, "85", 0, 2},
        CasoUmbral{"MeanHalfDownToEven", {{2, 3}}, "85", 0, 2},
        // No interior pixel: the whole picture's mean for any percentage up to 100.
        CasoUmbral{"TwoColumns", {{9, 0}, {1, 4}, {7, 7}, {0, 2}}, "100", 0, 4},
        CasoUmbral{"OneRow", {{200, 10, 30, 40}}, "50", 0, 70},
        CasoUmbral{"BlanksAroundPercent", kCentroOscuro, " 100 ", 160, 10}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(AlgoritmoUsingEdgePixels, PercentageWithLocaleSeparator) {
  EntornoPrueba e = entorno(imagenDesdeFilas(kCentroOscuro), "99,5");
  e.setSeparadorDecimal(',');
  bool paso = false;
  EXPECT_EQ(AlgoritmoUsingEdgePixels(e, paso), Fin::Publicado);
  EXPECT_EQ(e.publicados, std::vector<int>{10});  // target 8.955 -> 9
}

// Interior values (x, y): (1,1) 70, (1,2) 0, (2,1) 0, (2,2) 50; asked columns first.
const std::vector<std::vector<int>> kCuatro = {
    {10, 10, 10, 10}, {10, 0, 20, 10}, {10, 30, 5, 10}, {10, 10, 10, 10}};

std::string pregunta(int x, int y, int valor) {
  return "Resultado de aplicar el operador laplaciano al entorno centrado en el pixel (" +
         std::to_string(x) + "," + std::to_string(y) + "): " + std::to_string(valor) +
         "\r\r¿seguir paso a paso?";
}

struct CasoPaso {
  const char* nombre;
  const char* respuestas;
  size_t preguntas;
  bool cancelado;
};
void PrintTo(const CasoPaso& caso, std::ostream* os) { *os << caso.nombre; }

class EdgePixelsPaso : public ::testing::TestWithParam<CasoPaso> {};

TEST_P(EdgePixelsPaso, PromptsInColumnOrderAndCancelOnce) {
  const CasoPaso& caso = GetParam();
  EntornoPrueba e = entorno(imagenDesdeFilas(kCuatro), "85", caso.respuestas);
  bool paso = true;
  EXPECT_EQ(AlgoritmoUsingEdgePixels(e, paso), Fin::Publicado);
  EXPECT_EQ(paso, !caso.cancelado);
  const std::vector<std::string> todas = {pregunta(1, 1, 70), pregunta(1, 2, 0), pregunta(2, 1, 0),
                                          pregunta(2, 2, 50)};
  ASSERT_EQ(e.mensajes().size(), caso.preguntas);
  for (size_t i = 0; i < caso.preguntas; ++i) {
    EXPECT_EQ(e.mensajes()[i].texto, todas[i]);
    EXPECT_EQ(e.mensajes()[i].titulo, "Paso a paso");
    EXPECT_EQ(e.mensajes()[i].estilo, 4);
  }
  std::vector<std::string> lineas = kCabecera;
  if (caso.cancelado) lineas = mas(lineas, {"Paso a paso cancelado", ""});
  // Target 14 of 16: the 14 pixels at 0 reach it; mean 175 / 16.
  lineas = mas(lineas,
               {"valor de gris que contiene el porcentaje: 0", "Umbral encontrado: 11", kCierre});
  EXPECT_EQ(e.traza().texto(), unir(lineas));
  EXPECT_EQ(e.publicados, std::vector<int>{11});
}

INSTANTIATE_TEST_SUITE_P(Casos, EdgePixelsPaso,
                         ::testing::Values(CasoPaso{"NoAtFirst", "N", 1, true},
                                           CasoPaso{"NoAtSecond", "SN", 2, true},
                                           CasoPaso{"NoAtLast", "SSSN", 4, true},
                                           CasoPaso{"YesThroughout", "SSSS", 4, false}),
                         [](const auto& p) { return std::string(p.param.nombre); });

struct CasoRechazo {
  const char* nombre;
  const char* pct;
  int casilla;  // the Mask box given `texto`, or -1
  const char* texto;
  const char* titulo;
  const char* mensaje;
  int otra = -1;  // a second Mask box given `texto`, or -1
};
void PrintTo(const CasoRechazo& caso, std::ostream* os) { *os << caso.nombre; }

class EdgePixelsRechazo : public ::testing::TestWithParam<CasoRechazo> {};

TEST_P(EdgePixelsRechazo, BoxBeforeTheTraceIsTouched) {
  const CasoRechazo& caso = GetParam();
  EntornoPrueba e = entorno(imagenDesdeFilas(kCentroOscuro), caso.pct, "S");
  if (caso.casilla >= 0) e.setTexto("Mask(" + std::to_string(caso.casilla) + ")", caso.texto);
  if (caso.otra >= 0) e.setTexto("Mask(" + std::to_string(caso.otra) + ")", caso.texto);
  e.traza().agregar("traza anterior");
  bool paso = true;
  EXPECT_EQ(AlgoritmoUsingEdgePixels(e, paso), Fin::Rechazado);
  EXPECT_EQ(e.traza().texto(), "traza anterior\n");
  ASSERT_EQ(e.mensajes().size(), 1u);
  EXPECT_EQ(e.mensajes()[0].titulo, caso.titulo);
  EXPECT_EQ(e.mensajes()[0].texto, caso.mensaje);
  EXPECT_EQ(e.mensajes()[0].estilo, 48);
  EXPECT_TRUE(e.publicados.empty());
  EXPECT_TRUE(paso);
}

const char* const kPctMalo =
    "No esta introduciendo un porcentaje válido\rAsegurese de estar introduciendo solo valores "
    "numéricos.";

INSTANTIATE_TEST_SUITE_P(
    Casos, EdgePixelsRechazo,
    ::testing::Values(
        CasoRechazo{"EmptyPercent", "", -1, "", "Porcentaje no válido", kPctMalo},
        CasoRechazo{"WordPercent", "ochenta", -1, "", "Porcentaje no válido", kPctMalo},
        CasoRechazo{"PercentSign", "85%", -1, "", "Porcentaje no válido", kPctMalo},
        CasoRechazo{"InfinitePercent", "1e999", -1, "", "Porcentaje no válido", kPctMalo},
        // The percentage is checked first, even when a mask box is bad too.
        CasoRechazo{"PercentBeforeMask", "x", 0, "y", "Porcentaje no válido", kPctMalo},
        CasoRechazo{"MaskCentre", "85", 4, "menos cuatro", "Máscara no válida",
                    "No esta introduciendo un valor válido en la fila 2, columna 2 de la "
                    "máscara\rAsegurese de estar introduciendo solo valores numéricos."},
        CasoRechazo{"MaskEmpty", "85", 7, "", "Máscara no válida",
                    "No esta introduciendo un valor válido en la fila 3, columna 2 de la "
                    "máscara\rAsegurese de estar introduciendo solo valores numéricos."},
        CasoRechazo{"MaskInfinite", "85", 2, "-1E400", "Máscara no válida",
                    "No esta introduciendo un valor válido en la fila 1, columna 3 de la "
                    "máscara\rAsegurese de estar introduciendo solo valores numéricos."},
        // 255 x 1e307 is past the largest Double.
        CasoRechazo{"MaskWeightTooLarge", "85", 1, "1e307", "Máscara no válida",
                    "No esta introduciendo un valor válido en la fila 1, columna 2 de la "
                    "máscara\rAsegurese de estar introduciendo solo valores numéricos."},
        // 255 x 5e305 is not, but twice it is: the second weight is named.
        CasoRechazo{"MaskWeightsTooLargeTogether", "85", 3, "-5e305", "Máscara no válida",
                    "No esta introduciendo un valor válido en la fila 3, columna 2 de la "
                    "máscara\rAsegurese de estar introduciendo solo valores numéricos.",
                    7}),
    [](const auto& p) { return std::string(p.param.nombre); });

// Weights of opposite signs never add up, however large: the centre's edge value is
// 5e305 x 50 - 5e305 x 50 - 4 x 10 + 50 + 50 = 60.
TEST(AlgoritmoUsingEdgePixels, HugeWeightsOfOppositeSignsAreAccepted) {
  EntornoPrueba e = entorno(imagenDesdeFilas(kCentroOscuro), "100");
  ponerMascara(e, {"0", "5e305", "0", "-5e305", "-4", "1", "0", "1", "0"});
  bool paso = false;
  EXPECT_EQ(AlgoritmoUsingEdgePixels(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().lineas().at(3), "valor de gris que contiene el porcentaje: 60");
}

TEST(AlgoritmoUsingEdgePixels, LevelWithNoPixelShowsHistogramBoxAndPublishesNothing) {
  EntornoPrueba e = entorno(imagenDesdeFilas(kCentroOscuro), "150");
  bool paso = false;
  EXPECT_EQ(AlgoritmoUsingEdgePixels(e, paso), Fin::SinResultado);
  EXPECT_EQ(e.traza().texto(),
            unir(mas(kCabecera, {"valor de gris que contiene el porcentaje: 2048",
                                 "Ningún pixel alcanza el valor 2048: no hay pixels de borde que "
                                 "promediar.",
                                 kCierre})));
  ASSERT_EQ(e.mensajes().size(), 1u);
  EXPECT_EQ(e.mensajes()[0].titulo, "Velarno");
  EXPECT_EQ(e.mensajes()[0].texto, "Histograma erroneo");
  EXPECT_EQ(e.mensajes()[0].estilo, 0);
  EXPECT_EQ(e.lineasAlMostrar(), std::vector<size_t>{4});
  EXPECT_TRUE(e.publicados.empty());
}

// Edge values far above 5000 share the last entry and still count as edge pixels.
TEST(AlgoritmoUsingEdgePixels, EdgeValuesAbove5000StillAveraged) {
  EntornoPrueba e = entorno(
      imagenDesdeFilas({{0, 0, 0, 0}, {0, 60, 70, 0}, {0, 80, 90, 0}, {0, 0, 0, 0}}), "150");
  ponerMascara(e, {"0", "0", "0", "0", "100", "0", "0", "0", "0"});
  bool paso = false;
  EXPECT_EQ(AlgoritmoUsingEdgePixels(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(),
            unir(mas(kCabecera, {"valor de gris que contiene el porcentaje: 2048",
                                 "Umbral encontrado: 75", kCierre})));
  const HistogramaBordes h = Xfhist(e.imagen().pixeles, {0, 0, 0, 0, 100, 0, 0, 0, 0});
  EXPECT_EQ(h.cuentas[5000], 4);
  EXPECT_EQ(h.sumasGris[5000], 300);
  EXPECT_EQ(h.cuentas[0], 12);
}

// A large record of grey 50 with one pixel of grey 10 in the middle (edge value 160 there,
// 0 elsewhere), built straight on the planes.
DatosImagen imagenGrandeConPunto(int32_t ancho, int32_t alto) {
  DatosImagen imagen;
  imagen.ancho = ancho;
  imagen.alto = alto;
  imagen.pixeles = Pixeles(ancho, alto);
  std::fill_n(imagen.pixeles.planoGris(), imagen.pixeles.cantidad(), uint8_t{50});
  imagen.pixeles.setGris(ancho / 2, alto / 2, 10);
  imagen.histograma[50] = int64_t{ancho} * alto - 1;
  imagen.histograma[10] = 1;
  return imagen;
}

struct CasoGrande {
  const char* nombre;
  int32_t ancho, alto;
  std::vector<std::string> cola;  // the trace after the head lines
  size_t cajas;                   // "Histograma erroneo" boxes
};
void PrintTo(const CasoGrande& caso, std::ostream* os) { *os << caso.nombre; }

class EdgePixelsCuentaExacta : public ::testing::TestWithParam<CasoGrande> {};

// The 100 % target counts every pixel exactly, also where width x height has no exact
// single-precision value (4097 x 4097 = 16,785,409; 4097 x 4099 = 16,793,603): the one edge
// pixel sets the level.
TEST_P(EdgePixelsCuentaExacta, HundredPercentTarget) {
  const CasoGrande& caso = GetParam();
  EntornoPrueba e = entorno(imagenGrandeConPunto(caso.ancho, caso.alto), "100");
  bool paso = false;
  const Fin fin = AlgoritmoUsingEdgePixels(e, paso);
  EXPECT_EQ(fin, caso.cajas == 0 ? Fin::Publicado : Fin::SinResultado);
  EXPECT_EQ(e.traza().texto(), unir(mas(kCabecera, caso.cola)));
  EXPECT_EQ(e.mensajes().size(), caso.cajas);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, EdgePixelsCuentaExacta,
    ::testing::Values(CasoGrande{"OddProduct",
                                 4097,
                                 4097,
                                 {"valor de gris que contiene el porcentaje: 160",
                                  "Umbral encontrado: 10", kCierre},
                                 0},
                      CasoGrande{"OddProductRoundingUp",
                                 4097,
                                 4099,
                                 {"valor de gris que contiene el porcentaje: 160",
                                  "Umbral encontrado: 10", kCierre},
                                 0},
                      CasoGrande{"Exact",
                                 4096,
                                 4097,
                                 {"valor de gris que contiene el porcentaje: 160",
                                  "Umbral encontrado: 10", kCierre},
                                 0}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(Xhi_pct, TargetRoundedHalfToEvenAndUnreachable) {
  std::vector<int64_t> cuentas(kValoresBorde, 0);
  cuentas[0] = 2;
  cuentas[3] = 1;
  cuentas[7] = 1;
  EXPECT_EQ(Xhi_pct(cuentas, kNivelesBusqueda, 4, 62.5), 0);  // 2.5 -> 2
  EXPECT_EQ(Xhi_pct(cuentas, kNivelesBusqueda, 4, 87.5), 7);  // 3.5 -> 4
  EXPECT_EQ(Xhi_pct(cuentas, kNivelesBusqueda, 4, 100), 7);
  EXPECT_EQ(Xhi_pct(cuentas, kNivelesBusqueda, 4, -50), 0);
  EXPECT_EQ(Xhi_pct(cuentas, kNivelesBusqueda, 4, 1e300), kNivelesBusqueda);
  EXPECT_EQ(Xhi_pct(cuentas, kNivelesBusqueda, 4, -1e300), 0);
}

}  // namespace
}  // namespace velarno
