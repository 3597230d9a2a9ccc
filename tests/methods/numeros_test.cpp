#include "methods/numeros.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace velarno {
namespace {

TEST(TextoNumero, WritesShortestGeneralForm) {
  EXPECT_EQ(textoSingle(9999999.0f), "9999999");
  EXPECT_EQ(textoSingle(12000000.0f, ','), "1,2E+07");
  EXPECT_EQ(textoSingle(1.0f / 3.0f), "0.3333333");
  EXPECT_EQ(textoSingle(-0.0f), "0");
  EXPECT_EQ(textoDouble(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(textoDouble(1234567890123456), "1.23456789012346E+15");
  EXPECT_EQ(textoDouble(-1.5e-300, ','), "-1,5E-300");
}

// The numeric test and the value agree; nullopt: not numeric.
TEST(LecturaNumero, NumericTestAndValueAgree) {
  const double kInf = std::numeric_limits<double>::infinity();
  const std::string ceros(400, '0');
  const std::vector<std::tuple<std::string, char, std::optional<double>>> casos = {
      {"  12  ", '.', 12.0},
      {"+7", '.', 7.0},
      {".5", '.', 0.5},
      {"5.e3", '.', 5000.0},
      {"-1.5E-02", '.', -0.015},
      {" -2,5 ", ',', -2.5},
      {"-1e999", '.', -kInf},
      {"1e-999", '.', 0.0},
      // Out of range by its digits, not by the sign of its exponent.
      {"0." + ceros + "1e5", '.', 0.0},
      {"12" + ceros + ".5e-20", '.', kInf},
      {"", '.', std::nullopt},
      {".", '.', std::nullopt},
      {"+-5", '.', std::nullopt},
      {"1 2", '.', std::nullopt},
      {"1.2.3", '.', std::nullopt},
      {"1.5", ',', std::nullopt},
      {"1e+", '.', std::nullopt},
      {"1e5.5", '.', std::nullopt}};
  for (const auto& [texto, separador, valor] : casos) {
    EXPECT_EQ(esNumerico(texto, separador), valor.has_value()) << texto;
    EXPECT_EQ(aDouble(texto, separador), valor) << texto;
  }
}

TEST(AEntero16, RoundsHalfToEvenWithinSixteenBits) {
  EXPECT_EQ(aEntero16("2.5", '.'), int16_t{2});
  EXPECT_EQ(aEntero16("3.5", '.'), int16_t{4});
  EXPECT_EQ(aEntero16("100,5", ','), int16_t{100});
  EXPECT_EQ(aEntero16("32767.4", '.'), int16_t{32767});
  EXPECT_EQ(aEntero16("32767.5", '.'), std::nullopt);
  EXPECT_EQ(aEntero16("-32768.5", '.'), int16_t{-32768});
  EXPECT_EQ(aEntero16("-32768.6", '.'), std::nullopt);
  EXPECT_EQ(aEntero16("1e999", '.'), std::nullopt);
  EXPECT_EQ(aEntero16("abc", '.'), std::nullopt);
}

}  // namespace
}  // namespace velarno
