// Fuzzy: fuzzy-entropy thresholding after Huang and Wang (1995), with Shannon's function or a
// Yager-type measure of fuzziness, followed by a search for the emptiest histogram valley
// next to the least fuzzy threshold. Class counts and first moments are cumulative Double
// tables whose count x level products are formed in 64 bits; the valley sums are 64-bit.
// A level's term depends only on its distance (0..255) from its class mean, so the terms are
// computed once by the very functions that define them and looked up per level; the sums keep
// their level order, so every E(t) is the same number as the level-by-level evaluation.
#include "methods/fuzzy.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "methods/numeros.h"
#include "methods/protocolo.h"

namespace velarno {
namespace {

constexpr int kNivelesCandidatos = 254;  // thresholds 1..254
constexpr int64_t kValleInicial = 1'000'000;

// Distance of level i from the mean of its class.
int distancia(int i, int u0, int u1, int t) { return i <= t ? std::abs(i - u0) : std::abs(i - u1); }

// Shannon(Ux) and the Yager term ((1 - mu) mu)^2 of every distance 0..255.
struct TerminosPorDistancia {
  std::array<double, kNivelesGris> shannon{};
  std::array<double, kNivelesGris> yager{};
  TerminosPorDistancia() {
    for (int d = 0; d < kNivelesGris; ++d) {
      // Ux(d, 0, 0, 255) is the membership of a level at distance d from its mean.
      const double mu = Ux(d, 0, 0, kNivelesGris - 1);
      shannon[d] = Shannon(mu);
      const double v = (1 - mu) * mu;
      yager[d] = v * v;
    }
  }
};

const TerminosPorDistancia& terminos() {
  static const TerminosPorDistancia tabla;
  return tabla;
}

}  // namespace

double Ux(int i, int u0, int u1, int t) {
  const int d = distancia(i, u0, u1, t);
  return 1 / (1 + d / 255.0);
}

double Shannon(double mu) {
  if (mu <= 0 || mu >= 1) return 0;
  return -mu * std::log(mu) - (1 - mu) * std::log(1 - mu);
}

double Yager(int u0, int u1, int t) {
  const auto& yager = terminos().yager;
  double suma = 0;
  for (int i = 0; i < kNivelesGris; ++i) suma = suma + yager[distancia(i, u0, u1, t)];
  return std::sqrt(suma);
}

double fuzzy(Entorno& entorno, int u0, int u1, int t) {
  if (entorno.texto("metodoYG") == "ENTROPY") {
    const auto& h = entorno.imagen().histograma;
    const auto& shannon = terminos().shannon;
    double suma = 0;
    // Level 255 is not part of the entropy measure.
    for (int i = 0; i < kNivelesGris - 1; ++i)
      suma = suma + static_cast<double>(h[i]) * shannon[distancia(i, u0, u1, t)];
    return suma;
  }
  return Yager(u0, u1, t);
}

Fin AlgoritmoFuzzy(Entorno& entorno, bool& paso) {
  Traza& traza = entorno.traza();
  const char sep = entorno.separadorDecimal();
  traza.limpiar();
  traza.agregar("Iniciando Algoritmo Fuzzy (" + entorno.texto("metodoYG") + ")");
  traza.agregar("=======================================");
  traza.agregar("");

  const DatosImagen& imagen = entorno.imagen();
  const auto& h = imagen.histograma;
  const double n = static_cast<double>(imagen.alto) * static_cast<double>(imagen.ancho);

  std::array<double, kNivelesGris + 1> a{}, b{}, c{}, d{}, e{};
  a[0] = static_cast<double>(h[0]);
  b[0] = 0;
  for (int i = 1; i < kNivelesGris; ++i) {
    a[i] = a[i - 1] + static_cast<double>(h[i]);
    b[i] = b[i - 1] + static_cast<double>(i * h[i]);
  }
  c[kNivelesGris - 1] = 0;
  d[kNivelesGris - 1] = 0;
  for (int i = kNivelesGris - 2; i >= 0; --i) {
    c[i] = c[i + 1] + static_cast<double>(h[i + 1]);
    d[i] = d[i + 1] + static_cast<double>((i + 1) * h[i + 1]);
  }

  double emax = 0;
  int mejor = -1;
  for (int t = 1; t <= kNivelesCandidatos; ++t) {
    if (h[t] == 0 || a[t] == 0 || c[t] == 0) continue;
    const int u0 = static_cast<int>(redondear(b[t] / a[t] + 0.5));
    const int u1 = static_cast<int>(redondear(d[t] / c[t] + 0.5));
    e[t] = fuzzy(entorno, u0, u1, t) / n;
    if (e[t] > emax) emax = e[t];
    if (mejor == -1) {
      mejor = t;
    } else if (e[t] < e[mejor]) {
      mejor = t;
    }
    if (paso) {
      const std::string fuzzyT = "Fuzzy(" + textoEntero(t) + "): " + textoDouble(e[t], sep);
      traza.agregar("uo: " + textoEntero(u0));  // "uo", not "u0", on purpose
      traza.agregar("u1: " + textoEntero(u1));
      traza.agregar(fuzzyT);
      traza.agregar("");
      // No question in words; answering No adds nothing to the trace.
      pasoCancelado(entorno.dialogos(), "Paso a paso",
                    "uo: " + textoEntero(u0) + "\ru1: " + textoEntero(u1) + "\r" + fuzzyT, paso);
    }
  }

  if (mejor == -1) {
    traza.agregar(
        "Ningún nivel ocupado entre 1 y 254 deja pixels a ambos lados: no hay umbral que "
        "publicar.");
    traza.agregar("");
    traza.agregar("Fuzzy finalizado.");
    return Fin::SinResultado;
  }

  const double w = e[mejor] + 0.05 * (emax - e[mejor]);
  int inferior = static_cast<int>(redondear(mejor - w));
  if (inferior < 1) inferior = 1;
  int superior = static_cast<int>(redondear(mejor + w));
  if (superior >= kNivelesGris - 1) superior = kNivelesGris - 2;
  traza.agregar("intervalo para la busqueda del mejor: [" + textoEntero(inferior) + " - " +
                textoEntero(superior) + "]");
  traza.agregar("");

  int64_t minimo = kValleInicial;
  int resultado = -1;
  for (int i = inferior; i <= superior; ++i) {
    const int64_t s = h[i] + h[i - 1] + h[i + 1];
    if (s < minimo) {
      resultado = i;
      minimo = s;
    }
  }
  if (resultado == -1) {
    traza.agregar(
        "Ningún nivel del intervalo suma menos de 1000000 pixels con sus vecinos: no hay "
        "umbral que publicar.");
    traza.agregar("");
    traza.agregar("Fuzzy finalizado.");
    return Fin::SinResultado;
  }

  traza.agregar("Umbral encontrado: " + textoEntero(resultado));
  traza.agregar("");
  traza.agregar("Fuzzy finalizado.");
  // This method publishes after its closing line.
  entorno.publicar(resultado);
  return Fin::Publicado;
}

}  // namespace velarno
