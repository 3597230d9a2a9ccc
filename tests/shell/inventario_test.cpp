// Every control of the window by objectName: its fixed text, and whether it is visible, enabled
// and checked in each workflow state; the bitmap each tool bar button shows.
#include <utility>

#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "support/ventana_prueba.h"

namespace velarno {
namespace {

// No picture; a picture open; equalized; equalized with the binarized view switched on.
enum Estado { kSinImagen, kAbierta, kEcualizada, kBinarizada };

// One control: its text as observar() writes it, and its flags (visible and enabled unless
// given), for every state or per state separated by '|': V/v visible or hidden, E/e enabled or
// disabled, C/c checked or not (a flag left out is not checked).
struct Control {
  const char* nombre;
  const char* texto;
  const char* estados = "VE";
};

// clang-format off
const Control kControles[] = {
    // Menus (title) and their entries (caption, then the shortcut if there is one).
    {"mnuArchivo", "&Archivo", "V"}, {"abrir", "&Abrir Ctrl+A"},
    {"mnuGuardarBinarizada", "Guardar imagen binarizada...", "Ve|Ve|Ve|VE"},
    {"mnuGuardarGris", "Guardar escala de grises...", "Ve|VE|VE|VE"}, {"mnuSalir", "&Salir Ctrl+X"},
    {"mnuEdicion", "&Edición", "V"}, {"mnuGrises", "Escala de grises", "Ve"},
    {"mnuHistograma", "Histograma", "Ve"},
    {"mnuEcualizar", "Ecualizar el histograma", "Ve|VE|Ve|Ve"},
    {"mnuBinarizar", "Binarizar paso a paso", "Vec|VEc|VEc|VEC"},
    {"mnuEstadisticas", "Estadísticas", "Vec"}, {"mnuGeneracion", "Generacion", "V"},
    {"mnuGen(0)", "Simple", "VEC"}, {"mnuGen(1)", "Fuzzy", "VEc"},
    {"mnuGen(2)", "Moving Averages", "VEc"}, {"mnuGen(3)", "iterative selection", "VEc"},
    {"mnuGen(4)", "Relajacion", "VEc"}, {"mnuGen(5)", "Regional threshold", "VEc"},
    {"mnuGen(6)", "Minimum Error", "VEc"}, {"mnuGen(7)", "Using Edge Pixel", "VEc"},
    {"mnuGen(8)", "Method of grey-level histogram", "VEc"}, {"mnuGen(9)", "Entropy", "VEc"},
    {"mnuEvaluar", "Evaluar con referencia...", "Ve|VE|VE|VE"},
    {"mnuComparar", "Comparar métodos", "Vec|VEc|VEc|VEc"}, {"mnuMetodo", "&Método Simple", "V"},
    {"mnuAlg(0)", "Algoritmo Mean", "VEC"}, {"mnuAlg(1)", "Algoritmo Porcentaje", "VEc"},
    {"mnuAlg(2)", "Algoritmo Two Peaks", "VEc"}, {"mnuAyuda", "Ayuda", "V"},
    {"mnuAcerca", "Acerca de..."},
    // Tool bar buttons (tooltip).
    {"Boton(0)", "[Abrir imagen]"}, {"Boton(1)", "[Convertir a escala de grises]", "ve"},
    {"Boton(2)", "[Histograma]", "ve"}, {"Boton(3)", "[Ecualizar el histograma]", "ve|vE|ve|ve"},
    {"Boton(4)", "[Binarizar]", "Ve|VE|VE|VE"}, {"Boton(5)", "[Estadísticas]", "ve"},
    {"Boton(6)", "[Comparar métodos]", "Ve|VE|VE|VE"},
    // Tabs, frames, the threshold and its table.
    {"Carpetas", "Imagen|Método", "V"}, {"Frames(0)", "Imagen", "V"},
    {"Frames(1)", "Histograma", "V"}, {"Frames(2)", "Escala de grises", "V"},
    {"Frames(3)", "Binarización", "V"}, {"chkSuperponer", "Superponer", "VEc"},
    {"tablaComponentes", "  Numero de puntos   |   Número de componentes  |      Ns(t)    ", "V"},
    {"scrUmbral", "0..255=128 1/10", "Ve|VE|VE|VE"},
    // The simple methods' tabs, then the frames of the Generacion entries, hidden until chosen,
    // with their inputs and step buttons; every Run button reads "Ejecutar".
    {"SSTabSimple", "Algoritmo Mean|Algoritmo Porcentaje|Algoritmo Two Peaks", "V"},
    {"Frame2", "", "V"}, {"CPasoCmean", "Paso a paso"}, {"LMetodo", "Porcentaje", "V"},
    {"Tpct", "50"}, {"HScroll1", "0..100=50 1/1"}, {"CPasoPct", "Paso a Paso"},
    {"CTwoPPaso", "Paso a paso"}, {"FFuzzy", "Fuzzy", "v"}, {"metodoYG", "ENTROPY|FUZZY"},
    {"CFuzzyPaP", "Paso a paso"}, {"FThrdd", "Moving Averages", "v"},
    {"Label1", "Porcentaje:", "V"}, {"CPct", "15"}, {"CThrddPaP", "Paso a paso"},
    {"FIterSel", "Iterative Selection", "v"}, {"CIterSelModo", "Rapido|Normal"},
    {"CIterSelPaP", "Paso a paso"}, {"FRelajacion", "Relajacion", "v"},
    {"Label2", "Clase de Asignación", "V"}, {"MetRelajacion", "Rosenfeld|Parker"},
    {"FRegional", "Regional threshold", "v"}, {"Command5", "Paso a paso"},
    {"FMimErr", "Miminum Error", "v"}, {"Command4", "Paso a paso"},
    {"FEdgeP", "Using edge pixels", "v"}, {"Mask(0)", "0"}, {"Mask(1)", "1"}, {"Mask(2)", "0"},
    {"Mask(3)", "1"}, {"Mask(4)", "-4"}, {"Mask(5)", "1"}, {"Mask(6)", "0"}, {"Mask(7)", "1"},
    {"Mask(8)", "0"}, {"Label3", "Porcentaje", "V"}, {"PCTeDp", "85"}, {"Command9", "Paso a paso"},
    {"FGl", "Grey Level", "v"}, {"Command8", "Paso a paso"}, {"FEntropy", "Entropy", "v"},
    {"Command11", "Paso a paso"}, {"CMean", "Ejecutar"}, {"CPctFin", "Ejecutar"},
    {"CTwoPeak", "Ejecutar"}, {"CFuzzy", "Ejecutar"}, {"Relax", "Ejecutar"},
    {"CIterSel", "Ejecutar"}, {"Command1", "Ejecutar"}, {"Command2", "Ejecutar"},
    {"Command3", "Ejecutar"}, {"Command6", "Ejecutar"}, {"Command7", "Ejecutar"},
    {"Command10", "Ejecutar"}};
// clang-format on

// Each tool bar button's left edge (button 4 stands where the hidden 1 is, the comparison
// button where the hidden 2 is) and the bitmap it shows in each state.
const struct {
  int izquierda;
  int bitmaps[4];
} kBotones[] = {{1, {101, 101, 101, 101}},  {35, {107, 107, 107, 107}},
                {69, {112, 112, 112, 112}}, {103, {127, 125, 127, 127}},
                {35, {117, 115, 115, 118}}, {172, {122, 122, 122, 122}},
                {69, {132, 130, 130, 130}}};

// A control's text: its caption or title, then an entry's shortcut; a list's or tab widget's
// items or a table's headers joined by '|'; a scroll bar's "min..max=value step/page"; then a
// widget's tooltip in brackets. Its flags: "VEC" in upper case where visible, enabled, checked.
std::pair<std::string, std::string> observar(QObject* o) {
  QStringList texto{o->property("text").toString() + o->property("title").toString() +
                    o->property("currentText").toString()};
  const QString atajo = o->property("shortcut").value<QKeySequence>().toString();
  if (!atajo.isEmpty()) texto[0] += QLatin1Char(' ') + atajo;
  if (auto* c = qobject_cast<QComboBox*>(o))
    for (int i = 1; i < c->count(); ++i) texto << c->itemText(i);
  if (auto* t = qobject_cast<QTabWidget*>(o))
    for (int i = 0; i < t->count(); ++i) texto << t->tabText(i);
  if (auto* t = qobject_cast<QTableWidget*>(o))
    for (int i = 0; i < t->columnCount(); ++i) texto << t->horizontalHeaderItem(i)->text();
  if (auto* s = qobject_cast<QScrollBar*>(o))
    texto[0] = QString::asprintf("%d..%d=%d %d/%d", s->minimum(), s->maximum(), s->value(),
                                 s->singleStep(), s->pageStep());
  if (texto.size() > 1 && texto[0].isEmpty()) texto.removeFirst();
  auto* w = qobject_cast<QWidget*>(o);
  if (w && !w->toolTip().isEmpty()) texto.last() += QStringLiteral("[%1]").arg(w->toolTip());
  auto* menu = qobject_cast<QMenu*>(o);
  const bool visible = menu ? menu->menuAction()->isVisible()
                       : w  ? !w->isHidden()
                            : o->property("visible").toBool();
  return {texto.join(QLatin1Char('|')).toStdString(),
          {visible ? 'V' : 'v', o->property("enabled").toBool() ? 'E' : 'e',
           o->property("checked").toBool() ? 'C' : 'c'}};
}

class Inventario : public ::testing::Test {
 protected:
  void comprobar(Estado estado) {
    for (const Control& c : kControles) {
      SCOPED_TRACE(std::string(c.nombre) + " in state " + std::to_string(estado));
      QObject* control = v.ventana.findChild<QObject*>(QString::fromUtf8(c.nombre));
      ASSERT_NE(control, nullptr);
      const auto o = observar(control);
      EXPECT_EQ(o.first, c.texto);
      const QStringList grupos = QString::fromLatin1(c.estados).split(QLatin1Char('|'));
      for (const QChar f : grupos.size() == 1 ? grupos[0] : grupos[estado])
        EXPECT_NE(o.second.find(f.toLatin1()), std::string::npos) << o.second;
    }
    for (int i = 0; i <= Botonera::kComparar; ++i) {
      EXPECT_EQ(v.ventana.botonera().boton(i)->bitmap(), kBotones[i].bitmaps[estado]) << i;
      EXPECT_EQ(v.ventana.botonera().boton(i)->pos(), QPoint(kBotones[i].izquierda, 1)) << i;
    }
  }

  VentanaPrueba v;
};

TEST_F(Inventario, EveryControlInEveryWorkflowState) {
  comprobar(kSinImagen);
  QStringList etiquetas;
  for (QLabel* l : v.ventana.findChildren<QLabel*>()) etiquetas << l->objectName() + l->text();
  for (const char* l :
       {"lblValorUmbral", "lblValorCantidad", "lblPorcentajes", "Umbral: ", "Cantidad:"})
    EXPECT_TRUE(etiquetas.contains(QString::fromUtf8(l))) << l;  // empty, or fixed and unnamed
  EXPECT_EQ(v.control("CPasoRelajacion"), nullptr);              // Relaxation has no step mode
  // The reference and comparison entries come after a separator, apart from the panels.
  const QList<QAction*> entradas = v.control<QMenu>("mnuGeneracion")->actions();
  EXPECT_TRUE(entradas.back() == v.accion("mnuComparar") && !entradas.back()->isCheckable());
  EXPECT_TRUE(entradas.at(entradas.size() - 2) == v.accion("mnuEvaluar"));
  EXPECT_TRUE(entradas.at(entradas.size() - 3)->isSeparator());
  ASSERT_TRUE(v.abrir(QStringLiteral("casa.bmp"), imagenDePrueba(32, 24)));
  comprobar(kAbierta);
  v.accion("mnuEcualizar")->trigger();
  comprobar(kEcualizada);
  QTest::mouseClick(v.ventana.botonera().boton(4), Qt::LeftButton);
  comprobar(kBinarizada);
}

}  // namespace
}  // namespace velarno
