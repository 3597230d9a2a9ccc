#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "image/tipos.h"

namespace velarno {

// An image record built from rows of grey levels (rows[y][x]), with its histogram computed
// and every negro false, as after opening a picture.
inline DatosImagen imagenDesdeFilas(const std::vector<std::vector<int>>& filas) {
  DatosImagen imagen;
  imagen.alto = static_cast<int32_t>(filas.size());
  imagen.ancho = filas.empty() ? 0 : static_cast<int32_t>(filas[0].size());
  imagen.pixeles = Pixeles(imagen.ancho, imagen.alto);
  for (int32_t y = 0; y < imagen.alto; ++y)
    for (int32_t x = 0; x < imagen.ancho; ++x)
      imagen.pixeles.setGris(x, y, static_cast<uint8_t>(filas[y][x]));
  imagen.histograma.fill(0);
  imagen.maxHistograma = 0;
  for (int32_t y = 0; y < imagen.alto; ++y)
    for (int32_t x = 0; x < imagen.ancho; ++x) {
      int64_t& cuenta = imagen.histograma[imagen.pixeles.gris(x, y)];
      if (++cuenta > imagen.maxHistograma) imagen.maxHistograma = cuenta;
    }
  return imagen;
}

// An ancho x alto record of one grey level.
inline DatosImagen imagenUniforme(int32_t ancho, int32_t alto, int gris) {
  return imagenDesdeFilas(std::vector<std::vector<int>>(
      static_cast<size_t>(alto), std::vector<int>(static_cast<size_t>(ancho), gris)));
}

// A reproducible random record (levels lo..hi).
inline DatosImagen imagenAleatoria(int32_t ancho, int32_t alto, unsigned semilla, int lo = 0,
                                   int hi = 255) {
  std::mt19937 azar(semilla);
  std::uniform_int_distribution<int> nivel(lo, hi);
  std::vector<std::vector<int>> filas(static_cast<size_t>(alto),
                                      std::vector<int>(static_cast<size_t>(ancho)));
  for (auto& fila : filas)
    for (int& g : fila) g = nivel(azar);
  return imagenDesdeFilas(filas);
}

}  // namespace velarno
