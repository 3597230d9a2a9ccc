#pragma once

#include <QPixmap>
#include <QWidget>

#include "superficie_qimage.h"

namespace velarno {

// A picture surface on screen. In `Ajuste::Escalar` the widget shows the whole surface scaled
// to fit (aspect kept, centred), keeping a scaled copy until the surface or the size changes;
// in `Ajuste::Exacto` the surface follows the widget's size (the histogram chart) and is shown
// as it is. An empty or cleared surface shows only the background.
class VistaImagen : public QWidget {
  Q_OBJECT
 public:
  enum class Ajuste { Escalar, Exacto };

  VistaImagen(const QString& nombre, SuperficieQImage& superficie, Ajuste ajuste, QColor fondo,
              QWidget* padre);

  SuperficieQImage& superficie() { return superficie_; }
  // Marks the surface as cleared (nothing shown until the next drawing) and repaints.
  void limpiar();
  // Repaints after the surface was drawn on.
  void actualizar();
  QSize sizeHint() const override;

 signals:
  // The surface of an exact view was resized (and cleared) to the widget's new size.
  void redimensionada();

 protected:
  void paintEvent(QPaintEvent* evento) override;
  void resizeEvent(QResizeEvent* evento) override;

 private:
  SuperficieQImage& superficie_;
  Ajuste ajuste_;
  QColor fondo_;
  quint64 versionLimpia_ = ~quint64{0};
  QPixmap escalada_;
  quint64 versionEscalada_ = ~quint64{0};
  QSize tamanoEscalada_;
};

}  // namespace velarno
