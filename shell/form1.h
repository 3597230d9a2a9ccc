#pragma once

#include <functional>
#include <memory>
#include <tuple>
#include <vector>

#include <QMainWindow>
#include <QString>

#include "app/espacio_trabajo.h"
#include "image/tipos.h"
#include "methods/entorno.h"
#include "platform/cargador.h"
#include "platform/superficie_qimage.h"
#include "shell/botonera.h"
#include "shell/dialogos_qt.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QTableWidget;

namespace velarno {

class VistaImagen;

// The main window: the picture surfaces, the menus, the tool bar and the method panels built
// from the catalogue, wired to the workspace, which owns the record and the workflow; every
// Enabled and Checked flag is set from the workspace's one answer (actualizarHabilitados).
class Form1 : public QMainWindow {
  Q_OBJECT
 public:
  // `dialogos` and `selector` replace the message boxes and the open dialog (tests); null uses
  // the Qt ones. The window does not take ownership of them.
  explicit Form1(Dialogos* dialogos = nullptr, SelectorFichero* selector = nullptr,
                 QWidget* padre = nullptr);
  ~Form1() override;

  // Replaces the save dialog (tests); null goes back to Qt's. Not owned.
  void fijarSelectorGuardar(SelectorGuardar* selector);
  // Tests: called at every progress report of a straight run with its number (from 1), after
  // the progress dialog had its turn; returning false cancels as "Cancelar" does.
  void fijarGanchoProgresoParaPruebas(std::function<bool(int)> gancho) {
    ganchoProgreso_ = std::move(gancho);
  }

  // Opens a picture file exactly as "Abrir" does after the dialog: on failure a message box
  // says why and the window stays as it was. Returns whether it opened.
  bool abrirFichero(const QString& ruta);

  DatosImagen& datos() { return espacio_.datos(); }
  const DatosImagen& datos() const { return espacio_.datos(); }
  Botonera& botonera() { return *botonera_; }
  SuperficieQImage& superficieImagen() { return imagen_; }
  SuperficieQImage& superficieGris() { return gris_; }
  SuperficieQImage& superficieHistograma() { return histograma_; }
  SuperficieQImage& superficieBinarizada() { return binarizada_; }
  QString tituloBase() const { return tituloBase_; }

  // The commands of the window, as the menus and buttons run them.
  void procesoInicializar();
  void procesoAbrirFichero();
  void procesoEscalaGrises();
  void procesoHistograma();
  void repintaHistograma();
  void procesoEcualizar();
  void procesoBinarizar();
  void procesoPulsarBinarizar();
  void aplicarUmbral();
  void binarizarPasoAPaso();
  // Runs a method of the "Método" tab by its Run button's name, straight or step by step.
  // A straight run reports progress; "Cancelar" ends it with the record's black/white flags
  // and the binarized picture as they were before it.
  void ejecutarMetodo(const QString& boton, bool pasoAPaso);

  // Archivo menu: save the drawn binarized picture or the record's grey levels as PNG, BMP or
  // PGM (by the name's extension); a failure is reported in a "Guardar" box.
  void guardarBinarizada();
  void guardarGris();
  // A trace list's context menu ("Copiar", "Guardar traza..."), owned by the caller.
  QMenu* crearMenuTraza(QListWidget* lista);
  // The selected lines (all when none is selected), joined with "\n", to the clipboard.
  void copiarTraza(QListWidget* lista);
  // Every line followed by "\n", UTF-8.
  void guardarTraza(QListWidget* lista);
  // The status bar text for picture pixel (x, y), empty outside the record.
  QString textoPixel(int x, int y) const;

 protected:
  void dragEnterEvent(QDragEnterEvent* evento) override;
  void dropEvent(QDropEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  class EntornoVentana;
  friend class EntornoVentana;

  // Decodes a picture on a worker thread while the window repaints; input waits.
  ResultadoCarga decodificarSinBloquear(const QString& ruta);
  void crearMenus();
  void crearControles();
  QWidget* crearPaginaImagen();
  QWidget* crearPaginaMetodo();
  QGroupBox* crearMarcoHistograma();
  QGroupBox* crearMarcoBinarizacion();
  // A method's frame from its catalogue row: inputs, Run and Step buttons, trace list.
  QWidget* crearMarcoMetodo(const MetodoCatalogo& metodo);
  void crearControl(const MetodoCatalogo& metodo, const ControlMetodo& control, QWidget* marco,
                    QHBoxLayout* fila, QGridLayout*& mascara);
  // Sets every Enabled and Checked flag of the menus, the tool bar and the scroll bar.
  void actualizarHabilitados();
  void mostrarPanel(int i);
  void mostrarMetodoSimple(int i);
  void alCambiarPestana(int i);
  void cambioUmbral();
  void cambioHScroll1();
  void validarPorcentaje();
  void clicBoton(int i);
  void acercaDe();
  // Opens "Comparar métodos" on a copy of the record; a chosen tile publishes its threshold.
  void compararMetodos();
  // "Evaluar con referencia...": opens a reference picture and scores the binarized picture
  // (and the comparison's tiles) against it from then on.
  void evaluarConReferencia();
  // Shows the scores of the binarized picture as it is now (recomputed only when it changed).
  void actualizarEvaluacion();
  // Runs `accion` so that no exception leaves a slot: a fault becomes a message box.
  void protegido(const std::function<void()>& accion);
  void ceder();
  // Repaints the binarized view: at the next turn of the event loop, or at once (`ya`, for
  // pictures drawn during a run, when the loop may not turn until a prompt is closed).
  void refrescarBinarizada(bool ya = false);
  // The message boxes of a step run, placed beside `junto` (see DialogosQt); null when the
  // window was given scripted boxes.
  std::unique_ptr<DialogosQt> dialogosJunto(std::vector<QWidget*> junto);
  // The grey view's scroll bars follow its zoom and pan.
  void actualizarBarrasGris();
  // The file name a save dialog suggests: the opened picture's base name and `sufijo`.
  QString nombreSugerido(const QString& sufijo) const;
  QString textoControl(const QString& nombre) const;
  // Whether a dropped file may be opened now: no run, no open and no modal box under way.
  bool puedeAbrirArrastrado() const;
  void actualizarPorcentajes(int umbral);
  // Writes `imagen` to `ruta` in the format its extension names; false after a failure box.
  bool guardarImagen(const QImage& imagen, const QString& ruta);
  // "Se ha guardado «x.png»." in the status bar.
  void avisarGuardado(const QString& ruta);
  void fallarGuardar(const QString& ruta, const QString& motivo = QString());
  SelectorGuardar& selectorGuardar() { return *selectorGuardar_; }

  Dialogos& dialogos() { return *dialogos_; }

  QString tituloBase_;
  std::unique_ptr<DialogosQt> dialogosQt_;
  Dialogos* dialogos_;
  std::unique_ptr<SelectorFicheroQt> selectorQt_;
  SelectorFichero* selector_;
  std::unique_ptr<SelectorGuardarQt> selectorGuardarQt_;
  SelectorGuardar* selectorGuardar_;
  std::function<bool(int)> ganchoProgreso_;
  bool enCurso_ = false;   // a straight run with progress is under way
  bool abriendo_ = false;  // a picture is being opened

  SuperficieQImage imagen_;
  SuperficieQImage buffer_;
  SuperficieQImage gris_;
  SuperficieQImage histograma_;
  SuperficieQImage binarizada_;
  EspacioTrabajo espacio_;
  VistaImagen* vistaImagen_ = nullptr;
  VistaImagen* vistaGris_ = nullptr;
  VistaImagen* vistaHistograma_ = nullptr;
  VistaImagen* vistaBinarizada_ = nullptr;

  std::unique_ptr<Botonera> botonera_;
  QWidget* barraBotones_ = nullptr;
  QTabWidget* carpetas_ = nullptr;
  QTabWidget* ssTabSimple_ = nullptr;
  QTableWidget* tablaComponentes_ = nullptr;
  QScrollBar* scrUmbral_ = nullptr;
  QLabel* lblValorUmbral_ = nullptr;
  QLabel* lblValorCantidad_ = nullptr;
  QLabel* lblPorcentajes_ = nullptr;
  QLabel* lblEvaluacion_ = nullptr;
  // What the scores shown were computed for: the reference, the picture's version, or none.
  std::tuple<const Referencia*, quint64, bool> evaluado_{nullptr, 0, false};
  QCheckBox* chkSuperponer_ = nullptr;
  QLineEdit* tpct_ = nullptr;
  QScrollBar* hScroll1_ = nullptr;
  QScrollBar* vScroll2_ = nullptr;
  QScrollBar* hScroll2_ = nullptr;
  bool moviendoBarrasGris_ = false;
  QString nombreAbierto_;  // the opened picture's file name, for suggested save names
  int umbralAlPresionar_ = 0;

  QAction* abrir_ = nullptr;
  QAction* mnuGuardarBinarizada_ = nullptr;
  QAction* mnuGuardarGris_ = nullptr;
  QAction* mnuSalir_ = nullptr;
  QAction* mnuGrises_ = nullptr;
  QAction* mnuHistograma_ = nullptr;
  QAction* mnuEcualizar_ = nullptr;
  QAction* mnuBinarizar_ = nullptr;
  QAction* mnuEstadisticas_ = nullptr;
  QAction* mnuAcerca_ = nullptr;
  QAction* mnuComparar_ = nullptr;
  QAction* mnuEvaluar_ = nullptr;
  QMenu* mnuMetodo_ = nullptr;
  std::vector<QAction*> mnuGen_;
  std::vector<QAction*> mnuAlg_;
  std::vector<QWidget*> marcosMetodo_;  // by Generacion entry; entry 0 is SSTabSimple
  std::vector<QListWidget*> listas_;    // trace list of each catalogue row, or nullptr
};

}  // namespace velarno
