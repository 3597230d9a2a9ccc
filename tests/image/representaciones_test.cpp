#include "image/representaciones.h"

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

std::string lineas(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& l : v) s += (s.empty() ? "" : "\n") + l;
  return s;
}

// A record with the given histogram counts (only what the chart reads).
DatosImagen conHistograma(const std::vector<std::pair<int, int64_t>>& cuentas) {
  DatosImagen imagen;
  for (const auto& [nivel, cuenta] : cuentas) {
    imagen.histograma[static_cast<size_t>(nivel)] = cuenta;
    imagen.maxHistograma = std::max(imagen.maxHistograma, cuenta);
  }
  return imagen;
}

TEST(Minimo, TakesTheSmallerAndTheFirstOnATie) {
  EXPECT_EQ(minimo(3, 5), 3);
  EXPECT_EQ(minimo(5, 3), 3);
  EXPECT_EQ(minimo(2.5f, 2.5f), 2.5f);
}

TEST(DimensionarImagen, SizesFromTheSurfaceAndDiscardsTheOldPixels) {
  DatosImagen imagen = imagenUniforme(5, 5, 200);
  imagen.pixeles.setNegro(1, 1, true);
  const SuperficieGrabadora superficie(3, 2);
  dimensionarImagen(superficie, imagen);
  EXPECT_EQ(imagen.ancho, 3);
  EXPECT_EQ(imagen.alto, 2);
  ASSERT_EQ(imagen.pixeles.ancho(), 3);
  ASSERT_EQ(imagen.pixeles.alto(), 2);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) {
      EXPECT_EQ(imagen.pixeles.gris(x, y), 0);
      EXPECT_FALSE(imagen.pixeles.negro(x, y));
    }
}

// A surface of random colours, offering its rows in bulk or not.
SuperficieGrabadora superficieAleatoria(int32_t ancho, int32_t alto, bool conFilas,
                                        unsigned semilla) {
  SuperficieGrabadora s(ancho, alto, kBlanco, conFilas);
  std::mt19937 azar(semilla);
  for (int32_t y = 0; y < alto; ++y)
    for (int32_t x = 0; x < ancho; ++x) s.ponerPixel(x, y, static_cast<Color>(azar() & 0xFFFFFFU));
  return s;
}

// Both reading paths give nivelGris of every pixel read one at a time; the bulk one reads
// no pixel singly.
TEST(LeerPixeles, BulkAndSinglePathsGiveTheGreyOfEveryPixel) {
  for (bool conFilas : {false, true}) {
    SCOPED_TRACE(conFilas ? "bulk rows" : "one pixel at a time");
    const SuperficieGrabadora s = superficieAleatoria(37, 23, conFilas, 11);
    DatosImagen imagen;
    dimensionarImagen(s, imagen);
    imagen.pixeles.setNegro(4, 5, true);
    const int64_t antes = s.lecturas();
    leerPixeles(s, imagen);
    EXPECT_EQ(s.lecturas() - antes, conFilas ? 0 : 37 * 23);
    for (int32_t y = 0; y < 23; ++y)
      for (int32_t x = 0; x < 37; ++x)
        ASSERT_EQ(imagen.pixeles.gris(x, y), nivelGris(s.leerColor(x, y))) << x << "," << y;
    EXPECT_TRUE(imagen.pixeles.negro(4, 5));
  }
}

// A record larger than the surface reads -1 beyond it, as a read outside any surface does.
TEST(LeerPixeles, PixelsBeyondTheSurfaceReadAsOutside) {
  for (bool conFilas : {false, true}) {
    const SuperficieGrabadora s = superficieAleatoria(2, 2, conFilas, 3);
    DatosImagen imagen;
    imagen.ancho = 3;
    imagen.alto = 3;
    imagen.pixeles = Pixeles(3, 3);
    leerPixeles(s, imagen);
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 3; ++x)
        EXPECT_EQ(imagen.pixeles.gris(x, y), x < 2 && y < 2 ? nivelGris(s.leerColor(x, y)) : 76);
  }
}

struct CasoRecorte {
  const char* nombre;
  int32_t anchoSuperficie, altoSuperficie;
  std::vector<uint8_t> grises;    // expected raster after dibujarGrises
  std::vector<uint8_t> binarios;  // expected raster after dibujarBinarizada
};
void PrintTo(const CasoRecorte& c, std::ostream* os) { *os << c.nombre; }

class DibujoRecortado : public ::testing::TestWithParam<CasoRecorte> {};

// Image 3 x 2: levels 10 20 30 / 40 50 60, black where the level is below 35. The surfaces
// start grey 7 so untouched pixels show.
TEST_P(DibujoRecortado, DrawsOnlyWhatFitsAndKeepsTheRest) {
  const CasoRecorte& c = GetParam();
  DatosImagen imagen = imagenDesdeFilas({{10, 20, 30}, {40, 50, 60}});
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) imagen.pixeles.setNegro(x, y, imagen.pixeles.gris(x, y) < 35);
  SuperficieGrabadora gris(c.anchoSuperficie, c.altoSuperficie, rgb(7, 7, 7));
  dibujarGrises(gris, imagen);
  EXPECT_EQ(gris.rojos(), c.grises);
  EXPECT_EQ(gris.escrituras(), 0);
  SuperficieGrabadora binaria(c.anchoSuperficie, c.altoSuperficie, rgb(7, 7, 7));
  dibujarBinarizada(binaria, imagen);
  EXPECT_EQ(binaria.rojos(), c.binarios);
  EXPECT_EQ(binaria.escrituras(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, DibujoRecortado,
    ::testing::Values(
        CasoRecorte{"SameSize", 3, 2, {10, 20, 30, 40, 50, 60}, {0, 0, 0, 255, 255, 255}},
        CasoRecorte{"SmallerSurface", 2, 1, {10, 20}, {0, 0}},
        CasoRecorte{"LargerSurface",
                    4,
                    3,
                    {10, 20, 30, 7, 40, 50, 60, 7, 7, 7, 7, 7},
                    {0, 0, 0, 7, 255, 255, 255, 7, 7, 7, 7, 7}},
        CasoRecorte{"EmptySurface", 0, 0, {}, {}}),
    [](const auto& p) { return std::string(p.param.nombre); });

// The whole chart of a picture whose pixels all have level 100, threshold 100: one full bar,
// the upper arrow's tip on its top (y = 110), axes at width 1 and the line width given back.
TEST(DibujarHistograma, UniformPictureDrawsTheWholeChart) {
  const DatosImagen imagen = imagenUniforme(4, 3, 100);
  SuperficieGrabadora s(304, 191);
  s.setGrosorLinea(2);
  s.olvidarOrdenes();
  dibujarHistograma(s, imagen, 100);
  std::vector<std::string> esperado = {"escala 0 120 301 0"};
  for (int i = 0; i < 256; ++i) {
    const std::string x = std::to_string(i + 20);
    esperado.push_back("linea (" + x + ",10)-(" + x + (i == 100 ? ",110)" : ",10)") + " 000000 2");
  }
  for (const char* l :
       {"linea (120,5)-(120,10) 0000FF 2", "linea (118,5)-(120,10) 0000FF 2",
        "linea (122,5)-(120,10) 0000FF 2", "linea (120,110)-(120,120) 0000FF 2",
        "linea (120,110)-(118,120) 0000FF 2", "linea (120,110)-(122,120) 0000FF 2", "grosor 1",
        "linea (6,10)-(276,10) FF0000 1", "linea (10,8)-(10,110) FF0000 1",
        "fuente arial 8 negrita", "texto (10,120) Nº pixels", "fuente arial 8 normal",
        "fuente arial 8 negrita", "texto (266,10) Nivel", "fuente arial 8 normal", "grosor 2"})
    esperado.push_back(l);
  EXPECT_EQ(s.guion(), lineas(esperado));
}

struct CasoBarra {
  const char* nombre;
  int64_t cuenta;  // of a largest count of 1000
  const char* linea;
};
void PrintTo(const CasoBarra& c, std::ostream* os) { *os << c.nombre; }

class AlturaBarra : public ::testing::TestWithParam<CasoBarra> {};

// Bar heights are the percentage of the largest count rounded half to even.
TEST_P(AlturaBarra, RoundsThePercentageHalfToEven) {
  const DatosImagen imagen = conHistograma({{0, 1000}, {7, GetParam().cuenta}});
  SuperficieGrabadora s(304, 191);
  dibujarHistograma(s, imagen, 0);
  EXPECT_EQ(SuperficieGrabadora::describir(s.ordenes()[1 + 7]), GetParam().linea);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, AlturaBarra,
    ::testing::Values(CasoBarra{"Empty", 0, "linea (27,10)-(27,10) 000000 1"},
                      CasoBarra{"FourTenthsPercent", 4, "linea (27,10)-(27,10) 000000 1"},
                      CasoBarra{"HalfPercentToEvenZero", 5, "linea (27,10)-(27,10) 000000 1"},
                      CasoBarra{"OneAndAHalfToTwo", 15, "linea (27,10)-(27,12) 000000 1"},
                      CasoBarra{"TwoAndAHalfToTwo", 25, "linea (27,10)-(27,12) 000000 1"},
                      CasoBarra{"ThreeAndAHalfToFour", 35, "linea (27,10)-(27,14) 000000 1"},
                      CasoBarra{"Largest", 1000, "linea (27,10)-(27,110) 000000 1"}),
    [](const auto& p) { return std::string(p.param.nombre); });

struct CasoMarca {
  const char* nombre;
  float umbral;
  std::string flechas;  // the six red lines
};
void PrintTo(const CasoMarca& c, std::ostream* os) { *os << c.nombre; }

class MarcaUmbral : public ::testing::TestWithParam<CasoMarca> {};

// The upper arrow's tip sits on the unrounded top of the threshold's bar.
TEST_P(MarcaUmbral, ArrowsPointAtTheAxisAndTheBarTop) {
  const DatosImagen imagen = conHistograma({{0, 1000}, {3, 15}, {38, 333}});
  SuperficieGrabadora s(304, 191);
  dibujarHistograma(s, imagen, GetParam().umbral);
  std::string rojas;
  for (const auto& o : s.ordenes())
    if (o.orden == "linea" && o.color == kRojo)
      rojas += (rojas.empty() ? "" : "\n") + SuperficieGrabadora::describir(o);
  EXPECT_EQ(rojas, GetParam().flechas);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, MarcaUmbral,
    ::testing::Values(
        CasoMarca{"HalfPercentBar", 3,
                  "linea (23,5)-(23,10) 0000FF 1\nlinea (21,5)-(23,10) 0000FF 1\n"
                  "linea (25,5)-(23,10) 0000FF 1\nlinea (23,11.5)-(23,21.5) 0000FF 1\n"
                  "linea (23,11.5)-(21,21.5) 0000FF 1\nlinea (23,11.5)-(25,21.5) 0000FF 1"},
        // 37.5 rounds to the even 38 for the count, but the arrows stay at 57.5.
        CasoMarca{"FractionalThreshold", 37.5f,
                  "linea (57.5,5)-(57.5,10) 0000FF 1\nlinea (55.5,5)-(57.5,10) 0000FF 1\n"
                  "linea (59.5,5)-(57.5,10) 0000FF 1\nlinea (57.5,43.2999992)-(57.5,53.2999992) "
                  "0000FF 1\nlinea (57.5,43.2999992)-(55.5,53.2999992) 0000FF 1\n"
                  "linea (57.5,43.2999992)-(59.5,53.2999992) 0000FF 1"},
        CasoMarca{"EmptyLevel", 255,
                  "linea (275,5)-(275,10) 0000FF 1\nlinea (273,5)-(275,10) 0000FF 1\n"
                  "linea (277,5)-(275,10) 0000FF 1\nlinea (275,10)-(275,20) 0000FF 1\n"
                  "linea (275,10)-(273,20) 0000FF 1\nlinea (275,10)-(277,20) 0000FF 1"},
        // Not a grey level: counted as an empty level instead of reading past the histogram.
        CasoMarca{"OutsideTheLevels", 300,
                  "linea (320,5)-(320,10) 0000FF 1\nlinea (318,5)-(320,10) 0000FF 1\n"
                  "linea (322,5)-(320,10) 0000FF 1\nlinea (320,10)-(320,20) 0000FF 1\n"
                  "linea (320,10)-(318,20) 0000FF 1\nlinea (320,10)-(322,20) 0000FF 1"}),
    [](const auto& p) { return std::string(p.param.nombre); });

// Without any pixel the scale has no height: no bars, everything on the zero line.
TEST(DibujarHistograma, EmptyHistogramDrawsNoBars) {
  const DatosImagen imagen;
  SuperficieGrabadora s(304, 191);
  dibujarHistograma(s, imagen, 128);
  EXPECT_EQ(s.guion(),
            lineas({"escala 0 0 301 0", "linea (148,0)-(148,0) 0000FF 1",
                    "linea (146,0)-(148,0) 0000FF 1", "linea (150,0)-(148,0) 0000FF 1",
                    "linea (148,0)-(148,0) 0000FF 1", "linea (148,0)-(146,0) 0000FF 1",
                    "linea (148,0)-(150,0) 0000FF 1", "grosor 1", "linea (6,0)-(276,0) FF0000 1",
                    "linea (10,-2)-(10,0) FF0000 1", "fuente arial 8 negrita",
                    "texto (10,0) Nº pixels", "fuente arial 8 normal", "fuente arial 8 negrita",
                    "texto (266,0) Nivel", "fuente arial 8 normal", "grosor 1"}));
}

}  // namespace
}  // namespace velarno
