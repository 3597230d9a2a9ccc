// What the window's views show: a picture's reduced copy (the fast block average shows what the
// plain reading, every whole f x f block averaged in 8 bits then Qt's smooth scaling, shows)
// and a trace list's last line.
#include <random>

#include <QCoreApplication>
#include <QImage>
#include <QListWidget>

#include <gtest/gtest.h>

#include "shell/ayudas_ventana.h"
#include "shell/vista_imagen.h"

namespace velarno {
namespace {

QImage reducirSencillo(const QImage& imagen, QSize destino) {
  const int f = std::min(imagen.width() / destino.width(), imagen.height() / destino.height()) / 2;
  if (f < 2) return imagen.scaled(destino, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  const bool gris = imagen.format() == QImage::Format_Grayscale8;
  const int canales = gris ? 1 : 4;
  QImage base(imagen.width() / f, imagen.height() / f,
              gris ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
  for (int y = 0; y < base.height(); ++y)
    for (int x = 0; x < base.width(); ++x)
      for (int c = 0; c < canales; ++c) {
        int suma = 0;
        for (int k = 0; k < f; ++k)
          for (int j = 0; j < f; ++j)
            suma += imagen.constScanLine(y * f + k)[(x * f + j) * canales + c];
        base.scanLine(y)[x * canales + c] = static_cast<uchar>((suma + f * f / 2) / (f * f));
      }
  return base.scaled(destino, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

TEST(ReducirSuave, GivesThePlainBlockAverageScaled) {
  struct Caso {
    QImage::Format formato;
    int ancho, alto, anchoVista, altoVista;
  };
  const Caso casos[] = {
      {QImage::Format_Grayscale8, 4003, 3001, 296, 222},  // f = 6, partial blocks dropped
      {QImage::Format_Grayscale8, 601, 600, 1, 1},        // f = 300: 32-bit sums
      {QImage::Format_Grayscale8, 90, 70, 30, 20},        // f < 2: Qt alone
      {QImage::Format_RGB32, 1200, 901, 150, 100},        // f = 4
      {QImage::Format_ARGB32, 517, 389, 40, 30},          // f = 6, alpha averaged and ignored
      {QImage::Format_RGB32, 700, 700, 3, 2},             // f = 116
  };
  std::mt19937 azar(7);
  for (const Caso& c : casos) {
    QImage imagen(c.ancho, c.alto, c.formato);
    for (int y = 0; y < c.alto; ++y) {
      uchar* fila = imagen.scanLine(y);
      for (qsizetype i = 0; i < imagen.bytesPerLine(); ++i)
        fila[i] = static_cast<uchar>(y % 3 == 0 ? 255 * (azar() & 1) : azar());
    }
    const QSize vista(c.anchoVista, c.altoVista);
    EXPECT_EQ(reducirSuave(imagen, vista).convertToFormat(QImage::Format_RGB32),
              reducirSencillo(imagen, vista).convertToFormat(QImage::Format_RGB32))
        << c.formato << " " << c.ancho << "x" << c.alto;
  }
}

// A long trace written without events in between ends scrolled to its last line once events
// run, as after a straight run or under a step's prompt.
TEST(TrazaVentana, ShowsTheLastLineOnceEventsRun) {
  QListWidget lista;
  lista.resize(200, 100);
  lista.show();
  TrazaVentana traza(&lista);
  for (int tanda = 1; tanda <= 2; ++tanda) {
    for (int i = 0; i < 300; ++i) traza.agregar(i % 2 ? "" : "Iteration: 1\rresiduo: 2");
    QCoreApplication::processEvents();
    const QListWidgetItem* ultima = lista.item(lista.count() - 1);
    EXPECT_TRUE(lista.viewport()->rect().contains(lista.visualItemRect(ultima))) << tanda;
  }
}

}  // namespace
}  // namespace velarno
