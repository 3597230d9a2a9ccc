#pragma once

#include <QImage>
#include <QPixmap>
#include <QPointF>
#include <QWidget>

#include "platform/superficie_qimage.h"

class QMenu;

namespace velarno {

// A smooth reduction of a picture to `destino` (aspect kept), fast on big pictures.
QImage reducirSuave(const QImage& imagen, QSize destino);

// The grey picture with the pixels below `umbral` painted red (binarization rule: grey
// strictly below the threshold is black). `gris` is a Grayscale8 raster; the result is RGB32.
QImage superponerUmbral(const QImage& gris, int umbral);

// A picture surface on screen. In `Ajuste::Escalar` the widget shows the whole surface scaled
// to fit (aspect kept, centred), keeping a scaled copy until the surface or the size changes;
// the user may then zoom (wheel centred on the pointer, keys + and -, 0 or "Ajustar" back to
// the fitted picture) and pan by dragging while zoomed. In `Ajuste::Exacto` the surface
// follows the widget's size (the histogram chart) and is shown as it is. An empty or cleared
// surface shows only the background.
class VistaImagen : public QWidget {
  Q_OBJECT
 public:
  enum class Ajuste { Escalar, Exacto };

  VistaImagen(const QString& nombre, SuperficieQImage& superficie, Ajuste ajuste, QColor fondo,
              QWidget* padre);

  SuperficieQImage& superficie() { return superficie_; }
  // Marks the surface as cleared (nothing shown until the next drawing) and repaints.
  void limpiar();
  // Whether the surface is shown as cleared.
  bool limpia() const { return superficie_.vacia() || superficie_.version() == versionLimpia_; }
  // Repaints after the surface was drawn on.
  void actualizar();
  QSize sizeHint() const override;

  // Red overlay of the pixels below `umbral` (a Grayscale8 surface only); off by default.
  void fijarSuperposicion(bool activa, int umbral);

  // Zoom: screen pixels per picture pixel. `ajustar` returns to the whole picture fitted.
  double escala() const;
  bool ajustada() const { return ajustada_; }
  void ajustar();
  // Zooms by `factor` keeping the picture point under `punto` (widget coordinates) in place.
  void ampliar(double factor, QPointF punto);
  void ampliar(double factor) { ampliar(factor, QPointF(width() / 2.0, height() / 2.0)); }
  // Sets an absolute zoom with picture pixel (0, 0) at `origen` (clamped like a pan).
  void fijarEscala(double escala, QPointF origen);
  // Widget coordinates of the top-left corner of picture pixel (0, 0).
  QPointF origen() const;
  // The picture pixel under a widget point, or (-1, -1) outside the picture.
  QPoint pixelEn(QPointF punto) const;
  // The context menu: "Acercar", "Alejar", "Ajustar" (the caller owns it).
  QMenu* crearMenu(QWidget* padre);

  // Where the widget stands on the zoomed picture, in screen pixels, for scroll bars: the
  // zoomed picture's size, the widget's size and the picture point at the widget's top-left
  // corner (0 along a side that fits). `total` is empty while the picture is fitted.
  struct Encuadre {
    QSize total;
    QSize visible;
    QPoint posicion;
  };
  Encuadre encuadre() const;
  // Pans a zoomed picture so that its point `posicion` (as in Encuadre) is at the widget's
  // top-left corner, clamped like a drag.
  void desplazarA(QPoint posicion);

  // Tests: the surface version the last paint showed (~0 when it showed none).
  quint64 versionPintadaParaPruebas() const { return versionPintada_; }

 signals:
  // limpiar() was called: the view shows nothing now.
  void limpiada();
  // The surface of an exact view was resized (and cleared) to the widget's new size.
  void redimensionada();
  // The pointer is over picture pixel (x, y); (-1, -1) when it left the picture.
  void punteroSobre(int x, int y);
  // The zoom or the panned position changed (see encuadre()).
  void encuadreCambiado();

 protected:
  void paintEvent(QPaintEvent* evento) override;
  void resizeEvent(QResizeEvent* evento) override;
  void wheelEvent(QWheelEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;
  void mousePressEvent(QMouseEvent* evento) override;
  void mouseMoveEvent(QMouseEvent* evento) override;
  void mouseReleaseEvent(QMouseEvent* evento) override;
  void leaveEvent(QEvent* evento) override;
  void contextMenuEvent(QContextMenuEvent* evento) override;

 private:
  bool muestraImagen() const;
  double escalaAjustada() const;
  // Keeps the zoomed picture covering the widget, or centred along a side that fits.
  void limitar();
  void pintarAjustada(QPainter& pintor, const QImage& imagen);
  void pintarAmpliada(QPainter& pintor, const QImage& imagen);
  // The cached view copy with the overlay applied when it is on.
  // Only the part `parte` of the view copy, the part the widget shows.
  const QImage& conSuperposicion(const QImage& vista, quint64 generacion, QRect parte);
  // Draws a view copy (made as number `generacion`) at `punto`: with the overlay when it is
  // on, else as a cached pixmap.
  void dibujar(QPainter& pintor, QPoint punto, const QImage& vista, quint64 generacion,
               QPixmap& pixmap);
  void informarPuntero(QPointF punto);

  SuperficieQImage& superficie_;
  Ajuste ajuste_;
  QColor fondo_;
  quint64 versionLimpia_ = ~quint64{0};
  quint64 versionPintada_ = ~quint64{0};

  // Fitted view: one scaled copy per surface version and widget size.
  QImage escalada_;
  QPixmap escaladaPixmap_;
  quint64 versionEscalada_ = ~quint64{0};
  quint64 generacionEscalada_ = 0;
  QSize tamanoEscalada_;

  // Zoomed view: the visible source rectangle scaled, cached per version, zoom and rectangle.
  bool ajustada_ = true;
  double escala_ = 1;
  QPointF origen_;
  QImage trozo_;
  QPixmap trozoPixmap_;
  QRect rectTrozo_;
  double escalaTrozo_ = 0;
  quint64 versionTrozo_ = ~quint64{0};
  quint64 generacionTrozo_ = 0;

  // Overlay, applied to the view copy (fast enough to follow a dragged threshold).
  bool superponer_ = false;
  int umbral_ = 0;
  QImage superpuesta_;
  QImage baseGris_;         // the view copy as Grayscale8
  quint64 generacion_ = 0;  // counts the view copies made, so the overlay knows its base
  quint64 generacionBase_ = ~quint64{0};
  quint64 generacionSuperpuesta_ = ~quint64{0};
  int umbralSuperpuesto_ = -1;
  QRect parteSuperpuesta_;
  QSize tamanoSuperficie_;

  bool arrastrando_ = false;
  QPointF ultimoPunto_;
};

}  // namespace velarno
