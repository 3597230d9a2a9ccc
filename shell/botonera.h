#pragma once

#include <array>

#include <QLabel>
#include <QPixmap>

namespace velarno {

// One picture button of the tool bar: shows one bitmap (loaded by number from the resources),
// with its tooltip and its resource number B in the tag. Emits `pulsado` on a click while
// enabled; the bitmap is drawn as it is whatever the enabled state (the looks are bitmaps).
class BotonImagen : public QLabel {
  Q_OBJECT
 public:
  BotonImagen(int indice, QWidget* padre);

  int indice() const { return indice_; }
  // The resource number of the bitmap shown now.
  int bitmap() const { return bitmap_; }
  void mostrarBitmap(int numero);

 signals:
  void pulsado(int indice);

 protected:
  void mousePressEvent(QMouseEvent* evento) override;
  void mouseReleaseEvent(QMouseEvent* evento) override;
  void paintEvent(QPaintEvent* evento) override;

 private:
  int indice_;
  int bitmap_ = 0;
  QPixmap pixmap_;
  bool presionado_ = false;
};

// The tool bar: six picture buttons in `barraBotones`, of which "Abrir imagen" (0) and
// "Binarizar" (4) are visible, and after them a seventh of its own, "Comparar métodos"
// (kComparar). Each button's tag holds its normal bitmap B; B + 1 is the pressed look, B + 2
// disabled, B + 3 latched down.
class Botonera {
 public:
  static constexpr int kBotones = 6;
  // Index of the "Comparar métodos" button, outside the six of the workflow.
  static constexpr int kComparar = kBotones;

  // Builds the buttons in `barra` (crearBotonera).
  explicit Botonera(QWidget* barra);

  BotonImagen* boton(int i) const { return botones_[static_cast<size_t>(i)]; }

  // Pressed flash: bitmap B + 1 for 0.2 s (repainting meanwhile), then B.
  void pulsarBoton(int i);
  void habilitarBoton(int i);     // enabled, bitmap B
  void deshabilitarBoton(int i);  // disabled, bitmap B + 2
  void fijarBoton(int i);         // latched down: enabled, bitmap B + 3
  void soltarBoton(int i);        // released: enabled, bitmap B

 private:
  int base(int i) const;
  std::array<BotonImagen*, kBotones + 1> botones_{};
};

}  // namespace velarno
