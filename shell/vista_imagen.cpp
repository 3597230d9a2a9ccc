#include "vista_imagen.h"

#include <QPainter>
#include <QResizeEvent>

namespace velarno {

VistaImagen::VistaImagen(const QString& nombre, SuperficieQImage& superficie, Ajuste ajuste,
                         QColor fondo, QWidget* padre)
    : QWidget(padre), superficie_(superficie), ajuste_(ajuste), fondo_(fondo) {
  setObjectName(nombre);
  setMinimumSize(80, 60);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize VistaImagen::sizeHint() const { return {300, 200}; }

void VistaImagen::limpiar() {
  versionLimpia_ = superficie_.version();
  escalada_ = QPixmap();
  update();
}

void VistaImagen::actualizar() { update(); }

void VistaImagen::resizeEvent(QResizeEvent* evento) {
  QWidget::resizeEvent(evento);
  if (ajuste_ == Ajuste::Exacto) {
    superficie_.redimensionar(width(), height());
    emit redimensionada();
  }
}

void VistaImagen::paintEvent(QPaintEvent*) {
  QPainter pintor(this);
  pintor.fillRect(rect(), fondo_);
  if (superficie_.vacia() || superficie_.version() == versionLimpia_) return;
  const QImage& imagen = superficie_.qimage();
  if (ajuste_ == Ajuste::Exacto) {
    pintor.drawImage(0, 0, imagen);
    return;
  }
  const QSize destino = imagen.size().scaled(size(), Qt::KeepAspectRatio);
  if (destino.isEmpty()) return;
  if (versionEscalada_ != superficie_.version() || tamanoEscalada_ != destino) {
    // A smooth reduction once per change; a picture smaller than the view is enlarged
    // without blurring its pixels.
    const bool reducir = destino.width() < imagen.width();
    escalada_ = QPixmap::fromImage(imagen.scaled(
        destino, Qt::KeepAspectRatio, reducir ? Qt::SmoothTransformation : Qt::FastTransformation));
    versionEscalada_ = superficie_.version();
    tamanoEscalada_ = destino;
  }
  const QPoint origen((width() - escalada_.width()) / 2, (height() - escalada_.height()) / 2);
  pintor.drawPixmap(origen, escalada_);
}

}  // namespace velarno
