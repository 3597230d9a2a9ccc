#include "platform/cargador.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "image/plano.h"
#include "image/tipos.h"
#include "platform/superficie_qimage.h"

namespace velarno {
namespace {

// Qt refuses to allocate pictures above its allocation limit (128 MB by default). The cap of
// kMaxPixeles at 4 bytes a pixel is 381.5 MiB, so the limit is 382 MiB: a 32-bit picture within
// the cap always fits, a 64-bit one above 47 million pixels does not.
constexpr int kLimiteAsignacionMB = 382;
constexpr qint64 kLimiteAsignacion = qint64(kLimiteAsignacionMB) * 1024 * 1024;
static_assert(kMaxPixeles * 4 <= kLimiteAsignacion, "the cap must fit Qt's allocation limit");

// What a picture may cost above its 4 bytes a pixel while it is decoded.
constexpr qint64 kHolguraMemoria = qint64(64) * 1024 * 1024;

// Larger files are refused unread: the whole file is held in memory while it is decoded.
constexpr qint64 kMaxBytesFichero = qint64(512) * 1024 * 1024;

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

QString textoDemasiadoGrande(const QString& nombre) {
  return QStringLiteral("No se puede abrir «%1»: el fichero mide más de 512 MB.").arg(nombre);
}

// `defecto` is the short reason given by the structure checks ("demasiados barridos").
QString textoEstructura(const QString& nombre, const char* tipo, const std::string& defecto) {
  return QStringLiteral("No se puede abrir «%1»: la imagen %2 tiene %3.")
      .arg(nombre, QLatin1String(tipo), QString::fromStdString(defecto));
}

QString textoIncompleto(const QString& nombre) {
  return QStringLiteral("No se puede abrir «%1»: el fichero BMP está incompleto.").arg(nombre);
}

const char* nombreFormato(Formato formato) {
  switch (formato) {
    case Formato::Bmp:
      return "bmp";
    case Formato::Gif:
      return "gif";
    case Formato::Jpeg:
      return "jpeg";
    case Formato::Png:
      return "png";
    case Formato::Ninguno:
      break;
  }
  return "";
}

uint32_t le(const QByteArray& b, qsizetype i, int bytes) {
  uint32_t v = 0;
  for (int k = bytes - 1; k >= 0; --k) v = (v << 8) | static_cast<uint8_t>(b[i + k]);
  return v;
}

// True for an uncompressed BMP whose pixel data is shorter than its header's raster, row padding
// included (the decoder skips a row it cannot read whole). The decoder would leave the missing rows
// unwritten, and a few bytes claiming a large picture would cost the whole raster in memory
// before anything is read.
bool bmpIncompleto(const QByteArray& b, qint64 ancho, qint64 alto) {
  if (b.size() < 30) return false;
  const uint32_t cabecera = le(b, 14, 4);
  const int bits = static_cast<int>(cabecera == 12 ? le(b, 24, 2) : le(b, 28, 2));
  const uint32_t compresion = cabecera >= 40 && b.size() >= 34 ? le(b, 30, 4) : 0;
  // BI_RGB, BI_BITFIELDS and BI_ALPHABITFIELDS store one row after another.
  if (compresion != 0 && compresion != 3 && compresion != 6) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  const qint64 bitsFila = ancho * bits;
  const qint64 bytesFila = (bitsFila + 31) / 32 * 4;
  const qint64 necesarios = bytesFila * alto;
  const qint64 inicio = le(b, 10, 4);
  const qint64 disponibles = inicio < b.size() ? b.size() - inicio : 0;
  return disponibles < necesarios;
}

// Memory a progressive JPEG needs besides its picture: the decoder keeps every DCT coefficient
// of the whole picture (2 bytes each, 64 a block) until the last scan. 0 for other JPEGs and
// for a file whose frame header cannot be found.
qint64 memoriaProgresivo(const QByteArray& b) {
  qsizetype i = 2;
  while (i + 4 <= b.size()) {
    if (static_cast<uint8_t>(b[i]) != 0xFF) return 0;
    const uint8_t marcador = static_cast<uint8_t>(b[i + 1]);
    if (marcador == 0xFF) {
      ++i;
      continue;
    }
    const qsizetype largo =
        (qsizetype(static_cast<uint8_t>(b[i + 2])) << 8) | static_cast<uint8_t>(b[i + 3]);
    const bool trama = marcador >= 0xC0 && marcador <= 0xCF && marcador != 0xC4 &&
                       marcador != 0xC8 && marcador != 0xCC;
    if (!trama) {
      if (marcador == 0xDA || largo < 2) return 0;
      i += 2 + largo;
      continue;
    }
    const bool progresivo =
        marcador == 0xC2 || marcador == 0xC6 || marcador == 0xCA || marcador == 0xCE;
    if (!progresivo || i + 10 > b.size()) return 0;
    const qint64 alto = le(b, i + 5, 1) << 8 | le(b, i + 6, 1);
    const qint64 ancho = le(b, i + 7, 1) << 8 | le(b, i + 8, 1);
    const int componentes = static_cast<uint8_t>(b[i + 9]);
    if (i + 10 + 3 * componentes > b.size()) return 0;
    int hMax = 1, vMax = 1;
    for (int c = 0; c < componentes; ++c) {
      const int muestreo = static_cast<uint8_t>(b[i + 11 + 3 * c]);
      hMax = std::max(hMax, muestreo >> 4);
      vMax = std::max(vMax, muestreo & 0x0F);
    }
    qint64 bytes = 0;
    for (int c = 0; c < componentes; ++c) {
      const int muestreo = static_cast<uint8_t>(b[i + 11 + 3 * c]);
      const qint64 h = std::max(1, muestreo >> 4), v = std::max(1, muestreo & 0x0F);
      bytes +=
          (ancho * h + 8 * hMax - 1) / (8 * hMax) * ((alto * v + 8 * vMax - 1) / (8 * vMax)) * 128;
    }
    return bytes;
  }
  return 0;
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

// Everything the checks learn of a file, kept for its decoding. The reader works on `buffer`,
// which reads `bytes`: neither may move, so the state lives on the heap.
struct ImagenRevisada::Estado {
  QString nombre;
  QString error;
  Formato formato = Formato::Ninguno;
  Plano contenido;   // the file, read into fresh huge pages: a few page faults, not thousands
  QByteArray bytes;  // `contenido` as Qt sees it, not copied
  QBuffer buffer;
  QImageReader lector;
  qint64 ancho = 0;
  qint64 alto = 0;
  QImage::Format formatoCabecera = QImage::Format_Invalid;
};

ImagenRevisada::ImagenRevisada(const QString& ruta) : estado_(std::make_unique<Estado>()) {
  fijarLimiteAsignacion();
  Estado& e = *estado_;
  e.nombre = QFileInfo(ruta).fileName();
  const QString& nombre = e.nombre;

  QFile fichero(ruta);
  if (QFileInfo(ruta).isDir() || !fichero.open(QIODevice::ReadOnly)) {
    e.error = textoNoSeLee(nombre);
    return;
  }
  // The signature is checked before the rest is read, so any other file costs nothing.
  const QByteArray firma = fichero.peek(8);
  e.formato =
      olfatearFormato(reinterpret_cast<const uint8_t*>(firma.constData()), size_t(firma.size()));
  const Formato formato = e.formato;
  if (formato == Formato::Ninguno) {
    e.error = textoNoEsImagen(nombre);
    return;
  }
  if (fichero.size() > kMaxBytesFichero) {
    e.error = textoDemasiadoGrande(nombre);
    return;
  }
  // The whole file and nothing more: a pipe or a special file reports size 0 but has bytes.
  const qint64 largo = fichero.size();
  e.contenido = Plano(static_cast<size_t>(largo));
  auto* destino = reinterpret_cast<char*>(e.contenido.data());
  char sobra = 0;
  if (fichero.read(destino, largo) != largo || fichero.read(&sobra, 1) != 0) {
    e.error = textoNoSeLee(nombre);
    return;
  }
  fichero.close();
  e.bytes = QByteArray::fromRawData(destino, largo);
  const QByteArray& bytes = e.bytes;

  const auto* datos = reinterpret_cast<const uint8_t*>(bytes.constData());
  const size_t n = size_t(bytes.size());
  if (formato == Formato::Jpeg) {
    if (const std::string defecto = revisarJpeg(datos, n); !defecto.empty()) {
      e.error = textoEstructura(nombre, "JPEG", defecto);
      return;
    }
  } else if (formato == Formato::Gif) {
    if (const std::string defecto = revisarGif(datos, n); !defecto.empty()) {
      e.error = textoEstructura(nombre, "GIF", defecto);
      return;
    }
  }

  e.buffer.setBuffer(&e.bytes);
  e.buffer.open(QIODevice::ReadOnly);
  QImageReader& lector = e.lector;
  lector.setDevice(&e.buffer);
  lector.setFormat(nombreFormato(formato));
  lector.setDecideFormatFromContent(false);
  lector.setAutoDetectImageFormat(false);             // that format's decoder or none
  lector.setAutoTransform(formato == Formato::Jpeg);  // EXIF orientation
  // The size comes from the header, before any pixel is decoded. Top-down BMPs report a
  // negative height. A turn by the EXIF orientation swaps the sides, which the cap allows alike.
  const QSize tamano = lector.size();
  if (tamano == QSize()) {
    e.error = textoNoEsImagen(nombre);
    return;
  }
  e.ancho = std::llabs(tamano.width());
  e.alto = std::llabs(tamano.height());
  const qint64 ancho = e.ancho;
  const qint64 alto = e.alto;
  e.error = comprobarTamano(nombre, ancho, alto);
  if (!e.error.isEmpty()) return;
  if (formato == Formato::Bmp && bmpIncompleto(bytes, ancho, alto)) {
    e.error = textoIncompleto(nombre);
    return;
  }

  e.formatoCabecera = lector.imageFormat();
  if (e.formatoCabecera != QImage::Format_Invalid &&
      ancho * alto * QImage::toPixelFormat(e.formatoCabecera).bitsPerPixel() / 8 >
          kLimiteAsignacion) {
    e.error = textoSinMemoria(nombre, ancho, alto);
    return;
  }
  if (formato == Formato::Jpeg && memoriaProgresivo(bytes) > 4 * ancho * alto + kHolguraMemoria) {
    e.error = textoSinMemoria(nombre, ancho, alto);
    return;
  }
}

ImagenRevisada::~ImagenRevisada() = default;

const QString& ImagenRevisada::error() const { return estado_->error; }
Formato ImagenRevisada::formato() const { return estado_->formato; }
const QByteArray& ImagenRevisada::bytes() const { return estado_->bytes; }
int ImagenRevisada::ancho() const { return static_cast<int>(estado_->ancho); }
int ImagenRevisada::alto() const { return static_cast<int>(estado_->alto); }

bool ImagenRevisada::girada() const {
  return estado_->formato == Formato::Jpeg &&
         estado_->lector.transformation() != QImageIOHandler::TransformationNone;
}

ResultadoCarga ImagenRevisada::decodificar() {
  assert(ok());
  Estado& e = *estado_;
  const QString& nombre = e.nombre;
  const qint64 ancho = e.ancho;
  const qint64 alto = e.alto;
  ResultadoCarga resultado;

  // The decoders write into this picture when it already has their size and format: fresh
  // zero pages on huge pages, so that a 12 MP picture costs a few page faults instead of
  // thousands, and a file that fails early costs only the rows it reached. The BMP and GIF
  // decoders leave what a short or broken file does not reach unwritten, so those pixels are
  // made white (or colour 0 of a palette) instead of whatever the memory held.
  QImage imagen;
  if (e.formatoCabecera != QImage::Format_Invalid) {
    try {
      imagen =
          imagenEnPlano(static_cast<int32_t>(ancho), static_cast<int32_t>(alto), e.formatoCabecera);
    } catch (const std::bad_alloc&) {
      resultado.error = textoSinMemoria(nombre, ancho, alto);
      return resultado;
    }
    if (e.formato == Formato::Bmp || e.formato == Formato::Gif) {
      if (tieneTablaDeColores(e.formatoCabecera))
        imagen.fill(0);
      else
        imagen.fill(Qt::white);
    }
  }

  const bool leida = e.lector.read(&imagen);
  e.buffer.close();
  e.bytes = QByteArray();
  e.contenido = Plano();
  if (!leida || imagen.isNull() || imagen.width() < 1 || imagen.height() < 1) {
    resultado.error = textoNoEsImagen(nombre);
    return resultado;
  }
  // A decoder may report a size in the header and decode another, and the EXIF orientation may
  // turn the picture: the decoded size counts.
  resultado.error = comprobarTamano(nombre, imagen.width(), imagen.height());
  if (!resultado.ok()) return resultado;

  const int anchoLeido = imagen.width();
  const int altoLeido = imagen.height();
  resultado.imagen = aplanarSobreBlanco(std::move(imagen));
  if (resultado.imagen.isNull()) resultado.error = textoSinMemoria(nombre, anchoLeido, altoLeido);
  return resultado;
}

ResultadoCarga decodificarImagen(const QString& ruta) {
  ImagenRevisada revisada(ruta);
  if (!revisada.ok()) return {QImage(), revisada.error()};
  return revisada.decodificar();
}

}  // namespace velarno
