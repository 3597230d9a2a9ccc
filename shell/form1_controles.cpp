// The window's controls: menus, tool bar strip, the "Imagen" page, the method frames built
// from the catalogue, the histogram and binarization frames, and their signal wiring.
#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "image/representaciones.h"
#include "shell/ayudas_ventana.h"
#include "shell/form1.h"
#include "shell/vista_imagen.h"

namespace velarno {
namespace {

const QColor kFondoHistograma(192, 192, 255);
const QColor kFondoVista(0xd4, 0xd0, 0xc8);

QFont fuenteTraza() {
  QFont fuente(QStringLiteral("Courier"));
  fuente.setStyleHint(QFont::TypeWriter);
  fuente.setFixedPitch(true);
  return fuente;
}

// The catalogue rows shown by Generacion entry `panel`, in tab order.
std::vector<const MetodoCatalogo*> filasDelPanel(int panel) {
  std::vector<const MetodoCatalogo*> filas;
  for (const MetodoCatalogo& m : catalogo())
    if (m.panel == panel) filas.push_back(&m);
  std::sort(filas.begin(), filas.end(), [](const MetodoCatalogo* a, const MetodoCatalogo* b) {
    return a->pestana < b->pestana;
  });
  return filas;
}

int ultimoPanel() {
  int ultimo = 0;
  for (const MetodoCatalogo& m : catalogo()) ultimo = std::max(ultimo, m.panel);
  return ultimo;
}

}  // namespace

void Form1::crearMenus() {
  auto accion = [this](QMenu* menu, const QString& nombre, const QString& texto) {
    QAction* a = menu->addAction(texto);
    a->setObjectName(nombre);
    return a;
  };
  auto conectar = [this](QAction* a, std::function<void()> orden) {
    connect(a, &QAction::triggered, this, [this, orden] { protegido(orden); });
  };
  QMenu* archivo = menuBar()->addMenu(QStringLiteral("&Archivo"));
  archivo->setObjectName(QStringLiteral("mnuArchivo"));
  abrir_ = accion(archivo, QStringLiteral("abrir"), QStringLiteral("&Abrir"));
  abrir_->setShortcut(QKeySequence(QStringLiteral("Ctrl+A")));
  conectar(abrir_, [this] { procesoAbrirFichero(); });
  mnuGuardarBinarizada_ = accion(archivo, QStringLiteral("mnuGuardarBinarizada"),
                                 QStringLiteral("Guardar imagen binarizada..."));
  conectar(mnuGuardarBinarizada_, [this] { guardarBinarizada(); });
  mnuGuardarGris_ = accion(archivo, QStringLiteral("mnuGuardarGris"),
                           QStringLiteral("Guardar escala de grises..."));
  conectar(mnuGuardarGris_, [this] { guardarGris(); });
  archivo->addSeparator();
  mnuSalir_ = accion(archivo, QStringLiteral("mnuSalir"), QStringLiteral("&Salir"));
  mnuSalir_->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
  connect(mnuSalir_, &QAction::triggered, this, &QWidget::close);

  QMenu* edicion = menuBar()->addMenu(QStringLiteral("&Edición"));
  edicion->setObjectName(QStringLiteral("mnuEdicion"));
  mnuGrises_ = accion(edicion, QStringLiteral("mnuGrises"), QStringLiteral("Escala de grises"));
  conectar(mnuGrises_, [this] { procesoEscalaGrises(); });
  mnuHistograma_ = accion(edicion, QStringLiteral("mnuHistograma"), QStringLiteral("Histograma"));
  conectar(mnuHistograma_, [this] {
    botonera_->pulsarBoton(2);
    procesoHistograma();
  });
  mnuEcualizar_ =
      accion(edicion, QStringLiteral("mnuEcualizar"), QStringLiteral("Ecualizar el histograma"));
  conectar(mnuEcualizar_, [this] { procesoEcualizar(); });
  mnuBinarizar_ =
      accion(edicion, QStringLiteral("mnuBinarizar"), QStringLiteral("Binarizar paso a paso"));
  mnuBinarizar_->setCheckable(true);
  // The check mark of this entry is the binarized-view switch; a click steps through the
  // binarization and leaves the switch as it was.
  connect(mnuBinarizar_, &QAction::triggered, this, [this](bool marcado) {
    mnuBinarizar_->setChecked(!marcado);
    protegido([this] { binarizarPasoAPaso(); });
  });
  mnuEstadisticas_ =
      accion(edicion, QStringLiteral("mnuEstadisticas"), QStringLiteral("Estadísticas"));
  mnuEstadisticas_->setCheckable(true);

  // Generacion: "Simple" (the three simple methods' tabs), then one entry per method frame.
  QMenu* generacion = menuBar()->addMenu(QStringLiteral("Generacion"));
  generacion->setObjectName(QStringLiteral("mnuGeneracion"));
  for (int i = 0; i <= ultimoPanel(); ++i) {
    const QString texto =
        i == 0 ? QStringLiteral("Simple") : QString::fromUtf8(filasDelPanel(i).front()->menu);
    QAction* a = accion(generacion, QStringLiteral("mnuGen(%1)").arg(i), texto);
    a->setCheckable(true);
    a->setChecked(i == 0);
    conectar(a, [this, i] { mostrarPanel(i); });
    mnuGen_.push_back(a);
  }
  generacion->addSeparator();
  mnuEvaluar_ =
      accion(generacion, QStringLiteral("mnuEvaluar"), QStringLiteral("Evaluar con referencia..."));
  conectar(mnuEvaluar_, [this] { evaluarConReferencia(); });
  mnuComparar_ =
      accion(generacion, QStringLiteral("mnuComparar"), QStringLiteral("Comparar métodos"));
  conectar(mnuComparar_, [this] { compararMetodos(); });

  mnuMetodo_ = menuBar()->addMenu(QStringLiteral("&Método Simple"));
  mnuMetodo_->setObjectName(QStringLiteral("mnuMetodo"));
  for (const MetodoCatalogo* m : filasDelPanel(0)) {
    const int i = m->pestana;
    QAction* a =
        accion(mnuMetodo_, QStringLiteral("mnuAlg(%1)").arg(i), QString::fromUtf8(m->menu));
    a->setCheckable(true);
    a->setChecked(i == 0);
    conectar(a, [this, i] { mostrarMetodoSimple(i); });
    mnuAlg_.push_back(a);
  }

  QMenu* ayuda = menuBar()->addMenu(QStringLiteral("Ayuda"));
  ayuda->setObjectName(QStringLiteral("mnuAyuda"));
  mnuAcerca_ = accion(ayuda, QStringLiteral("mnuAcerca"), QStringLiteral("Acerca de..."));
  conectar(mnuAcerca_, [this] { acercaDe(); });
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

void Form1::crearControl(const MetodoCatalogo& metodo, const ControlMetodo& control, QWidget* marco,
                         QHBoxLayout* fila, QGridLayout*& mascara) {
  const QString nombre = QString::fromUtf8(control.nombre);
  const QString inicial = QString::fromUtf8(control.inicial);
  if (control.etiqueta)
    fila->addWidget(etiqueta(QString::fromUtf8(control.nombreEtiqueta),
                             QString::fromUtf8(control.etiqueta), marco));
  switch (control.tipo) {
    case TipoControl::Texto: {
      QLineEdit* caja = cajaTexto(nombre, inicial, 60, marco);
      fila->addWidget(caja);
      if (control.introEjecuta) {
        const QString ejecutar = QString::fromUtf8(metodo.botonEjecutar);
        connect(caja, &QLineEdit::returnPressed, this,
                [this, ejecutar] { ejecutarMetodo(ejecutar, false); });
      }
      break;
    }
    case TipoControl::PorcentajeConBarra:
      tpct_ = cajaTexto(nombre, inicial, 60, marco);
      fila->addWidget(tpct_);
      connect(tpct_, &QLineEdit::textChanged, this,
              [this] { protegido([this] { validarPorcentaje(); }); });
      hScroll1_ = new QScrollBar(Qt::Horizontal, marco);
      hScroll1_->setObjectName(QStringLiteral("HScroll1"));
      hScroll1_->setRange(0, 100);
      hScroll1_->setValue(50);
      hScroll1_->setSingleStep(1);
      hScroll1_->setPageStep(1);
      hScroll1_->setMinimumWidth(200);
      // Change of HScroll1: arrows, page clicks and the release of a dragged thumb.
      hScroll1_->setTracking(false);
      connect(hScroll1_, &QScrollBar::valueChanged, this,
              [this] { protegido([this] { cambioHScroll1(); }); });
      fila->addWidget(hScroll1_);
      break;
    case TipoControl::Lista: {
      QStringList elementos;
      for (const char* e : control.elementos) elementos << QString::fromUtf8(e);
      fila->addWidget(combo(nombre, elementos, marco));
      break;
    }
    case TipoControl::Celda:
      if (!mascara) {
        mascara = new QGridLayout;
        mascara->setSpacing(2);
        fila->addLayout(mascara);
        fila->addSpacing(12);
      }
      mascara->addWidget(cajaTexto(nombre, inicial, 36, marco), mascara->count() / 3,
                         mascara->count() % 3);
      break;
  }
}

QWidget* Form1::crearMarcoMetodo(const MetodoCatalogo& metodo) {
  const bool pestana = metodo.panel == 0;
  auto* marco = new QGroupBox(pestana ? QString() : QString::fromUtf8(metodo.titulo));
  marco->setObjectName(QString::fromUtf8(metodo.marco));
  auto* capa = new QVBoxLayout(marco);
  auto* fila = new QHBoxLayout;
  QGridLayout* mascara = nullptr;
  for (const ControlMetodo& control : metodo.controles)
    crearControl(metodo, control, marco, fila, mascara);
  fila->addStretch();
  const QString nombreEjecutar = QString::fromUtf8(metodo.botonEjecutar);
  QPushButton* ejecutar = boton(nombreEjecutar, QStringLiteral("Ejecutar"), marco);
  fila->addWidget(ejecutar);
  connect(ejecutar, &QPushButton::clicked, this,
          [this, nombreEjecutar] { ejecutarMetodo(nombreEjecutar, false); });
  if (metodo.botonPaso) {
    QPushButton* paso =
        boton(QString::fromUtf8(metodo.botonPaso), QString::fromUtf8(metodo.textoPaso), marco);
    fila->addWidget(paso);
    connect(paso, &QPushButton::clicked, this,
            [this, nombreEjecutar] { ejecutarMetodo(nombreEjecutar, true); });
  }
  capa->addLayout(fila);
  auto* lista = new QListWidget(marco);
  lista->setObjectName(QString::fromUtf8(metodo.lista));
  lista->setFont(fuenteTraza());
  lista->setItemDelegate(new DelegadoTraza(lista));
  // Relaxation's items hold a line break; every other list's items are one line high.
  lista->setUniformItemSizes(metodo.botonPaso != nullptr);
  lista->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lista->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(lista, &QListWidget::customContextMenuRequested, this, [this, lista](const QPoint& p) {
    std::unique_ptr<QMenu> menu(crearMenuTraza(lista));
    menu->exec(lista->viewport()->mapToGlobal(p));
  });
  capa->addWidget(lista, 1);
  listas_[indiceCatalogo(metodo)] = lista;
  return marco;
}

QWidget* Form1::crearPaginaMetodo() {
  auto* pagina = new QWidget;
  auto* capa = new QVBoxLayout(pagina);
  listas_.assign(catalogo().size(), nullptr);
  ssTabSimple_ = new QTabWidget(pagina);
  ssTabSimple_->setObjectName(QStringLiteral("SSTabSimple"));
  for (const MetodoCatalogo* m : filasDelPanel(0))
    ssTabSimple_->addTab(crearMarcoMetodo(*m), QString::fromUtf8(m->titulo));
  connect(ssTabSimple_, &QTabWidget::currentChanged, this, [this](int i) {
    protegido([this, i] {
      for (QAction* a : mnuAlg_) a->setChecked(false);
      mnuAlg_[static_cast<size_t>(i)]->setChecked(true);
    });
  });
  capa->addWidget(ssTabSimple_, 1);
  marcosMetodo_ = {ssTabSimple_};
  for (int i = 1; i <= ultimoPanel(); ++i) {
    QWidget* marco = crearMarcoMetodo(*filasDelPanel(i).front());
    marco->setParent(pagina);
    marco->hide();
    capa->addWidget(marco, 1);
    marcosMetodo_.push_back(marco);
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
      dibujarHistograma(histograma_, datos(), static_cast<float>(scrUmbral_->value()));
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
  // The scores against the reference, once there is one.
  lblEvaluacion_ = etiqueta(QStringLiteral("lblEvaluacion"), QString(), marco);
  lblEvaluacion_->setWordWrap(true);
  lblEvaluacion_->setToolTip(
      QStringLiteral("F: medida F; P: precisión; R: exhaustividad; ME: error de clasificación; "
                     "PSNR en dB; Jaccard. El negro es la clase positiva."));
  lblEvaluacion_->hide();
  capa->addWidget(lblEvaluacion_);
  connect(vistaBinarizada_, &VistaImagen::limpiada, this, [this] { actualizarEvaluacion(); });
  return marco;
}

}  // namespace velarno
