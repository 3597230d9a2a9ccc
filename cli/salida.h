#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/evaluacion.h"
#include "cli/opciones.h"
#include "methods/dialogos_guion.h"

namespace velarno {

// A JSON string literal: quotes, backslash and control characters escaped ("\r", "\n",
// "\u001b"), every other byte (UTF-8 included) kept as it is.
std::string textoJson(const std::string& texto);

// A double as a JSON number: the shortest text that reads back as the same value ("0.25",
// "0.6666666666666666", "1e-05"); null when not finite.
std::string numeroJson(double valor);

// The six measures of a score, in the order of kClavesEvaluacion; nullopt where undefined,
// PSNR +infinity when ME is 0.
inline constexpr const char* kClavesEvaluacion[] = {"f",  "precision", "exhaustividad",
                                                    "me", "psnr",      "jaccard"};
std::array<std::optional<double>, 6> valoresEvaluacion(const Evaluacion& evaluacion);
// The plain output's line: "Evaluación: F 0.6667  P 0.6667  R 0.6667  ME 0.2500  PSNR 6.02 dB
// Jaccard 0.5000" ("—" where undefined, "∞" for an infinite PSNR).
std::string lineaEvaluacion(const Evaluacion& evaluacion);

// The result object of a run, on one line; "evaluacion" ({"f": …, …, "jaccard": …}, null where
// undefined) follows "negros" when a reference was given.
struct ResultadoJson {
  int32_t ancho = 0;
  int32_t alto = 0;
  std::string metodo;
  std::optional<int> umbral;
  std::vector<std::string> traza;
  std::vector<Mensaje> mensajes;
  int64_t negros = 0;
  std::optional<Evaluacion> evaluacion;
};
std::string objetoJson(const ResultadoJson& resultado);

}  // namespace velarno
