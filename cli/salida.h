#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/opciones.h"
#include "methods/dialogos_guion.h"

namespace velarno {

// A JSON string literal: quotes, backslash and control characters escaped ("\r", "\n",
// "\u001b"), every other byte (UTF-8 included) kept as it is.
std::string textoJson(const std::string& texto);

// The result object of a run, on one line.
struct ResultadoJson {
  int32_t ancho = 0;
  int32_t alto = 0;
  std::string metodo;
  std::optional<int> umbral;
  std::vector<std::string> traza;
  std::vector<Mensaje> mensajes;
  int64_t negros = 0;
};
std::string objetoJson(const ResultadoJson& resultado);

}  // namespace velarno
