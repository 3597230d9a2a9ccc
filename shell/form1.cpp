#include "shell/form1.h"

#include <algorithm>
#include <exception>
#include <thread>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "image/representaciones.h"
#include "methods/protocolo.h"
#include "platform/escritor.h"
#include "shell/ayudas_ventana.h"
#include "shell/comparar.h"
#include "shell/frm_about.h"
#include "shell/vista_imagen.h"

namespace velarno {
namespace {

const QColor kFondoHistograma(192, 192, 255);
const QColor kFondoVista(0xd4, 0xd0, 0xc8);

// A Grayscale8 picture of the record's grey levels.
QImage imagenGrisDe(const DatosImagen& datos) {
  QImage imagen(datos.ancho, datos.alto, QImage::Format_Grayscale8);
  for (int32_t y = 0; y < datos.alto; ++y)
    std::copy_n(datos.pixeles.filaGris(y), datos.ancho, imagen.scanLine(y));
  return imagen;
}

const QStringList& filtrosImagen() {
  static const QStringList filtros = {QStringLiteral("Imágenes PNG (*.png)"),
                                      QStringLiteral("Imágenes BMP (*.bmp)"),
                                      QStringLiteral("Imágenes PGM (*.pgm)")};
  return filtros;
}

}  // namespace

// What a method run may touch in the window.
class Form1::EntornoVentana : public Entorno {
 public:
  EntornoVentana(Form1& form, QListWidget* lista, ProgresoVentana* progreso = nullptr,
                 Dialogos* dialogos = nullptr)
      : form_(form), traza_(lista), progreso_(progreso), dialogos_(dialogos) {}

  DatosImagen& imagen() override { return form_.datos(); }
  Traza& traza() override { return traza_; }
  Dialogos& dialogos() override { return dialogos_ ? *dialogos_ : form_.dialogos(); }
  std::string texto(const std::string& control) const override {
    return form_.textoControl(QString::fromStdString(control)).toStdString();
  }
  char separadorDecimal() const override { return separadorDecimalDelSistema(); }
  void publicar(int umbral) override {
    form_.scrUmbral_->setValue(umbral);
    form_.aplicarUmbral();
  }
  void dibujarBinarizada() override {
    form_.espacio_.dibujarBinarizada();
    // A straight run with a progress box (a long method drawing after every pass) shows its
    // picture at most every kIntervaloDibujoMs; the run's end shows the last one.
    if (progreso_ && reloj_.isValid() && reloj_.elapsed() < kIntervaloDibujoMs) {
      pendiente_ = true;
      return;
    }
    reloj_.start();
    pendiente_ = false;
    form_.refrescarBinarizada(true);
  }
  bool progreso(double fraccion) override { return !progreso_ || progreso_->avanzar(fraccion); }
  // Whether a drawing has not been shown yet.
  bool dibujoPendiente() const { return pendiente_; }

 private:
  static constexpr qint64 kIntervaloDibujoMs = 200;
  Form1& form_;
  TrazaVentana traza_;
  ProgresoVentana* progreso_;
  Dialogos* dialogos_;
  QElapsedTimer reloj_;
  bool pendiente_ = false;
};

Form1::Form1(Dialogos* dialogos, SelectorFichero* selector, QWidget* padre)
    : QMainWindow(padre),
      dialogosQt_(dialogos ? nullptr : std::make_unique<DialogosQt>(this)),
      dialogos_(dialogos ? dialogos : dialogosQt_.get()),
      selectorQt_(selector ? nullptr : std::make_unique<SelectorFicheroQt>()),
      selector_(selector ? selector : selectorQt_.get()),
      selectorGuardarQt_(std::make_unique<SelectorGuardarQt>()),
      selectorGuardar_(selectorGuardarQt_.get()),
      imagen_(QImage::Format_RGB32, kFondoVista),
      buffer_(QImage::Format_RGB32, kFondoVista),
      gris_(QImage::Format_Grayscale8, Qt::white),
      histograma_(QImage::Format_RGB32, kFondoHistograma),
      binarizada_(QImage::Format_Grayscale8, Qt::white),
      espacio_(gris_, binarizada_) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Segmentación Simple."));
  setWindowIcon(QIcon(QStringLiteral(":/icono.png")));
  // The chart's design size until its view is laid out; it then follows the view.
  histograma_.redimensionar(304, 191);
  crearMenus();
  crearControles();
  // Window load: the tool bar, then the no-image state.
  botonera_ = std::make_unique<Botonera>(barraBotones_);
  for (int i = 0; i < Botonera::kBotones; ++i)
    connect(botonera_->boton(i), &BotonImagen::pulsado, this, &Form1::clicBoton);
  connect(botonera_->boton(Botonera::kComparar), &BotonImagen::pulsado, this, [this] {
    protegido([this] {
      botonera_->pulsarBoton(Botonera::kComparar);
      compararMetodos();
    });
  });
  procesoInicializar();
  setAcceptDrops(true);
  statusBar()->setObjectName(QStringLiteral("barraEstado"));
  for (VistaImagen* vista : {vistaImagen_, vistaGris_, vistaBinarizada_})
    connect(vista, &VistaImagen::punteroSobre, this,
            [this](int x, int y) { statusBar()->showMessage(textoPixel(x, y)); });
  resize(695, 565 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

Form1::~Form1() = default;

void Form1::fijarSelectorGuardar(SelectorGuardar* selector) {
  selectorGuardar_ = selector ? selector : selectorGuardarQt_.get();
}

void Form1::protegido(const std::function<void()>& accion) {
  try {
    accion();
  } catch (const std::bad_alloc&) {
    dialogos().informar("Error", "No hay memoria suficiente para completar la operación.",
                        kEstiloExclamacion);
  } catch (const std::exception& e) {
    dialogos().informar("Error", std::string("Se produjo un error inesperado: ") + e.what(),
                        kEstiloExclamacion);
  }
}

void Form1::ceder() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

void Form1::refrescarBinarizada(bool ya) {
  if (ya)
    vistaBinarizada_->repaint();
  else
    vistaBinarizada_->actualizar();
  mnuGuardarBinarizada_->setEnabled(espacio_.habilitados().guardarBinarizada);
  actualizarEvaluacion();
}

std::unique_ptr<DialogosQt> Form1::dialogosJunto(std::vector<QWidget*> junto) {
  if (dialogos_ != dialogosQt_.get()) return nullptr;
  return std::make_unique<DialogosQt>(this, std::move(junto));
}

void Form1::actualizarHabilitados() {
  const Habilitados h = espacio_.habilitados();
  const auto boton = [this](int i, bool habilitado) {
    if (habilitado)
      botonera_->habilitarBoton(i);
    else
      botonera_->deshabilitarBoton(i);
  };
  mnuGrises_->setEnabled(h.grises);
  boton(1, h.grises);
  mnuHistograma_->setEnabled(h.histograma);
  boton(2, h.histograma);
  mnuEcualizar_->setEnabled(h.ecualizar);
  boton(3, h.ecualizar);
  mnuBinarizar_->setEnabled(h.binarizar);
  mnuBinarizar_->setChecked(h.vistaBinarizada);
  if (h.binarizar && h.vistaBinarizada)
    botonera_->fijarBoton(4);
  else
    boton(4, h.binarizar);
  mnuEstadisticas_->setEnabled(h.estadisticas);
  mnuEstadisticas_->setChecked(false);
  boton(5, h.estadisticas);
  scrUmbral_->setEnabled(h.umbral);
  mnuComparar_->setEnabled(h.comparar);
  boton(Botonera::kComparar, h.comparar);
  mnuEvaluar_->setEnabled(h.evaluar);
  mnuGuardarGris_->setEnabled(h.guardarGris);
  mnuGuardarBinarizada_->setEnabled(h.guardarBinarizada);
}

void Form1::actualizarPorcentajes(int umbral) {
  lblPorcentajes_->setText(scrUmbral_->isEnabled() ? textoPorcentajes(datos(), umbral) : QString());
  vistaGris_->fijarSuperposicion(chkSuperponer_->isChecked(), umbral);
}

void Form1::procesoInicializar() {
  tituloBase_ = QStringLiteral("Velarno");
  setWindowTitle(tituloBase_);
  espacio_.inicializar();
  gris_.vaciar();
  vistaGris_->limpiar();
  histograma_.limpiar();
  vistaHistograma_->limpiar();
  binarizada_.vaciar();
  vistaBinarizada_->limpiar();
  carpetas_->setCurrentIndex(0);
  lblValorUmbral_->clear();
  lblValorCantidad_->clear();
  tablaComponentes_->setRowCount(0);
  lblPorcentajes_->clear();
  actualizarHabilitados();
}

bool Form1::abrirFichero(const QString& ruta) {
  // Decode first: a file that cannot be read leaves the window exactly as it was.
  struct FinAbrir {
    bool& abriendo;
    ~FinAbrir() { abriendo = false; }
  } finAbrir{abriendo_};
  abriendo_ = true;
  ResultadoCarga carga = decodificarSinBloquear(ruta);
  if (!carga.ok()) {
    dialogos().informar("Abrir", carga.error.toStdString(), kEstiloExclamacion);
    return false;
  }
  CursorOcupado reloj;
  procesoInicializar();
  buffer_.setImagen(carga.imagen);
  imagen_.setImagen(carga.imagen);
  vistaImagen_->actualizar();
  carga.imagen = QImage();
  nombreAbierto_ = QFileInfo(ruta).fileName();
  setWindowTitle(tituloBase_ + QStringLiteral(" - ") + nombreAbierto_);
  ceder();
  espacio_.dimensionar(buffer_);
  // The grey and binarized surfaces hold the whole picture.
  gris_.redimensionar(datos().ancho, datos().alto);
  binarizada_.redimensionar(datos().ancho, datos().alto);
  vistaBinarizada_->limpiar();
  setWindowTitle(windowTitle() + QStringLiteral(" %1x%2").arg(datos().ancho).arg(datos().alto));
  actualizarHabilitados();
  procesoEscalaGrises();
  procesoHistograma();
  return true;
}

void Form1::procesoEscalaGrises() {
  // The disabled button shows while the pixels are read.
  botonera_->deshabilitarBoton(1);
  mnuGrises_->setEnabled(false);
  botonera_->boton(1)->repaint();
  espacio_.leerGrises(buffer_);
  ceder();
  espacio_.dibujarGris();
  vistaGris_->actualizar();
  actualizarHabilitados();
}

void Form1::procesoHistograma() {
  botonera_->deshabilitarBoton(2);
  mnuHistograma_->setEnabled(false);
  botonera_->boton(2)->repaint();
  espacio_.calcularHistograma();
  dibujarHistograma(histograma_, datos(), static_cast<float>(scrUmbral_->value()));
  vistaHistograma_->actualizar();
  actualizarHabilitados();
  lblValorUmbral_->setText(QString::number(scrUmbral_->value()));
  lblValorCantidad_->setText(
      QString::number(datos().histograma[static_cast<size_t>(scrUmbral_->value())]));
  actualizarPorcentajes(scrUmbral_->value());
}

void Form1::procesoEcualizar() {
  espacio_.ecualizar();
  vistaGris_->actualizar();
  histograma_.limpiar();
  procesoHistograma();
}

void Form1::aplicarUmbral() {
  espacio_.fijarUmbral(scrUmbral_->value());
  espacio_.aplicarUmbral();
  refrescarBinarizada();
}

void Form1::procesoBinarizar() {
  if (!espacio_.habilitados().vistaBinarizada) return;
  aplicarUmbral();
  ceder();
}

void Form1::procesoPulsarBinarizar() {
  espacio_.fijarUmbral(scrUmbral_->value());
  espacio_.alternarVistaBinarizada();
  actualizarHabilitados();
  if (espacio_.habilitados().vistaBinarizada) {
    refrescarBinarizada();
    ceder();
  } else {
    vistaBinarizada_->limpiar();
    tablaComponentes_->setRowCount(0);
  }
}

void Form1::binarizarPasoAPaso() {
  // The prompts keep clear of the picture they build, which repaints after every answer.
  std::unique_ptr<DialogosQt> junto = dialogosJunto({vistaBinarizada_});
  espacio_.fijarUmbral(scrUmbral_->value());
  espacio_.binarizarPasoAPaso(junto ? *junto : dialogos(), [this] { refrescarBinarizada(true); });
  refrescarBinarizada();
}

void Form1::validarPorcentaje() {
  const std::optional<Mensaje> caja =
      validarTpct(tpct_->text().toStdString(), separadorDecimalDelSistema());
  if (caja) dialogos().informar(caja->titulo, caja->texto, caja->estilo);
}

void Form1::ejecutarMetodo(const QString& boton, bool pasoAPaso) {
  protegido([&] {
    const MetodoCatalogo* metodo = metodoPorBoton(boton.toStdString());
    if (!metodo) return;
    QListWidget* lista = listas_[indiceCatalogo(*metodo)];
    if (pasoAPaso) {
      // The prompts keep clear of the trace they explain (and of the picture a local method
      // draws as it goes).
      std::unique_ptr<DialogosQt> junto =
          dialogosJunto({lista, metodo->dibujaLocal ? vistaBinarizada_ : nullptr});
      EntornoVentana entorno(*this, lista, nullptr, junto.get());
      espacio_.ejecutar(*metodo, entorno, true);
      return;
    }
    CursorOcupado reloj;
    ProgresoVentana progreso(
        this, QStringLiteral("Ejecutando «%1»…").arg(QString::fromUtf8(metodo->titulo)),
        metodo->progresoInmediato, metodo->progresoSinFraccion, ganchoProgreso_);
    EntornoVentana entorno(*this, lista, &progreso);
    // The binarized picture as it was (a shared copy until it is drawn on) and whether the
    // view showed it, for a cancelled run to give back.
    QImage binarizadaPrevia;
    bool limpiaPrevia = false;
    const EspacioTrabajo::Instantanea dibujo{[&] {
                                               binarizadaPrevia = binarizada_.qimage();
                                               limpiaPrevia = vistaBinarizada_->limpia();
                                             },
                                             [&] {
                                               if (binarizadaPrevia.isNull())
                                                 binarizada_.vaciar();
                                               else
                                                 binarizada_.setImagen(binarizadaPrevia);
                                               if (limpiaPrevia) vistaBinarizada_->limpiar();
                                               refrescarBinarizada();
                                             }};
    struct FinCurso {
      bool& enCurso;
      ~FinCurso() { enCurso = false; }
    } finCurso{enCurso_};
    enCurso_ = true;
    if (espacio_.ejecutar(*metodo, entorno, false, &dibujo) != Fin::Cancelado &&
        entorno.dibujoPendiente())
      refrescarBinarizada();
  });
}

void Form1::mostrarPanel(int i) {
  for (QAction* a : mnuGen_) a->setChecked(false);
  mnuGen_[static_cast<size_t>(i)]->setChecked(true);
  for (QWidget* marco : marcosMetodo_) marco->hide();
  mnuMetodo_->menuAction()->setVisible(i == 0);
  marcosMetodo_[static_cast<size_t>(i)]->show();
}

void Form1::guardarGris() {
  const std::optional<QString> ruta =
      selectorGuardar().elegir(this, QStringLiteral("Guardar escala de grises"), filtrosImagen(),
                               nombreSugerido(QStringLiteral("_gris.png")));
  if (!ruta || ruta->isEmpty()) return;
  if (guardarImagen(imagenGrisDe(datos()), *ruta)) avisarGuardado(*ruta);
}

void Form1::guardarBinarizada() {
  const std::optional<QString> ruta =
      selectorGuardar().elegir(this, QStringLiteral("Guardar imagen binarizada"), filtrosImagen(),
                               nombreSugerido(QStringLiteral("_binarizada.png")));
  if (!ruta || ruta->isEmpty()) return;
  if (guardarImagen(binarizada_.qimage(), *ruta)) avisarGuardado(*ruta);
}

bool Form1::guardarImagen(const QImage& imagen, const QString& ruta) {
  const std::optional<FormatoImagen> formato = formatoPorExtension(ruta);
  if (!formato) {
    fallarGuardar(ruta, QStringLiteral("el nombre debe terminar en .png, .bmp o .pgm."));
    return false;
  }
  CursorOcupado reloj;
  const bool bien = escribirImagen(imagen, ruta, *formato);
  if (!bien) fallarGuardar(ruta);
  return bien;
}

void Form1::actualizarBarrasGris() {
  const VistaImagen::Encuadre e = vistaGris_->encuadre();
  moviendoBarrasGris_ = true;
  const auto fijar = [](QScrollBar* barra, int total, int visible, int posicion) {
    const int maximo = std::max(0, total - visible);
    barra->setRange(0, maximo);
    barra->setPageStep(std::max(1, visible));
    barra->setSingleStep(std::max(1, visible / 20));
    barra->setValue(posicion);
    barra->setEnabled(maximo > 0);
  };
  fijar(hScroll2_, e.total.width(), e.visible.width(), e.posicion.x());
  fijar(vScroll2_, e.total.height(), e.visible.height(), e.posicion.y());
  moviendoBarrasGris_ = false;
}

QString Form1::textoControl(const QString& nombre) const {
  if (auto* caja = findChild<QLineEdit*>(nombre)) {
    if (caja->objectName() == nombre) return caja->text();
  }
  if (auto* c = findChild<QComboBox*>(nombre)) return c->currentText();
  return {};
}

void Form1::procesoAbrirFichero() {
  const std::optional<QString> elegido = selector_->elegir(this);
  if (!elegido || elegido->isEmpty()) return;
  abrirFichero(*elegido);
}

ResultadoCarga Form1::decodificarSinBloquear(const QString& ruta) {
  CursorOcupado reloj;
  CerrojoEntrada cerrojo;
  // A busy box appears only when decoding takes a while.
  QProgressDialog espera(QStringLiteral("Abriendo «%1»…").arg(QFileInfo(ruta).fileName()),
                         QString(), 0, 0, this);
  espera.setObjectName(QStringLiteral("esperaAbrir"));
  espera.setWindowTitle(QStringLiteral("Velarno"));
  espera.setCancelButton(nullptr);
  espera.setMinimumDuration(400);
  ResultadoCarga resultado;
  QEventLoop bucle;
  std::thread decodificador([&] {
    try {
      resultado = decodificarImagen(ruta);
    } catch (const std::bad_alloc&) {
      resultado.error = QStringLiteral("No hay memoria suficiente para abrir «%1».")
                            .arg(QFileInfo(ruta).fileName());
    }
    QMetaObject::invokeMethod(&bucle, &QEventLoop::quit, Qt::QueuedConnection);
  });
  bucle.exec();
  decodificador.join();
  return resultado;
}

void Form1::repintaHistograma() {
  const int valor = scrUmbral_->value();
  lblValorUmbral_->setText(QString::number(valor));
  lblValorUmbral_->repaint();
  const QString cantidad = QString::number(datos().histograma[static_cast<size_t>(valor)]);
  lblValorCantidad_->setText(cantidad);
  lblValorCantidad_->repaint();
  histograma_.limpiar();
  dibujarHistograma(histograma_, datos(), static_cast<float>(valor));
  vistaHistograma_->actualizar();
  lblValorCantidad_->setText(cantidad);
  actualizarPorcentajes(valor);
}

void Form1::cambioUmbral() {
  if (!scrUmbral_->isEnabled()) return;
  repintaHistograma();
  aplicarUmbral();
}

void Form1::cambioHScroll1() {
  tpct_->setText(QString::number(hScroll1_->value()));
  ejecutarMetodo(QStringLiteral("CPctFin"), false);
}

void Form1::mostrarMetodoSimple(int i) {
  for (QAction* a : mnuAlg_) a->setChecked(false);
  mnuAlg_[static_cast<size_t>(i)]->setChecked(true);
  ssTabSimple_->setCurrentIndex(i);
}

void Form1::alCambiarPestana(int i) {
  if (i == 1 && imagen_.vacia()) {
    dialogos().informar("Error", "No puede aplicar un método si no selecciona antes una imagen.",
                        kEstiloExclamacion);
    carpetas_->setCurrentIndex(0);
  }
}

void Form1::clicBoton(int i) {
  protegido([this, i] {
    switch (i) {
      case 0:
        botonera_->pulsarBoton(0);
        procesoAbrirFichero();
        break;
      case 1:
        botonera_->pulsarBoton(1);
        procesoEscalaGrises();
        break;
      case 2:
        botonera_->pulsarBoton(2);
        procesoHistograma();
        break;
      case 3:
        botonera_->pulsarBoton(3);
        procesoEcualizar();
        break;
      case 4:
        procesoPulsarBinarizar();
        break;
      default:
        break;
    }
  });
}

void Form1::compararMetodos() {
  if (datos().pixeles.vacia()) return;
  auto* comparar = new VentanaComparar(datos(), scrUmbral_->value(), this, espacio_.referencia());
  connect(comparar, &VentanaComparar::umbralElegido, this, [this](int umbral) {
    protegido([this, umbral] {
      scrUmbral_->setValue(umbral);
      aplicarUmbral();
    });
  });
  comparar->show();
}

void Form1::evaluarConReferencia() {
  if (!espacio_.habilitados().evaluar) return;
  const std::optional<QString> ruta = selector_->elegir(this);
  if (!ruta || ruta->isEmpty()) return;
  ResultadoCarga carga = decodificarSinBloquear(*ruta);
  std::string error = carga.error.toStdString();
  if (carga.ok()) {
    SuperficieQImage cargada(QImage::Format_RGB32, Qt::white);
    cargada.setImagen(carga.imagen);
    carga.imagen = QImage();
    error = espacio_.fijarReferencia(cargada, QFileInfo(*ruta).fileName().toStdString());
  }
  if (!error.empty()) {
    dialogos().informar("Evaluar con referencia", error, kEstiloExclamacion);
    return;
  }
  actualizarEvaluacion();
}

void Form1::actualizarEvaluacion() {
  const Referencia* referencia = espacio_.referencia().get();
  const bool limpia = vistaBinarizada_->limpia();
  const auto clave = std::make_tuple(referencia, binarizada_.version(), limpia);
  if (clave == evaluado_) return;
  evaluado_ = clave;
  lblEvaluacion_->setVisible(referencia != nullptr);
  if (!referencia) return;
  const QImage& dibujo = binarizada_.qimage();
  QStringList lineas{
      QStringLiteral("Referencia «%1»").arg(QString::fromStdString(referencia->nombre))};
  if (limpia) {
    lineas << textoEvaluacion(std::nullopt);
  } else {
    const ResultadoEvaluacion r =
        evaluarContra(*referencia, dibujo.constBits(), static_cast<size_t>(dibujo.bytesPerLine()),
                      dibujo.width(), dibujo.height());
    lineas << (r.ok() ? textoEvaluacion(r.evaluacion) : QString::fromStdString(r.error));
  }
  lblEvaluacion_->setText(lineas.join(QLatin1Char('\n')));
}

void Form1::acercaDe() {
  auto* acerca = new FrmAbout(this);
  acerca->exec();
}

QString Form1::nombreSugerido(const QString& sufijo) const {
  const QString base = QFileInfo(nombreAbierto_).completeBaseName();
  return (base.isEmpty() ? QStringLiteral("imagen") : base) + sufijo;
}

void Form1::avisarGuardado(const QString& ruta) {
  statusBar()->showMessage(
      QStringLiteral("Se ha guardado «%1».").arg(QDir::toNativeSeparators(ruta)));
}

void Form1::fallarGuardar(const QString& ruta, const QString& motivo) {
  const QString texto =
      QStringLiteral("No se puede escribir el fichero «%1»").arg(QFileInfo(ruta).fileName()) +
      (motivo.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + motivo);
  dialogos().informar("Guardar", texto.toStdString(), kEstiloExclamacion);
}

QMenu* Form1::crearMenuTraza(QListWidget* lista) {
  auto* menu = new QMenu(lista);
  menu->setObjectName(QStringLiteral("menuTraza"));
  QAction* copiar = menu->addAction(QStringLiteral("Copiar"));
  copiar->setObjectName(QStringLiteral("copiarTraza"));
  QAction* guardar = menu->addAction(QStringLiteral("Guardar traza..."));
  guardar->setObjectName(QStringLiteral("guardarTraza"));
  copiar->setEnabled(lista->count() > 0);
  guardar->setEnabled(lista->count() > 0);
  connect(copiar, &QAction::triggered, this,
          [this, lista] { protegido([this, lista] { copiarTraza(lista); }); });
  connect(guardar, &QAction::triggered, this,
          [this, lista] { protegido([this, lista] { guardarTraza(lista); }); });
  return menu;
}

void Form1::copiarTraza(QListWidget* lista) {
  QStringList lineas;
  const bool todas = lista->selectedItems().isEmpty();
  for (int i = 0; i < lista->count(); ++i)
    if (todas || lista->item(i)->isSelected())
      lineas << QString::fromUtf8(lineaGuardada(lista->item(i)->text()));
  QApplication::clipboard()->setText(lineas.join(QLatin1Char('\n')));
}

void Form1::guardarTraza(QListWidget* lista) {
  const std::optional<QString> ruta = selectorGuardar().elegir(
      this, QStringLiteral("Guardar traza"),
      {QStringLiteral("Archivos de texto (*.txt)"), QStringLiteral("Todos los archivos (*)")},
      nombreSugerido(QStringLiteral("_traza.txt")));
  if (!ruta || ruta->isEmpty()) return;
  QByteArray texto;
  for (int i = 0; i < lista->count(); ++i) {
    texto += lineaGuardada(lista->item(i)->text());
    texto += '\n';
  }
  QSaveFile fichero(*ruta);
  if (!fichero.open(QIODevice::WriteOnly) || fichero.write(texto) != texto.size() ||
      !fichero.commit())
    fallarGuardar(*ruta);
  else
    avisarGuardado(*ruta);
}

QString Form1::textoPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= datos().ancho || y >= datos().alto || !scrUmbral_->isEnabled())
    return {};
  const int gris = datos().pixeles.gris(x, y);
  // Black or white as the binarized view shows it; before it shows a picture, by the rule.
  bool negro = gris < scrUmbral_->value();
  const QImage& binarizada = binarizada_.qimage();
  if (!vistaBinarizada_->limpia() && x < binarizada.width() && y < binarizada.height())
    negro = binarizada.constScanLine(y)[x] == 0;
  return QStringLiteral("x: %1  y: %2  gris: %3  %4")
      .arg(x)
      .arg(y)
      .arg(gris)
      .arg(negro ? QStringLiteral("negro") : QStringLiteral("blanco"));
}

namespace {

// The first local file of a drag, or empty.
QString ficheroArrastrado(const QMimeData* datos) {
  if (!datos || !datos->hasUrls()) return {};
  for (const QUrl& url : datos->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}

}  // namespace

bool Form1::puedeAbrirArrastrado() const {
  return !enCurso_ && !abriendo_ && !QApplication::activeModalWidget();
}

void Form1::dragEnterEvent(QDragEnterEvent* evento) {
  if (puedeAbrirArrastrado() && !ficheroArrastrado(evento->mimeData()).isEmpty())
    evento->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* evento) {
  const QString ruta = ficheroArrastrado(evento->mimeData());
  if (!puedeAbrirArrastrado() || ruta.isEmpty()) return;
  evento->acceptProposedAction();
  // Opened after the drop is finished, so the program the file came from is not kept waiting;
  // a second drop meanwhile is dropped.
  QTimer::singleShot(0, this, [this, ruta] {
    if (puedeAbrirArrastrado()) protegido([this, ruta] { abrirFichero(ruta); });
  });
}

void Form1::closeEvent(QCloseEvent* evento) {
  if (enCurso_) {
    evento->ignore();
    return;
  }
  QMainWindow::closeEvent(evento);
}

}  // namespace velarno
