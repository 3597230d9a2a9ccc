#include "cli/salida.h"

#include <charconv>
#include <cmath>

#include "methods/numeros.h"

namespace velarno {

std::string textoJson(const std::string& texto) {
  static const char kHex[] = "0123456789abcdef";
  std::string json = "\"";
  for (const char c : texto) {
    switch (c) {
      case '"':
        json += "\\\"";
        break;
      case '\\':
        json += "\\\\";
        break;
      case '\b':
        json += "\\b";
        break;
      case '\f':
        json += "\\f";
        break;
      case '\n':
        json += "\\n";
        break;
      case '\r':
        json += "\\r";
        break;
      case '\t':
        json += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          json += "\\u00";
          json += kHex[(c >> 4) & 0xF];
          json += kHex[c & 0xF];
        } else {
          json += c;
        }
    }
  }
  return json + "\"";
}

std::string numeroJson(double valor) {
  if (!std::isfinite(valor)) return "null";
  char buffer[32];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, valor).ptr);
}

std::array<std::optional<double>, 6> valoresEvaluacion(const Evaluacion& e) {
  return {e.medidaF, e.precision, e.exhaustividad, e.error, e.psnr, e.jaccard};
}

std::string lineaEvaluacion(const Evaluacion& evaluacion) {
  const TextosEvaluacion t = textosEvaluacion(evaluacion);
  return "Evaluación: F " + t.medidaF + "  P " + t.precision + "  R " + t.exhaustividad + "  ME " +
         t.error + "  PSNR " + t.psnr + " dB  Jaccard " + t.jaccard;
}

std::string objetoJson(const ResultadoJson& r) {
  std::string json = "{\"ancho\":" + textoEntero(r.ancho) + ",\"alto\":" + textoEntero(r.alto) +
                     ",\"metodo\":" + textoJson(r.metodo) +
                     ",\"umbral\":" + (r.umbral ? textoEntero(*r.umbral) : "null") + ",\"traza\":[";
  for (size_t i = 0; i < r.traza.size(); ++i) json += (i > 0 ? "," : "") + textoJson(r.traza[i]);
  json += "],\"mensajes\":[";
  for (size_t i = 0; i < r.mensajes.size(); ++i) {
    const Mensaje& m = r.mensajes[i];
    json += (i > 0 ? ",{" : "{");
    json += "\"titulo\":" + textoJson(m.titulo) + ",\"texto\":" + textoJson(m.texto) +
            ",\"estilo\":" + textoEntero(m.estilo) + ",\"respuesta\":" + textoEntero(m.respuesta) +
            "}";
  }
  json += "],\"negros\":" + textoEntero(r.negros);
  if (r.evaluacion) {
    const auto valores = valoresEvaluacion(*r.evaluacion);
    for (size_t k = 0; k < valores.size(); ++k) {
      json += k == 0 ? ",\"evaluacion\":{\"" : ",\"";
      json += kClavesEvaluacion[k];
      json += "\":" + (valores[k] ? numeroJson(*valores[k]) : "null");
    }
    json += "}";
  }
  return json + "}";
}

}  // namespace velarno
