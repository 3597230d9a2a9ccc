#include "methods/numeros.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace velarno {
namespace {

TEST(TextoEntero, PlainDecimalWithMinus) {
  EXPECT_EQ(textoEntero(0), "0");
  EXPECT_EQ(textoEntero(-5), "-5");
  EXPECT_EQ(textoEntero(6375000000), "6375000000");
  EXPECT_EQ(textoEntero(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

struct CasoTexto {
  const char* nombre;
  double valor;
  bool single;
  char separador;
  std::string texto;
};

void PrintTo(const CasoTexto& caso, std::ostream* os) { *os << caso.nombre; }

class TextoNumero : public ::testing::TestWithParam<CasoTexto> {};

TEST_P(TextoNumero, WritesShortestGeneralForm) {
  const CasoTexto& caso = GetParam();
  EXPECT_EQ(caso.single ? textoSingle(static_cast<float>(caso.valor), caso.separador)
                        : textoDouble(caso.valor, caso.separador),
            caso.texto);
}

constexpr bool kSingle = true;
constexpr bool kDouble = false;

INSTANTIATE_TEST_SUITE_P(
    Casos, TextoNumero,
    ::testing::Values(
        CasoTexto{"SingleWhole", 65536, kSingle, '.', "65536"},
        CasoTexto{"SingleSevenDigits", 1000000, kSingle, '.', "1000000"},
        CasoTexto{"SingleLargestPlain", 9999999, kSingle, '.', "9999999"},
        CasoTexto{"SingleEightDigitsExponent", 12000000, kSingle, '.', "1.2E+07"},
        CasoTexto{"SingleExponentRounded", 16777216, kSingle, '.', "1.677722E+07"},
        CasoTexto{"SingleExponentLocale", 12000000, kSingle, ',', "1,2E+07"},
        CasoTexto{"SingleThird", 1.0 / 3.0, kSingle, '.', "0.3333333"},
        CasoTexto{"SingleFractionLocale", 1.5, kSingle, ',', "1,5"},
        CasoTexto{"SingleSmallPlain", 0.0001, kSingle, '.', "0.0001"},
        CasoTexto{"SingleSmallExponent", 0.00001, kSingle, '.', "1E-05"},
        CasoTexto{"SingleNegative", -2.5, kSingle, '.', "-2.5"},
        CasoTexto{"SingleNegativeZero", -0.0, kSingle, '.', "0"},
        CasoTexto{"SingleLargest", 3.4028234663852886e38, kSingle, '.', "3.402823E+38"},
        CasoTexto{"DoubleWhole", 255, kDouble, '.', "255"},
        CasoTexto{"DoubleTenth", 0.1, kDouble, '.', "0.1"},
        CasoTexto{"DoubleThird", 1.0 / 3.0, kDouble, '.', "0.333333333333333"},
        CasoTexto{"DoubleFifteenDigits", 123456789012345, kDouble, '.', "123456789012345"},
        CasoTexto{"DoubleSixteenDigits", 1234567890123456, kDouble, '.', "1.23456789012346E+15"},
        CasoTexto{"DoubleTwelveMillion", 12000000, kDouble, '.', "12000000"},
        CasoTexto{"DoubleSmallExponent", 0.00001, kDouble, '.', "1E-05"},
        CasoTexto{"DoubleThreeDigitExponent", 1e100, kDouble, '.', "1E+100"},
        CasoTexto{"DoubleNegativeExponent", -1.5e-300, kDouble, ',', "-1,5E-300"},
        CasoTexto{"DoubleNegativeZero", -0.0, kDouble, ',', "0"}),
    [](const auto& p) { return std::string(p.param.nombre); });

struct CasoLectura {
  const char* nombre;
  std::string texto;
  char separador;
  std::optional<double> valor;  // nullopt: not numeric
};

void PrintTo(const CasoLectura& caso, std::ostream* os) {
  *os << caso.nombre << " \"" << caso.texto << "\"";
}

class LecturaNumero : public ::testing::TestWithParam<CasoLectura> {};

TEST_P(LecturaNumero, NumericTestAndValueAgree) {
  const CasoLectura& caso = GetParam();
  EXPECT_EQ(esNumerico(caso.texto, caso.separador), caso.valor.has_value());
  EXPECT_EQ(aDouble(caso.texto, caso.separador), caso.valor);
}

const double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Casos, LecturaNumero,
    ::testing::Values(
        CasoLectura{"Zero", "0", '.', 0.0}, CasoLectura{"Integer", "42", '.', 42.0},
        CasoLectura{"BlanksAround", "  12  ", '.', 12.0}, CasoLectura{"PlusSign", "+7", '.', 7.0},
        CasoLectura{"MinusSign", "-7", '.', -7.0}, CasoLectura{"Fraction", "1.5", '.', 1.5},
        CasoLectura{"Tenth", "0.1", '.', 0.1}, CasoLectura{"LeadingSeparator", ".5", '.', 0.5},
        CasoLectura{"TrailingSeparator", "5.", '.', 5.0},
        CasoLectura{"Exponent", "1e3", '.', 1000.0},
        CasoLectura{"ExponentUpperSigned", "-1.5E-02", '.', -0.015},
        CasoLectura{"ExponentAfterTrailingSeparator", "5.e3", '.', 5000.0},
        CasoLectura{"ExponentAfterLeadingSeparator", ".5e1", '.', 5.0},
        CasoLectura{"LocaleSeparator", " -2,5 ", ',', -2.5},
        CasoLectura{"HugeExponent", "1e999", '.', kInf},
        CasoLectura{"HugeNegative", "-1e999", '.', -kInf},
        CasoLectura{"TinyExponent", "1e-999", '.', 0.0},
        // Out of range by its digits, not by the sign of its exponent.
        CasoLectura{"TinyByLeadingZeros", "0." + std::string(400, '0') + "1e5", '.', 0.0},
        CasoLectura{"HugeByDigits", "1" + std::string(400, '0') + "e-10", '.', kInf},
        CasoLectura{"HugeByDigitsAndSeparator", "12" + std::string(400, '0') + ".5e-20", '.', kInf},
        CasoLectura{"Empty", "", '.', std::nullopt},
        CasoLectura{"OnlyBlanks", "   ", '.', std::nullopt},
        CasoLectura{"OnlySeparator", ".", '.', std::nullopt},
        CasoLectura{"OnlySign", "-", '.', std::nullopt},
        CasoLectura{"TwoSigns", "+-5", '.', std::nullopt},
        CasoLectura{"TrailingSign", "5-", '.', std::nullopt},
        CasoLectura{"BlankAfterSign", "- 5", '.', std::nullopt},
        CasoLectura{"BlankInside", "1 2", '.', std::nullopt},
        CasoLectura{"TwoSeparators", "1.2.3", '.', std::nullopt},
        CasoLectura{"ThousandsSeparator", "1,000", '.', std::nullopt},
        CasoLectura{"ThousandsAndDecimal", "1,000.5", '.', std::nullopt},
        CasoLectura{"PointUnderCommaLocale", "1.5", ',', std::nullopt},
        CasoLectura{"ExponentWithoutDigits", "1e", '.', std::nullopt},
        CasoLectura{"ExponentSignWithoutDigits", "1e+", '.', std::nullopt},
        CasoLectura{"ExponentWithoutMantissa", "e5", '.', std::nullopt},
        CasoLectura{"FractionalExponent", "1e5.5", '.', std::nullopt},
        CasoLectura{"Hexadecimal", "0x1A", '.', std::nullopt},
        CasoLectura{"Infinity", "inf", '.', std::nullopt},
        CasoLectura{"NotANumber", "nan", '.', std::nullopt},
        CasoLectura{"Currency", "$5", '.', std::nullopt},
        CasoLectura{"Percent", "50%", '.', std::nullopt}),
    [](const auto& p) { return std::string(p.param.nombre); });

struct CasoEntero {
  const char* nombre;
  std::string texto;
  char separador;
  std::optional<int16_t> valor;
};

void PrintTo(const CasoEntero& caso, std::ostream* os) {
  *os << caso.nombre << " \"" << caso.texto << "\"";
}

class AEntero16 : public ::testing::TestWithParam<CasoEntero> {};

TEST_P(AEntero16, RoundsHalfToEvenWithinSixteenBits) {
  const CasoEntero& caso = GetParam();
  EXPECT_EQ(aEntero16(caso.texto, caso.separador), caso.valor);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, AEntero16,
    ::testing::Values(CasoEntero{"HalfDownToEven", "2.5", '.', int16_t{2}},
                      CasoEntero{"HalfUpToEven", "3.5", '.', int16_t{4}},
                      CasoEntero{"NegativeHalfToEven", "-2.5", '.', int16_t{-2}},
                      CasoEntero{"NegativeHalfToZero", "-0.5", '.', int16_t{0}},
                      CasoEntero{"LocaleSeparator", "100,5", ',', int16_t{100}},
                      CasoEntero{"Largest", "32767", '.', int16_t{32767}},
                      CasoEntero{"LargestByRounding", "32767.4", '.', int16_t{32767}},
                      CasoEntero{"RoundsPastLargest", "32767.5", '.', std::nullopt},
                      CasoEntero{"Smallest", "-32768", '.', int16_t{-32768}},
                      CasoEntero{"SmallestByEvenRounding", "-32768.5", '.', int16_t{-32768}},
                      CasoEntero{"RoundsPastSmallest", "-32768.6", '.', std::nullopt},
                      CasoEntero{"Beyond", "40000", '.', std::nullopt},
                      CasoEntero{"Infinite", "1e999", '.', std::nullopt},
                      CasoEntero{"Tiny", "1e-999", '.', int16_t{0}},
                      CasoEntero{"NotNumeric", "abc", '.', std::nullopt}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(Redondear, HalvesGoToEven) {
  EXPECT_EQ(redondear(0.5), 0);
  EXPECT_EQ(redondear(1.5), 2);
  EXPECT_EQ(redondear(2.5), 2);
  EXPECT_EQ(redondear(2.5000000000000004), 3);
  EXPECT_EQ(redondear(-0.5), 0);
  EXPECT_EQ(redondear(-1.5), -2);
  EXPECT_EQ(redondear(10000000000.5), 10000000000);
}

}  // namespace
}  // namespace velarno
