// Using Edge Pixels: the threshold is the mean grey level of the pixels with the strongest
// response to a 3x3 edge filter (a Laplacian by default), after the edge-pixel methods of
// Weszka, Nagel and Rosenfeld (1974). The filter, the edge-value histogram and the sums for
// the mean are one pass over the picture: for every edge value the pass keeps both the pixel
// count and the sum of the grey levels, so the mean of the pixels at or above any level comes
// from the histogram without a second pass or an edge-value matrix. Counts and sums are 64-bit.
//
// Whole mask weights whose absolute values add up to at most 2^31 / 255 are summed in 32-bit
// integers: every product and every partial sum is then a whole number below 2^31, which a
// Double holds exactly, so the Double sum in mask order is that same integer and rounding it
// changes nothing. Any other mask takes the Double sum itself.
#include "methods/edge_pixels.h"

#include <cmath>
#include <limits>
#include <string>

#include "methods/numeros.h"
#include "methods/protocolo.h"

namespace velarno {
namespace {

constexpr int kUltimoValor = kValoresBorde - 1;

// While the filter runs, a pixel's count and grey level go into one 64-bit cell per edge
// value: the grey sum in the low 35 bits, the count above them. A stretch of at most 2^27
// pixels fits both fields (2^27 x 255 < 2^35, 2^27 < 2^29); the cells are emptied into the
// histogram after each stretch. Four copies, chosen by column, keep neighbouring pixels of
// equal value from waiting on each other's additions.
class AcumuladorBordes {
 public:
  static constexpr int kBitsSuma = 35;
  static constexpr int kCopias = 4;
  static constexpr int64_t kPixelesPorTramo = int64_t{1} << 27;

  explicit AcumuladorBordes(HistogramaBordes& destino)
      : destino_(destino), celdas_(static_cast<size_t>(kCopias) * kValoresBorde, 0) {}
  ~AcumuladorBordes() { vaciar(); }

  // Makes room for `pixeles` more pixels in the current stretch.
  void reservar(int64_t pixeles) {
    if (pendientes_ + pixeles > kPixelesPorTramo) vaciar();
    pendientes_ += pixeles;
  }
  void agregar(int copia, uint16_t valor, uint8_t gris) {
    celdas_[static_cast<size_t>(copia) * kValoresBorde + valor] += kUnPixel + gris;
  }

 private:
  static constexpr uint64_t kUnPixel = uint64_t{1} << kBitsSuma;

  void vaciar() {
    for (size_t i = 0; i < celdas_.size(); ++i) {
      const size_t valor = i % kValoresBorde;
      destino_.cuentas[valor] += static_cast<int64_t>(celdas_[i] >> kBitsSuma);
      destino_.sumasGris[valor] += static_cast<int64_t>(celdas_[i] & (kUnPixel - 1));
      celdas_[i] = 0;
    }
    pendientes_ = 0;
  }

  HistogramaBordes& destino_;
  std::vector<uint64_t> celdas_;
  int64_t pendientes_ = 0;
};

// Whole weights in 32 bits when the integer sum is provably the Double sum (see above).
bool pesosEnteros(const Mascara& mascara, std::array<int32_t, 9>& pesos) {
  double suma = 0;
  for (size_t k = 0; k < mascara.size(); ++k) {
    const double m = mascara[k];
    if (!(std::fabs(m) <= 1e7) || m != std::trunc(m)) return false;
    suma += std::fabs(m);
    pesos[k] = static_cast<int32_t>(m);
  }
  return suma * 255 <= static_cast<double>(std::numeric_limits<int32_t>::max());
}

// Edge values of the interior pixels x = 1..cantidad of one row from the rows above, at and
// below it, in integers; clipped to 0..5000 (every value above 5000 shares the last entry).
__attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4"))) void
bordesFilaEnteros(const uint8_t* __restrict arriba, const uint8_t* __restrict centro,
                  const uint8_t* __restrict abajo, const int32_t* __restrict pesos,
                  int32_t cantidad, uint16_t* __restrict salida) {
  const int32_t m0 = pesos[0], m1 = pesos[1], m2 = pesos[2];
  const int32_t m3 = pesos[3], m4 = pesos[4], m5 = pesos[5];
  const int32_t m6 = pesos[6], m7 = pesos[7], m8 = pesos[8];
  for (int32_t k = 0; k < cantidad; ++k) {
    // Pixel x = k + 1: columns x - 1, x, x + 1 are k, k + 1, k + 2.
    int32_t s = m0 * arriba[k] + m1 * centro[k] + m2 * abajo[k] + m3 * arriba[k + 1] +
                m4 * centro[k + 1] + m5 * abajo[k + 1] + m6 * arriba[k + 2] + m7 * centro[k + 2] +
                m8 * abajo[k + 2];
    s = s < 0 ? 0 : s;
    s = s > kUltimoValor ? kUltimoValor : s;
    salida[k] = static_cast<uint16_t>(s);
  }
}

// The Double sums of the same row, term by term in mask order as Xpix_lap forms them.
__attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4"))) void sumasFilaDouble(
    const uint8_t* __restrict arriba, const uint8_t* __restrict centro,
    const uint8_t* __restrict abajo, const double* __restrict m, int32_t cantidad,
    double* __restrict salida) {
  for (int32_t k = 0; k < cantidad; ++k)
    salida[k] = m[0] * arriba[k] + m[1] * centro[k] + m[2] * abajo[k] + m[3] * arriba[k + 1] +
                m[4] * centro[k + 1] + m[5] * abajo[k + 1] + m[6] * arriba[k + 2] +
                m[7] * centro[k + 2] + m[8] * abajo[k + 2];
}

// Edge values of the row from its Double sums, as Xpix_lap rounds them, clipped to 0..5000.
void bordesFilaDouble(const double* sumas, int32_t cantidad, uint16_t* salida) {
  for (int32_t k = 0; k < cantidad; ++k) {
    const double s = sumas[k];
    const double v = s > 0 ? std::nearbyint(s) : 0;
    salida[k] = static_cast<uint16_t>(v >= kUltimoValor ? kUltimoValor : v);
  }
}

// A row whose pixels all have the edge value 0.
void agregarFilaBorde(HistogramaBordes& histograma, const uint8_t* fila, int32_t ancho) {
  int64_t suma = 0;
  for (int32_t x = 0; x < ancho; ++x) suma += fila[x];
  histograma.cuentas[0] += ancho;
  histograma.sumasGris[0] += suma;
}

}  // namespace

double Xpix_lap(const Pixeles& pixeles, const Mascara& m, int32_t x, int32_t y) {
  const double suma = m[0] * pixeles.gris(x - 1, y - 1) + m[1] * pixeles.gris(x - 1, y) +
                      m[2] * pixeles.gris(x - 1, y + 1) + m[3] * pixeles.gris(x, y - 1) +
                      m[4] * pixeles.gris(x, y) + m[5] * pixeles.gris(x, y + 1) +
                      m[6] * pixeles.gris(x + 1, y - 1) + m[7] * pixeles.gris(x + 1, y) +
                      m[8] * pixeles.gris(x + 1, y + 1);
  // Negative responses are no edge; a sum that overflowed both ways (inf - inf) is none
  // either.
  if (!(suma > 0)) return 0;
  return std::nearbyint(suma);
}

void XLaplacian(Entorno& entorno, const Mascara& mascara, bool& paso) {
  const Pixeles& pixeles = entorno.imagen().pixeles;
  const char sep = entorno.separadorDecimal();
  for (int32_t x = 1; x <= pixeles.ancho() - 2 && paso; ++x) {
    for (int32_t y = 1; y <= pixeles.alto() - 2 && paso; ++y) {
      const double valor = Xpix_lap(pixeles, mascara, x, y);
      const std::string texto =
          "Resultado de aplicar el operador laplaciano al entorno centrado en el pixel (" +
          textoEntero(x) + "," + textoEntero(y) + "): " + textoDouble(valor, sep) +
          "\r\r¿seguir paso a paso?";
      if (pasoCancelado(entorno.dialogos(), "Paso a paso", texto, paso)) {
        entorno.traza().agregar("Paso a paso cancelado");
        entorno.traza().agregar("");
      }
    }
  }
}

HistogramaBordes Xfhist(const Pixeles& pixeles, const Mascara& mascara) {
  HistogramaBordes histograma;
  const int32_t ancho = pixeles.ancho();
  const int32_t alto = pixeles.alto();
  if (ancho < 3 || alto < 3) {
    for (int32_t y = 0; y < alto; ++y) agregarFilaBorde(histograma, pixeles.filaGris(y), ancho);
    return histograma;
  }
  std::array<int32_t, 9> pesos{};
  const bool enteros = pesosEnteros(mascara, pesos);
  const int32_t interiores = ancho - 2;
  std::vector<uint16_t> valores(static_cast<size_t>(interiores));
  std::vector<double> sumas(enteros ? 0 : static_cast<size_t>(interiores));
  {
    AcumuladorBordes acumulador(histograma);
    agregarFilaBorde(histograma, pixeles.filaGris(0), ancho);
    for (int32_t y = 1; y <= alto - 2; ++y) {
      const uint8_t* centro = pixeles.filaGris(y);
      if (enteros) {
        bordesFilaEnteros(pixeles.filaGris(y - 1), centro, pixeles.filaGris(y + 1), pesos.data(),
                          interiores, valores.data());
      } else {
        sumasFilaDouble(pixeles.filaGris(y - 1), centro, pixeles.filaGris(y + 1), mascara.data(),
                        interiores, sumas.data());
        bordesFilaDouble(sumas.data(), interiores, valores.data());
      }
      acumulador.reservar(ancho);
      acumulador.agregar(0, 0, centro[0]);
      acumulador.agregar(1, 0, centro[ancho - 1]);
      for (int32_t k = 0; k < interiores; ++k)
        acumulador.agregar(k & (AcumuladorBordes::kCopias - 1), valores[static_cast<size_t>(k)],
                           centro[k + 1]);
    }
    agregarFilaBorde(histograma, pixeles.filaGris(alto - 1), ancho);
  }
  return histograma;
}

int Xhi_pct(const std::vector<int64_t>& cuentas, int niveles, int64_t n, double p) {
  // Kept within +-2^62 before rounding: the count never exceeds n, so a target beyond that
  // is just as unreachable (or as reached at once) as the exact one.
  constexpr double kLimite = 4.611686018427387904e18;
  double objetivoDouble = p / 100 * static_cast<double>(n);
  if (objetivoDouble > kLimite) objetivoDouble = kLimite;
  if (objetivoDouble < -kLimite) objetivoDouble = -kLimite;
  const int64_t objetivo = redondear(objetivoDouble);
  int64_t suma = 0;
  for (int v = 0; v < niveles; ++v) {
    suma += cuentas[static_cast<size_t>(v)];
    if (suma >= objetivo) return v;
  }
  return niveles;
}

std::optional<int> Xpeaks(const HistogramaBordes& histograma, int nivel) {
  int64_t suma = 0;
  int64_t cuenta = 0;
  for (int v = nivel; v < kValoresBorde; ++v) {
    suma += histograma.sumasGris[static_cast<size_t>(v)];
    cuenta += histograma.cuentas[static_cast<size_t>(v)];
  }
  if (cuenta == 0) return std::nullopt;
  return static_cast<int>(redondear(static_cast<double>(suma) / static_cast<double>(cuenta)));
}

Fin AlgoritmoUsingEdgePixels(Entorno& entorno, bool& paso) {
  const char sep = entorno.separadorDecimal();
  const std::optional<double> p = aDouble(entorno.texto("PCTeDp"), sep);
  if (!p || !std::isfinite(*p)) {
    entorno.dialogos().informar("Porcentaje no válido",
                                "No esta introduciendo un porcentaje válido\r"
                                "Asegurese de estar introduciendo solo valores numéricos.",
                                kEstiloExclamacion);
    return Fin::Rechazado;
  }
  Mascara mascara{};
  // The filter's sums, formed term by term in mask order, are largest with the positive weights
  // on white (255) and the negative ones on black, least the other way round, and rounding
  // keeps every partial sum of any neighbourhood between those two. A weight that makes either
  // of them infinite is refused: some neighbourhood would give an infinite sum.
  double mayor = 0;
  double menor = 0;
  for (size_t k = 0; k < mascara.size(); ++k) {
    const std::optional<double> peso =
        aDouble(entorno.texto("Mask(" + std::to_string(k) + ")"), sep);
    if (peso && *peso > 0) mayor += *peso * 255;
    if (peso && *peso < 0) menor += *peso * 255;
    if (!peso || !std::isfinite(*peso) || !std::isfinite(mayor) || !std::isfinite(menor)) {
      entorno.dialogos().informar(
          "Máscara no válida",
          "No esta introduciendo un valor válido en la fila " + textoEntero(int64_t(k / 3 + 1)) +
              ", columna " + textoEntero(int64_t(k % 3 + 1)) +
              " de la máscara\rAsegurese de estar introduciendo solo valores numéricos.",
          kEstiloExclamacion);
      return Fin::Rechazado;
    }
    mascara[k] = *peso;
  }

  Traza& traza = entorno.traza();
  traza.limpiar();
  traza.agregar("Iniciando algoritmo Using Edge Piexls");  // "Piexls", on purpose
  traza.agregar("=====================================");
  traza.agregar("");

  const DatosImagen& imagen = entorno.imagen();
  if (paso) XLaplacian(entorno, mascara, paso);
  const HistogramaBordes histograma = Xfhist(imagen.pixeles, mascara);
  // The pixel count of the target is the exact product: a single-precision product is one or
  // two off above 2^24 pixels, which would make a 100 % target stop at the wrong edge level or
  // never be reached.
  const int64_t n = static_cast<int64_t>(imagen.alto) * static_cast<int64_t>(imagen.ancho);
  const int nivel = Xhi_pct(histograma.cuentas, kNivelesBusqueda, n, *p);
  traza.agregar("valor de gris que contiene el porcentaje: " + textoEntero(nivel));

  const std::optional<int> umbral = Xpeaks(histograma, nivel);
  if (!umbral) {
    entorno.dialogos().informar("", "Histograma erroneo", kEstiloSimple);
    traza.agregar("Ningún pixel alcanza el valor " + textoEntero(nivel) +
                  ": no hay pixels de borde que promediar.");
    traza.agregar("Algoritmo Using Edge Piexls Finalizado.");
    return Fin::SinResultado;
  }
  traza.agregar("Umbral encontrado: " + textoEntero(*umbral));
  traza.agregar("Algoritmo Using Edge Piexls Finalizado.");
  // This method publishes after its closing line.
  entorno.publicar(*umbral);
  return Fin::Publicado;
}

}  // namespace velarno
