#include "methods/fuzzy.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "methods/numeros.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

std::string cabecera(const std::string& medida) {
  return "Iniciando Algoritmo Fuzzy (" + medida + ")\n=======================================\n\n";
}

std::string cola(int inferior, int superior, int umbral) {
  return "intervalo para la busqueda del mejor: [" + std::to_string(inferior) + " - " +
         std::to_string(superior) + "]\n\nUmbral encontrado: " + std::to_string(umbral) +
         "\n\nFuzzy finalizado.\n";
}

// The measures evaluated level by level straight from their definitions: the oracle for the
// tabulated terms.
double fuzzyLiteral(const std::array<int64_t, 256>& h, int u0, int u1, int t, bool entropia) {
  double suma = 0;
  for (int i = 0; i <= (entropia ? 254 : 255); ++i) {
    const int d = i <= t ? std::abs(i - u0) : std::abs(i - u1);
    const double mu = 1 / (1 + d / 255.0);
    if (!entropia) {
      suma = suma + ((1 - mu) * mu) * ((1 - mu) * mu);
    } else if (mu > 0 && mu < 1) {
      suma = suma + static_cast<double>(h[i]) * (-mu * std::log(mu) - (1 - mu) * std::log(1 - mu));
    }
  }
  return entropia ? suma : std::sqrt(suma);
}

// The four step lines of threshold t, E(t) from the oracle.
std::string bloque(const DatosImagen& imagen, int t, int u0, int u1, bool entropia) {
  const double n = static_cast<double>(imagen.alto) * static_cast<double>(imagen.ancho);
  const double e = fuzzyLiteral(imagen.histograma, u0, u1, t, entropia) / n;
  return "uo: " + std::to_string(u0) + "\nu1: " + std::to_string(u1) + "\nFuzzy(" +
         std::to_string(t) + "): " + textoDouble(e) + "\n\n";
}

DatosImagen seisPixeles() { return imagenDesdeFilas({{10, 10, 20, 30, 30, 40}}); }

// E is least at 10 of six pixels, with a small spread: the interval is 10 alone. Of 1 and 255
// only t = 1 qualifies; its Yager value over two pixels is above 1.5, so 1 - w < 0.5; levels
// 2..4 are empty: the valley at 3 beats 1 and 2. The interval ends at 254. One level leaves no
// candidate. Levels 50 to 150 evenly filled: the interval is one middle level, whose three-level
// sum must be below 1,000,000 (999,999 is, 3,000,000 is not).
TEST(AlgoritmoFuzzy, WholeStraightTrace) {
  std::map<int, int64_t> lleno, casi;
  for (int nivel = 50; nivel <= 150; ++nivel) {
    lleno[nivel] = 1'000'000;
    casi[nivel] = 333'333;
  }
  const std::string sinResultado = " no hay umbral que publicar.\n\nFuzzy finalizado.\n";
  std::tuple<DatosImagen, const char*, std::string> casos[] = {
      {seisPixeles(), "ENTROPY", cola(10, 10, 10)},
      {imagenDesdeFilas({{1, 255}}), "FUZZY", cola(1, 3, 3)},
      {imagenDesdeFilas({{0, 254, 255}}), "FUZZY", cola(253, 254, 253)},
      {imagenUniforme(2, 1, 120), "FUZZY",
       "Ningún nivel ocupado entre 1 y 254 deja pixels a ambos lados:" + sinResultado},
      {imagenDeHistograma(303, 111'111, casi), "ENTROPY", cola(98, 98, 98)},
      {imagenDeHistograma(10'100, 10'000, lleno), "ENTROPY",
       "intervalo para la busqueda del mejor: [100 - 100]\n\nNingún nivel del intervalo suma "
       "menos de 1000000 pixels con sus vecinos:" +
           sinResultado}};
  for (auto& [imagen, medida, traza] : casos) {
    EntornoSimple e(imagen);
    e.setTexto("metodoYG", medida);
    bool paso = false;
    AlgoritmoFuzzy(e, paso);
    EXPECT_EQ(e.traza().texto(), cabecera(medida) + traza);
    EXPECT_EQ(e.publicaciones(), traza.find(sinResultado) == std::string::npos ? 1 : 0);
  }
}

// Candidates 10 (class means 10 | 30, halves rounded to even), 20 (13.3 | 33.3, rounded up
// after adding 0.5) and 30; the empty levels between and the last level are none. A block and
// a prompt per candidate; No stops the prompts and writes nothing. The measure is read afresh
// for every threshold (the user may change it while a prompt is open); the header keeps the
// text of the start.
TEST(AlgoritmoFuzzy, StepRunReadsTheMeasureAtEveryThreshold) {
  class EntornoCambiaMedida : public EntornoSimple {
   public:
    using EntornoSimple::EntornoSimple;
    DialogosGuion& dialogos() override {
      setTexto("metodoYG", "FUZZY");
      return EntornoSimple::dialogos();
    }
  };
  DatosImagen imagen = seisPixeles();
  EntornoCambiaMedida e(imagen, "SN");
  e.setTexto("metodoYG", "ENTROPY");
  bool paso = true;
  EXPECT_EQ(AlgoritmoFuzzy(e, paso), Fin::Publicado);
  EXPECT_FALSE(paso);
  const std::string b10 = bloque(imagen, 10, 10, 30, true);
  const std::string b20 = bloque(imagen, 20, 14, 34, false);
  EXPECT_EQ(e.traza().texto(), cabecera("ENTROPY") + b10 + b20 + cola(10, 10, 10));
  // A prompt shows its block's first three lines.
  const auto pregunta = [](const std::string& b, const char* respuesta, int lineas) {
    std::string texto = "Paso a paso|4|" + std::string(respuesta) + "|" + std::to_string(lineas);
    for (char c : "|" + b.substr(0, b.size() - 2)) texto += c == '\n' ? "\\r" : std::string(1, c);
    return texto + "\n";
  };
  EXPECT_EQ(prueba::textoMensajes(e), pregunta(b10, "6", 7) + pregunta(b20, "7", 11));
  EXPECT_EQ(e.lineasAlPublicar(), 16u);
}

// Moments in 64 bits: 255 x 8,999,988 does not fit 32 bits.
TEST(AlgoritmoFuzzy, LargeCountsKeepTheirMeans) {
  DatosImagen imagen = imagenDeHistograma(3000, 3000, {{100, 2}, {200, 10}, {255, 8'999'988}});
  EntornoSimple e(imagen, "SS");
  e.setTexto("metodoYG", "ENTROPY");
  bool paso = true;
  EXPECT_EQ(AlgoritmoFuzzy(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().lineas().at(4), "u1: 255");  // 254.99993 + 0.5
  EXPECT_EQ(e.traza().lineas().at(7), "uo: 184");  // (200 + 2000) / 12 + 0.5 = 183.83
  EXPECT_EQ(e.traza().lineas().at(8), "u1: 256");  // 255.0 + 0.5 to even
}

// Any text but exactly "ENTROPY" selects the Yager-type measure; the tabulated terms give
// every sum bit for bit as the level-by-level evaluation.
TEST(fuzzy, SameNumbersAsLevelByLevel) {
  std::mt19937 azar(7);
  std::uniform_int_distribution<int> nivel(0, 255);
  for (int imagenes = 0; imagenes < 4; ++imagenes) {
    DatosImagen imagen = imagenAleatoria(23 + imagenes, 19, static_cast<unsigned>(imagenes));
    imagen.histograma[static_cast<size_t>(nivel(azar))] += 123'456'789;
    EntornoSimple e(imagen);
    for (int k = 0; k < 300; ++k) {
      const int t = nivel(azar), u0 = nivel(azar), u1 = nivel(azar);
      const bool entropia = k % 2 == 0;
      e.setTexto("metodoYG", entropia ? "ENTROPY" : k % 3 ? "entropy" : "ENTROPY ");
      EXPECT_EQ(fuzzy(e, u0, u1, t), fuzzyLiteral(imagen.histograma, u0, u1, t, entropia));
    }
  }
}

}  // namespace
}  // namespace velarno
