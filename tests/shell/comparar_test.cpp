// The comparison window: every tile equals the single run of its method on the same record,
// a chosen tile publishes its threshold, and closing while the worker runs is safe.
#include "shell/comparar.h"

#include <chrono>
#include <functional>
#include <thread>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "image/transformaciones.h"
#include "methods/edge_pixels.h"
#include "methods/entorno_simple.h"
#include "methods/entropy.h"
#include "methods/fuzzy.h"
#include "methods/grey_level.h"
#include "methods/iter_sel.h"
#include "methods/mean.h"
#include "methods/minimum_error.h"
#include "methods/moving_averages.h"
#include "methods/porcentaje.h"
#include "methods/regional.h"
#include "methods/relajacion.h"
#include "methods/two_peaks.h"
#include "platform/superficie_qimage.h"
#include "shell/botonera.h"
#include "support/imagen_prueba.h"
#include "support/ventana_prueba.h"

namespace velarno {
namespace {

// Runs the event loop until `hecho` holds or `ms` pass; returns whether it held.
bool esperar(const std::function<bool()>& hecho, int ms = 60000) {
  const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!hecho()) {
    if (std::chrono::steady_clock::now() > limite) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

Fin relajacion(Entorno& e, bool&) { return AlgoritmoRelajacion(e); }

// The expected tiles, in order, and the single run each must equal (nullptr: the manual
// threshold).
struct Esperado {
  const char* nombre;
  Fin (*funcion)(Entorno&, bool&);
};
const Esperado kEsperados[] = {
    {"Umbral manual", nullptr},
    {"Mean", &AlgoritmoMean},
    {"Porcentaje", &AlgoritmoPorcentaje},
    {"Two Peaks", &AlgoritmoTwoPeak},
    {"Iterative Selection (Rapido)", &AlgoritmoIterSel},
    {"Iterative Selection (Normal)", &algoritmoIterSelNormal},
    {"Grey Level", &AlgoritmoGreyLevel},
    {"Entropy", &AlgoritmoEntropy},
    {"Minimum Error", &AlgoritmoMinimumError},
    {"Fuzzy", &AlgoritmoFuzzy},
    {"Using Edge Pixels", &AlgoritmoUsingEdgePixels},
    {"Moving Averages", &AlgoritmoThrdd},
    {"Regional threshold", &AlgoritmoRegionalThreshold},
    {"Relajacion", &relajacion},
};

// What a single run gives: how it ended, what it published and the black pixels it drew.
struct Unico {
  Fin fin;
  std::optional<int> umbral;
  int64_t negros;
  bool dibujado;
};

Unico ejecutarSolo(const DatosImagen& datos, const Esperado& e, int umbralManual) {
  DatosImagen copia = datos;
  SuperficieQImage superficie(QImage::Format_Grayscale8, Qt::white);
  superficie.redimensionar(copia.ancho, copia.alto);
  EntornoSimple entorno(copia, "", umbralManual);
  entorno.setBinarizada(&superficie);
  Fin fin = Fin::Publicado;
  if (e.funcion == nullptr) {
    entorno.publicar(umbralManual);
  } else {
    // The initial texts of the window's inputs.
    for (const auto& [control, texto] :
         std::vector<std::pair<std::string, std::string>>{{"Tpct", "50"},
                                                          {"metodoYG", "ENTROPY"},
                                                          {"PCTeDp", "85"},
                                                          {"CPct", "15"},
                                                          {"MetRelajacion", "Rosenfeld"},
                                                          {"Mask(0)", "0"},
                                                          {"Mask(1)", "1"},
                                                          {"Mask(2)", "0"},
                                                          {"Mask(3)", "1"},
                                                          {"Mask(4)", "-4"},
                                                          {"Mask(5)", "1"},
                                                          {"Mask(6)", "0"},
                                                          {"Mask(7)", "1"},
                                                          {"Mask(8)", "0"}})
      entorno.setTexto(control, texto);
    bool paso = false;
    fin = e.funcion(entorno, paso);
  }
  int64_t negros = 0;
  const QImage& imagen = superficie.qimage();
  for (int y = 0; y < imagen.height(); ++y)
    for (int x = 0; x < imagen.width(); ++x) negros += imagen.pixelColor(x, y) == Qt::black;
  return {fin, entorno.umbralPublicado(), negros, entorno.dibujos() > 0};
}

QString etiqueta(QWidget* ventana, int i, const char* nombre) {
  auto* mosaico = ventana->findChild<QWidget*>(QStringLiteral("Mosaico(%1)").arg(i));
  if (!mosaico) return QStringLiteral("<no tile>");
  auto* l = mosaico->findChild<QLabel*>(QString::fromLatin1(nombre));
  return l ? l->text() : QStringLiteral("<no label>");
}

QString textoUmbral(const Unico& u) {
  switch (u.fin) {
    case Fin::Publicado:
      return QStringLiteral("Umbral: %1").arg(*u.umbral);
    case Fin::Dibujado:
      return QStringLiteral("Umbral: local");
    case Fin::Rechazado:
      return QStringLiteral("Umbral: no aplicable");
    default:
      return QStringLiteral("Umbral: sin resultado");
  }
}

struct Caso {
  const char* nombre;
  std::function<DatosImagen()> datos;
  int umbralManual;
};
void PrintTo(const Caso& c, std::ostream* os) { *os << c.nombre; }

class VentanaCompararCasos : public ::testing::TestWithParam<Caso> {};

TEST_P(VentanaCompararCasos, EveryTileEqualsTheSingleRunOfItsMethod) {
  const DatosImagen datos = GetParam().datos();
  const int umbralManual = GetParam().umbralManual;
  QPointer<VentanaComparar> ventana = new VentanaComparar(datos, umbralManual);
  ventana->show();
  ASSERT_TRUE(esperar([&] { return ventana->terminada(); }));

  ASSERT_EQ(ventana->resultados().size(), std::size(kEsperados));
  std::string observado;
  std::string esperado;
  for (size_t i = 0; i < std::size(kEsperados); ++i) {
    const Esperado& e = kEsperados[i];
    const Unico u = ejecutarSolo(datos, e, umbralManual);
    const ResultadoComparacion& r = *ventana->resultados()[i];
    const int k = static_cast<int>(i);
    const auto linea = [&](const QString& umbral, const QString& negro, int64_t negros) {
      return QStringLiteral("%1 | %2 | %3 | %4\n")
          .arg(etiqueta(ventana, k, "nombre"), umbral, negro)
          .arg(negros)
          .toStdString();
    };
    observado += linea(etiqueta(ventana, k, "umbral"), etiqueta(ventana, k, "negro"),
                       r.dibujado ? r.negros : -1);
    const double total = static_cast<double>(datos.ancho) * datos.alto;
    const QString negro =
        u.dibujado
            ? QStringLiteral("Negro: %1 %")
                  .arg(QLocale().toString(100.0 * static_cast<double>(u.negros) / total, 'f', 1))
            : QString();
    esperado = esperado + e.nombre + " | " + textoUmbral(u).toStdString() + " | " +
               negro.toStdString() + " | " + std::to_string(u.dibujado ? u.negros : -1) + "\n";
    if (r.dibujado) {
      EXPECT_FALSE(r.miniatura.isNull()) << e.nombre;
      EXPECT_LE(r.miniatura.width(), 320) << e.nombre;
      EXPECT_LE(r.miniatura.height(), 240) << e.nombre;
    }
  }
  EXPECT_EQ(observado, esperado);
  ventana->close();
  EXPECT_TRUE(esperar([&] { return ventana.isNull(); }));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, VentanaCompararCasos,
    ::testing::Values(Caso{"Random", [] { return imagenAleatoria(48, 36, 7u, 30, 220); }, 128},
                      Caso{"TwoLevels",
                           [] {
                             return imagenDesdeFilas({{20, 20, 200, 200, 200, 20, 20},
                                                      {20, 200, 200, 200, 20, 20, 20},
                                                      {200, 200, 200, 20, 20, 20, 200},
                                                      {20, 20, 200, 200, 200, 20, 20}});
                           },
                           100},
                      Caso{"Uniform", [] { return imagenUniforme(12, 10, 90); }, 91},
                      // Too narrow for Moving Averages, which refuses it.
                      Caso{"Narrow", [] { return imagenAleatoria(4, 6, 3u); }, 0}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(VentanaComparar, ChoosingAGlobalTileEmitsItsThresholdOnly) {
  QPointer<VentanaComparar> ventana = new VentanaComparar(imagenAleatoria(40, 30, 11u), 128);
  std::vector<int> elegidos;
  QObject::connect(ventana, &VentanaComparar::umbralElegido,
                   [&](int umbral) { elegidos.push_back(umbral); });
  ventana->show();
  ASSERT_TRUE(esperar([&] { return ventana->terminada(); }));
  const auto& r = ventana->resultados();
  // Mean (a global threshold), then Moving Averages (local): only the first publishes.
  QTest::mouseClick(ventana->findChild<QWidget*>(QStringLiteral("Mosaico(1)")), Qt::LeftButton);
  QTest::mouseClick(ventana->findChild<QWidget*>(QStringLiteral("Mosaico(11)")), Qt::LeftButton);
  ASSERT_TRUE(r[1] && r[1]->umbral);
  EXPECT_EQ(elegidos, std::vector<int>{*r[1]->umbral});
  ventana->close();
}

// Through the main window: the menu entry and the tool bar button open the grid on the record
// as it is, and choosing a tile publishes exactly as a method does.
TEST(VentanaComparar, ChosenTilePublishesInTheMainWindow) {
  VentanaPrueba v;
  ASSERT_TRUE(v.ventana.abrirFichero(v.escribir(QStringLiteral("p.png"), imagenDePrueba(48, 36))));
  auto* scr = v.control<QScrollBar>(QStringLiteral("scrUmbral"));
  scr->setValue(200);
  for (const char* via : {"menu", "button"}) {
    SCOPED_TRACE(via);
    if (std::string(via) == "menu")
      v.control<QAction>(QStringLiteral("mnuComparar"))->trigger();
    else
      emit v.ventana.botonera().boton(Botonera::kComparar)->pulsado(Botonera::kComparar);
    QPointer<VentanaComparar> ventana = v.control<VentanaComparar>(QStringLiteral("frmComparar"));
    ASSERT_TRUE(ventana);
    EXPECT_EQ(ventana->windowTitle(), QStringLiteral("Comparar métodos"));
    ASSERT_TRUE(esperar([&] { return ventana->terminada(); }));
    EXPECT_EQ(ventana->resultados()[0]->umbral, 200);  // the manual threshold as it was

    const int mean = *ventana->resultados()[1]->umbral;
    ASSERT_NE(mean, scr->value());
    QTest::mouseClick(ventana->findChild<QWidget*>(QStringLiteral("Mosaico(1)")), Qt::LeftButton);
    EXPECT_EQ(scr->value(), mean);
    const DatosImagen& datos = v.ventana.datos();
    int64_t negrosRecord = 0;
    int64_t bajoUmbral = 0;
    for (int32_t y = 0; y < datos.alto; ++y)
      for (int32_t x = 0; x < datos.ancho; ++x) negrosRecord += datos.pixeles.negro(x, y);
    for (int g = 0; g < mean; ++g) bajoUmbral += datos.histograma[static_cast<size_t>(g)];
    EXPECT_EQ(negrosRecord, bajoUmbral);
    EXPECT_EQ(negrosRecord, ventana->resultados()[1]->negros);
    const QImage& binarizada = v.ventana.superficieBinarizada().qimage();
    int64_t negrosDibujados = 0;
    for (int y = 0; y < binarizada.height(); ++y)
      for (int x = 0; x < binarizada.width(); ++x)
        negrosDibujados += binarizada.pixelColor(x, y) == Qt::black;
    EXPECT_EQ(negrosDibujados, bajoUmbral);
    // A dialog window of the main window (kept above it), whose tiles grow with it, closed by
    // its "Cerrar" button or by Esc.
    EXPECT_EQ(ventana->parentWidget(), &v.ventana);
    EXPECT_EQ(ventana->windowType(), Qt::Dialog);
    auto* miniatura = ventana->findChild<QWidget*>(QStringLiteral("Mosaico(1)"))
                          ->findChild<QWidget*>(QStringLiteral("imagen"));
    ventana->resize(700, 500);
    QApplication::processEvents();
    const QSize pequena = miniatura->size();
    ventana->resize(1400, 1000);
    QApplication::processEvents();
    EXPECT_GT(miniatura->width(), pequena.width() * 3 / 2);
    EXPECT_GT(miniatura->height(), pequena.height() * 3 / 2);
    if (std::string(via) == "menu")
      ventana->findChild<QPushButton*>(QStringLiteral("cmdCerrar"))->click();
    else
      QTest::keyClick(ventana, Qt::Key_Escape);
    ASSERT_TRUE(esperar([&] { return ventana.isNull(); }));
    scr->setValue(200);
  }
}

TEST(VentanaComparar, ClosingWhileRunningCancelsTheWorker) {
  const int antes = HiloComparar::vivosParaPruebas();
  QPointer<VentanaComparar> ventana = new VentanaComparar(imagenAleatoria(1200, 900, 5u), 128);
  ventana->show();
  QApplication::processEvents();
  ASSERT_FALSE(ventana->terminada());
  ventana->close();
  ASSERT_TRUE(esperar([&] { return ventana.isNull(); }, 5000));
  // Relaxation alone would take far longer than this on the whole picture.
  EXPECT_TRUE(esperar([&] { return HiloComparar::vivosParaPruebas() == antes; }, 10000));
}

TEST(VentanaComparar, DestroyedAtOnceWhileRunning) {
  const int antes = HiloComparar::vivosParaPruebas();
  for (int i = 0; i < 3; ++i) delete new VentanaComparar(imagenAleatoria(800, 600, 9u), 128);
  EXPECT_TRUE(esperar([&] { return HiloComparar::vivosParaPruebas() == antes; }, 10000));
}

}  // namespace
}  // namespace velarno
