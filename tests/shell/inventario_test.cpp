// Every control of the window by objectName: caption, tooltip, shortcut, and whether it is
// visible, enabled and checked in each workflow state (no image, image open, equalized).
#include <cctype>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>

#include <gtest/gtest.h>

#include "support/ventana_prueba.h"

namespace velarno {
namespace {

enum Estado { kSinImagen, kAbierta, kEcualizada };

// One control: caption (nullptr: not checked), tooltip, shortcut, and per state a string of
// flags: V/v visible or hidden, E/e enabled or disabled, C/c checked or not (absent: not
// checked).
struct Control {
  const char* nombre;
  const char* texto;
  const char* tooltip;
  const char* atajo;
  const char* estados[3];
};

const Control kControles[] = {
    // Menus and their entries.
    {"mnuArchivo", "&Archivo", nullptr, nullptr, {"V", "V", "V"}},
    {"abrir", "&Abrir", nullptr, "Ctrl+A", {"VE", "VE", "VE"}},
    {"mnuGuardarBinarizada", "Guardar imagen binarizada...", nullptr, "", {"Ve", "Ve", "Ve"}},
    {"mnuGuardarGris", "Guardar escala de grises...", nullptr, "", {"Ve", "VE", "VE"}},
    {"mnuSalir", "&Salir", nullptr, "Ctrl+X", {"VE", "VE", "VE"}},
    {"mnuEdicion", "&Edición", nullptr, nullptr, {"V", "V", "V"}},
    {"mnuGrises", "Escala de grises", nullptr, "", {"Ve", "Ve", "Ve"}},
    {"mnuHistograma", "Histograma", nullptr, "", {"Ve", "Ve", "Ve"}},
    {"mnuEcualizar", "Ecualizar el histograma", nullptr, "", {"Ve", "VE", "Ve"}},
    {"mnuBinarizar", "Binarizar paso a paso", nullptr, "", {"Vec", "VEc", "VEc"}},
    {"mnuEstadisticas", "Estadísticas", nullptr, "", {"Vec", "Vec", "Vec"}},
    {"mnuGeneracion", "Generacion", nullptr, nullptr, {"V", "V", "V"}},
    {"mnuGen(0)", "Simple", nullptr, "", {"VEC", "VEC", "VEC"}},
    {"mnuGen(1)", "Fuzzy", nullptr, "", {"VEc", "VEc", "VEc"}},
    {"mnuGen(2)", "Moving Averages", nullptr, "", {"VEc", "VEc", "VEc"}},
    {"mnuGen(3)", "iterative selection", nullptr, "", {"VEc", "VEc", "VEc"}},
    {"mnuGen(4)", "Relajacion", nullptr, "", {"VEc", "VEc", "VEc"}},
    {"mnuGen(5)", "Regional threshold", nullptr, "", {"VEc", "VEc", "VEc"}},
    {"mnuGen(6)", "Minimum Error", nullptr, "", {"VEc", "VEc", "VEc"}},
    {"mnuGen(7)", "Using Edge Pixel", nullptr, "", {"VEc", "VEc", "VEc"}},
    {"mnuGen(8)", "Method of grey-level histogram", nullptr, "", {"VEc", "VEc", "VEc"}},
    {"mnuGen(9)", "Entropy", nullptr, "", {"VEc", "VEc", "VEc"}},
    {"mnuMetodo", "&Método Simple", nullptr, nullptr, {"V", "V", "V"}},
    {"mnuAlg(0)", "Algoritmo Mean", nullptr, "", {"VEC", "VEC", "VEC"}},
    {"mnuAlg(1)", "Algoritmo Porcentaje", nullptr, "", {"VEc", "VEc", "VEc"}},
    {"mnuAlg(2)", "Algoritmo Two Peaks", nullptr, "", {"VEc", "VEc", "VEc"}},
    {"mnuAyuda", "Ayuda", nullptr, nullptr, {"V", "V", "V"}},
    {"mnuAcerca", "Acerca de...", nullptr, "", {"VE", "VE", "VE"}},
    // Tool bar.
    {"barraBotones", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"Boton(0)", nullptr, "Abrir imagen", nullptr, {"VE", "VE", "VE"}},
    {"Boton(1)", nullptr, "Convertir a escala de grises", nullptr, {"ve", "ve", "ve"}},
    {"Boton(2)", nullptr, "Histograma", nullptr, {"ve", "ve", "ve"}},
    {"Boton(3)", nullptr, "Ecualizar el histograma", nullptr, {"ve", "vE", "ve"}},
    {"Boton(4)", nullptr, "Binarizar", nullptr, {"Ve", "VE", "VE"}},
    {"Boton(5)", nullptr, "Estadísticas", nullptr, {"ve", "ve", "ve"}},
    // Tabs, frames, surfaces.
    {"Carpetas", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"Frames(0)", "Imagen", nullptr, nullptr, {"V", "V", "V"}},
    {"Frames(1)", "Histograma", nullptr, nullptr, {"V", "V", "V"}},
    {"Frames(2)", "Escala de grises", nullptr, nullptr, {"V", "V", "V"}},
    {"Frames(3)", "Binarización", nullptr, nullptr, {"V", "V", "V"}},
    {"imagen", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"imagenGris", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"imagenHistograma", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"imagenBinarizada", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"VScroll2", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"HScroll2", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"chkSuperponer", "Superponer", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"tablaComponentes", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"scrUmbral", nullptr, nullptr, nullptr, {"Ve", "VE", "VE"}},
    {"lblValorUmbral", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"lblValorCantidad", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"lblPorcentajes", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"barraEstado", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    // The simple methods on SSTabSimple.
    {"SSTabSimple", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"Frame2", "", nullptr, nullptr, {"V", "V", "V"}},
    {"LMean", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"CMean", "Ejecutar", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"CPasoCmean", "Paso a paso", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Frame1", "", nullptr, nullptr, {"", "", ""}} /* a tab page shown only when chosen */,
    {"LMetodo", "Porcentaje", nullptr, nullptr, {"V", "V", "V"}},
    {"Tpct", "50", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"HScroll1", nullptr, nullptr, nullptr, {"VE", "VE", "VE"}},
    {"LPorc", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"CPctFin", "Ejecutar", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"CPasoPct", "Paso a Paso", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Frame3", "", nullptr, nullptr, {"", "", ""}},
    {"LTwoP", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"CTwoPeak", "Ejecutar", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"CTwoPPaso", "Paso a paso", nullptr, nullptr, {"VE", "VE", "VE"}},
    // The nine method frames of the Generacion menu, hidden until chosen.
    {"FFuzzy", "Fuzzy", nullptr, nullptr, {"v", "v", "v"}},
    {"metodoYG", "ENTROPY", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"LFuzzy", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"CFuzzy", "Ejecutar", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"CFuzzyPaP", "Paso a paso", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"FThrdd", "Moving Averages", nullptr, nullptr, {"v", "v", "v"}},
    {"Label1", "Porcentaje:", nullptr, nullptr, {"V", "V", "V"}},
    {"CPct", "15", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"LThrdd", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"Relax", "Ejecutar", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"CThrddPaP", "Paso a paso", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"FIterSel", "Iterative Selection", nullptr, nullptr, {"v", "v", "v"}},
    {"CIterSelModo", "Rapido", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"LIterSel", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"CIterSel", "Ejecutar", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"CIterSelPaP", "Paso a paso", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"FRelajacion", "Relajacion", nullptr, nullptr, {"v", "v", "v"}},
    {"Label2", "Clase de Asignación", nullptr, nullptr, {"V", "V", "V"}},
    {"MetRelajacion", "Rosenfeld", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"LRelajacion", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"Command1", "Ejecutar", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"FRegional", "Regional threshold", nullptr, nullptr, {"v", "v", "v"}},
    {"LRegional", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"Command2", "Ejecutar", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Command5", "Paso a paso", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"FMimErr", "Miminum Error", nullptr, nullptr, {"v", "v", "v"}},
    {"LMimErr", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"Command3", "Ejecutar", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Command4", "Paso a paso", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"FEdgeP", "Using edge pixels", nullptr, nullptr, {"v", "v", "v"}},
    {"Mask(0)", "0", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Mask(1)", "1", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Mask(2)", "0", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Mask(3)", "1", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Mask(4)", "-4", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Mask(5)", "1", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Mask(6)", "0", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Mask(7)", "1", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Mask(8)", "0", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Label3", "Porcentaje", nullptr, nullptr, {"V", "V", "V"}},
    {"PCTeDp", "85", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"LEdgeP", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"Command6", "Ejecutar", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Command9", "Paso a paso", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"FGl", "Grey Level", nullptr, nullptr, {"v", "v", "v"}},
    {"LGl", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"Command7", "Ejecutar", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Command8", "Paso a paso", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"FEntropy", "Entropy", nullptr, nullptr, {"v", "v", "v"}},
    {"LEntropy", nullptr, nullptr, nullptr, {"V", "V", "V"}},
    {"Command10", "Ejecutar", nullptr, nullptr, {"VE", "VE", "VE"}},
    {"Command11", "Paso a paso", nullptr, nullptr, {"VE", "VE", "VE"}},
    // "Comparar métodos": its Generacion entry and its own tool bar button.
    {"mnuComparar", "Comparar métodos", nullptr, "", {"Vec", "VEc", "VEc"}},
    {"Boton(6)", nullptr, "Comparar métodos", nullptr, {"Ve", "VE", "VE"}},
};

// The bitmap each tool bar button shows in each state.
const int kBitmaps[6][3] = {{101, 101, 101}, {107, 107, 107}, {112, 112, 112},
                            {127, 125, 127}, {117, 115, 115}, {122, 122, 122}};

struct Observado {
  QString texto;
  QString tooltip;
  QString atajo;
  bool visible = false;
  bool habilitado = false;
  bool marcado = false;
  bool encontrado = false;
};

Observado observar(Form1& ventana, const QString& nombre) {
  Observado o;
  if (auto* menu = ventana.findChild<QMenu*>(nombre)) {
    o = {menu->title(), {}, {}, menu->menuAction()->isVisible(), menu->isEnabled(), false, true};
  } else if (auto* accion = ventana.findChild<QAction*>(nombre)) {
    o = {accion->text(),
         QString(),  // menu entries show no tooltip (Qt derives one from the caption)
         accion->shortcut().toString(),
         accion->isVisible(),
         accion->isEnabled(),
         accion->isChecked(),
         true};
  } else if (auto* w = ventana.findChild<QWidget*>(nombre)) {
    o.encontrado = true;
    o.visible = !w->isHidden();
    o.habilitado = w->isEnabled();
    o.tooltip = w->toolTip();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) o.texto = b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) o.texto = l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) o.texto = g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w)) o.texto = e->text();
    if (auto* c = qobject_cast<QComboBox*>(w)) o.texto = c->currentText();
  }
  return o;
}

class Inventario : public ::testing::Test {
 protected:
  // Brings the window to a state and checks every control in it.
  void comprobar(Estado estado) {
    for (const Control& c : kControles) {
      SCOPED_TRACE(std::string(c.nombre) + " in state " + std::to_string(estado));
      const Observado o = observar(v.ventana, QString::fromUtf8(c.nombre));
      ASSERT_TRUE(o.encontrado);
      if (c.texto) {
        EXPECT_EQ(o.texto.toStdString(), c.texto);
      }
      EXPECT_EQ(o.tooltip.toStdString(), c.tooltip ? c.tooltip : "");
      if (c.atajo) {
        EXPECT_EQ(o.atajo.toStdString(), c.atajo);
      }
      for (const char* f = c.estados[estado]; *f; ++f) {
        const bool esperado = std::isupper(static_cast<unsigned char>(*f)) != 0;
        switch (std::tolower(static_cast<unsigned char>(*f))) {
          case 'v':
            EXPECT_EQ(o.visible, esperado) << "visible";
            break;
          case 'e':
            EXPECT_EQ(o.habilitado, esperado) << "enabled";
            break;
          case 'c':
            EXPECT_EQ(o.marcado, esperado) << "checked";
            break;
        }
      }
    }
    for (int i = 0; i < Botonera::kBotones; ++i)
      EXPECT_EQ(v.ventana.botonera().boton(i)->bitmap(), kBitmaps[i][estado])
          << "Boton(" << i << ")";
  }

  VentanaPrueba v;
};

TEST_F(Inventario, EveryControlInEveryWorkflowState) {
  comprobar(kSinImagen);
  EXPECT_EQ(v.control<QLabel>(QStringLiteral("lblValorUmbral"))->text(), QString());
  EXPECT_EQ(v.control<QLabel>(QStringLiteral("lblValorCantidad"))->text(), QString());
  EXPECT_EQ(v.control<QLabel>(QStringLiteral("lblPorcentajes"))->text(), QString());
  ASSERT_TRUE(
      v.ventana.abrirFichero(v.escribir(QStringLiteral("casa.bmp"), imagenDePrueba(320, 240))));
  comprobar(kAbierta);
  v.ventana.findChild<QAction*>(QStringLiteral("mnuEcualizar"))->trigger();
  comprobar(kEcualizada);
}

TEST_F(Inventario, TabsGridAndFixedLabels) {
  auto* carpetas = v.control<QTabWidget>(QStringLiteral("Carpetas"));
  ASSERT_EQ(carpetas->count(), 2);
  EXPECT_EQ(carpetas->tabText(0), QStringLiteral("Imagen"));
  EXPECT_EQ(carpetas->tabText(1), QStringLiteral("Método"));
  auto* simple = v.control<QTabWidget>(QStringLiteral("SSTabSimple"));
  ASSERT_EQ(simple->count(), 3);
  EXPECT_EQ(simple->tabText(0), QStringLiteral("Algoritmo Mean"));
  EXPECT_EQ(simple->tabText(1), QStringLiteral("Algoritmo Porcentaje"));
  EXPECT_EQ(simple->tabText(2), QStringLiteral("Algoritmo Two Peaks"));
  EXPECT_EQ(simple->widget(0)->objectName(), QStringLiteral("Frame2"));
  EXPECT_EQ(simple->widget(1)->objectName(), QStringLiteral("Frame1"));
  EXPECT_EQ(simple->widget(2)->objectName(), QStringLiteral("Frame3"));

  auto* tabla = v.control<QTableWidget>(QStringLiteral("tablaComponentes"));
  ASSERT_EQ(tabla->columnCount(), 3);
  EXPECT_EQ(tabla->rowCount(), 0);
  EXPECT_EQ(tabla->horizontalHeaderItem(0)->text(), QStringLiteral("  Numero de puntos   "));
  EXPECT_EQ(tabla->horizontalHeaderItem(1)->text(), QStringLiteral("   Número de componentes  "));
  EXPECT_EQ(tabla->horizontalHeaderItem(2)->text(), QStringLiteral("      Ns(t)    "));

  QStringList fijas;
  for (QLabel* l : v.ventana.findChildren<QLabel*>()) fijas << l->text();
  EXPECT_TRUE(fijas.contains(QStringLiteral("Umbral: ")));
  EXPECT_TRUE(fijas.contains(QStringLiteral("Cantidad:")));

  auto* scr = v.control<QScrollBar>(QStringLiteral("scrUmbral"));
  EXPECT_EQ(scr->minimum(), 0);
  EXPECT_EQ(scr->maximum(), 255);
  EXPECT_EQ(scr->value(), 128);
  auto* h1 = v.control<QScrollBar>(QStringLiteral("HScroll1"));
  EXPECT_EQ(h1->minimum(), 0);
  EXPECT_EQ(h1->maximum(), 100);
  EXPECT_EQ(h1->value(), 50);
  EXPECT_EQ(h1->singleStep(), 1);
  EXPECT_EQ(h1->pageStep(), 1);

  const auto elementos = [&](const char* nombre) {
    QStringList lista;
    auto* c = v.control<QComboBox>(QString::fromLatin1(nombre));
    for (int i = 0; i < c->count(); ++i) lista << c->itemText(i);
    return lista;
  };
  EXPECT_EQ(elementos("CIterSelModo"), (QStringList{"Rapido", "Normal"}));
  EXPECT_EQ(elementos("metodoYG"), (QStringList{"ENTROPY", "FUZZY"}));
  EXPECT_EQ(elementos("MetRelajacion"), (QStringList{"Rosenfeld", "Parker"}));
  for (const char* lista : {"LMean", "LPorc", "LTwoP", "LIterSel", "LGl", "LEntropy", "LMimErr",
                            "LFuzzy", "LEdgeP", "LThrdd", "LRegional", "LRelajacion"})
    EXPECT_TRUE(v.control<QListWidget>(QString::fromLatin1(lista))->font().fixedPitch()) << lista;
  EXPECT_EQ(v.control<QWidget>(QStringLiteral("CPasoRelajacion")), nullptr);
}

TEST_F(Inventario, ComparisonButtonFollowsBinarizarAndLeavesTheSixAlone) {
  const int izquierdas[7] = {1, 35, 69, 103, 35, 172, 69};
  for (int i = 0; i <= Botonera::kComparar; ++i) {
    EXPECT_EQ(v.ventana.botonera().boton(i)->pos(), QPoint(izquierdas[i], 1)) << i;
    EXPECT_EQ(v.ventana.botonera().boton(i)->objectName(), QStringLiteral("Boton(%1)").arg(i));
  }
  BotonImagen* comparar = v.ventana.botonera().boton(Botonera::kComparar);
  EXPECT_EQ(comparar->property("tag").toString(), QStringLiteral("130"));
  EXPECT_EQ(comparar->bitmap(), 132);
  ASSERT_TRUE(
      v.ventana.abrirFichero(v.escribir(QStringLiteral("casa.bmp"), imagenDePrueba(40, 30))));
  EXPECT_EQ(comparar->bitmap(), 130);
  // The entry comes after a separator and is not one of the ten panels.
  auto* menu = v.control<QMenu>(QStringLiteral("mnuGeneracion"));
  const QList<QAction*> entradas = menu->actions();
  ASSERT_GE(entradas.size(), 2);
  EXPECT_EQ(entradas.back()->objectName(), QStringLiteral("mnuComparar"));
  EXPECT_TRUE(entradas[entradas.size() - 2]->isSeparator());
  EXPECT_FALSE(entradas.back()->isCheckable());
}

}  // namespace
}  // namespace velarno
