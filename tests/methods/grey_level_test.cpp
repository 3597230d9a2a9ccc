#include "methods/grey_level.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/transformaciones.h"
#include "methods/entorno_simple.h"
#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::mas;
using prueba::unir;

std::vector<std::string> cabecera(const std::string& n, const std::string& varianza,
                                  const std::string& media) {
  return {"Iniciando Algoritmo Grey-Level",
          "==============================",
          "",
          "Número de punto: " + n,
          "",
          "Marianza global: " + varianza,
          "Media global: " + media,
          ""};
}

const std::vector<std::string> kCierre200 = {"Umbral encontrado: 200", "", "Algoritmo finalizado."};

// A picture of levels 50 and 200 in the given numbers (one row).
DatosImagen cincuentaDoscientos(int cincuenta, int doscientos) {
  std::vector<int> fila(static_cast<size_t>(cincuenta), 50);
  fila.insert(fila.end(), static_cast<size_t>(doscientos), 200);
  return imagenDesdeFilas({fila});
}

// Level g on the whole picture except its last pixel, which has level `otro`.
DatosImagen casiUniforme(int32_t lado, int g, int otro) {
  DatosImagen imagen = imagenUniforme(lado, lado, g);
  imagen.pixeles.setGris(lado - 1, lado - 1, static_cast<uint8_t>(otro));
  --imagen.histograma[static_cast<size_t>(g)];
  ++imagen.histograma[static_cast<size_t>(otro)];
  return imagen;
}

struct CasoGreyLevel {
  const char* nombre;
  DatosImagen imagen;
  int umbral;
};

void PrintTo(const CasoGreyLevel& caso, std::ostream* os) { *os << caso.nombre; }

class GreyLevelUmbral : public ::testing::TestWithParam<CasoGreyLevel> {};

// The threshold is published and binarizes exactly the dark class.
TEST_P(GreyLevelUmbral, PublishesIndexOfBestSplit) {
  CasoGreyLevel caso = GetParam();
  EntornoSimple e(caso.imagen);
  bool paso = false;
  EXPECT_EQ(AlgoritmoGreyLevel(e, paso), Fin::Publicado);
  EXPECT_EQ(e.umbralPublicado(), caso.umbral);
  EXPECT_EQ(e.traza().lineas().size(), 11u);
  EXPECT_TRUE(e.dialogos().mensajes().empty());
  int64_t negros = 0;
  int64_t oscuros = 0;
  for (size_t i = 0; i < caso.imagen.pixeles.cantidad(); ++i) {
    negros += caso.imagen.pixeles.planoNegro()[i];
    oscuros += caso.imagen.pixeles.planoGris()[i] < caso.umbral;
  }
  EXPECT_EQ(negros, oscuros);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, GreyLevelUmbral,
    ::testing::Values(
        // Every index from 51 to 200 ties; the later one wins.
        CasoGreyLevel{"FiftyAndTwoHundred", cincuentaDoscientos(2, 2), 200},
        CasoGreyLevel{"FiftyAndTwoHundredUneven", cincuentaDoscientos(7, 1), 200},
        CasoGreyLevel{"FiftyAndWhite", imagenDesdeFilas({{50, 255, 255}}), 255},
        CasoGreyLevel{"BlackAndWhite", imagenDesdeFilas({{0, 255}}), 255},
        CasoGreyLevel{"NeighbourLevels", imagenDesdeFilas({{7, 8, 8}}), 8},
        // More pixels of one level than 16-bit counts hold.
        CasoGreyLevel{"FortyThousandOfOneLevel", casiUniforme(200, 90, 10), 90}),
    [](const auto& p) { return std::string(p.param.nombre); });

TEST(AlgoritmoGreyLevel, StraightRunWritesElevenLines) {
  DatosImagen imagen = cincuentaDoscientos(2, 2);
  EntornoSimple e(imagen);
  e.setSeparadorDecimal(',');
  bool paso = false;
  AlgoritmoGreyLevel(e, paso);
  EXPECT_EQ(e.traza().texto(), unir(mas(cabecera("4", "5625", "126"), kCierre200)));
}

TEST(AlgoritmoGreyLevel, DoublesUseLocaleSeparator) {
  DatosImagen imagen = imagenDesdeFilas({{0, 1}});
  EntornoSimple e(imagen);
  e.setSeparadorDecimal(',');
  bool paso = false;
  AlgoritmoGreyLevel(e, paso);
  EXPECT_EQ(e.traza().texto(), unir(mas(cabecera("2", "0,25", "1,5"),
                                        {"Umbral encontrado: 1", "", "Algoritmo finalizado."})));
}

// Step mode on 50/200: the variance box, then one prompt for each index from 51 to 200,
// since every tie counts as a new maximum.
TEST(AlgoritmoGreyLevel, StepModePromptsAtEveryTie) {
  DatosImagen imagen = cincuentaDoscientos(2, 2);
  EntornoSimple e(imagen, std::string(200, 'S'));
  bool paso = true;
  EXPECT_EQ(AlgoritmoGreyLevel(e, paso), Fin::Publicado);
  const std::vector<Mensaje>& m = e.dialogos().mensajes();
  ASSERT_EQ(m.size(), 1 + 150u);
  EXPECT_EQ(m[0].titulo, "Velarno");
  EXPECT_EQ(m[0].estilo, kEstiloSimple);
  EXPECT_EQ(m[0].texto, "Varianza total: 5625");
  EXPECT_EQ(m[1].titulo, "Paso a paso");
  EXPECT_EQ(m[1].estilo, kEstiloSiNo);
  EXPECT_EQ(m[1].texto, "Estimación del nuevo umbral: 1\rNuevo umbral: 51\r\r¿Seguir paso a paso?");
  EXPECT_EQ(m[150].texto,
            "Estimación del nuevo umbral: 1\rNuevo umbral: 200\r\r¿Seguir paso a paso?");
  EXPECT_EQ(e.traza().lineas().size(), 8 + 3 + 3 * 150 + 3u);
  EXPECT_TRUE(paso);
  EXPECT_EQ(e.umbralPublicado(), 200);
}

TEST(AlgoritmoGreyLevel, NoAtThirdPromptCancelsOnce) {
  DatosImagen imagen = cincuentaDoscientos(2, 2);
  EntornoSimple e(imagen, "SSN");
  bool paso = true;
  EXPECT_EQ(AlgoritmoGreyLevel(e, paso), Fin::Publicado);
  EXPECT_EQ(e.traza().texto(),
            unir(mas(mas(cabecera("4", "5625", "126"),
                         {"Estimación del nuevo umbral: -1", "Umbral: -1", "",
                          "Estimación del nuevo umbral: 1", "Nuevo umbral: 51", "",
                          "Estimación del nuevo umbral: 1", "Nuevo umbral: 52", "",
                          "Estimación del nuevo umbral: 1", "Nuevo umbral: 53", "",
                          "Paso a paso cancelado", ""}),
                     kCierre200)));
  EXPECT_EQ(e.dialogos().mensajes().size(), 1 + 3u);
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.umbralPublicado(), 200);
}

// One grey level leaves no variance to divide by: the run says why, closes, and publishes
// nothing. 40,000 pixels share the level.
TEST(AlgoritmoGreyLevel, SingleLevelEndsWithoutResult) {
  for (bool pasoInicial : {false, true}) {
    DatosImagen imagen = imagenUniforme(200, 200, 100);
    EntornoSimple e(imagen, "SSS", 77);
    bool paso = pasoInicial;
    EXPECT_EQ(AlgoritmoGreyLevel(e, paso), Fin::SinResultado);
    EXPECT_EQ(e.traza().texto(),
              unir(mas(cabecera("40000", "0", "101"),
                       {"La imagen tiene un solo nivel de gris: no hay umbral que separe dos "
                        "clases.",
                        "", "Algoritmo finalizado."})));
    EXPECT_EQ(e.umbralPublicado(), std::nullopt);
    EXPECT_EQ(e.umbral(), 77);
    // Step mode shows only the variance box.
    EXPECT_EQ(e.dialogos().mensajes().size(), pasoInicial ? 1u : 0u);
  }
}

// The method counts the pixels itself; a stale record histogram changes nothing.
TEST(AlgoritmoGreyLevel, IgnoresRecordHistogram) {
  DatosImagen imagen = cincuentaDoscientos(3, 5);
  imagen.histograma.fill(0);
  imagen.histograma[0] = 1000;
  EntornoSimple e(imagen);
  bool paso = false;
  AlgoritmoGreyLevel(e, paso);
  EXPECT_EQ(e.umbralPublicado(), 200);
}

TEST(Nu, ZeroWhereAClassIsEmpty) {
  ProbabilidadesIndice p{};
  p[51] = 0.25;
  p[201] = 0.75;
  const double media = u(p, 256);
  EXPECT_EQ(w(p, 0), 0.0);
  EXPECT_EQ(w(p, -3), 0.0);
  EXPECT_EQ(w(p, 201), 1.0);
  EXPECT_EQ(media, 51 * 0.25 + 201 * 0.75);
  EXPECT_EQ(nu(p, 50, media, 1.0), 0.0);   // ω = 0
  EXPECT_EQ(nu(p, 201, media, 1.0), 0.0);  // ω = 1
  EXPECT_EQ(nu(p, 260, media, 1.0), 0.0);
  EXPECT_GT(nu(p, 51, media, 1.0), 0.0);
}

// The last populated index is never chosen when two or more levels are present.
TEST(AlgoritmoGreyLevel, NeverChoosesLastLevelOnRandomPictures) {
  for (unsigned semilla = 1; semilla <= 20; ++semilla) {
    DatosImagen imagen = imagenAleatoria(31, 17, semilla, static_cast<int>(semilla), 200);
    int ultimo = 0;
    for (int g = 0; g < 256; ++g)
      if (imagen.histograma[static_cast<size_t>(g)] > 0) ultimo = g;
    EntornoSimple e(imagen);
    bool paso = false;
    ASSERT_EQ(AlgoritmoGreyLevel(e, paso), Fin::Publicado);
    EXPECT_GT(*e.umbralPublicado(), static_cast<int>(semilla));
    EXPECT_LE(*e.umbralPublicado(), ultimo);
  }
}

// The level count read eight bytes at a time agrees with a plain count, tails included.
TEST(RecuentoNiveles, SameAsPlainCount) {
  for (int32_t ancho = 1; ancho <= 19; ++ancho) {
    DatosImagen imagen = imagenAleatoria(ancho, 3, static_cast<unsigned>(ancho));
    const auto recuento = recuentoNiveles(imagen.pixeles);
    for (int g = 0; g < 256; ++g)
      EXPECT_EQ(recuento[static_cast<size_t>(g)], imagen.histograma[static_cast<size_t>(g)]);
  }
}

}  // namespace
}  // namespace velarno
