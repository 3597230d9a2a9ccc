// Draws the pictures the program ships with: the 22 tool bar bitmaps (bitmaps/NNN.png, 32 x 32,
// at most 256 colours), the window icon (icono.png, 32 x 32, 16 colours) and the sample picture
// (muestra.jpg, a page of text under uneven lighting). Everything is drawn with QImage and
// QPainter; the noise comes from a fixed-seed std::mt19937, so a run on the same machine
// rebuilds the same files. Usage:
//   generar_recursos [RESOURCES_DIR] [--hoja CONTACT_SHEET.png]
// RESOURCES_DIR defaults to the source tree's resources/ folder; the contact sheet shows every
// bitmap and the icon enlarged eight times, for checking them by eye.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QString>
#include <QStringList>

namespace {

constexpr int kLado = 32;  // every bitmap and the icon are 32 x 32

// ---------------------------------------------------------------------------------------------
// Tool bar bitmaps
// ---------------------------------------------------------------------------------------------

const QColor kCara(236, 229, 211);         // light beige button face
const QColor kBrillo(252, 249, 241);       // raised edge, top and left
const QColor kBordeMedio(196, 187, 166);   // inner dark edge, bottom and right
const QColor kBordeOscuro(150, 140, 118);  // outer dark edge, bottom and right
const QColor kSombra(92, 76, 48);          // drop shadow under the picture

enum class Aspecto { Normal, Pulsado, Deshabilitado, Fijado };

// A picture is drawn once, on a transparent 32 x 32 layer, at its resting position; the looks
// are composed from that layer so the four bitmaps of a set always agree.
using Dibujo = std::function<void(QPainter&)>;

QImage capaTransparente() {
  QImage capa(kLado, kLado, QImage::Format_ARGB32);
  capa.fill(Qt::transparent);
  return capa;
}

QImage dibujar(const Dibujo& dibujo) {
  QImage capa = capaTransparente();
  QPainter p(&capa);
  p.setRenderHint(QPainter::Antialiasing, false);
  dibujo(p);
  p.end();
  return capa;
}

// Fills the pixel rectangle from (x0, y0) to (x1, y1), both corners included.
void caja(QPainter& p, int x0, int y0, int x1, int y1, const QColor& color) {
  p.fillRect(x0, y0, x1 - x0 + 1, y1 - y0 + 1, color);
}

// One-pixel outline of the same rectangle.
void marco(QPainter& p, int x0, int y0, int x1, int y1, const QColor& color) {
  caja(p, x0, y0, x1, y0, color);
  caja(p, x0, y1, x1, y1, color);
  caja(p, x0, y0, x0, y1, color);
  caja(p, x1, y0, x1, y1, color);
}

void punto(QPainter& p, int x, int y, const QColor& color) { caja(p, x, y, x, y, color); }

// 101: a yellow folder, open, its front flap leaning forward.
void carpeta(QPainter& p) {
  const QColor borde(120, 84, 10);
  const QColor fondo(222, 166, 34);
  const QColor frente(255, 210, 70);
  const QColor luz(255, 236, 160);
  // Back of the folder with its tab.
  caja(p, 4, 7, 11, 9, fondo);
  marco(p, 4, 7, 11, 9, borde);
  caja(p, 4, 9, 25, 24, fondo);
  marco(p, 4, 9, 25, 24, borde);
  caja(p, 5, 8, 10, 8, luz);
  // A sheet of paper peeking out.
  caja(p, 7, 11, 23, 14, QColor(255, 255, 255));
  marco(p, 7, 11, 23, 15, QColor(150, 150, 150));
  // Front flap: a parallelogram from the bottom edge up to the right.
  const QPolygon flap({QPoint(4, 24), QPoint(8, 14), QPoint(27, 14), QPoint(24, 24)});
  p.setPen(Qt::NoPen);
  p.setBrush(frente);
  p.drawPolygon(flap);
  p.setPen(borde);
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(flap);
  p.setPen(luz);
  p.drawLine(9, 15, 25, 15);
}

// Frame shared by the shaded and the dithered rectangles.
constexpr int kRectX0 = 4, kRectY0 = 7, kRectX1 = 27, kRectY1 = 24;

// Grey of column x inside the rectangle: 0 at the first inner column, 255 at the last.
int grisColumna(int x) {
  const int primera = kRectX0 + 1;
  const int ultima = kRectX1 - 1;
  return static_cast<int>(std::lround(255.0 * (x - primera) / (ultima - primera)));
}

// 105: a rectangle shaded from black at the left to white at the right.
void degradado(QPainter& p) {
  for (int x = kRectX0 + 1; x < kRectX1; ++x) {
    const int g = grisColumna(x);
    caja(p, x, kRectY0 + 1, x, kRectY1 - 1, QColor(g, g, g));
  }
  marco(p, kRectX0, kRectY0, kRectX1, kRectY1, QColor(56, 56, 56));
}

// 115: the same ramp dithered to black and white with a 4 x 4 Bayer matrix.
void tramado(QPainter& p) {
  static constexpr std::array<std::array<int, 4>, 4> kBayer = {
      {{{0, 8, 2, 10}}, {{12, 4, 14, 6}}, {{3, 11, 1, 9}}, {{15, 7, 13, 5}}}};
  for (int y = kRectY0 + 1; y < kRectY1; ++y) {
    for (int x = kRectX0 + 1; x < kRectX1; ++x) {
      const int umbral = (kBayer[static_cast<size_t>(y % 4)][static_cast<size_t>(x % 4)] * 16) + 8;
      const bool blanco = grisColumna(x) >= umbral;
      punto(p, x, y, blanco ? QColor(255, 255, 255) : QColor(0, 0, 0));
    }
  }
  marco(p, kRectX0, kRectY0, kRectX1, kRectY1, QColor(56, 56, 56));
}

// Black bars standing on a baseline at y = base, one per listed column.
void barras(QPainter& p, int base, const std::vector<std::pair<int, int>>& columnasAltos) {
  for (const auto& [x, alto] : columnasAltos) {
    if (alto > 0) caja(p, x, base - alto, x, base - 1, QColor(0, 0, 0));
  }
}

// 110: a histogram chart, two black peaks on blue axes, a red threshold mark in the valley.
void histograma(QPainter& p) {
  const QColor azul(0, 40, 210);
  const QColor rojo(224, 0, 0);
  constexpr int base = 22;
  const std::array<int, 19> altos = {1, 3, 7, 12, 15, 13, 8, 4, 2, 1, 2, 4, 8, 12, 14, 10, 5, 2, 1};
  std::vector<std::pair<int, int>> columnas;
  for (size_t i = 0; i < altos.size(); ++i)
    columnas.emplace_back(7 + static_cast<int>(i), altos[i]);
  barras(p, base, columnas);
  // Threshold: a dotted red line through the valley and a red arrow under the axis.
  constexpr int xUmbral = 16;
  for (int y = 4; y < base; y += 2) punto(p, xUmbral, y, rojo);
  caja(p, xUmbral, base + 1, xUmbral, base + 1, rojo);
  caja(p, xUmbral - 1, base + 2, xUmbral + 1, base + 2, rojo);
  caja(p, xUmbral - 2, base + 3, xUmbral + 2, base + 3, rojo);
  // Axes with small arrow heads.
  caja(p, 5, 4, 5, base, azul);
  caja(p, 5, base, 27, base, azul);
  caja(p, 4, 5, 6, 5, azul);
  caja(p, 26, base - 1, 26, base + 1, azul);
}

// 120: a table with a grey header row, a grey first column and alternating grey body rows.
void tabla(QPainter& p) {
  const std::array<int, 6> lineasY = {5, 9, 13, 17, 21, 25};
  const std::array<int, 4> lineasX = {4, 12, 20, 27};
  for (size_t f = 0; f + 1 < lineasY.size(); ++f) {
    for (size_t c = 0; c + 1 < lineasX.size(); ++c) {
      int g = (f % 2 == 1) ? 214 : 242;
      if (c == 0) g = 184;
      if (f == 0) g = 128;
      caja(p, lineasX[c] + 1, lineasY[f] + 1, lineasX[c + 1] - 1, lineasY[f + 1] - 1,
           QColor(g, g, g));
    }
  }
  const QColor linea(72, 72, 72);
  for (int y : lineasY) caja(p, lineasX.front(), y, lineasX.back(), y, linea);
  for (int x : lineasX) caja(p, x, lineasY.front(), x, lineasY.back(), linea);
}

// 125: equalization. A narrow histogram at the top left, a blue arrow down to the right and the
// spread-out histogram at the bottom right.
void ecualizacion(QPainter& p) {
  const QColor eje(90, 90, 90);
  // Narrow histogram: a tall clump over a few grey levels.
  barras(p, 12, {{7, 3}, {8, 6}, {9, 8}, {10, 5}, {11, 2}});
  caja(p, 3, 12, 14, 12, eje);
  caja(p, 3, 4, 3, 12, eje);
  // Spread-out histogram: the same mass over the whole range.
  barras(p, 27, {{15, 3}, {17, 4}, {19, 3}, {21, 4}, {23, 3}, {25, 4}, {27, 3}});
  caja(p, 13, 27, 27, 27, eje);
  caja(p, 13, 19, 13, 27, eje);
  // Arrow, drawn smooth: a thick diagonal shaft and a solid head.
  const QColor azul(0, 60, 220);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(azul, 2.2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(16.0, 5.0), QPointF(24.0, 13.0));
  p.setPen(Qt::NoPen);
  p.setBrush(azul);
  p.drawPolygon(QPolygonF({QPointF(27.5, 16.5), QPointF(20.0, 15.0), QPointF(26.0, 9.0)}));
  p.setRenderHint(QPainter::Antialiasing, false);
}

// 130: comparison of methods. A 2 x 2 grid of tiles, each the same little scene binarized with
// a higher threshold than the one before, so the black grows from tile to tile.
void comparacion(QPainter& p) {
  const QColor borde(72, 72, 72);
  const std::array<int, 4> umbrales = {80, 102, 124, 146};
  const std::array<QPoint, 4> esquinas = {QPoint(3, 4), QPoint(17, 4), QPoint(3, 17),
                                          QPoint(17, 17)};
  for (size_t k = 0; k < esquinas.size(); ++k) {
    const int x0 = esquinas[k].x();
    const int y0 = esquinas[k].y();
    for (int y = 1; y < 11; ++y) {
      for (int x = 1; x < 11; ++x) {
        // A dark disc in the middle on a ramp that brightens towards the upper right.
        const double dx = x - 5.0;
        const double dy = y - 5.0;
        const double disco = std::min(std::sqrt(dx * dx + dy * dy) * 40.0, 255.0);
        const double rampa = 120.0 + 12.0 * x - 8.0 * y;
        const double gris = 0.6 * disco + 0.4 * rampa;
        const bool negro = gris < umbrales[k];
        punto(p, x0 + x, y0 + y, negro ? QColor(0, 0, 0) : QColor(255, 255, 255));
      }
    }
    marco(p, x0, y0, x0 + 11, y0 + 11, borde);
  }
}

// Box blur of the layer's alpha channel (radius 1, applied twice: a soft 5 x 5 kernel).
std::vector<double> sombraSuave(const QImage& capa) {
  std::vector<double> a(kLado * kLado);
  for (int y = 0; y < kLado; ++y)
    for (int x = 0; x < kLado; ++x)
      a[static_cast<size_t>(y * kLado + x)] = qAlpha(capa.pixel(x, y)) / 255.0;
  for (int pasada = 0; pasada < 2; ++pasada) {
    std::vector<double> b(a.size(), 0.0);
    for (int y = 0; y < kLado; ++y) {
      for (int x = 0; x < kLado; ++x) {
        double suma = 0.0;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            const int xx = x + dx;
            const int yy = y + dy;
            if (xx >= 0 && xx < kLado && yy >= 0 && yy < kLado)
              suma += a[static_cast<size_t>(yy * kLado + xx)];
          }
        }
        b[static_cast<size_t>(y * kLado + x)] = suma / 9.0;
      }
    }
    a = b;
  }
  return a;
}

// Washes a picture out to light greys, keeping its shape readable.
QImage lavada(const QImage& capa) {
  QImage gris = capa.copy();
  for (int y = 0; y < kLado; ++y) {
    for (int x = 0; x < kLado; ++x) {
      const QRgb c = capa.pixel(x, y);
      if (qAlpha(c) == 0) continue;
      const double l = 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
      const int g = static_cast<int>(std::lround(158.0 + l * (232.0 - 158.0) / 255.0));
      gris.setPixel(x, y, qRgba(g, g, g, qAlpha(c)));
    }
  }
  return gris;
}

// Small green check mark at the lower right corner, outlined so it reads on any picture.
void marcaVerde(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  QPainterPath trazo;
  trazo.moveTo(20.5, 24.5);
  trazo.lineTo(23.5, 27.5);
  trazo.lineTo(28.5, 20.5);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 255, 255), 4.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(trazo);
  p.setPen(QPen(QColor(0, 110, 0), 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(trazo);
  p.setPen(QPen(QColor(40, 200, 40), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(trazo);
}

// Raised (or, pressed, sunken) two-pixel edge of the button face.
void bisel(QPainter& p, bool hundido) {
  const QColor claro = hundido ? kBordeOscuro : kBrillo;
  const QColor claroInterior = hundido ? kBordeMedio : kCara;
  const QColor oscuro = hundido ? kBrillo : kBordeOscuro;
  const QColor oscuroInterior = hundido ? kCara : kBordeMedio;
  caja(p, 1, 1, 30, 1, claroInterior);
  caja(p, 1, 1, 1, 30, claroInterior);
  caja(p, 1, 30, 30, 30, oscuroInterior);
  caja(p, 30, 1, 30, 30, oscuroInterior);
  caja(p, 0, 0, 31, 0, claro);
  caja(p, 0, 0, 0, 31, claro);
  caja(p, 0, 31, 31, 31, oscuro);
  caja(p, 31, 0, 31, 31, oscuro);
}

QImage componer(const QImage& capa, Aspecto aspecto) {
  const bool pulsado = aspecto == Aspecto::Pulsado;
  const int desplazamiento = pulsado ? 1 : 0;  // the picture moves in when pressed
  const int caida = pulsado ? 1 : 2;           // and its shadow falls shorter
  const double opacidad = aspecto == Aspecto::Deshabilitado ? 0.18 : (pulsado ? 0.38 : 0.5);

  QImage boton(kLado, kLado, QImage::Format_RGB32);
  boton.fill(kCara);
  const std::vector<double> sombra = sombraSuave(capa);
  for (int y = 0; y < kLado; ++y) {
    for (int x = 0; x < kLado; ++x) {
      const int sx = x - desplazamiento - caida;
      const int sy = y - desplazamiento - caida;
      if (sx < 0 || sy < 0 || sx >= kLado || sy >= kLado) continue;
      const double a = opacidad * sombra[static_cast<size_t>(sy * kLado + sx)];
      const QRgb c = boton.pixel(x, y);
      auto mezcla = [a](int fondo, int tinta) {
        return static_cast<int>(std::lround(fondo + a * (tinta - fondo)));
      };
      boton.setPixel(x, y,
                     qRgb(mezcla(qRed(c), kSombra.red()), mezcla(qGreen(c), kSombra.green()),
                          mezcla(qBlue(c), kSombra.blue())));
    }
  }
  QPainter p(&boton);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.drawImage(desplazamiento, desplazamiento,
              aspecto == Aspecto::Deshabilitado ? lavada(capa) : capa);
  bisel(p, pulsado);
  if (aspecto == Aspecto::Fijado) marcaVerde(p);
  p.end();
  return boton;
}

// Palette image holding exactly the colours used; refuses more than `maximo`.
QImage indexada(const QImage& imagen, int maximo) {
  const QImage argb = imagen.convertToFormat(QImage::Format_ARGB32);
  std::map<QRgb, int> indices;
  QList<QRgb> tabla;
  for (int y = 0; y < argb.height(); ++y) {
    for (int x = 0; x < argb.width(); ++x) {
      QRgb c = argb.pixel(x, y);
      if (qAlpha(c) == 0) c = qRgba(0, 0, 0, 0);
      if (indices.emplace(c, static_cast<int>(tabla.size())).second) tabla.push_back(c);
    }
  }
  if (tabla.size() > maximo) return {};
  QImage salida(argb.size(), QImage::Format_Indexed8);
  salida.setColorTable(tabla);
  for (int y = 0; y < argb.height(); ++y) {
    for (int x = 0; x < argb.width(); ++x) {
      QRgb c = argb.pixel(x, y);
      if (qAlpha(c) == 0) c = qRgba(0, 0, 0, 0);
      salida.setPixel(x, y, static_cast<uint>(indices[c]));
    }
  }
  return salida;
}

bool guardar(const QImage& imagen, const QString& ruta, const char* formato, int calidad = -1) {
  QImageWriter escritor(ruta, formato);
  if (calidad >= 0) escritor.setQuality(calidad);
  if (escritor.write(imagen)) return true;
  std::fprintf(stderr, "No se pudo escribir %s: %s\n", qPrintable(ruta),
               qPrintable(escritor.errorString()));
  return false;
}

struct Juego {
  int numero;    // resource number of the normal look, B
  int aspectos;  // how many of B, B + 1, B + 2, B + 3 exist
  Dibujo dibujo;
};

// ---------------------------------------------------------------------------------------------
// Window icon: 16 colours, drawn pixel by pixel on a transparent ground.
// ---------------------------------------------------------------------------------------------

QImage icono() {
  QImage imagen = capaTransparente();
  QPainter p(&imagen);
  p.setRenderHint(QPainter::Antialiasing, false);
  const QColor azul(0, 0, 128);
  const QColor gris(128, 128, 128);
  const QColor negro(0, 0, 0);
  // The pair of dark blue axes, two pixels thick, with arrow heads.
  caja(p, 2, 3, 3, 29, azul);
  caja(p, 2, 28, 29, 29, azul);
  caja(p, 1, 4, 4, 4, azul);
  caja(p, 0, 5, 5, 5, azul);
  caja(p, 28, 27, 28, 30, azul);
  caja(p, 27, 26, 27, 31, azul);
  // Grey corner of axes, higher up, holding the strip of grey levels.
  caja(p, 7, 2, 7, 23, gris);
  caja(p, 7, 23, 28, 23, gris);
  const std::array<int, 4> niveles = {64, 128, 192, 255};
  for (size_t i = 0; i < niveles.size(); ++i) {
    const int x0 = 10 + static_cast<int>(i) * 4;
    const int g = niveles[i];
    caja(p, x0, 8, x0 + 3, 18, QColor(g, g, g));
  }
  marco(p, 9, 7, 26, 19, negro);
  p.end();
  return imagen;
}

// ---------------------------------------------------------------------------------------------
// Sample picture: a page of text photographed under uneven light.
// ---------------------------------------------------------------------------------------------

constexpr int kAnchoMuestra = 900;
constexpr int kAltoMuestra = 640;

double suave(double a, double b, double x) {
  const double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

// Ink coverage of the page, 0 (paper) to 1 (ink), with the fonts' own antialiasing.
std::vector<double> tintaPagina(QString& familias) {
  QImage pagina(kAnchoMuestra, kAltoMuestra, QImage::Format_RGB32);
  pagina.fill(Qt::white);
  QPainter p(&pagina);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setPen(Qt::black);

  QFont titulo("DejaVu Serif");
  titulo.setPixelSize(30);
  titulo.setBold(true);
  QFont cuerpo("DejaVu Serif");
  cuerpo.setPixelSize(19);
  QFont pie("DejaVu Sans");
  pie.setPixelSize(15);
  familias = QFontInfo(titulo).family() + ", " + QFontInfo(cuerpo).family() + ", " +
             QFontInfo(pie).family();

  constexpr int margen = 64;
  const int ancho = kAnchoMuestra - 2 * margen;
  p.setFont(titulo);
  QRect ocupado;
  p.drawText(QRect(margen, 40, ancho, 50), Qt::AlignLeft | Qt::AlignTop,
             QString::fromUtf8("La umbralización y la luz desigual"), &ocupado);
  int y = ocupado.bottom() + 22;

  const QStringList parrafos = {
      QString::fromUtf8(
          "Umbralizar una imagen en niveles de gris es elegir un valor, el umbral, y decidir para "
          "cada píxel si es más oscuro o más claro que él: los que quedan por debajo pasan a negro "
          "y los demás a blanco. En una página impresa y bien iluminada basta un solo umbral para "
          "separar la tinta del papel. El histograma muestra entonces dos picos, uno para las "
          "letras y otro para el fondo, y el umbral se coloca en el valle que queda entre ambos."),
      QString::fromUtf8(
          "Pero una página fotografiada rara vez recibe la misma luz en toda su superficie. La "
          "lámpara alumbra más un lado que otro, los bordes se oscurecen y la mano o el teléfono "
          "proyectan una sombra sobre una esquina. El papel de la zona oscura acaba siendo más "
          "oscuro que la tinta de la zona clara, y ningún umbral global sirve: si se elige bajo, "
          "las letras de la parte iluminada se desvanecen; si se elige alto, la sombra se llena "
          "de negro."),
      QString::fromUtf8(
          "Los métodos locales resuelven el problema con un umbral distinto para cada zona. Las "
          "medias móviles comparan cada píxel con el promedio de los últimos que se han "
          "recorrido; los umbrales regionales dividen la página en bloques y eligen un umbral en "
          "cada uno; la relajación revisa la decisión de cada píxel según la de sus vecinos. "
          "Pruebe con esta misma página: binarice con la media y con un método local, y compare "
          "lo que ocurre en la esquina sombreada.")};
  p.setFont(cuerpo);
  for (const QString& parrafo : parrafos) {
    p.drawText(QRect(margen, y, ancho, 400), Qt::AlignJustify | Qt::AlignTop | Qt::TextWordWrap,
               parrafo, &ocupado);
    y = ocupado.bottom() + 16;
  }
  p.setFont(pie);
  p.drawText(QRect(0, kAltoMuestra - 52, kAnchoMuestra, 24), Qt::AlignHCenter | Qt::AlignTop,
             QString::fromUtf8("— 7 —"));
  p.end();

  std::vector<double> tinta(static_cast<size_t>(kAnchoMuestra * kAltoMuestra));
  for (int yy = 0; yy < kAltoMuestra; ++yy) {
    const QRgb* fila = reinterpret_cast<const QRgb*>(pagina.constScanLine(yy));
    for (int x = 0; x < kAnchoMuestra; ++x)
      tinta[static_cast<size_t>(yy * kAnchoMuestra + x)] = 1.0 - qGray(fila[x]) / 255.0;
  }
  return tinta;
}

// Standard normal deviate from the generator's raw output (Box-Muller), the same on every
// standard library.
double normal(std::mt19937& azar) {
  const double u1 = (azar() + 1.0) / 4294967297.0;
  const double u2 = azar() / 4294967296.0;
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
}

QImage muestra(QString& familias) {
  const std::vector<double> tinta = tintaPagina(familias);
  const std::array<double, 3> papel = {238.0, 229.0, 206.0};  // cream paper
  const std::array<double, 3> color = {34.0, 34.0, 52.0};     // blue-black ink
  std::mt19937 azar(20240611u);

  QImage imagen(kAnchoMuestra, kAltoMuestra, QImage::Format_RGB32);
  for (int y = 0; y < kAltoMuestra; ++y) {
    QRgb* fila = reinterpret_cast<QRgb*>(imagen.scanLine(y));
    for (int x = 0; x < kAnchoMuestra; ++x) {
      const double u = static_cast<double>(x) / kAnchoMuestra;
      const double v = static_cast<double>(y) / kAltoMuestra;
      // Lamp at the upper left: light falls off across the page and towards the edges.
      const double caida = 1.0 - 0.5 * (0.55 * u + 0.45 * v);
      const double dx = u - 0.3;
      const double dy = v - 0.25;
      const double vineta = 1.0 - 0.3 * (dx * dx + dy * dy);
      // A soft shadow across the lower right corner, cast by something between lamp and page.
      const double borde = u + 0.9 * v + 0.04 * std::sin(9.0 * v);
      const double sombra = 1.0 - 0.55 * suave(1.3, 1.58, borde);
      // Gentle blotches of the paper itself.
      const double manchas =
          1.0 + 0.025 * std::sin(13.0 * u + 4.0 * v) * std::sin(7.0 * v - 3.0 * u);
      const double luz = caida * vineta * sombra * manchas;
      // Warm lamp light; the shadow keeps some bluish daylight.
      const double enSombra = 1.0 - sombra;
      const std::array<double, 3> tono = {1.0 - 0.25 * enSombra, 0.98 - 0.2 * enSombra,
                                          0.93 + 0.05 * enSombra};
      const double t = tinta[static_cast<size_t>(y * kAnchoMuestra + x)];
      const double ruido = 2.5 * normal(azar);
      std::array<int, 3> canal{};
      for (size_t c = 0; c < 3; ++c) {
        const double reflejo = papel[c] + t * (color[c] - papel[c]);
        canal[c] =
            std::clamp(static_cast<int>(std::lround(reflejo * luz * tono[c] + ruido)), 0, 255);
      }
      fila[x] = qRgb(canal[0], canal[1], canal[2]);
    }
  }
  return imagen;
}

// ---------------------------------------------------------------------------------------------

// Contact sheet: every bitmap of a set in a row, then the icon, each enlarged eight times.
QImage hojaContactos(const std::vector<std::vector<QImage>>& filas) {
  constexpr int escala = 8;
  constexpr int celda = kLado * escala + 8;
  size_t columnas = 0;
  for (const auto& fila : filas) columnas = std::max(columnas, fila.size());
  QImage hoja(static_cast<int>(columnas) * celda + 8, static_cast<int>(filas.size()) * celda + 8,
              QImage::Format_RGB32);
  hoja.fill(QColor(90, 90, 90));
  QPainter p(&hoja);
  for (size_t f = 0; f < filas.size(); ++f) {
    for (size_t c = 0; c < filas[f].size(); ++c) {
      const QImage grande = filas[f][c].scaled(kLado * escala, kLado * escala);
      p.drawImage(8 + static_cast<int>(c) * celda, 8 + static_cast<int>(f) * celda, grande);
    }
  }
  p.end();
  return hoja;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication aplicacion(argc, argv);

  QString destino = QStringLiteral(VELARNO_RECURSOS);
  QString rutaHoja;
  const QStringList argumentos = QGuiApplication::arguments();
  for (qsizetype i = 1; i < argumentos.size(); ++i) {
    if (argumentos[i] == QLatin1String("--hoja") && i + 1 < argumentos.size()) {
      rutaHoja = argumentos[++i];
    } else {
      destino = argumentos[i];
    }
  }
  const QDir dir(destino);
  if (!dir.mkpath(QStringLiteral("bitmaps"))) {
    std::fprintf(stderr, "No se pudo crear %s/bitmaps\n", qPrintable(destino));
    return 1;
  }

  const std::vector<Juego> juegos = {
      {101, 2, carpeta}, {105, 3, degradado},    {110, 3, histograma},  {115, 4, tramado},
      {120, 4, tabla},   {125, 3, ecualizacion}, {130, 3, comparacion},
  };
  const std::array<Aspecto, 4> aspectos = {Aspecto::Normal, Aspecto::Pulsado,
                                           Aspecto::Deshabilitado, Aspecto::Fijado};
  bool bien = true;
  std::vector<std::vector<QImage>> filas;
  for (const Juego& juego : juegos) {
    const QImage capa = dibujar(juego.dibujo);
    filas.emplace_back();
    for (int a = 0; a < juego.aspectos; ++a) {
      const QImage boton = indexada(componer(capa, aspectos[static_cast<size_t>(a)]), 256);
      const QString ruta = dir.filePath(QStringLiteral("bitmaps/%1.png").arg(juego.numero + a));
      if (boton.isNull()) {
        std::fprintf(stderr, "%s: more than 256 colours\n", qPrintable(ruta));
        bien = false;
        continue;
      }
      bien = guardar(boton, ruta, "png") && bien;
      filas.back().push_back(boton);
    }
  }

  const QImage imagenIcono = indexada(icono(), 16);
  if (imagenIcono.isNull()) {
    std::fprintf(stderr, "icono.png: more than 16 colours\n");
    bien = false;
  } else {
    bien = guardar(imagenIcono, dir.filePath(QStringLiteral("icono.png")), "png") && bien;
    QImage sobreCara(kLado, kLado, QImage::Format_RGB32);
    sobreCara.fill(kCara);
    QPainter p(&sobreCara);
    p.drawImage(0, 0, imagenIcono);
    p.end();
    filas.push_back({imagenIcono.convertToFormat(QImage::Format_ARGB32), sobreCara});
  }

  QString familias;
  bien =
      guardar(muestra(familias), dir.filePath(QStringLiteral("muestra.jpg")), "jpeg", 85) && bien;
  std::printf("Fonts used: %s\n", qPrintable(familias));

  if (!rutaHoja.isEmpty()) bien = guardar(hojaContactos(filas), rutaHoja, "png") && bien;
  return bien ? 0 : 1;
}
