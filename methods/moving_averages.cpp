// Moving Averages (Wellner's adaptive thresholding, 1993): the pixels are visited along one
// serpentine path; the running sum Mi = Mi - Mi / n + g, with n = W / 8, approximates n times
// the mean of the last grey levels on the path, and a pixel is black when its level lies more
// than pct per cent below that local mean. All running arithmetic is Double; the pass count is
// a 64-bit count, while the trace writes the pixel total as the Single product ancho x alto.
#include "methods/moving_averages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "methods/numeros.h"
#include "methods/protocolo.h"

namespace velarno {
namespace {

constexpr const char* kTituloPct = "Porcentaje no válido";
constexpr const char* kTextoPct =
    "Introduzca un valor en Porcentaje.\rDebe ser un número, por ejemplo 15.";
constexpr const char* kTituloEstrecha = "Imagen demasiado estrecha";
constexpr const char* kTextoEstrecha =
    "El algoritmo Moving Averages necesita una imagen de al menos 5 pixels de ancho.";
constexpr const char* kCancelado = "Ejecución cancelada por el usuario.";

// State of one run along the path.
struct Recorrido {
  double mi;          // the running sum
  double cociente;    // mi / n, kept because the next pixel needs the same quotient
  double n;           // window length (a whole number)
  double factor;      // 100 - pct
  int64_t restantes;  // passes still to make
};

// The step output of one pixel; returns false when the user answered No.
bool pasoPixel(Entorno& entorno, int32_t fila, int32_t col, int gi, double mi, int n,
               double comparacion, bool negro) {
  const char sep = entorno.separadorDecimal();
  const std::string s = negro ? "Negro" : "Blanco";
  const std::string lineaPixel =
      "Pixel[" + textoEntero(fila) + "," + textoEntero(col) + "] (gi): " + textoEntero(gi);
  const std::string lineaMi = "Mi: " + textoDouble(mi, sep);
  const std::string lineaN = "n: " + textoEntero(n);
  const std::string lineaComp = "valor de comparación: " + textoDouble(comparacion, sep);
  const std::string lineaClase = "Será convertido a " + s;
  Traza& traza = entorno.traza();
  traza.agregar(lineaPixel);
  traza.agregar(lineaMi);
  traza.agregar(lineaN);
  traza.agregar(lineaComp);
  traza.agregar(lineaClase);
  traza.agregar("");
  const std::string pregunta = lineaPixel + "\r" + lineaMi + "\r" + lineaN + "\r" + lineaComp +
                               "\r\r" + lineaClase + "\r\r¿Continuar Paso a paso?";
  bool sigue = true;
  if (pasoCancelado(entorno.dialogos(), "Paso a paso", pregunta, sigue)) {
    traza.agregar("");
    traza.agregar("Paso a paso cancelado");  // no final full stop, on purpose
    traza.agregar("");
  }
  entorno.dibujarBinarizada();
  return sigue;
}

// Visits `cuenta` pixels of one row from column `desde` in direction `dir` (+1 or -1).
// The quotient mi / n that classifies a pixel is the one the next pixel subtracts, so each
// pixel costs one division on the running chain. Kept out of line so the running values stay
// in registers (inlined into the run, they were spilled to the stack, which lengthened the
// chain by a store and a load per pixel).
__attribute__((noinline)) void tramoRapido(const uint8_t* gris, uint8_t* negro, int32_t desde,
                                           int32_t cuenta, int dir, Recorrido& r) {
  double mi = r.mi;
  double cociente = r.cociente;
  const double n = r.n;
  const double factor = r.factor;
  int64_t col = desde;
  for (int32_t k = 0; k < cuenta; ++k, col += dir) {
    const int gi = gris[col];
    mi = (mi - cociente) + gi;
    cociente = mi / n;
    const double comparacion = (cociente * factor) / 100;
    negro[col] = gi < comparacion ? 1 : 0;
  }
  r.mi = mi;
  r.cociente = cociente;
}

}  // namespace

Fin AlgoritmoThrdd(Entorno& entorno, bool& paso) {
  DatosImagen& imagen = entorno.imagen();
  const char sep = entorno.separadorDecimal();
  const std::optional<double> leido = aDouble(entorno.texto("CPct"), sep);
  // The running sum mi never leaves 0..255 n: the quotient c = mi / n rounds to no less than
  // mi - 255 (n - 1), which is a Double whenever it is positive (Sterbenz's lemma), so
  // mi - c + g stays within 255 n. The quotient, at most 255, is 255 on a white pixel when
  // n = 1, so the comparison value c x (100 - pct) / 100 is finite for every picture exactly
  // when (100 - pct) x 255 is; a larger percentage is refused like a text that is no number.
  if (!leido || !std::isfinite(*leido) || !std::isfinite((100 - *leido) * 255)) {
    entorno.dialogos().informar(kTituloPct, kTextoPct, kEstiloExclamacion);
    return Fin::Rechazado;
  }
  // W / 8 rounds to 0 below 5 columns, and the running mean divides by it.
  if (imagen.ancho < 5) {
    entorno.dialogos().informar(kTituloEstrecha, kTextoEstrecha, kEstiloExclamacion);
    return Fin::Rechazado;
  }
  const double pct = *leido;
  Pixeles& pixeles = imagen.pixeles;
  if (paso) {
    std::fill_n(pixeles.planoNegro(), pixeles.cantidad(), uint8_t{0});
    entorno.dibujarBinarizada();
  }

  const float total = static_cast<float>(imagen.ancho) * static_cast<float>(imagen.alto);
  const int32_t w = imagen.ancho;
  const int n = static_cast<int>(redondear(w / 8.0));
  Recorrido recorrido{127.0 * n, 0, static_cast<double>(n), 100 - pct,
                      static_cast<int64_t>(imagen.alto - 1) * w + 1};
  recorrido.cociente = recorrido.mi / recorrido.n;

  Traza& traza = entorno.traza();
  traza.limpiar();
  // "Moves" is the method's own spelling of its header.
  traza.agregar("Iniciando Algoritmo Moves Averages. (pct = " + textoDouble(pct, sep) + ")");
  traza.agregar("===============================================");
  traza.agregar("");
  traza.agregar("nº total de pixels: " + textoSingle(total, sep));
  traza.agregar("");

  // Even rows run to the right and stop one short of the last column (the row changes as soon
  // as the column reaches W - 1); odd rows run the whole width to the left. The path ends after
  // (alto - 1) x W + 1 pixels, or at the end of the last row of a tall, narrow picture.
  bool enPaso = paso;
  for (int32_t fila = 0; fila < imagen.alto && recorrido.restantes > 0; ++fila) {
    const bool derecha = fila % 2 == 0;
    const int dir = derecha ? 1 : -1;
    const int32_t desde = derecha ? 0 : w - 1;
    const int32_t largo = derecha ? w - 1 : w;
    const int32_t cuenta = static_cast<int32_t>(std::min<int64_t>(largo, recorrido.restantes));
    const uint8_t* gris = pixeles.filaGris(fila);
    uint8_t* negro = pixeles.filaNegro(fila);
    if (!enPaso) {
      tramoRapido(gris, negro, desde, cuenta, dir, recorrido);
    } else {
      for (int32_t k = 0; k < cuenta; ++k) {
        const int32_t col = desde + dir * k;
        if (!enPaso) {
          Recorrido resto = recorrido;
          tramoRapido(gris, negro, col, cuenta - k, dir, resto);
          recorrido.mi = resto.mi;
          recorrido.cociente = resto.cociente;
          break;
        }
        const int gi = gris[col];
        recorrido.mi = (recorrido.mi - recorrido.cociente) + gi;
        recorrido.cociente = recorrido.mi / recorrido.n;
        const double comparacion = (recorrido.cociente * recorrido.factor) / 100;
        const bool esNegro = gi < comparacion;
        negro[col] = esNegro ? 1 : 0;
        if (!pasoPixel(entorno, fila, col, gi, recorrido.mi, n, comparacion, esNegro)) {
          enPaso = false;
          paso = false;
        }
      }
    }
    recorrido.restantes -= cuenta;
    if (!entorno.progreso(static_cast<double>(fila + 1) / imagen.alto)) {
      traza.agregar(kCancelado);
      entorno.dibujarBinarizada();
      return Fin::Cancelado;
    }
  }

  traza.agregar("");
  traza.agregar("Algoritmo Moving averages finalizado.");
  entorno.dibujarBinarizada();
  return Fin::Dibujado;
}

}  // namespace velarno
