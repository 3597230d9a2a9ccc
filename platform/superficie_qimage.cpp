#include "platform/superficie_qimage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include <QFont>
#include <QPainter>
#include <QPen>

#include "image/colores.h"
#include "image/plano.h"

namespace velarno {

namespace {

QColor aQColor(Color color) { return QColor(color & 255, (color >> 8) & 255, (color >> 16) & 255); }

uint32_t aRGB32(Color color) {
  return 0xFF000000U | (static_cast<uint32_t>(color & 255) << 16) |
         (static_cast<uint32_t>((color >> 8) & 255) << 8) |
         static_cast<uint32_t>((color >> 16) & 255);
}

Color desdeRGB32(uint32_t p) {
  return static_cast<Color>(((p >> 16) & 255U) | (p & 0xFF00U) | ((p & 255U) << 16));
}

}  // namespace

QImage imagenEnPlano(int32_t ancho, int32_t alto, QImage::Format formato) {
  if (ancho <= 0 || alto <= 0) return QImage(std::max(ancho, 0), std::max(alto, 0), formato);
  const qsizetype linea =
      (qsizetype{ancho} * QImage::toPixelFormat(formato).bitsPerPixel() + 31) / 32 * 4;
  auto plano = std::make_unique<Plano>(static_cast<size_t>(linea) * static_cast<size_t>(alto));
  QImage imagen(
      plano->data(), ancho, alto, linea, formato, [](void* p) { delete static_cast<Plano*>(p); },
      plano.get());
  plano.release();  // the picture's last copy frees it
  return imagen;
}

SuperficieQImage::SuperficieQImage(QImage::Format formato, QColor fondo)
    : formato_(formato), fondo_(fondo) {}

void SuperficieQImage::redimensionar(int32_t ancho, int32_t alto) {
  imagen_ = QImage();  // the old pixels go before the new ones are made
  imagen_ = imagenEnPlano(ancho, alto, formato_);
  imagen_.fill(fondo_);
  cambiado();
}

void SuperficieQImage::setImagen(const QImage& imagen) {
  imagen_ = imagen.format() == formato_ ? imagen : imagen.convertToFormat(formato_);
  cambiado();
}

void SuperficieQImage::vaciar() {
  imagen_ = QImage();
  cambiado();
}

int32_t SuperficieQImage::anchoPixeles() const { return imagen_.isNull() ? 0 : imagen_.width(); }

int32_t SuperficieQImage::altoPixeles() const { return imagen_.isNull() ? 0 : imagen_.height(); }

Color SuperficieQImage::leerColor(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= anchoPixeles() || y >= altoPixeles()) return -1;
  switch (imagen_.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
      return desdeRGB32(reinterpret_cast<const uint32_t*>(imagen_.constScanLine(y))[x]);
    case QImage::Format_Grayscale8: {
      const int g = imagen_.constScanLine(y)[x];
      return rgb(g, g, g);
    }
    default:
      return desdeRGB32(imagen_.pixel(x, y));
  }
}

void SuperficieQImage::ponerPixel(int32_t x, int32_t y, Color color) {
  if (x < 0 || y < 0 || x >= anchoPixeles() || y >= altoPixeles()) return;
  switch (imagen_.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
      reinterpret_cast<uint32_t*>(imagen_.scanLine(y))[x] = aRGB32(color);
      break;
    case QImage::Format_Grayscale8:
      // A grey raster keeps the colour's grey level by the system's own rule.
      imagen_.scanLine(y)[x] = static_cast<uchar>(nivelGris(color & 0xFFFFFF));
      break;
    default:
      imagen_.setPixel(x, y, aRGB32(color));
      break;
  }
  cambiado();
}

void SuperficieQImage::limpiar() {
  if (!imagen_.isNull()) imagen_.fill(fondo_);
  cambiado();
}

void SuperficieQImage::escala(double izquierda, double arriba, double derecha, double abajo) {
  escalaDefinida_ = true;
  izquierda_ = izquierda;
  arriba_ = arriba;
  derecha_ = derecha;
  abajo_ = abajo;
}

QPointF SuperficieQImage::aPixeles(double x, double y) const {
  if (!escalaDefinida_) return {x, y};
  // A side of no extent (an empty histogram's chart has no height) maps to the top or left
  // edge instead of dividing by zero.
  const double ancho = derecha_ - izquierda_;
  const double alto = abajo_ - arriba_;
  const double px = ancho != 0 ? (x - izquierda_) / ancho * anchoPixeles() : 0;
  const double py = alto != 0 ? (y - arriba_) / alto * altoPixeles() : 0;
  return {px, py};
}

void SuperficieQImage::linea(double x1, double y1, double x2, double y2, Color color) {
  if (vacia()) return;
  QPainter pintor(&imagen_);
  // A line width is in pixels of the design scale: when the user scale stretches a unit over
  // more than one pixel (a chart enlarged with its frame) the width grows with it, so the
  // bars of neighbouring levels still touch.
  double anchoPorUnidad = 1;
  if (escalaDefinida_ && derecha_ != izquierda_)
    anchoPorUnidad = std::max(1.0, std::ceil(anchoPixeles() / std::abs(derecha_ - izquierda_)));
  pintor.setPen(QPen(aQColor(color), grosor_ * anchoPorUnidad));
  pintor.drawLine(aPixeles(x1, y1), aPixeles(x2, y2));
  cambiado();
}

void SuperficieQImage::fuente(const std::string& nombre, double puntos, bool negrita) {
  nombreFuente_ = QString::fromStdString(nombre);
  puntosFuente_ = puntos;
  negrita_ = negrita;
}

void SuperficieQImage::texto(double x, double y, const std::string& texto) {
  if (vacia()) return;
  QPainter pintor(&imagen_);
  QFont letra(nombreFuente_);
  if (puntosFuente_ > 0) letra.setPointSizeF(puntosFuente_);
  letra.setBold(negrita_);
  pintor.setFont(letra);
  pintor.setPen(Qt::black);
  const QPointF origen = aPixeles(x, y);
  pintor.drawText(QRectF(origen, QSizeF(imagen_.width() + 1, imagen_.height() + 1)),
                  Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, QString::fromStdString(texto));
  cambiado();
}

void SuperficieQImage::escribirGrises(const uint8_t* gris, size_t paso, int32_t ancho,
                                      int32_t alto) {
  ancho = std::min(ancho, anchoPixeles());
  alto = std::min(alto, altoPixeles());
  if (ancho <= 0 || alto <= 0) return;
  const auto n = static_cast<size_t>(ancho);
  switch (imagen_.format()) {
    case QImage::Format_Grayscale8:
      for (int32_t y = 0; y < alto; ++y)
        std::memcpy(imagen_.scanLine(y), gris + static_cast<size_t>(y) * paso, n);
      break;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
      for (int32_t y = 0; y < alto; ++y) {
        const uint8_t* origen = gris + static_cast<size_t>(y) * paso;
        auto* destino = reinterpret_cast<uint32_t*>(imagen_.scanLine(y));
        for (size_t x = 0; x < n; ++x) destino[x] = 0xFF000000U | (origen[x] * 0x010101U);
      }
      break;
    default:
      Superficie::escribirGrises(gris, paso, ancho, alto);
      break;
  }
  cambiado();
}

void SuperficieQImage::escribirBlancoNegro(const uint8_t* negro, size_t paso, int32_t ancho,
                                           int32_t alto) {
  ancho = std::min(ancho, anchoPixeles());
  alto = std::min(alto, altoPixeles());
  if (ancho <= 0 || alto <= 0) return;
  const auto n = static_cast<size_t>(ancho);
  switch (imagen_.format()) {
    case QImage::Format_Grayscale8:
      for (int32_t y = 0; y < alto; ++y) {
        const uint8_t* origen = negro + static_cast<size_t>(y) * paso;
        uchar* destino = imagen_.scanLine(y);
        // 0 - 1 wraps to 255: white where the flag is clear, black where it is set.
        for (size_t x = 0; x < n; ++x) destino[x] = static_cast<uchar>((origen[x] != 0) - 1);
      }
      break;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
      for (int32_t y = 0; y < alto; ++y) {
        const uint8_t* origen = negro + static_cast<size_t>(y) * paso;
        auto* destino = reinterpret_cast<uint32_t*>(imagen_.scanLine(y));
        for (size_t x = 0; x < n; ++x) destino[x] = origen[x] != 0 ? 0xFF000000U : 0xFFFFFFFFU;
      }
      break;
    default:
      Superficie::escribirBlancoNegro(negro, paso, ancho, alto);
      break;
  }
  cambiado();
}

const uint32_t* SuperficieQImage::filaRGB32(int32_t y) const {
  if (y < 0 || y >= altoPixeles()) return nullptr;
  if (imagen_.format() != QImage::Format_RGB32 && imagen_.format() != QImage::Format_ARGB32)
    return nullptr;
  return reinterpret_cast<const uint32_t*>(imagen_.constScanLine(y));
}

int64_t SuperficieQImage::negros() const {
  if (imagen_.format() != QImage::Format_Grayscale8) return 0;
  int64_t cuenta = 0;
  for (int y = 0; y < imagen_.height(); ++y) {
    const uchar* fila = imagen_.constScanLine(y);
    cuenta += std::count(fila, fila + imagen_.width(), uchar{0});
  }
  return cuenta;
}

}  // namespace velarno
