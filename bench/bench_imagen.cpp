// The image kernels on a 12-megapixel photo: grey conversion, histogram, binarization and
// drawing the grey and binarized pictures into their Qt surfaces.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "bench/foto_sintetica.h"
#include "image/colores.h"
#include "image/representaciones.h"
#include "image/tipos.h"
#include "image/transformaciones.h"
#include "platform/superficie_qimage.h"

namespace velarno {
namespace {

void exigir(bool condicion, const char* que) {
  if (!condicion) {
    std::fprintf(stderr, "bench_imagen: wrong result: %s\n", que);
    std::abort();
  }
}

struct Escena {
  SuperficieQImage buffer{QImage::Format_RGB32, Qt::white};
  DatosImagen imagen;
  Escena() {
    buffer.setImagen(fotoSintetica());
    dimensionarImagen(buffer, imagen);
    leerPixeles(buffer, imagen);
    calcularHistograma(imagen);
  }
};

Escena& escena() {
  static Escena e;
  return e;
}

// Grey levels of a few pixels by the one-colour rule, and the histogram's total.
void comprobarGrises(const Escena& e) {
  for (int32_t y = 0; y < e.imagen.alto; y += 997)
    for (int32_t x = 0; x < e.imagen.ancho; x += 991)
      exigir(e.imagen.pixeles.gris(x, y) == nivelGris(e.buffer.leerColor(x, y)), "grey level");
}

void BM_LeerPixeles(benchmark::State& state) {
  Escena& e = escena();
  for (auto _ : state) {
    leerPixeles(e.buffer, e.imagen);
    benchmark::ClobberMemory();
  }
  comprobarGrises(e);
}
BENCHMARK(BM_LeerPixeles)->Unit(benchmark::kMillisecond);

void BM_CalcularHistograma(benchmark::State& state) {
  Escena& e = escena();
  for (auto _ : state) {
    calcularHistograma(e.imagen);
    benchmark::DoNotOptimize(e.imagen.maxHistograma);
  }
  int64_t total = 0;
  for (int64_t c : e.imagen.histograma) total += c;
  exigir(total == int64_t{e.imagen.ancho} * e.imagen.alto, "histogram total");
}
BENCHMARK(BM_CalcularHistograma)->Unit(benchmark::kMillisecond);

void BM_GrisesMasHistograma(benchmark::State& state) {
  Escena& e = escena();
  for (auto _ : state) {
    leerPixeles(e.buffer, e.imagen);
    calcularHistograma(e.imagen);
    benchmark::DoNotOptimize(e.imagen.maxHistograma);
  }
  comprobarGrises(e);
}
BENCHMARK(BM_GrisesMasHistograma)->Unit(benchmark::kMillisecond);

void BM_Binarizar(benchmark::State& state) {
  Escena& e = escena();
  for (auto _ : state) {
    binarizar(e.imagen, 128);
    benchmark::ClobberMemory();
  }
  int64_t negros = 0;
  const uint8_t* negro = e.imagen.pixeles.planoNegro();
  for (size_t i = 0; i < e.imagen.pixeles.cantidad(); ++i) negros += negro[i];
  int64_t bajo = 0;
  for (size_t g = 0; g < 128; ++g) bajo += e.imagen.histograma[g];
  exigir(negros == bajo, "black pixels = histogram below the threshold");
}
BENCHMARK(BM_Binarizar)->Unit(benchmark::kMillisecond);

void BM_DibujarGrises(benchmark::State& state) {
  Escena& e = escena();
  SuperficieQImage gris(QImage::Format_Grayscale8, Qt::white);
  gris.redimensionar(e.imagen.ancho, e.imagen.alto);
  for (auto _ : state) {
    dibujarGrises(gris, e.imagen);
    benchmark::ClobberMemory();
  }
  exigir(gris.leerColor(1234, 2345) == rgb(e.imagen.pixeles.gris(1234, 2345),
                                           e.imagen.pixeles.gris(1234, 2345),
                                           e.imagen.pixeles.gris(1234, 2345)),
         "grey drawing");
}
BENCHMARK(BM_DibujarGrises)->Unit(benchmark::kMillisecond);

void BM_DibujarBinarizada(benchmark::State& state) {
  Escena& e = escena();
  binarizar(e.imagen, 128);
  SuperficieQImage binarizada(QImage::Format_Grayscale8, Qt::white);
  binarizada.redimensionar(e.imagen.ancho, e.imagen.alto);
  for (auto _ : state) {
    dibujarBinarizada(binarizada, e.imagen);
    benchmark::ClobberMemory();
  }
  for (int32_t y = 0; y < e.imagen.alto; y += 499)
    for (int32_t x = 0; x < e.imagen.ancho; x += 503)
      exigir(binarizada.leerColor(x, y) == (e.imagen.pixeles.negro(x, y) ? kNegro : kBlanco),
             "binarized drawing");
}
BENCHMARK(BM_DibujarBinarizada)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velarno

BENCHMARK_MAIN();
