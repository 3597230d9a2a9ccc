#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "dialogos.h"

class QWidget;
class QFileDialog;

namespace velarno {

// Message boxes as QMessageBox, modal to the application, owned by `padre`. Carriage returns
// in the text become line breaks; an empty title shows "Velarno".
class DialogosQt : public Dialogos {
 public:
  explicit DialogosQt(QWidget* padre) : padre_(padre) {}
  int preguntar(const std::string& titulo, const std::string& texto) override;
  int informar(const std::string& titulo, const std::string& texto, int estilo) override;

 private:
  QWidget* padre_;
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
// (*.png)"; nullopt when the user cancels. A name typed without an extension takes the chosen
// filter's.
class SelectorGuardar {
 public:
  virtual ~SelectorGuardar() = default;
  virtual std::optional<QString> elegir(QWidget* padre, const QString& titulo,
                                        const QStringList& filtros) = 0;
};

// Qt's save dialog; it asks before replacing an existing file.
class SelectorGuardarQt : public SelectorGuardar {
 public:
  std::optional<QString> elegir(QWidget* padre, const QString& titulo,
                                const QStringList& filtros) override;
};

// Builds the configured save dialog (title, filters, overwrite confirmation, default suffix
// following the chosen filter).
QFileDialog* crearDialogoGuardar(QWidget* padre, const QString& titulo, const QStringList& filtros);

// Loads Qt's own Spanish texts (buttons, file dialog) whatever the user's locale.
void instalarTraduccionEspanola();

}  // namespace velarno
