#include "methods/relajacion.h"

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "literal_espaciales.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"
#include "support/superficie_grabadora.h"

namespace velarno {
namespace {

using prueba::textoMensajes;

// Sets every other negro flag, standing for an earlier binarization.
DatosImagen conTablero(DatosImagen imagen) {
  for (size_t i = 0; i < imagen.pixeles.cantidad(); ++i) imagen.pixeles.planoNegro()[i] = i % 2;
  return imagen;
}

// Fed one residual after every pass: the passes end at a residual of at most 1, at the third
// stall after an improvement, at the fourth stall without one, or after 100 passes; an
// improvement resets the stall count, and residuals above the best change nothing.
TEST(Convergencia, EndsAfterTheExpectedPass) {
  const std::pair<std::vector<double>, int> casos[] = {{{50, 20, 1}, 3},
                                                       {{50, 50, 50.00005, 50.00009, 1}, 4},
                                                       {{50, 50, 50, 49, 49, 49, 49}, 7},
                                                       {{10000, 10000, 10000, 10000}, 4},
                                                       {{50, 60, 60, 60, 60, 50, 50, 50}, 8},
                                                       {std::vector<double>(100, 20000), 100}};
  for (const auto& [residuos, pasadas] : casos) {
    Convergencia c;
    int fin = 0;
    for (double r : residuos)
      if (c.ultimaPasada(r)) {
        fin = c.pasadas;
        break;
      }
    EXPECT_EQ(fin, pasadas);
  }
}

TEST(AlgoritmoRelajacion, CancelledThroughProgressLeavesTheRecord) {
  const DatosImagen antes = conTablero(imagenAleatoria(30, 20, 3));
  DatosImagen imagen = antes;
  EntornoSimple e(imagen);
  e.setTexto("MetRelajacion", "Parker");
  e.setAvancesPermitidos(40);
  EXPECT_EQ(AlgoritmoRelajacion(e), Fin::Cancelado);
  EXPECT_EQ(e.traza().lineas().back(), "Ejecución cancelada por el usuario.");
  EXPECT_EQ(e.dibujos(), 0);
  EXPECT_EQ(planoNegro(imagen), planoNegro(antes));
}

// The fast start-up gives every p and q bit for bit as the literal one, for both class texts;
// sizes reach past the blocks it works in (64-pixel runs, strips of 64 columns, 8 x 8
// transposition blocks) and stop short of them.
TEST(assign_class, SameProbabilitiesAsTheLiteralStart) {
  for (DatosImagen imagen :
       {imagenAleatoria(33, 29, 8), imagenAleatoria(150, 131, 12), imagenAleatoria(128, 64, 13),
        imagenAleatoria(70, 75, 14, 120, 123), degradado(97, 66, 9, 4), imagenAleatoria(90, 1, 15),
        imagenAleatoria(1, 90, 16)})
    for (const char* clase : {"Rosenfeld", "Parker"}) {
      EntornoSimple e(imagen);
      e.setTexto("MetRelajacion", clase);
      literal::Relajacion lenta(e);
      literal::Relajacion::Matriz p = lenta.crear(), q = lenta.crear();
      lenta.assign_class(p, q);
      Probabilidades pq(imagen.ancho, imagen.alto);
      assign_class(imagen, clase, pq);
      for (int x = 0; x < imagen.ancho; ++x)
        for (int y = 0; y < imagen.alto; ++y) {
          ASSERT_EQ(pq.p[pq.indice(x, y)], p[x][y]) << clase << " at " << x << "," << y;
          ASSERT_EQ(pq.q[pq.indice(x, y)], q[x][y]) << clase << " at " << x << "," << y;
        }
    }
}

struct CasoComparado {
  const char* nombre;
  DatosImagen imagen;
  const char* clase;
};
void PrintTo(const CasoComparado& caso, std::ostream* os) { *os << caso.nombre; }

class RelajacionLiteral : public ::testing::TestWithParam<CasoComparado> {};

TEST_P(RelajacionLiteral, SameResidualsAndPictureAsTheLiteralMethod) {
  const CasoComparado& caso = GetParam();
  const DatosImagen antes = conTablero(caso.imagen);
  DatosImagen rapido = antes;
  DatosImagen lento = antes;
  EntornoSimple er(rapido);
  EntornoSimple el(lento);
  SuperficieGrabadora sr(antes.ancho, antes.alto), sl(antes.ancho, antes.alto);
  er.setBinarizada(&sr);
  el.setBinarizada(&sl);
  er.setTexto("MetRelajacion", caso.clase);
  el.setTexto("MetRelajacion", caso.clase);
  EXPECT_EQ(AlgoritmoRelajacion(er), Fin::Dibujado);
  literal::Relajacion(el).ejecutar();
  EXPECT_EQ(er.traza().texto(), el.traza().texto());
  EXPECT_EQ(textoMensajes(er), textoMensajes(el));
  EXPECT_EQ(sr.rojos(), sl.rojos());  // the binarized picture as drawn
  EXPECT_EQ(planoNegro(rapido), planoNegro(antes));
  EXPECT_EQ(planoGris(rapido), planoGris(antes));
}

// Any class text but exactly "Rosenfeld" starts from the neighbourhood; one grey level gives
// p = q = 0.5 everywhere, hence white.
INSTANTIATE_TEST_SUITE_P(
    Casos, RelajacionLiteral,
    ::testing::Values(
        CasoComparado{"RandomRosenfeld", imagenAleatoria(17, 13, 1), "Rosenfeld"},
        CasoComparado{"RandomLowerCase", imagenAleatoria(25, 20, 4), "rosenfeld"},
        CasoComparado{"GradientRosenfeld", degradado(50, 37, 9, 4), "Rosenfeld"},
        CasoComparado{"TwoLevelsParker", imagenAleatoria(23, 19, 4, 60, 61), "Parker"},
        CasoComparado{"NarrowRangeRosenfeld", imagenAleatoria(30, 26, 5, 100, 104), "Rosenfeld"},
        CasoComparado{"ConstantParker", imagenUniforme(12, 9, 200), "Parker"},
        CasoComparado{"ConstantRosenfeld", imagenUniforme(7, 6, 0), "Rosenfeld"},
        CasoComparado{"OneWide", imagenAleatoria(1, 30, 6), "Parker"},
        CasoComparado{"ThreeHigh", imagenAleatoria(41, 3, 10), "Parker"},
        CasoComparado{"OnePixel", imagenUniforme(1, 1, 7), "Parker"},
        CasoComparado{"LargeParker", imagenAleatoria(140, 75, 18), "Parker"},
        CasoComparado{"WholeBlocksRosenfeld", degradado(40, 66, 9, 4), "Rosenfeld"}),
    [](const auto& p) { return std::string(p.param.nombre); });

// 4097 x 4097 pixels of level 255 sum to 4,280,279,295, past a 32-bit sum; the count
// 16,785,409 formed in single precision is 16,785,408.
TEST(Mean, WideSumOverTheSinglePrecisionPixelCount) {
  EXPECT_EQ(mean(imagenUniforme(4097, 4097, 255)), 4280279295.0 / 16785408.0);
}

}  // namespace
}  // namespace velarno
