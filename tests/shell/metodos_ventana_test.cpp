// The method panels of the real window: each Run button gives the same trace and result as the
// core method on the same record, and the inputs behave as the user expects.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

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
#include "support/ventana_prueba.h"

namespace velarno {
namespace {

QStringList lineas(QListWidget* lista) {
  QStringList l;
  for (int i = 0; i < lista->count(); ++i) l << lista->item(i)->text();
  return l;
}

QStringList lineas(const TrazaLista& traza) {
  QStringList l;
  for (const std::string& linea : traza.lineas()) l << QString::fromStdString(linea);
  return l;
}

struct Panel {
  const char* boton;
  const char* lista;
  Fin (*funcion)(Entorno&, bool&);
  bool global;
};

void PrintTo(const Panel& p, std::ostream* os) { *os << p.boton; }

Fin relajacion(Entorno& e, bool&) { return AlgoritmoRelajacion(e); }

class PanelMetodo : public ::testing::TestWithParam<Panel> {};

TEST_P(PanelMetodo, RunButtonMatchesTheCoreMethod) {
  const Panel& panel = GetParam();
  VentanaPrueba v(std::string(10, 'S'));
  ASSERT_TRUE(v.ventana.abrirFichero(v.escribir(QStringLiteral("p.png"), imagenDePrueba(48, 36))));
  DatosImagen copia = v.ventana.datos();
  EntornoSimple nucleo(copia);
  for (const char* control :
       {"Tpct", "CIterSelModo", "metodoYG", "PCTeDp", "CPct", "MetRelajacion", "Mask(0)", "Mask(1)",
        "Mask(2)", "Mask(3)", "Mask(4)", "Mask(5)", "Mask(6)", "Mask(7)", "Mask(8)"}) {
    auto* caja = v.control<QLineEdit>(QString::fromLatin1(control));
    auto* combo = v.control<QComboBox>(QString::fromLatin1(control));
    nucleo.setTexto(control,
                    caja ? caja->text().toStdString() : combo->currentText().toStdString());
  }
  bool paso = false;
  panel.funcion(nucleo, paso);
  const int antes = v.control<QScrollBar>(QStringLiteral("scrUmbral"))->value();

  v.control<QPushButton>(QString::fromLatin1(panel.boton))->click();
  EXPECT_EQ(lineas(v.control<QListWidget>(QString::fromLatin1(panel.lista))),
            lineas(nucleo.traza()));
  const int umbral = v.control<QScrollBar>(QStringLiteral("scrUmbral"))->value();
  if (panel.global) {
    EXPECT_EQ(umbral, nucleo.umbralPublicado().value_or(-1));
  } else {
    EXPECT_EQ(umbral, antes);  // the spatial methods leave the scroll bar alone
  }
  // The record holds what the core run left (Relaxation gives it back unchanged).
  const Pixeles& a = v.ventana.datos().pixeles;
  const Pixeles& b = copia.pixeles;
  EXPECT_TRUE(std::equal(a.planoNegro(), a.planoNegro() + a.cantidad(), b.planoNegro()));
  EXPECT_TRUE(std::equal(a.planoGris(), a.planoGris() + a.cantidad(), b.planoGris()));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Todos, PanelMetodo,
    ::testing::Values(Panel{"CMean", "LMean", AlgoritmoMean, true},
                      Panel{"CPctFin", "LPorc", AlgoritmoPorcentaje, true},
                      Panel{"CTwoPeak", "LTwoP", AlgoritmoTwoPeak, true},
                      Panel{"CIterSel", "LIterSel", ejecutarIterSel, true},
                      Panel{"Command7", "LGl", AlgoritmoGreyLevel, true},
                      Panel{"Command10", "LEntropy", AlgoritmoEntropy, true},
                      Panel{"Command3", "LMimErr", AlgoritmoMinimumError, true},
                      Panel{"CFuzzy", "LFuzzy", AlgoritmoFuzzy, true},
                      Panel{"Command6", "LEdgeP", AlgoritmoUsingEdgePixels, true},
                      Panel{"Relax", "LThrdd", AlgoritmoThrdd, false},
                      Panel{"Command2", "LRegional", AlgoritmoRegionalThreshold, false},
                      Panel{"Command1", "LRelajacion", relajacion, false}),
    [](const auto& p) { return std::string(p.param.boton); });

class Metodos : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        v.ventana.abrirFichero(v.escribir(QStringLiteral("p.png"), imagenDePrueba(48, 36))));
  }
  QStringList traza(const char* lista) {
    return lineas(v.control<QListWidget>(QString::fromLatin1(lista)));
  }
  VentanaPrueba v;
};

TEST_F(Metodos, HScroll1WritesTpctAndRunsPercentage) {
  v.control<QScrollBar>(QStringLiteral("HScroll1"))->setValue(30);
  EXPECT_EQ(v.control<QLineEdit>(QStringLiteral("Tpct"))->text(), QStringLiteral("30"));
  ASSERT_FALSE(traza("LPorc").isEmpty());
  EXPECT_EQ(traza("LPorc").first(),
            QStringLiteral("Iniciando Algoritmo del pocentaje. Porcentaje (30)"));
  EXPECT_TRUE(v.dialogos.mensajes().empty());
}

TEST_F(Metodos, TypingInTpctRunsNothingAndLeavesHScroll1) {
  v.control<QLineEdit>(QStringLiteral("Tpct"))->setText(QStringLiteral("70"));
  EXPECT_TRUE(traza("LPorc").isEmpty());
  EXPECT_EQ(v.control<QScrollBar>(QStringLiteral("HScroll1"))->value(), 50);
}

TEST_F(Metodos, PercentageRefusesABadTextBeforeTouchingTheTrace) {
  v.control<QPushButton>(QStringLiteral("CPctFin"))->click();
  const QStringList primera = traza("LPorc");
  auto* tpct = v.control<QLineEdit>(QStringLiteral("Tpct"));
  tpct->setText(QStringLiteral("150"));  // the typing check shows its box
  v.control<QPushButton>(QStringLiteral("CPctFin"))->click();
  ASSERT_EQ(v.dialogos.mensajes().size(), 2u);
  EXPECT_EQ(v.dialogos.mensajes()[1].titulo, "Porcentaje no válido");
  EXPECT_EQ(v.dialogos.mensajes()[1].texto,
            "Porcentaje no válido.\rDebe ser un número entre 0 y 100.");
  EXPECT_EQ(traza("LPorc"), primera);
}

TEST_F(Metodos, EnterInCPctRunsMovingAverages) {
  auto* cpct = v.control<QLineEdit>(QStringLiteral("CPct"));
  QTest::keyClick(cpct, Qt::Key_Return);
  ASSERT_FALSE(traza("LThrdd").isEmpty());
  EXPECT_EQ(traza("LThrdd").last(), QStringLiteral("Algoritmo Moving averages finalizado."));
  EXPECT_EQ(v.control<QScrollBar>(QStringLiteral("scrUmbral"))->value(), 128);
}

TEST_F(Metodos, IterSelModeTextOtherThanRapidoRunsNormal) {
  auto* modo = v.control<QComboBox>(QStringLiteral("CIterSelModo"));
  for (const QString& texto :
       {QStringLiteral("rapido"), QStringLiteral("Normal"), QStringLiteral("cualquiera")}) {
    modo->setEditText(texto);
    v.control<QPushButton>(QStringLiteral("CIterSel"))->click();
    EXPECT_EQ(traza("LIterSel").first(), QStringLiteral("Iniciando Iterative Selection (Normal)"))
        << texto.toStdString();
  }
  modo->setEditText(QStringLiteral("Rapido"));
  v.control<QPushButton>(QStringLiteral("CIterSel"))->click();
  EXPECT_EQ(traza("LIterSel").first(), QStringLiteral("Iniciando Iterative Selection"));
}

TEST_F(Metodos, EachRunClearsOnlyItsOwnTrace) {
  v.control<QPushButton>(QStringLiteral("CMean"))->click();
  const QStringList mean = traza("LMean");
  v.control<QPushButton>(QStringLiteral("Command10"))->click();
  v.control<QPushButton>(QStringLiteral("Command10"))->click();
  EXPECT_EQ(traza("LMean"), mean);
  EXPECT_EQ(traza("LEntropy").count(QStringLiteral("Iniciando Algoritmo Entropy")), 1);
}

TEST_F(Metodos, StepRunCancelledLeavesTheStraightResult) {
  v.control<QPushButton>(QStringLiteral("Command10"))->click();
  const int recto = v.control<QScrollBar>(QStringLiteral("scrUmbral"))->value();
  v.control<QScrollBar>(QStringLiteral("scrUmbral"))->setValue(3);
  v.dialogos = DialogosGuion("N");
  v.control<QPushButton>(QStringLiteral("Command11"))->click();
  EXPECT_EQ(v.control<QScrollBar>(QStringLiteral("scrUmbral"))->value(), recto);
  EXPECT_TRUE(traza("LEntropy").contains(QStringLiteral("Paso a paso cancelado")));
}

TEST_F(Metodos, RegionalAndRelaxationWarnBeforeRunning) {
  v.control<QPushButton>(QStringLiteral("Command2"))->click();
  v.control<QPushButton>(QStringLiteral("Command1"))->click();
  const auto& m = v.dialogos.mensajes();
  ASSERT_EQ(m.size(), 2u);
  for (const Mensaje& caja : m) {
    EXPECT_EQ(caja.titulo, "Atencion");
    EXPECT_EQ(caja.texto, "Este algoritmos puede tardar varios minutos en ejecutarse");
    EXPECT_EQ(caja.estilo, kEstiloInformacion);
  }
}

}  // namespace
}  // namespace velarno

namespace velarno {
namespace {

// Tiny pictures: every Run button ends with a trace or a refusal box, the window stays usable.
TEST(PanelMetodoDiminuto, EveryRunButtonOnTinyPictures) {
  const char* botones[] = {"CMean",    "CPctFin", "CTwoPeak", "CIterSel", "Command7", "Command10",
                           "Command3", "CFuzzy",  "Command6", "Relax",    "Command2", "Command1"};
  const char* listas[] = {"LMean",   "LPorc",  "LTwoP",  "LIterSel", "LGl",       "LEntropy",
                          "LMimErr", "LFuzzy", "LEdgeP", "LThrdd",   "LRegional", "LRelajacion"};
  for (const QSize tamano : {QSize(1, 1), QSize(2, 3), QSize(1, 7), QSize(5, 1)}) {
    VentanaPrueba v(std::string(20, 'S'));
    ASSERT_TRUE(v.ventana.abrirFichero(
        v.escribir(QStringLiteral("t.png"), imagenDePrueba(tamano.width(), tamano.height()))));
    for (size_t i = 0; i < std::size(botones); ++i) {
      const size_t cajas = v.dialogos.mensajes().size();
      v.control<QPushButton>(QString::fromLatin1(botones[i]))->click();
      const bool traza = v.control<QListWidget>(QString::fromLatin1(listas[i]))->count() > 0;
      const bool rechazo = v.dialogos.mensajes().size() > cajas &&
                           v.dialogos.mensajes().back().estilo == kEstiloExclamacion;
      EXPECT_TRUE(traza || rechazo)
          << botones[i] << " " << tamano.width() << "x" << tamano.height();
      const int umbral = v.control<QScrollBar>(QStringLiteral("scrUmbral"))->value();
      EXPECT_GE(umbral, 0);
      EXPECT_LE(umbral, 255);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
}

}  // namespace
}  // namespace velarno
