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

// A record of ancho x alto whose black/white flags are `negro` (any non-zero byte is black).
DatosImagen conNegro(int32_t ancho, int32_t alto, const std::vector<uint8_t>& negro) {
  DatosImagen imagen = imagenUniforme(ancho, alto, 255);
  for (size_t i = 0; i < negro.size(); ++i) imagen.pixeles.planoNegro()[i] = negro[i] != 0;
  return imagen;
}

std::array<int64_t, 4> cuentas(const Evaluacion& e) { return {e.tp, e.fp, e.fn, e.tn}; }

std::string unidos(const TextosEvaluacion& t) {
  return t.medidaF + " " + t.precision + " " + t.exhaustividad + " " + t.error + " " + t.psnr +
         " " + t.jaccard;
}

// Planes written as strings of '0' (white) and '1' (black).
std::vector<uint8_t> plano(const char* pixeles) {
  std::vector<uint8_t> p;
  for (const char* c = pixeles; *c != 0; ++c) p.push_back(*c == '1');
  return p;
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
  const std::vector<uint8_t> resultado = plano(c.resultado);
  const Evaluacion e = evaluar(resultado.data(), plano(c.referencia).data(), resultado.size());
  EXPECT_EQ(cuentas(e), c.cuentas);
  EXPECT_EQ(unidos(textosEvaluacion(e)), c.textos);
}

INSTANTIATE_TEST_SUITE_P(Casos, EvaluarCaso, ::testing::ValuesIn(kCasos),
                         [](const auto& p) { return std::string(p.param.nombre); });

TEST(Evaluar, WritesTheGivenDecimalSeparator) {
  const std::vector<uint8_t> resultado = plano("11100000");
  const Evaluacion e = evaluar(resultado.data(), plano("11010000").data(), resultado.size());
  EXPECT_EQ(unidos(textosEvaluacion(e, ',')), "0,6667 0,6667 0,6667 0,2500 6,02 0,5000");
}

TEST(Evaluar, RefusesAReferenceOfAnotherSize) {
  const ResultadoEvaluacion r = evaluar(imagenUniforme(2, 3, 0), imagenUniforme(3, 2, 0));
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.error,
            "La referencia mide 3x2 píxeles y la imagen 2x3: deben tener el mismo tamaño.");
}

// The literal reading: each pixel classified and counted on its own (tp, fp, fn, tn).
std::array<int64_t, 4> cuentasLiterales(const std::vector<uint8_t>& negro,
                                        const DatosImagen& referencia) {
  std::array<int64_t, 4> c{};
  for (int32_t y = 0; y < referencia.alto; ++y)
    for (int32_t x = 0; x < referencia.ancho; ++x) {
      const bool r = negro[static_cast<size_t>(y * referencia.ancho + x)] != 0;
      const bool g = referencia.pixeles.gris(x, y) < 128;
      ++c[r ? (g ? 0 : 1) : (g ? 2 : 3)];
    }
  return c;
}

TEST(Evaluar, FastCountEqualsThePixelLoop) {
  struct Tamano {
    int32_t ancho, alto;
    int negroMin, negroMax, grisMax;  // flags and reference levels drawn from these ranges
  };
  // Sizes around the 255-pixel blocks; the last is black everywhere (no byte sum may wrap).
  const Tamano casos[] = {{1, 1, 0, 1, 255},     {255, 1, 0, 1, 255}, {256, 3, 0, 2, 255},
                          {37, 29, 0, 255, 255}, {513, 5, 0, 1, 200}, {1021, 7, 1, 255, 127}};
  unsigned semilla = 1;
  for (const Tamano& c : casos) {
    SCOPED_TRACE(::testing::Message() << c.ancho << "x" << c.alto);
    const std::vector<uint8_t> negro =
        planoGris(imagenAleatoria(c.ancho, c.alto, semilla++, c.negroMin, c.negroMax));
    const DatosImagen referencia = imagenAleatoria(c.ancho, c.alto, semilla++, 0, c.grisMax);
    const std::array<int64_t, 4> esperadas = cuentasLiterales(negro, referencia);
    EXPECT_EQ(cuentas(evaluar(negro.data(), claseReferencia(referencia).data(), negro.size())),
              esperadas);
    EXPECT_EQ(cuentas(evaluar(conNegro(c.ancho, c.alto, negro), referencia).evaluacion), esperadas);
  }
}

}  // namespace
}  // namespace velarno
