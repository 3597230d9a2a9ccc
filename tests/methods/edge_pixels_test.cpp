#include "methods/edge_pixels.h"

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/entorno_prueba.h"
#include "support/imagen_prueba.h"

namespace velarno {
namespace {

using prueba::textoMensajes;

const char kCabecera[] =
    "Iniciando algoritmo Using Edge Piexls\n=====================================\n\n";
const char kCierre[] = "Algoritmo Using Edge Piexls Finalizado.\n";

// The percentage and the mask texts of a run, the Laplacian unless given.
void preparar(EntornoSimple& e, const std::string& pct, std::vector<std::string> mascara = {}) {
  if (mascara.empty()) mascara = {"0", "1", "0", "1", "-4", "1", "0", "1", "0"};
  for (size_t k = 0; k < mascara.size(); ++k)
    e.setTexto("Mask(" + std::to_string(k) + ")", mascara[k]);
  e.setTexto("PCTeDp", pct);
}

std::string traza(int nivel, int umbral, const std::string& pasos = "") {
  return kCabecera + pasos + "valor de gris que contiene el porcentaje: " + std::to_string(nivel) +
         "\nUmbral encontrado: " + std::to_string(umbral) + "\n" + kCierre;
}

// The edge histogram read literally: an edge matrix one column and row larger than the picture
// (border pixels 0), then the count and the grey sum of every value, those above 5000 in the
// last entry. The oracle for the fused pass.
HistogramaBordes literal(const DatosImagen& imagen, const Mascara& m) {
  const int32_t ancho = imagen.ancho, alto = imagen.alto;
  std::vector<std::vector<double>> bordes(ancho + 1, std::vector<double>(alto + 1, 0));
  for (int32_t x = 1; x <= ancho - 2; ++x)
    for (int32_t y = 1; y <= alto - 2; ++y) bordes[x][y] = Xpix_lap(imagen.pixeles, m, x, y);
  HistogramaBordes h;
  for (int32_t x = 0; x < ancho; ++x)
    for (int32_t y = 0; y < alto; ++y) {
      const size_t entrada = bordes[x][y] > 5000 ? 5000 : static_cast<size_t>(bordes[x][y]);
      ++h.cuentas[entrada];
      h.sumasGris[entrada] += imagen.pixeles.gris(x, y);
    }
  return h;
}

// Whole masks within and beyond the integer path, fractional ones, values past 5000; pictures
// of every shape up to 3 wide or tall.
TEST(Xfhist, FusedPassEqualsLiteralReading) {
  const std::vector<std::pair<const char*, Mascara>> mascaras = {
      {"laplacian", {0, 1, 0, 1, -4, 1, 0, 1, 0}},
      {"oneToNine", {1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"negatedSharpen", {-1, -1, -1, -1, 9, -1, -1, -1, -1}},
      {"fractional", {0.5, -0.25, 0.1, 1.0 / 3, -2.5, 0.75, 0, 1.5, -0.125}},
      {"halves", {0.5, 0.5, 0.5, 0.5, -3.5, 0.5, 0.5, 0.5, 0.5}},
      {"largeWhole", {0, 0, 0, 0, 100, 0, 0, 0, -3}},
      {"limitOfIntegers", {0, 0, 0, 0, 8'000'000, 0, 0, 0, -400'000}},
      {"beyondIntegers", {0, 9'000'000, 0, 0, 9'000'000, 0, 0, -17'999'999, 0}},
      {"hugeFractional", {0, 1e12, 0, 0, -1e12 + 0.5, 0, 0, 0, 0}}};
  std::vector<std::pair<std::string, DatosImagen>> imagenes = {
      {"random", imagenAleatoria(37, 23, 3u)},
      {"randomDark", imagenAleatoria(19, 31, 4u, 0, 20)},
      {"gradient", degradado(33, 17, 3, 11)}};
  for (int32_t lado = 1; lado <= 3; ++lado) {
    imagenes.emplace_back("wide" + std::to_string(lado), imagenAleatoria(lado, 17, 9u));
    imagenes.emplace_back("tall" + std::to_string(lado), imagenAleatoria(21, lado, 8u));
  }
  for (const auto& [nombreMascara, mascara] : mascaras)
    for (const auto& [nombreImagen, imagen] : imagenes) {
      const HistogramaBordes h = Xfhist(imagen.pixeles, mascara), l = literal(imagen, mascara);
      EXPECT_EQ(h.cuentas, l.cuentas) << nombreMascara << " on " << nombreImagen;
      EXPECT_EQ(h.sumasGris, l.sumasGris) << nombreMascara << " on " << nombreImagen;
    }
}

// With the weights typed 1..9 in rows, Mask(1) weights the pixel left of (x, y) and Mask(3)
// the one above it: 1*1 + 2*4 + 3*7 + 4*2 + 5*5 + 6*8 + 7*3 + 8*6 + 9*9. Rounded half to even;
// negatives are 0.
TEST(Xpix_lap, MaskIsAppliedTransposedAndRounded) {
  const DatosImagen imagen = imagenDesdeFilas({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  EXPECT_EQ(Xpix_lap(imagen.pixeles, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 1, 1), 261.0);
  EXPECT_EQ(Xpix_lap(imagen.pixeles, {0, 0, 0, 0, 0.5, 0, 0, 0, 0}, 1, 1), 2.0);
  EXPECT_EQ(Xpix_lap(imagen.pixeles, {0, 0, 0, 0, 0.7, 0, 0, 0, 0}, 1, 1), 4.0);
  EXPECT_EQ(Xpix_lap(imagen.pixeles, {0, 0, 0, 0, -1, 0, 0, 0, 0}, 1, 1), 0.0);
}

TEST(Xhi_pct, TargetRoundedHalfToEvenAndUnreachable) {
  std::vector<int64_t> cuentas(kValoresBorde, 0);
  cuentas[0] = 2;
  cuentas[3] = 1;
  cuentas[7] = 1;
  EXPECT_EQ(Xhi_pct(cuentas, kNivelesBusqueda, 4, 62.5), 0);  // 2.5 -> 2
  EXPECT_EQ(Xhi_pct(cuentas, kNivelesBusqueda, 4, 87.5), 7);  // 3.5 -> 4
  EXPECT_EQ(Xhi_pct(cuentas, kNivelesBusqueda, 4, 1e300), kNivelesBusqueda);
  EXPECT_EQ(Xhi_pct(cuentas, kNivelesBusqueda, 4, -1e300), 0);
}

DatosImagen centroOscuro() { return imagenDesdeFilas({{50, 50, 50}, {50, 10, 50}, {50, 50, 50}}); }

// The centre's edge value is 4 x 50 - 4 x 10 = 160: the target 8.955 (',') rounds to 9; 8 is
// reached by the eight pixels at 0 (mean 410 / 9). Means rounded half to even. Weights of
// opposite signs never add up: 5e305 x 50 - 5e305 x 50 - 4 x 10 + 50 + 50 = 60. Edge values
// far above 5000 share the last entry and still count. The 100 % target counts every pixel
// exactly where width x height has no exact Single (4097 x 4097 = 16,785,409, not 16,785,408).
// A level no pixel reaches (past 2047) shows "Histograma erroneo" and publishes nothing.
TEST(AlgoritmoUsingEdgePixels, WholeStraightTraceThenPublication) {
  DatosImagen grande = imagenUniforme(4097, 4097, 50);
  grande.pixeles.setGris(2048, 2048, 10);
  const std::vector<std::string> opuestos = {"0", "5e305", "0", "-5e305", "-4", "1", "0", "1", "0"};
  const std::vector<std::string> centro = {"0", "0", "0", "0", "100", "0", "0", "0", "0"};
  std::tuple<DatosImagen, const char*, std::vector<std::string>, int, int> casos[] = {
      {centroOscuro(), "99,5", {}, 160, 10},
      {centroOscuro(), "85", {}, 0, 46},
      {imagenDesdeFilas({{1, 2}}), "85", {}, 0, 2},
      {imagenDesdeFilas({{2, 3}}), "85", {}, 0, 2},
      {centroOscuro(), "100", opuestos, 60, 10},
      {imagenDesdeFilas({{0, 0, 0, 0}, {0, 60, 70, 0}, {0, 80, 90, 0}, {0, 0, 0, 0}}), "150",
       centro, 2048, 75},
      {std::move(grande), "100", {}, 160, 10},
      {centroOscuro(), "150", {}, 2048, -1}};
  for (auto& [imagen, pct, mascara, nivel, umbral] : casos) {
    EntornoSimple e(imagen);
    preparar(e, pct, mascara);
    e.setSeparadorDecimal(pct == std::string("99,5") ? ',' : '.');
    bool paso = false;
    const Fin fin = AlgoritmoUsingEdgePixels(e, paso);
    if (umbral < 0) {  // no pixel reaches the level
      EXPECT_EQ(fin, Fin::SinResultado);
      EXPECT_EQ(e.traza().texto(),
                kCabecera +
                    std::string("valor de gris que contiene el porcentaje: 2048\n"
                                "Ningún pixel alcanza el valor 2048: no hay "
                                "pixels de borde que promediar.\n") +
                    kCierre);
      EXPECT_EQ(textoMensajes(e), "Velarno|0|1|4|Histograma erroneo\n");
      EXPECT_EQ(e.publicaciones(), 0);
      continue;
    }
    EXPECT_EQ(fin, Fin::Publicado);
    EXPECT_EQ(e.traza().texto(), traza(nivel, umbral));
    EXPECT_EQ(e.umbralPublicado(), umbral);
    EXPECT_EQ(e.lineasAlPublicar(), 6u);
    EXPECT_TRUE(e.dialogos().mensajes().empty());
  }
}

// Interior values (x, y): (1,1) 70, (1,2) 0, (2,1) 0, (2,2) 50, asked columns first; No writes
// the cancel lines once and ends the prompts. Target 14 of 16: the 14 pixels at 0 reach it;
// mean 175 / 16.
TEST(AlgoritmoUsingEdgePixels, StepPromptsInColumnOrderUntilNo) {
  DatosImagen imagen =
      imagenDesdeFilas({{10, 10, 10, 10}, {10, 0, 20, 10}, {10, 30, 5, 10}, {10, 10, 10, 10}});
  EntornoSimple e(imagen, "SN");
  preparar(e, "85");
  bool paso = true;
  EXPECT_EQ(AlgoritmoUsingEdgePixels(e, paso), Fin::Publicado);
  EXPECT_FALSE(paso);
  EXPECT_EQ(e.traza().texto(), traza(0, 11, "Paso a paso cancelado\n\n"));
  const std::string pregunta =
      "|3|Resultado de aplicar el operador laplaciano al entorno centrado en el pixel (";
  EXPECT_EQ(textoMensajes(e), "Paso a paso|4|6" + pregunta +
                                  "1,1): 70\\r\\r¿seguir paso a paso?\n" + "Paso a paso|4|7" +
                                  pregunta + "1,2): 0\\r\\r¿seguir paso a paso?\n");
  EXPECT_EQ(e.umbralPublicado(), 11);
}

// A percentage that is no finite number (checked first, even when a mask box is bad too), a
// mask box that is no number, a weight that makes 255 x the weights of one sign overflow (alone
// or with the earlier ones): one box naming the row and column, and the trace untouched.
TEST(AlgoritmoUsingEdgePixels, RefusesWithABoxBeforeTheTraceIsTouched) {
  const std::string pct = "Porcentaje no válido|48|1|1|No esta introduciendo un porcentaje válido";
  const auto casilla = [](int fila, int columna) {
    return "Máscara no válida|48|1|1|No esta introduciendo un valor válido en la fila " +
           std::to_string(fila) + ", columna " + std::to_string(columna) + " de la máscara";
  };
  const std::tuple<const char*, std::vector<int>, const char*, std::string> casos[] = {
      {"1e999", {}, "", pct},
      {"x", {0}, "y", pct},
      {"85", {7}, "", casilla(3, 2)},
      {"85", {1}, "1e307", casilla(1, 2)},
      {"85", {3, 7}, "-5e305", casilla(3, 2)}};
  for (const auto& [porcentaje, casillas, texto, caja] : casos) {
    DatosImagen imagen = centroOscuro();
    EntornoSimple e(imagen, "S");
    preparar(e, porcentaje);
    for (int k : casillas) e.setTexto("Mask(" + std::to_string(k) + ")", texto);
    e.traza().agregar("traza anterior");
    bool paso = true;
    EXPECT_EQ(AlgoritmoUsingEdgePixels(e, paso), Fin::Rechazado);
    EXPECT_EQ(e.traza().texto(), "traza anterior\n");
    EXPECT_EQ(textoMensajes(e),
              caja + "\\rAsegurese de estar introduciendo solo valores numéricos.\n");
    EXPECT_EQ(e.publicaciones(), 0);
  }
}

}  // namespace
}  // namespace velarno
