// The comparison window: every tile shows what the single run of its catalogue row gives on the
// same record, a chosen global tile publishes its threshold in the main window, and closing
// while the worker runs is safe.
#include "shell/comparar.h"

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "app/catalogo.h"
#include "methods/entorno_simple.h"
#include "support/imagen_prueba.h"
#include "support/ventana_prueba.h"

namespace velarno {
namespace {

// The tiles as "name | threshold | black share | black pixels (-1: nothing drawn)" lines, from
// single runs of every row's tiles with the frames' initial texts and the tile's own.
std::string mosaicosEsperados(const DatosImagen& datos, int umbralManual) {
  std::string lineas;
  for (const MetodoCatalogo& m : catalogo())
    for (const MosaicoMetodo& mosaico : m.mosaicos) {
      DatosImagen copia = datos;
      SuperficieQImage superficie(QImage::Format_Grayscale8, Qt::white);
      superficie.redimensionar(copia.ancho, copia.alto);
      EntornoSimple entorno(copia, "", umbralManual);
      entorno.setBinarizada(&superficie);
      for (const ControlMetodo& c : m.controles) entorno.setTexto(c.nombre, c.inicial);
      for (const auto& [control, texto] : mosaico.textos) entorno.setTexto(control, texto);
      bool paso = false;
      const Fin fin = m.ejecutar ? m.ejecutar(entorno, paso) : Fin::Publicado;
      if (!m.ejecutar) entorno.publicar(umbralManual);
      const char* umbrales[] = {"", "local", "no aplicable", "sin resultado", "sin resultado"};
      std::string umbral = umbrales[static_cast<int>(fin)];
      if (fin == Fin::Publicado) umbral = std::to_string(*entorno.umbralPublicado());
      const bool dibujado = entorno.dibujos() > 0;
      const double parte = 100.0 * static_cast<double>(superficie.negros()) /
                           static_cast<double>(datos.ancho * datos.alto);
      const QString negro = QStringLiteral("Negro: %1 %").arg(QLocale().toString(parte, 'f', 1));
      lineas += std::string(mosaico.nombre) + " | Umbral: " + umbral + " | " +
                (dibujado ? negro.toStdString() : "") + " | " +
                std::to_string(dibujado ? superficie.negros() : -1) + "\n";
    }
  return lineas;
}

// The tiles of a finished comparison, as mosaicosEsperados() writes them.
std::string mosaicos(VentanaComparar* ventana) {
  std::string lineas;
  for (int i = 0; i < static_cast<int>(ventana->resultados().size()); ++i) {
    const ResultadoComparacion& r = *ventana->resultados()[static_cast<size_t>(i)];
    QStringList etiquetas;
    for (const char* nombre : {"nombre", "umbral", "negro"})
      etiquetas << ventana->findChild<QWidget*>(QStringLiteral("Mosaico(%1)").arg(i))
                       ->findChild<QLabel*>(QString::fromLatin1(nombre))
                       ->text();
    lineas += (etiquetas.join(QStringLiteral(" | ")) +
               QStringLiteral(" | %1\n").arg(r.dibujado ? r.negros : -1))
                  .toStdString();
    EXPECT_LE(r.miniatura.width(), 320);
  }
  return lineas;
}

// Through the main window: the tool bar button and the menu entry open the grid on the record
// and the threshold as they are, every tile showing the single run of its method; a dialog window
// of the main window whose tiles grow with it; a local tile publishes nothing, a global one
// publishes as a method does; Esc or "Cerrar" closes it.
TEST(VentanaComparar, ChosenGlobalTilePublishesInTheMainWindow) {
  VentanaPrueba v;
  ASSERT_TRUE(v.abrir(QStringLiteral("p.png"), imagenDePrueba(48, 36)));
  v.umbral()->setValue(200);
  emit v.ventana.botonera().boton(Botonera::kComparar)->pulsado(Botonera::kComparar);
  QPointer<VentanaComparar> ventana = v.control<VentanaComparar>("frmComparar");
  ASSERT_TRUE(ventana);
  EXPECT_EQ(ventana->parentWidget(), &v.ventana);
  EXPECT_EQ(ventana->windowType(), Qt::Dialog);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ventana->terminada(); }, 60000));
  EXPECT_EQ(mosaicos(ventana), mosaicosEsperados(v.ventana.datos(), 200));
  const auto mosaico = [&](int i) {
    return ventana->findChild<QWidget*>(QStringLiteral("Mosaico(%1)").arg(i));
  };
  auto* miniatura = mosaico(1)->findChild<QWidget*>(QStringLiteral("imagen"));
  ventana->resize(700, 500);
  QApplication::processEvents();
  const QSize pequena = miniatura->size();
  ventana->resize(1400, 1000);
  QApplication::processEvents();
  EXPECT_GT(miniatura->width(), pequena.width() * 3 / 2);
  EXPECT_GT(miniatura->height(), pequena.height() * 3 / 2);
  QTest::mouseClick(mosaico(11), Qt::LeftButton);  // Moving Averages
  EXPECT_EQ(v.umbral()->value(), 200);
  const int mean = *ventana->resultados()[1]->umbral;
  ASSERT_NE(mean, 200);
  QTest::mouseClick(mosaico(0), Qt::LeftButton);  // the manual threshold: the chosen tile sinks
  EXPECT_EQ(static_cast<QFrame*>(mosaico(0))->frameShadow(), QFrame::Sunken);
  QTest::mouseClick(mosaico(1), Qt::LeftButton);
  EXPECT_EQ(static_cast<QFrame*>(mosaico(0))->frameShadow(), QFrame::Raised);
  EXPECT_EQ(v.umbral()->value(), mean);
  EXPECT_EQ(ventana->resultados()[1]->negros, bajoUmbral(v.ventana.datos(), mean));
  EXPECT_EQ(negrosDe(v.ventana.superficieBinarizada().qimage()),
            bajoUmbral(v.ventana.datos(), mean));
  QTest::keyClick(ventana, Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ventana.isNull(); }, 60000));
  v.accion("mnuComparar")->trigger();
  ventana = v.control<VentanaComparar>("frmComparar");
  ASSERT_TRUE(ventana);
  ventana->findChild<QPushButton*>(QStringLiteral("cmdCerrar"))->click();
  EXPECT_TRUE(QTest::qWaitFor([&] { return ventana.isNull(); }, 60000));
}

// Tiles of methods that refuse the picture (too narrow for Moving Averages) or find nothing (one
// level for Grey Level and Fuzzy) say so; closing or destroying the window while its worker runs
// cancels the worker.
TEST(VentanaComparar, RefusalsAndCancellation) {
  const int antes = HiloComparar::vivosParaPruebas();
  const DatosImagen estrecha = imagenUniforme(4, 6, 90);
  QPointer<VentanaComparar> ventana = new VentanaComparar(estrecha, 91);
  ventana->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return ventana->terminada(); }, 60000));
  EXPECT_EQ(mosaicos(ventana), mosaicosEsperados(estrecha, 91));
  EXPECT_EQ(ventana->findChild<QLabel*>("lblEstado")->text(), "Comparación terminada.");
  ventana->close();
  // At most one worker per tile; workers never started are simply deleted.
  const std::vector<HiloComparar*> hilos =
      HiloComparar::repartir(estrecha, 91, '.', {}, nullptr, 99);
  EXPECT_EQ(hilos.size(), mosaicosComparacion().size());
  for (HiloComparar* hilo : hilos) delete hilo;
  ventana = new VentanaComparar(imagenAleatoria(1200, 900, 5u), 128);
  ventana->show();
  QApplication::processEvents();
  ASSERT_FALSE(ventana->terminada());
  ventana->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return ventana.isNull(); }, 5000));
  for (int i = 0; i < 3; ++i) delete new VentanaComparar(imagenAleatoria(800, 600, 9u), 128);
  // Relaxation alone would take far longer than this on the whole picture.
  EXPECT_TRUE(QTest::qWaitFor([&] { return HiloComparar::vivosParaPruebas() == antes; }, 10000));
}

// A reference of another size is refused; the manual threshold's own binarization as the
// reference scores the binarized view and the manual tile perfectly, and sorting by the error
// puts every tile in order of it, the best (error 0) first and marked.
TEST(Evaluacion, ReferenceScoresTheViewAndSortsTheTiles) {
  VentanaPrueba v;
  ASSERT_TRUE(v.abrir(QStringLiteral("p.png"), imagenDePrueba(48, 36)));
  const DatosImagen& d = v.ventana.datos();
  QImage referencia(48, 36, QImage::Format_Grayscale8);
  for (int y = 0; y < 36; ++y)
    for (int x = 0; x < 48; ++x) referencia.scanLine(y)[x] = d.pixeles.gris(x, y) < 128 ? 0 : 255;
  v.selector.respuestas = {v.escribir("otra.png", referencia.copy(0, 0, 10, 10)),
                           v.escribir("ref.png", referencia)};
  auto* etiqueta = v.control<QLabel>("lblEvaluacion");
  EXPECT_TRUE(etiqueta->isHidden());
  v.accion("mnuEvaluar")->trigger();
  EXPECT_EQ(v.cajas(),
            "Evaluar con referencia|La referencia mide 10x10 píxeles y la imagen 48x36: deben "
            "tener el mismo tamaño.|48|1\n");
  v.accion("mnuEvaluar")->trigger();
  EXPECT_FALSE(etiqueta->isHidden());
  EXPECT_EQ(etiqueta->text(), "Referencia «ref.png»\nF —   P —   R —\nME —   PSNR —   Jaccard —");
  QTest::mouseClick(v.ventana.botonera().boton(4), Qt::LeftButton);
  const QString perfecta = "F 1.0000   P 1.0000   R 1.0000\nME 0.0000   PSNR ∞ dB   Jaccard 1.0000";
  EXPECT_EQ(etiqueta->text(), "Referencia «ref.png»\n" + perfecta);

  v.accion("mnuComparar")->trigger();
  auto* ventana = v.control<VentanaComparar>("frmComparar");
  ASSERT_TRUE(QTest::qWaitFor([&] { return ventana->terminada(); }, 60000));
  EXPECT_EQ(ventana->findChild<QWidget*>("Mosaico(0)")->findChild<QLabel*>("evaluacion")->text(),
            "F 1.0000   P 1.0000\nR 1.0000   Jaccard 1.0000\nME 0.0000   PSNR ∞ dB");
  ventana->findChild<QComboBox*>("cmbOrden")->setCurrentIndex(VentanaComparar::kOrdenME);
  std::vector<double> errores;  // tiles without a score (2) come last
  for (int i : ventana->ordenMosaicos()) {
    const auto& e = ventana->resultados()[static_cast<size_t>(i)]->evaluacion;
    errores.push_back(e ? e->evaluacion.error : 2);
  }
  EXPECT_TRUE(std::is_sorted(errores.begin(), errores.end()));
  EXPECT_EQ(ventana->ordenMosaicos().front(), 0);
  EXPECT_EQ(ventana->mejores(), std::vector<int>{0});
  EXPECT_TRUE(ventana->findChild<QWidget*>("Mosaico(0)")
                  ->findChild<QLabel*>("mejor")
                  ->isVisibleTo(ventana));
}

}  // namespace
}  // namespace velarno
