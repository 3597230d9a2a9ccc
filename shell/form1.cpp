#include "shell/form1.h"

#include <algorithm>
#include <cmath>
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
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "image/representaciones.h"
#include "image/transformaciones.h"
#include "methods/binarizacion_paso.h"
#include "methods/edge_pixels.h"
#include "methods/entropy.h"
#include "methods/fuzzy.h"
#include "methods/grey_level.h"
#include "methods/iter_sel.h"
#include "methods/mean.h"
#include "methods/minimum_error.h"
#include "methods/moving_averages.h"
#include "methods/porcentaje.h"
#include "methods/protocolo.h"
#include "methods/regional.h"
#include "methods/relajacion.h"
#include "methods/textos_iniciales.h"
#include "methods/two_peaks.h"
#include "platform/cargador.h"
#include "shell/comparar.h"
#include "shell/frm_about.h"
#include "shell/vista_imagen.h"

namespace velarno {
namespace {

const QColor kFondoHistograma(192, 192, 255);
const QColor kFondoVista(0xd4, 0xd0, 0xc8);

// The hourglass over the whole application while a straight run or an open works; restored
// on every path out.
class CursorOcupado {
 public:
  CursorOcupado() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~CursorOcupado() { QApplication::restoreOverrideCursor(); }
  CursorOcupado(const CursorOcupado&) = delete;
  CursorOcupado& operator=(const CursorOcupado&) = delete;
};

// Shows a carriage return inside a trace item (kept in the stored text) as a line break.
class DelegadoTraza : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QString displayText(const QVariant& valor, const QLocale& local) const override {
    QString texto = QStyledItemDelegate::displayText(valor, local);
    texto.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    texto.replace(QLatin1Char('\r'), QChar::LineSeparator);
    return texto;
  }
};

// A trace item as a text file holds it: a carriage return alone becomes CR LF.
QByteArray lineaGuardada(const QString& item) {
  QByteArray linea = item.toUtf8();
  for (qsizetype i = 0; i < linea.size(); ++i)
    if (linea[i] == '\r' && (i + 1 == linea.size() || linea[i + 1] != '\n'))
      linea.insert(++i, '\n');
  return linea;
}

// A trace list on screen: one item per trace line, kept scrolled to the last line.
class TrazaVentana : public Traza {
 public:
  explicit TrazaVentana(QListWidget* lista) : lista_(lista) {}
  void limpiar() override { lista_->clear(); }
  void agregar(const std::string& linea) override {
    lista_->addItem(QString::fromStdString(linea));
    lista_->scrollToBottom();
  }

 private:
  QListWidget* lista_;
};

QFont fuenteTraza() {
  QFont fuente(QStringLiteral("Courier"));
  fuente.setStyleHint(QFont::TypeWriter);
  fuente.setFixedPitch(true);
  return fuente;
}

QPushButton* boton(const QString& nombre, const QString& texto, QWidget* padre) {
  auto* b = new QPushButton(texto, padre);
  b->setObjectName(nombre);
  return b;
}

QLabel* etiqueta(const QString& nombre, const QString& texto, QWidget* padre) {
  auto* l = new QLabel(texto, padre);
  if (!nombre.isEmpty()) l->setObjectName(nombre);
  return l;
}

QLineEdit* cajaTexto(const QString& nombre, const QString& texto, int ancho, QWidget* padre) {
  auto* caja = new QLineEdit(texto, padre);
  caja->setObjectName(nombre);
  caja->setFixedWidth(ancho);
  return caja;
}

QComboBox* combo(const QString& nombre, const QStringList& elementos, QWidget* padre) {
  auto* c = new QComboBox(padre);
  c->setObjectName(nombre);
  c->setEditable(true);
  c->setInsertPolicy(QComboBox::NoInsert);
  c->addItems(elementos);
  c->setMinimumWidth(120);
  return c;
}

// The progress of a straight run: a modal box with "Cancelar", shown at once for the long
// methods and after half a second for the others. Events are processed only here, at most
// every 50 ms, so the run itself stays as fast as without it.
class ProgresoVentana {
 public:
  ProgresoVentana(QWidget* padre, QString texto, bool inmediato, bool sinFraccion,
                  const std::function<bool(int)>& gancho)
      : padre_(padre),
        texto_(std::move(texto)),
        inmediato_(inmediato),
        sinFraccion_(sinFraccion),
        gancho_(gancho) {
    reloj_.start();
  }

  bool avanzar(double fraccion) {
    ++llamadas_;
    const qint64 ahora = reloj_.elapsed();
    if (!cancelado_ && (llamadas_ == 1 || ahora - ultimo_ >= kIntervaloMs)) {
      ultimo_ = ahora;
      if (!dialogo_ && (inmediato_ || ahora >= kEsperaMs)) mostrar();
      if (dialogo_) {
        if (!sinFraccion_)
          dialogo_->setValue(std::clamp(static_cast<int>(std::lround(fraccion * 1000)), 0, 999));
        QCoreApplication::processEvents();
      }
    }
    if (gancho_ && !gancho_(llamadas_)) cancelado_ = true;
    if (dialogo_ && dialogo_->wasCanceled()) cancelado_ = true;
    return !cancelado_;
  }

 private:
  static constexpr qint64 kIntervaloMs = 50;
  static constexpr qint64 kEsperaMs = 500;

  void mostrar() {
    dialogo_ = std::make_unique<QProgressDialog>(texto_, QStringLiteral("Cancelar"), 0,
                                                 sinFraccion_ ? 0 : 1000, padre_);
    dialogo_->setObjectName(QStringLiteral("progresoMetodo"));
    dialogo_->setWindowTitle(QStringLiteral("Velarno"));
    dialogo_->setWindowModality(Qt::ApplicationModal);
    dialogo_->setAutoClose(false);
    dialogo_->setAutoReset(false);
    dialogo_->setMinimumDuration(0);
    dialogo_->show();
    // The hourglass stays, with an arrow to reach "Cancelar".
    QApplication::changeOverrideCursor(Qt::BusyCursor);
  }

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
// others, in tenths rounded half to even; white is the rest, so the two add up to 100.
QString textoPorcentajes(const DatosImagen& datos, int umbral) {
  int64_t total = 0;
  int64_t negros = 0;
  for (int g = 0; g < kNivelesGris; ++g) {
    total += datos.histograma[static_cast<size_t>(g)];
    if (g < umbral) negros += datos.histograma[static_cast<size_t>(g)];
  }
  if (total <= 0) return {};
  const auto decimas =
      static_cast<int64_t>(std::nearbyint(static_cast<double>(negros) * 1000.0 / total));
  const QString coma = QLocale().decimalPoint();
  const auto porcentaje = [&](int64_t d) {
    return QStringLiteral("%1%2%3 %").arg(d / 10).arg(coma).arg(d % 10);
  };
  return QStringLiteral("Negro: %1  Blanco: %2")
      .arg(porcentaje(decimas), porcentaje(1000 - decimas));
}

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

  DatosImagen& imagen() override { return form_.datos_; }
  Traza& traza() override { return traza_; }
  Dialogos& dialogos() override { return dialogos_ ? *dialogos_ : form_.dialogos(); }
  std::string texto(const std::string& control) const override {
    return form_.textoControl(QString::fromStdString(control)).toStdString();
  }
  char separadorDecimal() const override {
    const QString punto = QLocale().decimalPoint();
    return punto.size() == 1 && punto[0].unicode() < 128 ? static_cast<char>(punto[0].unicode())
                                                         : '.';
  }
  void publicar(int umbral) override {
    form_.scrUmbral_->setValue(umbral);
    form_.aplicarUmbral();
  }
  void dibujarBinarizada() override {
    velarno::dibujarBinarizada(form_.binarizada_, form_.datos_);
    form_.refrescarBinarizada(true);
  }
  bool progreso(double fraccion) override { return !progreso_ || progreso_->avanzar(fraccion); }

 private:
  Form1& form_;
  TrazaVentana traza_;
  ProgresoVentana* progreso_;
  Dialogos* dialogos_;
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
      binarizada_(QImage::Format_Grayscale8, Qt::white) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Segmentación Simple."));
  setWindowIcon(QIcon(QStringLiteral(":/icono.png")));
  metodos_ = {
      {"Frame2", "LMean", "CMean", "CPasoCmean", false, &AlgoritmoMean, nullptr},
      {"Frame1", "LPorc", "CPctFin", "CPasoPct", false, &AlgoritmoPorcentaje, nullptr},
      {"Frame3", "LTwoP", "CTwoPeak", "CTwoPPaso", false, &AlgoritmoTwoPeak, nullptr},
      // Reads CIterSelModo when clicked: exactly "Rapido" runs the fast mode.
      {"FIterSel", "LIterSel", "CIterSel", "CIterSelPaP", false, &ejecutarIterSel, nullptr},
      {"FGl", "LGl", "Command7", "Command8", false, &AlgoritmoGreyLevel, nullptr},
      {"FEntropy", "LEntropy", "Command10", "Command11", false, &AlgoritmoEntropy, nullptr},
      {"FMimErr", "LMimErr", "Command3", "Command4", false, &AlgoritmoMinimumError, nullptr},
      {"FFuzzy", "LFuzzy", "CFuzzy", "CFuzzyPaP", false, &AlgoritmoFuzzy, nullptr},
      {"FEdgeP", "LEdgeP", "Command6", "Command9", false, &AlgoritmoUsingEdgePixels, nullptr},
      {"FThrdd", "LThrdd", "Relax", "CThrddPaP", true, &AlgoritmoThrdd, nullptr},
      {"FRegional", "LRegional", "Command2", "Command5", true, &AlgoritmoRegionalThreshold,
       nullptr},
      {"FRelajacion", "LRelajacion", "Command1", "", true, nullptr, &AlgoritmoRelajacion},
  };

  // The chart's design size until its view is laid out; it then follows the view.
  histograma_.redimensionar(304, 191);
  crearMenus();
  crearControles();
  // Window load: the tool bar, then the no-image state, then the Fuzzy measures.
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
  if (auto* metodoYG = findChild<QComboBox*>(QStringLiteral("metodoYG"))) {
    metodoYG->addItems({QStringLiteral("ENTROPY"), QStringLiteral("FUZZY")});
    metodoYG->setCurrentIndex(0);
  }
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

void Form1::crearMenus() {
  auto accion = [this](QMenu* menu, const QString& nombre, const QString& texto) {
    QAction* a = menu->addAction(texto);
    a->setObjectName(nombre);
    return a;
  };
  QMenu* archivo = menuBar()->addMenu(QStringLiteral("&Archivo"));
  archivo->setObjectName(QStringLiteral("mnuArchivo"));
  abrir_ = accion(archivo, QStringLiteral("abrir"), QStringLiteral("&Abrir"));
  abrir_->setShortcut(QKeySequence(QStringLiteral("Ctrl+A")));
  mnuGuardarBinarizada_ = accion(archivo, QStringLiteral("mnuGuardarBinarizada"),
                                 QStringLiteral("Guardar imagen binarizada..."));
  mnuGuardarGris_ = accion(archivo, QStringLiteral("mnuGuardarGris"),
                           QStringLiteral("Guardar escala de grises..."));
  connect(mnuGuardarBinarizada_, &QAction::triggered, this,
          [this] { protegido([this] { guardarBinarizada(); }); });
  connect(mnuGuardarGris_, &QAction::triggered, this,
          [this] { protegido([this] { guardarGris(); }); });
  archivo->addSeparator();
  mnuSalir_ = accion(archivo, QStringLiteral("mnuSalir"), QStringLiteral("&Salir"));
  mnuSalir_->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
  connect(abrir_, &QAction::triggered, this,
          [this] { protegido([this] { procesoAbrirFichero(); }); });
  connect(mnuSalir_, &QAction::triggered, this, &QWidget::close);

  QMenu* edicion = menuBar()->addMenu(QStringLiteral("&Edición"));
  edicion->setObjectName(QStringLiteral("mnuEdicion"));
  mnuGrises_ = accion(edicion, QStringLiteral("mnuGrises"), QStringLiteral("Escala de grises"));
  mnuHistograma_ = accion(edicion, QStringLiteral("mnuHistograma"), QStringLiteral("Histograma"));
  mnuEcualizar_ =
      accion(edicion, QStringLiteral("mnuEcualizar"), QStringLiteral("Ecualizar el histograma"));
  mnuBinarizar_ =
      accion(edicion, QStringLiteral("mnuBinarizar"), QStringLiteral("Binarizar paso a paso"));
  mnuBinarizar_->setCheckable(true);
  mnuEstadisticas_ =
      accion(edicion, QStringLiteral("mnuEstadisticas"), QStringLiteral("Estadísticas"));
  mnuEstadisticas_->setCheckable(true);
  mnuEstadisticas_->setEnabled(false);
  connect(mnuGrises_, &QAction::triggered, this,
          [this] { protegido([this] { procesoEscalaGrises(); }); });
  connect(mnuHistograma_, &QAction::triggered, this, [this] {
    protegido([this] {
      botonera_->pulsarBoton(2);
      procesoHistograma();
    });
  });
  connect(mnuEcualizar_, &QAction::triggered, this,
          [this] { protegido([this] { procesoEcualizar(); }); });
  // The check mark of this entry is the binarized-view switch; a click steps through the
  // binarization and leaves the switch as it was.
  connect(mnuBinarizar_, &QAction::triggered, this, [this](bool marcado) {
    mnuBinarizar_->setChecked(!marcado);
    protegido([this] { binarizarPasoAPaso(); });
  });

  QMenu* generacion = menuBar()->addMenu(QStringLiteral("Generacion"));
  generacion->setObjectName(QStringLiteral("mnuGeneracion"));
  const QStringList paneles = {QStringLiteral("Simple"),
                               QStringLiteral("Fuzzy"),
                               QStringLiteral("Moving Averages"),
                               QStringLiteral("iterative selection"),
                               QStringLiteral("Relajacion"),
                               QStringLiteral("Regional threshold"),
                               QStringLiteral("Minimum Error"),
                               QStringLiteral("Using Edge Pixel"),
                               QStringLiteral("Method of grey-level histogram"),
                               QStringLiteral("Entropy")};
  for (int i = 0; i < paneles.size(); ++i) {
    QAction* a = accion(generacion, QStringLiteral("mnuGen(%1)").arg(i), paneles[i]);
    a->setCheckable(true);
    a->setChecked(i == 0);
    connect(a, &QAction::triggered, this, [this, i] { protegido([this, i] { mostrarPanel(i); }); });
    mnuGen_.push_back(a);
  }
  generacion->addSeparator();
  mnuComparar_ =
      accion(generacion, QStringLiteral("mnuComparar"), QStringLiteral("Comparar métodos"));
  connect(mnuComparar_, &QAction::triggered, this,
          [this] { protegido([this] { compararMetodos(); }); });

  mnuMetodo_ = menuBar()->addMenu(QStringLiteral("&Método Simple"));
  mnuMetodo_->setObjectName(QStringLiteral("mnuMetodo"));
  const QStringList simples = {QStringLiteral("Algoritmo Mean"),
                               QStringLiteral("Algoritmo Porcentaje"),
                               QStringLiteral("Algoritmo Two Peaks")};
  for (int i = 0; i < simples.size(); ++i) {
    QAction* a = accion(mnuMetodo_, QStringLiteral("mnuAlg(%1)").arg(i), simples[i]);
    a->setCheckable(true);
    a->setChecked(i == 0);
    connect(a, &QAction::triggered, this,
            [this, i] { protegido([this, i] { mostrarMetodoSimple(i); }); });
    mnuAlg_.push_back(a);
  }

  QMenu* ayuda = menuBar()->addMenu(QStringLiteral("Ayuda"));
  ayuda->setObjectName(QStringLiteral("mnuAyuda"));
  mnuAcerca_ = accion(ayuda, QStringLiteral("mnuAcerca"), QStringLiteral("Acerca de..."));
  connect(mnuAcerca_, &QAction::triggered, this, [this] { protegido([this] { acercaDe(); }); });
}

void Form1::crearControles() {
  auto* central = new QWidget(this);
  auto* todo = new QVBoxLayout(central);
  todo->setContentsMargins(0, 0, 0, 4);
  todo->setSpacing(2);

  barraBotones_ = new QWidget(central);
  barraBotones_->setObjectName(QStringLiteral("barraBotones"));
  barraBotones_->setFixedHeight(34);
  todo->addWidget(barraBotones_);

  carpetas_ = new QTabWidget(central);
  carpetas_->setObjectName(QStringLiteral("Carpetas"));
  carpetas_->addTab(crearPaginaImagen(), QStringLiteral("Imagen"));
  carpetas_->addTab(crearPaginaMetodo(), QStringLiteral("Método"));
  connect(carpetas_, &QTabWidget::currentChanged, this,
          [this](int i) { protegido([this, i] { alCambiarPestana(i); }); });

  auto* abajo = new QHBoxLayout;
  abajo->setContentsMargins(4, 0, 4, 0);
  abajo->addWidget(crearMarcoHistograma(), 321);
  abajo->addWidget(crearMarcoBinarizacion(), 337);

  auto* cuerpo = new QVBoxLayout;
  cuerpo->setContentsMargins(3, 0, 3, 0);
  cuerpo->addWidget(carpetas_, 1);
  todo->addLayout(cuerpo, 270);
  todo->addLayout(abajo, 249);
  setCentralWidget(central);
}

QWidget* Form1::crearPaginaImagen() {
  auto* pagina = new QWidget;
  auto* rejilla = new QGridLayout(pagina);

  auto* marcoImagen = new QGroupBox(QStringLiteral("Imagen"), pagina);
  marcoImagen->setObjectName(QStringLiteral("Frames(0)"));
  auto* capaImagen = new QVBoxLayout(marcoImagen);
  vistaImagen_ = new VistaImagen(QStringLiteral("imagen"), imagen_, VistaImagen::Ajuste::Escalar,
                                 kFondoVista, marcoImagen);
  capaImagen->addWidget(vistaImagen_);

  auto* marcoGris = new QGroupBox(QStringLiteral("Escala de grises"), pagina);
  marcoGris->setObjectName(QStringLiteral("Frames(2)"));
  auto* capaGris = new QGridLayout(marcoGris);
  vistaGris_ = new VistaImagen(QStringLiteral("imagenGris"), gris_, VistaImagen::Ajuste::Escalar,
                               kFondoVista, marcoGris);
  // The grey view's scroll bars pan the zoomed picture; they are disabled while it fits.
  vScroll2_ = new QScrollBar(Qt::Vertical, marcoGris);
  vScroll2_->setObjectName(QStringLiteral("VScroll2"));
  hScroll2_ = new QScrollBar(Qt::Horizontal, marcoGris);
  hScroll2_->setObjectName(QStringLiteral("HScroll2"));
  capaGris->addWidget(vistaGris_, 0, 0);
  capaGris->addWidget(vScroll2_, 0, 1);
  capaGris->addWidget(hScroll2_, 1, 0);
  connect(vistaGris_, &VistaImagen::encuadreCambiado, this, &Form1::actualizarBarrasGris);
  for (QScrollBar* barra : {vScroll2_, hScroll2_})
    connect(barra, &QScrollBar::valueChanged, this, [this] {
      if (!moviendoBarrasGris_)
        vistaGris_->desplazarA(QPoint(hScroll2_->value(), vScroll2_->value()));
    });
  actualizarBarrasGris();
  capaGris->setSpacing(0);
  // Paints in red the pixels the current threshold makes black, following the thumb.
  chkSuperponer_ = new QCheckBox(QStringLiteral("Superponer"), marcoGris);
  chkSuperponer_->setObjectName(QStringLiteral("chkSuperponer"));
  capaGris->addWidget(chkSuperponer_, 2, 0, 1, 2);
  connect(chkSuperponer_, &QCheckBox::toggled, this, [this](bool marcado) {
    protegido([this, marcado] { vistaGris_->fijarSuperposicion(marcado, scrUmbral_->value()); });
  });

  tablaComponentes_ = new QTableWidget(0, 3, pagina);
  tablaComponentes_->setObjectName(QStringLiteral("tablaComponentes"));
  // The header captions keep their blanks: they set the column widths.
  tablaComponentes_->setHorizontalHeaderLabels({QStringLiteral("  Numero de puntos   "),
                                                QStringLiteral("   Número de componentes  "),
                                                QStringLiteral("      Ns(t)    ")});
  tablaComponentes_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  tablaComponentes_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tablaComponentes_->verticalHeader()->hide();
  tablaComponentes_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tablaComponentes_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  tablaComponentes_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  tablaComponentes_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  tablaComponentes_->setFixedHeight(tablaComponentes_->horizontalHeader()->sizeHint().height() +
                                    2 * tablaComponentes_->frameWidth());
  tablaComponentes_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

  rejilla->addWidget(marcoImagen, 0, 0);
  rejilla->addWidget(marcoGris, 0, 1);
  rejilla->addWidget(tablaComponentes_, 1, 0, 1, 2, Qt::AlignLeft);
  rejilla->setRowStretch(0, 1);
  return pagina;
}

QWidget* Form1::crearMarcoMetodo(MetodoVentana& metodo, const QString& titulo, bool esPestana,
                                 const std::function<void(QWidget*, QHBoxLayout*)>& entradas) {
  auto* marco = new QGroupBox(esPestana ? QString() : titulo);
  marco->setObjectName(metodo.marco);
  auto* capa = new QVBoxLayout(marco);
  auto* fila = new QHBoxLayout;
  if (entradas) entradas(marco, fila);
  fila->addStretch();
  auto* ejecutar = boton(metodo.ejecutar, QStringLiteral("Ejecutar"), marco);
  fila->addWidget(ejecutar);
  const QString nombreEjecutar = metodo.ejecutar;
  connect(ejecutar, &QPushButton::clicked, this,
          [this, nombreEjecutar] { ejecutarMetodo(nombreEjecutar, false); });
  if (!metodo.paso.isEmpty()) {
    const QString texto = metodo.paso == QLatin1String("CPasoPct") ? QStringLiteral("Paso a Paso")
                                                                   : QStringLiteral("Paso a paso");
    auto* paso = boton(metodo.paso, texto, marco);
    fila->addWidget(paso);
    connect(paso, &QPushButton::clicked, this,
            [this, nombreEjecutar] { ejecutarMetodo(nombreEjecutar, true); });
  }
  capa->addLayout(fila);
  auto* lista = new QListWidget(marco);
  lista->setObjectName(metodo.lista);
  lista->setFont(fuenteTraza());
  lista->setItemDelegate(new DelegadoTraza(lista));
  // Relaxation's items hold a line break; every other list's items are one line high.
  lista->setUniformItemSizes(metodo.funcion != nullptr);
  lista->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lista->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(lista, &QListWidget::customContextMenuRequested, this, [this, lista](const QPoint& p) {
    QMenu* menu = crearMenuTraza(lista);
    menu->exec(lista->viewport()->mapToGlobal(p));
    delete menu;
  });
  capa->addWidget(lista, 1);
  metodo.trazaLista = lista;
  return marco;
}

QWidget* Form1::crearPaginaMetodo() {
  auto* pagina = new QWidget;
  auto* capa = new QVBoxLayout(pagina);
  auto metodo = [this](const char* marco) -> MetodoVentana& {
    for (MetodoVentana& m : metodos_)
      if (m.marco == QLatin1String(marco)) return m;
    Q_ASSERT(false);
    return metodos_.front();
  };

  ssTabSimple_ = new QTabWidget(pagina);
  ssTabSimple_->setObjectName(QStringLiteral("SSTabSimple"));
  ssTabSimple_->addTab(crearMarcoMetodo(metodo("Frame2"), QString(), true, {}),
                       QStringLiteral("Algoritmo Mean"));
  ssTabSimple_->addTab(
      crearMarcoMetodo(metodo("Frame1"), QString(), true,
                       [this](QWidget* marco, QHBoxLayout* fila) {
                         fila->addWidget(etiqueta(QStringLiteral("LMetodo"),
                                                  QStringLiteral("Porcentaje"), marco));
                         tpct_ = cajaTexto(QStringLiteral("Tpct"),
                                           QString::fromLatin1(textoInicial("Tpct")), 60, marco);
                         fila->addWidget(tpct_);
                         hScroll1_ = new QScrollBar(Qt::Horizontal, marco);
                         hScroll1_->setObjectName(QStringLiteral("HScroll1"));
                         hScroll1_->setRange(0, 100);
                         hScroll1_->setValue(50);
                         hScroll1_->setSingleStep(1);
                         hScroll1_->setPageStep(1);
                         hScroll1_->setMinimumWidth(200);
                         fila->addWidget(hScroll1_);
                       }),
      QStringLiteral("Algoritmo Porcentaje"));
  ssTabSimple_->addTab(crearMarcoMetodo(metodo("Frame3"), QString(), true, {}),
                       QStringLiteral("Algoritmo Two Peaks"));
  connect(ssTabSimple_, &QTabWidget::currentChanged, this, [this](int i) {
    protegido([this, i] {
      for (QAction* a : mnuAlg_) a->setChecked(false);
      mnuAlg_[static_cast<size_t>(i)]->setChecked(true);
    });
  });
  connect(tpct_, &QLineEdit::textChanged, this,
          [this] { protegido([this] { validarPorcentaje(); }); });
  // Change of HScroll1: arrows, page clicks and the release of a dragged thumb, not the drag.
  hScroll1_->setTracking(false);
  connect(hScroll1_, &QScrollBar::valueChanged, this,
          [this] { protegido([this] { cambioHScroll1(); }); });
  capa->addWidget(ssTabSimple_, 1);

  auto textoFila = [](QWidget* marco, QHBoxLayout* fila, const char* nombreEtiqueta,
                      const QString& textoEtiqueta, const char* nombreCaja, const QString& texto) {
    fila->addWidget(etiqueta(QString::fromLatin1(nombreEtiqueta), textoEtiqueta, marco));
    return cajaTexto(QString::fromLatin1(nombreCaja), texto, 60, marco);
  };

  // The nine panels of the Generacion menu, entries 1 to 9, in menu order.
  marcosMetodo_ = {
      crearMarcoMetodo(metodo("FFuzzy"), QStringLiteral("Fuzzy"), false,
                       [](QWidget* marco, QHBoxLayout* fila) {
                         auto* c = combo(QStringLiteral("metodoYG"), {}, marco);
                         fila->addWidget(c);
                       }),
      crearMarcoMetodo(metodo("FThrdd"), QStringLiteral("Moving Averages"), false,
                       [this, textoFila](QWidget* marco, QHBoxLayout* fila) {
                         QLineEdit* cpct =
                             textoFila(marco, fila, "Label1", QStringLiteral("Porcentaje:"), "CPct",
                                       QString::fromLatin1(textoInicial("CPct")));
                         fila->addWidget(cpct);
                         // Enter in CPct runs Moving Averages like its Run button.
                         connect(cpct, &QLineEdit::returnPressed, this,
                                 [this] { ejecutarMetodo(QStringLiteral("Relax"), false); });
                       }),
      crearMarcoMetodo(metodo("FIterSel"), QStringLiteral("Iterative Selection"), false,
                       [](QWidget* marco, QHBoxLayout* fila) {
                         fila->addWidget(combo(QStringLiteral("CIterSelModo"),
                                               {QStringLiteral("Rapido"), QStringLiteral("Normal")},
                                               marco));
                       }),
      crearMarcoMetodo(metodo("FRelajacion"), QStringLiteral("Relajacion"), false,
                       [](QWidget* marco, QHBoxLayout* fila) {
                         fila->addWidget(etiqueta(QStringLiteral("Label2"),
                                                  QStringLiteral("Clase de Asignación"), marco));
                         fila->addWidget(
                             combo(QStringLiteral("MetRelajacion"),
                                   {QStringLiteral("Rosenfeld"), QStringLiteral("Parker")}, marco));
                       }),
      crearMarcoMetodo(metodo("FRegional"), QStringLiteral("Regional threshold"), false, {}),
      crearMarcoMetodo(metodo("FMimErr"), QStringLiteral("Miminum Error"), false, {}),
      crearMarcoMetodo(
          metodo("FEdgeP"), QStringLiteral("Using edge pixels"), false,
          [textoFila](QWidget* marco, QHBoxLayout* fila) {
            auto* rejilla = new QGridLayout;
            rejilla->setSpacing(2);
            for (int i = 0; i < 9; ++i)
              rejilla->addWidget(
                  cajaTexto(QStringLiteral("Mask(%1)").arg(i),
                            QString::fromLatin1(textoInicial("Mask(" + std::to_string(i) + ")")),
                            36, marco),
                  i / 3, i % 3);
            fila->addLayout(rejilla);
            fila->addSpacing(12);
            fila->addWidget(textoFila(marco, fila, "Label3", QStringLiteral("Porcentaje"), "PCTeDp",
                                      QString::fromLatin1(textoInicial("PCTeDp"))));
          }),
      crearMarcoMetodo(metodo("FGl"), QStringLiteral("Grey Level"), false, {}),
      crearMarcoMetodo(metodo("FEntropy"), QStringLiteral("Entropy"), false, {}),
  };
  for (QWidget* marco : marcosMetodo_) {
    marco->setParent(pagina);
    marco->hide();
    capa->addWidget(marco, 1);
  }
  return pagina;
}

QGroupBox* Form1::crearMarcoHistograma() {
  auto* marco = new QGroupBox(QStringLiteral("Histograma"));
  marco->setObjectName(QStringLiteral("Frames(1)"));
  auto* capa = new QVBoxLayout(marco);
  vistaHistograma_ = new VistaImagen(QStringLiteral("imagenHistograma"), histograma_,
                                     VistaImagen::Ajuste::Exacto, kFondoHistograma, marco);
  connect(vistaHistograma_, &VistaImagen::redimensionada, this, [this] {
    // The chart scales with its frame: redraw it at the new size once a histogram exists.
    if (scrUmbral_->isEnabled()) {
      dibujarHistograma(histograma_, datos_, static_cast<float>(scrUmbral_->value()));
      vistaHistograma_->actualizar();
    }
  });
  capa->addWidget(vistaHistograma_, 1);
  scrUmbral_ = new QScrollBar(Qt::Horizontal, marco);
  scrUmbral_->setObjectName(QStringLiteral("scrUmbral"));
  scrUmbral_->setRange(0, 255);
  scrUmbral_->setValue(128);
  scrUmbral_->setSingleStep(1);
  scrUmbral_->setPageStep(10);
  capa->addWidget(scrUmbral_);
  auto* fila = new QHBoxLayout;
  fila->addWidget(etiqueta(QString(), QStringLiteral("Umbral: "), marco));
  lblValorUmbral_ = etiqueta(QStringLiteral("lblValorUmbral"), QStringLiteral("valor"), marco);
  lblValorUmbral_->setMinimumWidth(40);
  fila->addWidget(lblValorUmbral_);
  fila->addSpacing(20);
  fila->addWidget(etiqueta(QString(), QStringLiteral("Cantidad:"), marco));
  lblValorCantidad_ = etiqueta(QStringLiteral("lblValorCantidad"), QStringLiteral("valor"), marco);
  lblValorCantidad_->setMinimumWidth(80);
  fila->addWidget(lblValorCantidad_);
  fila->addStretch();
  capa->addLayout(fila);
  // The shares on a line of their own, so the frame keeps its width.
  lblPorcentajes_ = etiqueta(QStringLiteral("lblPorcentajes"), QString(), marco);
  capa->addWidget(lblPorcentajes_);

  // Change: arrows, page clicks, a value set by a method and the release of the thumb.
  // Scroll: while the thumb is dragged, only the chart and the labels follow.
  connect(scrUmbral_, &QScrollBar::valueChanged, this, [this] {
    protegido([this] {
      if (scrUmbral_->isSliderDown())
        repintaHistograma();
      else
        cambioUmbral();
    });
  });
  connect(scrUmbral_, &QScrollBar::sliderPressed, this,
          [this] { umbralAlPresionar_ = scrUmbral_->value(); });
  connect(scrUmbral_, &QScrollBar::sliderReleased, this, [this] {
    protegido([this] {
      if (scrUmbral_->value() != umbralAlPresionar_) cambioUmbral();
    });
  });
  return marco;
}

QGroupBox* Form1::crearMarcoBinarizacion() {
  auto* marco = new QGroupBox(QStringLiteral("Binarización"));
  marco->setObjectName(QStringLiteral("Frames(3)"));
  auto* capa = new QVBoxLayout(marco);
  auto* forma = new QFrame(marco);
  forma->setObjectName(QStringLiteral("Shape1"));
  forma->setFrameShape(QFrame::Box);
  forma->setFrameShadow(QFrame::Sunken);
  auto* capaForma = new QVBoxLayout(forma);
  capaForma->setContentsMargins(2, 2, 2, 2);
  vistaBinarizada_ = new VistaImagen(QStringLiteral("imagenBinarizada"), binarizada_,
                                     VistaImagen::Ajuste::Escalar, kFondoVista, forma);
  capaForma->addWidget(vistaBinarizada_);
  capa->addWidget(forma);
  return marco;
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
  actualizarGuardar();
}

std::unique_ptr<DialogosQt> Form1::dialogosJunto(std::vector<QWidget*> junto) {
  if (dialogos_ != dialogosQt_.get()) return nullptr;
  return std::make_unique<DialogosQt>(this, std::move(junto));
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

void Form1::actualizarGuardar() {
  mnuGuardarGris_->setEnabled(!gris_.vacia() && !vistaGris_->limpia());
  mnuGuardarBinarizada_->setEnabled(!binarizada_.vacia() && !vistaBinarizada_->limpia());
}

void Form1::actualizarPorcentajes(int umbral) {
  lblPorcentajes_->setText(scrUmbral_->isEnabled() ? textoPorcentajes(datos_, umbral) : QString());
  vistaGris_->fijarSuperposicion(chkSuperponer_->isChecked(), umbral);
}

QString Form1::textoControl(const QString& nombre) const {
  if (auto* caja = findChild<QLineEdit*>(nombre)) {
    if (caja->objectName() == nombre) return caja->text();
  }
  if (auto* c = findChild<QComboBox*>(nombre)) return c->currentText();
  return {};
}

void Form1::procesoInicializar() {
  tituloBase_ = QStringLiteral("Velarno");
  setWindowTitle(tituloBase_);
  gris_.vaciar();
  vistaGris_->limpiar();
  histograma_.limpiar();
  vistaHistograma_->limpiar();
  binarizada_.vaciar();
  vistaBinarizada_->limpiar();
  carpetas_->setCurrentIndex(0);
  mnuGrises_->setEnabled(false);
  botonera_->deshabilitarBoton(1);
  mnuHistograma_->setEnabled(false);
  botonera_->deshabilitarBoton(2);
  mnuEcualizar_->setEnabled(false);
  botonera_->deshabilitarBoton(3);
  mnuBinarizar_->setEnabled(false);
  mnuBinarizar_->setChecked(false);
  botonera_->deshabilitarBoton(4);
  mnuEstadisticas_->setEnabled(false);
  mnuEstadisticas_->setChecked(false);
  botonera_->deshabilitarBoton(5);
  mnuComparar_->setEnabled(false);
  botonera_->deshabilitarBoton(Botonera::kComparar);
  lblValorUmbral_->clear();
  lblValorCantidad_->clear();
  scrUmbral_->setEnabled(false);
  tablaComponentes_->setRowCount(0);
  lblPorcentajes_->clear();
  actualizarGuardar();
}

void Form1::procesoAbrirFichero() {
  const std::optional<QString> elegido = selector_->elegir(this);
  if (!elegido || elegido->isEmpty()) return;
  abrirFichero(*elegido);
}

namespace {

// While a picture is decoded off the user-interface thread the window keeps repainting but
// takes no clicks, keys or close requests, so no command can touch the record meanwhile.
class CerrojoEntrada : public QObject {
 public:
  CerrojoEntrada() { qApp->installEventFilter(this); }
  ~CerrojoEntrada() override { qApp->removeEventFilter(this); }
  CerrojoEntrada(const CerrojoEntrada&) = delete;
  CerrojoEntrada& operator=(const CerrojoEntrada&) = delete;

 protected:
  bool eventFilter(QObject*, QEvent* evento) override {
    switch (evento->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::Wheel:
      case QEvent::DragEnter:
      case QEvent::Drop:
      case QEvent::Close:
        evento->ignore();
        return true;
      default:
        return false;
    }
  }
};

}  // namespace

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
  dimensionarImagen(buffer_, datos_);
  // The grey and binarized surfaces hold the whole picture.
  gris_.redimensionar(datos_.ancho, datos_.alto);
  binarizada_.redimensionar(datos_.ancho, datos_.alto);
  vistaBinarizada_->limpiar();
  setWindowTitle(windowTitle() + QStringLiteral(" %1x%2").arg(datos_.ancho).arg(datos_.alto));
  botonera_->habilitarBoton(1);
  mnuGrises_->setEnabled(true);
  procesoEscalaGrises();
  procesoHistograma();
  actualizarGuardar();
  mnuComparar_->setEnabled(true);
  botonera_->habilitarBoton(Botonera::kComparar);
  return true;
}

void Form1::procesoEscalaGrises() {
  botonera_->deshabilitarBoton(1);
  mnuGrises_->setEnabled(false);
  botonera_->boton(1)->repaint();
  leerPixeles(buffer_, datos_);
  ceder();
  dibujarGrises(gris_, datos_);
  vistaGris_->actualizar();
  botonera_->habilitarBoton(2);
  mnuHistograma_->setEnabled(true);
}

void Form1::procesoHistograma() {
  botonera_->deshabilitarBoton(2);
  mnuHistograma_->setEnabled(false);
  botonera_->boton(2)->repaint();
  calcularHistograma(datos_);
  dibujarHistograma(histograma_, datos_, static_cast<float>(scrUmbral_->value()));
  vistaHistograma_->actualizar();
  scrUmbral_->setEnabled(true);
  lblValorUmbral_->setText(QString::number(scrUmbral_->value()));
  lblValorCantidad_->setText(
      QString::number(datos_.histograma[static_cast<size_t>(scrUmbral_->value())]));
  actualizarPorcentajes(scrUmbral_->value());
  if (!mnuBinarizar_->isEnabled()) {
    botonera_->habilitarBoton(4);
    mnuBinarizar_->setEnabled(true);
  }
  botonera_->habilitarBoton(3);
  mnuEcualizar_->setEnabled(true);
}

void Form1::repintaHistograma() {
  const int valor = scrUmbral_->value();
  lblValorUmbral_->setText(QString::number(valor));
  lblValorUmbral_->repaint();
  const QString cantidad = QString::number(datos_.histograma[static_cast<size_t>(valor)]);
  lblValorCantidad_->setText(cantidad);
  lblValorCantidad_->repaint();
  histograma_.limpiar();
  dibujarHistograma(histograma_, datos_, static_cast<float>(valor));
  vistaHistograma_->actualizar();
  lblValorCantidad_->setText(cantidad);
  actualizarPorcentajes(valor);
}

void Form1::procesoEcualizar() {
  ecualizar(datos_);
  dibujarGrises(gris_, datos_);
  vistaGris_->actualizar();
  histograma_.limpiar();
  procesoHistograma();
  mnuEcualizar_->setEnabled(false);
  botonera_->deshabilitarBoton(3);
}

void Form1::aplicarUmbral() {
  binarizar(datos_, scrUmbral_->value());
  velarno::dibujarBinarizada(binarizada_, datos_);
  refrescarBinarizada();
}

void Form1::procesoBinarizar() {
  if (!mnuBinarizar_->isChecked()) return;
  aplicarUmbral();
  ceder();
}

void Form1::procesoPulsarBinarizar() {
  if (!mnuBinarizar_->isChecked()) {
    botonera_->fijarBoton(4);
    mnuBinarizar_->setChecked(true);
    procesoBinarizar();
  } else {
    binarizada_.limpiar();
    vistaBinarizada_->limpiar();
    botonera_->soltarBoton(4);
    mnuBinarizar_->setChecked(false);
    botonera_->deshabilitarBoton(5);
    mnuEstadisticas_->setChecked(false);
    mnuEstadisticas_->setEnabled(false);
    tablaComponentes_->setRowCount(0);
    actualizarGuardar();
  }
}

void Form1::binarizarPasoAPaso() {
  bool pasoAPaso = true;
  // The prompts keep clear of the picture they build, which repaints after every answer.
  std::unique_ptr<DialogosQt> junto = dialogosJunto({vistaBinarizada_});
  binarizar(datos_, scrUmbral_->value(), pasoAPaso, junto ? *junto : dialogos(), binarizada_,
            [this] { refrescarBinarizada(true); });
  velarno::dibujarBinarizada(binarizada_, datos_);
  refrescarBinarizada();
}

void Form1::cambioUmbral() {
  if (!scrUmbral_->isEnabled()) return;
  repintaHistograma();
  aplicarUmbral();
}

void Form1::validarPorcentaje() {
  const std::optional<Mensaje> caja =
      validarTpct(tpct_->text().toStdString(), EntornoVentana(*this, nullptr).separadorDecimal());
  if (caja) dialogos().informar(caja->titulo, caja->texto, caja->estilo);
}

void Form1::cambioHScroll1() {
  tpct_->setText(QString::number(hScroll1_->value()));
  ejecutarMetodo(QStringLiteral("CPctFin"), false);
}

void Form1::ejecutarMetodo(const QString& boton, bool pasoAPaso) {
  protegido([&] {
    for (MetodoVentana& metodo : metodos_) {
      if (metodo.ejecutar != boton) continue;
      if (!metodo.funcion && !metodo.funcionSinPaso) return;
      bool paso = pasoAPaso;
      if (pasoAPaso) {
        // The prompts keep clear of the trace they explain (and of the picture a local method
        // draws as it goes).
        std::unique_ptr<DialogosQt> junto =
            dialogosJunto({metodo.trazaLista, metodo.dibujaLocal ? vistaBinarizada_ : nullptr});
        EntornoVentana entorno(*this, metodo.trazaLista, nullptr, junto.get());
        metodo.funcion(entorno, paso);
        return;
      }
      CursorOcupado reloj;
      // Regional Thresholds and Relaxation show their progress at once; Relaxation's passes
      // have no known count, so its box shows activity only.
      const bool largo = metodo.marco == QLatin1String("FRegional") ||
                         metodo.marco == QLatin1String("FRelajacion");
      auto* marco = findChild<QGroupBox*>(metodo.marco);
      const QString titulo = marco && !marco->title().isEmpty() ? marco->title() : metodo.ejecutar;
      ProgresoVentana progreso(this, QStringLiteral("Ejecutando «%1»…").arg(titulo), largo,
                               metodo.funcionSinPaso != nullptr, ganchoProgreso_);
      EntornoVentana entorno(*this, metodo.trazaLista, &progreso);
      // What a cancelled run must leave as it was: the black/white flags a spatial method may
      // have written and the binarized picture it may have drawn (a shared copy until it is
      // drawn on). Only the spatial methods report progress, so only they can be cancelled.
      const bool espacial = metodo.dibujaLocal;
      std::vector<uint8_t> negroPrevio;
      QImage binarizadaPrevia;
      bool limpiaPrevia = false;
      if (espacial) {
        negroPrevio.assign(datos_.pixeles.planoNegro(),
                           datos_.pixeles.planoNegro() + datos_.pixeles.cantidad());
        binarizadaPrevia = binarizada_.qimage();
        limpiaPrevia = vistaBinarizada_->limpia();
      }
      enCurso_ = true;
      Fin fin;
      try {
        fin =
            metodo.funcionSinPaso ? metodo.funcionSinPaso(entorno) : metodo.funcion(entorno, paso);
      } catch (...) {
        enCurso_ = false;
        throw;
      }
      enCurso_ = false;
      if (fin == Fin::Cancelado && espacial) {
        std::copy(negroPrevio.begin(), negroPrevio.end(), datos_.pixeles.planoNegro());
        if (binarizadaPrevia.isNull())
          binarizada_.vaciar();
        else
          binarizada_.setImagen(binarizadaPrevia);
        if (limpiaPrevia) vistaBinarizada_->limpiar();
        refrescarBinarizada();
      }
      return;
    }
  });
}

void Form1::mostrarPanel(int i) {
  for (QAction* a : mnuGen_) a->setChecked(false);
  mnuGen_[static_cast<size_t>(i)]->setChecked(true);
  ssTabSimple_->hide();
  mnuMetodo_->menuAction()->setVisible(false);
  for (QWidget* marco : marcosMetodo_) marco->hide();
  if (i == 0) {
    ssTabSimple_->show();
    mnuMetodo_->menuAction()->setVisible(true);
  } else {
    marcosMetodo_[static_cast<size_t>(i - 1)]->show();
  }
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
  if (datos_.pixeles.vacia()) return;
  auto* comparar = new VentanaComparar(datos_, scrUmbral_->value(), this);
  connect(comparar, &VentanaComparar::umbralElegido, this, [this](int umbral) {
    protegido([this, umbral] {
      scrUmbral_->setValue(umbral);
      aplicarUmbral();
    });
  });
  comparar->show();
}

void Form1::acercaDe() {
  auto* acerca = new FrmAbout(this);
  acerca->exec();
}

void Form1::guardarGris() {
  const std::optional<QString> ruta =
      selectorGuardar().elegir(this, QStringLiteral("Guardar escala de grises"), filtrosImagen(),
                               nombreSugerido(QStringLiteral("_gris.png")));
  if (!ruta || ruta->isEmpty()) return;
  if (escribirImagen(imagenGrisDe(datos_), *ruta)) avisarGuardado(*ruta);
}

void Form1::guardarBinarizada() {
  const std::optional<QString> ruta =
      selectorGuardar().elegir(this, QStringLiteral("Guardar imagen binarizada"), filtrosImagen(),
                               nombreSugerido(QStringLiteral("_binarizada.png")));
  if (!ruta || ruta->isEmpty()) return;
  if (escribirImagen(binarizada_.qimage(), *ruta)) avisarGuardado(*ruta);
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

bool Form1::escribirImagen(const QImage& imagen, const QString& ruta) {
  const QString extension = QFileInfo(ruta).suffix().toLower();
  if (extension != QLatin1String("png") && extension != QLatin1String("bmp") &&
      extension != QLatin1String("pgm")) {
    fallarGuardar(ruta, QStringLiteral("el nombre debe terminar en .png, .bmp o .pgm."));
    return false;
  }
  CursorOcupado reloj;
  QSaveFile fichero(ruta);
  bool bien = fichero.open(QIODevice::WriteOnly);
  if (bien) {
    QImageWriter escritor(&fichero, extension.toLatin1());
    bien = escritor.write(imagen) && fichero.commit();
  }
  if (!bien) fallarGuardar(ruta);
  return bien;
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
  if (x < 0 || y < 0 || x >= datos_.ancho || y >= datos_.alto || !scrUmbral_->isEnabled())
    return {};
  const int gris = datos_.pixeles.gris(x, y);
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
