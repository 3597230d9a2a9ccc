#include "image/representaciones.h"

#include <algorithm>
#include <cmath>

#include "image/colores.h"
#include "image/transformaciones.h"

namespace velarno {

namespace {

// The part of the image that fits on the surface, each side rounded half to even.
struct Recorte {
  int32_t ancho;
  int32_t alto;
};
Recorte recorte(const Superficie& superficie, const DatosImagen& imagen) {
  const float h =
      minimo(static_cast<float>(superficie.altoPixeles()), static_cast<float>(imagen.alto));
  const float w =
      minimo(static_cast<float>(superficie.anchoPixeles()), static_cast<float>(imagen.ancho));
  return {static_cast<int32_t>(std::nearbyint(w)), static_cast<int32_t>(std::nearbyint(h))};
}

// Count of one level of the histogram; a level outside 0..255 has none.
int64_t cuentaNivel(const DatosImagen& imagen, float nivel) {
  const float k = std::nearbyint(nivel);
  if (!(k >= 0 && k <= 255)) return 0;
  return imagen.histograma[static_cast<size_t>(k)];
}

}  // namespace

float minimo(float a, float b) { return a <= b ? a : b; }

void dimensionarImagen(const Superficie& superficie, DatosImagen& imagen) {
  const int32_t ancho = superficie.anchoPixeles();
  const int32_t alto = superficie.altoPixeles();
  assert(ancho <= kMaxLado && alto <= kMaxLado && int64_t{ancho} * int64_t{alto} <= kMaxPixeles);
  imagen.ancho = ancho;
  imagen.alto = alto;
  imagen.pixeles = Pixeles(ancho, alto);
}

void leerPixeles(const Superficie& superficie, DatosImagen& imagen) {
  Pixeles& pixeles = imagen.pixeles;
  const int32_t ancho = imagen.ancho;
  const int32_t alto = imagen.alto;
  // Pixels of the record beyond the surface read as -1, like any read outside it.
  const auto fuera = static_cast<uint8_t>(nivelGris(-1));
  const int32_t w = std::min(ancho, superficie.anchoPixeles());
  const int32_t h = std::min(alto, superficie.altoPixeles());
  for (int32_t y = 0; y < alto; ++y) {
    uint8_t* fila = pixeles.filaGris(y);
    int32_t x = 0;
    if (y < h) {
      if (const uint32_t* colores = superficie.filaRGB32(y)) {
        grisesDesdeRGB32(colores, fila, static_cast<size_t>(w));
      } else {
        for (int32_t i = 0; i < w; ++i)
          fila[i] = static_cast<uint8_t>(nivelGris(superficie.leerColor(i, y)));
      }
      x = w;
    }
    for (; x < ancho; ++x) fila[x] = fuera;
  }
}

void dibujarGrises(Superficie& superficie, const DatosImagen& imagen) {
  const Recorte r = recorte(superficie, imagen);
  if (r.ancho <= 0 || r.alto <= 0) return;
  superficie.escribirGrises(imagen.pixeles.planoGris(), static_cast<size_t>(imagen.ancho), r.ancho,
                            r.alto);
}

void dibujarBinarizada(Superficie& superficie, const DatosImagen& imagen) {
  const Recorte r = recorte(superficie, imagen);
  if (r.ancho <= 0 || r.alto <= 0) return;
  superficie.escribirBlancoNegro(imagen.pixeles.planoNegro(), static_cast<size_t>(imagen.ancho),
                                 r.ancho, r.alto);
}

EscalaHistograma escalaHistograma(const DatosImagen& imagen) {
  EscalaHistograma escala;
  escala.escalaVertical = porcentaje(imagen.maxHistograma, imagen.maxHistograma);
  escala.margenSuperior = escala.escalaVertical / 10;
  escala.margenInferior = escala.escalaVertical / 10;
  return escala;
}

void dibujarHistograma(Superficie& superficie, const DatosImagen& imagen, float umbral) {
  const EscalaHistograma escala = escalaHistograma(imagen);
  const float arriba = escala.margenInferior + escala.escalaVertical + escala.margenSuperior;
  superficie.escala(0, arriba, 301, 0);
  if (escala.escalaVertical > 0) dibujarBarras(superficie, imagen, escala);
  dibujarMarcaUmbral(superficie, umbral, imagen, escala);
  dibujarEjes(superficie, escala);
}

void dibujarBarras(Superficie& superficie, const DatosImagen& imagen,
                   const EscalaHistograma& escala) {
  const float m = escala.margenInferior;
  for (int i = 0; i < kNivelesGris; ++i) {
    const float p =
        std::nearbyint(porcentaje(imagen.histograma[static_cast<size_t>(i)], imagen.maxHistograma));
    const auto x = static_cast<float>(i + 20);
    superficie.linea(x, m, x, m + p, kNegro);
  }
}

void dibujarMarcaUmbral(Superficie& superficie, float umbral, const DatosImagen& imagen,
                        const EscalaHistograma& escala) {
  const float x = umbral + 20;
  const float m = escala.margenInferior;
  superficie.linea(x, m / 2, x, m, kRojo);
  superficie.linea(x - 2, m / 2, x, m, kRojo);
  superficie.linea(x + 2, m / 2, x, m, kRojo);
  const float t = porcentaje(cuentaNivel(imagen, umbral), imagen.maxHistograma) + m;
  superficie.linea(x, t, x, t + m, kRojo);
  superficie.linea(x, t, x - 2, t + m, kRojo);
  superficie.linea(x, t, x + 2, t + m, kRojo);
}

void dibujarEjes(Superficie& superficie, const EscalaHistograma& escala) {
  const int grosor = superficie.grosorLinea();
  superficie.setGrosorLinea(1);
  const float m = escala.margenInferior;
  superficie.linea(6, m, 276, m, kAzul);
  superficie.linea(10, m - 2, 10, escala.escalaVertical + m, kAzul);
  const float arriba = escala.margenInferior + escala.escalaVertical + escala.margenSuperior;
  escribirTexto(superficie, "Nº pixels", 10, arriba);
  escribirTexto(superficie, "Nivel", 266, m);
  superficie.setGrosorLinea(grosor);
}

void escribirTexto(Superficie& superficie, const std::string& texto, float x, float y) {
  superficie.fuente("arial", 8, true);
  superficie.texto(x, y, texto);
  superficie.fuente("arial", 8, false);
}

}  // namespace velarno
