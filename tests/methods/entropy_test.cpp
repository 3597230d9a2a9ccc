#include "methods/entropy.h"

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

std::string traza(int umbral, const std::string& pasos = "") {
  return "Iniciando Algoritmo Entropy\n===========================\n\n" + pasos +
         "Umbral encontrado: " + std::to_string(umbral) + "\n\nAlgoritmo entropy Finalizado.\n";
}

// Equal halves a < b: ln 2 below a and from b on, 0 between, the lowest maximum winning.
// p = 1/4, 1/4, 1/2: H(1) = ln 2 beats H(0), the whole distribution at t = 2 beats both; the
// same levels shifted up: t = 0 (empty dark class) already scores the whole entropy, which
// later thresholds only equal.
TEST(AlgoritmoEntropy, PublishesBeforeClosingLines) {
  const std::pair<std::vector<std::vector<int>>, int> casos[] = {{{{40, 200}, {200, 40}}, 0},
                                                                 {{{0, 0, 200, 200}}, 200},
                                                                 {{{0, 1, 2, 2}}, 2},
                                                                 {{{10, 11, 12, 12}}, 0}};
  for (const auto& [filas, umbral] : casos) {
    DatosImagen imagen = imagenDesdeFilas(filas);
    EntornoSimple e(imagen);
    bool paso = false;
    EXPECT_EQ(AlgoritmoEntropy(e, paso), Fin::Publicado);
    EXPECT_EQ(e.traza().texto(), traza(umbral));
    EXPECT_EQ(e.umbralPublicado(), umbral);
    EXPECT_EQ(e.lineasAlPublicar(), 3u);
    EXPECT_TRUE(e.dialogos().mensajes().empty());
  }
}

// A prompt at every improvement (t = 1 and t = 2 here); No writes the cancel lines once and
// the run goes on silently to the same threshold.
TEST(AlgoritmoEntropy, StepRunCancelledAtTheSecondImprovement) {
  DatosImagen imagen = imagenDesdeFilas({{0, 1, 2, 2}});
  EntornoSimple e(imagen, "SN");
  bool paso = true;
  EXPECT_EQ(AlgoritmoEntropy(e, paso), Fin::Publicado);
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.traza().texto(), traza(2, "Paso a paso cancelado\n\n"));
  EXPECT_EQ(prueba::textoMensajes(e),
            "Paso a paso|4|6|3|Nuevo valor de umbral: 1\\r\\r¿Continuar Paso a paso?\n"
            "Paso a paso|4|7|3|Nuevo valor de umbral: 2\\r\\r¿Continuar Paso a paso?\n");
  EXPECT_EQ(e.umbralPublicado(), 2);
  EXPECT_EQ(e.lineasAlPublicar(), 5u);
}

// The fractions divide by the single-precision product: above 2^24 pixels an odd count is
// rounded half to even (4097 x 4097 = 16,785,409 is 16,785,408), so one level holding every
// pixel gets a fraction just off 1.
TEST(histogramC, DividesByTheSinglePrecisionProduct) {
  for (const auto& [ancho, alto, n] :
       {std::tuple{4097, 4097, 16'785'408.0}, std::tuple{61, 37, 2'257.0}}) {
    HistogramaNormalizado p{};
    histogramC(imagenUniforme(ancho, alto, 77), p);
    EXPECT_EQ(p[77], static_cast<double>(int64_t{ancho} * alto) / n);
    EXPECT_EQ(p[76], 0.0);
  }
}

}  // namespace
}  // namespace velarno
