// Step mode as the user watches it in the real window: the binarized view repaints at every
// prompt, and the prompts open beside what they explain.
#include <functional>

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "shell/dialogos_qt.h"
#include "shell/vista_imagen.h"
#include "support/ventana_prueba.h"

namespace velarno {
namespace {

// The 5 x 3 picture's binarized surface as text, row by row: N black, B white.
std::string raster(const QImage& imagen) {
  std::string t;
  for (int y = 0; y < imagen.height(); ++y) {
    for (int x = 0; x < imagen.width(); ++x) t += qGray(imagen.pixel(x, y)) == 0 ? 'N' : 'B';
    t += '/';
  }
  return t;
}

// The real window, shown, keeping what the binarized view shows at each prompt ('?' when it
// shows a stale picture).
struct VentanaMirada : VentanaPrueba {
  explicit VentanaMirada(std::string respuestas) : VentanaPrueba(std::move(respuestas)) {
    ventana.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&ventana));
    vista = control<VistaImagen>("imagenBinarizada");
    dialogos.alPreguntar = [this] {
      const SuperficieQImage& s = ventana.superficieBinarizada();
      vistas.push_back(vista->versionPintadaParaPruebas() == s.version() ? raster(s.qimage())
                                                                         : "?");
    };
  }
  VistaImagen* vista = nullptr;
  std::vector<std::string> vistas;
};

// Grey levels 0..14 column by column, threshold 8: pixels (x, y) with 3x + y < 8 are black.
QImage degradado() {
  QImage imagen(5, 3, QImage::Format_Grayscale8);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) imagen.scanLine(y)[x] = static_cast<uchar>(3 * x + y);
  return imagen;
}

TEST(PasoAPasoVentana, BinarizationViewGrowsFromWhiteAtEveryPrompt) {
  VentanaMirada v(std::string(15, 'S'));
  ASSERT_TRUE(v.abrir(QStringLiteral("d.png"), degradado()));
  // An older result on screen first: the step run must start from white all the same.
  v.ventana.procesoPulsarBinarizar();
  v.ventana.datos().pixeles.setNegro(4, 2, true);
  v.umbral()->setValue(8);
  v.ventana.binarizarPasoAPaso();
  ASSERT_EQ(v.vistas.size(), 15u);
  std::vector<std::string> esperadas;
  std::string actual = "BBBBB/BBBBB/BBBBB/";
  for (int k = 0; k < 15; ++k) {
    esperadas.push_back(actual);
    const int x = k / 3;
    const int y = k % 3;
    if (3 * x + y < 8) actual[static_cast<size_t>(y * 6 + x)] = 'N';
  }
  EXPECT_EQ(v.vistas, esperadas);
  QCoreApplication::processEvents();
  EXPECT_EQ(v.vista->versionPintadaParaPruebas(), v.ventana.superficieBinarizada().version());
}

// Moving Averages starts from white and redraws after every answer; the view shows it at the
// next prompt.
TEST(PasoAPasoVentana, MovingAveragesViewIsCurrentAtEveryPrompt) {
  VentanaMirada v(std::string(8, 'S'));
  ASSERT_TRUE(v.abrir(QStringLiteral("m.png"), imagenDePrueba(8, 3)));
  v.ventana.ejecutarMetodo(QStringLiteral("Relax"), true);
  ASSERT_GE(v.vistas.size(), 9u);
  EXPECT_EQ(v.vistas[0], "BBBBBBBB/BBBBBBBB/BBBBBBBB/");  // from white
  for (size_t k = 1; k < v.vistas.size(); ++k) EXPECT_NE(v.vistas[k], "?") << "prompt " << k;
}

struct CasoColocar {
  const char* nombre;
  QRect evitar;
  QSize caja;
  QPoint esperado;
};
void PrintTo(const CasoColocar& c, std::ostream* os) { *os << c.nombre; }

class ColocarJunto : public ::testing::TestWithParam<CasoColocar> {};

TEST_P(ColocarJunto, PlacesTheBoxBesideTheZoneInsideTheScreen) {
  const QRect pantalla(0, 0, 1000, 800);
  EXPECT_EQ(colocarJunto(GetParam().evitar, GetParam().caja, pantalla), GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ColocarJunto,
    ::testing::Values(
        // Right of the zone, bottoms level.
        CasoColocar{"Right", QRect(100, 100, 400, 300), QSize(200, 150), QPoint(508, 250)},
        // A box taller than the zone above its bottom slides down into the screen.
        CasoColocar{"RightClampedToTheScreenTop", QRect(100, 0, 400, 50), QSize(200, 150),
                    QPoint(508, 0)},
        CasoColocar{"Below", QRect(0, 100, 900, 300), QSize(200, 150), QPoint(0, 408)},
        CasoColocar{"Left", QRect(300, 100, 700, 700), QSize(200, 150), QPoint(92, 650)},
        CasoColocar{"Above", QRect(0, 300, 1000, 500), QSize(200, 150), QPoint(0, 142)},
        // No free side: the place that covers the least of the zone.
        CasoColocar{"LeastCovered", QRect(100, 100, 850, 650), QSize(200, 150), QPoint(100, 0)},
        CasoColocar{"LargerThanTheScreen", QRect(0, 0, 10, 10), QSize(1200, 900), QPoint(0, 0)}),
    [](const auto& p) { return std::string(p.param.nombre); });

// With the real boxes: a step prompt keeps clear of the running method's trace, and once the
// user moves it, the next prompt of the run opens where it was left.
TEST(PasoAPasoVentana, PromptOpensBesideTheTraceAndKeepsWhereTheUserMovedIt) {
  QTemporaryDir carpeta;
  SelectorGuion selector;
  Form1 ventana(nullptr, &selector);
  ventana.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
  const QString ruta = QDir(carpeta.path()).filePath(QStringLiteral("p.png"));
  ASSERT_TRUE(degradado().copy(0, 0, 3, 1).save(ruta));
  ASSERT_TRUE(ventana.abrirFichero(ruta));
  ventana.findChild<QTabWidget*>(QStringLiteral("Carpetas"))->setCurrentIndex(1);
  auto* lista = ventana.findChild<QListWidget*>(QStringLiteral("LMean"));
  const QRect zona(lista->mapToGlobal(QPoint(0, 0)), lista->size());
  const QRect pantalla = ventana.screen()->availableGeometry();

  std::vector<QRect> cajas;
  QString ultima;  // the last box: title, text and button
  QPoint movida;
  std::function<void()> mirar = [&] {
    auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!caja) {
      QTimer::singleShot(10, mirar);
      return;
    }
    cajas.push_back(caja->geometry());
    ultima = caja->windowTitle() + QLatin1Char('|') + caja->text() + QLatin1Char('|') +
             caja->buttons().at(0)->text().remove(QLatin1Char('&'));
    if (cajas.size() == 1) {
      QTest::qWait(300);  // the user drags the box once it has settled
      caja->move(pantalla.topLeft() + QPoint(5, 7));
      movida = caja->geometry().topLeft();
    }
    QAbstractButton* boton = caja->button(QMessageBox::Yes);
    if (!boton) boton = caja->button(QMessageBox::Ok);
    boton->click();
    if (cajas.size() < 4) QTimer::singleShot(10, mirar);
  };
  QTimer::singleShot(10, mirar);
  ventana.ejecutarMetodo(QStringLiteral("CMean"), true);
  // Three pixel prompts and Mean's summary box.
  ASSERT_EQ(cajas.size(), 4u);
  const QSize conTitulo = cajas[0].size() + QSize(0, 32);
  EXPECT_EQ(cajas[0].topLeft(), colocarJunto(zona, conTitulo, pantalla) + QPoint(0, 32));
  for (size_t k = 1; k < cajas.size(); ++k) EXPECT_EQ(cajas[k].topLeft(), movida) << "box " << k;
  // Without a title of its own, the application's; carriage returns as line breaks; Spanish.
  EXPECT_EQ(ultima, QStringLiteral("Velarno|\nsuma Total: 9\nNº de pixels: 3\n|Aceptar"));
}

}  // namespace
}  // namespace velarno
