#include "methods/grey_level.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "methods/numeros.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::textoMensajes;

std::string cabecera(const std::string& n, const std::string& varianza, const std::string& media) {
  return "Iniciando Algoritmo Grey-Level\n==============================\n\nNúmero de punto: " + n +
         "\n\nMarianza global: " + varianza + "\nMedia global: " + media + "\n\n";
}

std::string cierre(int umbral) {
  return "Umbral encontrado: " + std::to_string(umbral) + "\n\nAlgoritmo finalizado.\n";
}

// Otsu read literally on random pictures of every width up to 19: fractions of the pixel count,
// then for every index from the first to the last occupied one the between-class variance over
// the total one, a later index winning a tie (as every empty level between occupied ones does).
// The method counts the pixels itself, so the record's histogram is emptied first.
TEST(AlgoritmoGreyLevel, StraightRunMatchesLiteralReading) {
  for (int32_t ancho = 1; ancho <= 19; ++ancho) {
    DatosImagen imagen = imagenAleatoria(ancho, 3, static_cast<unsigned>(ancho), ancho, 200);
    std::vector<double> p(257, 0.0);  // counts first, then their fractions
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < ancho; ++x) ++p[imagen.pixeles.gris(x, y) + 1];
    imagen.histograma.fill(0);
    int primero = 0, ultimo = 0;
    for (int i = 1; i <= 256; ++i) {
      if (p[i] > 0 && primero == 0) primero = i;
      if (p[i] > 0) ultimo = i;
      p[i] /= 3 * ancho;
    }
    double media = 0, varianza = 0;
    for (int i = 1; i <= 256; ++i) media += i * p[i];
    for (int i = 1; i <= 256; ++i) varianza += (i - media) * (i - media) * p[i];
    double mejor = -1, omega = 0, mu = 0;
    int umbral = -1;
    for (int k = 1; k <= ultimo; ++k) {
      omega += p[k];
      mu += k * p[k];
      const double b = omega * (1 - omega);
      const double eta = b <= 0 ? 0 : (omega * media - mu) * (omega * media - mu) / b / varianza;
      if (eta >= mejor && k >= primero) {
        mejor = eta;
        umbral = k;
      }
    }
    const char sep = ancho % 2 ? ',' : '.';
    EntornoSimple e(imagen);
    e.setSeparadorDecimal(sep);
    bool paso = false;
    EXPECT_EQ(AlgoritmoGreyLevel(e, paso), Fin::Publicado);
    EXPECT_EQ(e.traza().texto(), cabecera(std::to_string(3 * ancho), textoDouble(varianza, sep),
                                          textoDouble(media, sep)) +
                                     cierre(umbral))
        << ancho;
    EXPECT_EQ(e.umbralPublicado(), umbral);
    EXPECT_TRUE(e.dialogos().mensajes().empty());
  }
}

// The variance box, then a prompt at every new or equal maximum (indexes 51 to 200 tie); No
// writes the cancel lines once and the run goes on silently.
TEST(AlgoritmoGreyLevel, NoAtThirdPromptCancelsOnce) {
  DatosImagen imagen = imagenDesdeFilas({{50, 50, 200, 200}});
  EntornoSimple e(imagen, "SSN");
  bool paso = true;
  EXPECT_EQ(AlgoritmoGreyLevel(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(), cabecera("4", "5625", "126") +
                                   "Estimación del nuevo umbral: -1\nUmbral: -1\n\n"
                                   "Estimación del nuevo umbral: 1\nNuevo umbral: 51\n\n"
                                   "Estimación del nuevo umbral: 1\nNuevo umbral: 52\n\n"
                                   "Estimación del nuevo umbral: 1\nNuevo umbral: 53\n\n"
                                   "Paso a paso cancelado\n\n" +
                                   cierre(200));
  const auto pregunta = [](const char* respuesta, int lineas, int k) {
    return "Paso a paso|4|" + std::string(respuesta) + "|" + std::to_string(lineas) +
           "|Estimación del nuevo umbral: 1\\rNuevo umbral: " + std::to_string(k) +
           "\\r\\r¿Seguir paso a paso?\n";
  };
  EXPECT_EQ(textoMensajes(e), "Velarno|0|1|8|Varianza total: 5625\n" + pregunta("6", 14, 51) +
                                  pregunta("6", 17, 52) + pregunta("7", 20, 53));
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.umbralPublicado(), 200);
}

// One grey level leaves no variance to divide by: the run says why, closes, and publishes
// nothing; step mode shows only the variance box.
TEST(AlgoritmoGreyLevel, SingleLevelEndsWithoutResult) {
  DatosImagen imagen = imagenUniforme(3, 2, 100);
  EntornoSimple e(imagen, "SSS");
  bool paso = true;
  EXPECT_EQ(AlgoritmoGreyLevel(e, paso), Fin::SinResultado);
  EXPECT_EQ(e.traza().texto(), cabecera("6", "0", "101") +
                                   "La imagen tiene un solo nivel de gris: no hay umbral que "
                                   "separe dos clases.\n\nAlgoritmo finalizado.\n");
  EXPECT_EQ(textoMensajes(e), "Velarno|0|1|8|Varianza total: 0\n");
  EXPECT_EQ(e.publicaciones(), 0);
}

// Where a class is empty the criterion is 0, not 0 / 0.
TEST(Nu, ZeroWhereAClassIsEmpty) {
  ProbabilidadesIndice p{};
  p[51] = 0.25;
  p[201] = 0.75;
  EXPECT_EQ(nu(p, 50, u(p, 256), 1.0), 0.0);
  EXPECT_EQ(nu(p, 201, u(p, 256), 1.0), 0.0);
}

}  // namespace
}  // namespace velarno
