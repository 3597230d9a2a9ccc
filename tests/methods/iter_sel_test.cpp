#include "methods/iter_sel.h"

#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "methods/entorno_simple.h"
#include "methods/numeros.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::mas;
using prueba::unir;

const char kRapido[] = "Iniciando Iterative Selection";
const char kNormal[] = "Iniciando Iterative Selection (Normal)";

std::vector<std::string> cabecera(const std::string& titulo, const std::string& media) {
  return {titulo, std::string(titulo.size(), '='), "", "Nivel de gris medio: " + media, ""};
}

std::vector<std::string> cierre(int umbral) {
  return {"", "Umbral encontrado: " + std::to_string(umbral), "",
          "Iterative Selection Finalizado."};
}

struct CasoIterSel {
  const char* nombre;
  DatosImagen imagen;
  std::string mediaRapido;
  int rapido;
  std::string mediaNormal;
  int normal;
};

void PrintTo(const CasoIterSel& caso, std::ostream* os) { *os << caso.nombre; }

class IterSelUmbral : public ::testing::TestWithParam<CasoIterSel> {};

TEST_P(IterSelUmbral, RapidoStraightRun) {
  CasoIterSel caso = GetParam();
  EntornoSimple e(caso.imagen);
  bool paso = false;
  EXPECT_EQ(AlgoritmoIterSel(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(), unir(mas(cabecera(kRapido, caso.mediaRapido), cierre(caso.rapido))));
  EXPECT_EQ(e.umbralPublicado(), caso.rapido);
}

TEST_P(IterSelUmbral, NormalStraightRun) {
  CasoIterSel caso = GetParam();
  EntornoSimple e(caso.imagen);
  bool paso = false;
  EXPECT_EQ(algoritmoIterSelNormal(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(), unir(mas(cabecera(kNormal, caso.mediaNormal), cierre(caso.normal))));
  EXPECT_EQ(e.umbralPublicado(), caso.normal);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, IterSelUmbral,
    ::testing::Values(
        // 100, then 50, then 50 in both modes.
        CasoIterSel{"OneLevel100", imagenUniforme(3, 2, 100), "100", 50, "100", 50},
        // Rapido: 30/4 + 30/2 = 22.5 -> 22, which repeats. Normal: (10 + 25) / 2 = 17.5,
        // which repeats, rounded to 18.
        CasoIterSel{"TenTwentyThirty", imagenDesdeFilas({{10, 20, 30}}), "20", 22, "20", 18},
        CasoIterSel{"AllBlack", imagenUniforme(2, 2, 0), "0", 0, "0", 0},
        // 127.5 rounds to 128 in both modes.
        CasoIterSel{"AllWhite", imagenUniforme(2, 2, 255), "255", 128, "255", 128},
        // Mean 2.5: Rapido starts from 2 (half to even), Normal from 2.5.
        CasoIterSel{"HalfMean", imagenDesdeFilas({{0, 5}}), "2", 2, "2.5", 2},
        CasoIterSel{"TwoLevels", imagenDesdeFilas({{10, 10, 10, 200}}), "58", 105, "57.5", 105}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(AlgoritmoIterSel, StepRunWritesEveryPassWithDoubledCounts) {
  DatosImagen imagen = imagenDesdeFilas({{10, 20, 30}});
  EntornoSimple e(imagen, "SS");
  bool paso = true;
  EXPECT_EQ(AlgoritmoIterSel(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(),
            unir(mas(mas(cabecera(kRapido, "20"),
                         {"Evaluando umbral: 22( 30/4 + 30/2)", "Umbral anterior: 20", "",
                          "Evaluando umbral: 22( 30/4 + 30/2)", "Umbral anterior: 22", ""}),
                     cierre(22))));
  const std::vector<Mensaje>& m = e.dialogos().mensajes();
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].titulo, "Paso a paso");
  EXPECT_EQ(m[0].estilo, kEstiloSiNo);
  EXPECT_EQ(m[0].texto, "Evaluando umbral: 22\rumbral anterior: 20\r\r¿Continuar paso a paso?");
  EXPECT_EQ(m[1].texto, "Evaluando umbral: 22\rumbral anterior: 22\r\r¿Continuar paso a paso?");
  EXPECT_TRUE(paso);
}

struct CasoCancelado {
  const char* nombre;
  Fin (*metodo)(Entorno&, bool&);
  std::vector<std::string> traza;
  int umbral;
};

void PrintTo(const CasoCancelado& caso, std::ostream* os) { *os << caso.nombre; }

class IterSelCancelado : public ::testing::TestWithParam<CasoCancelado> {};

// No writes no cancel line; the iteration goes on silently to the same threshold.
TEST_P(IterSelCancelado, NoAtFirstPassStopsLinesAndPrompts) {
  const CasoCancelado& caso = GetParam();
  DatosImagen imagen = imagenDesdeFilas({{10, 20, 30}});
  EntornoSimple e(imagen, "N");
  bool paso = true;
  EXPECT_EQ(caso.metodo(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(), unir(caso.traza));
  EXPECT_EQ(e.dialogos().mensajes().size(), 1u);
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.umbralPublicado(), caso.umbral);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, IterSelCancelado,
    ::testing::Values(
        CasoCancelado{"Rapido", AlgoritmoIterSel,
                      mas(mas(cabecera(kRapido, "20"),
                              {"Evaluando umbral: 22( 30/4 + 30/2)", "Umbral anterior: 20", ""}),
                          cierre(22)),
                      22},
        CasoCancelado{"Normal", algoritmoIterSelNormal,
                      mas(mas(cabecera(kNormal, "20"),
                              {"Evaluando umbral: 17.5 (10/1 + 50/2)", "Umbral anterior: 20", ""}),
                          cierre(18)),
                      18}),
    [](const auto& p) { return std::string(p.param.nombre); });

// An empty class is counted as 1 after doubling, and contributes 0.
TEST(AlgoritmoIterSel, EmptyClassShowsCountOne) {
  DatosImagen imagen = imagenUniforme(3, 2, 100);
  EntornoSimple e(imagen, "SS");
  bool paso = true;
  AlgoritmoIterSel(e, paso);
  EXPECT_EQ(e.traza().texto(),
            unir(mas(mas(cabecera(kRapido, "100"),
                         {"Evaluando umbral: 50( 600/12 + 0/1)", "Umbral anterior: 100", "",
                          "Evaluando umbral: 50( 0/1 + 600/12)", "Umbral anterior: 50", ""}),
                     cierre(50))));
}

// Levels 1 and 2 make the whole-number iteration cycle: 2, 1, 2, 1, ... The run stops after
// the bound, says so, and publishes the last threshold.
TEST(AlgoritmoIterSel, CycleStopsAfterThousandPasses) {
  DatosImagen imagen = imagenDesdeFilas({{1, 2}});
  EntornoSimple e(imagen, std::string(1100, 'S'));
  bool paso = false;
  EXPECT_EQ(AlgoritmoIterSel(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(),
            unir(mas(mas(cabecera(kRapido, "2"),
                         {"La iteración no converge: se detiene tras 1000 pasadas."}),
                     cierre(2))));
  EXPECT_EQ(e.umbralPublicado(), 2);

  bool pasoAPaso = true;
  AlgoritmoIterSel(e, pasoAPaso);
  EXPECT_EQ(e.dialogos().mensajes().size(), 1000u);
  const std::vector<std::string>& lineas = e.traza().lineas();
  ASSERT_EQ(lineas.size(), 5 + 3 * 1000 + 1 + 4u);
  EXPECT_EQ(lineas[5], "Evaluando umbral: 1( 3/4 + 0/1)");
  EXPECT_EQ(lineas[8], "Evaluando umbral: 2( 1/2 + 2/2)");
  EXPECT_EQ(lineas[5 + 3 * 1000], "La iteración no converge: se detiene tras 1000 pasadas.");
}

// The normal mode never cycles (its new threshold only moves one way), so its bound is
// checked with a bound of one pass on a picture that needs two.
TEST(AlgoritmoIterSel, BoundOfOwnStopsBothModes) {
  DatosImagen imagen = imagenDesdeFilas({{10, 20, 30}});
  EntornoSimple e(imagen);
  bool paso = false;
  EXPECT_EQ(iterSelNormalHasta(e, paso, 1), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(),
            unir(mas(mas(cabecera(kNormal, "20"),
                         {"La iteración no converge: se detiene tras 1 pasadas."}),
                     cierre(18))));
  EXPECT_EQ(e.umbralPublicado(), 18);
  EXPECT_EQ(iterSelRapidoHasta(e, paso, 1), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(),
            unir(mas(mas(cabecera(kRapido, "20"),
                         {"La iteración no converge: se detiene tras 1 pasadas."}),
                     cierre(22))));
  // Two passes are enough: the threshold repeats at the second.
  EXPECT_EQ(iterSelNormalHasta(e, paso, 2), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(), unir(mas(cabecera(kNormal, "20"), cierre(18))));
}

TEST(AlgoritmoIterSel, NormalStepRunUsesLocaleSeparator) {
  DatosImagen imagen = imagenDesdeFilas({{10, 20, 30}});
  EntornoSimple e(imagen, "SS");
  e.setSeparadorDecimal(',');
  bool paso = true;
  EXPECT_EQ(algoritmoIterSelNormal(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(),
            unir(mas(mas(cabecera(kNormal, "20"),
                         {"Evaluando umbral: 17,5 (10/1 + 50/2)", "Umbral anterior: 20", "",
                          "Evaluando umbral: 17,5 (10/1 + 50/2)", "Umbral anterior: 17,5", ""}),
                     cierre(18))));
  const std::vector<Mensaje>& m = e.dialogos().mensajes();
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].titulo, "Paso a paso");
  EXPECT_EQ(m[0].texto, "Evaluando umbral: 17,5\rumbral anterior: 20\r\r¿Continuar paso a paso?");
  EXPECT_EQ(m[1].texto, "Evaluando umbral: 17,5\rumbral anterior: 17,5\r\r¿Continuar paso a paso?");
}

struct CasoModo {
  const char* nombre;
  std::string modo;
  const char* cabecera;
};

void PrintTo(const CasoModo& caso, std::ostream* os) { *os << caso.nombre; }

class IterSelModo : public ::testing::TestWithParam<CasoModo> {};

TEST_P(IterSelModo, OnlyExactRapidoRunsFastMode) {
  DatosImagen imagen = imagenDesdeFilas({{10, 20, 30}});
  EntornoSimple e(imagen);
  e.setTexto("CIterSelModo", GetParam().modo);
  bool paso = false;
  EXPECT_EQ(ejecutarIterSel(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().lineas().at(0), GetParam().cabecera);
}

INSTANTIATE_TEST_SUITE_P(Casos, IterSelModo,
                         ::testing::Values(CasoModo{"Rapido", "Rapido", kRapido},
                                           CasoModo{"Normal", "Normal", kNormal},
                                           CasoModo{"LowerCase", "rapido", kNormal},
                                           CasoModo{"TrailingBlank", "Rapido ", kNormal},
                                           CasoModo{"Accented", "Rápido", kNormal},
                                           CasoModo{"Empty", "", kNormal}),
                         [](const auto& p) { return std::string(p.param.nombre); });

// The normal mode as written: class sums added pixel by pixel in Double, row by row. Returns
// the trace of a step run answered Yes throughout.
std::string normalLiteral(const DatosImagen& imagen, char sep) {
  std::vector<std::string> lineas = {kNormal, std::string(38, '='), ""};
  const int64_t n = int64_t{imagen.ancho} * imagen.alto;
  double suma = 0;
  for (int32_t i = 0; i < imagen.alto; ++i)
    for (int32_t j = 0; j < imagen.ancho; ++j) suma += imagen.pixeles.gris(j, i);
  double t = suma / static_cast<double>(n);
  lineas.push_back("Nivel de gris medio: " + textoDouble(t, sep));
  lineas.push_back("");
  int64_t bandera = n;
  int pasadas = 0;
  while (bandera != 0 && pasadas < kMaxPasadasIterSel) {
    double sa = 0;
    double sb = 0;
    int64_t ca = 0;
    int64_t cb = 0;
    for (int32_t i = 0; i < imagen.alto; ++i)
      for (int32_t j = 0; j < imagen.ancho; ++j) {
        const int g = imagen.pixeles.gris(j, i);
        if (g < t) {
          sa += g;
          ++ca;
        } else {
          sb += g;
          ++cb;
        }
      }
    if (cb == 0) cb = 1;
    if (ca == 0) ca = 1;
    const double nuevo = (sa / static_cast<double>(ca) + sb / static_cast<double>(cb)) / 2;
    lineas.push_back("Evaluando umbral: " + textoDouble(nuevo, sep) + " (" + textoDouble(sa, sep) +
                     "/" + textoEntero(ca) + " + " + textoDouble(sb, sep) + "/" + textoEntero(cb) +
                     ")");
    lineas.push_back("Umbral anterior: " + textoDouble(t, sep));
    lineas.push_back("");
    if (nuevo == t) bandera = 0;
    t = nuevo;
    ++pasadas;
  }
  return unir(mas(lineas, cierre(static_cast<int>(redondear(t)))));
}

struct CasoAleatorio {
  const char* nombre;
  DatosImagen imagen;
};

void PrintTo(const CasoAleatorio& caso, std::ostream* os) { *os << caso.nombre; }

class IterSelNormalLiteral : public ::testing::TestWithParam<CasoAleatorio> {};

TEST_P(IterSelNormalLiteral, SameTraceAsPixelByPixelSums) {
  CasoAleatorio caso = GetParam();
  for (char sep : {'.', ','}) {
    EntornoSimple e(caso.imagen, std::string(kMaxPasadasIterSel, 'S'));
    e.setSeparadorDecimal(sep);
    bool paso = true;
    algoritmoIterSelNormal(e, paso);
    EXPECT_EQ(e.traza().texto(), normalLiteral(caso.imagen, sep));
  }
}

// A dark and a light population of levels, so that the iteration takes several passes.
DatosImagen dosPoblaciones(unsigned semilla) {
  std::mt19937 azar(semilla);
  std::uniform_int_distribution<int> oscuro(20, 90);
  std::uniform_int_distribution<int> claro(140, 250);
  std::vector<std::vector<int>> filas(63, std::vector<int>(97));
  for (size_t y = 0; y < filas.size(); ++y)
    for (int& g : filas[y]) g = y < 40 ? oscuro(azar) : claro(azar);
  return imagenDesdeFilas(filas);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, IterSelNormalLiteral,
    ::testing::Values(CasoAleatorio{"FullRange", imagenAleatoria(61, 47, 1)},
                      CasoAleatorio{"NarrowRange", imagenAleatoria(13, 211, 2, 100, 104)},
                      CasoAleatorio{"DarkRange", imagenAleatoria(300, 200, 3, 0, 40)},
                      CasoAleatorio{"OnePixelWide", imagenAleatoria(1, 999, 4)},
                      CasoAleatorio{"TwoPopulations", dosPoblaciones(5)},
                      CasoAleatorio{"TwoPopulationsAgain", dosPoblaciones(17)}),
    [](const auto& p) { return std::string(p.param.nombre); });

}  // namespace
}  // namespace velarno
