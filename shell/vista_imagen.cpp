#include "shell/vista_imagen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

namespace velarno {

namespace {

// Averages f x f blocks of a grey (Canales 1) or 32-bit colour (Canales 4) picture into the
// 32-bit colour `salida` (the last partial blocks dropped; a grey average g becomes
// qRgb(g, g, g), as Qt's own conversion before it scales). The f rows of a block are added
// column by column (a plain loop the compiler vectorises, in 16-bit sums while f bytes fit in
// one: twice the lanes of 32-bit ones), then f neighbouring sums of each channel, in 32 bits.
template <typename Suma, int Canales>
void promediarBloquesCon(const QImage& imagen, int f, QImage& salida) {
  const int ancho = salida.width();
  const size_t bytes = static_cast<size_t>(ancho) * static_cast<size_t>(f * Canales);
  std::vector<Suma> columnas(bytes);
  const uint32_t area = static_cast<uint32_t>(f * f);
  // (suma + area / 2) / area without a division per pixel: the quotient by a reciprocal
  // rounded up is exact or one too big, and one comparison mends it.
  const uint64_t reciproco = ((uint64_t{1} << 32) + area - 1) / area;
  const auto media = [&](uint32_t suma) {
    const uint32_t n = suma + area / 2;
    auto q = static_cast<uint32_t>((n * reciproco) >> 32);
    q -= q * area > n ? 1 : 0;
    return q;
  };
  for (int y = 0; y < salida.height(); ++y) {
    const uchar* primera = imagen.constScanLine(y * f);
    for (size_t i = 0; i < bytes; ++i) columnas[i] = primera[i];
    for (int k = 1; k < f; ++k) {
      const uchar* fila = imagen.constScanLine(y * f + k);
      for (size_t i = 0; i < bytes; ++i) columnas[i] = static_cast<Suma>(columnas[i] + fila[i]);
    }
    auto* destino = reinterpret_cast<QRgb*>(salida.scanLine(y));
    const Suma* bloque = columnas.data();
    for (int x = 0; x < ancho; ++x, bloque += f * Canales) {
      if constexpr (Canales == 1) {
        uint32_t suma = 0;
        for (int j = 0; j < f; ++j) suma += bloque[j];
        destino[x] = 0xFF000000U | media(suma) * 0x010101U;
      } else {
        std::array<uint32_t, 4> suma{};
        for (int j = 0; j < f; ++j)
          for (int c = 0; c < 4; ++c) suma[static_cast<size_t>(c)] += bloque[j * 4 + c];
        uint32_t pixel = 0;
        for (int c = 0; c < 4; ++c) pixel |= media(suma[static_cast<size_t>(c)]) << (8 * c);
        destino[x] = pixel;
      }
    }
  }
}

template <int Canales>
void promediarBloquesEn(const QImage& imagen, int f, QImage& salida) {
  if (f * 255 <= 0xFFFF)
    promediarBloquesCon<uint16_t, Canales>(imagen, f, salida);
  else
    promediarBloquesCon<uint32_t, Canales>(imagen, f, salida);
}

QImage promediarBloques(const QImage& imagen, int f) {
  QImage salida(imagen.width() / f, imagen.height() / f, QImage::Format_RGB32);
  if (imagen.format() == QImage::Format_Grayscale8)
    promediarBloquesEn<1>(imagen, f, salida);
  else
    promediarBloquesEn<4>(imagen, f, salida);
  return salida;
}

}  // namespace

// A smooth reduction of a big picture: whole blocks averaged first (cheap, one pass), then
// Qt's smooth scaling of the much smaller result.
QImage reducirSuave(const QImage& imagen, QSize destino) {
  const int f = std::min(imagen.width() / std::max(1, destino.width()),
                         imagen.height() / std::max(1, destino.height())) /
                2;
  const bool admitido = imagen.format() == QImage::Format_Grayscale8 ||
                        imagen.format() == QImage::Format_RGB32 ||
                        imagen.format() == QImage::Format_ARGB32;
  const QImage base = f >= 2 && admitido ? promediarBloques(imagen, f) : imagen;
  return base.scaled(destino, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
namespace {

constexpr double kEscalaMaxima = 32;
constexpr double kPasoZoom = 1.25;
// A zoom level whose whole scaled picture stays under this many pixels is cached whole, so
// panning only moves it; beyond, only the visible part is scaled.
constexpr double kMaxPixelesNivel = 4'000'000;

}  // namespace

namespace {

// The overlay of the rectangle `parte` of a Grayscale8 raster.
QImage superponerParte(const QImage& gris, QRect parte, int umbral) {
  Q_ASSERT(gris.format() == QImage::Format_Grayscale8);
  Q_ASSERT(gris.rect().contains(parte) || parte.isEmpty());
  std::array<QRgb, 256> color{};
  // Half red over the grey level, so the picture's detail stays visible under the overlay.
  for (int g = 0; g < 256; ++g)
    color[static_cast<size_t>(g)] = g < umbral ? qRgb((255 + g) / 2, g / 2, g / 2) : qRgb(g, g, g);
  QImage resultado(parte.size(), QImage::Format_RGB32);
  for (int y = 0; y < parte.height(); ++y) {
    const uchar* origen = gris.constScanLine(parte.y() + y) + parte.x();
    auto* destino = reinterpret_cast<QRgb*>(resultado.scanLine(y));
    for (int x = 0; x < parte.width(); ++x) destino[x] = color[origen[x]];
  }
  return resultado;
}

}  // namespace

QImage superponerUmbral(const QImage& gris, int umbral) {
  return superponerParte(gris, gris.rect(), umbral);
}

VistaImagen::VistaImagen(const QString& nombre, SuperficieQImage& superficie, Ajuste ajuste,
                         QColor fondo, QWidget* padre)
    : QWidget(padre), superficie_(superficie), ajuste_(ajuste), fondo_(fondo) {
  setObjectName(nombre);
  setMinimumSize(80, 60);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  if (ajuste_ == Ajuste::Escalar) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
  }
}

QSize VistaImagen::sizeHint() const { return {300, 200}; }

void VistaImagen::limpiar() {
  versionLimpia_ = superficie_.version();
  escalada_ = QImage();
  escaladaPixmap_ = QPixmap();
  trozo_ = QImage();
  trozoPixmap_ = QPixmap();
  superpuesta_ = QImage();
  baseGris_ = QImage();
  ajustar();
  emit limpiada();
}

void VistaImagen::actualizar() { update(); }

void VistaImagen::fijarSuperposicion(bool activa, int umbral) {
  if (activa == superponer_ && umbral == umbral_) return;
  superponer_ = activa;
  umbral_ = umbral;
  if (!activa) superpuesta_ = QImage();
  if (muestraImagen()) repaint();
}

bool VistaImagen::muestraImagen() const { return !limpia(); }

double VistaImagen::escalaAjustada() const {
  if (superficie_.vacia()) return 1;
  const QSize imagen = superficie_.qimage().size();
  const QSize destino = imagen.scaled(size(), Qt::KeepAspectRatio);
  return imagen.width() > 0 ? static_cast<double>(destino.width()) / imagen.width() : 1;
}

double VistaImagen::escala() const { return ajustada_ ? escalaAjustada() : escala_; }

QPointF VistaImagen::origen() const {
  if (!ajustada_) return origen_;
  const QSize destino = superficie_.qimage().size().scaled(size(), Qt::KeepAspectRatio);
  return {static_cast<double>((width() - destino.width()) / 2),
          static_cast<double>((height() - destino.height()) / 2)};
}

QPoint VistaImagen::pixelEn(QPointF punto) const {
  if (!muestraImagen() || ajuste_ != Ajuste::Escalar) return {-1, -1};
  const QSize imagen = superficie_.qimage().size();
  const QPointF o = origen();
  double ex = escala_;
  double ey = escala_;
  if (ajustada_) {
    const QSize destino = imagen.scaled(size(), Qt::KeepAspectRatio);
    if (destino.isEmpty()) return {-1, -1};
    ex = static_cast<double>(destino.width()) / imagen.width();
    ey = static_cast<double>(destino.height()) / imagen.height();
  }
  const int x = static_cast<int>(std::floor((punto.x() - o.x()) / ex));
  const int y = static_cast<int>(std::floor((punto.y() - o.y()) / ey));
  if (x < 0 || y < 0 || x >= imagen.width() || y >= imagen.height()) return {-1, -1};
  return {x, y};
}

void VistaImagen::ajustar() {
  ajustada_ = true;
  arrastrando_ = false;
  trozo_ = QImage();
  trozoPixmap_ = QPixmap();
  unsetCursor();
  update();
  emit encuadreCambiado();
}

void VistaImagen::limitar() {
  const QSize imagen = superficie_.qimage().size();
  const double ancho = imagen.width() * escala_;
  const double alto = imagen.height() * escala_;
  double x = std::round(origen_.x());
  double y = std::round(origen_.y());
  x = ancho <= width() ? std::floor((width() - ancho) / 2) : std::clamp(x, width() - ancho, 0.0);
  y = alto <= height() ? std::floor((height() - alto) / 2) : std::clamp(y, height() - alto, 0.0);
  origen_ = QPointF(std::round(x), std::round(y));
  emit encuadreCambiado();
}

VistaImagen::Encuadre VistaImagen::encuadre() const {
  if (ajustada_ || !muestraImagen()) return {QSize(), size(), QPoint()};
  const QSize imagen = superficie_.qimage().size();
  const QSize total(static_cast<int>(std::lround(imagen.width() * escala_)),
                    static_cast<int>(std::lround(imagen.height() * escala_)));
  return {total, size(),
          QPoint(std::max(0, static_cast<int>(-origen_.x())),
                 std::max(0, static_cast<int>(-origen_.y())))};
}

void VistaImagen::desplazarA(QPoint posicion) {
  if (ajustada_ || !muestraImagen()) return;
  const Encuadre actual = encuadre();
  // Only the sides that do not fit move; limitar() keeps the other centred.
  origen_ = QPointF(actual.total.width() > width() ? -posicion.x() : origen_.x(),
                    actual.total.height() > height() ? -posicion.y() : origen_.y());
  limitar();
  update();
}

void VistaImagen::ampliar(double factor, QPointF punto) {
  if (ajuste_ != Ajuste::Escalar || !muestraImagen()) return;
  const double actual = escala();
  if (!(actual > 0)) return;  // a view too small to show anything
  const QPointF o = origen();
  const QPointF fuente = (punto - o) / actual;
  const double nueva = std::min(actual * factor, kEscalaMaxima);
  if (nueva <= escalaAjustada() * 1.0001) {
    ajustar();
    return;
  }
  fijarEscala(nueva, punto - fuente * nueva);
}

void VistaImagen::fijarEscala(double escala, QPointF origen) {
  if (ajuste_ != Ajuste::Escalar || superficie_.vacia()) return;
  ajustada_ = false;
  escala_ = std::clamp(escala, 1.0 / 1024, kEscalaMaxima);
  origen_ = origen;
  limitar();
  setCursor(Qt::OpenHandCursor);
  update();
}

QMenu* VistaImagen::crearMenu(QWidget* padre) {
  auto* menu = new QMenu(padre);
  menu->setObjectName(QStringLiteral("menuVista"));
  const bool hay = muestraImagen();
  auto entrada = [&](const char* nombre, const QString& texto, int tecla) {
    QAction* a = menu->addAction(texto);
    a->setObjectName(QString::fromLatin1(nombre));
    // The keys work on the focused view; the menu only shows them.
    a->setShortcut(QKeySequence(tecla));
    a->setShortcutContext(Qt::WidgetShortcut);
    a->setEnabled(hay);
    return a;
  };
  connect(entrada("acercar", QStringLiteral("Acercar"), Qt::Key_Plus), &QAction::triggered, this,
          [this] { ampliar(kPasoZoom); });
  connect(entrada("alejar", QStringLiteral("Alejar"), Qt::Key_Minus), &QAction::triggered, this,
          [this] { ampliar(1 / kPasoZoom); });
  QAction* ajuste = entrada("ajustar", QStringLiteral("Ajustar"), Qt::Key_0);
  ajuste->setEnabled(hay && !ajustada_);
  connect(ajuste, &QAction::triggered, this, [this] { ajustar(); });
  return menu;
}

void VistaImagen::resizeEvent(QResizeEvent* evento) {
  QWidget::resizeEvent(evento);
  if (ajuste_ == Ajuste::Exacto) {
    superficie_.redimensionar(width(), height());
    emit redimensionada();
  } else if (!ajustada_) {
    limitar();
  }
}

void VistaImagen::wheelEvent(QWheelEvent* evento) {
  if (ajuste_ != Ajuste::Escalar || !muestraImagen()) {
    QWidget::wheelEvent(evento);
    return;
  }
  const double pasos = evento->angleDelta().y() / 120.0;
  if (pasos != 0) ampliar(std::pow(kPasoZoom, pasos), evento->position());
  evento->accept();
}

void VistaImagen::keyPressEvent(QKeyEvent* evento) {
  if (ajuste_ == Ajuste::Escalar) {
    switch (evento->key()) {
      case Qt::Key_Plus:
      case Qt::Key_Equal:
        ampliar(kPasoZoom);
        return;
      case Qt::Key_Minus:
        ampliar(1 / kPasoZoom);
        return;
      case Qt::Key_0:
        ajustar();
        return;
      default:
        break;
    }
  }
  QWidget::keyPressEvent(evento);
}

void VistaImagen::mousePressEvent(QMouseEvent* evento) {
  if (evento->button() == Qt::LeftButton && !ajustada_ && muestraImagen()) {
    arrastrando_ = true;
    ultimoPunto_ = evento->position();
    setCursor(Qt::ClosedHandCursor);
    evento->accept();
    return;
  }
  QWidget::mousePressEvent(evento);
}

void VistaImagen::mouseMoveEvent(QMouseEvent* evento) {
  if (arrastrando_) {
    origen_ += evento->position() - ultimoPunto_;
    ultimoPunto_ = evento->position();
    limitar();
    update();
  }
  informarPuntero(evento->position());
  QWidget::mouseMoveEvent(evento);
}

void VistaImagen::mouseReleaseEvent(QMouseEvent* evento) {
  if (arrastrando_ && evento->button() == Qt::LeftButton) {
    arrastrando_ = false;
    if (!ajustada_) setCursor(Qt::OpenHandCursor);
    evento->accept();
    return;
  }
  QWidget::mouseReleaseEvent(evento);
}

void VistaImagen::leaveEvent(QEvent* evento) {
  emit punteroSobre(-1, -1);
  QWidget::leaveEvent(evento);
}

void VistaImagen::contextMenuEvent(QContextMenuEvent* evento) {
  if (ajuste_ != Ajuste::Escalar) {
    QWidget::contextMenuEvent(evento);
    return;
  }
  QMenu* menu = crearMenu(this);
  menu->exec(evento->globalPos());
  delete menu;
}

void VistaImagen::informarPuntero(QPointF punto) {
  const QPoint pixel = pixelEn(punto);
  emit punteroSobre(pixel.x(), pixel.y());
}

const QImage& VistaImagen::conSuperposicion(const QImage& vista, quint64 generacion, QRect parte) {
  if (generacionBase_ != generacion) {
    baseGris_ = vista.format() == QImage::Format_Grayscale8
                    ? vista
                    : vista.convertToFormat(QImage::Format_Grayscale8);
    generacionBase_ = generacion;
  }
  if (generacionSuperpuesta_ != generacion || umbralSuperpuesto_ != umbral_ ||
      parteSuperpuesta_ != parte || superpuesta_.isNull()) {
    superpuesta_ = superponerParte(baseGris_, parte, umbral_);
    generacionSuperpuesta_ = generacion;
    umbralSuperpuesto_ = umbral_;
    parteSuperpuesta_ = parte;
  }
  return superpuesta_;
}

void VistaImagen::dibujar(QPainter& pintor, QPoint punto, const QImage& vista, quint64 generacion,
                          QPixmap& pixmap) {
  if (superponer_ && superficie_.qimage().format() == QImage::Format_Grayscale8) {
    // Only what the widget shows, so a zoom level cached whole stays quick to overlay.
    const QRect parte = rect().translated(-punto) & vista.rect();
    if (!parte.isEmpty())
      pintor.drawImage(punto + parte.topLeft(), conSuperposicion(vista, generacion, parte));
    return;
  }
  if (pixmap.isNull()) pixmap = QPixmap::fromImage(vista);
  pintor.drawPixmap(punto, pixmap);
}

void VistaImagen::paintEvent(QPaintEvent*) {
  QPainter pintor(this);
  pintor.fillRect(rect(), fondo_);
  versionPintada_ = ~quint64{0};
  if (!muestraImagen()) return;
  versionPintada_ = superficie_.version();
  const QImage& imagen = superficie_.qimage();
  if (ajuste_ == Ajuste::Exacto) {
    pintor.drawImage(0, 0, imagen);
    return;
  }
  if (imagen.size() != tamanoSuperficie_) {
    // Another picture: show it whole.
    tamanoSuperficie_ = imagen.size();
    ajustada_ = true;
    unsetCursor();
    emit encuadreCambiado();
  }
  if (ajustada_)
    pintarAjustada(pintor, imagen);
  else
    pintarAmpliada(pintor, imagen);
}

void VistaImagen::pintarAjustada(QPainter& pintor, const QImage& imagen) {
  const QSize destino = imagen.size().scaled(size(), Qt::KeepAspectRatio);
  if (destino.isEmpty()) return;
  if (versionEscalada_ != superficie_.version() || tamanoEscalada_ != destino ||
      escalada_.isNull()) {
    // A smooth reduction once per change; a picture smaller than the view is enlarged
    // without blurring its pixels.
    const bool reducir = destino.width() < imagen.width();
    escalada_ = reducir ? reducirSuave(imagen, destino)
                        : imagen.scaled(destino, Qt::KeepAspectRatio, Qt::FastTransformation);
    escaladaPixmap_ = QPixmap();
    generacionEscalada_ = ++generacion_;
    versionEscalada_ = superficie_.version();
    tamanoEscalada_ = destino;
  }
  const QPoint punto((width() - escalada_.width()) / 2, (height() - escalada_.height()) / 2);
  dibujar(pintor, punto, escalada_, generacionEscalada_, escaladaPixmap_);
}

void VistaImagen::pintarAmpliada(QPainter& pintor, const QImage& imagen) {
  const double e = escala_;
  const Qt::TransformationMode modo = e < 1 ? Qt::SmoothTransformation : Qt::FastTransformation;
  const double ancho = imagen.width() * e;
  const double alto = imagen.height() * e;
  QRect fuente = imagen.rect();
  if (ancho * alto > kMaxPixelesNivel) {
    // Only the source pixels under the widget, so a deep zoom into a big picture stays cheap.
    const QRectF visible = QRectF(origen_, QSizeF(ancho, alto)) & QRectF(rect());
    const int x0 = std::max(0, static_cast<int>(std::floor((visible.left() - origen_.x()) / e)));
    const int y0 = std::max(0, static_cast<int>(std::floor((visible.top() - origen_.y()) / e)));
    const int x1 =
        std::min(imagen.width(), static_cast<int>(std::ceil((visible.right() - origen_.x()) / e)));
    const int y1 = std::min(imagen.height(),
                            static_cast<int>(std::ceil((visible.bottom() - origen_.y()) / e)));
    if (x1 <= x0 || y1 <= y0) return;
    fuente = QRect(x0, y0, x1 - x0, y1 - y0);
  }
  if (versionTrozo_ != superficie_.version() || escalaTrozo_ != e || rectTrozo_ != fuente ||
      trozo_.isNull()) {
    const QSize tamano(std::max(1, static_cast<int>(std::lround(fuente.width() * e))),
                       std::max(1, static_cast<int>(std::lround(fuente.height() * e))));
    const QImage parte = fuente == imagen.rect() ? imagen : imagen.copy(fuente);
    trozo_ = tamano == parte.size() ? parte : parte.scaled(tamano, Qt::IgnoreAspectRatio, modo);
    trozoPixmap_ = QPixmap();
    generacionTrozo_ = ++generacion_;
    versionTrozo_ = superficie_.version();
    escalaTrozo_ = e;
    rectTrozo_ = fuente;
  }
  const QPoint punto(static_cast<int>(std::lround(origen_.x() + fuente.x() * e)),
                     static_cast<int>(std::lround(origen_.y() + fuente.y() * e)));
  dibujar(pintor, punto, trozo_, generacionTrozo_, trozoPixmap_);
}

}  // namespace velarno
