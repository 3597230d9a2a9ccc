#include "dialogos_qt.h"

#include <QApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
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
  dialogo->setNameFilter(QString::fromUtf8(kFiltroAbrir));
  return dialogo;
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
