// The histogram methods on a 12-megapixel photo-like picture, straight runs: Percentage, Two
// Peaks, Iterative Selection in both modes and the grey-level method, plus the level count
// that the last two make of the pixels. The headless context only notes a published
// threshold, so the figures leave out the binarization that publishing triggers. Each result
// is checked against a plain computation first.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/foto_sintetica.h"
#include "image/colores.h"
#include "image/tipos.h"
#include "image/transformaciones.h"
#include "methods/dialogos_guion.h"
#include "methods/entorno.h"
#include "methods/entorno_simple.h"
#include "methods/grey_level.h"
#include "methods/iter_sel.h"
#include "methods/numeros.h"
#include "methods/porcentaje.h"
#include "methods/two_peaks.h"

namespace velarno {
namespace {

void exigir(bool condicion, const char* que) {
  if (!condicion) {
    std::fprintf(stderr, "bench_histograma_metodos: wrong result: %s\n", que);
    std::abort();
  }
}

DatosImagen& escena() {
  static DatosImagen imagen = [] {
    const QImage foto = fotoSintetica(4000, 3000);
    DatosImagen d;
    d.ancho = foto.width();
    d.alto = foto.height();
    d.pixeles = Pixeles(d.ancho, d.alto);
    for (int32_t y = 0; y < d.alto; ++y)
      grisesDesdeRGB32(reinterpret_cast<const uint32_t*>(foto.constScanLine(y)),
                       d.pixeles.filaGris(y), static_cast<size_t>(d.ancho));
    calcularHistograma(d);
    return d;
  }();
  return imagen;
}

// The level counts by a plain loop over every pixel.
std::array<int64_t, kNivelesGris> recuentoSimple(const DatosImagen& d) {
  std::array<int64_t, kNivelesGris> h{};
  for (int32_t y = 0; y < d.alto; ++y)
    for (int32_t x = 0; x < d.ancho; ++x) ++h[d.pixeles.gris(x, y)];
  return h;
}

// A straight run whose publication only notes the threshold.
Fin correr(Fin (*metodo)(Entorno&, bool&), EntornoSimple& e) {
  e.setBinarizarAlPublicar(false);
  bool paso = false;
  return metodo(e, paso);
}

void BM_Porcentaje(benchmark::State& state) {
  DatosImagen& d = escena();
  EntornoSimple e(d);
  e.setTexto("Tpct", "50");
  exigir(correr(AlgoritmoPorcentaje, e) == Fin::Publicado, "percentage published");
  int64_t acumulado = 0;
  int esperado = 0;
  while ((acumulado += d.histograma[static_cast<size_t>(esperado)]) < 6'000'000) ++esperado;
  exigir(e.umbralPublicado() == esperado, "percentage threshold");
  for (auto _ : state) {
    correr(AlgoritmoPorcentaje, e);
    benchmark::DoNotOptimize(e.umbral());
  }
}

void BM_TwoPeaks(benchmark::State& state) {
  DatosImagen& d = escena();
  EntornoSimple e(d);
  exigir(correr(AlgoritmoTwoPeak, e) == Fin::Publicado, "two peaks published");
  const auto& h = d.histograma;
  const auto p1 = std::max_element(h.begin(), h.end()) - h.begin();
  exigir(e.traza().lineas().at(4) == "Primer pico en:" + textoEntero(p1), "first peak");
  const int p2 = std::stoi(e.traza().lineas().at(7).substr(16));
  const auto desde = h.begin() + std::min<int64_t>(p1, p2);
  const auto hasta = h.begin() + std::max<int64_t>(p1, p2) + 1;
  const auto valle = std::min_element(desde, hasta) - h.begin();
  exigir(h[static_cast<size_t>(valle)] < h[static_cast<size_t>(p1)] ? e.umbralPublicado() == valle
                                                                    : e.umbralPublicado() == p1,
         "two peaks valley");
  for (auto _ : state) {
    correr(AlgoritmoTwoPeak, e);
    benchmark::DoNotOptimize(e.umbral());
  }
}

void BM_IterSelRapido(benchmark::State& state) {
  DatosImagen& d = escena();
  EntornoSimple e(d);
  exigir(correr(AlgoritmoIterSel, e) == Fin::Publicado, "fast mode published");
  const auto h = recuentoSimple(d);
  int64_t suma = 0;
  for (int g = 0; g < kNivelesGris; ++g) suma += g * h[static_cast<size_t>(g)];
  int64_t t = redondear(static_cast<double>(suma) / 12e6);
  for (int64_t anterior = -1; t != anterior;) {
    anterior = t;
    int64_t sb = 0, cb = 0, sf = 0, cf = 0;
    for (int g = 0; g < kNivelesGris; ++g) {
      const int64_t c = h[static_cast<size_t>(g)];
      if (g <= anterior) {
        sb += g * c;
        cb += c;
      } else {
        sf += g * c;
        cf += c;
      }
    }
    t = redondear(static_cast<double>(sf) / static_cast<double>(std::max<int64_t>(2 * cf, 1)) +
                  static_cast<double>(sb) / static_cast<double>(std::max<int64_t>(2 * cb, 1)));
  }
  exigir(e.umbralPublicado() == t, "fast mode threshold");
  for (auto _ : state) {
    correr(AlgoritmoIterSel, e);
    benchmark::DoNotOptimize(e.umbral());
  }
}

// The whole normal-mode run (its own level count, then every pass); the pass count is
// reported so that the time of one pass can be read off.
void BM_IterSelNormal(benchmark::State& state) {
  DatosImagen& d = escena();
  EntornoSimple e(d);
  exigir(correr(algoritmoIterSelNormal, e) == Fin::Publicado, "normal mode published");
  // The literal iteration, pixel by pixel in Double.
  const uint8_t* g = d.pixeles.planoGris();
  double suma = 0;
  for (size_t i = 0; i < d.pixeles.cantidad(); ++i) suma += g[i];
  double t = suma / 12e6;
  int pasadas = 0;
  for (bool igual = false; !igual; ++pasadas) {
    double sa = 0, sb = 0;
    int64_t ca = 0, cb = 0;
    for (size_t i = 0; i < d.pixeles.cantidad(); ++i) {
      if (g[i] < t) {
        sa += g[i];
        ++ca;
      } else {
        sb += g[i];
        ++cb;
      }
    }
    const double nuevo = (sa / static_cast<double>(std::max<int64_t>(ca, 1)) +
                          sb / static_cast<double>(std::max<int64_t>(cb, 1))) /
                         2;
    igual = nuevo == t;
    t = nuevo;
  }
  exigir(e.umbralPublicado() == redondear(t), "normal mode threshold");
  for (auto _ : state) {
    correr(algoritmoIterSelNormal, e);
    benchmark::DoNotOptimize(e.umbral());
  }
  state.counters["pasadas"] = pasadas;
}

void BM_GreyLevel(benchmark::State& state) {
  DatosImagen& d = escena();
  EntornoSimple e(d);
  exigir(correr(AlgoritmoGreyLevel, e) == Fin::Publicado, "grey level published");
  const auto h = recuentoSimple(d);
  ProbabilidadesIndice p{};
  for (int i = 1; i <= 256; ++i)
    p[static_cast<size_t>(i)] = static_cast<double>(h[static_cast<size_t>(i - 1)]) / 12e6;
  const double ut = u(p, 256);
  double vt = 0;
  for (int i = 1; i <= 256; ++i) vt += ((i - ut) * (i - ut)) * p[static_cast<size_t>(i)];
  int primero = 1;
  int ultimo = 256;
  while (p[static_cast<size_t>(primero)] == 0) ++primero;
  while (p[static_cast<size_t>(ultimo)] == 0) --ultimo;
  double mejor = -1;
  int mejorK = -1;
  for (int k = primero; k <= ultimo; ++k) {
    const double eta = nu(p, k, ut, vt);
    if (eta >= mejor) {
      mejor = eta;
      mejorK = k;
    }
  }
  exigir(e.umbralPublicado() == mejorK, "grey level threshold");
  for (auto _ : state) {
    correr(AlgoritmoGreyLevel, e);
    benchmark::DoNotOptimize(e.umbral());
  }
}

void BM_RecuentoNiveles(benchmark::State& state) {
  DatosImagen& d = escena();
  exigir(recuentoNiveles(d.pixeles) == recuentoSimple(d), "level count");
  for (auto _ : state) benchmark::DoNotOptimize(recuentoNiveles(d.pixeles));
}

BENCHMARK(BM_Porcentaje)->Unit(benchmark::kMicrosecond)->Repetitions(11);
BENCHMARK(BM_TwoPeaks)->Unit(benchmark::kMicrosecond)->Repetitions(11);
BENCHMARK(BM_IterSelRapido)->Unit(benchmark::kMicrosecond)->Repetitions(11);
BENCHMARK(BM_IterSelNormal)->Unit(benchmark::kMillisecond)->Repetitions(11);
BENCHMARK(BM_GreyLevel)->Unit(benchmark::kMillisecond)->Repetitions(11);
BENCHMARK(BM_RecuentoNiveles)->Unit(benchmark::kMillisecond)->Repetitions(11);

}  // namespace
}  // namespace velarno

BENCHMARK_MAIN();
