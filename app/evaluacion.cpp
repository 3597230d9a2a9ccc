#include "app/evaluacion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace velarno {
namespace {

// Black pixels of the result, of the reference and of both.
struct Cuentas {
  int64_t resultado = 0;
  int64_t referencia = 0;
  int64_t ambos = 0;
};

// Adds `n` pixels to `cuentas`; `negroResultado` and `negroReferencia` give a byte's class in
// each plane. Each block of 255 pixels is summed in bytes, which cannot wrap there, so the
// compiler adds 16 or 32 pixels at a time (a 64-bit count per pixel does not vectorise and is
// several times slower at 24 MP).
template <typename NegroResultado, typename NegroReferencia>
void contar(const uint8_t* resultado, const uint8_t* referencia, size_t n,
            NegroResultado negroResultado, NegroReferencia negroReferencia, Cuentas& cuentas) {
  constexpr size_t kBloque = 255;
  for (size_t inicio = 0; inicio < n; inicio += kBloque) {
    const size_t fin = std::min(n, inicio + kBloque);
    uint8_t negrosResultado = 0;
    uint8_t negrosReferencia = 0;
    uint8_t ambos = 0;
    for (size_t i = inicio; i < fin; ++i) {
      const uint8_t r = negroResultado(resultado[i]);
      const uint8_t g = negroReferencia(referencia[i]);
      negrosResultado = static_cast<uint8_t>(negrosResultado + r);
      negrosReferencia = static_cast<uint8_t>(negrosReferencia + g);
      ambos = static_cast<uint8_t>(ambos + (r & g));
    }
    cuentas.resultado += negrosResultado;
    cuentas.referencia += negrosReferencia;
    cuentas.ambos += ambos;
  }
}

// A byte's class in the reference's class plane and in a drawn raster. Lambdas, not functions,
// so the count is instantiated with its tests inlined.
constexpr auto noCero = [](uint8_t b) { return b != 0; };
constexpr auto cero = [](uint8_t b) { return b == 0; };

std::optional<double> cociente(int64_t dividendo, int64_t divisor) {
  if (divisor == 0) return std::nullopt;
  return static_cast<double>(dividendo) / static_cast<double>(divisor);
}

Evaluacion medidas(const Cuentas& cuentas, size_t n) {
  Evaluacion e;
  e.tp = cuentas.ambos;
  e.fp = cuentas.resultado - cuentas.ambos;
  e.fn = cuentas.referencia - cuentas.ambos;
  e.tn = static_cast<int64_t>(n) - e.tp - e.fp - e.fn;
  e.precision = cociente(e.tp, e.tp + e.fp);
  e.exhaustividad = cociente(e.tp, e.tp + e.fn);
  if (e.precision && e.exhaustividad && *e.precision + *e.exhaustividad != 0) {
    const double p = *e.precision;
    const double r = *e.exhaustividad;
    e.medidaF = 2 * p * r / (p + r);
  }
  e.error = cociente(e.fp + e.fn, static_cast<int64_t>(n)).value_or(0);
  e.psnr = e.error == 0 ? std::numeric_limits<double>::infinity() : 10 * std::log10(1 / e.error);
  e.jaccard = cociente(e.tp, e.tp + e.fp + e.fn);
  return e;
}

std::string textoMedida(const std::optional<double>& valor, char separador) {
  return valor ? textoDecimales(*valor, 4, separador) : "—";
}

}  // namespace

std::string textoTamanosDistintos(int32_t anchoReferencia, int32_t altoReferencia, int32_t ancho,
                                  int32_t alto) {
  return "La referencia mide " + std::to_string(anchoReferencia) + "x" +
         std::to_string(altoReferencia) + " píxeles y la imagen " + std::to_string(ancho) + "x" +
         std::to_string(alto) + ": deben tener el mismo tamaño.";
}

std::string textoDecimales(double valor, int cifras, char separador) {
  char buffer[64];
  const auto resultado =
      std::to_chars(buffer, buffer + sizeof buffer, valor, std::chars_format::fixed, cifras);
  std::string texto(buffer, resultado.ptr);
  std::replace(texto.begin(), texto.end(), '.', separador);
  return texto;
}

std::vector<uint8_t> claseReferencia(const DatosImagen& referencia) {
  const uint8_t* gris = referencia.pixeles.planoGris();
  std::vector<uint8_t> clase(referencia.pixeles.cantidad());
  for (size_t i = 0; i < clase.size(); ++i) clase[i] = gris[i] < kUmbralReferencia;
  return clase;
}

Evaluacion evaluarDibujo(const uint8_t* filas, size_t paso, int32_t ancho, int32_t alto,
                         const uint8_t* claseReferencia) {
  const size_t columnas = static_cast<size_t>(ancho);
  Cuentas cuentas;
  for (size_t y = 0; y < static_cast<size_t>(alto); ++y)
    contar(filas + y * paso, claseReferencia + y * columnas, columnas, cero, noCero, cuentas);
  return medidas(cuentas, columnas * static_cast<size_t>(alto));
}

TextosEvaluacion textosEvaluacion(const Evaluacion& evaluacion, char separador) {
  return {textoMedida(evaluacion.medidaF, separador),
          textoMedida(evaluacion.precision, separador),
          textoMedida(evaluacion.exhaustividad, separador),
          textoDecimales(evaluacion.error, 4, separador),
          std::isinf(evaluacion.psnr) ? "∞" : textoDecimales(evaluacion.psnr, 2, separador),
          textoMedida(evaluacion.jaccard, separador)};
}

}  // namespace velarno
