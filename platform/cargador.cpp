#include "cargador.h"

#include <cstdlib>
#include <mutex>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "tipos.h"

namespace velarno {
namespace {

// Qt refuses to allocate pictures above its allocation limit (128 MB by default). The cap of
// kMaxPixeles at 4 bytes a pixel is 381 MiB; the rest is headroom for a decoder's own buffers.
constexpr int kLimiteAsignacionMB = 512;

void fijarLimiteAsignacion() {
  static std::once_flag hecho;
  std::call_once(hecho, [] { QImageReader::setAllocationLimit(kLimiteAsignacionMB); });
}

QString textoNoEsImagen(const QString& nombre) {
  return QStringLiteral("No se puede abrir «%1»: no es una imagen BMP, GIF, JPEG o PNG válida.")
      .arg(nombre);
}

QString textoNoSeLee(const QString& nombre) {
  return QStringLiteral(
             "No se puede leer el fichero «%1»: no existe o no se tiene permiso para leerlo.")
      .arg(nombre);
}

QString textoSinMemoria(const QString& nombre, qint64 ancho, qint64 alto) {
  return QStringLiteral("No hay memoria suficiente para abrir «%1» (%2x%3 píxeles).")
      .arg(nombre)
      .arg(ancho)
      .arg(alto);
}

// The reader format for the first bytes of a file, or an empty array for anything that is not
// one of the four kinds the system opens. Qt would otherwise pick any decoder it has from the
// bytes (TIFF, WebP, ...), whatever the file's name.
QByteArray formatoPorFirma(const QByteArray& cabecera) {
  if (cabecera.startsWith("BM")) return "bmp";
  if (cabecera.startsWith("GIF87a") || cabecera.startsWith("GIF89a")) return "gif";
  if (cabecera.startsWith("\xFF\xD8\xFF")) return "jpeg";
  if (cabecera.startsWith("\x89PNG")) return "png";
  return {};
}

bool tieneTablaDeColores(QImage::Format formato) {
  return formato == QImage::Format_Indexed8 || formato == QImage::Format_Mono ||
         formato == QImage::Format_MonoLSB;
}

// Opaque 32-bit colour: pictures with transparency are composed over white, each channel
// c * a + 255 * (255 - a) divided by 255 and rounded, so the same file always gives the same
// colours. Palette pictures go through their colour table to 32-bit colour.
QImage aplanarSobreBlanco(QImage imagen) {
  if (!imagen.hasAlphaChannel()) return std::move(imagen).convertToFormat(QImage::Format_RGB32);
  QImage argb = std::move(imagen).convertToFormat(QImage::Format_ARGB32);
  if (argb.isNull()) return argb;
  for (int y = 0; y < argb.height(); ++y) {
    auto* fila = reinterpret_cast<QRgb*>(argb.scanLine(y));
    for (int x = 0; x < argb.width(); ++x) {
      const QRgb c = fila[x];
      const int a = qAlpha(c);
      if (a == 255) continue;
      const auto mezcla = [a](int canal) { return (canal * a + 255 * (255 - a) + 127) / 255; };
      fila[x] = qRgb(mezcla(qRed(c)), mezcla(qGreen(c)), mezcla(qBlue(c)));
    }
  }
  argb.reinterpretAsFormat(QImage::Format_RGB32);
  return argb;
}

}  // namespace

QString comprobarTamano(const QString& nombre, qint64 ancho, qint64 alto) {
  if (ancho < 1 || alto < 1) return textoNoEsImagen(nombre);
  if (ancho > kMaxLado || alto > kMaxLado || ancho * alto > kMaxPixeles) {
    return QStringLiteral(
               "La imagen «%1» mide %2x%3 píxeles: supera el máximo de %4 píxeles (%5 por lado).")
        .arg(nombre)
        .arg(ancho)
        .arg(alto)
        .arg(kMaxPixeles)
        .arg(kMaxLado);
  }
  return {};
}

ResultadoCarga decodificarImagen(const QString& ruta) {
  fijarLimiteAsignacion();
  const QString nombre = QFileInfo(ruta).fileName();
  ResultadoCarga resultado;

  QFile fichero(ruta);
  if (QFileInfo(ruta).isDir() || !fichero.open(QIODevice::ReadOnly)) {
    resultado.error = textoNoSeLee(nombre);
    return resultado;
  }
  const QByteArray formato = formatoPorFirma(fichero.peek(8));
  if (formato.isEmpty()) {
    resultado.error = textoNoEsImagen(nombre);
    return resultado;
  }

  QImageReader lector(&fichero, formato);
  lector.setDecideFormatFromContent(false);
  lector.setAutoDetectImageFormat(false);  // that format's decoder or none
  // The size comes from the header, before any pixel is decoded. Top-down BMPs report a
  // negative height.
  const QSize tamano = lector.size();
  if (tamano == QSize()) {
    resultado.error = textoNoEsImagen(nombre);
    return resultado;
  }
  const qint64 ancho = std::llabs(tamano.width());
  const qint64 alto = std::llabs(tamano.height());
  resultado.error = comprobarTamano(nombre, ancho, alto);
  if (!resultado.ok()) return resultado;

  // Decoders write into this buffer when it already has their size and format, so whatever a
  // short or broken file leaves undecoded stays white (or colour 0 of a palette) instead of
  // uninitialised memory.
  const QImage::Format formatoCabecera = lector.imageFormat();
  QImage imagen;
  if (formatoCabecera != QImage::Format_Invalid) {
    const qint64 bytes = ancho * alto * QImage::toPixelFormat(formatoCabecera).bitsPerPixel() / 8;
    if (bytes > qint64(kLimiteAsignacionMB) * 1024 * 1024) {
      resultado.error = textoSinMemoria(nombre, ancho, alto);
      return resultado;
    }
    imagen = QImage(static_cast<int>(ancho), static_cast<int>(alto), formatoCabecera);
    if (imagen.isNull()) {
      resultado.error = textoSinMemoria(nombre, ancho, alto);
      return resultado;
    }
    if (tieneTablaDeColores(formatoCabecera))
      imagen.fill(0);
    else
      imagen.fill(Qt::white);
  }

  if (!lector.read(&imagen) || imagen.isNull() || imagen.width() < 1 || imagen.height() < 1) {
    resultado.error = textoNoEsImagen(nombre);
    return resultado;
  }
  // A decoder may report a size in the header and decode another; the decoded one counts.
  resultado.error = comprobarTamano(nombre, imagen.width(), imagen.height());
  if (!resultado.ok()) return resultado;

  const int anchoLeido = imagen.width();
  const int altoLeido = imagen.height();
  resultado.imagen = aplanarSobreBlanco(std::move(imagen));
  if (resultado.imagen.isNull()) resultado.error = textoSinMemoria(nombre, anchoLeido, altoLeido);
  return resultado;
}

}  // namespace velarno
