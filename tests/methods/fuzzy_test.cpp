#include "methods/fuzzy.h"

#include <cmath>
#include <cstdlib>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "methods/numeros.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::EntornoPrueba;
using prueba::mas;
using prueba::unir;

const std::vector<std::string> kIgualdades = {"======================================="};

std::vector<std::string> cabecera(const std::string& medida) {
  return {"Iniciando Algoritmo Fuzzy (" + medida + ")", kIgualdades[0], ""};
}

// The measures evaluated level by level straight from their definitions: the oracle for the
// tabulated terms.
double membresiaLiteral(int i, int u0, int u1, int t) {
  const int d = i <= t ? std::abs(i - u0) : std::abs(i - u1);
  return 1 / (1 + d / 255.0);
}
double fuzzyLiteral(const std::array<int64_t, 256>& h, int u0, int u1, int t, bool entropia) {
  double suma = 0;
  if (entropia) {
    for (int i = 0; i <= 254; ++i) {
      const double mu = membresiaLiteral(i, u0, u1, t);
      double s = 0;
      if (mu > 0 && mu < 1) s = -mu * std::log(mu) - (1 - mu) * std::log(1 - mu);
      suma = suma + static_cast<double>(h[static_cast<size_t>(i)]) * s;
    }
    return suma;
  }
  for (int i = 0; i <= 255; ++i) {
    const double mu = membresiaLiteral(i, u0, u1, t);
    const double v = (1 - mu) * mu;
    suma = suma + v * v;
  }
  return std::sqrt(suma);
}

// The four step lines of threshold t, E(t) from the oracle.
std::vector<std::string> bloque(const DatosImagen& imagen, int t, int u0, int u1, bool entropia) {
  const double n = static_cast<double>(imagen.alto) * static_cast<double>(imagen.ancho);
  const double e = fuzzyLiteral(imagen.histograma, u0, u1, t, entropia) / n;
  return {"uo: " + std::to_string(u0), "u1: " + std::to_string(u1),
          "Fuzzy(" + std::to_string(t) + "): " + textoDouble(e), ""};
}

struct CasoMedias {
  const char* nombre;
  std::vector<std::vector<int>> filas;
  int t, u0, u1;  // the first threshold evaluated and its rounded class means
};
void PrintTo(const CasoMedias& caso, std::ostream* os) { *os << caso.nombre; }

class FuzzyMedias : public ::testing::TestWithParam<CasoMedias> {};

TEST_P(FuzzyMedias, FirstStepBlockShowsRoundedMeans) {
  const CasoMedias& caso = GetParam();
  EntornoPrueba e(imagenDesdeFilas(caso.filas), "N");
  e.setTexto("metodoYG", "ENTROPY");
  bool paso = true;
  AlgoritmoFuzzy(e, paso);
  EXPECT_FALSE(paso);
  const std::vector<std::string>& lineas = e.traza().lineas();
  ASSERT_GE(lineas.size(), 7u);
  EXPECT_EQ(std::vector<std::string>(lineas.begin() + 3, lineas.begin() + 7),
            bloque(e.imagen(), caso.t, caso.u0, caso.u1, true));
  ASSERT_EQ(e.mensajes().size(), 1u);
  EXPECT_EQ(e.mensajes()[0].texto, lineas[3] + "\r" + lineas[4] + "\r" + lineas[5]);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FuzzyMedias,
    ::testing::Values(
        // Mean + 0.5 rounded half to even: 3.0 -> 4, 2.0 -> 2, 10.0 -> 10, 7.67 -> 8.
        CasoMedias{"DarkMeanThreeGoesUp", {{3, 3, 10, 10}}, 3, 4, 10},
        CasoMedias{"DarkMeanTwoStays", {{2, 2, 10, 10}}, 2, 2, 10},
        CasoMedias{"FractionalLightMean", {{2, 3, 10, 10}}, 2, 2, 8},
        // An empty level 1 is no candidate; the first one is the first occupied level.
        CasoMedias{"EmptyLevelsSkipped", {{0, 5, 5, 9}}, 5, 4, 10}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(AlgoritmoFuzzy, StepRunCancelledAtSecondPromptWritesNoCancelLine) {
  const DatosImagen imagen = imagenDesdeFilas({{10, 10, 20, 30, 30, 40}});
  EntornoPrueba recta(imagen);
  recta.setTexto("metodoYG", "ENTROPY");
  bool paso = false;
  EXPECT_EQ(AlgoritmoFuzzy(recta, paso), Fin::Publicado);
  // E is least at 10 and the spread of E is small: the interval is 10 alone.
  const std::vector<std::string> cola = {"intervalo para la busqueda del mejor: [10 - 10]", "",
                                         "Umbral encontrado: 10", "", "Fuzzy finalizado."};
  EXPECT_EQ(recta.traza().texto(), unir(mas(cabecera("ENTROPY"), cola)));
  EXPECT_EQ(recta.publicados, std::vector<int>{10});
  EXPECT_EQ(recta.lineasAlPublicar, std::vector<size_t>{8});

  EntornoPrueba e(imagen, "SN");
  e.setTexto("metodoYG", "ENTROPY");
  paso = true;
  EXPECT_EQ(AlgoritmoFuzzy(e, paso), Fin::Publicado);
  EXPECT_FALSE(paso);
  // Candidates 10 (means 10 | 30), 20 (14 | 34) and 30; the last is never shown.
  EXPECT_EQ(e.traza().texto(),
            unir(mas(mas(mas(cabecera("ENTROPY"), bloque(imagen, 10, 10, 30, true)),
                         bloque(imagen, 20, 14, 34, true)),
                     cola)));
  ASSERT_EQ(e.mensajes().size(), 2u);
  EXPECT_EQ(e.mensajes()[1].titulo, "Paso a paso");
  EXPECT_EQ(e.mensajes()[1].estilo, 4);
  EXPECT_EQ(e.publicados, std::vector<int>{10});
}

TEST(AlgoritmoFuzzy, IntervalStartsAtOne) {
  EntornoPrueba e(imagenDesdeFilas({{1, 255}}));
  e.setTexto("metodoYG", "FUZZY");
  bool paso = false;
  EXPECT_EQ(AlgoritmoFuzzy(e, paso), Fin::Publicado);
  // Only t = 1 qualifies; its Yager value over two pixels is above 1.5, so 1 - w < 0.5.
  // Levels 2..4 are empty: the valley at 3 beats 1 and 2.
  EXPECT_EQ(e.traza().texto(),
            unir(mas(cabecera("FUZZY"), {"intervalo para la busqueda del mejor: [1 - 3]", "",
                                         "Umbral encontrado: 3", "", "Fuzzy finalizado."})));
  EXPECT_EQ(e.publicados, std::vector<int>{3});
}

TEST(AlgoritmoFuzzy, IntervalEndsAt254) {
  EntornoPrueba e(imagenDesdeFilas({{0, 254, 255}}), "S");
  e.setTexto("metodoYG", "FUZZY");
  bool paso = true;
  EXPECT_EQ(AlgoritmoFuzzy(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(),
            unir(mas(mas(cabecera("FUZZY"), bloque(e.imagen(), 254, 128, 256, false)),
                     {"intervalo para la busqueda del mejor: [253 - 254]", "",
                      "Umbral encontrado: 253", "", "Fuzzy finalizado."})));
}

// Moments in 64 bits: 255 x 8,999,988 does not fit 32 bits.
TEST(AlgoritmoFuzzy, LargeCountsKeepTheirMeans) {
  DatosImagen imagen =
      prueba::imagenDeHistograma(3000, 3000, {{100, 2}, {200, 10}, {255, 8'999'988}});
  EntornoPrueba e(imagen, "SS");
  e.setTexto("metodoYG", "ENTROPY");
  bool paso = true;
  EXPECT_EQ(AlgoritmoFuzzy(e, paso), Fin::Publicado);
  const std::vector<std::string>& lineas = e.traza().lineas();
  ASSERT_GE(lineas.size(), 11u);
  EXPECT_EQ(lineas[3], "uo: 100");
  EXPECT_EQ(lineas[4], "u1: 255");  // 254.99993 + 0.5
  EXPECT_EQ(lineas[7], "uo: 184");  // (200 + 2000) / 12 + 0.5 = 183.83
  EXPECT_EQ(lineas[8], "u1: 256");  // 255.0 + 0.5 to even
}

struct CasoSinResultado {
  const char* nombre;
  DatosImagen imagen;
  std::vector<std::string> traza;
};
void PrintTo(const CasoSinResultado& caso, std::ostream* os) { *os << caso.nombre; }

class FuzzySinResultado : public ::testing::TestWithParam<CasoSinResultado> {};

TEST_P(FuzzySinResultado, EndsWithReasonAndPublishesNothing) {
  EntornoPrueba e(GetParam().imagen, "SSS");
  e.setTexto("metodoYG", "ENTROPY");
  bool paso = false;
  EXPECT_EQ(AlgoritmoFuzzy(e, paso), Fin::SinResultado);
  EXPECT_EQ(e.traza().texto(), unir(mas(cabecera("ENTROPY"), GetParam().traza)));
  EXPECT_TRUE(e.publicados.empty());
  EXPECT_TRUE(e.mensajes().empty());
}

const std::vector<std::string> kSinCandidato = {
    "Ningún nivel ocupado entre 1 y 254 deja pixels a ambos lados: no hay umbral que publicar.", "",
    "Fuzzy finalizado."};

// Every level from 50 to 150 holds a million pixels: no three-level sum is below 1,000,000.
DatosImagen valleLleno() {
  std::map<int, int64_t> cuentas;
  for (int nivel = 50; nivel <= 150; ++nivel) cuentas[nivel] = 1'000'000;
  return prueba::imagenDeHistograma(10'100, 10'000, cuentas);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FuzzySinResultado,
    ::testing::Values(
        CasoSinResultado{"SingleLevel", imagenUniforme(3, 2, 120), kSinCandidato},
        CasoSinResultado{"BlackAndWhiteOnly", imagenDesdeFilas({{0, 255}, {255, 0}}),
                         kSinCandidato},
        CasoSinResultado{"OnePixel", imagenDesdeFilas({{7}}), kSinCandidato},
        CasoSinResultado{
            "NoValleyBelowAMillion",
            valleLleno(),
            {"intervalo para la busqueda del mejor: [100 - 100]", "",
             "Ningún nivel del intervalo suma menos de 1000000 pixels con sus vecinos: no hay "
             "umbral que publicar.",
             "", "Fuzzy finalizado."}}),
    [](const auto& p) { return std::string(p.param.nombre); });

// A context whose measure text is changed by the user while the first step prompt is open.
class EntornoCambiaMedida : public EntornoPrueba {
 public:
  EntornoCambiaMedida(DatosImagen imagen, std::string respuestas)
      : EntornoPrueba(std::move(imagen), std::move(respuestas)), cajas_(*this) {}
  Dialogos& dialogos() override { return cajas_; }

 private:
  class Cajas : public Dialogos {
   public:
    explicit Cajas(EntornoCambiaMedida& e) : e_(e) {}
    int preguntar(const std::string& titulo, const std::string& texto) override {
      const int respuesta = e_.EntornoPrueba::dialogos().preguntar(titulo, texto);
      e_.setTexto("metodoYG", "FUZZY");
      return respuesta;
    }
    int informar(const std::string& titulo, const std::string& texto, int estilo) override {
      return e_.EntornoPrueba::dialogos().informar(titulo, texto, estilo);
    }

   private:
    EntornoCambiaMedida& e_;
  };
  Cajas cajas_;
};

// The measure is read afresh for every threshold; the header keeps the text of the start.
TEST(AlgoritmoFuzzy, MeasureChangedDuringARunAppliesFromTheNextThreshold) {
  const DatosImagen imagen = imagenDesdeFilas({{10, 10, 20, 30, 30, 40}});
  EntornoCambiaMedida e(imagen, "SSS");
  e.setTexto("metodoYG", "ENTROPY");
  bool paso = true;
  EXPECT_EQ(AlgoritmoFuzzy(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(),
            unir(mas(mas(mas(mas(cabecera("ENTROPY"), bloque(imagen, 10, 10, 30, true)),
                             bloque(imagen, 20, 14, 34, false)),
                         bloque(imagen, 30, 20, 40, false)),
                     {"intervalo para la busqueda del mejor: [10 - 10]", "",
                      "Umbral encontrado: 10", "", "Fuzzy finalizado."})));
}

// Any text but exactly "ENTROPY" selects the Yager-type measure.
TEST(fuzzy, OtherTextsSelectYager) {
  EntornoPrueba e(imagenAleatoria(9, 7, 5u));
  for (const char* texto : {"FUZZY", "entropy", "", "ENTROPY "}) {
    e.setTexto("metodoYG", texto);
    EXPECT_EQ(fuzzy(e, 40, 200, 120), Yager(40, 200, 120)) << texto;
  }
  e.setTexto("metodoYG", "ENTROPY");
  EXPECT_NE(fuzzy(e, 40, 200, 120), Yager(40, 200, 120));
}

// The tabulated terms give every sum bit for bit as the level-by-level evaluation.
TEST(fuzzy, SameNumbersAsLevelByLevel) {
  std::mt19937 azar(7);
  std::uniform_int_distribution<int> nivel(0, 255);
  for (int imagenes = 0; imagenes < 4; ++imagenes) {
    DatosImagen imagen = imagenAleatoria(23 + imagenes, 19, static_cast<unsigned>(imagenes));
    imagen.histograma[static_cast<size_t>(nivel(azar))] += 123'456'789;
    EntornoPrueba e(imagen);
    for (int k = 0; k < 300; ++k) {
      const int t = nivel(azar), u0 = nivel(azar), u1 = nivel(azar);
      e.setTexto("metodoYG", "ENTROPY");
      EXPECT_EQ(fuzzy(e, u0, u1, t), fuzzyLiteral(e.imagen().histograma, u0, u1, t, true));
      e.setTexto("metodoYG", "FUZZY");
      EXPECT_EQ(fuzzy(e, u0, u1, t), fuzzyLiteral(e.imagen().histograma, u0, u1, t, false));
    }
  }
}

TEST(Shannon, ZeroOutsideTheOpenInterval) {
  EXPECT_EQ(Shannon(1.0), 0.0);
  EXPECT_EQ(Shannon(0.0), 0.0);
  EXPECT_EQ(Shannon(-0.5), 0.0);
  EXPECT_DOUBLE_EQ(Shannon(0.5), std::log(2.0));
  EXPECT_EQ(Ux(7, 7, 0, 10), 1.0);
  EXPECT_EQ(Ux(200, 0, 200, 10), 1.0);
  EXPECT_EQ(Ux(255, 0, 0, 255), 0.5);
}

}  // namespace
}  // namespace velarno
