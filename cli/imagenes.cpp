#include "cli/imagenes.h"

#include <cassert>

#include <QFileInfo>

#include "platform/cargador.h"
#include "platform/lector_gris.h"

namespace velarno {

std::string cargarImagen(const QString& ruta, SuperficieQImage& cargada) {
  ResultadoCarga carga = decodificarImagen(ruta);
  if (!carga.ok()) return carga.error.toStdString();
  cargada.setImagen(carga.imagen);
  return {};
}

std::string leerImagen(const QString& ruta, EspacioTrabajo& espacio) {
  if (const QString error = leerGrisesImagen(ruta, espacio.datos()); !error.isEmpty())
    return error.toStdString();
  espacio.grisesLeidos();
  return {};
}

std::string leerReferencia(const QString& ruta, EspacioTrabajo& espacio, bool& ilegible) {
  SuperficieQImage cargada(QImage::Format_RGB32, Qt::white);
  std::string error = cargarImagen(ruta, cargada);
  ilegible = !error.empty();
  if (ilegible) return error;
  return espacio.fijarReferencia(cargada, QFileInfo(ruta).fileName().toStdString());
}

Evaluacion evaluarDibujada(const SuperficieQImage& binarizada, const Referencia& referencia) {
  const QImage& dibujo = binarizada.qimage();
  assert(dibujo.format() == QImage::Format_Grayscale8);
  const ResultadoEvaluacion resultado =
      evaluarContra(referencia, dibujo.constBits(), static_cast<size_t>(dibujo.bytesPerLine()),
                    dibujo.width(), dibujo.height());
  assert(resultado.ok());
  return resultado.evaluacion;
}

}  // namespace velarno
