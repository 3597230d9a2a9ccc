// The Mean method on a 12-megapixel picture, straight run through the headless context: the
// sum of the grey levels, the trace and the publication (which binarizes the record).
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "image/tipos.h"
#include "methods/entorno_simple.h"
#include "methods/mean.h"
#include "methods/numeros.h"

namespace velarno {
namespace {

void exigir(bool condicion, const char* que) {
  if (!condicion) {
    std::fprintf(stderr, "bench_mean: wrong result: %s\n", que);
    std::abort();
  }
}

// A 4000 x 3000 record with a gradient and some noise, and its plain row-by-row sum.
struct Escena {
  DatosImagen imagen;
  int64_t suma = 0;
  Escena() {
    imagen.ancho = 4000;
    imagen.alto = 3000;
    imagen.pixeles = Pixeles(imagen.ancho, imagen.alto);
    uint32_t estado = 12345;
    for (int32_t y = 0; y < imagen.alto; ++y) {
      for (int32_t x = 0; x < imagen.ancho; ++x) {
        estado = estado * 1664525U + 1013904223U;
        const int g = (x / 20 + y / 15) % 200 + static_cast<int>((estado >> 24) & 31U);
        imagen.pixeles.setGris(x, y, static_cast<uint8_t>(g));
        suma += g;
      }
    }
  }
};

void BM_MeanRecta(benchmark::State& state) {
  static Escena escena;
  EntornoSimple entorno(escena.imagen);
  bool paso = false;
  exigir(AlgoritmoMean(entorno, paso) == Fin::Publicado, "run ends published");
  const int esperado = static_cast<int>(redondear(static_cast<double>(escena.suma) / 12e6));
  exigir(entorno.umbralPublicado() == esperado, "threshold");
  exigir(entorno.traza().lineas().at(2) == "suma Total: " + textoEntero(escena.suma), "sum");
  for (auto _ : state) {
    AlgoritmoMean(entorno, paso);
    benchmark::DoNotOptimize(entorno.umbral());
  }
  state.SetBytesProcessed(state.iterations() * 12'000'000);
}
BENCHMARK(BM_MeanRecta)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velarno

BENCHMARK_MAIN();
