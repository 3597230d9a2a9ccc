#pragma once

#include <cmath>
#include <cstdint>

#include <QImage>

namespace velarno {

// A reproducible photo-like picture (Format_RGB32): smooth colour gradients, a few soft
// shapes and some sensor-like noise, so histograms and grey levels spread as in a real
// photograph rather than in uniform random noise.
inline QImage fotoSintetica(int ancho = 4000, int alto = 3000) {
  QImage foto(ancho, alto, QImage::Format_RGB32);
  uint32_t estado = 12345;
  for (int y = 0; y < alto; ++y) {
    auto* fila = reinterpret_cast<uint32_t*>(foto.scanLine(y));
    const double v = static_cast<double>(y) / alto;
    for (int x = 0; x < ancho; ++x) {
      const double u = static_cast<double>(x) / ancho;
      estado = estado * 1664525U + 1013904223U;
      const int ruido = static_cast<int>((estado >> 24) & 15U) - 8;
      const double onda = std::sin(u * 9.0) * std::cos(v * 7.0);
      const double d = (u - 0.6) * (u - 0.6) + (v - 0.4) * (v - 0.4);
      const double mancha = d < 0.04 ? 60.0 * (1.0 - d / 0.04) : 0.0;
      auto canal = [&](double base) {
        const int c = static_cast<int>(base) + ruido;
        return static_cast<uint32_t>(c < 0 ? 0 : (c > 255 ? 255 : c));
      };
      const uint32_t r = canal(90 + 80 * u + 40 * onda + mancha);
      const uint32_t g = canal(70 + 100 * v + 30 * onda + mancha * 0.5);
      const uint32_t b = canal(60 + 60 * (1 - u) * v + 50 * onda);
      fila[x] = 0xFF000000U | (r << 16) | (g << 8) | b;
    }
  }
  return foto;
}

}  // namespace velarno
