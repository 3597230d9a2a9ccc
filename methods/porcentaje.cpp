// Percentage (the p-tile method, Doyle 1962): walks the histogram from level 0 upwards and
// stops at the first level where the accumulated count reaches p % of the pixels. The pixel
// count, the target and the accumulated count are 64-bit; the level stays within 0..255.
#include "methods/porcentaje.h"

#include <optional>
#include <string>

#include "methods/numeros.h"

namespace velarno {
namespace {

constexpr char kTitulo[] = "Porcentaje no válido";

}  // namespace

Fin AlgoritmoPorcentaje(Entorno& entorno, bool& paso) {
  const std::string texto = entorno.texto("Tpct");
  const char separador = entorno.separadorDecimal();
  if (!esNumerico(texto, separador)) {
    entorno.dialogos().informar(kTitulo, "Introduzca un valor.\rDebe ser un número entre 0 y 100.",
                                kEstiloExclamacion);
    return Fin::Rechazado;
  }
  // Outside the 16-bit range counts as out of 0..100 as well.
  const std::optional<int16_t> entero = aEntero16(texto, separador);
  if (!entero || *entero > 100 || *entero < 0) {
    entorno.dialogos().informar(kTitulo, "Porcentaje no válido.\rDebe ser un número entre 0 y 100.",
                                kEstiloExclamacion);
    return Fin::Rechazado;
  }

  const DatosImagen& imagen = entorno.imagen();
  const auto& histograma = imagen.histograma;
  // The target uses the typed value, not the rounded one of the check above.
  const double p = *aDouble(texto, separador);
  const int64_t n = int64_t{imagen.alto} * imagen.ancho;
  const int64_t objetivo = redondear((p / 100) * static_cast<double>(n));

  Traza& traza = entorno.traza();
  traza.limpiar();
  // "pocentaje" is the established spelling of this header.
  traza.agregar("Iniciando Algoritmo del pocentaje. Porcentaje (" + texto + ")");
  traza.agregar(std::string(51, '='));
  traza.agregar("");
  traza.agregar("Nº de pixeles de la imagen: " + textoEntero(n));
  traza.agregar("Pixeles dentro del umbral (" + texto + "/100*" + textoEntero(n) +
                "): " + textoEntero(objetivo));
  traza.agregar("");

  int64_t contados = histograma[0];
  int nivel = 0;
  // The scan never passes 255: a target above the pixel count ends there.
  while (contados < objetivo && nivel < kNivelesGris - 1) {
    ++nivel;
    contados += histograma[nivel];
    if (paso) {
      const std::string lineaNivel =
          "histograma (" + textoEntero(nivel) + "): " + textoEntero(histograma[nivel]);
      const std::string lineaContados = "Pixeles contados: " + textoEntero(contados);
      traza.agregar(lineaNivel);
      traza.agregar(lineaContados);
      traza.agregar("");
      // This prompt separates its lines with CR LF.
      if (entorno.dialogos().preguntar("Ejecución Paso a paso",
                                       lineaNivel + "\r\n" + lineaContados +
                                           "\r\n\r\n¿Seguir con la ejecución paso a paso?") ==
          kNo) {
        paso = false;
        traza.agregar("Ejecución paso a paso cancelado.");
        traza.agregar("");
      }
    }
  }

  traza.agregar("Umbral encontrado: " + textoEntero(nivel));
  traza.agregar("Algoritmo Porcentaje finalizado.");
  entorno.publicar(nivel);
  return Fin::Publicado;
}

}  // namespace velarno
