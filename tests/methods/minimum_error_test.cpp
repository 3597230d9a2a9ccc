#include "methods/minimum_error.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

const std::string kCabecera =
    "Iniciando algoritmo Minimo error\n================================\n\n";

std::string cierre(int umbral) {
  return "umbral: " + std::to_string(umbral) + "\n\nAlgoritmo Minimo Error Finalizado.\n";
}

// Every J(t) of one level is 1 - 2 N ln N < 0: t = 1 is taken and never beaten. Every J(t) of
// one pixel is 1: nothing is below J(0) = 0. Two single-level classes from a to b - 1 give the
// least J. Published between the empty line and the closing line.
TEST(AlgoritmoMinimumError, WholeStraightTrace) {
  const std::pair<std::vector<std::vector<int>>, int> casos[] = {
      {{{90, 90, 90}}, 1}, {{{128}}, 0}, {{{10, 20}, {20, 10}}, 10}};
  for (const auto& [filas, umbral] : casos) {
    DatosImagen imagen = imagenDesdeFilas(filas);
    EntornoSimple e(imagen);
    bool paso = false;
    EXPECT_EQ(AlgoritmoMinimumError(e, paso), Fin::Publicado);
    const std::string mejora =
        umbral == 0 ? "" : "Nuevo valor de umbral: " + std::to_string(umbral) + "\n";
    EXPECT_EQ(e.traza().texto(), kCabecera + mejora + cierre(umbral));
    EXPECT_EQ(e.umbralPublicado(), umbral);
    EXPECT_EQ(e.lineasAlPublicar(), e.traza().lineas().size() - 1);
    EXPECT_TRUE(e.dialogos().mensajes().empty());
  }
}

// A block of six lines and a prompt per threshold; No at the first, which improves on J(0):
// the cancel lines come before its improvement line, and no block or prompt follows.
TEST(AlgoritmoMinimumError, NoAtAnImprovingThreshold) {
  DatosImagen imagen = imagenDesdeFilas({{0, 1, 1, 9}});
  EntornoSimple e(imagen, "N");
  e.setSeparadorDecimal(',');
  bool paso = true;
  EXPECT_EQ(AlgoritmoMinimumError(e, paso), Fin::Publicado);
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.traza().texto(), kCabecera +
                                   "Iteración: 1\nP1: 3\nP2: 1\nS1: 0,222222222222222\nS2: 0\n\n"
                                   "\nPaso a paso cancelado\nNuevo valor de umbral: 1\n" +
                                   cierre(1));
  EXPECT_EQ(prueba::textoMensajes(e),
            "Paso a paso|4|7|9|Iteración: 1\\r\\rP1: 3\\rP2: 1\\rS1: 0,222222222222222\\rS2: 0\n");
  EXPECT_EQ(e.lineasAlPublicar(), 14u);
}

TEST(fJ, SingleLevelClassesGiveTheClosedForms) {
  DatosImagen imagen = imagenDesdeFilas({{10, 20}, {20, 10}});
  EntornoSimple e(imagen);
  bool paso = false;
  EXPECT_DOUBLE_EQ(fJ(e, 15, paso), 1 - 2 * 4 * std::log(4.0 / 2));
  EXPECT_EQ(fJ(e, 255, paso), fJ(e, 20, paso));
}

// Count x level products beyond 32 bits; an empty class has mean 0.
TEST(fu2, CountTimesLevelBeyond32BitsAndEmptyClasses) {
  DatosImagen imagen = imagenDeHistograma(3000, 3000, {{100, 1}, {255, 8'999'999}});
  EXPECT_EQ(fu2(imagen.histograma, 99), (100.0 + 255.0 * 8'999'999) / 9'000'000);
  EXPECT_EQ(fP1(imagen.histograma, 255), 9'000'000.0);
  EXPECT_EQ(fu1(imagen.histograma, 99), 0.0);
  EXPECT_EQ(fu2(imagen.histograma, 255), 0.0);
  EXPECT_EQ(fs2(imagen.histograma, 255), 0.0);
}

}  // namespace
}  // namespace velarno
