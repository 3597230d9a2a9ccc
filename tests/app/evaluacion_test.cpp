// Scores against a reference: the six measures on hand-made pictures, their texts, the size
// check, and the fast count against a literal pixel loop.
#include "app/evaluacion.h"

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/imagen_prueba.h"

namespace velarno {
namespace {

std::array<int64_t, 4> cuentas(const Evaluacion& e) { return {e.tp, e.fp, e.fn, e.tn}; }

std::string unidos(const TextosEvaluacion& t) {
  return t.medidaF + " " + t.precision + " " + t.exhaustividad + " " + t.error + " " + t.psnr +
         " " + t.jaccard;
}

// Pixels written as '0' (white) and '1' (black): as a class plane (1 black) or as a drawn
// raster (0 black, 255 white).
std::vector<uint8_t> plano(const char* pixeles, bool dibujado = false) {
  std::vector<uint8_t> p;
  for (const char* c = pixeles; *c != 0; ++c)
    p.push_back(dibujado ? (*c == '1' ? 0 : 255) : (*c == '1' ? 1 : 0));
  return p;
}
Evaluacion evaluarTextos(const char* resultado, const char* referencia) {
  const std::vector<uint8_t> dibujo = plano(resultado, true);
  const auto n = static_cast<int32_t>(dibujo.size());
  return evaluarDibujo(dibujo.data(), dibujo.size(), n, 1, plano(referencia).data());
}

struct Caso {
  const char* nombre;
  const char* resultado;
  const char* referencia;
  std::array<int64_t, 4> cuentas;  // tp, fp, fn, tn
  const char* textos;              // F P R ME PSNR Jaccard
};
void PrintTo(const Caso& c, std::ostream* os) { *os << c.nombre; }

const Caso kCasos[] = {
    // P = R = F = 2/3, ME = 2/8, PSNR = 10·log10(4) = 6.0206, Jaccard = 2/4.
    {"Mixed", "11100000", "11010000", {2, 1, 1, 4}, "0.6667 0.6667 0.6667 0.2500 6.02 0.5000"},
    // P = 1/4, R = 1, F = 2·0.25·1 / 1.25 = 0.4, ME = 3/4, PSNR = 10·log10(4/3) = 1.249.
    {"AllBlackResult", "1111", "1000", {1, 3, 0, 0}, "0.4000 0.2500 1.0000 0.7500 1.25 0.2500"},
    // Nothing black: P, R, F and Jaccard undefined; nothing differs.
    {"NoBlackAnywhere", "000", "000", {0, 0, 0, 3}, "— — — 0.0000 ∞ —"},
    // P undefined, R = 0, every pixel differs: ME = 1, PSNR = 0.
    {"WhiteResultBlackReference", "00", "11", {0, 0, 2, 0}, "— — 0.0000 1.0000 0.00 0.0000"},
    // Black in both but never together: P = R = 0, so F is undefined.
    {"DisjointBlack", "10", "01", {0, 1, 1, 0}, "— 0.0000 0.0000 1.0000 0.00 0.0000"},
    {"Identical", "100", "100", {1, 0, 0, 2}, "1.0000 1.0000 1.0000 0.0000 ∞ 1.0000"},
};

class EvaluarCaso : public ::testing::TestWithParam<Caso> {};

TEST_P(EvaluarCaso, CountsAndShowsTheSixMeasures) {
  const Caso& c = GetParam();
  const Evaluacion e = evaluarTextos(c.resultado, c.referencia);
  EXPECT_EQ(cuentas(e), c.cuentas);
  EXPECT_EQ(unidos(textosEvaluacion(e)), c.textos);
}

INSTANTIATE_TEST_SUITE_P(Casos, EvaluarCaso, ::testing::ValuesIn(kCasos),
                         [](const auto& p) { return std::string(p.param.nombre); });

TEST(Evaluar, WritesTheGivenDecimalSeparator) {
  EXPECT_EQ(unidos(textosEvaluacion(evaluarTextos("11100000", "11010000"), ',')),
            "0,6667 0,6667 0,6667 0,2500 6,02 0,5000");
}

// Random drawn rasters (rows 3 bytes longer than the picture, black where a byte is 0) and
// reference levels, counted pixel by pixel, against the block count. Sizes around the
// 255-pixel blocks; the last is black everywhere (no byte sum may wrap).
TEST(EvaluarDibujo, FastCountEqualsThePixelLoop) {
  const struct {
    int32_t ancho, alto;
    int dibujoMax, grisMax;  // raster bytes and reference levels drawn from 0 to these
  } casos[] = {{1, 1, 1, 255},     {255, 1, 1, 255}, {256, 3, 2, 255},
               {37, 29, 255, 255}, {513, 5, 1, 200}, {1021, 7, 0, 127}};
  unsigned semilla = 1;
  for (const auto& c : casos) {
    SCOPED_TRACE(::testing::Message() << c.ancho << "x" << c.alto);
    const size_t paso = static_cast<size_t>(c.ancho) + 3;
    const std::vector<uint8_t> dibujo =
        planoGris(imagenAleatoria(static_cast<int32_t>(paso), c.alto, semilla++, 0, c.dibujoMax));
    const DatosImagen referencia = imagenAleatoria(c.ancho, c.alto, semilla++, 0, c.grisMax);
    std::array<int64_t, 4> esperadas{};
    for (int32_t y = 0; y < c.alto; ++y)
      for (int32_t x = 0; x < c.ancho; ++x) {
        const bool r = dibujo[static_cast<size_t>(y) * paso + static_cast<size_t>(x)] == 0;
        const bool g = referencia.pixeles.gris(x, y) < 128;
        ++esperadas[r ? (g ? 0 : 1) : (g ? 2 : 3)];
      }
    EXPECT_EQ(cuentas(evaluarDibujo(dibujo.data(), paso, c.ancho, c.alto,
                                    claseReferencia(referencia).data())),
              esperadas);
  }
}

}  // namespace
}  // namespace velarno
