#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStyledItemDelegate>

#include "app/evaluacion.h"
#include "image/tipos.h"
#include "methods/traza.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressDialog;
class QPushButton;
class QWidget;

namespace velarno {

// The hourglass over the whole application while a straight run or an open works; restored
// on every path out.
class CursorOcupado {
 public:
  CursorOcupado();
  ~CursorOcupado();
  CursorOcupado(const CursorOcupado&) = delete;
  CursorOcupado& operator=(const CursorOcupado&) = delete;
};

// While a picture is decoded off the user-interface thread the window keeps repainting but
// takes no clicks, keys, drops or close requests, so no command can touch the record meanwhile.
class CerrojoEntrada : public QObject {
 public:
  CerrojoEntrada();
  ~CerrojoEntrada() override;
  CerrojoEntrada(const CerrojoEntrada&) = delete;
  CerrojoEntrada& operator=(const CerrojoEntrada&) = delete;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
};

// Shows a carriage return inside a trace item (kept in the stored text) as a line break.
class DelegadoTraza : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QString displayText(const QVariant& valor, const QLocale& local) const override;
};

// A trace item as a text file holds it: a carriage return alone becomes CR LF.
QByteArray lineaGuardada(const QString& item);

// A trace list on screen: one item per trace line, kept scrolled to the last line.
class TrazaVentana : public Traza {
 public:
  explicit TrazaVentana(QListWidget* lista) : lista_(lista) {}
  void limpiar() override;
  void agregar(const std::string& linea) override;

 private:
  QListWidget* lista_;
};

// The progress of a straight run: a modal box with "Cancelar", shown at once for the long
// methods and after half a second for the others. Events are processed only here, at most
// every 50 ms, so the run itself stays as fast as without it. `gancho` (tests) is called at
// every report with its number and cancels by returning false.
class ProgresoVentana {
 public:
  ProgresoVentana(QWidget* padre, QString texto, bool inmediato, bool sinFraccion,
                  const std::function<bool(int)>& gancho);
  ~ProgresoVentana();
  bool avanzar(double fraccion);

 private:
  void mostrar();

  QWidget* padre_;
  QString texto_;
  bool inmediato_;
  bool sinFraccion_;
  const std::function<bool(int)>& gancho_;
  QElapsedTimer reloj_;
  qint64 ultimo_ = 0;
  int llamadas_ = 0;
  bool cancelado_ = false;
  std::unique_ptr<QProgressDialog> dialogo_;
};

// "Negro: 12,3 %  Blanco: 87,7 %": the shares of the pixels below the threshold and of the
// others, in tenths rounded half to even, with the locale's decimal separator; white is the
// rest, so the two add up to 100. Empty for a record without pixels.
QString textoPorcentajes(const DatosImagen& datos, int umbral);

// The decimal separator of the system's locale for number text and typed inputs ('.' when it
// is not a single ASCII character).
char separadorDecimalDelSistema();

// The six scores in the system's decimal format, every value "—" without a result: on two
// lines, "F 0,9312   P 0,9500   R 0,9131" and "ME 0,0123   PSNR 19,10 dB   Jaccard 0,8712", or
// on three for a narrow place, "F 0,9312   P 0,9500", "R 0,9131   Jaccard 0,8712" and
// "ME 0,0123   PSNR 19,10 dB".
QString textoEvaluacion(const std::optional<Evaluacion>& evaluacion, bool estrecho = false);

// Controls by control name, as the window's frames are built.
QPushButton* boton(const QString& nombre, const QString& texto, QWidget* padre);
QLabel* etiqueta(const QString& nombre, const QString& texto, QWidget* padre);
QLineEdit* cajaTexto(const QString& nombre, const QString& texto, int ancho, QWidget* padre);
QComboBox* combo(const QString& nombre, const QStringList& elementos, QWidget* padre);

}  // namespace velarno
