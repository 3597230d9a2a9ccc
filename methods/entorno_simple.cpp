#include "methods/entorno_simple.h"

#include "image/representaciones.h"
#include "image/transformaciones.h"

namespace velarno {

EntornoSimple::EntornoSimple(DatosImagen& imagen, std::string respuestas, int umbralInicial)
    : imagen_(imagen), dialogos_(std::move(respuestas)), umbral_(umbralInicial) {}

std::string EntornoSimple::texto(const std::string& control) const {
  const auto encontrado = textos_.find(control);
  return encontrado == textos_.end() ? std::string() : encontrado->second;
}

void EntornoSimple::publicar(int umbral) {
  umbral_ = umbral;
  publicado_ = umbral;
  ++publicaciones_;
  binarizar(imagen_, umbral_);
  dibujarBinarizada();
}

void EntornoSimple::dibujarBinarizada() {
  ++dibujos_;
  if (binarizada_ != nullptr) velarno::dibujarBinarizada(*binarizada_, imagen_);
}

}  // namespace velarno
