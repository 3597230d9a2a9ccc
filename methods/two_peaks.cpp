// Two Peaks: the threshold is the valley between the two dominant peaks of the histogram.
// The second peak is scored by its squared distance from the first times its count, so that
// a high neighbour of the first peak does not beat a lower but distant one. Scores are
// 64-bit: a count of any picture size times 255² cannot overflow them.
#include "methods/two_peaks.h"

#include <algorithm>
#include <string>

#include "methods/numeros.h"
#include "methods/protocolo.h"

namespace velarno {

Fin AlgoritmoTwoPeak(Entorno& entorno, bool& paso) {
  const auto& h = entorno.imagen().histograma;
  Traza& traza = entorno.traza();
  Dialogos& dialogos = entorno.dialogos();
  const bool pasoInicial = paso;

  traza.limpiar();
  traza.agregar("Iniciando algoritmo Two Peak");
  traza.agregar(std::string(28, '='));
  traza.agregar("");
  traza.agregar("Iniciando calculo del primer punto.");

  int p1 = 0;
  for (int k = 0; k < kNivelesGris; ++k) {
    // The per-level lines belong to step mode; the lines of the level whose prompt was
    // answered No are still written.
    if (paso) {
      const std::string considerando =
          "Considerando histograma[" + textoEntero(k) + "] con valor: " + textoEntero(h[k]);
      const std::string maximo =
          "Valor Máximo por el momento: histograma[" + textoEntero(p1) + "]: " + textoEntero(h[p1]);
      // This prompt ends without a question; No writes no cancel line in this phase.
      pasoCancelado(dialogos, "Paso a paso", considerando + "\r\r" + maximo, paso);
      traza.agregar(considerando);
      traza.agregar(maximo);
      traza.agregar("");
    }
    if (h[k] > h[p1]) {
      p1 = k;
      if (paso) {
        const std::string nuevo = "Nuevo valor de gris con nivel máximo: " + textoEntero(k);
        dialogos.informar("", "Cambio de pico máximo\r\r" + nuevo, kEstiloSimple);
        traza.agregar("Cambio de pico máximo");
        traza.agregar(nuevo);
        traza.agregar("");
      }
    }
  }
  traza.agregar("Primer pico en:" + textoEntero(p1));  // no blank after ':', here and below
  paso = pasoInicial;
  traza.agregar("");
  traza.agregar("Iniciando el calculo del segundo punto.");

  // Level 0 is the starting candidate for the second peak without being tested as a local
  // maximum; a level equal to a neighbour counts as a local maximum.
  int p2 = 0;
  for (int k = 1; k < kNivelesGris - 1; ++k) {
    if (h[k + 1] > h[k] || h[k - 1] > h[k]) continue;
    const int64_t dP = p2 - p1;
    const int64_t dK = k - p1;
    const int64_t vP = dP * dP * h[p2];
    const int64_t vK = dK * dK * h[k];
    if (paso) {
      const std::string valorMaximo = "Valor máximo hasta el momento: " + textoEntero(vP);
      // The apostrophes around the count are part of the text.
      const std::string puntuacion = "(" + textoEntero(k) + "-" + textoEntero(p1) +
                                     ")^2 * Histograma[" + textoEntero(k) + "]'" +
                                     textoEntero(h[k]) + "' = " + textoEntero(vK);
      traza.agregar(valorMaximo);
      traza.agregar(puntuacion);
      traza.agregar("");
      if (pasoCancelado(dialogos, "Paso a paso",
                        valorMaximo + "\r" + puntuacion + "\r\r¿Continuar paso a paso?", paso)) {
        traza.agregar("Paso a paso cancelado");
      }
    }
    if (vK > vP) {
      p2 = k;
      if (paso) {
        const std::string actualizado = "Segundo pico actualizado a: " + textoEntero(k);
        dialogos.informar("", actualizado, kEstiloSimple);
        traza.agregar(actualizado);
      }
    }
  }
  traza.agregar("Segundo pico en:" + textoEntero(p2));

  // The valley: the lowest of the least populated levels from the lower peak up to the
  // higher one; the first peak stays unless a level is strictly below its count.
  int t = p1;
  for (int k = std::min(p1, p2); k <= std::max(p1, p2); ++k)
    if (h[k] < h[t]) t = k;

  traza.agregar("Umbral encontrado:" + textoEntero(t));
  traza.agregar("");
  traza.agregar("Algoritmo Two Peak finalizado.");
  entorno.publicar(t);
  return Fin::Publicado;
}

}  // namespace velarno
