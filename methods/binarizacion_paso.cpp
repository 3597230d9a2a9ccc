#include "methods/binarizacion_paso.h"

#include <cstring>
#include <string>

#include "image/representaciones.h"
#include "image/transformaciones.h"
#include "methods/numeros.h"
#include "methods/protocolo.h"

namespace velarno {
namespace {

std::string textoPregunta(int32_t x, int32_t y, int16_t g, bool negro) {
  return "Nivel de gris del punto (" + textoEntero(x) + "," + textoEntero(y) +
         "): " + textoEntero(g) + "\rSerá convertido a: " + (negro ? "Negro" : "Blanco") +
         "\r\r¿Seguir ejecución paso a paso?";
}

}  // namespace

void binarizar(DatosImagen& imagen, int64_t umbral, bool& pasoAPaso, Dialogos& dialogos,
               Superficie& destino, const std::function<void()>& alDibujar) {
  if (!pasoAPaso) {
    binarizar(imagen, umbral);
    return;
  }
  Pixeles& pixeles = imagen.pixeles;
  std::memset(pixeles.planoNegro(), 0, pixeles.cantidad());
  // The user watches the picture grow from white, prompt by prompt.
  const auto dibujar = [&] {
    dibujarBinarizada(destino, imagen);
    if (alDibujar) alDibujar();
  };
  dibujar();
  for (int32_t x = 0; x < imagen.ancho; ++x) {
    for (int32_t y = 0; y < imagen.alto; ++y) {
      const Pixel pixel = pixeles(x, y);
      const bool negro = esNegro(pixel, umbral);
      pixeles.setNegro(x, y, negro);
      const auto g = static_cast<int16_t>(pixel.gris);
      pasoCancelado(dialogos, "Segmentar paso a paso", textoPregunta(x, y, g, g < umbral),
                    pasoAPaso);
      dibujar();
      if (!pasoAPaso) {
        // The pixels left are decided without prompts; deciding again the ones already
        // asked about gives them the same value.
        binarizar(imagen, umbral);
        return;
      }
    }
  }
}

}  // namespace velarno
