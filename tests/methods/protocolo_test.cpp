#include "methods/protocolo.h"

#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "methods/dialogos_guion.h"

namespace velarno {
namespace {

enum class Caja { Ninguna, NoNumerico, FueraDeRango };

struct CasoTpct {
  const char* nombre;
  std::string texto;
  char separador;
  Caja caja;
};

void PrintTo(const CasoTpct& caso, std::ostream* os) {
  *os << caso.nombre << " \"" << caso.texto << "\"";
}

class ValidarTpct : public ::testing::TestWithParam<CasoTpct> {};

TEST_P(ValidarTpct, ShowsTheRightBoxOrNone) {
  const CasoTpct& caso = GetParam();
  const std::optional<Mensaje> mensaje = validarTpct(caso.texto, caso.separador);
  if (caso.caja == Caja::Ninguna) {
    EXPECT_FALSE(mensaje.has_value());
    return;
  }
  ASSERT_TRUE(mensaje.has_value());
  EXPECT_EQ(mensaje->titulo, "Error en el porcentaje.");
  EXPECT_EQ(mensaje->estilo, kEstiloExclamacion);
  EXPECT_EQ(mensaje->texto,
            caso.caja == Caja::NoNumerico
                ? "No esta introduciendo un valor válido\r"
                  "Asegurese de estar introduciendo solo valores numéricos."
                : "No esta introduciendo un valor válido\rAsegurese de que está entre 0 y 100.");
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ValidarTpct,
    ::testing::Values(CasoTpct{"Empty", "", '.', Caja::NoNumerico},
                      CasoTpct{"Blanks", "  ", '.', Caja::NoNumerico},
                      CasoTpct{"Letters", "abc", '.', Caja::NoNumerico},
                      CasoTpct{"PercentSign", "50%", '.', Caja::NoNumerico},
                      CasoTpct{"OtherSeparator", "50,5", '.', Caja::NoNumerico},
                      CasoTpct{"LocaleSeparator", "50,5", ',', Caja::Ninguna},
                      CasoTpct{"PointUnderComma", "50.5", ',', Caja::NoNumerico},
                      CasoTpct{"Hundred", "100", '.', Caja::Ninguna},
                      CasoTpct{"Zero", "0", '.', Caja::Ninguna},
                      CasoTpct{"Fifty", "50", '.', Caja::Ninguna},
                      CasoTpct{"BlanksAround", " 30 ", '.', Caja::Ninguna},
                      CasoTpct{"OneOverHundred", "101", '.', Caja::FueraDeRango},
                      CasoTpct{"MinusOne", "-1", '.', Caja::FueraDeRango},
                      CasoTpct{"FractionRoundsDown", "100.4", '.', Caja::Ninguna},
                      CasoTpct{"HalfRoundsToEvenHundred", "100.5", '.', Caja::Ninguna},
                      CasoTpct{"HalfRoundsToOddOneOOne", "101.5", '.', Caja::FueraDeRango},
                      CasoTpct{"NegativeHalfRoundsToZero", "-0.5", '.', Caja::Ninguna},
                      CasoTpct{"NegativeOverHalf", "-0.51", '.', Caja::FueraDeRango},
                      CasoTpct{"Exponent", "1e2", '.', Caja::Ninguna},
                      CasoTpct{"BeyondSixteenBits", "40000", '.', Caja::FueraDeRango},
                      CasoTpct{"BelowSixteenBits", "-40000", '.', Caja::FueraDeRango},
                      CasoTpct{"HugeExponent", "1e999", '.', Caja::FueraDeRango},
                      CasoTpct{"TinyExponent", "1e-999", '.', Caja::Ninguna}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(PasoCancelado, YesGoesOnAndKeepsStepping) {
  DialogosGuion dialogos("S");
  bool paso = true;
  EXPECT_FALSE(pasoCancelado(dialogos, "Paso a paso", "texto\r\n", paso));
  EXPECT_TRUE(paso);
  ASSERT_EQ(dialogos.mensajes().size(), 1u);
  EXPECT_EQ(dialogos.mensajes()[0].titulo, "Paso a paso");
  EXPECT_EQ(dialogos.mensajes()[0].texto, "texto\r\n");
  EXPECT_EQ(dialogos.mensajes()[0].estilo, kEstiloSiNo);
}

TEST(PasoCancelado, NoCancelsStepping) {
  DialogosGuion dialogos("N");
  bool paso = true;
  EXPECT_TRUE(pasoCancelado(dialogos, "Paso a paso", "texto", paso));
  EXPECT_FALSE(paso);
}

}  // namespace
}  // namespace velarno
