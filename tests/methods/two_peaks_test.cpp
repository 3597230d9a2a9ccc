#include "methods/two_peaks.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "methods/entorno_simple.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::imagenDeCuentas;
using prueba::mas;
using prueba::unir;

std::vector<std::string> trazaRecta(int p1, int p2, int t) {
  return {"Iniciando algoritmo Two Peak",
          "============================",
          "",
          "Iniciando calculo del primer punto.",
          "Primer pico en:" + std::to_string(p1),
          "",
          "Iniciando el calculo del segundo punto.",
          "Segundo pico en:" + std::to_string(p2),
          "Umbral encontrado:" + std::to_string(t),
          "",
          "Algoritmo Two Peak finalizado."};
}

// Peaks at 50 (100 pixels) and 200 (57), falling to a single least populated level, 120,
// between them; every level in between is populated.
DatosImagen bimodal() {
  std::map<int, int> c;
  for (int k = 50; k <= 120; ++k) c[k] = 30 + (120 - k);
  for (int k = 121; k <= 200; ++k) c[k] = 31 + (k - 121) / 3;
  return imagenDeCuentas(c);
}

// Every level populated, strictly rising and falling: local maxima only at 60 (400 pixels)
// and 190 (300), least populated level between them 142 (156).
DatosImagen dosMontes() {
  std::map<int, int> c;
  for (int k = 0; k < 256; ++k)
    c[k] = std::max(400 - 3 * std::abs(k - 60), 300 - 3 * std::abs(k - 190));
  return imagenDeCuentas(c);
}

struct CasoPicos {
  const char* nombre;
  DatosImagen imagen;
  int p1;
  int p2;
  int umbral;
};

void PrintTo(const CasoPicos& caso, std::ostream* os) { *os << caso.nombre; }

class TwoPeakUmbral : public ::testing::TestWithParam<CasoPicos> {};

TEST_P(TwoPeakUmbral, StraightRunWritesElevenLinesAndPublishes) {
  CasoPicos caso = GetParam();
  EntornoSimple e(caso.imagen);
  bool paso = false;
  EXPECT_EQ(AlgoritmoTwoPeak(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(), unir(trazaRecta(caso.p1, caso.p2, caso.umbral)));
  EXPECT_EQ(e.umbralPublicado(), caso.umbral);
  EXPECT_TRUE(e.dialogos().mensajes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, TwoPeakUmbral,
    ::testing::Values(
        // One level g: no score above 0, so p2 stays 0 and the valley is level 0.
        CasoPicos{"OneLevel", imagenUniforme(3, 2, 100), 100, 0, 0},
        CasoPicos{"OneLevelBlack", imagenUniforme(3, 2, 0), 0, 0, 0},
        CasoPicos{"EqualPeaksLowerIsFirst", imagenDeCuentas({{40, 128}, {200, 128}}), 40, 200, 41},
        CasoPicos{"BimodalValley", bimodal(), 50, 200, 120},
        // 900 at 105 scores 22,500; 10 at 200 scores 100,000 and wins.
        CasoPicos{"FarLowPeakBeatsNearHighOne",
                  imagenDeCuentas({{100, 1000}, {105, 900}, {200, 10}}), 100, 200, 101},
        // A second peak below the first: the valley scan runs upwards from it.
        CasoPicos{"SecondPeakBelowFirst", imagenDeCuentas({{20, 40}, {200, 216}}), 200, 20, 21},
        // No level between the peaks strictly below the first peak's count: p1 stays.
        CasoPicos{"FirstPeakKeptWithoutLowerLevel", imagenDeCuentas({{100, 128}, {101, 128}}), 100,
                  101, 100},
        CasoPicos{"StrictlyRisingAndFalling", dosMontes(), 60, 190, 142},
        // (254 - 0)² × 39000 = 2,516,124,000 does not fit 32 bits.
        CasoPicos{"ScoreBeyondThirtyTwoBits",
                  imagenDeCuentas({{0, 40000}, {254, 39000}, {128, 88}}), 0, 254, 1}),
    [](const auto& p) { return std::string(p.param.nombre); });

// The head of a step run: header and level 0's lines, as written whatever the answer.
std::vector<std::string> inicioPaso() {
  return {"Iniciando algoritmo Two Peak",
          "============================",
          "",
          "Iniciando calculo del primer punto.",
          "Considerando histograma[0] con valor: 220",
          "Valor Máximo por el momento: histograma[0]: 220",
          ""};
}

const std::vector<std::string> kSegundaFase = {"Primer pico en:60", "",
                                               "Iniciando el calculo del segundo punto."};
const std::vector<std::string> kPico60 = {"Valor máximo hasta el momento: 792000",
                                          "(60-60)^2 * Histograma[60]'400' = 0", ""};
const std::vector<std::string> kPico190 = {"Valor máximo hasta el momento: 792000",
                                           "(190-60)^2 * Histograma[190]'300' = 5070000", ""};
const std::vector<std::string> kFinal = {"Segundo pico en:190", "Umbral encontrado:142", "",
                                         "Algoritmo Two Peak finalizado."};

struct CasoPaso {
  const char* nombre;
  std::string respuestas;
  std::vector<std::string> traza;
  std::vector<Mensaje> mensajes;
  bool pasoFinal;  // a No in phase one does not outlast it
};

void PrintTo(const CasoPaso& caso, std::ostream* os) { *os << caso.nombre; }

class TwoPeakPaso : public ::testing::TestWithParam<CasoPaso> {};

TEST_P(TwoPeakPaso, WholeTraceAndBoxes) {
  const CasoPaso& caso = GetParam();
  DatosImagen imagen = dosMontes();
  EntornoSimple e(imagen, caso.respuestas);
  bool paso = true;
  EXPECT_EQ(AlgoritmoTwoPeak(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(), unir(caso.traza));
  const std::vector<Mensaje>& m = e.dialogos().mensajes();
  ASSERT_EQ(m.size(), caso.mensajes.size());
  for (size_t i = 0; i < m.size(); ++i) {
    EXPECT_EQ(m[i].titulo, caso.mensajes[i].titulo) << i;
    EXPECT_EQ(m[i].texto, caso.mensajes[i].texto) << i;
    EXPECT_EQ(m[i].estilo, caso.mensajes[i].estilo) << i;
  }
  EXPECT_EQ(paso, caso.pasoFinal);
  EXPECT_EQ(e.umbralPublicado(), 142);
}

const Mensaje kPregunta0{"Paso a paso",
                         "Considerando histograma[0] con valor: 220\r\r"
                         "Valor Máximo por el momento: histograma[0]: 220",
                         kEstiloSiNo, 0};
const Mensaje kPregunta60{"Paso a paso",
                          "Valor máximo hasta el momento: 792000\r"
                          "(60-60)^2 * Histograma[60]'400' = 0\r\r¿Continuar paso a paso?",
                          kEstiloSiNo, 0};
const Mensaje kPregunta190{"Paso a paso",
                           "Valor máximo hasta el momento: 792000\r"
                           "(190-60)^2 * Histograma[190]'300' = 5070000\r\r¿Continuar paso a paso?",
                           kEstiloSiNo, 0};

INSTANTIATE_TEST_SUITE_P(
    Casos, TwoPeakPaso,
    ::testing::Values(
        // No at the first prompt: phase one ends its prompts with no cancel line, but phase
        // two prompts again; Yes to both there shows the update box.
        CasoPaso{"NoInPhaseOneThenYes",
                 "NSS",
                 mas(mas(mas(mas(inicioPaso(), kSegundaFase), kPico60), kPico190),
                     mas({"Segundo pico actualizado a: 190"}, kFinal)),
                 {kPregunta0, kPregunta60, kPregunta190,
                  Mensaje{"Velarno", "Segundo pico actualizado a: 190", kEstiloSimple, 0}},
                 true},
        // No in both phases: one cancel line, in phase two, and no update box after it.
        CasoPaso{"NoInBothPhases",
                 "NSN",
                 mas(mas(mas(mas(inicioPaso(), kSegundaFase), kPico60), kPico190),
                     mas({"Paso a paso cancelado"}, kFinal)),
                 {kPregunta0, kPregunta60, kPregunta190},
                 false},
        // Yes twice in phase one: level 1 raises the maximum (box and lines); the No at level
        // 2 still writes that level's lines, and its rise to the maximum is silent.
        CasoPaso{"NoAtThirdLevel",
                 "SSNN",
                 mas(mas(mas(inicioPaso(),
                             {"Considerando histograma[1] con valor: 223",
                              "Valor Máximo por el momento: histograma[0]: 220", "",
                              "Cambio de pico máximo", "Nuevo valor de gris con nivel máximo: 1",
                              "", "Considerando histograma[2] con valor: 226",
                              "Valor Máximo por el momento: histograma[1]: 223", ""}),
                         mas(kSegundaFase, kPico60)),
                     mas({"Paso a paso cancelado"}, kFinal)),
                 {kPregunta0,
                  Mensaje{"Paso a paso",
                          "Considerando histograma[1] con valor: 223\r\r"
                          "Valor Máximo por el momento: histograma[0]: 220",
                          kEstiloSiNo, 0},
                  Mensaje{"Velarno",
                          "Cambio de pico máximo\r\r"
                          "Nuevo valor de gris con nivel máximo: 1",
                          kEstiloSimple, 0},
                  Mensaje{"Paso a paso",
                          "Considerando histograma[2] con valor: 226\r\r"
                          "Valor Máximo por el momento: histograma[1]: 223",
                          kEstiloSiNo, 0},
                  kPregunta60},
                 false}),
    [](const auto& p) { return std::string(p.param.nombre); });

// Never cancelled: one prompt per level in phase one and one box per rise of the maximum
// (levels 1 to 60), then one prompt per local maximum and the update box.
TEST(AlgoritmoTwoPeak, UncancelledStepRunPromptsEveryLevel) {
  DatosImagen imagen = dosMontes();
  EntornoSimple e(imagen, std::string(300, 'S'));
  bool paso = true;
  EXPECT_EQ(AlgoritmoTwoPeak(e, paso), Fin::Publicado);
  int preguntas = 0;
  int cambios = 0;
  for (const Mensaje& m : e.dialogos().mensajes()) {
    if (m.estilo == kEstiloSiNo) ++preguntas;
    if (m.texto.rfind("Cambio de pico máximo", 0) == 0) ++cambios;
  }
  EXPECT_EQ(preguntas, 256 + 2);
  EXPECT_EQ(cambios, 60);
  EXPECT_EQ(e.traza().lineas().size(), 4 + 3 * 256 + 3 * 60 + 3 + 3 * 2 + 1 + 4u);
  EXPECT_TRUE(paso);
  EXPECT_EQ(e.umbralPublicado(), 142);
}

// A step run whose first phase is cancelled shows the 64-bit score in full.
TEST(AlgoritmoTwoPeak, ScoreBeyondThirtyTwoBitsIsWrittenExactly) {
  DatosImagen imagen = imagenDeCuentas({{0, 40000}, {254, 39000}, {128, 88}});
  EntornoSimple e(imagen, "N" + std::string(300, 'S'));
  bool paso = true;
  AlgoritmoTwoPeak(e, paso);
  const std::vector<std::string>& lineas = e.traza().lineas();
  EXPECT_NE(
      std::find(lineas.begin(), lineas.end(), "(254-0)^2 * Histograma[254]'39000' = 2516124000"),
      lineas.end());
  EXPECT_EQ(e.umbralPublicado(), 1);
}

}  // namespace
}  // namespace velarno
