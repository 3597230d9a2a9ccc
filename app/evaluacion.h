#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/tipos.h"

namespace velarno {

// A pixel of a reference picture is black when its grey level is below this.
inline constexpr int kUmbralReferencia = 128;

// `valor` with `cifras` decimals ("0.6667"), independent of the C locale, the separator given.
std::string textoDecimales(double valor, int cifras, char separador = '.');

// "La referencia mide 3x2 píxeles y la imagen 2x3: deben tener el mismo tamaño."
std::string textoTamanosDistintos(int32_t anchoReferencia, int32_t altoReferencia, int32_t ancho,
                                  int32_t alto);

// The reference's class plane from its grey plane, row after row: 1 (black) where the grey
// level is below kUmbralReferencia, 0 elsewhere.
std::vector<uint8_t> claseReferencia(const DatosImagen& referencia);

// How a binarized picture scores against a reference, black being the positive class.
// A measure is nullopt where it is undefined: precision when the result has no black pixel,
// recall when the reference has none, the F-measure when either is undefined or both are 0,
// Jaccard when neither has a black pixel.
struct Evaluacion {
  int64_t tp = 0;                       // black in both
  int64_t fp = 0;                       // black in the result only
  int64_t fn = 0;                       // black in the reference only
  int64_t tn = 0;                       // white in both
  std::optional<double> medidaF;        // 2·P·R / (P + R)
  std::optional<double> precision;      // P = tp / (tp + fp)
  std::optional<double> exhaustividad;  // recall, R = tp / (tp + fn)
  double error = 0;                     // ME: share of pixels whose class differs (0 if none)
  double psnr = 0;                      // 10·log10(1 / ME) in dB; +infinity when ME is 0
  std::optional<double> jaccard;        // tp / (tp + fp + fn)
};

// Scores a drawn binarized picture (8-bit grey rows `paso` bytes apart, black where the byte
// is 0, as the binarized surface draws it) of ancho x alto pixels against a reference's
// class plane of the same size, row after row (any non-zero byte is black).
Evaluacion evaluarDibujo(const uint8_t* filas, size_t paso, int32_t ancho, int32_t alto,
                         const uint8_t* claseReferencia);

// A score, or the Spanish message that says why there is none (the sizes differ).
struct ResultadoEvaluacion {
  Evaluacion evaluacion;  // when ok
  std::string error;      // empty when ok
  bool ok() const { return error.empty(); }
};

// The six measures as shown: fractions and ME with 4 decimals ("0,9312"), PSNR with 2
// ("6,02"; "∞" when infinite), "—" where undefined; `separador` is the decimal separator.
struct TextosEvaluacion {
  std::string medidaF;
  std::string precision;
  std::string exhaustividad;
  std::string error;
  std::string psnr;
  std::string jaccard;
};
TextosEvaluacion textosEvaluacion(const Evaluacion& evaluacion, char separador = '.');

}  // namespace velarno
