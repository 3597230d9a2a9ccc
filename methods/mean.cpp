// Mean: the threshold is the mean grey level of the whole picture, read pixel by pixel from the
// image record (not from the histogram) and rounded half to even. The running sum, the step
// counter and the indexes are 64/32-bit here, so any picture the system can hold (up to 100 MP
// of white, a sum of 2.55e10) is summed exactly; every result that fitted the traditional
// 32-bit sum and 16-bit indexes is unchanged. The pixel count is the product of the two sides
// as a Single, as the trace has always written it ("1.2E+07" for 4000 x 3000); the mean itself
// divides by the exact product in Double.
#include "methods/mean.h"

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string>

#include "methods/numeros.h"
#include "methods/protocolo.h"

namespace velarno {
namespace {

// Sum of a run of grey bytes. Integer addition is exact in any order, so the bytes are summed
// in blocks small enough for a 32-bit accumulator (which the compiler vectorises well) and
// the blocks are added in 64 bits.
uint64_t sumaBytes(const uint8_t* bytes, size_t cantidad) {
  constexpr size_t kBloque = size_t{1} << 24;  // 255 * 2^24 < 2^32
  uint64_t total = 0;
  while (cantidad > 0) {
    const size_t n = cantidad < kBloque ? cantidad : kBloque;
    uint32_t parcial = 0;
    for (size_t i = 0; i < n; ++i) parcial += bytes[i];
    total += parcial;
    bytes += n;
    cantidad -= n;
  }
  return total;
}

// The prompt after one pixel; lines separated by CR LF, starting with an empty line.
std::string textoPaso(int64_t k, int32_t i, int32_t j, int64_t g, int64_t suma) {
  const std::string salto = "\r\n";
  // No blank before "- Suma" here, unlike the trace line: the prompt has always read so.
  return salto + "Iteración: " + textoEntero(k) + salto + "Nivel de gris del punto (" +
         textoEntero(i) + "," + textoEntero(j) + ")= " + textoEntero(g) +
         "- Suma = " + textoEntero(suma) + salto + salto + "¿Continuar paso a paso?";
}

// The step-by-step sum: row by row, column by column, with the per-pixel lines and a prompt
// after each pixel while `paso` holds. Once the user answers No the rest of the picture is
// summed in one go (same total, no more lines).
int64_t sumaPasoAPaso(Entorno& entorno, bool& paso) {
  const DatosImagen& imagen = entorno.imagen();
  Traza& traza = entorno.traza();
  const uint8_t* plano = imagen.pixeles.planoGris();
  const size_t cantidad = imagen.pixeles.cantidad();
  int64_t suma = 0;
  int64_t k = 0;
  for (int32_t i = 0; i < imagen.alto; ++i) {
    for (int32_t j = 0; j < imagen.ancho; ++j) {
      const int64_t g = imagen.pixeles.gris(j, i);
      suma += g;
      ++k;
      traza.agregar("Iteración: " + textoEntero(k));
      traza.agregar("Nivel de gris del punto (" + textoEntero(i) + "," + textoEntero(j) +
                    "): " + textoEntero(g) + " - Suma acumulada = " + textoEntero(suma));
      traza.agregar("");
      if (pasoCancelado(entorno.dialogos(), "Ejecución paso a paso", textoPaso(k, i, j, g, suma),
                        paso)) {
        traza.agregar("Paso a Paso cancelado.");
        const size_t siguiente =
            static_cast<size_t>(i) * static_cast<size_t>(imagen.ancho) + static_cast<size_t>(j) + 1;
        return suma + static_cast<int64_t>(sumaBytes(plano + siguiente, cantidad - siguiente));
      }
    }
  }
  return suma;
}

}  // namespace

Fin AlgoritmoMean(Entorno& entorno, bool& paso) {
  const DatosImagen& imagen = entorno.imagen();
  Traza& traza = entorno.traza();
  assert(imagen.pixeles.ancho() == imagen.ancho && imagen.pixeles.alto() == imagen.alto);

  traza.limpiar();
  traza.agregar("Iniciando algoritmo Mean");
  traza.agregar("========================");

  const int64_t suma =
      paso ? sumaPasoAPaso(entorno, paso)
           : static_cast<int64_t>(sumaBytes(imagen.pixeles.planoGris(), imagen.pixeles.cantidad()));

  const bool hayPixeles = imagen.alto >= 1 && imagen.ancho >= 1;
  const float pixeles =
      hayPixeles ? static_cast<float>(imagen.alto) * static_cast<float>(imagen.ancho) : 0.0f;
  const std::string textoPixeles = textoSingle(pixeles, entorno.separadorDecimal());
  const std::string salto = "\r\n";
  const std::string resumen =
      salto + "suma Total: " + textoEntero(suma) + salto + "Nº de pixels: " + textoPixeles + salto;
  traza.agregar("suma Total: " + textoEntero(suma));
  traza.agregar("Nº de pixels: " + textoPixeles);
  if (paso) entorno.dialogos().informar("", resumen, kEstiloSimple);

  if (!hayPixeles) {
    // The mean of no pixels does not exist; the previous threshold stays.
    traza.agregar("No se puede calcular la media: la imagen no tiene pixels.");
    return Fin::SinResultado;
  }
  const double media = static_cast<double>(suma) /
                       (static_cast<double>(imagen.alto) * static_cast<double>(imagen.ancho));
  const int umbral = static_cast<int>(redondear(media));

  traza.agregar("Umbral encontrado: " + textoEntero(umbral));
  traza.agregar("");
  traza.agregar("Algoritmo Mean finalizado.");
  entorno.publicar(umbral);
  return Fin::Publicado;
}

}  // namespace velarno
