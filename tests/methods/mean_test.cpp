#include "methods/mean.h"

#include <cmath>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "methods/dialogos_guion.h"
#include "methods/numeros.h"
#include "methods/traza.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::EntornoPrueba;
using prueba::imagenLlena;

std::string trazaRecta(const std::string& suma, const std::string& pixeles, int umbral) {
  return "Iniciando algoritmo Mean\n========================\nsuma Total: " + suma +
         "\nNº de pixels: " + pixeles + "\nUmbral encontrado: " + std::to_string(umbral) +
         "\n\nAlgoritmo Mean finalizado.\n";
}

struct CasoUmbral {
  const char* nombre;
  std::function<DatosImagen()> imagen;
  char separador;
  std::string suma;
  std::string pixeles;
  int umbral;
};

void PrintTo(const CasoUmbral& caso, std::ostream* os) { *os << caso.nombre; }

class MeanUmbral : public ::testing::TestWithParam<CasoUmbral> {};

TEST_P(MeanUmbral, PublishesRoundedMeanAfterSevenLines) {
  const CasoUmbral& caso = GetParam();
  EntornoPrueba e(caso.imagen());
  e.setSeparadorDecimal(caso.separador);
  bool paso = false;
  EXPECT_EQ(AlgoritmoMean(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(), trazaRecta(caso.suma, caso.pixeles, caso.umbral));
  EXPECT_EQ(e.publicados, std::vector<int>{caso.umbral});
  EXPECT_TRUE(e.mensajes().empty());
  EXPECT_FALSE(paso);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, MeanUmbral,
    ::testing::Values(
        CasoUmbral{"Uniform100", [] { return imagenUniforme(3, 2, 100); }, '.', "600", "6", 100},
        CasoUmbral{"HalfDownToEven",
                   [] {
                     return imagenDesdeFilas({{0, 1}});
                   },
                   '.', "1", "2", 0},
        CasoUmbral{"HalfUpToEven",
                   [] {
                     return imagenDesdeFilas({{1, 2}});
                   },
                   '.', "3", "2", 2},
        CasoUmbral{"AllBlack", [] { return imagenUniforme(4, 3, 0); }, '.', "0", "12", 0},
        CasoUmbral{"AllWhite", [] { return imagenUniforme(4, 3, 255); }, '.', "3060", "12", 255},
        CasoUmbral{"OnePixel", [] { return imagenDesdeFilas({{37}}); }, '.', "37", "1", 37},
        // 2.5 rounds down to 2 only when the sum is divided exactly.
        CasoUmbral{"TwoAndAHalf",
                   [] {
                     return imagenDesdeFilas({{2, 3}, {3, 2}});
                   },
                   '.', "10", "4", 2},
        CasoUmbral{"MillionPixelsPlain", [] { return imagenLlena(1000, 1000, 7); }, '.', "7000000",
                   "1000000", 7},
        CasoUmbral{"TwelveMegapixelsSingleExponent", [] { return imagenLlena(4000, 3000, 9); }, '.',
                   "108000000", "1.2E+07", 9},
        CasoUmbral{"LocaleSeparatorInCount", [] { return imagenLlena(4000, 3000, 9); }, ',',
                   "108000000", "1,2E+07", 9},
        // The sum passes 2^32 and the picture spans more than one summing block.
        CasoUmbral{"BigWhiteBeyond32Bits", [] { return imagenLlena(5000, 5000, 255); }, '.',
                   "6375000000", "2.5E+07", 255}),
    [](const auto& p) { return std::string(p.param.nombre); });

// The same threshold and sum as a plain row-by-row reading, on pictures whose mean is not a
// round number.
TEST(AlgoritmoMean, StraightRunMatchesPlainReadingOnRandomPictures) {
  for (unsigned semilla = 1; semilla <= 20; ++semilla) {
    const int32_t ancho = static_cast<int32_t>(1 + semilla * 7 % 53);
    const int32_t alto = static_cast<int32_t>(1 + semilla * 11 % 29);
    DatosImagen imagen = imagenAleatoria(ancho, alto, semilla);
    int64_t suma = 0;
    for (int32_t i = 0; i < alto; ++i)
      for (int32_t j = 0; j < ancho; ++j) suma += imagen.pixeles.gris(j, i);
    const double media = static_cast<double>(suma) / (double(alto) * double(ancho));
    const int umbral = static_cast<int>(std::nearbyint(media));

    EntornoPrueba e(imagen);
    bool paso = false;
    AlgoritmoMean(e, paso);
    EXPECT_EQ(e.traza().texto(),
              trazaRecta(std::to_string(suma), std::to_string(int64_t{ancho} * alto), umbral))
        << "seed " << semilla;
  }
}

TEST(AlgoritmoMean, RerunStartsFromAnEmptyTrace) {
  EntornoPrueba e(imagenDesdeFilas({{100, 100, 100}}));
  bool paso = false;
  AlgoritmoMean(e, paso);
  AlgoritmoMean(e, paso);
  EXPECT_EQ(e.traza().texto(),
            "Iniciando algoritmo Mean\n========================\n"
            "suma Total: 300\nNº de pixels: 3\nUmbral encontrado: 100\n\n"
            "Algoritmo Mean finalizado.\n");
  EXPECT_EQ(e.publicados, (std::vector<int>{100, 100}));
}

// Three columns, two rows; distinct levels so that a swapped index shows.
DatosImagen imagen3x2() { return imagenDesdeFilas({{10, 20, 30}, {40, 50, 60}}); }

std::string prompt(const std::string& k, const std::string& punto, const std::string& g,
                   const std::string& s) {
  return "\r\nIteración: " + k + "\r\nNivel de gris del punto (" + punto + ")= " + g +
         "- Suma = " + s + "\r\n\r\n¿Continuar paso a paso?";
}

TEST(AlgoritmoMean, StepCancelledAtSecondPromptFinishesLikeAStraightRun) {
  EntornoPrueba e(imagen3x2(), "SN");
  bool paso = true;
  EXPECT_EQ(AlgoritmoMean(e, paso), Fin::Publicado);
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.traza().texto(),
            "Iniciando algoritmo Mean\n"
            "========================\n"
            "Iteración: 1\n"
            "Nivel de gris del punto (0,0): 10 - Suma acumulada = 10\n"
            "\n"
            "Iteración: 2\n"
            "Nivel de gris del punto (0,1): 20 - Suma acumulada = 30\n"
            "\n"
            "Paso a Paso cancelado.\n"
            "suma Total: 210\n"
            "Nº de pixels: 6\n"
            "Umbral encontrado: 35\n"
            "\n"
            "Algoritmo Mean finalizado.\n");
  const std::vector<Mensaje>& m = e.mensajes();
  ASSERT_EQ(m.size(), 2u);  // no summary box once cancelled
  EXPECT_EQ(m[0].titulo, "Ejecución paso a paso");
  EXPECT_EQ(m[0].estilo, kEstiloSiNo);
  EXPECT_EQ(m[0].texto, prompt("1", "0,0", "10", "10"));
  EXPECT_EQ(m[1].titulo, "Ejecución paso a paso");
  EXPECT_EQ(m[1].texto, prompt("2", "0,1", "20", "30"));
  EXPECT_EQ(m[1].respuesta, kNo);
  EXPECT_EQ(e.publicados, std::vector<int>{35});
}

TEST(AlgoritmoMean, StepCancelledAtFirstPromptOfBigPictureSumsTheRest) {
  DatosImagen imagen = imagenAleatoria(300, 200, 5);
  imagen.pixeles.setGris(0, 0, 200);
  EntornoPrueba recta(imagen);
  bool pasoRecta = false;
  AlgoritmoMean(recta, pasoRecta);

  EntornoPrueba e(imagen, "N");
  bool paso = true;
  AlgoritmoMean(e, paso);
  const std::vector<std::string>& lineas = e.traza().lineas();
  ASSERT_EQ(lineas.size(), 11u);
  EXPECT_EQ(lineas[3], "Nivel de gris del punto (0,0): 200 - Suma acumulada = 200");
  EXPECT_EQ(lineas[5], "Paso a Paso cancelado.");
  EXPECT_EQ(
      std::vector<std::string>(lineas.begin() + 6, lineas.end()),
      std::vector<std::string>(recta.traza().lineas().begin() + 2, recta.traza().lineas().end()));
  EXPECT_EQ(e.publicados, recta.publicados);
  EXPECT_EQ(e.mensajes().size(), 1u);
}

TEST(AlgoritmoMean, StepWithoutCancellingShowsSummaryOnceBeforeClosingLines) {
  EntornoPrueba e(imagen3x2(), "SSSSSS");
  bool paso = true;
  EXPECT_EQ(AlgoritmoMean(e, paso), Fin::Publicado);
  EXPECT_TRUE(paso);
  const std::vector<Mensaje>& m = e.mensajes();
  ASSERT_EQ(m.size(), 7u);
  const char* puntos[] = {"0,0", "0,1", "0,2", "1,0", "1,1", "1,2"};
  const char* grises[] = {"10", "20", "30", "40", "50", "60"};
  const char* sumas[] = {"10", "30", "60", "100", "150", "210"};
  for (size_t n = 0; n < 6; ++n) {
    EXPECT_EQ(m[n].texto, prompt(std::to_string(n + 1), puntos[n], grises[n], sumas[n]))
        << "prompt " << n + 1;
    // Each prompt follows its pixel's three lines.
    EXPECT_EQ(e.lineasAlMostrar()[n], 2 + 3 * (n + 1));
  }
  EXPECT_EQ(m[6].titulo, "Velarno");
  EXPECT_EQ(m[6].estilo, kEstiloSimple);
  EXPECT_EQ(m[6].texto, "\r\nsuma Total: 210\r\nNº de pixels: 6\r\n");
  const std::vector<std::string>& lineas = e.traza().lineas();
  ASSERT_EQ(e.lineasAlMostrar()[6], 2 + 3 * 6 + 2u);
  EXPECT_EQ(lineas[2 + 3 * 6 + 1], "Nº de pixels: 6");
  EXPECT_EQ(lineas.size(), 2 + 3 * 6 + 5u);
  EXPECT_EQ(lineas.back(), "Algoritmo Mean finalizado.");
  EXPECT_EQ(e.publicados, std::vector<int>{35});
}

// A picture without pixels cannot be opened; if one reaches the method it ends without a
// result instead of dividing by zero.
TEST(AlgoritmoMean, EmptyPictureEndsWithoutResult) {
  DatosImagen vacia;
  EntornoPrueba e(vacia);
  bool paso = false;
  EXPECT_EQ(AlgoritmoMean(e, paso), Fin::SinResultado);
  EXPECT_EQ(e.traza().texto(),
            "Iniciando algoritmo Mean\n========================\nsuma Total: 0\n"
            "Nº de pixels: 0\nNo se puede calcular la media: la imagen no tiene pixels.\n");
  EXPECT_TRUE(e.publicados.empty());
}

}  // namespace
}  // namespace velarno
