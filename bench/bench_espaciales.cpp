// The three spatial methods on a 4000 x 3000 photo-like picture. Each benchmark first checks
// its result against a plain computation of the same thing, then times the method.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "../tests/methods/literal_espaciales.h"
#include "methods/entorno_simple.h"
#include "methods/moving_averages.h"
#include "methods/regional.h"
#include "methods/relajacion.h"

namespace velarno {
namespace {

constexpr int32_t kAncho = 4000;
constexpr int32_t kAlto = 3000;

// Smooth shading, a few dark and light discs, and grain.
const DatosImagen& foto() {
  static const DatosImagen imagen = [] {
    DatosImagen d;
    d.ancho = kAncho;
    d.alto = kAlto;
    d.pixeles = Pixeles(kAncho, kAlto);
    uint32_t semilla = 12345;
    for (int32_t y = 0; y < kAlto; ++y)
      for (int32_t x = 0; x < kAncho; ++x) {
        double g = 128 + 60 * std::sin(x / 310.0) * std::cos(y / 170.0) + (x - 2000) / 100.0;
        for (int k = 0; k < 12; ++k) {
          const double cx = 300 + 310.0 * k;
          const double cy = 250 + 230.0 * ((k * 7) % 12);
          const double r = 80 + 15.0 * k;
          if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r) g += k % 2 == 0 ? -70 : 60;
        }
        semilla = semilla * 1664525u + 1013904223u;
        g += static_cast<int>((semilla >> 24) % 21) - 10;
        d.pixeles.setGris(x, y, static_cast<uint8_t>(std::lround(std::fmin(255, std::fmax(0, g)))));
      }
    for (size_t i = 0; i < d.pixeles.cantidad(); ++i) ++d.histograma[d.pixeles.planoGris()[i]];
    return d;
  }();
  return imagen;
}

void fallo(const char* que) {
  std::fprintf(stderr, "bench_espaciales: %s differs from the plain computation\n", que);
  std::exit(1);
}

void BM_MovingAverages(benchmark::State& state) {
  DatosImagen imagen = foto();
  DatosImagen lento = foto();
  {
    EntornoSimple e(imagen);
    EntornoSimple el(lento);
    e.setTexto("CPct", "15");
    el.setTexto("CPct", "15");
    bool paso = false;
    AlgoritmoThrdd(e, paso);
    literal::Thrdd(el, paso);
    const uint8_t* negro = imagen.pixeles.planoNegro();
    if (!std::equal(negro, negro + imagen.pixeles.cantidad(), lento.pixeles.planoNegro()) ||
        e.traza().texto() != el.traza().texto())
      fallo("Moving Averages");
  }
  EntornoSimple e(imagen);
  e.setTexto("CPct", "15");
  for (auto _ : state) {
    bool paso = false;
    benchmark::DoNotOptimize(AlgoritmoThrdd(e, paso));
  }
}

void BM_RegionalThresholds(benchmark::State& state) {
  DatosImagen imagen = foto();
  EntornoSimple e(imagen);
  bool paso = false;
  AlgoritmoRegionalThreshold(e, paso);
  // A sample of pixels against the per-window threshold.
  for (int32_t r = 10; r <= kAlto - 10; r += 37)
    for (int32_t c = 10; c <= kAncho - 10; c += 41) {
      const int t = local2(imagen, r - 10, r + 10, c - 10, c + 10);
      if (imagen.pixeles.negro(c, r) != (imagen.pixeles.gris(c, r) < t)) fallo("Regional");
    }
  for (auto _ : state) {
    paso = false;
    benchmark::DoNotOptimize(AlgoritmoRegionalThreshold(e, paso));
  }
}

void BM_RelajacionPasada(benchmark::State& state) {
  const DatosImagen& imagen = foto();
  Probabilidades inicio(kAncho, kAlto);
  assign_class(imagen, "Rosenfeld", inicio);
  {
    Probabilidades pq = inicio;
    const std::optional<double> residuo = update(pq);
    // The residual, summed column after column, top to bottom, as the plain pass does.
    double suma = 0;
    for (int32_t x = 1; x < kAncho - 1; ++x)
      for (int32_t y = 1; y < kAlto - 1; ++y) {
        const size_t i = inicio.indice(x, y);
        suma = (std::fabs(inicio.p[i] - pq.p[i]) + suma) + std::fabs(inicio.q[i] - pq.q[i]);
      }
    if (!residuo || *residuo != suma) fallo("Relaxation residual");
    for (int32_t x = 1; x < kAncho - 1; x += 53)
      for (int32_t y = 1; y < kAlto - 1; y += 47) {
        const size_t i = inicio.indice(x, y);
        const double a0 = 1 + fQ(inicio, x, y, 0);
        const double a1 = 1 + fQ(inicio, x, y, 1);
        const double den = a1 * inicio.q[i] + a0 * inicio.p[i];
        if (pq.p[i] != a0 * inicio.p[i] / den || pq.q[i] != a1 * inicio.q[i] / den)
          fallo("Relaxation pass");
      }
  }
  Probabilidades pq = inicio;
  for (auto _ : state) benchmark::DoNotOptimize(update(pq));
}

void BM_RelajacionInicioParker(benchmark::State& state) {
  const DatosImagen& imagen = foto();
  Probabilidades pq(kAncho, kAlto);
  assign_class(imagen, "Parker", pq);
  for (int32_t x = 0; x < kAncho; x += 57)
    for (int32_t y = 0; y < kAlto; y += 43) {
      double m = 0;
      double xmin = 0;
      double xmax = 0;
      meanminmax(imagen, x, y, m, xmin, xmax);
      const double g = imagen.pixeles.gris(x, y);
      const double p = g <= m ? (m != xmin ? (m - g) / ((m - xmin) * 2) + 0.5 : 0.5)
                              : 1 - (xmax != m ? (g - m) / ((xmax - m) * 2) + 0.5 : 0.5);
      if (pq.p[pq.indice(x, y)] != p) fallo("Parker start-up");
    }
  for (auto _ : state) {
    assign_class(imagen, "Parker", pq);
    benchmark::DoNotOptimize(pq.p.data());
  }
}

BENCHMARK(BM_MovingAverages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegionalThresholds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelajacionPasada)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelajacionInicioParker)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velarno

BENCHMARK_MAIN();
