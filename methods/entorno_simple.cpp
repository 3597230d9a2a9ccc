#include "methods/entorno_simple.h"

#include "image/representaciones.h"
#include "image/transformaciones.h"

namespace velarno {

EntornoSimple::EntornoSimple(DatosImagen& imagen, std::string respuestas, int umbralInicial)
    : imagen_(imagen), cajas_(std::move(respuestas)), umbral_(umbralInicial) {}

std::string EntornoSimple::texto(const std::string& control) const {
  const auto encontrado = textos_.find(control);
  return encontrado == textos_.end() ? std::string() : encontrado->second;
}

void EntornoSimple::publicar(int umbral) {
  umbral_ = umbral;
  publicado_ = umbral;
  ++publicaciones_;
  lineasAlPublicar_ = cajas_.traza.lineas().size();
  if (!binarizarAlPublicar_) return;
  binarizar(imagen_, umbral_);
  dibujarBinarizada();
}

void EntornoSimple::dibujarBinarizada() {
  ++dibujos_;
  if (binarizada_ != nullptr) velarno::dibujarBinarizada(*binarizada_, imagen_);
}

bool EntornoSimple::progreso(double) { return ++avances_ <= avancesPermitidos_; }

int EntornoSimple::Cajas::preguntar(const std::string& titulo, const std::string& texto) {
  lineas.push_back(traza.lineas().size());
  return DialogosGuion::preguntar(titulo, texto);
}

int EntornoSimple::Cajas::informar(const std::string& titulo, const std::string& texto,
                                   int estilo) {
  lineas.push_back(traza.lineas().size());
  return DialogosGuion::informar(titulo, texto, estilo);
}

}  // namespace velarno
