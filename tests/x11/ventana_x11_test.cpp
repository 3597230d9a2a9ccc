// The real window on a real X server (xvfb-run): the titles the server is given, exactly as the
// window sets them, and the binarized view as the screen shows it under a step prompt.
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <xcb/xcb.h>

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
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

// The _NET_WM_NAME property of a window, as the X server holds it.
std::string tituloX11(const QWidget* ventana) {
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return "(no X11)";
  xcb_connection_t* conexion = x11->connection();
  const auto atomo = [&](const char* nombre) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        conexion, xcb_intern_atom(conexion, 0, static_cast<uint16_t>(strlen(nombre)), nombre),
        nullptr);
    xcb_atom_t a = XCB_ATOM_NONE;
    if (r) a = r->atom;
    free(r);
    return a;
  };
  const xcb_atom_t nombre = atomo("_NET_WM_NAME");
  const xcb_atom_t utf8 = atomo("UTF8_STRING");
  xcb_get_property_reply_t* r = xcb_get_property_reply(
      conexion,
      xcb_get_property(conexion, 0, static_cast<xcb_window_t>(ventana->winId()), nombre, utf8, 0,
                       1024),
      nullptr);
  std::string titulo;
  if (r)
    titulo.assign(static_cast<const char*>(xcb_get_property_value(r)),
                  static_cast<size_t>(xcb_get_property_value_length(r)));
  free(r);
  return titulo;
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
  EXPECT_EQ(conCajas([&] { ventana.binarizarPasoAPaso(); },
                     [](QMessageBox* caja) {
                       EXPECT_EQ(tituloX11(caja), "Segmentar paso a paso");
                       return QMessageBox::No;
                     }),
            1);

  std::unique_ptr<QFileDialog> abrir(crearDialogoAbrir(&ventana));
  abrir->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(abrir.get()));
  EXPECT_EQ(tituloX11(abrir.get()), "Abrir");
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

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", QByteArray("xcb"));
  QApplication aplicacion(argc, argv);
  velarno::configurarAplicacion();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
