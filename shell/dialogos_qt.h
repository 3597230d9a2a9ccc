#pragma once

#include <optional>

#include <QString>

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

// The filter line as Qt takes it: the last parenthesised group is the pattern, and
// HideNameFilterDetails shows the text before it.
inline const char* const kFiltroAbrir =
    "Archivos de imagen (*.bmp) (*.gif) (*.jpg) (*.bmp *.gif *.jpg)";
// Builds the configured open dialog (title, filter, existing files only).
QFileDialog* crearDialogoAbrir(QWidget* padre);

// Loads Qt's own Spanish texts (buttons, file dialog) whatever the user's locale.
void instalarTraduccionEspanola();

}  // namespace velarno
