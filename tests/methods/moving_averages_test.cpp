#include "methods/moving_averages.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "literal_espaciales.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::textoMensajes;

// A record whose every negro flag is true, so that the pixels a run leaves alone show.
DatosImagen todoNegro(DatosImagen imagen) {
  std::fill_n(imagen.pixeles.planoNegro(), imagen.pixeles.cantidad(), uint8_t{1});
  return imagen;
}

// A percentage that is no number, or whose factor 100 - pct times 255 overflows (the least
// such factor; the greatest finite one below), or a picture under 5 columns: a box, no change.
constexpr const char* kMayorFactor = "-7.04977699946006e305";
TEST(AlgoritmoThrdd, RefusesWithABoxAndTouchesNothing) {
  const std::string noNumero =
      "Porcentaje no válido|48|1|1|Introduzca un valor en Porcentaje.\\rDebe ser un número, por "
      "ejemplo 15.\n";
  const std::tuple<int, const char*, std::string> casos[] = {
      {8, "15%", noNumero},
      {8, "-7.049776999460062e305", noNumero},
      {4, "15",
       "Imagen demasiado estrecha|48|1|1|El algoritmo Moving Averages necesita una imagen de al "
       "menos 5 pixels de ancho.\n"}};
  for (const auto& [ancho, pct, caja] : casos) {
    DatosImagen imagen = todoNegro(imagenUniforme(ancho, 4, 0));
    EntornoSimple e(imagen);
    e.traza().agregar("traza anterior");
    e.setTexto("CPct", pct);
    bool paso = true;
    EXPECT_EQ(AlgoritmoThrdd(e, paso), Fin::Rechazado);
    EXPECT_EQ(e.traza().texto(), "traza anterior\n");
    EXPECT_EQ(textoMensajes(e), caja) << pct;
    EXPECT_EQ(e.dibujos(), 0);
    EXPECT_EQ(planoNegro(imagen), std::vector<uint8_t>(imagen.pixeles.cantidad(), 1));
  }
}

TEST(AlgoritmoThrdd, CancelledThroughProgressWritesOneLine) {
  DatosImagen imagen = imagenAleatoria(8, 6, 3);
  EntornoSimple e(imagen);
  e.setTexto("CPct", "15");
  e.setAvancesPermitidos(2);
  bool paso = false;
  EXPECT_EQ(AlgoritmoThrdd(e, paso), Fin::Cancelado);
  EXPECT_EQ(e.traza().lineas().back(), "Ejecución cancelada por el usuario.");
  EXPECT_EQ(e.traza().lineas().size(), 6u);
  EXPECT_EQ(e.dibujos(), 1);
}

// 4099 x 4095 = 16,785,405 pixels: formed in single precision the pass bound would come out two
// short. The trace still writes the single-precision total. Rows 0..4093 take 2047 x (4098 +
// 4099) passes, so the last row, travelled to the right, gets its first 2048 pixels.
TEST(AlgoritmoThrdd, PassCountStaysExactAboveSixteenMillionPixels) {
  DatosImagen imagen = todoNegro(imagenUniforme(4099, 4095, 200));
  EntornoSimple e(imagen);
  e.setTexto("CPct", "15");
  bool paso = false;
  EXPECT_EQ(AlgoritmoThrdd(e, paso), Fin::Dibujado);
  EXPECT_EQ(e.traza().lineas()[3], "nº total de pixels: 1.67854E+07");
  EXPECT_FALSE(imagen.pixeles.negro(2047, 4094));
  EXPECT_TRUE(imagen.pixeles.negro(2048, 4094));
}

struct CasoComparado {
  const char* nombre;
  DatosImagen imagen;
  const char* pct;
  std::string respuestas;  // "" = straight run
  char separador = '.';
};
void PrintTo(const CasoComparado& caso, std::ostream* os) { *os << caso.nombre; }

class ThrddLiteral : public ::testing::TestWithParam<CasoComparado> {};

TEST_P(ThrddLiteral, SameFlagsTraceAndPromptsAsTheLiteralMethod) {
  const CasoComparado& caso = GetParam();
  DatosImagen rapido = todoNegro(caso.imagen);
  DatosImagen lento = todoNegro(caso.imagen);
  EntornoSimple er(rapido, caso.respuestas);
  EntornoSimple el(lento, caso.respuestas);
  for (EntornoSimple* e : {&er, &el}) {
    e->setTexto("CPct", caso.pct);
    e->setSeparadorDecimal(caso.separador);
  }
  bool pasoR = !caso.respuestas.empty();
  bool pasoL = pasoR;
  EXPECT_EQ(AlgoritmoThrdd(er, pasoR), Fin::Dibujado);
  literal::Thrdd(el, pasoL);
  EXPECT_EQ(pasoR, pasoL);
  EXPECT_EQ(er.traza().texto(), el.traza().texto());
  EXPECT_EQ(textoMensajes(er), textoMensajes(el));
  EXPECT_EQ(planoNegro(rapido), planoNegro(lento));
  EXPECT_EQ(er.dibujos(), el.dibujos());
}

// Window lengths W / 8 of 5, 38, 8, 2 (20 / 8 rounded to even), 4 (28 / 8) and 1.
INSTANTIATE_TEST_SUITE_P(
    Casos, ThrddLiteral,
    ::testing::Values(
        CasoComparado{"Random37x23", imagenAleatoria(37, 23, 1), "15", ""},
        CasoComparado{"RandomWideLocale", imagenAleatoria(301, 9, 2), "12,5", "", ','},
        CasoComparado{"Gradient", degradado(64, 48, 7, 3), "15", ""},
        CasoComparado{"NegativePct", imagenAleatoria(40, 30, 3), "-20", ""},
        CasoComparado{"PctAbove100", imagenAleatoria(40, 30, 4), "150", ""},
        CasoComparado{"TwoLevelsHalfWindowDown", imagenAleatoria(20, 17, 6, 100, 101), "0", ""},
        CasoComparado{"HalfWindowUp", imagenAleatoria(28, 8, 5), "100", ""},
        CasoComparado{"FiveWideTall", imagenAleatoria(5, 40, 7), "15", ""},
        CasoComparado{"OneRow", imagenAleatoria(9, 1, 8), "15", ""},
        CasoComparado{"MaxFactor", imagenAleatoria(6, 7, 8), kMayorFactor, "SSS"},
        CasoComparado{"StepCancelledInRowTwo", imagenAleatoria(7, 5, 9), "15", "SSSSSSSSSN"},
        CasoComparado{"StepAllYes", imagenAleatoria(9, 4, 10), "15", std::string(42, 'S')}),
    [](const auto& p) { return std::string(p.param.nombre); });

}  // namespace
}  // namespace velarno
