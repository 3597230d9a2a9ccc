#include "shell/botonera.h"

#include <QEventLoop>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace velarno {
namespace {

struct DatosBoton {
  const char* tooltip;
  int base;
  int izquierda;
  bool visible;
};

// Index, tooltip, normal bitmap, left position and visibility of the six buttons and of
// "Comparar métodos". Button 4 shares the place of the hidden button 1, and the comparison
// button follows it where the hidden button 2 stands.
constexpr std::array<DatosBoton, Botonera::kBotones + 1> kDatos{{
    {"Abrir imagen", 101, 1, true},
    {"Convertir a escala de grises", 105, 35, false},
    {"Histograma", 110, 69, false},
    {"Ecualizar el histograma", 125, 103, false},
    {"Binarizar", 115, 35, true},
    {"Estadísticas", 120, 172, false},
    {"Comparar métodos", 130, 69, true},
}};

constexpr int kLado = 32;

}  // namespace

BotonImagen::BotonImagen(int indice, QWidget* padre) : QLabel(padre), indice_(indice) {
  setObjectName(QStringLiteral("Boton(%1)").arg(indice));
  setFixedSize(kLado, kLado);
}

void BotonImagen::mostrarBitmap(int numero) {
  bitmap_ = numero;
  pixmap_ = QPixmap(QStringLiteral(":/bitmaps/%1.png").arg(numero));
  update();
}

void BotonImagen::mousePressEvent(QMouseEvent* evento) {
  if (evento->button() == Qt::LeftButton) presionado_ = true;
}

void BotonImagen::mouseReleaseEvent(QMouseEvent* evento) {
  const bool clic = presionado_ && evento->button() == Qt::LeftButton &&
                    rect().contains(evento->position().toPoint());
  presionado_ = false;
  if (clic && isEnabled()) emit pulsado(indice_);
}

void BotonImagen::paintEvent(QPaintEvent*) {
  QPainter pintor(this);
  pintor.drawPixmap(0, 0, pixmap_);
}

Botonera::Botonera(QWidget* barra) {
  for (int i = 0; i <= kComparar; ++i) {
    const DatosBoton& datos = kDatos[static_cast<size_t>(i)];
    auto* boton = new BotonImagen(i, barra);
    botones_[static_cast<size_t>(i)] = boton;
    boton->move(datos.izquierda, 1);
    boton->setProperty("tag", QString::number(datos.base));
    boton->setToolTip(QString::fromUtf8(datos.tooltip));
    if (i == 0) boton->mostrarBitmap(datos.base);
    if (i != 0 && i != 4) deshabilitarBoton(i);
    boton->setVisible(datos.visible);
  }
}

int Botonera::base(int i) const { return boton(i)->property("tag").toString().toInt(); }

void Botonera::pulsarBoton(int i) {
  BotonImagen* b = boton(i);
  b->mostrarBitmap(base(i) + 1);
  b->repaint();
  // A monotonic clock: the wait ends after 0.2 s of elapsed time, midnight or not. Only
  // painting and timers are handled meanwhile, so no second command starts inside the flash.
  QEventLoop espera;
  QTimer::singleShot(200, &espera, &QEventLoop::quit);
  espera.exec(QEventLoop::ExcludeUserInputEvents);
  b->mostrarBitmap(base(i));
  b->repaint();
}

void Botonera::habilitarBoton(int i) {
  boton(i)->setEnabled(true);
  boton(i)->mostrarBitmap(base(i));
}

void Botonera::deshabilitarBoton(int i) {
  boton(i)->setEnabled(false);
  boton(i)->mostrarBitmap(base(i) + 2);
}

void Botonera::fijarBoton(int i) {
  boton(i)->setEnabled(true);
  boton(i)->repaint();
  boton(i)->mostrarBitmap(base(i) + 3);
}

void Botonera::soltarBoton(int i) {
  boton(i)->setEnabled(true);
  boton(i)->repaint();
  boton(i)->mostrarBitmap(base(i));
}

}  // namespace velarno
