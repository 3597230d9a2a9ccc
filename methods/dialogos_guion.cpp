#include "methods/dialogos_guion.h"

namespace velarno {
namespace {

// A box without a title of its own shows the application's, and is recorded as shown.
std::string tituloMostrado(const std::string& titulo) {
  return titulo.empty() ? "Velarno" : titulo;
}

}  // namespace

int DialogosGuion::preguntar(const std::string& titulo, const std::string& texto) {
  int respuesta = kNo;
  if (siguiente_ < respuestas_.size()) {
    const char letra = respuestas_[siguiente_++];
    respuesta = (letra == 'S' || letra == 's') ? kSi : kNo;
  }
  mensajes_.push_back({tituloMostrado(titulo), texto, kEstiloSiNo, respuesta});
  return respuesta;
}

int DialogosGuion::informar(const std::string& titulo, const std::string& texto, int estilo) {
  mensajes_.push_back({tituloMostrado(titulo), texto, estilo, kAceptar});
  return kAceptar;
}

}  // namespace velarno
