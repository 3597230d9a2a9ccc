// The four statistical methods at 12 MP (4000 x 3000), each run whole with a headless context
// whose publication only notes the threshold (no binarization, no drawing). Every benchmark checks
// its result first: Entropy's recount against a plain count, Using Edge Pixels against the literal
// Double reading, the histogram methods against a second run.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "methods/dialogos_guion.h"
#include "methods/edge_pixels.h"
#include "methods/entorno.h"
#include "methods/entorno_simple.h"
#include "methods/entropy.h"
#include "methods/fuzzy.h"
#include "methods/minimum_error.h"
#include "methods/traza.h"

namespace velarno {
namespace {

constexpr int32_t kAncho = 4000;
constexpr int32_t kAlto = 3000;

// A photo-like grey picture: smooth waves, a bright patch and some noise.
DatosImagen foto() {
  DatosImagen imagen;
  imagen.ancho = kAncho;
  imagen.alto = kAlto;
  imagen.pixeles = Pixeles(kAncho, kAlto);
  uint32_t estado = 12345;
  for (int32_t y = 0; y < kAlto; ++y) {
    uint8_t* fila = imagen.pixeles.filaGris(y);
    const double v = static_cast<double>(y) / kAlto;
    for (int32_t x = 0; x < kAncho; ++x) {
      const double u = static_cast<double>(x) / kAncho;
      estado = estado * 1664525U + 1013904223U;
      const int ruido = static_cast<int>((estado >> 24) & 15U) - 8;
      const double d = (u - 0.6) * (u - 0.6) + (v - 0.4) * (v - 0.4);
      const double mancha = d < 0.04 ? 70.0 * (1.0 - d / 0.04) : 0.0;
      const int g =
          static_cast<int>(80 + 60 * u + 40 * std::sin(u * 9.0) * std::cos(v * 7.0) + mancha) +
          ruido;
      fila[x] = static_cast<uint8_t>(g < 0 ? 0 : (g > 255 ? 255 : g));
    }
  }
  for (int32_t y = 0; y < kAlto; ++y)
    for (int32_t x = 0; x < kAncho; ++x) ++imagen.histograma[imagen.pixeles.gris(x, y)];
  return imagen;
}

DatosImagen& imagenCompartida() {
  static DatosImagen imagen = foto();
  return imagen;
}

void fallar(const char* que) {
  std::fprintf(stderr, "check failed: %s\n", que);
  std::abort();
}

int correr(Fin (*metodo)(Entorno&, bool&), EntornoSimple& e) {
  e.setBinarizarAlPublicar(false);
  bool paso = false;
  if (metodo(e, paso) != Fin::Publicado) fallar("the method did not publish");
  return e.umbral();
}

void BM_Entropy(benchmark::State& state) {
  DatosImagen& imagen = imagenCompartida();
  HistogramaNormalizado p{};
  histogramC(imagen, p);
  for (int i = 0; i < kNivelesGris; ++i)
    if (p[i] != static_cast<double>(imagen.histograma[i]) / (double{kAncho} * kAlto))
      fallar("Entropy's recount");
  EntornoSimple e(imagen);
  const int umbral = correr(AlgoritmoEntropy, e);
  for (auto _ : state) benchmark::DoNotOptimize(correr(AlgoritmoEntropy, e));
  if (e.umbral() != umbral) fallar("Entropy changed its result");
  state.counters["umbral"] = umbral;
}
BENCHMARK(BM_Entropy)->Unit(benchmark::kMillisecond);

void BM_MinimumError(benchmark::State& state) {
  EntornoSimple e(imagenCompartida());
  const int umbral = correr(AlgoritmoMinimumError, e);
  for (auto _ : state) benchmark::DoNotOptimize(correr(AlgoritmoMinimumError, e));
  if (e.umbral() != umbral) fallar("Minimum Error changed its result");
  state.counters["umbral"] = umbral;
}
BENCHMARK(BM_MinimumError)->Unit(benchmark::kMillisecond);

void BM_Fuzzy(benchmark::State& state, const char* medida) {
  EntornoSimple e(imagenCompartida());
  e.setTexto("metodoYG", medida);
  const int umbral = correr(AlgoritmoFuzzy, e);
  for (auto _ : state) benchmark::DoNotOptimize(correr(AlgoritmoFuzzy, e));
  if (e.umbral() != umbral) fallar("Fuzzy changed its result");
  state.counters["umbral"] = umbral;
}
BENCHMARK_CAPTURE(BM_Fuzzy, entropy, "ENTROPY")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fuzzy, yager, "FUZZY")->Unit(benchmark::kMillisecond);

// The literal reading: a Double edge matrix, its histogram, the level and the mean.
int edgeLiteral(const DatosImagen& imagen, const Mascara& m, double p) {
  const size_t columnas = static_cast<size_t>(imagen.ancho) + 1;
  std::vector<double> bordes(columnas * (static_cast<size_t>(imagen.alto) + 1), 0);
  auto celda = [&](int32_t x, int32_t y) -> double& {
    return bordes[static_cast<size_t>(y) * columnas + static_cast<size_t>(x)];
  };
  for (int32_t x = 1; x <= imagen.ancho - 2; ++x)
    for (int32_t y = 1; y <= imagen.alto - 2; ++y) celda(x, y) = Xpix_lap(imagen.pixeles, m, x, y);
  std::vector<int64_t> cuentas(kValoresBorde, 0);
  for (int32_t x = 0; x < imagen.ancho; ++x)
    for (int32_t y = 0; y < imagen.alto; ++y)
      ++cuentas[static_cast<size_t>(std::min(celda(x, y), 5000.0))];
  const int nivel = Xhi_pct(cuentas, kNivelesBusqueda, int64_t{imagen.ancho} * imagen.alto, p);
  int64_t suma = 0, cuenta = 0;
  for (int32_t x = 0; x < imagen.ancho; ++x)
    for (int32_t y = 0; y < imagen.alto; ++y)
      if (celda(x, y) >= nivel) {
        suma += imagen.pixeles.gris(x, y);
        ++cuenta;
      }
  return static_cast<int>(std::nearbyint(static_cast<double>(suma) / static_cast<double>(cuenta)));
}

void BM_UsingEdgePixels(benchmark::State& state, std::vector<std::string> mascara, Mascara pesos) {
  DatosImagen& imagen = imagenCompartida();
  EntornoSimple e(imagen);
  for (size_t k = 0; k < 9; ++k) e.setTexto("Mask(" + std::to_string(k) + ")", mascara[k]);
  e.setTexto("PCTeDp", "85");
  const int umbral = correr(AlgoritmoUsingEdgePixels, e);
  if (umbral != edgeLiteral(imagen, pesos, 85)) fallar("Using Edge Pixels against the literal");
  for (auto _ : state) benchmark::DoNotOptimize(correr(AlgoritmoUsingEdgePixels, e));
  if (e.umbral() != umbral) fallar("Using Edge Pixels changed its result");
  state.counters["umbral"] = umbral;
}
BENCHMARK_CAPTURE(BM_UsingEdgePixels, laplacian,
                  std::vector<std::string>{"0", "1", "0", "1", "-4", "1", "0", "1", "0"},
                  Mascara{0, 1, 0, 1, -4, 1, 0, 1, 0})
    ->Unit(benchmark::kMillisecond);
// Fractional weights take the Double sum.
BENCHMARK_CAPTURE(BM_UsingEdgePixels, fractional,
                  std::vector<std::string>{"0", "0.5", "0", "0.5", "-2", "0.5", "0", "0.5", "0"},
                  Mascara{0, 0.5, 0, 0.5, -2, 0.5, 0, 0.5, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velarno

BENCHMARK_MAIN();
