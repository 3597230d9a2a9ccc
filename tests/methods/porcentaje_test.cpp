#include "methods/porcentaje.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "methods/entorno_simple.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::unir;

// One row holding levels 0..n-1 once each.
DatosImagen escalera(int n) {
  std::vector<int> fila;
  for (int g = 0; g < n; ++g) fila.push_back(g);
  return imagenDesdeFilas({fila});
}

std::vector<std::string> cabecera(const std::string& pct, const std::string& n,
                                  const std::string& objetivo) {
  return {"Iniciando Algoritmo del pocentaje. Porcentaje (" + pct + ")",
          "===================================================",
          "",
          "Nº de pixeles de la imagen: " + n,
          "Pixeles dentro del umbral (" + pct + "/100*" + n + "): " + objetivo,
          ""};
}

struct CasoPorcentaje {
  const char* nombre;
  DatosImagen imagen;
  std::string tpct;
  char separador;
  std::string objetivo;  // the target as the trace writes it
  int umbral;
};

void PrintTo(const CasoPorcentaje& caso, std::ostream* os) { *os << caso.nombre; }

class PorcentajeUmbral : public ::testing::TestWithParam<CasoPorcentaje> {};

TEST_P(PorcentajeUmbral, StraightRunWritesEightLinesAndPublishes) {
  CasoPorcentaje caso = GetParam();
  EntornoSimple e(caso.imagen);
  e.setTexto("Tpct", caso.tpct);
  e.setSeparadorDecimal(caso.separador);
  bool paso = false;
  EXPECT_EQ(AlgoritmoPorcentaje(e, paso), Fin::Publicado);
  std::vector<std::string> esperada =
      cabecera(caso.tpct, std::to_string(caso.imagen.ancho * caso.imagen.alto), caso.objetivo);
  esperada.push_back("Umbral encontrado: " + std::to_string(caso.umbral));
  esperada.push_back("Algoritmo Porcentaje finalizado.");
  EXPECT_EQ(e.traza().texto(), unir(esperada));
  EXPECT_EQ(e.umbralPublicado(), caso.umbral);
  EXPECT_TRUE(e.dialogos().mensajes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, PorcentajeUmbral,
    ::testing::Values(
        CasoPorcentaje{"HalfOfFourLevels", imagenDesdeFilas({{10, 20, 30, 40}}), "50", '.', "2",
                       20},
        CasoPorcentaje{"ZeroPercentIsLevelZero", imagenDesdeFilas({{10, 20, 30, 40}}), "0", '.',
                       "0", 0},
        CasoPorcentaje{"HundredIsHighestLevel", imagenDesdeFilas({{10, 20, 30, 40}}), "100", '.',
                       "4", 40},
        // 2.5 pixels round half to even: 2.
        CasoPorcentaje{"TargetHalfToEven", imagenDesdeFilas({{10, 20, 30, 40, 50}}), "50", '.', "2",
                       20},
        CasoPorcentaje{"LevelZeroReachesTarget", imagenDesdeFilas({{0, 0, 0, 9}}), "75", '.', "3",
                       0},
        // The target uses the typed 50.5, not the 50 it rounds to: 101 of 200 pixels.
        CasoPorcentaje{"FractionWithComma", escalera(200), "50,5", ',', "101", 100},
        CasoPorcentaje{"FractionWithPoint", escalera(200), "50.5", '.', "101", 100},
        CasoPorcentaje{"BlanksKeptInHeader", escalera(200), " 50 ", '.', "100", 99},
        // 100.4 passes the check (it rounds to 100) but asks for 201 of 200 pixels: the scan
        // stops at the last level.
        CasoPorcentaje{"TargetAboveCountStopsAt255", escalera(200), "100,4", ',', "201", 255},
        CasoPorcentaje{"HundredAndAHalfRoundsToHundred", escalera(200), "100.5", '.', "201", 255},
        // -0.5 rounds to 0 and gives a negative target.
        CasoPorcentaje{"NegativeTargetIsLevelZero", escalera(200), "-0.5", '.', "-1", 0}),
    [](const auto& p) { return std::string(p.param.nombre); });

struct CasoRechazo {
  const char* nombre;
  std::string tpct;
  char separador;
  std::string texto;
};

void PrintTo(const CasoRechazo& caso, std::ostream* os) { *os << caso.nombre; }

class PorcentajeRechazo : public ::testing::TestWithParam<CasoRechazo> {};

const char kSinValor[] = "Introduzca un valor.\rDebe ser un número entre 0 y 100.";
const char kFueraDeRango[] = "Porcentaje no válido.\rDebe ser un número entre 0 y 100.";

TEST_P(PorcentajeRechazo, ShowsBoxAndLeavesTraceAndThresholdAlone) {
  const CasoRechazo& caso = GetParam();
  DatosImagen imagen = imagenDesdeFilas({{10, 20, 30, 40}});
  EntornoSimple e(imagen, "", 77);
  e.traza().agregar("traza anterior");
  e.setTexto("Tpct", caso.tpct);
  e.setSeparadorDecimal(caso.separador);
  bool paso = true;
  EXPECT_EQ(AlgoritmoPorcentaje(e, paso), Fin::Rechazado);
  ASSERT_EQ(e.dialogos().mensajes().size(), 1u);
  const Mensaje& m = e.dialogos().mensajes()[0];
  EXPECT_EQ(m.titulo, "Porcentaje no válido");
  EXPECT_EQ(m.texto, caso.texto);
  EXPECT_EQ(m.estilo, kEstiloExclamacion);
  EXPECT_EQ(e.traza().texto(), "traza anterior\n");
  EXPECT_EQ(e.umbralPublicado(), std::nullopt);
  EXPECT_EQ(e.umbral(), 77);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, PorcentajeRechazo,
    ::testing::Values(CasoRechazo{"Empty", "", '.', kSinValor},
                      CasoRechazo{"Letters", "abc", '.', kSinValor},
                      CasoRechazo{"PointWhenSeparatorIsComma", "100.4", ',', kSinValor},
                      CasoRechazo{"ThousandsSeparator", "1,000", '.', kSinValor},
                      CasoRechazo{"AboveHundred", "150", '.', kFueraDeRango},
                      CasoRechazo{"JustAboveHundredAndAHalf", "100.6", '.', kFueraDeRango},
                      CasoRechazo{"Negative", "-1", '.', kFueraDeRango},
                      CasoRechazo{"BeyondSixteenBits", "40000", '.', kFueraDeRango},
                      CasoRechazo{"HugeExponent", "1e400", '.', kFueraDeRango}),
    [](const auto& p) { return std::string(p.param.nombre); });

// Step mode on 10/20/30/40 at 50 %: one prompt per level 1..20, empty levels included.
TEST(AlgoritmoPorcentaje, StepModePromptsForEveryLevelUpToThreshold) {
  DatosImagen imagen = imagenDesdeFilas({{10, 20, 30, 40}});
  EntornoSimple e(imagen, std::string(30, 'S'));
  e.setTexto("Tpct", "50");
  bool paso = true;
  EXPECT_EQ(AlgoritmoPorcentaje(e, paso), Fin::Publicado);
  std::vector<std::string> esperada = cabecera("50", "4", "2");
  std::vector<std::string> preguntas;
  for (int k = 1; k <= 20; ++k) {
    const std::string nivel = "histograma (" + std::to_string(k) + "): " + (k % 10 ? "0" : "1");
    const std::string contados = "Pixeles contados: " + std::to_string(k / 10);
    esperada.insert(esperada.end(), {nivel, contados, ""});
    preguntas.push_back(nivel + "\r\n" + contados +
                        "\r\n\r\n¿Seguir con la ejecución paso a paso?");
  }
  esperada.push_back("Umbral encontrado: 20");
  esperada.push_back("Algoritmo Porcentaje finalizado.");
  EXPECT_EQ(e.traza().texto(), unir(esperada));
  const std::vector<Mensaje>& m = e.dialogos().mensajes();
  ASSERT_EQ(m.size(), preguntas.size());
  for (size_t i = 0; i < m.size(); ++i) {
    EXPECT_EQ(m[i].titulo, "Ejecución Paso a paso") << i;
    EXPECT_EQ(m[i].estilo, kEstiloSiNo) << i;
    EXPECT_EQ(m[i].texto, preguntas[i]) << i;
  }
  EXPECT_TRUE(paso);
  EXPECT_EQ(e.umbralPublicado(), 20);
}

struct CasoCancelado {
  const char* nombre;
  std::string respuestas;
  std::vector<std::string> pasos;  // the lines after the header
};

void PrintTo(const CasoCancelado& caso, std::ostream* os) { *os << caso.nombre; }

class PorcentajeCancelado : public ::testing::TestWithParam<CasoCancelado> {};

TEST_P(PorcentajeCancelado, CancelLineOnceThenSameEnd) {
  const CasoCancelado& caso = GetParam();
  DatosImagen imagen = imagenDesdeFilas({{1, 2, 3, 4}});
  EntornoSimple e(imagen, caso.respuestas);
  e.setTexto("Tpct", "75");
  bool paso = true;
  EXPECT_EQ(AlgoritmoPorcentaje(e, paso), Fin::Publicado);
  std::vector<std::string> esperada = cabecera("75", "4", "3");
  esperada.insert(esperada.end(), caso.pasos.begin(), caso.pasos.end());
  esperada.push_back("Umbral encontrado: 3");
  esperada.push_back("Algoritmo Porcentaje finalizado.");
  EXPECT_EQ(e.traza().texto(), unir(esperada));
  EXPECT_EQ(e.dialogos().mensajes().size(), caso.respuestas.size());
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.umbralPublicado(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, PorcentajeCancelado,
    ::testing::Values(
        CasoCancelado{"AtFirstLevel",
                      "N",
                      {"histograma (1): 1", "Pixeles contados: 1", "",
                       "Ejecución paso a paso cancelado.", ""}},
        CasoCancelado{"AtSecondLevel",
                      "SN",
                      {"histograma (1): 1", "Pixeles contados: 1", "", "histograma (2): 1",
                       "Pixeles contados: 2", "", "Ejecución paso a paso cancelado.", ""}},
        // Cancelling at the last prompt still writes the cancel line.
        CasoCancelado{"AtLastLevel",
                      "SSN",
                      {"histograma (1): 1", "Pixeles contados: 1", "", "histograma (2): 1",
                       "Pixeles contados: 2", "", "histograma (3): 1", "Pixeles contados: 3", "",
                       "Ejecución paso a paso cancelado.", ""}}),
    [](const auto& p) { return std::string(p.param.nombre); });

// A histogram that does not hold the picture's counts cannot push the scan past 255.
TEST(AlgoritmoPorcentaje, InconsistentHistogramStopsAt255) {
  DatosImagen imagen = imagenDesdeFilas({{10, 20, 30, 40}});
  imagen.histograma.fill(0);
  EntornoSimple e(imagen, std::string(300, 'S'));
  e.setTexto("Tpct", "50");
  bool paso = true;
  EXPECT_EQ(AlgoritmoPorcentaje(e, paso), Fin::Publicado);
  EXPECT_EQ(e.dialogos().mensajes().size(), 255u);
  EXPECT_EQ(e.umbralPublicado(), 255);
}

}  // namespace
}  // namespace velarno
