#include "app/espacio_trabajo.h"

#include <algorithm>

#include "image/plano.h"
#include "image/representaciones.h"
#include "image/transformaciones.h"
#include "methods/binarizacion_paso.h"

namespace velarno {

EspacioTrabajo::EspacioTrabajo(Superficie& gris, Superficie& binarizada)
    : gris_(gris), binarizada_(binarizada) {}

Habilitados EspacioTrabajo::habilitados() const {
  Habilitados h;
  const bool abierta = etapa_ == Etapa::Abierta || etapa_ == Etapa::Ecualizada;
  h.grises = etapa_ == Etapa::Cargada;
  h.histograma = etapa_ == Etapa::Grises;
  h.ecualizar = etapa_ == Etapa::Abierta;
  h.binarizar = abierta;
  h.vistaBinarizada = vistaBinarizada_;
  h.umbral = abierta;
  h.comparar = abierta;
  h.evaluar = abierta;
  h.guardarGris = grisDibujado_;
  h.guardarBinarizada = binarizadaDibujada_;
  return h;
}

void EspacioTrabajo::inicializar() {
  etapa_ = Etapa::SinImagen;
  vistaBinarizada_ = false;
  grisDibujado_ = false;
  binarizadaDibujada_ = false;
}

void EspacioTrabajo::dimensionar(const Superficie& cargada) {
  dimensionarImagen(cargada, datos_);
  etapa_ = Etapa::Cargada;
}

void EspacioTrabajo::leerGrises(const Superficie& cargada) {
  leerPixeles(cargada, datos_);
  etapa_ = Etapa::Grises;
}

void EspacioTrabajo::dibujarGris() {
  dibujarGrises(gris_, datos_);
  grisDibujado_ = true;
}

void EspacioTrabajo::calcularHistograma() {
  velarno::calcularHistograma(datos_);
  if (etapa_ != Etapa::Ecualizada) etapa_ = Etapa::Abierta;
}

void EspacioTrabajo::abrir(const Superficie& cargada) {
  inicializar();
  dimensionar(cargada);
  leerGrises(cargada);
  dibujarGris();
  calcularHistograma();
}

void EspacioTrabajo::ecualizar() {
  velarno::ecualizar(datos_);
  dibujarGris();
  velarno::calcularHistograma(datos_);
  etapa_ = Etapa::Ecualizada;
}

void EspacioTrabajo::aplicarUmbral() {
  binarizar(datos_, umbral_);
  dibujarBinarizada();
}

void EspacioTrabajo::dibujarBinarizada() {
  velarno::dibujarBinarizada(binarizada_, datos_);
  binarizadaDibujada_ = true;
}

void EspacioTrabajo::alternarVistaBinarizada() {
  vistaBinarizada_ = !vistaBinarizada_;
  if (vistaBinarizada_) {
    aplicarUmbral();
  } else {
    binarizada_.limpiar();
    binarizadaDibujada_ = false;
  }
}

void EspacioTrabajo::binarizarPasoAPaso(Dialogos& dialogos,
                                        const std::function<void()>& alDibujar) {
  bool paso = true;
  binarizadaDibujada_ = true;
  binarizar(datos_, umbral_, paso, dialogos, binarizada_, alDibujar);
  // The final picture, also after a No.
  dibujarBinarizada();
}

Fin EspacioTrabajo::ejecutar(const MetodoCatalogo& metodo, Entorno& entorno, bool paso,
                             const Instantanea* dibujo) {
  if (metodo.ejecutar == nullptr) {
    if (paso)
      binarizarPasoAPaso(entorno.dialogos(), {});
    else
      aplicarUmbral();
    return Fin::Dibujado;
  }
  if (paso || !metodo.dibujaLocal) return metodo.ejecutar(entorno, paso);
  // What a cancelled run must leave as it was: the flags it may have written and the picture
  // it may have drawn. Only these methods report progress, so only they can be cancelled.
  const size_t cantidad = datos_.pixeles.cantidad();
  Plano negroPrevio(cantidad);
  std::copy_n(datos_.pixeles.planoNegro(), cantidad, negroPrevio.data());
  const bool dibujadaPrevia = binarizadaDibujada_;
  if (dibujo) dibujo->guardar();
  const Fin fin = metodo.ejecutar(entorno, paso);
  if (fin == Fin::Cancelado) {
    std::copy_n(negroPrevio.data(), cantidad, datos_.pixeles.planoNegro());
    binarizadaDibujada_ = dibujadaPrevia;
    if (dibujo) dibujo->restaurar();
  }
  return fin;
}

std::string EspacioTrabajo::fijarReferencia(const Superficie& cargada, std::string nombre) {
  DatosImagen referencia;
  dimensionarImagen(cargada, referencia);
  if (etapa_ != Etapa::SinImagen &&
      (referencia.ancho != datos_.ancho || referencia.alto != datos_.alto))
    return textoTamanosDistintos(referencia.ancho, referencia.alto, datos_.ancho, datos_.alto);
  leerPixeles(cargada, referencia);
  auto nueva = std::make_shared<Referencia>();
  nueva->nombre = std::move(nombre);
  nueva->ancho = referencia.ancho;
  nueva->alto = referencia.alto;
  nueva->clase = claseReferencia(referencia);
  referencia_ = std::move(nueva);
  return {};
}

ResultadoEvaluacion evaluarContra(const Referencia& referencia, const uint8_t* filas, size_t paso,
                                  int32_t ancho, int32_t alto) {
  if (ancho != referencia.ancho || alto != referencia.alto)
    return {{}, textoTamanosDistintos(referencia.ancho, referencia.alto, ancho, alto)};
  return {evaluarDibujo(filas, paso, ancho, alto, referencia.clase.data()), ""};
}

}  // namespace velarno
