#include "methods/protocolo.h"

#include <cstdint>

#include "methods/numeros.h"

namespace velarno {

std::optional<Mensaje> validarTpct(const std::string& texto, char separador) {
  static const char kTitulo[] = "Error en el porcentaje.";
  // "esta" without accent and "Asegurese" without accent are the program's own spelling.
  if (!esNumerico(texto, separador)) {
    return Mensaje{kTitulo,
                   "No esta introduciendo un valor válido\r"
                   "Asegurese de estar introduciendo solo valores numéricos.",
                   kEstiloExclamacion, 0};
  }
  // A numeric text outside the 16-bit range (aEntero16 gives nothing) is out of range too.
  const std::optional<int16_t> valor = aEntero16(texto, separador);
  if (!valor || *valor > 100 || *valor < 0) {
    return Mensaje{kTitulo,
                   "No esta introduciendo un valor válido\r"
                   "Asegurese de que está entre 0 y 100.",
                   kEstiloExclamacion, 0};
  }
  return std::nullopt;
}

bool pasoCancelado(Dialogos& dialogos, const std::string& titulo, const std::string& texto,
                   bool& paso) {
  if (dialogos.preguntar(titulo, texto) != kNo) return false;
  paso = false;
  return true;
}

}  // namespace velarno
