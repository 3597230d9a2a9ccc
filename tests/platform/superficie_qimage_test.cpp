#include "platform/superficie_qimage.h"

#include <cstdint>
#include <functional>
#include <random>
#include <utility>
#include <vector>

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace velarno {
namespace {

// Texts need Qt's font database, which needs an application object; other suites of this
// program may have made one already.
void asegurarAplicacion() {
  if (QGuiApplication::instance() != nullptr) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char nombre[] = "velarno_platform_tests";
  static char* argv[] = {nombre, nullptr};
  static QGuiApplication aplicacion(argc, argv);
}

SuperficieQImage superficie(QImage::Format formato, int32_t ancho, int32_t alto) {
  SuperficieQImage s(formato, QColor(7, 7, 7));
  s.redimensionar(ancho, alto);
  return s;
}

TEST(SuperficieQImage, ReadsColoursAsBlueGreenRedAndMinusOneOutside) {
  QImage foto(3, 2, QImage::Format_RGB32);
  foto.fill(Qt::black);
  foto.setPixel(2, 1, qRgb(0x12, 0x34, 0x56));
  SuperficieQImage s(QImage::Format_RGB32, Qt::white);
  s.setImagen(foto);
  EXPECT_EQ(s.leerColor(2, 1), 0x563412);
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 2}}) EXPECT_EQ(s.leerColor(x, y), -1);
  s.ponerPixel(3, 0, kBlanco);  // outside: nothing
  s.ponerPixel(0, 0, rgb(1, 2, 3));
  EXPECT_EQ(s.qimage().pixel(0, 0), qRgb(1, 2, 3));
  EXPECT_EQ(s.qimage().pixel(0, 1), qRgb(0, 0, 0));
}

TEST(SuperficieQImage, RowsOfAColourPictureOnly) {
  SuperficieQImage color(QImage::Format_RGB32, Qt::white);
  color.setImagen(QImage(4, 3, QImage::Format_RGB32));
  EXPECT_EQ(color.filaRGB32(2), reinterpret_cast<const uint32_t*>(color.qimage().constScanLine(2)));
  EXPECT_EQ(color.filaRGB32(3), nullptr);
  EXPECT_EQ(color.filaRGB32(-1), nullptr);
  EXPECT_EQ(superficie(QImage::Format_Grayscale8, 4, 3).filaRGB32(0), nullptr);
}

// The bulk writes give what writing every pixel singly gives, clipped to the surface, for
// both raster formats.
TEST(SuperficieQImage, BulkWritesEqualPixelByPixel) {
  std::mt19937 azar(5);
  const int32_t ancho = 13, alto = 9;
  const size_t paso = 16;
  std::vector<uint8_t> gris(paso * alto), negro(paso * alto);
  for (auto& g : gris) g = static_cast<uint8_t>(azar());
  for (auto& n : negro) n = static_cast<uint8_t>(azar() % 3);  // any non-zero is black
  for (QImage::Format formato : {QImage::Format_Grayscale8, QImage::Format_RGB32})
    for (int32_t lado : {ancho + 2, ancho - 4}) {
      SCOPED_TRACE(testing::Message() << "format " << formato << " side " << lado);
      SuperficieQImage rapida = superficie(formato, lado, lado), lenta = rapida;
      rapida.escribirGrises(gris.data(), paso, ancho, alto);
      for (int32_t y = 0; y < alto; ++y)
        for (int32_t x = 0; x < ancho; ++x) {
          const uint8_t g = gris[static_cast<size_t>(y) * paso + static_cast<size_t>(x)];
          lenta.ponerPixel(x, y, rgb(g, g, g));
        }
      EXPECT_EQ(rapida.qimage(), lenta.qimage());
      rapida.escribirBlancoNegro(negro.data(), paso, ancho, alto);
      for (int32_t y = 0; y < alto; ++y)
        for (int32_t x = 0; x < ancho; ++x)
          lenta.ponerPixel(x, y, negro[static_cast<size_t>(y) * paso + x] ? kNegro : kBlanco);
      EXPECT_EQ(rapida.qimage(), lenta.qimage());
    }
}

TEST(SuperficieQImage, EveryChangeBumpsTheVersion) {
  asegurarAplicacion();
  SuperficieQImage s(QImage::Format_RGB32, Qt::white);
  const uint8_t bytes[4] = {1, 0, 1, 0};
  const std::vector<std::pair<const char*, std::function<void()>>> cambios = {
      {"redimensionar", [&] { s.redimensionar(10, 10); }},
      {"ponerPixel", [&] { s.ponerPixel(1, 1, kNegro); }},
      {"limpiar", [&] { s.limpiar(); }},
      {"escribirGrises", [&] { s.escribirGrises(bytes, 2, 2, 2); }},
      {"escribirBlancoNegro", [&] { s.escribirBlancoNegro(bytes, 2, 2, 2); }},
      {"linea", [&] { s.linea(0, 0, 5, 5, kRojo); }},
      {"texto", [&] { s.texto(0, 0, "Nivel"); }},
      {"setImagen", [&] { s.setImagen(QImage(3, 3, QImage::Format_RGB32)); }},
      {"vaciar", [&] { s.vaciar(); }},
  };
  for (const auto& [que, cambiar] : cambios) {
    const quint64 antes = s.version();
    cambiar();
    EXPECT_GT(s.version(), antes) << que;
  }
  EXPECT_TRUE(s.vacia());
}

// User coordinates: (0, 120) top-left, (301, 0) bottom-right over 301 x 120 pixels, so one
// unit is one pixel and y grows upwards; a scale with no height puts everything on the top row.
TEST(SuperficieQImage, LinesUseTheUserScale) {
  SuperficieQImage s = superficie(QImage::Format_RGB32, 301, 120);
  s.escala(0, 120, 301, 0);
  s.linea(100.5, 20, 100.5, 60, kRojo);
  EXPECT_EQ(s.leerColor(100, 80), kRojo);         // y 40 up from the bottom
  EXPECT_EQ(s.leerColor(100, 50), rgb(7, 7, 7));  // above the line's top at y 60
  EXPECT_EQ(s.leerColor(103, 80), rgb(7, 7, 7));
  s.setGrosorLinea(5);
  s.linea(200.5, 20, 200.5, 60, kAzul);
  EXPECT_EQ(s.leerColor(202, 80), kAzul);
  s.escala(0, 0, 301, 0);
  s.linea(6, 0, 276, 0, kAzul);
  EXPECT_EQ(s.leerColor(50, 0), kAzul);
  EXPECT_EQ(s.leerColor(50, 60), rgb(7, 7, 7));
}

TEST(SuperficieQImage, TextHangsBelowAndRightOfItsPosition) {
  asegurarAplicacion();
  SuperficieQImage s(QImage::Format_RGB32, Qt::white);
  s.redimensionar(200, 100);
  s.escala(0, 100, 200, 0);
  s.fuente("arial", 8, true);
  s.texto(50, 60, "Nº pixels");  // pixel (50, 40)
  int dentro = 0, fuera = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x)
      if (s.leerColor(x, y) != kBlanco) ++((x >= 49 && y >= 39 && y < 70) ? dentro : fuera);
  EXPECT_GT(dentro, 20);
  EXPECT_EQ(fuera, 0);
}

}  // namespace
}  // namespace velarno
