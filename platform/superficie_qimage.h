#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>

#include "image/superficie.h"

namespace velarno {

// A picture whose pixels live in a Plano, every byte 0: a large one on fresh huge pages, so
// that writing a new 12 MP picture costs a few page faults instead of thousands. Rows are
// 4-byte aligned, as Qt's own pictures. Throws std::bad_alloc when the memory cannot be had.
QImage imagenEnPlano(int32_t ancho, int32_t alto, QImage::Format formato);

// A picture surface over a QImage: a whole picture (32-bit colour), a grey or black-and-white
// raster (8-bit) or a chart drawn with lines and texts. `version()` changes with every change,
// so a view can keep a scaled copy until the picture changes.
class SuperficieQImage : public Superficie {
 public:
  // An empty surface (0 x 0) of the given raster format, cleared to `fondo`.
  SuperficieQImage(QImage::Format formato, QColor fondo);

  // A new size, cleared to the background.
  void redimensionar(int32_t ancho, int32_t alto);
  // Holds `imagen` as it is (converted to the surface's format when it differs).
  void setImagen(const QImage& imagen);
  // Back to 0 x 0.
  void vaciar();
  bool vacia() const { return imagen_.isNull() || imagen_.width() == 0; }
  const QImage& qimage() const { return imagen_; }
  quint64 version() const { return version_; }
  // Black pixels (grey level 0) of an 8-bit grey raster as drawn; 0 for other formats.
  int64_t negros() const;

  int32_t anchoPixeles() const override;
  int32_t altoPixeles() const override;
  Color leerColor(int32_t x, int32_t y) const override;
  void ponerPixel(int32_t x, int32_t y, Color color) override;
  void limpiar() override;
  void escala(double izquierda, double arriba, double derecha, double abajo) override;
  int grosorLinea() const override { return grosor_; }
  void setGrosorLinea(int grosor) override { grosor_ = grosor; }
  void linea(double x1, double y1, double x2, double y2, Color color) override;
  void fuente(const std::string& nombre, double puntos, bool negrita) override;
  void texto(double x, double y, const std::string& texto) override;
  void escribirGrises(const uint8_t* gris, size_t paso, int32_t ancho, int32_t alto) override;
  void escribirBlancoNegro(const uint8_t* negro, size_t paso, int32_t ancho, int32_t alto) override;
  const uint32_t* filaRGB32(int32_t y) const override;

 private:
  void cambiado() { ++version_; }
  // User coordinates (from `escala`) to pixel coordinates; pixels until a scale is set.
  QPointF aPixeles(double x, double y) const;

  QImage::Format formato_;
  QColor fondo_;
  QImage imagen_;
  bool escalaDefinida_ = false;
  double izquierda_ = 0;
  double arriba_ = 0;
  double derecha_ = 0;
  double abajo_ = 0;
  int grosor_ = 1;
  QString nombreFuente_ = QStringLiteral("arial");
  double puntosFuente_ = 8;
  bool negrita_ = false;
  quint64 version_ = 0;
};

}  // namespace velarno
