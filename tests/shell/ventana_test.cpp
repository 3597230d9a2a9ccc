// The window's workflow through the real Form1: opening, the state rules, the scroll bar,
// the binarized view, the method panels and a method run.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/ventana_prueba.h"

namespace velarno {
namespace {

// Grey level of every pixel of a Grayscale8 raster, row by row.
std::vector<int> grises(const QImage& imagen) {
  std::vector<int> g;
  for (int y = 0; y < imagen.height(); ++y)
    for (int x = 0; x < imagen.width(); ++x) g.push_back(qGray(imagen.pixel(x, y)) & 0xFF);
  return g;
}

int negrosDibujados(const QImage& binarizada) {
  int n = 0;
  for (int y = 0; y < binarizada.height(); ++y)
    for (int x = 0; x < binarizada.width(); ++x) n += qRed(binarizada.pixel(x, y)) == 0;
  return n;
}

int64_t negrosEsperados(const DatosImagen& d, int umbral) {
  int64_t n = 0;
  for (int g = 0; g < umbral; ++g) n += d.histograma[static_cast<size_t>(g)];
  return n;
}

class Ventana : public ::testing::Test {
 protected:
  QAction* accion(const char* nombre) { return v.control<QAction>(QString::fromLatin1(nombre)); }
  QScrollBar* umbral() { return v.control<QScrollBar>(QStringLiteral("scrUmbral")); }
  QString etiqueta(const char* nombre) {
    return v.control<QLabel>(QString::fromLatin1(nombre))->text();
  }
  bool abrirCasa() {
    return v.ventana.abrirFichero(v.escribir(QStringLiteral("casa.bmp"), imagenDePrueba(320, 240)));
  }

  VentanaPrueba v;
};

TEST_F(Ventana, StartsWithoutImage) {
  EXPECT_EQ(v.ventana.windowTitle(), QStringLiteral("Velarno"));
  EXPECT_EQ(v.control<QTabWidget>(QStringLiteral("Carpetas"))->currentIndex(), 0);
  EXPECT_FALSE(umbral()->isEnabled());
  EXPECT_EQ(umbral()->value(), 128);
  EXPECT_TRUE(v.ventana.superficieGris().vacia());
}

TEST_F(Ventana, OpeningShowsCaptionGreyImageHistogramAndLabels) {
  v.selector.respuestas = {v.escribir(QStringLiteral("casa.bmp"), imagenDePrueba(320, 240))};
  accion("abrir")->trigger();
  EXPECT_EQ(v.ventana.windowTitle(), QStringLiteral("Velarno - casa.bmp 320x240"));
  const DatosImagen& d = v.ventana.datos();
  ASSERT_EQ(d.ancho, 320);
  ASSERT_EQ(d.alto, 240);
  // The grey surface holds the whole picture, equal to the record.
  const QImage& gris = v.ventana.superficieGris().qimage();
  ASSERT_EQ(gris.size(), QSize(320, 240));
  std::vector<int> registro;
  for (int y = 0; y < d.alto; ++y)
    for (int x = 0; x < d.ancho; ++x) registro.push_back(d.pixeles.gris(x, y));
  EXPECT_EQ(grises(gris), registro);
  EXPECT_EQ(etiqueta("lblValorUmbral"), QStringLiteral("128"));
  EXPECT_EQ(etiqueta("lblValorCantidad"), QString::number(d.histograma[128]));
  EXPECT_FALSE(v.ventana.superficieHistograma().vacia());
  EXPECT_TRUE(v.dialogos.mensajes().empty());
}

TEST_F(Ventana, CancelledOpenChangesNothing) {
  v.selector.respuestas = {std::nullopt};
  accion("abrir")->trigger();
  EXPECT_EQ(v.selector.llamadas, 1);
  EXPECT_EQ(v.ventana.windowTitle(), QStringLiteral("Velarno"));
  EXPECT_TRUE(v.dialogos.mensajes().empty());
  EXPECT_FALSE(umbral()->isEnabled());
}

TEST_F(Ventana, FailedOpenKeepsThePreviousPicture) {
  ASSERT_TRUE(abrirCasa());
  const std::vector<uint8_t> antes(v.ventana.datos().pixeles.planoGris(),
                                   v.ventana.datos().pixeles.planoGris() + 320 * 240);
  QFile basura(QDir(v.carpeta.path()).filePath(QStringLiteral("roto.jpg")));
  ASSERT_TRUE(basura.open(QIODevice::WriteOnly));
  basura.write("esto no es una imagen");
  basura.close();
  v.selector.respuestas = {basura.fileName()};
  accion("abrir")->trigger();
  ASSERT_EQ(v.dialogos.mensajes().size(), 1u);
  EXPECT_EQ(v.dialogos.mensajes()[0].estilo, kEstiloExclamacion);
  EXPECT_NE(v.dialogos.mensajes()[0].texto.find("roto.jpg"), std::string::npos);
  EXPECT_EQ(v.ventana.windowTitle(), QStringLiteral("Velarno - casa.bmp 320x240"));
  EXPECT_TRUE(umbral()->isEnabled());
  EXPECT_TRUE(accion("mnuEcualizar")->isEnabled());
  EXPECT_EQ(std::vector<uint8_t>(v.ventana.datos().pixeles.planoGris(),
                                 v.ventana.datos().pixeles.planoGris() + 320 * 240),
            antes);
}

TEST_F(Ventana, SecondPictureKeepsTheScrollValueAndResetsTheRest) {
  ASSERT_TRUE(abrirCasa());
  umbral()->setValue(40);
  v.ventana.procesoPulsarBinarizar();
  ASSERT_TRUE(accion("mnuBinarizar")->isChecked());
  ASSERT_TRUE(
      v.ventana.abrirFichero(v.escribir(QStringLiteral("otra.png"), imagenDePrueba(50, 30))));
  EXPECT_EQ(v.ventana.windowTitle(), QStringLiteral("Velarno - otra.png 50x30"));
  EXPECT_EQ(umbral()->value(), 40);
  EXPECT_FALSE(accion("mnuBinarizar")->isChecked());
  EXPECT_EQ(v.ventana.botonera().boton(4)->bitmap(), 115);
  EXPECT_EQ(etiqueta("lblValorUmbral"), QStringLiteral("40"));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 50; ++x) ASSERT_FALSE(v.ventana.datos().pixeles.negro(x, y));
}

TEST_F(Ventana, EqualizesOncePerPicture) {
  ASSERT_TRUE(abrirCasa());
  ASSERT_TRUE(accion("mnuEcualizar")->isEnabled());
  accion("mnuEcualizar")->trigger();
  EXPECT_FALSE(accion("mnuEcualizar")->isEnabled());
  EXPECT_EQ(v.ventana.botonera().boton(3)->bitmap(), 127);
  // The histogram describes the equalized levels.
  const DatosImagen& d = v.ventana.datos();
  std::array<int64_t, 256> cuenta{};
  for (int y = 0; y < d.alto; ++y)
    for (int x = 0; x < d.ancho; ++x) ++cuenta[d.pixeles.gris(x, y)];
  EXPECT_EQ(cuenta, d.histograma);
  ASSERT_TRUE(abrirCasa());
  EXPECT_TRUE(accion("mnuEcualizar")->isEnabled());
}

TEST_F(Ventana, EqualizingWhileLatchedKeepsTheLatch) {
  ASSERT_TRUE(abrirCasa());
  v.ventana.procesoPulsarBinarizar();
  accion("mnuEcualizar")->trigger();
  EXPECT_EQ(v.ventana.botonera().boton(4)->bitmap(), 118);
  EXPECT_TRUE(accion("mnuBinarizar")->isChecked());
}

TEST_F(Ventana, BinarizarLatchesAndReleases) {
  ASSERT_TRUE(abrirCasa());
  BotonImagen* binarizar = v.ventana.botonera().boton(4);
  EXPECT_EQ(binarizar->bitmap(), 115);
  QTest::mouseClick(binarizar, Qt::LeftButton);
  EXPECT_EQ(binarizar->bitmap(), 118);
  EXPECT_TRUE(accion("mnuBinarizar")->isChecked());
  const DatosImagen& d = v.ventana.datos();
  EXPECT_EQ(negrosDibujados(v.ventana.superficieBinarizada().qimage()), negrosEsperados(d, 128));
  QTest::mouseClick(binarizar, Qt::LeftButton);
  EXPECT_EQ(binarizar->bitmap(), 115);
  EXPECT_FALSE(accion("mnuBinarizar")->isChecked());
  EXPECT_FALSE(accion("mnuEstadisticas")->isEnabled());
  EXPECT_EQ(v.ventana.botonera().boton(5)->bitmap(), 122);
  // With the view off, the next change of the threshold draws again.
  const quint64 antes = v.ventana.superficieBinarizada().version();
  umbral()->setValue(60);
  EXPECT_NE(v.ventana.superficieBinarizada().version(), antes);
  EXPECT_EQ(negrosDibujados(v.ventana.superficieBinarizada().qimage()), negrosEsperados(d, 60));
}

TEST_F(Ventana, DisabledButtonsIgnoreClicks) {
  QTest::mouseClick(v.ventana.botonera().boton(4), Qt::LeftButton);
  EXPECT_EQ(v.ventana.botonera().boton(4)->bitmap(), 117);
  EXPECT_FALSE(accion("mnuBinarizar")->isChecked());
}

TEST_F(Ventana, ScrollDragUpdatesChartOnlyAndReleaseBinarizes) {
  ASSERT_TRUE(abrirCasa());
  const quint64 binarizadaAntes = v.ventana.superficieBinarizada().version();
  const quint64 graficoAntes = v.ventana.superficieHistograma().version();
  umbral()->setSliderDown(true);
  umbral()->setValue(37);
  EXPECT_EQ(etiqueta("lblValorUmbral"), QStringLiteral("37"));
  EXPECT_EQ(etiqueta("lblValorCantidad"), QString::number(v.ventana.datos().histograma[37]));
  EXPECT_NE(v.ventana.superficieHistograma().version(), graficoAntes);
  EXPECT_EQ(v.ventana.superficieBinarizada().version(), binarizadaAntes);
  umbral()->setSliderDown(false);
  EXPECT_NE(v.ventana.superficieBinarizada().version(), binarizadaAntes);
  EXPECT_EQ(negrosDibujados(v.ventana.superficieBinarizada().qimage()),
            negrosEsperados(v.ventana.datos(), 37));
}

TEST_F(Ventana, StepBinarizationPromptsDownTheFirstColumn) {
  ASSERT_TRUE(v.ventana.abrirFichero(v.escribir(QStringLiteral("p.png"), imagenDePrueba(3, 2))));
  v.dialogos = DialogosGuion("SS");
  accion("mnuBinarizar")->trigger();
  EXPECT_FALSE(accion("mnuBinarizar")->isChecked());  // the view switch stays as it was
  const auto& m = v.dialogos.mensajes();
  ASSERT_EQ(m.size(), 3u);
  const DatosImagen& d = v.ventana.datos();
  const int g01 = d.pixeles.gris(0, 1);
  EXPECT_EQ(m[0].titulo, "Segmentar paso a paso");
  EXPECT_EQ(m[1].texto, "Nivel de gris del punto (0,1): " + std::to_string(g01) +
                            "\rSerá convertido a: " + (g01 < 128 ? "Negro" : "Blanco") +
                            "\r\r¿Seguir ejecución paso a paso?");
  EXPECT_NE(m[2].texto.find("(1,0)"), std::string::npos);
  EXPECT_EQ(negrosDibujados(v.ventana.superficieBinarizada().qimage()), negrosEsperados(d, 128));
}

TEST_F(Ventana, MethodTabRefusedWithoutPicture) {
  auto* carpetas = v.control<QTabWidget>(QStringLiteral("Carpetas"));
  carpetas->setCurrentIndex(1);
  EXPECT_EQ(carpetas->currentIndex(), 0);
  ASSERT_EQ(v.dialogos.mensajes().size(), 1u);
  EXPECT_EQ(v.dialogos.mensajes()[0].titulo, "Error");
  EXPECT_EQ(v.dialogos.mensajes()[0].texto,
            "No puede aplicar un método si no selecciona antes una imagen.");
  EXPECT_EQ(v.dialogos.mensajes()[0].estilo, kEstiloExclamacion);
  ASSERT_TRUE(abrirCasa());
  carpetas->setCurrentIndex(1);
  EXPECT_EQ(carpetas->currentIndex(), 1);
  EXPECT_EQ(v.dialogos.mensajes().size(), 1u);
}

TEST_F(Ventana, MenusSwitchThePanels) {
  auto* simple = v.control<QWidget>(QStringLiteral("SSTabSimple"));
  auto* metodo = v.control<QMenu>(QStringLiteral("mnuMetodo"));
  const char* marcos[] = {"FFuzzy",  "FThrdd", "FIterSel", "FRelajacion", "FRegional",
                          "FMimErr", "FEdgeP", "FGl",      "FEntropy"};
  for (int i = 1; i <= 9; ++i) {
    accion(QStringLiteral("mnuGen(%1)").arg(i).toLatin1().constData())->trigger();
    EXPECT_TRUE(simple->isHidden());
    EXPECT_FALSE(metodo->menuAction()->isVisible());
    for (int j = 1; j <= 9; ++j) {
      EXPECT_EQ(v.control<QWidget>(QString::fromLatin1(marcos[j - 1]))->isHidden(), i != j)
          << i << " " << j;
      EXPECT_EQ(accion(QStringLiteral("mnuGen(%1)").arg(j).toLatin1().constData())->isChecked(),
                i == j);
    }
  }
  accion("mnuGen(0)")->trigger();
  EXPECT_FALSE(simple->isHidden());
  EXPECT_TRUE(metodo->menuAction()->isVisible());
  EXPECT_TRUE(accion("mnuGen(0)")->isChecked());

  accion("mnuAlg(2)")->trigger();
  auto* pestanas = v.control<QTabWidget>(QStringLiteral("SSTabSimple"));
  EXPECT_EQ(pestanas->currentIndex(), 2);
  EXPECT_TRUE(accion("mnuAlg(2)")->isChecked());
  EXPECT_FALSE(accion("mnuAlg(0)")->isChecked());
  pestanas->setCurrentIndex(1);
  EXPECT_TRUE(accion("mnuAlg(1)")->isChecked());
  EXPECT_FALSE(accion("mnuAlg(2)")->isChecked());
}

TEST_F(Ventana, MeanRunsStraightAndPublishes) {
  ASSERT_TRUE(v.ventana.abrirFichero(
      v.escribir(QStringLiteral("g.png"), QImage(QSize(4, 1), QImage::Format_RGB32))));
  // Four pixels 10, 20, 30, 40: mean 25.
  QImage imagen(4, 1, QImage::Format_RGB32);
  for (int x = 0; x < 4; ++x) imagen.setPixel(x, 0, qRgb(10 * (x + 1), 10 * (x + 1), 10 * (x + 1)));
  ASSERT_TRUE(v.ventana.abrirFichero(v.escribir(QStringLiteral("cuatro.png"), imagen)));
  v.control<QPushButton>(QStringLiteral("CMean"))->click();
  auto* lista = v.control<QListWidget>(QStringLiteral("LMean"));
  QStringList lineas;
  for (int i = 0; i < lista->count(); ++i) lineas << lista->item(i)->text();
  EXPECT_EQ(lineas.join(QLatin1Char('\n')),
            QStringLiteral("Iniciando algoritmo Mean\n========================\nsuma Total: 100\n"
                           "Nº de pixels: 4\nUmbral encontrado: 25\n\nAlgoritmo Mean finalizado."));
  EXPECT_EQ(umbral()->value(), 25);
  EXPECT_EQ(etiqueta("lblValorUmbral"), QStringLiteral("25"));
  EXPECT_EQ(negrosDibujados(v.ventana.superficieBinarizada().qimage()), 2);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Ventana, MeanStepCancelledAtFirstPrompt) {
  QImage imagen(3, 2, QImage::Format_RGB32);
  imagen.fill(qRgb(100, 100, 100));
  ASSERT_TRUE(v.ventana.abrirFichero(v.escribir(QStringLiteral("gris.png"), imagen)));
  v.dialogos = DialogosGuion("N");
  v.control<QPushButton>(QStringLiteral("CPasoCmean"))->click();
  ASSERT_EQ(v.dialogos.mensajes().size(), 1u);
  EXPECT_EQ(v.dialogos.mensajes()[0].titulo, "Ejecución paso a paso");
  EXPECT_EQ(umbral()->value(), 100);
  auto* lista = v.control<QListWidget>(QStringLiteral("LMean"));
  EXPECT_EQ(lista->item(5)->text(), QStringLiteral("Paso a Paso cancelado."));
}

TEST_F(Ventana, PercentageTextIsCheckedAsTyped) {
  auto* tpct = v.control<QLineEdit>(QStringLiteral("Tpct"));
  tpct->setText(QString());
  tpct->setText(QStringLiteral("101"));
  tpct->setText(QStringLiteral("100"));
  const auto& m = v.dialogos.mensajes();
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].titulo, "Error en el porcentaje.");
  EXPECT_EQ(m[0].texto,
            "No esta introduciendo un valor válido\rAsegurese de estar introduciendo solo valores "
            "numéricos.");
  EXPECT_EQ(m[1].texto,
            "No esta introduciendo un valor válido\rAsegurese de que está entre 0 y 100.");
  EXPECT_EQ(tpct->text(), QStringLiteral("100"));
}

TEST_F(Ventana, CtrlAAndCtrlXKeepTheirEditingMeaningInTextBoxes) {
  v.ventana.show();
  QApplication::setActiveWindow(&v.ventana);
  ASSERT_TRUE(abrirCasa());
  v.control<QTabWidget>(QStringLiteral("Carpetas"))->setCurrentIndex(1);
  v.control<QTabWidget>(QStringLiteral("SSTabSimple"))->setCurrentIndex(1);
  auto* tpct = v.control<QLineEdit>(QStringLiteral("Tpct"));
  tpct->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return tpct->hasFocus(); }));
  QTest::keyClick(tpct, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(tpct->selectedText(), QStringLiteral("50"));
  EXPECT_EQ(v.selector.llamadas, 0);
  QTest::keyClick(tpct, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(tpct->text(), QString());
  EXPECT_TRUE(v.ventana.isVisible());
}

TEST_F(Ventana, OpenButtonFlashesBeforeTheDialog) {
  int bitmapDuranteDestello = 0;
  QTimer::singleShot(100, [&] { bitmapDuranteDestello = v.ventana.botonera().boton(0)->bitmap(); });
  QTest::mouseClick(v.ventana.botonera().boton(0), Qt::LeftButton);
  EXPECT_EQ(bitmapDuranteDestello, 102);
  EXPECT_EQ(v.ventana.botonera().boton(0)->bitmap(), 101);
  EXPECT_EQ(v.selector.llamadas, 1);
}

// The Qt message boxes and dialogs speak Spanish.
TEST(DialogosQt, StepPromptShowsSiAndNo) {
  DialogosQt dialogos(nullptr);
  QStringList botones;
  QString titulo;
  QString texto;
  QTimer::singleShot(0, [&] {
    auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(caja, nullptr);
    titulo = caja->windowTitle();
    texto = caja->text();
    for (QAbstractButton* b : caja->buttons()) botones << b->text().remove(QLatin1Char('&'));
    caja->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(dialogos.preguntar("Paso a paso", "uno\rdos\r\ntres"), kNo);
  botones.sort();
  EXPECT_EQ(botones, (QStringList{QStringLiteral("No"), QStringLiteral("Sí")}));
  EXPECT_EQ(titulo, QStringLiteral("Paso a paso"));
  EXPECT_EQ(texto, QStringLiteral("uno\ndos\ntres"));
}

TEST(DialogosQt, OkBoxWithoutTitleShowsTheApplicationTitle) {
  DialogosQt dialogos(nullptr);
  QString titulo;
  QString boton;
  QTimer::singleShot(0, [&] {
    auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(caja, nullptr);
    titulo = caja->windowTitle();
    boton = caja->buttons().first()->text().remove(QLatin1Char('&'));
    caja->buttons().first()->click();
  });
  EXPECT_EQ(dialogos.informar("", "Resumen", kEstiloSimple), kAceptar);
  EXPECT_EQ(titulo, QStringLiteral("Velarno"));
  EXPECT_EQ(boton, QStringLiteral("Aceptar"));
}

TEST(DialogoAbrir, ShowsTheFilterAndListsBmpGifJpg) {
  QTemporaryDir carpeta;
  for (const char* nombre : {"a.bmp", "b.gif", "c.jpg", "d.png", "e.txt"}) {
    QFile f(QDir(carpeta.path()).filePath(QString::fromLatin1(nombre)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  std::unique_ptr<QFileDialog> dialogo(crearDialogoAbrir(nullptr));
  EXPECT_EQ(dialogo->windowTitle(), QStringLiteral("Abrir"));
  EXPECT_EQ(dialogo->fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(dialogo->nameFilters(),
            (QStringList{"Archivos de imagen (*.bmp) (*.gif) (*.jpg) (*.bmp *.gif *.jpg)",
                         "Imágenes PNG (*.png) (*.png)", "Todos los archivos (*) (*)"}));
  dialogo->setDirectory(carpeta.path());
  dialogo->show();
  auto* tipos = dialogo->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  ASSERT_NE(tipos, nullptr);
  EXPECT_EQ(tipos->currentText(), QStringLiteral("Archivos de imagen (*.bmp) (*.gif) (*.jpg)"));
  QStringList lineas;
  for (int i = 0; i < tipos->count(); ++i) lineas << tipos->itemText(i);
  EXPECT_EQ(lineas, (QStringList{"Archivos de imagen (*.bmp) (*.gif) (*.jpg)",
                                 "Imágenes PNG (*.png)", "Todos los archivos (*)"}));
  auto* vista = dialogo->findChild<QAbstractItemView*>(QStringLiteral("listView"));
  ASSERT_NE(vista, nullptr);
  QStringList vistos;
  ASSERT_TRUE(QTest::qWaitFor([&] {
    vistos.clear();
    const QModelIndex raiz = vista->rootIndex();
    for (int i = 0; i < vista->model()->rowCount(raiz); ++i)
      vistos << vista->model()->index(i, 0, raiz).data().toString();
    return vistos.size() >= 3;
  }));
  vistos.sort();
  EXPECT_EQ(vistos, (QStringList{"a.bmp", "b.gif", "c.jpg"}));
  dialogo->reject();
}

TEST(FrmAbout, OpensModallyWithTitleCreditsAndAceptar) {
  VentanaPrueba v;
  for (int vez = 0; vez < 2; ++vez) {
    bool modal = false;
    QString titulo;
    QStringList creditos;
    QTimer::singleShot(0, [&] {
      QWidget* caja = QApplication::activeModalWidget();
      ASSERT_NE(caja, nullptr);
      modal = caja->objectName() == QStringLiteral("frmAbout") && caja->isModal();
      titulo = caja->findChild<QLabel*>(QStringLiteral("lblTitle"))->text();
      for (const char* n : {"lblCreadopor", "Label1", "Label2", "Label3"})
        creditos << caja->findChild<QLabel*>(QString::fromLatin1(n))->text();
      auto* ok = caja->findChild<QPushButton*>(QStringLiteral("cmdOK"));
      EXPECT_EQ(ok->text(), QStringLiteral("Aceptar"));
      ok->click();
    });
    v.control<QAction>(QStringLiteral("mnuAcerca"))->trigger();
    EXPECT_TRUE(modal);
    EXPECT_EQ(titulo, QStringLiteral("Velarno"));
    EXPECT_EQ(creditos.size(), 4);
    for (const QString& c : creditos) EXPECT_FALSE(c.isEmpty());
  }
  EXPECT_EQ(v.ventana.windowTitle(), QStringLiteral("Velarno"));
}

}  // namespace
}  // namespace velarno
