#include "image/representaciones.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/colores.h"
#include "support/imagen_prueba.h"
#include "support/superficie_grabadora.h"

namespace velarno {
namespace {

TEST(DimensionarImagen, SizesFromTheSurfaceAndDiscardsTheOldPixels) {
  DatosImagen imagen = imagenUniforme(5, 5, 200);
  imagen.pixeles.setNegro(1, 1, true);
  dimensionarImagen(SuperficieGrabadora(3, 2), imagen);
  EXPECT_EQ(imagen.ancho, 3);
  EXPECT_EQ(imagen.alto, 2);
  ASSERT_EQ(imagen.pixeles.ancho(), 3);
  ASSERT_EQ(imagen.pixeles.alto(), 2);
  for (size_t i = 0; i < 6; ++i)
    EXPECT_EQ(imagen.pixeles.planoGris()[i] + imagen.pixeles.planoNegro()[i], 0) << i;
}

// Both reading paths give nivelGris of every pixel read one at a time, and -1 (a read outside
// any surface) where the record is larger than the surface; the bulk one reads no pixel singly.
TEST(LeerPixeles, BulkAndSinglePathsGiveTheGreyOfEveryPixel) {
  for (bool conFilas : {false, true}) {
    SCOPED_TRACE(conFilas ? "bulk rows" : "one pixel at a time");
    SuperficieGrabadora s(37, 23, kBlanco, conFilas);
    std::mt19937 azar(11);
    for (int32_t y = 0; y < 23; ++y)
      for (int32_t x = 0; x < 37; ++x) s.ponerPixel(x, y, static_cast<Color>(azar() & 0xFFFFFFU));
    DatosImagen imagen;
    imagen.ancho = 39;
    imagen.alto = 25;
    imagen.pixeles = Pixeles(39, 25);
    imagen.pixeles.setNegro(4, 5, true);
    leerPixeles(s, imagen);
    EXPECT_EQ(s.lecturas(), conFilas ? 0 : 37 * 23);
    for (int32_t y = 0; y < 25; ++y)
      for (int32_t x = 0; x < 39; ++x)
        ASSERT_EQ(imagen.pixeles.gris(x, y), nivelGris(s.leerColor(x, y))) << x << "," << y;
    EXPECT_TRUE(imagen.pixeles.negro(4, 5));
  }
}

// Image 3 x 2: levels 10 20 30 / 40 50 60, black on alternate pixels, drawn on surfaces
// that start grey 7 so untouched pixels show; the same through the pixel-by-pixel writes
// that every surface inherits.
TEST(DibujarGrises, DrawsOnlyWhatFitsAndKeepsTheRest) {
  DatosImagen imagen = imagenDesdeFilas({{10, 20, 30}, {40, 50, 60}});
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) imagen.pixeles.setNegro(x, y, (x + y) % 2 == 1);
  struct Caso {
    int32_t ancho, alto;
    std::vector<uint8_t> grises, binarios;
  };
  for (const Caso& c :
       {Caso{2, 3, {10, 20, 40, 50, 7, 7}, {255, 0, 0, 255, 7, 7}},
        Caso{4, 1, {10, 20, 30, 7}, {255, 0, 255, 7}}, Caso{1, 2, {10, 40}, {255, 0}}}) {
    SCOPED_TRACE(std::to_string(c.ancho) + "x" + std::to_string(c.alto));
    SuperficieGrabadora gris(c.ancho, c.alto, rgb(7, 7, 7)), binaria = gris, base = gris;
    dibujarGrises(gris, imagen);
    EXPECT_EQ(gris.rojos(), c.grises);
    dibujarBinarizada(binaria, imagen);
    EXPECT_EQ(binaria.rojos(), c.binarios);
    EXPECT_EQ(gris.escrituras() + binaria.escrituras(), 0);
    const int32_t w = std::min(c.ancho, 3), h = std::min(c.alto, 2);
    base.Superficie::escribirGrises(imagen.pixeles.planoGris(), 3, w, h);
    EXPECT_EQ(base.rojos(), c.grises);
    base.Superficie::escribirBlancoNegro(imagen.pixeles.planoNegro(), 3, w, h);
    EXPECT_EQ(base.rojos(), c.binarios);
  }
}

// The whole chart of a picture whose pixels all have level 100, threshold 100: one full bar,
// the upper arrow's tip on its top (y = 110), axes at width 1 and the line width given back.
TEST(DibujarHistograma, UniformPictureDrawsTheWholeChart) {
  const DatosImagen imagen = imagenUniforme(4, 3, 100);
  SuperficieGrabadora s(304, 191);
  s.setGrosorLinea(2);
  s.olvidarOrdenes();
  dibujarHistograma(s, imagen, 100);
  std::string esperado = "escala 0 120 301 0";
  for (int i = 0; i < 256; ++i) {
    const std::string x = std::to_string(i + 20);
    esperado += "\nlinea (" + x + ",10)-(" + x + (i == 100 ? ",110)" : ",10)") + " 000000 2";
  }
  esperado +=
      "\nlinea (120,5)-(120,10) 0000FF 2\nlinea (118,5)-(120,10) 0000FF 2\n"
      "linea (122,5)-(120,10) 0000FF 2\nlinea (120,110)-(120,120) 0000FF 2\n"
      "linea (120,110)-(118,120) 0000FF 2\nlinea (120,110)-(122,120) 0000FF 2\ngrosor 1\n"
      "linea (6,10)-(276,10) FF0000 1\nlinea (10,8)-(10,110) FF0000 1\nfuente arial 8 negrita\n"
      "texto (10,120) Nº pixels\nfuente arial 8 normal\nfuente arial 8 negrita\n"
      "texto (266,10) Nivel\nfuente arial 8 normal\ngrosor 2";
  EXPECT_EQ(s.guion(), esperado);
}

// Bars are the percentage of the largest count rounded half to even; the upper arrow's tip
// sits on the unrounded top of the bar of the threshold's level (rounded half to even).
TEST(DibujarHistograma, BarsRoundTheArrowTipDoesNot) {
  DatosImagen imagen;
  imagen.maxHistograma = 1000;
  for (const auto& [nivel, cuenta] : {std::pair{0, 1000}, {3, 15}, {38, 333}, {254, 35}, {255, 25}})
    imagen.histograma[nivel] = cuenta;
  const std::pair<float, const char*> casos[] = {
      {0, "linea (20,110)-(20,120) 0000FF 1"},
      {3, "linea (23,11.5)-(23,21.5) 0000FF 1"},
      {38.5f, "linea (58.5,43.2999992)-(58.5,53.2999992) 0000FF 1"},
      {255, "linea (275,12.5)-(275,22.5) 0000FF 1"},
      {300, "linea (320,10)-(320,20) 0000FF 1"},  // not a level: counted as empty
  };
  for (const auto& [umbral, punta] : casos) {
    SuperficieGrabadora s(304, 191);
    dibujarHistograma(s, imagen, umbral);
    EXPECT_EQ(s.ordenes()[1 + 256 + 3], punta) << umbral;
    std::string barras;
    for (int nivel : {3, 38, 254, 255})
      barras += s.ordenes()[1 + static_cast<size_t>(nivel)] + "\n";
    EXPECT_EQ(barras,
              "linea (23,10)-(23,12) 000000 1\nlinea (58,10)-(58,43) 000000 1\n"
              "linea (274,10)-(274,14) 000000 1\nlinea (275,10)-(275,12) 000000 1\n");
  }
}

// Without any pixel the scale has no height: no bars, everything on the zero line.
TEST(DibujarHistograma, EmptyHistogramDrawsNoBars) {
  SuperficieGrabadora s(304, 191);
  dibujarHistograma(s, DatosImagen(), 128);
  EXPECT_EQ(s.guion(),
            "escala 0 0 301 0\nlinea (148,0)-(148,0) 0000FF 1\nlinea (146,0)-(148,0) 0000FF 1\n"
            "linea (150,0)-(148,0) 0000FF 1\nlinea (148,0)-(148,0) 0000FF 1\n"
            "linea (148,0)-(146,0) 0000FF 1\nlinea (148,0)-(150,0) 0000FF 1\ngrosor 1\n"
            "linea (6,0)-(276,0) FF0000 1\nlinea (10,-2)-(10,0) FF0000 1\n"
            "fuente arial 8 negrita\ntexto (10,0) Nº pixels\nfuente arial 8 normal\n"
            "fuente arial 8 negrita\ntexto (266,0) Nivel\nfuente arial 8 normal\ngrosor 1");
}

}  // namespace
}  // namespace velarno
