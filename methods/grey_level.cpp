// Grey-level histogram method (Otsu, 1979): the threshold maximises the between-class
// variance of the normalised histogram, here divided by the total variance. Levels are
// handled as indexes 1..256. Counts are 64-bit, so any number of pixels may share a level;
// all accumulations are Doubles in increasing index order. A single-level picture has no
// variance to divide by and ends without a threshold.
#include "methods/grey_level.h"

#include <cassert>
#include <string>

#include "image/transformaciones.h"
#include "methods/numeros.h"
#include "methods/protocolo.h"

namespace velarno {

double w(const ProbabilidadesIndice& p, int k) {
  assert(k < static_cast<int>(p.size()));
  double suma = 0;
  for (int i = 1; i <= k; ++i) suma += p[static_cast<size_t>(i)];
  return suma;
}

double u(const ProbabilidadesIndice& p, int k) {
  assert(k < static_cast<int>(p.size()));
  double suma = 0;
  for (int i = 1; i <= k; ++i) suma += i * p[static_cast<size_t>(i)];
  return suma;
}

double nu(const ProbabilidadesIndice& p, int k, double ut, double vt) {
  assert(vt > 0);
  const double omega = w(p, k);
  const double mu = u(p, k);
  const double d = omega * ut - mu;
  const double a = d * d;
  const double b = (1 - omega) * omega;
  const double entreClases = b <= 0 ? 0 : a / b;
  return entreClases / vt;
}

Fin AlgoritmoGreyLevel(Entorno& entorno, bool& paso) {
  const DatosImagen& imagen = entorno.imagen();
  Traza& traza = entorno.traza();
  const char separador = entorno.separadorDecimal();

  traza.limpiar();
  traza.agregar("Iniciando Algoritmo Grey-Level");
  traza.agregar(std::string(30, '='));
  traza.agregar("");
  const int64_t n = int64_t{imagen.alto} * imagen.ancho;
  assert(n > 0);
  traza.agregar("Número de punto: " + textoEntero(n));
  traza.agregar("");

  const std::array<int64_t, kNivelesGris> recuento = recuentoNiveles(imagen.pixeles);
  ProbabilidadesIndice p{};
  for (int g = 0; g < kNivelesGris; ++g)
    p[static_cast<size_t>(g + 1)] =
        static_cast<double>(recuento[static_cast<size_t>(g)]) / static_cast<double>(n);

  const double mediaTotal = u(p, 256);
  double varianzaTotal = 0;
  for (int i = 1; i <= 256; ++i) {
    const double d = i - mediaTotal;
    varianzaTotal += d * d * p[static_cast<size_t>(i)];
  }
  // "Marianza" is the established spelling of this line.
  traza.agregar("Marianza global: " + textoDouble(varianzaTotal, separador));
  traza.agregar("Media global: " + textoDouble(mediaTotal, separador));
  traza.agregar("");
  if (paso)
    entorno.dialogos().informar("", "Varianza total: " + textoDouble(varianzaTotal, separador),
                                kEstiloSimple);

  int primero = -1;
  int ultimo = -1;
  for (int i = 1; i <= 256; ++i) {
    if (p[static_cast<size_t>(i)] > 0) {
      if (primero < 0) primero = i;
      ultimo = i;
    }
  }

  // One grey level only: every split leaves a class empty and the criterion would divide
  // 0 by 0, so there is no threshold to give.
  if (!(varianzaTotal > 0)) {
    traza.agregar("La imagen tiene un solo nivel de gris: no hay umbral que separe dos clases.");
    traza.agregar("");
    traza.agregar("Algoritmo finalizado.");
    return Fin::SinResultado;
  }

  double mejor = -1.0;
  int mejorK = -1;
  if (paso) {
    traza.agregar("Estimación del nuevo umbral: " + textoDouble(mejor, separador));
    traza.agregar("Umbral: " + textoEntero(mejorK));
    traza.agregar("");
  }
  for (int k = primero; k <= ultimo; ++k) {
    const double eta = nu(p, k, mediaTotal, varianzaTotal);
    if (eta >= mejor) {  // a later index wins a tie
      mejor = eta;
      mejorK = k;
      if (paso) {
        const std::string estimacion =
            "Estimación del nuevo umbral: " + textoDouble(eta, separador);
        const std::string nuevo = "Nuevo umbral: " + textoEntero(k);
        traza.agregar(estimacion);
        traza.agregar(nuevo);
        traza.agregar("");
        if (pasoCancelado(entorno.dialogos(), "Paso a paso",
                          estimacion + "\r" + nuevo + "\r\r¿Seguir paso a paso?", paso)) {
          traza.agregar("Paso a paso cancelado");
          traza.agregar("");
        }
      }
    }
  }

  traza.agregar("Umbral encontrado: " + textoEntero(mejorK));
  traza.agregar("");
  traza.agregar("Algoritmo finalizado.");
  entorno.publicar(mejorK);
  return Fin::Publicado;
}

}  // namespace velarno
