// The main window's additions through the real Form1: threshold overlay and shares, saving
// pictures and traces, zoom, pan and the pixel readout, drag-and-drop, progress with cancel.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "shell/vista_imagen.h"
#include "support/ventana_prueba.h"

namespace velarno {
namespace {

// A save dialog that answers from a list of paths (nullopt = Cancel) and keeps the titles.
class GuardarGuion : public SelectorGuardar {
 public:
  std::optional<QString> elegir(QWidget*, const QString& titulo, const QStringList&,
                                const QString& sugerido) override {
    sugeridos << sugerido;
    titulos << titulo;
    if (respuestas.empty()) return std::nullopt;
    std::optional<QString> r = respuestas.front();
    respuestas.erase(respuestas.begin());
    return r;
  }
  std::vector<std::optional<QString>> respuestas;
  QStringList titulos;
  QStringList sugeridos;
};

std::string lineasDe(const QListWidget* lista) {
  std::string texto;
  for (int i = 0; i < lista->count(); ++i) texto += lista->item(i)->text().toStdString() + "\n";
  return texto;
}

std::vector<uint8_t> planoNegro(const DatosImagen& d) {
  return {d.pixeles.planoNegro(), d.pixeles.planoNegro() + d.pixeles.cantidad()};
}

class Extras : public ::testing::Test {
 protected:
  Extras() {
    v.ventana.fijarSelectorGuardar(&guardar);
    v.ventana.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&v.ventana));
  }
  QAction* accion(const char* nombre) { return v.control<QAction>(QString::fromLatin1(nombre)); }
  QScrollBar* umbral() { return v.control<QScrollBar>(QStringLiteral("scrUmbral")); }
  VistaImagen* vista(const char* nombre) {
    return v.control<VistaImagen>(QString::fromLatin1(nombre));
  }
  QString ruta(const char* nombre) { return QDir(v.carpeta.path()).filePath(nombre); }
  QString casa() { return v.escribir(QStringLiteral("casa.bmp"), imagenDePrueba(320, 240)); }
  bool abrirCasa() { return v.ventana.abrirFichero(casa()); }
  // Moves the threshold as a click on the bar would: chart, labels and binarized picture.
  void fijarUmbral(int valor) { umbral()->setValue(valor); }
  std::string cajas() {
    std::string texto;
    for (const Mensaje& m : v.dialogos.mensajes())
      texto += m.titulo + "|" + m.texto + "|" + std::to_string(m.estilo) + "\n";
    return texto;
  }

  VentanaPrueba v;
  GuardarGuion guardar;
};

// ---- Overlay -------------------------------------------------------------------------------

// Half red over the grey level.
QRgb rojoSobre(int g) { return qRgb((255 + g) / 2, g / 2, g / 2); }

TEST(SuperponerUmbral, PaintsRedExactlyTheGreyLevelsBelowTheThreshold) {
  QImage gris(256, 1, QImage::Format_Grayscale8);
  for (int x = 0; x < 256; ++x) gris.scanLine(0)[x] = static_cast<uchar>(x);
  for (int t : {0, 1, 128, 255, 256}) {
    const QImage r = superponerUmbral(gris, t);
    for (int x = 0; x < 256; ++x)
      ASSERT_EQ(r.pixel(x, 0), x < t ? rojoSobre(x) : qRgb(x, x, x)) << "t " << t << " x " << x;
  }
}

TEST_F(Extras, OverlayAtFullSizeEqualsTheBinarizationRuleAndFollowsADrag) {
  ASSERT_TRUE(abrirCasa());
  VistaImagen* gris = vista("imagenGris");
  v.control<QCheckBox>(QStringLiteral("chkSuperponer"))->setChecked(true);
  gris->fijarEscala(1, QPointF(0, 0));
  const DatosImagen& d = v.ventana.datos();
  const auto comprobar = [&](int t) {
    const QImage pantalla = gris->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int comprobados = 0;
    for (int vy = 0; vy < pantalla.height(); ++vy)
      for (int vx = 0; vx < pantalla.width(); ++vx) {
        const QPoint p = gris->pixelEn(QPointF(vx + 0.5, vy + 0.5));
        if (p.x() < 0) continue;
        const int g = d.pixeles.gris(p.x(), p.y());
        ASSERT_EQ(pantalla.pixel(vx, vy), g < t ? rojoSobre(g) : qRgb(g, g, g))
            << "t " << t << " at " << p.x() << "," << p.y();
        ++comprobados;
      }
    EXPECT_GT(comprobados, 10000);
  };
  fijarUmbral(100);
  comprobar(100);
  // While the thumb is dragged only the chart and the labels follow, and the overlay.
  const QImage binarizadaAntes = v.ventana.superficieBinarizada().qimage();
  umbral()->setSliderDown(true);
  umbral()->setValue(170);
  comprobar(170);
  EXPECT_EQ(v.ventana.superficieBinarizada().qimage(), binarizadaAntes);
  umbral()->setSliderDown(false);
  // Fitted again after a zoom, the overlay is the fitted picture's, as before the zoom.
  gris->ajustar();
  const QImage ajustada = gris->grab().toImage();
  gris->fijarEscala(3, QPointF(-50, -50));
  gris->grab();
  gris->ajustar();
  EXPECT_EQ(gris->grab().toImage(), ajustada);
  v.control<QCheckBox>(QStringLiteral("chkSuperponer"))->setChecked(false);
  const QImage sin = gris->grab().toImage().convertToFormat(QImage::Format_RGB32);
  for (int vy = 0; vy < sin.height(); ++vy)
    for (int vx = 0; vx < sin.width(); ++vx) {
      if (gris->pixelEn(QPointF(vx + 0.5, vy + 0.5)).x() < 0) continue;
      const QRgb c = sin.pixel(vx, vy);
      ASSERT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c)) << vx << "," << vy;
    }
}

TEST_F(Extras, SharesAddUpToAHundredFollowTheThumbAndUseTheLocaleSeparator) {
  auto* etiqueta = v.control<QLabel>(QStringLiteral("lblPorcentajes"));
  const QLocale previo;
  QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
  ASSERT_TRUE(abrirCasa());
  const DatosImagen& d = v.ventana.datos();
  const QRegularExpression forma(QStringLiteral("^Negro: (\\d+),(\\d) %  Blanco: (\\d+),(\\d) %$"));
  for (int t : {0, 1, 77, 128, 200, 255}) {
    SCOPED_TRACE(t);
    umbral()->setSliderDown(t % 2 == 1);  // odd values while dragging
    umbral()->setValue(t);
    const QRegularExpressionMatch m = forma.match(etiqueta->text());
    ASSERT_TRUE(m.hasMatch()) << etiqueta->text().toStdString();
    const int negro = m.captured(1).toInt() * 10 + m.captured(2).toInt();
    const int blanco = m.captured(3).toInt() * 10 + m.captured(4).toInt();
    EXPECT_EQ(negro + blanco, 1000);
    int64_t negros = 0;
    for (int g = 0; g < t; ++g) negros += d.histograma[static_cast<size_t>(g)];
    EXPECT_EQ(negro, std::nearbyint(negros * 1000.0 / (320 * 240)));
    umbral()->setSliderDown(false);
  }
  QLocale::setDefault(QLocale::c());
  umbral()->setValue(0);
  EXPECT_EQ(etiqueta->text(), QStringLiteral("Negro: 0.0 %  Blanco: 100.0 %"));
  QLocale::setDefault(previo);
}

// ---- Saving --------------------------------------------------------------------------------

TEST_F(Extras, SavedGreyPictureReadsBackEqualToTheRecordInEachFormat) {
  EXPECT_FALSE(accion("mnuGuardarGris")->isEnabled());
  ASSERT_TRUE(abrirCasa());
  ASSERT_TRUE(accion("mnuGuardarGris")->isEnabled());
  const DatosImagen& d = v.ventana.datos();
  for (const char* nombre : {"gris.png", "gris.bmp", "gris.pgm"}) {
    SCOPED_TRACE(nombre);
    guardar.respuestas = {ruta(nombre)};
    accion("mnuGuardarGris")->trigger();
    const QImage leida(ruta(nombre));
    ASSERT_EQ(leida.size(), QSize(320, 240));
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 320; ++x)
        ASSERT_EQ(qGray(leida.pixel(x, y)), d.pixeles.gris(x, y)) << x << "," << y;
  }
  EXPECT_EQ(guardar.titulos.first(), QStringLiteral("Guardar escala de grises"));
  EXPECT_EQ(guardar.sugeridos.first(), QStringLiteral("casa_gris.png"));
  EXPECT_EQ(v.ventana.statusBar()->currentMessage(),
            QStringLiteral("Se ha guardado «%1».").arg(QDir::toNativeSeparators(ruta("gris.pgm"))));
  EXPECT_TRUE(v.dialogos.mensajes().empty());
}

TEST_F(Extras, SavedBinarizedPictureReadsBackEqualToTheDrawnOne) {
  ASSERT_TRUE(abrirCasa());
  EXPECT_FALSE(accion("mnuGuardarBinarizada")->isEnabled());
  fijarUmbral(90);
  ASSERT_TRUE(accion("mnuGuardarBinarizada")->isEnabled());
  const QImage dibujada = v.ventana.superficieBinarizada().qimage();
  for (const char* nombre : {"bin.png", "bin.bmp", "bin.pgm"}) {
    SCOPED_TRACE(nombre);
    guardar.respuestas = {ruta(nombre)};
    accion("mnuGuardarBinarizada")->trigger();
    const QImage leida(ruta(nombre));
    ASSERT_EQ(leida.size(), dibujada.size());
    for (int y = 0; y < leida.height(); ++y)
      for (int x = 0; x < leida.width(); ++x)
        ASSERT_EQ(qGray(leida.pixel(x, y)), qGray(dibujada.pixel(x, y))) << x << "," << y;
  }
  EXPECT_EQ(guardar.titulos.first(), QStringLiteral("Guardar imagen binarizada"));
  EXPECT_EQ(guardar.sugeridos.first(), QStringLiteral("casa_binarizada.png"));
  // Switching the binarized view off clears the picture: nothing to save.
  v.ventana.procesoPulsarBinarizar();
  v.ventana.procesoPulsarBinarizar();
  EXPECT_FALSE(accion("mnuGuardarBinarizada")->isEnabled());
}

TEST_F(Extras, SaveFailuresAndCancelAreReportedOrSilent) {
  ASSERT_TRUE(abrirCasa());
  guardar.respuestas = {std::nullopt, ruta("no/existe/x.png"), ruta("x.jpg")};
  for (int i = 0; i < 3; ++i) accion("mnuGuardarGris")->trigger();
  EXPECT_EQ(v.ventana.statusBar()->currentMessage(), QString());
  EXPECT_EQ(cajas(),
            "Guardar|No se puede escribir el fichero «x.png».|48\n"
            "Guardar|No se puede escribir el fichero «x.jpg»: el nombre debe terminar en .png, "
            ".bmp o .pgm.|48\n");
  EXPECT_FALSE(QFile::exists(ruta("x.jpg")));
}

TEST(DialogoGuardar, ConfirmsOverwriteAndTakesTheChosenFiltersExtension) {
  std::unique_ptr<QFileDialog> dialogo(crearDialogoGuardar(
      nullptr, QStringLiteral("Guardar imagen binarizada"),
      {QStringLiteral("Imágenes PNG (*.png)"), QStringLiteral("Imágenes BMP (*.bmp)")},
      QStringLiteral("casa_binarizada.png")));
  EXPECT_GE(dialogo->width(), 600);
  EXPECT_GE(dialogo->height(), 400);
  EXPECT_EQ(dialogo->windowTitle(), QStringLiteral("Guardar imagen binarizada"));
  EXPECT_EQ(dialogo->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_FALSE(dialogo->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(dialogo->defaultSuffix(), QStringLiteral("png"));
  emit dialogo->filterSelected(QStringLiteral("Imágenes BMP (*.bmp)"));
  EXPECT_EQ(dialogo->defaultSuffix(), QStringLiteral("bmp"));
}

TEST_F(Extras, TraceCopyAndExportEqualTheList) {
  ASSERT_TRUE(abrirCasa());
  v.ventana.ejecutarMetodo(QStringLiteral("CMean"), false);
  auto* lista = v.control<QListWidget>(QStringLiteral("LMean"));
  ASSERT_GT(lista->count(), 3);
  std::unique_ptr<QMenu> menu(v.ventana.crearMenuTraza(lista));
  QStringList entradas;
  for (QAction* a : menu->actions()) entradas << a->text();
  EXPECT_EQ(entradas, (QStringList{"Copiar", "Guardar traza..."}));

  menu->actions().at(0)->trigger();
  std::string todo = lineasDe(lista);
  todo.pop_back();  // joined: no line break after the last line
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), todo);
  lista->item(3)->setSelected(true);
  lista->item(0)->setSelected(true);
  menu->actions().at(0)->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(),
            lista->item(0)->text() + QLatin1Char('\n') + lista->item(3)->text());

  guardar.respuestas = {ruta("traza.txt")};
  menu->actions().at(1)->trigger();
  QFile fichero(ruta("traza.txt"));
  ASSERT_TRUE(fichero.open(QIODevice::ReadOnly));
  EXPECT_EQ(fichero.readAll().toStdString(), lineasDe(lista));
  EXPECT_EQ(guardar.titulos.last(), QStringLiteral("Guardar traza"));
  EXPECT_EQ(guardar.sugeridos.last(), QStringLiteral("casa_traza.txt"));
}

// Relaxation's items keep their carriage return; the list shows it as a line break and a saved
// trace writes it as CR LF.
TEST_F(Extras, RelaxationItemsBreakInTwoLinesOnScreenAndInTheSavedTrace) {
  ASSERT_TRUE(v.ventana.abrirFichero(v.escribir(QStringLiteral("r.bmp"), imagenDePrueba(12, 9))));
  v.ventana.ejecutarMetodo(QStringLiteral("Command1"), false);
  auto* lista = v.control<QListWidget>(QStringLiteral("LRelajacion"));
  QListWidgetItem* iteracion = lista->item(7);
  ASSERT_TRUE(iteracion->text().startsWith(QStringLiteral("Iteration: 1\rresiduo: ")));
  EXPECT_GE(lista->visualItemRect(iteracion).height(),
            lista->visualItemRect(lista->item(0)).height() * 2 - 2);
  guardar.respuestas = {ruta("relajacion.txt")};
  v.ventana.guardarTraza(lista);
  QFile fichero(ruta("relajacion.txt"));
  ASSERT_TRUE(fichero.open(QIODevice::ReadOnly));
  EXPECT_TRUE(fichero.readAll().contains("\nIteration: 1\r\nresiduo: "));
}

// ---- Zoom, pan and the pixel under the pointer ----------------------------------------------

TEST_F(Extras, WheelZoomKeepsThePixelUnderThePointerKeysStepAndZeroFits) {
  ASSERT_TRUE(abrirCasa());
  fijarUmbral(99);
  for (const char* nombre : {"imagen", "imagenGris", "imagenBinarizada"}) {
    SCOPED_TRACE(nombre);
    VistaImagen* w = vista(nombre);
    ASSERT_TRUE(w->ajustada());
    const QPointF punto(w->width() / 3.0, w->height() / 2.0);
    const QPoint ajustado = w->pixelEn(punto);
    ASSERT_GE(ajustado.x(), 0);
    const double escala = w->escala();
    // Two notches; the picture then overflows the view on both sides, so nothing re-centres it.
    w->fijarEscala(3, QPointF(-100, -100));
    const QPoint antes = w->pixelEn(punto);
    QWheelEvent rueda(punto, w->mapToGlobal(punto), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &rueda);
    EXPECT_NEAR(w->escala(), 3 * 1.5625, 1e-9);
    EXPECT_LE((w->pixelEn(punto) - antes).manhattanLength(), 1);
    QTest::keyClick(w, Qt::Key_Minus);
    EXPECT_NEAR(w->escala(), 3 * 1.25, 1e-9);
    QTest::keyClick(w, Qt::Key_Plus);
    EXPECT_NEAR(w->escala(), 3 * 1.5625, 1e-9);
    QTest::keyClick(w, Qt::Key_0);
    EXPECT_TRUE(w->ajustada());
    EXPECT_EQ(w->escala(), escala);
    EXPECT_EQ(w->pixelEn(punto), ajustado);
    // Zooming out below the fitted picture fits it.
    QWheelEvent atras(punto, w->mapToGlobal(punto), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &atras);
    EXPECT_TRUE(w->ajustada());
  }
}

TEST_F(Extras, ViewMenuZoomsAndFitsWhenThereIsAPicture) {
  VistaImagen* w = vista("imagenBinarizada");
  const auto entradas = [&] {
    std::unique_ptr<QMenu> menu(w->crearMenu(nullptr));
    std::string texto;
    for (QAction* a : menu->actions())
      texto += a->text().toStdString() + (a->isEnabled() ? "+" : "-") + " ";
    return texto;
  };
  EXPECT_EQ(entradas(), "Acercar- Alejar- Ajustar- ");
  ASSERT_TRUE(abrirCasa());
  fijarUmbral(99);
  EXPECT_EQ(entradas(), "Acercar+ Alejar+ Ajustar- ");
  std::unique_ptr<QMenu> menu(w->crearMenu(nullptr));
  menu->actions().at(0)->trigger();
  EXPECT_FALSE(w->ajustada());
  EXPECT_EQ(entradas(), "Acercar+ Alejar+ Ajustar+ ");
  std::unique_ptr<QMenu> otro(w->crearMenu(nullptr));
  otro->actions().at(2)->trigger();
  EXPECT_TRUE(w->ajustada());
}

TEST_F(Extras, DraggingAZoomedViewPansIt) {
  ASSERT_TRUE(abrirCasa());
  VistaImagen* w = vista("imagenGris");
  w->fijarEscala(4, QPointF(0, 0));
  const QPointF centro(w->width() / 2.0, w->height() / 2.0);
  const QPoint antes = w->pixelEn(centro);
  QMouseEvent pulsar(QEvent::MouseButtonPress, centro, w->mapToGlobal(centro), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &pulsar);
  const QPointF destino = centro - QPointF(40, 20);
  QMouseEvent mover(QEvent::MouseMove, destino, w->mapToGlobal(destino), Qt::NoButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &mover);
  QMouseEvent soltar(QEvent::MouseButtonRelease, destino, w->mapToGlobal(destino), Qt::LeftButton,
                     Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &soltar);
  EXPECT_EQ(w->pixelEn(centro), antes + QPoint(10, 5));
  // The picture's edge cannot be dragged into the view.
  w->fijarEscala(4, QPointF(500, 500));
  EXPECT_EQ(w->origen(), QPointF(0, 0));
}

// The grey view's scroll bars pan it while zoomed and are disabled while it fits.
TEST_F(Extras, GreyScrollBarsFollowAndPanTheZoomedView) {
  auto* h = v.control<QScrollBar>(QStringLiteral("HScroll2"));
  auto* vertical = v.control<QScrollBar>(QStringLiteral("VScroll2"));
  ASSERT_TRUE(abrirCasa());
  VistaImagen* w = vista("imagenGris");
  EXPECT_FALSE(h->isEnabled());
  EXPECT_FALSE(vertical->isEnabled());
  w->fijarEscala(4, QPointF(-100, -60));
  ASSERT_TRUE(h->isEnabled());
  ASSERT_TRUE(vertical->isEnabled());
  EXPECT_EQ(h->maximum(), 1280 - w->width());
  EXPECT_EQ(vertical->maximum(), 960 - w->height());
  EXPECT_EQ(h->pageStep(), w->width());
  EXPECT_EQ(h->value(), 100);
  EXPECT_EQ(vertical->value(), 60);
  h->setValue(400);
  vertical->setValue(200);
  EXPECT_EQ(w->origen(), QPointF(-400, -200));
  w->fijarEscala(4, QPointF(-8, -4));
  EXPECT_EQ(h->value(), 8);
  EXPECT_EQ(vertical->value(), 4);
  w->ajustar();
  EXPECT_FALSE(h->isEnabled());
  EXPECT_FALSE(vertical->isEnabled());
}

TEST_F(Extras, StatusBarShowsPositionGreyAndBlackOrWhite) {
  ASSERT_TRUE(abrirCasa());
  VistaImagen* w = vista("imagenGris");
  w->fijarEscala(1, QPointF(0, 0));
  const DatosImagen& d = v.ventana.datos();
  const auto mover = [&](QPointF p) {
    QMouseEvent evento(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
    QApplication::sendEvent(w, &evento);
    return v.ventana.statusBar()->currentMessage();
  };
  const int g = d.pixeles.gris(12, 34);
  ASSERT_LT(g, 255);
  const QPointF sobre(12.5, 34.5);
  const auto texto = [g](const char* color) {
    return QStringLiteral("x: 12  y: 34  gris: %1  %2").arg(g).arg(QString::fromLatin1(color));
  };
  // Before anything is binarized, by the threshold rule (128 after opening).
  EXPECT_EQ(mover(sobre), texto(g < 128 ? "negro" : "blanco"));
  // Then as the binarized view shows it, even while the thumb says otherwise.
  fijarUmbral(g);
  EXPECT_EQ(mover(sobre), texto("blanco"));
  umbral()->setSliderDown(true);
  umbral()->setValue(g + 1);
  EXPECT_EQ(mover(sobre), texto("blanco"));
  umbral()->setSliderDown(false);  // released: drawn with g + 1
  EXPECT_EQ(mover(sobre), texto("negro"));
  QEvent salir(QEvent::Leave);
  QApplication::sendEvent(w, &salir);
  EXPECT_EQ(v.ventana.statusBar()->currentMessage(), QString());
}

// ---- Drag-and-drop -------------------------------------------------------------------------

TEST_F(Extras, DroppingAFileOpensItExactlyAsAbrir) {
  const QString fichero = casa();
  VentanaPrueba porAbrir;
  porAbrir.selector.respuestas = {fichero};
  porAbrir.control<QAction>(QStringLiteral("abrir"))->trigger();

  QMimeData texto;
  texto.setText(QStringLiteral("casa"));
  QDragEnterEvent rechazada(QPoint(10, 10), Qt::CopyAction, &texto, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&v.ventana, &rechazada);
  EXPECT_FALSE(rechazada.isAccepted());

  QMimeData datos;
  datos.setUrls({QUrl::fromLocalFile(fichero)});
  {
    // Not while a modal box (a step prompt, a message) is open.
    QDialog caja(&v.ventana);
    caja.open();
    QDragEnterEvent bloqueada(QPoint(10, 10), Qt::CopyAction, &datos, Qt::LeftButton,
                              Qt::NoModifier);
    QApplication::sendEvent(&v.ventana, &bloqueada);
    EXPECT_FALSE(bloqueada.isAccepted());
  }
  QDragEnterEvent entrar(QPoint(10, 10), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&v.ventana, &entrar);
  EXPECT_TRUE(entrar.isAccepted());
  QDropEvent soltar(QPointF(10, 10), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&v.ventana, &soltar);
  ASSERT_TRUE(QTest::qWaitFor([&] { return v.ventana.datos().ancho == 320; }));

  EXPECT_EQ(v.ventana.windowTitle(), porAbrir.ventana.windowTitle());
  EXPECT_EQ(v.ventana.windowTitle(), QStringLiteral("Velarno - casa.bmp 320x240"));
  const DatosImagen& a = porAbrir.ventana.datos();
  const DatosImagen& b = v.ventana.datos();
  EXPECT_EQ(a.histograma, b.histograma);
  EXPECT_TRUE(std::equal(a.pixeles.planoGris(), a.pixeles.planoGris() + a.pixeles.cantidad(),
                         b.pixeles.planoGris()));
  EXPECT_EQ(v.ventana.superficieGris().qimage(), porAbrir.ventana.superficieGris().qimage());
  EXPECT_EQ(v.control<QLabel>(QStringLiteral("lblValorCantidad"))->text(),
            porAbrir.control<QLabel>(QStringLiteral("lblValorCantidad"))->text());
  EXPECT_EQ(v.selector.llamadas, 0);
}

// ---- Progress with cancel ------------------------------------------------------------------

struct CasoCancelar {
  const char* boton;
  const char* lista;
  bool dialogoInmediato;
  bool binarizadaPrevia;  // a binarized picture is shown before the run
};

void PrintTo(const CasoCancelar& c, std::ostream* os) { *os << c.boton; }

class Cancelar : public Extras, public ::testing::WithParamInterface<CasoCancelar> {};

TEST_P(Cancelar, LeavesRecordAndPicturesAsTheyWereAndSaysSo) {
  const CasoCancelar& caso = GetParam();
  ASSERT_TRUE(abrirCasa());
  if (caso.binarizadaPrevia) fijarUmbral(110);
  const std::vector<uint8_t> negroAntes = planoNegro(v.ventana.datos());
  const QImage binarizadaAntes = v.ventana.superficieBinarizada().qimage();
  const QImage grisAntes = v.ventana.superficieGris().qimage();
  const bool guardarAntes = accion("mnuGuardarBinarizada")->isEnabled();
  const int umbralAntes = umbral()->value();
  bool dialogoVisto = false;
  v.ventana.fijarGanchoProgresoParaPruebas([&](int llamada) {
    if (llamada == 1) {
      auto* d = v.ventana.findChild<QProgressDialog*>(QStringLiteral("progresoMetodo"));
      dialogoVisto = d && d->isVisible() && d->isModal() &&
                     d->findChild<QPushButton*>()->text() == QStringLiteral("Cancelar");
    }
    return llamada < 3;
  });
  v.ventana.ejecutarMetodo(QString::fromLatin1(caso.boton), false);
  v.ventana.fijarGanchoProgresoParaPruebas({});

  auto* lista = v.control<QListWidget>(QString::fromLatin1(caso.lista));
  ASSERT_GT(lista->count(), 0);
  EXPECT_EQ(lista->item(lista->count() - 1)->text(),
            QStringLiteral("Ejecución cancelada por el usuario."));
  EXPECT_EQ(dialogoVisto, caso.dialogoInmediato);
  EXPECT_EQ(v.ventana.findChild<QProgressDialog*>(QStringLiteral("progresoMetodo")), nullptr);
  EXPECT_TRUE(planoNegro(v.ventana.datos()) == negroAntes);
  EXPECT_EQ(v.ventana.superficieBinarizada().qimage(), binarizadaAntes);
  EXPECT_EQ(v.ventana.superficieGris().qimage(), grisAntes);
  EXPECT_EQ(vista("imagenBinarizada")->limpia(), !caso.binarizadaPrevia);
  EXPECT_EQ(accion("mnuGuardarBinarizada")->isEnabled(), guardarAntes);
  EXPECT_EQ(umbral()->value(), umbralAntes);

  // The next run is not cancelled and draws as usual.
  v.ventana.ejecutarMetodo(QString::fromLatin1(caso.boton), false);
  EXPECT_NE(lista->item(lista->count() - 1)->text(),
            QStringLiteral("Ejecución cancelada por el usuario."));
  EXPECT_FALSE(vista("imagenBinarizada")->limpia());
}

TEST_F(Extras, CancelarOnTheProgressBoxEndsTheRun) {
  ASSERT_TRUE(abrirCasa());
  int ultima = 0;
  v.ventana.fijarGanchoProgresoParaPruebas([&](int llamada) {
    ultima = llamada;
    if (llamada == 1)
      v.ventana.findChild<QProgressDialog*>(QStringLiteral("progresoMetodo"))
          ->findChild<QPushButton*>()
          ->click();
    return true;
  });
  v.ventana.ejecutarMetodo(QStringLiteral("Command2"), false);
  EXPECT_EQ(ultima, 1);
  auto* lista = v.control<QListWidget>(QStringLiteral("LRegional"));
  EXPECT_EQ(lista->item(lista->count() - 1)->text(),
            QStringLiteral("Ejecución cancelada por el usuario."));
  EXPECT_TRUE(vista("imagenBinarizada")->limpia());
}

INSTANTIATE_TEST_SUITE_P(Espaciales, Cancelar,
                         ::testing::Values(CasoCancelar{"Command2", "LRegional", true, true},
                                           CasoCancelar{"Command1", "LRelajacion", true, true},
                                           CasoCancelar{"Relax", "LThrdd", false, true},
                                           CasoCancelar{"Command2", "LRegional", true, false}),
                         [](const auto& p) {
                           return std::string(p.param.boton) +
                                  (p.param.binarizadaPrevia ? "" : "SinBinarizada");
                         });

}  // namespace
}  // namespace velarno
