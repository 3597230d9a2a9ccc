#include "dialogos_guion.h"

namespace velarno {

int DialogosGuion::preguntar(const std::string& titulo, const std::string& texto) {
  int respuesta = kNo;
  if (siguiente_ < respuestas_.size()) {
    const char letra = respuestas_[siguiente_++];
    respuesta = (letra == 'S' || letra == 's') ? kSi : kNo;
  }
  mensajes_.push_back({titulo, texto, kEstiloSiNo, respuesta});
  return respuesta;
}

int DialogosGuion::informar(const std::string& titulo, const std::string& texto, int estilo) {
  mensajes_.push_back({titulo, texto, estilo, kAceptar});
  return kAceptar;
}

}  // namespace velarno
