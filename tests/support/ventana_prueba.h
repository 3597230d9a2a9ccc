#pragma once

#include <optional>
#include <vector>

#include <QDir>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include "methods/dialogos_guion.h"
#include "shell/dialogos_qt.h"
#include "shell/form1.h"

namespace velarno {

// An open dialog that answers from a list of paths (nullopt = Cancel) and counts its uses.
class SelectorGuion : public SelectorFichero {
 public:
  std::optional<QString> elegir(QWidget*) override {
    ++llamadas;
    if (respuestas.empty()) return std::nullopt;
    std::optional<QString> r = respuestas.front();
    respuestas.erase(respuestas.begin());
    return r;
  }
  std::vector<std::optional<QString>> respuestas;
  int llamadas = 0;
};

// The real main window with scripted message boxes and open dialog, and a folder for the
// pictures a test writes.
struct VentanaPrueba {
  explicit VentanaPrueba(std::string respuestas = "")
      : dialogos(std::move(respuestas)), ventana(&dialogos, &selector) {}

  // Writes a picture into the test's folder and returns its path.
  QString escribir(const QString& nombre, const QImage& imagen) {
    const QString ruta = QDir(carpeta.path()).filePath(nombre);
    imagen.save(ruta);
    return ruta;
  }

  template <typename T>
  T* control(const QString& nombre) {
    return ventana.findChild<T*>(nombre);
  }

  QTemporaryDir carpeta;
  DialogosGuion dialogos;
  SelectorGuion selector;
  Form1 ventana;
};

// A colour picture with a different grey level in every column and row band.
inline QImage imagenDePrueba(int ancho, int alto) {
  QImage imagen(ancho, alto, QImage::Format_RGB32);
  for (int y = 0; y < alto; ++y)
    for (int x = 0; x < ancho; ++x)
      imagen.setPixel(x, y, qRgb((x * 7 + y) % 256, (x + y * 3) % 256, (x * y) % 256));
  return imagen;
}

}  // namespace velarno
