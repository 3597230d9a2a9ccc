#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
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

// An ancho x alto record of one grey level, filled directly so that large ones are quick.
inline DatosImagen imagenUniforme(int32_t ancho, int32_t alto, int gris) {
  DatosImagen imagen;
  imagen.ancho = ancho;
  imagen.alto = alto;
  imagen.pixeles = Pixeles(ancho, alto);
  std::fill_n(imagen.pixeles.planoGris(), imagen.pixeles.cantidad(), static_cast<uint8_t>(gris));
  imagen.histograma[static_cast<size_t>(gris)] = static_cast<int64_t>(imagen.pixeles.cantidad());
  imagen.maxHistograma = imagen.histograma[static_cast<size_t>(gris)];
  return imagen;
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

// A smooth ramp: level (x * pasoX + y * pasoY) mod 256 at column x, row y.
inline DatosImagen degradado(int ancho, int alto, int pasoX, int pasoY) {
  std::vector<std::vector<int>> filas(static_cast<size_t>(alto),
                                      std::vector<int>(static_cast<size_t>(ancho)));
  for (int y = 0; y < alto; ++y)
    for (int x = 0; x < ancho; ++x) filas[y][x] = (x * pasoX + y * pasoY) % 256;
  return imagenDesdeFilas(filas);
}

// A record whose stored histogram is given directly, without pixels (the histogram methods
// read nothing else); `ancho` x `alto` must be its total.
inline DatosImagen imagenDeHistograma(int32_t ancho, int32_t alto,
                                      const std::map<int, int64_t>& cuentas) {
  DatosImagen imagen;
  imagen.ancho = ancho;
  imagen.alto = alto;
  for (const auto& [nivel, cuenta] : cuentas)
    imagen.histograma[static_cast<size_t>(nivel)] = cuenta;
  return imagen;
}

// A one-row picture holding `cuenta` pixels of each level `nivel` in `cuentas`, by level.
inline DatosImagen imagenDeCuentas(const std::map<int, int>& cuentas) {
  std::vector<int> fila;
  for (const auto& [nivel, cuenta] : cuentas) fila.insert(fila.end(), cuenta, nivel);
  return imagenDesdeFilas({fila});
}

// The negro and grey planes of a record, row after row.
inline std::vector<uint8_t> planoNegro(const DatosImagen& imagen) {
  const uint8_t* plano = imagen.pixeles.planoNegro();
  return std::vector<uint8_t>(plano, plano + imagen.pixeles.cantidad());
}
inline std::vector<uint8_t> planoGris(const DatosImagen& imagen) {
  const uint8_t* plano = imagen.pixeles.planoGris();
  return std::vector<uint8_t>(plano, plano + imagen.pixeles.cantidad());
}

}  // namespace velarno
