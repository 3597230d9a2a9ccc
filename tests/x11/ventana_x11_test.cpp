// The real window on a real X server (xvfb-run): the titles the server is given, exactly as the
// window sets them, and the binarized view as the screen shows it under a step prompt.
#include <functional>
#include <string>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "shell/dialogos_qt.h"
#include "shell/form1.h"
#include "shell/vista_imagen.h"
#include "support/ventana_prueba.h"

namespace velarno {
namespace {

// The _NET_WM_NAME property of a window, as the X server holds it (xprop prints it as
// `_NET_WM_NAME = "Velarno"`).
std::string tituloX11(const QWidget* ventana) {
  QProcess xprop;
  xprop.start(QStringLiteral("xprop"),
              {"-id", QString::number(ventana->winId()), "-notype", "_NET_WM_NAME"});
  xprop.waitForFinished(10000);
  const std::string salida = xprop.readAllStandardOutput().trimmed().toStdString();
  const size_t comilla = salida.find('"');
  return comilla == std::string::npos ? "(" + salida + ")"
                                      : salida.substr(comilla + 1, salida.size() - comilla - 2);
}

// While `accion` runs, hands every modal box to `responder` once it is on screen and clicks
// the button it returns; after any answer but Yes it watches no more. Returns how many boxes
// were answered.
int conCajas(const std::function<void()>& accion,
             const std::function<QMessageBox::StandardButton(QMessageBox*)>& responder) {
  int respondidas = 0;
  std::function<void()> buscar = [&] {
    auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!caja || !QTest::qWaitForWindowExposed(caja, 0)) {
      QTimer::singleShot(20, buscar);
      return;
    }
    QTest::qWait(50);
    const QMessageBox::StandardButton boton = responder(caja);
    ++respondidas;
    caja->button(boton)->click();
    if (boton == QMessageBox::Yes) QTimer::singleShot(20, buscar);
  };
  QTimer::singleShot(20, buscar);
  accion();
  return respondidas;
}

class VentanaX11 : public ::testing::Test {
 protected:
  VentanaX11() : ventana(nullptr, &selector) {
    ventana.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&ventana));
  }
  QString escribir(const QString& nombre, const QImage& imagen) {
    const QString ruta = QDir(carpeta.path()).filePath(nombre);
    imagen.save(ruta);
    return ruta;
  }
  QTemporaryDir carpeta;
  SelectorGuion selector;
  Form1 ventana;
};

TEST_F(VentanaX11, TitlesReachTheServerExactlyAsSet) {
  EXPECT_EQ(tituloX11(&ventana), "Velarno");
  EXPECT_EQ(
      conCajas(
          [&] { ventana.findChild<QTabWidget*>(QStringLiteral("Carpetas"))->setCurrentIndex(1); },
          [](QMessageBox* caja) {
            EXPECT_EQ(tituloX11(caja), "Error");
            return QMessageBox::Ok;
          }),
      1);

  QImage imagen(5, 3, QImage::Format_Grayscale8);
  imagen.fill(40);
  ASSERT_TRUE(ventana.abrirFichero(escribir(QStringLiteral("casa.bmp"), imagen)));
  QTest::qWait(50);
  EXPECT_EQ(tituloX11(&ventana), "Velarno - casa.bmp 5x3");
}

// At the second prompt the screen shows the first pixel decided (black) and the rest white;
// the prompt itself keeps clear of the view.
TEST_F(VentanaX11, StepBinarizationShowsTheDecidedPixelsUnderThePrompt) {
  QImage imagen(5, 3, QImage::Format_Grayscale8);
  imagen.fill(200);
  imagen.setPixel(0, 0, 10);
  ASSERT_TRUE(ventana.abrirFichero(escribir(QStringLiteral("p.png"), imagen)));
  ventana.findChild<QScrollBar*>(QStringLiteral("scrUmbral"))->setValue(100);
  auto* vista = ventana.findChild<VistaImagen*>(QStringLiteral("imagenBinarizada"));
  const auto enPantalla = [&](int x, int y) {
    const QPointF centro = vista->origen() + QPointF(x + 0.5, y + 0.5) * vista->escala();
    const QPoint global = vista->mapToGlobal(centro.toPoint());
    return qGray(
        ventana.screen()->grabWindow(0, global.x(), global.y(), 1, 1).toImage().pixel(0, 0));
  };
  int respuestas = 0;
  const auto responder = [&](QMessageBox* caja) {
    if (respuestas++ == 0) {
      EXPECT_EQ(enPantalla(0, 0), 255);
      return QMessageBox::Yes;
    }
    EXPECT_EQ(enPantalla(0, 0), 0);
    EXPECT_EQ(enPantalla(4, 2), 255);
    EXPECT_FALSE(
        caja->frameGeometry().intersects(QRect(vista->mapToGlobal(QPoint(0, 0)), vista->size())));
    return QMessageBox::No;
  };
  EXPECT_EQ(conCajas([&] { ventana.binarizarPasoAPaso(); }, responder), 2);
}

}  // namespace
}  // namespace velarno
