#include "methods/numeros.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace velarno {
namespace {

// Shortest general form with `precision` significant digits, as C's %.<precision>G would
// write it, but independent of the C locale (the window sets LC_ALL from the environment).
std::string textoGeneral(double valor, int precision, char separador) {
  if (valor == 0) return "0";  // also a negative zero
  char buffer[64];
  const auto resultado =
      std::to_chars(buffer, buffer + sizeof buffer, valor, std::chars_format::general, precision);
  std::string texto(buffer, resultado.ptr);
  for (char& c : texto) {
    if (c == 'e') c = 'E';
    if (c == '.') c = separador;
  }
  return texto;
}

bool esDigito(char c) { return c >= '0' && c <= '9'; }

// The numeric part of a text without its surrounding blanks, or an empty view when the text
// is not numeric.
std::string_view parteNumerica(std::string_view texto, char separador) {
  size_t inicio = 0;
  size_t fin = texto.size();
  while (inicio < fin && texto[inicio] == ' ') ++inicio;
  while (fin > inicio && texto[fin - 1] == ' ') --fin;
  const std::string_view numero = texto.substr(inicio, fin - inicio);
  size_t i = 0;
  if (i < numero.size() && (numero[i] == '+' || numero[i] == '-')) ++i;
  size_t digitos = 0;
  bool separadorVisto = false;
  for (; i < numero.size(); ++i) {
    if (esDigito(numero[i])) {
      ++digitos;
    } else if (numero[i] == separador && !separadorVisto) {
      separadorVisto = true;
    } else {
      break;
    }
  }
  if (digitos == 0) return {};
  if (i < numero.size() && (numero[i] == 'E' || numero[i] == 'e')) {
    ++i;
    if (i < numero.size() && (numero[i] == '+' || numero[i] == '-')) ++i;
    size_t digitosExponente = 0;
    while (i < numero.size() && esDigito(numero[i])) {
      ++i;
      ++digitosExponente;
    }
    if (digitosExponente == 0) return {};
  }
  return i == numero.size() ? numero : std::string_view();
}

// Decimal order of magnitude of a non-zero normalised number text (digits with at most one
// '.', then an optional exponent): the value lies in [10^(orden-1), 10^orden). The exponent is
// read with saturation, so no length of digits can overflow it.
int64_t ordenDecimal(const std::string& normal) {
  const size_t e = std::min(normal.find_first_of("Ee"), normal.size());
  const std::string_view mantisa(normal.data(), e);
  const size_t punto = std::min(mantisa.find('.'), mantisa.size());
  const size_t primera = mantisa.find_first_of("123456789");
  if (primera == std::string_view::npos) return 0;
  int64_t orden = primera < punto ? static_cast<int64_t>(punto - primera)
                                  : -static_cast<int64_t>(primera - punto - 1);
  if (e < normal.size()) {
    size_t i = e + 1;
    const bool negativo = i < normal.size() && normal[i] == '-';
    if (i < normal.size() && (normal[i] == '+' || normal[i] == '-')) ++i;
    int64_t exponente = 0;
    for (; i < normal.size(); ++i)
      exponente = std::min<int64_t>(exponente * 10 + (normal[i] - '0'), 1'000'000'000);
    orden += negativo ? -exponente : exponente;
  }
  return orden;
}

}  // namespace

std::string textoEntero(int64_t valor) { return std::to_string(valor); }

std::string textoSingle(float valor, char separador) {
  return textoGeneral(static_cast<double>(valor), 7, separador);
}

std::string textoDouble(double valor, char separador) { return textoGeneral(valor, 15, separador); }

int64_t redondear(double valor) { return static_cast<int64_t>(std::nearbyint(valor)); }

bool esNumerico(std::string_view texto, char separador) {
  return !parteNumerica(texto, separador).empty();
}

std::optional<double> aDouble(std::string_view texto, char separador) {
  const std::string_view numero = parteNumerica(texto, separador);
  if (numero.empty()) return std::nullopt;
  // from_chars takes no leading '+' and only '.' as separator.
  std::string normal;
  bool negativo = false;
  for (char c : numero) {
    if (c == '+' && normal.empty()) continue;
    if (c == '-' && normal.empty() && !negativo) {
      negativo = true;
      continue;
    }
    normal += (c == separador) ? '.' : c;
  }
  if (!normal.empty() && normal[0] == '.') normal.insert(normal.begin(), '0');
  double valor = 0;
  const auto resultado = std::from_chars(normal.data(), normal.data() + normal.size(), valor);
  if (resultado.ec == std::errc::result_out_of_range) {
    // Too large or too small for a Double: infinity or zero, by the order of magnitude of
    // digits and exponent together ("1000...0e-10" is huge, "0.000...01e5" is tiny).
    valor = ordenDecimal(normal) > 0 ? HUGE_VAL : 0.0;
  }
  return negativo ? -valor : valor;
}

std::optional<int16_t> aEntero16(std::string_view texto, char separador) {
  const std::optional<double> valor = aDouble(texto, separador);
  if (!valor) return std::nullopt;
  const double redondeado = std::nearbyint(*valor);
  if (!(redondeado >= -32768.0 && redondeado <= 32767.0)) return std::nullopt;
  return static_cast<int16_t>(redondeado);
}

}  // namespace velarno
