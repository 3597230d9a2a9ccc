// captura: draws the main window as a user would see it after a few steps and saves it as PNG,
// for documentation screenshots. Runs on any Qt platform (offscreen included).
//   captura IMAGEN SALIDA.png [PANEL [BOTON [ANCHOxALTO]]]
//   captura IMAGEN SALIDA.png --comparar [ANCHOxALTO]
// PANEL is the Generacion menu entry (0 = Simple) shown on the "Método" tab; BOTON is the
// objectName of a button to click there (a Run button); message boxes are answered Yes/OK.
// --comparar opens "Comparar métodos" instead and saves that window once every tile is filled.
#include <cstdio>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

#include "methods/dialogos_guion.h"
#include "shell/comparar.h"
#include "shell/dialogos_qt.h"
#include "shell/form1.h"

namespace {

void redimensionar(QWidget& ventana, const QString& tamano) {
  const QStringList tam = tamano.split(QLatin1Char('x'));
  if (tam.size() == 2) ventana.resize(tam[0].toInt(), tam[1].toInt());
}

// Opens the comparison window as its menu entry does, waits until every tile is filled (at
// most `limiteMs`) and saves it.
int capturarComparacion(QApplication& aplicacion, velarno::Form1& ventana, const QString& salida,
                        const QString& tamano, int limiteMs) {
  if (auto* entrada = ventana.findChild<QAction*>(QStringLiteral("mnuComparar")))
    entrada->trigger();
  auto* comparar = ventana.findChild<velarno::VentanaComparar*>(QStringLiteral("frmComparar"));
  if (comparar == nullptr) {
    std::fprintf(stderr, "captura: no se abrió la ventana de comparación\n");
    return 1;
  }
  redimensionar(*comparar, tamano);
  QElapsedTimer reloj;
  reloj.start();
  while (!comparar->terminada() && reloj.elapsed() < limiteMs)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  if (!comparar->terminada()) {
    std::fprintf(stderr, "captura: la comparación no terminó en %d ms\n", limiteMs);
    return 1;
  }
  QTimer::singleShot(300, comparar, [&aplicacion, comparar, salida] {
    comparar->grab().save(salida);
    aplicacion.quit();
  });
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr,
                 "uso: captura IMAGEN SALIDA.png [PANEL [BOTON [ANCHOxALTO]]]\n"
                 "     captura IMAGEN SALIDA.png --comparar [ANCHOxALTO]\n");
    return 2;
  }
  velarno::configurarAplicacion();
  velarno::DialogosGuion dialogos(std::string(1000, 'S'));
  velarno::Form1 ventana(&dialogos, nullptr);
  const QStringList args = QApplication::arguments();
  const bool comparar = args.size() > 3 && args[3] == QLatin1String("--comparar");
  if (!comparar && args.size() > 5) redimensionar(ventana, args[5]);
  ventana.show();
  if (!ventana.abrirFichero(args[1])) return 1;
  if (comparar) return capturarComparacion(aplicacion, ventana, args[2], args.value(4), 600000);
  if (args.size() > 3) {
    ventana.findChild<QTabWidget*>(QStringLiteral("Carpetas"))->setCurrentIndex(1);
    if (auto* panel = ventana.findChild<QAction*>(QStringLiteral("mnuGen(%1)").arg(args[3])))
      panel->trigger();
  }
  if (args.size() > 4) {
    if (auto* boton = ventana.findChild<QPushButton*>(args[4])) boton->click();
  }
  QTimer::singleShot(300, &ventana, [&] {
    ventana.grab().save(args[2]);
    aplicacion.quit();
  });
  return QApplication::exec();
}
