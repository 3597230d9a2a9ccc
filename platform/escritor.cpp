#include "platform/escritor.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace velarno {

std::optional<FormatoImagen> formatoPorExtension(const QString& ruta) {
  const QString extension = QFileInfo(ruta).suffix().toLower();
  if (extension == QLatin1String("png")) return FormatoImagen::Png;
  if (extension == QLatin1String("bmp")) return FormatoImagen::Bmp;
  if (extension == QLatin1String("pgm")) return FormatoImagen::Pgm;
  return std::nullopt;
}

bool escribirImagen(const QImage& gris, const QString& ruta, FormatoImagen formato) {
  QSaveFile fichero(ruta);
  if (!fichero.open(QIODevice::WriteOnly)) return false;
  bool bien = true;
  if (formato == FormatoImagen::Pgm) {
    // Binary PGM: the header, then the rows without the raster's line padding.
    const QImage g = gris.convertToFormat(QImage::Format_Grayscale8);
    const QByteArray cabecera =
        "P5\n" + QByteArray::number(g.width()) + " " + QByteArray::number(g.height()) + "\n255\n";
    bien = fichero.write(cabecera) == cabecera.size();
    for (int y = 0; bien && y < g.height(); ++y)
      bien =
          fichero.write(reinterpret_cast<const char*>(g.constScanLine(y)), g.width()) == g.width();
  } else {
    QImageWriter escritor(&fichero, formato == FormatoImagen::Png ? "png" : "bmp");
    bien = escritor.write(gris);
  }
  return bien && fichero.commit();
}

}  // namespace velarno
