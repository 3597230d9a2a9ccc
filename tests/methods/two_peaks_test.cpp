#include "methods/two_peaks.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

const std::string kCabecera =
    "Iniciando algoritmo Two Peak\n============================\n\n"
    "Iniciando calculo del primer punto.\n";

// One level: no score above 0, so p2 stays 0 and the valley is 0. Of equal peaks the lower is
// first. 900 at 105 scores 22,500, 10 at 200 scores 100,000 and wins. A second peak below the
// first: the valley scan runs up from it. No level between the peaks below p1's count: p1 stays;
// a level equal to a neighbour is a local maximum. (254 - 0)² × 39000 does not fit 32 bits.
TEST(AlgoritmoTwoPeak, StraightRunWritesElevenLinesAndPublishes) {
  const std::tuple<std::map<int, int>, int, int, int> casos[] = {
      {{{100, 6}}, 100, 0, 0},
      {{{40, 128}, {200, 128}}, 40, 200, 41},
      {{{100, 1000}, {105, 900}, {200, 10}}, 100, 200, 101},
      {{{20, 40}, {200, 216}}, 200, 20, 21},
      {{{100, 128}, {101, 128}}, 100, 101, 100},
      {{{0, 40000}, {254, 39000}, {128, 88}}, 0, 254, 1}};
  for (const auto& [cuentas, p1, p2, umbral] : casos) {
    DatosImagen imagen = imagenDeCuentas(cuentas);
    EntornoSimple e(imagen);
    bool paso = false;
    EXPECT_EQ(AlgoritmoTwoPeak(e, paso), Fin::Publicado);
    EXPECT_EQ(e.traza().texto(), kCabecera + "Primer pico en:" + std::to_string(p1) +
                                     "\n\nIniciando el calculo del segundo punto.\nSegundo pico "
                                     "en:" +
                                     std::to_string(p2) +
                                     "\nUmbral encontrado:" + std::to_string(umbral) +
                                     "\n\nAlgoritmo Two Peak finalizado.\n");
    EXPECT_EQ(e.umbralPublicado(), umbral);
    EXPECT_TRUE(e.dialogos().mensajes().empty());
  }
}

std::string nivel(int k, int h, int maximo, int hMaximo) {
  return "Considerando histograma[" + std::to_string(k) + "] con valor: " + std::to_string(h) +
         "\nValor Máximo por el momento: histograma[" + std::to_string(maximo) +
         "]: " + std::to_string(hMaximo) + "\n\n";
}

// The prompt of a step block: its lines but the last, joined by `separador`.
std::string pregunta(const char* respuesta, int lineas, std::string bloque,
                     const std::string& separador, const std::string& final = "") {
  bloque.replace(bloque.find('\n'), 1, separador);
  return "Paso a paso|4|" + std::string(respuesta) + "|" + std::to_string(lineas) + "|" +
         bloque.substr(0, bloque.size() - 2) + final + "\n";
}

// Every level populated, strictly rising and falling: local maxima only at 60 (400 pixels)
// and 190 (300), least populated level between them 142 (156). Phase one: a prompt before
// every level's lines, a box at every rise of the maximum; the No at level 2 still writes that
// level's lines, writes no cancel line, and the later rises are silent. Phase two prompts again
// (a prompt after every local maximum's lines): Yes shows the update box.
TEST(AlgoritmoTwoPeak, StepRunInBothPhases) {
  std::map<int, int> cuentas;
  for (int k = 0; k < 256; ++k)
    cuentas[k] = std::max(400 - 3 * std::abs(k - 60), 300 - 3 * std::abs(k - 190));
  DatosImagen imagen = imagenDeCuentas(cuentas);
  EntornoSimple e(imagen, "SSNSS");
  bool paso = true;
  EXPECT_EQ(AlgoritmoTwoPeak(e, paso), Fin::Publicado);
  EXPECT_TRUE(paso);
  const std::string pico60 =
      "Valor máximo hasta el momento: 792000\n(60-60)^2 * Histograma[60]'400' = 0\n\n";
  const std::string pico190 =
      "Valor máximo hasta el momento: 792000\n(190-60)^2 * Histograma[190]'300' = 5070000\n\n";
  EXPECT_EQ(e.traza().texto(),
            kCabecera + nivel(0, 220, 0, 220) + nivel(1, 223, 0, 220) +
                "Cambio de pico máximo\nNuevo valor de gris con nivel máximo: 1\n\n" +
                nivel(2, 226, 1, 223) +
                "Primer pico en:60\n\nIniciando el calculo del segundo punto.\n" + pico60 +
                pico190 +
                "Segundo pico actualizado a: 190\nSegundo pico en:190\nUmbral encontrado:142\n\n"
                "Algoritmo Two Peak finalizado.\n");
  const std::string continuar = "\\r\\r¿Continuar paso a paso?";
  EXPECT_EQ(prueba::textoMensajes(e),
            pregunta("6", 4, nivel(0, 220, 0, 220), "\\r\\r") +
                pregunta("6", 7, nivel(1, 223, 0, 220), "\\r\\r") +
                "Velarno|0|1|10|Cambio de pico máximo\\r\\rNuevo valor de gris con nivel máximo: "
                "1\n" +
                pregunta("7", 13, nivel(2, 226, 1, 223), "\\r\\r") +
                pregunta("6", 22, pico60, "\\r", continuar) +
                pregunta("6", 25, pico190, "\\r", continuar) +
                "Velarno|0|1|25|Segundo pico actualizado a: 190\n");
  EXPECT_EQ(e.umbralPublicado(), 142);
}

}  // namespace
}  // namespace velarno
