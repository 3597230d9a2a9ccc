// velarno: the desktop window. `velarno FICHERO` opens a picture at start-up as "Abrir" does.
#include <QApplication>
#include <QStringList>
#include <QTimer>

#include "shell/dialogos_qt.h"
#include "shell/form1.h"

int main(int argc, char* argv[]) {
  QApplication aplicacion(argc, argv);
  velarno::configurarAplicacion();

  velarno::Form1 ventana;
  ventana.show();
  const QStringList argumentos = QApplication::arguments();
  if (argumentos.size() > 1) {
    const QString ruta = argumentos.at(1);
    QTimer::singleShot(0, &ventana, [&ventana, ruta] { ventana.abrirFichero(ruta); });
  }
  return QApplication::exec();
}
