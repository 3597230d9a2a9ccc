#include "methods/relajacion.h"

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
using prueba::planoGris;
using prueba::planoNegro;
using prueba::textoMensajes;

std::string cabecera(const std::string& clase) {
  return "Atención: Este algoritmos puede tardar varios minutos en ejecutarse\n\n"
         "Iniciando Algoritmo de Relajacion\n=================================\n\n"
         "Asignamiento de pixeles por medio de clases " +
         clase + "\n\n";
}
const std::string kCierre = "Algoritmo de Relajacion Finalizado\n";

// Sets a checkerboard of negro flags, standing for an earlier binarization.
DatosImagen conTablero(DatosImagen imagen) {
  for (int32_t y = 0; y < imagen.alto; ++y)
    for (int32_t x = 0; x < imagen.ancho; ++x) imagen.pixeles.setNegro(x, y, (x + y) % 2 == 0);
  return imagen;
}

std::vector<uint8_t> plano(const std::vector<std::vector<int>>& filas) {
  std::vector<uint8_t> v;
  for (const auto& fila : filas)
    for (int n : fila) v.push_back(static_cast<uint8_t>(n));
  return v;
}

Fin correr(EntornoPrueba& e, const std::string& clase) {
  e.setTexto("MetRelajacion", clase);
  return AlgoritmoRelajacion(e);
}

TEST(AlgoritmoRelajacion, TwoLevelsWithRosenfeldSettleAtOnce) {
  const DatosImagen antes =
      conTablero(imagenDesdeFilas({{40, 40, 200, 200}, {40, 40, 40, 200}, {200, 40, 200, 200}}));
  DatosImagen imagen = antes;
  EntornoPrueba e(imagen);
  e.copiarDibujo = true;
  EXPECT_EQ(correr(e, "Rosenfeld"), Fin::Dibujado);
  EXPECT_EQ(e.traza().texto(), cabecera("Rosenfeld") + "Iteration: 1\rresiduo: 0\n\n" + kCierre);
  EXPECT_EQ(textoMensajes(e.mensajes()),
            "Atencion|64|1|Este algoritmos puede tardar varios minutos en ejecutarse\n");
  EXPECT_EQ(e.dibujo, plano({{1, 1, 0, 0}, {1, 1, 1, 0}, {0, 1, 0, 0}}));
  EXPECT_EQ(e.dibujos, 1);
  EXPECT_TRUE(e.publicados.empty());
  EXPECT_EQ(planoNegro(imagen), planoNegro(antes));
  EXPECT_EQ(planoGris(imagen), planoGris(antes));
}

struct CasoUnNivel {
  const char* nombre;
  const char* clase;
  int gris;
};

class RelajacionUnNivel : public ::testing::TestWithParam<CasoUnNivel> {};

TEST_P(RelajacionUnNivel, EqualProbabilitiesEverywhereGiveWhite) {
  const CasoUnNivel& caso = GetParam();
  DatosImagen imagen = conTablero(imagenUniforme(7, 6, caso.gris));
  EntornoPrueba e(imagen);
  e.copiarDibujo = true;
  correr(e, caso.clase);
  EXPECT_EQ(e.traza().texto(), cabecera(caso.clase) + "Iteration: 1\rresiduo: 0\n\n" + kCierre);
  EXPECT_EQ(e.dibujo, std::vector<uint8_t>(42, 0));
  Probabilidades pq(7, 6);
  assign_class(imagen, caso.clase, pq);
  EXPECT_EQ(pq.p, std::vector<double>(42, 0.5));
  EXPECT_EQ(pq.q, std::vector<double>(42, 0.5));
}

INSTANTIATE_TEST_SUITE_P(Casos, RelajacionUnNivel,
                         ::testing::Values(CasoUnNivel{"RosenfeldNoZeroOverZero", "Rosenfeld", 90},
                                           CasoUnNivel{"RosenfeldBlack", "Rosenfeld", 0},
                                           CasoUnNivel{"Neighbourhood", "Parker", 90}),
                         [](const auto& p) { return std::string(p.param.nombre); });

TEST(AlgoritmoRelajacion, PicturesWithoutInteriorMakeOnePass) {
  DatosImagen imagen = imagenDesdeFilas({{10, 250, 10, 250, 99}, {250, 10, 250, 10, 99}});
  EntornoPrueba e(imagen);
  e.copiarDibujo = true;
  correr(e, "Rosenfeld");
  EXPECT_EQ(e.traza().texto(), cabecera("Rosenfeld") + "Iteration: 1\rresiduo: 0\n\n" + kCierre);
  EXPECT_EQ(e.dibujo, plano({{1, 0, 1, 0, 1}, {0, 1, 0, 1, 1}}));
}

TEST(AlgoritmoRelajacion, AnyOtherClassTextUsesTheNeighbourhood) {
  const DatosImagen base = imagenAleatoria(25, 20, 4);
  DatosImagen a = base;
  DatosImagen b = base;
  EntornoPrueba ea(a);
  ea.copiarDibujo = true;
  EntornoPrueba eb(b);
  eb.copiarDibujo = true;
  correr(ea, "rosenfeld");
  correr(eb, "Parker");
  const std::string ta = ea.traza().texto();
  const std::string tb = eb.traza().texto();
  EXPECT_EQ(ta.substr(ta.find("Iteration")), tb.substr(tb.find("Iteration")));
  EXPECT_EQ(ea.dibujo, eb.dibujo);
}

struct CasoConvergencia {
  const char* nombre;
  std::vector<double> residuos;
  int pasadas;  // the pass after which the passes end
};

class ConvergenciaRegla : public ::testing::TestWithParam<CasoConvergencia> {};

TEST_P(ConvergenciaRegla, EndsAfterTheExpectedPass) {
  Convergencia c;
  int fin = 0;
  for (double r : GetParam().residuos)
    if (c.ultimaPasada(r)) {
      fin = c.pasadas;
      break;
    }
  EXPECT_EQ(fin, GetParam().pasadas);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ConvergenciaRegla,
    ::testing::Values(
        CasoConvergencia{"ResidualAtMostOne", {50, 20, 1}, 3},
        CasoConvergencia{"ThirdStallAfterAnImprovement", {50, 50, 50.00005, 50.00009, 1}, 4},
        CasoConvergencia{"ImprovementResetsTheCount", {50, 50, 50, 49, 49, 49, 49}, 7},
        CasoConvergencia{"FourthStallWithoutImprovement", {10000, 10000, 10000, 10000}, 4},
        CasoConvergencia{"HigherResidualsChangeNothing", {50, 60, 60, 60, 60, 50, 50, 50}, 8},
        CasoConvergencia{"HundredPasses", std::vector<double>(100, 20000), 100}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(AlgoritmoRelajacion, CancelledThroughProgressLeavesTheRecord) {
  const DatosImagen antes = conTablero(imagenAleatoria(30, 20, 3));
  DatosImagen imagen = antes;
  EntornoPrueba e(imagen);
  e.avancesPermitidos = 40;
  EXPECT_EQ(correr(e, "Parker"), Fin::Cancelado);
  EXPECT_EQ(e.traza().lineas().back(), "Ejecución cancelada por el usuario.");
  EXPECT_EQ(e.dibujos, 0);
  EXPECT_EQ(planoNegro(imagen), planoNegro(antes));
}

struct CasoVentanas {
  const char* nombre;
  DatosImagen imagen;
};

class ParkerVentanas : public ::testing::TestWithParam<CasoVentanas> {};

// Sizes reach past the blocks the start-up works in (64-pixel runs, strips of 64 columns,
// 8 x 8 transposition blocks) and stop short of them.
TEST_P(ParkerVentanas, FastStartMatchesTheWindowStatistics) {
  const DatosImagen& imagen = GetParam().imagen;
  Probabilidades pq(imagen.ancho, imagen.alto);
  assign_class(imagen, "Parker", pq);
  for (int x = 0; x < imagen.ancho; ++x)
    for (int y = 0; y < imagen.alto; ++y) {
      double m = 0;
      double xmin = 0;
      double xmax = 0;
      meanminmax(imagen, x, y, m, xmin, xmax);
      const double g = imagen.pixeles.gris(x, y);
      double p = 0.5;
      double q = 0.5;
      if (g <= m) {
        if (m != xmin) p = (m - g) / ((m - xmin) * 2) + 0.5;
        q = 1 - p;
      } else {
        if (xmax != m) q = (g - m) / ((xmax - m) * 2) + 0.5;
        p = 1 - q;
      }
      ASSERT_EQ(pq.p[pq.indice(x, y)], p) << x << "," << y;
      ASSERT_EQ(pq.q[pq.indice(x, y)], q) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ParkerVentanas,
    ::testing::Values(CasoVentanas{"Small", imagenAleatoria(33, 29, 8)},
                      CasoVentanas{"SeveralStripsAndRuns", imagenAleatoria(150, 131, 12)},
                      CasoVentanas{"WholeBlocks", imagenAleatoria(128, 64, 13)},
                      CasoVentanas{"NarrowRange", imagenAleatoria(70, 75, 14, 120, 123)},
                      CasoVentanas{"Gradient", degradado(97, 66, 9, 4)},
                      CasoVentanas{"OneRow", imagenAleatoria(90, 1, 15)},
                      CasoVentanas{"OneColumn", imagenAleatoria(1, 90, 16)}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(Update, InteriorValuesFollowTheNeighbourSupport) {
  const DatosImagen imagen = imagenAleatoria(9, 7, 5);
  Probabilidades pq(9, 7);
  assign_class(imagen, "Rosenfeld", pq);
  const Probabilidades antes = pq;
  update(pq);
  for (int x = 1; x < 8; ++x)
    for (int y = 1; y < 6; ++y) {
      const size_t i = antes.indice(x, y);
      const double a0 = 1 + fQ(antes, x, y, 0);
      const double a1 = 1 + fQ(antes, x, y, 1);
      const double den = a1 * antes.q[i] + a0 * antes.p[i];
      EXPECT_EQ(pq.p[i], a0 * antes.p[i] / den);
      EXPECT_EQ(pq.q[i], a1 * antes.q[i] / den);
    }
  EXPECT_EQ(pq.p[pq.indice(0, 3)], antes.p[antes.indice(0, 3)]);
}

struct CasoComparado {
  const char* nombre;
  DatosImagen imagen;
  const char* clase;
};

class RelajacionLiteral : public ::testing::TestWithParam<CasoComparado> {};

TEST_P(RelajacionLiteral, SameResidualsAndPictureAsTheLiteralMethod) {
  const CasoComparado& caso = GetParam();
  const DatosImagen antes = conTablero(caso.imagen);
  DatosImagen rapido = antes;
  DatosImagen lento = antes;
  EntornoPrueba er(rapido);
  er.copiarDibujo = true;
  EntornoPrueba el(lento);
  el.copiarDibujo = true;
  el.setTexto("MetRelajacion", caso.clase);
  EXPECT_EQ(correr(er, caso.clase), Fin::Dibujado);
  literal::Relajacion(el).ejecutar();
  EXPECT_EQ(er.traza().texto(), el.traza().texto());
  EXPECT_EQ(textoMensajes(er.mensajes()), textoMensajes(el.mensajes()));
  EXPECT_EQ(er.dibujo, el.dibujo);
  EXPECT_EQ(planoNegro(rapido), planoNegro(antes));
  EXPECT_EQ(planoGris(rapido), planoGris(antes));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, RelajacionLiteral,
    ::testing::Values(
        CasoComparado{"RandomRosenfeld", imagenAleatoria(17, 13, 1), "Rosenfeld"},
        CasoComparado{"RandomParker", imagenAleatoria(17, 13, 1), "Parker"},
        CasoComparado{"MediumRosenfeld", imagenAleatoria(64, 48, 2), "Rosenfeld"},
        CasoComparado{"MediumParker", imagenAleatoria(61, 47, 3), "Parker"},
        CasoComparado{"GradientRosenfeld", degradado(50, 37, 9, 4), "Rosenfeld"},
        CasoComparado{"GradientParker", degradado(50, 37, 9, 4), "Parker"},
        CasoComparado{"TwoLevelsParker", imagenAleatoria(23, 19, 4, 60, 61), "Parker"},
        CasoComparado{"NarrowRangeRosenfeld", imagenAleatoria(30, 26, 5, 100, 104), "Rosenfeld"},
        CasoComparado{"ConstantParker", imagenUniforme(12, 9, 200), "Parker"},
        CasoComparado{"OneWide", imagenAleatoria(1, 30, 6), "Parker"},
        CasoComparado{"TwoWide", imagenAleatoria(2, 30, 7), "Rosenfeld"},
        CasoComparado{"ThreeWideParker", imagenAleatoria(3, 30, 8), "Parker"},
        CasoComparado{"ThreeWideRosenfeld", imagenAleatoria(3, 30, 9), "Rosenfeld"},
        CasoComparado{"ThreeHigh", imagenAleatoria(41, 3, 10), "Parker"},
        CasoComparado{"OnePixel", imagenUniforme(1, 1, 7), "Parker"},
        CasoComparado{"TallRosenfeld", imagenAleatoria(21, 83, 17), "Rosenfeld"},
        CasoComparado{"LargeParker", imagenAleatoria(140, 75, 18), "Parker"},
        CasoComparado{"WholeBlocksRosenfeld", degradado(40, 66, 9, 4), "Rosenfeld"}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(Mean, WideSumOverTheSinglePrecisionPixelCount) {
  // 4097 x 4097 pixels of level 255 sum to 4,280,279,295, past a 32-bit sum; the count
  // 16,785,409 formed in single precision is 16,785,408.
  DatosImagen imagen;
  imagen.ancho = 4097;
  imagen.alto = 4097;
  imagen.pixeles = Pixeles(4097, 4097);
  uint8_t* gris = imagen.pixeles.planoGris();
  for (size_t i = 0; i < imagen.pixeles.cantidad(); ++i) gris[i] = 255;
  EXPECT_EQ(mean(imagen), 4280279295.0 / 16785408.0);
}

}  // namespace
}  // namespace velarno
