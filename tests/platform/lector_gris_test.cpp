#include "platform/lector_gris.h"

#include <algorithm>
#include <string>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "image/representaciones.h"
#include "platform/cargador.h"
#include "platform/superficie_qimage.h"

namespace velarno {
namespace {

QByteArray codificar(const QImage& imagen, const char* formato, int calidad, bool progresiva) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter escritor(&buffer, formato);
  escritor.setQuality(calidad);
  escritor.setProgressiveScanWrite(progresiva);
  EXPECT_TRUE(escritor.write(imagen));
  return bytes;
}

// The record must be the one leerPixeles reads from decodificarImagen's picture, for JPEGs read
// row by row and for those left to the whole decode (cut short, turned by EXIF, not JPEG), and
// a refusal must be decodificarImagen's.
TEST(LeerGrisesImagen, GivesTheRecordOfTheWholeDecode) {
  QImage color(37, 23, QImage::Format_RGB32);  // sides that fill no whole block
  for (int y = 0; y < color.height(); ++y)
    for (int x = 0; x < color.width(); ++x)
      color.setPixel(x, y, qRgb(x * 7 % 256, x * y % 256, (x < 18) * 200 + y));
  const QByteArray jpeg = codificar(color, "jpeg", 75, false);
  const QByteArray exif(
      "\xFF\xE1\x00\x22\x45xif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0"
      "\x06\0\0\0\0\0\0\0",
      36);
  const struct {
    const char* nombre;
    QByteArray bytes;
  } casos[] = {
      {"color.jpg", jpeg},
      {"calidad.jpg", codificar(color, "jpeg", 95, false)},
      {"progresiva.jpg", codificar(color, "jpeg", 75, true)},
      {"gris.jpg", codificar(color.convertToFormat(QImage::Format_Grayscale8), "jpeg", 90, false)},
      {"corta.jpg", jpeg.left(jpeg.size() * 2 / 3)},
      {"girada.jpg", jpeg.left(2) + exif + jpeg.mid(2)},
      {"color.png", codificar(color, "png", -1, false)},
      {"vacia.jpg", QByteArray("\xFF\xD8\xFF\xD9", 4)},
  };
  QTemporaryDir dir;
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    const QString ruta = dir.filePath(c.nombre);
    QFile fichero(ruta);
    ASSERT_TRUE(fichero.open(QIODevice::WriteOnly) && fichero.write(c.bytes) == c.bytes.size());
    fichero.close();
    DatosImagen leida;
    const QString error = leerGrisesImagen(ruta, leida);
    const ResultadoCarga carga = decodificarImagen(ruta);
    EXPECT_EQ(error.toStdString(), carga.error.toStdString());
    if (!carga.ok()) continue;
    SuperficieQImage cargada(QImage::Format_RGB32, Qt::white);
    cargada.setImagen(carga.imagen);
    DatosImagen entera;
    dimensionarImagen(cargada, entera);
    leerPixeles(cargada, entera);
    ASSERT_EQ(leida.ancho, entera.ancho);
    ASSERT_EQ(leida.alto, entera.alto);
    const Pixeles& a = leida.pixeles;
    const Pixeles& b = entera.pixeles;
    EXPECT_TRUE(std::equal(a.planoGris(), a.planoGris() + a.cantidad(), b.planoGris()));
    EXPECT_TRUE(std::all_of(a.planoNegro(), a.planoNegro() + a.cantidad(),
                            [](uint8_t v) { return v == 0; }));
  }
}

}  // namespace
}  // namespace velarno
