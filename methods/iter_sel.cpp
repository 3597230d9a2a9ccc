// Iterative Selection (Ridler and Calvard, 1978): the threshold is moved to the midpoint of
// the two class means until it no longer changes. The fast mode iterates on the histogram
// with whole thresholds; the normal mode with a fractional threshold over the pixels. Sums
// and counts are 64-bit integers: every class sum of the normal mode is a sum of whole
// numbers below 2^53, so forming it from a histogram gives exactly the Double that adding
// pixel by pixel gives, in any order. A cycle of the iteration ends after a bounded number of
// passes.
#include "methods/iter_sel.h"

#include <array>
#include <cassert>
#include <string>

#include "image/transformaciones.h"
#include "methods/numeros.h"
#include "methods/protocolo.h"

namespace velarno {
namespace {

constexpr char kPregunta[] = "\r\r¿Continuar paso a paso?";

void cabecera(Traza& traza, const std::string& titulo) {
  traza.limpiar();
  traza.agregar(titulo);
  traza.agregar(std::string(titulo.size(), '='));
  traza.agregar("");
}

// The line written when the bound was reached without a repeat, then the closing lines.
void cierre(Traza& traza, bool convergio, int maxPasadas, int64_t umbral) {
  if (!convergio)
    traza.agregar("La iteración no converge: se detiene tras " + textoEntero(maxPasadas) +
                  " pasadas.");
  traza.agregar("");
  traza.agregar("Umbral encontrado: " + textoEntero(umbral));
  traza.agregar("");
  traza.agregar("Iterative Selection Finalizado.");
}

}  // namespace

Fin AlgoritmoIterSel(Entorno& entorno, bool& paso) {
  return iterSelRapidoHasta(entorno, paso, kMaxPasadasIterSel);
}

Fin algoritmoIterSelNormal(Entorno& entorno, bool& paso) {
  return iterSelNormalHasta(entorno, paso, kMaxPasadasIterSel);
}

Fin ejecutarIterSel(Entorno& entorno, bool& paso) {
  if (entorno.texto("CIterSelModo") == "Rapido") return AlgoritmoIterSel(entorno, paso);
  return algoritmoIterSelNormal(entorno, paso);
}

Fin iterSelRapidoHasta(Entorno& entorno, bool& paso, int maxPasadas) {
  assert(maxPasadas >= 1);
  const DatosImagen& imagen = entorno.imagen();
  const auto& h = imagen.histograma;
  Traza& traza = entorno.traza();
  const int64_t n = int64_t{imagen.ancho} * imagen.alto;
  assert(n > 0);

  cabecera(traza, "Iniciando Iterative Selection");
  // The sum of all grey levels, taken from the histogram, which describes the pixels
  // whenever a method runs.
  int64_t suma = 0;
  for (int g = 0; g < kNivelesGris; ++g) suma += g * h[g];
  int64_t t = redondear(static_cast<double>(suma) / static_cast<double>(n));
  traza.agregar("Nivel de gris medio: " + textoEntero(t));
  traza.agregar("");

  int64_t anterior = 0;
  int pasadas = 0;
  do {
    anterior = t;
    // The threshold level itself belongs to the dark class; counts are doubled so that the
    // two quotients add up to the midpoint of the means.
    int64_t sumaOscura = 0;
    int64_t cuentaOscura = 0;
    int64_t sumaClara = 0;
    int64_t cuentaClara = 0;
    for (int g = 0; g < kNivelesGris; ++g) {
      if (g <= anterior) {
        sumaOscura += g * h[g];
        cuentaOscura += h[g];
      } else {
        sumaClara += g * h[g];
        cuentaClara += h[g];
      }
    }
    cuentaOscura *= 2;
    cuentaClara *= 2;
    if (cuentaOscura == 0) cuentaOscura = 1;  // an empty class contributes 0
    if (cuentaClara == 0) cuentaClara = 1;
    t = redondear(static_cast<double>(sumaClara) / static_cast<double>(cuentaClara) +
                  static_cast<double>(sumaOscura) / static_cast<double>(cuentaOscura));
    ++pasadas;
    if (paso) {
      // "( " with the blank inside the parenthesis, on purpose.
      traza.agregar("Evaluando umbral: " + textoEntero(t) + "( " + textoEntero(sumaOscura) + "/" +
                    textoEntero(cuentaOscura) + " + " + textoEntero(sumaClara) + "/" +
                    textoEntero(cuentaClara) + ")");
      traza.agregar("Umbral anterior: " + textoEntero(anterior));
      traza.agregar("");
      pasoCancelado(entorno.dialogos(), "Paso a paso",
                    "Evaluando umbral: " + textoEntero(t) +
                        "\rumbral anterior: " + textoEntero(anterior) + kPregunta,
                    paso);
    }
  } while (t != anterior && pasadas < maxPasadas);

  cierre(traza, t == anterior, maxPasadas, t);
  entorno.publicar(static_cast<int>(t));
  return Fin::Publicado;
}

Fin iterSelNormalHasta(Entorno& entorno, bool& paso, int maxPasadas) {
  assert(maxPasadas >= 1);
  const DatosImagen& imagen = entorno.imagen();
  Traza& traza = entorno.traza();
  const char separador = entorno.separadorDecimal();

  cabecera(traza, "Iniciando Iterative Selection (Normal)");
  const int64_t n = int64_t{imagen.ancho} * imagen.alto;
  assert(n > 0);
  // One count of the pixels serves every pass: a class sum over the pixels equals the sum
  // over the levels of that class of level × count.
  const std::array<int64_t, kNivelesGris> recuento = recuentoNiveles(imagen.pixeles);
  int64_t suma = 0;
  for (int g = 0; g < kNivelesGris; ++g) suma += g * recuento[g];
  double t = static_cast<double>(suma) / static_cast<double>(n);
  traza.agregar("Nivel de gris medio: " + textoDouble(t, separador));
  traza.agregar("");

  bool repetido = false;
  int pasadas = 0;
  while (!repetido && pasadas < maxPasadas) {
    // A level equal to the threshold belongs to the light class here.
    int64_t sumaOscura = 0;
    int64_t cuentaOscura = 0;
    int64_t sumaClara = 0;
    int64_t cuentaClara = 0;
    for (int g = 0; g < kNivelesGris; ++g) {
      if (g < t) {
        sumaOscura += g * recuento[g];
        cuentaOscura += recuento[g];
      } else {
        sumaClara += g * recuento[g];
        cuentaClara += recuento[g];
      }
    }
    if (cuentaClara == 0) cuentaClara = 1;
    if (cuentaOscura == 0) cuentaOscura = 1;
    const double sa = static_cast<double>(sumaOscura);
    const double sb = static_cast<double>(sumaClara);
    const double nuevo =
        (sa / static_cast<double>(cuentaOscura) + sb / static_cast<double>(cuentaClara)) / 2;
    ++pasadas;
    if (paso) {
      // " (" with the blank before the parenthesis; the counts are the plain ones.
      traza.agregar("Evaluando umbral: " + textoDouble(nuevo, separador) + " (" +
                    textoDouble(sa, separador) + "/" + textoEntero(cuentaOscura) + " + " +
                    textoDouble(sb, separador) + "/" + textoEntero(cuentaClara) + ")");
      traza.agregar("Umbral anterior: " + textoDouble(t, separador));
      traza.agregar("");
      if (entorno.dialogos().preguntar(
              "Paso a paso", "Evaluando umbral: " + textoDouble(nuevo, separador) +
                                 "\rumbral anterior: " + textoDouble(t, separador) + kPregunta) ==
          kNo)
        paso = false;
    }
    repetido = nuevo == t;
    t = nuevo;
  }

  const int64_t umbral = redondear(t);
  cierre(traza, repetido, maxPasadas, umbral);
  entorno.publicar(static_cast<int>(umbral));
  return Fin::Publicado;
}

}  // namespace velarno
