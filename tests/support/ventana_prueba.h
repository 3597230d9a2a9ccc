#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QAction>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "methods/dialogos_guion.h"
#include "shell/dialogos_qt.h"
#include "shell/form1.h"

namespace velarno {

// Answers from a list of paths, one per use (nullopt = Cancel; Cancel once the list is used up).
struct Respuestas {
  std::optional<QString> siguiente() {
    if (respuestas.empty()) return std::nullopt;
    std::optional<QString> r = respuestas.front();
    respuestas.erase(respuestas.begin());
    return r;
  }
  std::vector<std::optional<QString>> respuestas;
};

// An open dialog that answers from its list.
class SelectorGuion : public SelectorFichero, public Respuestas {
 public:
  std::optional<QString> elegir(QWidget*) override { return siguiente(); }
};

// Scripted message boxes whose Yes/No prompts may first look at the window.
class DialogosPrueba : public DialogosGuion {
 public:
  using DialogosGuion::DialogosGuion;
  int preguntar(const std::string& titulo, const std::string& texto) override {
    if (alPreguntar) alPreguntar();
    return DialogosGuion::preguntar(titulo, texto);
  }
  std::function<void()> alPreguntar;
};

// A save dialog that answers from its list and keeps the title and suggested name of each
// time it was shown.
class GuardarGuion : public SelectorGuardar, public Respuestas {
 public:
  std::optional<QString> elegir(QWidget*, const QString& titulo, const QStringList&,
                                const QString& sugerido) override {
    vistos << titulo + QLatin1Char('|') + sugerido;
    return siguiente();
  }
  QStringList vistos;
};

// Boxes as "title|text|style|answer" lines.
inline std::string textoCajas(const std::vector<Mensaje>& mensajes) {
  std::string texto;
  for (const Mensaje& m : mensajes)
    texto += m.titulo + "|" + m.texto + "|" + std::to_string(m.estilo) + "|" +
             std::to_string(m.respuesta) + "\n";
  return texto;
}

// The real main window with scripted message boxes, open and save dialogs, and a folder for
// the pictures a test writes.
struct VentanaPrueba {
  explicit VentanaPrueba(std::string respuestas = "")
      : dialogos(std::move(respuestas)), ventana(&dialogos, &selector) {
    ventana.fijarSelectorGuardar(&guardar);
  }

  // Writes a picture into the test's folder and returns its path.
  QString escribir(const QString& nombre, const QImage& imagen) {
    const QString ruta = QDir(carpeta.path()).filePath(nombre);
    imagen.save(ruta);
    return ruta;
  }
  // Writes a picture and opens it as "Abrir" does once its dialog is closed.
  bool abrir(const QString& nombre, const QImage& imagen) {
    return ventana.abrirFichero(escribir(nombre, imagen));
  }

  template <typename T = QWidget>
  T* control(const QString& nombre) {
    return ventana.findChild<T*>(nombre);
  }
  template <typename T = QWidget>
  T* control(const char* nombre) {
    return control<T>(QString::fromUtf8(nombre));
  }
  QAction* accion(const char* nombre) { return control<QAction>(nombre); }
  QScrollBar* umbral() { return control<QScrollBar>("scrUmbral"); }
  // A trace list's items, each followed by "\n".
  std::string traza(const char* lista) {
    auto* l = control<QListWidget>(lista);
    std::string texto;
    for (int i = 0; i < l->count(); ++i) texto += l->item(i)->text().toStdString() + "\n";
    return texto;
  }
  std::string cajas() const { return textoCajas(dialogos.mensajes()); }

  QTemporaryDir carpeta;
  DialogosPrueba dialogos;
  SelectorGuion selector;
  GuardarGuion guardar;
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

// The black pixels of a drawn binarized picture.
inline int64_t negrosDe(const QImage& binarizada) {
  int64_t n = 0;
  for (int y = 0; y < binarizada.height(); ++y)
    for (int x = 0; x < binarizada.width(); ++x) n += qGray(binarizada.pixel(x, y)) == 0;
  return n;
}

// The record's pixels below `umbral`, from its histogram.
inline int64_t bajoUmbral(const DatosImagen& datos, int umbral) {
  int64_t n = 0;
  for (int g = 0; g < umbral; ++g) n += datos.histograma[static_cast<size_t>(g)];
  return n;
}

}  // namespace velarno
