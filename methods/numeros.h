#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velarno {

// Number text of traces, prompts and captions: no leading blank, "-" for negatives.
// Whole numbers in plain decimal.
std::string textoEntero(int64_t valor);
// A Single like C's %.7G, a Double like %.15G (exponent "E+07" style, at least two digits),
// with `separador` as decimal separator; a negative zero is written "0".
std::string textoSingle(float valor, char separador = '.');
std::string textoDouble(double valor, char separador = '.');

// Rounds to the nearest whole number, halves to even (the default rounding mode).
// Requires: the value fits in 64 bits.
int64_t redondear(double valor);

// Locale-aware parsing of typed texts. A text is numeric when it is, after optional blanks
// around it: an optional sign, digits with at most one decimal separator (at least one digit
// in all), and an optional exponent (E or e, optional sign, digits). Nothing else.
bool esNumerico(std::string_view texto, char separador);
// The value of a numeric text (may be infinite for a huge exponent); nullopt when not numeric.
std::optional<double> aDouble(std::string_view texto, char separador);
// The value rounded half to even to a 16-bit integer; nullopt when not numeric or outside
// -32768..32767.
std::optional<int16_t> aEntero16(std::string_view texto, char separador);

}  // namespace velarno
