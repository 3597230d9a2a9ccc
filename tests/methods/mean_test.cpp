#include "methods/mean.h"

#include <cmath>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::textoMensajes;

std::string trazaRecta(const std::string& suma, const std::string& pixeles, int umbral) {
  return "Iniciando algoritmo Mean\n========================\nsuma Total: " + suma +
         "\nNº de pixels: " + pixeles + "\nUmbral encontrado: " + std::to_string(umbral) +
         "\n\nAlgoritmo Mean finalizado.\n";
}

// Halves rounded to even; the sum of 25 M white pixels passes 2^32 and spans more than one
// summing block; the count is a Single, written with the separator.
TEST(AlgoritmoMean, PublishesRoundedMeanAfterSevenLines) {
  std::tuple<DatosImagen, char, std::string, std::string, int> casos[] = {
      {imagenDesdeFilas({{0, 1}}), '.', "1", "2", 0},
      {imagenDesdeFilas({{1, 2}}), '.', "3", "2", 2},
      {imagenUniforme(5000, 5000, 255), ',', "6375000000", "2,5E+07", 255}};
  for (auto& [imagen, separador, suma, pixeles, umbral] : casos) {
    EntornoSimple e(imagen);
    e.setSeparadorDecimal(separador);
    bool paso = false;
    EXPECT_EQ(AlgoritmoMean(e, paso), Fin::Publicado);
    EXPECT_EQ(e.traza().texto(), trazaRecta(suma, pixeles, umbral));
    EXPECT_EQ(e.umbralPublicado(), umbral);
    EXPECT_EQ(e.lineasAlPublicar(), 7u);
    EXPECT_TRUE(e.dialogos().mensajes().empty());
  }
}

// The sum and threshold of a plain row-by-row reading, on pictures whose mean is not round;
// a second run on the same context starts from an empty trace.
TEST(AlgoritmoMean, StraightRunMatchesPlainReading) {
  for (unsigned semilla = 1; semilla <= 20; ++semilla) {
    const int32_t ancho = static_cast<int32_t>(1 + semilla * 7 % 53);
    const int32_t alto = static_cast<int32_t>(1 + semilla * 11 % 29);
    DatosImagen imagen = imagenAleatoria(ancho, alto, semilla);
    int64_t suma = 0;
    for (int32_t i = 0; i < alto; ++i)
      for (int32_t j = 0; j < ancho; ++j) suma += imagen.pixeles.gris(j, i);
    const int64_t n = int64_t{ancho} * alto;
    const int umbral = static_cast<int>(std::nearbyint(double(suma) / double(n)));
    EntornoSimple e(imagen);
    bool paso = false;
    AlgoritmoMean(e, paso);
    AlgoritmoMean(e, paso);
    EXPECT_EQ(e.traza().texto(), trazaRecta(std::to_string(suma), std::to_string(n), umbral))
        << "seed " << semilla;
    EXPECT_EQ(e.publicaciones(), 2);
  }
}

std::string pregunta(const char* respuesta, int lineas, const std::string& punto, int g, int suma) {
  return "Ejecución paso a paso|4|" + std::string(respuesta) + "|" + std::to_string(lineas) +
         "|\\r\\nIteración: " + std::to_string((lineas - 2) / 3) +
         "\\r\\nNivel de gris del punto (" + punto + ")= " + std::to_string(g) +
         "- Suma = " + std::to_string(suma) + "\\r\\n\\r\\n¿Continuar paso a paso?\n";
}

// Three lines and a prompt per pixel, row by row; a No sums the rest at once.
TEST(AlgoritmoMean, StepCancelledAtSecondPixel) {
  DatosImagen imagen = imagenDesdeFilas({{10, 20, 30}, {40, 50, 60}});
  EntornoSimple e(imagen, "SN");
  bool paso = true;
  EXPECT_EQ(AlgoritmoMean(e, paso), Fin::Publicado);
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.traza().texto(),
            "Iniciando algoritmo Mean\n========================\n"
            "Iteración: 1\nNivel de gris del punto (0,0): 10 - Suma acumulada = 10\n\n"
            "Iteración: 2\nNivel de gris del punto (0,1): 20 - Suma acumulada = 30\n\n"
            "Paso a Paso cancelado.\nsuma Total: 210\nNº de pixels: 6\n"
            "Umbral encontrado: 35\n\nAlgoritmo Mean finalizado.\n");
  EXPECT_EQ(textoMensajes(e), pregunta("6", 5, "0,0", 10, 10) + pregunta("7", 8, "0,1", 20, 30));
}

// Going through to the end shows the summary box between the count and the threshold lines.
TEST(AlgoritmoMean, StepAnsweredYesThroughoutShowsTheSummary) {
  DatosImagen imagen = imagenDesdeFilas({{10}, {21}});
  EntornoSimple e(imagen, "SS");
  bool paso = true;
  EXPECT_EQ(AlgoritmoMean(e, paso), Fin::Publicado);
  EXPECT_TRUE(paso);
  EXPECT_EQ(textoMensajes(e),
            pregunta("6", 5, "0,0", 10, 10) + pregunta("6", 8, "1,0", 21, 31) +
                "Velarno|0|1|10|\\r\\nsuma Total: 31\\r\\nNº de pixels: 2\\r\\n\n");
  EXPECT_EQ(e.umbralPublicado(), 16);
}

// A picture without pixels cannot be opened; if one reaches the method it ends without a
// result instead of dividing by zero.
TEST(AlgoritmoMean, EmptyPictureEndsWithoutResult) {
  DatosImagen vacia;
  EntornoSimple e(vacia);
  bool paso = false;
  EXPECT_EQ(AlgoritmoMean(e, paso), Fin::SinResultado);
  EXPECT_EQ(e.traza().texto(),
            "Iniciando algoritmo Mean\n========================\nsuma Total: 0\n"
            "Nº de pixels: 0\nNo se puede calcular la media: la imagen no tiene pixels.\n");
  EXPECT_EQ(e.publicaciones(), 0);
}

}  // namespace
}  // namespace velarno
