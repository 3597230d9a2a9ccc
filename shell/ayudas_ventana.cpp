#include "shell/ayudas_ventana.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProgressDialog>
#include <QPushButton>

namespace velarno {

CursorOcupado::CursorOcupado() { QApplication::setOverrideCursor(Qt::WaitCursor); }
CursorOcupado::~CursorOcupado() { QApplication::restoreOverrideCursor(); }

CerrojoEntrada::CerrojoEntrada() { qApp->installEventFilter(this); }
CerrojoEntrada::~CerrojoEntrada() { qApp->removeEventFilter(this); }

bool CerrojoEntrada::eventFilter(QObject*, QEvent* evento) {
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

QString DelegadoTraza::displayText(const QVariant& valor, const QLocale& local) const {
  QString texto = QStyledItemDelegate::displayText(valor, local);
  texto.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
  texto.replace(QLatin1Char('\r'), QChar::LineSeparator);
  return texto;
}

QByteArray lineaGuardada(const QString& item) {
  QByteArray linea = item.toUtf8();
  for (qsizetype i = 0; i < linea.size(); ++i)
    if (linea[i] == '\r' && (i + 1 == linea.size() || linea[i + 1] != '\n'))
      linea.insert(++i, '\n');
  return linea;
}

void TrazaVentana::limpiar() { lista_->clear(); }

void TrazaVentana::agregar(const std::string& linea) {
  lista_->addItem(QString::fromStdString(linea));
  // Scrolling lays out every item again: a long trace scrolls once when events are next
  // processed (a prompt, the progress box, the end of the run), not once per line.
  static const char* const kDesplazar = "velarnoDesplazarPendiente";
  if (lista_->property(kDesplazar).toBool()) return;
  lista_->setProperty(kDesplazar, true);
  QMetaObject::invokeMethod(
      lista_,
      [lista = lista_] {
        lista->setProperty(kDesplazar, false);
        lista->scrollToBottom();
      },
      Qt::QueuedConnection);
}

namespace {

constexpr qint64 kIntervaloMs = 50;
constexpr qint64 kEsperaMs = 500;

}  // namespace

ProgresoVentana::ProgresoVentana(QWidget* padre, QString texto, bool inmediato, bool sinFraccion,
                                 const std::function<bool(int)>& gancho)
    : padre_(padre),
      texto_(std::move(texto)),
      inmediato_(inmediato),
      sinFraccion_(sinFraccion),
      gancho_(gancho) {
  reloj_.start();
}

ProgresoVentana::~ProgresoVentana() = default;

bool ProgresoVentana::avanzar(double fraccion) {
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

void ProgresoVentana::mostrar() {
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

char separadorDecimalDelSistema() {
  const QString punto = QLocale().decimalPoint();
  return punto.size() == 1 && punto[0].unicode() < 128 ? static_cast<char>(punto[0].unicode())
                                                       : '.';
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

QString textoEvaluacion(const std::optional<Evaluacion>& evaluacion, bool estrecho) {
  TextosEvaluacion t{"—", "—", "—", "—", "—", "—"};
  if (evaluacion) t = textosEvaluacion(*evaluacion, separadorDecimalDelSistema());
  const auto q = [](const std::string& texto) { return QString::fromStdString(texto); };
  const QString psnr = q(t.psnr) + (evaluacion ? QStringLiteral(" dB") : QString());
  if (estrecho)
    return QStringLiteral("F %1   P %2\nR %3   Jaccard %4\nME %5   PSNR %6")
        .arg(q(t.medidaF), q(t.precision), q(t.exhaustividad), q(t.jaccard), q(t.error), psnr);
  return QStringLiteral("F %1   P %2   R %3\nME %4   PSNR %5   Jaccard %6")
      .arg(q(t.medidaF), q(t.precision), q(t.exhaustividad), q(t.error), psnr, q(t.jaccard));
}

}  // namespace velarno
