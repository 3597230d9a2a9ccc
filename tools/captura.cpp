// captura: draws the main window as a user would see it after a few steps and saves it as PNG,
// for documentation screenshots. Runs on any Qt platform (offscreen included).
//   captura IMAGEN SALIDA.png [PANEL [BOTON [ANCHOxALTO]]]
// PANEL is the Generacion menu entry (0 = Simple) shown on the "Método" tab; BOTON is the
// objectName of a button to click there (a Run button); message boxes are answered Yes/OK.
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "dialogos_guion.h"
#include "dialogos_qt.h"
#include "form1.h"

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "uso: captura IMAGEN SALIDA.png [PANEL [BOTON [ANCHOxALTO]]]\n");
    return 2;
  }
  QApplication::setApplicationName(QStringLiteral("Velarno"));
  velarno::instalarTraduccionEspanola();
  velarno::DialogosGuion dialogos(std::string(1000, 'S'));
  velarno::Form1 ventana(&dialogos, nullptr);
  const QStringList args = QApplication::arguments();
  if (args.size() > 5) {
    const QStringList tam = args[5].split(QLatin1Char('x'));
    if (tam.size() == 2) ventana.resize(tam[0].toInt(), tam[1].toInt());
  }
  ventana.show();
  if (!ventana.abrirFichero(args[1])) return 1;
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
