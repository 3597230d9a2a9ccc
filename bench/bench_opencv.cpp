// OpenCV's grey conversion, histogram and threshold on the same 12-megapixel photo as
// bench_imagen, as a reference for its figures. Built only when OpenCV is installed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <benchmark/benchmark.h>

#include "bench/foto_sintetica.h"

namespace velarno {
namespace {

void exigir(bool condicion, const char* que) {
  if (!condicion) {
    std::fprintf(stderr, "bench_opencv: wrong result: %s\n", que);
    std::abort();
  }
}

struct Escena {
  QImage foto = fotoSintetica();
  // Qt's RGB32 lies in memory as B, G, R, A on this little-endian machine.
  cv::Mat bgra{foto.height(), foto.width(), CV_8UC4, foto.bits(),
               static_cast<size_t>(foto.bytesPerLine())};
  cv::Mat gris;
  cv::Mat histograma;
  cv::Mat binaria;
};

Escena& escena() {
  static Escena e;
  return e;
}

void histograma(Escena& e) {
  const int canales[] = {0};
  const int tamanos[] = {256};
  const float rango[] = {0, 256};
  const float* rangos[] = {rango};
  cv::calcHist(&e.gris, 1, canales, cv::Mat(), e.histograma, 1, tamanos, rangos);
}

void BM_CvtColor(benchmark::State& state) {
  Escena& e = escena();
  for (auto _ : state) {
    cv::cvtColor(e.bgra, e.gris, cv::COLOR_BGRA2GRAY);
    benchmark::ClobberMemory();
  }
  exigir(e.gris.rows == e.foto.height() && e.gris.cols == e.foto.width(), "grey size");
}
BENCHMARK(BM_CvtColor)->Unit(benchmark::kMillisecond);

void BM_CalcHist(benchmark::State& state) {
  Escena& e = escena();
  cv::cvtColor(e.bgra, e.gris, cv::COLOR_BGRA2GRAY);
  for (auto _ : state) {
    histograma(e);
    benchmark::ClobberMemory();
  }
  exigir(cv::sum(e.histograma)[0] == static_cast<double>(e.gris.total()), "histogram total");
}
BENCHMARK(BM_CalcHist)->Unit(benchmark::kMillisecond);

void BM_CvtColorMasCalcHist(benchmark::State& state) {
  Escena& e = escena();
  for (auto _ : state) {
    cv::cvtColor(e.bgra, e.gris, cv::COLOR_BGRA2GRAY);
    histograma(e);
    benchmark::ClobberMemory();
  }
  exigir(cv::sum(e.histograma)[0] == static_cast<double>(e.gris.total()), "histogram total");
}
BENCHMARK(BM_CvtColorMasCalcHist)->Unit(benchmark::kMillisecond);

void BM_Threshold(benchmark::State& state) {
  Escena& e = escena();
  cv::cvtColor(e.bgra, e.gris, cv::COLOR_BGRA2GRAY);
  for (auto _ : state) {
    // Black below 128: binary inverse at 127 gives 1 for levels 0..127.
    cv::threshold(e.gris, e.binaria, 127, 1, cv::THRESH_BINARY_INV);
    benchmark::ClobberMemory();
  }
  exigir(e.binaria.at<uint8_t>(0, 0) == (e.gris.at<uint8_t>(0, 0) < 128 ? 1 : 0), "threshold");
}
BENCHMARK(BM_Threshold)->Unit(benchmark::kMillisecond);

// The same calls on one thread, as ours run: OpenCV spreads these over every core by default,
// and Google Benchmark's CPU time counts only the calling thread.
void BM_UnHilo(benchmark::State& state) {
  const int hilos = cv::getNumThreads();
  cv::setNumThreads(1);
  Escena& e = escena();
  for (auto _ : state) {
    if (state.range(0) == 0) {
      cv::cvtColor(e.bgra, e.gris, cv::COLOR_BGRA2GRAY);
      histograma(e);
    } else {
      cv::threshold(e.gris, e.binaria, 127, 1, cv::THRESH_BINARY_INV);
    }
    benchmark::ClobberMemory();
  }
  cv::setNumThreads(hilos);
}
BENCHMARK(BM_UnHilo)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("cvtColorMasCalcHist_o_Threshold")
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velarno

BENCHMARK_MAIN();
