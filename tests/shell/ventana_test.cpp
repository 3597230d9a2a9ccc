// The real Form1: opening, the binarized view and the threshold bar, the method tab; every
// catalogue row reaching its frame, inputs, buttons, trace list and publication; the save
// dialog; overlay, saving, traces, zoom and pan, drag-and-drop, progress with cancel.
#include <algorithm>
#include <map>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "app/catalogo.h"
#include "methods/entorno_simple.h"
#include "platform/superficie_qimage.h"
#include "shell/vista_imagen.h"
#include "support/ventana_prueba.h"

namespace velarno {
namespace {

// The real window, shown.
class Ventana : public ::testing::Test {
 protected:
  Ventana() {
    v.ventana.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&v.ventana));
  }
  QString casa() { return v.escribir(QStringLiteral("casa.bmp"), imagenDePrueba(320, 240)); }
  std::string etiqueta(const char* nombre) {
    return v.control<QLabel>(nombre)->text().toStdString();
  }
  VistaImagen* vista(const char* nombre) { return v.control<VistaImagen>(nombre); }
  QString ruta(const char* nombre) { return QDir(v.carpeta.path()).filePath(nombre); }
  QString estado() { return v.ventana.statusBar()->currentMessage(); }
  void raton(QWidget* w, QEvent::Type tipo, QPointF p, Qt::MouseButton boton,
             Qt::MouseButtons botones) {
    QMouseEvent evento(tipo, p, w->mapToGlobal(p), boton, botones, Qt::NoModifier);
    QApplication::sendEvent(w, &evento);
  }

  VentanaPrueba v;
};

// "Abrir" from the tool bar, whose button flashes before the dialog: cancelled, then a picture
// (title, grey picture, labels), then a file that is no picture (a box; nothing changes).
TEST_F(Ventana, AbrirCancelledDoneAndFailed) {
  QFile roto(ruta("roto.jpg"));
  ASSERT_TRUE(roto.open(QIODevice::WriteOnly) && roto.write("no es una imagen") > 0);
  roto.close();
  v.selector.respuestas = {std::nullopt, casa(), roto.fileName()};
  int destello = 0;
  QTimer::singleShot(100, [&] { destello = v.ventana.botonera().boton(0)->bitmap(); });
  QTest::mouseClick(v.ventana.botonera().boton(0), Qt::LeftButton);
  EXPECT_EQ(destello, 102);
  EXPECT_EQ(v.ventana.botonera().boton(0)->bitmap(), 101);
  EXPECT_EQ(v.ventana.windowTitle(), QStringLiteral("Velarno"));
  v.accion("abrir")->trigger();
  EXPECT_EQ(v.ventana.windowTitle(), QStringLiteral("Velarno - casa.bmp 320x240"));
  const DatosImagen& d = v.ventana.datos();
  const auto registro = [&] {
    return QImage(d.pixeles.planoGris(), d.ancho, d.alto, d.ancho, QImage::Format_Grayscale8)
        .copy();
  };
  EXPECT_TRUE(v.ventana.superficieGris().qimage() == registro());
  EXPECT_EQ(etiqueta("lblValorUmbral") + " " + etiqueta("lblValorCantidad"),
            "128 " + std::to_string(d.histograma[128]));
  const QImage antes = registro();
  v.accion("abrir")->trigger();
  EXPECT_EQ(v.cajas(),
            "Abrir|No se puede abrir «roto.jpg»: no es una imagen BMP, GIF, JPEG o PNG "
            "válida.|48|1\n");
  EXPECT_EQ(v.ventana.windowTitle(), QStringLiteral("Velarno - casa.bmp 320x240"));
  EXPECT_TRUE(registro() == antes);
}

// The binarized view's switch; while the thumb is dragged only the chart and the labels follow,
// its release binarizes.
TEST_F(Ventana, BinarizarButtonAndThresholdBar) {
  BotonImagen* binarizar = v.ventana.botonera().boton(4);
  QTest::mouseClick(binarizar, Qt::LeftButton);  // disabled: ignored
  EXPECT_FALSE(v.accion("mnuBinarizar")->isChecked());
  ASSERT_TRUE(v.ventana.abrirFichero(casa()));
  const DatosImagen& d = v.ventana.datos();
  QTest::mouseClick(binarizar, Qt::LeftButton);
  const quint64 binarizada = v.ventana.superficieBinarizada().version();
  const quint64 grafico = v.ventana.superficieHistograma().version();
  v.umbral()->setSliderDown(true);
  v.umbral()->setValue(37);
  EXPECT_EQ(etiqueta("lblValorUmbral") + " " + etiqueta("lblValorCantidad"),
            "37 " + std::to_string(d.histograma[37]));
  EXPECT_NE(v.ventana.superficieHistograma().version(), grafico);
  EXPECT_EQ(v.ventana.superficieBinarizada().version(), binarizada);
  v.umbral()->setSliderDown(false);
  EXPECT_EQ(negrosDe(v.ventana.superficieBinarizada().qimage()), bajoUmbral(d, 37));
  QTest::mouseClick(binarizar, Qt::LeftButton);
  EXPECT_FALSE(v.accion("mnuBinarizar")->isChecked());
  EXPECT_TRUE(v.control<VistaImagen>("imagenBinarizada")->limpia());
}

// The Método tab needs a picture, its simple methods' tabs check their Método Simple entries,
// Tpct is checked as it is typed; "Binarizar paso a paso" steps through the picture and leaves
// the view's switch as it was.
TEST_F(Ventana, MethodTabAndStepBinarizationFromTheMenu) {
  auto* carpetas = v.control<QTabWidget>("Carpetas");
  carpetas->setCurrentIndex(1);
  EXPECT_EQ(carpetas->currentIndex(), 0);
  EXPECT_EQ(v.cajas(),
            "Error|No puede aplicar un método si no selecciona antes una imagen.|48|1\n");
  ASSERT_TRUE(v.abrir(QStringLiteral("p.png"), imagenDePrueba(3, 2)));
  carpetas->setCurrentIndex(1);
  EXPECT_EQ(carpetas->currentIndex(), 1);
  v.control<QTabWidget>("SSTabSimple")->setCurrentIndex(2);  // checks its Método Simple entry
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(v.control<QAction>(QStringLiteral("mnuAlg(%1)").arg(i))->isChecked(), i == 2);
  v.control<QLineEdit>("Tpct")->setText(QStringLiteral("101"));  // checked as it is typed
  EXPECT_EQ(v.dialogos.mensajes().at(1).titulo, "Error en el porcentaje.");
  v.dialogos = DialogosPrueba("SS");
  v.accion("mnuBinarizar")->trigger();
  EXPECT_FALSE(v.accion("mnuBinarizar")->isChecked());
  ASSERT_EQ(v.dialogos.mensajes().size(), 3u);
  EXPECT_EQ(v.dialogos.mensajes()[0].titulo, "Segmentar paso a paso");
}

// The same row run in the core on a copy of the window's record with the same input texts,
// drawing on its own surface.
struct Nucleo {
  Nucleo(const MetodoCatalogo& m, const DatosImagen& datos,
         const std::map<std::string, std::string>& textos, std::string respuestas, bool paso)
      : copia(datos), entorno(copia, std::move(respuestas)) {
    superficie.redimensionar(copia.ancho, copia.alto);
    entorno.setBinarizada(&superficie);
    for (const auto& [control, texto] : textos) entorno.setTexto(control, texto);
    m.ejecutar(entorno, paso);
  }
  DatosImagen copia;
  EntornoSimple entorno;
  SuperficieQImage superficie{QImage::Format_Grayscale8, Qt::white};
};

class PanelMetodo : public ::testing::TestWithParam<size_t> {};

TEST_P(PanelMetodo, RowReachesItsEntryFrameInputsButtonsListAndPublication) {
  const MetodoCatalogo& m = catalogo()[GetParam()];
  VentanaPrueba v;
  ASSERT_TRUE(v.abrir(QStringLiteral("p.png"), imagenDePrueba(48, 36)));
  // Its Generacion entry (and Método Simple entry) shows its frame instead of the simple ones.
  v.control<QAction>(QStringLiteral("mnuGen(%1)").arg(m.panel))->trigger();
  if (m.panel == 0) v.control<QAction>(QStringLiteral("mnuAlg(%1)").arg(m.pestana))->trigger();
  EXPECT_FALSE(v.control(m.marco)->isHidden());
  EXPECT_EQ(v.control("SSTabSimple")->isHidden(), m.panel != 0);
  EXPECT_EQ(v.accion("mnuGen(0)")->isChecked(), m.panel == 0);
  EXPECT_TRUE(v.control<QAction>(QStringLiteral("mnuGen(%1)").arg(m.panel))->isChecked());
  EXPECT_EQ(v.control<QMenu>("mnuMetodo")->menuAction()->isVisible(), m.panel == 0);
  // Its inputs, set to other texts than their initial ones, reach the method.
  std::map<std::string, std::string> textos;
  for (const ControlMetodo& c : m.controles) {
    const char* texto = c.tipo == TipoControl::Lista   ? c.elementos.at(1)
                        : c.tipo == TipoControl::Celda ? c.inicial
                                                       : "10";
    if (auto* combo = v.control<QComboBox>(c.nombre))
      combo->setCurrentText(QString::fromUtf8(texto));
    else
      v.control<QLineEdit>(c.nombre)->setText(QString::fromUtf8(texto));
    textos[c.nombre] = texto;
  }
  Nucleo recto(m, v.ventana.datos(), textos, "", false);
  const int antes = v.umbral()->value();
  ASSERT_TRUE(v.control<QListWidget>(m.lista)->font().fixedPitch());
  v.control<QPushButton>(m.botonEjecutar)->click();
  EXPECT_EQ(v.traza(m.lista), recto.entorno.traza().texto());
  EXPECT_EQ(v.cajas(), textoCajas(recto.entorno.dialogos().mensajes()));
  EXPECT_EQ(v.umbral()->value(), recto.entorno.umbralPublicado().value_or(antes));
  EXPECT_EQ(negrosDe(v.ventana.superficieBinarizada().qimage()),
            negrosDe(recto.superficie.qimage()));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  // An input that runs the method by itself does so: Enter in its box, or its scroll bar.
  for (const ControlMetodo& c : m.controles) {
    v.control<QListWidget>(m.lista)->clear();
    if (c.introEjecuta)
      QTest::keyClick(v.control<QLineEdit>(c.nombre), Qt::Key_Return);
    else if (c.tipo == TipoControl::PorcentajeConBarra)
      v.control<QScrollBar>("HScroll1")->setValue(10);
    else
      continue;
    EXPECT_EQ(v.traza(m.lista), recto.entorno.traza().texto()) << c.nombre;
  }
  if (!m.botonPaso) return;
  // Its Step button runs the method step by step, here answering No at the first prompt.
  Nucleo pasos(m, v.ventana.datos(), textos, "N", true);
  v.dialogos = DialogosPrueba("N");
  v.control<QPushButton>(m.botonPaso)->click();
  EXPECT_EQ(v.traza(m.lista), pasos.entorno.traza().texto());
  EXPECT_EQ(v.cajas(), textoCajas(pasos.entorno.dialogos().mensajes()));
}

INSTANTIATE_TEST_SUITE_P(Todos, PanelMetodo, ::testing::Range<size_t>(1, catalogo().size()),
                         [](const auto& p) { return std::string(catalogo()[p.param].id); });

// The overlay paints half red the pixels the thumb's threshold makes black, and the shares
// follow the thumb in the locale's number format.
TEST_F(Ventana, OverlaySharesAndPixelReadoutFollowTheThumb) {
  QImage seis(3, 2, QImage::Format_Grayscale8);
  for (int i = 0; i < 6; ++i) seis.scanLine(i / 3)[i % 3] = static_cast<uchar>(10 * (i + 1));
  const QLocale previo;
  QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
  ASSERT_TRUE(v.abrir(QStringLiteral("seis.png"), seis));
  VistaImagen* gris = vista("imagenGris");
  v.control<QCheckBox>("chkSuperponer")->setChecked(true);
  gris->fijarEscala(20, QPointF(0, 0));
  // Every picture pixel on screen is half red over its grey level when below `t`.
  const auto comprobar = [&](int t, const char* partes) {
    const QImage pantalla = gris->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int comprobados = 0;
    for (int vy = 0; vy < pantalla.height(); ++vy)
      for (int vx = 0; vx < pantalla.width(); ++vx) {
        const QPoint p = gris->pixelEn(QPointF(vx + 0.5, vy + 0.5));
        if (p.x() < 0) continue;
        const int g = v.ventana.datos().pixeles.gris(p.x(), p.y());
        const QRgb rojo = qRgb((255 + g) / 2, g / 2, g / 2);
        ASSERT_EQ(pantalla.pixel(vx, vy), g < t ? rojo : qRgb(g, g, g)) << t << " " << vx;
        ++comprobados;
      }
    EXPECT_EQ(comprobados, 60 * 40);
    EXPECT_EQ(v.control<QLabel>("lblPorcentajes")->text().toStdString(), partes);
  };
  // The status bar names the pixel under the pointer, black or white as the binarized view
  // shows it (by the rule while it shows nothing).
  const std::string pixel =
      "x: 1  y: 0  gris: " + std::to_string(v.ventana.datos().pixeles.gris(1, 0));
  const auto sobre = [&] {
    raton(gris, QEvent::MouseMove, gris->origen() + QPointF(30, 10), Qt::NoButton, Qt::NoButton);
    return estado().toStdString();
  };
  EXPECT_EQ(sobre(), pixel + "  negro");
  v.umbral()->setValue(15);
  comprobar(15, "Negro: 16,7 %  Blanco: 83,3 %");
  EXPECT_EQ(sobre(), pixel + "  blanco");
  v.umbral()->setSliderDown(true);
  v.umbral()->setValue(35);
  comprobar(35, "Negro: 50,0 %  Blanco: 50,0 %");
  EXPECT_EQ(sobre(), pixel + "  blanco");
  v.umbral()->setSliderDown(false);
  EXPECT_EQ(sobre(), pixel + "  negro");
  QEvent salir(QEvent::Leave);
  QApplication::sendEvent(gris, &salir);
  EXPECT_EQ(estado(), QString());
  QLocale::setDefault(QLocale::c());
  v.control<QCheckBox>("chkSuperponer")->setChecked(false);
  v.umbral()->setValue(255);
  comprobar(0, "Negro: 100.0 %  Blanco: 0.0 %");
  QLocale::setDefault(previo);
}

TEST_F(Ventana, SavingSuggestsNamesReportsItAndRefusesWhatItCannotWrite) {
  ASSERT_TRUE(v.ventana.abrirFichero(casa()));
  v.umbral()->setValue(90);
  v.guardar.respuestas = {ruta("gris.pgm"), ruta("bin.bmp"), std::nullopt, ruta("no/existe/x.png"),
                          ruta("x.jpg")};
  v.accion("mnuGuardarGris")->trigger();
  EXPECT_EQ(estado(),
            QStringLiteral("Se ha guardado «%1».").arg(QDir::toNativeSeparators(ruta("gris.pgm"))));
  v.accion("mnuGuardarBinarizada")->trigger();
  EXPECT_TRUE(QImage(ruta("gris.pgm")).convertToFormat(QImage::Format_Grayscale8) ==
              v.ventana.superficieGris().qimage());
  EXPECT_TRUE(QImage(ruta("bin.bmp")).convertToFormat(QImage::Format_Grayscale8) ==
              v.ventana.superficieBinarizada().qimage());
  EXPECT_EQ(v.guardar.vistos, (QStringList{"Guardar escala de grises|casa_gris.png",
                                           "Guardar imagen binarizada|casa_binarizada.png"}));
  v.ventana.statusBar()->clearMessage();
  for (int i = 0; i < 3; ++i) v.accion("mnuGuardarGris")->trigger();
  EXPECT_EQ(estado(), QString());
  EXPECT_EQ(v.cajas(),
            "Guardar|No se puede escribir el fichero «x.png».|48|1\n"
            "Guardar|No se puede escribir el fichero «x.jpg»: el nombre debe terminar en .png, "
            ".bmp o .pgm.|48|1\n");
  EXPECT_FALSE(QFile::exists(ruta("x.jpg")));
}

// Relaxation's items keep their carriage return: shown on two lines, copied and saved as CR LF.
TEST_F(Ventana, TraceCopiedAndSavedWithItsLineBreaks) {
  auto* lista = v.control<QListWidget>("LRelajacion");
  std::unique_ptr<QMenu> vacia(v.ventana.crearMenuTraza(lista));
  EXPECT_FALSE(vacia->actions().at(0)->isEnabled() || vacia->actions().at(1)->isEnabled());
  ASSERT_TRUE(v.abrir(QStringLiteral("r.bmp"), imagenDePrueba(12, 9)));
  v.ventana.ejecutarMetodo(QStringLiteral("Command1"), false);
  std::unique_ptr<QMenu> menu(v.ventana.crearMenuTraza(lista));
  QStringList entradas;
  for (QAction* a : menu->actions()) entradas << a->text() + (a->isEnabled() ? "+" : "-");
  EXPECT_EQ(entradas, (QStringList{"Copiar+", "Guardar traza...+"}));
  ASSERT_TRUE(lista->item(7)->text().startsWith(QStringLiteral("Iteration: 1\rresiduo: ")));
  EXPECT_GE(lista->visualItemRect(lista->item(7)).height(),
            lista->visualItemRect(lista->item(0)).height() * 2 - 2);
  const std::string todas = QString::fromStdString(v.traza("LRelajacion"))
                                .replace(QLatin1Char('\r'), QStringLiteral("\r\n"))
                                .toStdString();
  menu->actions().at(0)->trigger();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString() + "\n", todas);
  v.guardar.respuestas = {std::nullopt, ruta("traza.txt")};
  menu->actions().at(1)->trigger();  // cancelled
  EXPECT_EQ(estado(), QString());
  menu->actions().at(1)->trigger();
  QFile fichero(ruta("traza.txt"));
  ASSERT_TRUE(fichero.open(QIODevice::ReadOnly));
  EXPECT_EQ(fichero.readAll().toStdString(), todas);
  EXPECT_EQ(v.guardar.vistos.last(), QStringLiteral("Guardar traza|r_traza.txt"));
  EXPECT_TRUE(estado().startsWith(QStringLiteral("Se ha guardado")));
}

// Wheel and keys zoom a view about the pointer, 0 fits it; a new picture shows whole, centred.
TEST_F(Ventana, ZoomPanAndTheGreyScrollBars) {
  VistaImagen* w = vista("imagenGris");
  const auto menu = [&] {
    std::unique_ptr<QMenu> m(w->crearMenu(nullptr));
    std::string texto;
    for (QAction* a : m->actions()) texto += a->text().toStdString() + (a->isEnabled() ? "+" : "-");
    return texto;
  };
  EXPECT_EQ(menu(), "Acercar-Alejar-Ajustar-");
  ASSERT_TRUE(v.ventana.abrirFichero(casa()));
  const QPointF punto(w->width() / 3.0, w->height() / 2.0);
  w->fijarEscala(3, QPointF(-100, -100));  // overflowing the view on both sides
  const QPoint antes = w->pixelEn(punto);
  QWheelEvent rueda(punto, w->mapToGlobal(punto), QPoint(), QPoint(0, 240), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &rueda);
  EXPECT_NEAR(w->escala(), 3 * 1.5625, 1e-9);
  EXPECT_LE((w->pixelEn(punto) - antes).manhattanLength(), 1);
  QTest::keyClick(w, Qt::Key_Minus);
  EXPECT_NEAR(w->escala(), 3 * 1.25, 1e-9);
  EXPECT_EQ(menu(), "Acercar+Alejar+Ajustar+");
  QTest::keyClick(w, Qt::Key_0);
  EXPECT_TRUE(w->ajustada());

  // Zoomed in, it pans by dragging, not past the picture's edge, and by its scroll bars, which
  // follow it and are disabled while it fits.
  auto* h = v.control<QScrollBar>("HScroll2");
  auto* vertical = v.control<QScrollBar>("VScroll2");
  EXPECT_FALSE(h->isEnabled() || vertical->isEnabled());
  w->fijarEscala(4, QPointF(-100, -60));
  ASSERT_TRUE(h->isEnabled() && vertical->isEnabled());
  EXPECT_EQ(QSize(h->maximum(), vertical->maximum()), QSize(1280, 960) - w->size());
  EXPECT_EQ(h->pageStep(), w->width());
  EXPECT_EQ(QPoint(h->value(), vertical->value()), QPoint(100, 60));
  const QPointF centro(w->width() / 2.0, w->height() / 2.0);
  const QPoint pixel = w->pixelEn(centro);
  raton(w, QEvent::MouseButtonPress, centro, Qt::LeftButton, Qt::LeftButton);
  raton(w, QEvent::MouseMove, centro - QPointF(40, 20), Qt::NoButton, Qt::LeftButton);
  raton(w, QEvent::MouseButtonRelease, centro - QPointF(40, 20), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(w->pixelEn(centro), pixel + QPoint(10, 5));
  EXPECT_EQ(QPoint(h->value(), vertical->value()), QPoint(140, 80));
  h->setValue(400);
  vertical->setValue(200);
  EXPECT_EQ(w->origen(), QPointF(-400, -200));
  w->fijarEscala(4, QPointF(500, 500));
  EXPECT_EQ(w->origen(), QPointF(0, 0));
  EXPECT_EQ(QPoint(h->value(), vertical->value()), QPoint(0, 0));
  vista("imagen")->fijarEscala(4, QPointF(0, 0));
  ASSERT_TRUE(v.abrir(QStringLiteral("ancha.png"), imagenDePrueba(100, 10)));
  vista("imagen")->grab();
  EXPECT_TRUE(vista("imagen")->ajustada() && !h->isEnabled() && !vertical->isEnabled());
  const QSize mostrada = QSize(100, 10).scaled(w->size(), Qt::KeepAspectRatio);
  EXPECT_LE(qAbs(2 * w->origen().y() + mostrada.height() - w->height()), 1);
}

TEST_F(Ventana, DroppingAFileOpensItUnlessABoxIsOpen) {
  QMimeData fichero;
  fichero.setUrls({QUrl::fromLocalFile(casa())});
  const auto entrar = [&](QMimeData* datos) {
    QDragEnterEvent evento(QPoint(10, 10), Qt::CopyAction, datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&v.ventana, &evento);
    return evento.isAccepted();
  };
  {
    QDialog caja(&v.ventana);
    caja.open();
    EXPECT_FALSE(entrar(&fichero));
  }
  EXPECT_TRUE(entrar(&fichero));
  QDropEvent soltar(QPointF(10, 10), Qt::CopyAction, &fichero, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&v.ventana, &soltar);
  EXPECT_TRUE(QTest::qWaitFor([&] { return v.ventana.datos().ancho == 320; }));
}

struct CasoCancelar {
  const char* boton;
  const char* lista;
  bool inmediato;  // the progress box shows at once
  bool previa;     // a binarized picture is shown before the run
};
void PrintTo(const CasoCancelar& c, std::ostream* os) { *os << c.boton; }

class Cancelar : public Ventana, public ::testing::WithParamInterface<CasoCancelar> {};

// Cancelled from its progress box ("Cancelar" on the box shown at once, else through the hook),
// a run leaves record, pictures and threshold as they were and says so; the next run draws.
TEST_P(Cancelar, LeavesRecordAndPicturesAsTheyWereAndSaysSo) {
  const CasoCancelar& caso = GetParam();
  const std::string cancelado = "Ejecución cancelada por el usuario.\n";
  ASSERT_TRUE(v.ventana.abrirFichero(casa()));
  if (caso.previa) v.umbral()->setValue(110);
  const Pixeles& p = v.ventana.datos().pixeles;
  const std::vector<uint8_t> negro(p.planoNegro(), p.planoNegro() + p.cantidad());
  const QImage binarizada = v.ventana.superficieBinarizada().qimage();
  const bool guardable = v.accion("mnuGuardarBinarizada")->isEnabled();
  bool visto = false;
  int ultima = 0;
  v.ventana.fijarGanchoProgresoParaPruebas([&](int llamada) {
    auto* d = v.ventana.findChild<QProgressDialog*>(QStringLiteral("progresoMetodo"));
    QPushButton* cancelar = d ? d->findChild<QPushButton*>() : nullptr;
    ultima = llamada;
    if (llamada == 1)
      visto = d && d->isVisible() && d->isModal() && cancelar->text() == QStringLiteral("Cancelar");
    if (llamada == 2 && cancelar) cancelar->click();
    return llamada < 3;
  });
  v.ventana.ejecutarMetodo(QString::fromLatin1(caso.boton), false);
  v.ventana.fijarGanchoProgresoParaPruebas({});
  const std::string traza = v.traza(caso.lista);
  EXPECT_EQ(traza.rfind(cancelado) + cancelado.size(), traza.size());
  EXPECT_EQ(visto, caso.inmediato);
  EXPECT_EQ(ultima, caso.inmediato ? 2 : 3);
  EXPECT_TRUE(std::equal(negro.begin(), negro.end(), p.planoNegro()));
  EXPECT_TRUE(v.ventana.superficieBinarizada().qimage() == binarizada);
  EXPECT_EQ(vista("imagenBinarizada")->limpia(), !caso.previa);
  EXPECT_EQ(v.accion("mnuGuardarBinarizada")->isEnabled(), guardable);
  EXPECT_EQ(v.umbral()->value(), caso.previa ? 110 : 128);
  v.ventana.ejecutarMetodo(QString::fromLatin1(caso.boton), false);
  EXPECT_EQ(v.traza(caso.lista).find(cancelado), std::string::npos);
  EXPECT_FALSE(vista("imagenBinarizada")->limpia());
}

INSTANTIATE_TEST_SUITE_P(Espaciales, Cancelar,
                         ::testing::Values(CasoCancelar{"Command2", "LRegional", true, true},
                                           CasoCancelar{"Command1", "LRelajacion", true, false},
                                           CasoCancelar{"Relax", "LThrdd", false, true}),
                         [](const auto& p) { return std::string(p.param.boton); });

}  // namespace
}  // namespace velarno
