#include "cli/entorno_cli.h"

namespace velarno {

EntornoCli::EntornoCli(DatosImagen& imagen, std::string respuestas, int umbralInicial)
    : EntornoSimple(imagen, std::move(respuestas), umbralInicial),
      binarizada_(QImage::Format_Grayscale8, Qt::white) {
  binarizada_.redimensionar(imagen.ancho, imagen.alto);
  setBinarizada(&binarizada_);
}

int64_t EntornoCli::negros() const {
  const QImage& imagen = binarizada_.qimage();
  int64_t cuenta = 0;
  for (int y = 0; y < imagen.height(); ++y) {
    const uchar* fila = imagen.constScanLine(y);
    for (int x = 0; x < imagen.width(); ++x) cuenta += fila[x] == 0 ? 1 : 0;
  }
  return cuenta;
}

}  // namespace velarno
