#include "dialogos_qt.h"

#include <QApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QRegularExpression>
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

int mostrar(QWidget* padre, const std::string& titulo, const std::string& texto, int estilo,
            QMessageBox::StandardButtons botones) {
  QMessageBox caja(icono(estilo),
                   titulo.empty() ? QStringLiteral("Velarno") : QString::fromStdString(titulo),
                   textoParaMostrar(texto), botones, padre);
  caja.setObjectName(QStringLiteral("mensaje"));
  caja.setProperty("estilo", estilo);
  caja.setProperty("textoOriginal", QString::fromStdString(texto));
  caja.setWindowModality(Qt::ApplicationModal);
  return caja.exec();
}

}  // namespace

QString textoParaMostrar(const std::string& texto) {
  QString t = QString::fromStdString(texto);
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}

int DialogosQt::preguntar(const std::string& titulo, const std::string& texto) {
  const int boton = mostrar(padre_, titulo, texto, kEstiloSiNo, QMessageBox::Yes | QMessageBox::No);
  return boton == QMessageBox::Yes ? kSi : kNo;
}

int DialogosQt::informar(const std::string& titulo, const std::string& texto, int estilo) {
  mostrar(padre_, titulo, texto, estilo, QMessageBox::Ok);
  return kAceptar;
}

QFileDialog* crearDialogoAbrir(QWidget* padre) {
  auto* dialogo = new QFileDialog(padre, QStringLiteral("Abrir"));
  dialogo->setObjectName(QStringLiteral("dlgCommonDialog"));
  dialogo->setAcceptMode(QFileDialog::AcceptOpen);
  dialogo->setFileMode(QFileDialog::ExistingFile);
  // Qt's own dialog, so the filter shows as written and its texts are Spanish everywhere.
  dialogo->setOptions(QFileDialog::HideNameFilterDetails | QFileDialog::DontUseNativeDialog);
  dialogo->setNameFilters({QString::fromUtf8(kFiltroAbrir), QString::fromUtf8(kFiltroAbrirPng),
                           QString::fromUtf8(kFiltroAbrirTodos)});
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

QFileDialog* crearDialogoGuardar(QWidget* padre, const QString& titulo,
                                 const QStringList& filtros) {
  auto* dialogo = new QFileDialog(padre, titulo);
  dialogo->setObjectName(QStringLiteral("dlgGuardar"));
  dialogo->setAcceptMode(QFileDialog::AcceptSave);
  dialogo->setFileMode(QFileDialog::AnyFile);
  // Qt's own dialog, Spanish everywhere; it confirms before replacing a file.
  dialogo->setOptions(QFileDialog::DontUseNativeDialog);
  dialogo->setNameFilters(filtros);
  dialogo->setDefaultSuffix(extensionDeFiltro(filtros.value(0)));
  QObject::connect(
      dialogo, &QFileDialog::filterSelected, dialogo,
      [dialogo](const QString& filtro) { dialogo->setDefaultSuffix(extensionDeFiltro(filtro)); });
  return dialogo;
}

std::optional<QString> SelectorGuardarQt::elegir(QWidget* padre, const QString& titulo,
                                                 const QStringList& filtros) {
  QFileDialog* dialogo = crearDialogoGuardar(padre, titulo, filtros);
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

}  // namespace velarno
