#pragma once

#include <optional>
#include <vector>

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "methods/dialogos.h"

class QFileDialog;

namespace velarno {

// Where a box of size `caja` goes so that it covers nothing of `evitar` and stays inside
// `pantalla` (screen coordinates): beside it on the right with the bottoms level (a trace's
// newest line is at its bottom), else below it, on its left, above it; when none of these is
// free, the one of them (moved inside the screen) that covers the least of `evitar`.
QPoint colocarJunto(const QRect& evitar, QSize caja, const QRect& pantalla);

// Message boxes as QMessageBox, modal to the application, owned by `padre`. Carriage returns
// in the text become line breaks; an empty title shows "Velarno".
// With widgets to keep in sight (`junto`: a step run's trace list, the binarized view), every
// box opens beside them (colocarJunto) instead of over the window's centre, and once the user
// has moved a box the next ones open where it was left.
class DialogosQt : public Dialogos {
 public:
  explicit DialogosQt(QWidget* padre, std::vector<QWidget*> junto = {});
  int preguntar(const std::string& titulo, const std::string& texto) override;
  int informar(const std::string& titulo, const std::string& texto, int estilo) override;

 private:
  int mostrar(const std::string& titulo, const std::string& texto, int estilo, int botones);
  // The screen rectangle to keep free: the widgets' rectangles together.
  QRect zonaJunto() const;

  QWidget* padre_;
  std::vector<QPointer<QWidget>> junto_;
  std::optional<QPoint> lugarElegido_;
};

// The display form of a message text: CR LF and CR alone become line breaks.
QString textoParaMostrar(const std::string& texto);

// Chooses the picture file to open; nullopt when the user cancels.
class SelectorFichero {
 public:
  virtual ~SelectorFichero() = default;
  virtual std::optional<QString> elegir(QWidget* padre) = 0;
};

// The open dialog "Abrir" with the image filter, listing .bmp, .gif and .jpg files.
class SelectorFicheroQt : public SelectorFichero {
 public:
  std::optional<QString> elegir(QWidget* padre) override;
};

// The filter lines as Qt takes them: the last parenthesised group is the pattern, and
// HideNameFilterDetails shows the text before it. The first line is the system's own; the
// loader decides by content what opens.
inline const char* const kFiltroAbrir =
    "Archivos de imagen (*.bmp) (*.gif) (*.jpg) (*.bmp *.gif *.jpg)";
inline const char* const kFiltroAbrirPng = "Imágenes PNG (*.png) (*.png)";
inline const char* const kFiltroAbrirTodos = "Todos los archivos (*) (*)";
// Builds the configured open dialog (title, filters, existing files only).
QFileDialog* crearDialogoAbrir(QWidget* padre);

// Chooses the file to save into under `titulo`, with filter lines like "Imágenes PNG
// (*.png)", offering the name `sugerido`; nullopt when the user cancels. A name typed without
// an extension takes the chosen filter's.
class SelectorGuardar {
 public:
  virtual ~SelectorGuardar() = default;
  virtual std::optional<QString> elegir(QWidget* padre, const QString& titulo,
                                        const QStringList& filtros, const QString& sugerido) = 0;
};

// Qt's save dialog; it asks before replacing an existing file.
class SelectorGuardarQt : public SelectorGuardar {
 public:
  std::optional<QString> elegir(QWidget* padre, const QString& titulo, const QStringList& filtros,
                                const QString& sugerido) override;
};

// Builds the configured save dialog (title, filters, suggested name, overwrite confirmation,
// default suffix following the chosen filter).
QFileDialog* crearDialogoGuardar(QWidget* padre, const QString& titulo, const QStringList& filtros,
                                 const QString& sugerido = QString());

// Loads Qt's own Spanish texts (buttons, file dialog) whatever the user's locale.
void instalarTraduccionEspanola();

// The application's name and desktop entry, and the Spanish Qt texts. No display name is set:
// Qt would append it to every window title, and each title is exactly the window's own.
void configurarAplicacion();

}  // namespace velarno
