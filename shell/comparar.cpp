#include "shell/comparar.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <new>
#include <numeric>
#include <string>

#include <QCloseEvent>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

#include "image/representaciones.h"
#include "image/transformaciones.h"
#include "methods/entorno_simple.h"
#include "platform/superficie_qimage.h"
#include "shell/ayudas_ventana.h"
#include "shell/vista_imagen.h"

namespace velarno {
namespace {

constexpr int kColumnas = 5;
// The thumbnails are made this large at most and shown scaled to their tiles, which grow with
// the window from the smallest size below.
const QSize kMiniatura(320, 240);
const QSize kMiniaturaMinima(156, 117);
// How long closing waits for a worker that is between two progress reports; past it the
// worker finishes on its own and deletes itself.
constexpr int kEsperaCierreMs = 300;

// A method context without a window: the scripted boxes answer OK and No without showing
// anything, progress reports ask the cancel flag, and every drawing of the binarized picture
// is handed on.
class EntornoComparar : public EntornoSimple {
 public:
  EntornoComparar(DatosImagen& imagen, const std::atomic<bool>& cancelado,
                  std::function<void()> alDibujar)
      : EntornoSimple(imagen), cancelado_(cancelado), alDibujar_(std::move(alDibujar)) {}

  void dibujarBinarizada() override {
    EntornoSimple::dibujarBinarizada();
    alDibujar_();
  }
  bool progreso(double) override { return !cancelado_; }

 private:
  const std::atomic<bool>& cancelado_;
  std::function<void()> alDibujar_;
};

// A thumbnail scaled to the widget's size, aspect kept, centred on the tile's background.
class MiniaturaMosaico : public QWidget {
 public:
  explicit MiniaturaMosaico(QWidget* padre) : QWidget(padre) {
    setObjectName(QStringLiteral("imagen"));
    setMinimumSize(kMiniaturaMinima);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  }
  void fijar(const QImage& imagen) {
    imagen_ = imagen;
    update();
  }
  QSize sizeHint() const override { return kMiniaturaMinima; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter pintor(this);
    pintor.fillRect(rect(), QColor(0xd4, 0xd0, 0xc8));
    if (imagen_.isNull()) return;
    const QSize tamano = imagen_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect destino(QPoint((width() - tamano.width()) / 2, (height() - tamano.height()) / 2),
                        tamano);
    pintor.setRenderHint(QPainter::SmoothPixmapTransform, tamano.width() < imagen_.width());
    pintor.drawImage(destino, imagen_);
  }

 private:
  QImage imagen_;
};

// A tile reacts to a left click anywhere on it.
class MarcoMosaico : public QFrame {
 public:
  MarcoMosaico(std::function<void()> alPulsar, QWidget* padre)
      : QFrame(padre), alPulsar_(std::move(alPulsar)) {}

 protected:
  void mouseReleaseEvent(QMouseEvent* evento) override {
    if (evento->button() == Qt::LeftButton && rect().contains(evento->position().toPoint()))
      alPulsar_();
  }

 private:
  std::function<void()> alPulsar_;
};

}  // namespace

const std::vector<MosaicoComparacion>& mosaicosComparacion() {
  static const std::vector<MosaicoComparacion> mosaicos = [] {
    std::vector<MosaicoComparacion> lista;
    for (const MetodoCatalogo& metodo : catalogo())
      for (const MosaicoMetodo& mosaico : metodo.mosaicos) lista.push_back({&metodo, &mosaico});
    return lista;
  }();
  return mosaicos;
}

std::atomic<int> HiloComparar::vivos_{0};

struct HiloComparar::Reparto {
  std::vector<int> orden;
  std::atomic<size_t> siguiente{0};
  std::atomic<bool> cancelado{false};
};

std::vector<HiloComparar*> HiloComparar::repartir(const DatosImagen& datos, int umbralManual,
                                                  char separador, QSize miniatura,
                                                  std::shared_ptr<const Referencia> referencia,
                                                  int hilos) {
  const std::vector<MosaicoComparacion>& mosaicos = mosaicosComparacion();
  auto reparto = std::make_shared<Reparto>();
  // The long methods (those whose progress box shows at once) take most of the time: started
  // first, they run while the other workers go through the rest in catalogue order.
  reparto->orden.resize(mosaicos.size());
  std::iota(reparto->orden.begin(), reparto->orden.end(), 0);
  std::stable_partition(reparto->orden.begin(), reparto->orden.end(), [&](int i) {
    return mosaicos[static_cast<size_t>(i)].metodo->progresoInmediato;
  });
  const int cuantos = std::clamp(hilos, 1, std::max(1, static_cast<int>(mosaicos.size())));
  std::vector<HiloComparar*> lista;
  lista.reserve(static_cast<size_t>(cuantos));
  for (int k = 0; k < cuantos; ++k) {
    try {
      lista.push_back(
          new HiloComparar(datos, umbralManual, separador, miniatura, referencia, reparto));
    } catch (const std::bad_alloc&) {
      // Short of memory for another copy of the record: fewer workers do the same work.
      if (lista.empty()) throw;
      break;
    }
  }
  return lista;
}

HiloComparar::HiloComparar(DatosImagen copia, int umbralManual, char separador, QSize miniatura,
                           std::shared_ptr<const Referencia> referencia,
                           std::shared_ptr<Reparto> reparto)
    : copia_(std::move(copia)),
      umbralManual_(umbralManual),
      separador_(separador),
      miniatura_(miniatura),
      referencia_(std::move(referencia)),
      reparto_(std::move(reparto)) {
  ++vivos_;
  connect(this, &QThread::finished, this, &QObject::deleteLater);
}

HiloComparar::~HiloComparar() { --vivos_; }

void HiloComparar::cancelar() { reparto_->cancelado = true; }

void HiloComparar::run() {
  const std::vector<MosaicoComparacion>& mosaicos = mosaicosComparacion();
  const std::atomic<bool>& cancelado = reparto_->cancelado;
  const int64_t total = static_cast<int64_t>(copia_.pixeles.cantidad());
  // Every method starts from the record as it was copied.
  const std::vector<uint8_t> negroInicial(copia_.pixeles.planoNegro(),
                                          copia_.pixeles.planoNegro() + total);
  SuperficieQImage superficie(QImage::Format_Grayscale8, Qt::white);
  superficie.redimensionar(copia_.ancho, copia_.alto);

  while (!cancelado) {
    const size_t siguiente = reparto_->siguiente++;
    if (siguiente >= reparto_->orden.size()) break;
    const int i = reparto_->orden[siguiente];
    const MosaicoComparacion& mosaico = mosaicos[static_cast<size_t>(i)];
    emit empezando(i);
    ResultadoComparacion r;
    // Every drawing goes onto the surface; the count and the thumbnail are taken once, from
    // the last one, after the run.
    const auto alDibujar = [&] {
      velarno::dibujarBinarizada(superficie, copia_);
      r.dibujado = true;
    };
    try {
      std::copy(negroInicial.begin(), negroInicial.end(), copia_.pixeles.planoNegro());
      if (mosaico.metodo->ejecutar == nullptr) {
        binarizar(copia_, umbralManual_);
        alDibujar();
        r.fin = Fin::Publicado;
        r.umbral = umbralManual_;
      } else {
        EntornoComparar entorno(copia_, cancelado, alDibujar);
        entorno.setSeparadorDecimal(separador_);
        for (const ControlMetodo& c : mosaico.metodo->controles)
          entorno.setTexto(c.nombre, c.inicial);
        for (const auto& [control, texto] : mosaico.mosaico->textos)
          entorno.setTexto(control, texto);
        bool paso = false;
        r.fin = mosaico.metodo->ejecutar(entorno, paso);
        r.umbral = entorno.umbralPublicado();
        if (r.fin == Fin::Rechazado && !entorno.dialogos().mensajes().empty()) {
          r.detalle = QString::fromStdString(entorno.dialogos().mensajes().back().texto);
        } else if (r.fin == Fin::SinResultado) {
          // The trace says why; its last lines are enough to tell.
          const std::vector<std::string>& lineas = entorno.traza().lineas();
          QStringList ultimas;
          for (size_t k = lineas.size() > 6 ? lineas.size() - 6 : 0; k < lineas.size(); ++k)
            if (!lineas[k].empty()) ultimas << QString::fromStdString(lineas[k]);
          r.detalle = ultimas.join(QLatin1Char('\n'));
        }
      }
      if (r.dibujado && r.fin != Fin::Cancelado && !cancelado) {
        r.negros = superficie.negros();
        const QImage& completa = superficie.qimage();
        const QSize destino = completa.size().scaled(miniatura_, Qt::KeepAspectRatio);
        // A smooth reduction; a small picture is kept as it is and enlarged on screen without
        // blurring its pixels.
        r.miniatura =
            destino.width() < completa.width() ? reducirSuave(completa, destino) : completa.copy();
      }
    } catch (const std::bad_alloc&) {
      r = ResultadoComparacion{};
      r.detalle = QStringLiteral("No hay memoria suficiente para este método.");
    } catch (const std::exception& e) {
      r = ResultadoComparacion{};
      r.detalle = QString::fromUtf8(e.what());
    }
    r.indice = i;
    r.total = total;
    if (r.fin == Fin::Cancelado || cancelado) break;
    if (referencia_ && r.dibujado) {
      const QImage& dibujo = superficie.qimage();
      r.evaluacion = evaluarContra(*referencia_, dibujo.constBits(),
                                   static_cast<size_t>(dibujo.bytesPerLine()), dibujo.width(),
                                   dibujo.height());
    }
    emit resultado(r);
  }
}

VentanaComparar::VentanaComparar(const DatosImagen& datos, int umbralManual, QWidget* padre,
                                 std::shared_ptr<const Referencia> referencia)
    : QWidget(padre, Qt::Dialog) {
  static const int registrado = qRegisterMetaType<ResultadoComparacion>();
  (void)registrado;
  setObjectName(QStringLiteral("frmComparar"));
  setWindowTitle(QStringLiteral("Comparar métodos"));
  setAttribute(Qt::WA_DeleteOnClose);
  // The main window waits while the comparison is open, so its record, threshold and
  // pictures cannot change under the results shown here. As a dialog window of the main
  // window it stays above it.
  setWindowModality(Qt::WindowModal);
  auto* cerrarEsc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(cerrarEsc, &QShortcut::activated, this, &QWidget::close);

  auto* capa = new QVBoxLayout(this);
  auto* desplazable = new QScrollArea(this);
  desplazable->setWidgetResizable(true);
  desplazable->setFrameShape(QFrame::NoFrame);
  auto* contenido = new QWidget(desplazable);
  rejilla_ = new QGridLayout(contenido);
  rejilla_->setSpacing(6);
  const std::vector<MosaicoComparacion>& lista = mosaicosComparacion();
  resultados_.resize(lista.size());
  for (int i = 0; i < static_cast<int>(lista.size()); ++i) {
    Mosaico m;
    m.marco = new MarcoMosaico([this, i] { elegir(i); }, contenido);
    m.marco->setObjectName(QStringLiteral("Mosaico(%1)").arg(i));
    m.marco->setFrameShape(QFrame::StyledPanel);
    m.marco->setFrameShadow(QFrame::Raised);
    auto* capaMosaico = new QVBoxLayout(m.marco);
    capaMosaico->setContentsMargins(4, 4, 4, 4);
    capaMosaico->setSpacing(2);
    m.imagen = new MiniaturaMosaico(m.marco);
    auto* nombre =
        new QLabel(QString::fromUtf8(lista[static_cast<size_t>(i)].mosaico->nombre), m.marco);
    nombre->setObjectName(QStringLiteral("nombre"));
    nombre->setWordWrap(true);
    QFont negrita = nombre->font();
    negrita.setBold(true);
    nombre->setFont(negrita);
    m.umbral = new QLabel(QStringLiteral("Calculando…"), m.marco);
    m.umbral->setObjectName(QStringLiteral("umbral"));
    m.negro = new QLabel(m.marco);
    m.negro->setObjectName(QStringLiteral("negro"));
    capaMosaico->addWidget(m.imagen, 1);
    capaMosaico->addWidget(nombre);
    capaMosaico->addWidget(m.umbral);
    capaMosaico->addWidget(m.negro);
    m.evaluacion = new QLabel(m.marco);
    m.evaluacion->setObjectName(QStringLiteral("evaluacion"));
    m.evaluacion->setVisible(referencia != nullptr);
    capaMosaico->addWidget(m.evaluacion);
    m.mejor = new QLabel(QStringLiteral("★ Mejor"), m.marco);
    m.mejor->setObjectName(QStringLiteral("mejor"));
    m.mejor->setToolTip(QStringLiteral("El mejor según la referencia"));
    m.mejor->hide();
    capaMosaico->addWidget(m.mejor);
    mosaicos_.push_back(m);
    orden_.push_back(i);
  }
  for (int c = 0; c < kColumnas; ++c) rejilla_->setColumnStretch(c, 1);
  desplazable->setWidget(contenido);
  capa->addWidget(desplazable, 1);
  auto* pie = new QHBoxLayout;
  estado_ = new QLabel(this);
  estado_->setObjectName(QStringLiteral("lblEstado"));
  pie->addWidget(estado_, 1);
  if (referencia) {
    auto* etiquetaOrden = new QLabel(QStringLiteral("Ordenar por:"), this);
    cmbOrden_ = new QComboBox(this);
    cmbOrden_->setObjectName(QStringLiteral("cmbOrden"));
    cmbOrden_->addItems({QStringLiteral("Orden de los métodos"), QStringLiteral("Medida F"),
                         QStringLiteral("Precisión"), QStringLiteral("Exhaustividad"),
                         QStringLiteral("Error (ME)"), QStringLiteral("PSNR"),
                         QStringLiteral("Jaccard")});
    etiquetaOrden->setBuddy(cmbOrden_);
    connect(cmbOrden_, &QComboBox::currentIndexChanged, this, &VentanaComparar::ordenar);
    pie->addWidget(etiquetaOrden);
    pie->addWidget(cmbOrden_);
    cmbOrden_->setToolTip(QStringLiteral("Medidas frente a la referencia «%1»")
                              .arg(QString::fromStdString(referencia->nombre)));
  }
  auto* cerrar = new QPushButton(QStringLiteral("Cerrar"), this);
  cerrar->setObjectName(QStringLiteral("cmdCerrar"));
  connect(cerrar, &QPushButton::clicked, this, &QWidget::close);
  pie->addWidget(cerrar);
  capa->addLayout(pie);
  // The best tiles by the chosen measure get a green border.
  setStyleSheet(QStringLiteral("QFrame[mejor=\"true\"] { border: 3px solid #2e7d32; }"));
  ordenar(kOrdenMetodos);
  // The scores make the tiles taller and a little wider.
  resize(referencia ? QSize(1000, 720) : QSize(900, 650));
  if (padre) {
    // Centred on the main window, inside its screen.
    const QRect area = padre->screen()->availableGeometry();
    QRect marco(QPoint(), size());
    marco.moveCenter(padre->frameGeometry().center());
    marco.moveLeft(
        std::clamp(marco.left(), area.left(), std::max(area.left(), area.right() - marco.width())));
    marco.moveTop(
        std::clamp(marco.top(), area.top(), std::max(area.top(), area.bottom() - marco.height())));
    move(marco.topLeft());
  }

  if (datos.pixeles.vacia()) {
    recibidos_ = static_cast<int>(resultados_.size());
    return;
  }
  for (HiloComparar* hilo :
       HiloComparar::repartir(datos, umbralManual, separadorDecimalDelSistema(), kMiniatura,
                              std::move(referencia), QThread::idealThreadCount())) {
    connect(hilo, &HiloComparar::empezando, this, &VentanaComparar::empezar, Qt::QueuedConnection);
    connect(hilo, &HiloComparar::resultado, this, &VentanaComparar::recibir, Qt::QueuedConnection);
    hilos_.emplace_back(hilo);
  }
  for (const QPointer<HiloComparar>& hilo : hilos_) hilo->start(QThread::LowPriority);
}

VentanaComparar::~VentanaComparar() { detenerHilos(); }

void VentanaComparar::detenerHilos() {
  // Results already posted to this window are dropped with it; the workers delete themselves.
  for (const QPointer<HiloComparar>& hilo : hilos_)
    if (hilo) {
      hilo->disconnect(this);
      hilo->cancelar();
    }
  const QDeadlineTimer limite(kEsperaCierreMs);
  for (const QPointer<HiloComparar>& hilo : hilos_)
    if (hilo) hilo->wait(limite);
  hilos_.clear();
}

void VentanaComparar::closeEvent(QCloseEvent* evento) {
  detenerHilos();
  QWidget::closeEvent(evento);
}

void VentanaComparar::empezar(int indice) {
  enCurso_.push_back(indice);
  mostrarEnCurso();
}

void VentanaComparar::mostrarEnCurso() {
  if (enCurso_.empty()) return;
  // The count is the tiles received so far plus the one named, as when they ran one by one.
  estado_->setText(
      QStringLiteral("Calculando %1 (%2 de %3)…")
          .arg(QString::fromUtf8(
              mosaicosComparacion()[static_cast<size_t>(enCurso_.back())].mosaico->nombre))
          .arg(recibidos_ + 1)
          .arg(resultados_.size()));
}

void VentanaComparar::recibir(const ResultadoComparacion& r) {
  if (r.indice < 0 || r.indice >= static_cast<int>(mosaicos_.size())) return;
  Mosaico& m = mosaicos_[static_cast<size_t>(r.indice)];
  if (r.dibujado) static_cast<MiniaturaMosaico*>(m.imagen)->fijar(r.miniatura);
  switch (r.fin) {
    case Fin::Publicado:
      m.umbral->setText(QStringLiteral("Umbral: %1").arg(r.umbral.value_or(0)));
      m.marco->setCursor(Qt::PointingHandCursor);
      m.marco->setToolTip(QStringLiteral("Pulse para usar este umbral en la ventana principal"));
      break;
    case Fin::Dibujado:
      m.umbral->setText(QStringLiteral("Umbral: local"));
      break;
    case Fin::Rechazado:
      m.umbral->setText(QStringLiteral("Umbral: no aplicable"));
      m.marco->setToolTip(r.detalle);
      break;
    case Fin::SinResultado:
    case Fin::Cancelado:
      m.umbral->setText(QStringLiteral("Umbral: sin resultado"));
      m.marco->setToolTip(r.detalle);
      break;
  }
  if (r.dibujado && r.total > 0) {
    const double porcentaje = 100.0 * static_cast<double>(r.negros) / static_cast<double>(r.total);
    m.negro->setText(QStringLiteral("Negro: %1 %").arg(QLocale().toString(porcentaje, 'f', 1)));
  }
  if (r.evaluacion)
    m.evaluacion->setText(r.evaluacion->ok() ? textoEvaluacion(r.evaluacion->evaluacion, true)
                                             : QString::fromStdString(r.evaluacion->error));
  else if (cmbOrden_)
    m.evaluacion->setText(textoEvaluacion(std::nullopt, true));
  m.evaluacion->setWordWrap(r.evaluacion && !r.evaluacion->ok());
  if (!resultados_[static_cast<size_t>(r.indice)]) ++recibidos_;
  resultados_[static_cast<size_t>(r.indice)] = r;
  enCurso_.erase(std::remove(enCurso_.begin(), enCurso_.end(), r.indice), enCurso_.end());
  if (cmbOrden_) ordenar(cmbOrden_->currentIndex());
  if (terminada()) {
    estado_->setText(QStringLiteral("Comparación terminada."));
    emit terminado();
  } else {
    mostrarEnCurso();
  }
}

void VentanaComparar::elegir(int i) {
  if (i < 0 || i >= static_cast<int>(resultados_.size())) return;
  const std::optional<ResultadoComparacion>& r = resultados_[static_cast<size_t>(i)];
  if (!r || r->fin != Fin::Publicado || !r->umbral) return;
  for (size_t k = 0; k < mosaicos_.size(); ++k)
    mosaicos_[k].marco->setFrameShadow(static_cast<int>(k) == i ? QFrame::Sunken : QFrame::Raised);
  emit umbralElegido(*r->umbral);
}

std::optional<double> VentanaComparar::valor(int i, int orden) const {
  const std::optional<ResultadoComparacion>& r = resultados_[static_cast<size_t>(i)];
  if (!r || !r->evaluacion || !r->evaluacion->ok()) return std::nullopt;
  const Evaluacion& e = r->evaluacion->evaluacion;
  switch (orden) {
    case kOrdenF:
      return e.medidaF;
    case kOrdenP:
      return e.precision;
    case kOrdenR:
      return e.exhaustividad;
    case kOrdenME:
      return -e.error;  // the lower the error, the better
    case kOrdenPSNR:
      return e.psnr;
    case kOrdenJaccard:
      return e.jaccard;
    default:
      return std::nullopt;
  }
}

std::vector<int> VentanaComparar::mejores() const {
  // In the methods' order the best are marked by the F-measure.
  const int orden =
      cmbOrden_ && cmbOrden_->currentIndex() != kOrdenMetodos ? cmbOrden_->currentIndex() : kOrdenF;
  std::optional<double> mejor;
  for (int i = 0; i < static_cast<int>(mosaicos_.size()); ++i)
    if (const auto v = valor(i, orden); v && (!mejor || *v > *mejor)) mejor = v;
  std::vector<int> lista;
  for (int i = 0; i < static_cast<int>(mosaicos_.size()); ++i)
    if (mejor && valor(i, orden) == mejor) lista.push_back(i);
  return lista;
}

void VentanaComparar::ordenar(int orden) {
  // From the methods' order, so that tiles equal in the measure keep it.
  for (size_t k = 0; k < orden_.size(); ++k) orden_[k] = static_cast<int>(k);
  if (orden != kOrdenMetodos)
    std::stable_sort(orden_.begin(), orden_.end(), [&](int a, int b) {
      const std::optional<double> va = valor(a, orden), vb = valor(b, orden);
      return va && (!vb || *va > *vb);
    });
  for (size_t k = 0; k < orden_.size(); ++k) {
    const int fila = static_cast<int>(k) / kColumnas, columna = static_cast<int>(k) % kColumnas;
    rejilla_->addWidget(mosaicos_[static_cast<size_t>(orden_[k])].marco, fila, columna);
    rejilla_->setRowStretch(fila, 1);
  }
  const std::vector<int> lista = mejores();
  for (size_t i = 0; i < mosaicos_.size(); ++i) {
    const bool esMejor = std::find(lista.begin(), lista.end(), static_cast<int>(i)) != lista.end();
    mosaicos_[i].mejor->setVisible(esMejor);
    if (mosaicos_[i].marco->property("mejor").toBool() == esMejor) continue;
    mosaicos_[i].marco->setProperty("mejor", esMejor);
    mosaicos_[i].marco->style()->unpolish(mosaicos_[i].marco);
    mosaicos_[i].marco->style()->polish(mosaicos_[i].marco);
  }
}

}  // namespace velarno
