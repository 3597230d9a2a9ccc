#include "shell/dialogos_qt.h"

#include <algorithm>
#include <functional>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QSpacerItem>
#include <QTranslator>

namespace velarno {
namespace {

QMessageBox::Icon icono(int estilo) {
  switch (estilo) {
    case kEstiloExclamacion:
      return QMessageBox::Warning;
    case kEstiloInformacion:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// A box that places itself when shown (after its size is known, before it reaches the screen)
// and tells whether the user moved it afterwards.
class CajaColocada : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;
  std::function<QPoint(QSize)> colocar;
  bool movidaPorUsuario = false;

 protected:
  void showEvent(QShowEvent* evento) override {
    QMessageBox::showEvent(evento);
    // The client area's place: the frame a window manager adds is not known before the box
    // reaches the screen.
    if (colocar) setGeometry(QRect(colocar(size()), size()));
    mostrada_.start();
  }
  void moveEvent(QMoveEvent* evento) override {
    QMessageBox::moveEvent(evento);
    // A window manager settles a new window at once; a later move is the user's.
    if (mostrada_.isValid() && mostrada_.elapsed() > kAsentarMs) movidaPorUsuario = true;
  }

 private:
  static constexpr qint64 kAsentarMs = 250;
  QElapsedTimer mostrada_;
};

// Room kept for the title bar a window manager adds above a box.
constexpr int kBarraTitulo = 32;

}  // namespace

QString textoParaMostrar(const std::string& texto) {
  QString t = QString::fromStdString(texto);
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}

QPoint colocarJunto(const QRect& evitar, QSize caja, const QRect& pantalla) {
  constexpr int kSeparacion = 8;
  const auto dentro = [&](QPoint p) {
    const int x = std::clamp(p.x(), pantalla.left(),
                             std::max(pantalla.left(), pantalla.right() + 1 - caja.width()));
    const int y = std::clamp(p.y(), pantalla.top(),
                             std::max(pantalla.top(), pantalla.bottom() + 1 - caja.height()));
    return QPoint(x, y);
  };
  const int abajo = evitar.bottom() + 1 - caja.height();
  const QPoint candidatos[] = {
      {evitar.right() + 1 + kSeparacion, abajo},
      {evitar.left(), evitar.bottom() + 1 + kSeparacion},
      {evitar.left() - kSeparacion - caja.width(), abajo},
      {evitar.left(), evitar.top() - kSeparacion - caja.height()},
  };
  QPoint mejor;
  qint64 menor = -1;
  for (const QPoint& candidato : candidatos) {
    const QPoint p = dentro(candidato);
    const QRect tapado = QRect(p, caja) & evitar;
    const qint64 area = tapado.isEmpty() ? 0 : qint64{tapado.width()} * tapado.height();
    if (area == 0) return p;
    if (menor < 0 || area < menor) {
      menor = area;
      mejor = p;
    }
  }
  return mejor;
}

DialogosQt::DialogosQt(QWidget* padre, std::vector<QWidget*> junto) : padre_(padre) {
  for (QWidget* w : junto)
    if (w) junto_.emplace_back(w);
}

QRect DialogosQt::zonaJunto() const {
  QRect zona;
  for (const QPointer<QWidget>& w : junto_)
    if (w && w->isVisible()) zona |= QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
  return zona;
}

int DialogosQt::mostrar(const std::string& titulo, const std::string& texto, int estilo,
                        int botones) {
  CajaColocada caja(icono(estilo),
                    titulo.empty() ? QStringLiteral("Velarno") : QString::fromStdString(titulo),
                    textoParaMostrar(texto), QMessageBox::StandardButtons(botones), padre_);
  caja.setObjectName(QStringLiteral("mensaje"));
  caja.setProperty("estilo", estilo);
  caja.setProperty("textoOriginal", QString::fromStdString(texto));
  caja.setWindowModality(Qt::ApplicationModal);
  // Wide enough for the whole title: a title bar cuts a title longer than the box leaves room
  // for beside its buttons.
  if (auto* rejilla = qobject_cast<QGridLayout*>(caja.layout())) {
    const int ancho = caja.fontMetrics().horizontalAdvance(caja.windowTitle()) * 5 / 4 + 140;
    rejilla->addItem(new QSpacerItem(ancho, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                     rejilla->rowCount(), 0, 1, rejilla->columnCount());
  }
  const QRect zona = zonaJunto();
  if (lugarElegido_ || !zona.isEmpty()) {
    caja.colocar = [this, zona](QSize tamano) {
      if (lugarElegido_) return *lugarElegido_;
      QScreen* pantalla = QGuiApplication::screenAt(zona.center());
      if (!pantalla) pantalla = QGuiApplication::primaryScreen();
      const QRect area = pantalla ? pantalla->availableGeometry() : zona;
      // Room above the box for the title bar, which the zone must not hide either.
      return colocarJunto(zona, tamano + QSize(0, kBarraTitulo), area) + QPoint(0, kBarraTitulo);
    };
  }
  const int boton = caja.exec();
  // A box the user moved sets the place of the next ones.
  if (caja.colocar && caja.movidaPorUsuario) lugarElegido_ = caja.geometry().topLeft();
  return boton;
}

int DialogosQt::preguntar(const std::string& titulo, const std::string& texto) {
  const int boton = mostrar(titulo, texto, kEstiloSiNo, QMessageBox::Yes | QMessageBox::No);
  return boton == QMessageBox::Yes ? kSi : kNo;
}

int DialogosQt::informar(const std::string& titulo, const std::string& texto, int estilo) {
  mostrar(titulo, texto, estilo, QMessageBox::Ok);
  return kAceptar;
}

namespace {

// The file dialogs open at a size that shows a useful list of files, within the screen.
void tamanoUtil(QFileDialog* dialogo, QWidget* padre) {
  QScreen* pantalla = padre ? padre->screen() : QGuiApplication::primaryScreen();
  const QSize area = pantalla ? pantalla->availableGeometry().size() : QSize(1024, 768);
  dialogo->resize(std::min(820, area.width() * 9 / 10), std::min(520, area.height() * 8 / 10));
}

}  // namespace

QFileDialog* crearDialogoAbrir(QWidget* padre) {
  auto* dialogo = new QFileDialog(padre, QStringLiteral("Abrir"));
  dialogo->setObjectName(QStringLiteral("dlgCommonDialog"));
  dialogo->setAcceptMode(QFileDialog::AcceptOpen);
  dialogo->setFileMode(QFileDialog::ExistingFile);
  // Qt's own dialog, so the filter shows as written and its texts are Spanish everywhere.
  dialogo->setOptions(QFileDialog::HideNameFilterDetails | QFileDialog::DontUseNativeDialog);
  dialogo->setNameFilters({QString::fromUtf8(kFiltroAbrir), QString::fromUtf8(kFiltroAbrirPng),
                           QString::fromUtf8(kFiltroAbrirTodos)});
  tamanoUtil(dialogo, padre);
  return dialogo;
}

namespace {

// The extension of a filter line's first pattern ("png" for "Imágenes PNG (*.png)"), or empty.
QString extensionDeFiltro(const QString& filtro) {
  const int inicio = filtro.lastIndexOf(QLatin1String("(*."));
  if (inicio < 0) return {};
  const int fin = filtro.indexOf(QRegularExpression(QStringLiteral("[ )]")), inicio + 3);
  return filtro.mid(inicio + 3, fin < 0 ? -1 : fin - inicio - 3);
}

}  // namespace

QFileDialog* crearDialogoGuardar(QWidget* padre, const QString& titulo, const QStringList& filtros,
                                 const QString& sugerido) {
  auto* dialogo = new QFileDialog(padre, titulo);
  tamanoUtil(dialogo, padre);
  dialogo->setObjectName(QStringLiteral("dlgGuardar"));
  dialogo->setAcceptMode(QFileDialog::AcceptSave);
  dialogo->setFileMode(QFileDialog::AnyFile);
  // Qt's own dialog, Spanish everywhere; it confirms before replacing a file.
  dialogo->setOptions(QFileDialog::DontUseNativeDialog);
  dialogo->setNameFilters(filtros);
  dialogo->setDefaultSuffix(extensionDeFiltro(filtros.value(0)));
  if (!sugerido.isEmpty()) dialogo->selectFile(sugerido);
  QObject::connect(
      dialogo, &QFileDialog::filterSelected, dialogo,
      [dialogo](const QString& filtro) { dialogo->setDefaultSuffix(extensionDeFiltro(filtro)); });
  return dialogo;
}

std::optional<QString> SelectorGuardarQt::elegir(QWidget* padre, const QString& titulo,
                                                 const QStringList& filtros,
                                                 const QString& sugerido) {
  QFileDialog* dialogo = crearDialogoGuardar(padre, titulo, filtros, sugerido);
  std::optional<QString> elegido;
  if (dialogo->exec() == QDialog::Accepted && !dialogo->selectedFiles().isEmpty())
    elegido = dialogo->selectedFiles().first();
  delete dialogo;
  return elegido;
}

std::optional<QString> SelectorFicheroQt::elegir(QWidget* padre) {
  QFileDialog* dialogo = crearDialogoAbrir(padre);
  std::optional<QString> elegido;
  if (dialogo->exec() == QDialog::Accepted && !dialogo->selectedFiles().isEmpty())
    elegido = dialogo->selectedFiles().first();
  delete dialogo;
  return elegido;
}

void instalarTraduccionEspanola() {
  auto* traductor = new QTranslator(qApp);
  if (traductor->load(QStringLiteral("qtbase_es"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(traductor);
  else
    delete traductor;
}

void configurarAplicacion() {
  QApplication::setApplicationName(QStringLiteral("Velarno"));
  QApplication::setDesktopFileName(QStringLiteral("velarno"));
  instalarTraduccionEspanola();
}

}  // namespace velarno
